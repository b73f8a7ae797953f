#include "stability/Sweep.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Units.h"
#include "platform/Format.h"
#include "tests/core/Rockets.h"

namespace velmora::stability {
namespace {

// The main window as the sweep sees it: the box write goes through the
// text, and the box's change handler reads it back and invalidates.
class BoxHost : public SweepHost, public Progress {
public:
    explicit BoxHost(Module1& m) : m_(m) {}
    Progress& progress() override { return *this; }
    void pumpEvents() override
    {
        if (onPump) onPump();
    }
    void stepStarting(SolveStep s) override
    {
        if (onStep) onStep(s);
    }
    void writeSweepValue(bool angle, double value) override
    {
        const std::string text = Format(value, "##.###");
        written.push_back(text);
        if (angle) {
            m_.AngleOfAttack = Val(text);
        } else {
            m_.EnteredVelocity = Val(text);
            convertVelocity(m_, "FT/SEC");
            m_.FreeStreamMachNumber = static_cast<float>(m_.FreeStreamVelocity / m_.SpeedOfSound);
        }
        m_.FlowSolutionStatus = m_.FlowSolutionStatusText = "SOLVE NEW FLOW";
    }
    std::vector<std::string> written;
    std::function<void()> onPump;
    std::function<void(SolveStep)> onStep;

private:
    Module1& m_;
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

TEST(Sweep, StepsWriteTheBoxStoreEachStepAndTakeTheLastIncrementBack)
{
    auto m = aoaSweep(1, 3);
    for (int i = 1; i <= 5; ++i) m->SweepNormalForceCoefficients(i) = -9;  // an earlier sweep's
    BoxHost host(*m);
    double steps = 3.5;  // runs to the whole part
    const SweepReport r = LOOPER(*m, host, steps);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(host.written, (std::vector<std::string>{"1.", "4.", "7."}));
    EXPECT_EQ(m->AngleOfAttack, 7);
    EXPECT_EQ(r.stepsStored, 3);
    // CN rises with the angle; entries above the run keep what they held.
    EXPECT_GT(m->SweepNormalForceCoefficients(1), 0);
    EXPECT_GT(m->SweepNormalForceCoefficients(2), m->SweepNormalForceCoefficients(1));
    EXPECT_GT(m->SweepNormalForceCoefficients(3), m->SweepNormalForceCoefficients(2));
    EXPECT_EQ(m->SweepNormalForceCoefficients(4), -9);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_GT(m->SweepDragCoefficients(i), 0);
        EXPECT_LT(m->SweepMomentCoefficients(i), 0);
        EXPECT_GT(m->SweepCenterOfPressureRatios(i), 0);
    }

    // One step leaves the start value; 0 steps become 1 in the caller's variable.
    m = aoaSweep(2.5, 3);
    BoxHost one(*m);
    steps = 0;
    EXPECT_EQ(LOOPER(*m, one, steps).outcome, Outcome::Done);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(m->AngleOfAttack, 2.5);
}

TEST(Sweep, AStepThatDoesNotCompleteStopsTheSweepAndStoresNothingOfIt)
{
    // Compressible from 700 by 100 FT/SEC: step 3 (Mach 0.806) is refused.
    auto m = testing::rocketWithFins();
    m->AoaSweepSelected = 0;
    m->VelocitySweepSelected = 1;
    m->CompressibleFlow = 1;
    m->EnteredVelocity = 700;
    m->SweepVelocityIncrement = 100;
    for (int i = 1; i <= 4; ++i) m->SweepDragCoefficients(i) = -1;
    BoxHost host(*m);
    double steps = 4;
    SweepReport r = LOOPER(*m, host, steps);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.stepsStored, 2);
    EXPECT_EQ(host.written, (std::vector<std::string>{"700.", "800.", "900."}));
    EXPECT_GT(m->SweepDragCoefficients(2), 0);
    EXPECT_EQ(m->SweepDragCoefficients(3), -1);
    EXPECT_EQ(m->EnteredVelocity, 900);  // the step that was started

    // ABORT during step 3 of 10 keeps entries 1-2 new and 3-10 as they were.
    m = aoaSweep(1, 1);
    for (int i = 1; i <= 10; ++i) m->SweepCenterOfPressureRatios(i) = -1;
    BoxHost aborting(*m);
    int pauses = 0;
    aborting.onStep = [&](SolveStep s) {
        if (s == SolveStep::EventPump && ++pauses == 3) m->AbortRequest = "YES";  // before step 3's fins
    };
    steps = 10;
    r = LOOPER(*m, aborting, steps);
    EXPECT_EQ(r.outcome, Outcome::Aborted);
    EXPECT_EQ(r.stepsStored, 2);
    EXPECT_GT(m->SweepCenterOfPressureRatios(2), 0);
    for (int i = 3; i <= 10; ++i) EXPECT_EQ(m->SweepCenterOfPressureRatios(i), -1) << i;
}

TEST(Sweep, RefusalsAndClearing)
{
    auto m = aoaSweep(1, 1);
    m->FreeStreamVelocity = 0;
    m->AbortRequest = "YES";
    BoxHost host(*m);
    double steps = 3;
    const SweepReport r = LOOPER(*m, host, steps);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message, "Please enter rocket velocity.");
    EXPECT_EQ(m->AbortRequest, "YES");
    EXPECT_TRUE(host.written.empty());

    for (int i = 1; i <= 10; ++i) m->SweepMomentCoefficients(i) = m->SweepPlotY(i) = i;
    clearSweepResults(*m, 5);
    EXPECT_EQ(m->SweepMomentCoefficients(5), 0);
    EXPECT_EQ(m->SweepPlotY(5), 0);
    EXPECT_EQ(m->SweepMomentCoefficients(6), 6);
    EXPECT_EQ(m->SweepPlotY(10), 10);
}

TEST(Sweep, ThreeHundredSixtyStepsFillEveryEntry)
{
    auto m = aoaSweep(1, 0.01);
    m->MeshSizeUserSet = 1;
    m->MeshAxialNodeCount = m->MeshRadialNodeCount = 10;
    m->PanelCount = 10;
    BoxHost host(*m);
    double steps = 400;  // the arrays end at 360
    const SweepReport r = LOOPER(*m, host, steps);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(r.stepsStored, 360);
    EXPECT_GT(m->SweepDragCoefficients(360), 0);
}

} // namespace
} // namespace velmora::stability
