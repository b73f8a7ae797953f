// The main window: start-up, units, flight condition, resets and its commands.
#include <QActionGroup>
#include <QEventLoop>
#include <QTimer>

#include <cfloat>
#include <cstdio>
#include <tuple>

#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "sweep/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

using Units = testing::Started;
using FlightCondition = testing::Started;
using Commands = testing::Started;

TEST(StartUp, QuitOnTheWelcomeWindowEndsBeforeAnyDefault)
{
    Harness h;
    h.onShow["Welcome"] = [](Form& f) { static_cast<Welcome&>(f).QuitBtn_Click(); };
    h.forms->get<SOLVER>();
    EXPECT_EQ(std::tuple(h.forms->quitRequested(), h.forms->isLoaded<SOLVER>(), h.state->AnalysisUnits),
              std::tuple(true, false, ""));
}

// A test whose program ended leaves the next one's event loops running: each waits for its own exit.
TEST(StartUp, EventLoopsRunAfterTheProgramEnded)
{
    const std::pair<const char*, std::function<void(Harness&)>> ends[] = {
        {"welcome Quit", [](Harness& h) {
             h.onShow["Welcome"] = [](Form& f) { static_cast<Welcome&>(f).QuitBtn_Click(); };
             h.forms->get<SOLVER>();
         }},
        {"confirmed Exit", [](Harness& h) { h.start().mnuExit->trigger(); }},
    };
    for (const auto& [name, end] : ends) {
        {
            Harness h;
            end(h);
            ASSERT_TRUE(h.forms->quitRequested()) << name;
        }
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&loop] { loop.exit(7); });
        EXPECT_EQ(loop.exec(), 7) << name;
    }
}

// One representative of each kind of start-up default: lists, unit labels, the state and the other windows' boxes.
TEST(StartUp, Snapshot)
{
    Harness h;
    SOLVER& s = h.start();
    Module1& m = *h.state;
    EXPECT_FALSE(h.forms->isLoaded<Welcome>()); // Continue unloaded it
    EXPECT_EQ(std::tuple(s.RATIOS->Text(), s.DomainSize->Text()), std::tuple("SEA LEVEL", "20"));
    EXPECT_EQ(std::tuple(m.FlowSolutionStatus, m.PanelSolutionStatus, m.BasePressureAvailable, m.AbortRequest),
              std::tuple("", "", "FALSE", "NO"));
    EXPECT_EQ(std::tuple(m.NoseShapeName, m.FinPlanformCode, m.PanelMethodChoice, m.PanelCount),
              std::tuple("CONICAL", 3, "VORTEX", 100));
    // The fluid constants and the free-form editor are built on first access, holding what start-up wrote.
    EXPECT_FALSE(h.forms->isLoaded<FluidVariables>() || h.forms->isLoaded<GeoBody>());
    EXPECT_EQ(h.forms->get<FluidVariables>().Density->text(), "2.378E-03");
    EXPECT_EQ(h.forms->get<GeoBody>().DLABEL->text(), "FT"); // the unit caption's handler ran
    EXPECT_TRUE(h.messages().empty());
}

