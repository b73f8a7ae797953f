#include "sweep/SweepOutput.h"

#include "sweep/SweepPlot.h"

#include <algorithm>
#include <cmath>

#include "platform/Format.h"
#include "platform/SequentialFile.h"

namespace velmora::stability {

namespace {

constexpr const char* kPatternStep = "####";
constexpr const char* kPatternValue = "###.#####";

// An item set in the width of its column, with at least one blank after it.
std::string column(const std::string& item, std::size_t width)
{
    return item + std::string(item.size() < width ? width - item.size() : 1, ' ');
}

} // namespace

std::string sweepQuantityLabel(int quantity)
{
    switch (quantity) {
    case 1: return "Cd";
    case 2: return "CN";
    case 3: return "CM";
    case 4: return "XCp";
    default: return {};
    }
}

std::string sweepTitle(const Module1& m, int quantity)
{
    // The eight titles, by sweep kind and quantity (Cd, CN, CM, XCp).
    static constexpr const char* kTitles[2][4] = {
        {"Velmora AOA vs. Cd", "Velmora AOA vs. CN", "Velmora AOA vs. CM", "Velmora AOA vs. XCp"},
        {"Velmora Velocity vs. Cd", "Velmora Velocity vs. CN", "Velmora Velocity vs. CM", "Velmora Velocity vs. XCp"}};
    if (quantity < 1 || quantity > 4) return {};
    if (m.AoaSweepSelected == 1) return kTitles[0][quantity - 1];
    if (m.VelocitySweepSelected == 1) return kTitles[1][quantity - 1];
    return {};
}

SweepPlotSeries sweepPlotSeries(Module1& m, double steps)
{
    // The plot's own data step, so what is printed or saved is what is plotted.
    const SweepPlot plot = sweepPlot(m, steps);
    return {plot.plotType.value_or(""), plot.steps, !plot.noData};
}

SweepTable sweepTableLines(const Module1& m)
{
    SweepTable t;
    const int n = sweepStepsShown(m, m.SweepStepCount);
    if (n < 1) {
        t.message = kMsgNoSweepToPrint;
        return t;
    }
    const std::string title = sweepTitle(m, m.SweepPlotQuantity);
    if (!title.empty()) {
        const char* xLabel = m.AoaSweepSelected == 1 ? kAoaColumnLabel : kVelocityColumnLabel;
        t.lines.push_back(kLineLead + title);
        t.lines.push_back(kLineLead);
        t.lines.push_back(std::string(kLineLead) + kStepColumnLabel + xLabel + sweepQuantityLabel(m.SweepPlotQuantity));
    }
    const std::size_t stepWidth = std::string_view(kStepColumnLabel).size();
    const std::size_t xWidth = std::string_view(kAoaColumnLabel).size();
    for (int i = 1; i <= n; ++i) {
        const double x = m.SweepPlotX(i), y = m.SweepPlotY(i);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            t.failedSteps.push_back(i);
            continue;
        }
        const std::string shown = m.SweepPlotYUndefined(i) ? std::string() : Format(y, kPatternValue);
        t.lines.push_back(kLineLead + column(Format(i, kPatternStep), stepWidth) +
                          column(Format(x, kPatternValue), xWidth) + shown);
    }
    t.outcome = t.failedSteps.empty() ? Outcome::Done : Outcome::Failed;
    if (!t.failedSteps.empty()) t.message = kMsgTableNotPrinted;
    return t;
}

SweepExport sweepExportBytes(Module1& m)
{
    SweepExport e;
    if (m.AoaSweepSelected != 1 && m.VelocitySweepSelected != 1) return e;
    if (sweepStepsShown(m, m.SweepStepCount) < 1) {
        e.message = kMsgNoSweepToSave;
        return e;
    }

    const int16_t userQuantity = m.SweepPlotQuantity;
    const double steps = m.SweepStepCount;
    SequentialWriter w;
    bool numbersOk = true;
    for (int16_t q = 1; q <= 4 && numbersOk; ++q) {
        m.SweepPlotQuantity = q;
        w.quoted(sweepTitle(m, q)).endLine();
        const SweepPlotSeries s = sweepPlotSeries(m, steps);
        for (int i = 1; i <= s.steps; ++i) {
            const double x = m.SweepPlotX(i), y = m.SweepPlotY(i);
            if (!std::isfinite(x) || !std::isfinite(y)) {
                numbersOk = false;
                break;
            }
            w.bare(plainNumberText(x)).bare(m.SweepPlotYUndefined(i) ? std::string() : plainNumberText(y)).endLine();
        }
    }
    m.SweepPlotQuantity = userQuantity;
    sweepPlotSeries(m, steps);

    if (!numbersOk || w.failed()) {
        e.outcome = Outcome::Failed;
        e.message = kMsgExportNotSaved;
        return e;
    }
    e.outcome = Outcome::Done;
    e.bytes = w.bytes();
    return e;
}

} // namespace velmora::stability
