#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "model/Module1.h"
#include "bodyflow/BodyFlow.h"
#include "bodyflow/Drag.h"
#include "bodyflow/Grid.h"

namespace velmora {
namespace {

class RecordingProgress : public Progress {
public:
    void status(int panel, const std::string& text) override { panels.push_back({panel, text}); }
    std::vector<PanelText> panels;
};

// Conical nose 3, diameter 1, tube 12 on a 23-node grid (DX = 0.75), with the
// stations in the project state and every panel's momentum value rho V^2.
struct ConeCase {
    std::unique_ptr<Module1> m = makeModule1();
    Array1<float, 100> area;
    Array1<float, 5000> flux;

    explicit ConeCase(double transitionLength = 0, double transitionDiameter = 0)
    {
        setStartupDefaults(*m);
        m->NoseConeLength = 3;
        m->NoseConeDiameter = 1;
        m->BodyTubeLength = 12;
        m->TransitionLength = transitionLength;
        m->TransitionDiameter = transitionDiameter;
        m->MeshSizeUserSet = 1;
        m->MeshAxialNodeCount = m->MeshRadialNodeCount = 23;
        m->FreeStreamVelocity = 300;
        NullProgress np;
        EXPECT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
        const auto st = bodyStationsFromGrid(*m);
        m->BodyStationCount = static_cast<int16_t>(st.size());
        for (std::size_t k = 0; k < st.size(); ++k) {
            m->BodyStationX(static_cast<long>(k) + 1) = st[k].x;
            m->BodyStationRadius(static_cast<long>(k) + 1) = st[k].radius;
            area(static_cast<long>(k) + 1) = static_cast<float>(3.14159265 * st[k].radius * st[k].radius);
        }
        flux.fill(static_cast<float>(m->AmbientDensity * 300.0 * 300.0));
    }
    DragReport run(float& cd, RecordingProgress& p)
    {
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
        ASSERT_EQ(c.m->BodyStationCount, 21);
        c.m->AngleOfAttack = aoa;
        RecordingProgress p;
        float cd = -1;
        const DragReport r = c.run(cd, p);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_NEAR(cd, expected, 2e-6) << aoa;
        EXPECT_TRUE(p.panels.empty());
        EXPECT_FLOAT_EQ(c.m->BaseDragCoefficient, static_cast<float>(0.029 / std::sqrt(static_cast<double>(cd))));
        EXPECT_EQ(c.m->ReferenceArea, static_cast<float>(3.14159265 / 4));
        ASSERT_EQ(r.writes.size(), 1u);
        EXPECT_EQ(r.writes[0].control, "SOLVER.ReNumber");
        EXPECT_NEAR(r.writes[0].value, c.m->AmbientDensity * 300 * 15 / 3.9e-7, 1e-3);
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
        RecordingProgress p;
        float cd = 0;
        ASSERT_EQ(c.run(cd, p).outcome, Outcome::Done);
        const double expected = std::isnan(ratio) ? 0.5 : ratio * ratio * ratio * 0.029 / std::sqrt(static_cast<double>(cd));
        EXPECT_NEAR(c.m->BaseDragCoefficient, expected, 1e-6) << ratio;
    }

    ConeCase c;  // a steep negative angle: no pressure drag, base drag not recomputed
    c.m->AngleOfAttack = -60;
    c.m->BaseDragCoefficient = 0.25f;
    RecordingProgress p;
    float cd = 1;
    ASSERT_EQ(c.run(cd, p).outcome, Outcome::Done);
    EXPECT_EQ(cd, 0.0f);
    EXPECT_EQ(p.panels, (std::vector<PanelText>{{1, "Possible base flow separation. Body tube Cd=0"}}));
    EXPECT_EQ(c.m->BaseDragCoefficient, 0.25f);

