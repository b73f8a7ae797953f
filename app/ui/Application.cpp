#include "app/ui/Application.h"

#include <QApplication>

#include "model/Module1.h"
#include "platform/ui/Artwork.h"
#include "app/ui/SOLVER.h"
#include "platform/ui/Forms.h"

namespace velmora {

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    installApplicationIcon();
    auto state = makeModule1();
    Forms forms(*state);
    SOLVER& main = forms.get<SOLVER>(); // its load handler runs the start-up
    if (forms.quitRequested()) return 0;
    placeWindow(main);
    main.show();
    const int rc = QApplication::exec();
    return rc;
}

} // namespace velmora
