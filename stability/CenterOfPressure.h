#pragma once
// Normal-force distribution and centre of pressure of body, fins and rocket:
// CPSOLVE.
//
//   CenterOfPressureReport stability::CPSOLVE(Module1& m, double velocity, Progress& progress);
//
// Without a current body-flow solution (FlowSolutionStatus "SOLVE NEW FLOW"
// or no field velocities) it computes nothing: Refused, with "Please perform
// CFD analysis." for panel 1 of the centre-of-pressure window. The boxes and
// panels it fills come back as writes to "PressureCenter.<control>" and
// "SOLVER.<control>", applied by the caller in order.
#include <vector>

#include "bodyflow/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Progress.h"

namespace velmora::stability {

inline constexpr const char* kMsgPerformCfd = "Please perform CFD analysis.";

struct CenterOfPressureReport {
    Outcome outcome = Outcome::Refused;
    std::vector<WindowWrite> writes;
};

CenterOfPressureReport CPSOLVE(Module1& m, double velocity, Progress& progress);

} // namespace velmora::stability
