#include "bodyflow/BodyFlow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "model/Vocabulary.h"
#include "platform/Checked.h"
#include "platform/Simd.h"
#include "platform/Single.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELMORA_BODYFLOW_SSE2 1
#endif
#if defined(VELMORA_BODYFLOW_SSE2) && defined(__GNUC__)
#include <immintrin.h>
#define VELMORA_BODYFLOW_AVX2 1
#endif

namespace velmora {

namespace {

constexpr double kFourPi = 4.0 * kPi;

// Point-source sums. Each evaluation point ("lane") adds the sources in
// ascending panel order, so the two-lane vector path and the scalar path give
// the same numbers: only several points are worked on at once.
//
// For sources j = j0..j1 (0-based into the centroid arrays) and lanes
// l = 0..lanes-1 at (px, py, pz):  (u, v, w) += Q_j d / (4 pi r^3), d = P - C_j.
inline void sourceTerm(double px, double py, double pz, double cx, double cy, double cz, double q, double& u,
                       double& v, double& w)
{
    const double dx = px - cx;
    const double dy = py - cy;
    const double dz = pz - cz;
    const double r2 = dx * dx + dy * dy + dz * dz;
    const double r = std::sqrt(r2);
    const double t = q / (kFourPi * (r2 * r));
    u += t * dx;
    v += t * dy;
    w += t * dz;
}

void accumulateSourcesSse2(const double* cx, const double* cy, const double* cz, const double* q, int j0, int j1,
                           const double* px, const double* py, const double* pz, int lanes, double* u, double* v,
                           double* w)
{
    for (int j = j0; j <= j1; ++j) {
        int l = 0;
#ifdef VELMORA_BODYFLOW_SSE2
        const __m128d cxj = _mm_set1_pd(cx[j]);
        const __m128d cyj = _mm_set1_pd(cy[j]);
        const __m128d czj = _mm_set1_pd(cz[j]);
        const __m128d qj = _mm_set1_pd(q[j]);
        const __m128d fourPi = _mm_set1_pd(kFourPi);
        for (; l + 1 < lanes; l += 2) {
            const __m128d dx = _mm_sub_pd(_mm_loadu_pd(px + l), cxj);
            const __m128d dy = _mm_sub_pd(_mm_loadu_pd(py + l), cyj);
            const __m128d dz = _mm_sub_pd(_mm_loadu_pd(pz + l), czj);
            const __m128d r2 = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
            const __m128d r = _mm_sqrt_pd(r2);
            const __m128d t = _mm_div_pd(qj, _mm_mul_pd(fourPi, _mm_mul_pd(r2, r)));
            _mm_storeu_pd(u + l, _mm_add_pd(_mm_loadu_pd(u + l), _mm_mul_pd(t, dx)));
            _mm_storeu_pd(v + l, _mm_add_pd(_mm_loadu_pd(v + l), _mm_mul_pd(t, dy)));
            _mm_storeu_pd(w + l, _mm_add_pd(_mm_loadu_pd(w + l), _mm_mul_pd(t, dz)));
        }
#endif
        for (; l < lanes; ++l) sourceTerm(px[l], py[l], pz[l], cx[j], cy[j], cz[j], q[j], u[l], v[l], w[l]);
    }
}

// What the vector sums do with the denominators 4 pi r^3 of their terms,
// which depend on the points alone: form them (Form), form them and write
// them on (Keep), or read them back where Keep wrote them (Kept). The cursor
// moves one value per lane and source, in the order the sum takes them.
enum class Denominators { Form, Keep, Kept };

#ifdef VELMORA_BODYFLOW_AVX2
// Four lanes of one source term; the operations of sourceTerm, lane by lane.
template <Denominators D>
__attribute__((target("avx2"))) inline void sourceTerm4(__m256d px, __m256d py, __m256d pz, __m256d cxj,
                                                        __m256d cyj, __m256d czj, __m256d qj, __m256d& u,
                                                        __m256d& v, __m256d& w, double*& den)
{
    const __m256d dx = _mm256_sub_pd(px, cxj);
    const __m256d dy = _mm256_sub_pd(py, cyj);
    const __m256d dz = _mm256_sub_pd(pz, czj);
    __m256d d;
    if constexpr (D == Denominators::Kept) {
        d = _mm256_loadu_pd(den);
    } else {
        const __m256d r2 =
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)), _mm256_mul_pd(dz, dz));
        const __m256d r = _mm256_sqrt_pd(r2);
        d = _mm256_mul_pd(_mm256_set1_pd(kFourPi), _mm256_mul_pd(r2, r));
        if constexpr (D == Denominators::Keep) _mm256_storeu_pd(den, d);
    }
    if constexpr (D != Denominators::Form) den += 4;
    const __m256d t = _mm256_div_pd(qj, d);
    u = _mm256_add_pd(u, _mm256_mul_pd(t, dx));
    v = _mm256_add_pd(v, _mm256_mul_pd(t, dy));
    w = _mm256_add_pd(w, _mm256_mul_pd(t, dz));
}

