#include "bodyflow/MeshDrawing.h"

#include <cmath>

#include "geometry/FinGeometry.h"
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
    const double xmax = sideViewExtent(m, baseFaceX(m));
    const auto r = radialFactor(m);
    if (!(xmax > 0) || !std::isfinite(xmax) || !r) return std::nullopt;
    const SideViewScale s = sideViewScale(m, xmax, *r);
    return MeshScale{s.sx, s.sy};
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
    const FinCorners fin = finCornersOnGrid(m);
    storeFinCorners(m, fin);

    constexpr int lightBlue = 9, red = 4, white = 15;
    std::vector<MeshStroke> out;
    // The mesh pictures draw the trailing edge from the root radius itself,
    // not from its single-precision copy.
    const SideViewScale scale{0.0, s.kx, s.ky};
    for (auto part : {finPlanformStrokes(m, fin, scale, fin.rootLeadingY),
                      finTrailingEdgeStrokes(m, fin, scale, fin.rootLeadingY)}) {
        for (const FinStroke& f : part) {
            const bool ellipse = f.part == FinStroke::Part::HalfEllipse;
            out.push_back({ellipse ? MeshStroke::Kind::HalfEllipse : MeshStroke::Kind::Line, f.x1, f.y1, f.x2, f.y2,
                           f.part == FinStroke::Part::TrailingEdgeErase ? white : lightBlue});
        }
    }
    if (mainPicture) {
        const double xe = baseFaceX(m);
        out.push_back({MeshStroke::Kind::Line, xe * s.kx, 0, xe * s.kx, baseFaceRadius(m) * s.ky, red});
    }
    return out;
}

} // namespace velmora
