#include "stability/ForcePlot.h"

#include <cmath>

#include "geometry/FinGeometry.h"
#include "geometry/Outline.h"
#include "platform/Checked.h"
#include "platform/Single.h"

namespace velmora::stability {

ForcePlotRange forcePlotRange(const std::vector<double>& upper, const std::vector<double>& lower)
{
    bool any = false;
    double ymin = 0, ymax = 0;
    for (const auto* curve : {&upper, &lower})
        for (std::size_t i = 1; i < curve->size(); ++i) {
            const double y = (*curve)[i];
            if (!std::isfinite(y)) continue;
            if (!any) ymin = ymax = y;
            ymin = std::min(ymin, y);
            ymax = std::max(ymax, y);
            any = true;
        }
    double v = ymax;
    if (ymax < std::fabs(ymin)) v = ymin;
    for (int i = 1; i <= 100; ++i)
        if (i * -0.1 < v && v < i * 0.1) return {i * 0.1, i * -0.1};
    // Beyond ten: whole tenths of the decade below.
    const double a = std::fabs(v);
    double step = 1;
    while (a >= 100 * step) step *= 10;
    const double high = (std::floor(a / step) + 1) * step;
    return {high, -high};
}

std::vector<MeshStroke> forcePlotStrokes(Module1& m, const CenterOfPressureReport& r)
{
    std::vector<MeshStroke> out;
    const long nodes = std::lround(m.MeshAxialNodeCount);
    if (r.outcome != Outcome::Done || !(m.DomainLength > 0) || !(m.DomainHeight > 0) ||
        !(m.DomainAspectRatio > 0) || nodes < 2 || nodes > decltype(m.GridNodeX)::upper1)
        return out;
    auto line = [&out](double x1, double y1, double x2, double y2, int colour) {
        out.push_back({MeshStroke::Kind::Line, x1, y1, x2, y2, colour});
    };
    const double xs = 500 / m.DomainLength;
    const double yb = static_cast<double>(toSingle(2 / static_cast<double>(m.DomainAspectRatio) * 500)) / m.DomainHeight;
    const double ycp = -500 / (r.plotHigh - r.plotLow);
    double x0 = 0;
    for (long k = 1; k <= nodes; ++k)
        if (m.GridNodeRadius(k, 1) == 0) x0 = m.NoseTipX;

    // Zero line, Cp axis, ticks.
    line(0, 250, 500, 250, kOutlineForeground);
    line(xs * x0, 0, xs * x0, 500, kOutlineForeground);
    for (int j = 50; j <= 450; j += 50) line(xs * x0 - 6, j, xs * x0 + 6, j, kOutlineForeground);
    for (int j = 45; j <= 450; j += 45) line(xs * x0 + j, 244, xs * x0 + j, 258, kOutlineForeground);

    // The curves over stations 1 .. N-1 (the ring N-1 reads 0).
    const long last = std::min<long>(r.stationCount - 2, nodes - 1);
    for (const auto& [cp, colour] : {std::pair{&r.UpperSurfaceCp, kUpperCurveColour},
                                     std::pair{&r.LowerSurfaceCp, kLowerCurveColour}})
        for (long i = 1; i <= last; ++i) {
            const auto k = static_cast<std::size_t>(i);
            line(xs * (x0 + m.GridNodeX(i, 1)), 250 + ycp * (*cp)[k], xs * (x0 + m.GridNodeX(i + 1, 1)),
                 250 + ycp * (*cp)[k + 1], colour);
        }

    // Body outline from the axis up.
    for (long k = 1; k <= nodes - 1; ++k)
        line(xs * m.GridNodeX(k, 1), yb * m.GridNodeRadius(k, 1), xs * m.GridNodeX(k + 1, 1),
             yb * m.GridNodeRadius(k + 1, 1), kOutlineForeground);

    // Fin outline, root marks, root trailing edge.
    FinCorners c;
    try {
        c = finCornersOnGrid(m);
    } catch (const MathFailure&) {
        return out;
    }
    const SideViewScale scale{0.0, xs, yb};
    const double foot = static_cast<double>(c.rootTrailingY);
    for (const FinStroke& f : finPlanformStrokes(m, c, scale, foot)) {
        const bool ellipse = f.part == FinStroke::Part::HalfEllipse;
        out.push_back({ellipse ? MeshStroke::Kind::HalfEllipse : MeshStroke::Kind::Line, f.x1, f.y1, f.x2, f.y2,
                       kOutlineLightBlue});
    }
    for (const FinStroke& f : finTrailingEdgeStrokes(m, c, scale, foot))
        line(f.x1, f.y1, f.x2, f.y2, f.part == FinStroke::Part::TrailingEdge ? kOutlineLightBlue : kOutlineWhite);
    return out;
}

} // namespace velmora::stability
