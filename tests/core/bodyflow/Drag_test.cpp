#include <gtest/gtest.h>

#include "tests/core/Rockets.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Drag.h"
#include "bodyflow/Grid.h"
#include "bodyflow/Solver.h"

namespace velmora {
namespace {

using testing::typicalRocket;
using testing::ScriptedProgress;

NullProgress quiet;

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
    BodyFlowSolution s;
    EXPECT_EQ(solveBodyFlow(st, meridians, flow, field, *m, quiet, s), Outcome::Done);
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
    // The angle lies in the x-z plane: the mirror y -> -y maps the panel from
    // meridian j onto the one from meridian M/2 + 1 - j.
    const auto st = spheroid(8, 30);
    for (int meridians : {8, 10}) {
        const BodyFlowSolution s = solveStations(st, meridians, {100, 8, 0, 0, 0.002378});
        for (int i = 0; i < 29 * meridians; ++i) {
            const int k = i / meridians, j = i % meridians + 1;
            const int mirror = (meridians / 2 + 1 - j + meridians - 1) % meridians + 1;
            EXPECT_NEAR(s.surfaceCp[i + 1], s.surfaceCp[k * meridians + mirror], 2e-6) << meridians << " " << i;
        }
        const int k = 5 * meridians;  // windward and leeward differ
        EXPECT_GT(std::fabs(s.surfaceCp[k + meridians / 4 + 1] - s.surfaceCp[k + 3 * meridians / 4 + 1]), 1e-3);
    }

