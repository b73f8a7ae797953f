#include <gtest/gtest.h>

#include <cmath>

#include "model/Module1.h"
#include "bodyflow/FlowPlots.h"
#include "bodyflow/Grid.h"

namespace velmora {
namespace {

// A 3 + 12 tangent-ogive body on the default 20 x 20 grid: DX = 15 / 17,
// L = 19 DX, H = L / 2, the nose tip at station 3.
std::unique_ptr<Module1> gridded(const char* shape = "TANGENT OGIVE")
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseConeLength = 3;
    m->NoseConeDiameter = 1;
    m->BodyTubeLength = 12;
    m->NoseShapeName = shape;
    NullProgress np;
    EXPECT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
    m->FreeStreamVelocity = 300;
    m->AmbientPressure = 2116.2;
    m->AmbientDensity = 0.002377;
    m->ContourLevelCount = 20;
    m->VectorScale = 1;
    return m;
}

const double kDX = 15.0 / 17;

TEST(FlowPlotLevels, ColourRampsFor3To100Levels)
{
    EXPECT_EQ(colourStep(3), 510);
    EXPECT_EQ(colourRamp(3), (std::vector<long>{0, 255 * 65536, 255 * 256}));  // blue, then green

    EXPECT_EQ(colourStep(20), 28);
    const auto r20 = colourRamp(20);
    ASSERT_EQ(r20.size(), 21u);  // ten entries per half after the black entry 0
    EXPECT_EQ(r20[10], rgbLong(0, 252, 3));
    EXPECT_EQ(r20[11], rgbLong(0, 255, 0));
    EXPECT_EQ(r20[20], rgbLong(252, 3, 0));

    EXPECT_EQ(colourStep(100), 5);
    const auto r100 = colourRamp(100);
    ASSERT_EQ(r100.size(), 105u);
    EXPECT_EQ(r100[104], rgbLong(255, 0, 0));

    for (int n = 3; n <= 100; ++n) EXPECT_GE(static_cast<long>(colourRamp(n).size()) - 1, n - 1) << n;
}

TEST(FlowPlotLevels, LevelsBandsAndCountChecks)
{
    const auto lv = contourLevels(1, 2, 3);
    EXPECT_EQ(lv, (std::vector<float>{0, 1, 1.5f, 2}));
    // Band edges: a value on level(L + 1) belongs to band L, level(1) to band 1.
    EXPECT_EQ(bandOf(1.0, lv, 3), 1);
    EXPECT_EQ(bandOf(1.5, lv, 3), 1);
    EXPECT_EQ(bandOf(1.5000001, lv, 3), 2);
    // Outside the stored levels: no band (painted black).
    EXPECT_EQ(bandOf(0.999, lv, 3), 0);
    EXPECT_EQ(bandOf(2.001, lv, 3), 0);

    // Twenty levels as a running sum end on the maximum within single precision.
    const auto l20 = contourLevels(3310.64, 3688.59, 20);
    ASSERT_EQ(l20.size(), 21u);
    EXPECT_FLOAT_EQ(l20[20], 3688.59f);
    EXPECT_EQ(bandOf(l20[20], l20, 20), 19);

    // A fractional count: loops run over the whole numbers below it, so the
    // top of the range (above level 3 = 0.8) lies in no band.
    const auto l35 = contourLevels(0, 1, 3.5);
    EXPECT_EQ(l35, (std::vector<float>{0, 0, 0.4f, 0.8f}));
    EXPECT_EQ(bandOf(0.7, l35, 3.5), 2);
    EXPECT_EQ(bandOf(0.9, l35, 3.5), 0);

    EXPECT_EQ(checkLevelCount(100), LevelCheck::Ok);
    EXPECT_EQ(checkLevelCount(100.5), LevelCheck::TooMany);
    EXPECT_EQ(checkLevelCount(2.9), LevelCheck::TooFew);
}

TEST(FlowPlotContours, CellValuesBandsShapesAndLegend)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->cells(), 361);
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 100.0 + e;
    const ContourPlot p = contourPlot(*m, *g, ContourQuantity::Speed);

    EXPECT_EQ(p.fmin, 101);
    EXPECT_EQ(p.fmax, 822);
    ASSERT_EQ(p.cells.size(), 361u);
    EXPECT_EQ(p.cellValues[361], 821.5);  // mean of triangles 721 and 722
    EXPECT_EQ(p.cells[0].colour, rgbLong(0, 0, 255));
    EXPECT_EQ(p.cells[360].band, 19);
    for (std::size_t k = 1; k < p.cells.size(); ++k) EXPECT_GE(p.cells[k].band, p.cells[k - 1].band);

    // Cell (3, 1) starts at the nose tip: its edges rise with the nose, the
    // upper one 4 units above the grid line.
    const double w = 500.0 / 19;
    const ContourCell& tip = p.cells[2];
    const double rise = m->GridNodeRadius(4, 1) * p.sy;
    EXPECT_GT(rise, 0);
    EXPECT_NEAR(tip.corners[0], 2 * w, 1e-9);
    EXPECT_NEAR(tip.corners[3] - tip.corners[1], rise, 1e-9);
    EXPECT_NEAR(tip.corners[7], m->GridNodeRadius(3, 2) * p.sy + 4, 1e-9);

    // Legend: 19 bands stacked from the bottom, each 500 / 19 high.
    EXPECT_NEAR(m->DeltaY, 500.0 / 19, 1e-12);
    ASSERT_EQ(p.legend.size(), 19u);
    EXPECT_NEAR(p.legend[18].y2, 500, 1e-9);
    EXPECT_EQ(p.legend[18].colour, rgbLong(224, 31, 0));

    // Three levels: two bands, blue below and green above, 250 high each.
    m->ContourLevelCount = 3;
    const ContourPlot p3 = contourPlot(*m, *g, ContourQuantity::Speed);
    ASSERT_EQ(p3.legend.size(), 2u);
    EXPECT_EQ(p3.legend[1].y1, 250);
    EXPECT_EQ(p3.cells[360].colour, rgbLong(0, 255, 0));
}