    ConeCase none;  // broken arithmetic (no flow) publishes nothing
    none.m->FreeStreamVelocity = 0;
    none.m->ReferenceArea = 7;
    EXPECT_EQ(none.run(cd, p).outcome, Outcome::Failed);
    EXPECT_EQ(cd, 0.0f);
    EXPECT_EQ(none.m->ReferenceArea, 7.0f);
}

// A complete set of fin and lug inputs: 3 tapered fins, streamlined edges,
// good finish.
std::unique_ptr<Module1> finnedRocket()
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseConeLength = 3;
    m->NoseConeDiameter = 1;
    m->BodyTubeLength = 12;
    m->FinThickness = 0.1;
    m->FinRootChord = 2;
    m->FinSpan = 1.5;
    m->FinTipChord = 1.0f;
    m->FinTipDistance = 13;
    m->FinRootDistance = 12.5f;
    m->LaunchLugLength = 1;
    m->LaunchLugOuterDiameter = 0.25;
    m->LaunchLugInnerDiameter = 0.2f;
    m->NoseTipX = 1.5;
    m->BaseDragCoefficient = 0.1f;
    m->BodyPressureDragCoefficient = 0.2f;
    m->FreeStreamVelocity = 300;
    return m;
}

TEST(DragTest, FinDragChecksInOrder)
{
    struct Case {
        std::function<void(Module1&)> spoil;
        const char* message;
        bool finBoxesEmptied;
    };
    const Case cases[] = {
        {[](Module1& m) { m.NoseConeLength = 0; }, "Please enter nose cone length.", false},
        {[](Module1& m) { m.NoseConeDiameter = 0; }, "Please enter nose cone diameter.", false},
        {[](Module1& m) { m.BodyTubeLength = 0; }, "Please enter body tube length.", false},
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
        {[](Module1& m) { m.FinPlanformCode = 1; m.FinTipDistance = 2; }, "No fin drag. Distance to fin root required", true},
    };
    for (const auto& c : cases) {
        auto m = finnedRocket();
        c.spoil(*m);
        m->FinSurfaceDragCoefficient = 0.7f;
        m->ReferenceArea = 0.5f;
        m->FinRootLeadingEdgeX = 42;
        m->FinDragForce = 9;
        m->FlowSolutionStatus = "";
        RecordingProgress p;
        const DragReport r = CdFnMn(*m, 300, p);
        ASSERT_EQ(p.panels.size(), 1u) << c.message;
        EXPECT_EQ(p.panels[0], (PanelText{2, c.message}));
        for (const char* box : {"SOLVER.FinSurfaceDrag", "SOLVER.FinInterferenceDrag", "SOLVER.LaunchLugDrag"}) {
            const WindowWrite* w = lastWriteTo(r.writes, box);
            EXPECT_EQ(w ? w->action == WindowAction::Empty : false, c.finBoxesEmptied) << c.message << box;
        }
        // Totals without the fin and lug components, on the old reference area.
        EXPECT_EQ(m->FinSurfaceDragCoefficient, 0.0f);
        EXPECT_EQ(m->LaunchLugDragCoefficient, 0.0f);
        EXPECT_FLOAT_EQ(m->TotalDragCoefficient, 0.3f);
        EXPECT_EQ(m->ReferenceArea, 0.5f);
        EXPECT_EQ(m->FinRootLeadingEdgeX, 42);
        EXPECT_EQ(m->FinDragForce, 0.0);
        EXPECT_NEAR(m->BodyDragForce, 0.3 * 0.5 * 0.002378 * 300 * 300 * 0.5, 1e-5);
        EXPECT_NEAR(lastWriteTo(r.writes, "PressureCenter.BODYFORCES")->value, m->BodyDragForce, 1e-12);
    }
}

TEST(DragTest, FinAndLugDragComponents)
{
    auto m = finnedRocket();
    m->AngleOfAttack = 4;
    m->FinNormalForce = 2.5;
    RecordingProgress p;
    DragReport r = CdFnMn(*m, 300, p);
    EXPECT_TRUE(p.panels.empty());
    const double s = 3.14159265 / 4;
    EXPECT_EQ(m->ReferenceArea, static_cast<float>(s));
    EXPECT_DOUBLE_EQ(m->FinMeanChord, 1.5);
    // Streamlined edges: 0.01 of the planform area whatever the thickness.
    EXPECT_FLOAT_EQ(m->FinSurfaceDragCoefficient, static_cast<float>(3 * 1.5 * 1.5 * 0.01 / s));
    EXPECT_FLOAT_EQ(m->FinInterferenceDragCoefficient, static_cast<float>(3 * (1 * 2 * 0.01 / s) / 2));
    // Re on nose + tube = 2.74e7: turbulent friction on the lug's wetted area.
    const double re = m->AmbientDensity * 300 * 15 / 3.9e-7;
    const double front = (0.0625 - static_cast<double>(0.2f) * 0.2f) * 3.14159265 / 4;
    const double wetted = 3.14159265 * (0.25 + static_cast<double>(0.2f));
    EXPECT_FLOAT_EQ(m->LaunchLugDragCoefficient,
                    static_cast<float>((1.2 * front + std::pow(10.0, -1.4 - 0.16 * std::log10(re)) * wetted) / s));
    const double q = 0.5 * m->AmbientDensity * 300 * 300;
    EXPECT_NEAR(lastWriteTo(r.writes, "SOLVER.FORCE")->value, m->TotalDragCoefficient * q * static_cast<float>(s), 1e-9);
    EXPECT_EQ(lastWriteTo(r.writes, "PressureCenter.FINAOAFORCES")->value, 2.5);  // kept at an angle
    EXPECT_EQ(lastWriteTo(r.writes, "PressureCenter.LUGFORCES")->pattern, "#####.###");
    EXPECT_EQ(m->FinTipTrailingEdgeY, 2.0);  // corner points with the root on the tube

    auto bare = finnedRocket();  // unpainted: 1.25 times every component
    bare->SurfaceFinishCode = 1;
    bare->FinEdgeCode = 1;       // square edges: 0.875 t/c
    bare->FinNormalForce = 2.5;
    CdFnMn(*bare, 300, p);
    EXPECT_FLOAT_EQ(bare->FinSurfaceDragCoefficient, static_cast<float>(1.25 * 3 * 1.5 * 1.5 * 0.875 * 0.05 / s));
    EXPECT_FLOAT_EQ(bare->LaunchLugDragCoefficient, 1.25f * m->LaunchLugDragCoefficient);
    EXPECT_EQ(bare->FinNormalForce, 0.0);  // zero angle of attack

    auto good = finnedRocket(), waxed = finnedRocket();  // Re 3.66e5: laminar only on a waxed finish
    waxed->SurfaceFinishCode = 3;
    CdFnMn(*good, 4, p);
    CdFnMn(*waxed, 4, p);
    EXPECT_EQ(good->FinSurfaceDragCoefficient, waxed->FinSurfaceDragCoefficient);
    const double laminar = std::pow(10.0, 0.1836 - 0.51 * std::log10(good->AmbientDensity * 4 * 15 / 3.9e-7));
    EXPECT_FLOAT_EQ(waxed->LaunchLugDragCoefficient, static_cast<float>((1.2 * front + laminar * wetted) / s));
    EXPECT_LT(waxed->LaunchLugDragCoefficient, good->LaunchLugDragCoefficient);
    auto still = finnedRocket();  // no flow, no friction: the lug's frontal drag alone
    CdFnMn(*still, 0, p);
    EXPECT_FLOAT_EQ(still->LaunchLugDragCoefficient, static_cast<float>(1.2 * front / s));

    EXPECT_EQ(r.outcome, Outcome::Done);
    auto huge = finnedRocket();  // a reference area beyond the single range fails the routine
    huge->NoseConeDiameter = 1e20;
    EXPECT_EQ(CdFnMn(*huge, 300, p).outcome, Outcome::Failed);
}

TEST(DragTest, StaleFlowAndLargestCrossSection)
{
    auto m = finnedRocket();
    m->FlowSolutionStatus = "SOLVE NEW FLOW";
    RecordingProgress p;
    DragReport r = CdFnMn(*m, 300, p);
    const char* order[] = {"SOLVER.FinInterferenceDrag", "SOLVER.LaunchLugDrag", "SOLVER.FinSurfaceDrag",
                           "SOLVER.FORCE", "SOLVER.TotalCd"};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(r.writes[r.writes.size() - 5 + i], (WindowWrite{order[i], WindowAction::Empty, 0, {}, {}}));
    EXPECT_EQ(lastWriteTo(r.writes, "PressureCenter.CXFORCES")->value, m->TotalDragCoefficient);

    m->Pi = 3.14159265;
    m->ReferenceArea = static_cast<float>(3.14159265 / 4);
    m->FinSurfaceDragCoefficient = 0.05f;
    m->FinInterferenceDragCoefficient = 0.02f;
    m->LaunchLugDragCoefficient = 0.03f;  // total 0.4
    m->BodyStationCount = 3;
    m->BodyStationRadius(2) = m->BodyStationRadius(3) = 0.5;
    r = TOTALDRAG(*m, 300, p);
    ASSERT_EQ(r.writes.size(), 1u);
    EXPECT_EQ(r.writes[0].control, "SOLVER.CdMax");
    EXPECT_EQ(r.writes[0].pattern, "##.###");
    EXPECT_NEAR(r.writes[0].value, 0.4, 1e-6);  // largest section is the tube
    m->BodyStationRadius(3) = 0.8;              // a flare beyond D lowers it
    EXPECT_NEAR(TOTALDRAG(*m, 300, p).writes[0].value, 0.4 / (1.6 * 1.6), 1e-6);
    m->BodyStationCount = 0;                    // no stations, no cross-section
    m->BodyStationRadius(1) = 0;
    EXPECT_EQ(TOTALDRAG(*m, 300, p).writes[0].action, WindowAction::Empty);
}

} // namespace
} // namespace velmora
