// Goal: 360 sweep steps of the whole SOLVE chain (box read-back, body flow,
// drag, fin section, centre of pressure) in at most 1 s at 20 x 20 / 8
// meridians and at most 15 s at 50 x 50 / 12.
//
// The sweep keeps the denominators of the body flow's field sums over its
// steps (bodyflow/BodyFlow.h): from the second step on the sums divide by
// read-back values instead of taking a square root and forming them. What
// that gains depends on the divider (see kernels_bench.cpp):
//  - Intel Xeon (Sapphire Rapids class, 8 cores under KVM; divide and square
//    root at one rate per value at 128, 256 and 512 bits), pinned to one
//    core, medians of 9 runs beside a build without them: 882 against
//    1712 ms at 50 x 50 / 12, 58 against 87 ms at 20 x 20 / 8.
//  - AMD Zen 4 (a 256-bit divide half the cost per lane of a 128-bit one),
//    measured earlier with the denominators kept across solves: they gained
//    nothing (0.93 times as fast without them in the core, 0.98 through the
//    window), so there a sweep pays only their memory, 24 MB at 50 x 50 / 12
//    while it runs.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/CoreBench.h"

namespace {

using namespace velmora;

using bench::BoxHost;

std::unique_ptr<Module1> finnedRocket(double mesh, int meridians)
{
    auto m = testing::rocketWithFins();
    m->MeridianCount = static_cast<int16_t>(meridians);
    testing::setUserMesh(*m, mesh);
    m->AoaSweepSelected = 1;
    m->SweepAoaIncrement = 0.05;
    return m;
}

void BM_Sweep360(benchmark::State& state, double mesh, int meridians)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto m = finnedRocket(mesh, meridians);
        m->AngleOfAttack = 1;
        BoxHost host(*m);
        double steps = 360;
        state.ResumeTiming();
        const stability::SweepReport r = stability::LOOPER(*m, host, steps);
        if (r.outcome != Outcome::Done || r.stepsStored != 360) state.SkipWithError("the sweep did not complete");
    }
}

BENCHMARK_CAPTURE(BM_Sweep360, mesh20x20_8, 20.0, 8)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_Sweep360, mesh50x50_12, 50.0, 12)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
