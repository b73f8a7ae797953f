#include "stability/CenterOfPressure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "model/Units.h"
#include "platform/Constants.h"
#include "solve/SolveChain.h"
#include "tests/core/Rockets.h"

namespace velmora::stability {
namespace {

constexpr double kAlphaDeg = 4;

// A cone of length 3 and base radius 0.5 on a tube to x = 15, nose tip at x = 0, 8 meridians, with the slender-body
// pressure difference set by hand: Cp(lower) - Cp(upper) = 2 pi alpha dr/dx on the cone, 0 on the tube. Its
// normal-force slope tends to 2 per radian and its centre to 2/3 of the cone.
std::unique_ptr<Module1> coneCylinder(int coneSegments)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseShapeName = "CONICAL";
    m->NoseConeLength = 3;
    m->NoseConeDiameter = 1;
    m->BodyTubeLength = 12;
    m->AngleOfAttack = kAlphaDeg;
    m->ReferenceArea = static_cast<float>(kPi * 0.25);
    m->FlowSolutionStatus = m->FlowSolutionStatusText = "";
    m->ElementAxialVelocity(1) = 1;
    m->MeridianCount = 8;
    const double slope = 0.5 / 3, dx = 3.0 / coneSegments;
    const double dcp = 2 * kPi * (kAlphaDeg * kPi / 180) * slope;
    const int n = coneSegments + 3;  // two tube segments and the last station
    m->BodyStationCount = static_cast<int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        const double x = i <= coneSegments + 1 ? (i - 1) * dx : 3 + 6 * (i - coneSegments - 1);
        m->BodyStationX(i) = x;
        m->BodyStationRadius(i) = std::min(x * slope, 0.5);
        if (i <= coneSegments) {
            m->BodySurfaceCp((i - 1) * 8 + 7) = static_cast<float>(dcp / 2);   // lower meridian
            m->BodySurfaceCp((i - 1) * 8 + 3) = static_cast<float>(-dcp / 2);  // upper meridian
        }
    }
    return m;
}

// A triangle whose tip distance equals its root chord has its root on the
// nose tip: only the root-distance check fails.
void triangleFinsAtTheTip(Module1& m)
{
    m.FinRootChord = 2;
    m.FinSpan = 1;
    m.FinCount = 3;
    m.FinPlanformCode = 1;
    m.FinEdgeCode = 1;
    m.SurfaceFinishCode = 1;
    m.FinTipDistance = 2;
}

TEST(CenterOfPressure, ConeSlopeTendsToTwoAndCentreToTwoThirdsThenFinsAddedByHand)
{
    NullProgress np;
    for (int segments : {10, 40, 80}) {
        auto m = coneCylinder(segments);
        const CenterOfPressureReport r = CPSOLVE(*m, 300, np);
        ASSERT_EQ(r.outcome, Outcome::Done);
        // Front-station radii and arms: errors of order 1/segments.
        EXPECT_LT(std::fabs(r.BodyNormalForceSlope - 2.0), 2.5 / segments) << segments;
        EXPECT_LT(std::fabs(r.BodyCenterOfPressure - 2.0), 1.5 / segments) << segments;
    }

    auto m = coneCylinder(40);
    triangleFinsAtTheTip(*m);
    m->FinThickness = 0.1;
    m->FinNormalForceSlope = 3;
    m->FinCenterOfPressure = 13;
    m->FinDragForce = 1.5;  // fins entered: the pressure difference still gives the body force
    const CenterOfPressureReport r = CPSOLVE(*m, 300, np);
    ASSERT_EQ(r.outcome, Outcome::Done);
    const double b = r.BodyNormalForceSlope, xb = r.BodyCenterOfPressure, alpha = kAlphaDeg * kPi / 180;
    const double xcp = (3 * 13 + b * xb) / (3 + b);
    EXPECT_DOUBLE_EQ(r.TotalCenterOfPressure, xcp);
    EXPECT_DOUBLE_EQ(m->NormalForceCoefficient, alpha * (3 + b));
    const double ratio = static_cast<float>(xcp / 15);
    EXPECT_DOUBLE_EQ(m->PitchingMomentCoefficient, -alpha * (3 + b) * ratio);
    // The fins lack their root distance: the main window shows no rocket value and says why.
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_CNFORCES)->action, WindowAction::Empty);
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_StatusBar1)->text,
              "No fin drag. Distance to fin root required. CN, Cm and XCp/L need complete fin data.");
    // The fin check's message stands during the run and is emptied after it.
    std::vector<std::string> panel2;
    for (const auto& w : r.writes)
        if (w.control == ControlId::PressureCenter_StatusBar1 && w.value == 2) panel2.push_back(w.text);
    EXPECT_EQ(panel2, (std::vector<std::string>{"No fin drag. Distance to fin root required", ""}));
    // The cone's pressure difference 2 pi alpha / 6 = +-0.0365: range +-0.1.
    EXPECT_EQ(*lastWriteTo(r.writes, ControlId::PressureCenter_MIN),
              showNumber(ControlId::PressureCenter_MIN, -0.1, "##.##"));
    // The ring of station N-1 is cleared for every later reader.
    for (int k = 41 * 8 + 1; k <= 42 * 8; ++k) EXPECT_EQ(m->BodySurfaceCp(k), 0) << k;
}