    // Cp depends on neither velocity nor density; the sources scale with V.
    const BodyFlowSolution a = solveStations(st, 10, {100, 5, 0, 0, 0.002378});
    const BodyFlowSolution b = solveStations(st, 10, {731, 5, 0, 0, 1.225});
    for (int i = 1; i <= a.geometry.panels; ++i) {
        // Tangent flow at every centroid (nz is single).
        const PanelGeometry& g = a.geometry;
        EXPECT_NEAR(a.surfaceU[i] * g.nx[i] + a.surfaceV[i] * g.ny[i] + a.surfaceW[i] * g.nz[i], 0.0, 1e-5);
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
    EXPECT_EQ(p.panels, (std::vector<PanelText>{{1, "CFD analysis in progress."}, {1, "CFD solution found. "},
                                                {2, "User may plot results or modify fins."}}));
    EXPECT_GT(m->BodySurfaceCp(1), 0.0f);  // stagnation at the tip
    EXPECT_FLOAT_EQ(lastWriteTo(r.writes, "SOLVER.MachNumber")->value, static_cast<float>(300 / 1116.4));

    for (auto [mesh, meridians, stations, panels] : {std::tuple{50.0, 12, 48, 564}, std::tuple{10.0, 10, 8, 70}}) {
        auto x = typicalRocket(mesh, meridians);
        const SolveReport rx = bodyflow::SOLVER(*x, 300, quiet);
        ASSERT_EQ(rx.outcome, Outcome::Done);
        EXPECT_EQ(std::tuple(rx.panelCount, x->BodyStationCount), std::tuple(panels, stations));
        EXPECT_NEAR(x->BodyStationX(stations), x->DomainLength, 1e-12);
    }
}

TEST(SolverTest, PrandtlGlauertScaling)
{
    auto inc = typicalRocket(), com = typicalRocket();
    inc->SpeedOfSound = com->SpeedOfSound = 300 / 0.6;
    com->CompressibleFlow = 1;
    ASSERT_EQ(bodyflow::SOLVER(*inc, 300, quiet).outcome, Outcome::Done);
    ASSERT_EQ(bodyflow::SOLVER(*com, 300, quiet).outcome, Outcome::Done);
    for (int i = 1; i <= 136; ++i) EXPECT_NEAR(com->BodySurfaceCp(i), inc->BodySurfaceCp(i) / 0.8, 2e-6) << i;
    for (long e = 1; e <= 722; ++e) {
        EXPECT_EQ(com->ElementAxialVelocity(e), inc->ElementAxialVelocity(e));
        EXPECT_NEAR(com->ElementPressure(e), inc->ElementPressure(e) / 0.8, 1e-5 * inc->ElementPressure(e));
        EXPECT_NEAR(com->ElementSpeed(e), inc->ElementSpeed(e) / 0.8, 1e-6 * inc->ElementSpeed(e));
    }
}

TEST(SolverTest, RefusalsLeaveTheSolutionStale)
{
    // What the user is told: a panel-2 text, or a message box's "prompt|title".
    const std::tuple<std::function<void(Module1&)>, double, std::string> cases[] = {
        {[](Module1&) {}, 0, "Please enter rocket velocity."},
        {[](Module1& x) { x.MeshSizeUserSet = 1; x.MeshAxialNodeCount = 51; }, 300,
         "DOMAIN SIZE MUST BE LESS THAN OR EQUAL TO 50 X 50|DOMAIN SIZE TO LARGE"},
        {[](Module1& x) { x.CompressibleFlow = 1; x.SpeedOfSound = 300 / 0.81; }, 300,
         "PLEASE ENTER NEW INLET VELOCITY|MACH NUMBER GREATER THAN 0.80"},
        {[](Module1& x) { x.MeshSizeUserSet = 1; x.MeshAxialNodeCount = x.MeshRadialNodeCount = 8; }, 300,
         "Mesh size must be a whole number from 10 to 50."},
        {[](Module1& x) { x.AmbientDensity = 0; }, 300, "Invalid flight condition."},
    };
    for (const auto& [spoil, velocity, told] : cases) {
        auto x = typicalRocket();
        ASSERT_EQ(bodyflow::SOLVER(*x, 300, quiet).outcome, Outcome::Done);
        x->BodySurfaceCp(5) = -99;
        spoil(*x);
        ScriptedProgress p;
        const SolveReport r = bodyflow::SOLVER(*x, velocity, p);
        EXPECT_EQ(std::tuple(r.outcome, x->FlowSolutionStatus, x->BodySurfaceCp(5)),
                  std::tuple(Outcome::Refused, "SOLVE NEW FLOW", -99.0f)) << told;
        if (r.messageBox) EXPECT_EQ(r.messageBox->prompt + "|" + r.messageBox->title, told);
        else EXPECT_NE(std::find(p.panels.begin(), p.panels.end(), PanelText{2, told}), p.panels.end()) << told;
    }
    auto x = typicalRocket();  // Mach 0.8 exactly (single precision) is accepted
    x->CompressibleFlow = 1;
    x->SpeedOfSound = 300 / 0.8;
    EXPECT_EQ(bodyflow::SOLVER(*x, 300, quiet).outcome, Outcome::Done);
}

TEST(SolverTest, FailurePublishesNothing)
{
    // A free-form body ending in stations of radius 0: a panel without area.
    auto m = typicalRocket();
    ASSERT_EQ(GRID(*m, 300, quiet).outcome, Outcome::Done);
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    for (long s = 1; s <= 3; ++s) m->FreeFormBodyX(s) = m->NoseTipX + 3 + 6 * (s - 1);
    m->FreeFormBodyRadius(1) = 0.5;
    m->BodyStationCount = 77;
    m->BodySurfaceCp(3) = 5;
    ScriptedProgress p;
    const SolveReport r = bodyflow::SOLVER(*m, 300, p);
    EXPECT_EQ(p.panels.back(), (PanelText{1, "CFD solution not found."}));
    EXPECT_EQ(std::tuple(r.outcome, m->BodyStationCount, m->BodySurfaceCp(3)), std::tuple(Outcome::Failed, 77, 5.0f));
    EXPECT_EQ(lastWriteTo(r.writes, "SOLVER.PressureCd"), nullptr);
}

// While the body flow lets events run the flight condition changes under the run: it keeps its own. (A run whose result
// is reset meanwhile publishes nothing; the solve chain's tests hold that.)
TEST(SolverTest, FlightConditionTakenOnceAtEntry)
{
    auto ref = typicalRocket();
    ASSERT_EQ(bodyflow::SOLVER(*ref, 300, quiet).outcome, Outcome::Done);
    auto m = typicalRocket();
    ScriptedProgress p;
    p.onPump = [&](int n) {
        if (n != 10) return;
        m->CompressibleFlow = 1;
        m->EnteredVelocity = m->FreeStreamVelocity = 2000;
        m->FreeStreamMachNumber = 1.8f;
        m->AngleOfAttack = 30;
        m->AmbientDensity = 0.001;
    };
    const SolveReport r = bodyflow::SOLVER(*m, 300, p);
    ASSERT_EQ(r.outcome, Outcome::Done);
    for (int i = 1; i <= 136; ++i) ASSERT_EQ(m->BodySurfaceCp(i), ref->BodySurfaceCp(i)) << i;
    EXPECT_EQ(std::tuple(m->ElementPressure(50), r.solutionCurrent), std::tuple(ref->ElementPressure(50), true));
    EXPECT_EQ(p.panels.back(), (PanelText{2, "Invalid solution: Mach Number greater than 0.80"}));
}

// Conical nose 3, diameter 1, tube 12 on a 23-node grid (DX = 0.75), with the
// stations in the project state and every panel's momentum value rho V^2.
struct ConeCase {
    std::unique_ptr<Module1> m = testing::typicalRocket(23);
    Array1<float, 100> area;
    Array1<float, 5000> flux;
    ScriptedProgress p;
    float cd = 0;

