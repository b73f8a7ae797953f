#include "bodyflow/Gauss.h"

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <optional>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Simd.h"
#include "model/Vocabulary.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELMORA_GAUSS_SSE2 1
#endif
#if defined(VELMORA_GAUSS_SSE2) && defined(__GNUC__)
#include <immintrin.h>
#define VELMORA_GAUSS_AVX2 1
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
constexpr int kBlock = 24;  // at most 24: the AVX-512 panel sweep holds a block's columns in three registers

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

// Rows r0..r1 below a block of pivot rows k0..k0+kb-1 receive the block's
// eliminations within the block's own columns, one row at a time: for each
// pivot k in ascending order, f = a(i, k), then a(i, j) -= a(k, j) * f for the
// block's columns j > k. Each element sees the same operations in the same
// order as when the pivots sweep all rows one after another, while the row
// stays in cache.
void panelRows(double* a, std::size_t ld, int k0, int kb, int r0, int r1)
{
    for (int i = r0; i <= r1; ++i) {
        double* ri = a + static_cast<std::size_t>(i) * ld + k0;
        for (int k = 0; k + 1 < kb; ++k) {
            const double* uk = a + static_cast<std::size_t>(k0 + k) * ld + k0;
            const double f = ri[k];
            for (int j = k + 1; j < kb; ++j) ri[j] -= uk[j] * f;
        }
    }
}

#ifdef VELMORA_GAUSS_AVX2
// The AVX2 forms of the elimination's loops. Each element receives the same
// operations in the same order as in the forms above (a product, then its
// subtraction; pivots in ascending order), four columns to a register.
#define VELMORA_AVX2 __attribute__((target("avx2")))

VELMORA_AVX2 double rowMaxAbsAvx2(const double* r, int n)
{
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffffLL));
    __m256d m = _mm256_setzero_pd();
    int j = 0;
    // maxpd returns its second operand when the first is a NaN: a NaN entry
    // is passed over, as std::max(s, NaN) passes it over.
    for (; j + 3 < n; j += 4) m = _mm256_max_pd(_mm256_and_pd(_mm256_loadu_pd(r + j), magnitude), m);
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, m);
    double s = 0.0;
    for (double v : lanes) s = std::max(s, v);
    for (; j < n; ++j) s = std::max(s, std::fabs(r[j]));
    return s;
}

VELMORA_AVX2 void divideRowAvx2(double* r, int j0, int j1, double p)
{
    const __m256d vp = _mm256_set1_pd(p);
    int j = j0;
    for (; j + 3 <= j1; j += 4) _mm256_storeu_pd(r + j, _mm256_div_pd(_mm256_loadu_pd(r + j), vp));
    for (; j <= j1; ++j) r[j] = r[j] / p;
}

VELMORA_AVX2 void subtractMultipleAvx2(double* ri, const double* rk, double f, int j0, int j1)
{
    const __m256d vf = _mm256_set1_pd(f);
    int j = j0;
    for (; j + 3 <= j1; j += 4)
        _mm256_storeu_pd(ri + j, _mm256_sub_pd(_mm256_loadu_pd(ri + j), _mm256_mul_pd(_mm256_loadu_pd(rk + j), vf)));
    for (; j <= j1; ++j) ri[j] -= rk[j] * f;
}

VELMORA_AVX2 void updateRowAvx2(double* c, const double* l, const double* u, std::size_t ld, int kb, int cols)
{
    int j = 0;
    for (; j + 7 < cols; j += 8) {
        __m256d a = _mm256_loadu_pd(c + j), b = _mm256_loadu_pd(c + j + 4);
        for (int k = 0; k < kb; ++k) {
            const double* uk = u + static_cast<std::size_t>(k) * ld + j;
            const __m256d f = _mm256_broadcast_sd(l + k);
            a = _mm256_sub_pd(a, _mm256_mul_pd(_mm256_loadu_pd(uk), f));
            b = _mm256_sub_pd(b, _mm256_mul_pd(_mm256_loadu_pd(uk + 4), f));
        }
        _mm256_storeu_pd(c + j, a);
        _mm256_storeu_pd(c + j + 4, b);
    }
    for (; j + 3 < cols; j += 4) {
        __m256d a = _mm256_loadu_pd(c + j);
        for (int k = 0; k < kb; ++k)
            a = _mm256_sub_pd(a, _mm256_mul_pd(_mm256_loadu_pd(u + static_cast<std::size_t>(k) * ld + j),
                                               _mm256_broadcast_sd(l + k)));
        _mm256_storeu_pd(c + j, a);
    }
    for (; j < cols; ++j) {
        double v = c[j];
        for (int k = 0; k < kb; ++k) v -= u[static_cast<std::size_t>(k) * ld + j] * l[k];
        c[j] = v;
    }
}

