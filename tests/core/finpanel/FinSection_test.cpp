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
    FinSectionInput in;
    in.sectionShape = shape;
    in.panelCount = n;
    in.finThickness = thickness;
    in.finMeanChord = chord;
    in.angleOfAttack = aoa;
    return in;
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

// Corner points 1..N about mid-chord. NACA 0012, chord 1: x0 = 0.0132228,
// h(x0) = 0.0194483, open tail h(1) = 0.00126; the double wedge's lower
// surface mirrors the upper one.
TEST(FinSectionGeometry, CornerPointsOfTheBuiltInSections)
{
    struct Case {
        const char* shape;
        int n;
        double thickness, chord;
        std::vector<double> x, y;
    };
    const Case cases[] = {
        {"FLAT PLATE", 4, 0.2, 2.0, {-1, -1, 1, 1}, {-0.1, 0.1, 0.1, -0.1}},
        {"NACA WING", 4, 0.12, 1.0, {-0.4867772, -0.4867772, 0.5, 0.5}, {-0.0194483, 0.0194483, 0.00126, -0.00126}},
        {"D'WEDGE", 10, 0.1, 1.0, {-0.5, -0.5, -0.25, 0, 0.25, 0.5, 0.5, 0.25, 0, -0.25},
         {-0.0025, 0.0025, 0.02625, 0.05, 0.02625, 0.0025, -0.0025, -0.02625, -0.05, -0.02625}},
    };
    for (const Case& c : cases) {
        const SectionPoints s = generateSection(section(c.shape, c.n, c.thickness, c.chord));
        for (int i = 1; i <= c.n; ++i) {
            EXPECT_NEAR(s.x[i], c.x[i - 1], 1e-7) << c.shape << " " << i;
            EXPECT_NEAR(s.y[i], c.y[i - 1], 1e-7) << c.shape << " " << i;
        }
    }
}

TEST(FinSectionGeometry, StreamlinedNoseIsOnePointAndTailStaysOpen)
{
    const double t = 0.05 / 2.0;  // thickness ratio
    const SectionPoints s = STREAMLINED(section("STREAMLINED", 100, 0.05, 2.0, 4.0));
    EXPECT_EQ(s.y[1], s.y[2]);
    EXPECT_EQ(s.unrotatedY[1], 0.0);
    // Trailing-edge half-thickness 0.0031622 t (chord fractions).
    EXPECT_NEAR(s.unrotatedY[51] / 2.0 / t, 0.0031622, 1e-7);
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
    const double px[] = {0, -1, -1, 2, 2, 9}, py[] = {0, -0.5, 0.5, 0.25, -0.25, 9};
    for (int i = 1; i <= 5; ++i) {
        m.manualX[i] = px[i];
        m.manualY[i] = py[i];
    }
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

// No scale to draw with: the status names what was not drawn.
TEST(FinPlot, DegenerateRangesSaySo)
{
    struct Expect {
        float cp;
        const char* quantity;
        const char* status;
    };
    for (const Expect& e : {Expect{-2.0f, "Cp", kMsgNoCpRange}, Expect{0.0f, "Velocity", kMsgNoVelocityRange}}) {
        SCOPED_TRACE(e.quantity);
        const Case c(e.cp, e.cp, e.cp, e.cp, e.quantity);  // velocities 10 x Cp
        const ResultPlot p = PlotResults(c.in, c.section, c.solution);
        EXPECT_TRUE(p.upperCurve.empty());
        EXPECT_FALSE(p.outline.empty());
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

// A section text outside the list (only code writes one) is neither drawn
// nor solved.
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
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.status, "No fin section to plot..");
    c.in.freeStreamVelocity = 100;
    c.in.finSpan = 1;
    c.in.referenceArea = 0.1f;
    NullProgress quiet;
    const FinSectionResult r = VORTEX(c.in, quiet);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.panel1, "Panel method solution not found.");
}
