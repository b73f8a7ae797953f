#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

#include "baseflow/ui/NavierStokes.h"
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
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
    for (TextBox* b : {s.PressureCd, s.BaseCd, s.TotalCd, s.MachNumber, s.ReNumber, s.FORCE, s.CdMax})
        EXPECT_TRUE(finiteNumber(b->text())) << b->objectName().toStdString() << " = " << b->text().toStdString();
    // No fins were entered: their drag boxes stay empty and the reason is shown.
    for (TextBox* b : {s.FinSurfaceDrag, s.FinInterferenceDrag, s.LaunchLugDrag}) EXPECT_EQ(b->text(), "");
    EXPECT_TRUE(s.NoMeshDefined->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Solve, ChainOrderAndTheMissingVelocity)
{
    Harness h;
    SOLVER& s = h.typeRocket("0");
    h.forms->get<NavierStokes>(); // (its load handler clears the abort flag)
    h.state->AbortRequest = "YES";
    s.CFDSOLVER_Click();
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter rocket velocity.");
    EXPECT_TRUE(s.lastSolve.ran.empty());
    EXPECT_EQ(h.state->AbortRequest, "YES");
    EXPECT_TRUE(h.forms->isLoaded<NavierStokes>());

    // With a velocity the run clears the abort flag and unloads the base-flow
    // window; without a panel method it skips the fin section.
    Harness::type(s.Velocity, "300");
    h.state->PanelMethodChoice = "NEITHER";
    s.CFDSOLVER_Click();
    EXPECT_EQ(h.state->AbortRequest, "NO");
    EXPECT_FALSE(h.forms->isLoaded<NavierStokes>());
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

    // A refused pick now returns the list to 30, not to a fixed 20.
    h.state->NoseConeLength = 0;
    Harness::pick(s.DomainSize, "40");
    EXPECT_EQ(s.DomainSize->Text(), "30");
    h.state->NoseConeLength = 3;

    // MESH draws every triangle inside the domain.
    s.resize(1000, 700);
    s.show();
    s.MeshPlot->setRecording(true);
    QTest::mouseClick(s.MESHER, Qt::LeftButton);
    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");
    int lines = 0;
    for (const auto& c : s.MeshPlot->calls()) {
        if (c.kind != PictureBox::Kind::Line) continue;
        ++lines;
        for (double v : c.coords) ASSERT_TRUE(v >= -1e-9 && v <= 500.01) << v; // the domain, in single precision
    }
    EXPECT_GE(lines, 3 * 1682);
    EXPECT_FALSE(testing::blank(s.MeshPlot));

    Harness::pick(s.MERIDIANS, "12");
    EXPECT_EQ(h.state->MeridianCount, 12);
    Harness::type(s.Velocity, "0");
    Harness::pick(s.MERIDIANS, "8");
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter rocket dimensions");
    EXPECT_EQ(s.MERIDIANS->Text(), "12");
}

} // namespace
} // namespace velmora
