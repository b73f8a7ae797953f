#include "bodyflow/MeshDrawing.h"

#include <algorithm>
#include <cmath>

#include "geometry/Outline.h"
#include "platform/Format.h"

namespace velmora {

namespace {

// R = 1000 / aspect ratio as a 16-bit whole number (500 for the usual 2.0).
std::optional<double> radialFactor(const Module1& m)
{
    if (!(m.DomainAspectRatio > 0) || !std::isfinite(m.DomainAspectRatio)) return std::nullopt;
    const auto r = toInt16(1000.0 / static_cast<double>(m.DomainAspectRatio));
    if (!r) return std::nullopt;
    return static_cast<double>(*r);
}

} // namespace

std::optional<MeshScale> mainMeshScale(const Module1& m)
{
    const double xe = m.NoseTipX + m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
    const double xtt = m.NoseTipX + m.FinTipDistance + static_cast<double>(m.FinTipChord);
    const double xrt = m.NoseTipX + static_cast<double>(m.FinRootDistance) + m.FinRootChord;
    const double xmax = std::max({xe, xtt, xrt});
    const auto r = radialFactor(m);
    if (!(xmax > 0) || !std::isfinite(xmax) || !r) return std::nullopt;
    return MeshScale{500.0 / xmax, *r / (xmax / static_cast<double>(m.DomainAspectRatio))};
}

std::optional<MeshScale> plotMeshScale(const Module1& m)
{
    const auto r = radialFactor(m);
    if (!(m.DomainLength > 0) || !(m.DomainHeight > 0) || !r) return std::nullopt;
    return MeshScale{500.0 / m.DomainLength, *r / m.DomainHeight};
}

void meshTriangle(const Module1& m, const MeshScale& s, long e, double (&x)[3], double (&y)[3])
{
    for (int k = 0; k < 3; ++k) {
        const long node = std::lround(m.MeshElementNodes(e, k + 1));
        x[k] = m.MeshNodeX(node) * s.kx;
        y[k] = m.MeshNodeRadius(node) * s.ky;
    }
}

std::vector<MeshStroke> meshOverlay(Module1& m, const MeshScale& s, bool mainPicture)
{
    std::vector<MeshStroke> out;
    const double xrl = m.NoseTipX + static_cast<double>(m.FinRootDistance);
    const double xtl = m.NoseTipX + m.FinTipDistance;
    const double xtt = xtl + static_cast<double>(m.FinTipChord);
    const double xrt = xrl + m.FinRootChord;
    const double rroot = gridBodyRadiusAt(m, xrl);

    m.FinRootLeadingEdgeX = xrl;
    m.FinRootLeadingEdgeY = rroot;
    m.FinTipLeadingEdgeX = xtl;
    m.FinTipLeadingEdgeY = rroot + m.FinSpan;
    m.FinTipTrailingEdgeX = xtt;
    m.FinTipTrailingEdgeY = rroot + m.FinSpan;
    m.FinRootTrailingEdgeX = xrt;
    m.FinRootTrailingEdgeY = static_cast<float>(rroot);

    constexpr int lightBlue = 9, red = 4, white = 15;
    auto line = [&](double x1, double y1, double x2, double y2, int colour) {
        out.push_back({MeshStroke::Kind::Line, x1, y1, x2, y2, colour});
    };
    const int planform = m.FinPlanformCode;
    if (planform >= 1 && planform <= 3) {
        line(xrl * s.kx, rroot * s.ky, xtl * s.kx, m.FinTipLeadingEdgeY * s.ky, lightBlue);
        line(xtl * s.kx, m.FinTipLeadingEdgeY * s.ky, xtt * s.kx, m.FinTipTrailingEdgeY * s.ky, lightBlue);
        line(xtt * s.kx, m.FinTipTrailingEdgeY * s.ky, xrt * s.kx, rroot * s.ky, lightBlue);
    } else if (planform == 4 && m.FinSpan > 0 && m.FinRootChord > 0) {
        // The true half-ellipse over the root chord, span high.
        m.Pi = 3.14159265;
        out.push_back({MeshStroke::Kind::HalfEllipse, (xrl + m.FinRootChord / 2) * s.kx, rroot * s.ky,
                       m.FinRootChord / 2 * s.kx, m.FinSpan * s.ky, lightBlue});
    }
    if (planform > 0) {
        line(xrl * s.kx, 2, xrt * s.kx, 2, lightBlue);
        line(xrl * s.kx, 3, xrt * s.kx, 3, lightBlue);
    }
    // Trailing-edge closure.
    line(xrt * s.kx, rroot * s.ky, xrt * s.kx, 0, lightBlue);
    const double rte = gridBodyRadiusAt(m, xrt);
    line(xrt * s.kx, 0, xrt * s.kx, rte * s.ky, white);
    const long n = std::lround(m.MeshAxialNodeCount);
    if (n >= 1 && n <= 625 && xrt > m.GridNodeX(n, 1)) line(xrt * s.kx, rroot * s.ky, xrt * s.kx, 0, white);
    if (mainPicture) {
        const double xe = m.NoseTipX + m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
        double rb = 0;
        if (m.ActiveBodyGeometry == 1) rb = m.FreeFormBaseRadius;
        else if (m.TransitionLength == 0) rb = m.NoseConeDiameter / 2;
        else if (m.TransitionLength > 0) rb = m.TransitionDiameter / 2;
        line(xe * s.kx, 0, xe * s.kx, rb * s.ky, red);
    }
    return out;
}

} // namespace velmora
