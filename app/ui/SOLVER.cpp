// The main window's controls and menus, start-up (Form_Load), units and
// altitude, the flight-condition handlers and the result resets. Its other
// members: SolverCommands.cpp (menu and toolbar commands, LOOP, ABORT, exit,
// printing), SolverFiles.cpp (Save As, Open), SolverBodyFlow.cpp (MESH and
// SOLVE, run through solve/ui/MainSolveHost), SolverOutline.cpp (body and fin outline).
#include "app/ui/SOLVER.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/InputRange.h"
#include "model/Units.h"
#include "model/Vocabulary.h"
#include "platform/ui/Artwork.h"
#include "app/ui/InfoWindows.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "platform/ui/Build.h"
#include "solve/SolveChain.h"
#include "sweep/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"

namespace velmora {

SOLVER::SOLVER(Forms& forms)
    : SolveWindow(forms, "SOLVER", "Velmora - Model Rocket Computational Fluid Dynamics (CFD)")
{
    forms.setMainWindow(this);
    buildControls();
    buildMenus();
    // The controls the computations write to.
    registerControls({{ControlId::SOLVER_MachNumber, MachNumber},
                      {ControlId::SOLVER_MachLabel, MachLabel},
                      {ControlId::SOLVER_ReNumber, ReNumber},
                      {ControlId::SOLVER_PressureCd, PressureCd},
                      {ControlId::SOLVER_BaseCd, BaseCd},
                      {ControlId::SOLVER_TotalCd, TotalCd},
                      {ControlId::SOLVER_FinSurfaceDrag, FinSurfaceDrag},
                      {ControlId::SOLVER_FinInterferenceDrag, FinInterferenceDrag},
                      {ControlId::SOLVER_LaunchLugDrag, LaunchLugDrag},
                      {ControlId::SOLVER_FORCE, FORCE},
                      {ControlId::SOLVER_CdMax, CdMax},
                      {ControlId::SOLVER_CNFORCES, CNFORCES},
                      {ControlId::SOLVER_CMFORCES, CMFORCES},
                      {ControlId::SOLVER_XLRATIOS, XLRATIOS},
                      {ControlId::SOLVER_StatusBar1, StatusBar1}});
}

void SOLVER::buildMenus()
{
    menuBar = named(new QMenuBar(this), "menuBar", "Menu bar");
    static_cast<QVBoxLayout*>(layout())->setMenuBar(menuBar);
    auto action = [this](QMenu* menu, const char* caption, const char* name) {
        QAction* a = menu ? menu->addAction(caption) : menuBar->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    auto menu = [this](const char* caption, const char* name) {
        QMenu* added = menuBar->addMenu(caption);
        added->setObjectName(name);
        return added;
    };
    QMenu* file = menu("&File", "mnuFile");
    mnuOpen = action(file, "&Open", "mnuOpen");
    mnuSaveAs = action(file, "&Save As", "mnuSaveAs");
    mnuPrintForm = action(file, "&Print Page", "mnuPrintForm");
    mnuExit = action(file, "E&xit", "mnuExit");
    QMenu* help = menu("&Help", "mnuHelp");
    mnuInstructions = action(help, "&Instructions", "mnuInstructions");
    mnuAboutCFD = action(help, "&About Velmora", "mnuAboutCFD");
    mnuReferences = action(help, "References", "mnuReferences");
    mnuUnits = menu("&Units", "mnuUnits");
    // Three exclusive choices: radio marks.
    auto* unitGroup = new QActionGroup(mnuUnits);
    unitGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int i = 0; i < 3; ++i) {
        QAction* a = action(mnuUnits, UnitSystemTable[static_cast<size_t>(i)].menuItem,
                            QStringLiteral("mnuNewUnits%1").arg(i).toLatin1().constData());
        a->setCheckable(true);
        a->setChecked(i == 0);
        unitGroup->addAction(a);
        mnuNewUnits[static_cast<size_t>(i)] = a;
        // The mark follows the unit system, not the click: it is put back to
        // the system in force, and the handler sets it.
        onCommand(a, &QAction::triggered, this, [this, i] {
            const auto row = unitIndexByCode(m().AnalysisUnits);
            for (int k = 0; k < 3; ++k) mnuNewUnits[static_cast<size_t>(k)]->setChecked(row && *row == k);
            mnuNewUnits_Click(i);
        });
    }
    QMenu* design = menu("&Design Rocket", "mnuDesign");
    mnuBodyTube = action(design, "&Body Tube", "mnuBodyTube");
    mnuFins = action(design, "&Fins and Lugs", "mnuFins");
    QMenu* results = menu("&CFD Results", "mnuResults");
    mnuPlots = action(results, "&Plots", "mnuPlots");
    mnuCoefficients = action(results, "&Coefficients", "mnuCoefficients");
    mnuVariables = action(nullptr, "&Constants", "mnuVariables");
    mnuQuitCFD = action(nullptr, "&Quit CFD", "mnuQuitCFD");

    onCommand(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    onCommand(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
    onCommand(mnuPrintForm, &QAction::triggered, this, [this] { mnuPrintForm_Click(); });
    onCommand(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    onCommand(mnuInstructions, &QAction::triggered, this, [this] { mnuInstructions_Click(); });
    onCommand(mnuAboutCFD, &QAction::triggered, this, [this] { mnuAboutCFD_Click(); });
    onCommand(mnuReferences, &QAction::triggered, this, [this] { mnuReferences_Click(); });
    onCommand(mnuBodyTube, &QAction::triggered, this, [this] { mnuBodyTube_Click(); });
    onCommand(mnuFins, &QAction::triggered, this, [this] { mnuFins_Click(); });
    onCommand(mnuPlots, &QAction::triggered, this, [this] { mnuPlots_Click(); });
    onCommand(mnuCoefficients, &QAction::triggered, this, [this] { mnuCoefficients_Click(); });
    onCommand(mnuVariables, &QAction::triggered, this, [this] { mnuVariables_Click(); });
    onCommand(mnuQuitCFD, &QAction::triggered, this, [this] { mnuQuitCFD_Click(); });
}

void SOLVER::buildControls()
{
    auto* lay = new QVBoxLayout(this);
    buildToolbar(this, lay, "Main toolbar",
                 {{"BODY", "Define body tube geometry."},
                  {"FINS", "Define fin and launch lug dimensions."},
                  {"PLOT", "Plot CFD results."},
                  {"CP", "Detailed rocket aerodynamic data."},
                  {"BASE FLOW", "Insert CFD base flow drag (Optional)."},
                  kVelmoraHelpKey, kAboutKey},
                 toolbarIcon);

    auto* top = new QHBoxLayout;
    // Flight conditions.
    auto* flight = named(new QGroupBox("Flight Conditions", this), "FlightConditions", "Flight Conditions");
    auto* fg = new QGridLayout(flight);
    Velocity = makeBox(flight, "Velocity", "Rocket Flight Speed", "0");
    Speed = makeList(flight, "Speed", "Rocket velocity unit", "Rocket velocity.");
    ROCKETAOA = makeBox(flight, "ROCKETAOA", "Rocket AOA ", "0");
    Compressible = makeList(flight, "Compressible", "Fluid Flow Type",
                            "Select if flow is incompressible [potential flow] or compressible [M >.3].");
    RATIOS = makeList(flight, "RATIOS", "Rocket Flight Altitude", "U.S. Standard Atmosphere.");
    CFDUNITS = makeList(flight, "CFDUNITS", "CFD analysis units", "CFD analysis units.");
    UNITLBL = makeBox(flight, "UNITLBL", "Analysis Units", QString(), true);
    addRow(fg, 0, "Rocket Flight Speed", Velocity, Speed);
    addRow(fg, 1, "Rocket AOA ", ROCKETAOA, makeLabel(flight, "DegreesLabel", "DEGREES"));
    fitToPattern(Velocity, "##.###");
    fitToPattern(ROCKETAOA, "#####.####");
    QStringList codes;
    for (const UnitSystem& u : UnitSystemTable) codes << u.code;
    fitToTexts(UNITLBL, codes);
    addRow(fg, 2, "Fluid Flow Type", Compressible);
    addRow(fg, 3, "Rocket Flight Altitude", RATIOS);
    addRow(fg, 4, "Analysis Units", UNITLBL, CFDUNITS);
    top->addWidget(flight);

    // Mesh settings.
    auto* mesh = named(new QGroupBox("Computational Mesh", this), "ComputationalMesh", "Computational Mesh");
    auto* mg = new QGridLayout(mesh);
    DomainSize = makeList(mesh, "DomainSize", "Mesh Size  (N X N Grids)");
    MERIDIANS = makeList(mesh, "MERIDIANS", "Grid # on Circumference");
    // Every list here acts on a pick; typed text would be shown and ignored.
    for (ComboBox* list : {Speed, Compressible, RATIOS, CFDUNITS, DomainSize, MERIDIANS}) list->setPickOnly(true);
    addRow(mg, 0, "Mesh Size  (N X N Grids)", DomainSize);
    addRow(mg, 1, "Grid # on Circumference", MERIDIANS);
    auto* buttons = new QHBoxLayout;
    CFDSOLVER = makeButton(mesh, "CFDSOLVER", "SOLVE", "SOLVE flow. ");
    MESHER = makeButton(mesh, "MESHER", "MESH", "MESH without performing SOLVE.");
    IterateBtn = makeButton(mesh, "IterateBtn", "LOOP", "LOOP on AOA or velocity and plot results.");
    Abort = makeButton(mesh, "Abort", "ABORT", "ABORT CFD solution.");
    MERIDIANS->setToolTip("Select number of grids on circumference of rocket body.");
    DomainSize->setToolTip("Select number of grids in each direction.");
    for (QPushButton* b : {CFDSOLVER, MESHER, IterateBtn, Abort}) {
        b->setIcon(toolbarIcon(b->text()));
        b->setIconSize(QSize(32, 32));
    }
    onCommand(CFDSOLVER, &QPushButton::clicked, this, [this] { CFDSOLVER_Click(); });
    onCommand(MESHER, &QPushButton::clicked, this, [this] { MESHER_Click(); });
    onCommand(IterateBtn, &QPushButton::clicked, this, [this] { IterateBtn_Click(); });
    onCommand(Abort, &QPushButton::clicked, this, [this] { Abort_Click(); });
    for (QPushButton* b : {CFDSOLVER, MESHER, IterateBtn, Abort}) buttons->addWidget(b);
    mg->addLayout(buttons, 2, 0, 1, 3);
    top->addWidget(mesh);
    // The inputs keep the width they need; the mesh picture takes the rest.
    top->addStretch(1);

    // Results.
    auto* res = named(new QGroupBox("Velmora Results", this), "VelmoraResults", "Velmora Results");
    auto* rg = new QGridLayout(res);
    auto resultBox = [res](const char* name, const char* caption) {
        return makeBox(res, name, caption, QString(), true);
    };
    MachNumber = resultBox("MachNumber", "Mach Number (Mn):");
    MachNumber->setToolTip("Mach number based on ambient conditions.");
    ReNumber = resultBox("ReNumber", "Reynolds Number (Rn):");
    XLRATIOS = resultBox("XLRATIOS", "Rocket Cp Location / L:");
    FORCE = resultBox("FORCE", "Total Rocket Drag Force:");
    FORCELABEL = resultBox("FORCELABEL", "Force unit");
    TotalCd = resultBox("TotalCd", "Cd (Max Nose-Area):");
    CNFORCES = resultBox("CNFORCES", "Normal Coefficient (CN):");
    CdMax = resultBox("CdMax", "Cd (Max Body-Area):");
    CMFORCES = resultBox("CMFORCES", "Pitch Coefficient (CM):");
    PressureCd = resultBox("PressureCd", "Nose and Body Tube:");
    FinInterferenceDrag = resultBox("FinInterferenceDrag", "Fin-Body Interference:");
    BaseCd = resultBox("BaseCd", "Rocket Base (Pressure):");
    LaunchLugDrag = resultBox("LaunchLugDrag", "Launch Lug (Pressure):");
    FinSurfaceDrag = resultBox("FinSurfaceDrag", "Fin Surface (Friction):");
    // Each box holds the widest number its display pattern gives.
    for (TextBox* b : {MachNumber, XLRATIOS, FORCE}) fitToPattern(b, "#####.###");
    fitToPattern(ReNumber, "#########");
    for (TextBox* b : {TotalCd, CNFORCES, CdMax, CMFORCES, PressureCd, FinInterferenceDrag, BaseCd, LaunchLugDrag,
                       FinSurfaceDrag})
        fitToPattern(b, "##.###");
    // One column, one width: the widest pattern's.
    shareWidth({MachNumber, ReNumber, XLRATIOS, FORCE, TotalCd, CNFORCES, CdMax, CMFORCES, PressureCd,
                FinInterferenceDrag, BaseCd, LaunchLugDrag, FinSurfaceDrag});
    QStringList forces;
    for (const UnitSystem& u : UnitSystemTable) forces << u.force;
    fitToTexts(FORCELABEL, forces);
    int r = 0;
    MachLabel = named(addRow(rg, r++, "Mach Number (Mn):", MachNumber), "MachLabel", "Mach Number (Mn):");
    addRow(rg, r++, "Reynolds Number (Rn):", ReNumber);
    addRow(rg, r++, "Rocket Cp Location / L:", XLRATIOS);
    addRow(rg, r++, "Total Rocket Drag Force:", FORCE, FORCELABEL);
    addRow(rg, r++, "Cd (Max Nose-Area):", TotalCd);
    addRow(rg, r++, "Normal Coefficient (CN):", CNFORCES);
    addRow(rg, r++, "Cd (Max Body-Area):", CdMax);
    addRow(rg, r++, "Pitch Coefficient (CM):", CMFORCES);
    QLabel* components = makeLabel(res, "CdComponents", "Cd Components (Max Nose-Area Reference)");
    components->setContentsMargins(0, 6, 0, 0);
    rg->addWidget(components, r++, 0, 1, 3);
    addRow(rg, r++, "Nose and Body Tube:", PressureCd);
    addRow(rg, r++, "Fin-Body Interference:", FinInterferenceDrag);
    addRow(rg, r++, "Rocket Base (Pressure):", BaseCd);
    addRow(rg, r++, "Launch Lug (Pressure):", LaunchLugDrag);
    addRow(rg, r++, "Fin Surface (Friction):", FinSurfaceDrag);
    rg->setRowStretch(r, 1);
    rg->setColumnStretch(3, 1);

    // The mesh under the inputs and beside the results column, which spans
    // the window's height; on a narrow screen the results go under the inputs.
    MeshPlot = named(new PictureBox(this), "MeshPlot", "Rocket body mesh");
    MeshPlot->setMinimumSize(280, 140);
    MeshPlot->setDesignSize(QSize(380, 190));
    MeshPlot->setHeightForWidthRatio(0.5);
    lay->addLayout(new BesideLayout(top, new PlotLayout(MeshPlot), res), 1);
    NoMeshDefined = makePictureNotice(MeshPlot, "NoMeshDefined", "Generate New Rocket Body Mesh");
    ProgressBar1 = makeProgressBar(this, "ProgressBar1", "Progress");
    ProgressBar1->setValue(1);
    lay->addWidget(ProgressBar1);
    buildStatusBar(this, *this, 2, lay);

    Velocity->onChange([this] { Velocity_Change(); });
    Velocity->onEditEnd([this] { velocityEdited(); });
    ROCKETAOA->onChange([this] { ROCKETAOA_Change(); });
    Speed->onClick([this] { Speed_Click(); });
    RATIOS->onClick([this] { RATIOS_Click(); });
    // The state keeps the texts the computations and the project file need.
    Speed->onTextChanged([this](const QString& t) { m().SpeedUnitText = t.toStdString(); });
    RATIOS->onTextChanged([this](const QString& t) { m().AltitudeText = t.toStdString(); });
    Compressible->onTextChanged([this](const QString& t) { m().FlowModelText = t.toStdString(); });
    Compressible->onClick([this] { Compressible_Click(); });
    CFDUNITS->onClick([this] { CFDUNITS_Click(); });
    MERIDIANS->onClick([this] { MERIDIANS_Click(); });
    DomainSize->onClick([this] { DomainSize_Click(); });
}

// ---- start-up --------------------------------------------------------------------

void SOLVER::Form_Load()
{
    Forms& f = forms();
    Module1& s = m();
    // The input windows, loaded hidden; their own load handlers run. The
    // free-form editor has no load handler: it is built when first opened or
    // written.
    f.get<Welcome>();
    f.get<BODYTUBE>();
    f.get<FinAnalysis>();
    // The welcome window; Quit ends the program here.
    f.showModal<Welcome>();
    if (f.quitRequested()) return;
    // No base pressure of a base flow yet, no ABORT pending.
    s.BasePressureAvailable = BasePressureFlag::False;
    s.AbortRequest = AbortFlag::No;
    // Speed units.
    Speed->setText(VelocityUnit::FtPerSec);
    for (const char* u : SpeedUnits) Speed->AddItem(u);
    // Flow model.
    s.CompressibleFlow = 0;
    Compressible->setText(CompressibilityModel::Incompressible);
    Compressible->AddItem(CompressibilityModel::Incompressible);
    Compressible->AddItem(CompressibilityModel::Compressible);
    // Mesh sizes.
    DomainSize->setText("20");
    for (int n = 10; n <= 25; ++n) DomainSize->AddItem(QString::number(n));
    for (int n = 30; n <= 50; n += 5) DomainSize->AddItem(QString::number(n));
    // Meridians.
    s.MeridianCount = 8;
    MERIDIANS->setText("8");
    for (const char* t : {"8", "10", "12"}) MERIDIANS->AddItem(t);
    // Altitudes.
    RATIOS->setText("SEA LEVEL");
    for (const auto& row : StandardAtmosphereTable) RATIOS->AddItem(row.altitude);
    // ft-lb-sec at sea level.
    setSeaLevelFps(s);
    UNITLBL->setText(UnitsSystem::FPS);
    // Dynamic-pressure contours, velocity profile.
    s.PressurePlotKind = 1;
    s.ProfileQuantity = 0;
    // Fluid constants, as they are now; the window (no load handler) is
    // built with them when first opened or written.
    f.whenLoaded<FluidVariables>([pressure = qFormat(s.AmbientPressure, "#####.###"),
                                  density = qFormat(s.AmbientDensity, "#.###E+00"),
                                  sound = qFormat(s.SpeedOfSound, "#####.###"),
                                  viscosity = qFormat(s.DynamicViscosity, "#.###E+00")](FluidVariables& fluid) {
        fluid.ULABEL->setText(VelocityUnit::FtPerSec);
        fluid.Pressure->setText(pressure);
        fluid.Density->setText(density);
        fluid.Sound->setText(sound);
        fluid.FluidViscosity->setText(viscosity);
        fluid.Label2->setText("LB/FT^2");
        fluid.Label3->setText("LB-SEC^2/FT^4");
        fluid.Label4->setText(VelocityUnit::FtPerSec);
        fluid.Label5->setText("LB-SEC/FT^2");
    });
    // Length and force captions.
    BODYTUBE& body = f.get<BODYTUBE>();
    for (int i = 1; i <= 5; ++i) body.LLABEL[static_cast<size_t>(i)]->setText("FT");
    FORCELABEL->setText("LB");
    FinAnalysis& fins = f.get<FinAnalysis>();
    for (int i = 1; i <= 9; ++i) fins.LLABEL[static_cast<size_t>(i)]->setText("FT");
    fins.LLABEL[5]->setVisible(true);
    fins.LLABEL[7]->setVisible(true);
    body.LLABEL[6]->setText("FT");
    // Plot settings. Written into the plot window's boxes, they would
    // mark both as the user's own; that is done here, and the boxes get
    // their texts, with no handler run, when the window is first accessed.
    s.VectorScale = 1;
    s.ContourLevelCount = 20;
    s.VectorScaleUserSet = 1;
    s.ContourLevelsUserSet = 1;
    f.whenLoaded<PlotResults>([scale = qFormat(s.VectorScale, ".###"),
                               levels = qFormat(s.ContourLevelCount, "###")](PlotResults& plot) {
        for (auto [box, text] : {std::pair{plot.Vscale, scale}, {plot.NLEVELS, levels}, {plot.NLEVELS2, levels}}) {
            const QSignalBlocker quiet(box);
            box->setText(text);
        }
    });
    // No Mach number shown yet.
    MachNumber->setText(QString());
    // Domain shape, level flight, the standard body (four free-form points).
    s.DomainAspectRatio = 2.0f;
    s.AngleOfAttack = 0;
    s.FreeFormPointCount = 4;
    s.ActiveBodyGeometry = 0;
    // An angle-of-attack sweep of one step plotting Cd; plot scales 1.
    s.AoaSweepSelected = 1;
    s.VelocitySweepSelected = 0;
    s.SweepPlotQuantity = 1;
    s.SweepStepCount = 1;
    s.SweepPlotYScale = 1.0f;
    s.CrossflowCpScale = 1.0f;
    // Sweep settings. Each of the sweep window's boxes, written, would
    // store its value and clear and redraw the sweep plot: the values are
    // stored and the plot worked out here; the window gets the texts (no
    // handler run), that plot and the angle-of-attack layout when it is
    // first accessed.
    s.SweepAoaIncrement = 3;
    s.SweepVelocityIncrement = 100;
    s.SweepStartAoa = 1;
    s.SweepStartVelocity = 300;
    stability::clearSweepResults(s, s.SweepStepCount);
    f.whenLoaded<ITERATION>([plot = stability::sweepPlot(s, s.SweepStepCount), speed = Speed->Text()](ITERATION& sweep) {
        for (auto [box, text] : {std::pair{sweep.MAXLOOPS, "1"}, {sweep.AOAINC, "3"}, {sweep.VELINC, "100"},
                                 {sweep.AOAINITIAL, "1"}, {sweep.VINITIAL, "300"}}) {
            const QSignalBlocker quiet(box);
            box->setText(text);
        }
        sweep.clearPlot();
        sweep.drawPlot(plot);
        sweep.AOAINC->show();
        sweep.VELINC->hide();
        sweep.Label1->show();
        sweep.Label2->hide();
        sweep.LVLABEL1->setText(speed);
        sweep.LVLABEL2->setText(speed);
        sweep.LVLABEL2->hide();
    });
    // Unit-system list.
    CFDUNITS->setText("ft-lb-sec");
    for (const auto& row : UnitSystemTable) CFDUNITS->AddItem(row.listItem);
    // The cross-flow plot starts at the first station.
    s.CrossflowStation = 1;
}

// ---- units and atmosphere -----------------------------------------------------

int SOLVER::checkedUnitIndex() const
{
    for (int i = 0; i < 3; ++i)
        if (mnuNewUnits[static_cast<size_t>(i)]->isChecked()) return i;
    return -1;
}

void SOLVER::applyUnitRow(int rowIndex)
{
    Module1& s = m();
    const UnitSystem& row = UnitSystemTable[static_cast<size_t>(rowIndex)];
    applyUnitConstants(s, row);
    computeAmbientAir(s);
    // The label set.
    Forms& f = forms();
    FORCELABEL->setText(row.force);
    BODYTUBE& body = f.get<BODYTUBE>();
    for (int i = 1; i <= 6; ++i) body.LLABEL[static_cast<size_t>(i)]->setText(row.length);
    FinAnalysis& fins = f.get<FinAnalysis>();
    for (int i = 1; i <= 9; ++i) fins.LLABEL[static_cast<size_t>(i)]->setText(row.length);
    FluidVariables& fluid = f.get<FluidVariables>();
    fluid.ULABEL->setText(row.velocity);
    fluid.Pressure->setText(qFormat(s.AmbientPressure, "#####.###"));
    fluid.Label2->setText(row.pressure);
    fluid.Density->setText(qFormat(s.AmbientDensity, "#.###E+00"));
    fluid.Label3->setText(row.density);
    fluid.Sound->setText(qFormat(s.SpeedOfSound, "#####.###"));
    fluid.Label4->setText(row.velocity);
    fluid.FluidViscosity->setText(qFormat(s.DynamicViscosity, "#.###E+00"));
    fluid.Label5->setText(row.viscosity);
    for (int i = 0; i < 3; ++i) mnuNewUnits[static_cast<size_t>(i)]->setChecked(i == rowIndex);
}

void SOLVER::INPUTUNITS(double& /*velocity*/)
{
    Module1& s = m();
    UNITLBL->setText(QString::fromStdString(s.AnalysisUnits));
    applyAltitude(s, s.AltitudeText);
    auto row = unitIndexByCode(s.AnalysisUnits);
    if (!row) {
        // A code that names no unit system (it can only come from a file)
        // falls back to ft-lb-sec, so labels and air values never go stale.
        s.AnalysisUnits = UnitsSystem::FPS;
        UNITLBL->setText(UnitsSystem::FPS);
        row = 0;
    }
    applyUnitRow(*row);
}

void SOLVER::unitSwitch(int row, bool fromMenu)
{
    Module1& s = m();
    if (row >= 0 && row < 3) {
        s.AnalysisUnits = UnitSystemTable[static_cast<size_t>(row)].code;
        applyUnitRow(row);
    }
    StatusBar1->setPanel(1, kMsgNewSolutionRequired);
    s.FlowSolutionStatus = FlowSolutionState::Stale;
    StatusBar1->setPanel(2, QString());
    PlotResults& plot = forms().get<PlotResults>();
    plot.VelocityPlot->clear();
    plot.LEVELS->clear();
    for (TextBox* b : {plot.MAX, plot.MIN, plot.UnitsLabel, plot.PlotLabel}) b->setText(QString());
    for (TextBox* b : {MachNumber, TotalCd, PressureCd, BaseCd, FinInterferenceDrag, LaunchLugDrag,
                       FinSurfaceDrag, FORCE, ReNumber})
        b->setText(QString());
    convertVelocity(s, s.SpeedUnitText);
    forms().get<FluidVariables>().UINPUT->setText(qFormat(s.FreeStreamVelocity, "#.###E+00"));
    if (fromMenu) {
        if (const auto r = unitIndexByCode(s.AnalysisUnits))
            CFDUNITS->setText(UnitSystemTable[static_cast<size_t>(*r)].listItem);
    }
    UNITLBL->setText(QString::fromStdString(s.AnalysisUnits));
    CLEARDATA2(s.FreeStreamVelocity);
}

void SOLVER::CFDUNITS_Click()
{
    const auto row = unitIndexByListItem(CFDUNITS->Text().toStdString());
    unitSwitch(row ? *row : -1, false);
}

void SOLVER::mnuNewUnits_Click(int Index)
{
    unitSwitch(Index, true);
}

void SOLVER::RATIOS_Click()
{
    Module1& s = m();
    INPUTUNITS(s.FreeStreamVelocity);
    // With the speed unit "MACH" the velocity follows the new speed of sound,
    // and the Mach number is checked again.
    if (s.SpeedUnitText == "MACH") {
        convertVelocity(s, "MACH");
        forms().get<FluidVariables>().UINPUT->setText(qFormat(s.FreeStreamVelocity, "#.###E+00"));
        checkMachNumber(true);
    }
    CLEARDATA3(s.FreeStreamVelocity);
}

void SOLVER::Compressible_Click()
{
    Module1& s = m();
    const QString t = Compressible->Text();
    if (t == CompressibilityModel::Incompressible) s.CompressibleFlow = 0;
    else if (t == CompressibilityModel::Compressible) s.CompressibleFlow = 1;
    CLEARDATA3(s.FreeStreamVelocity);
}

// ---- flight condition ---------------------------------------------------------------

// The Mach number of the velocity now set; true above 2.
bool SOLVER::updateMachNumber()
{
    Module1& s = m();
    s.FreeStreamMachNumber = s.SpeedOfSound > 0 ? singleOrLargest(s.FreeStreamVelocity / s.SpeedOfSound) : 0.0f;
    return s.FreeStreamMachNumber > kMaxIncompressibleMach;
}

// The Mach number of the velocity now set. Above 2 a box asks for a new one:
// at every pick and every typed value the user has finished (always), or
// once as a value written whole crosses 2. The flag is set before the box
// opens, so a change while it is open asks no second time.
void SOLVER::checkMachNumber(bool always)
{
    const bool tooFast = updateMachNumber();
    const bool ask = tooFast && (always || !machWarned_);
    machWarned_ = tooFast;
    if (ask) MsgBox("PLEASE ENTER NEW MACH NUMBER", MsgButtons::OkOnly, "MACH NUMBER TO LARGE");
}

// A keystroke takes the velocity at once; the Mach number is asked about when
// the user has finished the value (velocityEdited), never in mid-entry.
void SOLVER::Velocity_Change()
{
    Module1& s = m();
    s.EnteredVelocity = typedValue(s, InputName::Velocity, Velocity->text().toStdString());
    CLEARDATA3(s.FreeStreamVelocity);
    convertVelocity(s, s.SpeedUnitText);
    forms().get<FluidVariables>().UINPUT->setText(qFormat(s.FreeStreamVelocity, "#.###E+00"));
    if (Velocity->typing()) updateMachNumber();
    else checkMachNumber(false);
}

// The Mach box of a value the user has finished; after the click that
// finished it, which then still acts.
void SOLVER::velocityEdited()
{
    if (Velocity->endedByClick()) afterTheClick(this, [this] { checkMachNumber(true); });
    else checkMachNumber(true);
}

void SOLVER::Speed_Click()
{
    Module1& s = m();
    convertVelocity(s, s.SpeedUnitText);
    checkMachNumber(true);
    // The velocity has changed either way: echo it and invalidate.
    ITERATION& sweep = forms().get<ITERATION>();
    sweep.LVLABEL1->setText(Speed->Text());
    sweep.LVLABEL2->setText(Speed->Text());
    forms().get<FluidVariables>().UINPUT->setText(qFormat(s.FreeStreamVelocity, "#.###E+00"));
    CLEARDATA3(s.FreeStreamVelocity);
}

void SOLVER::ROCKETAOA_Change()
{
    Module1& s = m();
    s.AngleOfAttack = typedValue(s, InputName::AngleOfAttack, ROCKETAOA->text().toStdString());
    forms().get<PanelAero>().AOALABEL->setText("AOA = " + qFormat(s.AngleOfAttack, "##.###") + " DEG.");
    CLEARDATA3(s.FreeStreamVelocity);
    if (s.AngleOfAttack > 0 && s.AngleOfAttack < 0.5) {
        s.AngleOfAttack = 0.5;
        ROCKETAOA->setText(qFormat(0.5, "#####.####"));
        StatusBar1->setPanel(2, "Angle of attack (AOA) reset to +0.5 degrees.");
    } else if (s.AngleOfAttack < 0 && s.AngleOfAttack > -0.5) {
        s.AngleOfAttack = -0.5;
        ROCKETAOA->setText(qFormat(-0.5, "#####.####"));
        StatusBar1->setPanel(2, "Angle of attack (AOA) reset to -0.5 degrees.");
    }
}

// ---- result invalidation --------------------------------------------------------------

void SOLVER::resetCommon(bool mainOverlay, bool plotOverlays, bool clearDrawings)
{
    Module1& s = m();
    Forms& f = forms();
    ++resets_;
    // Main window: a new solution is needed.
    StatusBar1->setPanel(1, kMsgNewSolutionRequired);
    StatusBar1->setPanel(2, QString());
    if (mainOverlay) NoMeshDefined->show();
    // Body-flow and fin-section solutions stale.
    s.FlowSolutionStatus = FlowSolutionState::Stale;
    s.PanelSolutionStatus = PanelSolutionState::Stale;
    s.FlowSolutionStatusText = FlowSolutionState::Stale;
    // The main window's result and drag boxes empty.
    for (TextBox* b : {MachNumber, FORCE, TotalCd, CdMax, ReNumber}) b->setText(QString());
    s.BodyPressureDragCoefficient = 0;
    for (TextBox* b : {PressureCd, BaseCd, FinInterferenceDrag, LaunchLugDrag, FinSurfaceDrag}) b->setText(QString());
    // Plot window: status, pictures and labels empty.
    PlotResults& plot = f.get<PlotResults>();
    plot.StatusBar1->setPanel(1, kMsgNewSolutionRequired);
    plot.StatusBar1->setPanel(2, QString());
    plot.VelocityPlot->clear();
    plot.LEVELS->clear();
    plot.FieldProfile->clear();
    for (TextBox* b : {plot.MAX, plot.MIN, plot.UnitsLabel, plot.PlotLabel, plot.UnitsLabel1, plot.MAX1, plot.MIN1})
        b->setText(QString());
    if (plotOverlays) plot.NoMeshDefined->show();
    // Centre-of-pressure window: status, picture and boxes empty.
    PressureCenter& cp = f.get<PressureCenter>();
    cp.StatusBar1->setPanel(1, kMsgNewSolutionRequired);
    cp.StatusBar1->setPanel(2, QString());
    cp.SurfaceProfile->clear();
    for (TextBox* b : {cp.MODELAOA, cp.XCPBODYS, cp.CNBODYS, cp.XCPFINS, cp.CNFINS, cp.XCPTOTALS, cp.XLRATIOS,
                       cp.MAX, cp.MIN, cp.PlotLabel})
        b->setText(QString());
    if (plotOverlays) cp.NoMeshDefined->show();
    // The fin results and forces of the last run forgotten.
    s.FinNormalForceSlope = 0;
    s.FinCenterOfPressure = 0;
    s.FinDragForce = 0;
    s.BodyDragForce = 0;
    s.FinNormalForce = 0;
    // The main window's CN, Cm and XCp/L empty.
    for (TextBox* b : {XLRATIOS, CNFORCES, CMFORCES}) b->setText(QString());
    // The mesh drawings go.
    if (clearDrawings) {
        MeshPlot->clear();
        f.get<BODYTUBE>().MeshPlot->clear();
        plot.VelocityPlot->clear();
    }
    // The fin-section pictures empty, with the plot's labels and the state
    // of the solution they showed (its instructions in panel 2 stay).
    PanelAero& panel = f.get<PanelAero>();
    panel.FinSection->clear();
    panel.PLOT1->clear();
    for (TextBox* b : {panel.UnitsLabel1, panel.MAX1, panel.MIN1}) b->setText(QString());
    panel.StatusBar1->setPanel(1, QString());
    // A base-flow window that was never loaded stays unloaded.
    f.unload<NavierStokes>();
}

void SOLVER::ClearData(double& /*velocity*/)
{
    resetCommon(true, true, true);
}

void SOLVER::CLEARDATA2(double& /*velocity*/)
{
    resetCommon(false, false, true);
}

void SOLVER::CLEARDATA3(double& /*velocity*/)
{
    resetCommon(false, true, false);
}
} // namespace velmora
