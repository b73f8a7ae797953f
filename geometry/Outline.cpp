#include "geometry/Outline.h"

#include <cmath>

namespace velmora {

std::optional<OutlineScale> outlineScale(const Module1& m)
{
    // The main outline sums the body lengths ahead of the nose-tip offset.
    const double xBody = m.NoseConeLength + m.BodyTubeLength + m.NoseTipX + m.TransitionLength + m.BaseTubeLength;
    const double xMax = sideViewExtent(m, xBody);
    const double ratio = m.DomainAspectRatio;
    if (!std::isfinite(xMax) || !(xMax > 0.0) || !std::isfinite(ratio) || !(ratio > 0.0)) return std::nullopt;
    const double k = std::nearbyint((2.0 / ratio) * 500.0);
    const OutlineScale s = sideViewScale(m, xMax, k);
    if (!std::isfinite(s.sx) || !std::isfinite(s.sy) || !(s.sx > 0.0) || !(s.sy > 0.0)) return std::nullopt;
    return s;
}

std::vector<OutlineStroke> outlineStrokes(Module1& m, const OutlineScale& scale)
{
    const double sx = scale.sx;
    const double sy = scale.sy;
    const long n = static_cast<long>(m.MeshAxialNodeCount);

    // Fin corners, standing on the body radius at the root leading edge.
    const FinCorners fin = finCornersOnGrid(m);
    storeFinCorners(m, fin);
    const double footY = static_cast<double>(fin.rootTrailingY);

    std::vector<OutlineStroke> out;
    auto add = [&](const std::vector<FinStroke>& strokes) {
        for (const FinStroke& f : strokes) {
            const bool ellipse = f.part == FinStroke::Part::HalfEllipse;
            int colour = kOutlineLightBlue;
            int plotColour = kOutlineLightBlue;
            if (f.part == FinStroke::Part::LowerRootMark) plotColour = kOutlineForeground;
            if (f.part == FinStroke::Part::TrailingEdgeErase) colour = plotColour = kOutlineWhite;
            out.push_back({ellipse ? OutlineStroke::Kind::HalfEllipse : OutlineStroke::Kind::Line, f.x1, f.y1, f.x2,
                           f.y2, colour, plotColour});
        }
    };
    auto gridLine = [&](double x1, double y1, double x2, double y2, int colour) {
        out.push_back({OutlineStroke::Kind::Line, sx * x1, sy * y1, sx * x2, sy * y2, colour, colour});
    };

    add(finPlanformStrokes(m, fin, scale, footY));

    // Body outline: the grid's lower boundary.
    for (long i = 1; i <= n - 1; ++i)
        gridLine(m.GridNodeX(i, 1), m.GridNodeRadius(i, 1), m.GridNodeX(i + 1, 1), m.GridNodeRadius(i + 1, 1),
                 kOutlineForeground);

    add(finTrailingEdgeStrokes(m, fin, scale, footY));

    // Base face.
    const double xEnd = baseFaceX(m);
    gridLine(xEnd, 0.0, xEnd, baseFaceRadius(m), kOutlineRed);
    return out;
}

ArcShape halfEllipseArc(double semiX, double semiY, double pixelsPerUnitX, double pixelsPerUnitY)
{
    const double ppx = std::fabs(pixelsPerUnitX);
    const double ppy = std::fabs(pixelsPerUnitY);
    const double rx = std::fabs(semiX) * ppx;  // horizontal semi-axis in pixels
    const double ry = std::fabs(semiY) * ppy;  // vertical semi-axis in pixels
    if (!(ppx > 0.0) || !(rx > 0.0)) return {0.0, 1.0};
    ArcShape a;
    a.aspect = ry / rx;
    a.radius = (a.aspect >= 1.0 ? ry : rx) / ppx;
    return a;
}

} // namespace velmora