// The panel sweep of the rows below a block, four rows side by side so that
// each row's chain of multipliers overlaps the others'. Within the group of
// four columns that holds the pivot's own column, the columns at or left of
// it subtract a zero: the same bits as leaving them alone.
VELMORA_AVX2 void panelRowsAvx2(double* a, std::size_t ld, int k0, int kb, int r0, int r1)
{
    const int full = kb / 4;  // groups of four columns wholly inside the block
    alignas(32) static const std::int64_t keep[4][4] = {
        {-1, -1, -1, -1}, {0, -1, -1, -1}, {0, 0, -1, -1}, {0, 0, 0, -1}};
    for (int i = r0; i <= r1; i += 4) {
        const int rows = std::min(4, r1 - i + 1);
        double* ri[4];
        for (int r = 0; r < 4; ++r) ri[r] = a + static_cast<std::size_t>(i + std::min(r, rows - 1)) * ld + k0;
        for (int k = 0; k + 1 < kb; ++k) {
            const double* uk = a + static_cast<std::size_t>(k0 + k) * ld + k0;
            const int g0 = (k + 1) / 4;
            const __m256d mask = _mm256_load_pd(reinterpret_cast<const double*>(keep[(k + 1) % 4]));
            for (int r = 0; r < rows; ++r) {
                double* row = ri[r];
                const double f = row[k];
                const __m256d vf = _mm256_set1_pd(f);
                int g = g0;
                if (g < full) {
                    const __m256d p = _mm256_and_pd(_mm256_mul_pd(_mm256_loadu_pd(uk + 4 * g), vf), mask);
                    _mm256_storeu_pd(row + 4 * g, _mm256_sub_pd(_mm256_loadu_pd(row + 4 * g), p));
                    for (++g; g < full; ++g)
                        _mm256_storeu_pd(row + 4 * g, _mm256_sub_pd(_mm256_loadu_pd(row + 4 * g),
                                                                    _mm256_mul_pd(_mm256_loadu_pd(uk + 4 * g), vf)));
                }
                for (int j = std::max(k + 1, 4 * full); j < kb; ++j) row[j] -= uk[j] * f;
            }
        }
    }
}

// A 4 x 8 tile in eight registers across the whole pivot loop. lp: the
// tile's four multipliers of each pivot, up: the eight pivot-row entries of
// each pivot, both in pivot order.
VELMORA_AVX2 inline void updateTile4x8(double* c, std::size_t ld, const double* lp, const double* up, int kb)
{
    double* c1 = c + ld;
    double* c2 = c + 2 * ld;
    double* c3 = c + 3 * ld;
    __m256d a0 = _mm256_loadu_pd(c), b0 = _mm256_loadu_pd(c + 4);
    __m256d a1 = _mm256_loadu_pd(c1), b1 = _mm256_loadu_pd(c1 + 4);
    __m256d a2 = _mm256_loadu_pd(c2), b2 = _mm256_loadu_pd(c2 + 4);
    __m256d a3 = _mm256_loadu_pd(c3), b3 = _mm256_loadu_pd(c3 + 4);
    for (int k = 0; k < kb; ++k) {
        const __m256d u0 = _mm256_loadu_pd(up + 8 * k), u1 = _mm256_loadu_pd(up + 8 * k + 4);
        __m256d l = _mm256_broadcast_sd(lp + 4 * k);
        a0 = _mm256_sub_pd(a0, _mm256_mul_pd(u0, l));
        b0 = _mm256_sub_pd(b0, _mm256_mul_pd(u1, l));
        l = _mm256_broadcast_sd(lp + 4 * k + 1);
        a1 = _mm256_sub_pd(a1, _mm256_mul_pd(u0, l));
        b1 = _mm256_sub_pd(b1, _mm256_mul_pd(u1, l));
        l = _mm256_broadcast_sd(lp + 4 * k + 2);
        a2 = _mm256_sub_pd(a2, _mm256_mul_pd(u0, l));
        b2 = _mm256_sub_pd(b2, _mm256_mul_pd(u1, l));
        l = _mm256_broadcast_sd(lp + 4 * k + 3);
        a3 = _mm256_sub_pd(a3, _mm256_mul_pd(u0, l));
        b3 = _mm256_sub_pd(b3, _mm256_mul_pd(u1, l));
    }
    _mm256_storeu_pd(c, a0), _mm256_storeu_pd(c + 4, b0);
    _mm256_storeu_pd(c1, a1), _mm256_storeu_pd(c1 + 4, b1);
    _mm256_storeu_pd(c2, a2), _mm256_storeu_pd(c2 + 4, b2);
    _mm256_storeu_pd(c3, a3), _mm256_storeu_pd(c3 + 4, b3);
}

