#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "platform/ui/Printing.h"
#include "stability/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Commands = testing::Started;

void setBody(Module1& m, double nose, double diameter, double tube)
{
    m.NoseConeLength = nose;
    m.NoseConeDiameter = diameter;
    m.BodyTubeLength = tube;
}

struct Gate {
    const char* key;
    double velocity;
    bool body;
    bool current;    // solution current
    bool opens;
    const char* refusal;
};

TEST(CommandGates, GatingMatrix)
{
    const Gate gates[] = {
        {"PLOT", 0, true, true, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, false, true, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, true, false, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, true, true, true, ""},
        {"CP", 0, true, true, false, "Please enter velocity, dimensions, or perform body/fin CFD."},
        {"CP", 300, true, false, false, "Please enter velocity, dimensions, or perform body/fin CFD."},
        {"CP", 300, true, true, true, ""},
        {"BASE FLOW", 0, true, true, false, "Please enter rocket velocity and rocket dimensions"},
        {"BASE FLOW", 300, false, true, false, "Please enter rocket velocity and rocket dimensions"},
        {"BASE FLOW", 300, true, false, true, ""}, // the base-flow window refuses its own solve
        {"FINS", 0, false, false, false, "Please enter all body tube dimensions."},
        {"FINS", 0, true, false, true, ""},
    };
    for (const Gate& g : gates) {
        SCOPED_TRACE(std::string(g.key) + " v=" + std::to_string(g.velocity) + (g.body ? " body" : "") +
                     (g.current ? " current" : " stale"));
        Harness h;
        SOLVER& s = h.start();
        Module1& m = *h.state;
        m.FreeStreamVelocity = g.velocity;
        if (g.body) setBody(m, 3, 1, 12);
        m.FlowSolutionStatus = m.FlowSolutionStatusText = g.current ? "" : "SOLVE NEW FLOW";
        s.StatusBar1->setPanel(1, "panel one");
        s.Toolbar1_ButtonClick(g.key);
        EXPECT_EQ(s.StatusBar1->panel(2), g.refusal);
        EXPECT_EQ(s.StatusBar1->panel(1), "panel one");
        EXPECT_EQ(!ModalSeam::instance().shownWindows.empty(), g.opens);
    }
}

TEST_F(Commands, BaseFlowCopiesTheStateAndShowsTheViscosity)
{
    m.FlowSolutionStatus = "SOLVE NEW FLOW";
    s.Toolbar1_ButtonClick("BASE FLOW"); // refused: velocity 0
    EXPECT_EQ(m.MainFlowStateCopy, "SOLVE NEW FLOW");
    EXPECT_FALSE(h.forms->isLoaded<NavierStokes>());

    m.FreeStreamVelocity = 300;
    setBody(m, 3, 1, 12);
    m.FlowSolutionStatus = "";
    s.Toolbar1_ButtonClick("BASE FLOW");
    EXPECT_EQ(m.MainFlowStateCopy, "");
    ASSERT_TRUE(h.forms->isLoaded<NavierStokes>());
    EXPECT_EQ(h.forms->get<NavierStokes>().AMUIN->text(), ".000164003");
}

TEST_F(Commands, AbortAsksAndSetsTheFlag)
{
    h.answers = {MsgAnswer::Ok};
    QTest::mouseClick(s.Abort, Qt::LeftButton);
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(testing::said(h.messages()[0]), "CFD Analysis will be terminated. | Abort Solution");
    EXPECT_EQ(h.state->AbortRequest, "YES");
    EXPECT_EQ(s.StatusBar1->panel(2), "By clicking OK the user will terminate CFD and loose all data.");

    h.state->AbortRequest = "NO";
    h.answers = {MsgAnswer::Cancel};
    QTest::mouseClick(s.Abort, Qt::LeftButton);
    EXPECT_EQ(h.state->AbortRequest, "NO");
    EXPECT_EQ(s.StatusBar1->panel(2), "");
}

TEST_F(Commands, ExitAsksAndEndsOnlyOnOk)
{
    int exits = 0;
    h.forms->setExitHook([&] { ++exits; });
    h.answers = {MsgAnswer::Cancel};
    s.mnuExit->trigger();
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(h.forms->quitRequested());
    EXPECT_EQ(testing::said(h.messages().back()), "Are you sure? | Exit Velmora");

    // The title-bar close asks the same question.
    h.answers = {MsgAnswer::Cancel};
    s.show();
    EXPECT_FALSE(s.close());
    EXPECT_EQ(h.messages().size(), 2u);
    EXPECT_TRUE(s.isVisible());

    h.answers = {MsgAnswer::Ok};
    s.mnuQuitCFD->trigger();
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(h.forms->quitRequested());
}

TEST_F(Commands, BusyComputationRefusesCommandsButNotAbortOrInput)
{
    m.FreeStreamVelocity = 300;
    setBody(m, 3, 1, 12);
    m.FlowSolutionStatus = "";
    BusyGuard::Scope busy(h.forms->busy(), "SOLVE");
    for (const char* key : {"BODY", "FINS", "PLOT", "CP", "BASE FLOW"}) {
        s.StatusBar1->setPanel(2, "");
        s.Toolbar1_ButtonClick(key);
        EXPECT_EQ(s.StatusBar1->panel(2), "Please wait: SOLVE is in progress.") << key;
    }
    s.IterateBtn_Click();
    EXPECT_TRUE(ModalSeam::instance().shownWindows.empty());
    // HELP still opens; the input boxes and ABORT stay live.
    s.Toolbar1_ButtonClick("HELP");
    EXPECT_EQ(ModalSeam::instance().shownWindows.back(), "VelmoraHelp");
    Harness::type(s.Velocity, "250");
    EXPECT_EQ(m.EnteredVelocity, 250);
    h.answers = {MsgAnswer::Ok};
    s.Abort_Click();
    EXPECT_EQ(m.AbortRequest, "YES");
}

TEST(CommandGates, BodyLaysOutTheBodyWindowByGeometry)
{
    for (int16_t geometry : {0, 1}) {
        Harness h;
        SOLVER& s = h.start();
        h.state->ActiveBodyGeometry = geometry;
        h.state->SweepDragCoefficients(1) = 0.5;
        s.Toolbar1_ButtonClick("BODY");
        BODYTUBE& body = h.forms->get<BODYTUBE>();
        EXPECT_EQ(h.state->SweepDragCoefficients(1), 0); // the stored sweep is stale now
        EXPECT_EQ(body.BaseDiameter->isHidden(), geometry == 1);
        EXPECT_EQ(ModalSeam::instance().shownWindows.back(), "BODYTUBE");
    }
}

TEST_F(Commands, InformationWindowsFromTheMenus)
{
    s.mnuInstructions->trigger();
    s.mnuAboutCFD->trigger();
    s.mnuReferences->trigger();
    s.mnuVariables->trigger();
    const auto& shown = ModalSeam::instance().shownWindows;
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(std::vector<QString>(shown.end() - 4, shown.end()),
              (std::vector<QString>{"VelmoraHelp", "AboutVelmora", "References", "FluidVariables"}));
}

} // namespace
} // namespace velmora
