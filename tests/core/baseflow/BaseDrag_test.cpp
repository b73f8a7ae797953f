#include <gtest/gtest.h>

#include <cmath>

#include "baseflow/BaseDrag.h"
#include "baseflow/BaseFlow.h"
#include "tests/core/baseflow/BaseFlowCase.h"

namespace velmora::baseflow {
namespace {

// A converged-looking state: status "", U everywhere, at rest across.
std::unique_ptr<Module1> solvedCase(double u = 300)
{
    auto m = testing::baseFlowCase();
    m->BaseFlowStatus = "";
    for (int i = 0; i <= 101; ++i)
        for (int j = 0; j <= 101; ++j) {
            m->BaseFlowVelocityU(i, j) = u;
            m->BaseFlowNodeX(i, j) = (i - 1) * 0.5 / 49;
            m->BaseFlowNodeY(i, j) = (j - 1) * 0.25 / 24;
        }
    return m;
}

TEST(MotorJet, ExhaustVelocityPerUnitSystemTheJetBlockAndNoJetWithoutEveryInput)
{
    // T 10, t 2, W 0.5: Isp 40 (FPS, IPS), 20 / (0.5 9.806) (MNS); Ujet = g Isp.
    const struct { const char* units; float g; double ujet; } cases[] = {
        {"FPS", 32.2f, 1288}, {"IPS", 386.0f, 15440}, {"MNS", 9.806f, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        auto m = solvedCase();
        m->AnalysisUnits = c.units;
        m->MotorAverageThrust = 10, m->MotorBurnTime = 2, m->PropellantWeight = 0.5, m->NozzleExitDiameter = 0.1;
        m->BaseFlowVelocityV(2, 2) = 5;
        testing::RecordingProgress p;
        const JetReport r = JET(*m, p);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_EQ(m->GravityAcceleration, c.g);
        EXPECT_NEAR(m->JetExitVelocity, c.ujet, 1e-3);
        ASSERT_EQ(r.writes.size(), 3u);
        EXPECT_EQ(r.writes[1], showNumber(ControlId::NavierStokes_UJETBase, m->JetExitVelocity, "#####.##"));
        // NX 50, JB 5, Dj = D: rows 1..6 (j_end = 1 + JB) of 25, 21, 13, 1, 0, 0 nodes.
        const int expected[] = {25, 21, 13, 1, 0, 0, 0};
        for (int j = 1; j <= 7; ++j) {
            int count = 0;
            for (int i = 1; i <= 50; ++i) count += m->BaseFlowVelocityU(i, j) == m->JetExitVelocity;
            EXPECT_EQ(count, expected[j - 1]) << "row " << j;
            EXPECT_EQ(m->BaseFlowVelocityU(expected[j - 1] + 1, j), 300.0);  // the first node after the block
        }
        EXPECT_EQ(m->BaseFlowVelocityV(2, 2), 0.0f);
    }

    // No jet without every motor input.
    for (int missing = 0; missing < 4; ++missing) {
        auto m = solvedCase();
        m->JetExitVelocity = 99;
        double* inputs[] = {&m->MotorAverageThrust, &m->MotorBurnTime, &m->PropellantWeight, &m->NozzleExitDiameter};
        for (double* in : inputs) *in = 1;
        *inputs[missing] = 0;
        testing::RecordingProgress p;
        const JetReport r = JET(*m, p);
        EXPECT_EQ(std::tuple(r.outcome, m->JetExitVelocity, m->BaseFlowVelocityU(1, 1)),
                  std::tuple(Outcome::Done, 0.0, 300.0));
        for (const auto& w : r.writes) EXPECT_EQ(w.action, WindowAction::Empty);
    }
}

TEST(ThreeDCorrection, FactorSpeedCapAndVorticity)
{
    // 5 x 5 nodes, DX = DY = 0.1, D = 0.1: node (2, 2) lies at (0.1, 0.1) where
    // t = 1, a = D / sqrt(0.05) and F2 = 2.7348490.
    auto m = solvedCase(1);
    m->BaseGridPointsX = m->BaseGridPointsY = 5;
    m->BaseFlowDomainLength = m->BaseFlowDomainHeight = 0.4;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j) m->BaseFlowNodeX(i, j) = (i - 1) * 0.1, m->BaseFlowNodeY(i, j) = (j - 1) * 0.1;
    m->BaseFlowVelocityV(3, 2) = 0.2f;    // dV/dx = 1 at (2, 2)
    m->BaseFlowVelocityU(4, 4) = 1000;    // far above 2 V
    m->BaseFlowVorticity(1, 2) = -7;      // the wall column keeps its value
    const auto c = U3D(*m, 300);
    constexpr double f2 = 2.7348490209708816;
    EXPECT_NEAR(c->speed(7), std::sqrt(f2), 1e-12);        // K = (i - 1) NY + j
    EXPECT_NEAR(c->w(2, 2), f2 * 0.2f / 0.2, 1e-6);
    EXPECT_EQ(std::tuple(c->speed(19), c->w(1, 2), c->y(3, 1)), std::tuple(600.0, -7.0, 0.00001));  // (4, 4) at 2 V
}

TEST(BasePressure, UniformShoulderFlowJetRowsAndTheWallGradient)
{
    // No wall vorticity: the whole base sits at p_inf - rho U(1, JB+1)^2 / 2,
    // Cpb = -(U / V)^2 0.189203. Jet rows j <= JB Dj / D = 2.5 take p_inf.
    auto m = solvedCase();
    const double pinf = m->AmbientPressure, rho = m->AmbientDensity;
    testing::RecordingProgress p;
    PressureReport r = SolveCp(*m, 300, p);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_NEAR(r.basePressureCoefficient, -0.189203, 2e-6);
    EXPECT_EQ(m->BasePressureCoefficient, r.basePressureCoefficient);

    auto jet = solvedCase();
    jet->JetExitVelocity = 500;
    jet->NozzleExitDiameter = 0.05;
    r = SolveCp(*jet, 300, p);
    const double dy = 0.25 / 24, low = pinf - 0.5 * rho * 300 * 300;
    double area = 0, force = 0;
    for (int j = 1; j <= 5; ++j) {
        const double da = 2 * 3.14159265 * (j == 1 ? 0.00001 : (j - 1) * dy) * dy;
        area += da;
        force += da * (j <= 2 ? pinf : low);
    }
    EXPECT_NEAR(r.basePressureCoefficient, (force / area - pinf) / (0.5 * rho * 300 * 300) * 0.189203, 2e-6);
    // JB Dj / D = 2 exactly: row 2 is still a jet row, row 3 is not.
    jet->NozzleExitDiameter = 0.04;
    r = SolveCp(*jet, 300, p);
    EXPECT_EQ(std::tuple(r.wallPressure[2], r.wallPressure[3]),
              std::tuple(static_cast<float>(pinf), static_cast<float>(low)));

    // W(1, j) = 1 on the wall, 0 beside it: each row down adds (mu / 2) (DY / DX) 3 to the pressure drop.
    auto wall = solvedCase();
    for (int j = 1; j <= 5; ++j) wall->BaseFlowVorticity(1, j) = 1;
    r = SolveCp(*wall, 300, p);
    ASSERT_EQ(r.outcome, Outcome::Done);
    const double step = wall->DynamicViscosity / 2 * ((0.25 / 24) / (0.5 / 49)) * 3;
    for (int j = 1; j <= 5; ++j) EXPECT_NEAR(r.wallPressure[j], r.wallPressure[6] - (6 - j) * step, 1e-3) << j;
    EXPECT_FLOAT_EQ(r.wallPressure[6], static_cast<float>(low));
}

// Base drag: Cpb -0.5 on a rocket of nose diameter 1, air of density 1.
std::unique_ptr<Module1> dragCase(double length, double velocity, double mu)
{
    auto m = solvedCase();
    m->NoseConeDiameter = 1;
    m->NoseConeLength = length;
    m->BodyTubeLength = 0;
    m->BaseFlowDiameter = 0.5;
    m->AmbientDensity = 1;
    m->DynamicViscosity = mu;
    m->BasePressureCoefficient = -0.5;
    m->FreeStreamVelocity = velocity;
    return m;
}

TEST(BaseDrag, FinenessBandsAboveTheReynoldsLimitAndAreaByBodyShape)
{
    const struct { double ld, factor, velocity = 100, mu = 1e-6, tube = 0; } bands[] = {
        {0.75, 0.4}, {0.9, 0.426}, {1, 0.426}, {1.5, 0.481}, {2, 0.481}, {2.5, 0.4},
        {1.5, 1, 390.625, 1.0 / 1024},  // rho V L / mu = 600000 exactly: no factor
        {1.5, 0.481, 100, 1e-6, 1}};    // half a diameter of nose, one of body tube
    for (const auto& b : bands) {
        SCOPED_TRACE(b.ld);
        auto m = dragCase(b.ld - b.tube, b.velocity, b.mu);
        m->BodyTubeLength = b.tube;
        testing::RecordingProgress main;
        const BaseDragReport r = NEWDRAG(*m, b.velocity, main);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_EQ(r.bandFactor, b.factor);
        EXPECT_EQ(m->BaseDragCoefficient, static_cast<float>(0.5f * b.factor));
    }

    // Below the Reynolds limit: Cd = -Cpb (area / reference area), shown and summed into the main drag.
    const struct { const char* what; double transition; int16_t freeForm; float cd; } cases[] = {
        {"no transition", 0, 0, 0.5f},
        {"transition", 0.2, 0, 0.125f},  // base area (D 0.5) on the reference area (D0 1)
        {"free-form", 0, 1, 0.125f},
        {"negative transition", -0.2, 0, 0.0f}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        auto m = dragCase(1, 100, 1);
        m->TransitionLength = k.transition;
        m->ActiveBodyGeometry = k.freeForm;
        testing::RecordingProgress main;
        const BaseDragReport r = NEWDRAG(*m, 100, main);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_NEAR(m->BaseDragCoefficient, k.cd, 1e-7);
        EXPECT_EQ(r.writes[1], showNumber(ControlId::SOLVER_BaseCd, m->BaseDragCoefficient, "##.###"));
        EXPECT_EQ(r.writes.back(), setPanel(ControlId::SOLVER_StatusBar1, 2, "Velmora base drag added to total drag."));
        const WindowWrite* total = lastWriteTo(r.writes, ControlId::SOLVER_TotalCd);
        ASSERT_NE(total, nullptr);
        EXPECT_EQ(m->TotalDragCoefficient, static_cast<float>(total->value));
    }

    // A base pressure above ambient is refused however slow the flight: Cpb .001 at .01 ft/s adds nothing.
    auto above = dragCase(1, 0.01, 1);
    above->BasePressureCoefficient = 0.001;
    testing::RecordingProgress main;
    EXPECT_EQ(std::pair(NEWDRAG(*above, 0.01, main).outcome, above->BaseDragCoefficient),
              std::pair(Outcome::Refused, dragCase(1, 0.01, 1)->BaseDragCoefficient));
}

} // namespace
} // namespace velmora::baseflow
