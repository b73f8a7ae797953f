#include <gtest/gtest.h>

#include <cmath>

#include "finpanel/FinForce.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

// A four-corner section with hand-picked x and a hand-picked solution.
struct FourPanels {
    FinSectionInput in;
    SectionPoints section;
    PanelSolution solution;
    FourPanels()
    {
        in.finMeanChord = 2.0;
        in.finSpan = 0.5;
        in.finCount = 4;
        in.finRootDistance = 3.0f;
        in.finTipDistance = 3.5;
        in.angleOfAttack = 10.0;
        in.freeStreamVelocity = 1.0;
        in.ambientDensity = 2.0;  // q = 1
        in.referenceArea = 0.25f;
        section.count = solution.count = 4;
        const double x[] = {0, -1, -0.8, 1, 0.6};
        const float cp[] = {0, 0.2f, -0.6f, 0.1f, 0.4f};
        const double xc[] = {0, -0.9, 0.1, 0.8, -0.2};
        for (int i = 1; i <= 4; ++i) {
            section.x[i] = x[i];
            solution.cp[i] = cp[i];
            solution.controlPointX[i] = xc[i];
            solution.cornerIndex[i][1] = static_cast<int16_t>(i);
            solution.cornerIndex[i][2] = static_cast<int16_t>(i % 4 + 1);
        }
    }
};

} // namespace

TEST(FinForce, HandComputedFourPanels)
{
    FourPanels c;
    const FinForces f = CNFINS(c.in, c.section, c.solution);
    ASSERT_EQ(f.outcome, Outcome::Done);
    // Strip forces -Cp dx span: -0.02, 0.54, 0.02, 0.32 (sum 0.86); moment
    // arms from the leading edge 0.1, 1.1, 1.8, 0.8 (moment 0.884).
    EXPECT_NEAR(f.normalForce, 0.86, 1e-6);
    EXPECT_NEAR(f.forceSum, 1.72, 1e-6);
    EXPECT_NEAR(f.centerOfPressure, 3.0 + 0.884 / 0.86 + 0.25, 1e-6);
    EXPECT_NEAR(f.normalForceSlope, 1.72 / (3.14159265 * 10.0 / 180.0 * 0.25), 1e-5);
}

TEST(FinForce, FinCountAndCompressibility)
{
    FourPanels c;
    const FinForces four = CNFINS(c.in, c.section, c.solution);
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

TEST(FinForce, ZeroAngleAndMissingDataComputeNothing)
{
    FourPanels c;
    c.in.angleOfAttack = 0.0;
    FinForces f = CNFINS(c.in, c.section, c.solution);
    EXPECT_EQ(f.outcome, Outcome::Refused);
    EXPECT_EQ(f.message, "Use non-zero AOA to compute fin Cn and Cp.");

    for (auto spoil : {+[](FinSectionInput& in) { in.finSpan = 0; },
                       +[](FinSectionInput& in) { in.referenceArea = 0; }}) {
        FourPanels d;
        spoil(d.in);
        EXPECT_EQ(CNFINS(d.in, d.section, d.solution).message, "Please enter all fin data.");
    }
}

// Vortex panels, 100 of them, on a unit chord (fin count 2 gives a fin factor
// of 1, span and reference area 1): the slope is that of the section, the
// same at every angle, and the centre of pressure near the quarter chord; at
// zero angle a symmetric section carries no net force.
TEST(FinForce, VortexSlopeAndCentreHoldDownToSmallAngles)
{
    NullProgress none;
    for (const char* shape : {"NACA WING", "STREAMLINED", "D'WEDGE"}) {
        SCOPED_TRACE(shape);
        FinSectionInput in;
        in.sectionShape = shape;
        in.panelCount = 100;
        in.finThickness = 0.12;
        in.finMeanChord = in.finSpan = 1.0;
        in.finCount = 2;
        in.freeStreamVelocity = 10.0;
        in.ambientDensity = 1.0;
        in.referenceArea = 1.0f;
        const SectionPoints level = generateSection(in);
        EXPECT_LT(std::fabs(sectionNormalForce(level, solveVortexPanels(level, 0.0, 10.0, none))), 1e-6);

        double first = 0;
        for (double angle : {0.1, 0.5, 1.0, 4.0, 8.0}) {
            SCOPED_TRACE(angle);
            in.angleOfAttack = angle;
            const SectionPoints s = generateSection(in);
            const FinForces f = CNFINS(in, s, solveVortexPanels(s, angle, in.freeStreamVelocity, none));
            ASSERT_EQ(f.outcome, Outcome::Done);
            EXPECT_GT(f.normalForceSlope, 0);
            if (first == 0) first = f.normalForceSlope;
            EXPECT_NEAR(f.normalForceSlope / first, 1.0, 0.03) << f.normalForceSlope;
            EXPECT_GT(f.centerOfPressure, 0.2);  // from the leading edge, in chords
            EXPECT_LT(f.centerOfPressure, 0.32);
        }
    }
}
