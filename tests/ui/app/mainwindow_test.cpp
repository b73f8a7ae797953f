#include <QTest>
#include <tuple>
#include <gtest/gtest.h>

#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "stability/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

using Units = testing::Started;
using FlightCondition = testing::Started;
using ResetEffects = testing::Started;

TEST(StartUp, QuitOnTheWelcomeWindowEndsBeforeAnyDefault)
{
    Harness h;
    h.onShow["Welcome"] = [](Form& f) { static_cast<Welcome&>(f).QuitBtn_Click(); };
    h.forms->get<SOLVER>();
    EXPECT_TRUE(h.forms->quitRequested());
    EXPECT_FALSE(h.forms->isLoaded<SOLVER>());
    EXPECT_EQ(h.state->AnalysisUnits, "");
}

TEST(StartUp, Snapshot)
{
    Harness h;
    SOLVER& s = h.start();
    Module1& m = *h.state;
    EXPECT_FALSE(h.forms->quitRequested());
    EXPECT_FALSE(h.forms->isLoaded<Welcome>()); // Continue unloaded it
    // One representative of each kind of start-up default: lists, unit
    // labels, the state, the fluid constants and the other windows' boxes.
    EXPECT_EQ(s.RATIOS->Text(), "SEA LEVEL");
    EXPECT_EQ(s.DomainSize->Text(), "20");
    EXPECT_EQ(s.FORCELABEL->text(), "LB");
    EXPECT_EQ(std::tuple(m.FlowSolutionStatus, m.PanelSolutionStatus, m.BasePressureAvailable, m.AbortRequest),
              std::tuple("", "", "FALSE", "NO"));
    EXPECT_EQ(std::tuple(m.NoseShapeName, m.FinPlanformCode, m.PanelMethodChoice, m.PanelCount),
              std::tuple("CONICAL", 3, "VORTEX", 100));
    EXPECT_EQ(std::tuple(m.SweepStepCount, m.SweepStartVelocity), std::tuple(1, 300));
    EXPECT_EQ(h.forms->get<FluidVariables>().Density->text(), "2.378E-03");
    EXPECT_EQ(h.forms->get<GeoBody>().DLABEL->text(), "FT"); // the unit caption's handler ran
    EXPECT_EQ(h.forms->get<PlotResults>().NLEVELS2->text(), "20");
    EXPECT_TRUE(h.forms->get<ITERATION>().VELINC->isHidden());
    EXPECT_TRUE(h.messages().empty());
}

TEST_F(Units, SwitchesReconvertTheTypedVelocityAndRelabel)
{
    Harness::type(s.Velocity, "100");
    h.forms->get<BODYTUBE>().NoseLength->setText("2");
    Harness::pick(s.CFDUNITS, "in-lb-sec");
    EXPECT_EQ(m.FreeStreamVelocity, 1200);
    EXPECT_EQ(s.checkedUnitIndex(), 1);
    EXPECT_EQ(h.forms->get<BODYTUBE>().LLABEL[1]->text(), "IN");
    EXPECT_EQ(h.forms->get<BODYTUBE>().NoseLength->text(), "2"); // never converted
    EXPECT_EQ(h.forms->get<FluidVariables>().UINPUT->text(), "1.2E+03");
    EXPECT_EQ(s.StatusBar1->panel(1), "New CFD solution required.");

    s.mnuNewUnits[2]->trigger();
    EXPECT_DOUBLE_EQ(m.FreeStreamVelocity, 30.48);
    EXPECT_EQ(s.CFDUNITS->Text(), "m-nt-sec");
    EXPECT_EQ(s.FORCELABEL->text(), "NT");

    Harness::pick(s.CFDUNITS, "ft-lb-sec");
    EXPECT_EQ(m.FreeStreamVelocity, 100);
    EXPECT_EQ(s.Velocity->text(), "100");
}

TEST_F(Units, SwitchKeepsTheAltitude)
{
    Harness::pick(s.RATIOS, "10000 FT");
    Harness::pick(s.CFDUNITS, "in-lb-sec");
    EXPECT_EQ(h.state->AltitudePressureRatio, 0.6878);
    EXPECT_NEAR(h.state->AmbientPressure, 0.6878 * 14.7, 1e-12);
}

TEST_F(Units, UnknownCodeFallsBackToFootPoundSecond)
{
    s.mnuNewUnits[1]->trigger();
    h.state->AnalysisUnits = "XYZ"; // as a damaged project file could give
    s.INPUTUNITS(h.state->FreeStreamVelocity);
    EXPECT_EQ(s.UNITLBL->text(), "FPS");
    EXPECT_EQ(h.state->SpeedOfSound, 1116.4);
}

