#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "finpanel/FinForce.h"
#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinPanelState.h"
#include "finpanel/PanelLU.h"
#include "platform/Checked.h"
#include "tests/core/Rockets.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

NullProgress quiet;

FinSectionInput fin(const char* shape, int n, double aoa, double thickness = 0.12)
{
    return {.sectionShape = shape, .panelCount = n, .finThickness = thickness, .finMeanChord = 1.0, .finSpan = 0.5,
            .finCount = 4, .angleOfAttack = aoa, .freeStreamVelocity = 100.0, .ambientDensity = 0.002378,
            .referenceArea = 0.05f, .currentSection = {}};
}

double vortexLift(const char* shape, int n, double aoa, double thickness = 0.12)
{
    const FinSectionInput in = fin(shape, n, aoa, thickness);
    return liftCoefficientFromCirculation(solveVortexPanels(generateSection(in), aoa, 1.0, quiet), 1.0);
}

// A four-corner section with hand-picked x and a hand-picked solution.
struct FourPanels {
    FinSectionInput in{.finMeanChord = 2.0, .finSpan = 0.5, .finCount = 4, .finRootDistance = 3.0f,
                       .finTipDistance = 3.5, .angleOfAttack = 10.0, .freeStreamVelocity = 1.0,
                       .ambientDensity = 2.0 /* q = 1 */, .referenceArea = 0.25f, .currentSection = {}};
    SectionPoints section;
    PanelSolution solution;
    FourPanels()
    {
        section.count = solution.count = 4;
        section.x = {0, -1, -0.8, 1, 0.6};
        solution.cp = {0, 0.2f, -0.6f, 0.1f, 0.4f};
        solution.controlPointX = {0, -0.9, 0.1, 0.8, -0.2};
        for (int16_t i = 1; i <= 4; ++i) solution.cornerIndex[i] = {0, i, static_cast<int16_t>(i % 4 + 1)};
    }
};

SquareMatrix matrix(const std::vector<std::vector<double>>& rows)
{
    const int n = static_cast<int>(rows.size());
    SquareMatrix a(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) a(i, j) = rows[i - 1][j - 1];
    return a;
}

// The factorisation column by column, as first written: the row-wise DECOMP must give its bits.
void columnDecomp(SquareMatrix& a, std::vector<int>& ip)
{
    const int n = a.order();
    ip.assign(static_cast<std::size_t>(n + 1), 0);
    ip[n] = 1;
    for (int k = 1; k <= n; ++k) {
        if (k < n) {
            int m = k;
            for (int i = k + 1; i <= n; ++i)
                if (std::fabs(a(i, k)) > std::fabs(a(m, k))) m = i;
            ip[k] = m;
            if (m != k) ip[n] = -ip[n];
            const float pivot = static_cast<float>(a(m, k));
            a(m, k) = a(k, k);
            a(k, k) = pivot;
            if (pivot != 0.0f) {
                for (int i = k + 1; i <= n; ++i) a(i, k) = -a(i, k) / pivot;
                for (int j = k + 1; j <= n; ++j) {
                    const float t = static_cast<float>(a(m, j));
                    a(m, j) = a(k, j);
                    a(k, j) = t;
                    if (t == 0.0f) continue;
                    for (int i = k + 1; i <= n; ++i) a(i, j) += a(i, k) * t;
                }
            }
        }
        if (a(k, k) == 0.0) ip[n] = 0;
    }
}

SquareMatrix randomMatrix(int n, unsigned seed, double zeros)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    SquareMatrix a(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const double v = u(rng);
            // Signed zeros among the entries: a zero of the pivot row must leave a -0 below it as it is.
            a(i, j) = std::fabs(v) < zeros ? (v < 0 ? -0.0 : 0.0) : v;
        }
    return a;
}

} // namespace

