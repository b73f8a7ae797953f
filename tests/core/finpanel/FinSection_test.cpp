#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

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

} // namespace

TEST(FinSectionGeometry, FlatPlateAndNacaAtFourPanels)
{
    const SectionPoints f = FLATPLATE(section("FLAT PLATE", 4, 0.2, 2.0));
    const double fx[] = {0, -1, -1, 1, 1}, fy[] = {0, -0.1, 0.1, 0.1, -0.1};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(f.x[i], fx[i]) << i;
        EXPECT_FLOAT_EQ(f.y[i], static_cast<float>(fy[i])) << i;
    }
    EXPECT_DOUBLE_EQ(f.deltaX, 1.0);

    // NACA 0012, chord 1: x0 = 0.0132228, h(x0) = 0.0194483, open tail h(1) = 0.00126.
    const SectionPoints s = NACA(section("NACA WING", 4, 0.12, 1.0));
    const double nx[] = {0, -0.4867772, -0.4867772, 0.5, 0.5}, ny[] = {0, -0.0194483, 0.0194483, 0.00126, -0.00126};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(s.x[i], nx[i], 1e-7) << i;
        EXPECT_NEAR(s.y[i], ny[i], 1e-7) << i;
    }
    EXPECT_NEAR(s.deltaX, 0.9867772, 1e-7);
}

TEST(FinSectionGeometry, DoubleWedgeTenPanels)
{
    const double t = 0.1;
    const SectionPoints s = DWEDGE(section("D'WEDGE", 10, t, 1.0));
    const double ex[] = {-0.5, -0.25, 0, 0.25, 0.5};
    const double eh[] = {0.0025, 0.25 * t + 0.00125, 0.5 * t, 0.25 * t + 0.00125, 0.0025};
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(s.x[k + 2], ex[k], 1e-12);
        EXPECT_NEAR(s.y[k + 2], eh[k], 1e-7);
    }
    // Lower surface mirrors: point N mirrors point 3, point N/2+2 mirrors N/2+1.
    EXPECT_EQ(s.x[1], s.x[2]);
    EXPECT_EQ(s.y[1], -s.y[2]);
    for (int i = 10, j = 3; i >= 7; --i, ++j) {
        EXPECT_EQ(s.x[i], s.x[j]);
        EXPECT_EQ(s.y[i], -s.y[j]);
    }
}

TEST(FinSectionGeometry, StreamlinedNoseIsOnePointAndTailStaysOpen)
{
    const double t = 0.05 / 2.0;  // thickness ratio
    for (double aoa : {0.0, 4.0}) {
        const SectionPoints s = STREAMLINED(section("STREAMLINED", 100, 0.05, 2.0, aoa));
        EXPECT_EQ(s.y[1], s.y[2]);
        EXPECT_EQ(s.unrotatedY[1], 0.0);
        // Trailing-edge half-thickness 0.0031622 t (chord fractions).
        EXPECT_NEAR(s.unrotatedY[51] / 2.0 / t, 0.0031622, 1e-7);
        EXPECT_EQ(s.unrotatedX[52], s.unrotatedX[51]);
    }
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

TEST(FinSectionGeometry, RotationTurnsAboutMidChordAndKeepsLengths)
{
    const double aoa = 7.5;
    const double alpha = 3.14159265 * aoa / 180.0;
    const SectionPoints flat = NACA(section("NACA WING", 40, 0.12, 2.0));
    const SectionPoints turned = NACA(section("NACA WING", 40, 0.12, 2.0, aoa));
    for (int i = 1; i <= 40; ++i) {
        const int j = i % 40 + 1;
        const double l0 = std::hypot(flat.x[j] - flat.x[i], double(flat.y[j]) - flat.y[i]);
        const double l1 = std::hypot(turned.x[j] - turned.x[i], double(turned.y[j]) - turned.y[i]);
        EXPECT_NEAR(l1, l0, 1e-6) << i;
    }
    // A positive angle raises the leading edge.
    const SectionPoints nose = STREAMLINED(section("STREAMLINED", 20, 0.1, 2.0, aoa));
    EXPECT_NEAR(nose.x[1], -std::cos(alpha), 1e-12);
    EXPECT_NEAR(nose.y[1], std::sin(alpha), 1e-7);
}

TEST(FinSectionGeometry, ThicknessFactorAndManualPoints)
{
    FinSectionInput in = section("FLAT PLATE", 20, 0.1, 1.0);
    in.thicknessFactor = 4;  // the "3X" entry
    EXPECT_FLOAT_EQ(FLATPLATE(in).y[2], 0.2f);

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
    // A section text that names no generator makes no section either.
    EXPECT_THROW(generateSection(section("HEXAGON", 4, 0.1, 1.0)), std::invalid_argument);
}
