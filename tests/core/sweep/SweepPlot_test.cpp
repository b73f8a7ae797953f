#include "sweep/SweepPlot.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "sweep/SweepOutput.h"

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

// From 1 degree in steps of 3, with every quantity of three steps.
std::unique_ptr<Module1> aoaSweep(int steps)
{
    auto m = aoaResults(1, 3, {0.5, 0.625, 0.75});
    m->SweepStepCount = steps;
    const double cn[] = {0.0175, 0.07, 0.1225}, cm[] = {0, -0.2, -0.4};
    const float xcp[] = {0.75f, 0.8f, 0.85f};
    for (int i = 1; i <= 3; ++i) {
        m->SweepNormalForceCoefficients(i) = cn[i - 1];
        m->SweepMomentCoefficients(i) = cm[i - 1];
        m->SweepCenterOfPressureRatios(i) = xcp[i - 1];
    }
    return m;
}

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

TEST(SweepTableLines, HeadersAndRowsOfAThreeStepSweep)
{
    auto m = aoaSweep(3);
    m->SweepPlotQuantity = 2;
    sweepPlotSeries(*m, 3);
    EXPECT_EQ(sweepTableLines(*m).lines, (std::vector<std::string>{
                                              "   Velmora AOA vs. CN",
                                              "   ",
                                              "   POINT  AOA      CN",
                                              "   1      1.       .0175",
                                              "   2      4.       .07",
                                              "   3      7.       .1225",
                                          }));

    // Velocity sweep of XCp; a number filling its column keeps one blank.
    m->AoaSweepSelected = 0;
    m->VelocitySweepSelected = 1;
    m->SweepStartVelocity = 123.45678;
    m->SweepVelocityIncrement = 100;
    m->SweepPlotQuantity = 4;
    sweepPlotSeries(*m, 3);
    const std::vector<std::string> t = sweepTableLines(*m).lines;
    EXPECT_EQ(std::tuple(t[0], t[2], t[5]),
              std::tuple("   Velmora Velocity vs. XCp", "   POINT  UINF     XCp", "   3      323.45678 .85"));

    // No title for another quantity: rows only. A step without a number is
    // left out and reported; the others are printed.
    m->SweepPlotQuantity = 0;
    m->SweepPlotY(2) = std::numeric_limits<double>::quiet_NaN();
    const SweepTable bad = sweepTableLines(*m);
    ASSERT_EQ(bad.lines.size(), 2u);
    EXPECT_EQ(std::tuple(bad.lines[1], bad.failedSteps, bad.message),
              std::tuple("   3      323.45678 .85", std::vector<int>{2}, "The data could not be printed."));
}

TEST(SweepExport, VelocityTitlesRefusalAndFailure)
{
    auto m = aoaSweep(2);
    m->AoaSweepSelected = 0;
    m->VelocitySweepSelected = 1;
    SweepExport e = sweepExportBytes(*m);
    ASSERT_EQ(e.outcome, Outcome::Done);
    EXPECT_TRUE(e.bytes.starts_with("\"Velmora Velocity vs. Cd\"\r\n300,.5\r\n400,.625\r\n")) << e.bytes;
    EXPECT_NE(e.bytes.find("\"Velmora Velocity vs. XCp\"\r\n300,"), std::string::npos) << e.bytes;

    // No sweep kind: refused before anything is computed, silently.
    m->VelocitySweepSelected = 0;
    m->SweepPlotX(1) = 42;
    e = sweepExportBytes(*m);
    EXPECT_EQ(std::tuple(e.outcome, e.message, m->SweepPlotX(1)), std::tuple(Outcome::Refused, "", 42.0));

    // A result without a number: no bytes, the message, the quantity kept.
    m->VelocitySweepSelected = 1;
    m->SweepPlotQuantity = 2;
    m->SweepMomentCoefficients(2) = std::numeric_limits<double>::infinity();
    e = sweepExportBytes(*m);
    EXPECT_EQ(std::tuple(e.outcome, e.bytes, e.message),
              std::tuple(Outcome::Failed, "", "The comma-delimited data could not be saved."));
    EXPECT_EQ(m->SweepPlotY(2), 0.07);  // the user's quantity, CN, is back
}

} // namespace
} // namespace velmora::stability