// Runs without a usable answer: what they leave and what they say.
TEST(CenterOfPressure, ZeroAngleDivisionsWithoutAValueAndStaleFlow)
{
    NullProgress np;
    auto m = coneCylinder(20);
    m->AngleOfAttack = 0;
    m->NormalForceCoefficient = 0.7;  // an earlier run's value
    m->FinNormalForce = 5;
    m->FinNormalForceSlope = 3;
    m->FinCenterOfPressure = 13;
    CenterOfPressureReport r = CPSOLVE(*m, 300, np);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(std::pair(m->NormalForceCoefficient, m->FinNormalForce), std::pair(0.0, 0.0));
    EXPECT_EQ(lastWriteTo(r.writes, ControlId::SOLVER_CNFORCES), nullptr);

    // No body force at 4 degrees, then no rocket length: 0 and a note each.
    m = coneCylinder(20);
    for (int k = 1; k <= 792; ++k) m->BodySurfaceCp(k) = 0;
    r = CPSOLVE(*m, 300, np);
    EXPECT_EQ(std::pair(r.BodyCenterOfPressure, r.TotalCenterOfPressure), std::pair(0.0, 0.0));
    EXPECT_EQ(r.notes.texts(), (std::vector<std::string>{kMsgNoBodyForce, kMsgNoSlopeSum}));
    EXPECT_TRUE(std::isfinite(m->NormalForceCoefficient));
    m = coneCylinder(20);
    m->NoseConeLength = m->BodyTubeLength = 0;
    r = CPSOLVE(*m, 300, np);
    EXPECT_EQ(m->CenterOfPressureRatio, 0);
    EXPECT_EQ(r.notes.texts(), (std::vector<std::string>{kMsgNoRocketLength}));

    // A body force too large for its slope's quotient: 0 with the note, never an infinity.
    m = coneCylinder(20);
    for (int i = 1; i <= m->BodyStationCount; ++i) m->BodyStationRadius(i) *= 1e300;
    m->ReferenceArea = 1e-30f;
    r = CPSOLVE(*m, 300, np);
    EXPECT_EQ(std::pair(r.BodyNormalForceSlope, r.notes.texts()),
              std::pair(0.0, std::vector<std::string>{kMsgNoBodyForce, kMsgNoSlopeSum}));
    EXPECT_TRUE(std::isfinite(m->NormalForceCoefficient) && std::isfinite(r.TotalCenterOfPressure));

    // A stale flow only says so.
    m = coneCylinder(20);
    m->FlowSolutionStatus = "SOLVE NEW FLOW";
    m->NormalForceCoefficient = 0.7;
    r = CPSOLVE(*m, 300, np);
    EXPECT_EQ(std::pair(r.outcome, m->NormalForceCoefficient), std::pair(Outcome::Refused, 0.7));
    EXPECT_EQ(r.writes, (std::vector<WindowWrite>{setPanel(ControlId::PressureCenter_StatusBar1, 1, kMsgPerformCfd)}));
    EXPECT_NE(m->BodySurfaceCp(19 * 8 + 7), 0);

    // Too few stations is refused the same way, before the fin checks change anything.
    m = coneCylinder(20);
    m->BodyStationCount = 1;
    m->FinThickness = 0;
    m->FinDataMissing = 0;
    r = CPSOLVE(*m, 300, np);
    EXPECT_EQ(std::tuple(r.outcome, r.message, m->FinDataMissing), std::tuple(Outcome::Refused, kMsgPerformCfd, 0));
    EXPECT_EQ(r.writes, (std::vector<WindowWrite>{setPanel(ControlId::PressureCenter_StatusBar1, 1, kMsgPerformCfd)}));
}

