// Fin-section panel solutions at the largest panel count (goal: one solve
// within 20 ms), the full fin step as SOLVE runs it: section, solution, fin
// normal force and plot data.
#include <benchmark/benchmark.h>

#include "finpanel/FinPanelSolver.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

FinSectionInput finAt200Panels(const char* shape)
{
    FinSectionInput in;
    in.sectionShape = shape;
    in.panelCount = 200;
    in.finThickness = 0.125;
    in.finMeanChord = 3.0;
    in.finSpan = 2.5;
    in.finCount = 4;
    in.angleOfAttack = 4.0;
    in.freeStreamVelocity = 300.0;
    in.ambientDensity = 0.002378;
    in.referenceArea = 0.2f;
    return in;
}

void BM_Vortex200(benchmark::State& state)
{
    const FinSectionInput in = finAt200Panels("STREAMLINED");
    NullProgress none;
    for (auto _ : state) {
        FinSectionResult r = VORTEX(in, none);
        if (r.outcome != Outcome::Done) state.SkipWithError("vortex solution not found");
        benchmark::DoNotOptimize(r.forces.normalForceSlope);
    }
}

void BM_Source200(benchmark::State& state)
{
    const FinSectionInput in = finAt200Panels("STREAMLINED");
    NullProgress none;
    for (auto _ : state) {
        FinSectionResult r = Source(in, none);
        if (r.outcome != Outcome::Done) state.SkipWithError("source solution not found");
        benchmark::DoNotOptimize(r.solution.cp[1]);
    }
}

} // namespace

BENCHMARK(BM_Vortex200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Source200)->Unit(benchmark::kMillisecond);
