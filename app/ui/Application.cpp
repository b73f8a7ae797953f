#include "app/ui/Application.h"

#include <QApplication>

#include "model/Module1.h"
#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/Forms.h"
#include "stability/ui/PressureCenter.h"
#include "sweep/ui/ITERATION.h"

namespace velmora {

void provideWindows(Forms& forms)
{
    forms.provide<SOLVER>("SOLVER");
    forms.provide<PressureCenter>("PressureCenter");
    forms.provide<PlotResults>("PlotResults");
    forms.provide<PanelAero>("PanelAero");
    forms.provide<BODYTUBE>("BODYTUBE");
    forms.provide<FluidVariables>("FluidVariables");
    forms.provide<NavierStokes>("NavierStokes");
    forms.provide<ITERATION>("ITERATION");
    forms.provide<VelmoraHelp>("VelmoraHelp");
    forms.provide<AboutVelmora>("AboutVelmora");
    forms.provide<BaseFlowHelp>("BaseFlowHelp");
}

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    installApplicationIcon();
    auto state = makeModule1();
    Forms forms(*state);
    provideWindows(forms);
    SOLVER& main = forms.get<SOLVER>(); // its load handler runs the start-up
    if (forms.quitRequested()) return 0;
    placeWindow(main);
    main.show();
    const int rc = QApplication::exec();
    return rc;
}

} // namespace velmora
