#include "finpanel/FinPlot.h"

#include <gtest/gtest.h>

#include <tuple>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinSection.h"
#include "tests/core/finpanel/FinInputs.h"

using namespace velmora;
using namespace velmora::finpanel;
using velmora::testing::section;

namespace {

// A 4-panel flat plate (chord 2) with a chosen solution.
struct Case {
    FinSectionInput in = ::section("FLAT PLATE", 4, 0.2, 2.0);
    SectionPoints section;
    PanelSolution solution;
    explicit Case(float cp1, float cp2, float cp3, float cp4, const char* quantity = "Cp")
    {
        in.plotChoice = quantity;
        section = generateSection(in);
        solution.count = 4;
        solution.cp = {0, cp1, cp2, cp3, cp4};
        solution.surfaceVelocity = {0, 10.0 * cp1, 10.0 * cp2, 10.0 * cp3, 10.0 * cp4};
        solution.controlPointX = {0, -1, 0, 1, 0};
    }
};

} // namespace

TEST(FinPlot, PressureRangeSnapsToSymmetricIntegers)
{
    // Smallest Cp; range top and bottom; their labels.
    const std::tuple<float, double, double, const char*, const char*> cases[] = {
        {-0.4f, -1, 1, "-1.", "1."}, {-2.5f, -3, 3, "-3.", "3."}, {-2.0f, -2, 0.5, "-2.", ".5"}};
    for (const auto& [minimum, top, bottom, minLabel, maxLabel] : cases) {
        const Case c(0.5f, minimum, 0.1f, 0.2f);
        const ResultPlot p = PlotResults(c.in, c.section, c.solution);
        EXPECT_EQ(std::tuple(p.rangeTop, p.rangeBottom, p.minLabel, p.maxLabel),
                  std::tuple(top, bottom, minLabel, maxLabel)) << minimum;
    }
}

TEST(FinPlot, SeriesAxesAndTicks)
{
    const Case c(0.9f, -0.5f, 0.2f, 0.3f);
    const ResultPlot p = PlotResults(c.in, c.section, c.solution);
    ASSERT_TRUE(p.hasCurves);
    // Upper: panels 1..3; lower: panel 1, then 4, 3.
    EXPECT_FLOAT_EQ(p.upper[2], -0.5f);
    EXPECT_FLOAT_EQ(p.lower[2], 0.3f);
    // Section extent 2 fills 500/1.2; Cp range -1..1 fills the height, negative up.
    ASSERT_EQ(p.upperCurve.size(), 3u);
    EXPECT_DOUBLE_EQ(p.upperCurve[1].y, 250.0 + 250.0 * 0.5);
    EXPECT_DOUBLE_EQ(p.verticalAxis.from.x, 250.0 - 500.0 / 2.4);
    EXPECT_EQ(p.ticks.size(), 19u);
    // The outline is the one FINPLOT draws for the same section.
    EXPECT_NEAR(FINPLOT(c.in).outline[1].y, 88.0 + 500.0 / 2.4 * 0.1, 1e-5);
    EXPECT_DOUBLE_EQ(FINPLOT(c.in).outline[1].y, p.outline[1].y);
}

TEST(FinPlot, VelocityAndCompressibility)
{
    Case c(0.0f, 0.8f, 0.5f, -0.6f, "Velocity");
    c.in.unitMenuIndex = 2;
    c.in.compressibleFlow = 1;
    c.in.freeStreamMachNumber = 0.6f;
    const ResultPlot p = PlotResults(c.in, c.section, c.solution);
    EXPECT_EQ(std::tuple(p.unitsLabel, p.maxLabel), std::tuple("M/SEC", "-10."));
    EXPECT_NEAR(p.rangeTop, 8.0 / 0.8, 1e-5);
    EXPECT_NEAR(p.upper[2], 10.0, 1e-5);
    EXPECT_EQ(std::tuple(p.upper[3], p.lower[1]), std::tuple(0.0, 0.0));  // the upper curve ends at 0, the lower starts
    EXPECT_NEAR(p.upperCurve[1].y, 250.0 + 500.0 / 2.2, 1e-4);  // VMAX at 1/1.1 of the half-height

    c.in.plotChoice = "Other";
    const ResultPlot none = PlotResults(c.in, c.section, c.solution);
    EXPECT_EQ(std::tuple(none.hasCurves, none.outline.size()), std::tuple(false, 4u));
}

// No scale to draw with: the status names what was not drawn.
TEST(FinPlot, DegenerateRangesSaySo)
{
    for (auto [cp, quantity, status] :
         {std::tuple{-2.0f, "Cp", kMsgNoCpRange}, std::tuple{0.0f, "Velocity", kMsgNoVelocityRange}}) {
        const Case c(cp, cp, cp, cp, quantity);  // velocities 10 x Cp
        const ResultPlot p = PlotResults(c.in, c.section, c.solution);
        EXPECT_EQ(std::tuple(p.upperCurve.empty(), p.outline.empty(), p.status), std::tuple(true, false, status))
            << quantity;
    }
    // Equal x and y maxima: no extent pair is chosen, nothing is drawn.
    Case c(0.5f, -0.5f, 0.1f, 0.2f);
    c.section.x = {0, 0, 0, 1, 1};
    c.section.y = {0, 0, 1, 1, 0};
    const ResultPlot p = PlotResults(c.in, c.section, c.solution);
    EXPECT_EQ(std::tuple(p.hasCurves, p.outline.empty(), p.status), std::tuple(false, true, kMsgNoSectionScale));
}

// A section text outside the list (only code writes one) is neither drawn nor solved.
TEST(FinPlot, SectionDrawingMagnifiesAndRefuses)
{
    Case c(0, 0, 0, 0);
    const SectionDrawing one = FINPLOT(c.in);
    c.in.thicknessFactor = 4;
    const SectionDrawing four = FINPLOT(c.in);
    ASSERT_TRUE(one.ok && four.ok);
    // The "3X" entry: the section four times as thick, drawn four times magnified.
    EXPECT_NEAR(four.outline[1].y - 88.0, 16.0 * (one.outline[1].y - 88.0), 1e-9);

    c.in.sectionShape = "HEXAGON";
    const SectionDrawing none = FINPLOT(c.in);
    EXPECT_EQ(std::tuple(none.ok, none.status), std::tuple(false, "No fin section to plot.."));
    c.in.freeStreamVelocity = 100;
    c.in.finSpan = 1;
    c.in.referenceArea = 0.1f;
    NullProgress quiet;
    const FinSectionResult r = VORTEX(c.in, quiet);
    EXPECT_EQ(std::tuple(r.outcome, r.panel1), std::tuple(Outcome::Failed, "Panel method solution not found."));
}
