// The main window's mesh, body-flow and drag commands: SOLVE, MESH, the
// meridian and mesh-size lists, and the routines they chain.
#include <QApplication>
#include <QCursor>

#include "model/Vocabulary.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/Drag.h"
#include "bodyflow/Grid.h"
#include "bodyflow/MeshDrawing.h"
#include "bodyflow/Solver.h"
#include "bodyflow/ui/MeshPainter.h"
#include "bodyflow/ui/PlotResults.h"
#include "bodyflow/ui/WindowWriter.h"
#include "platform/Checked.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "stability/ui/StabilityWindows.h"

namespace velmora {

namespace {
// The mesh and its overlay; false, with nothing drawn, when the fin corners do
// not fit their single-precision store.
bool paintMeshWithOverlay(PictureBox* picture, Module1& s, const MeshScale& scale, bool mainPicture,
                          QProgressBar* bar)
{
    std::vector<MeshStroke> overlay;
    try {
        overlay = meshOverlay(s, scale, mainPicture);
    } catch (const MathFailure&) {
        return false;
    }
    paintMesh(picture, s, scale, mainPicture ? 1 : -1, overlay, bar);
    return true;
}

QString meshSizeInForce(const Module1& m)
{
    return m.MeshSizeUserSet == 1 ? QString::number(static_cast<long>(m.MeshAxialNodeCount)) : QStringLiteral("20");
}
} // namespace

void SOLVER::Mesh(double& velocity)
{
    Module1& s = m();
    if (const char* missing = missingMainDimension(s)) {
        StatusBar1->setPanel(2, missing);
        return;
    }
    StatusBar1->setPanel(1, "MESHING in progress.");
    NoMeshDefined->hide();
    PlotResults& plot = forms().get<PlotResults>();
    plot.NoMeshDefined->hide();
    WaitCursor wait;
    WindowProgress progress(StatusBar1, ProgressBar1);
    const GridReport grid = GRID(s, velocity, progress, gridEffectsOn(forms()));
    if (grid.outcome != Outcome::Done) return; // its reason is in panel 2

    MeshPlot->clear();
    plot.VelocityPlot->clear();
    MeshPlot->setScale(0, 500, 500, 0);
    plot.VelocityPlot->setScale(0, 500, 500, 0);
    const auto scale = mainMeshScale(s);
    if (!scale || !paintMeshWithOverlay(MeshPlot, s, *scale, true, ProgressBar1))
        StatusBar1->setPanel(2, "Please check rocket and fin dimensions.");
    plot.Mesh(velocity);
    StatusBar1->setPanel(1, "MESHING complete.");
    StatusBar1->setPanel(2, QString());
    ProgressBar1->setValue(1);
}

void PlotResults::Mesh(double& velocity)
{
    Module1& s = m();
    if (s.NoseConeLength == 0) {
        MsgBox("PLEASE ENTER NOSE CONE LENGTH", MsgButtons::OkOnly, "NOSE CONE LENGTH REQUIRED");
        return;
    }
    if (s.BodyTubeLength == 0) {
        MsgBox("PLEASE ENTER BODY TUBE LENGTH", MsgButtons::OkOnly, "BODY TUBE LENGTH REQUIRED");
        return;
    }
    if (s.NoseConeDiameter == 0) {
        MsgBox("PLEASE ENTER BODY DIAMETER", MsgButtons::OkOnly, "BODY DIAMETER REQUIRED");
        return;
    }
    StatusBar1->setPanel(1, "MESHING in progress.");
    NoMeshDefined->hide();
    WaitCursor wait;
    WindowProgress progress(StatusBar1, ProgressBar1);
    const GridReport grid = GRID(s, velocity, progress, gridEffectsOn(forms()));
    if (grid.outcome != Outcome::Done) return;
    VelocityPlot->setScale(0, 500, 500, 0);
    if (const auto scale = plotMeshScale(s)) paintMeshWithOverlay(VelocityPlot, s, *scale, false, ProgressBar1);
    StatusBar1->setPanel(1, "MESHING complete.");
    ProgressBar1->setValue(1);
}

void SOLVER::RunSOLVER(double& velocity)
{
    WindowProgress progress(StatusBar1, ProgressBar1);
    const SolveReport r = bodyflow::SOLVER(m(), velocity, progress, gridEffectsOn(forms()));
    lastBodyFlowOutcome = r.outcome;
    applyWindowWrites(forms(), r.writes);
    if (r.messageBox)
        MsgBox(QString::fromStdString(r.messageBox->prompt), MsgButtons::OkOnly,
               QString::fromStdString(r.messageBox->title));
}

void SOLVER::CdFnMn(double& velocity)
{
    WindowProgress progress(StatusBar1, ProgressBar1);
    const DragReport r = velmora::CdFnMn(m(), velocity, progress);
    applyWindowWrites(forms(), r.writes);
}

void SOLVER::TOTALDRAG(double& velocity)
{
    WindowProgress progress(StatusBar1, ProgressBar1);
    const DragReport r = velmora::TOTALDRAG(m(), velocity, progress);
    applyWindowWrites(forms(), r.writes);
}

void SOLVER::CFDSOLVER_Click()
{
    if (refuseWhileBusy()) return;
    Module1& s = m();
    auto trace = [this](const char* step) {
        if (solveTrace) solveTrace->push_back(step);
    };
    // 1. Inputs.
    if (s.FreeStreamVelocity == 0) { StatusBar1->setPanel(2, "Please enter rocket velocity."); return; }
    if (const char* missing = missingMainDimension(s)) {
        StatusBar1->setPanel(2, missing);
        return;
    }

    BusyGuard::Scope busy(forms().busy(), "SOLVE");
    // 2 - 4.
    s.AbortRequest = AbortFlag::No;
    forms().unload<NavierStokes>();
    s.BasePressureAvailable = BasePressureFlag::False;
    // 5 - 8.
    double v = s.FreeStreamVelocity;
    trace("Mesh");
    Mesh(v);
    v = s.FreeStreamVelocity;
    trace("SOLVER");
    RunSOLVER(v);
    const Outcome flow = lastBodyFlowOutcome;
    v = s.FreeStreamVelocity;
    trace("CdFnMn");
    CdFnMn(v);
    v = s.FreeStreamVelocity;
    trace("TOTALDRAG");
    TOTALDRAG(v);
    // 9.
    PanelAero& panel = forms().get<PanelAero>();
    panel.StatusBar1->setPanel(1, QString());
    panel.StatusBar1->setPanel(2, QString());
    // A refused, aborted or failed body flow has no results to go on with;
    // its own message stands.
    if (flow != Outcome::Done) return;
    // 10. An input changed while events ran.
    if (s.FlowSolutionStatus == FlowSolutionState::Stale) {
        StatusBar1->setPanel(2, "Please enter fin data and perform CFD");
        return;
    }
    // 11 - 12.
    {
        WaitCursor wait;
        QApplication::processEvents();
        if (s.AbortRequest == AbortFlag::Yes) return;
        // 13.
        v = s.FreeStreamVelocity;
        if (s.PanelMethodChoice == PanelMethod::Source) {
            trace("Source");
            panel.Source(v);
        } else if (s.PanelMethodChoice == PanelMethod::Vortex) {
            trace("VORTEX");
            panel.VORTEX(v);
        }
        // 14.
        v = s.FreeStreamVelocity;
        trace("CPSOLVE");
        forms().get<PressureCenter>().CPSOLVE(v);
    }
}

void SOLVER::MESHER_Click()
{
    if (refuseWhileBusy()) return;
    double v = m().FreeStreamVelocity;
    Mesh(v);
}

void SOLVER::MERIDIANS_Click()
{
    Module1& s = m();
    const QString inForce = QString::number(s.MeridianCount);
    if (refuseWhileBusy()) {
        MERIDIANS->setText(inForce);
        return;
    }
    if (s.FreeStreamVelocity == 0 || s.NoseConeLength == 0 || s.BodyTubeLength == 0 || s.NoseConeDiameter == 0) {
        MERIDIANS->setText(inForce);
        StatusBar1->setPanel(2, "Please enter rocket dimensions");
        return;
    }
    const QString t = MERIDIANS->Text();
    if (t == "8" || t == "10" || t == "12") s.MeridianCount = static_cast<int16_t>(t.toInt());
    double v = s.FreeStreamVelocity;
    CdFnMn(v);
    ClearData(v);
    Mesh(v);
}

void SOLVER::DomainSize_Click()
{
    Module1& s = m();
    if (refuseWhileBusy()) {
        DomainSize->setText(meshSizeInForce(s));
        return;
    }
    if (const char* missing = missingMainDimension(s)) {
        DomainSize->setText(meshSizeInForce(s));
        StatusBar1->setPanel(2, missing);
        return;
    }
    const QString t = DomainSize->Text();
    if (DomainSize->findText(t) >= 0) {
        const double n = t.toDouble();
        s.MeshAxialNodeCount = n;
        s.MeshRadialNodeCount = n;
        s.MeshSizeUserSet = 1;
    }
    double v = s.FreeStreamVelocity;
    ClearData(v);
    Mesh(v);
    BODYTUBE& body = forms().get<BODYTUBE>();
    for (QWidget* w : {static_cast<QWidget*>(body.BodyLength), static_cast<QWidget*>(body.BaseDiameter),
                       static_cast<QWidget*>(body.BaseLength), static_cast<QWidget*>(body.BodyLength2)})
        w->setEnabled(true);
}
} // namespace velmora
