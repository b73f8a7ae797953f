// What the main window shows after a SOLVE that did not run to its end, or
// that ran while the user changed an input: no number of that run, and a
// status bar that says what happened.
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "app/ui/SOLVER.h"
#include "finpanel/FinPanelSolver.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/FinGeometry.h"
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "tests/ui/Harness.h"

namespace velmora {

SOLVER& testing::typeRocketWithFins(Harness& h)
{
    SOLVER& s = h.start();
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    Harness::pick(body.NoseShape, "TANGENT OGIVE");
    h.typeBody("3", "1", "12");
    Harness::type(fins.DTip, "12");
    Harness::type(fins.DRoot, "11");
    Harness::type(fins.RootChord, "3");
    Harness::type(fins.TipChord, "1.5");
    Harness::type(fins.SpanLength, "2");
    Harness::type(fins.FINTHK, "0.1");
    Harness::type(s.Velocity, "300");
    Harness::type(s.ROCKETAOA, "4");
    return s;
}

namespace {

using testing::Harness;
using testing::typeRocketWithFins;

std::vector<TextBox*> resultBoxes(SOLVER& s)
{
    return {s.MachNumber, s.ReNumber, s.XLRATIOS, s.FORCE,      s.TotalCd,         s.CNFORCES,      s.CdMax,
            s.CMFORCES,   s.PressureCd, s.FinInterferenceDrag, s.BaseCd, s.LaunchLugDrag, s.FinSurfaceDrag};
}

void expectAllEmpty(SOLVER& s)
{
    for (TextBox* b : resultBoxes(s))
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
}

// A SOLVE whose body flow is refused, fails or is aborted: every result box
// empty (also those the run before had filled), panel 1 says what happened,
// the reason stays in panel 2.
struct Unfinished {
    const char* name;
    std::function<void(Harness&, SOLVER&)> arrange;
    const char* panel1;
    const char* panel2;
};

TEST(HonestResults, UnfinishedBodyFlowShowsNoNumberAndSaysWhy)
{
    const Unfinished cases[] = {
        {"compressible Mach 0.85",
         [](Harness&, SOLVER& s) {
             Harness::pick(s.Compressible, "COMPRESSIBLE");
             Harness::type(s.Velocity, "949");
         },
         "CFD solution not found.", nullptr},
        {"velocity 1e300", [](Harness&, SOLVER& s) { Harness::type(s.Velocity, "1e300"); },
         "CFD solution not found.", "Invalid flight condition."},
        {"grid refuses a negative transition",
         [](Harness& h, SOLVER&) { Harness::type(h.forms->get<BODYTUBE>().BaseLength, "-3"); },
         "CFD solution not found.", kMsgBadDimension},
        {"ABORT during the elimination",
         [](Harness& h, SOLVER& s) {
             h.answers = {MsgAnswer::Ok};
             s.solveStepHook = [&s](SolveStep step) {
                 if (step == SolveStep::BodyFlow)
                     QTimer::singleShot(0, &s, [&s] { QTest::mouseClick(s.Abort, Qt::LeftButton); });
             };
         },
         "CFD analysis aborted.", ""},
    };
    for (const Unfinished& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
        c.arrange(h, s);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_NE(s.lastSolve.outcome, Outcome::Done);
        expectAllEmpty(s);
        EXPECT_EQ(s.StatusBar1->panel(1), c.panel1);
        if (c.panel2) {
            EXPECT_EQ(s.StatusBar1->panel(2), c.panel2);
        }
        EXPECT_EQ(h.state->FlowSolutionStatus, "SOLVE NEW FLOW");
        s.solveStepHook = nullptr;
    }
}

// A refused grid keeps its reason in sight, in the main and the body window,
// and no panel still says the work is in progress.
TEST(HonestResults, RefusedGridKeepsItsReason)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    Harness::type(body.BodyLength, "-3");
    EXPECT_EQ(s.StatusBar1->panel(1), kMsgMeshingNotComplete);
    EXPECT_EQ(s.StatusBar1->panel(2), kMsgBadDimension);
    EXPECT_EQ(body.StatusBar1->panel(2), kMsgBadDimension);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution not found.");
    EXPECT_EQ(s.StatusBar1->panel(2), kMsgBadDimension);
    // Mended, the body window invites a solve again.
    Harness::type(body.BodyLength, "12");
    EXPECT_EQ(body.StatusBar1->panel(1), "User may perform CFD or modify Free-Form geometry.");
    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");
}

// An angle or velocity typed while SOLVE lets events run (in the body-flow
// elimination, or in the pause before the fin step): the run shows nothing.
TEST(HonestResults, InputTypedDuringTheRunShowsNothingOfIt)
{
    for (auto [during, angle] : {std::pair{SolveStep::BodyFlow, true}, {SolveStep::EventPump, false}}) {
        SCOPED_TRACE(std::string(solveStepName(during)) + (angle ? " angle" : " velocity"));
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
        s.solveStepHook = [&s, during = during, angle = angle](SolveStep step) {
            if (step != during) return;
            QTimer::singleShot(0, &s, [&s, angle] {
                Harness::type(angle ? s.ROCKETAOA : s.Velocity, angle ? "8" : "250");
            });
        };
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(s.lastSolve.outcome, Outcome::Refused);
        expectAllEmpty(s);
        EXPECT_EQ(s.StatusBar1->panel(1), "New CFD solution required.");
        s.solveStepHook = nullptr;
    }
}

// A negative fin or lug size: RETURN does not call the fin data complete,
// SOLVE refuses with the reason, and no drag is shown.
TEST(HonestResults, NegativeFinAndLugSizesAreRefused)
{
    using Pick = TextBox* FinAnalysis::*;
    const std::pair<const char*, Pick> boxes[] = {
        {"SpanLength", &FinAnalysis::SpanLength}, {"DRoot", &FinAnalysis::DRoot}, {"IDLUGS", &FinAnalysis::IDLUGS}};
    for (const auto& [name, box] : boxes) {
        SCOPED_TRACE(name);
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        FinAnalysis& fins = h.forms->get<FinAnalysis>();
        Harness::type(fins.*box, "-3");
        Harness::press(fins.Toolbar1, "RETURN");
        EXPECT_EQ(s.StatusBar1->panel(2), kMsgBadFinDimension);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(s.lastSolve.outcome, Outcome::Refused);
        EXPECT_EQ(s.StatusBar1->panel(2), kMsgBadFinDimension);
        expectAllEmpty(s);
    }
}

// Lists that act on a pick take no typed text.
TEST(HonestResults, PickDrivenListsTakeNoTypedText)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    for (ComboBox* list : {s.Speed, s.DomainSize, h.forms->get<BODYTUBE>().NoseShape}) {
        SCOPED_TRACE(list->objectName().toStdString());
        const QString shown = list->Text();
        Harness::type(list->lineEdit(), "500");
        EXPECT_EQ(list->Text(), shown);
    }
    EXPECT_EQ(h.state->MeshAxialNodeCount, 20);
    // Code still writes its own texts.
    s.DomainSize->setText("20");
    EXPECT_EQ(s.DomainSize->Text(), "20");
}

