#pragma once
// The main window as the other windows reach it: the result resets and
// outline routines they run, the unit system it has marked, and the controls
// they write to (status bar, progress bar, flight condition, mesh picture).
// The main window derives from it; a window gets it from the registry
// (Forms::main), so no window names the application's classes.
#include <QLabel>
#include <QProgressBar>

#include "platform/ui/Build.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class MainWindow : public Form, public WindowFrame {
public:
    using Form::Form;

    // The result resets: everything, the fin results, the body results.
    virtual void ClearData(double& velocity) = 0;
    virtual void CLEARDATA2(double& velocity) = 0;
    // Drag and the outline of body and fins, as their inputs change.
    virtual void CdFnMn(double& velocity) = 0;
    virtual void NEWFINS(double& velocity) = 0;
    // MESH, and the drawing of the grid just built.
    virtual void Mesh(double& velocity) = 0;
    virtual void drawMesh(double& velocity) = 0;
    // The unit-system index marked in the Units menu (first checked of 0, 1,
    // 2), or -1 when none is; other windows choose their unit texts by it.
    virtual int checkedUnitIndex() const = 0;
    // The velocity box warns of a Mach number above 2 once as its value
    // crosses above it; a value written whole (a sweep step) is warned of anew.
    virtual void forgetMachWarning() {}

    TextBox* Velocity = nullptr;
    TextBox* ROCKETAOA = nullptr;
    PictureBox* MeshPlot = nullptr;
    QLabel* NoMeshDefined = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

} // namespace velmora
