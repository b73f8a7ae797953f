#include <gtest/gtest.h>

#include "tests/core/Rockets.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Drag.h"
#include "geometry/FinGeometry.h"
#include "bodyflow/Grid.h"
#include "bodyflow/Solver.h"

namespace velmora {
namespace {

using testing::typicalRocket;
using testing::ScriptedProgress;

NullProgress quiet;

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
                                 std::pair{-10.0, 0.328798 + 0.110003}}) {  // even in the angle
        ConeCase c;
        c.m->AngleOfAttack = aoa;
        const DragReport r = c.run(-1);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_NEAR(c.cd, expected, 2e-6) << aoa;
        EXPECT_EQ(c.m->ReferenceArea, static_cast<float>(3.14159265 / 4));
        EXPECT_NEAR(lastWriteTo(r.writes, ControlId::SOLVER_ReNumber)->value, c.m->AmbientDensity * 300 * 15 / 3.9e-7,
                    1e-3);
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

    ConeCase c;  // a negative pressure sum: no pressure drag, and no base drag (no earlier run's kept)
    c.flux.fill(-c.flux(1));
    c.m->BaseDragCoefficient = 0.25f;
    ASSERT_EQ(c.run(1).outcome, Outcome::Done);
    EXPECT_EQ(std::tuple(c.cd, c.m->BaseDragCoefficient), std::tuple(0.0f, 0.0f));
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
        {[](Module1& m) { m.SurfaceFinishCode = 0; },
         "No fin drag. Finish quality required. No launch-lug drag. Finish quality required", true},
        {[](Module1& m) { m.FinTipDistance = 0; }, "No fin drag. Distance to fin tip required", true},
        {[](Module1& m) { m.FinRootDistance = 0; }, "No fin drag. Distance to fin root required", true},
        // A triangle whose tip lies one root chord behind the nose tip: its root distance, derived, is 0.
        {[](Module1& m) { m.FinPlanformCode = 1; m.FinTipDistance = 3; }, kMsgTriangleTipDistance, true},
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
        // The lug drag still counts when the body is known and the lug lacks nothing; a fin size refused (the
        // triangle's tip distance) leaves out fins and lug, as every size out of range does.
        const bool sizeRefused = message == kMsgTriangleTipDistance;
        const bool lugCounts = finBoxesEmptied && m->SurfaceFinishCode != 0 && !sizeRefused;
        for (ControlId box :
             {ControlId::SOLVER_FinSurfaceDrag, ControlId::SOLVER_FinInterferenceDrag, ControlId::SOLVER_LaunchLugDrag}) {
            const WindowWrite* w = lastWriteTo(r.writes, box);
            const bool emptied = finBoxesEmptied && !(lugCounts && box == ControlId::SOLVER_LaunchLugDrag);
            EXPECT_EQ(w ? w->action == WindowAction::Empty : false, emptied) << message << controlName(box);
        }
        // Totals without the fin components (and the lug's when it lacks).
        EXPECT_EQ(std::tuple(m->FinSurfaceDragCoefficient, m->FinDragForce, m->FinRootLeadingEdgeX,
                             m->LaunchLugDragCoefficient > 0, m->ReferenceArea != 0.5f),
                  std::tuple(0.0f, 0.0, 42.0, lugCounts, finBoxesEmptied && !sizeRefused)) << message;
        EXPECT_FLOAT_EQ(m->TotalDragCoefficient, 0.3f + m->LaunchLugDragCoefficient);
        EXPECT_NEAR(m->BodyDragForce, 0.3 * 0.5 * 0.002378 * 300 * 300 * m->ReferenceArea, 1e-5);
    }
}

// A lug entered without a length (either diameter alone, or both) gives no lug drag, in the total neither, and panel 2
// names the length; the fins keep their drag. A whole lug counts, no lug at all says nothing.
TEST(DragTest, LugWithoutLengthGivesNoLugDragAndSaysSo)
{
    const struct { double length, outer; float inner; bool named, counts; } rows[] = {
        {0, 0.25, 0.2f, true, false}, {0, 0.25, 0, true, false}, {0, 0, 0.2f, true, false},
        {1, 0.25, 0.2f, false, true}, {0, 0, 0, false, false}};
    for (const auto& row : rows) {
        auto m = finnedRocket();
        m->LaunchLugLength = row.length, m->LaunchLugOuterDiameter = row.outer, m->LaunchLugInnerDiameter = row.inner;
        ScriptedProgress p;
        const DragReport r = CdFnMn(*m, 300, p);
        const auto said = row.named ? std::vector<PanelText>{{2, kMsgNoLugLength}} : std::vector<PanelText>{};
        const bool empty = lastWriteTo(r.writes, ControlId::SOLVER_LaunchLugDrag)->action == WindowAction::Empty;
        EXPECT_EQ(std::tuple(p.panels, empty, m->LaunchLugDragCoefficient > 0, m->FinSurfaceDragCoefficient > 0.01f),
                  std::tuple(said, row.named, row.counts, true)) << &row - rows;
        EXPECT_FLOAT_EQ(m->TotalDragCoefficient, 0.3f + m->FinSurfaceDragCoefficient +
                                                     m->FinInterferenceDragCoefficient + m->LaunchLugDragCoefficient);
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
    EXPECT_NEAR(lastWriteTo(r.writes, ControlId::SOLVER_FORCE)->value,
                m->TotalDragCoefficient * q * static_cast<float>(s), 1e-9);
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::PressureCenter_FINAOAFORCES)->value, 2.5);  // kept at an angle
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
    const ControlId order[] = {ControlId::SOLVER_FinInterferenceDrag, ControlId::SOLVER_LaunchLugDrag,
                               ControlId::SOLVER_FinSurfaceDrag, ControlId::SOLVER_FORCE, ControlId::SOLVER_TotalCd};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(r.writes[r.writes.size() - 5 + i], (WindowWrite{order[i], WindowAction::Empty, 0, {}, {}}));

    m->Pi = 3.14159265;
    m->ReferenceArea = static_cast<float>(3.14159265 / 4);
    m->FinSurfaceDragCoefficient = 0.05f;
    m->FinInterferenceDragCoefficient = 0.02f;
    m->LaunchLugDragCoefficient = 0.03f;  // total 0.4
    m->BodyStationCount = 3;
    m->BodyStationRadius(2) = m->BodyStationRadius(3) = 0.5;
    EXPECT_NEAR(lastWriteTo(TOTALDRAG(*m, 300, p).writes, ControlId::SOLVER_CdMax)->value, 0.4, 1e-6);  // the tube
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
