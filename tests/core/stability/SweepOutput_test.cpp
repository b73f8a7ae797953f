#include "stability/SweepOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace velmora::stability {
namespace {

// An angle-of-attack sweep from 1 degree in steps of 3 with its results.
std::unique_ptr<Module1> aoaSweep(int steps)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->SweepStepCount = steps;
    const double cd[] = {0.5, 0.625, 0.75}, cn[] = {0.0175, 0.07, 0.1225}, cm[] = {0, -0.2, -0.4};
    const float xcp[] = {0.75f, 0.8f, 0.85f};
    for (int i = 1; i <= steps && i <= 3; ++i) {
        m->SweepDragCoefficients(i) = cd[i - 1];
        m->SweepNormalForceCoefficients(i) = cn[i - 1];
        m->SweepMomentCoefficients(i) = cm[i - 1];
        m->SweepCenterOfPressureRatios(i) = xcp[i - 1];
    }
    return m;
}

void velocitySweep(Module1& m)
{
    m.AoaSweepSelected = 0;
    m.VelocitySweepSelected = 1;
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
    velocitySweep(*m);
    m->SweepStartVelocity = 123.45678;
    m->SweepVelocityIncrement = 100;
    m->SweepPlotQuantity = 4;
    sweepPlotSeries(*m, 3);
    const SweepTable t = sweepTableLines(*m);
    EXPECT_EQ(t.lines[0], "   Velmora Velocity vs. XCp");
    EXPECT_EQ(t.lines[2], "   POINT  UINF     XCp");
    EXPECT_EQ(t.lines[5], "   3      323.45678 .85");
    EXPECT_EQ(t.message, "");

    // No title for another quantity: rows only. A step without a number is
    // left out and reported; the others are printed.
    m->SweepPlotQuantity = 0;
    m->SweepPlotY(2) = std::numeric_limits<double>::quiet_NaN();
    const SweepTable bad = sweepTableLines(*m);
    ASSERT_EQ(bad.lines.size(), 2u);
    EXPECT_EQ(bad.lines[1], "   3      323.45678 .85");
    EXPECT_EQ(bad.failedSteps, std::vector<int>{2});
    EXPECT_EQ(bad.message, "The data could not be printed.");
}

TEST(SweepExport, VelocityTitlesRefusalAndFailure)
{
    auto m = aoaSweep(2);
    velocitySweep(*m);
    SweepExport e = sweepExportBytes(*m);
    ASSERT_EQ(e.outcome, Outcome::Done);
    EXPECT_TRUE(e.bytes.starts_with("\"Velmora Velocity vs. Cd\"\r\n300,.5\r\n400,.625\r\n")) << e.bytes;
    EXPECT_NE(e.bytes.find("\"Velmora Velocity vs. XCp\"\r\n300,"), std::string::npos) << e.bytes;

    // No sweep kind: refused before anything is computed, silently.
    m->VelocitySweepSelected = 0;
    m->SweepPlotX(1) = 42;
    e = sweepExportBytes(*m);
    EXPECT_EQ(e.outcome, Outcome::Refused);
    EXPECT_EQ(e.message, "");
    EXPECT_EQ(m->SweepPlotX(1), 42);

    // A result without a number: no bytes, the message, the quantity kept.
    velocitySweep(*m);
    m->SweepPlotQuantity = 2;
    m->SweepMomentCoefficients(2) = std::numeric_limits<double>::infinity();
    e = sweepExportBytes(*m);
    EXPECT_EQ(e.outcome, Outcome::Failed);
    EXPECT_EQ(e.bytes, "");
    EXPECT_EQ(e.message, "The comma-delimited data could not be saved.");
    EXPECT_EQ(m->SweepPlotY(2), 0.07);  // the user's quantity, CN, is back
}

} // namespace
} // namespace velmora::stability
