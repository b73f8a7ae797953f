#pragma once
// The windows' side of the SOLVE chain: the main window's status bar,
// progress bar and event pump, the fin-section window's status bar, the mesh
// drawings, the base-flow window and the pointer; and the presentation of a
// finished run. SOLVE runs the chain with it, and the sweep's host derives
// from it, so every sweep step shows exactly what a SOLVE shows.
#include <optional>

#include "solve/SolveChain.h"
#include "bodyflow/Grid.h"
#include "platform/ui/Controls.h"

namespace velmora {

class SOLVER;

class MainSolveHost : public virtual SolveHost {
public:
    explicit MainSolveHost(SOLVER& main);

    Progress& progress() override { return progress_; }
    Progress& finProgress() override { return finProgress_; }
    void unloadBaseFlow() override;
    void gridEffect(GridEffect e) override { effects_(e); }
    void meshBuilt(double velocity) override;
    void busyPointer(bool on) override;
    void stepStarting(SolveStep step) override;

    // Shows a run of the chain: a refusal of its inputs in panel 2; else its
    // box writes in order, the force window's plot when the centre of
    // pressure ran, the fin step's plots when it ran, and the message box of
    // a body-flow refusal.
    void present(const SolveChainReport& run);

protected:
    SOLVER& main_;

private:
    WindowProgress progress_;
    WindowProgress finProgress_;
    GridEffectHandler effects_;
    std::optional<WaitCursor> wait_;
};

} // namespace velmora
