#include "geometry/Outline.h"

#include <algorithm>
#include <cmath>

#include "model/Vocabulary.h"
#include "geometry/FinGeometry.h"

namespace velmora {

std::optional<OutlineScale> outlineScale(const Module1& m)
{
    const double xBody = m.NoseConeLength + m.BodyTubeLength + m.NoseTipX + m.TransitionLength + m.BaseTubeLength;
    const double xTip = m.NoseTipX + m.FinTipDistance + static_cast<double>(m.FinTipChord);
    const double xRoot = m.NoseTipX + static_cast<double>(m.FinRootDistance) + m.FinRootChord;
    const double xMax = std::max({xBody, xTip, xRoot});
    const double ratio = m.DomainAspectRatio;
    if (!std::isfinite(xMax) || !(xMax > 0.0) || !std::isfinite(ratio) || !(ratio > 0.0)) return std::nullopt;
    const double h = xMax / ratio;
    const double k = std::nearbyint((2.0 / ratio) * 500.0);
    OutlineScale s;
    s.xMax = xMax;
    s.sx = 500.0 / xMax;
    s.sy = k / h;
    if (!std::isfinite(s.sx) || !std::isfinite(s.sy) || !(s.sx > 0.0) || !(s.sy > 0.0)) return std::nullopt;
    return s;
}

double gridBodyRadiusAt(const Module1& m, double x)
{
    const long n = static_cast<long>(m.MeshAxialNodeCount);
    double r = 0.0;
    for (long i = 1; i <= n - 1; ++i) {
        const double xi = m.GridNodeX(i, 1);
        if ((x > xi && x < m.GridNodeX(i + 1, 1)) || x == xi) r = m.GridNodeRadius(i, 1);
    }
    return r;
}

double outlineBaseRadius(const Module1& m)
{
    if (m.ActiveBodyGeometry == FreeFormBody) return m.FreeFormBaseRadius;
    if (m.TransitionLength == 0.0) return m.NoseConeDiameter / 2.0;
    if (m.TransitionLength > 0.0) return m.TransitionDiameter / 2.0;
    return 0.0;
}

std::vector<OutlineStroke> outlineStrokes(Module1& m, const OutlineScale& scale)
{
    const double sx = scale.sx;
    const double sy = scale.sy;
    const long n = static_cast<long>(m.MeshAxialNodeCount);

    // Fin corners, standing on the body radius at the root leading edge.
    const double rootRadius = gridBodyRadiusAt(m, m.NoseTipX + static_cast<double>(m.FinRootDistance));
    m.FinRootLeadingEdgeX = m.NoseTipX + static_cast<double>(m.FinRootDistance);
    m.FinRootLeadingEdgeY = rootRadius;
    m.FinTipLeadingEdgeX = m.NoseTipX + m.FinTipDistance;
    m.FinTipLeadingEdgeY = rootRadius + m.FinSpan;
    m.FinTipTrailingEdgeX = m.NoseTipX + m.FinTipDistance + static_cast<double>(m.FinTipChord);
    m.FinTipTrailingEdgeY = rootRadius + m.FinSpan;
    m.FinRootTrailingEdgeX = m.NoseTipX + static_cast<double>(m.FinRootDistance) + m.FinRootChord;
    m.FinRootTrailingEdgeY = static_cast<float>(rootRadius);

    std::vector<OutlineStroke> out;
    auto line = [&](double x1, double y1, double x2, double y2, int colour, int plotColour) {
        out.push_back({OutlineStroke::Kind::Line, x1, y1, x2, y2, colour, plotColour});
    };
    auto gridLine = [&](double x1, double y1, double x2, double y2, int colour) {
        line(sx * x1, sy * y1, sx * x2, sy * y2, colour, colour);
    };

    const int16_t planform = m.FinPlanformCode;
    if (planform == kFinTriangle || planform == kFinRectangle || planform == kFinTapered) {
        // Leading edge, tip chord, trailing edge; the body stands for the root.
        gridLine(m.FinRootLeadingEdgeX, m.FinRootLeadingEdgeY, m.FinTipLeadingEdgeX, m.FinTipLeadingEdgeY,
                 kOutlineLightBlue);
        gridLine(m.FinTipLeadingEdgeX, m.FinTipLeadingEdgeY, m.FinTipTrailingEdgeX, m.FinTipTrailingEdgeY,
                 kOutlineLightBlue);
        gridLine(m.FinTipTrailingEdgeX, m.FinTipTrailingEdgeY, m.FinRootTrailingEdgeX,
                 static_cast<double>(m.FinRootTrailingEdgeY), kOutlineLightBlue);
    }
    if (planform == kFinElliptical && m.FinSpan > 0.0 && m.FinRootChord > 0.0) {
        // The half-ellipse standing on the root chord: semi-axes half the root
        // chord along the body and the span across it.
        m.Pi = kOutlinePi;
        out.push_back({OutlineStroke::Kind::HalfEllipse, sx * (m.FinRootLeadingEdgeX + m.FinRootChord / 2.0),
                       sy * m.FinRootLeadingEdgeY, sx * (m.FinRootChord / 2.0), sy * m.FinSpan, kOutlineLightBlue,
                       kOutlineLightBlue});
    }
    if (planform > 0) {
        // The fin root's extent marked on the axis (y in plot units).
        line(sx * m.FinRootLeadingEdgeX, 2, sx * m.FinRootTrailingEdgeX, 2, kOutlineLightBlue, kOutlineForeground);
        line(sx * m.FinRootLeadingEdgeX, 3, sx * m.FinRootTrailingEdgeX, 3, kOutlineLightBlue, kOutlineLightBlue);
    }

    // Body outline: the grid's lower boundary.
    for (long i = 1; i <= n - 1; ++i)
        gridLine(m.GridNodeX(i, 1), m.GridNodeRadius(i, 1), m.GridNodeX(i + 1, 1), m.GridNodeRadius(i + 1, 1),
                 kOutlineForeground);

    // Root trailing edge down to the axis, then the part inside the body
    // erased so that the edge meets the body surface.
    const double xte = m.FinRootTrailingEdgeX;
    const double yte = static_cast<double>(m.FinRootTrailingEdgeY);
    gridLine(xte, yte, xte, 0.0, kOutlineLightBlue);
    gridLine(xte, 0.0, xte, gridBodyRadiusAt(m, xte), kOutlineWhite);
    // A root ending behind the base has no trailing edge on the body at all.
    if (n >= 1 && xte > m.GridNodeX(n, 1)) gridLine(xte, yte, xte, 0.0, kOutlineWhite);

    // Base face.
    const double xEnd = m.NoseTipX + m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
    gridLine(xEnd, 0.0, xEnd, outlineBaseRadius(m), kOutlineRed);
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
