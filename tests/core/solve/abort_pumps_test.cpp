// ABORT at any event pump of a SOLVE run: the run ends Aborted and the step that was pumping publishes nothing. The
// pumps are made due at every call (interval 0), so every place a long step lets events run is reached.
#include <gtest/gtest.h>

#include <map>

#include "solve/SolveChain.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

struct AbortingHost : SolveHost, Progress {
    AbortingHost(Module1& m, int abortAt) : m(m), abortAt(abortAt) { setPumpInterval(Clock::duration::zero()); }
    Progress& progress() override { return *this; }
    void stepStarting(SolveStep s) override { step = s; }
    void pumpEvents() override
    {
        pumpSteps.push_back(step);
        if (static_cast<int>(pumpSteps.size()) == abortAt) {
            m.AbortRequest = "YES";
            abortedIn = step;
        }
    }
    Module1& m;
    int abortAt;
    SolveStep step = SolveStep::Inputs;
    std::vector<SolveStep> pumpSteps;
    std::optional<SolveStep> abortedIn;
};

// A small finned rocket, so that every pump of the run can be tried.
std::unique_ptr<Module1> smallRocket(const char* method)
{
    auto m = testing::rocketWithFins();
    m->NoseShapeName = "CONICAL";
    m->BodyTubeLength = 10;
    m->MeshSizeUserSet = 1;
    m->MeshAxialNodeCount = m->MeshRadialNodeCount = 12;
    m->MeridianCount = 4;
    m->FinRootDistance = 10;
    m->FinTipDistance = 11.5;
    m->PanelMethodChoice = method;
    m->PanelCount = 10;
    return m;
}

// What each step publishes, and where the run ends when ABORT comes in it (an ABORT in the drag build-up leaves the
// body flow before it stale).
struct StepCheck {
    SolveStep endsAt;
    std::function<bool(const Module1&)> published;
};

const std::map<SolveStep, StepCheck> kChecks = {
    {SolveStep::Mesh, {SolveStep::Mesh, [](const Module1& m) { return m.MeshElementCount != 0; }}},
    {SolveStep::BodyFlow,
     {SolveStep::BodyFlow,
      [](const Module1& m) {
          return m.ElementSpeed(1) != 0 || m.BodyStationCount != 0 || m.BodySurfaceCp(1) != 0 ||
                 m.FlowSolutionStatus != "SOLVE NEW FLOW";
      }}},
    {SolveStep::FinDrag,
     {SolveStep::FinDrag,
      [](const Module1& m) {
          return m.FinSurfaceDragCoefficient != 0 || m.TotalDragCoefficient != 0 ||
                 m.FlowSolutionStatus != "SOLVE NEW FLOW";
      }}},
    {SolveStep::EventPump,
     {SolveStep::EventPump, [](const Module1& m) { return m.PanelSolutionStatus != "SOLVE NEW FLOW"; }}},
    {SolveStep::FinSection,
     {SolveStep::FinSection,
      [](const Module1& m) { return m.PanelSolutionStatus != "SOLVE NEW FLOW" || m.FinNormalForceSlope != 0; }}},
};

class AbortAtEveryPump : public ::testing::TestWithParam<const char*> {};

TEST_P(AbortAtEveryPump, EndsAbortedWithNothingOfTheStepPublished)
{
    // A run without ABORT: where its pumps are.
    auto clean = smallRocket(GetParam());
    AbortingHost counting(*clean, 0);
    ASSERT_EQ(solveChain(*clean, counting).outcome, Outcome::Done);
    std::map<SolveStep, int> perStep;
    for (SolveStep s : counting.pumpSteps) ++perStep[s];
    // Every long step lets events run: mesh, body flow (system rows, the elimination, the surface and field sums,
    // before the drag), fin drag, the pump before the fin step, and the fin solve itself.
    for (const auto& [step, check] : kChecks) EXPECT_GT(perStep[step], 0) << solveStepName(step);
    EXPECT_GT(perStep[SolveStep::BodyFlow], 2 * 4 * 9);  // rows of the system and of the elimination
    EXPECT_GE(perStep[SolveStep::FinSection], 2 * 10 - 1);  // rows of the influence tables, elimination steps

    for (int k = 1; k <= static_cast<int>(counting.pumpSteps.size()); ++k) {
        auto m = smallRocket(GetParam());
        AbortingHost host(*m, k);
        const SolveChainReport r = solveChain(*m, host);
        ASSERT_TRUE(host.abortedIn.has_value()) << k;
        const SolveStep in = *host.abortedIn;
        const std::string where = "pump " + std::to_string(k) + " in " + solveStepName(in);
        ASSERT_TRUE(kChecks.count(in)) << where;
        const StepCheck& c = kChecks.at(in);
        EXPECT_EQ(std::tuple(r.outcome, r.endedAt), std::tuple(Outcome::Aborted, c.endsAt)) << where;
        EXPECT_FALSE(c.published(*m) || m->FinNormalForceSlope != 0) << where;  // no fin result in any case
    }
}

INSTANTIATE_TEST_SUITE_P(FinMethods, AbortAtEveryPump, ::testing::Values("VORTEX", "SOURCE"),
                         [](const auto& i) { return std::string(i.param); });

TEST(AbortAtEveryPump, PumpsOnlyWhenTheIntervalHasPassed)
{
    struct Counting : Progress {
        void pumpEvents() override { ++pumps; }
        int pumps = 0;
    } p;
    EXPECT_FALSE(p.maybePump());  // no interval: never
    p.setPumpInterval(std::chrono::hours(1));
    EXPECT_FALSE(p.maybePump());  // an hour has not passed since it was made
    p.setPumpInterval(Progress::Clock::duration::zero());
    EXPECT_TRUE(p.maybePump());
    p.pumpNow();
    EXPECT_EQ(p.pumps, 2);
}

} // namespace
} // namespace velmora
