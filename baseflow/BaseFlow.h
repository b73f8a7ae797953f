#pragma once
// The base-flow solution: the viscous flow behind the rocket's base.
//
// What is computed: the planar vorticity / stream-function flow on the
// uniform grid behind the base (kernels in baseflow/FlowField.h), marched in
// time until the relative velocity change of one iteration falls below
// 0.001, and the base Reynolds number Re = D V / nu. Lengths in the unit of
// the unit system, velocities per second. Fields use i = 1..NX along the axis
// (1 on the base plane) and j = 1..NY outwards (1 on the axis).
//
// Entry points (namespace velmora::baseflow):
//   RunReport NSVS2D(m, velocity, progress, observer = {}, order = Wavefront)
//       Checks the inputs, then iterates VELVOR, EQVOR, EQSTR, BCVOR, STRVEL
//       and the time step. Reads BaseGridPointsX/Y, BaseShoulderIndex,
//       BaseFlowDomainLength/Height, BaseFlowDiameter, KinematicViscosity,
//       BaseFlowMaxIterations, BodyTubeLength, DeltaT (the first step) and
//       AbortRequest. Per iteration: panel 1 "ITERATION", panel 2 the count,
//       the progress value, then the observer (n, residual, time step); a
//       continuing iteration then lets events run and tests AbortRequest.
//       Outcomes, with their panel-3 texts:
//         Refused    "Please enter all required dimensional and flow data."
//                    (a zero domain length or height, velocity, time step,
//                    viscosity or base diameter, or a grid, shoulder or
//                    iteration limit the solver cannot take); nothing changes.
//         Converged  "Solution converged. Base drag added to total drag on
//                    main page."; fields published, BaseFlowStatus = "".
//         Limit      "Solution not fully converged. Increase number of
//                    iterations." (ITMAX is tested before the residual);
//                    fields published for the output file (OUTPT).
//         Aborted    no text; nothing published.
//         Failed     kMsgRunFailed (a zero total speed, a non-finite residual
//                    or time step, any broken arithmetic); nothing published.
//       Every run that passes the input check sets BaseFlowStatus to
//       "SOLVE NEW FLOW" first; only Converged sets it back to "". A
//       stream-function iteration that takes 5000 sweeps writes "WARNING:
//       Stream function not converged. Continuing with solution." to panel 3
//       and the run goes on. Published are BaseFlowNodeX/Y, BaseFlowVelocityU/V,
//       BaseFlowVorticity, BaseFlowStreamFunction, BaseFlowVorticityIncrement
//       and DeltaX, DeltaY (the grid spacings), DeltaT (the last step).
//   std::vector<OutputRecord> OUTPT(m)
//       The lines of the base-flow output file, in file order: "X-VELOCITY",
//       then y = Y(1, j) and U(i, j) for j = 1..NY (outer), i = 1..NX (inner);
//       "STREAM FUNCTION" and psi; "VORTICITY" and W. 3 + 3 NX NY records.
//       The shared file writer turns them into text.
//   ChainReport solveBaseFlow(m, velocity, progress, mainProgress, observer = {})
//       The SOLVE sequence: NSVS2D, then - only when this run converged -
//       JET, SolveCp and NEWDRAG (baseflow/BaseDrag.h). Any other end of the
//       run leaves the jet, the base pressure and the main drag untouched.
//
// DeltaX, DeltaY and DeltaT are scratch values other routines overwrite: the
// run keeps its own time step and the later steps derive DX and DY from the
// domain and the grid size; the three are still written as the state expects.
#include <functional>
#include <string>
#include <vector>

#include "baseflow/FlowField.h"
#include "bodyflow/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Progress.h"

namespace velmora::baseflow {

// Texts of the base-flow solver.
inline constexpr const char* kMsgIteration = "ITERATION";
inline constexpr const char* kMsgInProgress = "CFD in progress.";
inline constexpr const char* kMsgNotConverged = "Solution not fully converged. Increase number of iterations.";
inline constexpr const char* kMsgConverged = "Solution converged. Base drag added to total drag on main page.";
inline constexpr const char* kMsgStreamWarning = "WARNING: Stream function not converged. Continuing with solution.";
inline constexpr const char* kMsgMissingData = "Please enter all required dimensional and flow data.";
inline constexpr const char* kMsgRunFailed = "Base flow CFD failed: the flow field broke down. No result kept.";
inline constexpr const char* kMsgPerformMainCfd = "Please perform CFD on main screen.";
inline constexpr const char* kBaseFlowStale = "SOLVE NEW FLOW";

// Format patterns of the result boxes.
inline constexpr const char* kPatternReynolds = "########.#";
inline constexpr const char* kPatternResidual = "##.######";
inline constexpr const char* kPatternTimeStep = "##.######";

inline constexpr double kConvergedResidual = 0.001;

enum class RunOutcome { Converged, Limit, Aborted, Refused, Failed };
const char* runOutcomeName(RunOutcome o);

// One finished iteration, as the window's convergence plot and result boxes
// take it. last: the run stops here (no new time step, no plot segment);
// otherwise timeStep is the step of the next iteration.
struct IterationStep {
    int n = 0;
    double residual = 0;
    double timeStep = 0;
    bool last = false;
};
using IterationObserver = std::function<void(const IterationStep&)>;

struct RunReport {
    RunOutcome outcome = RunOutcome::Refused;
    int BaseFlowIterationCount = 0;  // completed iterations
    double BaseFlowResidual = 0;     // relative velocity change of the last iteration
    double reynolds = 0;       // D V / nu
    double timeStep = 0;       // the step the next iteration would take (last computed)
    long sweeps = 0;           // stream-function sweeps of the whole run
    bool streamWarning = false;
    bool offerOutputFile = false;       // Limit: the window offers OUTPT's lines
    std::vector<WindowWrite> writes;    // REYNOLDS, CONVERGE, TimeStep (final values)
};

// The run's inputs are all present and the grid fits the tables.
bool baseFlowInputsComplete(const Module1& m, double velocity);

RunReport NSVS2D(Module1& m, double velocity, Progress& progress, const IterationObserver& observer = {},
                 SweepOrder order = SweepOrder::Wavefront);

// One line of the output file: a heading, or a y value and a field value.
struct OutputRecord {
    std::string heading;  // non-empty: a heading line
    double y = 0;
    double value = 0;

    bool isHeading() const { return !heading.empty(); }
};

inline constexpr const char* kHeadingVelocity = "X-VELOCITY";
inline constexpr const char* kHeadingStream = "STREAM FUNCTION";
inline constexpr const char* kHeadingVorticity = "VORTICITY";

std::vector<OutputRecord> OUTPT(const Module1& m);

struct ChainReport {
    RunReport run;
    Outcome jet = Outcome::Refused;        // the three later steps: Refused when not run
    Outcome pressure = Outcome::Refused;
    Outcome drag = Outcome::Refused;
    double baseDragCoefficient = 0;        // when drag is Done
    std::vector<WindowWrite> writes;       // the run's, then JET's, SolveCp's, NEWDRAG's
};

ChainReport solveBaseFlow(Module1& m, double velocity, Progress& progress, Progress& mainProgress,
                          const IterationObserver& observer = {});

} // namespace velmora::baseflow