VELMORA_AVX2 void blockUpdateAvx2(double* a, std::size_t ld, int k0, int kb, int r0, int r1, int c0, int c1)
{
    const double* u0 = a + static_cast<std::size_t>(k0) * ld;
    const int tiles = (r1 - r0 + 1) / 4;
    const int groups = (c1 - c0 + 1) / 8;
    // Packing buffers kept from block to block (and solve to solve).
    thread_local std::vector<double> lpack, upack;
    lpack.resize(static_cast<std::size_t>(tiles) * static_cast<std::size_t>(kb) * 4);
    upack.resize(static_cast<std::size_t>(groups) * static_cast<std::size_t>(kb) * 8);
    for (int t = 0; t < tiles; ++t)
        for (int r = 0; r < 4; ++r) {
            const double* li = a + static_cast<std::size_t>(r0 + 4 * t + r) * ld + k0;
            for (int k = 0; k < kb; ++k) lpack[(static_cast<std::size_t>(t) * kb + k) * 4 + r] = li[k];
        }
    for (int k = 0; k < kb; ++k) {
        const double* uk = u0 + static_cast<std::size_t>(k) * ld + c0;
        for (int g = 0; g < groups; ++g)
            _mm256_storeu_pd(upack.data() + (static_cast<std::size_t>(g) * kb + k) * 8, _mm256_loadu_pd(uk + 8 * g)),
                _mm256_storeu_pd(upack.data() + (static_cast<std::size_t>(g) * kb + k) * 8 + 4,
                                 _mm256_loadu_pd(uk + 8 * g + 4));
    }
    constexpr int kStripGroups = 8;  // 64 columns of packed pivot rows stay in L1
    for (int gs = 0; gs < groups; gs += kStripGroups) {
        const int ge = std::min(gs + kStripGroups, groups);
        for (int t = 0; t < tiles; ++t) {
            double* ct = a + static_cast<std::size_t>(r0 + 4 * t) * ld + c0;
            const double* lp = lpack.data() + static_cast<std::size_t>(t) * kb * 4;
            for (int g = gs; g < ge; ++g)
                updateTile4x8(ct + 8 * g, ld, lp, upack.data() + static_cast<std::size_t>(g) * kb * 8, kb);
        }
    }
    // Columns beyond the last group of eight, rows beyond the last tile.
    const int cRest = c0 + 8 * groups;
    if (cRest <= c1)
        for (int t = 0; t < tiles; ++t)
            for (int r = 0; r < 4; ++r) {
                double* ci = a + static_cast<std::size_t>(r0 + 4 * t + r) * ld;
                updateRowAvx2(ci + cRest, ci + k0, u0 + cRest, ld, kb, c1 - cRest + 1);
            }
    for (int i = r0 + 4 * tiles; i <= r1; ++i) {
        double* ci = a + static_cast<std::size_t>(i) * ld;
        updateRowAvx2(ci + c0, ci + k0, u0 + c0, ld, kb, c1 - c0 + 1);
    }
}

// v - r[j] x[j] for j = j0..j1 in this order: the products four at a time,
// the subtractions one by one.
VELMORA_AVX2 double backSubstituteAvx2(double v, const double* r, const double* x, int j0, int j1)
{
    int j = j0;
    alignas(32) double p[4];
    for (; j + 3 <= j1; j += 4) {
        _mm256_store_pd(p, _mm256_mul_pd(_mm256_loadu_pd(r + j), _mm256_loadu_pd(x + j)));
        v = v - p[0];
        v = v - p[1];
        v = v - p[2];
        v = v - p[3];
    }
    for (; j <= j1; ++j) v = v - r[j] * x[j];
    return v;
}
#undef VELMORA_AVX2

// At the AVX-512 level (simdLevel), the block update runs on 8 x 16 tiles of
// 512-bit registers: the same products and subtractions, element by element
// in pivot order, sixteen columns to a register.
#define VELMORA_AVX512 __attribute__((target("avx512f")))


// The first n lanes of a register of eight (none for n <= 0, all for n >= 8).
inline __mmask8 firstLanes(int n) { return n <= 0 ? 0 : n >= 8 ? 0xFF : static_cast<__mmask8>((1u << n) - 1u); }

