#include "sweep/ui/ITERATION.h"

#include <QButtonGroup>
#include <QDir>
#include <QCloseEvent>
#include <QHideEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

#include "model/InputRange.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "solve/ui/MainSolveHost.h"
#include "bodyflow/ui/MeshPainter.h"
#include "platform/ui/WindowWriter.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "model/Vocabulary.h"
#include "platform/Busy.h"
#include "platform/ui/Build.h"
#include "platform/ui/Printing.h"
#include "platform/ui/WholeFile.h"
#include "stability/Barrowman.h"
#include "sweep/SweepOutput.h"
#include "sweep/SweepPlot.h"

namespace velmora {

namespace {

// Where an axis label stands along the plot's side: its grid line's user
// coordinate as a fraction from the top (y) or the left (x) edge.
double fromTop(double y) { return (stability::kSweepPlotExtent - y) / stability::kSweepPlotExtent; }
double fromLeft(double x) { return x / stability::kSweepPlotExtent; }

QLabel* axisLabel(QWidget* parent, PlotLayout* plot, const QString& name, const QString& meaning, Qt::Edge side,
                  double at)
{
    QLabel* l = makeValueLabel(parent, name, meaning);
    l->setAlignment(side == Qt::LeftEdge ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignTop);
    // The y labels' column is as wide as the widest value they can show, so
    // the plot stays where it is as they change.
    if (side == Qt::LeftEdge)
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(widestPatternText(stability::kPatternSweepAxis)) + 4);
    plot->addBeside(l, side, 0, at);
    return l;
}

// The main window as the sweep drives it: SOLVE's own host, with the step
// shown in this window and the swept value written into the main window's box.
class SweepWindowHost final : public MainSolveHost, public stability::SweepHost {
public:
    SweepWindowHost(SolveWindow& main, ITERATION& sweep)
        : MainSolveHost(main),
          sweep_(sweep),
          status_(main.StatusBar1, nullptr),
          finStatus_(main.forms().get<PanelAero>().StatusBar1, nullptr)
    {
    }
    Progress& progress() override { return status_; }
    Progress& finProgress() override { return finStatus_; }

    void sweepStep(int i, int n) override
    {
        step_ = i;
        steps_ = n;
        // The bar and the step label follow at most every 30 ms (the first
        // and the last step always): painting them costs more than a step.
        const auto now = std::chrono::steady_clock::now();
        if (i != 1 && i != n && now - shown_ < std::chrono::milliseconds(30)) return;
        shown_ = now;
        if (i == 1) sweep_.ProgressBar1->setRange(0, n);
        setBarValue(sweep_.ProgressBar1, i);
        sweep_.IterationLbl->setText(qFormat(i, "###"));
    }
    void writeSweepValue(bool angleOfAttack, double value) override
    {
        if (!angleOfAttack) main_.forgetMachWarning();
        (angleOfAttack ? main_.ROCKETAOA : main_.Velocity)->setText(qFormat(value, "##.###"));
    }
    // Each step's results are shown at most every 30 ms; the last step, and
    // a step that ends the sweep, always. The next step's box write empties
    // them again in any case.
    void stepSolved(const SolveChainReport& run) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (run.outcome == Outcome::Done && step_ != steps_ && now - presented_ < std::chrono::milliseconds(30)) return;
        presented_ = now;
        present(run);
    }

private:
    ITERATION& sweep_;
    std::chrono::steady_clock::time_point shown_{}, presented_{};
    int step_ = 0, steps_ = 0;
    WindowProgress status_;
    WindowProgress finStatus_;
};

} // namespace

