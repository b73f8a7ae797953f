#include "sweep/SweepPlot.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "sweep/SweepOutput.h"
#include "tests/core/sweep/SweepResults.h"

namespace velmora::stability {
namespace {

using testing::aoaResults;

TEST(SweepPlot, XValuesAndWholeNumberEnds)
{
    // The middle labels halve the ends.
    const struct { double start, increment, steps, lastCd; const char *maxAoa, *maxData, *xMid, *yMid; } cases[] = {
        {1, 3, 5, 0.3, "13.", ".6", "6.5", ".3"},             // 13 stays; 0.6 stays below 1
        {1, 2.375, 5, 1.2, "11.", "2.", "5.5", "1."},         // 10.5 goes up to 11, 2.4 down to 2
        {0.5, 0.25, 3, -0.9, "1.", "-1.", ".5", "-.5"},       // a negative end keeps its sign
        {1, 500, 4, 600, "1501.", "1200.", "750.5", "600."},  // beyond 1001 nothing is rounded
    };
    for (const auto& c : cases) {
        std::vector<double> cd(static_cast<std::size_t>(c.steps), 0.1);
        cd.back() = c.lastCd;
        auto m = aoaResults(c.start, c.increment, cd);
        const SweepPlot p = sweepPlot(*m, c.steps);
        EXPECT_EQ(std::tuple(p.plotType, p.minAoa, p.maxAoa, p.maxData, p.xMiddle, p.yMiddle),
                  std::tuple(kSweepAxisAngle, "0.0", c.maxAoa, c.maxData, c.xMid, c.yMid));
    }
}

TEST(SweepPlot, FirstPointRuleScaleAndTheCurve)
{
    // A first result of 0 is plotted as the second; the result keeps its 0.
    auto m = aoaResults(1, 1, {0, 0.4, 0.5});
    SweepPlot p = sweepPlot(*m, 3);
    EXPECT_EQ(std::pair(m->SweepPlotY(1), m->SweepDragCoefficients(1)), std::pair(0.4, 0.0));
    // Three points, two blue segments in the 2000 x 2000 area: x end 3, y end 1.
    ASSERT_EQ(p.curve.size(), 2u);
    EXPECT_EQ(p.curve[0], (MeshStroke{MeshStroke::Kind::Line, 100 + 2000.0 / 3, 900, 100 + 4000.0 / 3, 900, 1}));
    EXPECT_DOUBLE_EQ(p.curve[1].y2, 1100);
    // The frame's last x tick lies beyond the edge.
    EXPECT_EQ(p.frame.back(), (MeshStroke{MeshStroke::Kind::Line, 2300, 100, 2300, 180, -1}));

    // The y scale of the keys multiplies the end: twice up triples it.
    m->SweepPlotYScale = 3;
    p = sweepPlot(*m, 3);
    EXPECT_DOUBLE_EQ(m->SweepPlotYMax, 3);
    EXPECT_EQ(p.maxData, "3.");
    EXPECT_DOUBLE_EQ(p.curve[1].y2, 100 + 1000.0 / 3);

    // A fractional count plots the steps that ran, and the y end is the last of those, not of the rounded count.
    m = aoaResults(1, 1, {0.1, 0.2, 0.3, 0.9});
    p = sweepPlot(*m, 3.5);
    EXPECT_EQ(p.curve.size(), 2u);
    EXPECT_DOUBLE_EQ(m->SweepPlotYMax, 0.6);
}

TEST(SweepPlot, QuantitiesAndNoData)
{
    auto m = aoaResults(1, 1, {0.1, 0.2});
    m->SweepNormalForceCoefficients(2) = 0.45;
    m->SweepMomentCoefficients(2) = -0.3;
    m->SweepCenterOfPressureRatios(2) = 0.35f;
    m->SweepPlotQuantity = 2;
    sweepPlot(*m, 2);
    EXPECT_DOUBLE_EQ(m->SweepPlotYMax, 0.9);
    m->SweepPlotQuantity = 3;
    SweepPlot p = sweepPlot(*m, 2);
    EXPECT_EQ(p.maxData, "-.6");
    m->SweepPlotQuantity = 4;
    sweepPlot(*m, 2);
    EXPECT_EQ(m->SweepPlotYMax, static_cast<double>(2.0f * 0.35f));  // single precision

    // No data: the last result is 0; frame and x labels, no curve.
    m = aoaResults(1, 1, {0.1, 0.2, 0});
    p = sweepPlot(*m, 3);
    EXPECT_EQ(std::tuple(p.noData, p.maxData, p.maxAoa, p.curve.size()), std::tuple(true, "", "3.", 0u));
}

} // namespace
} // namespace velmora::stability