// Source panels: the fin results are 0 and both windows say why; a vortex
// run afterwards gives what it gave before.
TEST(HonestResults, SourcePanelsShowTheZeroAndTheReason)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    PanelAero& panel = h.forms->get<PanelAero>();
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    const double vortexSlope = h.state->FinNormalForceSlope;
    const QString vortexCn = s.CNFORCES->text();
    ASSERT_GT(vortexSlope, 0);

    // (The method buttons of the fin-section window set the choice and reset.)
    h.state->PanelMethodChoice = "SOURCE";
    s.ClearData(h.state->FreeStreamVelocity);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.lastSolve.outcome, Outcome::Done);
    EXPECT_EQ(h.state->FinNormalForceSlope, 0);
    EXPECT_EQ(s.StatusBar1->panel(2), finpanel::kMsgSourceNoNormalForce);
    EXPECT_EQ(panel.StatusBar1->panel(2), finpanel::kMsgSourceNoNormalForce);

    h.state->PanelMethodChoice = "VORTEX";
    s.ClearData(h.state->FreeStreamVelocity);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(h.state->FinNormalForceSlope, vortexSlope);
    EXPECT_EQ(s.CNFORCES->text(), vortexCn);
    EXPECT_EQ(panel.StatusBar1->panel(2), "");
}

} // namespace
} // namespace velmora
