#include "finpanel/FinForce.h"

#include <gtest/gtest.h>

#include <cmath>

#include "finpanel/FinPanelSolver.h"
#include "tests/core/finpanel/FinInputs.h"

using namespace velmora;
using namespace velmora::finpanel;
using velmora::testing::fin;
using velmora::testing::vortexSolution;

namespace {

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
        EXPECT_LT(std::fabs(sectionNormalForce(level, vortexSolution(level, 0.0, 1.0))), 1e-6);
        double first = 0;
        for (double angle : {0.1, 0.5, 1.0, 4.0, 8.0}) {
            const FinSectionInput in = fin(shape, 100, angle);
            const SectionPoints s = generateSection(in);
            const FinForces f = CNFINS(in, s, vortexSolution(s, angle, in.freeStreamVelocity));
            ASSERT_EQ(f.outcome, Outcome::Done) << angle;
            EXPECT_GT(f.normalForceSlope, 0) << angle;
            if (first == 0) first = f.normalForceSlope;
            EXPECT_NEAR(f.normalForceSlope / first, 1.0, 0.03) << angle;
            EXPECT_GT(f.centerOfPressure, 0.2) << angle;  // from the leading edge, in chords
            EXPECT_LT(f.centerOfPressure, 0.32) << angle;
        }
    }
}