// One lane of one source term, as sourceTerm4 treats each of its lanes.
template <Denominators D>
inline void sourceTerm1(double px, double py, double pz, double cx, double cy, double cz, double q, double& u,
                        double& v, double& w, double*& den)
{
    if constexpr (D == Denominators::Form) return sourceTerm(px, py, pz, cx, cy, cz, q, u, v, w);
    const double dx = px - cx;
    const double dy = py - cy;
    const double dz = pz - cz;
    double d;
    if constexpr (D == Denominators::Kept) {
        d = *den;
    } else {
        const double r2 = dx * dx + dy * dy + dz * dz;
        const double r = std::sqrt(r2);
        d = kFourPi * (r2 * r);
        *den = d;
    }
    ++den;
    const double t = q / d;
    u += t * dx;
    v += t * dy;
    w += t * dz;
}

// The same sums, lanes in groups of eight and four whose sums stay in
// registers over all sources; each lane still adds the sources in ascending
// order.
template <Denominators D>
__attribute__((target("avx2"))) void accumulateSourcesAvx2(const double* cx, const double* cy, const double* cz,
                                                           const double* q, int j0, int j1, const double* px,
                                                           const double* py, const double* pz, int lanes, double* u,
                                                           double* v, double* w, double*& den)
{
    int l = 0;
    for (; l + 7 < lanes; l += 8) {
        const __m256d pxa = _mm256_loadu_pd(px + l), pya = _mm256_loadu_pd(py + l), pza = _mm256_loadu_pd(pz + l);
        const __m256d pxb = _mm256_loadu_pd(px + l + 4), pyb = _mm256_loadu_pd(py + l + 4),
                      pzb = _mm256_loadu_pd(pz + l + 4);
        __m256d ua = _mm256_loadu_pd(u + l), va = _mm256_loadu_pd(v + l), wa = _mm256_loadu_pd(w + l);
        __m256d ub = _mm256_loadu_pd(u + l + 4), vb = _mm256_loadu_pd(v + l + 4), wb = _mm256_loadu_pd(w + l + 4);
        for (int j = j0; j <= j1; ++j) {
            const __m256d cxj = _mm256_broadcast_sd(cx + j), cyj = _mm256_broadcast_sd(cy + j),
                          czj = _mm256_broadcast_sd(cz + j), qj = _mm256_broadcast_sd(q + j);
            sourceTerm4<D>(pxa, pya, pza, cxj, cyj, czj, qj, ua, va, wa, den);
            sourceTerm4<D>(pxb, pyb, pzb, cxj, cyj, czj, qj, ub, vb, wb, den);
        }
        _mm256_storeu_pd(u + l, ua), _mm256_storeu_pd(v + l, va), _mm256_storeu_pd(w + l, wa);
        _mm256_storeu_pd(u + l + 4, ub), _mm256_storeu_pd(v + l + 4, vb), _mm256_storeu_pd(w + l + 4, wb);
    }
    for (; l + 3 < lanes; l += 4) {
        const __m256d pxa = _mm256_loadu_pd(px + l), pya = _mm256_loadu_pd(py + l), pza = _mm256_loadu_pd(pz + l);
        __m256d ua = _mm256_loadu_pd(u + l), va = _mm256_loadu_pd(v + l), wa = _mm256_loadu_pd(w + l);
        for (int j = j0; j <= j1; ++j)
            sourceTerm4<D>(pxa, pya, pza, _mm256_broadcast_sd(cx + j), _mm256_broadcast_sd(cy + j),
                           _mm256_broadcast_sd(cz + j), _mm256_broadcast_sd(q + j), ua, va, wa, den);
        _mm256_storeu_pd(u + l, ua), _mm256_storeu_pd(v + l, va), _mm256_storeu_pd(w + l, wa);
    }
    for (; l < lanes; ++l)
        for (int j = j0; j <= j1; ++j)
            sourceTerm1<D>(px[l], py[l], pz[l], cx[j], cy[j], cz[j], q[j], u[l], v[l], w[l], den);
}
#endif

