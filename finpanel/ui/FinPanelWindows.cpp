#include "finpanel/ui/FinPanelWindows.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/InputRange.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "finpanel/FinPanelState.h"
#include "finpanel/FinPlot.h"
#include "model/Units.h"
#include "model/Vocabulary.h"
#include "platform/Constants.h"
#include "platform/ui/Build.h"
#include "platform/ui/Printing.h"

namespace velmora {

namespace {

const char* const kManualInput = "MANUAL INPUT";
const char* const kNewSection = "Please solve with new fin cross-section.";
const char* const kHowToLocate = "Up to 10 panel end points may be specified manually. Locate panel end points at the vertices shown. Origin for the fin coordinate system is set at 0,0.";
const char* const kFewPanelsNote = "Note: The vortex panel method requires more than only 10 panels for Cp location accuracy.";

QRgb upperColour() { return PictureBox::qbColor(finpanel::kUpperSurfaceColour); }
QRgb lowerColour() { return PictureBox::qbColor(finpanel::kLowerSurfaceColour); }

void polyline(PictureBox* p, const std::vector<finpanel::PlotPoint>& pts, QRgb colour)
{
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) p->line(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, colour);
}

void line(PictureBox* p, const finpanel::PlotLine& l) { p->line(l.from.x, l.from.y, l.to.x, l.to.y); }

QLabel* heading(QWidget* parent, const QString& name, const QString& text, double scale = 1.0)
{
    QLabel* l = makeLabel(parent, name, text);
    QFont f = l->font();
    f.setBold(true);
    if (scale != 1.0) f.setPointSizeF(f.pointSizeF() * scale);
    l->setFont(f);
    return l;
}

QLabel* wrapped(QWidget* parent, const QString& name, const QString& text)
{
    QLabel* l = makeLabel(parent, name, text);
    l->setWordWrap(true);
    return l;
}

} // namespace

// ==== fin-section window ================================================================

