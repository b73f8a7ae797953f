#include "finpanel/FinPanelSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>

#include "tests/core/Rockets.h"
#include "tests/core/finpanel/FinInputs.h"

using namespace velmora;
using namespace velmora::finpanel;
using velmora::testing::fin;

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
