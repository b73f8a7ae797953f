// Bodies without fins through the shape where their normal force changes sign: a closed body in potential flow
// carries a couple and next to no net force, and no run shows a centre of pressure the forces do not place.
#include <gtest/gtest.h>

#include <cmath>

#include "model/Units.h"
#include "solve/SolveChain.h"
#include "stability/CenterOfPressure.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

class QuietHost : public SolveHost, public testing::ScriptedProgress {
public:
    Progress& progress() override { return *this; }
    void unloadBaseFlow() override {}
    void meshBuilt(double) override {}
    void stepStarting(SolveStep) override {}
};

// A conical nose 10.3736 x 3.31931 in on a 38.309 in tube, a transition 1.12039 in long to `transition`, a
// 10.0817 in base tube, no fins, 474.968 ft/s, compressible; lengths scaled to the unit system (in-lb-sec as typed).
std::unique_ptr<Module1> finlessBody(int units, double transition, double angle, const char* nose = "CONICAL")
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    const UnitSystem& u = UnitSystemTable[static_cast<std::size_t>(units)];
    m->AnalysisUnits = u.code;
    applyUnitConstants(*m, u);
    computeAmbientAir(*m);
    const double inch = units == 0 ? 1.0 / 12 : units == 1 ? 1 : 0.0254;
    m->NoseShapeName = nose;
    m->NoseConeLength = 10.3736 * inch;
    m->NoseConeDiameter = 3.31931 * inch;
    m->BodyTubeLength = 38.309 * inch;
    m->TransitionLength = 1.12039 * inch;
    m->TransitionDiameter = transition * inch;
    m->BaseTubeLength = 10.0817 * inch;
    m->EnteredVelocity = 474.968;
    m->FreeStreamVelocity = 474.968 * 12 * inch;
    m->CompressibleFlow = 1;
    m->AngleOfAttack = angle;
    return m;
}

// Through the sign change of CN (transition 1.8 .. 2.6 in) and across angles (through 0), noses, unit systems: every
// run is done, with CN and Cm at an angle; a centre is shown only within 100 body lengths, none near the sign change
// and none at zero angle.
TEST(FinlessBodies, NoCentreOfPressureBeyondAHundredLengthsThroughTheSignChangeOfCN)
{
    for (int units : {0, 1, 2})
        for (const char* nose : {"CONICAL", "TANGENT OGIVE"})
            for (double angle : {-10.0, 0.0, 0.5, 10.0}) {
                int signs[2] = {}, hidden = 0, runs = 0;
                for (double transition = 1.8; transition <= 2.6001; transition += 0.02) {
                    SCOPED_TRACE(std::to_string(units) + nose + std::to_string(angle) + " " + std::to_string(transition));
                    auto m = finlessBody(units, transition, angle, nose);
                    QuietHost host;
                    const SolveChainReport r = solveChain(*m, host);
                    ASSERT_EQ(r.outcome, Outcome::Done) << r.message;
                    ++signs[m->NormalForceCoefficient * angle > 0];
                    EXPECT_LE(std::fabs(m->CenterOfPressureRatio), 100);
                    EXPECT_EQ(m->CenterOfPressureRatio == 0, m->CenterOfPressureUndefined == 1);
                    hidden += m->CenterOfPressureUndefined, ++runs;
                    EXPECT_TRUE(std::isfinite(m->PitchingMomentCoefficient) &&
                                (angle == 0) == (m->PitchingMomentCoefficient == 0));
                }
                // CN changed sign with the shape, and a centre was left out there (at zero angle, everywhere).
                if (angle != 0) EXPECT_GT(std::min(signs[0], signs[1]), 0) << units << nose << angle;
                EXPECT_EQ(std::tuple(hidden > 0, hidden == runs), std::tuple(true, angle == 0)) << hidden;
            }
}

// The body as typed in in-lb-sec at 10 degrees: CN about 1e-6, Cm .135, no XCp/L (it was 143023), and the reason.
TEST(FinlessBodies, TheTypedExampleShowsCNAndCmButNoCentre)
{
    auto m = finlessBody(1, 2.15972, 10);
    QuietHost host;
    const SolveChainReport r = solveChain(*m, host);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_LT(std::fabs(m->NormalForceCoefficient), 1e-5);
    EXPECT_NEAR(m->PitchingMomentCoefficient, 0.135, 0.0005);
    EXPECT_EQ(std::pair(m->CenterOfPressureUndefined, m->CenterOfPressureRatio), std::pair(int16_t(1), 0.0f));
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_XLRATIOS)->action, WindowAction::Empty);
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_CMFORCES)->value, m->PitchingMomentCoefficient);
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_StatusBar1)->text, stability::kMsgNoRocketCentre);
}

} // namespace
} // namespace velmora
