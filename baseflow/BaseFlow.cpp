#include "baseflow/BaseFlow.h"

#include <algorithm>
#include <memory>

#include "baseflow/BaseDrag.h"
#include "platform/Checked.h"

namespace velmora::baseflow {

const char* runOutcomeName(RunOutcome o)
{
    switch (o) {
    case RunOutcome::Converged: return "converged";
    case RunOutcome::Limit: return "limit";
    case RunOutcome::Aborted: return "aborted";
    case RunOutcome::Refused: return "refused";
    case RunOutcome::Failed: return "failed";
    }
    return "?";
}

bool baseFlowInputsComplete(const Module1& m, double velocity)
{
    if (m.BaseFlowDomainLength == 0 || m.BaseFlowDomainHeight == 0 || velocity == 0 || m.DeltaT == 0 ||
        m.KinematicViscosity == 0 || m.BaseFlowDiameter == 0)
        return false;
    const int nx = m.BaseGridPointsX, ny = m.BaseGridPointsY, jb = m.BaseShoulderIndex;
    return nx >= 4 && nx <= kMaxNX && ny >= 4 && ny <= kMaxNY && jb >= 1 && jb <= ny - 2 &&
           m.BaseFlowMaxIterations >= 1;
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

} // namespace

RunReport NSVS2D(Module1& m, double velocity, Progress& progress, const IterationObserver& observer,
                 SweepOrder order)
{
    RunReport rep;
    // Inputs first: the grid and the boundary layer divide by them.
    if (!baseFlowInputsComplete(m, velocity)) {
        progress.status(3, kMsgMissingData);
        return rep;
    }
    const RunInputs in = takeInputs(m, velocity);
    const double vinf = velocity, d = in.flow.diameter, nu = in.flow.viscosity;
    m.BaseFlowStatus = kBaseFlowStale;

    // The working fields start from the state's tables (entries outside the
    // grid keep their values); psi and the increments start at zero.
    auto f = std::make_unique<Fields>();
    copyIn(f->x, m.BaseFlowNodeX);
    copyIn(f->y, m.BaseFlowNodeY);
    copyIn(f->u, m.BaseFlowVelocityU);
    copyIn(f->v, m.BaseFlowVelocityV);
    copyIn(f->w, m.BaseFlowVorticity);

    double dt = in.firstStep;
    bool stepComputed = false;
    int n = 0;
    try {
        // 1. Initial field.
        INIT(*f, in.flow);
        // 2. Progress and the base Reynolds number.
        progress.progressVisible(true);
        progress.progressRange(1, in.itmax);
        progress.progressValue(1);
        progress.status(1, kMsgIteration);
        progress.status(2, "1");
        progress.status(3, kMsgInProgress);
        rep.reynolds = cdiv(d * vinf, nu, "base Reynolds number");
        rep.writes.push_back(showNumber("NavierStokes.REYNOLDS", rep.reynolds, kPatternReynolds));
        // 3. Iterate.
        for (;;) {
            // 3.1 One time step of the flow.
            VELVOR(*f);
            EQVOR(*f, dt, nu);
            const StreamSolve stream = EQSTR(*f, order);
            rep.sweeps += stream.sweeps;
            if (!stream.converged) {
                rep.streamWarning = true;
                progress.status(3, kMsgStreamWarning);
            }
            BCVOR(*f);
            const double r = STRVEL(*f);
            rep.BaseFlowResidual = r;
            // 3.2 Count it.
            rep.BaseFlowIterationCount = ++n;
            progress.progressValue(n);
            progress.status(1, kMsgIteration);
            progress.status(2, std::to_string(n));
            // 3.3 The limit comes before convergence.
            if (n >= in.itmax) {
                progress.status(3, kMsgNotConverged);
                rep.outcome = RunOutcome::Limit;
            } else if (r < kConvergedResidual) {
                progress.status(3, kMsgConverged);
                rep.outcome = RunOutcome::Converged;
            }
            if (rep.outcome != RunOutcome::Refused) {
                if (observer) observer({n, r, dt, true});
                break;
            }
            // 3.4 Next time step, shown with the plot segment.
            dt = nextTimeStep(*f, vinf, d, rep.reynolds);
            stepComputed = true;
            if (observer) observer({n, r, dt, false});
            // 3.5 Let events run; ABORT, or an input changed under the run, stops it.
            progress.pumpEvents();
            if (m.AbortRequest == "YES" || !(takeInputs(m, velocity) == in)) {
                rep.outcome = RunOutcome::Aborted;
                break;
            }
        }
    } catch (const MathFailure&) {
        rep.outcome = RunOutcome::Failed;
        progress.status(3, kMsgRunFailed);
    }
    // 4. Pointer and progress back.
    progress.progressValue(1);

    rep.timeStep = dt;
    if (n > 0) rep.writes.push_back(showNumber("NavierStokes.CONVERGE", rep.BaseFlowResidual, kPatternResidual));
    if (stepComputed) rep.writes.push_back(showNumber("NavierStokes.TimeStep", dt, kPatternTimeStep));

    if (rep.outcome == RunOutcome::Converged || rep.outcome == RunOutcome::Limit) {
        copyOut(m.BaseFlowNodeX, f->x);
        copyOut(m.BaseFlowNodeY, f->y);
        copyOut(m.BaseFlowVelocityU, f->u);
        copyOut(m.BaseFlowVelocityV, f->v);
        copyOut(m.BaseFlowVorticity, f->w);
        copyOut(m.BaseFlowStreamFunction, f->psi);
        copyOut(m.BaseFlowVorticityIncrement, f->dw);
        m.DeltaX = f->dx;
        m.DeltaY = f->dy;
        m.DeltaT = dt;
        if (rep.outcome == RunOutcome::Converged) m.BaseFlowStatus = "";
        rep.offerOutputFile = rep.outcome == RunOutcome::Limit;
    }
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
    rep.run = NSVS2D(m, velocity, progress, observer);
    append(rep.run.writes);
    // Only a run that converged now reaches the jet, the base pressure and the main drag.
    if (rep.run.outcome != RunOutcome::Converged) return rep;
    const JetReport jet = JET(m, progress);
    rep.jet = jet.outcome;
    append(jet.writes);
    if (jet.outcome != Outcome::Done) return rep;
    const PressureReport cp = SolveCp(m, velocity, progress);
    rep.pressure = cp.outcome;
    if (cp.outcome != Outcome::Done) return rep;
    const BaseDragReport drag = NEWDRAG(m, velocity, mainProgress);
    rep.drag = drag.outcome;
    rep.baseDragCoefficient = drag.baseDragCoefficient;
    append(drag.writes);
    return rep;
}

} // namespace velmora::baseflow
