// The body-flow kernels in their SSE2 and AVX2 forms, side by side in one
// run: GAUSS at 564 unknowns (the 50 x 50 mesh with 12 meridians; goal with
// AVX2: at least 30 GFLOP/s), the field velocity sum over the 4,802 mesh
// triangles (goal: AVX2 1.8x the SSE2 form), the influence matrix and the
// surface-and-field solve.
//
// BM_DividerFloor times only the square root and the division each source
// term needs (one of each per term, correctly rounded, 2,708,328 terms), two
// and four lanes to an instruction: where the processor's divider takes as
// long per lane for either width, no vector form of the field sum can go
// below this floor, whatever its data layout.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <immintrin.h>

#include "bench/CoreBench.h"
#include "platform/Simd.h"

namespace {

using namespace velmora;

struct Reference {
    std::unique_ptr<Module1> m;
    PanelGeometry geometry;
    FieldPoints field;
    FlowCondition flow{300, 4, 0.27f, 0, 0.002378};
    std::vector<double> source;
};

const Reference& reference()
{
    static const Reference r = [] {
        Reference r;
        r.m = bench::meshedRocket(50, 12);
        r.m->AbortRequest = AbortFlag::No;
        NullProgress np;
        GRID(*r.m, 300, np);
        r.geometry = buildPanels(bodyStationsFromGrid(*r.m), 12);
        r.field = fieldPointsFromMesh(*r.m);
        AugmentedMatrix a;
        buildPanelSystem(r.geometry, r.flow, a);
        GAUSS(r.source, a, a.size(), *r.m, np);
        return r;
    }();
    return r;
}

// Runs the benchmark at one level; skipped where the processor lacks it.
bool atLevel(benchmark::State& st, SimdLevel level)
{
    if (setSimdLevel(level) != level) {
        st.SkipWithError("level not available");
        return false;
    }
    return true;
}

void BM_Gauss564(benchmark::State& st, SimdLevel level)
{
    if (!atLevel(st, level)) return;
    const Reference& r = reference();
    AugmentedMatrix original;
    buildPanelSystem(r.geometry, r.flow, original);
    NullProgress np;
    bench::timeGauss(st, original, np);
}

void BM_FieldSum(benchmark::State& st, SimdLevel level)
{
    if (!atLevel(st, level)) return;
    const Reference& r = reference();
    const int ne = r.field.count();
    std::vector<double> u(static_cast<std::size_t>(ne)), v(u), w(u);
    for (auto _ : st) {
        sourceVelocities(r.geometry, r.source, r.field, 1, ne, u.data(), v.data(), w.data());
        benchmark::DoNotOptimize(u.data());
    }
    st.counters["points"] = ne;
    st.counters["terms/s"] = benchmark::Counter(static_cast<double>(ne) * r.geometry.panels,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void BM_InfluenceMatrix(benchmark::State& st, SimdLevel level)
{
    if (!atLevel(st, level)) return;
    const Reference& r = reference();
    AugmentedMatrix a;
    for (auto _ : st) {
        buildPanelSystem(r.geometry, r.flow, a);
        benchmark::DoNotOptimize(a.row(1));
    }
}

void BM_BodyFlow50x50M12(benchmark::State& st, SimdLevel level)
{
    if (!atLevel(st, level)) return;
    const Reference& r = reference();
    const auto stations = bodyStationsFromGrid(*r.m);
    auto m = makeModule1();
    m->AbortRequest = AbortFlag::No;
    NullProgress np;
    for (auto _ : st) {
        BodyFlowSolution s;
        if (solveBodyFlow(stations, 12, r.flow, r.field, *m, np, s) != Outcome::Done) st.SkipWithError("failed");
        benchmark::DoNotOptimize(s.fieldSpeed.data());
    }
}

__attribute__((target("avx2"))) double sqrtAndDivide4(const double* r2, const double* q, long terms)
{
    __m256d s = _mm256_setzero_pd();
    for (long t = 0; t + 3 < terms; t += 4) {
        const __m256d r = _mm256_loadu_pd(r2 + t % 4096);
        s = _mm256_add_pd(s, _mm256_div_pd(_mm256_loadu_pd(q + t % 4096), _mm256_mul_pd(r, _mm256_sqrt_pd(r))));
    }
    alignas(32) double l[4];
    _mm256_store_pd(l, s);
    return l[0] + l[1] + l[2] + l[3];
}

double sqrtAndDivide2(const double* r2, const double* q, long terms)
{
    __m128d s = _mm_setzero_pd();
    for (long t = 0; t + 1 < terms; t += 2) {
        const __m128d r = _mm_loadu_pd(r2 + t % 4096);
        s = _mm_add_pd(s, _mm_div_pd(_mm_loadu_pd(q + t % 4096), _mm_mul_pd(r, _mm_sqrt_pd(r))));
    }
    alignas(16) double l[2];
    _mm_store_pd(l, s);
    return l[0] + l[1];
}

void BM_DividerFloor(benchmark::State& st, SimdLevel level)
{
    if (!atLevel(st, level)) return;
    const Reference& r = reference();
    const long terms = static_cast<long>(r.field.count()) * r.geometry.panels;
    std::vector<double> r2(4096 + 4), q(4096 + 4);
    for (std::size_t i = 0; i < r2.size(); ++i) r2[i] = 1.0 + 1e-3 * static_cast<double>(i), q[i] = 0.5 + 1e-4 * i;
    for (auto _ : st)
        benchmark::DoNotOptimize(level == SimdLevel::Avx2 ? sqrtAndDivide4(r2.data(), q.data(), terms)
                                                          : sqrtAndDivide2(r2.data(), q.data(), terms));
    st.counters["terms/s"] = benchmark::Counter(static_cast<double>(terms), benchmark::Counter::kIsIterationInvariantRate);
}

double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

#define VELMORA_BOTH(fn)                                                                                         \
    BENCHMARK_CAPTURE(fn, Sse2, SimdLevel::Sse2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest); \
    BENCHMARK_CAPTURE(fn, Avx2, SimdLevel::Avx2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest)

VELMORA_BOTH(BM_Gauss564);
VELMORA_BOTH(BM_FieldSum);
VELMORA_BOTH(BM_DividerFloor);
VELMORA_BOTH(BM_InfluenceMatrix);
VELMORA_BOTH(BM_BodyFlow50x50M12);

} // namespace
