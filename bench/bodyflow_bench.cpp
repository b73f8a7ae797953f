// Timing of the body-flow solution: the dense elimination at the default and
// the largest panel count, and the whole solve (grid, panel system,
// elimination, surface and field flow, body drag) at the default 20 x 20 grid
// with 8 meridians and the largest 50 x 50 grid with 12.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/CoreBench.h"
#include "bodyflow/Solver.h"

namespace {

using namespace velmora;

using bench::meshedRocket;

// A progress whose event pump is a real call that does a little work, the
// least a window's event loop costs when nothing is pending.
class PumpingProgress final : public Progress {
public:
    void progressValue(int v) override { benchmark::DoNotOptimize(last = v); }
    void pumpEvents() override { benchmark::DoNotOptimize(++pumps); }
    int last = 0;
    long pumps = 0;
};

template <class P>
void BM_Gauss(benchmark::State& state, double mesh, int meridians)
{
    P progress;
    bench::timeGauss(state, bench::panelSystem(mesh, meridians), progress);
}

template <class P>
void BM_Solve(benchmark::State& state, double mesh, int meridians)
{
    auto m = meshedRocket(mesh, meridians);
    m->AngleOfAttack = 4;
    P progress;
    for (auto _ : state) {
        m->AbortRequest = AbortFlag::No;
        const SolveReport r = bodyflow::SOLVER(*m, 300, progress);
        if (r.outcome != Outcome::Done) state.SkipWithError("solve failed");
        benchmark::DoNotOptimize(m->ElementSpeed(1));
    }
    state.counters["panels"] = (mesh - 3) * meridians;
    state.counters["triangles"] = m->MeshElementCount;
}

void BM_Gauss136(benchmark::State& s) { BM_Gauss<NullProgress>(s, 20.0, 8); }
void BM_Gauss564(benchmark::State& s) { BM_Gauss<NullProgress>(s, 50.0, 12); }
void BM_Gauss564Pumping(benchmark::State& s) { BM_Gauss<PumpingProgress>(s, 50.0, 12); }
void BM_Solve20x20M8(benchmark::State& s) { BM_Solve<NullProgress>(s, 20.0, 8); }
void BM_Solve50x50M12(benchmark::State& s) { BM_Solve<NullProgress>(s, 50.0, 12); }
void BM_Solve50x50M12Pumping(benchmark::State& s) { BM_Solve<PumpingProgress>(s, 50.0, 12); }

// On a shared machine the fastest of several repetitions is the figure that
// tells the code's speed (run with --benchmark_repetitions=N).
double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_Gauss136)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_Gauss564)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_Gauss564Pumping)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_Solve20x20M8)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_Solve50x50M12)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_Solve50x50M12Pumping)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

} // namespace
