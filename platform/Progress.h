#pragma once
// The small interface every long computation talks to: status panels, the
// progress bar, and the event pump during which the user may press ABORT.
// Computations run the same behind a window, in a test and in a benchmark.
#include <chrono>
#include <optional>
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

    // Long loops call this often: it lets events run (and returns true) only
    // when the pump interval has passed since the last pump, so a window stays
    // responsive at the cost of a clock read per call. Callers test the
    // project's AbortRequest when it returns true. Without an interval it
    // never pumps (what a headless run wants).
    bool maybePump()
    {
        if (!interval_) return false;
        const Clock::time_point now = Clock::now();
        if (now - lastPump_ < *interval_) return false;
        pumpNow();
        return true;
    }
    // Lets events run now and restarts the interval.
    void pumpNow()
    {
        pumpEvents();
        lastPump_ = Clock::now();
    }

    using Clock = std::chrono::steady_clock;
    // The pause between pumps of maybePump; nullopt: maybePump never pumps.
    void setPumpInterval(std::optional<Clock::duration> interval) { interval_ = interval; }
    std::optional<Clock::duration> pumpInterval() const { return interval_; }

    // What a window uses: well inside the 30 ms a user notices.
    static constexpr std::chrono::milliseconds kWindowPumpInterval{20};
    // The interval windows give their computations. A test that must reach
    // the events of a step lasting less than the interval sets it to zero for
    // its own run (WindowPumpsAtEveryChance).
    static Clock::duration windowPumpInterval() { return windowInterval_; }
    static void setWindowPumpInterval(Clock::duration interval) { windowInterval_ = interval; }

private:
    static inline Clock::duration windowInterval_ = kWindowPumpInterval;
    std::optional<Clock::duration> interval_;
    Clock::time_point lastPump_ = Clock::now();
};

// For tests and benchmarks: does nothing at all.
class NullProgress final : public Progress {};

} // namespace velmora
