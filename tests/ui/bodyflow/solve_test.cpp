#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "platform/Format.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Step = SolveStep;
using Steps = std::vector<SolveStep>;

bool finiteNumber(const QString& text)
{
    if (text.isEmpty()) return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return (ok && std::isfinite(v)) || text == "."; // "." is how the patterns show 0
}

TEST(Solve, TypicalRocketFillsEveryResultBox)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    s.resize(1000, 700);
    s.show();
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
    for (TextBox* b : {s.PressureCd, s.BaseCd, s.TotalCd, s.MachNumber, s.ReNumber, s.FORCE, s.CdMax})
        EXPECT_TRUE(finiteNumber(b->text())) << b->objectName().toStdString() << " = " << b->text().toStdString();
    // No fins were entered: their drag boxes stay empty and the reason is shown.
    for (TextBox* b : {s.FinSurfaceDrag, s.FinInterferenceDrag, s.LaunchLugDrag}) EXPECT_EQ(b->text(), "");
    EXPECT_FALSE(s.NoMeshDefined->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Solve, ChainOrderAndTheMissingVelocity)
{
    Harness h;
    SOLVER& s = h.typeRocket("0");
    h.forms->get<NavierStokes>(); // (its load handler clears the abort flag)
    h.state->AbortRequest = "YES";
    h.state->BasePressureAvailable = "TRUE";
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter rocket velocity.");
    EXPECT_TRUE(s.lastSolve.ran.empty());
    EXPECT_EQ(h.state->AbortRequest, "YES");
    EXPECT_TRUE(h.forms->isLoaded<NavierStokes>());

    Harness::type(s.Velocity, "300");
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.lastSolve.ran, (Steps{Step::Mesh, Step::BodyFlow, Step::FinDrag, Step::TotalDrag, Step::StaleCheck,
                                      Step::EventPump, Step::FinSection, Step::CenterOfPressure}));
    EXPECT_EQ(h.state->AbortRequest, "NO");
    EXPECT_FALSE(h.forms->isLoaded<NavierStokes>());

    h.state->PanelMethodChoice = "NEITHER";
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.lastSolve.ran, (Steps{Step::Mesh, Step::BodyFlow, Step::FinDrag, Step::TotalDrag, Step::StaleCheck,
                                      Step::EventPump, Step::CenterOfPressure}));
}

TEST(Solve, AbortDuringTheEliminationStopsBeforeTheFinStep)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    h.answers = {MsgAnswer::Ok};
    // The click arrives while the elimination lets events run.
    QTimer::singleShot(0, &s, [&s] { QTest::mouseClick(s.Abort, Qt::LeftButton); });
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.lastSolve.ran, (Steps{Step::Mesh, Step::BodyFlow}));
    EXPECT_EQ(s.lastSolve.outcome, Outcome::Aborted);
    EXPECT_NE(s.StatusBar1->panel(1), "CFD solution found. ");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(h.forms->busy().active());
}

TEST(Solve, VelocityTypedDuringTheSolveEndsWithTheStaleMessage)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    QTimer::singleShot(0, &s, [&s] {
        // Commands are refused while the solve runs; the input boxes stay live.
        s.MESHER_Click();
        EXPECT_EQ(s.StatusBar1->panel(2), "Please wait: SOLVE is in progress.");
        Harness::type(s.Velocity, "250");
    });
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter fin data and perform CFD");
    EXPECT_EQ(s.lastSolve.ran, (Steps{Step::Mesh, Step::BodyFlow, Step::StaleCheck}));
    EXPECT_EQ(h.state->FreeStreamVelocity, 250 * 12.0);
    // The superseded run published nothing: no field velocities.
    EXPECT_EQ(h.state->ElementAxialVelocity(1), 0);
}

TEST(MeshSettings, MeshSizeAndMeridians)
{
    Harness h;
    SOLVER& s = h.start();
    // Before the body is entered the pick is refused and the list shows the size in force.
    Harness::pick(s.DomainSize, "30");
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter nose cone length.");
    EXPECT_EQ(s.DomainSize->Text(), "20");
    EXPECT_EQ(h.state->MeshSizeUserSet, 0);

    h.typeRocket();
    Harness::pick(s.DomainSize, "30");
    EXPECT_EQ(h.state->MeshElementCount, 1682);
    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");

    // A refused pick now returns the list to 30, not to a fixed 20.
    h.state->NoseConeLength = 0;
    Harness::pick(s.DomainSize, "40");
    EXPECT_EQ(s.DomainSize->Text(), "30");
    h.state->NoseConeLength = 3;

    Harness::pick(s.DomainSize, "20");
    Harness::pick(s.MERIDIANS, "12");
    EXPECT_EQ(h.state->MeridianCount, 12);
    s.CFDSOLVER_Click();
    EXPECT_TRUE(std::isfinite(h.state->BodySurfaceCp(17 * 12)));

    Harness::type(s.Velocity, "0");
    Harness::pick(s.MERIDIANS, "8");
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter rocket dimensions");
    EXPECT_EQ(s.MERIDIANS->Text(), "12");
}

TEST(MeshSettings, MeshPictureShowsTrianglesInsideTheDomain)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    s.resize(1000, 700);
    s.show();
    s.MeshPlot->setRecording(true);
    QTest::mouseClick(s.MESHER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");
    int lines = 0;
    double lo = 0, hi = 0;
    for (const auto& c : s.MeshPlot->calls()) {
        if (c.kind != PictureBox::Kind::Line) continue;
        ++lines;
        for (double v : c.coords) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    EXPECT_GE(lo, -1e-9);
    EXPECT_LE(hi, 500.01); // the domain edge, up to single-precision rounding
    EXPECT_GE(lines, 3 * 722);
    EXPECT_FALSE(testing::blank(s.MeshPlot));
    EXPECT_FALSE(s.NoMeshDefined->isVisible());
}

} // namespace
} // namespace velmora
