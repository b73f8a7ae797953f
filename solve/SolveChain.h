#pragma once
// The SOLVE chain: mesh, body flow, drag build-up, fin section and centre of
// pressure, in that order, as one function of the project state.
//
//   SolveChainReport solveChain(Module1& m, SolveHost& host, const SolveChainOptions& options = {});
//
// The SOLVE button runs it with the mesh step; the sweep builds the mesh once
// and then runs it without the mesh step for every angle of attack or
// velocity. Each computation takes the free-stream velocity of the moment it
// starts (the resets may change the state while events run).
//
// Steps, in order (SolveStep):
//   Inputs           solveInputRefusal: every rocket box a number,
//                    velocity, nose-cone length, nose-cone diameter and
//                    body-tube length non-zero, a base tube only behind a
//                    transition with a diameter, and the flight condition and
//                    every size in range; otherwise Refused with its panel-2
//                    text and nothing changed.
//   (start)          startRun: AbortRequest = AbortFlag::No, the base-flow
//                    window goes (host.unloadBaseFlow), BasePressureAvailable
//                    = BasePressureFlag::False.
//   Mesh             GRID; on success host.meshBuilt draws the new mesh; an
//                    ABORT seen while it lets events run ends the chain.
//   BodyFlow         bodyflow::SOLVER; its own outcome is kept. When it was
//                    refused, aborted or failed the chain ends there: every
//                    result box of the main window empties, panel 1 reads
//                    "CFD solution not found." ("CFD analysis aborted." and
//                    an empty panel 2 after ABORT), its own reason stands in
//                    panel 2, and no drag is computed.
//   FinDrag          CdFnMn; TotalDrag: TOTALDRAG. A drag step that fails
//                    (or is aborted) ends the chain with nothing of the run to
//                    use: the body flow is marked stale again
//                    (FlowSolutionStatus FlowSolutionState::Stale), every result box
//                    empties, panel 1 reads "CFD solution not found." ("CFD
//                    analysis aborted."), the drag's reason stands in panel 2
//                    and in message.
//                    The fin-section window's status panels 1 and 2 empty.
//   StaleCheck       an input changed while events ran: Refused with
//                    "Please enter fin data and perform CFD".
//   EventPump        hourglass, events run once; ABORT gives Aborted: as
//                    for an aborted drag step, the body flow is marked stale
//                    again, every result box empties, panel 1 reads "CFD
//                    analysis aborted." and panel 2 empties.
//   FinSection       the panel method of PanelMethodChoice ("SOURCE" or
//                    "VORTEX"; anything else runs neither). An aborted fin
//                    solve ends the chain Aborted as at EventPump; a failed one ends it
//                    Failed with the main window's CN, Cm and XCp/L empty and
//                    stability::kMsgNoFinSolution in panel 2 and message
//                    (body flow and drag stand). With fins entered, a fin
//                    step that refused (a panel count out of range, say)
//                    ends it the same way, Refused.
//                    A published one is kept in the report (fin) for the
//                    window to draw.
//                    Fins partly entered (stability::incompleteFinsText)
//                    end it before the fin section the same way, Refused,
//                    with that text in panel 2 and message.
//   CenterOfPressure CPSOLVE. With source panels panel 2 says why the fin
//                    normal force is 0.
// A run whose inputs changed while it let events run (at any step) shows
// nothing of itself: no writes, panel 1 "New CFD solution required.", panel 2
// "Please enter fin data and perform CFD", outcome Refused.
// Every step publishes into the state only when it succeeds (each
// computation is all or nothing); a step that ends the chain publishes
// nothing, and no later step runs.
//
// The report carries the result boxes and pictures every step asked for, in
// order, and the message box of a body-flow refusal; the window applies them
// after the return (SOLVER::CFDSOLVER_Click). Status texts go to the host's
// Progress objects as they happen.
#include <optional>
#include <string>
#include <vector>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Grid.h"
#include "platform/WindowWrites.h"
#include "finpanel/FinPanelSolver.h"
#include "model/InputRange.h"
#include "model/Module1.h"
#include "platform/Report.h"
#include "stability/CenterOfPressure.h"

