#pragma once
// The force window: normal-force slopes and centres of pressure of body, fins
// and rocket, CN, Cm, the drag forces, and the upper and lower body-surface
// Cp along the body with the body and fin outline.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"
#include "stability/CenterOfPressure.h"

namespace velmora {

inline constexpr const char* kMsgCrossFlowNeedsStations = "Cross-flow plot needs at least 3 body stations.";

class PressureCenter : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit PressureCenter(Forms& forms);

    // ---- public procedures ----
    // Normal-force distribution and centre of pressure through the core, then
    // shown. Without a current body-flow solution it says so in panel 1 and
    // changes nothing else.
    void CPSOLVE(double& velocity);
    // Shows a finished run whose box writes are already applied: the plot,
    // the legend swatches and the unit labels.
    void presentRun(const stability::CenterOfPressureReport& report);

    // ---- handlers ----
    void SOLVEbtn_Click();
    void Command1_Click();
    void UnitsLabel6_Change();
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuInstructions_Click();
    void mnuAboutCFD_Click();
    void Toolbar1_ButtonClick(const QString& Key);

    // ---- controls ----
    QAction* mnuAboutCFD = nullptr;

    PictureBox* SurfaceProfile = nullptr;
    PictureBox* LEGEND1 = nullptr;
    PictureBox* LEGEND2 = nullptr;
    QLabel* NoMeshDefined = nullptr;
    QGroupBox* Frame1 = nullptr;  // normal-force slopes
    QGroupBox* Frame2 = nullptr;  // force analysis
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
    TextBox* UnitsLabel2 = nullptr;
    TextBox* UnitsLabel3 = nullptr;
    TextBox* UnitsLabel4 = nullptr;
    TextBox* UnitsLabel5 = nullptr;
    TextBox* UnitsLabel6 = nullptr;
    TextBox* UnitsLabel7 = nullptr;
    TextBox* UnitsLabel8 = nullptr;
    QPushButton* SOLVEbtn = nullptr;
    QPushButton* Command1 = nullptr;

    // The plot's size at the window's default size; it grows with the window.
    static constexpr int kPlotWidth = 560;
    static constexpr int kPlotHeight = 300;

private:
    void drawPlot(const stability::CenterOfPressureReport& report);
    void drawLegends();
    void writeUnitLabels();
    void crossFlowKey();
};

} // namespace velmora
