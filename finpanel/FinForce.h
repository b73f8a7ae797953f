#pragma once
// Fin normal force from a solved section: the section pressures, integrated
// over the chord and taken as acting on a strip of the full fin span, give the
// normal-force slope of the fin set, the fin centre of pressure and the normal
// force on one fin.
#include <string>

#include "finpanel/FinSection.h"
#include "finpanel/PanelSolvers.h"
#include "platform/Report.h"

namespace velmora::finpanel {

inline constexpr const char* kMsgZeroAngle = "Use non-zero AOA to compute fin Cn and Cp.";
inline constexpr const char* kMsgMissingFinData = "Please enter all fin data.";

struct FinForces : Report {
    // Done: the three results below are valid. Refused: nothing computed and
    // the project's results keep their values; `message` says why (zero angle
    // of attack, or a zero chord, span, fin count or reference area).
    double normalForceSlope = 0;  // fin set, per radian, on the reference area
    double centerOfPressure = 0;  // nose tip to the fin centre of pressure; 0 = not computed
    double normalForce = 0;       // one fin, force units
    double forceSum = 0;          // net normal force of the fin set (the fin-count factor applied)
    double momentSum = 0;         // its moment about the leading edge
};

// The net normal force counts every section panel exactly once: panel J
// carries -q (Cp_J / beta) dx_J span (Cp_J as forceCp), dx_J its signed chordwise extent on the
// rotated section and beta the Prandtl-Glauert factor in compressible flow.
// A net force below single-precision noise (a non-lifting source solution)
// gives a zero slope and force and leaves the centre of pressure at 0.
// Throws MathFailure when the arithmetic breaks down (for instance Mach >= 1
// in compressible flow).
// The net normal force of a solved section per unit dynamic pressure and
// span, incompressible: the sum of -Cp dx over its panels (Cp as forceCp).
double sectionNormalForce(const SectionPoints& section, const PanelSolution& solution);

FinForces CNFINS(const FinSectionInput& in, const SectionPoints& section, const PanelSolution& solution);

} // namespace velmora::finpanel