namespace velmora {

inline constexpr const char* kMsgMeshing = "MESHING in progress.";
inline constexpr const char* kMsgMeshingComplete = "MESHING complete.";
// Panel 1 when the grid refused its inputs (the reason is in panel 2).
inline constexpr const char* kMsgMeshingNotComplete = "MESHING not complete.";
inline constexpr const char* kMsgEnterFinDataAndSolve = "Please enter fin data and perform CFD";
inline constexpr const char* kMsgNewSolutionRequired = "New CFD solution required.";
inline constexpr const char* kMsgAnalysisAborted = "CFD analysis aborted.";

enum class SolveStep { Inputs, Mesh, BodyFlow, FinDrag, TotalDrag, StaleCheck, EventPump, FinSection, CenterOfPressure };

const char* solveStepName(SolveStep s);

// What the chain needs of the windows. The defaults do nothing, so a test or
// a benchmark only gives the two Progress objects.
class SolveHost {
public:
    virtual ~SolveHost() = default;
    // The main window's status bar, progress bar and event pump.
    virtual Progress& progress() = 0;
    // The fin-section window's status bar (with the main progress bar).
    virtual Progress& finProgress() { return progress(); }
    virtual void unloadBaseFlow() {}
    virtual void gridEffect(GridEffect) {}
    // The grid has been rebuilt for the velocity: draw it.
    virtual void meshBuilt(double velocity) { (void)velocity; }
    virtual void busyPointer(bool on) { (void)on; }
    // Each step as it starts (after the input checks).
    virtual void stepStarting(SolveStep step) { (void)step; }
};

struct SolveChainOptions {
    bool buildMesh = true;   // the sweep builds the mesh once, before its steps
    bool startRun = true;    // startRun first; the sweep does it once, before its steps
    // The body flow's field-sum denominators a sweep keeps over its steps;
    // a SOLVE of its own keeps none.
    FieldSumDenominators* denominators = nullptr;
};

// message: the panel-2 text of a refusal by the chain itself or of a
// failure; notes: those of the body flow, the fin section and the centre of
// pressure that ran.
struct SolveChainReport : Report {
    SolveStep endedAt = SolveStep::Inputs;     // the step that ended the chain (the last one when Done)
    std::vector<SolveStep> ran;                // the steps that ran, in order
    Outcome bodyFlow = Outcome::Refused;       // outcome of the body-flow step
    std::optional<Outcome> finSection;         // outcome of the fin step, when it ran
    // The fin step's result when it was published, for the fin-section
    // window to draw (its plot and section outline).
    std::optional<finpanel::FinSectionResult> fin;
    std::vector<WindowWrite> writes;           // to apply in order after the return
    std::optional<MessageBoxRequest> messageBox;
    std::optional<stability::CenterOfPressureReport> centerOfPressure;  // when that step ran
};

// The inputs a run is refused on, in this order: a rocket box, or a point
// box of the typed fin section the run reads, whose text is not a number
// (unreadableInputRefusal), no velocity ("Please enter rocket
// velocity."), a main body dimension missing (missingMainDimension), a body
// size out of range (badBodyDimension), the flight condition
// (flightConditionRefusal), a fin or launch-lug size out of range
// (badFinDimension), a shape the computations are not built for
// (shapeRefusal), each as its panel-2 text; "" when the inputs can be
// computed on. The ranges are those of
// model/InputRange.h. The values may come from a project file, so this holds
// whatever the input boxes let through; the sweep checks the same. A
// compressible flow above its Mach limit also gets the body flow's box
// "PLEASE ENTER NEW INLET VELOCITY" in the chain's report.
std::string solveInputRefusal(const Module1& m);

SolveChainReport solveChain(Module1& m, SolveHost& host, const SolveChainOptions& options = {});

// The start of a run, once for SOLVE and once for a whole sweep: no ABORT
// pending (AbortRequest AbortFlag::No), the base-flow window unloaded, and the
// drag back on the empirical base pressure (BasePressureAvailable
// BasePressureFlag::False).
void startRun(Module1& m, SolveHost& host);

// The grid step alone, as the MESH command and the chain run it: status
// texts, GRID, and host.meshBuilt on success. A shape the computations are
// not built for (geometry/ShapeRules.h) is refused before the grid, its rule
// in panel 2.
GridReport meshStep(Module1& m, double velocity, SolveHost& host);

} // namespace velmora
