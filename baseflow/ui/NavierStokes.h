#pragma once
// The base-flow window: the flow behind the rocket's base. It takes the grid
// size, the iteration limit and the motor data, runs the base-flow chain on
// the main window's flight condition, shows its results and draws the mesh,
// the velocity vectors, the speed contours and the convergence history.
//
// While the solver runs, only Abort, HELP, ABOUT and the two help menu items
// stay live; the title-bar close then asks to abort. The run keeps the
// settings it started with.
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <optional>

#include "bodyflow/MeshDrawing.h"
#include "platform/ui/UpDownSpinner.h"
#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class NavierStokes : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit NavierStokes(Forms& forms);
    void Form_Load() override;

    // ---- public procedures ----
    void PlotGrid(double& velocity);
    void VectorPlot(double& velocity);
    // The output file of a run stopped at its iteration limit.
    void OUTPT();

    // ---- handlers ----
    void Solve_Click();
    void Abort_Click();
    void GRID_Click();
    void ITMAX_Click();
    void THRUST_Change();
    void BURNTIME_Change();
    void FUELWT_Change();
    void JETDIAMETER_Change();
    void AMUIN_Change() {}
    void GridPlot_Click();
    void Vector_Click();
    void VCONTOUR_Click();
    void Vscale_Change();
    void NLEVELS_Change();
    void UpDown1_Change();
    void UpDown2_Change();
    void UpDown3_Change();
    void Command1_Click();
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuInstructions_Click();
    void mnuAboutVelmora_Click();
    void Toolbar1_ButtonClick(const QString& Key);

    // True while the solver runs and lets events through.
    bool solving() const { return solving_; }

    // The window's save dialog: its filter and whether it saves.
    FileRequest CommonDialog1;

    // ---- controls ----
    QAction* mnuAboutVelmora = nullptr;

    ComboBox* GRID = nullptr;
    ComboBox* ITMAX = nullptr;

    QGroupBox* MotorFrame = nullptr;
    TextBox* THRUST = nullptr;
    TextBox* BURNTIME = nullptr;
    TextBox* JETDIAMETER = nullptr;
    TextBox* FUELWT = nullptr;
    QLabel* Tlabel = nullptr;
    QLabel* Blabel = nullptr;
    QLabel* Nlabel = nullptr;
    QLabel* Wlabel = nullptr;

    QGroupBox* MotorResults = nullptr;
    TextBox* IspBase = nullptr;
    TextBox* UJETBase = nullptr;
    TextBox* PjetBase = nullptr;
    QLabel* Isplabel = nullptr;
    QLabel* UJETlabel = nullptr;
    QLabel* Pjetlabel = nullptr;

    QGroupBox* FlightFrame = nullptr;
    TextBox* UINFIN = nullptr;
    TextBox* AMUIN = nullptr;
    QLabel* Vlabel = nullptr;
    QLabel* Vislabel = nullptr;

    QGroupBox* FlowResults = nullptr;
    TextBox* REYNOLDS = nullptr;
    TextBox* TimeStep = nullptr;
    TextBox* CONVERGE = nullptr;
    TextBox* BaseCd = nullptr;

    QPushButton* Solve = nullptr;
    QPushButton* Abort = nullptr;
    QPushButton* GridPlot = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* VCONTOUR = nullptr;
    QPushButton* Vector = nullptr;
    TextBox* Vscale = nullptr;
    UpDownSpinner* UpDown1 = nullptr;
    TextBox* NLEVELS = nullptr;
    UpDownSpinner* UpDown2 = nullptr;
    UpDownSpinner* UpDown3 = nullptr;
    TextBox* Vskip = nullptr;  // shows UpDown3's column step

    PictureBox* PLOT = nullptr;
    QLabel* VelocityPlots = nullptr;
    PictureBox* LEVELS = nullptr;
    QLabel* MAX = nullptr;
    QLabel* MIN = nullptr;
    PictureBox* RESIDUAL = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void solveCommand();
    void runSolve();
    void setSolving(bool on);
    void drawStrokes(PictureBox* picture, const std::vector<MeshStroke>& strokes);
    QString gridText() const;
    // An input of the run changed: what was shown of the last run goes.
    void inputChanged();
    // Empties every result of a run (boxes, iteration panels, pictures),
    // marks the base flow unsolved and takes a base drag this window added
    // out of the main drag.
    void dropResults();
    bool solving_ = false;
    // The main window's base drag before a run of this window replaced it;
    // empty while no base drag of this window is in the main drag.
    std::optional<float> mainBaseDrag_;
};

} // namespace velmora
