#include "stability/ui/PressureCenter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "bodyflow/ui/MeshPainter.h"
#include "platform/ui/WindowWriter.h"
#include "platform/Busy.h"
#include "platform/ui/Build.h"
#include "stability/CrossFlow.h"
#include "stability/ForcePlot.h"
#include "stability/ui/CROSSFLOW.h"

namespace velmora {

namespace {
constexpr int kLegendWidth = 40;
constexpr int kLegendHeight = 10;
} // namespace

PressureCenter::PressureCenter(Forms& forms) : Form(forms, "PressureCenter", "Rocket Force Distribution")
{
    auto* lay = new QVBoxLayout(this);

    mnuAboutCFD = buildWindowMenus(this, lay, &PressureCenter::mnuAboutCFD_Click, "mnuAboutCFD");
    buildToolbar(this, lay, "Force window toolbar",
                 {{"CROSSFLOW", "Cross flow pressure distribution."},
                  kHelpKey, kAboutKey, kReturnToMainKey},
                 toolbarIcon);

    auto* body = new QHBoxLayout;

    // Results: slopes and centres, then forces.
    auto* results = new QVBoxLayout;
    results->addWidget(makeLabel(this, "SummaryHeading", "CFD Force Analysis Summary"));
    results->addWidget(makeLabel(this, "Summary", "Summary"));
    struct Row {
        TextBox** box;
        const char* name;
        const char* caption;
        const char* pattern;
        TextBox** unit;
        const char* unitName;
    };
    // Both frames' boxes make one column: one width, one left edge.
    std::vector<QLineEdit*> column;
    std::vector<QGridLayout*> grids;
    auto fillFrame = [this, &column, &grids](QGroupBox* frame, std::initializer_list<Row> rows) {
        auto* grid = new QGridLayout(frame);
        grids.push_back(grid);
        int r = 0;
        for (const Row& row : rows) {
            *row.box = makeBox(frame, row.name, row.caption, QString(), true);
            fitToPattern(*row.box, row.pattern);
            column.push_back(*row.box);
            TextBox* unit = nullptr;
            if (row.unit) {
                unit = *row.unit = makeBox(frame, row.unitName, QStringLiteral("Unit of ") + row.caption, QString(), true);
                fitToTexts(unit, {"FT", "IN", "M", "LB", "NT"});
            }
            addRow(grid, r++, row.caption, *row.box, unit);
        }
    };
    Frame1 = named(new QGroupBox("Normal Force Slope-Coefficients (Optional Multi-Fin Spreadsheet Analysis)", this),
                   "Frame1", "Normal Force Slope-Coefficients (Optional Multi-Fin Spreadsheet Analysis)");
    fillFrame(Frame1, {
        {&CNFINS, "CNFINS", "Fin Normal Force Coefficient (CNa-fin):", "#####.###", nullptr, nullptr},
        {&CNBODYS, "CNBODYS", "Body Normal Force Coefficient (CNa-body):", "#####.###", nullptr, nullptr},
        {&CNROCKET, "CNROCKET", "Total Rocket Normal Force Coefficient (CNa):", "##.###", nullptr, nullptr},
        {&XCPBODYS, "XCPBODYS", "Nose Cone and Body Cp Location (Xbody):", "#####.###", &UnitsLabel2, "UnitsLabel2"},
        {&XCPFINS, "XCPFINS", "Fin Cp Location From Tip of Nose Cone (Xfin):", "#####.###", &UnitsLabel3,
         "UnitsLabel3"},
        {&XCPTOTALS, "XCPTOTALS", "Total Cp Location From Tip of Nose (XCp):", "#####.###", &UnitsLabel4,
         "UnitsLabel4"},
        {&XLRATIOS, "XLRATIOS", "Rocket Cp Location (XCp/L):", "#####.###", nullptr, nullptr},
    });
    results->addWidget(Frame1);
    Frame2 = named(new QGroupBox("Force Analysis", this), "Frame2", "Force Analysis");
    fillFrame(Frame2, {
        {&CNFORCES, "CNFORCES", "Normal Force Coefficient (CN):", "##.###", nullptr, nullptr},
        {&CMFORCES, "CMFORCES", "Pitch Moment Coefficient (Cm):", "##.###", nullptr, nullptr},
        {&CXFORCES, "CXFORCES", "Drag Force Coefficient (Cd):", "#####.###", nullptr, nullptr},
        {&BODYFORCES, "BODYFORCES", "Drag Force at Nose/Body Center of Pressure:", "#####.###", &UnitsLabel5,
         "UnitsLabel5"},
        {&FINFORCES, "FINFORCES", "Drag Force at Each Fin's Center of Presure:", "#####.###", &UnitsLabel6,
         "UnitsLabel6"},
        {&FINAOAFORCES, "FINAOAFORCES", "Lift Force at Each Fin's Center of Pressure:", "#####.###", &UnitsLabel8,
         "UnitsLabel8"},
        {&LUGFORCES, "LUGFORCES", "Drag Force at Launch Lug Center of Pressure:", "#####.###", &UnitsLabel7,
         "UnitsLabel7"},
        {&MODELAOA, "MODELAOA", "Rocket Flight Angle of Attack (Degrees):", "###.##", nullptr, nullptr},
    });
    results->addWidget(Frame2);
    lineUpColumn(column, grids);
    results->addStretch(1);
    body->addLayout(results);

    // The plot with its range boxes, legend and buttons, growing with the window.
    SurfaceProfile = makeGrowingPicture(this, "SurfaceProfile", "Average Pressure Coefficient (Cp) Distribution",
                                        QSize(kPlotWidth, kPlotHeight));
    NoMeshDefined = makePictureNotice(SurfaceProfile, "NoMeshDefined", "Generate New Plot");
    auto* plot = new PlotLayout(SurfaceProfile, Qt::AlignLeft | Qt::AlignTop);
    plot->addBeside(makeLabel(this, "PlotHeading", "Average Pressure Coefficient (Cp) Distribution"), Qt::TopEdge, 0, 0,
                    PlotLayout::Anchor::Inside);
    MIN = makeBox(this, "MIN", "Cp at the top of the plot", QString(), true);
    PlotLabel = makeBox(this, "PlotLabel", "Plot quantity", QString(), true);
    MAX = makeBox(this, "MAX", "Cp at the bottom of the plot", QString(), true);
    for (TextBox* b : {MIN, PlotLabel, MAX}) fitToPattern(b, "#####.##");
    plot->addBeside(MIN, Qt::LeftEdge, 0, 0, PlotLayout::Anchor::Inside);
    plot->addBeside(PlotLabel, Qt::LeftEdge, 0, 0.5);
    plot->addBeside(MAX, Qt::LeftEdge, 0, 1, PlotLayout::Anchor::Inside);

    auto* legend = new QHBoxLayout;
    LEGEND1 = named(new PictureBox(this), "LEGEND1", "Upper Body Surface");
    LEGEND2 = named(new PictureBox(this), "LEGEND2", "Lower Body Surface");
    for (PictureBox* p : {LEGEND1, LEGEND2}) p->setFixedSize(kLegendWidth, kLegendHeight);
    legend->addWidget(LEGEND1);
    legend->addWidget(makeLabel(this, "Legend1Label", "Upper Body Surface"));
    legend->addSpacing(20);
    legend->addWidget(LEGEND2);
    legend->addWidget(makeLabel(this, "Legend2Label", "Lower Body Surface"));
    plot->addBeside(legend, Qt::BottomEdge, 0, 0, PlotLayout::Anchor::Inside);

    auto* buttons = new QHBoxLayout;
    SOLVEbtn = makeButton(this, "SOLVEbtn", "Display", "Compute and show the force distribution.");
    Command1 = makeButton(this, "Command1", "Clear", "Clear the results and the plot.");
    buttons->addWidget(SOLVEbtn);
    buttons->addWidget(Command1);
    plot->addBeside(buttons, Qt::BottomEdge, 1, 0, PlotLayout::Anchor::Inside);
    body->addLayout(plot, 1);
    lay->addLayout(body, 1);

    buildStatusBar(this, *this, 2, lay);

    onCommand(SOLVEbtn, &QPushButton::clicked, this, [this] { SOLVEbtn_Click(); });
    onCommand(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    UnitsLabel6->onChange([this] { UnitsLabel6_Change(); });
    // The controls the computations write to.
    registerControls({{ControlId::PressureCenter_StatusBar1, StatusBar1},
                      {ControlId::PressureCenter_NoMeshDefined, NoMeshDefined},
                      {ControlId::PressureCenter_PlotLabel, PlotLabel},
                      {ControlId::PressureCenter_CNROCKET, CNROCKET},
                      {ControlId::PressureCenter_CNFORCES, CNFORCES},
                      {ControlId::PressureCenter_CMFORCES, CMFORCES},
                      {ControlId::PressureCenter_MAX, MAX},
                      {ControlId::PressureCenter_MIN, MIN},
                      {ControlId::PressureCenter_MODELAOA, MODELAOA},
                      {ControlId::PressureCenter_XCPFINS, XCPFINS},
                      {ControlId::PressureCenter_CNFINS, CNFINS},
                      {ControlId::PressureCenter_XCPTOTALS, XCPTOTALS},
                      {ControlId::PressureCenter_XLRATIOS, XLRATIOS},
                      {ControlId::PressureCenter_XCPBODYS, XCPBODYS},
                      {ControlId::PressureCenter_CNBODYS, CNBODYS},
                      {ControlId::PressureCenter_BODYFORCES, BODYFORCES},
                      {ControlId::PressureCenter_CXFORCES, CXFORCES},
                      {ControlId::PressureCenter_FINAOAFORCES, FINAOAFORCES},
                      {ControlId::PressureCenter_FINFORCES, FINFORCES},
                      {ControlId::PressureCenter_LUGFORCES, LUGFORCES}});
}

// ---- computation and display ------------------------------------------------------------------

void PressureCenter::CPSOLVE(double& velocity)
{
    WaitCursor wait;
    NullProgress progress;
    const stability::CenterOfPressureReport r = stability::CPSOLVE(m(), velocity, progress);
    applyWindowWrites(forms(), r.writes);
    presentRun(r);
}

void PressureCenter::presentRun(const stability::CenterOfPressureReport& report)
{
    if (report.outcome != Outcome::Done) return;
    drawPlot(report);
    drawLegends();
    writeUnitLabels();
}

void PressureCenter::drawPlot(const stability::CenterOfPressureReport& report)
{
    SurfaceProfile->clear();
    SurfaceProfile->setScale(0, 500, 500, 0);
    PictureBox::Batch batch(SurfaceProfile);
    for (const MeshStroke& st : stability::forcePlotStrokes(m(), report)) paintStroke(SurfaceProfile, st);
}

void PressureCenter::drawLegends()
{
    for (const auto& [picture, colour] : {std::pair{LEGEND1, stability::kUpperCurveColour},
                                          std::pair{LEGEND2, stability::kLowerCurveColour}}) {
        picture->clear();
        picture->setScale(0, 500, 500, 0);
        picture->line(0, 250, 500, 250, PictureBox::qbColor(colour));
        picture->line(0, 251, 500, 251, PictureBox::qbColor(colour));
    }
}

void PressureCenter::writeUnitLabels()
{
    static const char* const kLength[] = {"FT", "IN", "M"};
    static const char* const kForce[] = {"LB", "LB", "NT"};
    const int i = forms().main().checkedUnitIndex();
    if (i < 0 || i > 2) return;
    for (TextBox* b : {UnitsLabel2, UnitsLabel3, UnitsLabel4}) b->setText(kLength[i]);
    for (TextBox* b : {UnitsLabel5, UnitsLabel6, UnitsLabel7}) b->setText(kForce[i]);
}

// ---- handlers ---------------------------------------------------------------------------------

void PressureCenter::SOLVEbtn_Click()
{
    const bool ran = forms().runCommand("Display", [this] {
        double v = m().FreeStreamVelocity;
        CPSOLVE(v);
        CXFORCES->setText(qFormat(m().TotalDragCoefficient, stability::kPatternCoefficient));
    });
    if (!ran) forms().showBusyRefusal(StatusBar1, 2);
}

void PressureCenter::Command1_Click()
{
    SurfaceProfile->clear();
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(2, QString());
    NoMeshDefined->show();
    for (TextBox* b : {XCPBODYS, CNBODYS, XCPFINS, CNFINS, CNROCKET, CNFORCES, CMFORCES, CXFORCES, XCPTOTALS,
                       XLRATIOS, BODYFORCES, FINFORCES, FINAOAFORCES, LUGFORCES, MAX, MIN, UnitsLabel2, UnitsLabel3,
                       UnitsLabel4, UnitsLabel5, UnitsLabel6, UnitsLabel7, PlotLabel, MODELAOA})
        b->setText(QString());
}

void PressureCenter::UnitsLabel6_Change() { UnitsLabel8->setText(UnitsLabel6->text()); }

void PressureCenter::mnuPrintPage_Click()
{
    printWithPictures(this, StatusBar1, {SurfaceProfile, LEGEND1, LEGEND2}, PictureFault::PassOver);
}

void PressureCenter::mnuClose_Click() { Hide(); }

void PressureCenter::mnuInstructions_Click() { forms().showModal("VelmoraHelp"); }

void PressureCenter::mnuAboutCFD_Click() { forms().showModal("AboutVelmora"); }

void PressureCenter::Toolbar1_ButtonClick(const QString& Key)
{
    if (showHelpOrAbout(forms(), Key)) return;
    if (Key == "CROSSFLOW") crossFlowKey();
    else if (Key == "RETURN") resumeNext([this] { Hide(); });
}

void PressureCenter::crossFlowKey()
{
    Module1& s = m();
    // A new mesh may have fewer stations than the one the station was picked on.
    if (!stability::clampCrossflowStation(s)) {
        StatusBar1->setPanel(2, s.BodyStationCount == 0 ? stability::kMsgPerformCfd : kMsgCrossFlowNeedsStations);
        return;
    }
    CROSSFLOW& cross = forms().get<CROSSFLOW>();
    resumeNext([&] {
        cross.UpDown3->setRange(1, s.BodyStationCount - 2);
        cross.UpDown3->showValue(s.CrossflowStation);
    });
    resumeNext([&] { cross.NSTATIONS->setText(qFormat(s.CrossflowStation, "###")); });
    resumeNext([&] {
        double v = s.FreeStreamVelocity;
        cross.CYLFLOW(v);
    });
    resumeNext([this] { forms().showModal<CROSSFLOW>(); });
}

} // namespace velmora
