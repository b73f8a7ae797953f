#include "sweep/SweepOutput.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/core/sweep/SweepResults.h"

namespace velmora::stability {
namespace {

using testing::aoaSweep;

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
