#include "bodyflow/ui/PlotResults.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"

namespace velmora {

PlotResults::PlotResults(Forms& forms) : Form(forms, "PlotResults", "Flow Visualization - Plot CFD Results")
{
    auto* lay = new QVBoxLayout(this);
    auto* plots = new QHBoxLayout;
    auto* axis = new QVBoxLayout;
    MIN = makeBox(this, "MIN", "Plot minimum", QString(), true);
    PlotLabel = makeBox(this, "PlotLabel", "Plot quantity", QString(), true);
    UnitsLabel = makeBox(this, "UnitsLabel", "Plot unit", QString(), true);
    MAX = makeBox(this, "MAX", "Plot maximum", QString(), true);
    axis->addWidget(MAX);
    axis->addWidget(PlotLabel);
    axis->addWidget(UnitsLabel);
    axis->addWidget(MIN);
    LEVELS = named(new PictureBox(this), "LEVELS", "Contour legend");
    LEVELS->setMinimumSize(40, 250);
    VelocityPlot = named(new PictureBox(this), "VelocityPlot", "Flow field plot");
    VelocityPlot->setMinimumSize(500, 250);
    plots->addLayout(axis);
    plots->addWidget(LEVELS);
    plots->addWidget(VelocityPlot, 1);
    lay->addLayout(plots, 1);
    NoMeshDefined = makeLabel(VelocityPlot, "NoMeshDefined", "Generate New Plot");
    auto* profile = new QHBoxLayout;
    auto* paxis = new QVBoxLayout;
    MAX1 = makeBox(this, "MAX1", "Profile maximum", QString(), true);
    UnitsLabel1 = makeBox(this, "UnitsLabel1", "Profile unit", QString(), true);
    MIN1 = makeBox(this, "MIN1", "Profile minimum", QString(), true);
    paxis->addWidget(MAX1);
    paxis->addWidget(UnitsLabel1);
    paxis->addWidget(MIN1);
    FieldProfile = named(new PictureBox(this), "FieldProfile", "Flow profile");
    FieldProfile->setMinimumSize(250, 120);
    profile->addLayout(paxis);
    profile->addWidget(FieldProfile, 1);
    lay->addLayout(profile);
    auto* settings = new QGridLayout;
    NLEVELS2 = makeBox(this, "NLEVELS2", "Velocity contour levels", "0");
    NLEVELS2->setToolTip("Number of increments between minimum and maximum values.");
    NLEVELS = makeBox(this, "NLEVELS", "Pressure contour levels", "0");
    NLEVELS->setToolTip("Number of increments between minimum and maximum values.");
    Vscale = makeBox(this, "Vscale", "Vector scale", "0");
    Vscale->setToolTip("Make each velocity vector larger or smaller.");
    addRow(settings, 0, "Velocity levels", NLEVELS2);
    addRow(settings, 1, "Pressure levels", NLEVELS);
    addRow(settings, 2, "Vector scale", Vscale);
    lay->addLayout(settings);
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1", "Progress");
    ProgressBar1->setRange(1, 100);
    ProgressBar1->setTextVisible(false);
    lay->addWidget(ProgressBar1);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);

    NLEVELS->onChange([this] { NLEVELS_Change(); });
    NLEVELS2->onChange([this] { NLEVELS2_Change(); });
    Vscale->onChange([this] { Vscale_Change(); });
}

void PlotResults::NLEVELS_Change()
{
    Module1& s = m();
    s.ContourLevelCount = Val(NLEVELS->text().toStdString());
    s.ContourLevelsUserSet = 1;
    // The twin box echoes the count. Its handler writes this box back once
    // (so "25.7" ends as "26" in both); the depth limit keeps the two boxes
    // from writing each other without end.
    if (levelWriteDepth_ >= 2) return;
    ++levelWriteDepth_;
    NLEVELS2->setText(QString::fromStdString(Format(s.ContourLevelCount, "###")));
    --levelWriteDepth_;
}

void PlotResults::NLEVELS2_Change()
{
    Module1& s = m();
    s.ContourLevelCount = Val(NLEVELS2->text().toStdString());
    s.ContourLevelsUserSet = 1;
    if (levelWriteDepth_ >= 2) return;
    ++levelWriteDepth_;
    NLEVELS->setText(QString::fromStdString(Format(s.ContourLevelCount, "###")));
    --levelWriteDepth_;
}

void PlotResults::Vscale_Change()
{
    Module1& s = m();
    s.VectorScale = Val(Vscale->text().toStdString());
    s.VectorScaleUserSet = 1;
}

} // namespace velmora
