#include "solve/SolveChain.h"

#include <cmath>
#include <utility>

#include "bodyflow/Drag.h"
#include "bodyflow/Solver.h"
#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinPanelState.h"
#include "geometry/FinGeometry.h"
#include "geometry/ShapeRules.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "platform/Simd.h"
#include "platform/Single.h"
#include "stability/CenterOfPressure.h"

namespace velmora {

const char* solveStepName(SolveStep s)
{
    switch (s) {
    case SolveStep::Inputs: return "Inputs";
    case SolveStep::Mesh: return "Mesh";
    case SolveStep::BodyFlow: return "SOLVER";
    case SolveStep::FinDrag: return "CdFnMn";
    case SolveStep::TotalDrag: return "TOTALDRAG";
    case SolveStep::StaleCheck: return "StaleCheck";
    case SolveStep::EventPump: return "EventPump";
    case SolveStep::FinSection: return "FinSection";
    case SolveStep::CenterOfPressure: return "CPSOLVE";
    }
    return "?";
}

GridReport meshStep(Module1& m, double velocity, SolveHost& host)
{
    Progress& progress = host.progress();
    // A shape the computations are not built for is not meshed (a size out
    // of its range is left to the grid).
    if (const char* why = badBodyDimension(m) || badFinDimension(m) ? nullptr : shapeRefusal(m)) {
        progress.status(1, kMsgMeshingNotComplete);
        progress.status(2, why);
        GridReport refused;
        refused.outcome = Outcome::Refused;
        refused.message = why;
        return refused;
    }
    progress.status(1, kMsgMeshing);
    const GridReport grid = GRID(m, velocity, progress, [&host](GridEffect e) { host.gridEffect(e); });
    if (grid.outcome != Outcome::Done) {  // its reason is in panel 2
        progress.status(1, kMsgMeshingNotComplete);
        return grid;
    }
    host.meshBuilt(velocity);
    progress.status(1, kMsgMeshingComplete);
    progress.status(2, "");
    progress.progressValue(1);
    return grid;
}

namespace {

void append(std::vector<WindowWrite>& to, const std::vector<WindowWrite>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// Ends the report at a step.
SolveChainReport& endAt(SolveChainReport& rep, SolveStep step, Outcome outcome, std::string message = {})
{
    rep.endedAt = step;
    rep.outcome = outcome;
    rep.message = std::move(message);
    return rep;
}

// The main window's result boxes, and those of them the centre of pressure fills.
constexpr ControlId kMainResultBoxes[] = {
    ControlId::SOLVER_MachNumber, ControlId::SOLVER_ReNumber, ControlId::SOLVER_XLRATIOS, ControlId::SOLVER_FORCE,
    ControlId::SOLVER_TotalCd, ControlId::SOLVER_CNFORCES, ControlId::SOLVER_CdMax, ControlId::SOLVER_CMFORCES,
    ControlId::SOLVER_PressureCd, ControlId::SOLVER_FinInterferenceDrag, ControlId::SOLVER_BaseCd,
    ControlId::SOLVER_LaunchLugDrag, ControlId::SOLVER_FinSurfaceDrag};
constexpr ControlId kCenterOfPressureBoxes[] = {ControlId::SOLVER_XLRATIOS, ControlId::SOLVER_CNFORCES,
                                                ControlId::SOLVER_CMFORCES};

// Ends a run whose inputs were changed while it let events run: nothing of it
// is shown (the reset that marked it stale has emptied the boxes).
SolveChainReport& superseded(SolveChainReport& rep, SolveStep at, Progress& progress)
{
    rep.writes.clear();
    rep.messageBox.reset();
    progress.status(1, kMsgNewSolutionRequired);
    progress.status(2, kMsgEnterFinDataAndSolve);
    return endAt(rep, at, Outcome::Refused, kMsgEnterFinDataAndSolve);
}

// Ends a run before its body flow completed: nothing of it to go on with,
// every result box empty, panel 1 says what happened (a refusal's or
// failure's own reason stays in panel 2).
SolveChainReport& unfinished(SolveChainReport& rep, SolveStep at, Outcome outcome, Progress& progress)
{
    for (ControlId box : kMainResultBoxes) rep.writes.push_back(emptyBox(box));
    if (outcome == Outcome::Aborted) {
        progress.status(1, kMsgAnalysisAborted);
        progress.status(2, "");
    } else {
        progress.status(1, kMsgSolutionNotFound);
    }
    return endAt(rep, at, outcome);
}

// Ends a run whose drag could not be computed, or was aborted: the body flow
// it has published is marked stale again, so that nothing of the run can be
// plotted or used, and every result box empties (the reason is in panel 2).
SolveChainReport& withoutDrag(SolveChainReport& rep, SolveStep at, const DragReport& drag, Module1& m,
                              Progress& progress)
{
    m.FlowSolutionStatus = FlowSolutionState::Stale;
    m.FlowSolutionStatusText = FlowSolutionState::Stale;
    unfinished(rep, at, drag.outcome, progress);
    rep.message = drag.message;
    return rep;
}

// Ends a run whose entered fins got no section solution (it failed, or the
// fin step refused or did not run): body flow and drag stand, the rocket's
// CN, Cm and XCp/L (which need the fins) stay empty and panel 2 says why.
SolveChainReport& withoutFins(SolveChainReport& rep, Outcome outcome, Progress& progress,
                              const std::string& why = stability::kMsgNoFinSolution)
{
    for (ControlId box : kCenterOfPressureBoxes) rep.writes.push_back(emptyBox(box));
    progress.status(2, why);
    return endAt(rep, SolveStep::FinSection, outcome, why);
}

// Ends a run aborted after its body flow and drag: the run did not finish,
// so nothing of it is shown or used. The body flow it has published is
// marked stale again and every result box empties, as when the body flow
// itself is aborted.
SolveChainReport& aborted(SolveChainReport& rep, SolveStep at, Module1& m, Progress& progress)
{
    m.FlowSolutionStatus = FlowSolutionState::Stale;
    m.FlowSolutionStatusText = FlowSolutionState::Stale;
    return unfinished(rep, at, Outcome::Aborted, progress);
}

} // namespace

void startRun(Module1& m, SolveHost& host)
{
    m.AbortRequest = AbortFlag::No;
    host.unloadBaseFlow();
    m.BasePressureAvailable = BasePressureFlag::False;
}

std::string solveInputRefusal(const Module1& m)
{
    if (std::string why = unreadableInputRefusal(m, {InputGroup::Rocket, InputGroup::FinSection}); !why.empty())
        return why;
    if (m.FreeStreamVelocity == 0) return kMsgEnterVelocity;
    if (const char* missing = missingMainDimension(m)) return missing;
    if (const char* bad = badBodyDimension(m)) return bad;
    if (const char* bad = baseTubeRefusal(m)) return bad;
    if (std::string why = flightConditionRefusal(m); !why.empty()) return why;
    if (const char* bad = badFinDimension(m)) return bad;
    if (const char* bad = shapeRefusal(m)) return bad;
    return {};
}

SolveChainReport solveChain(Module1& m, SolveHost& host, const SolveChainOptions& options)
{
    SolveChainReport rep;
    Progress& progress = host.progress();
    // The host's windows ran before the chain and run between its steps.
    clearUpperVectorState();
    auto step = [&rep, &host](SolveStep s) {
        rep.ran.push_back(s);
        host.stepStarting(s);
        clearUpperVectorState();
    };

    // Inputs.
    if (std::string why = solveInputRefusal(m); !why.empty()) {
        // Compressible flow above its limit also asks for a new velocity in
        // a box, unless the velocity box has asked already (above Mach 2).
        if (m.CompressibleFlow == 1 && aboveMachLimit(m) &&
            !(singleOrLargest(m.FreeStreamVelocity / m.SpeedOfSound) > kMaxIncompressibleMach))
            rep.messageBox = MessageBoxRequest{kMsgNewInletVelocity, kTitleMachAbove080};
        return endAt(rep, SolveStep::Inputs, Outcome::Refused, std::move(why));
    }

    // A new run: no abort pending, no base-flow solution, the empirical base
    // drag again.
    if (options.startRun) startRun(m, host);

    // Mesh.
    if (options.buildMesh) {
        step(SolveStep::Mesh);
        if (meshStep(m, m.FreeStreamVelocity, host).outcome == Outcome::Aborted)
            return unfinished(rep, SolveStep::Mesh, Outcome::Aborted, progress);
    }

    // Body flow.
    step(SolveStep::BodyFlow);
    const SolveReport body =
        bodyflow::SOLVER(m, m.FreeStreamVelocity, progress, [&host](GridEffect e) { host.gridEffect(e); },
                         options.denominators);
    rep.bodyFlow = body.outcome;
    rep.notes.add(body.notes);
    append(rep.writes, body.writes);
    rep.messageBox = body.messageBox;

    // An input changed while events ran: the run answers inputs that no
    // longer hold and shows nothing of itself.
    if (body.superseded) {
        step(SolveStep::StaleCheck);
        return superseded(rep, SolveStep::StaleCheck, progress);
    }
    // A body flow that did not complete leaves nothing to go on with: no
    // drag of this run, every result box empty, panel 1 says what happened
    // (the body flow's own reason stays in panel 2).
    if (body.outcome != Outcome::Done) return unfinished(rep, SolveStep::BodyFlow, body.outcome, progress);

    // Drag build-up; a drag that could not be computed leaves nothing
    // of the run to use.
    step(SolveStep::FinDrag);
    const DragReport finDrag = CdFnMn(m, m.FreeStreamVelocity, progress);
    if (finDrag.outcome != Outcome::Done) return withoutDrag(rep, SolveStep::FinDrag, finDrag, m, progress);
    append(rep.writes, finDrag.writes);
    step(SolveStep::TotalDrag);
    const DragReport totalDrag = TOTALDRAG(m, m.FreeStreamVelocity, progress);
    if (totalDrag.outcome != Outcome::Done) return withoutDrag(rep, SolveStep::TotalDrag, totalDrag, m, progress);
    append(rep.writes, totalDrag.writes);

    // The fin-section window's panels empty now, so that the fin step's own
    // texts below stay.
    host.finProgress().status(1, "");
    host.finProgress().status(2, "");

    // An input changed while events ran.
    step(SolveStep::StaleCheck);
    if (m.FlowSolutionStatus == FlowSolutionState::Stale) return superseded(rep, SolveStep::StaleCheck, progress);

    // Hourglass; events run once, and may bring an ABORT or a changed input.
    step(SolveStep::EventPump);
    host.busyPointer(true);
    struct PointerBack {
        SolveHost& host;
        ~PointerBack() { host.busyPointer(false); }
    } pointerBack{host};
    progress.pumpEvents();
    if (m.FlowSolutionStatus == FlowSolutionState::Stale) return superseded(rep, SolveStep::EventPump, progress);
    if (m.AbortRequest == AbortFlag::Yes) return aborted(rep, SolveStep::EventPump, m, progress);

    // Fins partly entered: their section is not solved and no rocket value
    // of the run may leave them out (the drag has said what it lacks).
    if (const std::string why = stability::incompleteFinsText(m); !why.empty())
        return withoutFins(rep, Outcome::Refused, progress, why);

    // Fin section.
    bool sourceForce = false;
    {
        finpanel::FinSectionInput in = finpanel::finInputFrom(m, m.FinSectionText);
        in.freeStreamVelocity = m.FreeStreamVelocity;
        const bool runs = m.PanelMethodChoice == PanelMethod::Source || m.PanelMethodChoice == PanelMethod::Vortex;
        if (runs) step(SolveStep::FinSection);
        std::optional<finpanel::FinSectionResult> fin = finpanel::solveFinSection(in, host.finProgress());
        if (fin) {
            rep.finSection = fin->outcome;
            rep.notes.add(fin->notes);
            if (m.FlowSolutionStatus == FlowSolutionState::Stale)
                return superseded(rep, SolveStep::FinSection, progress);
            if (fin->outcome == Outcome::Aborted) return aborted(rep, SolveStep::FinSection, m, progress);
            if (fin->outcome == Outcome::Failed) return withoutFins(rep, Outcome::Failed, progress);
            finpanel::publish(*fin, m);
            if (fin->unitsLabel) rep.writes.push_back(showText(ControlId::PanelAero_UnitsLabel1, *fin->unitsLabel));
            sourceForce = in.panelMethod == PanelMethod::Source && fin->forces.outcome == Outcome::Done;
            rep.fin = std::move(*fin);
        }
        // Fins entered whose section this run could not solve (the fin
        // step refused, say for its panel count): no rocket value of the run
        // may leave them out.
        if (runs && rep.finSection != Outcome::Done && finInputProblems(m, singleOrZero(m.FinThickness)).empty())
            return withoutFins(rep, Outcome::Refused, progress);
    }

    // Centre of pressure.
    step(SolveStep::CenterOfPressure);
    rep.centerOfPressure = stability::CPSOLVE(m, m.FreeStreamVelocity, progress);
    append(rep.writes, rep.centerOfPressure->writes);
    rep.notes.add(rep.centerOfPressure->notes);
    if (sourceForce) progress.status(2, finpanel::kMsgSourceNoNormalForce);
    return endAt(rep, SolveStep::CenterOfPressure, Outcome::Done);
}

} // namespace velmora