// An R x 16 tile (R rows of up to sixteen columns: lanes m0 of the first
// register, m1 of the second) in registers across the whole pivot loop. lp:
// eight multipliers of each pivot (the tile's R first), up: sixteen pivot-row
// entries of each pivot, both in pivot order. Lanes outside the masks are
// neither read from c nor written back.
template <int R, bool Two>
VELMORA_AVX512 inline void updateTile16(double* c, std::size_t ld, const double* lp, const double* up, int kb,
                                        __mmask8 m0, __mmask8 m1)
{
    __m512d a[R], b[R];
    for (int r = 0; r < R; ++r) {
        a[r] = _mm512_maskz_loadu_pd(m0, c + r * ld);
        if (Two) b[r] = _mm512_maskz_loadu_pd(m1, c + r * ld + 8);
    }
    for (int k = 0; k < kb; ++k) {
        const __m512d u0 = _mm512_loadu_pd(up + 16 * k);
        const __m512d u1 = Two ? _mm512_loadu_pd(up + 16 * k + 8) : u0;
        for (int r = 0; r < R; ++r) {
            const __m512d l = _mm512_set1_pd(lp[8 * k + r]);
            a[r] = _mm512_sub_pd(a[r], _mm512_mul_pd(u0, l));
            if (Two) b[r] = _mm512_sub_pd(b[r], _mm512_mul_pd(u1, l));
        }
    }
    for (int r = 0; r < R; ++r) {
        _mm512_mask_storeu_pd(c + r * ld, m0, a[r]);
        if (Two) _mm512_mask_storeu_pd(c + r * ld + 8, m1, b[r]);
    }
}

template <int R>
VELMORA_AVX512 void updateTileRows(double* c, std::size_t ld, const double* lp, const double* up, int kb, int cols)
{
    if (cols > 8) return updateTile16<R, true>(c, ld, lp, up, kb, firstLanes(cols), firstLanes(cols - 8));
    updateTile16<R, false>(c, ld, lp, up, kb, firstLanes(cols), 0);
}

VELMORA_AVX512 void updateTileAnyRows(int rows, double* c, std::size_t ld, const double* lp, const double* up, int kb,
                                      int cols)
{
    switch (rows) {
    case 8: return updateTileRows<8>(c, ld, lp, up, kb, cols);
    case 7: return updateTileRows<7>(c, ld, lp, up, kb, cols);
    case 6: return updateTileRows<6>(c, ld, lp, up, kb, cols);
    case 5: return updateTileRows<5>(c, ld, lp, up, kb, cols);
    case 4: return updateTileRows<4>(c, ld, lp, up, kb, cols);
    case 3: return updateTileRows<3>(c, ld, lp, up, kb, cols);
    case 2: return updateTileRows<2>(c, ld, lp, up, kb, cols);
    default: return updateTileRows<1>(c, ld, lp, up, kb, cols);
    }
}

VELMORA_AVX512 void blockUpdateAvx512(double* a, std::size_t ld, int k0, int kb, int r0, int r1, int c0, int c1)
{
    const double* u0 = a + static_cast<std::size_t>(k0) * ld;
    const int rows = r1 - r0 + 1, cols = c1 - c0 + 1;
    const int tiles = (rows + 7) / 8;
    const int groups = (cols + 15) / 16;
    thread_local std::vector<double> lpack, upack;
    lpack.assign(static_cast<std::size_t>(tiles) * static_cast<std::size_t>(kb) * 8, 0.0);
    upack.resize(static_cast<std::size_t>(groups) * static_cast<std::size_t>(kb) * 16);
    for (int i = 0; i < rows; ++i) {
        const double* li = a + static_cast<std::size_t>(r0 + i) * ld + k0;
        double* to = lpack.data() + static_cast<std::size_t>(i / 8) * kb * 8 + i % 8;
        for (int k = 0; k < kb; ++k) to[8 * k] = li[k];
    }
    for (int k = 0; k < kb; ++k) {
        const double* uk = u0 + static_cast<std::size_t>(k) * ld + c0;
        for (int g = 0; g < groups; ++g) {
            double* to = upack.data() + (static_cast<std::size_t>(g) * kb + k) * 16;
            _mm512_storeu_pd(to, _mm512_maskz_loadu_pd(firstLanes(cols - 16 * g), uk + 16 * g));
            _mm512_storeu_pd(to + 8, _mm512_maskz_loadu_pd(firstLanes(cols - 16 * g - 8), uk + 16 * g + 8));
        }
    }
    constexpr int kStripGroups = 8;  // 128 columns of packed pivot rows (24 KB) stay in L1
    for (int gs = 0; gs < groups; gs += kStripGroups) {
        const int ge = std::min(gs + kStripGroups, groups);
        for (int t = 0; t < tiles; ++t) {
            double* ct = a + static_cast<std::size_t>(r0 + 8 * t) * ld + c0;
            const double* lp = lpack.data() + static_cast<std::size_t>(t) * kb * 8;
            const int tileRows = std::min(8, rows - 8 * t);
            for (int g = gs; g < ge; ++g) {
                const double* up = upack.data() + static_cast<std::size_t>(g) * kb * 16;
                if (tileRows == 8 && 16 * g + 16 <= cols)
                    updateTile16<8, true>(ct + 16 * g, ld, lp, up, kb, 0xFF, 0xFF);
                else
                    updateTileAnyRows(tileRows, ct + 16 * g, ld, lp, up, kb, cols - 16 * g);
            }
        }
    }
}

