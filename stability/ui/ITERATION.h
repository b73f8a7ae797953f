#pragma once
// The centre-of-pressure window and the sweep window.
#include <QLabel>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class PressureCenter : public Form {
    Q_OBJECT
public:
    explicit PressureCenter(Forms& forms);

    // Normal-force distribution and centre of pressure. Without a current
    // body-flow solution it says so in panel 1 and computes nothing.
    void CPSOLVE(double& velocity);

    PictureBox* SurfaceProfile = nullptr;
    QLabel* NoMeshDefined = nullptr;
    TextBox* MODELAOA = nullptr;
    TextBox* XCPBODYS = nullptr;
    TextBox* CNBODYS = nullptr;
    TextBox* XCPFINS = nullptr;
    TextBox* CNFINS = nullptr;
    TextBox* CNROCKET = nullptr;
    TextBox* XCPTOTALS = nullptr;
    TextBox* XLRATIOS = nullptr;
    TextBox* CNFORCES = nullptr;
    TextBox* CMFORCES = nullptr;
    TextBox* CXFORCES = nullptr;
    TextBox* BODYFORCES = nullptr;
    TextBox* FINFORCES = nullptr;
    TextBox* FINAOAFORCES = nullptr;
    TextBox* LUGFORCES = nullptr;
    TextBox* MAX = nullptr;
    TextBox* MIN = nullptr;
    TextBox* PlotLabel = nullptr;
    StatusBar* StatusBar1 = nullptr;
};

class ITERATION : public Form {
    Q_OBJECT
public:
    explicit ITERATION(Forms& forms);

    // Empties the plot captions and the stored results of steps 1..steps.
    void ClearData(double steps);
    // Redraws the sweep plot from the stored results of steps 1..steps.
    void DATAPLOT(double steps);

    void MAXLOOPS_Change();
    void AOAINC_Change();
    void VELINC_Change();
    void AOAINITIAL_Change();
    void VINITIAL_Change();

    TextBox* MAXLOOPS = nullptr;
    TextBox* AOAINC = nullptr;
    TextBox* VELINC = nullptr;
    TextBox* AOAINITIAL = nullptr;
    TextBox* VINITIAL = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LVLABEL1 = nullptr;
    QLabel* LVLABEL2 = nullptr;
    QLabel* BResult = nullptr;
    QLabel* MAXDATA = nullptr;
    QLabel* MINDATA = nullptr;
    QLabel* MAXAOA = nullptr;
    QLabel* MINAOA = nullptr;
    PictureBox* DataPlot1 = nullptr;
    StatusBar* StatusBar1 = nullptr;

private:
    void afterInputChange();
};

} // namespace velmora
