#include <gtest/gtest.h>

#include <cmath>

#include "finpanel/FinPanelState.h"

using namespace velmora;
using namespace velmora::finpanel;

TEST(FinPanelState, RoundTripThroughTheProjectState)
{
    auto m = makeModule1();
    m->PanelMethodChoice = "VORTEX";
    m->PanelPlotChoice = "Velocity";
    m->AnalysisUnits = "IPS";
    m->PanelCount = 20;
    m->FinThicknessFactor = 1;
    m->FinThickness = 0.1;
    m->FinMeanChord = 2.0;
    m->FinSpan = 1.5;
    m->FinCount = 4;
    m->FinRootDistance = 10.0f;
    m->FinTipDistance = 11.0;
    m->AngleOfAttack = 4.0;
    m->FreeStreamVelocity = 300.0;
    m->AmbientDensity = 0.002378;
    m->ReferenceArea = 0.1f;
    m->PanelSolutionStatus = "SOLVE NEW FLOW";

    const FinSectionInput in = finInputFrom(*m, "STREAMLINED");
    EXPECT_EQ(in.unitMenuIndex, 1);
    NullProgress none;
    const auto r = solveFinSection(in, none);
    ASSERT_TRUE(r && r->outcome == Outcome::Done) << (r ? r->failure : "");
    EXPECT_EQ(r->unitsLabel, "IN/SEC");
    publish(*r, *m);
    EXPECT_EQ(m->PanelSolutionStatus, "SOLVED");
    EXPECT_EQ(m->FinNormalForceSlope, r->forces.normalForceSlope);
    EXPECT_EQ(m->PanelCornerIndex(20, 2), 1);
    EXPECT_EQ(m->PanelCp(7), r->solution.cp[7]);

    // A failed run publishes nothing.
    m->PanelSolutionStatus = "SOLVE NEW FLOW";
    FinSectionInput bad = in;
    bad.freeStreamVelocity = std::nan("");
    publish(VORTEX(bad, none), *m);
    EXPECT_EQ(m->PanelSolutionStatus, "SOLVE NEW FLOW");
    EXPECT_EQ(m->FinNormalForceSlope, r->forces.normalForceSlope);
}