TEST_F(FlightCondition, MachAboveTwoIsReportedButKept)
{
    Harness::type(s.Velocity, "3000");
    EXPECT_EQ(testing::said(h.messages()), QStringList({"PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE"}));
    EXPECT_EQ(h.state->FreeStreamVelocity, 3000);

    Harness h2;
    SOLVER& s2 = h2.start();
    Harness::type(s2.Velocity, "2232.8"); // exactly Mach 2
    EXPECT_TRUE(h2.messages().empty());
}

TEST_F(FlightCondition, SpeedUnitPickReinterpretsTheSameNumber)
{
    Harness::type(s.Velocity, "0.5");
    Harness::pick(s.Speed, "MACH");
    EXPECT_DOUBLE_EQ(h.state->FreeStreamVelocity, 0.5 * 1116.4);
    EXPECT_EQ(s.Velocity->text(), "0.5");
    EXPECT_EQ(h.forms->get<ITERATION>().LVLABEL1->text(), "MACH");
    EXPECT_TRUE(h.messages().empty());
}

TEST_F(FlightCondition, RefusedSpeedUnitPickStillInvalidates)
{
    Harness::type(s.Velocity, "300");
    h.state->FlowSolutionStatus = ""; // as after a solve
    Harness::pick(s.Speed, "MACH");
    EXPECT_EQ(testing::said(h.messages()), QStringList({"PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE"}));
    EXPECT_DOUBLE_EQ(h.state->FreeStreamVelocity, 300 * 1116.4);
    EXPECT_EQ(h.state->FlowSolutionStatus, "SOLVE NEW FLOW");
}

TEST_F(FlightCondition, AltitudeChangeWithMachReconvertsAndChecks)
{
    Harness::pick(s.Speed, "MACH");
    Harness::type(s.Velocity, "0.5");
    h.state->FlowSolutionStatus = "";
    Harness::pick(s.RATIOS, "10000 FT");
    EXPECT_NEAR(h.state->FreeStreamVelocity, 0.5 * 1077.46971, 1e-5);
    EXPECT_NEAR(h.state->FreeStreamMachNumber, 0.5, 1e-6);
    EXPECT_EQ(h.state->FlowSolutionStatus, "SOLVE NEW FLOW");
    // Other speed units keep the velocity as it was.
    Harness::pick(s.Speed, "FT/SEC");
    Harness::type(s.Velocity, "300");
    Harness::pick(s.RATIOS, "SEA LEVEL");
    EXPECT_EQ(h.state->FreeStreamVelocity, 300);
}

TEST_F(FlightCondition, SmallAnglesMoveToHalfADegree)
{
    Harness::type(s.ROCKETAOA, "0.3");
    EXPECT_EQ(s.ROCKETAOA->text(), ".5");
    EXPECT_EQ(h.forms->get<PanelAero>().AOALABEL->text(), "AOA = .5 DEG.");
    EXPECT_EQ(s.StatusBar1->panel(2), "Angle of attack (AOA) reset to +0.5 degrees.");

    Harness::type(s.ROCKETAOA, "-0.2");
    EXPECT_EQ(h.state->AngleOfAttack, -0.5);
    EXPECT_EQ(s.StatusBar1->panel(2), "Angle of attack (AOA) reset to -0.5 degrees.");

    for (const char* t : {"0", "-0.5", "4"}) {
        Harness::type(s.ROCKETAOA, t);
        EXPECT_EQ(s.StatusBar1->panel(2), "") << t;
    }
    EXPECT_EQ(h.state->AngleOfAttack, 4);
}

TEST_F(FlightCondition, FlowModelAndOverflowingText)
{
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    EXPECT_EQ(h.state->CompressibleFlow, 1);
    h.state->FlowSolutionStatus = "";
    Harness::pick(s.Compressible, "COMPRESSIBLE"); // the same pick still invalidates
    EXPECT_EQ(h.state->FlowSolutionStatus, "SOLVE NEW FLOW");
    Harness::type(s.Velocity, "1e999");
    EXPECT_EQ(h.state->EnteredVelocity, 0);
    EXPECT_EQ(h.state->FreeStreamVelocity, 0);
}

// What each reset writes, and what it leaves alone.
struct ResetCase {
    const char* name;
    bool mainOverlay, plotOverlays, clearsDrawings;
};

class Resets : public ::testing::TestWithParam<ResetCase> {};

