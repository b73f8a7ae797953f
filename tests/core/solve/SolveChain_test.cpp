#include "solve/SolveChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bodyflow/Drag.h"
#include "bodyflow/Solver.h"
#include "model/Vocabulary.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

using testing::rocketWithFins;
using testing::sizeRange;

// The windows' side, recorded: event pumps (at every chance), base-flow unloads, meshes built.
class RecordingHost : public SolveHost, public testing::ScriptedProgress {
public:
    Progress& progress() override { return *this; }
    void unloadBaseFlow() override { ++unloads; }
    void meshBuilt(double) override { ++meshes; }
    void stepStarting(SolveStep s) override
    {
        at = s;
        if (onStep) onStep(s);
    }
    std::function<void(SolveStep)> onStep;
    int unloads = 0, meshes = 0;
    SolveStep at = SolveStep::Inputs;
};

TEST(SolveChain, CompleteRunPublishesEveryStep)
{
    auto m = rocketWithFins();
    m->AbortRequest = "YES";
    m->BasePressureAvailable = "TRUE";
    RecordingHost host;
    const SolveChainReport r = solveChain(*m, host);
    EXPECT_EQ(std::tuple(r.outcome, r.endedAt), std::tuple(Outcome::Done, SolveStep::CenterOfPressure));
    EXPECT_EQ(r.ran, (std::vector<SolveStep>{SolveStep::Mesh, SolveStep::BodyFlow, SolveStep::FinDrag,
                                             SolveStep::TotalDrag, SolveStep::StaleCheck, SolveStep::EventPump,
                                             SolveStep::FinSection, SolveStep::CenterOfPressure}));
    EXPECT_EQ(std::tuple(host.unloads, host.meshes), std::tuple(1, 1));
    EXPECT_EQ(std::tuple(m->AbortRequest, m->BasePressureAvailable, m->PanelSolutionStatus),
              std::tuple("NO", "FALSE", "SOLVED"));
    EXPECT_NE(lastWriteTo(r.writes, ControlId::SOLVER_FinSurfaceDrag), nullptr);
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

// Each way a run can end early, and what it leaves: nothing of that step published, no later step run. A drag that
// could not be computed leaves the body flow it follows stale, every result box empty and its reason in panel 2.
TEST(SolveChain, EarlyEndsPublishNothingOfTheEndingStep)
{
    // Then the outcome, the step it ended at, the message, whether the run's body flow reached the state and
    // whether it stands.
    const std::tuple<const char*, std::function<void(Module1&, RecordingHost&)>, Outcome, SolveStep, const char*,
                     bool, bool> cases[] = {
        {"no velocity", [](Module1& m, RecordingHost&) { m.FreeStreamVelocity = 0; }, Outcome::Refused,
         SolveStep::Inputs, "Please enter rocket velocity.", false, false},
        {"no tube", [](Module1& m, RecordingHost&) { m.BodyTubeLength = 0; }, Outcome::Refused, SolveStep::Inputs,
         "Please enter body tube length.", false, false},
        {"mesh too fine",
         [](Module1& m, RecordingHost&) {
             m.MeshSizeUserSet = 1;
             m.MeshAxialNodeCount = m.MeshRadialNodeCount = 60;
         },
         Outcome::Refused, SolveStep::BodyFlow, "", false, false},
        {"input changed while the body flow runs",
         [](Module1& m, RecordingHost& h) {
             h.onPump = [&m](int n) { if (n == 5) m.FlowSolutionStatus = "SOLVE NEW FLOW"; };
         },
         Outcome::Refused, SolveStep::StaleCheck, "Please enter fin data and perform CFD", false, false},
        {"input changed in the pause before the fin step",
         [](Module1& m, RecordingHost& h) {
             h.onPump = [&m, &h](int) { if (h.at == SolveStep::EventPump) m.FlowSolutionStatus = "SOLVE NEW FLOW"; };
         },
         Outcome::Refused, SolveStep::EventPump, "Please enter fin data and perform CFD", true, false},
        // A flow the input checks do not bound reaches the drag step, whose forces overflow.
        {"air density 1E306 at the drag step",
         [](Module1& m, RecordingHost& h) {
             h.onStep = [&m](SolveStep s) { if (s == SolveStep::FinDrag) m.AmbientDensity = 1e306; };
         },
         Outcome::Failed, SolveStep::FinDrag, kMsgDragTooLarge, true, false},
        {"fin section fails", [](Module1& m, RecordingHost&) { m.FinSectionText = "MANUAL INPUT"; },  // no points
         Outcome::Failed, SolveStep::FinSection, stability::kMsgNoFinSolution, true, true},
        // The fin data look complete to the drag and the centre of pressure, but not to the fin step.
        {"fin step refuses an odd panel count", [](Module1& m, RecordingHost&) { m.PanelCount = 9; },
         Outcome::Refused, SolveStep::FinSection, stability::kMsgNoFinSolution, true, true},
    };
    for (const auto& [name, arrange, outcome, endedAt, message, flowPublished, flowStands] : cases) {
        SCOPED_TRACE(name);
        auto m = rocketWithFins();
        RecordingHost host;
        arrange(*m, host);
        const SolveChainReport r = solveChain(*m, host);
        EXPECT_EQ(std::tuple(r.outcome, r.endedAt, r.message), std::tuple(outcome, endedAt, message));
        auto ran = [&r](SolveStep s) { return std::find(r.ran.begin(), r.ran.end(), s) != r.ran.end(); };
        EXPECT_EQ(ran(endedAt), endedAt != SolveStep::Inputs);
        EXPECT_FALSE(ran(SolveStep::CenterOfPressure));
        EXPECT_EQ(std::tuple(m->ElementSpeed(1) > 0, m->FlowSolutionStatus),
                  std::tuple(flowPublished, flowStands ? "" : "SOLVE NEW FLOW"));
        EXPECT_EQ(m->FinNormalForceSlope, 0);  // the fin section of this run never reached the state
        auto shown = [&host](int panel) {  // what the panel shows at the end
            for (auto it = host.panels.rbegin(); it != host.panels.rend(); ++it)
                if (it->panel == panel) return it->text;
            return std::string();
        };
        auto emptied = [&r](ControlId box) {
            const WindowWrite* w = lastWriteTo(r.writes, box);
            return w && w->action == WindowAction::Empty;
        };
        // The reason in panel 2; no rocket CN, Cm or XCp/L shown.
        if (outcome == Outcome::Failed || endedAt == SolveStep::FinSection) {
            EXPECT_EQ(shown(2), message);
            for (ControlId box : {ControlId::SOLVER_CNFORCES, ControlId::SOLVER_CMFORCES, ControlId::SOLVER_XLRATIOS})
                EXPECT_TRUE(emptied(box)) << controlName(box);
        }
        if (endedAt == SolveStep::FinDrag) {  // nothing of the drag in the state, every result box empty
            EXPECT_EQ(std::tuple(m->FlowSolutionStatusText, m->FinMeanChord, m->FinSurfaceDragCoefficient,
                                 m->TotalDragCoefficient),
                      std::tuple("SOLVE NEW FLOW", 2.25, 0.0f, 0.0f));
            EXPECT_TRUE(emptied(ControlId::SOLVER_TotalCd));
            EXPECT_EQ(shown(1), kMsgSolutionNotFound);
        }
    }
}

// A value out of its range, typed or read from a file, is refused by name before anything runs or changes; values
// at the bounds pass.
TEST(SolveChain, InputsOutOfRangeAreRefusedByName)
{
    const std::tuple<const char*, void (*)(Module1&), std::string> cases[] = {
        {"velocity -300 from a file", [](Module1& m) { m.FreeStreamVelocity = -300; }, kMsgVelocityRange},
        {"velocity at Mach 2e6", [](Module1& m) { m.FreeStreamVelocity = 2e6 * m.SpeedOfSound; },
         "Mach number 2.00E+06 is above 2, the limit of the incompressible flow model: enter a lower velocity."},
        {"velocity beyond any number", [](Module1& m) { m.FreeStreamVelocity = DBL_MAX; },
         "Mach number 1.61E+305 is above 2, the limit of the incompressible flow model: enter a lower velocity."},
        {"angle 1e39", [](Module1& m) { m.AngleOfAttack = 1e39; }, kMsgAngleOfAttackRange},
        {"angle -90.001", [](Module1& m) { m.AngleOfAttack = -90.001; }, kMsgAngleOfAttackRange},
        {"angle NaN", [](Module1& m) { m.AngleOfAttack = std::nan(""); }, kMsgAngleOfAttackRange},
        {"nose diameter 1e-7", [](Module1& m) { m.NoseConeDiameter = 1e-7; }, sizeRange("Nose cone diameter", true)},
        {"transition diameter 2e6", [](Module1& m) { m.TransitionDiameter = 2e6; }, sizeRange("Transition diameter")},
        {"base tube 1e300", [](Module1& m) { m.BaseTubeLength = 1e300; }, sizeRange("Base tube length")},
        {"base tube behind no transition", [](Module1& m) { m.BaseTubeLength = 2; }, kMsgBaseTubeWithoutTransition},
        {"root chord 1e39", [](Module1& m) { m.FinRootChord = 1e39; }, sizeRange("Fin root chord")},
        {"tip chord beyond single", [](Module1& m) { m.FinTipChord = FLT_MAX; }, sizeRange("Fin tip chord")},
        {"thickness 1e39", [](Module1& m) { m.FinThickness = 1e39; }, sizeRange("Fin thickness")},
        {"lug length 1e39", [](Module1& m) { m.LaunchLugLength = 1e39; }, sizeRange("Launch lug length")},
    };
    for (const auto& [name, spoil, message] : cases) {
        SCOPED_TRACE(name);
        auto m = rocketWithFins();
        m->AbortRequest = "YES";
        spoil(*m);
        RecordingHost host;
        const SolveChainReport r = solveChain(*m, host);
        EXPECT_EQ(std::tuple(r.outcome, r.endedAt, r.message, r.ran.size(), host.unloads, m->AbortRequest),
                  std::tuple(Outcome::Refused, SolveStep::Inputs, message, 0u, 0, "YES"));
    }
    auto m = rocketWithFins();
    for (double angle : {-90.0, 90.0}) {
        m->AngleOfAttack = angle;
        EXPECT_EQ(solveInputRefusal(*m), "") << angle;
    }
    m->FinSpan = 5;  // the largest span on a body of diameter 1
    m->LaunchLugOuterDiameter = 0.1;
    m->LaunchLugInnerDiameter = 1e-6f;
    m->FreeStreamVelocity = 2 * m->SpeedOfSound;  // the incompressible model's limit
    EXPECT_EQ(solveInputRefusal(*m), "");
}

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

// What each step publishes; the run ends at the step in which ABORT comes (an ABORT in the drag build-up leaves the
// body flow before it stale).
const std::map<SolveStep, std::function<bool(const Module1&)>> kPublished = {
    {SolveStep::Mesh, [](const Module1& m) { return m.MeshElementCount != 0; }},
    {SolveStep::BodyFlow,
     [](const Module1& m) {
         return m.ElementSpeed(1) != 0 || m.BodyStationCount != 0 || m.BodySurfaceCp(1) != 0 ||
                m.FlowSolutionStatus != "SOLVE NEW FLOW";
     }},
    {SolveStep::FinDrag,
     [](const Module1& m) {
         return m.FinSurfaceDragCoefficient != 0 || m.TotalDragCoefficient != 0 ||
                m.FlowSolutionStatus != "SOLVE NEW FLOW";
     }},
    {SolveStep::EventPump, [](const Module1& m) { return m.PanelSolutionStatus != "SOLVE NEW FLOW"; }},
    {SolveStep::FinSection,
     [](const Module1& m) { return m.PanelSolutionStatus != "SOLVE NEW FLOW" || m.FinNormalForceSlope != 0; }},
};

// ABORT at any event pump of a SOLVE run: the run ends Aborted and the step that was pumping publishes nothing. The
// pumps are made due at every call (interval 0), so every place a long step lets events run is reached.
class AbortAtEveryPump : public ::testing::TestWithParam<const char*> {};

TEST_P(AbortAtEveryPump, EndsAbortedWithNothingOfTheStepPublished)
{
    // A run without ABORT: where its pumps are.
    auto clean = smallRocket(GetParam());
    RecordingHost counting;
    std::vector<SolveStep> pumpSteps;
    counting.onPump = [&](int) { pumpSteps.push_back(counting.at); };
    ASSERT_EQ(solveChain(*clean, counting).outcome, Outcome::Done);
    std::map<SolveStep, int> perStep;
    for (SolveStep s : pumpSteps) ++perStep[s];
    // Every long step lets events run: mesh, body flow (system rows, the elimination, the surface and field sums,
    // before the drag), fin drag, the pump before the fin step, and the fin solve itself.
    for (const auto& [step, published] : kPublished) EXPECT_GT(perStep[step], 0) << solveStepName(step);
    EXPECT_GT(perStep[SolveStep::BodyFlow], 2 * 4 * 9);  // rows of the system and of the elimination
    EXPECT_GE(perStep[SolveStep::FinSection], 2 * 10 - 1);  // rows of the influence tables, elimination steps

    for (int k = 1; k <= static_cast<int>(pumpSteps.size()); ++k) {
        auto m = smallRocket(GetParam());
        RecordingHost host;
        std::optional<SolveStep> in;
        host.onPump = [&](int n) {
            if (n == k) m->AbortRequest = "YES", in = host.at;
        };
        const SolveChainReport r = solveChain(*m, host);
        ASSERT_TRUE(in.has_value()) << k;
        const std::string where = "pump " + std::to_string(k) + " in " + solveStepName(*in);
        ASSERT_TRUE(kPublished.count(*in)) << where;
        EXPECT_EQ(std::tuple(r.outcome, r.endedAt), std::tuple(Outcome::Aborted, *in)) << where;
        EXPECT_FALSE(kPublished.at(*in)(*m) || m->FinNormalForceSlope != 0) << where;  // no fin result in any case
    }
}

INSTANTIATE_TEST_SUITE_P(FinMethods, AbortAtEveryPump, ::testing::Values("VORTEX", "SOURCE"),
                         [](const auto& i) { return std::string(i.param); });


// Shapes at and around the size bounds, at angles to +-90 degrees: one the methods are not built for is refused at
// SOLVE and MESH by a rule naming what was typed; every other run is done with |Cd|, |CN|, |Cm|, |XCp/L| <= 1000
// and no negative drag. The finned rocket has a lug 1 x .2 x .15; "bare": no fins, no lug.
TEST(SolveChain, ShapesAtTheSizeBoundsAreRefusedByRuleOrGiveBoundedResults)
{
    using M = Module1;
    const struct {
        std::vector<std::pair<double M::*, double>> sizes;
        std::string named;
        bool bare = false;
        std::function<void(M&)> more = {};
    } cases[] = {
        {{}, ""}, {{{&M::NoseConeDiameter, 1e-6}}, "Body length"}, {{{&M::NoseConeLength, 1e6}}, "Body length"},
        {{{&M::NoseConeDiameter, 0.15}}, "", true}, {{{&M::NoseConeDiameter, 30}}, "", true},  // fineness 100, 0.5
        {{{&M::NoseConeLength, 1e-6}}, "", true},
        {{{&M::TransitionDiameter, 1e6}, {&M::TransitionLength, 1e-6}}, "Transition diameter"},
        {{{&M::TransitionDiameter, 3}, {&M::TransitionLength, 1e-6}}, ""},
        {{{&M::TransitionDiameter, 1e-6}, {&M::TransitionLength, 1e-6}}, ""},
        {{{&M::LaunchLugOuterDiameter, 0.1}}, "Launch lug inside diameter"},
        {{{&M::LaunchLugOuterDiameter, 1e6}}, "Launch lug outside diameter"},
        {{{&M::LaunchLugLength, 1e6}}, "Launch lug length"}, {{{&M::FinThickness, 10}}, "Fin thickness"},
        {{{&M::FinSpan, 1e6}}, "Fin span"}, {{{&M::FinSpan, 5}, {&M::FinThickness, 0.75}}, ""},
        {{{&M::FinRootChord, 0.5}}, "Fin tip chord"}, {{{&M::FinRootChord, 0.75}, {&M::FinTipDistance, 1e-6}}, ""},
        {{{&M::FinTipDistance, 1e6}}, "Fin tip distance"}, {{{&M::BodyTubeLength, 10}}, "Fin root distance"},
        {{{&M::FinTipDistance, 30}, {&M::FinSpan, 5}}, "", false, [](M& m) { m.FinTipChord = 6; }},  // tip 15 aft
        {{{&M::FinTipDistance, 16}}, "Fin tip distance must", false, [](M& m) { m.FinPlanformCode = 1; }},
        {{{&M::FinTipDistance, 13}}, "Fin tip distance plus", false, [](M& m) { m.FinPlanformCode = 2; }},
        {{}, "Free-Form body radius", false, [](M& m) { m.ActiveBodyGeometry = 1, m.FreeFormBodyRadius(2) = 1e6; }},
    };
    for (const auto& c : cases) {
        for (double angle : {-90.0, -45.0, 0.0, 4.0, 90.0}) {
            SCOPED_TRACE(std::to_string(&c - cases) + " at " + std::to_string(angle));
            auto m = rocketWithFins();
            testing::setUserMesh(*m, 12);
            m->PanelCount = 20, m->AngleOfAttack = angle, m->FinCount = 8;
            m->LaunchLugLength = 1, m->LaunchLugOuterDiameter = 0.2, m->LaunchLugInnerDiameter = 0.15f;
            if (c.bare) m->FinRootChord = m->FinSpan = m->FinTipDistance = m->FinThickness = 0;
            if (c.bare) m->FinTipChord = m->FinRootDistance = m->LaunchLugInnerDiameter = 0;
            if (c.bare) m->LaunchLugOuterDiameter = 0;
            for (auto [size, value] : c.sizes) (*m).*size = value;
            if (c.more) c.more(*m);
            RecordingHost host;
            const SolveChainReport r = solveChain(*m, host);
            if (!c.named.empty()) {
                EXPECT_EQ(std::tuple(r.outcome, r.message.find(c.named)), std::tuple(Outcome::Refused, 0u));
                EXPECT_EQ(std::pair(meshStep(*m, 300, host).message, host.meshes), std::pair(r.message, 0));
                continue;
            }
            ASSERT_EQ(r.outcome, Outcome::Done) << r.message;
            for (double v : {double(m->TotalDragCoefficient), m->NormalForceCoefficient, m->PitchingMomentCoefficient,
                             double(m->CenterOfPressureRatio)})
                EXPECT_LE(std::fabs(v), 1000);
            EXPECT_GE(std::min(m->TotalDragCoefficient, m->BaseDragCoefficient), 0.0f);
        }
    }
}

// Typical hobby rockets, swept fins ending behind the base among them, solve in every unit system and flow model:
// a sound drag and, at an angle, a centre of pressure on the rocket behind its nose. In each unit system some fins
// flush with the base have a root distance, kept in single precision, stored just behind it: the bound's slack.
TEST(SolveChain, HobbyRocketsSolveInEveryUnitSystemAndFlowModel)
{
    for (const UnitSystem& units : UnitSystemTable) {
        int behind = 0;
        for (const testing::HobbyRocket& r : testing::kHobbyRockets)
            for (int compressible : {0, 1}) {
                auto m = testing::hobbyRocket(r, units, compressible);
                testing::setUserMesh(*m, 12);
                m->PanelCount = 20;
                const double length = m->NoseConeLength + m->BodyTubeLength + m->TransitionLength + m->BaseTubeLength;
                behind += r.rootAhead == 0 && m->FinRootDistance + m->FinRootChord > length;
                RecordingHost host;
                const SolveChainReport run = solveChain(*m, host);
                const float cd = m->TotalDragCoefficient, xcp = r.angle != 0 ? m->CenterOfPressureRatio : 1;
                EXPECT_EQ(std::tuple(run.outcome, cd > 0.1f && cd < 5, xcp > 0.3f && xcp < 1.5f),
                          std::tuple(Outcome::Done, true, true))
                    << "rocket " << &r - testing::kHobbyRockets << " " << units.code << " " << compressible << ": "
                    << run.message << " Cd " << cd << " XCp/L " << xcp;
            }
        EXPECT_GT(behind, 0) << units.code;
    }
}

} // namespace
} // namespace velmora