// The plot and sweep windows are built on first access, holding start-up's texts, layout and sweep plot; their
// boxes' handlers, run on those texts in start-up's order, change nothing shown and nothing in the project.
TEST(StartUp, DeferredPlotAndSweepWindowsMatchTheirHandlers)
{
    Harness h;
    h.start();
    Module1& m = *h.state;
    EXPECT_FALSE(h.forms->isLoaded<PlotResults>() || h.forms->isLoaded<ITERATION>());
    auto state = [&m] {
        return std::vector<double>({m.VectorScale, double(m.VectorScaleUserSet), m.ContourLevelCount,
                                    double(m.ContourLevelsUserSet), m.SweepStepCount, m.SweepAoaIncrement,
                                    m.SweepVelocityIncrement, m.SweepStartAoa, m.SweepStartVelocity,
                                    double(m.SweepStepsStored), m.SweepPlotX(1), m.SweepPlotXMax, m.SweepPlotYMax});
    };
    const std::vector<double> started = state();
    EXPECT_EQ(started, std::vector<double>({1, 1, 20, 1, 1, 3, 100, 1, 300, 0, 0, started[11], started[12]}));

    PlotResults& plot = h.forms->get<PlotResults>();
    ITERATION& sweep = h.forms->get<ITERATION>();
    auto shown = [&] {
        QStringList out;
        for (TextBox* box : {plot.Vscale, plot.NLEVELS, plot.NLEVELS2, sweep.MAXLOOPS,
                               sweep.AOAINC, sweep.VELINC, sweep.AOAINITIAL, sweep.VINITIAL})
            out << box->text();
        for (QLabel* l : {sweep.PlotType, sweep.MINAOA, sweep.XMIDDLE, sweep.MAXAOA, sweep.MINDATA, sweep.YMIDDLE,
                          sweep.MAXDATA, sweep.LVLABEL1, sweep.LVLABEL2})
            out << l->text();
        for (QWidget* w : std::initializer_list<QWidget*>{sweep.AOAINC, sweep.VELINC, sweep.Label1, sweep.Label2,
                                                          sweep.LVLABEL2})
            out << (w->isVisibleTo(&sweep) ? "shown" : "hidden");
        return out << sweep.StatusBar1->panel(1) << sweep.StatusBar1->panel(2);
    };
    const QStringList seen = shown();
    EXPECT_EQ(seen.mid(0, 8), QStringList({"1.", "20", "20", "1", "3", "100", "1", "300"}));
    EXPECT_EQ(seen.mid(15, 7), QStringList({"FT/SEC", "FT/SEC", "shown", "hidden", "shown", "hidden", "hidden"}));
    const QImage drawn = sweep.DataPlot1->render(QSize(300, 200));

    plot.Vscale_Change();
    plot.NLEVELS_Change();
    plot.NLEVELS2_Change();
    sweep.MAXLOOPS_Change();
    sweep.AOAINC_Change();
    sweep.VELINC_Change();
    sweep.AOAINITIAL_Change();
    sweep.VINITIAL_Change();
    EXPECT_EQ(shown(), seen);
    EXPECT_EQ(state(), started);
    EXPECT_TRUE(sweep.DataPlot1->render(QSize(300, 200)) == drawn);
}

TEST_F(Units, SwitchesReconvertTheTypedVelocityKeepTheAltitudeAndRelabel)
{
    Harness::pick(s.RATIOS, "10000 FT");
    Harness::type(s.Velocity, "100");
    h.forms->get<BODYTUBE>().NoseLength->setText("2");
    Harness::pick(s.CFDUNITS, "in-lb-sec");
    EXPECT_EQ(std::tuple(m.FreeStreamVelocity, m.AltitudePressureRatio, s.checkedUnitIndex()),
              std::tuple(1200, 0.6878, 1));
    // The typed nose length is never converted.
    EXPECT_EQ(QStringList({h.forms->get<BODYTUBE>().LLABEL[1]->text(), h.forms->get<BODYTUBE>().NoseLength->text(),
                           h.forms->get<FluidVariables>().UINPUT->text(), s.StatusBar1->panel(1)}),
              QStringList({"IN", "2", "1.2E+03", "New CFD solution required."}));

    // The Units menu items are radio choices.
    s.mnuNewUnits[2]->trigger();
    EXPECT_EQ(s.mnuNewUnits[0]->actionGroup()->checkedAction(), s.mnuNewUnits[2]);
    EXPECT_EQ(QStringList({s.CFDUNITS->Text(), s.UNITLBL->text(), s.FORCELABEL->text()}),
              QStringList({"m-nt-sec", "MNS", "NT"}));

    Harness::pick(s.CFDUNITS, "ft-lb-sec");
    EXPECT_EQ(m.FreeStreamVelocity, 100);

    // An unknown code, as a damaged project file could give, falls back to ft-lb-sec.
    s.mnuNewUnits[1]->trigger();
    m.AnalysisUnits = "XYZ";
    s.INPUTUNITS(m.FreeStreamVelocity);
    EXPECT_EQ(std::tuple(s.UNITLBL->text(), m.SeaLevelSpeedOfSound), std::tuple("FPS", 1116.4));
}

