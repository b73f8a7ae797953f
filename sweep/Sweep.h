#pragma once
// Sweeps over angle of attack or velocity: LOOPER and the stored results.
//
//   SweepReport stability::LOOPER(Module1& m, SweepHost& host, double& steps);
//   void        stability::clearSweepResults(Module1& m, double steps);
//
// LOOPER repeats the whole SOLVE analysis (the one chain, solve/SolveChain)
// for steps 1 .. sweepStepsRun(steps) (model/SweepSteps.h; 0 becomes 1 in
// the caller's variable) and stores Cd, CN, Cm and XCp/L of step i at index i of the four
// Sweep* arrays. Each step first writes its flight condition through the
// host (the window writes the main window's angle-of-attack or velocity box
// in "##.###", whose change handler reads it back and invalidates the
// results), then runs the chain without the mesh, which is built once before
// the first step, and with the field-sum denominators that the first step
// writes and the others read back (bodyflow/BodyFlow.h), dropped when the
// sweep returns. After the last step the last increment is taken back, so
// the variable equals the value of the last step.
//
// Outcomes:
//   Refused  inputs the chain would refuse (solveInputRefusal; message for
//            the sweep window's panel 2; nothing changed; a sweep box whose
//            text is not a number first), or a step refused by the chain (a
//            step above the flow model's Mach limit, say: its own message
//            stands, or the title of its message box in message; nothing
//            stored for it).
//   Aborted  ABORT while a step let events run: the steps before it stand.
//   Failed   a step's drag, fin section or arithmetic broke down (the
//            chain's reason in lastStep.message): the steps before it stand.
//   Done     every step ran and was stored.
// SweepStepsStored counts the steps this sweep stored, so that the plot,
// table and export of a stopped sweep end with its own last step; entries of
// the stopped step and after it are not touched. The variable holds the
// value of the step that was started.
#include <string>

#include "solve/SolveChain.h"
#include "model/Module1.h"
#include "model/SweepSteps.h"

namespace velmora::stability {


// A window's SolveHost can be the base of a sweep host too (virtual base).
class SweepHost : public virtual SolveHost {
public:
    // Step i of n is starting (progress bar, step label).
    virtual void sweepStep(int i, int n) { (void)i, (void)n; }
    // The chain has run for a step, whatever its outcome, before the sweep
    // stores it or stops: the window shows the run as SOLVE shows its own.
    virtual void stepSolved(const SolveChainReport& run) { (void)run; }
    // Write the step's value into the main window's box of the swept
    // quantity, as text "##.###"; its change handler reads it back.
    virtual void writeSweepValue(bool angleOfAttack, double value) = 0;
};

// message: the panel-2 text of a refusal by the sweep itself.
struct SweepReport : Report {
    int stepsStored = 0;        // steps 1 .. stepsStored hold this sweep's results
    int stepCount = 0;          // the whole part of the step count that was asked for
    SolveChainReport lastStep;  // the chain run of the last step started
};

SweepReport LOOPER(Module1& m, SweepHost& host, double& steps);

// Empties entries 1 .. steps of the four result arrays and of the plot
// copies SweepPlotX / SweepPlotY; entries above are untouched. No step is
// stored afterwards (SweepStepsStored 0): the plot is empty and the table
// and export are refused until the next sweep stores one.
void clearSweepResults(Module1& m, double steps);

} // namespace velmora::stability
