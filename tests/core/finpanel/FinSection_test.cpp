#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinSection.h"
#include "platform/Checked.h"
#include "tests/core/finpanel/FinInputs.h"

using namespace velmora;
using namespace velmora::finpanel;
using velmora::testing::section;

namespace {

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
