#pragma once
// The windows' side of the SOLVE chain: the main window's status bar,
// progress bar and event pump, the fin-section window's status bar, the mesh
// drawings, the base-flow window and the pointer; and the presentation of a
// finished run. SOLVE runs the chain with it, and the sweep's host derives
// from it, so every sweep step shows exactly what a SOLVE shows.
#include <functional>
#include <optional>

#include "solve/SolveChain.h"
#include "bodyflow/Grid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/MainWindow.h"

namespace velmora {

// The main window as SOLVE runs in it: the main window every window reaches,
// with the hook run as each step of a SOLVE starts (tests act mid-run
// through it).
class SolveWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    std::function<void(SolveStep)> solveStepHook;
};

// The registry's main window as SOLVE's host needs it; std::logic_error when
// the main window provided is not one.
SolveWindow& solveWindow(Forms& forms);

// What the grid builder does to the windows as it builds: hide the main
// window's "no mesh" overlay, empty the body window's base-tube length box
// (whose change handler runs then, as for a user's edit).
GridEffectHandler gridEffectsOn(Forms& forms);

class MainSolveHost : public virtual SolveHost {
public:
    explicit MainSolveHost(SolveWindow& main);

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
    SolveWindow& main_;

private:
    WindowProgress progress_;
    WindowProgress finProgress_;
    GridEffectHandler effects_;
    std::optional<WaitCursor> wait_;
};

} // namespace velmora
