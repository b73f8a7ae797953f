#include "app/SolveChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bodyflow/Solver.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

using Steps = std::vector<SolveStep>;
using testing::rocketWithFins;

// The windows' side, recorded: event pumps, base-flow unloads, meshes built.
class RecordingHost : public SolveHost, public Progress {
public:
    RecordingHost() { setPumpInterval(Clock::duration::zero()); }  // every chance to let events run is taken
    Progress& progress() override { return *this; }
    void pumpEvents() override
    {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    void unloadBaseFlow() override { ++unloads; }
    void meshBuilt(double) override { ++meshes; }
    std::function<void(int)> onPump;
    int pumps = 0, unloads = 0, meshes = 0;
};

TEST(SolveChain, CompleteRunPublishesEveryStep)
{
    auto m = rocketWithFins();
    m->AbortRequest = "YES";
    m->BasePressureAvailable = "TRUE";
    RecordingHost host;
    const SolveChainReport r = solveChain(*m, host);
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(r.endedAt, SolveStep::CenterOfPressure);
    EXPECT_EQ(r.ran, (Steps{SolveStep::Mesh, SolveStep::BodyFlow, SolveStep::FinDrag, SolveStep::TotalDrag,
                            SolveStep::StaleCheck, SolveStep::EventPump, SolveStep::FinSection,
                            SolveStep::CenterOfPressure}));
    EXPECT_EQ(host.unloads, 1);
    EXPECT_EQ(host.meshes, 1);
    EXPECT_EQ(m->AbortRequest, "NO");
    EXPECT_EQ(m->BasePressureAvailable, "FALSE");
    EXPECT_EQ(m->PanelSolutionStatus, "SOLVED");
    EXPECT_NE(lastWriteTo(r.writes, "SOLVER.FinSurfaceDrag"), nullptr);
    EXPECT_GT(m->FinDragForce, 0);  // the fins are in the drag

    // The sweep's form: the mesh is built once before, not by every step.
    RecordingHost again;
    EXPECT_EQ(solveChain(*m, again, {.buildMesh = false}).ran.front(), SolveStep::BodyFlow);
    EXPECT_EQ(again.meshes, 0);
}

// The body's normal-force slope from a real solution is a property of the
// body: nearly the same at 2 and 4 degrees, with 8 and 12 meridians.
TEST(SolveChain, BodySlopeHoldsAcrossAnglesAndMeridians)
{
    for (int meridians : {8, 12}) {
        double slope[2] = {};
        for (int k = 0; k < 2; ++k) {
            auto m = rocketWithFins();
            m->MeridianCount = static_cast<int16_t>(meridians);
            m->AngleOfAttack = k == 0 ? 2 : 4;
            RecordingHost host;
            const SolveChainReport r = solveChain(*m, host);
            ASSERT_EQ(r.outcome, Outcome::Done);
            slope[k] = r.centerOfPressure->BodyNormalForceSlope;
            // The rocket's centre lies between the body's and the fins'.
            EXPECT_GT(r.centerOfPressure->TotalCenterOfPressure, r.centerOfPressure->BodyCenterOfPressure);
            EXPECT_LT(r.centerOfPressure->TotalCenterOfPressure, r.centerOfPressure->FinCenterInUse);
        }
        EXPECT_GT(slope[0], 0) << meridians;
        EXPECT_NEAR(slope[0] / slope[1], 1.0, 0.05) << meridians;
    }
}

// Each way a run can end early, and what it leaves: nothing of that step
// published, no later step run.
TEST(SolveChain, EarlyEndsPublishNothingOfTheEndingStep)
{
    const struct {
        const char* name;
        std::function<void(Module1&, RecordingHost&)> arrange;
        Outcome outcome;
        SolveStep endedAt;
        const char* message;
        bool flowPublished;  // the body flow of this run reached the state
    } cases[] = {
        {"no velocity", [](Module1& m, RecordingHost&) { m.FreeStreamVelocity = 0; }, Outcome::Refused,
         SolveStep::Inputs, "Please enter rocket velocity.", false},
        {"no tube", [](Module1& m, RecordingHost&) { m.BodyTubeLength = 0; }, Outcome::Refused, SolveStep::Inputs,
         "Please enter body tube length.", false},
        {"mesh too fine",
         [](Module1& m, RecordingHost&) {
             m.MeshSizeUserSet = 1;
             m.MeshAxialNodeCount = m.MeshRadialNodeCount = 60;
         },
         Outcome::Refused, SolveStep::BodyFlow, "", false},
        {"input changed while the body flow runs",
         [](Module1& m, RecordingHost& h) {
             h.onPump = [&m](int n) { if (n == 5) m.FlowSolutionStatus = "SOLVE NEW FLOW"; };
         },
         Outcome::Refused, SolveStep::StaleCheck, "Please enter fin data and perform CFD", false},
        {"fin section fails", [](Module1& m, RecordingHost&) { m.FinSectionText = "MANUAL INPUT"; },  // no points
         Outcome::Failed, SolveStep::FinSection, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = rocketWithFins();
        RecordingHost host;
        c.arrange(*m, host);
        const SolveChainReport r = solveChain(*m, host);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.endedAt, c.endedAt);
        EXPECT_EQ(r.message, c.message);
        auto ran = [&r](SolveStep s) { return std::find(r.ran.begin(), r.ran.end(), s) != r.ran.end(); };
        EXPECT_EQ(ran(c.endedAt), c.endedAt != SolveStep::Inputs);
        EXPECT_FALSE(ran(SolveStep::CenterOfPressure));
        EXPECT_EQ(m->ElementSpeed(1) > 0, c.flowPublished);
        EXPECT_EQ(m->FlowSolutionStatus, c.flowPublished ? "" : "SOLVE NEW FLOW");
        EXPECT_EQ(m->FinNormalForceSlope, 0);  // the fin section of this run never reached the state
    }
}

} // namespace
} // namespace velmora
