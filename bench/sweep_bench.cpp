// Goal: 360 sweep steps of the whole SOLVE chain (box read-back, body flow,
// drag, fin section, centre of pressure) in at most 1 s at 20 x 20 / 8
// meridians and at most 15 s at 50 x 50 / 12.
#include <benchmark/benchmark.h>

#include <string>

#include "model/Module1.h"
#include "platform/Format.h"
#include "sweep/Sweep.h"
#include "tests/core/Rockets.h"
#include "model/Vocabulary.h"

namespace {

using namespace velmora;

// The main window's angle-of-attack box as the sweep sees it: the value
// written as text and read back, the results invalidated.
class BoxHost final : public stability::SweepHost, public Progress {
public:
    explicit BoxHost(Module1& m) : m_(m) {}
    Progress& progress() override { return *this; }
    void writeSweepValue(bool, double value) override
    {
        m_.AngleOfAttack = Val(Format(value, "##.###"));
        m_.FlowSolutionStatus = m_.FlowSolutionStatusText = FlowSolutionState::Stale;
    }

private:
    Module1& m_;
};

std::unique_ptr<Module1> finnedRocket(double mesh, int meridians)
{
    auto m = testing::rocketWithFins();
    m->MeridianCount = static_cast<int16_t>(meridians);
    m->MeshSizeUserSet = 1;
    m->MeshAxialNodeCount = m->MeshRadialNodeCount = mesh;
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