// One row c(j), j = 0..cols-1, receives the updates of kb pivot rows in
// pivot order: sixty-four columns at a time in eight registers, then eight.
VELMORA_AVX512 void updateRowAvx512(double* c, const double* l, const double* u, std::size_t ld, int kb, int cols)
{
    int j = 0;
    for (; j + 63 < cols; j += 64) {
        __m512d v[8];
        for (int g = 0; g < 8; ++g) v[g] = _mm512_loadu_pd(c + j + 8 * g);
        for (int k = 0; k < kb; ++k) {
            const double* uk = u + static_cast<std::size_t>(k) * ld + j;
            const __m512d f = _mm512_set1_pd(l[k]);
            for (int g = 0; g < 8; ++g) v[g] = _mm512_sub_pd(v[g], _mm512_mul_pd(_mm512_loadu_pd(uk + 8 * g), f));
        }
        for (int g = 0; g < 8; ++g) _mm512_storeu_pd(c + j + 8 * g, v[g]);
    }
    for (; j < cols; j += 8) {
        const __mmask8 m = firstLanes(cols - j);
        __m512d v = _mm512_maskz_loadu_pd(m, c + j);
        for (int k = 0; k < kb; ++k)
            v = _mm512_sub_pd(v, _mm512_mul_pd(_mm512_maskz_loadu_pd(m, u + static_cast<std::size_t>(k) * ld + j),
                                               _mm512_set1_pd(l[k])));
        _mm512_mask_storeu_pd(c + j, m, v);
    }
}

// The pivots 8G..8G+7 of a block's panel sweep on R rows, each row's block
// columns held in three registers v[0..2][r]: the multiplier of pivot k is
// taken from its lane, and the columns right of k receive the product (lanes
// at or left of k are left alone).
template <int G, int R>
VELMORA_AVX512 inline void panelPivots(__m512d (&v)[3][R], const double* u0, std::size_t ld, int kb,
                                       const __mmask8 (&in)[3])
{
    const int kEnd = std::min(8 * G + 8, kb - 1);
    for (int k = 8 * G; k < kEnd; ++k) {
        const double* uk = u0 + static_cast<std::size_t>(k) * ld;
        const __m512i lane = _mm512_set1_epi64(k - 8 * G);
        const __mmask8 right = static_cast<__mmask8>(0xFF << (k - 8 * G + 1));
        __m512d u[3];
        for (int g = G; g < 3; ++g) u[g] = _mm512_maskz_loadu_pd(in[g], uk + 8 * g);
        for (int r = 0; r < R; ++r) {
            const __m512d f = _mm512_maskz_permutexvar_pd(0xFF, lane, v[G][r]);
            v[G][r] = _mm512_mask_sub_pd(v[G][r], right, v[G][r], _mm512_mul_pd(u[G], f));
            for (int g = G + 1; g < 3; ++g) v[g][r] = _mm512_sub_pd(v[g][r], _mm512_mul_pd(u[g], f));
        }
    }
}

// The panel sweep of the rows i0..i0+R-1 below a block of kb <= 24 pivots.
template <int R>
VELMORA_AVX512 void panelTileAvx512(double* a, std::size_t ld, int k0, int kb, int i0)
{
    const __mmask8 in[3] = {firstLanes(kb), firstLanes(kb - 8), firstLanes(kb - 16)};
    __m512d v[3][R];
    double* ri[R];
    for (int r = 0; r < R; ++r) {
        ri[r] = a + static_cast<std::size_t>(i0 + r) * ld + k0;
        for (int g = 0; g < 3; ++g) v[g][r] = _mm512_maskz_loadu_pd(in[g], ri[r] + 8 * g);
    }
    const double* u0 = a + static_cast<std::size_t>(k0) * ld + k0;
    panelPivots<0, R>(v, u0, ld, kb, in);
    panelPivots<1, R>(v, u0, ld, kb, in);
    panelPivots<2, R>(v, u0, ld, kb, in);
    for (int r = 0; r < R; ++r)
        for (int g = 0; g < 3; ++g) _mm512_mask_storeu_pd(ri[r] + 8 * g, in[g], v[g][r]);
}

VELMORA_AVX512 void panelRowsAvx512(double* a, std::size_t ld, int k0, int kb, int r0, int r1)
{
    int i = r0;
    for (; i + 7 <= r1; i += 8) panelTileAvx512<8>(a, ld, k0, kb, i);
    switch (r1 - i + 1) {
    case 7: return panelTileAvx512<7>(a, ld, k0, kb, i);
    case 6: return panelTileAvx512<6>(a, ld, k0, kb, i);
    case 5: return panelTileAvx512<5>(a, ld, k0, kb, i);
    case 4: return panelTileAvx512<4>(a, ld, k0, kb, i);
    case 3: return panelTileAvx512<3>(a, ld, k0, kb, i);
    case 2: return panelTileAvx512<2>(a, ld, k0, kb, i);
    case 1: return panelTileAvx512<1>(a, ld, k0, kb, i);
    default: return;
    }
}
#undef VELMORA_AVX512
#endif

