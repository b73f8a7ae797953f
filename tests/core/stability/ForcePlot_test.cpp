#include "stability/ForcePlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "stability/CenterOfPressure.h"

namespace velmora::stability {
namespace {

TEST(ForcePlotRange, SmallestWholeTenthsAboveTheLargestMagnitude)
{
    struct Case { std::vector<double> upper, lower; double high; };
    const Case cases[] = {
        {{0, 0.55, 0.1}, {0, -0.2, 0.3}, 0.6},
        {{0, -1.25, 0.2}, {0, 0.4, 0.1}, 1.3},
        {{0, 0.5}, {0, -0.5}, 0.6},          // exactly a tenth: the next one
        {{0, 0}, {0, 0}, 0.1},
        {{0, -250}, {0, 40}, 260},           // 10 and more: whole tenths of the decade below
        {{0, 1e6, NAN}, {0, 0}, 1.1e6},      // a value without a number is passed over
        {{7, 0.2}, {-9, 0.1}, 0.3},          // index 0 is not a station
    };
    for (const Case& c : cases) {
        const ForcePlotRange r = forcePlotRange(c.upper, c.lower);
        EXPECT_NEAR(r.high, c.high, 1e-9 * c.high) << c.high;
        EXPECT_EQ(r.low, -r.high);
    }
}

TEST(ForcePlotStrokes, CurvesAxisAndTheTrueHalfEllipse)
{
    // Stations on a standard-looking grid: two axis nodes ahead of the nose tip, then a cone of length 3 and a tube
    // to x = 17; domain 17 long, 8.5 high. A run over 15 stations, Cp -0.2 above and 0.2 below.
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->MeshAxialNodeCount = 17;
    m->NoseTipX = 2;
    m->DomainLength = 17;
    m->DomainAspectRatio = 2;
    m->DomainHeight = 8.5;
    for (int k = 1; k <= 17; ++k) {
        m->GridNodeX(k, 1) = k - 1;
        m->GridNodeRadius(k, 1) = std::clamp((k - 3) / 6.0, 0.0, 0.5);
    }
    m->FinRootChord = m->FinTipChord = 3;
    m->FinSpan = 2;
    m->FinTipDistance = m->FinRootDistance = 11;
    m->FinPlanformCode = 4;  // elliptical
    CenterOfPressureReport run;
    run.outcome = Outcome::Done;
    run.stationCount = 15;
    run.UpperSurfaceCp.assign(15, -0.2);
    run.LowerSurfaceCp.assign(15, 0.2);
    run.plotHigh = 0.3;
    run.plotLow = -0.3;
    const std::vector<MeshStroke> s = forcePlotStrokes(*m, run);
    const double xs = 500.0 / 17, yb = 500.0 / 8.5;
    // Zero line, axis at the nose tip (the grid has axis nodes), 9 + 10 ticks.
    EXPECT_EQ(s[0], (MeshStroke{MeshStroke::Kind::Line, 0, 250, 500, 250, -1}));
    EXPECT_EQ(s[1], (MeshStroke{MeshStroke::Kind::Line, xs * 2, 0, xs * 2, 500, -1}));
    // 13 segments per curve; Cp -0.2 lies 2/3 of the way up to the top edge.
    EXPECT_EQ(std::ranges::count(s, kUpperCurveColour, &MeshStroke::colour), 13);
    EXPECT_NEAR(s[2 + 19].y1, 250 + 500.0 / 0.6 * 0.2, 1e-9);
    EXPECT_EQ(std::ranges::count(s, -1, &MeshStroke::colour), 2 + 19 + 16);  // and 16 outline segments
    // One half-ellipse on the root chord: semi-axes Cr/2 and the span.
    ASSERT_EQ(std::ranges::count(s, MeshStroke::Kind::HalfEllipse, &MeshStroke::kind), 1);
    EXPECT_EQ(*std::ranges::find(s, MeshStroke::Kind::HalfEllipse, &MeshStroke::kind),
              (MeshStroke{MeshStroke::Kind::HalfEllipse, xs * (11 + 2 + 1.5), yb * 0.5, xs * 1.5, yb * 2, 9}));

    // Nothing for a refused run or a domain without a length.
    EXPECT_TRUE(forcePlotStrokes(*m, CenterOfPressureReport{}).empty());
    m->DomainLength = 0;
    EXPECT_TRUE(forcePlotStrokes(*m, run).empty());
}

} // namespace
} // namespace velmora::stability
