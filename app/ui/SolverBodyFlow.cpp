// The main window's mesh, body-flow and drag commands: SOLVE, MESH, the
// meridian and mesh-size lists, and the routines they chain.
#include <QApplication>
#include <QCursor>

#include "model/Vocabulary.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/Drag.h"
#include "bodyflow/Grid.h"
#include "geometry/FinGeometry.h"
#include "geometry/ShapeRules.h"
#include "bodyflow/MeshDrawing.h"
#include "bodyflow/Solver.h"
#include "solve/ui/MainSolveHost.h"
#include "bodyflow/ui/MeshPainter.h"
#include "bodyflow/ui/PlotResults.h"
#include "platform/ui/WindowWriter.h"
#include "solve/SolveChain.h"
#include "platform/Checked.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "stability/ui/PressureCenter.h"

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
    if (const char* missing = missingMainDimension(m())) {
        StatusBar1->setPanel(2, missing);
        return;
    }
    WaitCursor wait;
    MainSolveHost host(*this);
    meshStep(m(), velocity, host);
}

void SOLVER::drawMesh(double& velocity)
{
    Module1& s = m();
    PlotResults& plot = forms().get<PlotResults>();
    NoMeshDefined->hide();
    plot.NoMeshDefined->hide();
    MeshPlot->clear();
    plot.VelocityPlot->clear();
    MeshPlot->setScale(0, 500, 500, 0);
    plot.VelocityPlot->setScale(0, 500, 500, 0);
    const auto scale = mainMeshScale(s);
    if (!scale || !paintMeshWithOverlay(MeshPlot, s, *scale, true, ProgressBar1))
        StatusBar1->setPanel(2, "Please check rocket and fin dimensions.");
    // The bar ran to its end with the drawing; it stays empty until the next work.
    ProgressBar1->setValue(ProgressBar1->minimum());
    // The grid was built just now for these inputs: the plot window draws it
    // as its own mesh command would, without building it again.
    plot.drawBuiltMesh();
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
    if (const char* why = badBodyDimension(s) || badFinDimension(s) ? nullptr : shapeRefusal(s)) {
        StatusBar1->setPanel(1, kMsgMeshingNotComplete);
        StatusBar1->setPanel(2, why);
        return;
    }
    StatusBar1->setPanel(1, "MESHING in progress.");
    NoMeshDefined->hide();
    WaitCursor wait;
    WindowProgress progress(StatusBar1, ProgressBar1);
    const GridReport grid = GRID(s, velocity, progress, gridEffectsOn(forms()));
    if (grid.outcome != Outcome::Done) {
        StatusBar1->setPanel(1, kMsgMeshingNotComplete);
        return;
    }
    drawBuiltMesh();
}

void PlotResults::drawBuiltMesh()
{
    Module1& s = m();
    NoMeshDefined->hide();
    VelocityPlot->setScale(0, 500, 500, 0);
    if (const auto scale = plotMeshScale(s)) paintMeshWithOverlay(VelocityPlot, s, *scale, false, ProgressBar1);
    StatusBar1->setPanel(1, "MESHING complete.");
    ProgressBar1->setValue(1);
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
    Module1& s = m();
    // An exception ends the run with the results stale.
    const bool ran = forms().runCommand(
        "SOLVE",
        [this, &s] {
            MainSolveHost host(*this);
            lastSolve = solveChain(s, host);
            host.present(lastSolve);
        },
        [&s] {
            s.FlowSolutionStatus = FlowSolutionState::Stale;
            s.FlowSolutionStatusText = FlowSolutionState::Stale;
        });
    if (!ran) refuseWhileBusy();
    bringIntoView(MachNumber, FinSurfaceDrag);
}

void SOLVER::MESHER_Click()
{
    if (!forms().runCommand("MESH", [this] {
            if (const std::string why = meshInputRefusal(m()); !why.empty()) {
                StatusBar1->setPanel(2, QString::fromStdString(why));
                return;
            }
            double v = m().FreeStreamVelocity;
            Mesh(v);
        }))
        refuseWhileBusy();
}

void SOLVER::MERIDIANS_Click()
{
    Module1& s = m();
    const QString inForce = QString::number(s.MeridianCount);
    const bool ran = forms().runCommand("Grid # on Circumference", [this, &s, &inForce] { meridiansPicked(s, inForce); });
    if (!ran) {
        MERIDIANS->setText(inForce);
        refuseWhileBusy();
    }
}

void SOLVER::meridiansPicked(Module1& s, const QString& inForce)
{
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
    const bool ran = forms().runCommand("Mesh Size", [this, &s] { meshSizePicked(s); });
    if (!ran) {
        DomainSize->setText(meshSizeInForce(s));
        refuseWhileBusy();
    }
}

void SOLVER::meshSizePicked(Module1& s)
{
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