// A MACH pick, and then an altitude change, read the typed number as a Mach number; other speed units keep it. A
// speed above Mach 2, typed or reached by a MACH pick, is reported and kept; a refused pick still invalidates.
TEST_F(FlightCondition, SpeedPicksReinterpretTheTypedNumberAndMachAboveTwoIsReported)
{
    Harness::type(s.Velocity, "0.5");
    Harness::pick(s.Speed, "MACH");
    EXPECT_DOUBLE_EQ(m.FreeStreamVelocity, 0.5 * 1116.4);
    EXPECT_EQ(s.Velocity->text(), "0.5");
    EXPECT_EQ(h.forms->get<ITERATION>().LVLABEL1->text(), "MACH");
    m.FlowSolutionStatus = "";
    Harness::pick(s.RATIOS, "10000 FT");
    EXPECT_NEAR(m.FreeStreamMachNumber, 0.5, 1e-6);
    EXPECT_EQ(m.FlowSolutionStatus, "SOLVE NEW FLOW");
    Harness::pick(s.Speed, "FT/SEC");
    Harness::type(s.Velocity, "300");
    Harness::pick(s.RATIOS, "SEA LEVEL");
    EXPECT_EQ(m.FreeStreamVelocity, 300);

    const QString tooFast = "PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE";
    Harness::type(s.Velocity, "2232.8"); // exactly Mach 2
    EXPECT_TRUE(h.messages().empty());
    Harness::type(s.Velocity, "3000");
    QTest::keyClick(s.Velocity, Qt::Key_Return);  // the value finished
    EXPECT_EQ(std::tuple(testing::said(h.messages()), m.FreeStreamVelocity), std::tuple(QStringList({tooFast}), 3000));
    Harness::type(s.Velocity, "300");
    m.FlowSolutionStatus = ""; // as after a solve
    Harness::pick(s.Speed, "MACH");
    EXPECT_EQ(testing::said(h.messages()), QStringList({tooFast, tooFast}));
    EXPECT_DOUBLE_EQ(m.FreeStreamVelocity, 300 * 1116.4);
    EXPECT_EQ(m.FlowSolutionStatus, "SOLVE NEW FLOW");

    // A velocity whose conversion overflows shows the largest number, never Inf, and is refused by SOLVE.
    Harness::pick(s.Speed, "MPH");
    Harness::type(s.Velocity, "1.5E308");
    EXPECT_EQ(h.forms->get<FluidVariables>().UINPUT->text(), "1.798E+308");
    h.typeBody("3", "1", "12");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(2).left(46), "Mach number 1.61E+305 is above 2, the limit of");
}

// Small angles move to half a degree; a flow-model pick, even the same one, invalidates; an overflowing
// velocity reads as 0. None of these shows the mesh overlay again.
TEST_F(FlightCondition, SmallAnglesFlowModelAndOverflowingText)
{
    s.NoMeshDefined->hide();
    Harness::type(s.ROCKETAOA, "0.3");
    EXPECT_EQ(QStringList({s.ROCKETAOA->text(), h.forms->get<PanelAero>().AOALABEL->text(), s.StatusBar1->panel(2)}),
              QStringList({".5", "AOA = .5 DEG.", "Angle of attack (AOA) reset to +0.5 degrees."}));
    Harness::type(s.ROCKETAOA, "-0.2");
    EXPECT_EQ(std::tuple(m.AngleOfAttack, s.StatusBar1->panel(2)),
              std::tuple(-0.5, "Angle of attack (AOA) reset to -0.5 degrees."));
    for (const char* t : {"0", "-0.5", "4"}) {
        Harness::type(s.ROCKETAOA, t);
        EXPECT_EQ(s.StatusBar1->panel(2), "") << t;
    }
    EXPECT_EQ(m.AngleOfAttack, 4);

    Harness::pick(s.Compressible, "COMPRESSIBLE");
    EXPECT_EQ(m.CompressibleFlow, 1);
    m.FlowSolutionStatus = "";
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    EXPECT_EQ(m.FlowSolutionStatus, "SOLVE NEW FLOW");
    Harness::type(s.Velocity, "1e999");  // beyond any number: the largest, never 0, and far above Mach 2
    QTest::keyClick(s.Velocity, Qt::Key_Return);
    EXPECT_EQ(std::tuple(m.EnteredVelocity, m.FreeStreamVelocity, m.FreeStreamMachNumber, s.NoMeshDefined->isHidden()),
              std::tuple(DBL_MAX, DBL_MAX, FLT_MAX, true));
    EXPECT_EQ(h.messages().back().prompt, "PLEASE ENTER NEW MACH NUMBER");
}