// Fins entered whose section was never solved: the main window shows no rocket CN, Cm or XCp/L and says why, the
// force window the body alone; a solved section without lift (source panels) leaves the main window the body's.
TEST(CenterOfPressure, FinsWithoutASectionSolution)
{
    NullProgress np;
    for (const char* panels : {"SOLVE NEW FLOW", "SOLVED"}) {
        SCOPED_TRACE(panels);
        auto m = coneCylinder(10);
        triangleFinsAtTheTip(*m);
        m->FinTipDistance = 14;  // the root 12 from the nose tip: the fin data are complete
        m->FinThickness = 0.1;
        m->PanelSolutionStatus = panels;
        const CenterOfPressureReport r = CPSOLVE(*m, 300, np);
        const bool solved = std::string(panels) == "SOLVED";
        for (ControlId box : {ControlId::SOLVER_CNFORCES, ControlId::SOLVER_CMFORCES, ControlId::SOLVER_XLRATIOS})
            EXPECT_EQ(lastWriteTo(r.writes, box)->action, solved ? WindowAction::ShowNumber : WindowAction::Empty);
        const WindowWrite* panel2 = lastWriteTo(r.writes, ControlId::SOLVER_StatusBar1);
        EXPECT_EQ(panel2 ? panel2->text : "", solved ? "" : kMsgNoFinSolution);
        EXPECT_EQ(lastWriteTo(r.writes, ControlId::PressureCenter_CNFORCES)->action, WindowAction::ShowNumber);
    }
}

TEST(UnitsTest, EveryFailingCheckInOrderAndTheRootDistanceDerived)
{
    auto m = makeModule1();
    const UnitsTestReport r = UNITSTEST(*m, 0);
    EXPECT_EQ(std::tuple(r.messages.size(), r.messages.back(), m->FinDataMissing),
              std::tuple(10u, "No fin drag. Distance to fin root required", 1));

    // Triangle fins with the root 3 behind the nose tip (the fins added by hand have it on the tip).
    m->NoseShapeName = "CONICAL";
    triangleFinsAtTheTip(*m);
    m->FinTipDistance = 5;
    EXPECT_TRUE(UNITSTEST(*m, 0.1f).messages.empty());
    EXPECT_EQ(std::tuple(m->FinTipChord, m->FinRootDistance, m->FinDataMissing), std::tuple(0.0f, 3.0f, 0));
}

