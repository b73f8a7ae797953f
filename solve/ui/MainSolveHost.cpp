// The windows' side of the SOLVE chain (see MainSolveHost.h).
#include "solve/ui/MainSolveHost.h"

#include <stdexcept>

#include "baseflow/ui/NavierStokes.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/ui/WindowWriter.h"
#include "stability/ui/PressureCenter.h"

namespace velmora {

SolveWindow& solveWindow(Forms& forms)
{
    auto* main = dynamic_cast<SolveWindow*>(&forms.main());
    if (!main) throw std::logic_error("the main window does not run SOLVE");
    return *main;
}

GridEffectHandler gridEffectsOn(Forms& forms)
{
    return [&forms](GridEffect e) {
        switch (e) {
        case GridEffect::HideMainNoMeshOverlay: forms.main().NoMeshDefined->hide(); break;
        case GridEffect::EmptyBaseTubeLengthBox: forms.get<BODYTUBE>().BodyLength2->setText(QString()); break;
        }
    };
}

MainSolveHost::MainSolveHost(SolveWindow& main)
    : main_(main),
      progress_(main.StatusBar1, main.ProgressBar1),
      finProgress_(main.forms().get<PanelAero>().StatusBar1, main.ProgressBar1),
      effects_(gridEffectsOn(main.forms()))
{
}

void MainSolveHost::unloadBaseFlow() { main_.forms().unload<NavierStokes>(); }

void MainSolveHost::meshBuilt(double velocity) { main_.drawMesh(velocity); }

void MainSolveHost::busyPointer(bool on)
{
    if (on) wait_.emplace();
    else wait_.reset();
}

void MainSolveHost::stepStarting(SolveStep step)
{
    if (main_.solveStepHook) main_.solveStepHook(step);
}

void MainSolveHost::present(const SolveChainReport& run)
{
    if (run.endedAt == SolveStep::Inputs) {
        main_.StatusBar1->setPanel(2, QString::fromStdString(run.message));
    } else {
        Forms& forms = main_.forms();
        applyWindowWrites(forms, run.writes);
        // The force window's plot and the fin step's plot and section are drawn
        // now at the pictures' fixed sizes, whether their windows are open or not.
        if (run.centerOfPressure) forms.get<PressureCenter>().presentRun(*run.centerOfPressure);
        if (run.fin) forms.get<PanelAero>().showResult(*run.fin);
    }
    if (run.messageBox)
        MsgBox(QString::fromStdString(run.messageBox->prompt), MsgButtons::OkOnly,
               QString::fromStdString(run.messageBox->title));
}

} // namespace velmora