TEST(FinForce, HandComputedFourPanelsFinCountAndCompressibility)
{
    FourPanels c;
    const FinForces four = CNFINS(c.in, c.section, c.solution);
    ASSERT_EQ(four.outcome, Outcome::Done);
    // Strip forces -Cp dx span: -0.02, 0.54, 0.02, 0.32 (sum 0.86); moment
    // arms from the leading edge 0.1, 1.1, 1.8, 0.8 (moment 0.884).
    EXPECT_NEAR(four.normalForce, 0.86, 1e-6);
    EXPECT_NEAR(four.forceSum, 1.72, 1e-6);
    EXPECT_NEAR(four.centerOfPressure, 3.0 + 0.884 / 0.86 + 0.25, 1e-6);
    EXPECT_NEAR(four.normalForceSlope, 1.72 / (3.14159265 * 10.0 / 180.0 * 0.25), 1e-5);

    c.in.finCount = 3;
    const FinForces three = CNFINS(c.in, c.section, c.solution);
    EXPECT_NEAR(four.normalForceSlope / three.normalForceSlope, 2.0 / 1.5, 1e-12);
    EXPECT_DOUBLE_EQ(four.normalForce, three.normalForce);

    c.in.compressibleFlow = 1;
    c.in.freeStreamMachNumber = 0.6f;
    const FinForces m6 = CNFINS(c.in, c.section, c.solution);
    EXPECT_NEAR(m6.normalForce, three.normalForce / 0.8, 1e-6);
    EXPECT_NEAR(m6.centerOfPressure, three.centerOfPressure, 1e-9);
}

// Vortex panels on a unit chord without sweep: the normal-force slope is the same at every angle down to small ones and
// the centre of pressure near the quarter chord; at zero angle a symmetric section carries no net force.
TEST(FinForce, VortexSlopeAndCentreHoldDownToSmallAngles)
{
    for (const char* shape : {"NACA WING", "STREAMLINED", "D'WEDGE"}) {
        SCOPED_TRACE(shape);
        const SectionPoints level = generateSection(fin(shape, 100, 0.0));
        EXPECT_LT(std::fabs(sectionNormalForce(level, solveVortexPanels(level, 0.0, 1.0, quiet))), 1e-6);
        double first = 0;
        for (double angle : {0.1, 0.5, 1.0, 4.0, 8.0}) {
            const FinSectionInput in = fin(shape, 100, angle);
            const SectionPoints s = generateSection(in);
            const FinForces f = CNFINS(in, s, solveVortexPanels(s, angle, in.freeStreamVelocity, quiet));
            ASSERT_EQ(f.outcome, Outcome::Done) << angle;
            EXPECT_GT(f.normalForceSlope, 0) << angle;
            if (first == 0) first = f.normalForceSlope;
            EXPECT_NEAR(f.normalForceSlope / first, 1.0, 0.03) << angle;
            EXPECT_GT(f.centerOfPressure, 0.2) << angle;  // from the leading edge, in chords
            EXPECT_LT(f.centerOfPressure, 0.32) << angle;
        }
    }
}

TEST(SourcePanels, EightPanelCircleMatchesTheExactPressures)
{
    FinSectionInput in = fin("MANUAL INPUT", 8, 0.0);
    const double corner[] = {202.5, 157.5, 112.5, 67.5, 22.5, -22.5, -67.5, -112.5};
    for (int i = 1; i <= 8; ++i) {
        in.manualX[i] = std::cos(corner[i - 1] * kDeg);
        in.manualY[i] = std::sin(corner[i - 1] * kDeg);
    }
    const PanelSolution s = solveSourcePanels(generateSection(in), 1.0, quiet);
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
    const PanelSolution s = solveSourcePanels(generateSection(fin("STREAMLINED", 100, 0.0)), 100.0, quiet);
    EXPECT_NEAR(s.cp[1], 1.0, 1e-5);
    EXPECT_EQ(s.sourceStrength[1], 0.0);

    // Collinear faces: the flat plate at zero angle is symmetric, upper panel
    // i against lower panel N + 2 - i, and the mid-plate Cp is slightly negative.
    const PanelSolution f = solveSourcePanels(generateSection(fin("FLAT PLATE", 40, 0.0, 0.05)), 1.0, quiet);
    for (int i = 2; i <= 20; ++i) EXPECT_NEAR(f.cp[i], f.cp[42 - i], 1e-5) << i;
    EXPECT_LT(f.cp[11], 0.0);
    EXPECT_GT(f.cp[11], -0.2);
    EXPECT_NEAR(f.cp[1], 1.0, 0.2);  // the blunt leading-edge face is near stagnation
}