// den: the cursor of kept denominators, or null to form them all. Only the
// AVX2 form keeps them (the caller asks for them only where it runs).
void accumulateSources(const double* cx, const double* cy, const double* cz, const double* q, int j0, int j1,
                       const double* px, const double* py, const double* pz, int lanes, double* u, double* v,
                       double* w, Denominators mode = Denominators::Form, double** den = nullptr)
{
#ifdef VELMORA_BODYFLOW_AVX2
    double* none = nullptr;
    double*& cursor = den ? *den : none;
    if (mode == Denominators::Keep)
        return accumulateSourcesAvx2<Denominators::Keep>(cx, cy, cz, q, j0, j1, px, py, pz, lanes, u, v, w, cursor);
    if (mode == Denominators::Kept)
        return accumulateSourcesAvx2<Denominators::Kept>(cx, cy, cz, q, j0, j1, px, py, pz, lanes, u, v, w, cursor);
    if (useAvx2())
        return accumulateSourcesAvx2<Denominators::Form>(cx, cy, cz, q, j0, j1, px, py, pz, lanes, u, v, w, cursor);
#else
    (void)mode, (void)den;
#endif
    accumulateSourcesSse2(cx, cy, cz, q, j0, j1, px, py, pz, lanes, u, v, w);
}

// Row i of the influence matrix over columns j = j0..j1 (0-based):
// A(i, j) = (d . n_i) / r^3 / (4 pi), d = C_i - C_j.
inline double influence(double dx, double dy, double dz, double nx, double ny, double nz)
{
    const double r2 = dx * dx + dy * dy + dz * dz;
    const double r = std::sqrt(r2);
    return (dx * nx + dy * ny + dz * nz) / (r2 * r) / kFourPi;
}

#ifdef VELMORA_BODYFLOW_AVX2
// Columns j0.. in fours, as influence() forms them; returns the first column
// left to do.
__attribute__((target("avx2"))) int influenceRowAvx2(double cxi, double cyi, double czi, double nxi, double nyi,
                                                     double nzi, const double* cx, const double* cy,
                                                     const double* cz, int j0, int j1, double* row)
{
    const __m256d vcx = _mm256_set1_pd(cxi), vcy = _mm256_set1_pd(cyi), vcz = _mm256_set1_pd(czi);
    const __m256d vnx = _mm256_set1_pd(nxi), vny = _mm256_set1_pd(nyi), vnz = _mm256_set1_pd(nzi);
    const __m256d fourPi = _mm256_set1_pd(kFourPi);
    int j = j0;
    for (; j + 3 <= j1; j += 4) {
        const __m256d dx = _mm256_sub_pd(vcx, _mm256_loadu_pd(cx + j));
        const __m256d dy = _mm256_sub_pd(vcy, _mm256_loadu_pd(cy + j));
        const __m256d dz = _mm256_sub_pd(vcz, _mm256_loadu_pd(cz + j));
        const __m256d r2 =
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)), _mm256_mul_pd(dz, dz));
        const __m256d r = _mm256_sqrt_pd(r2);
        const __m256d dot =
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, vnx), _mm256_mul_pd(dy, vny)), _mm256_mul_pd(dz, vnz));
        _mm256_storeu_pd(row + j, _mm256_div_pd(_mm256_div_pd(dot, _mm256_mul_pd(r2, r)), fourPi));
    }
    return j;
}
#endif

