#include "bodyflow/Gauss.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELMORA_GAUSS_SSE2 1
#endif

namespace velmora {

void AugmentedMatrix::resize(int n)
{
    if (n < 0) throw std::invalid_argument("negative matrix size");
    n_ = n;
    // Rows padded to a multiple of four doubles, and never a multiple of a
    // page, so that rows of a column block do not compete for cache sets.
    std::size_t s = static_cast<std::size_t>(n) + 1;
    s = (s + 3) / 4 * 4;
    if (s % 512 == 0) s += 4;
    stride_ = s;
    data_.assign(static_cast<std::size_t>(n) * stride_, 0.0);
}

std::size_t AugmentedMatrix::index(int i, int j) const
{
    if (i < 1 || i > n_ || j < 1 || j > n_ + 1)
        throw std::out_of_range("matrix element (" + std::to_string(i) + ", " + std::to_string(j) + ") outside 1.." +
                                std::to_string(n_) + " x 1.." + std::to_string(n_ + 1));
    return offset(i) + static_cast<std::size_t>(j - 1);
}

namespace {

// Pivot rows are factored in blocks of this many; the rows below receive the
// block's updates together, element by element in pivot order.
constexpr int kBlock = 24;

#ifdef VELMORA_GAUSS_SSE2
struct alignas(16) Pair {
    double v[2];
};
#endif

// c(i, j) = c(i, j) - u(k, j) * l(i, k) for k = 0..kb-1 in this order, over
// a tile of rows x cols. c, l: rows with stride ld; u: rows with stride ld.
// The 4 x 4 kernel keeps its tile in registers across the whole k loop.
inline void updateTile4x4(double* c, const double* l, const double* u, std::size_t ld, int kb)
{
    double c00 = c[0], c01 = c[1], c02 = c[2], c03 = c[3];
    double c10 = c[ld], c11 = c[ld + 1], c12 = c[ld + 2], c13 = c[ld + 3];
    double c20 = c[2 * ld], c21 = c[2 * ld + 1], c22 = c[2 * ld + 2], c23 = c[2 * ld + 3];
    double c30 = c[3 * ld], c31 = c[3 * ld + 1], c32 = c[3 * ld + 2], c33 = c[3 * ld + 3];
    for (int k = 0; k < kb; ++k) {
        const double* uk = u + static_cast<std::size_t>(k) * ld;
        const double u0 = uk[0], u1 = uk[1], u2 = uk[2], u3 = uk[3];
        const double l0 = l[k], l1 = l[ld + k], l2 = l[2 * ld + k], l3 = l[3 * ld + k];
        c00 -= u0 * l0; c01 -= u1 * l0; c02 -= u2 * l0; c03 -= u3 * l0;
        c10 -= u0 * l1; c11 -= u1 * l1; c12 -= u2 * l1; c13 -= u3 * l1;
        c20 -= u0 * l2; c21 -= u1 * l2; c22 -= u2 * l2; c23 -= u3 * l2;
        c30 -= u0 * l3; c31 -= u1 * l3; c32 -= u2 * l3; c33 -= u3 * l3;
    }
    c[0] = c00; c[1] = c01; c[2] = c02; c[3] = c03;
    c[ld] = c10; c[ld + 1] = c11; c[ld + 2] = c12; c[ld + 3] = c13;
    c[2 * ld] = c20; c[2 * ld + 1] = c21; c[2 * ld + 2] = c22; c[2 * ld + 3] = c23;
    c[3 * ld] = c30; c[3 * ld + 1] = c31; c[3 * ld + 2] = c32; c[3 * ld + 3] = c33;
}

inline void updateTileAny(double* c, const double* l, const double* u, std::size_t ld, int kb, int rows, int cols)
{
    for (int r = 0; r < rows; ++r) {
        double* cr = c + static_cast<std::size_t>(r) * ld;
        const double* lr = l + static_cast<std::size_t>(r) * ld;
        for (int j = 0; j < cols; ++j) {
            double v = cr[j];
            for (int k = 0; k < kb; ++k) v -= u[static_cast<std::size_t>(k) * ld + j] * lr[k];
            cr[j] = v;
        }
    }
}

#ifdef VELMORA_GAUSS_SSE2
// The same 4 x 4 update on packed operands: lp holds the tile's four
// multipliers of each pivot k as duplicated pairs, up the four pivot-row
// entries of each k, both in k order.
inline void updateTilePacked(double* c, std::size_t ld, const Pair* lp, const Pair* up, int kb)
{
    double* c1 = c + ld;
    double* c2 = c + 2 * ld;
    double* c3 = c + 3 * ld;
    __m128d a0 = _mm_loadu_pd(c), b0 = _mm_loadu_pd(c + 2);
    __m128d a1 = _mm_loadu_pd(c1), b1 = _mm_loadu_pd(c1 + 2);
    __m128d a2 = _mm_loadu_pd(c2), b2 = _mm_loadu_pd(c2 + 2);
    __m128d a3 = _mm_loadu_pd(c3), b3 = _mm_loadu_pd(c3 + 2);
    for (int k = 0; k < kb; ++k) {
        const __m128d u0 = _mm_load_pd(up[2 * k].v), u1 = _mm_load_pd(up[2 * k + 1].v);
        const __m128d l0 = _mm_load_pd(lp[4 * k].v), l1 = _mm_load_pd(lp[4 * k + 1].v);
        const __m128d l2 = _mm_load_pd(lp[4 * k + 2].v), l3 = _mm_load_pd(lp[4 * k + 3].v);
        a0 = _mm_sub_pd(a0, _mm_mul_pd(u0, l0));
        b0 = _mm_sub_pd(b0, _mm_mul_pd(u1, l0));
        a1 = _mm_sub_pd(a1, _mm_mul_pd(u0, l1));
        b1 = _mm_sub_pd(b1, _mm_mul_pd(u1, l1));
        a2 = _mm_sub_pd(a2, _mm_mul_pd(u0, l2));
        b2 = _mm_sub_pd(b2, _mm_mul_pd(u1, l2));
        a3 = _mm_sub_pd(a3, _mm_mul_pd(u0, l3));
        b3 = _mm_sub_pd(b3, _mm_mul_pd(u1, l3));
    }
    _mm_storeu_pd(c, a0); _mm_storeu_pd(c + 2, b0);
    _mm_storeu_pd(c1, a1); _mm_storeu_pd(c1 + 2, b1);
    _mm_storeu_pd(c2, a2); _mm_storeu_pd(c2 + 2, b2);
    _mm_storeu_pd(c3, a3); _mm_storeu_pd(c3 + 2, b3);
}
#endif

// One row c(j), j = 0..cols-1, receives the updates of kb pivot rows:
// c(j) -= u(k, j) * l(k), k ascending (u rows with stride ld).
void updateRow(double* c, const double* l, const double* u, std::size_t ld, int kb, int cols)
{
    int j = 0;
#ifdef VELMORA_GAUSS_SSE2
    Pair lb[kBlock];
    for (int k = 0; k < kb; ++k) lb[k] = Pair{{l[k], l[k]}};
    for (; j + 3 < cols; j += 4) {
        __m128d a = _mm_loadu_pd(c + j), b = _mm_loadu_pd(c + j + 2);
        for (int k = 0; k < kb; ++k) {
            const double* uk = u + static_cast<std::size_t>(k) * ld + j;
            const __m128d f = _mm_load_pd(lb[k].v);
            a = _mm_sub_pd(a, _mm_mul_pd(_mm_loadu_pd(uk), f));
            b = _mm_sub_pd(b, _mm_mul_pd(_mm_loadu_pd(uk + 2), f));
        }
        _mm_storeu_pd(c + j, a);
        _mm_storeu_pd(c + j + 2, b);
    }
#endif
    for (; j < cols; ++j) {
        double v = c[j];
        for (int k = 0; k < kb; ++k) v -= u[static_cast<std::size_t>(k) * ld + j] * l[k];
        c[j] = v;
    }
}

// Rows r0..r1 and columns c0..c1 (0-based) receive the updates of pivot rows
// k0..k0+kb-1: a(i, j) -= a(k, j) * a(i, k), k ascending. a(i, k) holds the
// multiplier of row i for pivot k, a(k, j) the normalised pivot row.
void blockUpdate(double* a, std::size_t ld, int k0, int kb, int r0, int r1, int c0, int c1)
{
    if (r0 > r1 || c0 > c1 || kb <= 0) return;
    const double* u0 = a + static_cast<std::size_t>(k0) * ld;
#ifdef VELMORA_GAUSS_SSE2
    // Operands copied once per block into the order the kernel reads them.
    const int tiles = (r1 - r0 + 1) / 4;
    const int groups = (c1 - c0 + 1) / 4;
    std::vector<Pair> lpack(static_cast<std::size_t>(tiles) * static_cast<std::size_t>(kb) * 4);
    std::vector<Pair> upack(static_cast<std::size_t>(groups) * static_cast<std::size_t>(kb) * 2);
    for (int t = 0; t < tiles; ++t)
        for (int r = 0; r < 4; ++r) {
            const double* li = a + static_cast<std::size_t>(r0 + 4 * t + r) * ld + k0;
            for (int k = 0; k < kb; ++k)
                lpack[(static_cast<std::size_t>(t) * kb + k) * 4 + r] = Pair{{li[k], li[k]}};
        }
    for (int k = 0; k < kb; ++k) {
        const double* uk = u0 + static_cast<std::size_t>(k) * ld + c0;
        for (int g = 0; g < groups; ++g) {
            upack[(static_cast<std::size_t>(g) * kb + k) * 2] = Pair{{uk[4 * g], uk[4 * g + 1]}};
            upack[(static_cast<std::size_t>(g) * kb + k) * 2 + 1] = Pair{{uk[4 * g + 2], uk[4 * g + 3]}};
        }
    }
    constexpr int kStripGroups = 16;  // 64 columns of packed pivot rows stay in L1
    for (int gs = 0; gs < groups; gs += kStripGroups) {
        const int ge = std::min(gs + kStripGroups, groups);
        for (int t = 0; t < tiles; ++t) {
            double* ct = a + static_cast<std::size_t>(r0 + 4 * t) * ld + c0;
            const Pair* lp = lpack.data() + static_cast<std::size_t>(t) * kb * 4;
            for (int g = gs; g < ge; ++g)
                updateTilePacked(ct + 4 * g, ld, lp, upack.data() + static_cast<std::size_t>(g) * kb * 2, kb);
        }
    }
    // Columns beyond the last group of four, rows beyond the last tile.
    const int cRest = c0 + 4 * groups;
    if (cRest <= c1)
        for (int t = 0; t < tiles; ++t) {
            double* ci = a + static_cast<std::size_t>(r0 + 4 * t) * ld;
            updateTileAny(ci + cRest, ci + k0, u0 + cRest, ld, kb, 4, c1 - cRest + 1);
        }
    const int rRest = r0 + 4 * tiles;
    if (rRest <= r1) {
        double* ci = a + static_cast<std::size_t>(rRest) * ld;
        updateTileAny(ci + c0, ci + k0, u0 + c0, ld, kb, r1 - rRest + 1, c1 - c0 + 1);
    }
#else
    constexpr int kStrip = 128;  // columns per pass: the pivot rows' strip stays in cache
    for (int cs = c0; cs <= c1; cs += kStrip) {
        const int ce = std::min(cs + kStrip - 1, c1);
        int i = r0;
        for (; i + 3 <= r1; i += 4) {
            double* ci = a + static_cast<std::size_t>(i) * ld;
            const double* li = ci + k0;
            int j = cs;
            for (; j + 3 <= ce; j += 4) updateTile4x4(ci + j, li, u0 + j, ld, kb);
            if (j <= ce) updateTileAny(ci + j, li, u0 + j, ld, kb, 4, ce - j + 1);
        }
        if (i <= r1) {
            double* ci = a + static_cast<std::size_t>(i) * ld;
            updateTileAny(ci + cs, ci + k0, u0 + cs, ld, kb, r1 - i + 1, ce - cs + 1);
        }
    }
#endif
}

} // namespace

Outcome GAUSS(std::vector<double>& X, AugmentedMatrix& A, int N, Module1& m, Progress& progress)
{
    if (N < 1 || N > A.size()) throw std::invalid_argument("GAUSS: N outside the matrix");

    progress.progressVisible(true);
    progress.progressRange(1, N - 1);
    progress.progressValue(1);
    auto finish = [&progress](Outcome o) {
        progress.progressValue(1);
        return o;
    };

    const std::size_t ld = A.stride();
    double* a = A.row(1);
    auto at = [a, ld](int i0, int j0) -> double& { return a[static_cast<std::size_t>(i0) * ld + static_cast<std::size_t>(j0)]; };
    const int last = N;  // 0-based index of the right-hand side column

    // A pivot is vanishing when it is at rounding level of the largest entry
    // its row started with: what is left is cancellation noise.
    std::vector<double> rowScale(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) {
        double s = 0.0;
        for (int j = 0; j < N; ++j) s = std::max(s, std::fabs(at(i, j)));
        rowScale[static_cast<std::size_t>(i)] = s;
    }
    const double tolerance = static_cast<double>(N) * DBL_EPSILON;
    auto pivotUsable = [&](int k0, double p) {
        return std::isfinite(p) && std::fabs(p) > tolerance * rowScale[static_cast<std::size_t>(k0)];
    };

    // 0-based below: pivot k runs 0..N-2 (rows 1..N-1 of the textbook form).
    for (int kb0 = 0; kb0 <= N - 2; kb0 += kBlock) {
        const int kb1 = std::min(kb0 + kBlock - 1, N - 2);
        for (int k = kb0; k <= kb1; ++k) {
            progress.progressValue(k + 1);
            progress.pumpEvents();
            if (m.AbortRequest == "YES") return finish(Outcome::Aborted);
            m.AugmentedColumnCount = static_cast<int16_t>(N + 1);

            double* rk = &at(k, 0);
            // Columns right of this block in row k still lack the updates of
            // the block's earlier pivot rows: apply them in pivot order.
            updateRow(rk + kb1 + 1, rk + kb0, &at(kb0, kb1 + 1), ld, k - kb0, last - kb1);
            const double p = rk[k];
            if (!pivotUsable(k, p)) return finish(Outcome::Failed);
            for (int j = k; j <= last; ++j) rk[j] = rk[j] / p;

            // Rows below, within the block's columns; the multiplier stays in
            // column k for the later update of the columns right of the block.
            for (int i = k + 1; i < N; ++i) {
                double* ri = &at(i, 0);
                const double f = ri[k];
                for (int j = k + 1; j <= kb1; ++j) ri[j] -= rk[j] * f;
            }
        }
        // Every row below the block, every column right of it.
        blockUpdate(a, ld, kb0, kb1 - kb0 + 1, kb1 + 1, N - 1, kb1 + 1, last);
    }

    // Back substitution on the unit upper triangle.
    const double pn = at(N - 1, N - 1);
    if (!pivotUsable(N - 1, pn)) return finish(Outcome::Failed);
    std::vector<double> x(static_cast<std::size_t>(N) + 1, 0.0);
    x[static_cast<std::size_t>(N)] = at(N - 1, last) / pn;
    for (int k = N - 2; k >= 0; --k) {
        const double* rk = &at(k, 0);
        double v = rk[last];
        for (int j = k + 1; j <= N - 1; ++j) v = v - rk[j] * x[static_cast<std::size_t>(j) + 1];
        x[static_cast<std::size_t>(k) + 1] = v;
    }
    for (int i = 1; i <= N; ++i)
        if (!std::isfinite(x[static_cast<std::size_t>(i)])) return finish(Outcome::Failed);

    if (X.size() < static_cast<std::size_t>(N) + 1) X.resize(static_cast<std::size_t>(N) + 1, 0.0);
    std::copy(x.begin() + 1, x.end(), X.begin() + 1);
    return finish(Outcome::Done);
}

} // namespace velmora
