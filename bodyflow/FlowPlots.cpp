#include "bodyflow/FlowPlots.h"

#include <cmath>

#include "model/Vocabulary.h"
#include "geometry/FinGeometry.h"
#include "platform/Format.h"
#include "platform/Single.h"

namespace velmora {

namespace {

constexpr long kCellTable = 5000;  // cell and element tables hold 0..5000

bool wholeInRange(double v, double lo, double hi)
{
    return std::isfinite(v) && v >= lo && v <= hi && v == std::floor(v);
}

MeshStroke line(double x1, double y1, double x2, double y2, int colour = -1)
{
    return {MeshStroke::Kind::Line, x1, y1, x2, y2, colour};
}

} // namespace

// ---- level count -------------------------------------------------------------

LevelCheck checkLevelCount(double n)
{
    if (n > 100) return LevelCheck::TooMany;
    if (n < 3 || !std::isfinite(n)) return LevelCheck::TooFew;
    return LevelCheck::Ok;
}

// ---- colour ramp and bands -------------------------------------------------------

long colourStep(double n)
{
    return static_cast<long>(std::floor(255.0 / (n / 2.0 - 1.0)));
}

std::vector<long> colourRamp(double n)
{
    const long cs = colourStep(n);
    std::vector<long> table{0};
    if (cs <= 0) return table;
    for (long c = 0; c <= 255; c += cs) table.push_back(rgbLong(0, c, 255 - c));
    for (long c = 0; c <= 255; c += cs) table.push_back(rgbLong(c, 255 - c, 0));
    return table;
}

std::vector<float> contourLevels(double fmin, double fmax, double n)
{
    std::vector<float> level(1, 0.0f);
    const double step = (fmax - fmin) / (n - 1.0);
    double sum = fmin;
    for (long l = 1; l <= n; ++l) {
        level.push_back(toSingle(sum));
        sum += step;
    }
    return level;
}

int bandOf(double v, const std::vector<float>& level, double n)
{
    int band = 0;
    const long last = static_cast<long>(level.size()) - 2;  // L + 1 must be a stored level
    for (long l = 1; l <= n - 1 && l <= last; ++l) {
        const double lo = level[static_cast<std::size_t>(l)];
        const double hi = level[static_cast<std::size_t>(l + 1)];
        if ((lo < v && v < hi) || v == hi || (l == 1 && v == lo)) band = static_cast<int>(l);
    }
    return band;
}

// ---- grid ------------------------------------------------------------------------

std::optional<PlotGrid> plotGrid(const Module1& s)
{
    const double n = s.MeshAxialNodeCount;
    const double m = s.MeshRadialNodeCount;
    if (!wholeInRange(n, 2, 625) || !wholeInRange(m, 2, 625)) return std::nullopt;
    PlotGrid g{static_cast<long>(n), static_cast<long>(m)};
    if (g.n * g.m > kCellTable || 2 * g.cells() > kCellTable) return std::nullopt;
    if (s.MeshElementCount != static_cast<double>(2 * g.cells())) return std::nullopt;
    if (!(s.DomainLength > 0) || !std::isfinite(s.DomainLength)) return std::nullopt;
    if (!(s.DomainHeight > 0) || !std::isfinite(s.DomainHeight)) return std::nullopt;
    if (!(s.DomainAspectRatio > 0) || !std::isfinite(s.DomainAspectRatio)) return std::nullopt;
    return g;
}

std::vector<double> cellMeans(const PlotGrid& g, const std::vector<double>& f)
{
    std::vector<double> value(1, 0.0);
    long k = 0;
    for (long j = 1; j <= g.m - 1; ++j) {
        for (long i = 1; i <= g.n - 1; ++i) {
            ++k;
            value.push_back((f[static_cast<std::size_t>(2 * k - 1)] + f[static_cast<std::size_t>(2 * k)]) / 2.0);
        }
    }
    return value;
}

// ---- overlay -------------------------------------------------------------------

bool isNoseConeShape(const std::string& name)
{
    return name == NoseConeShape::Conical || name == NoseConeShape::TangentOgive ||
           name == NoseConeShape::Elliptical || name == NoseConeShape::Parabolic || name == NoseConeShape::SearsHaack;
}

std::vector<MeshStroke> flowOverlay(Module1& s, const PlotGrid& g, double sx, double sy)
{
    std::vector<MeshStroke> out;
    if (isNoseConeShape(s.NoseShapeName)) {
        for (long i = 1; i <= g.n - 1; ++i) {
            const long a = g.node(i, 1);
            const long b = g.node(i + 1, 1);
            out.push_back(line(s.MeshNodeX(a) * sx, s.MeshNodeRadius(a) * sy, s.MeshNodeX(b) * sx,
                               s.MeshNodeRadius(b) * sy));
        }
    }
    const FinCorners fin = finCornersOnGrid(s);
    storeFinCorners(s, fin);
    for (const FinStroke& f : finPlanformStrokes(s, fin, {0.0, sx, sy}, static_cast<double>(fin.rootTrailingY))) {
        const bool ellipse = f.part == FinStroke::Part::HalfEllipse;
        out.push_back({ellipse ? MeshStroke::Kind::HalfEllipse : MeshStroke::Kind::Line, f.x1, f.y1, f.x2, f.y2, -1});
    }
    return out;
}

// ---- contour plots ---------------------------------------------------------------

void computeElementPressures(Module1& s, const PlotGrid& g)
{
    const double V = s.FreeStreamVelocity;
    const double rho = s.AmbientDensity;
    for (long e = 1; e <= 2 * g.cells(); ++e) {
        const double v = s.ElementSpeed(e);
        const double p = s.PressurePlotKind == StaticPressure ? s.AmbientPressure + 0.5 * rho * (V * V - v * v)
                                                 : 0.5 * rho * v * v;
        s.ElementPressure(e) = toSingle(p);
    }
}

ContourPlot contourPlot(Module1& s, const PlotGrid& g, ContourQuantity q)
{
    ContourPlot plot;
    const double n = s.ContourLevelCount;
    const long elements = 2 * g.cells();
    std::vector<double> f(static_cast<std::size_t>(elements + 1), 0.0);
    for (long e = 1; e <= elements; ++e)
        f[static_cast<std::size_t>(e)] =
            q == ContourQuantity::Speed ? s.ElementSpeed(e) : static_cast<double>(s.ElementPressure(e));

    plot.fmin = plot.fmax = f[1];
    for (long e = 1; e <= elements; ++e) {
        const double v = f[static_cast<std::size_t>(e)];
        if (v < plot.fmin) plot.fmin = v;
        else if (v > plot.fmax) plot.fmax = v;
    }
    plot.levels = contourLevels(plot.fmin, plot.fmax, n);

    plot.cellValues = cellMeans(g, f);
    if (q == ContourQuantity::Pressure) {
        for (double& v : plot.cellValues) v = toSingle(v);
    }
    plot.colours = colourRamp(n);
    auto colourAt = [&](long entry) {
        return entry >= 0 && entry < static_cast<long>(plot.colours.size())
                   ? plot.colours[static_cast<std::size_t>(entry)]
                   : 0L;
    };

    plot.sx = 500.0 / s.DomainLength;
    plot.sy = (2.0 / static_cast<double>(s.DomainAspectRatio)) * 500.0 / s.DomainHeight;
    const double w = 500.0 / static_cast<double>(g.n - 1);
    long k = 0;
    for (long j = 1; j <= g.m - 1; ++j) {
        for (long i = 1; i <= g.n - 1; ++i) {
            ++k;
            ContourCell c;
            c.band = bandOf(plot.cellValues[static_cast<std::size_t>(k)], plot.levels, n);
            c.colour = colourAt(c.band);
            const long a = g.node(i, j), b = g.node(i + 1, j), d = g.node(i, j + 1);
            const double xa = s.MeshNodeX(a) * plot.sx, ya = s.MeshNodeRadius(a) * plot.sy;
            const double xd = s.MeshNodeX(d) * plot.sx, yd = s.MeshNodeRadius(d) * plot.sy;
            const double rise = (s.MeshNodeRadius(b) - s.MeshNodeRadius(a)) * plot.sy;
            c.corners = {xa, ya, xa + w, ya + rise, xd + w, yd + rise + 4, xd, yd + 4};
            plot.cells.push_back(c);
        }
    }

    plot.overlay = flowOverlay(s, g, plot.sx, plot.sy);

    s.DeltaX = 50.0 / (n - 1.0);
    s.DeltaY = 500.0 / (n - 1.0);
    for (long l = 1; l <= n - 1; ++l)
        plot.legend.push_back({static_cast<double>(l - 1) * s.DeltaY, static_cast<double>(l) * s.DeltaY, colourAt(l)});
    return plot;
}

// ---- velocity vectors --------------------------------------------------------------

VectorPlot vectorPlot(Module1& s, const PlotGrid& g, double velocity)
{
    VectorPlot plot;
    plot.sx = 500.0 / s.DomainLength;
    const auto k = toInt16((2.0 / static_cast<double>(s.DomainAspectRatio)) * 500.0);
    plot.sy = static_cast<double>(k.value_or(0)) / s.DomainHeight;
    plot.overlay = flowOverlay(s, g, plot.sx, plot.sy);
    if (velocity == 0 || !std::isfinite(velocity)) return plot;
    const double scale = s.VectorScale;
    for (long e = 1; e <= 2 * g.cells(); ++e) {
        const double xc = s.ElementCentroidX(e) * plot.sx;
        const double rc = static_cast<double>(s.ElementCentroidRadius(e)) * plot.sy;
        plot.vectors.push_back(line(xc, rc, xc + scale * s.ElementAxialVelocity(e) / velocity * plot.sx,
                                    rc + scale * static_cast<double>(s.ElementRadialVelocity(e)) / velocity * plot.sy));
    }
    return plot;
}

// ---- flow profile ------------------------------------------------------------------

long profileStation(const std::vector<double>& cx, long columns, double x, double length, bool& beyond)
{
    long st = 1;
    beyond = false;
    if (x > 0 && x < length) {
        for (long i = 1; i <= columns - 1; ++i) {
            if (cx[static_cast<std::size_t>(i)] < x && x < cx[static_cast<std::size_t>(i + 1)]) st = i;
        }
    } else if (x > length) {
        beyond = true;
    }
    return st;
}

ProfilePlot profilePlot(const Module1& s, const PlotGrid& g, double velocity)
{
    ProfilePlot plot;
    const long elements = 2 * g.cells();
    const double rho = s.AmbientDensity;
    std::vector<double> q(static_cast<std::size_t>(elements + 1), 0.0);
    for (long e = 1; e <= elements; ++e) {
        const double v = s.ElementSpeed(e);
        double value = 0;
        switch (s.ProfileQuantity) {
        case ProfileVelocity: value = v; break;
        case ProfileStaticPressure: value = s.AmbientPressure + 0.5 * rho * (velocity * velocity - v * v); break;
        case ProfileDynamicPressure: value = 0.5 * rho * v * v; break;
        default: break;
        }
        q[static_cast<std::size_t>(e)] = value;
    }
    const std::vector<double> value = cellMeans(g, q);

    std::vector<double> cx(1, 0.0);
    std::vector<float> cr(1, 0.0f);
    for (long j = 1; j <= g.m - 1; ++j) {
        for (long i = 1; i <= g.n - 1; ++i) {
            const long a = g.node(i, j), b = g.node(i + 1, j), c = g.node(i + 1, j + 1), d = g.node(i, j + 1);
            cx.push_back((s.MeshNodeX(a) + s.MeshNodeX(b) + s.MeshNodeX(c) + s.MeshNodeX(d)) / 4.0);
            cr.push_back(toSingle(
                (s.MeshNodeRadius(a) + s.MeshNodeRadius(b) + s.MeshNodeRadius(c) + s.MeshNodeRadius(d)) / 4.0));
        }
    }

    plot.station = profileStation(cx, g.n - 1, static_cast<double>(s.ProfileXLocation), s.DomainLength, plot.beyond);
    plot.values.assign(1, 0.0);
    plot.radii.assign(1, 0.0f);
    for (long j = 1; j <= g.m - 1; ++j) {
        const auto k = static_cast<std::size_t>(plot.station + (j - 1) * (g.n - 1));
        plot.values.push_back(value[k]);
        plot.radii.push_back(cr[k]);
    }

    plot.pmin = plot.pmax = plot.values[1];
    for (long j = 1; j <= g.m - 1; ++j) {
        const double p = plot.values[static_cast<std::size_t>(j)];
        if (p < plot.pmin) plot.pmin = p;
        else if (p > plot.pmax) plot.pmax = p;
    }

    // A column of equal values has no value scale: it stands at mid-width.
    const bool flat = !(plot.pmax > plot.pmin);
    const double fx = flat ? 0.0 : 500.0 / (plot.pmax - plot.pmin);
    const double fy = 500.0 / s.DomainHeight;
    auto px = [&](long j) { return flat ? 250.0 : (plot.values[static_cast<std::size_t>(j)] - plot.pmin) * fx; };
    auto py = [&](long j) { return static_cast<double>(plot.radii[static_cast<std::size_t>(j)]) * fy; };
    constexpr int darkBlue = 1;
    for (long j = 1; j <= g.m - 2; ++j) plot.curve.push_back(line(px(j), py(j), px(j + 1), py(j + 1), darkBlue));
    return plot;
}

// ---- units -------------------------------------------------------------------------

std::string velocityUnit(int unitIndex)
{
    switch (unitIndex) {
    case UnitsMenuFPS: return VelocityUnit::FtPerSec;
    case UnitsMenuIPS: return "IN/SEC";
    case UnitsMenuMNS: return "M/SEC";
    default: return {};
    }
}

std::string pressureUnit(int unitIndex)
{
    switch (unitIndex) {
    case UnitsMenuFPS: return "LB/FT^2";
    case UnitsMenuIPS: return "LB/IN^2";
    case UnitsMenuMNS: return "NT/M^2";
    default: return {};
    }
}

} // namespace velmora
