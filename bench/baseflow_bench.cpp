// Goal: the default base flow on the 100 x 50 grid converges in <= 0.4 s, and an iteration costs <= 40 ms (500 iterations <= 20 s).
//
// Timing of the base-flow solution: a 0.1 ft base at 300 ft/s in sea-level
// air behind a 1.5 ft body tube, on the window's domain (5 D by 2.5 D) and
// shoulder (NY / 5), first step 0.001 s.
//   BM_BaseFlowToConvergence/<NX>   NSVS2D to convergence on NX x NX/2;
//   BM_BaseFlowIterations/<NX>      50 iterations of the kernels in a row
//                                   (the default case converges at 10), for
//                                   the cost of one iteration of a long run;
//   BM_StreamSweep/<order>          the stream-function sweeps alone on the
//                                   100 x 50 grid, plain (0) or wavefront (1)
//                                   order (the two give the same values).
// Counters: ms per iteration, stream-function sweeps per iteration, and ns
// per swept point (the library prints inverted rates with an "s" suffix:
// ms_per_iteration=22.7s reads 22.7 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "baseflow/BaseFlow.h"
#include "baseflow/FlowField.h"
#include "model/Module1.h"
#include "tests/core/baseflow/BaseFlowCase.h"

namespace {

using namespace velmora;
using namespace velmora::baseflow;

// A progress whose event pump is a real call, the least a window's event
// loop costs when nothing is pending.
class PumpingProgress final : public Progress {
public:
    void pumpEvents() override { benchmark::DoNotOptimize(++pumps); }
    int pumps = 0;
};

void runCase(benchmark::State& state, int itmax, bool converged)
{
    const int nx = static_cast<int>(state.range(0));
    auto m = testing::baseFlowCase(nx, itmax);
    double iterations = 0, sweeps = 0, points = 0;
    for (auto _ : state) {
        m->DeltaT = 0.001;
        PumpingProgress progress;
        const RunReport r = NSVS2D(*m, 300, progress);
        if (r.outcome != Outcome::Done || r.converged != converged)
            state.SkipWithError(r.outcome != Outcome::Done ? outcomeName(r.outcome) : "converged or limit not as expected");
        iterations += r.BaseFlowIterationCount;
        sweeps += static_cast<double>(r.sweeps);
        points += static_cast<double>(r.sweeps) * (nx - 2) * (nx / 2 - 2);
        benchmark::DoNotOptimize(m->BaseFlowVelocityU(2, 2));
    }
    state.counters["ms_per_iteration"] =
        benchmark::Counter(iterations / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["iterations"] = benchmark::Counter(iterations, benchmark::Counter::kAvgIterations);
    state.counters["sweeps_per_iteration"] = sweeps / iterations;
    state.counters["ns_per_point"] =
        benchmark::Counter(points / 1e9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BaseFlowToConvergence(benchmark::State& state) { runCase(state, 500, true); }
BENCHMARK(BM_BaseFlowToConvergence)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// The default case converges in 10 iterations at 100 x 50; a long run keeps
// iterating the same time step after that. Here the kernels of one
// iteration run 50 times in a row, as NSVS2D calls them.
void BM_BaseFlowIterations(benchmark::State& state)
{
    const int nx = static_cast<int>(state.range(0)), ny = nx / 2, count = 50;
    const FlowInputs in{nx, ny, ny / 5, 0.5, 0.25, 300, 0.1, 1.572e-4, 1.5};
    auto f = std::make_unique<Fields>();
    double iterations = 0, sweeps = 0;
    for (auto _ : state) {
        INIT(*f, in);
        const double re = 0.1 * 300 / 1.572e-4;
        double dt = 0.001;
        for (int n = 0; n < count; ++n) {
            VELVOR(*f);
            EQVOR(*f, dt, in.viscosity);
            sweeps += EQSTR(*f).sweeps;
            BCVOR(*f);
            benchmark::DoNotOptimize(STRVEL(*f));
            dt = nextTimeStep(*f, 300, 0.1, re);
        }
        iterations += count;
    }
    state.counters["ms_per_iteration"] =
        benchmark::Counter(iterations / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["sweeps_per_iteration"] = sweeps / iterations;
}
BENCHMARK(BM_BaseFlowIterations)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

// The stream-function iteration of the first time step of the 100 x 50 case.
void BM_StreamSweep(benchmark::State& state)
{
    const SweepOrder order = state.range(0) ? SweepOrder::Wavefront : SweepOrder::Plain;
    auto start = std::make_unique<Fields>();
    INIT(*start, {100, 50, 10, 0.5, 0.25, 300, 0.1, 1.572e-4, 1.5});
    VELVOR(*start);
    EQVOR(*start, 0.001, 1.572e-4);
    auto f = std::make_unique<Fields>();
    double points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        *f = *start;
        state.ResumeTiming();
        const StreamSolve s = EQSTR(*f, order);
        points += static_cast<double>(s.sweeps) * 98 * 48;
        benchmark::DoNotOptimize(f->psi(2, 2));
    }
    state.counters["ns_per_point"] =
        benchmark::Counter(points / 1e9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StreamSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
