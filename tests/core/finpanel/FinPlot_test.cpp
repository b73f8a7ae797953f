#include <gtest/gtest.h>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinPlot.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

// A 4-panel flat plate (chord 2) with a chosen solution.
struct Case {
    FinSectionInput in;
    SectionPoints section;
    PanelSolution solution;
    explicit Case(float cp1, float cp2, float cp3, float cp4, const char* quantity = "Cp")
    {
        in.sectionShape = "FLAT PLATE";
        in.panelCount = 4;
        in.finThickness = 0.2;
        in.finMeanChord = 2.0;
        in.plotChoice = quantity;
        section = generateSection(in);
        solution.count = 4;
        const float cp[] = {0, cp1, cp2, cp3, cp4};
        const double xc[] = {0, -1, 0, 1, 0};
        for (int i = 1; i <= 4; ++i) {
            solution.cp[i] = cp[i];
            solution.surfaceVelocity[i] = 10.0 * cp[i];
            solution.controlPointX[i] = xc[i];
        }
    }
};

} // namespace

TEST(FinPlot, PressureRangeSnapsToSymmetricIntegers)
{
    struct Expect {
        float minimum;
        double top, bottom;
        const char* minLabel;
        const char* maxLabel;
    };
    for (const Expect& e : {Expect{-0.4f, -1, 1, "-1.", "1."}, Expect{-2.5f, -3, 3, "-3.", "3."},
                            Expect{-2.0f, -2, 0.5, "-2.", ".5"}}) {
        const Case c(0.5f, e.minimum, 0.1f, 0.2f);
        const ResultPlot p = PlotResults(c.in, c.section, c.solution);
        SCOPED_TRACE(e.minimum);
        EXPECT_EQ(p.rangeTop, e.top);
        EXPECT_EQ(p.rangeBottom, e.bottom);
        EXPECT_EQ(p.minLabel, e.minLabel);
        EXPECT_EQ(p.maxLabel, e.maxLabel);
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
    const double sx = 500.0 / 2.4;
    ASSERT_EQ(p.upperCurve.size(), 3u);
    EXPECT_DOUBLE_EQ(p.upperCurve[1].y, 250.0 + 250.0 * 0.5);
    EXPECT_DOUBLE_EQ(p.verticalAxis.from.x, 250.0 - sx);
    ASSERT_EQ(p.ticks.size(), 19u);
    EXPECT_NEAR(p.ticks.back().from.x - p.verticalAxis.from.x, 416.5, 1e-9);
    EXPECT_EQ(p.ticks[8].from.y, 450.0);
    // The outline is the one FINPLOT draws for the same section.
    const SectionDrawing d = FINPLOT(c.in);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.outline.size(), p.outline.size());
    EXPECT_DOUBLE_EQ(d.outline[2].y, p.outline[2].y);
    EXPECT_NEAR(p.outline[1].y, 88.0 + sx * 0.1, 1e-5);
}

TEST(FinPlot, VelocityAndCompressibility)
{
    Case c(0.0f, 0.8f, 0.5f, -0.6f, "Velocity");
    c.in.unitMenuIndex = 2;
    c.in.compressibleFlow = 1;
    c.in.freeStreamMachNumber = 0.6f;
    const ResultPlot p = PlotResults(c.in, c.section, c.solution);
    EXPECT_EQ(p.unitsLabel, "M/SEC");
    EXPECT_NEAR(p.rangeTop, 8.0 / 0.8, 1e-5);
    EXPECT_EQ(p.maxLabel, "-10.");
    EXPECT_NEAR(p.upper[2], 10.0, 1e-5);
    EXPECT_EQ(p.upper[3], 0.0);  // both velocity curves end at 0
    EXPECT_EQ(p.lower[1], 0.0);  // and the lower one starts there
    EXPECT_NEAR(p.upperCurve[1].y, 250.0 + 500.0 / 2.2, 1e-4);  // VMAX at 1/1.1 of the half-height

    c.in.plotChoice = "Other";
    const ResultPlot none = PlotResults(c.in, c.section, c.solution);
    EXPECT_FALSE(none.hasCurves);
    EXPECT_EQ(none.outline.size(), 4u);
}

TEST(FinPlot, SectionDrawingMagnifiesAndRefuses)
{
    Case c(0, 0, 0, 0);
    const SectionDrawing one = FINPLOT(c.in);
    c.in.thicknessFactor = 4;
    const SectionDrawing four = FINPLOT(c.in);
    ASSERT_TRUE(one.ok && four.ok);
    EXPECT_NEAR(four.outline[1].y - 88.0, 16.0 * (one.outline[1].y - 88.0), 1e-9);

    c.in.finMeanChord = 0.0;
    const SectionDrawing none = FINPLOT(c.in);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.status, "No fin section to plot..");
}

// No scale to draw with: the status names what was not drawn.
TEST(FinPlot, DegenerateRangesSaySo)
{
    struct Expect {
        float cp;
        const char* quantity;
        const char* status;
        bool outline;
    };
    for (const Expect& e : {Expect{-2.0f, "Cp", kMsgNoCpRange, true},
                            Expect{0.0f, "Velocity", kMsgNoVelocityRange, true}}) {
        SCOPED_TRACE(e.quantity);
        const Case c(e.cp, e.cp, e.cp, e.cp, e.quantity);  // velocities 10 x Cp
        const ResultPlot p = PlotResults(c.in, c.section, c.solution);
        EXPECT_TRUE(p.upperCurve.empty());
        EXPECT_EQ(p.outline.empty(), !e.outline);
        EXPECT_EQ(p.status, e.status);
    }
    // Equal x and y maxima: no extent pair is chosen, nothing is drawn.
    Case c(0.5f, -0.5f, 0.1f, 0.2f);
    const double sq[][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int i = 1; i <= 4; ++i) {
        c.section.x[i] = sq[i][0];
        c.section.y[i] = static_cast<float>(sq[i][1]);
    }
    const ResultPlot p = PlotResults(c.in, c.section, c.solution);
    EXPECT_FALSE(p.hasCurves);
    EXPECT_TRUE(p.outline.empty());
    EXPECT_EQ(p.status, kMsgNoSectionScale);
}

// A section text outside the list (only code writes one) is no section.
TEST(FinPlot, UnknownSectionIsNeitherDrawnNorSolved)
{
    Case c(0, 0, 0, 0);
    c.in.sectionShape = "HEXAGON";
    EXPECT_EQ(FINPLOT(c.in).status, "No fin section to plot..");
    c.in.freeStreamVelocity = 100;
    c.in.finSpan = 1;
    c.in.referenceArea = 0.1f;
    NullProgress none;
    const FinSectionResult r = VORTEX(c.in, none);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.panel1, "Panel method solution not found.");
}
