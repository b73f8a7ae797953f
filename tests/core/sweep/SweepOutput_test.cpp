#include "sweep/SweepOutput.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "sweep/SweepPlot.h"
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

// A step whose XCp/L was not placed (stored as 0) is skipped by the plot, table and export of XCp, never drawn or
// written as 0 nor taken for a first 0; the y end comes from the last placed step; CN keeps every step.
TEST(SweepOutput, AStepWithoutACentreIsLeftOutOfPlotTableAndExport)
{
    const struct { const char* undefined; int quantity; std::size_t segments; std::string maxData, table, xcp; }
        cases[] = {
        {"101", 4, 0, "1.", "|.8|", "1,|4,.800000011920929|7,|"},  // the single-precision .8
        {"010", 4, 0, "1.", ".75||.85", "1,.75|4,|7,.850000023841858|"},
        {"001", 4, 1, "1.", ".75|.8|", "1,.75|4,.800000011920929|7,|"},
        {"101", 2, 2, ".245", ".0175|.07|.1225", "1,|4,.800000011920929|7,|"},
    };
    for (const auto& c : cases) {
        auto m = testing::aoaSweep(3);
        for (int i = 1; i <= 3; ++i)
            if (c.undefined[i - 1] == '1')
                m->SweepCenterOfPressureUndefined(i) = 1, m->SweepCenterOfPressureRatios(i) = 0;
        m->SweepPlotQuantity = static_cast<int16_t>(c.quantity);
        const SweepPlot p = sweepPlot(*m, 3);
        std::string table, bytes = sweepExportBytes(*m).bytes;
        for (std::size_t i = 3; i < 6; ++i) table += (i > 3 ? "|" : "") + sweepTableLines(*m).lines.at(i).substr(19);
        bytes = bytes.substr(bytes.find("XCp\"\r\n") + 6);
        for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.replace(at, 2, "|");
        EXPECT_EQ(std::tuple(p.curve.size(), p.maxData, p.skipped, table, bytes),
                  std::tuple(c.segments, c.maxData, c.quantity == 4, c.table, c.xcp)) << &c - cases;
    }
}

} // namespace
} // namespace velmora::stability
