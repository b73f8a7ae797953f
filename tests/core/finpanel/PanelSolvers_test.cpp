#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "finpanel/FinPanelSolver.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

FinSectionInput fin(const char* shape, int n, double aoa, double thickness = 0.12)
{
    FinSectionInput in;
    in.sectionShape = shape;
    in.panelCount = n;
    in.finThickness = thickness;
    in.finMeanChord = 1.0;
    in.finSpan = 0.5;
    in.finCount = 4;
    in.angleOfAttack = aoa;
    in.freeStreamVelocity = 100.0;
    in.ambientDensity = 0.002378;
    in.referenceArea = 0.05f;
    return in;
}

double vortexLift(const char* shape, int n, double aoa, double thickness = 0.12)
{
    NullProgress none;
    const FinSectionInput in = fin(shape, n, aoa, thickness);
    return liftCoefficientFromCirculation(solveVortexPanels(generateSection(in), aoa, 1.0, none), 1.0);
}

struct StatusLog final : Progress {
    std::vector<std::pair<int, std::string>> texts;
    int barMin = 0, barMax = 0;
    void status(int panel, const std::string& text) override { texts.emplace_back(panel, text); }
    void progressRange(int lo, int hi) override { barMin = lo, barMax = hi; }
};

} // namespace

TEST(SourcePanels, EightPanelCircleMatchesTheExactPressures)
{
    FinSectionInput in = fin("MANUAL INPUT", 8, 0.0);
    const double corner[] = {202.5, 157.5, 112.5, 67.5, 22.5, -22.5, -67.5, -112.5};
    for (int i = 1; i <= 8; ++i) {
        in.manualX[i] = std::cos(corner[i - 1] * kDeg);
        in.manualY[i] = std::sin(corner[i - 1] * kDeg);
    }
    NullProgress none;
    const PanelSolution s = solveSourcePanels(generateSection(in), 1.0, none);
    const double cp[] = {1, -1, -3, -1, 1, -1, -3, -1};
    double netSource = 0;
    for (int i = 1; i <= 8; ++i) {
        EXPECT_NEAR(s.cp[i], cp[i - 1], 1e-5) << i;
        netSource += s.sourceStrength[i] * s.sourcePanelLength[i];
    }
    EXPECT_NEAR(netSource, 0.0, 1e-6);
    EXPECT_EQ(s.augmentedColumnCount, 9);
}

TEST(SourcePanels, StreamlinedNoseIsAStagnationPointAndFlatFacesAreSymmetric)
{
    NullProgress none;
    const PanelSolution s = solveSourcePanels(generateSection(fin("STREAMLINED", 100, 0.0)), 100.0, none);
    EXPECT_NEAR(s.cp[1], 1.0, 1e-5);
    EXPECT_EQ(s.sourceStrength[1], 0.0);

    // Collinear faces: the flat plate at zero angle is symmetric, upper panel
    // i against lower panel N + 2 - i, and the mid-plate Cp is slightly negative.
    const PanelSolution f = solveSourcePanels(generateSection(fin("FLAT PLATE", 40, 0.0, 0.05)), 1.0, none);
    for (int i = 2; i <= 20; ++i) EXPECT_NEAR(f.cp[i], f.cp[42 - i], 1e-5) << i;
    EXPECT_LT(f.cp[11], 0.0);
    EXPECT_GT(f.cp[11], -0.2);
    EXPECT_NEAR(f.cp[1], 1.0, 0.2);  // the blunt leading-edge face is near stagnation

}

TEST(VortexPanels, SymmetricSectionAtZeroAngleCarriesNoCirculation)
{
    NullProgress none;
    const int n = 40;
    const PanelSolution s = solveVortexPanels(generateSection(fin("NACA WING", n, 0.0)), 0.0, 1.0, none);
    EXPECT_NEAR(liftCoefficientFromCirculation(s, 1.0), 0.0, 1e-5);
    // Vortex panel k and its mirror N + 1 - k carry opposite strengths.
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(s.vortexStrength[k], -s.vortexStrength[n + 2 - k], 1e-5) << k;
    // Section panel i holds the Cp at corner i + 1, whose mirror image is the
    // corner that section panel N + 1 - i takes its Cp from.
    for (int i = 2; i <= n / 2; ++i) EXPECT_NEAR(s.cp[i], s.cp[n + 1 - i], 1e-5) << i;
    // Kutta condition at the trailing edge (here and when lifting).
    EXPECT_NEAR(s.vortexStrength[1] + s.vortexStrength[n + 1], 0.0, 1e-6);
    const PanelSolution l = solveVortexPanels(generateSection(fin("NACA WING", n, 6.0)), 6.0, 1.0, none);
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

TEST(VortexPanels, VerticalVortexPanelsOfADiamondSection)
{
    // Panel midpoints of a diamond put two vortex panels straight up and down.
    FinSectionInput in = fin("MANUAL INPUT", 4, 3.0);
    const double x[] = {0, -1, 0, 1, 0}, y[] = {0, 0, 0.2, 0, -0.2};
    for (int i = 1; i <= 4; ++i) in.manualX[i] = x[i], in.manualY[i] = y[i];
    NullProgress none;
    const FinSectionResult r = VORTEX(in, none);
    ASSERT_EQ(r.outcome, Outcome::Done) << r.failure;
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::isfinite(r.solution.cp[i]));
}