    ConeCase()
    {
        m->NoseShapeName = "CONICAL";
        EXPECT_EQ(GRID(*m, 300, quiet).outcome, Outcome::Done);
        const auto st = bodyStationsFromGrid(*m);
        m->BodyStationCount = static_cast<int16_t>(st.size());
        for (std::size_t k = 0; k < st.size(); ++k) {
            m->BodyStationX(static_cast<long>(k) + 1) = st[k].x;
            m->BodyStationRadius(static_cast<long>(k) + 1) = st[k].radius;
            area(static_cast<long>(k) + 1) = static_cast<float>(3.14159265 * st[k].radius * st[k].radius);
        }
        flux.fill(static_cast<float>(m->AmbientDensity * 300.0 * 300.0));
    }
    DragReport run(float startCd)
    {
        cd = startCd;
        return ROCKETDRAG(*m, std::span<const float>(area.data(), area.size()),
                          std::span<const float>(flux.data(), flux.size()), cd, 8.0f,
                          static_cast<float>(m->BodyStationCount), p);
    }
};

TEST(DragTest, BodyPressureDragOfAConeAndCrossFlow)
{
    for (auto [aoa, expected] : {std::pair{0.0, 0.328798}, std::pair{10.0, 0.328798 + 0.110003},
                                 std::pair{-10.0, 0.328798 - 0.110003}}) {
        ConeCase c;
        c.m->AngleOfAttack = aoa;
        const DragReport r = c.run(-1);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_NEAR(c.cd, expected, 2e-6) << aoa;
        EXPECT_EQ(c.m->ReferenceArea, static_cast<float>(3.14159265 / 4));
        EXPECT_NEAR(lastWriteTo(r.writes, "SOLVER.ReNumber")->value, c.m->AmbientDensity * 300 * 15 / 3.9e-7, 1e-3);
    }
}

TEST(DragTest, BaseDragRulesAndSeparation)
{
    const std::pair<std::function<void(ConeCase&)>, double> cases[] = {  // base over body diameter; NAN: kept
        {[](ConeCase&) {}, 1.0},
        {[](ConeCase& c) { c.m->TransitionLength = 2; c.m->TransitionDiameter = 0.7; }, 0.7},
        {[](ConeCase& c) { c.m->TransitionLength = 2; c.m->TransitionDiameter = 0; }, 0.0},
        {[](ConeCase& c) { c.m->ActiveBodyGeometry = 1; c.m->FreeFormBaseRadius = 0.3f; }, 0.6},
        {[](ConeCase& c) { c.m->ActiveBodyGeometry = 1; c.m->FreeFormBaseRadius = 0; }, 0.0},
        {[](ConeCase& c) { c.m->BasePressureAvailable = "TRUE"; }, NAN},
    };
    for (const auto& [setup, ratio] : cases) {
        ConeCase c;
        setup(c);
        c.m->BaseDragCoefficient = 0.5f;
        ASSERT_EQ(c.run(0).outcome, Outcome::Done);
        const double expected =
            std::isnan(ratio) ? 0.5 : ratio * ratio * ratio * 0.029 / std::sqrt(static_cast<double>(c.cd));
        EXPECT_NEAR(c.m->BaseDragCoefficient, expected, 1e-6) << ratio;
    }

    ConeCase c;  // a steep negative angle: no pressure drag, base drag not recomputed
    c.m->AngleOfAttack = -60;
    c.m->BaseDragCoefficient = 0.25f;
    ASSERT_EQ(c.run(1).outcome, Outcome::Done);
    EXPECT_EQ(std::tuple(c.cd, c.m->BaseDragCoefficient), std::tuple(0.0f, 0.25f));
    EXPECT_EQ(c.p.panels, (std::vector<PanelText>{{1, "Possible base flow separation. Body tube Cd=0"}}));

    ConeCase none;  // broken arithmetic (no flow) publishes nothing
    none.m->FreeStreamVelocity = 0;
    none.m->ReferenceArea = 7;
    EXPECT_EQ(none.run(0).outcome, Outcome::Failed);
    EXPECT_EQ(std::tuple(none.cd, none.m->ReferenceArea), std::tuple(0.0f, 7.0f));
}

// The finned rocket with a launch lug, a current body flow and its body drag
// 0.3: 4 tapered fins (root 3, tip 1.5, span 2), streamlined edges, good finish.
std::unique_ptr<Module1> finnedRocket()
{
    auto m = testing::rocketWithFins();
    m->FlowSolutionStatus = "";
    m->LaunchLugLength = 1;
    m->LaunchLugOuterDiameter = 0.25;
    m->LaunchLugInnerDiameter = 0.2f;
    m->BaseDragCoefficient = 0.1f;
    m->BodyPressureDragCoefficient = 0.2f;
    return m;
}

TEST(DragTest, FinDragChecksInOrder)
{
    const std::tuple<std::function<void(Module1&)>, const char*, bool> cases[] = {  // message, fin boxes emptied
        {[](Module1& m) { m.NoseConeDiameter = 0; }, "Please enter nose cone diameter.", false},
        {[](Module1& m) { m.FinThickness = 0; }, "No fin drag. Fin thickness required", true},
        {[](Module1& m) { m.FinRootChord = 0; }, "No fin drag. Fin root required", true},
        {[](Module1& m) { m.FinSpan = 0; }, "No fin drag. Fin span required", true},
        {[](Module1& m) { m.FinCount = 0; }, "No fin drag. Number of fins required", true},
        {[](Module1& m) { m.FinPlanformCode = 0; }, "No fin drag. Fin shape required", true},
        {[](Module1& m) { m.FinEdgeCode = 0; }, "No fin drag. Fin edge shape required", true},
        {[](Module1& m) { m.NoseShapeName = ""; }, "No fin drag. Nose shape required", true},
        {[](Module1& m) { m.SurfaceFinishCode = 0; }, "No fin drag. Finish quality required", true},
        {[](Module1& m) { m.FinTipDistance = 0; }, "No fin drag. Distance to fin tip required", true},
        {[](Module1& m) { m.FinRootDistance = 0; }, "No fin drag. Distance to fin root required", true},
        // A triangle whose tip lies one root chord behind the nose tip.
        {[](Module1& m) { m.FinPlanformCode = 1; m.FinTipDistance = 3; }, "No fin drag. Distance to fin root required",
         true},
    };
    for (const auto& [spoil, message, finBoxesEmptied] : cases) {
        auto m = finnedRocket();
        spoil(*m);
        m->FinSurfaceDragCoefficient = 0.7f;
        m->ReferenceArea = 0.5f;
        m->FinRootLeadingEdgeX = 42;
        m->FinDragForce = 9;
        ScriptedProgress p;
        const DragReport r = CdFnMn(*m, 300, p);
        EXPECT_EQ(p.panels, (std::vector<PanelText>{{2, message}}));
        for (const char* box : {"SOLVER.FinSurfaceDrag", "SOLVER.FinInterferenceDrag", "SOLVER.LaunchLugDrag"}) {
            const WindowWrite* w = lastWriteTo(r.writes, box);
            EXPECT_EQ(w ? w->action == WindowAction::Empty : false, finBoxesEmptied) << message << box;
        }
        // Totals without the fin and lug components, on the old reference area.
        EXPECT_EQ(std::tuple(m->FinSurfaceDragCoefficient, m->FinDragForce, m->FinRootLeadingEdgeX),
                  std::tuple(0.0f, 0.0, 42.0)) << message;
        EXPECT_FLOAT_EQ(m->TotalDragCoefficient, 0.3f);
        EXPECT_NEAR(m->BodyDragForce, 0.3 * 0.5 * 0.002378 * 300 * 300 * 0.5, 1e-5);
    }
}

TEST(DragTest, FinAndLugDragComponents)
{
    auto m = finnedRocket();
    m->FinNormalForce = 2.5;
    ScriptedProgress p;
    DragReport r = CdFnMn(*m, 300, p);
    EXPECT_TRUE(p.panels.empty());
    const double s = 3.14159265 / 4;
    // Streamlined edges: 0.01 of the planform area whatever the thickness.
    EXPECT_FLOAT_EQ(m->FinSurfaceDragCoefficient, static_cast<float>(4 * 2 * 2.25 * 0.01 / s));
    EXPECT_FLOAT_EQ(m->FinInterferenceDragCoefficient, static_cast<float>(4 * (1 * 3 * 0.01 / s) / 2));
    // Re on nose + tube = 2.74e7: turbulent friction on the lug's wetted area.
    const double re = m->AmbientDensity * 300 * 15 / 3.9e-7;
    const double front = (0.0625 - static_cast<double>(0.2f) * 0.2f) * 3.14159265 / 4;
    const double wetted = 3.14159265 * (0.25 + static_cast<double>(0.2f));
    EXPECT_FLOAT_EQ(m->LaunchLugDragCoefficient,
                    static_cast<float>((1.2 * front + std::pow(10.0, -1.4 - 0.16 * std::log10(re)) * wetted) / s));
    const double q = 0.5 * m->AmbientDensity * 300 * 300;
    EXPECT_NEAR(lastWriteTo(r.writes, "SOLVER.FORCE")->value, m->TotalDragCoefficient * q * static_cast<float>(s),
                1e-9);
    EXPECT_EQ(lastWriteTo(r.writes, "PressureCenter.FINAOAFORCES")->value, 2.5);  // kept at an angle
    EXPECT_EQ(m->FinTipTrailingEdgeY, 2.5);  // corner points with the root on the tube

    auto bare = finnedRocket();  // unpainted: 1.25 times every component
    bare->SurfaceFinishCode = 1;
    bare->FinEdgeCode = 1;       // square edges: 0.875 t/c
    bare->FinNormalForce = 2.5;
    bare->AngleOfAttack = 0;
    CdFnMn(*bare, 300, p);
    EXPECT_FLOAT_EQ(bare->FinSurfaceDragCoefficient, static_cast<float>(1.25 * 4 * 2 * 2.25 * 0.875 * 0.1 / 3 / s));
    EXPECT_FLOAT_EQ(bare->LaunchLugDragCoefficient, 1.25f * m->LaunchLugDragCoefficient);
    EXPECT_EQ(bare->FinNormalForce, 0.0);  // zero angle of attack

    auto good = finnedRocket(), waxed = finnedRocket();  // Re 3.66e5: laminar only on a waxed finish
    waxed->SurfaceFinishCode = 3;
    CdFnMn(*good, 4, p);
    CdFnMn(*waxed, 4, p);
    const double laminar = std::pow(10.0, 0.1836 - 0.51 * std::log10(good->AmbientDensity * 4 * 15 / 3.9e-7));
    EXPECT_FLOAT_EQ(waxed->LaunchLugDragCoefficient, static_cast<float>((1.2 * front + laminar * wetted) / s));
    EXPECT_LT(waxed->LaunchLugDragCoefficient, good->LaunchLugDragCoefficient);
    auto still = finnedRocket();  // no flow, no friction: the lug's frontal drag alone
    CdFnMn(*still, 0, p);
    EXPECT_FLOAT_EQ(still->LaunchLugDragCoefficient, static_cast<float>(1.2 * front / s));

    EXPECT_EQ(r.outcome, Outcome::Done);
    // A value beyond its store fails the routine, with nothing written or shown, and says which.
    const std::tuple<std::function<void(Module1&)>, const char*> failures[] = {
        {[](Module1& f) { f.AmbientDensity = 1e300; }, kMsgDragTooLarge},  // the forces
        {[](Module1& f) { f.NoseConeDiameter = 1e20; }, kMsgDragTooLarge},  // the reference area
    };
    for (const auto& [spoil, why] : failures) {
        SCOPED_TRACE(why);
        auto f = finnedRocket();
        spoil(*f);
        f->ReferenceArea = 7;
        f->FinTipLeadingEdgeY = -1;
        f->TotalDragCoefficient = 9;
        ScriptedProgress fp;
        const DragReport failed = CdFnMn(*f, 300, fp);
        EXPECT_EQ(std::tuple(failed.outcome, failed.message, failed.writes.size(), fp.panels.back()),
                  std::tuple(Outcome::Failed, why, 0u, PanelText{2, why}));
        EXPECT_EQ(std::tuple(f->ReferenceArea, f->FinMeanChord, f->FinTipLeadingEdgeY, f->TotalDragCoefficient,
                             f->FinSurfaceDragCoefficient),
                  std::tuple(7.0f, 2.25, -1.0, 9.0f, 0.0f));
    }
}

TEST(DragTest, StaleFlowAndLargestCrossSection)
{
    auto m = finnedRocket();
    m->FlowSolutionStatus = "SOLVE NEW FLOW";
    ScriptedProgress p;
    const DragReport r = CdFnMn(*m, 300, p);
    const char* order[] = {"SOLVER.FinInterferenceDrag", "SOLVER.LaunchLugDrag", "SOLVER.FinSurfaceDrag",
                           "SOLVER.FORCE", "SOLVER.TotalCd"};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(r.writes[r.writes.size() - 5 + i], (WindowWrite{order[i], WindowAction::Empty, 0, {}, {}}));

    m->Pi = 3.14159265;
    m->ReferenceArea = static_cast<float>(3.14159265 / 4);
    m->FinSurfaceDragCoefficient = 0.05f;
    m->FinInterferenceDragCoefficient = 0.02f;
    m->LaunchLugDragCoefficient = 0.03f;  // total 0.4
    m->BodyStationCount = 3;
    m->BodyStationRadius(2) = m->BodyStationRadius(3) = 0.5;
    EXPECT_NEAR(lastWriteTo(TOTALDRAG(*m, 300, p).writes, "SOLVER.CdMax")->value, 0.4, 1e-6);  // the tube
    m->BodyStationRadius(3) = 0.8;  // a flare beyond D lowers it
    EXPECT_NEAR(TOTALDRAG(*m, 300, p).writes[0].value, 0.4 / (1.6 * 1.6), 1e-6);
    m->BodyStationCount = 0;  // no stations, no cross-section
    m->BodyStationRadius(1) = 0;
    EXPECT_EQ(TOTALDRAG(*m, 300, p).writes[0].action, WindowAction::Empty);
    m->BodyStationRadius(1) = 1e-160;  // a cross-section of 3e-320: no finite ratio
    const DragReport tiny = TOTALDRAG(*m, 300, p);
    EXPECT_EQ(std::tuple(tiny.outcome, tiny.message, tiny.writes.size()),
              std::tuple(Outcome::Failed, kMsgCrossSectionTooSmall, 0u));
}

} // namespace
} // namespace velmora
