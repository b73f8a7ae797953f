#pragma once
// The main window: flight condition, units, mesh settings, results, and the
// commands that open every other window.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "solve/SolveChain.h"
#include "platform/Progress.h"

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"
#include "solve/ui/MainSolveHost.h"

namespace velmora {

class SOLVER : public SolveWindow {
    Q_OBJECT
public:
    explicit SOLVER(Forms& forms);
    void Form_Load() override;

    // ---- public procedures used by other windows ----
    void INPUTUNITS(double& velocity);
    void ClearData(double& velocity) override;
    void CLEARDATA2(double& velocity) override;
    void CLEARDATA3(double& velocity);

    // ---- commands ----
    void Toolbar1_ButtonClick(const QString& key);
    void mnuBodyTube_Click();
    void mnuFins_Click();
    void mnuPlots_Click();
    void mnuCoefficients_Click();
    void mnuVariables_Click();
    void mnuInstructions_Click();
    void mnuAboutCFD_Click();
    void mnuReferences_Click();
    void mnuExit_Click();
    void mnuQuitCFD_Click();
    void mnuPrintForm_Click();
    void mnuOpen_Click();
    void mnuSaveAs_Click();
    // Why the last Open was refused, as panel 2 showed it; a later save
    // clears panel 2 while it still shows this.
    QString openRefusalShown;
    void IterateBtn_Click();
    void Abort_Click();

    // ---- handlers ----
    void Velocity_Change();
    void Speed_Click();
    void ROCKETAOA_Change();
    void RATIOS_Click();
    void Compressible_Click();
    void CFDUNITS_Click();
    void mnuNewUnits_Click(int Index);

    // ---- body flow, mesh and drag (bodyflow/ui) ----
    void Mesh(double& velocity) override;
    // Draws the grid just built into the mesh pictures of this window and
    // of the plot window.
    void drawMesh(double& velocity) override;
    void CdFnMn(double& velocity) override;
    void TOTALDRAG(double& velocity);
    void CFDSOLVER_Click();
    void MESHER_Click();
    void MERIDIANS_Click();
    void DomainSize_Click();

    // The last SOLVE run: its outcome, the step that ended it, the steps run.
    SolveChainReport lastSolve;

    // The velocity box warns of a Mach number above 2 when the user has
    // finished typing the value; a value written whole warns once, as it
    // crosses above 2, and a sweep step is warned of anew.
    void forgetMachWarning() override { machWarned_ = false; }

    // ---- body and fin outline (geometry/ui) ----
    void NEWFINS(double& velocity) override;

    int checkedUnitIndex() const override;

    // ---- controls ----
    QMenuBar* menuBar = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuPrintForm = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuInstructions = nullptr;
    QAction* mnuAboutCFD = nullptr;
    QAction* mnuReferences = nullptr;
    QMenu* mnuUnits = nullptr;
    std::array<QAction*, 3> mnuNewUnits{};
    QAction* mnuBodyTube = nullptr;
    QAction* mnuFins = nullptr;
    QAction* mnuPlots = nullptr;
    QAction* mnuCoefficients = nullptr;
    QAction* mnuVariables = nullptr;
    QAction* mnuQuitCFD = nullptr;

    ComboBox* Speed = nullptr;
    ComboBox* Compressible = nullptr;
    ComboBox* RATIOS = nullptr;
    ComboBox* CFDUNITS = nullptr;
    TextBox* UNITLBL = nullptr;
    ComboBox* DomainSize = nullptr;
    ComboBox* MERIDIANS = nullptr;

    QLabel* MachLabel = nullptr;
    TextBox* MachNumber = nullptr;
    TextBox* ReNumber = nullptr;
    TextBox* XLRATIOS = nullptr;
    TextBox* FORCE = nullptr;
    TextBox* FORCELABEL = nullptr;
    TextBox* TotalCd = nullptr;
    TextBox* CNFORCES = nullptr;
    TextBox* CdMax = nullptr;
    TextBox* CMFORCES = nullptr;
    TextBox* PressureCd = nullptr;
    TextBox* FinInterferenceDrag = nullptr;
    TextBox* BaseCd = nullptr;
    TextBox* LaunchLugDrag = nullptr;
    TextBox* FinSurfaceDrag = nullptr;

    QPushButton* CFDSOLVER = nullptr;
    QPushButton* MESHER = nullptr;
    QPushButton* IterateBtn = nullptr;
    QPushButton* Abort = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void checkMachNumber(bool always);
    bool updateMachNumber();
    void velocityEdited();
    bool machWarned_ = false;
    bool refuseWhileBusy();
    void meridiansPicked(Module1& s, const QString& inForce);
    void meshSizePicked(Module1& s);
    bool bodyTest() const;
    bool rocketTest() const;
    void bodyCommand();
    void finsCommand();
    void showDesignWindow(StatusBar* windowBar, const std::function<void()>& show);
    long resets_ = 0;  // results resets run so far
    void plotCommand();
    void cpCommand();
    void baseFlowCommand();
    bool confirmExit();
    void buildMenus();
    void buildControls();
    void applyUnitRow(int row);
    void unitSwitch(int row, bool fromMenu);
    void resetCommon(bool mainOverlay, bool plotOverlays, bool clearDrawings);
};

} // namespace velmora
