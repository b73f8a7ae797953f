#pragma once
namespace velmora {
class Forms;
// Creates the Qt application, runs start-up and the event loop.
int runApplication(int argc, char** argv);
// Provides the program's windows to the registry under their program names:
// the windows the computations write to, the main window and the
// information windows the other windows open (see Forms::provide).
void provideWindows(Forms& forms);
}