TEST(VortexPanels, SymmetricSectionAtZeroAngleCarriesNoCirculation)
{
    const int n = 40;
    const PanelSolution s = solveVortexPanels(generateSection(fin("NACA WING", n, 0.0)), 0.0, 1.0, quiet);
    EXPECT_NEAR(liftCoefficientFromCirculation(s, 1.0), 0.0, 1e-5);
    // Vortex panel k and its mirror N + 1 - k carry opposite strengths.
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(s.vortexStrength[k], -s.vortexStrength[n + 2 - k], 1e-5) << k;
    // Section panel i holds the Cp at corner i + 1, whose mirror image is the
    // corner that section panel N + 1 - i takes its Cp from.
    for (int i = 2; i <= n / 2; ++i) EXPECT_NEAR(s.cp[i], s.cp[n + 1 - i], 1e-5) << i;
    // Kutta condition at the trailing edge (here and when lifting).
    EXPECT_NEAR(s.vortexStrength[1] + s.vortexStrength[n + 1], 0.0, 1e-6);
    const PanelSolution l = solveVortexPanels(generateSection(fin("NACA WING", n, 6.0)), 6.0, 1.0, quiet);
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
    in.manualX = {0, -1, 0, 1, 0};
    in.manualY = {0, 0, 0.2, 0, -0.2};
    const FinSectionResult r = VORTEX(in, quiet);
    ASSERT_EQ(r.outcome, Outcome::Done) << r.message;
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::isfinite(r.solution.cp[i]));
}

TEST(FinPanelSolver, MessagesOfTheFourOutcomes)
{
    // Missing data: only panel 2 is written.
    for (auto spoil : {+[](FinSectionInput& in) { in.freeStreamVelocity = 0; },
                       +[](FinSectionInput& in) { in.finThickness = 0; },
                       +[](FinSectionInput& in) { in.referenceArea = 0; }}) {
        FinSectionInput in = fin("NACA WING", 20, 4.0);
        spoil(in);
        velmora::testing::ScriptedProgress log;
        const FinSectionResult r = VORTEX(in, log);
        EXPECT_EQ(std::tuple(r.panel1, r.panel2), std::tuple(std::nullopt, "Please enter all fin data."));
    }

    velmora::testing::ScriptedProgress log;
    const FinSectionResult ok = Source(fin("NACA WING", 4, 4.0), log);
    ASSERT_EQ(ok.outcome, Outcome::Done);
    EXPECT_EQ(log.panels.front(), (PanelText{1, "Panel method solution in progress."}));
    EXPECT_EQ(std::tuple(ok.panel1, ok.plot.status), std::tuple("Panel method solution found.", "Plot complete."));
    EXPECT_EQ(ok.panel2, "Source panels carry no lift: the fin normal force needs the vortex panels.");
    EXPECT_EQ(ok.forces.normalForce + ok.forces.centerOfPressure, 0);  // no circulation, no lift, no centre

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
            EXPECT_EQ(std::tuple(r.outcome, r.panel1), std::tuple(Outcome::Failed, "Panel method solution not found."));
        }

    FinSectionInput other = fin("NACA WING", 20, 4.0);
    other.panelMethod = "DOUBLET";
    EXPECT_FALSE(solveFinSection(other, log).has_value());
    other.panelMethod = "SOURCE";
    EXPECT_TRUE(solveFinSection(other, log)->solution.hasTangentialVelocity);
}

