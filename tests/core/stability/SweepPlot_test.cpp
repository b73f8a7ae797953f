#include "stability/SweepPlot.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::stability {
namespace {

// An angle-of-attack sweep's state with the given Cd of steps 1, 2, ...
std::unique_ptr<Module1> aoaResults(double start, double increment, const std::vector<double>& cd)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->AoaSweepSelected = 1;
    m->VelocitySweepSelected = 0;
    m->SweepStartAoa = start;
    m->SweepAoaIncrement = increment;
    m->SweepPlotQuantity = 1;
    m->SweepPlotYScale = 1;
    for (std::size_t i = 0; i < cd.size(); ++i) m->SweepDragCoefficients(static_cast<int>(i) + 1) = cd[i];
    return m;
}

TEST(SweepPlot, XValuesAndWholeNumberEnds)
{
    struct Case {
        double start, increment, steps;
        double lastCd;
        double xEnd, yEnd;
        const char* maxAoa;
        const char* maxData;
    };
    const Case cases[] = {
        {1, 3, 5, 0.3, 13, 0.6, "13.", ".6"},          // 13 stays; 0.6 stays below 1
        {1, 2.5, 5, 0.7, 11, 1, "11.", "1."},          // 1.4 goes down to 1
        {1, 2.375, 5, 1.2, 11, 2, "11.", "2."},        // 10.5 goes up to 11, 2.4 down to 2
        {0.5, 0.25, 3, -0.9, 1, -1, "1.", "-1."},      // a negative end keeps its sign
        {1, 500, 4, 600, 1501, 1200, "1501.", "1200."}, // beyond 1001 nothing is rounded
    };
    for (const Case& c : cases) {
        std::vector<double> cd(static_cast<std::size_t>(c.steps), 0.1);
        cd.back() = c.lastCd;
        auto m = aoaResults(c.start, c.increment, cd);
        const SweepPlot p = sweepPlot(*m, c.steps);
        SCOPED_TRACE(c.maxAoa);
        EXPECT_EQ(p.plotType, kSweepAxisAngle);
        EXPECT_DOUBLE_EQ(m->SweepPlotXMax, c.xEnd);
        EXPECT_DOUBLE_EQ(m->SweepPlotYMax, c.yEnd);
        EXPECT_EQ(p.maxAoa, c.maxAoa);
        EXPECT_EQ(p.maxData, c.maxData);
        EXPECT_EQ(m->SweepPlotX(static_cast<int>(c.steps)), c.start + (c.steps - 1) * c.increment);
    }
    auto m = aoaResults(1, 3, {0.1, 0.1, 0.1, 0.1, 0.3});
    const SweepPlot p = sweepPlot(*m, 5);
    EXPECT_EQ(p.minAoa, "0.0");
    EXPECT_EQ(p.xMiddle, "6.5");
    EXPECT_EQ(p.yMiddle, ".3");
}

TEST(SweepPlot, FirstPointRuleScaleAndTheCurve)
{
    // A first result of 0 is plotted as the second; the result keeps its 0.
    auto m = aoaResults(1, 1, {0, 0.4, 0.5});
    SweepPlot p = sweepPlot(*m, 3);
    EXPECT_EQ(m->SweepPlotY(1), 0.4);
    EXPECT_EQ(m->SweepDragCoefficients(1), 0);
    // Three points, two blue segments in the 2000 x 2000 area: x end 3, y end 1.
    ASSERT_EQ(p.curve.size(), 2u);
    EXPECT_EQ(p.curve[0], (MeshStroke{MeshStroke::Kind::Line, 100 + 2000.0 / 3, 900, 100 + 4000.0 / 3, 900, 1}));
    EXPECT_DOUBLE_EQ(p.curve[1].y2, 1100);
    // Frame: 4 + 2 lines, 11 + 11 ticks, the last x tick beyond the edge.
    EXPECT_EQ(p.frame.size(), 28u);
    EXPECT_EQ(p.frame.back(), (MeshStroke{MeshStroke::Kind::Line, 2300, 100, 2300, 180, -1}));

    // The y scale of the keys multiplies the end: twice up triples it.
    m->SweepPlotYScale = 3;
    p = sweepPlot(*m, 3);
    EXPECT_DOUBLE_EQ(m->SweepPlotYMax, 3);
    EXPECT_EQ(p.maxData, "3.");
    EXPECT_DOUBLE_EQ(p.curve[1].y2, 100 + 1000.0 / 3);

    // One step: labels, no segment.
    m = aoaResults(2, 1, {0.25});
    p = sweepPlot(*m, 1);
    EXPECT_TRUE(p.curve.empty());
    EXPECT_EQ(p.maxAoa, "2.");

    // A fractional count plots the steps that ran, and the y end is the
    // last of those, not of the rounded count.
    m = aoaResults(1, 1, {0.1, 0.2, 0.3, 0.9});
    p = sweepPlot(*m, 3.5);
    EXPECT_EQ(p.curve.size(), 2u);
    EXPECT_DOUBLE_EQ(m->SweepPlotYMax, 0.6);
}

TEST(SweepPlot, QuantitiesKindsAndNoData)
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
    // Another quantity leaves the y values and end as they were.
    m->SweepPlotQuantity = 7;
    m->SweepPlotY(2) = 42;
    sweepPlot(*m, 2);
    EXPECT_EQ(m->SweepPlotY(2), 42);

    // Velocity sweep: its own start, increment and caption.
    m->SweepPlotQuantity = 1;
    m->AoaSweepSelected = 0;
    m->VelocitySweepSelected = 1;
    m->SweepStartVelocity = 300;
    m->SweepVelocityIncrement = 100;
    p = sweepPlot(*m, 2);
    EXPECT_EQ(p.plotType, kSweepAxisVelocity);
    EXPECT_EQ(m->SweepPlotX(2), 400);

    // No data: the last result is 0; frame and x labels, no curve.
    m = aoaResults(1, 1, {0.1, 0.2, 0});
    p = sweepPlot(*m, 3);
    EXPECT_TRUE(p.noData);
    EXPECT_EQ(p.maxData, "");
    EXPECT_EQ(p.maxAoa, "3.");
    EXPECT_TRUE(p.curve.empty());
}

} // namespace
} // namespace velmora::stability
