#include "finpanel/PanelLU.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "platform/Checked.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

NullProgress quiet;

SquareMatrix matrix(const std::vector<std::vector<double>>& rows)
{
    const int n = static_cast<int>(rows.size());
    SquareMatrix a(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) a(i, j) = rows[i - 1][j - 1];
    return a;
}

// The factorisation column by column, as first written: the row-wise DECOMP must give its bits.
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
            // Signed zeros among the entries: a zero of the pivot row must leave a -0 below it as it is.
            a(i, j) = std::fabs(v) < zeros ? (v < 0 ? -0.0 : 0.0) : v;
        }
    return a;
}

} // namespace

// Small systems solved by hand: [[1, 2], [3, 4]] takes row 2 as its first
// pivot; of two equal magnitudes the upper row stays the pivot.
TEST(PanelLU, HandSystemsAndASingularOne)
{
    // Matrix, right-hand side (1-based; becomes the solution), solution, first pivot row.
    std::tuple<SquareMatrix, std::vector<float>, std::vector<float>, int> cases[] = {
        {matrix({{1, 2}, {3, 4}}), {0, 5, 11}, {0, 1, 2}, 2},
        {matrix({{2, 1, 0}, {-2, 3, 1}, {2, 0, 4}}), {0, 3, 2, 6}, {0, 1, 1, 1}, 1},
        {matrix({{4}}), {0, 2}, {0, 0.5f}, 1},
    };
    std::vector<int> ip;
    for (auto& [a, b, x, firstPivotRow] : cases) {
        const int n = a.order();
        ASSERT_EQ(DECOMP(a, ip, quiet), Outcome::Done);
        EXPECT_EQ(std::tuple(ip[1], ip[n] * ip[n]), std::tuple(firstPivotRow, 1)) << n;
        GAUSS(a, b, ip, quiet);
        for (int i = 1; i <= n; ++i) EXPECT_NEAR(b[i], x[i], 1e-6) << n << " " << i;
    }

    SquareMatrix a = matrix({{1, 0, 2}, {3, 0, 1}, {1, 0, 5}});
    ASSERT_EQ(DECOMP(a, ip, quiet), Outcome::Done);
    EXPECT_EQ(ip[3], 0);
    std::vector<float> b = {0, 1, 2, 3};
    EXPECT_THROW(GAUSS(a, b, ip, quiet), MathFailure);
}

TEST(PanelLU, RowWiseGivesTheBitsOfColumnWise)
{
    std::vector<int> ip, ref;
    // Sizes in both directions, so that kept storage is reused larger and smaller; order, seed, share of zeros.
    for (auto [n, seed, zeros] : {std::tuple{201, 1u, 0.0}, {7, 2u, 0.3}, {60, 3u, 0.1}, {1, 4u, 0.0}, {120, 5u, 0.02},
                                  {5, 6u, 1.0} /* all zero: singular */}) {
        SquareMatrix a = randomMatrix(n, seed, zeros);
        SquareMatrix b = a;
        ASSERT_EQ(DECOMP(a, ip, quiet), Outcome::Done);
        columnDecomp(b, ref);
        EXPECT_EQ(ip, ref) << n;
        bool same = true;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                same = same && std::memcmp(&a(i, j), &b(i, j), sizeof(double)) == 0;
        EXPECT_TRUE(same) << n;
    }
}