// The loops of the elimination in a given form. The forms below AVX2 are
// SSE2 and plain; backSubstitute, rowMaxAbs, divideRow and subtractMultiple
// have no AVX-512 form (their AVX2 one runs).
double rowMaxAbs(const double* r, int n, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f >= GaussForm::Avx2) return rowMaxAbsAvx2(r, n);
#endif
    (void)f;
    double s = 0.0;
    for (int j = 0; j < n; ++j) s = std::max(s, std::fabs(r[j]));
    return s;
}

void divideRow(double* r, int j0, int j1, double p, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f >= GaussForm::Avx2) return divideRowAvx2(r, j0, j1, p);
#endif
    (void)f;
    for (int j = j0; j <= j1; ++j) r[j] = r[j] / p;
}

void subtractMultiple(double* ri, const double* rk, double m, int j0, int j1, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f >= GaussForm::Avx2) return subtractMultipleAvx2(ri, rk, m, j0, j1);
#endif
    (void)f;
    for (int j = j0; j <= j1; ++j) ri[j] -= rk[j] * m;
}

void updateRowAny(double* c, const double* l, const double* u, std::size_t ld, int kb, int cols, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f == GaussForm::Avx512) return updateRowAvx512(c, l, u, ld, kb, cols);
    if (f == GaussForm::Avx2) return updateRowAvx2(c, l, u, ld, kb, cols);
#endif
    (void)f;
    updateRow(c, l, u, ld, kb, cols);
}

void panelRowsAny(double* a, std::size_t ld, int k0, int kb, int r0, int r1, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f == GaussForm::Avx512) return panelRowsAvx512(a, ld, k0, kb, r0, r1);
    if (f == GaussForm::Avx2) return panelRowsAvx2(a, ld, k0, kb, r0, r1);
#endif
    (void)f;
    panelRows(a, ld, k0, kb, r0, r1);
}

void blockUpdateAny(double* a, std::size_t ld, int k0, int kb, int r0, int r1, int c0, int c1, GaussForm f)
{
#ifdef VELMORA_GAUSS_AVX2
    if (f >= GaussForm::Avx2) {
        if (r0 > r1 || c0 > c1 || kb <= 0) return;
        if (f == GaussForm::Avx512) return blockUpdateAvx512(a, ld, k0, kb, r0, r1, c0, c1);
        return blockUpdateAvx2(a, ld, k0, kb, r0, r1, c0, c1);
    }
#endif
    (void)f;
    blockUpdate(a, ld, k0, kb, r0, r1, c0, c1);
}

double backSubstitute(double v, const double* r, const double* x, int j0, int j1)
{
#ifdef VELMORA_GAUSS_AVX2
    if (useAvx2()) return backSubstituteAvx2(v, r, x, j0, j1);
#endif
    for (int j = j0; j <= j1; ++j) v = v - r[j] * x[j];
    return v;
}

} // namespace

bool GaussFactors::matches(const AugmentedMatrix& A, int N) const
{
    if (n_ == 0 || N != n_ || A.size() < N) return false;
    const std::size_t bytes = static_cast<std::size_t>(N) * sizeof(double);
    for (int i = 1; i <= N; ++i)
        if (std::memcmp(A.row(i), matrix_.row(i), bytes) != 0) return false;
    return true;
}

void GaussFactors::clear()
{
    n_ = 0;
    pivots_.clear();
}

