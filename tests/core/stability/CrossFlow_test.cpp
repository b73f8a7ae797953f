#include "stability/CrossFlow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::stability {
namespace {

TEST(CrossFlowRange, DecadesOfAnyMagnitude)
{
    struct Case { double cmax, cmin, top, bottom; };
    const Case cases[] = {
        {5, -3, 10, -40},         // (1, 10)
        {5, -50, 100, -400},      // the smallest below -40: one decade up
        {0.5, -1, 1, -4},         // (0.1, 1)
        {-0.5, -100, 1, -4},      // all negative: however low the smallest
        {-1, -2, 1, -4},          // a negative power of ten keeps its decade
        {1, -2, 10, -40},         // a positive power of ten takes the next
        {2e-12, -1e-12, 1e-11, -4e-11},  // below 1e-9
        {0, -500, 1000, -4000},   // the largest Cp is 0
    };
    for (const Case& c : cases) {
        const CrossFlowRange r = crossFlowDecadeRange(c.cmax, c.cmin);
        EXPECT_NEAR(r.top, c.top, 1e-9 * c.top) << c.cmax << " " << c.cmin;
        EXPECT_NEAR(r.bottom, c.bottom, 1e-9 * c.top) << c.cmax << " " << c.cmin;
    }
}

// A solved-looking state: n stations 1 inch apart from the nose tip at 2,
// Cp of panel k = k / 1000 (so the largest of a ring is its last meridian).
std::unique_ptr<Module1> stations(int n, int meridians)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->BodyStationCount = static_cast<int16_t>(n);
    m->MeridianCount = static_cast<int16_t>(meridians);
    m->NoseTipX = 2;
    for (int i = 1; i <= n; ++i) m->BodyStationX(i) = 2 + (i - 1);
    for (int k = 1; k <= n * meridians && k <= 792; ++k) m->BodySurfaceCp(k) = static_cast<float>(k) / 1000;
    return m;
}

TEST(CYLFLOW, MeridianAnglesZoomStationClampAndRefusal)
{
    const std::vector<double> eight = {112.5, 157.5, 202.5, 247.5, 292.5, 337.5, 22.5, 67.5};
    const std::vector<double> ten = {108, 144, 180, 216, 252, 288, 324, 0, 36, 72};
    for (const auto& [n, angles] : {std::pair{8, eight}, std::pair{10, ten}}) {
        auto m = stations(20, n);
        m->CrossflowStation = 3;
        const CrossFlowReport r = CYLFLOW(*m);
        ASSERT_EQ(r.points.size(), angles.size());
        for (std::size_t j = 0; j < angles.size(); ++j) {
            EXPECT_NEAR(r.points[j].angle, angles[j], 1e-12) << n << " " << j;
            EXPECT_EQ(r.points[j].cp, m->BodySurfaceCp(2 * n + 1 + static_cast<long>(j)));
        }
        // 0.024 .. 0.036 lie in (0.01, 0.1)
        EXPECT_EQ(std::tuple(r.distance, m->CrossflowCpTop, m->CrossflowCpBottom), std::tuple(2.0, 0.1, -0.4));
    }

    // Station 1 at the nose tip, with a zoom of 100.
    auto m = stations(20, 8);
    m->CrossflowStation = 1;
    m->CrossflowCpScale = 100;
    CrossFlowReport r = CYLFLOW(*m);
    EXPECT_DOUBLE_EQ(r.top, 1);  // 0.001 .. 0.008: (0.001, 0.01) times 100
    EXPECT_DOUBLE_EQ(m->CrossflowCpBottom, -4);
    EXPECT_TRUE(crossFlowZoomFits(*m));
    m->CrossflowCpBottom = -1e4;
    EXPECT_FALSE(crossFlowZoomFits(*m));

    // A station picked on a finer mesh comes back to the last intact ring.
    m->CrossflowStation = 30;
    r = CYLFLOW(*m);
    EXPECT_EQ(m->CrossflowStation, 18);
    m->CrossflowStation = 0;
    EXPECT_TRUE(clampCrossflowStation(*m));
    EXPECT_EQ(m->CrossflowStation, 1);

    // Below 3 stations nothing is plotted and nothing changes.
    m = stations(2, 8);
    m->CrossflowStation = 5;
    m->CrossflowCpTop = 7;
    EXPECT_EQ(CYLFLOW(*m).outcome, Outcome::Refused);
    EXPECT_EQ(std::tuple(m->CrossflowStation, m->CrossflowCpTop), std::tuple(5, 7.0));
}

// A ring must lie within the 792 entries of the surface table: station 66 of 12 meridians ends on entry 792 and is
// plotted, station 67 would read past it and is refused with nothing changed.
TEST(CYLFLOW, StationRingAtTheEndOfTheSurfaceTable)
{
    auto m = stations(100, 12);
    m->CrossflowStation = 66;
    const CrossFlowReport last = CYLFLOW(*m);
    ASSERT_EQ(last.outcome, Outcome::Done);
    EXPECT_EQ(std::tuple(last.points.size(), last.points.front().cp, last.cmax),
              std::tuple(12u, double(m->BodySurfaceCp(781)), double(m->BodySurfaceCp(792))));
    m->CrossflowStation = 67;
    m->CrossflowCpTop = 7;
    EXPECT_EQ(CYLFLOW(*m).outcome, Outcome::Refused);
    EXPECT_EQ(std::tuple(m->CrossflowStation, m->CrossflowCpTop), std::tuple(67, 7.0));
}

TEST(ClassicalCrossFlow, CylinderCurve)
{
    const auto ten = classicalCrossFlow(10);
    ASSERT_EQ(ten.size(), 100u);
    EXPECT_NEAR(ten[0].cp, 0.0301537, 5e-8);  // sin^2(10 degrees)
    EXPECT_NEAR(ten[99].angle, 360, 1e-4);
    double lowest = 0;
    for (const auto& p : ten) lowest = std::min(lowest, p.cp);
    EXPECT_NEAR(lowest, -3 * 0.0301537, 2e-3);  // 1 - 4 sin^2 theta is -3 at 90 degrees
    EXPECT_DOUBLE_EQ(crossFlowPlotY(0, 10, -40), 1600);
    EXPECT_DOUBLE_EQ(crossFlowPlotY(-40, 10, -40), 0);
}

} // namespace
} // namespace velmora::stability
