// GAUSS beside OpenBLAS's LU factorisation (dgetrf, one thread) on the same
// panel matrix: the 564 unknowns of the 50 x 50 mesh with 12 meridians, in
// the form the program picks (named in the label) and in each vector form.
// Built only where OpenBLAS is installed; a benchmark-only dependency.
// Both are timed in turn in every iteration, so a neighbour's load falls on
// both alike. Counters: milliseconds and GFLOP/s (2/3 n^3) of each, and the
// ratio GAUSS / dgetrf in GFLOP/s. Goal: the picked form at least as fast as dgetrf.
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "bench/CoreBench.h"

extern "C" {
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void openblas_set_num_threads(int threads);
}

namespace {

using namespace velmora;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

void BM_GaussBesideDgetrf(benchmark::State& st, std::optional<GaussForm> form)
{
    openblas_set_num_threads(1);
    const GaussForm runs = setGaussForm(form);
    if (form && runs != *form) {
        st.SkipWithError("form not available");
        return;
    }
    st.SetLabel(std::string(form ? "GAUSS " : "GAUSS picked: ") + gaussFormName(runs));
    const AugmentedMatrix original = bench::panelSystem(50, 12, 0.27f);
    const int n = original.size();
    // Column-major copy for LAPACK (the transpose: the same work).
    std::vector<double> lapackOriginal(static_cast<std::size_t>(n) * n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) lapackOriginal[static_cast<std::size_t>(i - 1) * n + (j - 1)] = original(i, j);
    std::vector<int> pivots(static_cast<std::size_t>(n));
    auto m = makeModule1();
    m->AbortRequest = AbortFlag::No;
    NullProgress np;
    std::vector<double> x;
    double gaussMs = 0, lapackMs = 0;
    for (auto _ : st) {
        AugmentedMatrix a = original;
        std::vector<double> lu = lapackOriginal;
        auto t0 = Clock::now();
        if (GAUSS(x, a, n, *m, np) != Outcome::Done) st.SkipWithError("elimination failed");
        const double g = msSince(t0);
        int info = 0;
        t0 = Clock::now();
        dgetrf_(&n, &n, lu.data(), &n, pivots.data(), &info);
        const double l = msSince(t0);
        if (info != 0) st.SkipWithError("dgetrf failed");
        benchmark::DoNotOptimize(x.data());
        benchmark::DoNotOptimize(lu.data());
        gaussMs += g;
        lapackMs += l;
        st.SetIterationTime((g + l) / 1000.0);
    }
    const double iterations = static_cast<double>(st.iterations());
    const double gflop = 2.0 / 3.0 * n * static_cast<double>(n) * n / 1e9;
    st.counters["unknowns"] = n;
    st.counters["gauss_ms"] = gaussMs / iterations;
    st.counters["dgetrf_ms"] = lapackMs / iterations;
    st.counters["gauss_GFLOPs"] = gflop / (gaussMs / iterations / 1000.0);
    st.counters["dgetrf_GFLOPs"] = gflop / (lapackMs / iterations / 1000.0);
    st.counters["gauss_per_dgetrf"] = lapackMs / gaussMs;
    setGaussForm(std::nullopt);
}

BENCHMARK_CAPTURE(BM_GaussBesideDgetrf, Picked, std::nullopt)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(BM_GaussBesideDgetrf, AVX2, GaussForm::Avx2)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(BM_GaussBesideDgetrf, AVX512, GaussForm::Avx512)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