TEST(FinPanelState, RoundTripThroughTheProjectState)
{
    auto m = velmora::testing::rocketWithFins();
    m->AnalysisUnits = "IPS";
    m->PanelPlotChoice = "Velocity";
    m->ReferenceArea = 0.1f;

    const auto r = solveFinSection(finInputFrom(*m, "STREAMLINED"), quiet);
    ASSERT_TRUE(r && r->outcome == Outcome::Done) << (r ? r->message : "");
    EXPECT_EQ(r->unitsLabel, "IN/SEC");
    publish(*r, *m);
    EXPECT_EQ(std::tuple(m->PanelSolutionStatus, m->FinNormalForceSlope, m->PanelCornerIndex(100, 2), m->PanelCp(7)),
              std::tuple("SOLVED", r->forces.normalForceSlope, 1, r->solution.cp[7]));

    // A failed run (a manual section never typed) publishes nothing.
    m->PanelSolutionStatus = "SOLVE NEW FLOW";
    publish(VORTEX(finInputFrom(*m, "MANUAL INPUT"), quiet), *m);
    EXPECT_EQ(m->PanelSolutionStatus, "SOLVE NEW FLOW");
}

// Small systems solved by hand: [[1, 2], [3, 4]] takes row 2 as its first
// pivot; of two equal magnitudes the upper row stays the pivot.
TEST(PanelLU, HandSystemsAndASingularOne)
{
    // Matrix, right-hand side (1-based; becomes the solution), solution, first pivot row.
    std::tuple<SquareMatrix, std::vector<float>, std::vector<float>, int> cases[] = {
        {matrix({{1, 2}, {3, 4}}), {0, 5, 11}, {0, 1, 2}, 2},
        {matrix({{2, 1, 0}, {-2, 3, 1}, {2, 0, 4}}), {0, 3, 2, 6}, {0, 1, 1, 1}, 1},
        {matrix({{4}}), {0, 2}, {0, 0.5f}, 1},
    };
    std::vector<int> ip;
    for (auto& [a, b, x, firstPivotRow] : cases) {
        const int n = a.order();
        DECOMP(a, ip, quiet);
        EXPECT_EQ(std::tuple(ip[1], ip[n] * ip[n]), std::tuple(firstPivotRow, 1)) << n;
        GAUSS(a, b, ip, quiet);
        for (int i = 1; i <= n; ++i) EXPECT_NEAR(b[i], x[i], 1e-6) << n << " " << i;
    }

    SquareMatrix a = matrix({{1, 0, 2}, {3, 0, 1}, {1, 0, 5}});
    DECOMP(a, ip, quiet);
    EXPECT_EQ(ip[3], 0);
    std::vector<float> b = {0, 1, 2, 3};
    EXPECT_THROW(GAUSS(a, b, ip, quiet), MathFailure);
}

TEST(PanelLU, RowWiseGivesTheBitsOfColumnWise)
{
    std::vector<int> ip, ref;
    // Sizes in both directions, so that kept storage is reused larger and smaller; order, seed, share of zeros.
    for (auto [n, seed, zeros] : {std::tuple{201, 1u, 0.0}, {7, 2u, 0.3}, {60, 3u, 0.1}, {1, 4u, 0.0}, {120, 5u, 0.02},
                                  {5, 6u, 1.0} /* all zero: singular */}) {
        SquareMatrix a = randomMatrix(n, seed, zeros);
        SquareMatrix b = a;
        DECOMP(a, ip, quiet);
        columnDecomp(b, ref);
        EXPECT_EQ(ip, ref) << n;
        bool same = true;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                same = same && std::memcmp(&a(i, j), &b(i, j), sizeof(double)) == 0;
        EXPECT_TRUE(same) << n;
    }
}
