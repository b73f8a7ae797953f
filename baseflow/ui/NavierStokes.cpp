#include "baseflow/ui/NavierStokes.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "platform/ui/Build.h"

namespace velmora {

NavierStokes::NavierStokes(Forms& forms) : Form(forms, "NavierStokes", "Base Flow Navier-Stokes Analysis")
{
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    UINFIN = makeBox(this, "UINFIN", "Free-stream velocity", QString(), true);
    AMUIN = makeBox(this, "AMUIN", "Kinematic viscosity", QString(), true);
    addRow(grid, 0, "Free-stream velocity", UINFIN);
    addRow(grid, 1, "Kinematic viscosity", AMUIN);
    fitToPattern(UINFIN, "#####.#");
    fitToPattern(AMUIN, ".#########");
    lay->addLayout(grid);
    lay->addStretch(1);
    StatusBar1 = named(new StatusBar(3, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
}

void NavierStokes::Form_Load()
{
    Module1& s = m();
    s.BaseFlowStatus = "SOLVE NEW FLOW";
    s.AbortRequest = "NO";
    s.ContourLevelsUserSet = 0;
}

} // namespace velmora
