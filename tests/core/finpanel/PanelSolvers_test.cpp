#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/PanelSolvers.h"
#include "platform/Checked.h"
#include "tests/core/finpanel/FinInputs.h"

using namespace velmora;
using namespace velmora::finpanel;
using velmora::testing::fin;
using velmora::testing::sourceSolution;
using velmora::testing::vortexSolution;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

NullProgress quiet;

double vortexLift(const char* shape, int n, double aoa, double thickness = 0.12)
{
    const FinSectionInput in = fin(shape, n, aoa, thickness);
    return liftCoefficientFromCirculation(vortexSolution(generateSection(in), aoa, 1.0), 1.0);
}

} // namespace

TEST(SourcePanels, EightPanelCircleMatchesTheExactPressures)
{
    FinSectionInput in = fin("MANUAL INPUT", 8, 0.0);
    const double corner[] = {202.5, 157.5, 112.5, 67.5, 22.5, -22.5, -67.5, -112.5};
    for (int i = 1; i <= 8; ++i) {
        in.manualX[i] = std::cos(corner[i - 1] * kDeg);
        in.manualY[i] = std::sin(corner[i - 1] * kDeg);
    }
    const PanelSolution s = sourceSolution(generateSection(in), 1.0);
    const double cp[] = {1, -1, -3, -1, 1, -1, -3, -1};
    double netSource = 0;
    for (int i = 1; i <= 8; ++i) {
        EXPECT_NEAR(s.cp[i], cp[i - 1], 1e-5) << i;
        netSource += s.sourceStrength[i] * s.sourcePanelLength[i];
    }
    EXPECT_NEAR(netSource, 0.0, 1e-6);
}

TEST(SourcePanels, StreamlinedNoseIsAStagnationPointAndFlatFacesAreSymmetric)
{
    const PanelSolution s = sourceSolution(generateSection(fin("STREAMLINED", 100, 0.0)), 100.0);
    EXPECT_NEAR(s.cp[1], 1.0, 1e-5);
    EXPECT_EQ(s.sourceStrength[1], 0.0);

    // Collinear faces: the flat plate at zero angle is symmetric, upper panel
    // i against lower panel N + 2 - i, and the mid-plate Cp is slightly negative.
    const PanelSolution f = sourceSolution(generateSection(fin("FLAT PLATE", 40, 0.0, 0.05)), 1.0);
    for (int i = 2; i <= 20; ++i) EXPECT_NEAR(f.cp[i], f.cp[42 - i], 1e-5) << i;
    EXPECT_LT(f.cp[11], 0.0);
    EXPECT_GT(f.cp[11], -0.2);
    EXPECT_NEAR(f.cp[1], 1.0, 0.2);  // the blunt leading-edge face is near stagnation
}

TEST(VortexPanels, SymmetricSectionAtZeroAngleCarriesNoCirculation)
{
    const int n = 40;
    const PanelSolution s = vortexSolution(generateSection(fin("NACA WING", n, 0.0)), 0.0, 1.0);
    EXPECT_NEAR(liftCoefficientFromCirculation(s, 1.0), 0.0, 1e-5);
    // Vortex panel k and its mirror N + 1 - k carry opposite strengths.
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(s.vortexStrength[k], -s.vortexStrength[n + 2 - k], 1e-5) << k;
    // Section panel i holds the Cp at corner i + 1, whose mirror image is the
    // corner that section panel N + 1 - i takes its Cp from.
    for (int i = 2; i <= n / 2; ++i) EXPECT_NEAR(s.cp[i], s.cp[n + 1 - i], 1e-5) << i;
    // Kutta condition at the trailing edge (here and when lifting).
    EXPECT_NEAR(s.vortexStrength[1] + s.vortexStrength[n + 1], 0.0, 1e-6);
    const PanelSolution l = vortexSolution(generateSection(fin("NACA WING", n, 6.0)), 6.0, 1.0);
    EXPECT_NEAR(l.vortexStrength[1] + l.vortexStrength[n + 1], 0.0, 1e-6);
}

TEST(VortexPanels, LiftFollowsThinAerofoilTheory)
{
    const double naca = vortexLift("NACA WING", 100, 4.0);
    EXPECT_NEAR(naca, 0.48, 0.01);
    EXPECT_NEAR(vortexLift("NACA WING", 100, 2.0) * 2.0, naca, 0.002 * naca);
    const double plate = vortexLift("FLAT PLATE", 200, 2.0, 0.01) / (2.0 * kDeg);
    EXPECT_NEAR(plate, 2.0 * std::numbers::pi, 0.03 * 2.0 * std::numbers::pi);
}

// Kept factors serve only a section with the same corners: a thinner fin (the same chordwise corners) is solved
// anew, with the bits of a solution that keeps nothing.
TEST(VortexPanels, KeptFactorsFollowTheSectionsThickness)
{
    const bool before = setSectionFactorReuse(false);
    const double thinFormed = vortexLift("STREAMLINED", 100, 4.0, 0.06);
    setSectionFactorReuse(true);
    const double thick = vortexLift("STREAMLINED", 100, 4.0, 0.12);
    EXPECT_EQ(vortexLift("STREAMLINED", 100, 4.0, 0.06), thinFormed);
    EXPECT_NE(thick, thinFormed);
    setSectionFactorReuse(before);
}

TEST(VortexPanels, VerticalVortexPanelsOfADiamondSection)
{
    // Panel midpoints of a diamond put two vortex panels straight up and down.
    FinSectionInput in = fin("MANUAL INPUT", 4, 3.0);
    in.manualX = {0, -1, 0, 1, 0};
    in.manualY = {0, 0, 0.2, 0, -0.2};
    const FinSectionResult r = VORTEX(in, quiet);
    ASSERT_EQ(r.outcome, Outcome::Done) << r.message;
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::isfinite(r.solution.cp[i]));
}