TEST_P(Resets, Matrix)
{
    const ResetCase c = GetParam();
    Harness h;
    SOLVER& s = h.start();
    Module1& m = *h.state;
    PlotResults& plot = h.forms->get<PlotResults>();
    PressureCenter& cp = h.forms->get<PressureCenter>();
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    PanelAero& panel = h.forms->get<PanelAero>();
    // A solved-looking state.
    m.FlowSolutionStatus = m.FlowSolutionStatusText = "";
    m.PanelSolutionStatus = "SOLVED";
    m.BodyPressureDragCoefficient = 0.3f;
    m.TotalDragCoefficient = 0.5f;
    m.FinNormalForceSlope = m.FinCenterOfPressure = m.FinDragForce = m.BodyDragForce = m.FinNormalForce = 1;
    m.MeshElementCount = 722;
    for (TextBox* b : {s.TotalCd, s.CMFORCES, plot.MIN1, cp.PlotLabel, cp.BODYFORCES}) b->setText("1.5");
    for (QWidget* w : {static_cast<QWidget*>(s.NoMeshDefined), static_cast<QWidget*>(plot.NoMeshDefined),
                       static_cast<QWidget*>(cp.NoMeshDefined)})
        w->hide();
    for (PictureBox* p : {s.MeshPlot, body.MeshPlot, plot.VelocityPlot, plot.LEVELS, plot.FieldProfile,
                          cp.SurfaceProfile, panel.FinSection, panel.PLOT1}) {
        p->setRecording(true);
        p->clearRecording();
    }
    h.forms->get<NavierStokes>();
    s.StatusBar1->setPanel(2, "something");
    m.AbortRequest = "YES";

    for (int twice = 0; twice < 2; ++twice) {
        if (std::string(c.name) == "ClearData") s.ClearData(m.FreeStreamVelocity);
        else if (std::string(c.name) == "CLEARDATA2") s.CLEARDATA2(m.FreeStreamVelocity);
        else s.CLEARDATA3(m.FreeStreamVelocity);
    }

    EXPECT_EQ(m.FlowSolutionStatusText, "SOLVE NEW FLOW");
    EXPECT_EQ(m.PanelSolutionStatus, "SOLVE NEW FLOW");
    EXPECT_EQ(m.BodyPressureDragCoefficient, 0);
    EXPECT_EQ(m.FinNormalForceSlope + m.FinCenterOfPressure + m.FinDragForce + m.BodyDragForce + m.FinNormalForce, 0);
    EXPECT_EQ(m.TotalDragCoefficient, 0.5f); // kept
    EXPECT_EQ(m.MeshElementCount, 722);      // kept
    EXPECT_EQ(testing::panels(s.StatusBar1), "New CFD solution required. | ");
    EXPECT_EQ(cp.StatusBar1->panel(1), "New CFD solution required.");
    // One result box per window shows the reset ran there.
    for (TextBox* b : {s.TotalCd, s.CMFORCES, plot.MIN1, cp.PlotLabel})
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(cp.BODYFORCES->text(), "1.5"); // force boxes are kept
    EXPECT_EQ(!s.NoMeshDefined->isHidden(), c.mainOverlay);
    EXPECT_EQ(!plot.NoMeshDefined->isHidden(), c.plotOverlays);
    EXPECT_EQ(!cp.NoMeshDefined->isHidden(), c.plotOverlays);
    auto cleared = [](PictureBox* p) { return !p->calls().empty(); };
    for (PictureBox* p : {s.MeshPlot, body.MeshPlot}) EXPECT_EQ(cleared(p), c.clearsDrawings);
    for (PictureBox* p : {plot.VelocityPlot, plot.LEVELS, plot.FieldProfile, cp.SurfaceProfile, panel.FinSection,
                          panel.PLOT1})
        EXPECT_TRUE(cleared(p)) << p->objectName().toStdString();
    EXPECT_FALSE(h.forms->isLoaded<NavierStokes>());
    EXPECT_EQ(m.AbortRequest, "YES"); // a reset does not load the base-flow window to unload it
}

INSTANTIATE_TEST_SUITE_P(AllThree, Resets,
                         ::testing::Values(ResetCase{"ClearData", true, true, true},
                                           ResetCase{"CLEARDATA2", false, false, true},
                                           ResetCase{"CLEARDATA3", false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResetEffects, FlightConditionChangeKeepsTheMeshOverlayAsItWas)
{
    s.NoMeshDefined->hide();
    Harness::type(s.Velocity, "250");
    EXPECT_TRUE(s.NoMeshDefined->isHidden());
}

} // namespace
} // namespace velmora
