#pragma once
// Inputs of the fin-section tests: a section alone, and a whole fin at 100 ft/s in sea-level air; and the panel
// solutions of a section, which must complete.
#include <gtest/gtest.h>

#include "finpanel/FinSection.h"
#include "finpanel/PanelSolvers.h"

namespace velmora::testing {

inline finpanel::FinSectionInput section(const char* shape, int n, double thickness, double chord, double aoa = 0)
{
    return {.sectionShape = shape, .panelCount = n, .finThickness = thickness, .finMeanChord = chord,
            .angleOfAttack = aoa, .currentSection = {}};
}

inline finpanel::FinSectionInput fin(const char* shape, int n, double aoa, double thickness = 0.12)
{
    return {.sectionShape = shape, .panelCount = n, .finThickness = thickness, .finMeanChord = 1.0, .finSpan = 0.5,
            .finCount = 4, .angleOfAttack = aoa, .freeStreamVelocity = 100.0, .ambientDensity = 0.002378,
            .referenceArea = 0.05f, .currentSection = {}};
}

inline finpanel::PanelSolution vortexSolution(const finpanel::SectionPoints& s, double aoa, double velocity)
{
    NullProgress quiet;
    finpanel::PanelSolution out;
    EXPECT_EQ(finpanel::solveVortexPanels(s, aoa, velocity, out, quiet), Outcome::Done);
    return out;
}

inline finpanel::PanelSolution sourceSolution(const finpanel::SectionPoints& s, double velocity)
{
    NullProgress quiet;
    finpanel::PanelSolution out;
    EXPECT_EQ(finpanel::solveSourcePanels(s, velocity, out, quiet), Outcome::Done);
    return out;
}

} // namespace velmora::testing
