#pragma once
// How many sweep steps a step count stands for: the one rule for the sweep,
// its plot, table and export, and the Barrowman comparison.
//
// A count (the sweep window's N, SweepStepCount) stands for its whole part,
// within 0 .. kMaxSweepSteps, the length of the sweep arrays; a count below 1,
// or one that is not a number, stands for no step. Two readings differ only
// there:
//   sweepStepsRun    a sweep that is started runs at least one step;
//   sweepStepsShown  the plot, table, export and comparison show no step the
//                    last sweep did not store (SweepStepsStored).
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "model/Module1.h"
#include "platform/Format.h"

namespace velmora {

inline constexpr int kMaxSweepSteps = 360;
static_assert(decltype(Module1::SweepPlotX)::upper == kMaxSweepSteps, "the sweep arrays hold kMaxSweepSteps steps");

// The whole steps a count stands for, 0 .. kMaxSweepSteps.
inline int sweepWholeSteps(double steps)
{
    if (!std::isfinite(steps) || steps < 1) return 0;
    return static_cast<int>(std::min<double>(std::floor(steps), kMaxSweepSteps));
}

// The steps a sweep of that count runs: 1 .. kMaxSweepSteps.
inline int sweepStepsRun(double steps) { return std::max(1, sweepWholeSteps(steps)); }

// The steps of a count that are shown: its whole steps, no more than the last
// sweep stored.
inline int sweepStepsShown(const Module1& m, double steps)
{
    return std::clamp<int>(m.SweepStepsStored, 0, sweepWholeSteps(steps));
}

// The refusal of a sweep's step count as typed: a whole number from 1 to
// kMaxSweepSteps, or the text that names it ("Number of loops "2a" must be a
// whole number from 1 to 360."); "" when it is one.
inline std::string loopCountRefusal(std::string_view text)
{
    const double n = Val(text);
    if (wholeNumber(text) && n >= 1 && n <= kMaxSweepSteps && n == std::floor(n)) return {};
    return "Number of loops \"" + std::string(text) + "\" must be a whole number from 1 to 360.";
}

} // namespace velmora
