#include <array>

#include "bodyflow/Grid.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/Outline.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Outline = testing::Started;
using Kind = PictureBox::Kind;

// Nose 5, diameter 2, tube 29 on the 20-station grid: spacing 2, nose tip at x = 4, base at x = 38. Tapered fin: root
// from 30 to 36, tip from 32 to 34, span 3.
void rocket(Module1& m)
{
    m.NoseConeLength = 5;
    m.NoseConeDiameter = 2;
    m.BodyTubeLength = 29;
    m.FinPlanformCode = 3;
    m.FinRootDistance = 26;
    m.FinRootChord = 6;
    m.FinTipDistance = 28;
    m.FinTipChord = 2;
    m.FinSpan = 3;
}

std::array<PictureBox*, 3> pictures(Harness& h)
{
    return {h.forms->get<SOLVER>().MeshPlot, h.forms->get<BODYTUBE>().MeshPlot,
            h.forms->get<PlotResults>().VelocityPlot};
}

TEST_F(Outline, DrawingCallsInOrderAndColour)
{
    rocket(m);
    for (PictureBox* p : pictures(h)) p->setRecording(true);
    s.NEWFINS(m.FreeStreamVelocity);

    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");
    EXPECT_TRUE(s.NoMeshDefined->isHidden());
    EXPECT_TRUE(h.forms->get<PlotResults>().NoMeshDefined->isHidden());

    // Each picture gets the whole outline (the strokes themselves are the core's): scale, 5 fin strokes, 19 body
    // segments, 3 at the base. The plot window draws the second fin stroke in ink.
    const auto pics = pictures(h);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const auto& c = pics[static_cast<size_t>(k)]->calls();
        ASSERT_EQ(c.size(), 1u + 5 + 19 + 3);
        EXPECT_EQ(c[4].colour, k == 2 ? PictureBox::kForeground : PictureBox::qbColor(9));
        EXPECT_EQ(c[1].coords, (std::vector<double>{500.0 / 38 * 30, 500.0 / 19, 500.0 / 38 * 32, 500.0 / 19 * 4}));
    }
}

// The missing dimension's prompt comes from the list the body window shares.
TEST_F(Outline, MissingDimensionRefusedGridOrUndrawableExtentDrawNothing)
{
    rocket(m);
    m.FinRootLeadingEdgeX = 123;
    for (PictureBox* p : pictures(h)) p->setRecording(true);
    m.BodyTubeLength = 0;
    s.StatusBar1->setPanel(1, "before");
    s.NEWFINS(m.FreeStreamVelocity);
    EXPECT_EQ(testing::panels(s.StatusBar1), "before | Please enter body tube length.");

    rocket(m);
    std::tie(m.TransitionLength, m.TransitionDiameter) = std::tuple(-1, 1);  // the grid refuses
    s.NEWFINS(m.FreeStreamVelocity);
    EXPECT_EQ(s.StatusBar1->panel(2), "Transition length must be 0 or between 0.000001 and 1000000.");
    EXPECT_EQ(m.FinRootLeadingEdgeX, 123.0);
    for (PictureBox* p : pictures(h)) EXPECT_TRUE(p->calls().empty());

    // The last digit makes the rocket longer than any length there is: the
    // grid refuses it before the outline is tried, and says why.
    m.TransitionLength = m.TransitionDiameter = 0;
    h.typeBody("1e308", "1", "1e30");
    for (PictureBox* p : pictures(h)) p->clearRecording();
    QTest::keyClick(h.forms->get<BODYTUBE>().BodyLength, Qt::Key_8);
    EXPECT_EQ(m.BodyTubeLength, 1e308);
    EXPECT_EQ(s.StatusBar1->panel(2), "Nose cone length must be between 0.000001 and 1000000.");
    for (PictureBox* p : pictures(h))
        for (const auto& c : p->calls()) EXPECT_EQ(c.kind, Kind::Clear);
}

// The arc's semi-axes in pixels on a picture twice as wide as high: half the
// root chord along the body, the span across.
TEST_F(Outline, EllipticalFinIsTheHalfEllipseOnTheRootChord)
{
    rocket(m);
    // Tip over the root, span 1: less than half the root chord.
    std::tie(m.FinPlanformCode, m.FinTipDistance, m.FinTipChord, m.FinSpan) = std::tuple(4, 26, 6, 1);
    PictureBox* p = h.forms->get<BODYTUBE>().MeshPlot;
    p->setFixedSize(600, 300);
    p->setRecording(true);
    s.NEWFINS(m.FreeStreamVelocity);

    ASSERT_GE(p->calls().size(), 2u);
    const auto& arc = p->calls()[1];
    ASSERT_EQ(arc.kind, Kind::Arc);
    ASSERT_EQ(arc.coords.size(), 6u);
    const double ppx = 600 / 500.0, ppy = 300 / 500.0;
    const double radius = arc.coords[2] * ppx, aspect = arc.coords[5];
    const double rx = aspect >= 1 ? radius / aspect : radius, ry = aspect >= 1 ? radius : radius * aspect;
    EXPECT_NEAR(rx, 500.0 / 38 * 3 * ppx, 1e-9);
    EXPECT_NEAR(ry, 500.0 / 19 * 1 * ppy, 1e-9);
}

} // namespace
} // namespace velmora
