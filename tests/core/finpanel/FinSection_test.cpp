#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinPlot.h"
#include "finpanel/FinSection.h"
#include "platform/Checked.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

FinSectionInput section(const char* shape, int n, double thickness, double chord, double aoa = 0)
{
    return {.sectionShape = shape, .panelCount = n, .finThickness = thickness, .finMeanChord = chord,
            .angleOfAttack = aoa, .currentSection = {}};
}

// Twice the signed area of the polygon: negative when the corners run clockwise.
double signedArea2(const SectionPoints& s)
{
    double a = 0;
    for (int i = 1; i <= s.count; ++i) {
        const int j = i % s.count + 1;
        a += s.unrotatedX[i] * s.unrotatedY[j] - s.unrotatedX[j] * s.unrotatedY[i];
    }
    return a;
}

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

// Corner points 1..N about mid-chord. NACA 0012, chord 1: x0 = 0.0132228, h(x0) = 0.0194483, open tail h(1) = 0.00126;
// the double wedge's lower surface mirrors the upper one.
TEST(FinSectionGeometry, CornerPointsOfTheBuiltInSections)
{
    const std::tuple<const char*, int, double, double, std::vector<double>, std::vector<double>> cases[] = {
        {"FLAT PLATE", 4, 0.2, 2.0, {-1, -1, 1, 1}, {-0.1, 0.1, 0.1, -0.1}},
        {"NACA WING", 4, 0.12, 1.0, {-0.4867772, -0.4867772, 0.5, 0.5}, {-0.0194483, 0.0194483, 0.00126, -0.00126}},
        {"D'WEDGE", 10, 0.1, 1.0, {-0.5, -0.5, -0.25, 0, 0.25, 0.5, 0.5, 0.25, 0, -0.25},
         {-0.0025, 0.0025, 0.02625, 0.05, 0.02625, 0.0025, -0.0025, -0.02625, -0.05, -0.02625}},
    };
    for (const auto& [shape, n, thickness, chord, x, y] : cases) {
        const SectionPoints s = generateSection(section(shape, n, thickness, chord));
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(s.x[i], x[i - 1], 1e-7) << shape << " " << i;
            EXPECT_NEAR(s.y[i], y[i - 1], 1e-7) << shape << " " << i;
        }
    }
}

TEST(FinSectionGeometry, StreamlinedNoseIsOnePointAndTailStaysOpen)
{
    const SectionPoints s = STREAMLINED(section("STREAMLINED", 100, 0.05, 2.0, 4.0));
    EXPECT_EQ(s.y[1], s.y[2]);
    EXPECT_EQ(s.unrotatedY[1], 0.0);
    // Trailing-edge half-thickness 0.0031622 t (chord fractions), thickness ratio t = 0.05 / 2.
    EXPECT_NEAR(s.unrotatedY[51] / 2.0 / (0.05 / 2.0), 0.0031622, 1e-7);
    EXPECT_EQ(s.unrotatedX[52], s.unrotatedX[51]);
}

TEST(FinSectionGeometry, GeneratedSectionsRunClockwiseInTheSharedOrder)
{
    for (const char* shape : {"NACA WING", "FLAT PLATE", "D'WEDGE", "STREAMLINED"}) {
        for (int n : {4, 20, 100, 200}) {
            const SectionPoints s = generateSection(section(shape, n, 0.1, 1.5));
            SCOPED_TRACE(std::string(shape) + " " + std::to_string(n));
            ASSERT_EQ(s.count, n);
            EXPECT_LT(signedArea2(s), 0.0);
            EXPECT_LE(s.unrotatedY[1], s.unrotatedY[2]);
            EXPECT_NEAR(s.unrotatedX[n / 2 + 2], 0.75, 1e-9);
            // Upper surface runs toward the trailing edge, the lower one back.
            for (int i = 2; i <= n / 2; ++i) EXPECT_LT(s.unrotatedX[i], s.unrotatedX[i + 1]);
            for (int i = n / 2 + 2; i < n; ++i) EXPECT_GT(s.unrotatedX[i], s.unrotatedX[i + 1]);
        }
    }
}

// A positive angle raises the leading edge; the turn is about mid-chord.
TEST(FinSectionGeometry, RotationTurnsAboutMidChord)
{
    const double alpha = 3.14159265 * 7.5 / 180.0, ca = std::cos(alpha), sa = std::sin(alpha);
    const SectionPoints flat = NACA(section("NACA WING", 40, 0.12, 2.0));
    const SectionPoints turned = NACA(section("NACA WING", 40, 0.12, 2.0, 7.5));
    for (int i = 1; i <= 40; ++i) {
        EXPECT_NEAR(turned.x[i], flat.x[i] * ca + flat.y[i] * sa, 1e-6) << i;
        EXPECT_NEAR(turned.y[i], -flat.x[i] * sa + flat.y[i] * ca, 1e-6) << i;
    }
}

TEST(FinSectionGeometry, ManualPoints)
{
    FinSectionInput m = section("MANUAL INPUT", 4, 0, 1.0, 90.0);
    m.manualX = {0, -1, -1, 2, 2, 9};
    m.manualY = {0, -0.5, 0.5, 0.25, -0.25, 9};
    const SectionPoints s = generateSection(m);
    ASSERT_EQ(s.count, 4);
    EXPECT_EQ(s.x[5], 0.0);  // point 5 is typed but not used
    EXPECT_NEAR(s.y[4], -2.0, 1e-6);  // turned by 90 degrees: (x, y) -> (y, -x)
}

TEST(FinSectionGeometry, BadInputIsAFailureNotASection)
{
    EXPECT_THROW(NACA(section("NACA WING", 20, 0.1, 0.0)), MathFailure);
    EXPECT_THROW(FLATPLATE(section("FLAT PLATE", 7, 0.1, 1.0)), std::invalid_argument);
    EXPECT_THROW(STREAMLINED(section("STREAMLINED", 202, 0.1, 1.0)), std::invalid_argument);
}

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
