#pragma once
// The body-flow solution of the project: SOLVER.
//
//   SolveReport bodyflow::SOLVER(Module1& m, double velocity, Progress& progress,
//                                const GridEffectHandler& onGridEffect = {},
//                                FieldSumDenominators* kept = nullptr);
//
// (In namespace velmora::bodyflow: velmora::SOLVER is the main window class.)
//
// Checks the inputs, rebuilds the grid (GRID), takes the body stations from
// its lower row, solves the source-panel flow (solveBodyFlow, with GAUSS
// letting events run once per row and ABORT honoured between rows), builds the
// body and base drag (ROCKETDRAG) and publishes the body stations, surface Cp,
// field tables and drag coefficients into Module1 - all of them or, when the
// run is refused, aborted or fails, none of them.
//
// The flight condition (velocity, angle of attack, Mach number, flow model,
// density, viscosity) is taken once at entry and used throughout, whatever
// the windows change while events run; the closing Mach test reads the live
// values. FlowSolutionStatus / FlowSolutionStatusText are
// FlowSolutionState::Stale until the grid is built, Current while the run is
// under way (a result reset while it lets events run makes them stale again),
// and Stale after any run that does not complete. A run that a reset made stale while
// it let events run publishes nothing and comes back Refused, superseded.
//
// Status texts go to Progress::status (copied into panelLog). The report
// carries the message box of a refusal and the result boxes to fill, in
// order. The grid's window effects are passed to onGridEffect as they happen.
// kept: the denominators of the field sums that a sweep keeps over its steps
// (bodyflow/BodyFlow.h), or null for a SOLVE of its own.
#include <optional>
#include <string>
#include <vector>

#include "bodyflow/BodyFlow.h"
#include "model/Module1.h"
#include "bodyflow/Grid.h"
#include "platform/WindowWrites.h"
#include "platform/Report.h"

namespace velmora {

inline constexpr const char* kMsgEnterVelocity = "Please enter rocket velocity.";
inline constexpr const char* kMsgDomainTooLarge = "DOMAIN SIZE MUST BE LESS THAN OR EQUAL TO 50 X 50";
inline constexpr const char* kTitleDomainTooLarge = "DOMAIN SIZE TO LARGE";
inline constexpr const char* kMsgNewInletVelocity = "PLEASE ENTER NEW INLET VELOCITY";
inline constexpr const char* kTitleMachAbove080 = "MACH NUMBER GREATER THAN 0.80";
inline constexpr const char* kMsgAnalysisInProgress = "CFD analysis in progress.";
inline constexpr const char* kMsgSolutionFound = "CFD solution found. ";
inline constexpr const char* kMsgMayPlot = "User may plot results or modify fins.";
inline constexpr const char* kMsgInvalidMach = "Invalid solution: Mach Number greater than 0.80";
inline constexpr const char* kMsgSolutionNotFound = "CFD solution not found.";
// Panel 2 of a body flow that broke down (the flow or its drag not finite).
inline constexpr const char* kMsgBodyFlowFailed =
    "Body flow could not be computed: a value of the solution or its drag is not a finite number.";
// Refusals of values only a project file can bring.
inline constexpr const char* kMsgBadFlightCondition = "Invalid flight condition.";
inline constexpr const char* kMsgBadMeridians = "Invalid number of grids on circumference.";

// message: the text of a refusal (panel 2 or the message box) or failure;
// notes: the body drag's (BaseSeparation).
struct SolveReport : Report {
    std::vector<PanelText> panelLog;              // already sent through Progress::status
    std::optional<MessageBoxRequest> messageBox;  // to show (OK button) after the return
    std::vector<WindowWrite> writes;              // boxes, pictures, overlays, in order
    GridReport grid;                              // when the grid was built
    int stationCount = 0;                         // of this run (published only when Done)
    int panelCount = 0;
    bool solutionCurrent = false;                 // FlowSolutionStatus was set to ""
    bool superseded = false;                      // an input changed while events ran: Refused, nothing published
};

namespace bodyflow {

SolveReport SOLVER(Module1& m, double velocity, Progress& progress, const GridEffectHandler& onGridEffect = {},
                   FieldSumDenominators* kept = nullptr);

} // namespace bodyflow
} // namespace velmora
