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
//       Outcomes (RunReport::outcome, message: the panel-3 text of a run
//       that did not finish):
//         Refused    "Please enter all required dimensional and flow data."
//                    (a zero domain length or height, velocity, time step,
//                    viscosity or base diameter, or a grid, shoulder or
//                    iteration limit the solver cannot take), or
//                    kMsgBadFlowData (one of them negative or not finite);
//                    nothing changes.
//         Done, converged
//                    "Solution converged. Base drag added to total drag on
//                    main page."; fields published, BaseFlowStatus = "".
//         Done, not converged (the note IterationLimit)
//                    "Solution not fully converged. Increase number of
//                    iterations." (ITMAX is tested before the residual);
//                    fields published for the output file (OUTPT).
//         Aborted    no text; nothing published. An input of the run
//                    changed by the events of a pump: kMsgInputChanged.
//         Failed     kMsgRunFailed (a zero total speed, a non-finite residual
//                    or time step, any broken arithmetic); nothing published.
//       Every run that passes the input check sets BaseFlowStatus to
//       BaseFlowSolutionState::Stale first; only Converged sets it back to
//       BaseFlowSolutionState::Converged. A
//       stream-function iteration that takes 5000 sweeps writes "WARNING:
//       Stream function not converged. Continuing with solution." to panel 3,
//       adds the note StreamNotConverged and the run goes on. Published are BaseFlowNodeX/Y, BaseFlowVelocityU/V,
//       BaseFlowVorticity, BaseFlowStreamFunction, BaseFlowVorticityIncrement
//       and DeltaX, DeltaY (the grid spacings), DeltaT (the last step).
//   std::vector<OutputRecord> OUTPT(m)
//       The lines of the base-flow output file, in file order: "X-VELOCITY",
//       then y = Y(1, j) and U(i, j) for j = 1..NY (outer), i = 1..NX (inner);
//       "STREAM FUNCTION" and psi; "VORTICITY" and W. 3 + 3 NX NY records.
//       The shared file writer turns them into text.
//   std::string baseFlowRefusal(m, velocity)
//       Why SOLVE cannot give a meaningful base drag, or "": the solver's
//       inputs (as NSVS2D refuses them), the motor (motorRefusal), and the
//       flight condition the model holds in:
//         - a body Reynolds number rho V L / mu (L the whole body, as NEWDRAG
//           takes it) of at least 100000, the drag build-up's transition:
//           the inflow profile is a turbulent (1/7 power) boundary layer, and
//           below it the viscous wall term, which grows as 1 / Re, swamps the
//           base pressure;
//         - a Mach number V / a of at most 0.8, the program's limit for
//           compressibility corrections: the solver is incompressible.
//   ChainReport solveBaseFlow(m, velocity, progress, mainProgress, observer = {})
//       The SOLVE sequence: baseFlowRefusal (its text in panel 3 as
//       refusalText gives it, nothing run), NSVS2D, then - only when this run converged - JET, SolveCp and
//       NEWDRAG (baseflow/BaseDrag.h). All or nothing: the run's fields, the
//       jet, the base pressure, the base drag and the main drag sums are kept
//       only when every step is done; the main window's texts of the drag
//       sums are held until then. The chain's outcome is Done when the base
//       drag was published or the run stopped at its limit, else that of
//       the step that ended it. Otherwise the state is as before the run
//       (BaseFlowStatus stale) and panel 3 (message) says why:
//       kMsgInputChanged (an input of the later steps changed during the
//       run), NEWDRAG's message, or "Base drag not computed: the <step> broke
//       down. Nothing added to total drag." A run stopped at its limit keeps
//       its fields for the output file, as NSVS2D does.
//
// DeltaX, DeltaY and DeltaT are scratch values other routines overwrite: the
// run keeps its own time step and the later steps derive DX and DY from the
// domain and the grid size; the three are still written as the state expects.
#include <functional>
#include <string>
#include <vector>

#include "baseflow/FlowField.h"
#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Report.h"

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
inline constexpr const char* kMsgBadFlowData =
    "Base-flow dimensions, velocity, time step, density and viscosity must be finite and positive.";
inline constexpr const char* kMsgInputChanged = "An input changed during the run. Nothing kept; please solve again.";
// Every refusal of SOLVE ends with it.
inline constexpr const char* kMsgNothingAdded = "Nothing added to total drag.";

// A refusal's reason as panel 3 shows it: ending with kMsgNothingAdded.
std::string refusalText(std::string why);

// Format patterns of the result boxes.
inline constexpr const char* kPatternReynolds = "########.#";
inline constexpr const char* kPatternResidual = "##.######";
inline constexpr const char* kPatternTimeStep = "##.######";

inline constexpr double kConvergedResidual = 0.001;
inline constexpr double kMinBodyReynolds = 100000;
inline constexpr double kMaxBaseFlowMach = 0.8;

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

struct RunReport : Report {
    bool converged = false;          // Done: the residual fell below kConvergedResidual (else the limit)
    int BaseFlowIterationCount = 0;  // completed iterations
    double BaseFlowResidual = 0;     // relative velocity change of the last iteration
    double reynolds = 0;       // D V / nu
    double timeStep = 0;       // the step the next iteration would take (last computed)
    long sweeps = 0;           // stream-function sweeps of the whole run
    bool offerOutputFile = false;       // stopped at the limit: the window offers OUTPT's lines
    std::vector<WindowWrite> writes;    // REYNOLDS, CONVERGE, TimeStep (final values)
};

// Why NSVS2D refuses its inputs (kMsgMissingData, kMsgBadFlowData), or nullptr.
const char* flowInputRefusal(const Module1& m, double velocity);
std::string baseFlowRefusal(const Module1& m, double velocity);

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

struct ChainReport : Report {
    RunReport run;
    Outcome jet = Outcome::Refused;        // the three later steps: Refused when not run
    Outcome pressure = Outcome::Refused;
    Outcome drag = Outcome::Refused;
    double baseDragCoefficient = 0;        // when drag is Done
    bool published = false;                // the base drag reached the main drag
    std::vector<WindowWrite> writes;       // the run's, then JET's, SolveCp's, NEWDRAG's
};

ChainReport solveBaseFlow(Module1& m, double velocity, Progress& progress, Progress& mainProgress,
                          const IterationObserver& observer = {});

} // namespace velmora::baseflow
