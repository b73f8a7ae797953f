#include "app/SolveChain.h"

#include "bodyflow/Drag.h"
#include "bodyflow/Solver.h"
#include "finpanel/FinPanelSolver.h"
#include "finpanel/FinPanelState.h"
#include "model/Vocabulary.h"
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
    progress.status(1, kMsgMeshing);
    const GridReport grid = GRID(m, velocity, progress, [&host](GridEffect e) { host.gridEffect(e); });
    if (grid.outcome != Outcome::Done) return grid;  // its reason is in panel 2
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

} // namespace

SolveChainReport solveChain(Module1& m, SolveHost& host, const SolveChainOptions& options)
{
    SolveChainReport rep;
    Progress& progress = host.progress();
    auto step = [&rep, &host](SolveStep s) {
        rep.ran.push_back(s);
        host.stepStarting(s);
    };

    // 1. Inputs.
    if (m.FreeStreamVelocity == 0) return endAt(rep, SolveStep::Inputs, Outcome::Refused, kMsgEnterVelocity);
    if (const char* missing = missingMainDimension(m)) return endAt(rep, SolveStep::Inputs, Outcome::Refused, missing);

    // 2 - 4. A new run: no abort pending, no base-flow solution, the
    // empirical base drag again.
    m.AbortRequest = AbortFlag::No;
    host.unloadBaseFlow();
    m.BasePressureAvailable = BasePressureFlag::False;

    // 5. Mesh.
    if (options.buildMesh) {
        step(SolveStep::Mesh);
        if (meshStep(m, m.FreeStreamVelocity, host).outcome == Outcome::Aborted)
            return endAt(rep, SolveStep::Mesh, Outcome::Aborted);
    }

    // 6. Body flow.
    step(SolveStep::BodyFlow);
    const SolveReport body =
        bodyflow::SOLVER(m, m.FreeStreamVelocity, progress, [&host](GridEffect e) { host.gridEffect(e); });
    rep.bodyFlow = body.outcome;
    append(rep.writes, body.writes);
    rep.messageBox = body.messageBox;

    // 7 - 8. Drag build-up.
    step(SolveStep::FinDrag);
    append(rep.writes, CdFnMn(m, m.FreeStreamVelocity, progress).writes);
    step(SolveStep::TotalDrag);
    append(rep.writes, TOTALDRAG(m, m.FreeStreamVelocity, progress).writes);

    // 9.
    rep.writes.push_back(setPanel("PanelAero.StatusBar1", 1, ""));
    rep.writes.push_back(setPanel("PanelAero.StatusBar1", 2, ""));

    // A body flow that did not complete leaves nothing to go on with; its
    // own message stands.
    if (body.outcome != Outcome::Done && !body.superseded) return endAt(rep, SolveStep::BodyFlow, body.outcome);

    // 10. An input changed while events ran.
    step(SolveStep::StaleCheck);
    if (body.superseded || m.FlowSolutionStatus == FlowSolutionState::Stale) {
        progress.status(2, kMsgEnterFinDataAndSolve);
        return endAt(rep, SolveStep::StaleCheck, Outcome::Refused, kMsgEnterFinDataAndSolve);
    }

    // 11 - 12.
    step(SolveStep::EventPump);
    host.busyPointer(true);
    struct PointerBack {
        SolveHost& host;
        ~PointerBack() { host.busyPointer(false); }
    } pointerBack{host};
    progress.pumpEvents();
    if (m.AbortRequest == AbortFlag::Yes) return endAt(rep, SolveStep::EventPump, Outcome::Aborted);

    // 13. Fin section.
    {
        finpanel::FinSectionInput in = finpanel::finInputFrom(m, m.FinSectionText);
        in.freeStreamVelocity = m.FreeStreamVelocity;
        const bool runs = m.PanelMethodChoice == PanelMethod::Source || m.PanelMethodChoice == PanelMethod::Vortex;
        if (runs) step(SolveStep::FinSection);
        std::optional<finpanel::FinSectionResult> fin = finpanel::solveFinSection(in, host.finProgress());
        if (fin) {
            rep.finSection = fin->outcome;
            if (fin->outcome == Outcome::Failed || fin->outcome == Outcome::Aborted)
                return endAt(rep, SolveStep::FinSection, fin->outcome);
            if (m.FlowSolutionStatus == FlowSolutionState::Stale)
                return endAt(rep, SolveStep::FinSection, Outcome::Refused, kMsgEnterFinDataAndSolve);
            finpanel::publish(*fin, m);
            if (fin->unitsLabel) rep.writes.push_back(showText("PanelAero.UnitsLabel1", *fin->unitsLabel));
        }
    }

    // 14. Centre of pressure.
    step(SolveStep::CenterOfPressure);
    const stability::CenterOfPressureReport cp = stability::CPSOLVE(m, m.FreeStreamVelocity, progress);
    append(rep.writes, cp.writes);
    return endAt(rep, SolveStep::CenterOfPressure, Outcome::Done);
}

} // namespace velmora
