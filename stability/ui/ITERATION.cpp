#include "stability/ui/StabilityWindows.h"

#include "bodyflow/ui/WindowWriter.h"
#include "stability/CenterOfPressure.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"

namespace velmora {

// ---- centre of pressure ------------------------------------------------------

PressureCenter::PressureCenter(Forms& forms) : Form(forms, "PressureCenter", "CFD Force Analysis Summary")
{
    auto* lay = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    struct Row { TextBox** box; const char* name; const char* caption; const char* pattern; };
    const Row rows[] = {
        {&MODELAOA, "MODELAOA", "Rocket Flight Angle of Attack (Degrees):", "###.##"},
        {&CNFINS, "CNFINS", "Fin Normal Force Coefficient (CNa-fin):", "#####.###"},
        {&CNBODYS, "CNBODYS", "Body Normal Force Coefficient (CNa-body):", "#####.###"},
        {&CNROCKET, "CNROCKET", "Total Rocket Normal Force Coefficient (CNa):", "##.###"},
        {&XCPBODYS, "XCPBODYS", "Nose Cone and Body Cp Location (Xbody):", "#####.###"},
        {&XCPFINS, "XCPFINS", "Fin Cp Location From Tip of Nose Cone (Xfin):", "#####.###"},
        {&XCPTOTALS, "XCPTOTALS", "Total Cp Location From Tip of Nose (XCp):", "#####.###"},
        {&XLRATIOS, "XLRATIOS", "Rocket Cp Location (XCp/L):", "#####.###"},
        {&CNFORCES, "CNFORCES", "Normal Force Coefficient (CN):", "##.###"},
        {&CMFORCES, "CMFORCES", "Pitch Moment Coefficient (Cm):", "##.###"},
        {&CXFORCES, "CXFORCES", "Drag Force Coefficient (Cd):", "#####.###"},
        {&BODYFORCES, "BODYFORCES", "Drag Force at Nose/Body Center of Pressure:", "#####.###"},
        {&FINFORCES, "FINFORCES", "Drag Force at Each Fin's Center of Presure:", "#####.###"},
        {&FINAOAFORCES, "FINAOAFORCES", "Lift Force at Each Fin's Center of Pressure:", "#####.###"},
        {&LUGFORCES, "LUGFORCES", "Drag Force at Launch Lug Center of Pressure:", "#####.###"},
    };
    int r = 0;
    for (const Row& row : rows) {
        *row.box = makeBox(this, row.name, row.caption, QString(), true);
        fitToPattern(*row.box, row.pattern);
        addRow(grid, r++, row.caption, *row.box);
    }
    lay->addLayout(grid);
    auto* right = new QVBoxLayout;
    auto* plotRow = new QHBoxLayout;
    auto* axis = new QVBoxLayout;
    MIN = makeBox(this, "MIN", "Plot top", QString(), true);
    PlotLabel = makeBox(this, "PlotLabel", "Plot quantity", QString(), true);
    MAX = makeBox(this, "MAX", "Plot bottom", QString(), true);
    axis->addWidget(MIN);
    axis->addWidget(PlotLabel);
    axis->addWidget(MAX);
    SurfaceProfile = named(new PictureBox(this), "SurfaceProfile", "Average Pressure Coefficient (Cp) Distribution");
    SurfaceProfile->setMinimumSize(400, 250);
    plotRow->addLayout(axis);
    plotRow->addWidget(SurfaceProfile, 1);
    right->addLayout(plotRow, 1);
    NoMeshDefined = makeLabel(SurfaceProfile, "NoMeshDefined", "Generate New Plot");
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    right->addWidget(StatusBar1);
    lay->addLayout(right, 1);
}

void PressureCenter::CPSOLVE(double& velocity)
{
    NullProgress progress;
    const stability::CenterOfPressureReport r = stability::CPSOLVE(m(), velocity, progress);
    applyWindowWrites(forms(), r.writes);
}

// ---- sweep ---------------------------------------------------------------------

ITERATION::ITERATION(Forms& forms) : Form(forms, "ITERATION", "CFD Loop Analysis and Plots")
{
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    AOAINC = makeBox(this, "AOAINC", "AOA Increment (DEGREES)", "0");
    VELINC = makeBox(this, "VELINC", "Rocket Velocity Increment", "0");
    MAXLOOPS = makeBox(this, "MAXLOOPS", "Number of Loops", "0");
    AOAINITIAL = makeBox(this, "AOAINITIAL", "Initial AOA (DEGREES)", "0");
    VINITIAL = makeBox(this, "VINITIAL", "Initial Rocket Flight Velocity", "0");
    Label1 = makeLabel(this, "Label1", "AOA Increment (DEGREES)");
    Label2 = makeLabel(this, "Label2", "Rocket Velocity Increment");
    LVLABEL1 = makeLabel(this, "LVLABEL1", QString());
    LVLABEL2 = makeLabel(this, "LVLABEL2", QString());
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(AOAINC, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(VELINC, 1, 1);
    grid->addWidget(LVLABEL2, 1, 2);
    addRow(grid, 2, "Number of Loops", MAXLOOPS);
    addRow(grid, 3, "Initial AOA (DEGREES)", AOAINITIAL);
    addRow(grid, 4, "Initial Rocket Flight Velocity", VINITIAL, LVLABEL1);
    lay->addLayout(grid);
    BResult = makeLabel(this, "BResult", QString());
    MAXDATA = makeLabel(this, "MAXDATA", QString());
    MINDATA = makeLabel(this, "MINDATA", QString());
    MAXAOA = makeLabel(this, "MAXAOA", QString());
    MINAOA = makeLabel(this, "MINAOA", QString());
    DataPlot1 = named(new PictureBox(this), "DataPlot1", "Sweep plot");
    DataPlot1->setMinimumSize(400, 250);
    lay->addWidget(DataPlot1, 1);
    auto* caps = new QHBoxLayout;
    for (QLabel* l : {MAXDATA, MINDATA, MINAOA, MAXAOA, BResult}) caps->addWidget(l);
    lay->addLayout(caps);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);

    MAXLOOPS->onChange([this] { MAXLOOPS_Change(); });
    AOAINC->onChange([this] { AOAINC_Change(); });
    VELINC->onChange([this] { VELINC_Change(); });
    AOAINITIAL->onChange([this] { AOAINITIAL_Change(); });
    VINITIAL->onChange([this] { VINITIAL_Change(); });
}

void ITERATION::ClearData(double steps)
{
    Module1& s = m();
    for (QLabel* l : {MAXDATA, MINDATA, MAXAOA, MINAOA, BResult}) l->clear();
    const long n = std::clamp(static_cast<long>(steps), 0L, 360L);
    for (long i = 1; i <= n; ++i) {
        s.SweepDragCoefficients(i) = 0;
        s.SweepNormalForceCoefficients(i) = 0;
        s.SweepMomentCoefficients(i) = 0;
        s.SweepCenterOfPressureRatios(i) = 0;
        s.SweepPlotX(i) = 0;
        s.SweepPlotY(i) = 0;
    }
}

void ITERATION::DATAPLOT(double steps)
{
    Module1& s = m();
    const long n = std::clamp(static_cast<long>(steps), 0L, 360L);
    double last = 0;
    if (n >= 1) {
        switch (s.SweepPlotQuantity) {
        case 2: last = s.SweepNormalForceCoefficients(n); break;
        case 3: last = s.SweepMomentCoefficients(n); break;
        case 4: last = s.SweepCenterOfPressureRatios(n); break;
        default: last = s.SweepDragCoefficients(n); break;
        }
    }
    if (last == 0) {
        MAXDATA->clear();
        StatusBar1->setPanel(1, "No data to plot. Please perform CFD analysis.");
    }
}

void ITERATION::afterInputChange()
{
    ClearData(m().SweepStepCount);
    DATAPLOT(m().SweepStepCount);
}

void ITERATION::MAXLOOPS_Change()
{
    Module1& s = m();
    s.SweepStepCount = qVal(MAXLOOPS->text());
    StatusBar1->setPanel(2, QString());
    if (s.SweepStepCount < 1) {
        MAXLOOPS->setText("1");
        StatusBar1->setPanel(2, "Minimum number of loops is 1.");
    } else if (s.SweepStepCount > 360) {
        MAXLOOPS->setText("360");
        StatusBar1->setPanel(2, "Maximum number loops cannot exceed 360.");
    } else {
        afterInputChange();
    }
}

void ITERATION::AOAINC_Change()
{
    m().SweepAoaIncrement = qVal(AOAINC->text());
    afterInputChange();
}

void ITERATION::VELINC_Change()
{
    m().SweepVelocityIncrement = qVal(VELINC->text());
    afterInputChange();
}

void ITERATION::AOAINITIAL_Change()
{
    m().SweepStartAoa = qVal(AOAINITIAL->text());
    afterInputChange();
}

void ITERATION::VINITIAL_Change()
{
    m().SweepStartVelocity = qVal(VINITIAL->text());
    afterInputChange();
}

} // namespace velmora
