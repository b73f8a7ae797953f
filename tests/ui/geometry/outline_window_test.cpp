#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

#include "app/ui/SOLVER.h"
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

// Nose 5, diameter 2, tube 29 on the 20-station grid: spacing 2, nose tip at
// x = 4, base at x = 38. Tapered fin: root from 30 to 36, tip from 32 to 34,
// span 3.
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

    // Each picture gets the whole outline (the strokes themselves are the
    // core's): scale, 5 fin strokes, 19 body segments, 3 at the base. The
    // plot window draws the second fin stroke in ink.
    const auto pics = pictures(h);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const auto& c = pics[static_cast<size_t>(k)]->calls();
        ASSERT_EQ(c.size(), 1u + 5 + 19 + 3);
        EXPECT_EQ(c[4].colour, k == 2 ? PictureBox::kForeground : PictureBox::qbColor(9));
        EXPECT_EQ(c[1].coords, (std::vector<double>{500.0 / 38 * 30, 500.0 / 19, 500.0 / 38 * 32, 500.0 / 19 * 4}));
    }
}

TEST_F(Outline, MissingDimensionOrRefusedGridDrawsNothing)
{
    rocket(m);
    m.FinRootLeadingEdgeX = 123;
    for (PictureBox* p : pictures(h)) p->setRecording(true);
    const std::pair<double Module1::*, const char*> cases[] = {
        {&Module1::NoseConeLength, "Please enter nose cone length."},
        {&Module1::NoseConeDiameter, "Please enter nose cone diameter."},
        {&Module1::BodyTubeLength, "Please enter body tube length."}};
    for (auto [field, message] : cases) {
        rocket(m);
        m.*field = 0;
        s.StatusBar1->setPanel(1, "before");
        s.NEWFINS(m.FreeStreamVelocity);
        EXPECT_EQ(s.StatusBar1->panel(2), message);
        EXPECT_EQ(s.StatusBar1->panel(1), "before");
    }
    rocket(m);
    m.TransitionLength = -1; // the grid refuses
    m.TransitionDiameter = 1;
    s.NEWFINS(m.FreeStreamVelocity);
    EXPECT_EQ(s.StatusBar1->panel(2), kMsgBadDimension);
    EXPECT_EQ(m.FinRootLeadingEdgeX, 123.0);
    for (PictureBox* p : pictures(h)) EXPECT_TRUE(p->calls().empty());
}

TEST_F(Outline, UndrawableExtentDrawsNothingAndSaysSo)
{
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    h.typeBody("1e308", "1", "1e30");
    for (PictureBox* p : pictures(h)) p->setRecording(true);
    // The last digit makes the rocket longer than any length there is: the
    // grid refuses it before the outline is tried, and says why.
    QTest::keyClick(b.BodyLength, Qt::Key_8);
    EXPECT_EQ(h.state->BodyTubeLength, 1e308);
    EXPECT_EQ(s.StatusBar1->panel(2).toStdString(), "Invalid body geometry data.");
    for (PictureBox* p : pictures(h))
        for (const auto& c : p->calls()) EXPECT_EQ(c.kind, Kind::Clear);
}

TEST_F(Outline, EllipticalFinIsTheHalfEllipseOnTheRootChord)
{
    rocket(m);
    m.FinPlanformCode = 4;
    m.FinRootDistance = 26;
    m.FinTipDistance = 26;
    m.FinTipChord = 6;
    m.FinSpan = 1; // less than half the root chord
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    b.MeshPlot->setFixedSize(600, 300);
    s.MeshPlot->setFixedSize(400, 400);
    b.MeshPlot->setRecording(true);
    s.MeshPlot->setRecording(true);
    s.NEWFINS(m.FreeStreamVelocity);

    const double sx = 500.0 / 38, sy = 500.0 / 19;
    for (PictureBox* p : {b.MeshPlot, s.MeshPlot}) {
        ASSERT_GE(p->calls().size(), 2u);
        const auto& arc = p->calls()[1];
        ASSERT_EQ(arc.kind, Kind::Arc);
        ASSERT_EQ(arc.coords.size(), 6u);
        // Semi-axes in pixels: half the root chord along the body, the span across.
        const double ppx = p->width() / 500.0, ppy = p->height() / 500.0;
        const double radius = arc.coords[2] * ppx, aspect = arc.coords[5];
        const double rx = aspect >= 1 ? radius / aspect : radius;
        const double ry = aspect >= 1 ? radius : radius * aspect;
        EXPECT_NEAR(rx, sx * 3 * ppx, 1e-9);
        EXPECT_NEAR(ry, sy * 1 * ppy, 1e-9);
    }
}

long countColour(const QImage& img, QRgb colour)
{
    long n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu)) ++n;
    return n;
}

TEST_F(Outline, GrabbedBodyPictureShowsBodyFinsAndBase)
{
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    Harness::type(f.DTip, "28");
    Harness::type(f.DRoot, "24");
    Harness::type(f.TipChord, "4");
    Harness::type(f.RootChord, "12"); // ends behind the base, so the base face is inside the picture
    Harness::type(f.SpanLength, "4");
    b.resize(1000, 800);
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    h.typeBody("5", "2", "29");
    QApplication::processEvents();

    const QImage img = b.MeshPlot->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_GT(countColour(img, PictureBox::kForeground), 200); // the body outline
    EXPECT_GT(countColour(img, PictureBox::qbColor(4)), 5);    // the base face
    // The fin stands above the body: its tip is higher than any body point.
    int finTop = img.height(), bodyTop = img.height();
    for (int y = img.height() - 1; y >= 0; --y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFFu;
            if (c == (PictureBox::qbColor(9) & 0xFFFFFFu)) finTop = y;
            if (c == 0) bodyTop = y;
        }
    EXPECT_LT(finTop, bodyTop);
}

} // namespace
} // namespace velmora
