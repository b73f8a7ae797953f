#pragma once
// The sweep window: angle-of-attack and velocity sweeps of the SOLVE chain,
// with the plot of one result against the swept quantity.
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <array>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"
#include "sweep/Sweep.h"
#include "sweep/SweepPlot.h"

namespace velmora {

inline constexpr const char* kMsgLoopingComplete = "Looping CFD analysis is complete.";
// Panel 1 after a sweep that did not run every step (the loop it stopped
// at), or that its own checks or the mesh refused.
inline constexpr const char* kMsgLoopingStopped = "Looping CFD analysis stopped at loop %1.";
inline constexpr const char* kMsgLoopingNotStarted = "Looping CFD analysis not started.";
// Panel 1 after RAWDATA wrote its file (the file's name).
inline constexpr const char* kMsgExportSaved = "Comma-delimited data saved as %1";

class ITERATION : public Form, public WindowFrame {
    Q_OBJECT
public:
    explicit ITERATION(Forms& forms);

    // ---- public procedures ----
    // Empties the plot captions, the stored results of steps 1 .. the whole
    // part of `steps` and the picture.
    void ClearData(double steps);
    // Draws the sweep plot of the stored results of steps 1 .. the whole
    // part of `steps` over what the picture holds.
    void DATAPLOT(double steps);
    // ClearData then DATAPLOT over the project's step count: the sweep's
    // results dropped, the empty plot drawn.
    void clearSweep();
    // The window's part of each: the captions and the picture emptied; a
    // plot computed beforehand drawn.
    void clearPlot();
    void drawPlot(const stability::SweepPlot& p);
    // Runs the sweep through the main window's boxes, each step shown as
    // SOLVE shows its run; 0 steps become 1 in the caller's variable.
    stability::SweepReport LOOPER(double& steps);
    // Draws the Barrowman-equation values of the plotted quantity for steps
    // 1 .. the whole part of `steps` in green over the sweep plot, and shows
    // the first in BResult; `steps` is not changed.
    void BARROWMANS(double& steps);

    // ---- handlers ----
    void MAXLOOPS_Change();
    void AOAINC_Change();
    void VELINC_Change();
    void AOAINITIAL_Change();
    void VINITIAL_Change();
    void ITERATE_Click(int Index);
    void PlotOption_Click(int Index);
    void Command1_Click();
    void Abort_Click();
    void Toolbar1_ButtonClick(const QString& Key);

    // True while a sweep runs: the inputs, Start and the keys but HELP and
    // ABOUT are disabled, and the title-bar close asks to abort.
    bool sweepRunning() const { return running_; }
    // The last sweep Start ran.
    stability::SweepReport lastSweep;

    // ---- controls ----
    QGroupBox* Frame2 = nullptr;
    TextBox* MAXLOOPS = nullptr;
    TextBox* AOAINC = nullptr;
    TextBox* VELINC = nullptr;
    TextBox* AOAINITIAL = nullptr;
    TextBox* VINITIAL = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* LVLABEL1 = nullptr;
    QLabel* LVLABEL2 = nullptr;
    std::array<QRadioButton*, 2> ITERATE{};
    std::array<QRadioButton*, 4> PlotOption{};
    QGroupBox* Frame1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Abort = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* IterationLbl = nullptr;
    QLabel* Label27 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* BResult = nullptr;
    QWidget* Picture1 = nullptr;  // the plot with its axis labels
    QWidget* Picture2 = nullptr;  // the axis caption under them
    PictureBox* DataPlot1 = nullptr;
    QLabel* PlotType = nullptr;
    QLabel* MAXAOA = nullptr;
    QLabel* MINAOA = nullptr;
    QLabel* XMIDDLE = nullptr;
    QLabel* MAXDATA = nullptr;
    QLabel* MINDATA = nullptr;
    QLabel* YMIDDLE = nullptr;

    // The plot's side at the window's default size; it grows with the window.
    static constexpr int kPlotSide = 360;

protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // The bar and the step label back to rest: an early end keeps its step
    // in view only until the results change, a new sweep starts or the
    // window is left.
    void clearProgress();
    // A typed sweep input: the box's number into the state, the sweep cleared.
    void takeInput(TextBox* box, double& value, const char* name);
    void printTableKey();
    void printImageKey();
    void exportKey();
    void replot();
    void setRunning(bool on);
    bool startChecks();

    bool running_ = false;
};

} // namespace velmora
