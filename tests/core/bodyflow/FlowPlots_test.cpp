#include "bodyflow/FlowPlots.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bodyflow/Grid.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

NullProgress quiet;

// The typical rocket on the default 20 x 20 grid: DX = 15 / 17, L = 19 DX, H = L / 2, the nose tip at station 3.
std::unique_ptr<Module1> gridded()
{
    auto m = testing::typicalRocket();
    EXPECT_EQ(GRID(*m, 300, quiet).outcome, Outcome::Done);
    m->AmbientPressure = 2116.2;
    m->AmbientDensity = 0.002377;
    return m;
}

const double kDX = 15.0 / 17;

TEST(FlowPlotLevels, ColourRampsLevelsBandsAndCountChecks)
{
    EXPECT_EQ(colourRamp(3), (std::vector<long>{0, 255 * 65536, 255 * 256}));  // blue, then green
    // Twenty levels: steps of 28, ten entries per half after the black entry 0.
    const auto r20 = colourRamp(20);
    ASSERT_EQ(r20.size(), 21u);
    EXPECT_EQ(std::tuple(r20[11], r20[20]), std::tuple(rgbLong(0, 255, 0), rgbLong(252, 3, 0)));
    EXPECT_EQ(colourRamp(100).back(), rgbLong(255, 0, 0));
    for (int n = 3; n <= 100; ++n) EXPECT_GE(static_cast<long>(colourRamp(n).size()) - 1, n - 1) << n;

    const auto lv = contourLevels(1, 2, 3);
    EXPECT_EQ(lv, (std::vector<float>{0, 1, 1.5f, 2}));
    // Band edges: a value on level(L + 1) belongs to band L, level(1) to band 1;
    // outside the stored levels no band (painted black).
    const std::pair<double, int> bands[] = {{1.0, 1}, {1.5, 1}, {1.5000001, 2}, {0.999, 0}, {2.001, 0}};
    for (auto [value, band] : bands) EXPECT_EQ(bandOf(value, lv, 3), band) << value;

    // Twenty levels as a running sum end on the maximum within single precision.
    const auto l20 = contourLevels(3310.64, 3688.59, 20);
    EXPECT_FLOAT_EQ(l20[20], 3688.59f);
    EXPECT_EQ(bandOf(l20[20], l20, 20), 19);

    // A fractional count: loops run over the whole numbers below it, so the
    // top of the range (above level 3 = 0.8) lies in no band.
    const auto l35 = contourLevels(0, 1, 3.5);
    EXPECT_EQ(l35, (std::vector<float>{0, 0, 0.4f, 0.8f}));
    EXPECT_EQ(std::tuple(bandOf(0.7, l35, 3.5), bandOf(0.9, l35, 3.5)), std::tuple(2, 0));

    EXPECT_EQ(std::tuple(checkLevelCount(100), checkLevelCount(100.5), checkLevelCount(2.9)),
              std::tuple(LevelCheck::Ok, LevelCheck::TooMany, LevelCheck::TooFew));
}

