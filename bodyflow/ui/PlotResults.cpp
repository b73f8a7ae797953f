#include "bodyflow/ui/PlotResults.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "bodyflow/Grid.h"
#include "model/Vocabulary.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "bodyflow/FlowPlots.h"
#include "bodyflow/ui/MeshPainter.h"
#include "platform/Checked.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "platform/ui/Build.h"

namespace velmora {

namespace {
const char* const kPlotComplete = "Plot complete.";
const char* const kLevelTip = "Number of increments between minimum and maximum values.";
const char* const kSpinnerTip = "Modify the number of levels displayed in contour plot.";

void refuseStaleFlow()
{
    MsgBox("PLEASE PERFORM CFD ANALYSIS", MsgButtons::OkOnly, "CFD ANALYSIS REQUIRED");
}

// True, after telling the user to solve first, while the flow is stale.
bool staleFlowRefused(const Module1& s)
{
    if (s.FlowSolutionStatus != FlowSolutionState::Stale) return false;
    refuseStaleFlow();
    return true;
}

// The grid and tables of a solution; nothing, after the same refusal, when
// none has been computed yet.
std::optional<PlotGrid> solvedGrid(const Module1& s)
{
    auto grid = plotGrid(s);
    if (!grid) refuseStaleFlow();
    return grid;
}

QRgb colourOfLong(long c) { return PictureBox::rgbFromLong(c); }

// The profile's least width, beside the field at its least height.
constexpr int kProfileWidth = 98;
} // namespace

// ---- window -------------------------------------------------------------------------------------

PlotResults::PlotResults(Forms& forms) : Form(forms, "PlotResults", "Flow Visualization - Plot CFD Results")
{
    auto* lay = new QVBoxLayout(this);

    mnuAboutVelmora = buildWindowMenus(this, lay, &PlotResults::mnuAboutVelmora_Click);
    buildToolbar(this, lay, "Plot toolbar", {kMeshingKey, kHelpKey, kAboutKey, kReturnToMainKey}, toolbarIcon);

    // The three pictures side by side, one height: the flow field, the legend
    // strip and the profile, each with its read-outs.
    auto* pictures = new QHBoxLayout;
    auto* field = new QVBoxLayout;
    VelocityPlot = named(new PictureBox(this), "VelocityPlot", "Flow field plot");
    // Drawn at 580 x 290 where the screen has room; it shrinks so that the
    // window fits the width of a small screen without scrolling sideways.
    VelocityPlot->setMinimumSize(480, 240);
    VelocityPlot->setDesignSize(QSize(580, 290));
    // The flow domain is drawn twice as wide as high, at any window size.
    VelocityPlot->setHeightForWidthRatio(0.5);
    NoMeshDefined = makePictureNotice(VelocityPlot, "NoMeshDefined", "Generate New Plot");
    Slider1 = named(new QSlider(Qt::Horizontal, this), "Slider1", "Profile location");
    Slider1->setRange(0, 100);
    Slider1->setToolTip("Select location for Velocity/Pressure Profile plot.");
    // The legend strip as high as the plot, its range and quantity beside it.
    auto* plot = new PlotLayout(VelocityPlot, Qt::AlignRight | Qt::AlignTop);
    LEVELS = named(new PictureBox(this), "LEVELS", "Contour legend");
    LEVELS->setFixedWidth(26);
    plot->addStrip(LEVELS, Qt::RightEdge, 0);
    MAX = makeBox(this, "MAX", "Plot maximum", QString(), true);
    PlotLabel = makeBox(this, "PlotLabel", "Plot quantity", QString(), true);
    UnitsLabel = makeBox(this, "UnitsLabel", "Plot unit", QString(), true);
    MIN = makeBox(this, "MIN", "Plot minimum", QString(), true);
    for (TextBox* b : {MAX, PlotLabel, UnitsLabel, MIN}) fitToPattern(b, "#####.#####");
    plot->addBeside(MAX, Qt::RightEdge, 1, 0, PlotLayout::Anchor::Inside);
    plot->addBeside(PlotLabel, Qt::RightEdge, 1, 0.5, PlotLayout::Anchor::Centre, -0.5);
    plot->addBeside(UnitsLabel, Qt::RightEdge, 1, 0.5, PlotLayout::Anchor::Centre, 0.5);
    plot->addBeside(MIN, Qt::RightEdge, 1, 1, PlotLayout::Anchor::Inside);
    field->addLayout(plot, 1);
    field->addWidget(Slider1);
    pictures->addLayout(field, 1);

    // The profile beside the field, as high as the field picture and keeping
    // its shape as it grows: its unit on the right, its range under it.
    auto* profile = named(new QWidget(this), "ProfilePanel", "Flow profile");
    auto* profileGrid = new QGridLayout(profile);
    profileGrid->setContentsMargins(0, 0, 0, 0);
    FieldProfile = named(new PictureBox(this), "FieldProfile", "Flow profile");
    FieldProfile->setMinimumSize(kProfileWidth, 200);
    auto* profileAxis = new QVBoxLayout;
    MAX1 = makeBox(this, "MAX1", "Profile maximum", QString(), true);
    UnitsLabel1 = makeBox(this, "UnitsLabel1", "Profile unit", QString(), true);
    MIN1 = makeBox(this, "MIN1", "Profile minimum", QString(), true);
    for (TextBox* b : {MAX1, UnitsLabel1, MIN1}) fitToPattern(b, "#####.#####");
    Label3 = makeLabel(this, "Label3", "Velocity or Pressure Profile");
    Label4 = makeLabel(this, "Label4", "From Surface of Model");
    profileAxis->addWidget(Label3);
    profileAxis->addWidget(Label4);
    profileAxis->addStretch(1);
    profileAxis->addWidget(UnitsLabel1);
    profileAxis->addStretch(1);
    auto* profileRange = new QHBoxLayout;
    profileRange->addWidget(MIN1);
    profileRange->addStretch(1);
    profileRange->addWidget(MAX1);
    profileGrid->addWidget(FieldProfile, 0, 0);
    profileGrid->addLayout(profileAxis, 0, 1);
    profileGrid->addLayout(profileRange, 1, 0, 1, 2);
    profileGrid->setColumnStretch(0, 1);
    profileGrid->setRowStretch(0, 1);
    plot->addStrip(profile, Qt::RightEdge, 2, double(kProfileWidth) / VelocityPlot->minimumHeight());
    lay->addLayout(pictures, 1);

    // Velocity frame.
    auto* frames = new QHBoxLayout;
    Frame1 = named(new QGroupBox("Plot Velocity", this), "Frame1", "Plot Velocity");
    auto* f1 = new QGridLayout(Frame1);
    Contour = makeButton(Frame1, "Contour", "Contours");
    Vector = makeButton(Frame1, "Vector", "Vectors");
    NLEVELS2 = makeBox(Frame1, "NLEVELS2", "Velocity contour levels", "0");
    NLEVELS2->setToolTip(kLevelTip);
    UpDown2 = named(new UpDownSpinner(3, 100, 1, 3, Frame1), "UpDown2", "Velocity contour levels spinner");
    UpDown2->setToolTip(kSpinnerTip);
    UpDown2->nameKeys("Velocity contour levels");
    Label15 = makeLabel(Frame1, "Label15", "Levels <  101");
    Vscale = makeBox(Frame1, "Vscale", "Vector scale", "0");
    Vscale->setToolTip("Make each velocity vector larger or smaller.");
    UpDown1 = named(new UpDownSpinner(1, 100, 1, 1, Frame1), "UpDown1", "Vector scale spinner");
    UpDown1->setToolTip("Increase size of velocity vectors.");
    UpDown1->nameKeys("Vector scale");
    Label11 = makeLabel(Frame1, "Label11", "Vector Scale");
    // Each box as wide as the numbers it shows.
    fitToPattern(NLEVELS2, "###");
    fitToPattern(Vscale, "##.#####");
    f1->addWidget(Contour, 0, 0);
    f1->addWidget(NLEVELS2, 0, 1);
    f1->addWidget(UpDown2, 0, 2);
    f1->addWidget(Label15, 0, 3);
    f1->addWidget(Vector, 1, 0);
    f1->addWidget(Vscale, 1, 1);
    f1->addWidget(UpDown1, 1, 2);
    f1->addWidget(Label11, 1, 3);
    frames->addWidget(Frame1);

    // Pressure frame.
    PressurePlots = named(new QGroupBox("Plot Pressure", this), "PressurePlots", "Plot Pressure");
    auto* f2 = new QGridLayout(PressurePlots);
    makeOptions(Pressure, PressurePlots, "Pressure", {"Static", "Dynamic"});
    Pressure[1]->setChecked(true);
    PessureContour = makeButton(PressurePlots, "PessureContour", "Contours");
    NLEVELS = makeBox(PressurePlots, "NLEVELS", "Pressure contour levels", "0");
    NLEVELS->setToolTip(kLevelTip);
    UpDown3 = named(new UpDownSpinner(3, 100, 1, 3, PressurePlots), "UpDown3", "Pressure contour levels spinner");
    UpDown3->setToolTip(kSpinnerTip);
    UpDown3->nameKeys("Pressure contour levels");
    Label14 = makeLabel(PressurePlots, "Label14", "Levels < 101");
    fitToPattern(NLEVELS, "###");
    // The options in a row of their own, so the levels box below keeps its width.
    auto* options = new QHBoxLayout;
    options->addWidget(Pressure[0]);
    options->addWidget(Pressure[1]);
    options->addStretch(1);
    f2->addLayout(options, 0, 0, 1, 4);
    f2->addWidget(PessureContour, 1, 0);
    f2->addWidget(NLEVELS, 1, 1);
    f2->addWidget(UpDown3, 1, 2);
    f2->addWidget(Label14, 1, 3);
    frames->addWidget(PressurePlots);

    // Profile frame.
    ProfilePlots = named(new QGroupBox("Flow Profiles", this), "ProfilePlots", "Flow Profiles");
    auto* f3 = new QGridLayout(ProfilePlots);
    makeOptions(Profile, ProfilePlots, "Profile", {"Velocity", "Static Pressure", "Dynamic Pressure"});
    for (int i = 0; i < 3; ++i) f3->addWidget(Profile[static_cast<size_t>(i)], i, 0, 1, 2);
    Profile[0]->setChecked(true);
    Label1 = makeLabel(ProfilePlots, "Label1", "Location");
    Xlocation = makeBox(ProfilePlots, "Xlocation", "Location");
    Xlocation->setToolTip("X-location from the inlet boundary.");
    fitToPattern(Xlocation, "#####.##");
    f3->addWidget(Label1, 3, 0);
    f3->addWidget(Xlocation, 3, 1);
    frames->addWidget(ProfilePlots);

    auto* side = new QVBoxLayout;
    Command1 = makeButton(this, "Command1", "Clear Plots");
    side->addWidget(Command1);
    side->addStretch(1);
    frames->addLayout(side);
    // The frames keep their own widths; the room to spare stays at the right.
    frames->addStretch(1);
    lay->addLayout(frames);

    // Progress and status.
    Label2 = makeLabel(this, "Label2", "Meshing/Plotting Progress");
    ProgressBar1 = addProgressRow(this, lay, Label2);
    buildStatusBar(this, *this, 2, lay);

    // Handlers, connected once every control holds its designed state.
    onCommand(Contour, &QPushButton::clicked, this, [this] { Contour_Click(); });
    onCommand(Vector, &QPushButton::clicked, this, [this] { Vector_Click(); });
    onCommand(PessureContour, &QPushButton::clicked, this, [this] { PessureContour_Click(); });
    onCommand(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    NLEVELS->onChange([this] { NLEVELS_Change(); });
    NLEVELS2->onChange([this] { NLEVELS2_Change(); });
    Vscale->onChange([this] { Vscale_Change(); });
    Xlocation->onChange([this] { Xlocation_Change(); });
    UpDown1->onChange([this] { UpDown1_Change(); });
    UpDown2->onChange([this] { UpDown2_Change(); });
    UpDown3->onChange([this] { UpDown3_Change(); });
    onOptionOn(Pressure, this, "Pressure", [this](int i) { Pressure_Click(i); });
    onOptionOn(Profile, this, "Profile", [this](int i) { Profile_Click(i); });
    onCommand(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    // The controls the computations write to.
    registerControls({{ControlId::PlotResults_LEVELS, LEVELS},
                      {ControlId::PlotResults_FieldProfile, FieldProfile},
                      {ControlId::PlotResults_MAX, MAX},
                      {ControlId::PlotResults_MIN, MIN},
                      {ControlId::PlotResults_UnitsLabel, UnitsLabel},
                      {ControlId::PlotResults_PlotLabel, PlotLabel},
                      {ControlId::PlotResults_UnitsLabel1, UnitsLabel1},
                      {ControlId::PlotResults_MAX1, MAX1},
                      {ControlId::PlotResults_MIN1, MIN1},
                      {ControlId::PlotResults_NoMeshDefined, NoMeshDefined}});
}

// ---- contour plots ------------------------------------------------------------------------------

void PlotResults::Contour_Click() { drawContours(false); }

void PlotResults::PessureContour_Click() { drawContours(true); }

void PlotResults::drawContours(bool pressure)
{
    Module1& s = m();
    if (s.ContourLevelsUserSet == 0) s.ContourLevelCount = kDefaultContourLevels;
    if (staleFlowRefused(s)) return;
    switch (checkLevelCount(s.ContourLevelCount)) {
    case LevelCheck::TooMany:
        MsgBox("NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100", MsgButtons::OkOnly, "NUMBER OF LEVELS TO LARGE");
        return;
    case LevelCheck::TooFew:
        MsgBox("NUMBER OF LEVELS MUST BE GREATER THAN 2", MsgButtons::OkOnly, "NUMBER OF LEVELS TO SMALL");
        return;
    case LevelCheck::Ok: break;
    }
    // No grid and solution to plot (nothing solved since start-up).
    const auto grid = solvedGrid(s);
    if (!grid) return;

    StatusBar1->setPanel(1, pressure ? "Pressure contour plot being generated. Please be patient."
                                     : "Velocity Contour plot being generated. Please be patient.");
    NoMeshDefined->hide();
    WaitCursor wait;
    ContourPlot plot;
    try {
        if (pressure) computeElementPressures(s, *grid);
        plot = contourPlot(s, *grid, pressure ? ContourQuantity::Pressure : ContourQuantity::Speed);
    } catch (const MathFailure&) {
        StatusBar1->setPanel(1, kMsgPlotOutOfRange);
        return;
    }

    MAX->setText(qFormat(plot.fmax, "#####.#####"));
    MIN->setText(qFormat(plot.fmin, "#####.#####"));
    const int units = forms().main().checkedUnitIndex();
    if (units >= 0)
        UnitsLabel->setText(QString::fromStdString(pressure ? pressureUnit(units) : velocityUnit(units)));
    PlotLabel->setText(pressure ? "P" : "V");

    VelocityPlot->clear();
    LEVELS->clear();
    VelocityPlot->setScale(0, 500, 500, 0);
    const long cells = grid->cells();
    ProgressBar1->setVisible(true);
    ProgressBar1->setRange(1, static_cast<int>(std::max(1L, cells)));
    ProgressBar1->setValue(1);
    {
        PictureBox::Batch field(VelocityPlot);
        long k = 0;
        QElapsedTimer shown;
        shown.start();
        for (const ContourCell& c : plot.cells) {
            const auto& p = c.corners;
            VelocityPlot->polygon({{p[0], p[1]}, {p[2], p[3]}, {p[4], p[5]}, {p[6], p[7]}}, colourOfLong(c.colour));
            ++k;
            // The bar moves when a user can see it move.
            if (shown.elapsed() >= 30) {
                ProgressBar1->setValue(static_cast<int>(k));
                shown.restart();
            }
        }
        ProgressBar1->setValue(1);
        for (const MeshStroke& st : plot.overlay) paintStroke(VelocityPlot, st);
    }

    LEVELS->setScale(0, 500, 50, 0);
    PictureBox::Batch legend(LEVELS);
    for (const LegendBand& b : plot.legend) LEVELS->box(0, b.y1, 50, b.y2, colourOfLong(b.colour), true);

    StatusBar1->setPanel(1, kPlotComplete);
    forms().main().StatusBar1->setPanel(1, kPlotComplete);
}

void PlotResults::NLEVELS_Change() { levelCountTyped(NLEVELS, NLEVELS2); }

void PlotResults::NLEVELS2_Change() { levelCountTyped(NLEVELS2, NLEVELS); }

void PlotResults::levelCountTyped(TextBox* typed, TextBox* twin)
{
    Module1& s = m();
    s.ContourLevelCount = qVal(typed->text());
    s.ContourLevelsUserSet = 1;
    // The twin box echoes the count. Its handler writes this box back once
    // (so "25.7" ends as "26" in both); the depth limit keeps the two boxes
    // from writing each other without end.
    if (levelWriteDepth_ >= 2) return;
    ++levelWriteDepth_;
    twin->setText(qFormat(s.ContourLevelCount, "###"));
    --levelWriteDepth_;
}

void PlotResults::UpDown2_Change() { levelCountStepped(UpDown2->value()); }

void PlotResults::UpDown3_Change() { levelCountStepped(UpDown3->value()); }

// Either arrow pair sets the count, clears the field and shows the count in NLEVELS.
void PlotResults::levelCountStepped(int count)
{
    Module1& s = m();
    s.ContourLevelCount = count;
    s.ContourLevelsUserSet = 1;
    VelocityPlot->clear();
    NLEVELS->setText(qFormat(s.ContourLevelCount, "###"));
}

// ---- vectors --------------------------------------------------------------------------------------

void PlotResults::VECTORS(double& velocity)
{
    Module1& s = m();
    if (s.VectorScaleUserSet == 0) s.VectorScale = 1;
    if (staleFlowRefused(s)) return;
    const auto grid = solvedGrid(s);
    if (!grid) return;
    StatusBar1->setPanel(1, "Velocity vector plot being generated. Please be patient.");
    NoMeshDefined->hide();
    WaitCursor wait;
    VectorPlot plot;
    try {
        plot = vectorPlot(s, *grid, velocity);
    } catch (const MathFailure&) {
        StatusBar1->setPanel(1, kMsgPlotOutOfRange);
        return;
    }
    VelocityPlot->clear();
    VelocityPlot->setScale(0, 500, 500, 0);
    PictureBox::Batch batch(VelocityPlot);
    for (const MeshStroke& st : plot.overlay) paintStroke(VelocityPlot, st);
    for (const MeshStroke& st : plot.vectors) paintStroke(VelocityPlot, st);
    StatusBar1->setPanel(1, kPlotComplete);
}

void PlotResults::Vector_Click()
{
    double v = m().FreeStreamVelocity;
    VECTORS(v);
}

void PlotResults::UpDown1_Change()
{
    Module1& s = m();
    s.VectorScale = UpDown1->value() * 0.01;
    s.VectorScaleUserSet = 1;
    Vscale->setText(qFormat(s.VectorScale, "##.#####"));
    double v = s.FreeStreamVelocity;
    VECTORS(v);
}

void PlotResults::Vscale_Change()
{
    Module1& s = m();
    s.VectorScale = qVal(Vscale->text());
    s.VectorScaleUserSet = 1;
}

// ---- profile --------------------------------------------------------------------------------------

void PlotResults::ProfilePlot(double& velocity)
{
    Module1& s = m();
    if (staleFlowRefused(s)) return;
    const auto grid = solvedGrid(s);
    if (!grid) return;
    StatusBar1->setPanel(1, "Profile plot being generated");
    StatusBar1->setPanel(2, QString());
    NoMeshDefined->hide();
    velmora::ProfilePlot plot;
    try {
        plot = profilePlot(s, *grid, velocity);
    } catch (const MathFailure&) {
        StatusBar1->setPanel(1, kMsgPlotOutOfRange);
        return;
    }
    FieldProfile->clear();
    FieldProfile->setScale(0, 500, 500, 0);
    if (plot.beyond) StatusBar1->setPanel(2, "Profile location is not on body. Please pick another location");
    for (const MeshStroke& st : plot.curve) paintStroke(FieldProfile, st);
    const int units = forms().main().checkedUnitIndex();
    if (units >= 0)
        UnitsLabel1->setText(
            QString::fromStdString(s.ProfileQuantity == ProfileVelocity ? velocityUnit(units) : pressureUnit(units)));
    MAX1->setText(qFormat(plot.pmax, "#####.#####"));
    MIN1->setText(qFormat(plot.pmin, "#####.#####"));
    StatusBar1->setPanel(1, kPlotComplete);
    forms().main().StatusBar1->setPanel(1, kPlotComplete);
}

void PlotResults::Profile_Click(int Index)
{
    m().ProfileQuantity = static_cast<int16_t>(Index);
    FieldProfile->clear();
}

void PlotResults::Xlocation_Change()
{
    m().ProfileXLocation = singleOrZero(qVal(Xlocation->text()));
}

void PlotResults::Slider1_Scroll()
{
    Module1& s = m();
    const double length = s.DomainLength;
    if (!(length > 0)) {
        StatusBar1->setPanel(1, "Incorrect value for profile location");
        return;
    }
    StatusBar1->setPanel(1, "The x-locaton of the profile has been selected. Plot profile.");
    Slider1->setMaximum(100);
    s.ProfileXLocation = singleOrZero(Slider1->value() * length / Slider1->maximum());
    Xlocation->setText(qFormat(s.ProfileXLocation, "#####.##"));
    double v = s.FreeStreamVelocity;
    ProfilePlot(v);
}

// ---- window commands --------------------------------------------------------------------------

void PlotResults::Command1_Click()
{
    VelocityPlot->clear();
    LEVELS->clear();
    FieldProfile->clear();
    NoMeshDefined->show();
}

void PlotResults::Pressure_Click(int Index)
{
    m().PressurePlotKind = Index == 0 ? StaticPressure : DynamicPressure;
    VelocityPlot->clear();
    NoMeshDefined->show();
}

void PlotResults::mnuPrintPage_Click()
{
    printWithPictures(this, StatusBar1, {VelocityPlot, LEVELS, FieldProfile});
}

void PlotResults::mnuClose_Click() { Hide(); }

void PlotResults::mnuInstructions_Click() { forms().showModal("VelmoraHelp"); }

void PlotResults::mnuAboutVelmora_Click() { forms().showModal("AboutVelmora"); }

void PlotResults::Toolbar1_ButtonClick(const QString& Key)
{
    if (showHelpOrAbout(forms(), Key)) return;
    if (Key == "MESHING") {
        // Rebuilding the grid under a running solution would pull the mesh
        // from under it.
        if (forms().busy().active()) {
            forms().showBusyRefusal(StatusBar1, 2);
            return;
        }
        resumeNext([this] {
            if (const std::string why = meshInputRefusal(m()); !why.empty()) {
                StatusBar1->setPanel(2, QString::fromStdString(why));
                return;
            }
            double v = m().FreeStreamVelocity;
            Mesh(v);
        });
    } else if (Key == "RETURN") {
        resumeNext([this] { Hide(); });
    }
}
} // namespace velmora
