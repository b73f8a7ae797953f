#include "baseflow/BaseFlow.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

#include "baseflow/BaseDrag.h"
#include "platform/Checked.h"
#include "platform/Format.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"

namespace velmora::baseflow {

const char* flowInputRefusal(const Module1& m, double velocity)
{
    const double positive[] = {m.BaseFlowDomainLength, m.BaseFlowDomainHeight, velocity, m.DeltaT,
                               m.KinematicViscosity, m.BaseFlowDiameter};
    for (double v : positive)
        if (v == 0) return kMsgMissingData;
    const int nx = m.BaseGridPointsX, ny = m.BaseGridPointsY, jb = m.BaseShoulderIndex;
    if (!(nx >= 4 && nx <= kMaxNX && ny >= 4 && ny <= kMaxNY && jb >= 1 && jb <= ny - 2 &&
          m.BaseFlowMaxIterations >= 1))
        return kMsgMissingData;
    for (double v : positive)
        if (!(v > 0 && std::isfinite(v))) return kMsgBadFlowData;
    return nullptr;
}

std::string refusalText(std::string why)
{
    const std::string_view tail = kMsgNothingAdded;
    if (why.size() >= tail.size() && why.compare(why.size() - tail.size(), tail.size(), tail) == 0) return why;
    if (!why.empty()) why += ' ';
    return why + kMsgNothingAdded;
}

std::string baseFlowRefusal(const Module1& m, double velocity)
{
    if (std::string why = unreadableInputRefusal(m, {InputGroup::Motor}); !why.empty()) return why;
    if (const char* why = flowInputRefusal(m, velocity)) return why;
    if (std::string why = motorRefusal(m); !why.empty()) return why;
    // The flight condition the model holds in.
    const double rho = m.AmbientDensity, mu = m.DynamicViscosity;
    if (!(rho > 0 && mu > 0 && std::isfinite(rho) && std::isfinite(mu))) return kMsgBadFlowData;
    const double length = m.BaseTubeLength + m.TransitionLength + m.BodyTubeLength + m.NoseConeLength;
    const double re = rho * velocity * length / mu;
    if (!atLeast(re, kMinBodyReynolds))
        return "Body Reynolds number " + FormatApart(re, kMinBodyReynolds, "0") +
               " is below 100000: the base-flow model assumes a turbulent boundary layer.";
    if (m.SpeedOfSound > 0 && velocity / m.SpeedOfSound > kMaxBaseFlowMach)
        return "Mach number " + FormatApart(velocity / m.SpeedOfSound, kMaxBaseFlowMach, "0.00") +
               " is above 0.8: the base-flow model is incompressible.";
    return {};
}

namespace {

template <typename T, typename Table>
void copyIn(Field<T>& to, const Table& from)
{
    for (int i = 0; i < kFieldSize; ++i)
        for (int j = 0; j < kFieldSize; ++j) to(i, j) = from(i, j);
}

template <typename T, typename Table>
void copyOut(Table& to, const Field<T>& from)
{
    for (int i = 0; i < kFieldSize; ++i)
        for (int j = 0; j < kFieldSize; ++j) to(i, j) = from(i, j);
}

// The run's inputs, taken once: events that run during the iteration may
// change the state, which the run notices.
struct RunInputs {
    FlowInputs flow;
    int itmax = 0;
    double firstStep = 0;
    bool operator==(const RunInputs& o) const
    {
        const FlowInputs &a = flow, &b = o.flow;
        return a.nx == b.nx && a.ny == b.ny && a.jb == b.jb && a.domainLength == b.domainLength &&
               a.domainHeight == b.domainHeight && a.diameter == b.diameter && a.viscosity == b.viscosity &&
               a.bodyLength == b.bodyLength && itmax == o.itmax;
    }
};

RunInputs takeInputs(const Module1& m, double velocity)
{
    RunInputs r;
    r.flow.nx = m.BaseGridPointsX;
    r.flow.ny = m.BaseGridPointsY;
    r.flow.jb = m.BaseShoulderIndex;
    r.flow.domainLength = m.BaseFlowDomainLength;
    r.flow.domainHeight = m.BaseFlowDomainHeight;
    r.flow.velocity = velocity;
    r.flow.diameter = m.BaseFlowDiameter;
    r.flow.viscosity = m.KinematicViscosity;
    r.flow.bodyLength = m.BodyTubeLength;
    r.itmax = m.BaseFlowMaxIterations;
    r.firstStep = m.DeltaT;
    return r;
}

// The run without its publishing; the working fields come back in f.
RunReport runFlow(Module1& m, double velocity, Progress& progress, const IterationObserver& observer,
                  SweepOrder order, std::unique_ptr<Fields>& f)
{
    RunReport rep;
    // Inputs first: the grid and the boundary layer divide by them.
    if (const char* why = flowInputRefusal(m, velocity)) {
        rep.message = why;
        progress.status(3, why);
        return rep;
    }
    const RunInputs in = takeInputs(m, velocity);
    const double vinf = velocity, d = in.flow.diameter, nu = in.flow.viscosity;
    m.BaseFlowStatus = BaseFlowSolutionState::Stale;

    // The working fields start from the state's tables (entries outside the
    // grid keep their values); psi and the increments start at zero.
    f = std::make_unique<Fields>();
    copyIn(f->x, m.BaseFlowNodeX);
    copyIn(f->y, m.BaseFlowNodeY);
    copyIn(f->u, m.BaseFlowVelocityU);
    copyIn(f->v, m.BaseFlowVelocityV);
    copyIn(f->w, m.BaseFlowVorticity);

    double dt = in.firstStep;
    bool stepComputed = false;
    int n = 0;
    try {
        // Initial field.
        INIT(*f, in.flow);
        // Progress and the base Reynolds number.
        progress.progressVisible(true);
        progress.progressRange(1, in.itmax);
        progress.progressValue(1);
        progress.status(1, kMsgIteration);
        progress.status(2, "1");
        progress.status(3, kMsgInProgress);
        rep.reynolds = cdiv(d * vinf, nu, "base Reynolds number");
        rep.writes.push_back(showNumber(ControlId::NavierStokes_REYNOLDS, rep.reynolds, kPatternReynolds));
        // Iterate.
        for (;;) {
            // One time step of the flow.
            VELVOR(*f);
            EQVOR(*f, dt, nu);
            const StreamSolve stream = EQSTR(*f, order);
            rep.sweeps += stream.sweeps;
            if (!stream.converged) {
                rep.notes.add(NoteKind::StreamNotConverged, kMsgStreamWarning);
                progress.status(3, kMsgStreamWarning);
            }
            BCVOR(*f);
            const double r = STRVEL(*f);
            rep.BaseFlowResidual = r;
            // Count it.
            rep.BaseFlowIterationCount = ++n;
            progress.progressValue(n);
            progress.status(1, kMsgIteration);
            progress.status(2, std::to_string(n));
            // The limit comes before convergence.
            const bool limit = n >= in.itmax;
            if (limit || r < kConvergedResidual) {
                rep.outcome = Outcome::Done;
                rep.converged = !limit;
                if (limit) rep.notes.add(NoteKind::IterationLimit, kMsgNotConverged);
                rep.message = limit ? kMsgNotConverged : kMsgConverged;
                progress.status(3, rep.message);
                if (observer) observer({n, r, dt, true});
                break;
            }
            // Next time step, shown with the plot segment.
            dt = nextTimeStep(*f, vinf, d, rep.reynolds);
            stepComputed = true;
            if (observer) observer({n, r, dt, false});
            // Let events run; ABORT, or an input changed under the run, stops it.
            progress.pumpEvents();
            if (m.AbortRequest == AbortFlag::Yes) {
                rep.outcome = Outcome::Aborted;
                break;
            }
            if (!(takeInputs(m, velocity) == in)) {
                rep.outcome = Outcome::Aborted;
                rep.message = kMsgInputChanged;
                progress.status(3, kMsgInputChanged);
                break;
            }
        }
    } catch (const MathFailure&) {
        rep.outcome = Outcome::Failed;
        rep.message = kMsgRunFailed;
        progress.status(3, kMsgRunFailed);
    }
    // Pointer and progress back.
    progress.progressValue(1);

    rep.timeStep = dt;
    if (n > 0)
        rep.writes.push_back(showNumber(ControlId::NavierStokes_CONVERGE, rep.BaseFlowResidual, kPatternResidual));
    if (stepComputed) rep.writes.push_back(showNumber(ControlId::NavierStokes_TimeStep, dt, kPatternTimeStep));
    rep.offerOutputFile = rep.outcome == Outcome::Done && !rep.converged;
    return rep;
}

// The fields of a converged run or of one stopped at its limit.
void publishRun(Module1& m, const Fields& f, const RunReport& rep)
{
    copyOut(m.BaseFlowNodeX, f.x);
    copyOut(m.BaseFlowNodeY, f.y);
    copyOut(m.BaseFlowVelocityU, f.u);
    copyOut(m.BaseFlowVelocityV, f.v);
    copyOut(m.BaseFlowVorticity, f.w);
    copyOut(m.BaseFlowStreamFunction, f.psi);
    copyOut(m.BaseFlowVorticityIncrement, f.dw);
    m.DeltaX = f.dx;
    m.DeltaY = f.dy;
    m.DeltaT = rep.timeStep;
    if (rep.outcome == Outcome::Done && rep.converged) m.BaseFlowStatus = "";
}

// What the steps after the run read besides the run's own inputs. A NaN
// equals itself here: only a change counts.
struct LaterInputs {
    std::vector<double> numbers;
    std::string units;
    bool operator==(const LaterInputs& o) const
    {
        const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
        return units == o.units && std::equal(numbers.begin(), numbers.end(), o.numbers.begin(), o.numbers.end(), same);
    }
};

LaterInputs laterInputs(const Module1& m)
{
    return {{m.FreeStreamVelocity, m.MotorAverageThrust, m.MotorBurnTime, m.NozzleExitDiameter, m.PropellantWeight,
             m.AmbientDensity, m.AmbientPressure, m.DynamicViscosity, m.NoseConeDiameter, m.NoseConeLength,
             m.BodyTubeLength, m.TransitionLength, m.BaseTubeLength, static_cast<double>(m.ActiveBodyGeometry)},
            m.AnalysisUnits};
}

// Status texts held back until the chain keeps its result; never lets events run.
struct HeldProgress : Progress {
    void status(int panel, const std::string& text) override { held.push_back({panel, text}); }
    std::vector<std::pair<int, std::string>> held;
};

} // namespace

RunReport NSVS2D(Module1& m, double velocity, Progress& progress, const IterationObserver& observer,
                 SweepOrder order)
{
    std::unique_ptr<Fields> f;
    const RunReport rep = runFlow(m, velocity, progress, observer, order, f);
    if (rep.outcome == Outcome::Done) publishRun(m, *f, rep);
    return rep;
}

std::vector<OutputRecord> OUTPT(const Module1& m)
{
    const int nx = std::clamp<int>(m.BaseGridPointsX, 0, kMaxNX);
    const int ny = std::clamp<int>(m.BaseGridPointsY, 0, kMaxNY);
    std::vector<OutputRecord> lines;
    lines.reserve(3 + 3 * static_cast<std::size_t>(nx) * ny);
    auto block = [&](const char* heading, auto value) {
        lines.push_back({heading, 0, 0});
        for (int j = 1; j <= ny; ++j)
            for (int i = 1; i <= nx; ++i) lines.push_back({{}, m.BaseFlowNodeY(1, j), value(i, j)});
    };
    block(kHeadingVelocity, [&](int i, int j) { return m.BaseFlowVelocityU(i, j); });
    block(kHeadingStream, [&](int i, int j) { return m.BaseFlowStreamFunction(i, j); });
    block(kHeadingVorticity, [&](int i, int j) { return m.BaseFlowVorticity(i, j); });
    return lines;
}

ChainReport solveBaseFlow(Module1& m, double velocity, Progress& progress, Progress& mainProgress,
                          const IterationObserver& observer)
{
    ChainReport rep;
    auto append = [&rep](const std::vector<WindowWrite>& w) { rep.writes.insert(rep.writes.end(), w.begin(), w.end()); };
    auto stop = [&](Outcome outcome, std::string why) {
        progress.status(3, why);
        rep.outcome = outcome;
        rep.message = std::move(why);
        return rep;
    };
    if (std::string why = baseFlowRefusal(m, velocity); !why.empty())
        return stop(Outcome::Refused, refusalText(std::move(why)));
    const LaterInputs later = laterInputs(m);
    std::unique_ptr<Fields> f;
    rep.run = runFlow(m, velocity, progress, observer, SweepOrder::Wavefront, f);
    append(rep.run.writes);
    rep.outcome = rep.run.outcome;
    rep.notes = rep.run.notes;
    if (rep.run.outcome != Outcome::Done) rep.message = rep.run.message;
    if (rep.run.outcome == Outcome::Done && !rep.run.converged) publishRun(m, *f, rep.run);
    // Only a run that converged now reaches the jet, the base pressure and the main drag.
    if (rep.run.outcome != Outcome::Done || !rep.run.converged) return rep;
    if (!(laterInputs(m) == later)) {
        rep.run.outcome = Outcome::Aborted;
        rep.run.message = kMsgInputChanged;
        return stop(Outcome::Aborted, kMsgInputChanged);
    }

    // The later steps work on the state; a step that does not finish puts it back as it was.
    const auto before = std::make_unique<Module1>(m);
    publishRun(m, *f, rep.run);
    HeldProgress mainTexts;
    const JetReport jet = JET(m, progress);
    rep.jet = jet.outcome;
    if (rep.jet == Outcome::Done) rep.pressure = SolveCp(m, velocity, progress).outcome;
    BaseDragReport drag;
    if (rep.pressure == Outcome::Done) rep.drag = (drag = NEWDRAG(m, velocity, mainTexts)).outcome;
    if (rep.drag != Outcome::Done) {
        m = *before;
        if (!drag.message.empty()) return stop(drag.outcome, drag.message);
        const char* broken = rep.jet != Outcome::Done        ? "motor jet"
                             : rep.pressure != Outcome::Done ? "base pressure"
                                                             : "base drag";
        const Outcome ended = rep.jet != Outcome::Done ? rep.jet : rep.pressure != Outcome::Done ? rep.pressure : rep.drag;
        return stop(ended, std::string("Base drag not computed: the ") + broken +
                               " broke down. Nothing added to total drag.");
    }
    rep.baseDragCoefficient = drag.baseDragCoefficient;
    rep.published = true;
    append(jet.writes);
    append(drag.writes);
    for (const auto& [panel, text] : mainTexts.held) mainProgress.status(panel, text);
    return rep;
}

} // namespace velmora::baseflow
