#include <gtest/gtest.h>

#include <cmath>
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
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.maximum, 2);
    EXPECT_EQ(bar.last, 1);

    std::vector<float> b = {0, 5, 11};
    GAUSS(a, b, ip, bar);
    EXPECT_NEAR(b[1], 1.0f, 1e-6);
    EXPECT_NEAR(b[2], 2.0f, 1e-6);
    EXPECT_EQ(bar.maximum, 1);
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
