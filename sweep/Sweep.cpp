#include "sweep/Sweep.h"

#include <algorithm>
#include <cmath>

#include "bodyflow/Grid.h"
#include "bodyflow/Solver.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"
#include "platform/Single.h"

namespace velmora::stability {

SweepReport LOOPER(Module1& m, SweepHost& host, double& steps)
{
    SweepReport rep;
    // Inputs, as each step's chain checks them.
    std::string why = unreadableInputRefusal(m, {InputGroup::Sweep});
    if (why.empty()) why = solveInputRefusal(m);
    if (!why.empty()) {
        rep.message = std::move(why);
        return rep;
    }

    // One run: no abort pending, no base-flow solution, the mesh once.
    startRun(m, host);
    const GridReport grid = meshStep(m, m.FreeStreamVelocity, host);
    if (grid.outcome != Outcome::Done) {
        rep.outcome = grid.outcome;
        rep.message = grid.message;
        return rep;
    }

    // The steps: each writes its value into the main window, runs the chain
    // and stores its results.
    if (steps == 0) steps = 1;
    rep.stepCount = sweepStepsRun(steps);
    const bool angle = m.AoaSweepSelected == 1;
    const bool velocity = !angle && m.VelocitySweepSelected == 1;
    m.SweepStepsStored = 0;
    // The denominators of the body flow's field sums, written by the first
    // step and read back by the others while the body and mesh stay; they
    // go when the sweep ends, however it ends.
    FieldSumDenominators denominators;
    for (int i = 1; i <= rep.stepCount; ++i) {
        host.sweepStep(i, rep.stepCount);
        if (angle) host.writeSweepValue(true, m.AngleOfAttack);
        else if (velocity) host.writeSweepValue(false, m.EnteredVelocity);

        rep.lastStep = solveChain(m, host, {.buildMesh = false, .startRun = false, .denominators = &denominators});
        host.stepSolved(rep.lastStep);
        if (rep.lastStep.outcome != Outcome::Done) {
            rep.outcome = rep.lastStep.outcome;
            // A refusal the window reports by its box alone says why here too
            // (a step above the flow model's Mach limit is refused by name).
            if (rep.lastStep.message.empty() && rep.lastStep.messageBox) rep.message = rep.lastStep.messageBox->title;
            return rep;
        }
        m.SweepDragCoefficients(i) = m.TotalDragCoefficient;
        m.SweepNormalForceCoefficients(i) = m.NormalForceCoefficient;
        m.SweepMomentCoefficients(i) = m.PitchingMomentCoefficient;
        m.SweepCenterOfPressureRatios(i) = m.CenterOfPressureRatio;
        m.SweepCenterOfPressureUndefined(i) = m.CenterOfPressureUndefined;
        rep.stepsStored = i;
        m.SweepStepsStored = static_cast<int16_t>(i);

        if (angle) m.AngleOfAttack += m.SweepAoaIncrement;
        else if (velocity) m.EnteredVelocity += m.SweepVelocityIncrement;
    }

    // The variable back on the last step's value.
    if (angle) m.AngleOfAttack -= m.SweepAoaIncrement;
    else if (velocity) m.EnteredVelocity -= m.SweepVelocityIncrement;
    rep.outcome = Outcome::Done;
    return rep;
}

void clearSweepResults(Module1& m, double steps)
{
    for (int i = 1, n = sweepWholeSteps(steps); i <= n; ++i) {
        m.SweepDragCoefficients(i) = 0;
        m.SweepNormalForceCoefficients(i) = 0;
        m.SweepMomentCoefficients(i) = 0;
        m.SweepCenterOfPressureRatios(i) = 0;
        m.SweepCenterOfPressureUndefined(i) = 0;
        m.SweepPlotX(i) = 0;
        m.SweepPlotY(i) = 0;
        m.SweepPlotYUndefined(i) = 0;
    }
    m.SweepStepsStored = 0;
}

} // namespace velmora::stability
