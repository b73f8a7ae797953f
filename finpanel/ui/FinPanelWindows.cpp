#include "finpanel/ui/FinPanelWindows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/ui/SOLVER.h"
#include "finpanel/FinPanelState.h"
#include "platform/ui/Build.h"

namespace velmora {

PanelAero::PanelAero(Forms& forms) : Form(forms, "PanelAero", "Panel Method Fin Aerodynamics")
{
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    SECTIONS = makeList(this, "SECTIONS", "Panel Method Shape");
    SECTIONS->onTextChanged([this](const QString& t) { m().FinSectionText = t.toStdString(); });
    PANELS = makeList(this, "PANELS", "Total Number of Panels ");
    FINTHK = makeList(this, "FINTHK", "Fin Thickness Magnification ");
    addRow(grid, 0, "Panel Method Shape", SECTIONS);
    addRow(grid, 1, "Total Number of Panels ", PANELS);
    addRow(grid, 2, "Fin Thickness Magnification ", FINTHK);
    PANELTYPES[0] = named(new QRadioButton("Vortex", this), "PANELTYPES0", "Vortex");
    PANELTYPES[1] = named(new QRadioButton("Source", this), "PANELTYPES1", "Source");
    PANELTYPES[0]->setChecked(true);
    grid->addWidget(PANELTYPES[0], 3, 0);
    grid->addWidget(PANELTYPES[1], 3, 1);
    AOALABEL = makeBox(this, "AOALABEL", "Angle of attack", QString(), true);
    fitToTexts(AOALABEL, {"AOA = " + widestPatternText("##.###") + " DEG."});
    grid->addWidget(AOALABEL, 4, 0, 1, 2);
    lay->addLayout(grid);
    auto* plots = new QHBoxLayout;
    FinSection = named(new PictureBox(this), "FinSection", "Fin Cross-Section");
    FinSection->setMinimumSize(250, 90);
    PLOT1 = named(new PictureBox(this), "PLOT1", "Fin Cp or Velocity Profile");
    PLOT1->setMinimumSize(250, 250);
    auto* axis = new QVBoxLayout;
    MIN1 = makeBox(this, "MIN1", "Plot top", QString(), true);
    UnitsLabel1 = makeBox(this, "UnitsLabel1", "Plot unit", QString(), true);
    MAX1 = makeBox(this, "MAX1", "Plot bottom", QString(), true);
    for (TextBox* b : {MIN1, MAX1}) fitToPattern(b, "####.##");
    axis->addWidget(MIN1);
    axis->addWidget(UnitsLabel1);
    axis->addWidget(MAX1);
    plots->addWidget(FinSection);
    plots->addLayout(axis);
    plots->addWidget(PLOT1);
    lay->addLayout(plots, 1);
    auto* legend = new QHBoxLayout;
    LEGEND1 = named(new PictureBox(this), "LEGEND1", "Upper Fin Surface");
    LEGEND2 = named(new PictureBox(this), "LEGEND2", "Lower Fin Surface");
    for (PictureBox* p : {LEGEND1, LEGEND2}) p->setFixedSize(30, 12);
    legend->addWidget(LEGEND1);
    legend->addWidget(makeLabel(this, "LegendLabel1", "Upper Fin Surface"));
    legend->addWidget(LEGEND2);
    legend->addWidget(makeLabel(this, "LegendLabel2", "Lower Fin Surface"));
    legend->addStretch(1);
    lay->addLayout(legend);
    NoMeshDefined1 = makeLabel(PLOT1, "NoMeshDefined1", "Generate New Fin Plot");
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
}

void PanelAero::Form_Load()
{
    Module1& s = m();
    s.PanelMethodChoice = "VORTEX";
    s.PanelPlotChoice = "Cp";
    s.FinThicknessFactor = 1;
    s.PanelCount = 100;
    for (const char* t : {"NACA WING", "FLAT PLATE", "D'WEDGE", "STREAMLINED", "MANUAL INPUT"})
        SECTIONS->AddItem(t);
    PANELS->setText("100");
    for (const char* t : {"4", "6", "8", "10", "20", "30", "40", "50", "100", "150", "200"})
        PANELS->AddItem(t);
    FINTHK->setText("1X");
    for (const char* t : {"1X", "2X", "3X", "4X"}) FINTHK->AddItem(t);
}

void PanelAero::solve(bool vortex, double velocity)
{
    Module1& s = m();
    finpanel::FinSectionInput in = finpanel::finInputFrom(s, s.FinSectionText);
    in.freeStreamVelocity = velocity;
    // The fin window's own status bar, the main window's progress bar.
    WindowProgress progress(StatusBar1, forms().get<SOLVER>().ProgressBar1);
    const finpanel::FinSectionResult r = vortex ? finpanel::VORTEX(in, progress) : finpanel::Source(in, progress);
    finpanel::publish(r, s);
    if (r.unitsLabel) UnitsLabel1->setText(QString::fromStdString(*r.unitsLabel));
}

void PanelAero::Source(double& velocity) { solve(false, velocity); }

void PanelAero::VORTEX(double& velocity) { solve(true, velocity); }

ManualData::ManualData(Forms& forms) : Form(forms, "ManualData", "Panel Method Manual Fin Geometry ")
{
    auto* lay = new QGridLayout(this);
    CHORD = makeBox(this, "CHORD", "Average fin chord length", QString(), true);
    CHORD->setToolTip("Average fin chord computed from Fin Geometry screen.");
    UnitsLabel = makeBox(this, "UnitsLabel", "Length unit", QString(), true);
    fitToPattern(CHORD, "#####.###");
    addRow(lay, 0, "Average fin chord length", CHORD, UnitsLabel);
}

} // namespace velmora
