#pragma once
// The fin step of a solution: generate the section, solve it by vortex or
// source panels, integrate the fin normal force and prepare the result plot.
// The status texts go to the fin-section window's status bar through
// Progress::status as the run proceeds and are also returned; the main
// window's progress bar follows the linear solve.
//
// Outcomes:
//   Refused  velocity, mean chord, thickness, span, fin count or reference
//            area missing: panel 2 "Please enter all fin data.", nothing else.
//   Failed   the arithmetic broke down: panel 1 "Panel method solution not
//            found."; nothing is to be published.
//   Aborted  the user's ABORT (in.abortRequest AbortFlag::Yes) was seen while the
//            solution let events run; nothing is to be published.
//   Done     panel 1 "Panel method solution found."; publish the results and
//            set the panel solution state to Solved. At zero angle of attack
//            the fin results are not computed (forces.outcome is Refused) and
//            panel 2 says "Use non-zero AOA to compute fin Cn and Cp.". Source
//            panels give slope, force and centre 0 and panel 2 says why
//            (the note SourceNoNormalForce).
#include <optional>
#include <string>

#include "finpanel/FinForce.h"
#include "finpanel/FinPlot.h"
#include "finpanel/FinSection.h"
#include "finpanel/PanelSolvers.h"
#include "platform/Report.h"

namespace velmora::finpanel {

inline constexpr const char* kMsgSolving = "Panel method solution in progress.";
inline constexpr const char* kMsgSolved = "Panel method solution found.";
inline constexpr const char* kMsgNotSolved = "Panel method solution not found.";
// Panel 2 after a source-panel run: its fin results are 0, and why.
inline constexpr const char* kMsgSourceNoNormalForce =
    "Source panels carry no lift: the fin normal force needs the vortex panels.";

// message: why it was refused or what broke down; notes:
// SourceNoNormalForce.
struct FinSectionResult : Report {
    std::optional<std::string> panel1;      // last text written to status panel 1 (nullopt: untouched)
    std::optional<std::string> panel2;      // last text written to status panel 2
    std::optional<std::string> unitsLabel;  // UnitsLabel1 caption, when written
    SectionPoints section;
    PanelSolution solution;
    FinForces forces;
    ResultPlot plot;
};

FinSectionResult VORTEX(const FinSectionInput& in, Progress& progress);
FinSectionResult Source(const FinSectionInput& in, Progress& progress);

// The solver chosen by in.panelMethod: "SOURCE" or "VORTEX"; any other text
// runs neither (nullopt).
std::optional<FinSectionResult> solveFinSection(const FinSectionInput& in, Progress& progress);

} // namespace velmora::finpanel
