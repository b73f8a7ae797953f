#include "bodyflow/Solver.h"

#include <cmath>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Drag.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"
#include "platform/Checked.h"
#include "platform/Single.h"

namespace velmora {

namespace {

bool usableFlight(double v, const Module1& m)
{
    return std::isfinite(v) && std::isfinite(m.AngleOfAttack) && std::isfinite(m.SpeedOfSound) &&
           m.SpeedOfSound > 0.0 && std::isfinite(m.AmbientDensity) && m.AmbientDensity > 0.0 &&
           std::isfinite(m.DynamicViscosity) && m.DynamicViscosity > 0.0 && std::isfinite(m.FreeStreamVelocity) &&
           std::fabs(v / m.SpeedOfSound) <= kMaxMachNumber;
}

// Everything of a Progress but its event pump.
class WithoutPump final : public Progress {
public:
    explicit WithoutPump(Progress& to) : to_(to) {}
    void status(int panel, const std::string& text) override { to_.status(panel, text); }
    void progressVisible(bool visible) override { to_.progressVisible(visible); }
    void progressRange(int minimum, int maximum) override { to_.progressRange(minimum, maximum); }
    void progressValue(int value) override { to_.progressValue(value); }

private:
    Progress& to_;
};

} // namespace

namespace bodyflow {

SolveReport SOLVER(Module1& m, double velocity, Progress& progress, const GridEffectHandler& onGridEffect,
                   FieldSumDenominators* kept)
{
    SolveReport rep;
    auto say = [&](int panel, const char* text) {
        progress.status(panel, text);
        rep.panelLog.push_back({panel, text});
    };
    auto& w = rep.writes;
    auto refuse = [&](const char* why) {
        rep.message = why;
        say(2, why);
        return rep;
    };

    // The tables of an earlier run are not this run's: stale until it completes.
    m.FlowSolutionStatus = FlowSolutionState::Stale;
    m.FlowSolutionStatusText = FlowSolutionState::Stale;

    const double v = velocity;
    if (v == 0.0) return refuse(kMsgEnterVelocity);
    if (const char* missing = missingMainDimension(m)) return refuse(missing);
    if (m.MeshAxialNodeCount > 50) {
        rep.message = kMsgDomainTooLarge;
        rep.messageBox = MessageBoxRequest{kMsgDomainTooLarge, kTitleDomainTooLarge};
        return rep;
    }
    if (!usableFlight(v, m)) return refuse(kMsgBadFlightCondition);
    // Up to 16 meridians the surface tables (800 points, 792 panels) hold
    // the largest grid's 48 stations.
    if (m.MeridianCount < 3 || m.MeridianCount > 16) return refuse(kMsgBadMeridians);

    for (ControlId picture : {ControlId::PlotResults_LEVELS, ControlId::PlotResults_FieldProfile})
        w.push_back({picture, WindowAction::ClearPicture, 0, {}, {}});
    for (ControlId box : {ControlId::PlotResults_MAX, ControlId::PlotResults_MIN, ControlId::PlotResults_UnitsLabel,
                          ControlId::PlotResults_PlotLabel, ControlId::PlotResults_UnitsLabel1, ControlId::PlotResults_MAX1,
                          ControlId::PlotResults_MIN1})
        w.push_back(emptyBox(box));
    w.push_back({ControlId::PlotResults_NoMeshDefined, WindowAction::Hide, 0, {}, {}});
    w.push_back(emptyBox(ControlId::SOLVER_MachNumber));
    w.push_back(emptyBox(ControlId::FluidVariables_UINPUT));

    m.FreeStreamMachNumber = toSingle(v / m.SpeedOfSound);
    if (m.CompressibleFlow == 1 && m.FreeStreamMachNumber > 0.8f) {
        rep.message = kMsgNewInletVelocity;
        rep.messageBox = MessageBoxRequest{kMsgNewInletVelocity, kTitleMachAbove080};
        return rep;
    }
    // The flight condition of this run, whatever changes while it lets
    // events run.
    const FlowCondition flow{v, m.AngleOfAttack, m.FreeStreamMachNumber, m.CompressibleFlow, m.AmbientDensity};
    const DragFlow dragFlow = liveDragFlow(m);

    say(1, kMsgAnalysisInProgress);
    // The grid is rebuilt before the run counts as under way: no events may
    // run there, an input changed then would go unnoticed.
    WithoutPump gridProgress(progress);
    rep.grid = GRID(m, v, gridProgress, onGridEffect);
    if (rep.grid.outcome != Outcome::Done) {
        rep.message = rep.grid.message.empty() ? kMsgSolutionNotFound : rep.grid.message;
        say(1, kMsgSolutionNotFound);
        return rep;
    }
    // From here the run is under way: a result reset while it lets events
    // run (a velocity typed, a fin edited) marks it stale again, and any way
    // out but completion leaves it stale.
    m.FlowSolutionStatus = "";
    m.FlowSolutionStatusText = "";
    auto stale = [&m] {
        m.FlowSolutionStatus = FlowSolutionState::Stale;
        m.FlowSolutionStatusText = FlowSolutionState::Stale;
    };

    const std::vector<BodyStation> stations = bodyStationsFromGrid(m);
    const int meridians = m.MeridianCount;
    rep.stationCount = static_cast<int>(stations.size());
    rep.panelCount = (rep.stationCount - 1) * meridians;
    m.Pi = kPi;
    m.DeltaT = 2.0 * kPi / static_cast<double>(meridians);
    if (stations.size() < 2) {
        stale();
        rep.outcome = Outcome::Failed;
        rep.message = kMsgSolutionNotFound;
        say(1, kMsgSolutionNotFound);
        return rep;
    }

    BodyFlowSolution sol;
    const Outcome solved = solveBodyFlow(stations, meridians, flow, fieldPointsFromMesh(m), m, progress, sol, kept);
    if (solved == Outcome::Aborted) {
        stale();
        rep.outcome = Outcome::Aborted;
        return rep;
    }
    // Events may run once more before the body drag.
    if (solved == Outcome::Done && progress.maybePump() && m.AbortRequest == AbortFlag::Yes) {
        stale();
        rep.outcome = Outcome::Aborted;
        return rep;
    }
    RocketDragResult drag;
    bool ok = solved == Outcome::Done;
    if (ok) {
        std::vector<double> radius(stations.size() + 1, 0.0);
        for (std::size_t k = 0; k < stations.size(); ++k) radius[k + 1] = stations[k].radius;
        try {
            drag = computeRocketDrag(m, radius, sol.geometry.stationArea, sol.panelMomentum,
                                     toSingle(meridians), toSingle(stations.size()), dragFlow);
        } catch (const MathFailure&) {
            ok = false;
        }
    }
    if (!ok) {
        stale();
        rep.outcome = Outcome::Failed;
        // The reason in panel 2: the flow or its drag broke down.
        rep.message = kMsgBodyFlowFailed;
        say(2, kMsgBodyFlowFailed);
        say(1, kMsgSolutionNotFound);
        return rep;
    }

    // A result reset while events ran (a velocity typed, a fin edited) means
    // these tables answer inputs that no longer hold: publish none of them.
    if (m.FlowSolutionStatus == FlowSolutionState::Stale) {
        rep.superseded = true;
        return rep;
    }

    // Publish the whole solution.
    m.BodyStationCount = static_cast<int16_t>(stations.size());
    for (std::size_t k = 0; k < stations.size(); ++k) {
        m.BodyStationX(static_cast<long>(k) + 1) = stations[k].x;
        m.BodyStationRadius(static_cast<long>(k) + 1) = stations[k].radius;
    }
    for (int i = 1; i <= sol.geometry.panels; ++i) {
        m.BodySurfaceCp(i) = sol.surfaceCp[static_cast<std::size_t>(i)];
        m.ElementPressure(i) = sol.panelMomentum[static_cast<std::size_t>(i)];
    }
    DragReport dragReport;
    publishRocketDrag(m, drag, m.BodyPressureDragCoefficient, progress, dragReport);
    for (auto& p : dragReport.panelLog) rep.panelLog.push_back(p);
    rep.notes.add(dragReport.notes);
    for (auto& x : dragReport.writes) w.push_back(x);
    w.push_back(showNumber(ControlId::SOLVER_PressureCd, m.BodyPressureDragCoefficient, "##.###"));
    w.push_back(showNumber(ControlId::SOLVER_BaseCd, m.BaseDragCoefficient, "##.###"));
    const double total = static_cast<double>(m.BaseDragCoefficient) + m.BodyPressureDragCoefficient +
                         m.FinSurfaceDragCoefficient + m.FinInterferenceDragCoefficient + m.LaunchLugDragCoefficient;
    w.push_back(showNumber(ControlId::SOLVER_TotalCd, total, "##.###"));
    w.push_back(showNumber(ControlId::FluidVariables_UINPUT, v, "#.###E+00"));

    const long elements = static_cast<long>(m.MeshElementCount);
    for (long e = 1; e <= elements; ++e) {
        const std::size_t k = static_cast<std::size_t>(e);
        m.ElementAxialVelocity(e) = sol.fieldAxial[k];
        m.ElementRadialVelocity(e) = sol.fieldRadial[k];
        m.ElementSpeed(e) = sol.fieldSpeed[k];
        m.ElementPressure(e) = sol.fieldPressure[k];
    }
    rep.solutionCurrent = true;
    rep.outcome = Outcome::Done;

    if (elements > 0 && m.ElementSpeed(1) > 0.0) {
        say(1, kMsgSolutionFound);
        say(2, kMsgMayPlot);
        w.push_back({ControlId::SOLVER_MachLabel, WindowAction::Show, 0, {}, {}});
        w.push_back(showNumber(ControlId::SOLVER_MachNumber, flow.machNumber, "#####.###"));
    }
    // The flight condition may have changed while events ran.
    if (m.CompressibleFlow == 1 && m.FreeStreamMachNumber > 0.8f) say(2, kMsgInvalidMach);
    return rep;
}

} // namespace bodyflow
} // namespace velmora
