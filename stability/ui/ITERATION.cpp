#include "stability/ui/ITERATION.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"

namespace velmora {

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