namespace {

// Back substitution on the unit upper triangle of a (rows 0..N-1 with
// stride ld): y[k * ys] is row k's reduced right-hand side, xLast the last
// unknown. Returns x 1-based (x[j + 1] belongs to column j).
std::vector<double> backSubstitution(const double* a, std::size_t ld, int N, const double* y, std::size_t ys,
                                     double xLast)
{
    std::vector<double> x(static_cast<std::size_t>(N) + 1, 0.0);
    x[static_cast<std::size_t>(N)] = xLast;
    for (int k = N - 2; k >= 0; --k)
        x[static_cast<std::size_t>(k) + 1] = backSubstitute(y[static_cast<std::size_t>(k) * ys],
                                                            a + static_cast<std::size_t>(k) * ld, x.data() + 1, k + 1,
                                                            N - 1);
    return x;
}

Outcome publishSolution(std::vector<double>& X, const std::vector<double>& x, int N)
{
    for (int i = 1; i <= N; ++i)
        if (!std::isfinite(x[static_cast<std::size_t>(i)])) return Outcome::Failed;
    if (X.size() < static_cast<std::size_t>(N) + 1) X.resize(static_cast<std::size_t>(N) + 1, 0.0);
    std::copy(x.begin() + 1, x.end(), X.begin() + 1);
    return Outcome::Done;
}

// The bar over the pivot rows, events when due and the ABORT flag per row,
// as GAUSS and the replay of its factors both run them.
class RowProgress {
public:
    RowProgress(Progress& progress, Module1& m, int N) : progress_(progress), m_(m), n_(N)
    {
        progress.progressVisible(true);
        progress.progressRange(1, N - 1);
        progress.progressValue(1);
    }
    bool stopsAt(int k)
    {
        progress_.progressValue(k + 1);
        progress_.maybePump();
        if (m_.AbortRequest == AbortFlag::Yes) return true;
        m_.AugmentedColumnCount = static_cast<int16_t>(n_ + 1);
        return false;
    }
    Outcome finish(Outcome o)
    {
        progress_.progressValue(1);
        return o;
    }

private:
    Progress& progress_;
    Module1& m_;
    int n_;
};

} // namespace

Outcome GaussFactors::replay(std::vector<double>& X, const double* rhs, std::size_t rhsStride, int N, Module1& m,
                             Progress& progress) const
{
    if (N < 1 || N != n_) throw std::invalid_argument("GAUSS: no kept factors of this order");
    RowProgress rows(progress, m, N);
    // Row i's right-hand side takes the products of its multipliers with the
    // rows above in pivot order, then is divided by its pivot.
    const std::size_t ld = factors_.stride();
    const double* a = factors_.row(1);
    std::vector<double> y(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) {
        if (i < N - 1 && rows.stopsAt(i)) return rows.finish(Outcome::Aborted);
        const double v = backSubstitute(rhs[static_cast<std::size_t>(i) * rhsStride], a + static_cast<std::size_t>(i) * ld,
                                        y.data(), 0, i - 1);
        y[static_cast<std::size_t>(i)] = v / pivots_[static_cast<std::size_t>(i)];
    }
    const std::vector<double> x = backSubstitution(a, ld, N, y.data(), 1, y[static_cast<std::size_t>(N) - 1]);
    return rows.finish(publishSolution(X, x, N));
}

namespace {

// The forward elimination of rows 0..N-1 of a (stride ld) and its right-hand
// side column N in the given form: each pivot row divided by its pivot
// (pivots[k] the pivot before its division), the multipliers left below the
// diagonal. stopsAt(k) is asked before pivot k and ends it Aborted when it
// says so; a pivot that is not usable ends it Failed.
template <class StopsAt, class Usable>
Outcome eliminateRows(double* a, std::size_t ld, int N, std::vector<double>& pivots, GaussForm form,
                      StopsAt&& stopsAt, Usable&& pivotUsable)
{
    const int last = N;  // 0-based index of the right-hand side column
    auto at = [a, ld](int i0, int j0) -> double& { return a[static_cast<std::size_t>(i0) * ld + static_cast<std::size_t>(j0)]; };
    // 0-based below: pivot k runs 0..N-2 (rows 1..N-1 of the textbook form).
    for (int kb0 = 0; kb0 <= N - 2; kb0 += kBlock) {
        const int kb1 = std::min(kb0 + kBlock - 1, N - 2);
        for (int k = kb0; k <= kb1; ++k) {
            if (stopsAt(k)) return Outcome::Aborted;

            double* rk = &at(k, 0);
            // Columns right of this block in row k still lack the updates of
            // the block's earlier pivot rows: apply them in pivot order.
            updateRowAny(rk + kb1 + 1, rk + kb0, &at(kb0, kb1 + 1), ld, k - kb0, last - kb1, form);
            const double p = rk[k];
            if (!pivotUsable(k, p)) return Outcome::Failed;
            pivots[static_cast<std::size_t>(k)] = p;
            divideRow(rk, k, last, p, form);

            // The block's later pivot rows, within the block's columns; the
            // multiplier stays in column k for the later update of the columns
            // right of the block.
            for (int i = k + 1; i <= kb1; ++i) {
                double* ri = &at(i, 0);
                subtractMultiple(ri, rk, ri[k], k + 1, kb1, form);
            }
        }
        // Every row below the block: first the block's columns, then every
        // column right of it.
        panelRowsAny(a, ld, kb0, kb1 - kb0 + 1, kb1 + 1, N - 1, form);
        blockUpdateAny(a, ld, kb0, kb1 - kb0 + 1, kb1 + 1, N - 1, kb1 + 1, last, form);
    }
    return Outcome::Done;
}

GaussForm formOfLevel(SimdLevel level)
{
    switch (level) {
    case SimdLevel::Avx512: return GaussForm::Avx512;
    case SimdLevel::Avx2: return GaussForm::Avx2;
    default: return GaussForm::Sse2;
    }
}

// The AVX-512 form wins on some processors and loses on others (where a
// 512-bit operation takes two passes through 256-bit units, its wider
// tiles and masked edges cost more than they save): both are timed on the
// elimination of one matrix of 200 unknowns, three times each in turn, and
// the faster kept. About 2 ms, once per run.
GaussForm fasterWideForm()
{
    constexpr int n = 200;
    AugmentedMatrix original(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n + 1; ++j) original(i, j) = i == j ? n : 1.0 / (1.0 + std::abs(i - j) + 0.5 * j);
    std::vector<double> pivots(static_cast<std::size_t>(n));
    using Clock = std::chrono::steady_clock;
    Clock::duration best[2] = {Clock::duration::max(), Clock::duration::max()};
    const GaussForm forms[2] = {GaussForm::Avx2, GaussForm::Avx512};
    for (int round = 0; round < 3; ++round)
        for (int f = 0; f < 2; ++f) {
            AugmentedMatrix a = original;
            const Clock::time_point t0 = Clock::now();
            eliminateRows(a.row(1), a.stride(), n, pivots, forms[f], [](int) { return false; },
                          [](int, double) { return true; });
            best[f] = std::min(best[f], Clock::now() - t0);
        }
    return best[1] < best[0] ? GaussForm::Avx512 : GaussForm::Avx2;
}

std::optional<GaussForm>& pinnedForm()
{
    static std::optional<GaussForm> pinned;
    return pinned;
}

} // namespace