TEST(FlowPlotContours, PressuresOfAUniformFieldAndNoGrid)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 300;
    m->PressurePlotKind = 0;
    computeElementPressures(*m, *g);
    EXPECT_EQ(m->ElementPressure(722), 2116.2f);
    m->PressurePlotKind = 1;
    computeElementPressures(*m, *g);
    EXPECT_EQ(m->ElementPressure(1), static_cast<float>(0.5 * 0.002377 * 300 * 300));
    // A uniform field still paints every cell (none black).
    for (const ContourCell& c : contourPlot(*m, *g, ContourQuantity::Pressure).cells) EXPECT_GT(c.band, 0);

    m->MeshElementCount = 700;  // tables not of this grid
    EXPECT_FALSE(plotGrid(*m));
    auto fresh = makeModule1();
    setStartupDefaults(*fresh);
    EXPECT_FALSE(plotGrid(*fresh));
}

TEST(FlowPlotOverlay, BodyOutlineAndFins)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    const double sx = 500 / m->DomainLength, sy = 1000 / m->DomainLength;
    m->FinPlanformCode = 0;
    auto strokes = flowOverlay(*m, *g, sx, sy);
    ASSERT_EQ(strokes.size(), 19u);  // the grid's lower boundary, nothing of the fin
    EXPECT_EQ(strokes[0], (MeshStroke{MeshStroke::Kind::Line, 0, 0, kDX * sx, 0, -1}));
    EXPECT_NEAR(strokes[3].y2, m->GridNodeRadius(5, 1) * sy, 1e-9);

    // A tapered fin whose root leading edge sits exactly on station 15.
    m->FinPlanformCode = 3;
    m->FinRootDistance = static_cast<float>(12 * kDX);
    m->NoseTipX = m->GridNodeX(15, 1) - static_cast<double>(m->FinRootDistance);
    m->FinRootChord = 2;
    m->FinTipDistance = 13 * kDX;
    m->FinTipChord = 1;
    m->FinSpan = 1.5;
    m->NoseShapeName = "";
    strokes = flowOverlay(*m, *g, sx, sy);
    ASSERT_EQ(strokes.size(), 5u);  // no body outline without a known nose shape
    const double rr = m->GridNodeRadius(15, 1);
    EXPECT_EQ(m->FinTipLeadingEdgeY, rr + 1.5);
    EXPECT_NEAR(strokes[1].y1, (rr + 1.5) * sy, 1e-9);
    EXPECT_EQ(strokes[3].y1, 2);  // the root marks just above the axis
    EXPECT_NEAR(strokes[4].x2, (m->FinRootLeadingEdgeX + 2) * sx, 1e-9);

    // Elliptical: the half-ellipse over the root chord; without span only the root marks.
    m->FinPlanformCode = 4;
    m->Pi = 0;
    strokes = flowOverlay(*m, *g, sx, sy);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0].kind, MeshStroke::Kind::HalfEllipse);
    EXPECT_NEAR(strokes[0].x1, (m->FinRootLeadingEdgeX + 1) * sx, 1e-9);
    EXPECT_NEAR(strokes[0].y2, 1.5 * sy, 1e-9);
    m->FinSpan = 0;
    EXPECT_EQ(flowOverlay(*m, *g, sx, sy).size(), 2u);

    // A root at or behind the last station stands on the axis.
    m->FinPlanformCode = 2;
    m->FinRootDistance = static_cast<float>(m->GridNodeX(20, 1) - m->NoseTipX);
    flowOverlay(*m, *g, sx, sy);
    EXPECT_EQ(m->FinRootLeadingEdgeY, 0);
}

