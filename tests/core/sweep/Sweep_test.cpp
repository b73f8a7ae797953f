#include "sweep/Sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "bodyflow/Drag.h"
#include "bodyflow/Grid.h"
#include "model/Units.h"
#include "bodyflow/Solver.h"
#include "platform/Format.h"
#include "sweep/SweepOutput.h"
#include "sweep/SweepPlot.h"
#include "tests/core/Rockets.h"

namespace velmora::stability {
namespace {

// The main window as a sweep sees it: the box write goes through the text, and the box's change handler reads it
// back (an angle also invalidates the flow); then `after` sees the count of steps written.
struct BoxHost : SweepHost, Progress {
    explicit BoxHost(Module1& state) : m(state) {}
    Progress& progress() override { return *this; }
    void writeSweepValue(bool angle, double value) override
    {
        written.push_back(Format(value, "##.###"));
        if (!angle) m.EnteredVelocity = m.FreeStreamVelocity = Val(written.back());
        else {
            m.AngleOfAttack = Val(written.back());
            m.FlowSolutionStatus = m.FlowSolutionStatusText = "SOLVE NEW FLOW";
        }
        if (after) after(written.size());
    }
    Module1& m;
    std::vector<std::string> written;
    std::function<void(std::size_t)> after;
};

std::unique_ptr<Module1> aoaSweep(double start, double increment)
{
    auto m = testing::rocketWithFins();
    m->AoaSweepSelected = 1;
    m->VelocitySweepSelected = 0;
    m->AngleOfAttack = start;
    m->SweepAoaIncrement = increment;
    return m;
}

TEST(Sweep, StepsStoreEachStepRefusalClearingAndTheArrayEnd)
{
    auto m = aoaSweep(1, 3);
    for (int i = 1; i <= 5; ++i) m->SweepNormalForceCoefficients(i) = -9;  // an earlier sweep's
    BoxHost host(*m);
    double steps = 3.5;  // runs to the whole part
    const SweepReport r = LOOPER(*m, host, steps);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(host.written, (std::vector<std::string>{"1.", "4.", "7."}));
    EXPECT_EQ(m->AngleOfAttack, 7);
    // Every quantity is stored; entries above the run keep what they held.
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(m->SweepNormalForceCoefficients(i) > 0 && m->SweepDragCoefficients(i) > 0 &&
                    m->SweepMomentCoefficients(i) < 0 && m->SweepCenterOfPressureRatios(i) > 0) << i;
    EXPECT_EQ(m->SweepNormalForceCoefficients(4), -9);

    // One step leaves the start value; 0 steps become 1 in the caller's variable.
    m = aoaSweep(2.5, 3);
    BoxHost one(*m);
    steps = 0;
    EXPECT_EQ(LOOPER(*m, one, steps).outcome, Outcome::Done);
    EXPECT_EQ(std::pair(steps, m->AngleOfAttack), std::pair(1.0, 2.5));

    // No velocity: refused before any step.
    m->FreeStreamVelocity = 0;
    BoxHost refused(*m);
    const SweepReport no = LOOPER(*m, refused, steps);
    EXPECT_EQ(std::tuple(no.outcome, no.message, refused.written.size()),
              std::tuple(Outcome::Refused, "Please enter rocket velocity.", 0u));

    // Inputs the chain refuses are refused before the mesh; an angle stepping past 90 degrees stops the sweep there.
    m = aoaSweep(85, 3);
    m->FinThickness = 1e39;
    BoxHost thick(*m);
    steps = 3;
    EXPECT_EQ(std::tuple(LOOPER(*m, thick, steps).message, thick.written.size(), m->MeshNodeCount),
              std::tuple(testing::sizeRange("Fin thickness"), 0u, 0.0));
    m->FinThickness = 10;  // a shape the methods are not built for: nothing run, nothing stored
    m->SweepStepsStored = 7;
    EXPECT_EQ(std::tuple(LOOPER(*m, thick, steps).message, thick.written.size(), m->MeshNodeCount, m->SweepStepsStored),
              std::tuple("Fin thickness must be at most 0.25 times the fin root chord (a thin fin).", 0u, 0.0, 7));
    m->FinThickness = 0.1;
    const SweepReport past = LOOPER(*m, thick, steps);
    EXPECT_EQ(std::tuple(past.outcome, past.stepsStored, past.lastStep.message),
              std::tuple(Outcome::Refused, 2, kMsgAngleOfAttackRange));

    for (int i = 1; i <= 10; ++i) m->SweepMomentCoefficients(i) = m->SweepPlotY(i) = i;
    clearSweepResults(*m, 5);
    EXPECT_EQ(std::tuple(m->SweepMomentCoefficients(5), m->SweepPlotY(5), m->SweepMomentCoefficients(6)),
              std::tuple(0.0, 0.0, 6.0));

    // On a coarse mesh: the arrays end at 360.
    m = aoaSweep(1, 0.01);
    m->MeshSizeUserSet = 1;
    m->MeshAxialNodeCount = m->MeshRadialNodeCount = 10;
    m->PanelCount = 10;
    BoxHost coarse(*m);
    steps = 400;
    ASSERT_EQ(LOOPER(*m, coarse, steps).stepsStored, 360);
    EXPECT_GT(m->SweepDragCoefficients(360), 0);
    // From -90 to 90 degrees: every step's drag positive, even in the angle, and no value beyond 1000.
    m->AngleOfAttack = -90, m->SweepAoaIncrement = 45, steps = 5;
    ASSERT_EQ(LOOPER(*m, coarse, steps).stepsStored, 5);
    EXPECT_EQ(m->SweepDragCoefficients(1), m->SweepDragCoefficients(5));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(m->SweepDragCoefficients(i) > 0 && std::fabs(m->SweepNormalForceCoefficients(i)) <= 1000 &&
                    std::fabs(m->SweepMomentCoefficients(i)) <= 1000 &&
                    std::fabs(m->SweepCenterOfPressureRatios(i)) <= 1000);
}

// A step whose inputs no longer hold (a fin span of 1E300 from step 3 on) stores nothing and stops the sweep with the
// reason; the plot, table and export then end with this sweep's own last step, not with an earlier sweep's.
TEST(Sweep, AFailedStepStopsTheSweepAndOnlyItsOwnStepsAreShown)
{
    auto m = aoaSweep(1, 1);
    m->SweepStartAoa = 1;
    m->SweepStepCount = 5;
    m->SweepPlotQuantity = 2;
    for (int i = 1; i <= 5; ++i) m->SweepDragCoefficients(i) = m->SweepNormalForceCoefficients(i) = 9;  // earlier
    BoxHost host(*m);
    host.after = [&](std::size_t n) { if (n == 3) m->FinSpan = 1e300; };
    double steps = 5;
    const SweepReport r = LOOPER(*m, host, steps);
    EXPECT_EQ(std::tuple(r.outcome, r.stepsStored, r.lastStep.message),
              std::tuple(Outcome::Refused, 2, testing::sizeRange("Fin span")));
    EXPECT_EQ(std::pair(m->SweepDragCoefficients(3), m->SweepNormalForceCoefficients(5)), std::pair(9.0, 9.0));
    EXPECT_EQ(std::tuple(sweepPlot(*m, 5).curve.size(), m->SweepPlotXMax, sweepTableLines(*m).lines.size()),
              std::tuple(1u, 2.0, 3u + 2));
    const std::string exported = sweepExportBytes(*m).bytes;
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 4 * 3);
    clearSweepResults(*m, 5);  // emptied: no step shown until the next sweep stores one
    EXPECT_EQ(sweepPlot(*m, 5).steps, 0);

