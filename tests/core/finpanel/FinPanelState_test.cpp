#include "finpanel/FinPanelState.h"

#include <gtest/gtest.h>

#include <tuple>

#include "finpanel/FinPanelSolver.h"
#include "tests/core/Rockets.h"

using namespace velmora;
using namespace velmora::finpanel;

namespace {

NullProgress quiet;

} // namespace

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