// What each reset writes, and what it leaves alone; each runs twice.
TEST(Resets, WhatEachResetClearsAndKeeps)
{
    const struct {
        const char* name;
        void (SOLVER::*reset)(double&);
        bool mainOverlay, plotOverlays, clearsDrawings;
    } cases[] = {{"ClearData", &SOLVER::ClearData, true, true, true},
                 {"CLEARDATA2", &SOLVER::CLEARDATA2, false, false, true},
                 {"CLEARDATA3", &SOLVER::CLEARDATA3, false, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        SOLVER& s = h.start();
        Module1& m = *h.state;
        PlotResults& plot = h.forms->get<PlotResults>();
        PressureCenter& cp = h.forms->get<PressureCenter>();
        // A solved-looking state.
        m.FlowSolutionStatus = m.FlowSolutionStatusText = "";
        m.PanelSolutionStatus = "SOLVED";
        m.BodyPressureDragCoefficient = 0.3f;
        m.TotalDragCoefficient = 0.5f;
        m.FinNormalForceSlope = m.FinCenterOfPressure = m.FinDragForce = m.BodyDragForce = m.FinNormalForce = 1;
        m.MeshElementCount = 722;
        for (TextBox* b : {s.TotalCd, s.CMFORCES, plot.MIN1, cp.PlotLabel, cp.BODYFORCES}) b->setText("1.5");
        for (QWidget* w : std::initializer_list<QWidget*>{s.NoMeshDefined, plot.NoMeshDefined, cp.NoMeshDefined})
            w->hide();
        PanelAero& panel = h.forms->get<PanelAero>();
        // The main and body windows' meshes first: only some resets clear those.
        PictureBox* const pictures[] = {s.MeshPlot, h.forms->get<BODYTUBE>().MeshPlot, plot.VelocityPlot, plot.LEVELS,
                                        plot.FieldProfile, cp.SurfaceProfile, panel.FinSection, panel.PLOT1};
        for (PictureBox* p : pictures) {
            p->setRecording(true);
            p->clearRecording();
        }
        h.forms->get<NavierStokes>();
        s.StatusBar1->setPanel(2, "something");
        m.AbortRequest = "YES";

        (s.*c.reset)(m.FreeStreamVelocity);
        (s.*c.reset)(m.FreeStreamVelocity);

        const double finAndForces =
            m.FinNormalForceSlope + m.FinCenterOfPressure + m.FinDragForce + m.BodyDragForce + m.FinNormalForce;
        // The total drag and the element count are kept.
        EXPECT_EQ(std::tuple(m.FlowSolutionStatusText, m.PanelSolutionStatus, m.BodyPressureDragCoefficient,
                             finAndForces, m.TotalDragCoefficient, m.MeshElementCount),
                  std::tuple("SOLVE NEW FLOW", "SOLVE NEW FLOW", 0.0f, 0.0, 0.5f, 722.0));
        EXPECT_EQ(QStringList({testing::panels(s.StatusBar1), cp.StatusBar1->panel(1)}),
                  QStringList({"New CFD solution required. | ", "New CFD solution required."}));
        // One result box per window shows the reset ran there.
        for (TextBox* b : {s.TotalCd, s.CMFORCES, plot.MIN1, cp.PlotLabel})
            EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
        EXPECT_EQ(cp.BODYFORCES->text(), "1.5"); // force boxes are kept
        EXPECT_EQ(std::tuple(s.NoMeshDefined->isHidden(), plot.NoMeshDefined->isHidden(), cp.NoMeshDefined->isHidden()),
                  std::tuple(!c.mainOverlay, !c.plotOverlays, !c.plotOverlays));
        for (size_t i = 0; i < std::size(pictures); ++i)
            EXPECT_EQ(pictures[i]->calls().empty(), i < 2 && !c.clearsDrawings)
                << pictures[i]->objectName().toStdString();
        // The base-flow window is unloaded; a reset does not load it to unload it.
        EXPECT_EQ(std::tuple(h.forms->isLoaded<NavierStokes>(), m.AbortRequest), std::tuple(false, "YES"));
    }
}

// BASE FLOW keeps the main flow's state for the base-flow window, even when refusing, and shows the viscosity there.
TEST(CommandGates, GatingMatrix)
{
    const struct {
        const char* key;
        double velocity;
        bool body, current, opens; // current: the flow solution is current
        const char* refusal;
    } gates[] = {
        {"PLOT", 0, true, true, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, false, true, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, true, false, false, "Please enter rocket data and perform CFD"},
        {"PLOT", 300, true, true, true, ""},
        {"CP", 0, true, true, false, "Please enter velocity, dimensions, or perform body/fin CFD."},
        {"CP", 300, true, false, false, "Please enter velocity, dimensions, or perform body/fin CFD."},
        {"CP", 300, true, true, true, ""},
        {"BASE FLOW", 0, true, false, false, "Please enter rocket velocity and rocket dimensions"},
        {"BASE FLOW", 300, false, true, false, "Please enter rocket velocity and rocket dimensions"},
        {"BASE FLOW", 300, true, false, true, ""}, // the base-flow window refuses its own solve
        {"FINS", 0, false, false, false, "Please enter all body tube dimensions."},
        {"FINS", 0, true, false, true, ""},
    };
    for (const auto& g : gates) {
        SCOPED_TRACE(::testing::Message() << g.key << ' ' << g.velocity << ' ' << g.body << ' ' << g.current); // row
        Harness h;
        SOLVER& s = h.start();
        Module1& m = *h.state;
        if (g.body) h.typeBody("3", "1", "12");
        m.FreeStreamVelocity = g.velocity;
        m.FlowSolutionStatus = m.FlowSolutionStatusText = g.current ? "" : "SOLVE NEW FLOW";
        s.StatusBar1->setPanel(1, "panel one");
        s.Toolbar1_ButtonClick(g.key);
        EXPECT_EQ(testing::panels(s.StatusBar1), QString("panel one | ") + g.refusal);
        EXPECT_EQ(!ModalSeam::instance().shownWindows.empty(), g.opens);
        if (std::string(g.key) != "BASE FLOW") continue;
        EXPECT_EQ(m.MainFlowStateCopy, m.FlowSolutionStatus);
        if (g.opens) {
            EXPECT_EQ(h.forms->get<NavierStokes>().AMUIN->text(), ".000164003");
        }
    }
}

// ABORT and Exit ask first and act only on OK; the title-bar close asks as Exit does. ABORT's warning goes with its
// box; with nothing running ABORT neither asks nor changes the window.
TEST_F(Commands, AbortAndExitAskFirst)
{
    s.StatusBar1->setPanel(2, "kept");
    QTest::mouseClick(s.Abort, Qt::LeftButton);
    EXPECT_EQ(std::tuple(h.messages().size(), m.AbortRequest, s.StatusBar1->panel(2)), std::tuple(0u, "NO", "kept"));
    BusyGuard::Scope running(h.forms->busy(), "SOLVE");
    h.answers = {MsgAnswer::Ok};
    QTest::mouseClick(s.Abort, Qt::LeftButton);
    EXPECT_EQ(testing::said(h.messages()), QStringList{"CFD Analysis will be terminated. | Abort Solution"});
    EXPECT_EQ(std::tuple(m.AbortRequest, s.StatusBar1->panel(2)), std::tuple("YES", ""));
    m.AbortRequest = "NO";
    h.answers = {MsgAnswer::Cancel};
    QTest::mouseClick(s.Abort, Qt::LeftButton);
    EXPECT_EQ(std::tuple(m.AbortRequest, s.StatusBar1->panel(2)), std::tuple("NO", ""));

    int exits = 0;
    h.forms->setExitHook([&] { ++exits; });
    h.answers = {MsgAnswer::Cancel};
    s.mnuExit->trigger();
    EXPECT_EQ(testing::said(h.messages().back()), "Are you sure? | Exit Velmora");
    h.answers = {MsgAnswer::Cancel};
    s.show();
    EXPECT_FALSE(s.close());
    EXPECT_EQ(std::tuple(h.messages().size(), s.isVisible(), exits, h.forms->quitRequested()),
              std::tuple(4u, true, 0, false));
    h.answers = {MsgAnswer::Ok};
    s.mnuQuitCFD->trigger();
    EXPECT_EQ(std::tuple(exits, h.forms->quitRequested()), std::tuple(1, true));
}

// While a real SOLVE lets events run, the compute commands and the mesh-size and meridian picks are refused (a
// list keeps the value in force, not the default) and HELP still opens; the run then ends as it would have.
TEST(BusyCommands, CommandsAndMeshPicksDuringSolveAreRefused)
{
    const QString busy = "Please wait: SOLVE is in progress.";
    for (bool mesh : {true, false}) {
        Harness h;
        SOLVER& s = h.typeRocket();
        ComboBox* list = mesh ? s.DomainSize : s.MERIDIANS;
        Harness::pick(list, mesh ? "30" : "12");
        bool ran = false;
        QTimer::singleShot(0, &s, [&] {
            ran = true;
            Harness::pick(list, mesh ? "40" : "10");
            EXPECT_EQ(std::tuple(s.StatusBar1->panel(2), list->Text()), std::tuple(busy, mesh ? "30" : "12"));
            for (const char* key : {"BODY", "FINS", "PLOT", "CP", "BASE FLOW"}) {
                s.StatusBar1->setPanel(2, "");
                s.Toolbar1_ButtonClick(key);
                EXPECT_EQ(s.StatusBar1->panel(2), busy) << key;
            }
            s.IterateBtn_Click();
            s.Toolbar1_ButtonClick("HELP");
            EXPECT_EQ(ModalSeam::instance().shownWindows, std::vector<QString>{"VelmoraHelp"});
        });
        s.CFDSOLVER_Click();
        ASSERT_TRUE(ran);
        EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
    }
}

TEST(BusyCommandsDeathTest, ExitDuringSolveEndsTheProgramAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Harness h;
            SOLVER& s = h.typeRocket();
            h.answers = {MsgAnswer::Ok};
            QTimer::singleShot(0, &s, [&s] {
                std::fputs("exit chosen\n", stderr);
                s.mnuExit->trigger();
            });
            s.CFDSOLVER_Click();
            std::fprintf(stderr, "SOLVE went on: %s\n", qPrintable(s.StatusBar1->panel(1)));
        },
        ::testing::ExitedWithCode(0), "exit chosen\n$");
}

// BODY lays the body window out by the geometry in force (its option checked) and stales the stored sweep; the
// menus open the information windows.
TEST(CommandGates, BodyAndTheMenusOpenTheirWindows)
{
    for (int16_t geometry : {0, 1}) {
        Harness h;
        SOLVER& s = h.start();
        h.state->ActiveBodyGeometry = geometry;
        h.state->SweepDragCoefficients(1) = 0.5;
        s.Toolbar1_ButtonClick("BODY");
        EXPECT_EQ(h.state->SweepDragCoefficients(1), 0);
        const BODYTUBE& body = h.forms->get<BODYTUBE>();
        EXPECT_EQ(body.BaseDiameter->isHidden(), geometry == 1);
        EXPECT_EQ(body.GEOMETRY[1]->isChecked(), geometry == 1);
        for (QAction* item : {s.mnuInstructions, s.mnuAboutCFD, s.mnuReferences, s.mnuVariables}) item->trigger();
        EXPECT_EQ(ModalSeam::instance().shownWindows,
                  (std::vector<QString>{"BODYTUBE", "VelmoraHelp", "AboutVelmora", "References", "FluidVariables"}));
    }
}

} // namespace
} // namespace velmora