void influenceRow(const PanelGeometry& g, int i, int j0, int j1, double* row)
{
    const double cxi = g.cx[static_cast<std::size_t>(i) + 1];
    const double cyi = g.cy[static_cast<std::size_t>(i) + 1];
    const double czi = g.cz[static_cast<std::size_t>(i) + 1];
    const double nxi = g.nx[static_cast<std::size_t>(i) + 1];
    const double nyi = g.ny[static_cast<std::size_t>(i) + 1];
    const double nzi = static_cast<double>(g.nz[static_cast<std::size_t>(i) + 1]);
    const double* cx = g.cx.data() + 1;
    const double* cy = g.cy.data() + 1;
    const double* cz = g.cz.data() + 1;
    int j = j0;
#ifdef VELMORA_BODYFLOW_AVX2
    if (useAvx2()) j = influenceRowAvx2(cxi, cyi, czi, nxi, nyi, nzi, cx, cy, cz, j0, j1, row);
#endif
#ifdef VELMORA_BODYFLOW_SSE2
    const __m128d vcx = _mm_set1_pd(cxi), vcy = _mm_set1_pd(cyi), vcz = _mm_set1_pd(czi);
    const __m128d vnx = _mm_set1_pd(nxi), vny = _mm_set1_pd(nyi), vnz = _mm_set1_pd(nzi);
    const __m128d fourPi = _mm_set1_pd(kFourPi);
    for (; j + 1 <= j1; j += 2) {
        const __m128d dx = _mm_sub_pd(vcx, _mm_loadu_pd(cx + j));
        const __m128d dy = _mm_sub_pd(vcy, _mm_loadu_pd(cy + j));
        const __m128d dz = _mm_sub_pd(vcz, _mm_loadu_pd(cz + j));
        const __m128d r2 = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
        const __m128d r = _mm_sqrt_pd(r2);
        const __m128d dot = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, vnx), _mm_mul_pd(dy, vny)), _mm_mul_pd(dz, vnz));
        _mm_storeu_pd(row + j, _mm_div_pd(_mm_div_pd(dot, _mm_mul_pd(r2, r)), fourPi));
    }
#endif
    for (; j <= j1; ++j) row[j] = influence(cxi - cx[j], cyi - cy[j], czi - cz[j], nxi, nyi, nzi);
}

