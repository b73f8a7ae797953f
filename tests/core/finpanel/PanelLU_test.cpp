#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "finpanel/PanelLU.h"
#include "platform/Checked.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

struct RecordingBar final : Progress {
    int minimum = 0, maximum = 0, last = 0, updates = 0;
    bool visible = false;
    void progressVisible(bool v) override { visible = v; }
    void progressRange(int lo, int hi) override { minimum = lo, maximum = hi; }
    void progressValue(int v) override { last = v, ++updates; }
};

SquareMatrix matrix(std::initializer_list<std::initializer_list<double>> rows)
{
    SquareMatrix a(static_cast<int>(rows.size()));
    int i = 1;
    for (auto r : rows) {
        int j = 1;
        for (double v : r) a(i, j++) = v;
        ++i;
    }
    return a;
}

} // namespace

TEST(PanelLU, TwoByTwoWithInterchange)
{
    SquareMatrix a = matrix({{1, 2}, {3, 4}});
    std::vector<int> ip;
    RecordingBar bar;
    DECOMP(a, ip, bar);
    EXPECT_EQ(ip[1], 2);
    EXPECT_EQ(ip[2], -1);
    EXPECT_EQ(bar.maximum, 2);

    std::vector<float> b = {0, 5, 11};
    GAUSS(a, b, ip, bar);
    EXPECT_NEAR(b[1], 1.0f, 1e-6);
    EXPECT_NEAR(b[2], 2.0f, 1e-6);
}

TEST(PanelLU, EqualMagnitudesKeepTheUpperRow)
{
    SquareMatrix a = matrix({{2, 1, 0}, {-2, 3, 1}, {2, 0, 4}});
    std::vector<int> ip;
    NullProgress none;
    DECOMP(a, ip, none);
    EXPECT_EQ(ip[1], 1);
    EXPECT_EQ(ip[3] * ip[3], 1);
    std::vector<float> b = {0, 3, 2, 6};  // x = (1, 1, 1)
    GAUSS(a, b, ip, none);
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(b[i], 1.0f, 1e-6);
}

TEST(PanelLU, ZeroColumnMarksTheMatrixSingular)
{
    SquareMatrix a = matrix({{1, 0, 2}, {3, 0, 1}, {1, 0, 5}});
    std::vector<int> ip;
    NullProgress none;
    DECOMP(a, ip, none);
    EXPECT_EQ(ip[3], 0);
    std::vector<float> b = {0, 1, 2, 3};
    EXPECT_THROW(GAUSS(a, b, ip, none), MathFailure);

    SquareMatrix one = matrix({{4}});
    DECOMP(one, ip, none);
    EXPECT_EQ(ip[1], 1);
    std::vector<float> b1 = {0, 2};
    GAUSS(one, b1, ip, none);
    EXPECT_FLOAT_EQ(b1[1], 0.5f);
}

TEST(PanelLU, Random200SystemToSinglePrecision)
{
    const int n = 200;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    SquareMatrix a(n);
    std::vector<double> x(n + 1);
    for (int j = 1; j <= n; ++j) x[j] = u(rng);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) a(i, j) = u(rng) + (i == j ? 4.0 : 0.0);
    std::vector<float> b(n + 1);
    for (int i = 1; i <= n; ++i) {
        double s = 0;
        for (int j = 1; j <= n; ++j) s += a(i, j) * x[j];
        b[i] = static_cast<float>(s);
    }
    std::vector<int> ip;
    NullProgress none;
    DECOMP(a, ip, none);
    EXPECT_NE(ip[n], 0);
    GAUSS(a, b, ip, none);
    for (int j = 1; j <= n; ++j) EXPECT_NEAR(b[j], x[j], 2e-5) << j;
}

namespace {

// The factorisation column by column, as first written: the row-wise DECOMP
// must give its bits.
void columnDecomp(SquareMatrix& a, std::vector<int>& ip)
{
    const int n = a.order();
    ip.assign(static_cast<std::size_t>(n + 1), 0);
    ip[n] = 1;
    for (int k = 1; k <= n; ++k) {
        if (k < n) {
            int m = k;
            for (int i = k + 1; i <= n; ++i)
                if (std::fabs(a(i, k)) > std::fabs(a(m, k))) m = i;
            ip[k] = m;
            if (m != k) ip[n] = -ip[n];
            const float pivot = static_cast<float>(a(m, k));
            a(m, k) = a(k, k);
            a(k, k) = pivot;
            if (pivot != 0.0f) {
                for (int i = k + 1; i <= n; ++i) a(i, k) = -a(i, k) / pivot;
                for (int j = k + 1; j <= n; ++j) {
                    const float t = static_cast<float>(a(m, j));
                    a(m, j) = a(k, j);
                    a(k, j) = t;
                    if (t == 0.0f) continue;
                    for (int i = k + 1; i <= n; ++i) a(i, j) += a(i, k) * t;
                }
            }
        }
        if (a(k, k) == 0.0) ip[n] = 0;
    }
}

SquareMatrix randomMatrix(int n, unsigned seed, double zeros)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    SquareMatrix a(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const double v = u(rng);
            // Signed zeros among the entries: a zero of the pivot row must
            // leave a -0 below it as it is.
            a(i, j) = std::fabs(v) < zeros ? (v < 0 ? -0.0 : 0.0) : v;
        }
    return a;
}

} // namespace

TEST(PanelLU, RowWiseGivesTheBitsOfColumnWise)
{
    struct Case {
        int n;
        unsigned seed;
        double zeros;
    };
    NullProgress none;
    std::vector<int> ip, ref;
    // Sizes in both directions, so that kept storage is reused larger and smaller.
    for (const Case c : {Case{201, 1, 0.0}, Case{7, 2, 0.3}, Case{60, 3, 0.1}, Case{1, 4, 0.0}, Case{120, 5, 0.02},
                         Case{5, 6, 1.0} /* all zero: singular */}) {
        SquareMatrix a = randomMatrix(c.n, c.seed, c.zeros);
        SquareMatrix b = a;
        DECOMP(a, ip, none);
        columnDecomp(b, ref);
        EXPECT_EQ(ip, ref) << c.n;
        bool same = true;
        for (int i = 1; i <= c.n; ++i)
            for (int j = 1; j <= c.n; ++j)
                same = same && std::memcmp(&a(i, j), &b(i, j), sizeof(double)) == 0;
        EXPECT_TRUE(same) << c.n;
    }
}
