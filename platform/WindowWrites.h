#pragma once
// What the computations ask the windows to show, as plain data.
//
// The numerical routines never touch a control. They return an ordered list of
// WindowWrite records (SOLVER_PressureCd shows 0.12 in "##.###", the plot
// window's picture PlotResults_LEVELS is cleared, ...) which the window side
// applies in list order with the platform's number formatting. Controls are
// named by their ids (platform/ControlIds.h). Status-bar
// texts go straight to Progress::status while the computation runs; a copy is
// kept in the report's panel log. A message box (OK button, no icon) is
// returned as a MessageBoxRequest and shown by the caller.
#include <optional>
#include <string>
#include <vector>

#include "platform/ControlIds.h"

namespace velmora {

enum class WindowAction {
    ShowNumber,    // box text = value formatted with pattern
    Empty,         // box text = ""
    ClearPicture,  // picture box loses its drawing
    Hide,          // control made invisible (overlays, labels)
    Show,          // control made visible
    ShowText,      // box or label text = text
    SetPanel       // status-bar panel number value = text
};

struct WindowWrite {
    ControlId control = ControlId::End;  // e.g. ControlId::SOLVER_TotalCd
    WindowAction action = WindowAction::Empty;
    double value = 0;     // ShowNumber: the number; SetPanel: the panel
    std::string pattern;  // ShowNumber only, e.g. "##.###"
    std::string text;     // ShowText and SetPanel

    bool operator==(const WindowWrite&) const = default;
};

struct PanelText {
    int panel = 0;        // 1-based status-bar panel
    std::string text;

    bool operator==(const PanelText&) const = default;
};

struct MessageBoxRequest {
    std::string prompt;
    std::string title;
};

// Helpers used by the routines that build the lists.
inline WindowWrite showNumber(ControlId control, double value, std::string pattern)
{
    return {control, WindowAction::ShowNumber, value, std::move(pattern), {}};
}
inline WindowWrite emptyBox(ControlId control) { return {control, WindowAction::Empty, 0, {}, {}}; }
inline WindowWrite showText(ControlId control, std::string text)
{
    return {control, WindowAction::ShowText, 0, {}, std::move(text)};
}
inline WindowWrite setPanel(ControlId statusBar, int panel, std::string text)
{
    return {statusBar, WindowAction::SetPanel, static_cast<double>(panel), {}, std::move(text)};
}

// The last write to a control in a list, or nullptr when the list never
// touches it (handy for callers that only want the final state of a box).
inline const WindowWrite* lastWriteTo(const std::vector<WindowWrite>& writes, ControlId control)
{
    const WindowWrite* found = nullptr;
    for (const auto& w : writes)
        if (w.control == control) found = &w;
    return found;
}

} // namespace velmora
