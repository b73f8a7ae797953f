#include "baseflow/BaseFlowDisplay.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "model/Vocabulary.h"

namespace velmora::baseflow {

namespace {

MeshStroke line(double x1, double y1, double x2, double y2, int colour = -1)
{
    return {MeshStroke::Kind::Line, x1, y1, x2, y2, colour};
}

// The grid as the plots take it: a size the node tables hold, else nothing.
struct GridSize {
    int nx = 0, ny = 0, jb = 0;
};
std::optional<GridSize> gridOf(const Module1& m)
{
    const GridSize g{m.BaseGridPointsX, m.BaseGridPointsY, m.BaseShoulderIndex};
    if (g.nx < 2 || g.nx > kMaxNX || g.ny < 2 || g.ny > kMaxNY) return std::nullopt;
    return g;
}

bool finitePoint(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

} // namespace

std::optional<BaseFlowGridSize> gridSizeOf(const std::string& text)
{
    for (const BaseFlowGridSize& g : kGridSizes)
        if (text == g.text) return g;
    return std::nullopt;
}

int16_t levelCountOf(double typed)
{
    if (!std::isfinite(typed)) return 0;
    const double r = std::nearbyint(std::clamp(typed, -32768.0, 32767.0));
    return static_cast<int16_t>(r);
}

float vectorScaleOf(double typed)
{
    if (!std::isfinite(typed)) return 0.0f;
    return static_cast<float>(std::clamp(typed, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

void setBaseDiameterAndDomain(Module1& m)
{
    if (m.TransitionLength == 0) m.BaseFlowDiameter = m.NoseConeDiameter;
    else if (m.TransitionLength > 0) m.BaseFlowDiameter = m.TransitionDiameter;
    if (m.ActiveBodyGeometry == 1) {
        const int last = std::clamp<int>(m.BodyStationCount, 0, 100);
        m.BaseFlowDiameter = 2 * m.BodyStationRadius(last);
    }
    m.BaseFlowDomainHeight = m.BaseFlowDiameter * 5 / 2;
    m.BaseFlowDomainLength = m.BaseFlowDomainHeight * 2;
}

std::optional<UnitLabels> unitLabelsFor(const std::string& units)
{
    if (units == UnitsSystem::IPS) return UnitLabels{"LB", "SEC", "LB", "IN", "IN/SEC", "LB/IN^2", "SEC", "IN/SEC", "IN^2/SEC"};
    if (units == UnitsSystem::FPS) return UnitLabels{"LB", "SEC", "LB", "FT", "FT/SEC", "LB/FT^2", "SEC", "FT/SEC", "FT^2/SEC"};
    if (units == UnitsSystem::MNS) return UnitLabels{"NT", "SEC", "KG", "M", "M/SEC", "NT/M^2", "SEC", "M/SEC", "M^2/SEC"};
    return std::nullopt;
}

DomainScale domainScale(const Module1& m)
{
    DomainScale s;
    if (m.BaseFlowDomainLength != 0) s.sx = 500.0 / m.BaseFlowDomainLength;
    if (m.BaseFlowDomainHeight != 0) s.sy = 500.0 / m.BaseFlowDomainHeight;
    return s;
}

std::vector<MeshStroke> baseWallMark(const Module1& m)
{
    std::vector<MeshStroke> out;
    const auto g = gridOf(m);
    if (!g) return out;
    const double dy = m.BaseFlowDomainHeight / (g->ny - 1);
    const double top = domainScale(m).sy * dy * (g->jb - 1);
    for (int x = 0; x <= 4; ++x) out.push_back(line(x, 0, x, top));
    return out;
}

std::optional<std::vector<MeshStroke>> gridStrokes(Module1& m)
{
    const double xl = m.BaseFlowDomainLength, yl = m.BaseFlowDomainHeight;
    const auto g = gridOf(m);
    if (xl == 0 || yl == 0 || !g || !std::isfinite(xl) || !std::isfinite(yl)) return std::nullopt;
    m.DeltaX = xl / (g->nx - 1);
    m.DeltaY = yl / (g->ny - 1);
    for (int i = 1; i <= g->nx; ++i)
        for (int j = 1; j <= g->ny; ++j) {
            m.BaseFlowNodeX(i, j) = (i - 1) * m.DeltaX;
            m.BaseFlowNodeY(i, j) = (j - 1) * m.DeltaY;
        }
    const DomainScale s = domainScale(m);
    auto at = [&](int i, int j) { return std::pair{s.sx * m.BaseFlowNodeX(i, j), s.sy * m.BaseFlowNodeY(i, j)}; };
    std::vector<MeshStroke> out;
    for (int j = 1; j <= g->ny; ++j) {
        const auto [x1, y1] = at(1, j);
        const auto [x2, y2] = at(g->nx, j);
        out.push_back(line(x1, y1, x2, y2));
    }
    for (int i = 1; i <= g->nx; ++i) {
        const auto [x1, y1] = at(i, 1);
        const auto [x2, y2] = at(i, g->ny);
        out.push_back(line(x1, y1, x2, y2));
    }
    for (const MeshStroke& w : baseWallMark(m)) out.push_back(w);
    return out;
}

BaseVectorPlot vectorStrokes(const Module1& m, double vinf)
{
    BaseVectorPlot plot;
    const auto g = gridOf(m);
    if (!g || vinf == 0 || !std::isfinite(vinf)) return plot;
    const DomainScale s = domainScale(m);
    const int skip = std::max<int>(1, m.BaseFlowVectorSkip);
    const double f = m.BaseFlowVectorScale;
    for (int i = 1; i <= g->nx; i += skip) {
        ++plot.columns;
        for (int j = 1; j <= g->ny; ++j) {
            const double x = s.sx * m.BaseFlowNodeX(i, j), y = s.sy * m.BaseFlowNodeY(i, j);
            const double x2 = x + s.sx * f * m.BaseFlowVelocityU(i, j) / vinf;
            const double y2 = y + s.sy * f * static_cast<double>(m.BaseFlowVelocityV(i, j)) / vinf;
            if (finitePoint(x, y) && finitePoint(x2, y2)) plot.vectors.push_back(line(x, y, x2, y2));
        }
    }
    plot.wall = baseWallMark(m);
    return plot;
}

BaseContourPlot speedContours(const Module1& m, int n)
{
    BaseContourPlot plot;
    const auto g = gridOf(m);
    if (!g || n < 3) return plot;
    const int nx = g->nx, ny = g->ny;
    auto speed = [&](long k) { return m.BaseFlowSpeedList(k); };
    auto node = [&](int i, int j) { return static_cast<long>(i - 1) * ny + j; };

    // Range: the first node, then every node.
    plot.vmin = plot.vmax = speed(1);
    for (long k = 1; k <= static_cast<long>(nx) * ny; ++k) {
        if (speed(k) < plot.vmin) plot.vmin = speed(k);
        else if (speed(k) > plot.vmax) plot.vmax = speed(k);
    }
    plot.levels = contourLevels(plot.vmin, plot.vmax, n);
    plot.colours = colourRamp(n);
    auto colourAt = [&](long entry) {
        return entry >= 0 && entry < static_cast<long>(plot.colours.size()) ? plot.colours[static_cast<std::size_t>(entry)]
                                                                           : 0L;
    };

    const DomainScale s = domainScale(m);
    const double w = 500.0 / (nx - 1);
    plot.means.push_back(0);
    for (int mm = 1; mm <= ny - 1; ++mm) {
        for (int l = 1; l <= nx - 1; ++l) {
            const long c1 = node(l, mm), c2 = node(l + 1, mm), c3 = node(l + 1, mm + 1), c4 = node(l, mm + 1);
            const double mean = (speed(c2) + speed(c1) + speed(c3) + speed(c4)) / 4;
            plot.means.push_back(mean);
            BaseContourCell cell;
            cell.band = bandOf(mean, plot.levels, n);
            cell.colour = colourAt(cell.band);
            const double x1 = s.sx * m.BaseFlowNodeX(l, mm), y1 = s.sy * m.BaseFlowNodeY(l, mm) + 2;
            const double x4 = s.sx * m.BaseFlowNodeX(l, mm + 1), y4 = s.sy * m.BaseFlowNodeY(l, mm + 1) + 2;
            cell.corners = {x1, y1, x1 + w, y1, x4 + w, y4, x4, y4};
            plot.cells.push_back(cell);
        }
    }
    plot.wall = baseWallMark(m);

    const double h = 500.0 / (n - 1);
    for (int l = 1; l <= n - 1; ++l) plot.legend.push_back({(l - 1) * h, l * h, colourAt(l)});

    plot.shownMax = std::max(plot.vmax, m.JetExitVelocity);
    return plot;
}

std::vector<MeshStroke> convergenceBackground()
{
    std::vector<MeshStroke> out;
    for (int x = 0; x <= 500; x += 25) out.push_back(line(x, 0, x, 1000));
    for (int y = 0; y <= 1000; y += 100) out.push_back(line(0, y, 500, y));
    out.push_back(line(0, 100, 500, 100, 9));
    return out;
}

std::optional<MeshStroke> ConvergenceTrace::next(const IterationStep& step)
{
    if (step.last) return std::nullopt;
    if (!started_) {
        started_ = true;
        n_ = 1;
        r_ = 0.05;
        return std::nullopt;
    }
    const MeshStroke seg = line(xf_ * n_, 100 + yf_ * r_, xf_ * step.n, 100 + yf_ * step.residual, 1);
    n_ = step.n;
    r_ = step.residual;
    return seg;
}

} // namespace velmora::baseflow