template <typename T>
bool allFinite(const std::vector<T>& v)
{
    for (std::size_t i = 1; i < v.size(); ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

} // namespace

PanelGeometry buildPanels(const std::vector<BodyStation>& stations, int meridians)
{
    const int ns = static_cast<int>(stations.size());
    if (ns < 2 || meridians < 3) throw std::invalid_argument("body needs 2 stations and 3 meridians");
    PanelGeometry g;
    g.stations = ns;
    g.meridians = meridians;
    g.panels = (ns - 1) * meridians;
    const std::size_t np = static_cast<std::size_t>(g.panels) + 1;

    // Cross-section areas in single precision; the ring radii are computed
    // back from them, so panels and drag see the same stored areas.
    g.stationArea.assign(static_cast<std::size_t>(ns) + 1, 0.0f);
    std::vector<double> ringRadius(static_cast<std::size_t>(ns) + 1, 0.0);
    for (int k = 1; k <= ns; ++k) {
        const double r = stations[static_cast<std::size_t>(k) - 1].radius;
        g.stationArea[static_cast<std::size_t>(k)] = toSingle(kPi * r * r);
        ringRadius[static_cast<std::size_t>(k)] =
            std::sqrt(4.0 * static_cast<double>(g.stationArea[static_cast<std::size_t>(k)]) / kPi) / 2.0;
    }

    // Surface points, ring by ring; the meridian angle is a running sum.
    const double dTheta = 2.0 * kPi / static_cast<double>(meridians);
    const std::size_t npts = static_cast<std::size_t>(ns) * static_cast<std::size_t>(meridians) + 1;
    std::vector<double> px(npts), py(npts), pz(npts);
    std::size_t p = 0;
    for (int k = 1; k <= ns; ++k) {
        const double r = ringRadius[static_cast<std::size_t>(k)];
        double theta = 0.0;
        for (int j = 1; j <= meridians; ++j) {
            ++p;
            px[p] = stations[static_cast<std::size_t>(k) - 1].x;
            py[p] = r * std::cos(theta);
            pz[p] = r * std::sin(theta);
            theta = theta + dTheta;
        }
    }

    g.cx.assign(np, 0.0);
    g.cy.assign(np, 0.0);
    g.cz.assign(np, 0.0);
    g.nx.assign(np, 0.0);
    g.ny.assign(np, 0.0);
    g.nz.assign(np, 0.0f);
    g.area.assign(np, 0.0);
    for (int k = 1; k <= ns - 1; ++k) {
        const double rk = ringRadius[static_cast<std::size_t>(k)];
        const double rk1 = ringRadius[static_cast<std::size_t>(k) + 1];
        for (int j = 1; j <= meridians; ++j) {
            const std::size_t i = static_cast<std::size_t>((k - 1) * meridians + j);
            // Corners: p1, p2 on ring k (p2 the next meridian, closing the
            // ring), p3, p4 the same meridians on ring k + 1.
            const std::size_t p1 = i;
            const std::size_t p2 = (j == meridians) ? p1 - static_cast<std::size_t>(meridians - 1) : p1 + 1;
            const std::size_t p3 = p2 + static_cast<std::size_t>(meridians);
            const std::size_t p4 = p1 + static_cast<std::size_t>(meridians);
            const double cx = (px[p1] + px[p2] + px[p3] + px[p4]) / 4.0;
            const double cy = (py[p1] + py[p2] + py[p3] + py[p4]) / 4.0;
            const double cz = (pz[p1] + pz[p2] + pz[p3] + pz[p4]) / 4.0;
            const double ax = px[p2] - cx, ay = py[p2] - cy, az = pz[p2] - cz;
            const double bx = px[p3] - cx, by = py[p3] - cy, bz = pz[p3] - cz;
            const double nx = ay * bz - az * by;
            const double ny = az * bx - ax * bz;
            const double nz = ax * by - ay * bx;
            const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
            const double s = std::sqrt((px[p4] - px[p1]) * (px[p4] - px[p1]) + (rk1 - rk) * (rk1 - rk));
            const double w1 = std::sqrt((py[p2] - py[p1]) * (py[p2] - py[p1]) + (pz[p2] - pz[p1]) * (pz[p2] - pz[p1]));
            const double w2 = std::sqrt((py[p3] - py[p4]) * (py[p3] - py[p4]) + (pz[p3] - pz[p4]) * (pz[p3] - pz[p4]));
            const double area = s * (w1 + w2) / 2.0;
            if (!(len > 0.0) || !(area > 0.0) || !std::isfinite(len) || !std::isfinite(area))
                throw MathFailure("body panel without area");
            g.cx[i] = cx;
            g.cy[i] = cy;
            g.cz[i] = cz;
            g.nx[i] = nx / len;
            g.ny[i] = ny / len;
            g.nz[i] = toSingle(nz / len);
            g.area[i] = area;
        }
    }
    return g;
}

namespace {

// The free-stream components of a flight condition.
struct Inflow {
    double vx, vz;
    explicit Inflow(const FlowCondition& flow)
    {
        const double alpha = kPi * flow.angleOfAttack / 180.0;
        vx = flow.velocity * std::cos(alpha);
        vz = flow.velocity * std::sin(alpha);
    }
    // Right-hand side of panel i (1-based): -(V_inf . n_i).
    double rhs(const PanelGeometry& g, int i) const
    {
        const std::size_t k = static_cast<std::size_t>(i);
        return -(vx * g.nx[k] + 0.0 * g.ny[k] + vz * static_cast<double>(g.nz[k]));
    }
};

// Rows of the panel system, or only their right-hand sides (rhs[i - 1]) when
// rhs is given; stop() is asked after each row and ends the build (false)
// when it says so.
template <class Stop>
bool buildRows(const PanelGeometry& g, const FlowCondition& flow, AugmentedMatrix& A, Stop&& stop,
               std::vector<double>* rhs = nullptr)
{
    const int n = g.panels;
    if (rhs) rhs->resize(static_cast<std::size_t>(n));
    else A.resize(n);
    const Inflow inflow(flow);
    for (int i = 1; i <= n; ++i) {
        if (rhs) {
            (*rhs)[static_cast<std::size_t>(i) - 1] = inflow.rhs(g, i);
        } else {
            double* row = A.row(i);  // row[j - 1] is column j
            influenceRow(g, i - 1, 0, i - 2, row);
            row[i - 1] = 0.5 / g.area[static_cast<std::size_t>(i)];
            influenceRow(g, i - 1, i, n - 1, row);
            row[n] = inflow.rhs(g, i);
        }
        if (stop()) return false;
    }
    return true;
}

constexpr int kLanes = 64;  // evaluation points worked on together
// Kept denominators written between event pumps: 4 MiB, about 2 ms at most
// where their pages are first touched.
constexpr std::ptrdiff_t kWrittenPiece = std::ptrdiff_t{1} << 19;

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// Whether the panel matrix of b is that of a: the same centroids, normals
// and areas, bit for bit.
bool samePanelMatrix(const PanelGeometry& a, const PanelGeometry& b)
{
    return a.panels == b.panels && sameBytes(a.cx, b.cx) && sameBytes(a.cy, b.cy) && sameBytes(a.cz, b.cz) &&
           sameBytes(a.nx, b.nx) && sameBytes(a.ny, b.ny) && sameBytes(a.nz, b.nz) && sameBytes(a.area, b.area);
}

// The kept factors of the panel system with the panels they came from, and
// whether solves use them (and the denominators they are handed).
struct FactorCache {
    bool reuse = true;
    GaussFactors factors;
    PanelGeometry panels;
};

FactorCache& factorCache()
{
    thread_local FactorCache cache;
    return cache;
}

void fieldVelocities(const PanelGeometry& g, const std::vector<double>& source, const FieldPoints& field, int first,
                     int last, double* u, double* v, double* w, Denominators mode, double** den)
{
    const int n = g.panels;
    double fx[kLanes], fy[kLanes], fz[kLanes];
    for (int b0 = first; b0 <= last; b0 += kLanes) {
        const int lanes = std::min(kLanes, last - b0 + 1);
        double* bu = u + (b0 - first);
        double* bv = v + (b0 - first);
        double* bw = w + (b0 - first);
        for (int l = 0; l < lanes; ++l) {
            fx[l] = field.x[static_cast<std::size_t>(b0 + l)];
            fy[l] = 0.0;
            fz[l] = static_cast<double>(field.r[static_cast<std::size_t>(b0 + l)]);
            bu[l] = bv[l] = bw[l] = 0.0;
        }
        accumulateSources(g.cx.data() + 1, g.cy.data() + 1, g.cz.data() + 1, source.data() + 1, 0, n - 1, fx, fy, fz,
                          lanes, bu, bv, bw, mode, den);
    }
}

} // namespace

bool setPanelFactorReuse(bool on)
{
    FactorCache& c = factorCache();
    const bool before = c.reuse;
    c.reuse = on;
    if (!on) c.factors.clear();
    return before;
}

void buildPanelSystem(const PanelGeometry& g, const FlowCondition& flow, AugmentedMatrix& A)
{
    buildRows(g, flow, A, [] { return false; });
}

void sourceVelocities(const PanelGeometry& g, const std::vector<double>& source, const FieldPoints& field,
                      int first, int last, double* u, double* v, double* w)
{
    if (first < 1 || last > field.count() || static_cast<int>(source.size()) < g.panels + 1)
        throw std::invalid_argument("sourceVelocities: points or sources out of range");
    fieldVelocities(g, source, field, first, last, u, v, w, Denominators::Form, nullptr);
}

bool FieldSumDenominators::matches(const PanelGeometry& g, const FieldPoints& f) const
{
    return sameBytes(cx_, g.cx) && sameBytes(cy_, g.cy) && sameBytes(cz_, g.cz) && sameBytes(fieldX_, f.x) &&
           sameBytes(fieldR_, f.r);
}

double* FieldSumDenominators::start(const PanelGeometry& g, const FieldPoints& f, std::size_t count)
{
    complete_ = false;
    cx_ = g.cx, cy_ = g.cy, cz_ = g.cz, fieldX_ = f.x, fieldR_ = f.r;
    // Not value-initialised: the pages are first touched as the sums write
    // them, between event pumps.
    if (count != count_) {
        values_.reset();
        values_ = std::make_unique_for_overwrite<double[]>(count);
        count_ = count;
    }
    return values_.get();
}

Outcome solveBodyFlow(const std::vector<BodyStation>& stations, int meridians, const FlowCondition& flow,
                      const FieldPoints& field, Module1& m, Progress& progress, BodyFlowSolution& out,
                      FieldSumDenominators* kept)
{
    BodyFlowSolution s;
    try {
        s.geometry = buildPanels(stations, meridians);
    } catch (const MathFailure&) {
        return Outcome::Failed;
    }
    const PanelGeometry& g = s.geometry;
    const int n = g.panels;
    const std::size_t np = static_cast<std::size_t>(n) + 1;

    // Events run between rows and blocks of points when due; an ABORT seen
    // then ends the solve with nothing kept.
    auto stopped = [&progress, &m] { return progress.maybePump() && m.AbortRequest == AbortFlag::Yes; };

    // A matrix from the panels of the kept factors is theirs: only its
    // right-hand side is formed, and replayed through them.
    FactorCache& cache = factorCache();
    const bool keptMatrix = cache.reuse && cache.factors.size() == n && samePanelMatrix(g, cache.panels);
    AugmentedMatrix A;
    std::vector<double> rhs;
    if (!buildRows(g, flow, A, stopped, keptMatrix ? &rhs : nullptr)) return Outcome::Aborted;
    // The right-hand side is formed panel by panel in the textbook form; the
    // bar follows it.
    progress.progressVisible(true);
    progress.progressRange(1, n);
    progress.progressValue(1);
    for (int i = 1; i <= n; ++i) progress.progressValue(i);

    s.source.assign(np, 0.0);
    const Outcome solved = keptMatrix ? cache.factors.replay(s.source, rhs.data(), 1, n, m, progress)
                                      : GAUSS(s.source, A, n, m, progress, cache.reuse ? &cache.factors : nullptr);
    if (solved != Outcome::Done) return solved;
    if (cache.reuse && !keptMatrix) cache.panels = g;

    // The denominators of the sums depend on the centroids and field points
    // alone: a run of solves on them writes them in its first solve (where
    // the AVX2 sums run and they fit) and reads them back in the others,
    // with the same bits.
    const int ne = field.count();
    std::size_t denominators = static_cast<std::size_t>(ne) * static_cast<std::size_t>(n);
    for (int b0 = 0; b0 < n; b0 += kLanes) {
        const std::size_t lanes = static_cast<std::size_t>(std::min(kLanes, n - b0));
        denominators += lanes * (static_cast<std::size_t>(n) - lanes);
    }
    Denominators mode = Denominators::Form;
    double* den = nullptr;
    if (kept && cache.reuse && useAvx2() && denominators <= FieldSumDenominators::kMaxValues) {
        mode = kept->complete() && kept->matches(g, field) ? Denominators::Kept : Denominators::Keep;
        den = mode == Denominators::Kept ? kept->values() : kept->start(g, field, denominators);
    }
    double** cursor = mode == Denominators::Form ? nullptr : &den;
    // Writing them first touches their pages, which makes the sums of the
    // first solve several times slower: events run as it starts and after
    // every piece of kWrittenPiece values as well, so that the window never
    // waits for more than a piece.
    const double* pieceEnd = den ? den + kWrittenPiece : nullptr;
    auto stoppedWriting = [&] {
        if (mode != Denominators::Keep || den < pieceEnd) return stopped();
        pieceEnd = den + kWrittenPiece;
        progress.pumpNow();
        return m.AbortRequest == AbortFlag::Yes;
    };
    if (mode == Denominators::Keep) {
        progress.pumpNow();
        if (m.AbortRequest == AbortFlag::Yes) return Outcome::Aborted;
    }

    try {
        s.beta = 1.0;
        if (flow.compressible == 1) {
            const double mach = static_cast<double>(flow.machNumber);
            s.beta = csqrt(1.0 - mach * mach, "Mach number of 1 or more");
            if (s.beta == 0.0) throw MathFailure("Mach number of 1");
        }
        const double beta = s.beta;
        const Inflow inflow(flow);
        const double vx = inflow.vx;
        const double vz = inflow.vz;
        const double v2 = flow.velocity * flow.velocity;
        const double rho = flow.density;

        // Surface velocities: point sources of all other panels, the panel's
        // own sheet (half its strength leaves through the outer side), then
        // the free stream. Panels are taken in blocks; within a block each
        // panel's own source is added at its place in the order.
        s.surfaceU.assign(np, 0.0);
        s.surfaceV.assign(np, 0.0);
        s.surfaceW.assign(np, 0.0);
        const double* cx = g.cx.data() + 1;
        const double* cy = g.cy.data() + 1;
        const double* cz = g.cz.data() + 1;
        const double* q = s.source.data() + 1;
        for (int b0 = 0; b0 < n; b0 += kLanes) {
            const int lanes = std::min(kLanes, n - b0);
            double* u = s.surfaceU.data() + 1 + b0;
            double* v = s.surfaceV.data() + 1 + b0;
            double* w = s.surfaceW.data() + 1 + b0;
            accumulateSources(cx, cy, cz, q, 0, b0 - 1, cx + b0, cy + b0, cz + b0, lanes, u, v, w, mode, cursor);
            for (int j = b0; j < b0 + lanes; ++j) {
                for (int l = 0; l < lanes; ++l) {
                    const int i = b0 + l;
                    if (i == j) {
                        const std::size_t k = static_cast<std::size_t>(i) + 1;
                        const double sheet = 0.5 * q[i] / g.area[k];
                        u[l] += sheet * g.nx[k];
                        v[l] += sheet * g.ny[k];
                        w[l] += sheet * static_cast<double>(g.nz[k]);
                    } else {
                        sourceTerm(cx[i], cy[i], cz[i], cx[j], cy[j], cz[j], q[j], u[l], v[l], w[l]);
                    }
                }
            }
            accumulateSources(cx, cy, cz, q, b0 + lanes, n - 1, cx + b0, cy + b0, cz + b0, lanes, u, v, w, mode,
                              cursor);
            if (stoppedWriting()) return Outcome::Aborted;
        }
        s.surfaceCp.assign(np, 0.0f);
        s.panelMomentum.assign(np, 0.0f);
        for (std::size_t i = 1; i < np; ++i) {
            const double u = s.surfaceU[i] + vx;
            const double v = s.surfaceV[i] + 0.0;
            const double w = s.surfaceW[i] + vz;
            s.surfaceU[i] = u;
            s.surfaceV[i] = v;
            s.surfaceW[i] = w;
            s.panelMomentum[i] = toSingle(rho * u * u / beta);
            s.surfaceCp[i] = toSingle((1.0 - (u * u + v * v + w * w) / v2) / beta);
        }
        if (!allFinite(s.source) || !allFinite(s.surfaceCp) || !allFinite(s.panelMomentum))
            throw MathFailure("non-finite surface flow");

        // Field points in the half-plane y = 0.
        const std::size_t nf = static_cast<std::size_t>(ne) + 1;
        s.fieldAxial.assign(nf, 0.0);
        s.fieldRadial.assign(nf, 0.0f);
        s.fieldSpeed.assign(nf, 0.0);
        s.fieldPressure.assign(nf, 0.0f);
        progress.progressValue(1);
        progress.progressVisible(true);
        progress.progressRange(1, ne);
        progress.progressValue(1);
        double fu[kLanes], fv[kLanes], fw[kLanes];
        for (int b0 = 1; b0 <= ne; b0 += kLanes) {
            const int lanes = std::min(kLanes, ne - b0 + 1);
            fieldVelocities(g, s.source, field, b0, b0 + lanes - 1, fu, fv, fw, mode, cursor);
            for (int l = 0; l < lanes; ++l) {
                const std::size_t e = static_cast<std::size_t>(b0 + l);
                const double u = fu[l] + vx;
                const double v = fv[l] + 0.0;
                const double w = fw[l] + vz;
                s.fieldAxial[e] = u;
                s.fieldRadial[e] = toSingle(w);
                s.fieldSpeed[e] = std::sqrt(u * u + v * v + w * w);
                s.fieldPressure[e] = toSingle(0.5 * rho * s.fieldSpeed[e] * s.fieldSpeed[e]);
                progress.progressValue(b0 + l);
            }
            if (stoppedWriting()) {
                progress.progressValue(1);
                return Outcome::Aborted;
            }
        }
        progress.progressValue(1);
        if (mode == Denominators::Keep) kept->finish(den);
        if (flow.compressible == 1) {
            // The dynamic pressure was formed from the unscaled speed, so it is
            // divided by beta once, like the speed itself.
            for (std::size_t e = 1; e < nf; ++e) {
                s.fieldPressure[e] = toSingle(static_cast<double>(s.fieldPressure[e]) / beta);
                s.fieldSpeed[e] = s.fieldSpeed[e] / beta;
            }
        }
        if (!allFinite(s.fieldAxial) || !allFinite(s.fieldRadial) || !allFinite(s.fieldSpeed) ||
            !allFinite(s.fieldPressure))
            throw MathFailure("non-finite field flow");
    } catch (const MathFailure&) {
        return Outcome::Failed;
    }
    out = std::move(s);
    return Outcome::Done;
}

std::vector<BodyStation> bodyStationsFromGrid(const Module1& m)
{
    std::vector<BodyStation> st;
    const double count = m.MeshAxialNodeCount;
    if (!(count >= 0.0 && count <= static_cast<double>(decltype(m.GridNodeX)::upper1))) return st;
    const long n = static_cast<long>(count);
    for (long i = 1; i <= n; ++i)
        if (m.GridNodeX(i, 1) >= m.NoseTipX) st.push_back({m.GridNodeX(i, 1), m.GridNodeRadius(i, 1)});
    return st;
}

FieldPoints fieldPointsFromMesh(const Module1& m)
{
    FieldPoints f;
    const double count = m.MeshElementCount;
    if (!(count >= 0.0 && count <= static_cast<double>(decltype(m.ElementCentroidX)::upper))) return f;
    const long n = static_cast<long>(count);
    f.x.assign(static_cast<std::size_t>(n) + 1, 0.0);
    f.r.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    for (long e = 1; e <= n; ++e) {
        f.x[static_cast<std::size_t>(e)] = m.ElementCentroidX(e);
        f.r[static_cast<std::size_t>(e)] = m.ElementCentroidRadius(e);
    }
    return f;
}

} // namespace velmora