const char* gaussFormName(GaussForm form)
{
    switch (form) {
    case GaussForm::Avx512: return "AVX-512";
    case GaussForm::Avx2: return "AVX2";
    default: return "SSE2";
    }
}

GaussForm gaussForm()
{
    const GaussForm allowed = formOfLevel(simdLevel());
    if (const std::optional<GaussForm> pinned = pinnedForm()) return std::min(*pinned, allowed);
    if (allowed != GaussForm::Avx512) return allowed;
    static const GaussForm faster = fasterWideForm();
    return faster;
}

GaussForm setGaussForm(std::optional<GaussForm> form)
{
    pinnedForm() = form;
    return gaussForm();
}

Outcome GAUSS(std::vector<double>& X, AugmentedMatrix& A, int N, Module1& m, Progress& progress, GaussFactors* keep)
{
    if (N < 1 || N > A.size()) throw std::invalid_argument("GAUSS: N outside the matrix");

    const int last = N;  // 0-based index of the right-hand side column
    // The same matrix: its right-hand side column receives what the
    // elimination gave it.
    if (keep && keep->matches(A, N)) return keep->replay(X, A.row(1) + last, A.stride(), N, m, progress);

    const GaussForm form = gaussForm();
    RowProgress rows(progress, m, N);
    auto finish = [&rows](Outcome o) { return rows.finish(o); };

    if (keep) {
        keep->clear();
        keep->matrix_ = A;
    }

    const std::size_t ld = A.stride();
    double* a = A.row(1);
    auto at = [a, ld](int i0, int j0) -> double& { return a[static_cast<std::size_t>(i0) * ld + static_cast<std::size_t>(j0)]; };

    // A pivot is vanishing when it is at rounding level of the largest entry
    // its row started with: what is left is cancellation noise.
    std::vector<double> rowScale(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) rowScale[static_cast<std::size_t>(i)] = rowMaxAbs(&at(i, 0), N, form);
    const double tolerance = static_cast<double>(N) * DBL_EPSILON;
    auto pivotUsable = [&](int k0, double p) {
        return std::isfinite(p) && std::fabs(p) > tolerance * rowScale[static_cast<std::size_t>(k0)];
    };
    std::vector<double> pivots(static_cast<std::size_t>(N));

    const Outcome eliminated = eliminateRows(a, ld, N, pivots, form, [&rows](int k) { return rows.stopsAt(k); },
                                             pivotUsable);
    if (eliminated != Outcome::Done) return finish(eliminated);

    // Back substitution on the unit upper triangle.
    const double pn = at(N - 1, N - 1);
    if (!pivotUsable(N - 1, pn)) return finish(Outcome::Failed);
    pivots[static_cast<std::size_t>(N) - 1] = pn;
    const std::vector<double> x = backSubstitution(a, ld, N, a + last, ld, at(N - 1, last) / pn);
    const Outcome solved = publishSolution(X, x, N);
    if (keep && solved == Outcome::Done) {
        keep->factors_ = A;
        keep->pivots_ = std::move(pivots);
        keep->n_ = N;
    }
    return finish(solved);
}

} // namespace velmora
