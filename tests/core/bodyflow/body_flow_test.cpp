#include <gtest/gtest.h>

#include "tests/core/Rockets.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "model/Module1.h"
#include "bodyflow/BodyFlow.h"
#include "bodyflow/Solver.h"

namespace velmora {
namespace {

using testing::typicalRocket;

class ScriptedProgress : public Progress {
public:
    void status(int panel, const std::string& text) override { panels.push_back({panel, text}); }
    void pumpEvents() override
    {
        if (onPump) onPump(++pumps);
        else ++pumps;
    }
    std::vector<PanelText> panels;
    std::function<void(int)> onPump;
    int pumps = 0;
};

// A closed prolate spheroid of length 2 and slenderness ratio on equally spaced stations.
std::vector<BodyStation> spheroid(double ratio, int stations)
{
    std::vector<BodyStation> st;
    for (int k = 0; k < stations; ++k) {
        const double t = 2.0 * k / (stations - 1) - 1.0;
        st.push_back({t + 1.0, std::sqrt(std::max(0.0, 1.0 - t * t)) / ratio});
    }
    return st;
}

// Potential flow along a prolate spheroid: the equator speed is 2 / (2 - alpha0).
double exactEquatorCp(double ratio)
{
    const double e = std::sqrt(1.0 - 1.0 / (ratio * ratio));
    const double a0 = 2.0 * (1.0 - e * e) / (e * e * e) * (0.5 * std::log((1.0 + e) / (1.0 - e)) - e);
    const double u = 2.0 / (2.0 - a0);
    return 1.0 - u * u;
}

BodyFlowSolution solveStations(const std::vector<BodyStation>& st, int meridians, FlowCondition flow,
                               const FieldPoints& field = {})
{
    auto m = makeModule1();
    NullProgress np;
    BodyFlowSolution s;
    EXPECT_EQ(solveBodyFlow(st, meridians, flow, field, *m, np, s), Outcome::Done);
    return s;
}

TEST(BodyFlowTest, SpheroidMatchesPotentialTheory)
{
    EXPECT_NEAR(exactEquatorCp(5), -0.1217, 5e-5);
    EXPECT_NEAR(exactEquatorCp(10), -0.0418, 5e-5);
    for (double ratio : {5.0, 10.0}) {
        const BodyFlowSolution s = solveStations(spheroid(ratio, 48), 12, {100, 0, 0, 0, 0.002378});
        for (int j = 1; j <= 12; ++j)  // the 24th of 47 intervals straddles the equator
            EXPECT_NEAR(s.surfaceCp[23 * 12 + j], exactEquatorCp(ratio), 0.01) << ratio << " meridian " << j;
        // Symmetric fore and aft and closed: the sources cancel.
        double sum = 0, magnitude = 0;
        for (int i = 1; i <= s.geometry.panels; ++i) sum += s.source[i], magnitude += std::fabs(s.source[i]);
        EXPECT_LT(std::fabs(sum), 1e-10 * magnitude);
    }
}

TEST(BodyFlowTest, SymmetriesAndSimilarity)
{
    const auto st = spheroid(8, 30);
    const BodyFlowSolution axial = solveStations(st, 12, {100, 0, 0, 0, 0.002378});
    for (int k = 0; k < 29; ++k)
        for (int j = 2; j <= 12; ++j) EXPECT_NEAR(axial.surfaceCp[k * 12 + j], axial.surfaceCp[k * 12 + 1], 2e-6);

    // The angle lies in the x-z plane: the mirror y -> -y maps the panel from
    // meridian j onto the one from meridian M/2 + 1 - j.
    for (int meridians : {8, 10, 12}) {
        const BodyFlowSolution s = solveStations(st, meridians, {100, 8, 0, 0, 0.002378});
        for (int i = 0; i < 29 * meridians; ++i) {
            const int k = i / meridians, j = i % meridians + 1;
            const int mirror = (meridians / 2 + 1 - j + meridians - 1) % meridians + 1;
            EXPECT_NEAR(s.surfaceCp[i + 1], s.surfaceCp[k * meridians + mirror], 2e-6) << meridians << " " << i;
        }
        EXPECT_GT(std::fabs(s.surfaceCp[5 * meridians + meridians / 4 + 1] - s.surfaceCp[5 * meridians + 3 * meridians / 4 + 1]),
                  1e-3);  // windward and leeward differ
    }

    // Cp depends on neither velocity nor density; the sources scale with V.
    const BodyFlowSolution a = solveStations(st, 10, {100, 5, 0, 0, 0.002378});
    for (int i = 1; i <= a.geometry.panels; ++i)  // tangent flow at every centroid (nz is single)
        EXPECT_NEAR(a.surfaceU[i] * a.geometry.nx[i] + a.surfaceV[i] * a.geometry.ny[i] + a.surfaceW[i] * a.geometry.nz[i],
                    0.0, 1e-5);
    const BodyFlowSolution b = solveStations(st, 10, {731, 5, 0, 0, 1.225});
    for (int i = 1; i <= a.geometry.panels; ++i) {
        EXPECT_NEAR(a.surfaceCp[i], b.surfaceCp[i], 1e-6);
        EXPECT_NEAR(b.source[i], a.source[i] * 7.31, 1e-9 * std::fabs(b.source[i]) + 1e-15);
    }
}

TEST(SolverTest, TypicalRocketAndCounts)
{
    auto m = typicalRocket();
    ScriptedProgress p;
    const SolveReport r = bodyflow::SOLVER(*m, 300, p);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(m->FlowSolutionStatusText, "");
    EXPECT_EQ(p.pumps, 135);
    const std::vector<PanelText> expected{
        {1, "CFD analysis in progress."}, {1, "CFD solution found. "}, {2, "User may plot results or modify fins."}};
    EXPECT_EQ(p.panels, expected);
    EXPECT_GT(m->BodySurfaceCp(1), 0.0f);  // stagnation at the tip
    EXPECT_NEAR(m->BaseDragCoefficient, 0.029 / std::sqrt(m->BodyPressureDragCoefficient), 1e-6);
    const WindowWrite* mach = lastWriteTo(r.writes, "SOLVER.MachNumber");
    ASSERT_NE(mach, nullptr);
    EXPECT_EQ(*mach, (WindowWrite{"SOLVER.MachNumber", WindowAction::ShowNumber, static_cast<float>(300 / 1116.4), "#####.###", {}}));

    for (auto [mesh, meridians, stations, panels] : {std::tuple{50.0, 12, 48, 564}, std::tuple{10.0, 10, 8, 70}}) {
        auto x = typicalRocket(mesh, meridians);
        NullProgress np;
        const SolveReport rx = bodyflow::SOLVER(*x, 300, np);
        ASSERT_EQ(rx.outcome, Outcome::Done);
        EXPECT_EQ(rx.panelCount, panels);
        EXPECT_EQ(x->BodyStationCount, stations);
        EXPECT_NEAR(x->BodyStationX(stations), x->DomainLength, 1e-12);
    }
}

TEST(SolverTest, PrandtlGlauertScaling)
{
    auto inc = typicalRocket(), com = typicalRocket();
    inc->SpeedOfSound = com->SpeedOfSound = 300 / 0.6;
    com->CompressibleFlow = 1;
    NullProgress np;
    ASSERT_EQ(bodyflow::SOLVER(*inc, 300, np).outcome, Outcome::Done);
    ASSERT_EQ(bodyflow::SOLVER(*com, 300, np).outcome, Outcome::Done);
    for (int i = 1; i <= 136; ++i) EXPECT_NEAR(com->BodySurfaceCp(i), inc->BodySurfaceCp(i) / 0.8, 2e-6) << i;
    for (long e = 1; e <= 722; ++e) {
        EXPECT_EQ(com->ElementAxialVelocity(e), inc->ElementAxialVelocity(e));
        EXPECT_NEAR(com->ElementPressure(e), inc->ElementPressure(e) / 0.8, 1e-5 * inc->ElementPressure(e));
        EXPECT_NEAR(com->ElementSpeed(e), inc->ElementSpeed(e) / 0.8, 1e-6 * inc->ElementSpeed(e));
    }
}

TEST(SolverTest, RefusalsLeaveTheSolutionStale)
{
    struct Case {
        std::function<void(Module1&)> spoil;
        double velocity;
        const char* panel2;  // or the message box prompt and title
        const char* prompt;
        const char* title;
    };
    const Case cases[] = {
        {[](Module1&) {}, 0, "Please enter rocket velocity.", nullptr, nullptr},
        {[](Module1& x) { x.MeshSizeUserSet = 1; x.MeshAxialNodeCount = 51; }, 300, nullptr,
         "DOMAIN SIZE MUST BE LESS THAN OR EQUAL TO 50 X 50", "DOMAIN SIZE TO LARGE"},
        {[](Module1& x) { x.CompressibleFlow = 1; x.SpeedOfSound = 300 / 0.81; }, 300, nullptr,
         "PLEASE ENTER NEW INLET VELOCITY", "MACH NUMBER GREATER THAN 0.80"},
        {[](Module1& x) { x.MeshSizeUserSet = 1; x.MeshAxialNodeCount = x.MeshRadialNodeCount = 8; }, 300,
         "Mesh size must be a whole number from 10 to 50.", nullptr, nullptr},
        {[](Module1& x) { x.AmbientDensity = 0; }, 300, "Invalid flight condition.", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        auto x = typicalRocket();
        NullProgress np;
        ASSERT_EQ(bodyflow::SOLVER(*x, 300, np).outcome, Outcome::Done);
        x->BodySurfaceCp(5) = -99;
        c.spoil(*x);
        ScriptedProgress p;
        const SolveReport r = bodyflow::SOLVER(*x, c.velocity, p);
        const std::string what = c.panel2 ? c.panel2 : c.title;
        EXPECT_EQ(r.outcome, Outcome::Refused) << what;
        EXPECT_EQ(x->FlowSolutionStatus, "SOLVE NEW FLOW") << what;
        EXPECT_EQ(x->BodySurfaceCp(5), -99) << what;
        if (c.panel2) {
            EXPECT_NE(std::find(p.panels.begin(), p.panels.end(), PanelText{2, c.panel2}), p.panels.end());
        }
        ASSERT_EQ(r.messageBox.has_value(), c.prompt != nullptr) << what;
        if (c.prompt) {
            EXPECT_EQ(r.messageBox->prompt + "|" + r.messageBox->title, std::string(c.prompt) + "|" + c.title);
        }
    }
    auto x = typicalRocket();  // Mach 0.8 exactly (single precision) is accepted
    x->CompressibleFlow = 1;
    x->SpeedOfSound = 300 / 0.8;
    NullProgress np;
    EXPECT_EQ(bodyflow::SOLVER(*x, 300, np).outcome, Outcome::Done);
}

TEST(SolverTest, FailureAndAbortPublishNothing)
{
    // A free-form body ending in stations of radius 0: a panel without area.
    auto m = typicalRocket();
    NullProgress np;
    ASSERT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    for (long s = 1; s <= 3; ++s) m->FreeFormBodyX(s) = m->NoseTipX + 3 + 6 * (s - 1);
    m->FreeFormBodyRadius(1) = 0.5;
    m->BodyStationCount = 77;
    m->BodySurfaceCp(3) = 5;
    ScriptedProgress p;
    SolveReport r = bodyflow::SOLVER(*m, 300, p);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(p.panels.back(), (PanelText{1, "CFD solution not found."}));
    EXPECT_EQ(m->BodyStationCount, 77);
    EXPECT_EQ(m->BodySurfaceCp(3), 5);
    EXPECT_EQ(lastWriteTo(r.writes, "SOLVER.PressureCd"), nullptr);

    // ABORT pressed while the third row lets events run, after a mesh change.
    m = typicalRocket();
    ASSERT_EQ(bodyflow::SOLVER(*m, 300, np).outcome, Outcome::Done);
    const float cp = m->BodySurfaceCp(10);
    m->MeshSizeUserSet = 1;
    m->MeshAxialNodeCount = m->MeshRadialNodeCount = 30;
    ScriptedProgress aborting;
    aborting.onPump = [&](int n) { if (n == 3) m->AbortRequest = "YES"; };
    r = bodyflow::SOLVER(*m, 300, aborting);
    EXPECT_EQ(r.outcome, Outcome::Aborted);
    EXPECT_EQ(m->BodyStationCount, 18);
    EXPECT_EQ(m->BodySurfaceCp(10), cp);
    EXPECT_EQ(m->MeshElementCount, 1682);  // the grid itself is new
    for (const auto& t : aborting.panels) EXPECT_NE(t.text, "CFD solution found. ");
}

TEST(SolverTest, FlightConditionTakenOnceAtEntryAndASupersededRunPublishesNothing)
{
    auto ref = typicalRocket();
    NullProgress np;
    ASSERT_EQ(bodyflow::SOLVER(*ref, 300, np).outcome, Outcome::Done);

    // While the elimination lets events run the flight condition changes
    // under the run: it keeps its own.
    auto m = typicalRocket();
    bool reset = false;
    ScriptedProgress p;
    p.onPump = [&](int n) {
        if (n != 10) return;
        m->CompressibleFlow = 1;
        m->EnteredVelocity = m->FreeStreamVelocity = 2000;
        m->FreeStreamMachNumber = 1.8f;
        m->AngleOfAttack = 30;
        m->AmbientDensity = 0.001;
        if (reset) m->FlowSolutionStatus = "SOLVE NEW FLOW"; // what the inputs' reset does
    };
    SolveReport r = bodyflow::SOLVER(*m, 300, p);
    ASSERT_EQ(r.outcome, Outcome::Done);
    for (int i = 1; i <= 136; ++i) ASSERT_EQ(m->BodySurfaceCp(i), ref->BodySurfaceCp(i)) << i;
    EXPECT_EQ(m->ElementPressure(50), ref->ElementPressure(50));
    EXPECT_EQ(p.panels.back(), (PanelText{2, "Invalid solution: Mach Number greater than 0.80"}));
    EXPECT_TRUE(r.solutionCurrent);

    // The same with a result reset while it ran: the tables answer inputs
    // that no longer hold, and none of them is published.
    m = typicalRocket();
    reset = true;
    ScriptedProgress again;
    again.onPump = p.onPump;
    r = bodyflow::SOLVER(*m, 300, again);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_TRUE(r.superseded);
    EXPECT_EQ(lastWriteTo(r.writes, "SOLVER.PressureCd"), nullptr);
    for (int i = 1; i <= 136; ++i) ASSERT_EQ(m->BodySurfaceCp(i), 0) << i;
    EXPECT_EQ(m->ElementAxialVelocity(1), 0);
}

} // namespace
} // namespace velmora
