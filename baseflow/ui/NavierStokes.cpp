#include "baseflow/ui/NavierStokes.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

#include "model/InputRange.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "baseflow/BaseDrag.h"
#include "baseflow/BaseFlow.h"
#include "baseflow/BaseFlowDisplay.h"
#include "bodyflow/ui/MeshPainter.h"
#include "platform/ui/WindowWriter.h"
#include "model/Vocabulary.h"
#include "platform/Constants.h"
#include "platform/SequentialFile.h"
#include "platform/ui/Build.h"
#include "platform/ui/WholeFile.h"

namespace velmora {

using namespace baseflow;

namespace {

const char* const kNoPlot = "No Mesh or Velocity Plot Defined";
const char* const kAbortWarning = "By clicking OK the user will terminate CFD and loose all data.";
const char* const kSaveError = "An Error Saving The File.";

QRgb colourOfLong(long c) { return PictureBox::rgbFromLong(c); }

// Controls disabled for the life of a run.
class SolvingScope {
public:
    SolvingScope(NavierStokes* w, std::function<void(bool)> set) : w_(w), set_(std::move(set)) { set_(true); }
    ~SolvingScope()
    {
        if (w_) set_(false);
    }
    SolvingScope(const SolvingScope&) = delete;
    SolvingScope& operator=(const SolvingScope&) = delete;

private:
    QPointer<NavierStokes> w_;
    std::function<void(bool)> set_;
};

} // namespace

NavierStokes::NavierStokes(Forms& forms) : Form(forms, "NavierStokes", "Base Flow CFD Analysis")
{
    CommonDialog1.save = true;
    CommonDialog1.title = "Save Base Flow Field Data";
    CommonDialog1.filter = "Text files (*.TXT)|*.TXT";
    CommonDialog1.defaultSuffix = QStringLiteral("TXT");  // a name typed without one is saved as .TXT

    auto* lay = new QVBoxLayout(this);

    mnuAboutVelmora = buildWindowMenus(this, lay, &NavierStokes::mnuAboutVelmora_Click);
    buildToolbar(this, lay, "Base flow toolbar",
                 {kMeshingKey,
                  {"SOLVE", "Solve base drag using Navier Stokes CFD solution."},
                  {"HELP", "Base drag CFD instructions and help."},
                  kAboutKey, kReturnToMainKey},
                 toolbarIcon);

    // Inputs and results on the left, the pictures on the right (under them
    // on a screen too small for both side by side).
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    lay->addLayout(new BesideLayout(left, nullptr, right, BesideLayout::Stretch::Side), 1);

    // ---- left: inputs and results ----
    // Every unit label is as wide as the longest unit any system gives it.
    int unitWidth = 0;
    for (const char* system : {UnitsSystem::FPS, UnitsSystem::IPS, UnitsSystem::MNS}) {
        const UnitLabels u = *unitLabelsFor(system);
        for (const char* t : {u.thrust, u.burnTime, u.weight, u.nozzle, u.jetVelocity, u.jetPressure, u.isp,
                              u.velocity, u.viscosity})
            unitWidth = std::max(unitWidth, fontMetrics().horizontalAdvance(QString::fromLatin1(t) + ' '));
    }
    // A frame of boxes, a row each: caption, box and, where it has one, unit.
    struct Row {
        TextBox** box;
        const char* name;
        const char* caption;
        const char* tip;
        const char* pattern;
        QLabel** unit = nullptr;
        const char* unitName = nullptr;
        const char* unitText = nullptr;
    };
    // The frames of one column line up: one caption width, one box width,
    // the room to spare on the right.
    struct Column {
        std::vector<QLineEdit*> boxes;
        std::vector<QGridLayout*> grids;
    };
    auto boxFrame = [this, unitWidth](Column& column, const char* name, const char* title, bool readOnly,
                                      std::initializer_list<Row> rows) {
        auto* frame = named(new QGroupBox(title, this), name, title);
        auto* grid = new QGridLayout(frame);
        int r = 0;
        for (const Row& row : rows) {
            TextBox* box = *row.box = makeBox(frame, row.name, row.caption, QString(), readOnly);
            box->setToolTip(row.tip);
            fitToPattern(box, row.pattern);
            QLabel* unit = nullptr;
            if (row.unit) {
                unit = *row.unit = makeLabel(this, row.unitName, row.unitText);
                unit->setMinimumWidth(unitWidth);
            }
            addRow(grid, r++, row.caption, box, unit);
            column.boxes.push_back(box);
        }
        grid->setColumnStretch(3, 1);
        column.grids.push_back(grid);
        return frame;
    };
    auto lineUp = [](const Column& column) { lineUpColumn(column.boxes, column.grids); };
    Column leftColumn, flightColumn;

    auto* lists = new QGridLayout;
    GRID = makeList(this, "GRID", "Grid points in X and Y directions:");
    GRID->setPickOnly(true);
    ITMAX = makeList(this, "ITMAX", "Maximum number of iterations:");
    ITMAX->setPickOnly(true);
    addRow(lists, 0, "Grid points in X and Y directions:", GRID);
    addRow(lists, 1, "Maximum number of iterations:", ITMAX);
    left->addLayout(lists);

    MotorFrame = boxFrame(leftColumn, "MotorFrame", "Rocket Motor", false, {
        {&THRUST, "THRUST", "Average thrust:", "Average rocket thrust.", kPatternNozzle, &Tlabel, "Tlabel", "LB"},
        {&BURNTIME, "BURNTIME", "Motor burn time:", "Rocket motor burn time.", kPatternNozzle, &Blabel, "Blabel",
         "SEC"},
        {&JETDIAMETER, "JETDIAMETER", "Nozzle diameter:", "Rocket motor nozzle exit diameter.", kPatternNozzle,
         &Nlabel, "Nlabel", "FT"},
        {&FUELWT, "FUELWT", "Propellant mass:", "Propellant mass.", kPatternNozzle, &Wlabel, "Wlabel", "LB"},
    });
    left->addWidget(MotorFrame);
    MotorResults = boxFrame(leftColumn, "MotorResults", "Rocket Motor Results", true, {
        {&IspBase, "IspBase", "Isp:", "Rocket motor specific impulse [Thrust*Time/Propellant weight].", kPatternIsp,
         &Isplabel, "Isplabel", "SEC"},
        {&UJETBase, "UJETBase", "U-Jet:", "Rocket motor exhaust velocity.", kPatternJetVelocity, &UJETlabel,
         "UJETlabel", VelocityUnit::FtPerSec},
        {&PjetBase, "PjetBase", "P-Jet:", "Rocket motor exhaust pressure [1 atm].", kPatternJetPressure, &Pjetlabel,
         "Pjetlabel", "LB/FT^2"},
    });
    left->addWidget(MotorResults);
    FlightFrame = boxFrame(flightColumn, "FlightFrame", "Flight Condition", true, {
        {&UINFIN, "UINFIN", "Rocket velocity:", "Rocket velocity in flight.", "#####.#", &Vlabel, "Vlabel", VelocityUnit::FtPerSec},
        {&AMUIN, "AMUIN", "Viscosity:", "Kinematic viscosity.", ".#########", &Vislabel, "Vislabel", "FT^2/SEC"},
    });
    FlowResults = boxFrame(leftColumn, "FlowResults", "Base Flow Results", true, {
        {&REYNOLDS, "REYNOLDS", "Base Re:", "Reynolds Number referenced to base diameter.", kPatternReynolds},
        {&TimeStep, "TimeStep", "Time step:", "Time step for dynamic stability.", kPatternTimeStep},
        {&CONVERGE, "CONVERGE", "Residual:", "Convergence criterion.", kPatternResidual},
        {&BaseCd, "BaseCd", "Base drag Cd:", "Average pressure coefficient on base of rocket.", kPatternBaseCd},
    });
    left->addWidget(FlowResults);
    lineUp(leftColumn);
    lineUp(flightColumn);

    auto* run = new QHBoxLayout;
    Solve = makeButton(this, "Solve", "Solve", "Solve base drag using Navier Stokes CFD.");
    Abort = makeButton(this, "Abort", "Abort",
                       "Abort base flow CFD. Abort is delayed until completion of current iteration.");
    run->addWidget(Solve);
    run->addWidget(Abort);
    left->addStretch(1);

    // ---- right: the pictures and their controls ----
    right->addWidget(makeLabel(this, "PlotTitle", "Mesh/Velocity Plot"));
    PLOT = named(new PictureBox(this), "PLOT", "Mesh/Velocity Plot");
    PLOT->setToolTip("Velocity and contour plot of upper half of flow.");
    PLOT->setMinimumSize(480, 240);
    // The domain is twice as long as high.
    PLOT->setHeightForWidthRatio(0.5);
    VelocityPlots = makePictureNotice(PLOT, "VelocityPlots", kNoPlot);
    // The legend strip as high as the plot, its range beside it.
    auto* plot = new PlotLayout(PLOT, Qt::AlignLeft | Qt::AlignTop);
    MAX = makeValueLabel(this, "MAX", "Largest velocity of the plot");
    MIN = makeValueLabel(this, "MIN", "Smallest velocity of the plot");
    const int readout = QFontMetrics(MAX->font()).horizontalAdvance(widestPatternText(kPatternVelocityMax)) + 4;
    for (QLabel* l : {MAX, MIN}) l->setMinimumWidth(readout);
    LEVELS = named(new PictureBox(this), "LEVELS", "Contour legend");
    LEVELS->setFixedWidth(26);
    plot->addStrip(LEVELS, Qt::RightEdge, 0);
    plot->addBeside(makeLabel(this, "MaxCaption", "V-MAX"), Qt::RightEdge, 1, 0, PlotLayout::Anchor::Inside);
    plot->addBeside(MAX, Qt::RightEdge, 1, 0, PlotLayout::Anchor::Inside, 1);
    plot->addBeside(MIN, Qt::RightEdge, 1, 1, PlotLayout::Anchor::Inside, -1);
    plot->addBeside(makeLabel(this, "MinCaption", "V-MIN"), Qt::RightEdge, 1, 1, PlotLayout::Anchor::Inside);
    right->addLayout(plot, 3);

    // The plot keys in one row and the spinners under them, each at its own
    // width; the room left stays at the right.
    auto* plotKeys = new QHBoxLayout;
    auto* spinners = new QHBoxLayout;
    GridPlot = makeButton(this, "GridPlot", "Mesh", "View MESH without performing CFD.");
    VCONTOUR = makeButton(this, "VCONTOUR", "Contours", "Plot velocity contours of base flow.");
    Vector = makeButton(this, "Vector", "Vectors", "Plot velocity vectors of base flow.");
    Command1 = makeButton(this, "Command1", "Clear Plots");
    Vscale = makeBox(this, "Vscale", "Vector Scale");
    fitToPattern(Vscale, "##.#####");
    UpDown1 = named(new UpDownSpinner(1, 1000, 1, 1, this), "UpDown1", "Vector Scale spinner");
    UpDown1->setToolTip("Increase size of velocity vectors.");
    UpDown1->nameKeys("Vector scale");
    NLEVELS = makeBox(this, "NLEVELS", "Levels < 101");
    fitToPattern(NLEVELS, "###");
    UpDown2 = named(new UpDownSpinner(3, 100, 1, 3, this), "UpDown2", "Levels spinner");
    UpDown2->setToolTip("Modify the number of levels displayed in contour plot.");
    UpDown2->nameKeys("Contour levels");
    UpDown3 = named(new UpDownSpinner(1, 10, 1, 1, this), "UpDown3", "Skip");
    UpDown3->setToolTip("Increase horizontal spacing between columns of velocity vectors.");
    UpDown3->nameKeys("Vector column skip");
    Vskip = makeBox(this, "Vskip", "Skip", "1", true);
    fitToPattern(Vskip, "##");
    for (QWidget* key : std::initializer_list<QWidget*>{GridPlot, VCONTOUR, Vector, Command1}) plotKeys->addWidget(key);
    plotKeys->addStretch(1);
    auto spinRow = [](QWidget* box, QWidget* spin, QLabel* label) {
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(spin);
        row->addWidget(label);
        return row;
    };
    spinners->addLayout(spinRow(Vscale, UpDown1, makeLabel(this, "VscaleCaption", "Vector Scale")));
    spinners->addSpacing(12);
    spinners->addLayout(spinRow(NLEVELS, UpDown2, makeLabel(this, "NLEVELSCaption", "Levels < 101")));
    spinners->addSpacing(12);
    spinners->addLayout(spinRow(Vskip, UpDown3, makeLabel(this, "UpDown3Caption", "Skip")));
    spinners->addStretch(1);
    right->addLayout(plotKeys);
    right->addLayout(spinners);

    // The convergence history beside the flight condition and the run keys.
    auto* lower = new QHBoxLayout;
    auto* history = new QVBoxLayout;
    history->addWidget(makeLabel(this, "ResidualTitle", "Convergence Plot"));
    RESIDUAL = named(new PictureBox(this), "RESIDUAL", "Convergence Plot");
    // The history grows with the window; the keys beside it keep the width
    // of the flight condition above them.
    RESIDUAL->setMinimumSize(320, 150);
    RESIDUAL->setDesignSize(QSize(320, 150));
    RESIDUAL->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    history->addWidget(RESIDUAL, 1);
    lower->addLayout(history, 1);
    auto* runColumn = new QVBoxLayout;
    runColumn->addWidget(FlightFrame);
    runColumn->addLayout(run);
    runColumn->addStretch(1);
    lower->addLayout(runColumn);
    right->addLayout(lower, 1);

    // ---- progress and status ----
    ProgressBar1 = addProgressRow(this, lay, makeLabel(this, "ProgressCaption", "CFD/Plotting Progress"));
    buildStatusBar(this, *this, 3, lay);

    // ---- handlers ----
    onCommand(Solve, &QPushButton::clicked, this, [this] { Solve_Click(); });
    onCommand(Abort, &QPushButton::clicked, this, [this] { Abort_Click(); });
    onCommand(GridPlot, &QPushButton::clicked, this, [this] { GridPlot_Click(); });
    onCommand(VCONTOUR, &QPushButton::clicked, this, [this] { VCONTOUR_Click(); });
    onCommand(Vector, &QPushButton::clicked, this, [this] { Vector_Click(); });
    onCommand(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    onCommand(GRID, &ComboBox::clicked, this, [this] { GRID_Click(); });
    onCommand(ITMAX, &ComboBox::clicked, this, [this] { ITMAX_Click(); });
    THRUST->onChange([this] { THRUST_Change(); });
    BURNTIME->onChange([this] { BURNTIME_Change(); });
    FUELWT->onChange([this] { FUELWT_Change(); });
    JETDIAMETER->onChange([this] { JETDIAMETER_Change(); });
    AMUIN->onChange([this] { AMUIN_Change(); });
    Vscale->onChange([this] { Vscale_Change(); });
    NLEVELS->onChange([this] { NLEVELS_Change(); });
    UpDown1->onChange([this] { UpDown1_Change(); });
    UpDown2->onChange([this] { UpDown2_Change(); });
    UpDown3->onChange([this] { UpDown3_Change(); });
    // The controls the computations write to.
    registerControls({{ControlId::NavierStokes_BaseCd, BaseCd},
                      {ControlId::NavierStokes_UJETBase, UJETBase},
                      {ControlId::NavierStokes_IspBase, IspBase},
                      {ControlId::NavierStokes_PjetBase, PjetBase},
                      {ControlId::NavierStokes_REYNOLDS, REYNOLDS},
                      {ControlId::NavierStokes_CONVERGE, CONVERGE},
                      {ControlId::NavierStokes_TimeStep, TimeStep}});
}

// ---- load ---------------------------------------------------------------------------------------

void NavierStokes::Form_Load()
{
    Module1& s = m();
    // Flags and grid.
    s.ContourLevelsUserSet = 0;
    s.BaseFlowStatus = BaseFlowSolutionState::Stale;
    s.AbortRequest = AbortFlag::No;
    s.BaseGridPointsX = 50;
    s.BaseGridPointsY = 25;
    s.BaseShoulderIndex = static_cast<int16_t>(s.BaseGridPointsY / 5);
    s.BaseFlowMaxIterations = 50;
    s.DeltaT = 0.001;
    s.BaseFlowVectorSkip = 1;
    // Lists.
    GRID->setText("50X25");
    for (const BaseFlowGridSize& g : kGridSizes) GRID->AddItem(g.text);
    ITMAX->setText("50");
    for (int n : kIterationLimits) ITMAX->AddItem(QString::number(n));
    // Scale and levels; the boxes' handlers store them again and set both flags.
    s.BaseFlowVectorScale = 1.0f;
    s.BaseFlowContourLevels = 20;
    Vscale->setText(qFormat(s.BaseFlowVectorScale, ".###"));
    NLEVELS->setText(qFormat(s.BaseFlowContourLevels, "###"));
    // Motor.
    s.Pi = kPi;
    s.MotorAverageThrust = s.MotorBurnTime = s.NozzleExitDiameter = s.PropellantWeight = 0;
    for (TextBox* b : {THRUST, BURNTIME, FUELWT, JETDIAMETER}) b->setText("0.0");
    // Base diameter and domain.
    setBaseDiameterAndDomain(s);
    // Unit labels.
    if (const auto u = unitLabelsFor(s.AnalysisUnits)) {
        Tlabel->setText(u->thrust);
        Blabel->setText(u->burnTime);
        Wlabel->setText(u->weight);
        Nlabel->setText(u->nozzle);
        UJETlabel->setText(u->jetVelocity);
        Pjetlabel->setText(u->jetPressure);
        Isplabel->setText(u->isp);
        Vlabel->setText(u->velocity);
        Vislabel->setText(u->viscosity);
    }
}

// ---- SOLVE --------------------------------------------------------------------------------------

void NavierStokes::Solve_Click() { solveCommand(); }

void NavierStokes::solveCommand()
{
    if (solving_) return;
    if (!forms().runCommand("Base flow CFD", [this] { runSolve(); }))
        forms().showBusyRefusal(StatusBar1, 3);
    // The results frame and the convergence history beside it.
    bringIntoView(FlowResults, RESIDUAL);
}

void NavierStokes::runSolve()
{
    Module1& s = m();
    // A current main solution, and inputs the base-flow model holds for; a
    // refusal leaves nothing of an earlier run standing.
    const double velocity = s.FreeStreamVelocity;
    std::string why = s.MainFlowStateCopy == FlowSolutionState::Stale ? kMsgPerformMainCfd
                                                                      : baseFlowRefusal(s, velocity);
    if (!why.empty()) {
        dropResults();
        StatusBar1->setPanel(3, QString::fromStdString(refusalText(std::move(why))));
        return;
    }
    // Results and pictures emptied.
    for (TextBox* b : {BaseCd, UJETBase, IspBase, PjetBase}) b->setText(QString());
    PLOT->clear();
    LEVELS->clear();
    RESIDUAL->clear();
    MAX->clear();
    MIN->clear();
    VelocityPlots->show();
    // The convergence grid.
    RESIDUAL->setScale(0, 1000, 500, 0);
    drawStrokes(RESIDUAL, convergenceBackground());
    // The chain, with every control but Abort, HELP and ABOUT locked.
    s.AbortRequest = AbortFlag::No;
    SolvingScope lock(this, [this](bool on) { setSolving(on); });
    WaitCursor wait;
    WindowProgress progress(StatusBar1, ProgressBar1);
    MainWindow& main = forms().main();
    WindowProgress mainProgress(main.StatusBar1, main.ProgressBar1);
    ConvergenceTrace trace(s.BaseFlowMaxIterations);
    const IterationObserver live = [this, &trace](const IterationStep& step) {
        CONVERGE->setText(qFormat(step.residual, kPatternResidual));
        if (step.last) return;
        if (const auto segment = trace.next(step)) paintStroke(RESIDUAL, *segment);
        TimeStep->setText(qFormat(step.timeStep, kPatternTimeStep));
    };
    const float mainBaseDrag = s.BaseDragCoefficient;
    const ChainReport chain = solveBaseFlow(s, velocity, progress, mainProgress, live);
    applyWindowWrites(forms(), chain.writes);
    if (chain.published && !mainBaseDrag_) mainBaseDrag_ = mainBaseDrag;
    if (chain.outcome == Outcome::Refused) dropResults();
    if (chain.run.offerOutputFile) OUTPT();
}

void NavierStokes::setSolving(bool on)
{
    solving_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{GRID, ITMAX, THRUST, BURNTIME, JETDIAMETER, FUELWT, Solve,
                                                      GridPlot, Command1, VCONTOUR, Vector, Vscale, UpDown1, NLEVELS,
                                                      UpDown2, UpDown3})
        w->setEnabled(!on);
    for (QAction* a : Toolbar1->actions()) {
        const QString key = a->objectName();
        if (key == "MESHING" || key == "SOLVE" || key == "RETURN") a->setEnabled(!on);
    }
    mnuPrintPage->setEnabled(!on);
    mnuClose->setEnabled(!on);
    if (!on) focusBackFromAbort(Abort, Solve);
}

void NavierStokes::closeEvent(QCloseEvent* e)
{
    // The title-bar close during a run asks to abort it.
    if (solving_) {
        e->ignore();
        commandBarrier("Abort", [this] { Abort_Click(); });
        return;
    }
    Form::closeEvent(e);
}

void NavierStokes::Abort_Click()
{
    // With no solution running the window and its status (a converged run's
    // message, say) stay as they are.
    if (!solving_) return;
    // The warning stands while the box asks, and goes with it.
    StatusBar1->setPanel(3, kAbortWarning);
    const bool ok = MsgBox("Base Flow Analysis will be terminated.", MsgButtons::OkCancel, "Abort Solution",
                           MsgIcon::Information) == MsgAnswer::Ok;
    StatusBar1->setPanel(3, QString());
    if (ok) m().AbortRequest = AbortFlag::Yes;
}

// ---- results that no longer hold ----------------------------------------------------------------

void NavierStokes::inputChanged()
{
    // A run notices its own inputs changing and keeps nothing.
    if (solving_) return;
    dropResults();
}

void NavierStokes::dropResults()
{
    Module1& s = m();
    for (TextBox* b : {IspBase, UJETBase, PjetBase, REYNOLDS, TimeStep, CONVERGE, BaseCd}) b->setText(QString());
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(2, QString());
    const QString said = StatusBar1->panel(3);
    if (said == kMsgConverged || said == kMsgNotConverged) StatusBar1->setPanel(3, QString());
    if (s.BaseFlowStatus != BaseFlowSolutionState::Stale) {
        // The flow pictures showed the solution.
        PLOT->clear();
        LEVELS->clear();
        MAX->clear();
        MIN->clear();
        VelocityPlots->show();
    }
    RESIDUAL->clear();
    s.BaseFlowStatus = BaseFlowSolutionState::Stale;
    if (!mainBaseDrag_) return;
    // The main drag goes back to its own base drag.
    MainWindow& main = forms().main();
    WindowProgress mainProgress(main.StatusBar1, main.ProgressBar1);
    mainProgress.setPumpInterval(std::nullopt);  // a change handler lets no events run
    if (main.StatusBar1->panel(2) == kMsgBaseDragAdded) main.StatusBar1->setPanel(2, QString());
    const BaseDragReport back = withdrawBaseDrag(s, *mainBaseDrag_, s.FreeStreamVelocity, mainProgress);
    applyWindowWrites(forms(), back.writes);
    mainBaseDrag_.reset();
}

// ---- output file --------------------------------------------------------------------------------

void NavierStokes::OUTPT()
{
    const QString name = ModalSeam::instance().fileDialog(CommonDialog1);
    if (name.isEmpty()) return;
    bool saved = false;
    {
        WaitCursor wait;
        SequentialWriter out;
        for (const OutputRecord& r : baseflow::OUTPT(m())) {
            if (r.isHeading()) out.quoted(r.heading);
            else out.bare(plainNumberText(r.y)).bare(plainNumberText(r.value));
            out.endLine();
        }
        saved = !out.failed() && saveWholeFile(name, out.bytes());
    }
    if (!saved) MsgBox(kSaveError, MsgButtons::OkOnly);
}

// ---- lists and motor boxes ----------------------------------------------------------------------

QString NavierStokes::gridText() const
{
    const Module1& s = const_cast<NavierStokes*>(this)->m();
    return QStringLiteral("%1X%2").arg(s.BaseGridPointsX).arg(s.BaseGridPointsY);
}

void NavierStokes::GRID_Click()
{
    Module1& s = m();
    if (solving_) {
        // The run keeps the grid it started with.
        GRID->setText(gridText());
        return;
    }
    if (const auto g = gridSizeOf(GRID->Text().toStdString())) {
        s.BaseGridPointsX = static_cast<int16_t>(g->nx);
        s.BaseGridPointsY = static_cast<int16_t>(g->ny);
    }
    dropResults();
    PLOT->clear();
    s.BaseShoulderIndex = static_cast<int16_t>(s.BaseGridPointsY / 5);
    double v = s.FreeStreamVelocity;
    PlotGrid(v);
    s.BaseFlowStatus = BaseFlowSolutionState::Stale;
}

void NavierStokes::ITMAX_Click()
{
    Module1& s = m();
    if (solving_) {
        ITMAX->setText(QString::number(s.BaseFlowMaxIterations));
        return;
    }
    const QString t = ITMAX->Text();
    for (int n : kIterationLimits)
        if (t == QString::number(n)) s.BaseFlowMaxIterations = static_cast<int16_t>(n);
    dropResults();
}

void NavierStokes::THRUST_Change()
{
    m().MotorAverageThrust = typedValue(m(), InputName::Thrust, THRUST->text().toStdString());
    inputChanged();
}

void NavierStokes::BURNTIME_Change()
{
    m().MotorBurnTime = typedValue(m(), InputName::BurnTime, BURNTIME->text().toStdString());
    inputChanged();
}

void NavierStokes::FUELWT_Change()
{
    m().PropellantWeight = typedValue(m(), InputName::Propellant, FUELWT->text().toStdString());
    inputChanged();
}

// Taken as typed: SOLVE refuses a nozzle wider than the base.
void NavierStokes::JETDIAMETER_Change()
{
    m().NozzleExitDiameter = typedValue(m(), InputName::NozzleDiameter, JETDIAMETER->text().toStdString());
    inputChanged();
}

// ---- plots --------------------------------------------------------------------------------------

void NavierStokes::drawStrokes(PictureBox* picture, const std::vector<MeshStroke>& strokes)
{
    PictureBox::Batch batch(picture);
    for (const MeshStroke& st : strokes) paintStroke(picture, st);
}

void NavierStokes::PlotGrid(double& velocity)
{
    (void)velocity;
    Module1& s = m();
    if (s.BaseFlowDomainLength == 0 || s.BaseFlowDomainHeight == 0) {
        StatusBar1->setPanel(3, kMsgEnterDimensions);
        return;
    }
    StatusBar1->setPanel(3, kMsgMeshShown);
    WaitCursor wait;
    VelocityPlots->hide();
    const auto strokes = gridStrokes(s);
    if (!strokes) {
        StatusBar1->setPanel(3, kMsgEnterDimensions);
        return;
    }
    PLOT->setScale(0, 500, 500, 0);
    drawStrokes(PLOT, *strokes);
    StatusBar1->setPanel(3, kMsgPlotComplete);
}

namespace {
// The plots of a solution refuse without one, or without the flow data.
bool plotRefused(const Module1& s, double velocity, StatusBar* bar)
{
    if (s.BaseFlowStatus == BaseFlowSolutionState::Stale) {
        bar->setPanel(3, kMsgPerformCfdFirst);
        return true;
    }
    if (s.BaseFlowDomainLength == 0 || s.BaseFlowDomainHeight == 0 || velocity == 0 || s.DeltaT == 0 ||
        s.KinematicViscosity == 0) {
        bar->setPanel(3, kMsgMissingData);
        return true;
    }
    return false;
}
} // namespace

void NavierStokes::VectorPlot(double& velocity)
{
    Module1& s = m();
    if (s.VectorScaleUserSet == 0) s.BaseFlowVectorScale = 1.0f;
    if (plotRefused(s, velocity, StatusBar1)) return;
    StatusBar1->setPanel(3, kMsgVectorsInProgress);
    WaitCursor wait;
    VelocityPlots->hide();
    PLOT->clear();
    PLOT->setScale(0, 500, 500, 0);
    const BaseVectorPlot plot = vectorStrokes(s, velocity);
    drawStrokes(PLOT, plot.vectors);
    drawStrokes(PLOT, plot.wall);
    StatusBar1->setPanel(3, kMsgPlotComplete);
}

void NavierStokes::VCONTOUR_Click()
{
    Module1& s = m();
    double v = s.FreeStreamVelocity;
    // The mesh step refreshes the node tables and the scale; its drawing goes.
    PlotGrid(v);
    PLOT->clear();
    if (s.ContourLevelsUserSet == 0) s.BaseFlowContourLevels = 20;
    const int n = s.BaseFlowContourLevels;
    if (plotRefused(s, v, StatusBar1)) return;
    if (n > 100) {
        MsgBox(kMsgTooManyLevels, MsgButtons::OkOnly, kTitleTooManyLevels);
        return;
    }
    if (n < 3) {
        MsgBox(kMsgTooFewLevels, MsgButtons::OkOnly, kTitleTooFewLevels);
        return;
    }
    StatusBar1->setPanel(3, kMsgContoursInProgress);
    WaitCursor wait;
    VelocityPlots->hide();
    const BaseContourPlot plot = speedContours(s, n);

    PLOT->clear();
    LEVELS->clear();
    PLOT->setScale(0, 500, 500, 0);
    const int cells = static_cast<int>(plot.cells.size());
    ProgressBar1->setVisible(true);
    ProgressBar1->setRange(1, std::max(1, cells));
    ProgressBar1->setValue(1);
    {
        PictureBox::Batch field(PLOT);
        int k = 0;
        // The bar moves when a user can see it move.
        QElapsedTimer shown;
        shown.start();
        for (const BaseContourCell& c : plot.cells) {
            const auto& p = c.corners;
            PLOT->polygon({{p[0], p[1]}, {p[2], p[3]}, {p[4], p[5]}, {p[6], p[7]}}, colourOfLong(c.colour));
            ++k;
            if (k == cells || shown.elapsed() >= WindowProgress::kBarInterval.count()) {
                ProgressBar1->setValue(k);
                shown.restart();
            }
        }
        ProgressBar1->setValue(1);
        for (const MeshStroke& st : plot.wall) paintStroke(PLOT, st);
    }

    LEVELS->setScale(0, 500, 50, 0);
    {
        PictureBox::Batch legend(LEVELS);
        for (const LegendBand& b : plot.legend) LEVELS->box(0, b.y1, 50, b.y2, colourOfLong(b.colour), true);
    }
    MAX->setText(qFormat(plot.shownMax, kPatternVelocityMax));
    MIN->setText("0.0");
    StatusBar1->setPanel(3, kMsgPlotComplete);
}

void NavierStokes::GridPlot_Click()
{
    double v = m().FreeStreamVelocity;
    PlotGrid(v);
}

void NavierStokes::Vector_Click()
{
    double v = m().FreeStreamVelocity;
    VectorPlot(v);
}

void NavierStokes::Vscale_Change()
{
    Module1& s = m();
    s.BaseFlowVectorScale = vectorScaleOf(qVal(Vscale->text()));
    s.VectorScaleUserSet = 1;
    PLOT->clear();
}

void NavierStokes::NLEVELS_Change()
{
    Module1& s = m();
    s.BaseFlowContourLevels = levelCountOf(qVal(NLEVELS->text()));
    s.ContourLevelsUserSet = 1;
    PLOT->clear();
}

void NavierStokes::UpDown1_Change()
{
    Module1& s = m();
    s.BaseFlowVectorScale = vectorScaleOf(UpDown1->value() * 0.001);
    s.VectorScaleUserSet = 1;
    double v = s.FreeStreamVelocity;
    PlotGrid(v);
    PLOT->clear();
    Vscale->setText(qFormat(s.BaseFlowVectorScale, "##.#####"));
    VectorPlot(v);
}

void NavierStokes::UpDown2_Change()
{
    Module1& s = m();
    s.BaseFlowContourLevels = static_cast<int16_t>(UpDown2->value());
    s.ContourLevelsUserSet = 1;
    PLOT->clear();
    NLEVELS->setText(qFormat(s.BaseFlowContourLevels, "###"));
}

void NavierStokes::UpDown3_Change()
{
    Module1& s = m();
    s.BaseFlowVectorSkip = static_cast<int16_t>(UpDown3->value());
    Vskip->setText(QString::number(s.BaseFlowVectorSkip));
    double v = s.FreeStreamVelocity;
    PlotGrid(v);
    PLOT->clear();
    VectorPlot(v);
}

void NavierStokes::Command1_Click()
{
    PLOT->clear();
    LEVELS->clear();
    RESIDUAL->clear();
    VelocityPlots->show();
    MAX->clear();
    MIN->clear();
}

// ---- menus and toolbar --------------------------------------------------------------------------

void NavierStokes::mnuPrintPage_Click()
{
    printWithPictures(this, StatusBar1, {PLOT, LEVELS, RESIDUAL});
}

void NavierStokes::mnuClose_Click() { Hide(); }

void NavierStokes::mnuInstructions_Click() { forms().showModal("BaseFlowHelp"); }

void NavierStokes::mnuAboutVelmora_Click() { forms().showModal("AboutVelmora"); }

void NavierStokes::Toolbar1_ButtonClick(const QString& Key)
{
    if (solving_ && (Key == "MESHING" || Key == "SOLVE" || Key == "RETURN")) return;
    if (Key == "MESHING") {
        resumeNext([this] { GridPlot_Click(); });
    } else if (Key == "SOLVE") {
        resumeNext([this] { solveCommand(); });
    } else if (Key == "HELP") {
        resumeNext([this] { mnuInstructions_Click(); });
    } else if (Key == "ABOUT") {
        resumeNext([this] { mnuAboutVelmora_Click(); });
    } else if (Key == "RETURN") {
        resumeNext([this] { Hide(); });
    }
}

} // namespace velmora