    // A step whose fin section the fin step refuses (an odd panel count from step 2 on) stores no body-only CN.
    m = aoaSweep(1, 1);
    for (int i = 1; i <= 3; ++i) m->SweepNormalForceCoefficients(i) = 9;
    BoxHost odd(*m);
    odd.after = [&](std::size_t n) { if (n == 2) m->PanelCount = 9; };
    steps = 3;
    const SweepReport f = LOOPER(*m, odd, steps);
    EXPECT_EQ(std::tuple(f.outcome, f.stepsStored, f.lastStep.message),
              std::tuple(Outcome::Refused, 1, kMsgNoFinSolution));
    EXPECT_EQ(m->SweepNormalForceCoefficients(2), 9);
}

// Velocity sweeps in FT/SEC at sea level (speed of sound 1116.4). A step above the flow model's Mach limit (2, or 0.8
// in compressible flow) stores nothing and the sweep stops with the chain's reason, which names it.
TEST(Sweep, AVelocityStepAboveTheMachLimitStopsTheSweep)
{
    for (auto [compressible, start, stored, why] :
         {std::tuple(0, 2000.0, 2,
                     "Mach number 2.15 is above 2, the limit of the incompressible flow model: enter a lower "
                     "velocity."),
          std::tuple(1, 700.0, 1,
                     "Mach number 0.81 is above 0.8, the limit of the compressible flow model: enter a lower "
                     "velocity.")}) {
        auto m = testing::rocketWithFins();
        m->AoaSweepSelected = 0;
        m->VelocitySweepSelected = 1;
        m->CompressibleFlow = static_cast<int16_t>(compressible);
        m->EnteredVelocity = m->FreeStreamVelocity = start;
        m->SweepVelocityIncrement = 200;
        for (int i = 1; i <= 4; ++i) m->SweepDragCoefficients(i) = -1;  // an earlier sweep's
        BoxHost host(*m);
        double steps = 4;
        const SweepReport r = LOOPER(*m, host, steps);
        EXPECT_EQ(std::tuple(r.outcome, r.stepsStored, r.message.empty() ? r.lastStep.message : r.message,
                             host.written.size()),
                  std::tuple(Outcome::Refused, stored, std::string(why), size_t(stored) + 1))
            << compressible;
        EXPECT_GT(m->SweepDragCoefficients(stored), 0);
        EXPECT_EQ(m->SweepDragCoefficients(stored + 1), -1);
        EXPECT_EQ(m->EnteredVelocity, start + 200 * stored);  // the step that was started
    }
}

// A sweep stopped in its first step shows none of an earlier sweep's steps.
TEST(Sweep, ASweepStoppedInItsFirstStepShowsNoEarlierStep)
{
    auto m = aoaSweep(1, 1);
    BoxHost earlier(*m), stopped(*m);
    double steps = 3;
    ASSERT_EQ(LOOPER(*m, earlier, steps).stepsStored, 3);
    stopped.after = [&](std::size_t) { m->FinSpan = 1e300; };
    EXPECT_EQ(LOOPER(*m, stopped, steps).outcome, Outcome::Refused);
    EXPECT_EQ(sweepStepsShown(*m, 3), 0);
}

// The flight condition at and around its bounds, in each unit system and flow model: SOLVE, MESH and the sweep refuse
// alike, naming the Reynolds number (least 10000) or the Mach number (at most 2, 0.8 compressible) with a value shown
// on its own side of the bound; the bounds themselves, and a velocity within rounding of them, are computed on.
TEST(Sweep, FlightConditionBoundsHoldAtSolveMeshAndSweep)
{
    const struct { double factor; int of; char name; } rows[] = {  // of: 1, the least velocity, the Mach limit
        {1e-300, 0, 'R'}, {1e-170, 0, 'R'}, {1e-30, 0, 'R'}, {1 - 1e-5, 1, 'R'}, {1.0001, 2, 'M'}, {5e5, 2, 'M'},
        {1 + 1e-9, 1, 0}, {1 - 1e-9, 1, 0}, {1, 2, 0}};  // name 0: computed on (within rounding of a bound)
    for (const UnitSystem& units : UnitSystemTable)
        for (int compressible : {0, 1})
            for (const auto& row : rows) {
                auto m = testing::rocketWithFins();
                m->AnalysisUnits = units.code;
                applyUnitConstants(*m, units);
                computeAmbientAir(*m);
                m->CompressibleFlow = static_cast<int16_t>(compressible);
                const double limit = compressible ? 0.8 : 2, lf = m->NoseConeLength + m->BodyTubeLength;
                const double of[] = {1, 10000 * m->DynamicViscosity / (m->AmbientDensity * lf),
                                     limit * m->SpeedOfSound};
                m->FreeStreamVelocity = row.factor * of[row.of];
                const std::string why = solveInputRefusal(*m);
                const std::string name = row.name == 'R' ? "Reynolds number " : "Mach number ";
                SCOPED_TRACE(std::string(units.code) + " " + std::to_string(compressible) + ": " + why);
                const double shown = Val(why.substr(std::min(name.size(), why.size())));
                EXPECT_TRUE(!row.name ? why.empty()
                                      : why.starts_with(name) && (row.name == 'R' ? shown < 10000 : shown > limit));
                BoxHost host(*m);
                double steps = 3;
                if (row.name) {
                    EXPECT_EQ(std::tuple(solveChain(*m, host).message, meshInputRefusal(*m),
                                         LOOPER(*m, host, steps).message),
                              std::tuple(why, why, why));
                }
            }
}

} // namespace
} // namespace velmora::stability