TEST(FinPanelSolver, EveryBuiltInSectionSolvesWithBothMethods)
{
    NullProgress none;
    for (const char* shape : {"NACA WING", "FLAT PLATE", "D'WEDGE", "STREAMLINED"})
        for (int n : {20, 200})
            for (double aoa : {0.0, 4.0})
                for (bool vortex : {true, false}) {
                    SCOPED_TRACE(std::string(shape) + " n=" + std::to_string(n) + " aoa=" + std::to_string(aoa) +
                                 (vortex ? " vortex" : " source"));
                    const FinSectionInput in = fin(shape, n, aoa, 0.05);
                    const FinSectionResult r = vortex ? VORTEX(in, none) : Source(in, none);
                    ASSERT_EQ(r.outcome, Outcome::Done) << r.failure;
                    for (int i = 1; i <= n; ++i) ASSERT_TRUE(std::isfinite(r.solution.surfaceVelocity[i])) << i;
                    EXPECT_TRUE(std::isfinite(r.forces.centerOfPressure));
                    // No circulation, no lift, no centre of pressure.
                    if (!vortex) {
                        EXPECT_EQ(r.forces.normalForce + r.forces.centerOfPressure, 0);
                    }
                    EXPECT_EQ(r.plot.status, "Plot complete.");
                }
}

TEST(FinPanelSolver, MessagesOfTheFourOutcomes)
{
    // Missing data: only panel 2 is written.
    for (auto spoil : {+[](FinSectionInput& in) { in.freeStreamVelocity = 0; },
                       +[](FinSectionInput& in) { in.finThickness = 0; },
                       +[](FinSectionInput& in) { in.referenceArea = 0; }}) {
        FinSectionInput in = fin("NACA WING", 20, 4.0);
        spoil(in);
        StatusLog log;
        const FinSectionResult r = VORTEX(in, log);
        EXPECT_FALSE(r.panel1.has_value());
        EXPECT_EQ(r.panel2, "Please enter all fin data.");
    }

    StatusLog log;
    const FinSectionResult ok = Source(fin("NACA WING", 4, 4.0), log);
    ASSERT_EQ(ok.outcome, Outcome::Done);
    EXPECT_EQ(log.texts.front(), std::make_pair(1, std::string("Panel method solution in progress.")));
    EXPECT_EQ(ok.panel1, "Panel method solution found.");
    EXPECT_EQ(ok.panel2, "Source panels carry no lift: the fin normal force needs the vortex panels.");
    EXPECT_EQ(log.barMin, 1);
    EXPECT_EQ(log.barMax, 3);  // the source elimination runs over rows 1..N-1

    const FinSectionResult level = VORTEX(fin("STREAMLINED", 20, 0.0), log);
    ASSERT_EQ(level.outcome, Outcome::Done);
    EXPECT_EQ(level.panel2, "Use non-zero AOA to compute fin Cn and Cp.");

    // Failures: a manual section never typed (all corners at the origin), a
    // Mach number of 1 in compressible flow, a velocity that is not a number.
    FinSectionInput blank = fin("MANUAL INPUT", 10, 4.0);
    FinSectionInput sonic = fin("NACA WING", 20, 4.0);
    sonic.compressibleFlow = 1;
    sonic.freeStreamMachNumber = 1.0f;
    FinSectionInput nan = fin("NACA WING", 20, 4.0);
    nan.freeStreamVelocity = std::nan("");
    for (const FinSectionInput* in : {&blank, &sonic, &nan})
        for (bool vortex : {true, false}) {
            const FinSectionResult r = vortex ? VORTEX(*in, log) : Source(*in, log);
            EXPECT_EQ(r.outcome, Outcome::Failed);
            EXPECT_EQ(r.panel1, "Panel method solution not found.");
        }

    FinSectionInput other = fin("NACA WING", 20, 4.0);
    other.panelMethod = "DOUBLET";
    EXPECT_FALSE(solveFinSection(other, log).has_value());
    other.panelMethod = "SOURCE";
    EXPECT_TRUE(solveFinSection(other, log)->solution.hasTangentialVelocity);
}
