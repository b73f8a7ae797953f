#pragma once
// Applies the box, picture and overlay writes a computation returns.
#include <vector>

#include "platform/WindowWrites.h"
#include "platform/ui/Forms.h"

namespace velmora {

// The window of a program name (a ControlEntry's window), loaded on first
// access; nullptr for a window name the program did not provide (see
// Forms::provide).
Form* windowByName(Forms& forms, const QString& window);

// The control a write goes to, when its window registered the id and the
// widget takes that kind of write; nullptr otherwise.
QWidget* resolveWindowWrite(Forms& forms, const WindowWrite& write);

// Applies the writes in order. A write whose control does not resolve is a
// fault of the program, in every build: std::logic_error, which the command
// running the computation reports through its barrier.
void applyWindowWrites(Forms& forms, const std::vector<WindowWrite>& writes);

} // namespace velmora