PanelAero::PanelAero(Forms& forms) : Form(forms, "PanelAero", "Fin Aerodynamics - Panel Method")
{
    auto* lay = new QVBoxLayout(this);

    mnuAboutVelmora = buildWindowMenus(this, lay, &PanelAero::mnuAboutVelmora_Click);
    buildToolbar(this, lay, "Fin section toolbar",
                 {kHelpKey, kAboutKey,
                  {"RETURN", "Return to Fin and Launch Lug Geometry."}},
                 toolbarIcon);

    lay->addWidget(heading(this, "Label1", "Panel Method Fin Aerodynamics", 1.3));
    lay->addWidget(makeLabel(this, "Label2", "Screen Optional - CFD Required When Data Modified"));

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;

    // The section, its panels and its drawn thickness: lists that take picks only.
    FinGeometry = named(new QGroupBox("Fin Geometry", this), "FinGeometry", "Fin Geometry");
    auto* g = new QGridLayout(FinGeometry);
    SECTIONS = makeList(FinGeometry, "SECTIONS", "Panel Method Shape");
    SECTIONS->onTextChanged([this](const QString& t) { m().FinSectionText = t.toStdString(); });
    PANELS = makeList(FinGeometry, "PANELS", "Total Number of Panels ");
    FINTHK = makeList(FinGeometry, "FINTHK", "Fin Thickness Magnification ");
    for (ComboBox* c : {SECTIONS, PANELS, FINTHK}) c->setPickOnly(true);
    addRow(g, 0, "Panel Method Shape", SECTIONS);
    addRow(g, 1, "Total Number of Panels ", PANELS);
    addRow(g, 2, "Fin Thickness Magnification ", FINTHK);
    left->addWidget(FinGeometry);

    PanelTypes = named(new QGroupBox("Panel Types", this), "PanelTypes", "Panel Types");
    PanelTypes->setToolTip("Vortex panel and source panel methods. Select vortex for fins.");
    auto* t = new QHBoxLayout(PanelTypes);
    PANELTYPES[0] = named(new QRadioButton("Vortex", PanelTypes), "PANELTYPES0", "Vortex");
    PANELTYPES[0]->setToolTip("2nd order vortex panel method. Used for lifting surfaces (fins).");
    PANELTYPES[1] = named(new QRadioButton("Source", PanelTypes), "PANELTYPES1", "Source");
    PANELTYPES[1]->setToolTip("2nd order source panel method. Used for non-lifting surfaces (plates).");
    PANELTYPES[0]->setChecked(true);
    t->addWidget(PANELTYPES[0]);
    t->addWidget(PANELTYPES[1]);
    left->addWidget(PanelTypes);

    PlotFinResults = named(new QGroupBox("Plot Fin Results", this), "PlotFinResults", "Plot Fin Results");
    auto* b = new QHBoxLayout(PlotFinResults);
    Command1 = makeButton(PlotFinResults, "Command1", "Pressure", "Plot fin pressure coefficient profile.");
    Command2 = makeButton(PlotFinResults, "Command2", "Velocity", "Plot fin velocity profile.");
    b->addWidget(Command1);
    b->addWidget(Command2);
    left->addWidget(PlotFinResults);

    AOALABEL = makeBox(this, "AOALABEL", "Angle of attack", QString(), true);
    fitToTexts(AOALABEL, {"AOA = " + widestPatternText("##.###") + " DEG."});
    left->addWidget(AOALABEL);
    left->addStretch(1);
    body->addLayout(left);

    // The section above the plot, both at one width and one chordwise scale,
    // so the curves stand under the part of the section they belong to; both
    // grow with the window and keep their proportions.
    FinSection = named(new PictureBox(this), "FinSection", "Fin Cross-Section");
    FinSection->setHeightForWidthRatio(double(kSectionHeight) / kPlotWidth);
    PLOT1 = named(new PictureBox(this), "PLOT1", "Fin Cp or Velocity Profile");
    PLOT1->setMinimumSize(kPlotWidth / 2, kPlotHeight / 2);
    PLOT1->setDesignSize(QSize(kPlotWidth, kPlotHeight));
    // The plot takes the width the window gives while it stays at least
    // 0.4 of that width high; the section above keeps its shape.
    PLOT1->setLeastHeightRatio(0.4);
    NoMeshDefined1 = makePictureNotice(PLOT1, "NoMeshDefined1", "Generate New Fin Plot");
    auto* plot = new PlotLayout(PLOT1);
    plot->addBeside(heading(this, "Label4", "Fin Cp or Velocity Profile"), Qt::TopEdge, 0, 0, PlotLayout::Anchor::Inside);
    plot->addStrip(FinSection, Qt::TopEdge, 1);
    plot->addBeside(heading(this, "Label3", "Fin Cross-Section"), Qt::TopEdge, 2, 0, PlotLayout::Anchor::Inside);

    // Range labels left of the plot: MIN1 at its top edge, MAX1 at its
    // bottom edge, the unit above "0.0" at the height of the horizontal axis.
    MIN1 = makeBox(this, "MIN1", "Plot top", QString(), true);
    MAX1 = makeBox(this, "MAX1", "Plot bottom", QString(), true);
    UnitsLabel1 = makeBox(this, "UnitsLabel1", "Plot unit", QString(), true);
    for (TextBox* box : {MIN1, MAX1}) fitToPattern(box, "####.##");
    fitToTexts(UnitsLabel1, {VelocityUnit::FtPerSec, "IN/SEC", "M/SEC", "Cp"});
    QLabel* zero = makeLabel(this, "Label5", "0.0");
    zero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    plot->addBeside(MIN1, Qt::LeftEdge, 0, 0, PlotLayout::Anchor::Inside);
    plot->addBeside(MAX1, Qt::LeftEdge, 0, 1, PlotLayout::Anchor::Inside);
    plot->addBeside(zero, Qt::LeftEdge, 0, 0.5);
    plot->addBeside(UnitsLabel1, Qt::LeftEdge, 0, 0.5, PlotLayout::Anchor::Centre, -1.1);

    auto* legend = new QHBoxLayout;
    LEGEND1 = named(new PictureBox(this), "LEGEND1", "Upper Fin Surface");
    LEGEND2 = named(new PictureBox(this), "LEGEND2", "Lower Fin Surface");
    for (PictureBox* p : {LEGEND1, LEGEND2}) {
        p->setFixedSize(40, 10);
        p->setDrawWidth(3);
    }
    legend->addWidget(LEGEND1);
    legend->addSpacing(4);
    legend->addWidget(makeLabel(this, "Label6", "Upper Fin Surface"));
    legend->addSpacing(24);
    legend->addWidget(LEGEND2);
    legend->addSpacing(4);
    legend->addWidget(makeLabel(this, "Label7", "Lower Fin Surface"));
    plot->addBeside(legend, Qt::BottomEdge, 0, 0, PlotLayout::Anchor::Inside);
    body->addLayout(plot, 1);
    lay->addLayout(body, 1);

    buildStatusBar(this, *this, 2, lay);

    // Handlers.
    SECTIONS->onClick([this] { SECTIONS_Click(); });
    PANELS->onClick([this] { PANELS_Click(); });
    FINTHK->onClick([this] { FINTHK_Click(); });
    onOptionOn(PANELTYPES, this, "PANELTYPES", [this](int i) { PANELTYPES_Click(i); });
    onCommand(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    onCommand(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // The controls the computations write to.
    registerControls({{ControlId::PanelAero_UnitsLabel1, UnitsLabel1}});
}

void PanelAero::Form_Load()
{
    Module1& s = m();
    s.PanelPlotChoice = "Cp";
    s.FinThicknessFactor = 1;
    s.PanelCount = 100;
    s.PanelMethodChoice = PanelMethod::Vortex;
    FINTHK->setText("1X");
    for (const char* t : {"1X", "2X", "3X", "4X"}) FINTHK->AddItem(t);
    PANELS->setText("100");
    for (const char* t : {"4", "6", "8", "10", "20", "30", "40", "50", "100", "150", "200"}) PANELS->AddItem(t);
    SECTIONS->setText("STREAMLINED");
    for (const char* t : {"NACA WING", "FLAT PLATE", "D'WEDGE", "STREAMLINED", kManualInput}) SECTIONS->AddItem(t);
    double v = s.FreeStreamVelocity;
    FINPLOT(v);
}

// ---- computations ---------------------------------------------------------------------

void PanelAero::solve(bool vortex, double velocity)
{
    Module1& s = m();
    finpanel::FinSectionInput in = finpanel::finInputFrom(s, s.FinSectionText);
    in.freeStreamVelocity = velocity;
    // The fin window's own status bar, the main window's progress bar.
    WindowProgress progress(StatusBar1, forms().main().ProgressBar1);
    const finpanel::FinSectionResult r = vortex ? finpanel::VORTEX(in, progress) : finpanel::Source(in, progress);
    finpanel::publish(r, s);
    showResult(r);
}

void PanelAero::Source(double& velocity) { solve(false, velocity); }

void PanelAero::VORTEX(double& velocity) { solve(true, velocity); }

void PanelAero::showResult(const finpanel::FinSectionResult& r)
{
    if (r.outcome != Outcome::Done) return;
    drawPlot(r.plot);
}

void PanelAero::PlotResults(double& velocity)
{
    Module1& s = m();
    StatusBar1->setPanel(1, finpanel::kMsgPlotting);
    NoMeshDefined1->hide();
    WaitCursor wait;
    finpanel::FinSectionInput in = finpanel::finInputFrom(s, s.FinSectionText);
    in.freeStreamVelocity = velocity;
    const finpanel::ResultPlot plot = finpanel::PlotResults(in, in.currentSection, finpanel::panelSolutionFrom(s));
    drawPlot(plot);
    StatusBar1->setPanel(1, QString::fromStdString(plot.status));
}

void PanelAero::FINPLOT(double& velocity)
{
    Module1& s = m();
    finpanel::FinSectionInput in = finpanel::finInputFrom(s, s.FinSectionText);
    in.freeStreamVelocity = velocity;
    const finpanel::SectionDrawing d = finpanel::FINPLOT(in);
    if (!d.ok) {
        StatusBar1->setPanel(1, QString::fromStdString(d.status));
        return;
    }
    finpanel::publishSection(d.section, s);
    drawOutline(d.outline);
}

// ---- drawing --------------------------------------------------------------------------

void PanelAero::drawPlot(const finpanel::ResultPlot& plot)
{
    NoMeshDefined1->hide();
    if (plot.unitsLabel) UnitsLabel1->setText(QString::fromStdString(*plot.unitsLabel));
    MIN1->setText(plot.hasCurves ? QString::fromStdString(plot.minLabel) : QString());
    MAX1->setText(plot.hasCurves ? QString::fromStdString(plot.maxLabel) : QString());
    {
        PictureBox::Batch batch(PLOT1);
        PLOT1->clear();
        PLOT1->setScale(0, 500, 500, 0);
        if (plot.hasCurves) {
            polyline(PLOT1, plot.upperCurve, upperColour());
            polyline(PLOT1, plot.lowerCurve, lowerColour());
            line(PLOT1, plot.horizontalAxis);
            line(PLOT1, plot.verticalAxis);
            for (const finpanel::PlotLine& tick : plot.ticks) line(PLOT1, tick);
        }
    }
    drawOutline(plot.outline);
    drawLegends();
}

void PanelAero::drawOutline(const std::vector<finpanel::PlotPoint>& outline)
{
    PictureBox::Batch batch(FinSection);
    FinSection->clear();
    FinSection->setScale(0, 177, 500, 0);
    if (outline.empty()) return;
    polyline(FinSection, outline, upperColour());
    FinSection->line(outline.back().x, outline.back().y, outline.front().x, outline.front().y, upperColour());
}

void PanelAero::drawLegends()
{
    for (auto [p, colour] : {std::pair{LEGEND1, upperColour()}, std::pair{LEGEND2, lowerColour()}}) {
        PictureBox::Batch batch(p);
        p->clear();
        p->setScale(0, 500, 500, 0);
        p->line(0, 250, 500, 250, colour);
        p->line(0, 251, 500, 251, colour);
    }
}

void PanelAero::blankPlotLabels()
{
    for (TextBox* box : {UnitsLabel1, MAX1, MIN1}) box->setText(QString());
}

void PanelAero::sectionChanged(const QString& instruction)
{
    Module1& s = m();
    blankPlotLabels();
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(2, instruction);
    s.PanelSolutionStatus = PanelSolutionState::Stale;
    forms().main().ClearData(s.FreeStreamVelocity);
    PLOT1->clear();
    FinSection->clear();
}

// ---- lists and options ----------------------------------------------------------------

void PanelAero::SECTIONS_Click()
{
    Module1& s = m();
    const QString text = SECTIONS->Text();
    if (text == "D'WEDGE" || text == "STREAMLINED" || text == "FLAT PLATE" || text == "NACA WING") {
        s.PanelSolutionStatus = PanelSolutionState::Stale;
        forms().main().ClearData(s.FreeStreamVelocity);
    }
    if (text == kManualInput) {
        ManualData& manual = forms().get<ManualData>();
        manual.CHORD->setText(qFormat(s.FinMeanChord, "#####.###"));
        sectionChanged(kNewSection);
        manual.showCurrentUnits();
        // Waits here until the manual window is closed; its Close draws the
        // typed section.
        forms().showModal<ManualData>();
    }
    // A manual section of 4 to 10 points chosen there is drawn already; one
    // left with more panels is drawn with the panel count in force.
    if (SECTIONS->Text() != kManualInput || s.PanelCount > 10) {
        sectionChanged(kNewSection);
        double v = s.FreeStreamVelocity;
        FINPLOT(v);
    }
}

void PanelAero::PANELS_Click()
{
    Module1& s = m();
    const QString text = PANELS->Text();
    for (int n : {4, 6, 8, 10, 20, 30, 40, 50, 100, 150, 200})
        if (text == QString::number(n)) s.PanelCount = static_cast<int16_t>(n);
    sectionChanged("Please solve with new number of panels.");
    if (SECTIONS->Text() != kManualInput) {
        double v = s.FreeStreamVelocity;
        FINPLOT(v);
    }
}

// The magnification enters the generated sections' thickness, so the
// section to be solved changes: the results go stale as for a new section.
void PanelAero::FINTHK_Click()
{
    Module1& s = m();
    static constexpr std::pair<const char*, int16_t> kFactors[] = {{"1X", 1}, {"2X", 2}, {"3X", 4}, {"4X", 6}};
    for (auto [text, factor] : kFactors)
        if (FINTHK->Text() == text) s.FinThicknessFactor = factor;
    sectionChanged(kNewSection);
    double v = s.FreeStreamVelocity;
    FINPLOT(v);
}

void PanelAero::PANELTYPES_Click(int Index)
{
    Module1& s = m();
    if (Index == 0 || Index == 1) {
        forms().main().ClearData(s.FreeStreamVelocity);
        s.PanelMethodChoice = Index == 0 ? PanelMethod::Vortex : PanelMethod::Source;
        s.PanelSolutionStatus = PanelSolutionState::Stale;
    }
    StatusBar1->setPanel(2, "Please solve with new panel type.");
}

// ---- plot buttons ---------------------------------------------------------------------

void PanelAero::plotButton(const char* quantity)
{
    Module1& s = m();
    if (s.PanelSolutionStatus == PanelSolutionState::Stale) {
        StatusBar1->setPanel(2, "Please perform panel analysis.");
        return;
    }
    s.PanelPlotChoice = quantity;
    UnitsLabel1->setText(QString());
    double v = s.FreeStreamVelocity;
    PlotResults(v);
}

void PanelAero::Command1_Click() { plotButton("Cp"); }

void PanelAero::Command2_Click() { plotButton("Velocity"); }

// ---- toolbar and menus ----------------------------------------------------------------

void PanelAero::Toolbar1_ButtonClick(const QString& Key)
{
    if (Key == "HELP") {
        resumeNext([this] { mnuInstructions_Click(); });
    } else if (Key == "ABOUT") {
        resumeNext([this] { mnuAboutVelmora_Click(); });
    } else if (Key == "RETURN") {
        Module1& s = m();
        if (s.FreeStreamVelocity != 0) resumeNext([&] { forms().main().CdFnMn(s.FreeStreamVelocity); });
        Hide();
    }
}

void PanelAero::mnuPrintPage_Click()
{
    for (PictureBox* p : {PLOT1, FinSection, LEGEND1, LEGEND2}) p->makePersistent();
    printPage(this, StatusBar1);
}

void PanelAero::mnuClose_Click() { Hide(); }

void PanelAero::mnuInstructions_Click() { forms().showModal("VelmoraHelp"); }

void PanelAero::mnuAboutVelmora_Click() { forms().showModal("AboutVelmora"); }

// ==== manual section window =============================================================

ManualData::ManualData(Forms& forms) : Form(forms, "ManualData", "Manually Input Fin Cross-Section")
{
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(heading(this, "Label1", "Panel Method Manual Fin Geometry ", 1.3));
    QLabel* caution = heading(this, "Label2", "CAUTION: UNDER CONSTRUCTION");
    caution->setStyleSheet("color: #800000;");
    lay->addWidget(caution);

    auto* body = new QHBoxLayout;

    // The points, one row each.
    auto* points = new QGridLayout;
    points->addWidget(makeLabel(this, "Label3", "X"), 0, 1, Qt::AlignHCenter);
    points->addWidget(makeLabel(this, "Label4", "Y"), 0, 2, Qt::AlignHCenter);
    for (int i = 1; i <= 10; ++i) {
        const auto k = static_cast<size_t>(i);
        L[k] = makeLabel(this, QStringLiteral("L%1").arg(i), QStringLiteral("PT %1").arg(i));
        X[k] = makeBox(this, QStringLiteral("X%1").arg(i), QStringLiteral("PT %1 x").arg(i));
        Y[k] = makeBox(this, QStringLiteral("Y%1").arg(i), QStringLiteral("PT %1 y").arg(i));
        for (TextBox* b : {X[k], Y[k]}) fitToPattern(b, "##.#######");
        L[k]->setBuddy(X[k]);
        points->addWidget(L[k], i, 0);
        points->addWidget(X[k], i, 1);
        points->addWidget(Y[k], i, 2);
    }
    points->setRowStretch(11, 1);
    body->addLayout(points);

    auto* right = new QVBoxLayout;
    right->addWidget(makeLabel(this, "Label5", "Panel End-Points Numbering Sequence "));
    auto* sketchBox = named(new QGroupBox("Fin Cross-Section", this), "Frame1", "Fin Cross-Section");
    auto* sketches = new QGridLayout(sketchBox);
    for (int i = 1; i <= 4; ++i) {
        PictureBox* p = named(new PictureBox(sketchBox), QStringLiteral("Picture%1").arg(i),
                              QStringLiteral("Numbering of %1 points").arg(2 + 2 * i));
        p->setFixedSize(300, 120);
        drawSketch(p, 2 + 2 * i);
        sketches->addWidget(p, 0, 0);
        Picture[static_cast<size_t>(i)] = p;
    }
    right->addWidget(sketchBox);
    right->addWidget(wrapped(this, "Label6", kHowToLocate));
    auto* grid = new QGridLayout;
    PANELS = makeList(this, "PANELS", "Total Number of panel end points", "Total number of panels from 4 to 10.");
    PANELS->setPickOnly(true);
    addRow(grid, 0, "Total Number of panel end points", PANELS);
    CHORD = makeBox(this, "CHORD", "Average fin chord length", QString(), true);
    CHORD->setToolTip("Average fin chord computed from Fin Geometry screen.");
    fitToPattern(CHORD, "#####.###");
    QStringList lengthUnits;
    for (const UnitSystem& u : UnitSystemTable) lengthUnits << u.length;
    UnitsLabel = makeBox(this, "UnitsLabel", "Length unit", QString(), true);
    fitToTexts(UnitsLabel, lengthUnits);
    addRow(grid, 1, "Average fin chord length", CHORD, UnitsLabel);
    grid->setColumnStretch(3, 1);
    right->addLayout(grid);
    right->addWidget(wrapped(this, "Label7", kFewPanelsNote));
    auto* buttons = new QHBoxLayout;
    Example = makeButton(this, "Example", "Example", "NACA fin cross-sectional example.");
    Reset = makeButton(this, "Reset", "Clear", "Clear all input data.");
    Close = makeButton(this, "Close", "Close", "Close manual data entry and draw fin shape.");
    for (QPushButton* b : {Example, Reset, Close}) buttons->addWidget(b);
    buttons->addStretch(1);
    right->addLayout(buttons);
    right->addStretch(1);
    body->addLayout(right, 1);
    lay->addLayout(body, 1);

    // Handlers.
    for (int i = 1; i <= 10; ++i) {
        X[static_cast<size_t>(i)]->onChange([this, i] { X_Change(i); });
        Y[static_cast<size_t>(i)]->onChange([this, i] { Y_Change(i); });
    }
    PANELS->onClick([this] { PANELS_Click(); });
    onCommand(Example, &QPushButton::clicked, this, [this] { Example_Click(); });
    onCommand(Reset, &QPushButton::clicked, this, [this] { Reset_Click(); });
    onCommand(Close, &QPushButton::clicked, this, [this] { Close_Click(); });
}

void ManualData::Form_Load()
{
    PANELS->setText("10");
    for (const char* t : {"4", "6", "8", "10"}) PANELS->AddItem(t);
    showSketch(10);
    showCurrentUnits();
}

void ManualData::showEvent(QShowEvent* e)
{
    showCurrentUnits();
    Form::showEvent(e);
}

// Every opening shows the unit the points are taken in now; a unit kept
// from the first opening would misname them after a change of system.
void ManualData::showCurrentUnits()
{
    if (const auto i = unitIndexByCode(m().AnalysisUnits))
        UnitsLabel->setText(UnitSystemTable[static_cast<size_t>(*i)].length);
}

void ManualData::X_Change(int Index)
{
    m().ManualSectionX(Index) = typedValue(m(), finSectionPointName(Index, 'X'),
                                           X[static_cast<size_t>(Index)]->Text().toStdString());
}

void ManualData::Y_Change(int Index)
{
    m().ManualSectionY(Index) = typedValue(m(), finSectionPointName(Index, 'Y'),
                                           Y[static_cast<size_t>(Index)]->Text().toStdString());
}

// Picture1, Picture2, Picture3 or Picture4 for 4, 6, 8 or 10 points.
void ManualData::showSketch(int count)
{
    for (int i = 1; i <= 4; ++i) Picture[static_cast<size_t>(i)]->setVisible(2 + 2 * i == count);
}

// Rows 1..4 (X1..X4, Y1..Y4) always stand; rows 5..10 (L5..L10, X5..X10,
// Y5..Y10) as far as the count reaches.
void ManualData::showRows(int count)
{
    if (count != 4 && count != 6 && count != 8 && count != 10) return;
    for (int i = 5; i <= 10; ++i) {
        const auto k = static_cast<size_t>(i);
        for (QWidget* w : {static_cast<QWidget*>(X[k]), static_cast<QWidget*>(Y[k]), static_cast<QWidget*>(L[k])})
            w->setVisible(i <= count);
    }
}

void ManualData::PANELS_Click()
{
    Module1& s = m();
    const QString text = PANELS->Text();
    for (int n : {4, 6, 8, 10})
        if (text == QString::number(n)) {
            s.PanelCount = static_cast<int16_t>(n);
            showSketch(n);
        }
    forms().get<PanelAero>().PANELS->setText(QString::number(s.PanelCount));
    for (TextBox* b : {X[9], Y[9], X[10], Y[10]}) b->hide();  // X9, Y9, X10, Y10; shown again for 10
    showRows(s.PanelCount);
}

void ManualData::Example_Click()
{
    static constexpr double kPoints[11][2] = {
        {0, 0},
        {-0.8523, -0.010287},   {-0.8523, 0.010287},   {-0.4236, 0.046127}, {0.0051238, 0.040883},
        {0.4338, 0.024372},     {0.8625, 0.0009765},   {0.8625, -0.009765}, {0.4338, -0.024372},
        {0.0051238, -0.040883}, {-0.4236, -0.046127}};
    m().PanelCount = 10;
    forms().get<PanelAero>().PANELS->setText("10");
    PANELS->setText("10");
    showRows(10);
    showSketch(10);
    for (int i = 1; i <= 10; ++i) {
        X[static_cast<size_t>(i)]->setText(qFormat(kPoints[i][0], ""));
        Y[static_cast<size_t>(i)]->setText(qFormat(kPoints[i][1], ""));
    }
}

void ManualData::Reset_Click()
{
    for (int i = 1; i <= 10; ++i) {
        X[static_cast<size_t>(i)]->setText(QString());
        Y[static_cast<size_t>(i)]->setText(QString());
    }
}

void ManualData::Close_Click()
{
    PanelAero& panel = forms().get<PanelAero>();
    panel.PLOT1->clear();
    panel.FinSection->clear();
    double v = m().FreeStreamVelocity;
    panel.FINPLOT(v);
    Hide();
}

// The numbering of a section of `count` corners in the generated order:
// point 1 under point 2 at the leading edge, the upper surface to the
// trailing edge, the point below it, and the lower surface back.
void ManualData::drawSketch(PictureBox* p, int count)
{
    const int half = count / 2;
    p->setScale(0, 60, 100, 0);
    auto xAt = [half](int k) { return 12.0 + 76.0 * k / (half - 1); };
    auto thickness = [half](int k) {
        const double t = static_cast<double>(k) / (half - 1);
        return k == 0 || k == half - 1 ? 2.5 : 2.5 + 14.0 * std::sin(kPi * std::pow(t, 0.7));
    };
    std::vector<std::pair<double, double>> pts(static_cast<size_t>(count + 1));
    for (int k = 0; k < half; ++k) {
        pts[static_cast<size_t>(k + 2)] = {xAt(k), 30.0 + thickness(k)};
        pts[static_cast<size_t>(k == 0 ? 1 : count + 1 - k)] = {xAt(k), 30.0 - thickness(k)};
    }
    PictureBox::Batch batch(p);
    const QRgb ink = PictureBox::kForeground;
    for (int i = 1; i <= count; ++i) {
        const auto& a = pts[static_cast<size_t>(i)];
        const auto& b = pts[static_cast<size_t>(i == count ? 1 : i + 1)];
        p->line(a.first, a.second, b.first, b.second, ink);
        p->circle(a.first, a.second, 0.8, PictureBox::qbColor(4));
        const QString n = QString::number(i);
        const bool upper = a.second > 30.0;
        const double tx = a.first - p->textWidth(n) / 2 + (i == 1 || i == 2 ? -3 : i == half + 1 || i == half + 2 ? 3 : 0);
        const double ty = upper ? a.second + 1 + p->textHeight(n) : a.second - 1;
        p->text(tx, ty, n, PictureBox::qbColor(1));
    }
}

} // namespace velmora
