#pragma once
namespace velmora {
// Creates the Qt application, runs start-up and the event loop.
int runApplication(int argc, char** argv);
}
