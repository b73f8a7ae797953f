#include "sweep/SweepPlot.h"

#include <algorithm>
#include <cmath>

#include "platform/Format.h"

namespace velmora::stability {

namespace {

// The chosen result of step i, or nullopt for a quantity without one.
std::optional<double> result(const Module1& m, int i)
{
    switch (m.SweepPlotQuantity) {
    case 1: return m.SweepDragCoefficients(i);
    case 2: return m.SweepNormalForceCoefficients(i);
    case 3: return m.SweepMomentCoefficients(i);
    case 4: return m.SweepCenterOfPressureRatios(i);
    default: return std::nullopt;
    }
}

// An end strictly between two whole numbers k and k + 1 (1 <= k <= 1000)
// goes to k + 1 (up) or to k (down), its sign kept.
double wholeEnd(double v, bool up)
{
    const double a = std::fabs(v);
    if (!(a > 1 && a < 1001) || a == std::floor(a)) return v;
    const double k = std::floor(a) + (up ? 1 : 0);
    return std::copysign(k, v);
}

// Step i has no value of the chosen quantity (an XCp/L the run did not place).
bool undefinedResult(const Module1& m, int i)
{
    return m.SweepPlotQuantity == 4 && m.SweepCenterOfPressureUndefined(i) != 0;
}

MeshStroke line(double x1, double y1, double x2, double y2, int colour = -1)
{
    return {MeshStroke::Kind::Line, x1, y1, x2, y2, colour};
}

bool finite(const MeshStroke& s)
{
    return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) && std::isfinite(s.y2);
}

} // namespace

SweepPlot sweepPlot(Module1& m, double steps)
{
    SweepPlot p;
    const int n = p.steps = sweepStepsShown(m, steps);

    // The x values and the x end.
    const bool angle = m.AoaSweepSelected == 1;
    const bool velocity = !angle && m.VelocitySweepSelected == 1;
    if (angle || velocity) {
        p.plotType = angle ? kSweepAxisAngle : kSweepAxisVelocity;
        const double start = angle ? m.SweepStartAoa : m.SweepStartVelocity;
        const double increment = angle ? m.SweepAoaIncrement : m.SweepVelocityIncrement;
        m.SweepPlotXMax = n < 1 ? 0 : start + (n - 1) * increment;
        for (int i = 1; i <= n; ++i) m.SweepPlotX(i) = start + (i - 1) * increment;
    }

    // The y values and the y end, from the last step that runs.
    // A step without a value is skipped: the y end comes from the last step
    // that has one.
    if (result(m, 1)) {
        int last = n;
        while (last >= 1 && undefinedResult(m, last)) --last;
        if (last < 1) {
            m.SweepPlotYMax = 0;
        } else if (m.SweepPlotQuantity == 4) {
            m.SweepPlotYMax = 2.0f * m.SweepCenterOfPressureRatios(last);
        } else {
            m.SweepPlotYMax = 2 * *result(m, last);
        }
        for (int i = 1; i <= n; ++i) {
            m.SweepPlotY(i) = *result(m, i);
            m.SweepPlotYUndefined(i) = undefinedResult(m, i) ? 1 : 0;
            p.skipped = p.skipped || m.SweepPlotYUndefined(i);
        }
        if (n >= 1 && !m.SweepPlotYUndefined(1) && m.SweepPlotY(1) == 0) {
            m.SweepPlotY(1) = m.SweepPlotY(2);
            m.SweepPlotYUndefined(1) = m.SweepPlotYUndefined(2);
        }
    }

    // Whole-number ends: x up, y down.
    m.SweepPlotXMax = wholeEnd(m.SweepPlotXMax, true);
    m.SweepPlotYMax = wholeEnd(m.SweepPlotYMax, false);

    // Labels, with the y scale.
    p.maxAoa = Format(m.SweepPlotXMax, kPatternSweepAxis);
    p.xMiddle = Format(m.SweepPlotXMax / 2, kPatternSweepAxis);
    m.SweepPlotYMax = m.SweepPlotYMax * m.SweepPlotYScale;
    p.maxData = Format(m.SweepPlotYMax, kPatternSweepAxis);
    p.yMiddle = Format(m.SweepPlotYMax / 2, kPatternSweepAxis);

    // Frame and ticks (the last x tick lies beyond the right edge).
    const double o = kSweepPlotOrigin, far = kSweepPlotOrigin + kSweepPlotSize;
    // Both axes two strokes side by side, so they are as bold as each other
    // at any size of the plot.
    for (double y : {100.0, 102.0}) p.frame.push_back(line(o, y, far, y));
    for (double x : {100.0, 102.0}) p.frame.push_back(line(x, o, x, far));
    for (int y = 100; y <= 2100; y += 200) p.frame.push_back(line(o, y, 132, y));
    for (int x = 300; x <= 2300; x += 200) p.frame.push_back(line(x, o, x, 180));

    // The curve, or no data; with no step stored no axis is labelled
    // beyond its origin.
    if (m.SweepPlotYMax == 0) {
        p.noData = true;
        p.maxData.clear();
        if (n < 1) p.xMiddle.clear(), p.maxAoa.clear(), p.yMiddle.clear();
        return p;
    }
    const double sx = kSweepPlotSize / m.SweepPlotXMax, sy = kSweepPlotSize / m.SweepPlotYMax;
    for (int i = 1; i < n; ++i) {
        if (m.SweepPlotYUndefined(i) || m.SweepPlotYUndefined(i + 1)) continue;
        const MeshStroke s = line(o + sx * m.SweepPlotX(i), o + sy * m.SweepPlotY(i), o + sx * m.SweepPlotX(i + 1),
                                  o + sy * m.SweepPlotY(i + 1), kSweepCurveColour);
        if (finite(s)) p.curve.push_back(s);
    }
    return p;
}

} // namespace velmora::stability
