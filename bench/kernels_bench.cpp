// The body-flow kernels in their vector forms, side by side in one run:
// GAUSS in each form and in the one the program picks, at 200, 564 and 1200
// unknowns (goal: the picked form at least 0.97 times the fastest), the field
// velocity sum over the 4,802 mesh triangles of the 50 x 50 mesh with 12
// meridians, the influence matrix and the surface-and-field solve. Each
// benchmark's label names the GAUSS form it runs.
//
// BM_DividerFloor times only the square root and the division each source
// term needs (one of each per term, correctly rounded, 2,708,328 terms), two,
// four and eight lanes to an instruction. What it gives depends on the
// processor's divider, so the field sum's gain from wider registers does too:
//  - AMD Zen 4: a 256-bit divide and square root cost half as much per lane
//    as 128-bit ones (0.345 against 0.674 ns per divide), and BM_FieldSum
//    gives the AVX2 form 2.00 times the speed of the SSE2 form.
//  - Intel Xeon (Sapphire Rapids class, 8 cores under KVM): the three widths
//    give the same rate, about 700 million terms/s, and BM_FieldSum runs at
//    that rate in both forms (AVX2 1.05 times SSE2): here the divider is the
//    field sum's floor, whatever its data layout.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
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

// Runs the benchmark at one level, GAUSS in that level's own form; skipped
// where the processor lacks it.
bool atLevel(benchmark::State& st, SimdLevel level)
{
    if (setSimdLevel(level) != level) {
        st.SkipWithError("level not available");
        return false;
    }
    setGaussForm(level == SimdLevel::Avx512 ? GaussForm::Avx512
                 : level == SimdLevel::Avx2 ? GaussForm::Avx2
                                            : GaussForm::Sse2);
    return true;
}

// A diagonally dominant system of n unknowns.
AugmentedMatrix dominantSystem(int n)
{
    AugmentedMatrix a(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n + 1; ++j) a(i, j) = i == j ? n : 1.0 / (1.0 + std::abs(i - j) + 0.5 * j);
    return a;
}

// GAUSS in one form (nullopt: the one the program picks; the label names it)
// at 200 unknowns (the panels of a 28 x 28 mesh with 8 meridians), 564 (50 x
// 50 with 12) and 1200 (a diagonally dominant system).
void BM_Gauss(benchmark::State& st, std::optional<GaussForm> form)
{
    setSimdLevel(simdAvailable());
    const GaussForm runs = setGaussForm(form);
    if (form && runs != *form) {
        st.SkipWithError("form not available");
        return;
    }
    const int n = static_cast<int>(st.range(0));
    const AugmentedMatrix original = n == 200   ? bench::panelSystem(28, 8)
                                     : n == 564 ? bench::panelSystem(50, 12)
                                                : dominantSystem(n);
    NullProgress np;
    bench::timeGauss(st, original, np);
    setGaussForm(std::nullopt);
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
    st.SetLabel(std::string("GAUSS ") + gaussFormName(gaussForm()));
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

__attribute__((target("avx512f"))) double sqrtAndDivide8(const double* r2, const double* q, long terms)
{
    __m512d s = _mm512_setzero_pd();
    for (long t = 0; t + 7 < terms; t += 8) {
        const __m512d r = _mm512_loadu_pd(r2 + t % 4096);
        s = _mm512_add_pd(s, _mm512_div_pd(_mm512_loadu_pd(q + t % 4096), _mm512_mul_pd(r, _mm512_maskz_sqrt_pd(0xFF, r))));
    }
    alignas(64) double l[8];
    _mm512_store_pd(l, s);
    return ((l[0] + l[1]) + (l[2] + l[3])) + ((l[4] + l[5]) + (l[6] + l[7]));
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
        benchmark::DoNotOptimize(level == SimdLevel::Avx512 ? sqrtAndDivide8(r2.data(), q.data(), terms)
                                 : level == SimdLevel::Avx2 ? sqrtAndDivide4(r2.data(), q.data(), terms)
                                                            : sqrtAndDivide2(r2.data(), q.data(), terms));
    st.counters["terms/s"] = benchmark::Counter(static_cast<double>(terms), benchmark::Counter::kIsIterationInvariantRate);
}

double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

#define VELMORA_BOTH(fn)                                                                                         \
    BENCHMARK_CAPTURE(fn, Sse2, SimdLevel::Sse2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest); \
    BENCHMARK_CAPTURE(fn, Avx2, SimdLevel::Avx2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest)

BENCHMARK_CAPTURE(BM_Gauss, SSE2, GaussForm::Sse2)->Arg(200)->Arg(564)->Arg(1200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Gauss, AVX2, GaussForm::Avx2)->Arg(200)->Arg(564)->Arg(1200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Gauss, AVX512, GaussForm::Avx512)->Arg(200)->Arg(564)->Arg(1200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Gauss, Picked, std::nullopt)->Arg(200)->Arg(564)->Arg(1200)->Unit(benchmark::kMillisecond);
VELMORA_BOTH(BM_FieldSum);
VELMORA_BOTH(BM_DividerFloor);
BENCHMARK_CAPTURE(BM_DividerFloor, Avx512, SimdLevel::Avx512)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
VELMORA_BOTH(BM_InfluenceMatrix);
VELMORA_BOTH(BM_BodyFlow50x50M12);

} // namespace
