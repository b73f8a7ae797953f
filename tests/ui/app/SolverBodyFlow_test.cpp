// The main window's mesh and solve commands: SOLVE's chain and its velocity check, the mesh-size and meridian
// lists, MESH.
#include "baseflow/ui/NavierStokes.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using MeshSettings = testing::Started;
using Step = SolveStep;
using Steps = std::vector<SolveStep>;

TEST(Solve, ChainOrderAndTheMissingVelocity)
{
    Harness h;
    SOLVER& s = h.typeRocket("0");
    h.forms->get<NavierStokes>(); // (its load handler clears the abort flag)
    h.state->AbortRequest = "YES";
    s.CFDSOLVER_Click();
    EXPECT_EQ(std::tuple(s.StatusBar1->panel(2), s.lastSolve.ran.empty(), h.state->AbortRequest,
                         h.forms->isLoaded<NavierStokes>()),
              std::tuple("Please enter rocket velocity.", true, "YES", true));

    // With a velocity the run unloads the base-flow window; without a panel method it skips the fin section.
    Harness::type(s.Velocity, "300");
    h.state->PanelMethodChoice = "NEITHER";
    s.CFDSOLVER_Click();
    EXPECT_FALSE(h.forms->isLoaded<NavierStokes>());
    EXPECT_EQ(s.lastSolve.ran, (Steps{Step::Mesh, Step::BodyFlow, Step::FinDrag, Step::TotalDrag, Step::StaleCheck,
                                      Step::EventPump, Step::CenterOfPressure}));
}

TEST_F(MeshSettings, MeshSizeAndMeridians)
{
    // Before the body is entered the pick is refused and the list shows the size in force.
    Harness::pick(s.DomainSize, "30");
    EXPECT_EQ(std::tuple(s.StatusBar1->panel(2), s.DomainSize->Text(), m.MeshSizeUserSet),
              std::tuple("Please enter nose cone length.", "20", 0));

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
    EXPECT_EQ(QStringList({s.StatusBar1->panel(2), s.MERIDIANS->Text()}),
              QStringList({"Please enter rocket dimensions", "12"}));
}

} // namespace
} // namespace velmora
