// The main window's command surface: toolbar, menus, LOOP, ABORT, exit and
// printing. Commands that start or change a computation are refused while
// one is running and letting events through.
#include <QCloseEvent>

#include "app/ui/InfoWindows.h"
#include "model/Vocabulary.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "platform/Format.h"
#include "sweep/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"

namespace velmora {

bool SOLVER::refuseWhileBusy()
{
    if (!forms().busy().active()) return false;
    forms().showBusyRefusal(StatusBar1, 2);
    return true;
}

bool SOLVER::bodyTest() const
{
    const Module1& s = const_cast<SOLVER*>(this)->m();
    return s.NoseConeLength != 0 && s.BodyTubeLength != 0 && s.NoseConeDiameter != 0;
}

bool SOLVER::rocketTest() const
{
    return const_cast<SOLVER*>(this)->m().FreeStreamVelocity != 0 && bodyTest();
}

void SOLVER::Toolbar1_ButtonClick(const QString& key)
{
    if (key == "BODY") bodyCommand();
    else if (key == "FINS") finsCommand();
    else if (key == "PLOT") plotCommand();
    else if (key == "CP") cpCommand();
    else if (key == "BASE FLOW") baseFlowCommand();
    else if (key == "HELP") mnuInstructions_Click();
    else if (key == "ABOUT") mnuAboutCFD_Click();
}

void SOLVER::mnuBodyTube_Click() { bodyCommand(); }
void SOLVER::mnuFins_Click() { finsCommand(); }
void SOLVER::mnuPlots_Click() { plotCommand(); }
void SOLVER::mnuCoefficients_Click() { cpCommand(); }

// A design window opened and closed with no input changed (no reset ran)
// leaves every status text of this window and of it as it was: what its
// opening and its RETURN redraw and report belongs to a change.
void SOLVER::showDesignWindow(StatusBar* windowBar, const std::function<void()>& show)
{
    const long resets = resets_;
    auto texts = [](const StatusBar* bar) {
        QStringList t;
        for (int i = 1; i <= bar->panelCount(); ++i) t << bar->panel(i);
        return t;
    };
    const QStringList mainBefore = texts(StatusBar1), windowBefore = texts(windowBar);
    QPointer<StatusBar> bar = windowBar;
    show();
    if (resets_ != resets) return;
    for (int i = 1; i <= mainBefore.size(); ++i) StatusBar1->setPanel(i, mainBefore[i - 1]);
    if (bar)
        for (int i = 1; i <= windowBefore.size(); ++i) bar->setPanel(i, windowBefore[i - 1]);
}

void SOLVER::bodyCommand()
{
    if (refuseWhileBusy()) return;
    Module1& s = m();
    forms().get<ITERATION>().clearSweep();
    BODYTUBE& body = forms().get<BODYTUBE>();
    showDesignWindow(body.StatusBar1, [this, &s, &body] {
        body.applyGeometryLayout();
        NEWFINS(s.FreeStreamVelocity);
        forms().showModal<BODYTUBE>();
    });
}

void SOLVER::finsCommand()
{
    if (refuseWhileBusy()) return;
    forms().get<ITERATION>().clearSweep();
    if (!bodyTest()) {
        StatusBar1->setPanel(2, "Please enter all body tube dimensions.");
        return;
    }
    showDesignWindow(forms().get<FinAnalysis>().StatusBar1, [this] { forms().showModal<FinAnalysis>(); });
}

void SOLVER::plotCommand()
{
    if (refuseWhileBusy()) return;
    if (!rocketTest() || m().FlowSolutionStatus == FlowSolutionState::Stale) {
        StatusBar1->setPanel(2, "Please enter rocket data and perform CFD");
        return;
    }
    forms().showModal<PlotResults>();
}

void SOLVER::cpCommand()
{
    if (refuseWhileBusy()) return;
    Module1& s = m();
    if (!rocketTest() || s.FlowSolutionStatus == FlowSolutionState::Stale || s.FlowSolutionStatusText == FlowSolutionState::Stale) {
        StatusBar1->setPanel(2, "Please enter velocity, dimensions, or perform body/fin CFD.");
        return;
    }
    forms().get<PressureCenter>().CPSOLVE(s.FreeStreamVelocity);
    forms().showModal<PressureCenter>();
}

void SOLVER::baseFlowCommand()
{
    if (refuseWhileBusy()) return;
    Module1& s = m();
    s.MainFlowStateCopy = s.FlowSolutionStatus;
    if (!rocketTest()) {
        StatusBar1->setPanel(2, "Please enter rocket velocity and rocket dimensions");
        return;
    }
    s.KinematicViscosity = s.DynamicViscosity / s.AmbientDensity;
    NavierStokes& base = forms().get<NavierStokes>();
    base.UINFIN->setText(qFormat(s.FreeStreamVelocity, "#####.#"));
    base.AMUIN->setText(qFormat(s.KinematicViscosity, ".#########"));
    forms().showModal<NavierStokes>();
}

void SOLVER::mnuVariables_Click() { forms().showModal<FluidVariables>(); }
void SOLVER::mnuInstructions_Click() { forms().showModal<VelmoraHelp>(); }
void SOLVER::mnuAboutCFD_Click() { forms().showModal<AboutVelmora>(); }
void SOLVER::mnuReferences_Click() { forms().showModal<References>(); }

void SOLVER::IterateBtn_Click()
{
    if (refuseWhileBusy()) return;
    ITERATION& sweep = forms().get<ITERATION>();
    double steps = m().SweepStepCount;
    sweep.DATAPLOT(steps);
    forms().showModal<ITERATION>();
}

void SOLVER::Abort_Click()
{
    // With nothing running there is nothing to end: no question, and the
    // window and its status stay as they are.
    if (!forms().busy().active()) return;
    // The warning stands while the box asks, and goes with it.
    StatusBar1->setPanel(2, "By clicking OK the user will terminate CFD and loose all data.");
    const bool ok = MsgBox("CFD Analysis will be terminated.", MsgButtons::OkCancel, "Abort Solution",
                           MsgIcon::Information) == MsgAnswer::Ok;
    StatusBar1->setPanel(2, QString());
    if (ok) m().AbortRequest = AbortFlag::Yes;
}

bool SOLVER::confirmExit()
{
    return MsgBox("Are you sure?", MsgButtons::OkCancel, "Exit Velmora", MsgIcon::Question) == MsgAnswer::Ok;
}

void SOLVER::mnuExit_Click()
{
    if (confirmExit()) forms().endProgram();
}

void SOLVER::mnuQuitCFD_Click() { mnuExit_Click(); }

void SOLVER::closeEvent(QCloseEvent* e)
{
    // The title-bar close asks like Exit does.
    if (isUnloading() || forms().quitRequested()) {
        e->accept();
        return;
    }
    e->ignore();
    mnuExit_Click();
}

void SOLVER::mnuPrintForm_Click()
{
    // Print what is drawn now: the mesh picture's current image goes on the page.
    printWithPictures(this, StatusBar1, {MeshPlot});
}

} // namespace velmora