TEST(FlowPlotContours, CellsLegendPressuresAndNoGrid)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    ASSERT_TRUE(g);
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 100.0 + e;
    const ContourPlot p = contourPlot(*m, *g, ContourQuantity::Speed);
    ASSERT_EQ(p.cells.size(), 361u);
    // The last cell: the mean of triangles 721 and 722.
    EXPECT_EQ(std::tuple(p.fmin, p.fmax, p.cellValues[361]), std::tuple(101.0, 822.0, 821.5));
    EXPECT_EQ(std::tuple(p.cells[0].colour, p.cells[360].band), std::tuple(rgbLong(0, 0, 255), 19));
    // Cell (3, 1) starts at the nose tip: its edges rise with the nose, the upper one 4 units above the grid line.
    const ContourCell& tip = p.cells[2];
    EXPECT_NEAR(tip.corners[3] - tip.corners[1], m->GridNodeRadius(4, 1) * p.sy, 1e-9);
    EXPECT_NEAR(tip.corners[7], m->GridNodeRadius(3, 2) * p.sy + 4, 1e-9);
    // Legend: 19 bands stacked from the bottom, each 500 / 19 high.
    ASSERT_EQ(p.legend.size(), 19u);
    EXPECT_NEAR(p.legend[18].y2, 500, 1e-9);
    EXPECT_EQ(p.legend[18].colour, rgbLong(224, 31, 0));

    // Three levels: two bands, blue below and green above, 250 high each.
    m->ContourLevelCount = 3;
    const ContourPlot p3 = contourPlot(*m, *g, ContourQuantity::Speed);
    ASSERT_EQ(p3.legend.size(), 2u);
    EXPECT_EQ(std::tuple(p3.legend[1].y1, p3.cells[360].colour), std::tuple(250.0, rgbLong(0, 255, 0)));

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
}

TEST(FlowPlotOverlay, BodyOutlineAndFins)
{
    auto m = gridded();
    const auto g = plotGrid(*m);
    const double sx = 500 / m->DomainLength, sy = 1000 / m->DomainLength;
    m->FinPlanformCode = 0;
    auto strokes = flowOverlay(*m, *g, sx, sy);
    ASSERT_EQ(strokes.size(), 19u);  // the grid's lower boundary, nothing of the fin
    EXPECT_NEAR(strokes[3].y2, m->GridNodeRadius(5, 1) * sy, 1e-9);

    // A tapered fin whose root leading edge sits exactly on station 15: its
    // tip a span above the grid's body radius there.
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
    EXPECT_NEAR(strokes[1].y1, (m->GridNodeRadius(15, 1) + 1.5) * sy, 1e-9);

    m->FinPlanformCode = 4;  // elliptical: the half-ellipse over the root chord
    EXPECT_EQ(flowOverlay(*m, *g, sx, sy)[0].kind, MeshStroke::Kind::HalfEllipse);
}

TEST(FlowPlotProfile, StationColumnValuesAndFlatColumn)
{
    std::vector<double> cx{0};
    for (long i = 1; i <= 19; ++i) cx.push_back((i - 0.5) * kDX);
    const double L = 19 * kDX;
    bool beyond = true;
    for (long i = 1; i <= 18; ++i) EXPECT_EQ(profileStation(cx, 19, (i + 0.5) * kDX - 0.01, L, beyond), i);
    EXPECT_FALSE(beyond);
    // On a centre, at L and past the end: the inflow column.
    EXPECT_EQ(profileStation(cx, 19, 4.5 * kDX, L, beyond), 1);
    EXPECT_EQ(profileStation(cx, 19, L, L, beyond), 1);
    EXPECT_FALSE(beyond);
    EXPECT_EQ(profileStation(cx, 19, L + 0.001, L, beyond), 1);
    EXPECT_TRUE(beyond);

    auto m = gridded();
    const auto g = plotGrid(*m);
    // Speed grows outward, row by row.
    for (long e = 1; e <= 722; ++e) m->ElementSpeed(e) = 290 + ((e - 1) / 38);
    m->ProfileQuantity = 0;
    m->ProfileXLocation = static_cast<float>(6.2 * kDX);  // column 6
    ProfilePlot p = profilePlot(*m, *g, 300);
    EXPECT_EQ(std::tuple(p.station, p.pmax), std::tuple(6L, 308.0));
    const double centre = (m->GridNodeRadius(6, 1) + m->GridNodeRadius(7, 1) + m->GridNodeRadius(7, 2) +
                           m->GridNodeRadius(6, 2)) / 4;
    ASSERT_EQ(p.curve.size(), 18u);
    // The smallest value on the left edge, the largest on the right.
    EXPECT_EQ(std::tuple(p.curve.front().x1, p.curve.back().x2), std::tuple(0.0, 500.0));
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
