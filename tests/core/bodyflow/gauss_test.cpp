#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/Module1.h"
#include "bodyflow/Gauss.h"

namespace velmora {
namespace {

class CountingProgress : public Progress {
public:
    explicit CountingProgress(Module1& m, int abortAtPump = 0) : m_(m), abortAt_(abortAtPump) {}
    void progressValue(int v) override { values.push_back(v); }
    void pumpEvents() override
    {
        if (++pumps == abortAt_) m_.AbortRequest = "YES";
    }
    std::vector<int> values;
    int pumps = 0;

private:
    Module1& m_;
    int abortAt_;
};

// The textbook elimination, row by row: the solver must reproduce it exactly.
std::vector<double> plainElimination(AugmentedMatrix a, int n)
{
    for (int k = 1; k <= n - 1; ++k) {
        const double p = a(k, k);
        for (int j = k; j <= n + 1; ++j) a(k, j) = a(k, j) / p;
        for (int i = k + 1; i <= n; ++i) {
            const double f = a(i, k);
            for (int j = k; j <= n + 1; ++j) a(i, j) = a(i, j) - a(k, j) * f;
        }
    }
    std::vector<double> x(static_cast<std::size_t>(n) + 1);
    x[n] = a(n, n + 1) / a(n, n);
    for (int k = n - 1; k >= 1; --k) {
        x[k] = a(k, n + 1);
        for (int j = k + 1; j <= n; ++j) x[k] = x[k] - a(k, j) * x[j];
    }
    return x;
}

AugmentedMatrix randomSystem(int n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    AugmentedMatrix a(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) a(i, j) = u(gen);
        a(i, i) += 0.25 * n;  // solvable without row exchange
    }
    return a;
}

TEST(GaussTest, HandSystemAndSingleEquation)
{
    auto m = makeModule1();
    NullProgress np;
    // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3: x = 2, y = 3, z = -1.
    AugmentedMatrix a(3);
    const double rows[3][4] = {{2, 1, -1, 8}, {-3, -1, 2, -11}, {-2, 1, 2, -3}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) a(i + 1, j + 1) = rows[i][j];
    std::vector<double> x;
    ASSERT_EQ(GAUSS(x, a, 3, *m, np), Outcome::Done);
    EXPECT_NEAR(x[1], 2, 1e-14);
    EXPECT_NEAR(x[2], 3, 1e-14);
    EXPECT_NEAR(x[3], -1, 1e-14);
    EXPECT_EQ(m->AugmentedColumnCount, 4);

    CountingProgress cp(*m);
    AugmentedMatrix one(1);
    one(1, 1) = 4;
    one(1, 2) = 10;
    ASSERT_EQ(GAUSS(x, one, 1, *m, cp), Outcome::Done);
    EXPECT_EQ(x[1], 2.5);
    EXPECT_EQ(cp.pumps, 0);  // no elimination row
}

TEST(GaussTest, MatchesRowByRowEliminationExactly)
{
    auto m = makeModule1();
    NullProgress np;
    for (int n : {2, 5, 23, 24, 25, 67, 136, 201}) {
        AugmentedMatrix a = randomSystem(n, static_cast<unsigned>(n));
        const std::vector<double> ref = plainElimination(a, n);
        std::vector<double> x;
        ASSERT_EQ(GAUSS(x, a, n, *m, np), Outcome::Done) << n;
        for (int i = 1; i <= n; ++i) ASSERT_EQ(x[i], ref[i]) << "n=" << n << " i=" << i;
    }
}

TEST(GaussTest, EventsOncePerRowAndAbortKeepsX)
{
    auto m = makeModule1();
    m->AbortRequest = "NO";
    CountingProgress cp(*m);
    AugmentedMatrix a = randomSystem(40, 7);
    std::vector<double> x;
    ASSERT_EQ(GAUSS(x, a, 40, *m, cp), Outcome::Done);
    EXPECT_EQ(cp.pumps, 39);
    EXPECT_EQ(cp.values[20], 20);
    EXPECT_EQ(cp.values.back(), 1);

    CountingProgress aborting(*m, 5);  // ABORT pressed while row 5 lets events run
    AugmentedMatrix b = randomSystem(40, 8);
    std::vector<double> kept(41, -7.0);
    EXPECT_EQ(GAUSS(kept, b, 40, *m, aborting), Outcome::Aborted);
    EXPECT_EQ(aborting.pumps, 5);
    EXPECT_EQ(aborting.values.back(), 1);
    EXPECT_EQ(kept, std::vector<double>(41, -7.0));
}

TEST(GaussTest, ZeroOrVanishingPivotFails)
{
    auto m = makeModule1();
    NullProgress np;
    std::vector<double> x(3, 9.0);
    auto system = [](std::initializer_list<double> v) {
        AugmentedMatrix a(2);
        auto it = v.begin();
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 3; ++j) a(i, j) = *it++;
        return a;
    };
    AugmentedMatrix zero = system({0, 1, 1, 1, 1, 2});
    EXPECT_EQ(GAUSS(x, zero, 2, *m, np), Outcome::Failed);
    AugmentedMatrix singular = system({0.1, 0.3, 1, 0.3, 0.9, 2});  // cancels to rounding noise
    EXPECT_EQ(GAUSS(x, singular, 2, *m, np), Outcome::Failed);
    AugmentedMatrix nan = system({1, 0, 0, 0, 1, std::nan("")});
    EXPECT_EQ(GAUSS(x, nan, 2, *m, np), Outcome::Failed);
    EXPECT_EQ(x, std::vector<double>(3, 9.0));
}

} // namespace
} // namespace velmora