TEST(FlowPlotProfile, StationSearch)
{
    auto m = gridded();
    std::vector<double> cx{0};
    for (long i = 1; i <= 19; ++i) cx.push_back((i - 0.5) * kDX);
    const double L = 19 * kDX;
    bool beyond = true;
    for (long i = 1; i <= 18; ++i) {
        EXPECT_EQ(profileStation(cx, 19, (i - 0.5) * kDX + 0.01, L, beyond), i);
        EXPECT_EQ(profileStation(cx, 19, (i + 0.5) * kDX - 0.01, L, beyond), i);
        EXPECT_FALSE(beyond);
    }
    // On a centre, between the last centre and the end, at 0 and at L: the inflow column.
    EXPECT_EQ(profileStation(cx, 19, 4.5 * kDX, L, beyond), 1);
    EXPECT_EQ(profileStation(cx, 19, L, L, beyond), 1);
    EXPECT_FALSE(beyond);
    EXPECT_EQ(profileStation(cx, 19, L + 0.001, L, beyond), 1);
    EXPECT_TRUE(beyond);
}

TEST(FlowPlotProfile, ColumnValuesCurveAndFlatColumn)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    // Speed grows outward, row by row.
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 290 + ((e - 1) / 38);
    m->ProfileQuantity = 0;
    m->ProfileXLocation = static_cast<float>(6.2 * kDX);  // column 6
    ProfilePlot p = profilePlot(*m, *g, 300);
    EXPECT_EQ(p.station, 6);
    ASSERT_EQ(p.values.size(), 20u);
    EXPECT_EQ(p.pmax, 308);
    const double centre = (m->GridNodeRadius(6, 1) + m->GridNodeRadius(7, 1) + m->GridNodeRadius(7, 2) +
                           m->GridNodeRadius(6, 2)) / 4;
    EXPECT_FLOAT_EQ(p.radii[1], static_cast<float>(centre));
    ASSERT_EQ(p.curve.size(), 18u);
    EXPECT_EQ(p.curve.front().x1, 0);  // the smallest value on the left edge ...
    EXPECT_EQ(p.curve.back().x2, 500); // ... the largest on the right
    EXPECT_NEAR(p.curve.front().y1, centre * 500 / m->DomainHeight, 1e-4);

    // Static pressure of a column moving at the free-stream speed: the ambient
    // pressure everywhere, drawn as an upright line at mid-width.
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 300;
    m->ProfileQuantity = 1;
    p = profilePlot(*m, *g, 300);
    EXPECT_EQ(p.pmin, 2116.2);
    ASSERT_EQ(p.curve.size(), 18u);
    for (const MeshStroke& c : p.curve) EXPECT_TRUE(c.x1 == 250 && c.x2 == 250 && std::isfinite(c.y2));
}

} // namespace
} // namespace velmora
