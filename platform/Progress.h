#pragma once
// The small interface every long computation talks to: status panels, the
// progress bar, and the event pump during which the user may press ABORT.
// Computations run the same behind a window, in a test and in a benchmark.
#include <string>

namespace velmora {

enum class Outcome {
    Done,     // finished; results were published
    Refused,  // an input check said no; nothing changed but the message
    Aborted,  // the user asked to stop; nothing published
    Failed    // the arithmetic broke down; nothing published
};

inline const char* outcomeName(Outcome o)
{
    switch (o) {
    case Outcome::Done: return "done";
    case Outcome::Refused: return "refused";
    case Outcome::Aborted: return "aborted";
    case Outcome::Failed: return "failed";
    }
    return "?";
}

class Progress {
public:
    virtual ~Progress() = default;
    // Text for a status-bar panel (1-based, as the windows number them).
    virtual void status(int panel, const std::string& text) { (void)panel; (void)text; }
    virtual void progressVisible(bool visible) { (void)visible; }
    virtual void progressRange(int minimum, int maximum) { (void)minimum; (void)maximum; }
    virtual void progressValue(int value) { (void)value; }
    // Let pending user events run. Callers then test the project's AbortRequest.
    virtual void pumpEvents() {}
};

// For tests and benchmarks: does nothing at all.
class NullProgress final : public Progress {};

} // namespace velmora
