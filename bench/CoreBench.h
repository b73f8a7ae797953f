#pragma once
// Shared by the benchmarks of the computations: the reference rocket at a
// chosen mesh, its panel system, the elimination timed on it, and the main
// window's angle-of-attack box as a sweep sees it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Gauss.h"
#include "bodyflow/Grid.h"
#include "model/Module1.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "sweep/Sweep.h"
#include "tests/core/Rockets.h"

namespace velmora::bench {

// The tangent ogive 3 x 1 on a 12 tube at 300 with the mesh size set by the
// user, as the main window's list sets it.
inline std::unique_ptr<Module1> meshedRocket(double mesh, int meridians)
{
    auto m = testing::typicalRocket(mesh, meridians);
    testing::setUserMesh(*m, mesh);
    return m;
}

// The body's panel system on the rocket's grid at 300 and 4 degrees.
inline AugmentedMatrix panelSystem(double mesh, int meridians, float mach = 0)
{
    auto m = meshedRocket(mesh, meridians);
    NullProgress np;
    GRID(*m, 300, np);
    AugmentedMatrix a;
    buildPanelSystem(buildPanels(bodyStationsFromGrid(*m), meridians), {300, 4, mach, 0, 0.002378}, a);
    return a;
}

// GAUSS on a fresh copy of the system each iteration (the copy not timed);
// counters: the unknowns and FLOP/s; the label names the form GAUSS runs.
template <class P>
void timeGauss(benchmark::State& st, const AugmentedMatrix& original, P& progress)
{
    const int n = original.size();
    auto m = makeModule1();
    m->AbortRequest = AbortFlag::No;
    std::vector<double> x;
    for (auto _ : st) {
        st.PauseTiming();
        AugmentedMatrix a = original;
        st.ResumeTiming();
        if (GAUSS(x, a, n, *m, progress) != Outcome::Done) st.SkipWithError("elimination failed");
        benchmark::DoNotOptimize(x.data());
    }
    st.SetLabel(std::string("GAUSS ") + gaussFormName(gaussForm()));
    const double flops = 2.0 / 3.0 * n * static_cast<double>(n) * n + 1.5 * static_cast<double>(n) * n;
    st.counters["unknowns"] = n;
    st.counters["FLOP/s"] = benchmark::Counter(flops, benchmark::Counter::kIsIterationInvariantRate);
}

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

} // namespace velmora::bench
