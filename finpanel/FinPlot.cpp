#include "finpanel/FinPlot.h"

#include <cmath>
#include <stdexcept>

#include "finpanel/PanelMath.h"
#include "platform/Format.h"

namespace velmora::finpanel {

namespace {

struct Extent {
    double min = 0;
    double max = 0;
};

// Running minimum and maximum from the first element on.
template <typename Get>
Extent extentOf(int n, Get get)
{
    Extent e{get(1), get(1)};
    for (int i = 1; i <= n; ++i) {
        const double v = get(i);
        if (v < e.min)
            e.min = v;
        else if (v > e.max)
            e.max = v;
    }
    return e;
}

std::vector<PlotPoint> outlineOf(const SectionPoints& s, double scale, int thicknessFactor)
{
    std::vector<PlotPoint> pts;
    pts.reserve(static_cast<std::size_t>(s.count));
    for (int i = 1; i <= s.count; ++i)
        pts.push_back({250.0 + scale * s.x[i], 88.0 + scale * static_cast<double>(s.y[i]) * thicknessFactor});
    return pts;
}

} // namespace

std::optional<std::string> unitsCaption(const FinSectionInput& in)
{
    if (in.plotChoice == "Velocity") {
        switch (in.unitMenuIndex) {
        case 0: return std::string("FT/SEC");
        case 1: return std::string("IN/SEC");
        case 2: return std::string("M/SEC");
        default: return std::nullopt;
        }
    }
    if (in.plotChoice == "Cp") return std::string("Cp");
    return std::nullopt;
}

ResultPlot PlotResults(const FinSectionInput& in, const SectionPoints& section, const PanelSolution& solution)
{
    ResultPlot plot;
    plot.unitsLabel = unitsCaption(in);
    const int n = solution.count;
    if (n < 4 || n > kMaxPanels || section.count < n) throw std::invalid_argument("PlotResults: no solved section");
    const int half = n / 2;
    const double beta = in.compressibleFlow == 1
        ? csqrt(1.0 - static_cast<double>(in.freeStreamMachNumber) * in.freeStreamMachNumber,
                "Mach number of 1 or more in compressible flow")
        : 1.0;

    // Upper surface: panels 1..N/2+1 (leading-edge face, upper surface,
    // trailing-edge face); lower surface: panel 1, then N, N-1, .., N/2+1.
    // Velocities end at 0 on the trailing-edge face; the lower one starts at 0.
    const bool velocity = in.plotChoice == "Velocity";
    plot.seriesX.assign(static_cast<std::size_t>(half + 2), 0.0);
    plot.upper.assign(static_cast<std::size_t>(half + 2), 0.0);
    plot.lower.assign(static_cast<std::size_t>(half + 2), 0.0);
    for (int i = 1; i <= half + 1; ++i) {
        plot.seriesX[i] = solution.controlPointX[i];
        plot.upper[i] = velocity ? solution.surfaceVelocity[i] / beta : static_cast<double>(solution.cp[i]) / beta;
    }
    plot.lower[1] = velocity ? 0.0 : static_cast<double>(solution.cp[1]) / beta;
    for (int j = 2; j <= half + 1; ++j) {
        const int k = n + 2 - j;
        plot.lower[j] = velocity ? solution.surfaceVelocity[k] / beta : static_cast<double>(solution.cp[k]) / beta;
    }
    if (velocity) {
        plot.upper[half + 1] = 0.0;
        plot.lower[half + 1] = 0.0;
    }

    // Section scale: the larger extent fills 1/1.2 of the width.
    const Extent ex = extentOf(n, [&](int i) { return section.x[i]; });
    const Extent ey = extentOf(n, [&](int i) { return static_cast<double>(section.y[i]); });
    std::optional<Extent> pe;
    if (ex.max > ey.max)
        pe = ex;
    else if (ey.max > ex.max)
        pe = ey;
    if (!pe || pe->max == pe->min) {
        plot.status = kMsgNoSectionScale;
        return plot;
    }
    const double sx = 500.0 / (1.2 * (pe->max - pe->min));

    // Value range and vertical scale.
    std::optional<double> sy;
    if (in.plotChoice == "Cp") {
        const Extent e = extentOf(n, [&](int i) { return static_cast<double>(solution.cp[i]) / beta; });
        double cpMin = e.min;
        double cpMax = e.max;
        if (cpMin > -1.0) {
            cpMax = 1.0;
            cpMin = -1.0;
        }
        // A minimum between two negative integers widens the range to the
        // symmetric +-k with k the next integer beyond it.
        for (int k = 2; k <= 200; ++k) {
            if (-k < cpMin && cpMin < 1 - k) {
                cpMax = k;
                cpMin = -k;
            }
        }
        plot.rangeTop = cpMin;
        plot.rangeBottom = cpMax;
        plot.maxLabel = Format(cpMax, "##.##");
        plot.minLabel = Format(cpMin, "##.##");
        if (cpMax != cpMin) sy = -500.0 / (cpMax - cpMin);  // negative Cp drawn upward
    } else if (velocity) {
        const Extent e = extentOf(n, [&](int i) { return solution.surfaceVelocity[i] / beta; });
        const double vMax = e.max;
        plot.rangeTop = vMax;
        plot.rangeBottom = -vMax;
        plot.maxLabel = Format(-vMax, "####.##");
        plot.minLabel = Format(vMax, "####.##");
        if (vMax != 0.0) sy = 500.0 / (2.2 * vMax);
    }

    if (sy) {
        plot.hasCurves = true;
        for (int i = 1; i <= half + 1; ++i) {
            plot.upperCurve.push_back({250.0 + sx * plot.seriesX[i], 250.0 + *sy * plot.upper[i]});
            plot.lowerCurve.push_back({250.0 + sx * plot.seriesX[i], 250.0 + *sy * plot.lower[i]});
        }
        const double xa = 250.0 + sx * plot.seriesX[1];
        plot.horizontalAxis = {{0.0, 250.0}, {500.0, 250.0}};
        plot.verticalAxis = {{xa, 0.0}, {xa, 500.0}};
        for (int y = 50; y <= 450; y += 50) plot.ticks.push_back({{xa - 6.0, double(y)}, {xa + 6.0, double(y)}});
        for (int k = 1; k <= 10; ++k) {
            const double t = 41.65 * k;
            plot.ticks.push_back({{xa + t, 244.0}, {xa + t, 258.0}});
        }
    }

    plot.outline = outlineOf(section, sx, in.thicknessFactor);
    if (sy || (in.plotChoice != "Cp" && !velocity))
        plot.status = kMsgPlotComplete;
    else
        plot.status = velocity ? kMsgNoVelocityRange : kMsgNoCpRange;
    return plot;
}

SectionDrawing FINPLOT(const FinSectionInput& in)
{
    SectionDrawing d;
    try {
        d.section = generateSection(in);
        const int n = d.section.count;
        const Extent ex = extentOf(n, [&](int i) { return d.section.x[i]; });
        const double scale = cdiv(500.0, 1.2 * (ex.max - ex.min));
        d.outline = outlineOf(d.section, scale, in.thicknessFactor);
        d.ok = true;
    } catch (const std::exception&) {
        d = SectionDrawing{};
        d.status = kMsgNoSectionToPlot;
    }
    return d;
}

} // namespace velmora::finpanel
