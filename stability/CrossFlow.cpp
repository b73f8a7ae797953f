#include "stability/CrossFlow.h"

#include <algorithm>
#include <cmath>

#include "platform/Constants.h"

namespace velmora::stability {

CrossFlowRange crossFlowDecadeRange(double cmax, double cmin)
{
    CrossFlowRange r;
    if (!std::isfinite(cmax)) cmax = 0;
    if (cmax > 0) {
        double top = 1;
        while (cmax >= top) top *= 10;
        while (cmax < top / 10) top /= 10;
        r = {top, -4 * top};
        if (cmin < r.bottom) r = {10 * r.top, 10 * r.bottom};
    } else if (cmax < 0) {
        const double a = -cmax;
        double top = 1;
        while (a > top) top *= 10;
        while (a <= top / 10) top /= 10;
        r = {top, -4 * top};
    } else {
        r = {1, -4};
        while (std::isfinite(cmin) && cmin < r.bottom) r = {10 * r.top, 10 * r.bottom};
    }
    return r;
}

bool clampCrossflowStation(Module1& m)
{
    const int last = m.BodyStationCount - 2;
    if (last < 1) return false;
    m.CrossflowStation = static_cast<int16_t>(std::clamp<int>(m.CrossflowStation, 1, last));
    return true;
}

CrossFlowReport CYLFLOW(Module1& m)
{
    CrossFlowReport rep;
    const int n = m.MeridianCount;
    if (!clampCrossflowStation(m) || n < 1) return rep;
    const int s = m.CrossflowStation;
    if (static_cast<long>(s) * n > decltype(m.BodySurfaceCp)::upper) return rep;

    rep.station = s;
    rep.distance = m.BodyStationX(s) - m.NoseTipX;
    const double d = 360.0 / n;
    double angle = 90 + d / 2;
    for (long k = static_cast<long>(s - 1) * n + 1; k <= static_cast<long>(s) * n; ++k) {
        rep.points.push_back({angle >= 360 ? angle - 360 : angle, m.BodySurfaceCp(k)});
        angle += d;
    }
    rep.cmax = rep.cmin = rep.points.front().cp;
    for (const CrossFlowPoint& p : rep.points) {
        if (p.cp < rep.cmin) rep.cmin = p.cp;
        else if (p.cp > rep.cmax) rep.cmax = p.cp;
    }
    const CrossFlowRange range = crossFlowDecadeRange(rep.cmax, rep.cmin);
    const double zoom = m.CrossflowCpScale;
    rep.top = range.top * zoom;
    rep.bottom = range.bottom * zoom;
    m.CrossflowCpTop = rep.top;
    m.CrossflowCpBottom = rep.bottom;
    rep.outcome = Outcome::Done;
    return rep;
}

bool crossFlowZoomFits(const Module1& m)
{
    return std::fabs(m.CrossflowCpBottom) * 10 < kCrossFlowLabelLimit &&
           std::fabs(m.CrossflowCpTop) * 10 < kCrossFlowLabelLimit;
}

std::vector<CrossFlowPoint> classicalCrossFlow(double angleOfAttackDegrees)
{
    const double alpha = kPi * angleOfAttackDegrees / 180;
    const double s2 = std::sin(alpha) * std::sin(alpha);
    std::vector<CrossFlowPoint> out;
    for (int i = 1; i <= 100; ++i) {
        const double theta = 2 * kPi * (i - 1) / 99;
        const double st = std::sin(theta);
        out.push_back({static_cast<float>(180 * theta / kPi), static_cast<float>((1 - 4 * st * st) * s2)});
    }
    return out;
}

} // namespace velmora::stability
