#include "stability/Barrowman.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/Constants.h"
#include "sweep/SweepOutput.h"

namespace velmora::stability {
namespace {

// Ogive nose 4 x 1 on a 12 tube; three fins, root 2, tip 1, span 1.5, root leading edge at 14, tip leading edge at
// 15, entered (fin drag not 0). An angle-of-attack sweep plotting CN, step 1 at 4 degrees.
std::unique_ptr<Module1> finnedRocket()
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseShapeName = "TANGENT OGIVE";
    m->NoseConeLength = 4;
    m->NoseConeDiameter = 1;
    m->BodyTubeLength = 12;
    m->FinCount = 3;
    m->FinRootChord = 2;
    m->FinTipChord = 1;
    m->FinSpan = 1.5;
    m->FinRootDistance = 14;
    m->FinTipDistance = 15;
    m->FinDragForce = 0.01;
    m->SweepPlotQuantity = 2;
    m->SweepPlotX(1) = 4;
    return m;
}

std::string panel1(const BarrowmanReport& r)
{
    const WindowWrite* w = lastWriteTo(r.writes, ControlId::ITERATION_StatusBar1);
    return w ? w->text : "<none>";
}

TEST(Barrowman, FinnedRocketValuesAtFourDegreesAndTheCurve)
{
    auto m = finnedRocket();
    const BarrowmanRocket b = barrowmanRocket(*m);
    EXPECT_NEAR(b.slope, 15.75885, 5e-6);  // nose 2, fins with K = 1.25 and Lf = sqrt(2.5); XCp 13.18736

    const struct { int16_t quantity; double value; const char* bresult; } cases[] = {
        {2, 1.100175, "1.10018"}, {3, -0.906776, "-.90678"}, {4, 0.824210, ".82421"}};
    for (const auto& c : cases) {
        m->SweepPlotQuantity = c.quantity;
        const BarrowmanReport r = BARROWMANS(*m, 1);
        ASSERT_EQ(r.outcome, Outcome::Done);
        EXPECT_NEAR(m->BarrowmanSweepValues(1), c.value, 1e-6);
        EXPECT_EQ(lastWriteTo(r.writes, ControlId::ITERATION_BResult)->text, c.bresult);
    }

    // A three-step sweep from 1 by 3 plotting XCp: a horizontal green line at r.
    m->SweepStepCount = 3;
    m->SweepPlotQuantity = 4;
    for (int i = 1; i <= 3; ++i) m->SweepCenterOfPressureRatios(i) = 0.7f;
    sweepPlotSeries(*m, 3);  // x 1, 4, 7; x end 7; y end 1.4 -> 1
    const BarrowmanReport r = BARROWMANS(*m, 3);
    ASSERT_EQ(r.outcome, Outcome::Done);
    const double y = 100 + 2000 * static_cast<double>(static_cast<float>(r.rocket.ratio));
    EXPECT_EQ(r.curve, (std::vector<MeshStroke>{
                           {MeshStroke::Kind::Line, 100 + 2000.0 / 7, y, 100 + 2000.0 / 7 * 4, y, 2},
                           {MeshStroke::Kind::Line, 100 + 2000.0 / 7 * 4, y, 100 + 2000.0 / 7 * 7, y, 2},
                       }));
    EXPECT_EQ(panel1(r), "Barrowman Equation results plotted verses Velmora results.");

    // No sweep data: values and BResult first, then the message.
    m->SweepPlotYMax = 0;
    m->SweepPlotQuantity = 2;
    const BarrowmanReport none = BARROWMANS(*m, 3);
    EXPECT_EQ(none.writes, (std::vector<WindowWrite>{
                               showText(ControlId::ITERATION_BResult, ".27504"),
                               setPanel(ControlId::ITERATION_StatusBar1, 1, ""),
                               setPanel(ControlId::ITERATION_StatusBar1, 1, "No Barrowman Equation data to plot.")}));
    EXPECT_NEAR(m->BarrowmanSweepValues(3), 15.75885 * 7 * kPi / 180, 1e-5);
}

TEST(Barrowman, NoseAloneAndTransitionToAPoint)
{
    const struct { const char* shape; double k; } cases[] = {{"CONICAL", 0.667}, {"TANGENT OGIVE", 0.466},
        {"ELLIPTICAL", 0.333}, {"PARABOLIC", 0.5}, {"SEARS-HAACK", 0.667}, {"FREEHAND", 0}};
    for (const auto& c : cases) {
        auto m = finnedRocket();
        m->FinDragForce = 0;  // no fins
        m->NoseShapeName = c.shape;
        EXPECT_DOUBLE_EQ(barrowmanRocket(*m).ratio, c.k * 4 / 16) << c.shape;  // nose slope 2 at k L
    }

    auto m = finnedRocket();
    m->TransitionLength = 3;
    m->TransitionDiameter = 0;  // computed with 1e-7
    const BarrowmanPart t = barrowmanTransition(*m);
    EXPECT_NEAR(t.slope, -2, 1e-12);
    EXPECT_NEAR(t.position, 4 + 12 + 1, 1e-6);
    m->TransitionDiameter = 0.5;
    EXPECT_DOUBLE_EQ(barrowmanTransition(*m).slope, -1.5);
    EXPECT_DOUBLE_EQ(barrowmanTransition(*m).position, 16 + 1 * (1 + (1 - 2.0) / (1 - 4.0)));
}

// A straight transition (to the tube diameter) adds no normal force, only its length to the rocket's.
TEST(Barrowman, StraightTransitionAddsOnlyItsLength)
{
    auto m = finnedRocket();
    const BarrowmanRocket plain = barrowmanRocket(*m);
    std::tie(m->TransitionLength, m->TransitionDiameter) = std::tuple(2, 1);
    const BarrowmanReport r = BARROWMANS(*m, 1);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(std::tuple(r.rocket.transition.slope, r.rocket.slope, r.rocket.position),
              std::tuple(0.0, plain.slope, plain.position));
    EXPECT_DOUBLE_EQ(r.rocket.ratio, plain.position / 18);
}

TEST(Barrowman, RefusalsStoreAndDrawNothing)
{
    const struct { const char* name; void (*edit)(Module1&); std::string message; } cases[] = {
        {"velocity sweep", [](Module1& m) { m.AoaSweepSelected = 0; },
         "Barrowman results not available for velocity loops."},
        {"free-form body", [](Module1& m) { m.ActiveBodyGeometry = 1; },
         "Barrowman results not available for Free-Form shapes."},
        {"Cd", [](Module1& m) { m.SweepPlotQuantity = 1; }, "Barrowman Equations do not predict Cd."},
        {"no diameter", [](Module1& m) { m.NoseConeDiameter = 0; }, kMsgBarrowmanNoDiameter},
        {"transition to -D",
         [](Module1& m) {
             m.TransitionLength = 2;
             m.TransitionDiameter = -1;
         },
         kMsgBarrowmanTransition},
        {"slopes add up to 0",
         [](Module1& m) {
             m.FinDragForce = 0;
             m.TransitionLength = 2;
         },
         kMsgBarrowmanNoSlope},
        {"no fin chords", [](Module1& m) { m.FinRootChord = m.FinTipChord = 0; }, kMsgBarrowmanFailed},
    };
    for (const auto& c : cases) {
        auto m = finnedRocket();
        m->SweepPlotXMax = m->SweepPlotYMax = 10;
        m->SweepPlotX(2) = 7;
        m->BarrowmanSweepValues(1) = 99;
        c.edit(*m);
        const BarrowmanReport r = BARROWMANS(*m, 2);
        SCOPED_TRACE(c.name);
        // Nothing stored, no BResult shown, no curve drawn.
        EXPECT_EQ(std::tuple(r.outcome, panel1(r), m->BarrowmanSweepValues(1), r.curve.size()),
                  std::tuple(Outcome::Refused, c.message, 99.0, 0u));
        EXPECT_EQ(lastWriteTo(r.writes, ControlId::ITERATION_BResult), nullptr);
    }
    auto m = finnedRocket();
    EXPECT_TRUE(BARROWMANS(*m, 0.5).writes.empty());  // below one step

    // Arithmetic that breaks down on a rocket the method takes fails, storing nothing.
    m->SweepPlotXMax = 0;
    m->SweepPlotYMax = 10;
    m->BarrowmanSweepValues(1) = 99;
    const BarrowmanReport failed = BARROWMANS(*m, 2);
    EXPECT_EQ(std::tuple(failed.outcome, failed.message, panel1(failed), m->BarrowmanSweepValues(1)),
              std::tuple(Outcome::Failed, kMsgBarrowmanFailed, kMsgBarrowmanFailed, 99.0));
}

} // namespace
} // namespace velmora::stability