// A centre is placed only where the parts' sum is at least 1% of their magnitudes: a tube segment pulls against the
// cone so that the net is just above or below that share, with and without fins, at both signs of the angle. What is
// not placed or not computed (zero angle) is an empty box and the main window says why; Cm then comes from the moment.
TEST(CenterOfPressure, ACentreIsPlacedOnlyWhereTheNormalForcesDoNotCancel)
{
    using enum ControlId;
    const struct { double share, angle; bool fins, body, rocket; } cases[] = {
        {0.0205, kAlphaDeg, false, true, true}, {0.0205, -kAlphaDeg, false, true, true},  // net / magnitudes 1.04%
        {0.0195, kAlphaDeg, false, false, false},                                         // 0.98%
        {0.0195, kAlphaDeg, true, false, true},  // the fins place the rocket's centre
        {1, 0, true, false, false},              // zero angle: nothing placed, no fin value computed
    };
    NullProgress np;
    for (const auto& c : cases) {
        auto m = coneCylinder(20);
        m->AngleOfAttack = c.angle;
        for (int k = 1; k <= 20 * 8; ++k) m->BodySurfaceCp(k) *= static_cast<float>(c.angle < 0 ? -1 : 1);
        const double alpha = c.angle * kPi / 180, cone = CPSOLVE(*m, 300, np).BodyNormalForceSlope * alpha * kPi / 4;
        m->BodySurfaceCp(20 * 8 + 7) = static_cast<float>(-cone * (1 - c.share) / 6);  // tube segment 3 .. 9
        if (c.fins) m->FinNormalForceSlope = 0.1, m->FinCenterOfPressure = 13, m->PanelSolutionStatus = "SOLVED";
        const CenterOfPressureReport r = CPSOLVE(*m, 300, np);
        std::vector<bool> shown;  // the last, fin drag: no fin data, none computed
        for (ControlId box : {PressureCenter_XCPBODYS, PressureCenter_XCPTOTALS, PressureCenter_XLRATIOS,
                              SOLVER_XLRATIOS, PressureCenter_XCPFINS, PressureCenter_CNFINS,
                              PressureCenter_FINAOAFORCES, PressureCenter_FINFORCES})
            shown.push_back(lastWriteTo(r.writes, box)->action == WindowAction::ShowNumber);
        const bool fin = c.fins && c.angle != 0;
        const WindowWrite* why = lastWriteTo(r.writes, SOLVER_StatusBar1);
        EXPECT_EQ(std::tuple(shown, m->CenterOfPressureUndefined, m->CenterOfPressureRatio != 0, why ? why->text : ""),
                  std::tuple(std::vector<bool>{c.body, c.rocket, c.rocket, c.rocket, fin, fin, fin, false},
                             !c.rocket, c.rocket, c.rocket || c.angle == 0 ? "" : kMsgNoRocketCentre))
            << &c - cases;
        const double moment = std::inner_product(r.StationDistance.begin(), r.StationDistance.end(),
                                                 r.StationNormalForce.begin(), 0.0) /
                              (0.5 * m->AmbientDensity * 300 * 300 * m->ReferenceArea);  // per q S
        const double cm = -(alpha * r.FinCenterInUse * r.FinSlopeInUse + moment) / 15;
        EXPECT_NEAR(m->PitchingMomentCoefficient, c.angle != 0 ? cm : 0, 1e-6 * std::fabs(cm)) << &c - cases;
    }
}

struct QuietHost : SolveHost, testing::ScriptedProgress { Progress& progress() override { return *this; } };

// Finless bodies through the sign change of CN in each unit system (conical or ogive nose 10.3736 x 3.31931 in, tube
// 38.309, transition 1.12039 to 1.8 .. 2.6, 2.15972 gave XCp/L 143023 at 10 degrees, base tube 10.0817) at angles
// through 0: all done, Cm at an angle, some centres within 100 lengths, none at zero angle nor at the typed cone.
TEST(CenterOfPressure, FinlessBodiesThroughTheSignChangeOfCN)
{
    for (const UnitSystem& units : UnitSystemTable)
        for (const char* nose : {"CONICAL", "TANGENT OGIVE"})
            for (double angle : {-10.0, 0.0, 0.5, 10.0}) {
                int signs[2] = {}, placed = 0;
                for (int k = 0; k <= 40; ++k) {
                    const double end = k == 18 ? 2.15972 : 1.8 + 0.02 * k;
                    auto m = testing::hobbyRocket({nose, 10.3736, 3.31931, 38.309, 1.12039, end, 10.0817, 0, 0, 0, 0, 0,
                                                   0, 0, 0, 0, 0, 474.968, angle}, units, 1);
                    QuietHost host;
                    const Outcome run = solveChain(*m, host).outcome;
                    const float xcp = m->CenterOfPressureRatio;
                    ++signs[m->NormalForceCoefficient * angle > 0];
                    placed += !m->CenterOfPressureUndefined;
                    EXPECT_EQ(std::tuple(run, std::fabs(xcp) <= 100, xcp != 0, m->PitchingMomentCoefficient != 0,
                                         k == 18 && nose[0] == 'C' && !m->CenterOfPressureUndefined),
                              std::tuple(Outcome::Done, true, !m->CenterOfPressureUndefined, angle != 0, false))
                        << units.code << nose << angle << " " << end << " " << xcp;
                }
                EXPECT_EQ(std::tuple(angle == 0 || std::min(signs[0], signs[1]) > 0, placed > 0, placed < 41),
                          std::tuple(true, angle != 0, true)) << units.code << nose << angle;
            }
}

} // namespace
} // namespace velmora::stability