ITERATION::ITERATION(Forms& forms) : Form(forms, "ITERATION", "CFD Loop Analysis and Plots")
{
    auto* lay = new QVBoxLayout(this);
    buildToolbar(this, lay, "Sweep window toolbar",
                 {kVelmoraHelpKey, kAboutKey,
                  {"PRNDATA", "Send formatted data to printer."},
                  {"PRINT", "Print screen image."},
                  {"RAWDATA", "Save comma-delimited data file to disk. "},
                  {"SCALEDATA", "Increase Y-Axis maximum scale.", "YSCALEUP"},
                  {"RESETSCALE", "Reset Y-Axis maximum scale to default.", "RESETDATA"},
                  {"BARROWMANS", "Plot Barrowman results for Standard Geometry."},
                  kReturnToMainKey},
                 toolbarIcon);
    // At the window's least width every key stays in view, RETURN too.
    Toolbar1->setMinimumWidth(Toolbar1->sizeHint().width());

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;

    // The five inputs; the two increments share one place.
    Frame2 = named(new QGroupBox("CFD Loop Analysis Data", this), "Frame2", "CFD Loop Analysis Data");
    auto* grid = new QGridLayout(Frame2);
    AOAINC = makeBox(Frame2, "AOAINC", "AOA Increment (DEGREES)", "0");
    VELINC = makeBox(Frame2, "VELINC", "Rocket Velocity Increment", "0");
    MAXLOOPS = makeBox(Frame2, "MAXLOOPS", "Number of Loops", "0");
    AOAINITIAL = makeBox(Frame2, "AOAINITIAL", "Initial AOA (DEGREES)", "0");
    VINITIAL = makeBox(Frame2, "VINITIAL", "Initial Rocket Flight Velocity", "0");
    for (TextBox* b : {AOAINC, VELINC, MAXLOOPS, AOAINITIAL, VINITIAL}) fitToPattern(b, "####.###");
    Label1 = makeLabel(Frame2, "Label1", "AOA Increment (DEGREES)");
    Label2 = makeLabel(Frame2, "Label2", "Rocket Velocity Increment");
    Label3 = makeLabel(Frame2, "Label3", "Number of Loops");
    Label4 = makeLabel(Frame2, "Label4", "Initial AOA (DEGREES)");
    Label5 = makeLabel(Frame2, "Label5", "Initial Rocket Flight Velocity");
    LVLABEL1 = makeValueLabel(Frame2, "LVLABEL1", "Initial velocity unit");
    LVLABEL2 = makeValueLabel(Frame2, "LVLABEL2", "Velocity increment unit");
    for (QLabel* l : {LVLABEL1, LVLABEL2}) l->setMinimumWidth(l->fontMetrics().horizontalAdvance(VelocityUnit::FtPerSec) + 4);
    Label1->setBuddy(AOAINC);
    Label2->setBuddy(VELINC);
    Label3->setBuddy(MAXLOOPS);
    Label4->setBuddy(AOAINITIAL);
    Label5->setBuddy(VINITIAL);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(AOAINC, 0, 1);
    grid->addWidget(VELINC, 0, 1);
    grid->addWidget(LVLABEL2, 0, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(MAXLOOPS, 1, 1);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(AOAINITIAL, 2, 1);
    grid->addWidget(Label5, 3, 0);
    grid->addWidget(VINITIAL, 3, 1);
    grid->addWidget(LVLABEL1, 3, 2);
    auto* kind = new QHBoxLayout;
    auto* kinds = new QButtonGroup(this);
    makeOptions(ITERATE, Frame2, "ITERATE", {"AOA", "Velocity"});
    for (QRadioButton* b : ITERATE) {
        kinds->addButton(b);
        kind->addWidget(b);
    }
    ITERATE[0]->setChecked(true);
    grid->addLayout(kind, 4, 0, 1, 3);
    left->addWidget(Frame2);

    // Start, Abort and the progress.
    Frame1 = named(new QGroupBox("CFD Loop Analysis", this), "Frame1", "CFD Loop Analysis");
    auto* run = new QGridLayout(Frame1);
    Command1 = makeButton(Frame1, "Command1", "LOOP", "Perform Looping CFD analysis.");
    Command1->setIcon(toolbarIcon("LOOP"));
    Abort = makeButton(Frame1, "Abort", "ABORT", "ABORT CFD solution.");
    Abort->setIcon(toolbarIcon("ABORT"));
    Label6 = makeLabel(Frame1, "Label6", "LOOP");
    IterationLbl = makeValueLabel(Frame1, "IterationLbl", "Current loop");
    IterationLbl->setMinimumWidth(IterationLbl->fontMetrics().horizontalAdvance("360") + 4);
    Label27 = makeLabel(Frame1, "Label27", "CFD Loop Progress");
    ProgressBar1 = named(new QProgressBar(Frame1), "ProgressBar1", "CFD Loop Progress");
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    // Opaque, so a new step repaints the bar and the step number alone, not
    // the frame behind them.
    ProgressBar1->setAutoFillBackground(true);
    IterationLbl->setAutoFillBackground(true);
    run->addWidget(Command1, 0, 0);
    run->addWidget(Abort, 0, 1);
    run->addWidget(Label6, 1, 0);
    run->addWidget(IterationLbl, 1, 1);
    run->addWidget(Label27, 2, 0, 1, 2);
    run->addWidget(ProgressBar1, 3, 0, 1, 2);
    left->addWidget(Frame1);
    left->addStretch(1);
    body->addLayout(left);

    // The plot with its labels, the quantity and the Barrowman value. The
    // plot grows with the window; each label stays on its grid line.
    auto* right = new QVBoxLayout;
    Picture1 = named(new QWidget(this), "Picture1", "Sweep plot area");
    DataPlot1 = makeGrowingPicture(Picture1, "DataPlot1", "Sweep plot", QSize(kPlotSide, kPlotSide));
    // The axes are parallel strokes one pixel apart at the design size.
    DataPlot1->setPensFollowSize(true);
    auto* plot = new PlotLayout(DataPlot1, Qt::AlignLeft | Qt::AlignTop);
    Picture1->setLayout(plot);
    Picture1->setContentsMargins(0, 0, 0, 0);
    const double origin = stability::kSweepPlotOrigin, size = stability::kSweepPlotSize;
    MAXDATA = axisLabel(Picture1, plot, "MAXDATA", "Y axis maximum", Qt::LeftEdge, fromTop(origin + size));
    YMIDDLE = axisLabel(Picture1, plot, "YMIDDLE", "Y axis middle", Qt::LeftEdge, fromTop(origin + size / 2));
    MINDATA = axisLabel(Picture1, plot, "MINDATA", "Y axis minimum", Qt::LeftEdge, fromTop(origin));
    MINAOA = axisLabel(Picture1, plot, "MINAOA", "X axis minimum", Qt::BottomEdge, fromLeft(origin));
    XMIDDLE = axisLabel(Picture1, plot, "XMIDDLE", "X axis middle", Qt::BottomEdge, fromLeft(origin + size / 2));
    MAXAOA = axisLabel(Picture1, plot, "MAXAOA", "X axis maximum", Qt::BottomEdge, fromLeft(origin + size));
    Picture2 = named(new QWidget(Picture1), "Picture2", "Sweep plot x axis");
    auto* caption = new QVBoxLayout(Picture2);
    caption->setContentsMargins(0, 0, 0, 0);
    PlotType = makeValueLabel(Picture2, "PlotType", "X axis quantity");
    PlotType->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    caption->addWidget(PlotType);
    plot->addBeside(Picture2, Qt::BottomEdge, 1, 0.5, PlotLayout::Anchor::Inside);
    right->addWidget(Picture1, 1);
    auto* options = new QHBoxLayout;
    auto* quantities = new QButtonGroup(this);
    makeOptions(PlotOption, this, "PlotOption", {"Cd", "CN", "CM", "XCp"});
    for (QRadioButton* b : PlotOption) {
        quantities->addButton(b);
        options->addWidget(b);
    }
    PlotOption[0]->setChecked(true);
    options->addStretch(1);
    right->addLayout(options);
    auto* barrowman = new QHBoxLayout;
    Label8 = makeLabel(this, "Label8", "Barrowman CN, CM, or XCp @ Initial AOA:");
    BResult = makeValueLabel(this, "BResult", "Barrowman CN, CM, or XCp at initial AOA");
    BResult->setMinimumWidth(BResult->fontMetrics().horizontalAdvance("-000.00000") + 4);
    barrowman->addWidget(Label8);
    barrowman->addWidget(BResult);
    barrowman->addStretch(1);
    right->addLayout(barrowman);
    body->addLayout(right, 1);
    lay->addLayout(body, 1);

    buildStatusBar(this, *this, 2, lay);

    MAXLOOPS->onChange([this] { MAXLOOPS_Change(); });
    AOAINC->onChange([this] { AOAINC_Change(); });
    VELINC->onChange([this] { VELINC_Change(); });
    AOAINITIAL->onChange([this] { AOAINITIAL_Change(); });
    VINITIAL->onChange([this] { VINITIAL_Change(); });
    onOptionOn(ITERATE, this, "ITERATE", [this](int i) { ITERATE_Click(i); });
    onOptionOn(PlotOption, this, "PlotOption", [this](int i) { PlotOption_Click(i); });
    onCommand(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    onCommand(Abort, &QPushButton::clicked, this, [this] { Abort_Click(); });
    // The controls the computations write to.
    registerControls({{ControlId::ITERATION_BResult, BResult}, {ControlId::ITERATION_StatusBar1, StatusBar1}});
}

// ---- public procedures ----------------------------------------------------------------------

void ITERATION::ClearData(double steps)
{
    stability::clearSweepResults(m(), steps);
    clearPlot();
}

void ITERATION::clearPlot()
{
    for (QLabel* l : {MAXDATA, YMIDDLE, MINDATA, MINAOA, XMIDDLE, MAXAOA, BResult}) l->clear();
    DataPlot1->clear();
    clearProgress();
}

void ITERATION::clearProgress()
{
    ProgressBar1->setValue(0);
    IterationLbl->clear();
}

void ITERATION::DATAPLOT(double steps)
{
    drawPlot(stability::sweepPlot(m(), steps));
}

void ITERATION::drawPlot(const stability::SweepPlot& p)
{
    if (p.plotType) PlotType->setText(QString::fromStdString(*p.plotType));
    MINAOA->setText(QString::fromStdString(p.minAoa));
    MAXAOA->setText(QString::fromStdString(p.maxAoa));
    XMIDDLE->setText(QString::fromStdString(p.xMiddle));
    MINDATA->setText(QString::fromStdString(p.minData));
    MAXDATA->setText(QString::fromStdString(p.maxData));
    YMIDDLE->setText(QString::fromStdString(p.yMiddle));

    PictureBox::Batch batch(DataPlot1);
    DataPlot1->setScale(0, stability::kSweepPlotExtent, stability::kSweepPlotExtent, 0);
    const QRgb foreground = PictureBox::kForeground;
    for (const MeshStroke& s : p.frame) DataPlot1->line(s.x1, s.y1, s.x2, s.y2, foreground);
    StatusBar1->setPanel(1, QString());
    for (const MeshStroke& s : p.curve) DataPlot1->line(s.x1, s.y1, s.x2, s.y2, PictureBox::qbColor(s.colour));
    if (p.skipped) StatusBar1->setPanel(1, stability::kMsgSweepPointsSkipped);
    else if (p.noData) StatusBar1->setPanel(1, stability::kMsgSweepNoData);
}

stability::SweepReport ITERATION::LOOPER(double& steps)
{
    WaitCursor wait;
    SolveWindow& main = solveWindow(forms());
    SweepWindowHost host(main, *this);
    // The main window behind the sweep is painted once, with the last step,
    // not at every step: this window shows the progress. Its status bar
    // stays live, so it never shows a message the sweep has replaced.
    std::vector<QWidget*> frozen;
    for (QWidget* w : main.StatusBar1->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != main.StatusBar1 && !w->isWindow() && w->updatesEnabled()) {
            w->setUpdatesEnabled(false);
            frozen.push_back(w);
        }
    struct Repaint {
        std::vector<QWidget*>& frozen;
        ~Repaint()
        {
            for (QWidget* w : frozen) w->setUpdatesEnabled(true);
        }
    } repaint{frozen};
    stability::SweepReport rep = stability::LOOPER(m(), host, steps);
    // The sweep's own refusal (inputs, mesh) or the chain's stands in panel 2.
    const std::string& why = rep.message.empty() ? rep.lastStep.message : rep.message;
    if (!why.empty()) StatusBar1->setPanel(2, QString::fromStdString(why));
    if (rep.outcome == Outcome::Done) {
        clearProgress();
    } else if (rep.stepCount > 0) {
        // An early end keeps the step it stopped at in view (ABORT has
        // already put the bar back to 0).
        const int stopped = std::min(rep.stepsStored + 1, rep.stepCount);
        if (rep.outcome != Outcome::Aborted) ProgressBar1->setValue(stopped);
        IterationLbl->setText(qFormat(stopped, "###"));
    }
    return rep;
}

void ITERATION::BARROWMANS(double& steps)
{
    const stability::BarrowmanReport rep = stability::BARROWMANS(m(), steps);
    applyWindowWrites(forms(), rep.writes);
    if (rep.curve.empty()) return;
    PictureBox::Batch batch(DataPlot1);
    DataPlot1->setScale(0, stability::kSweepPlotExtent, stability::kSweepPlotExtent, 0);
    for (const MeshStroke& s : rep.curve) paintStroke(DataPlot1, s);
}

// ---- input boxes ------------------------------------------------------------------------------

void ITERATION::takeInput(TextBox* box, double& value, const char* name)
{
    value = typedValue(m(), name, box->text().toStdString());
    clearSweep();
}

void ITERATION::clearSweep()
{
    const double steps = m().SweepStepCount;
    ClearData(steps);
    DATAPLOT(steps);
}

void ITERATION::replot()
{
    DataPlot1->clear();
    DATAPLOT(m().SweepStepCount);
}

// The step count: a number below 1 or above 360 moves to the bound with its
// message (the box shows it when the user has finished typing); a text that
// is no number stays as typed, for LOOP to refuse (loopCountRefusal).
void ITERATION::MAXLOOPS_Change()
{
    Module1& s = m();
    const QString typed = MAXLOOPS->text();
    s.SweepStepCount = qVal(typed);
    StatusBar1->setPanel(2, QString());
    if (!wholeNumber(typed.toStdString())) {
        clearSweep();
    } else if (s.SweepStepCount < 1) {
        MAXLOOPS->setText("1");
        StatusBar1->setPanel(2, "Minimum number of loops is 1.");
    } else if (s.SweepStepCount > kMaxSweepSteps) {
        MAXLOOPS->setText("360");
        StatusBar1->setPanel(2, "Maximum number loops cannot exceed 360.");
    } else {
        clearSweep();
    }
}

void ITERATION::AOAINC_Change() { takeInput(AOAINC, m().SweepAoaIncrement, InputName::SweepAoaIncrement); }

void ITERATION::VELINC_Change()
{
    takeInput(VELINC, m().SweepVelocityIncrement, InputName::SweepVelocityIncrement);
}

void ITERATION::AOAINITIAL_Change() { takeInput(AOAINITIAL, m().SweepStartAoa, InputName::SweepStartAoa); }

void ITERATION::VINITIAL_Change()
{
    takeInput(VINITIAL, m().SweepStartVelocity, InputName::SweepStartVelocity);
}

// ---- options ----------------------------------------------------------------------------------

void ITERATION::ITERATE_Click(int Index)
{
    if (Index != 0 && Index != 1) return;
    Module1& s = m();
    const bool angle = Index == 0;
    s.AoaSweepSelected = angle ? 1 : 0;
    s.VelocitySweepSelected = angle ? 0 : 1;
    AOAINC->setVisible(angle);
    Label1->setVisible(angle);
    VELINC->setVisible(!angle);
    Label2->setVisible(!angle);
    LVLABEL2->setVisible(!angle);
    s.SweepPlotYScale = 1.0f;
    clearSweep();
}

void ITERATION::PlotOption_Click(int Index)
{
    if (Index < 0 || Index > 3) return;
    Module1& s = m();
    s.SweepPlotQuantity = static_cast<int16_t>(Index + 1);
    BResult->clear();
    s.SweepPlotYScale = 1.0f;
    replot();
}

// ---- Start and Abort --------------------------------------------------------------------------

bool ITERATION::startChecks()
{
    Module1& s = m();
    const bool angle = s.AoaSweepSelected == 1;
    const bool velocity = s.VelocitySweepSelected == 1;
    if (angle && s.SweepStartAoa < 0.5) {
        AOAINITIAL->setText(".5");
        s.SweepStartAoa = 0.5;
        StatusBar1->setPanel(2, "AOA must be equal to or greater than 0.5 degrees.");
        return false;
    }
    const char* refusal = nullptr;
    if (s.SweepAoaIncrement < 0 || (angle && s.SweepAoaIncrement == 0))
        refusal = "AOA Increment must be greater than 0 degrees.";
    else if (s.SweepStartVelocity < 0 || (velocity && s.SweepStartVelocity == 0))
        refusal = "Velocity must be greater than 0.";
    else if (s.SweepVelocityIncrement < 0 || (velocity && s.SweepVelocityIncrement == 0))
        refusal = "Velocity increment must be greater than 0.";
    if (refusal) StatusBar1->setPanel(2, refusal);
    return refusal == nullptr;
}

void ITERATION::setRunning(bool on)
{
    running_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{Command1, MAXLOOPS, AOAINC, VELINC, AOAINITIAL, VINITIAL})
        w->setEnabled(!on);
    for (QRadioButton* b : ITERATE) b->setEnabled(!on);
    for (QRadioButton* b : PlotOption) b->setEnabled(!on);
    for (QAction* a : Toolbar1->actions())
        if (a->objectName() != "HELP" && a->objectName() != "ABOUT") a->setEnabled(!on);
    if (!on) focusBackFromAbort(Abort, Command1);
}

void ITERATION::Command1_Click()
{
    Module1& s = m();
    const bool ran = forms().runCommand(
        "LOOP",
        [this, &s] {
            MainWindow& main = forms().main();
            // The boxes as they read now.
            s.SweepAoaIncrement = qVal(AOAINC->text());
            s.SweepVelocityIncrement = qVal(VELINC->text());
            s.SweepStepCount = qVal(MAXLOOPS->text());
            main.StatusBar1->setPanel(2, QString());
            // The step count as the box shows it, a sweep box whose text is
            // not a number, then the window's own checks of the sweep inputs.
            std::string why = loopCountRefusal(MAXLOOPS->text().toStdString());
            if (why.empty()) why = unreadableInputRefusal(s, {InputGroup::Sweep});
            if (!why.empty()) {
                StatusBar1->setPanel(2, QString::fromStdString(why));
                return;
            }
            if (!startChecks()) return;

            struct Running {
                ITERATION& w;
                explicit Running(ITERATION& w_) : w(w_) { w.setRunning(true); }
                ~Running() { w.setRunning(false); }
            } running(*this);
            clearProgress();

            // The start into the main window, both boxes in every kind.
            main.ROCKETAOA->setText(qFormat(s.SweepStartAoa, "##.###"));
            main.forgetMachWarning();
            main.Velocity->setText(qFormat(s.SweepStartVelocity, "##.###"));
            // The sweep.
            StatusBar1->setPanel(1, "Performing looping CFD analysis.");
            StatusBar1->setPanel(2, QString());
            double steps = s.SweepStepCount;
            lastSweep = LOOPER(steps);
            // The plot of Cd.
            replot();
            PlotOption[0]->setChecked(true);
            // Complete only when every step ran.
            if (lastSweep.outcome == Outcome::Done)
                StatusBar1->setPanel(1, kMsgLoopingComplete);
            else if (lastSweep.stepCount == 0)
                StatusBar1->setPanel(1, kMsgLoopingNotStarted);
            else
                StatusBar1->setPanel(1, QString(kMsgLoopingStopped).arg(lastSweep.stepsStored + 1));
        },
        [&s] {
            s.FlowSolutionStatus = FlowSolutionState::Stale;
            s.FlowSolutionStatusText = FlowSolutionState::Stale;
        });
    if (!ran) forms().showBusyRefusal(StatusBar1, 2);
}

void ITERATION::Abort_Click()
{
    // With no sweep running the window and its status stay as they are.
    if (!running_) return;
    // The warning stands while the box asks, and goes with it.
    StatusBar1->setPanel(2, "By clicking OK the user will terminate CFD and loose all data.");
    const bool ok = MsgBox("CFD Analysis will be terminated.", MsgButtons::OkCancel, "Abort Solution",
                           MsgIcon::Information) == MsgAnswer::Ok;
    StatusBar1->setPanel(2, QString());
    if (ok) {
        m().AbortRequest = AbortFlag::Yes;
        ProgressBar1->setValue(0);
    }
}

void ITERATION::closeEvent(QCloseEvent* e)
{
    // While a sweep runs the window stays: the close asks to abort it.
    if (running_ && !isUnloading()) {
        e->ignore();
        commandBarrier("Abort", [this] { Abort_Click(); });
        return;
    }
    Form::closeEvent(e);
}

void ITERATION::hideEvent(QHideEvent* e)
{
    if (!e->spontaneous() && !running_) clearProgress();
    Form::hideEvent(e);
}

// ---- toolbar ----------------------------------------------------------------------------------

void ITERATION::Toolbar1_ButtonClick(const QString& Key)
{
    Module1& s = m();
    if (showHelpOrAbout(forms(), Key) || running_) return;  // the other keys wait for the sweep
    if (Key == "SCALEDATA") {
        resumeNext([&] {
            s.SweepPlotYScale += 1.0f;
            replot();
        });
    } else if (Key == "RESETSCALE") {
        resumeNext([&] {
            s.SweepPlotYScale = 1.0f;
            replot();
        });
    } else if (Key == "RETURN") {
        resumeNext([this] { Hide(); });
    } else if (Key == "PRNDATA") {
        printTableKey();
    } else if (Key == "PRINT") {
        printImageKey();
    } else if (Key == "RAWDATA") {
        exportKey();
    } else if (Key == "BARROWMANS") {
        double steps = s.SweepStepCount;
        BARROWMANS(steps);
    }
}

// The table of the plotted quantity: a step without a number is left out with
// the message, the others are printed; a printer that fails gives it too.
// With no step stored nothing is printed and panel 1 says so.
// Both print keys go through the print dialog, or to a PDF without a printer.
void ITERATION::printTableKey()
{
    const stability::SweepTable table = stability::sweepTableLines(m());
    if (table.outcome == Outcome::Refused) {
        StatusBar1->setPanel(1, QString::fromStdString(table.message));
        return;
    }
    if (!table.message.empty()) StatusBar1->setPanel(1, QString::fromStdString(table.message));
    QStringList lines;
    for (const std::string& l : table.lines) lines << QString::fromStdString(l);
    const QString title = lines.isEmpty() ? QString() : lines.front().trimmed();
    QString reason;
    const PrintOutcome outcome =
        printThroughDialog(this, StatusBar1, title.isEmpty() ? windowTitle() : title,
                           [&lines](QPrinter& printer, QString* error) { return printTextTable(lines, printer, error); },
                           QStringLiteral("Data Table"), &reason);
    if (outcome == PrintOutcome::Failed) StatusBar1->setPanel(1, withReason(stability::kMsgTableNotPrinted, reason));
}

// The window's image with the plot as drawn.
void ITERATION::printImageKey()
{
    // Picture1 and Picture2 hold labels only; the drawing is DataPlot1's.
    resumeNext([this] { DataPlot1->makePersistent(); });
    QString reason;
    const PrintOutcome outcome = printThroughDialog(
        this, StatusBar1, windowTitle(),
        [this](QPrinter& printer, QString* error) { return printWidgetImage(this, printer, error); },
        QStringLiteral("Page"), &reason);
    if (outcome == PrintOutcome::Failed)
        StatusBar1->setPanel(1, withReason(QStringLiteral("The screen image could not be printed."), reason));
}

// All four quantities to a comma-delimited file, written whole or not at all;
// with no step stored no file is asked for and panel 1 says so.
void ITERATION::exportKey()
{
    const stability::SweepExport e = stability::sweepExportBytes(m());
    if (e.outcome == Outcome::Refused && !e.message.empty()) {
        StatusBar1->setPanel(1, QString::fromStdString(e.message));
        return;
    }
    FileRequest request;
    request.save = true;
    request.title = QStringLiteral("Save Comma-Delimited Sweep Data");
    request.filter = "Text files (*.TXT)|*.TXT";
    request.defaultSuffix = QStringLiteral("TXT");  // so that the filter lists it
    const QString path = ModalSeam::instance().fileDialog(request);
    if (path.isEmpty()) return;
    if (e.outcome == Outcome::Refused) return;  // no sweep kind: the file is not touched
    const bool saved = e.outcome == Outcome::Done && saveWholeFile(path, e.bytes);
    // The export ran the data step of each quantity; the plot shows the
    // user's again (which empties panel 1).
    replot();
    StatusBar1->setPanel(1, saved ? QString(kMsgExportSaved).arg(QDir::toNativeSeparators(path))
                                  : QString(stability::kMsgExportNotSaved));
}

} // namespace velmora
