#pragma once
// What the mesh pictures show: every triangle of the meridian-plane mesh, the
// fin outline, the trailing-edge closure and the base line, in plot units of
// the user scale x 0..500 (left to right), y 0..500 (bottom to top, the
// rocket axis on the bottom edge).
//
// The main window's picture widens its extent so that a fin sweeping past the
// base stays inside; the flow-field plot keeps the domain's own scale.
#include <optional>
#include <vector>

#include "model/Module1.h"

namespace velmora {

struct MeshScale {
    double kx = 0;  // plot units per length unit along the axis
    double ky = 0;  // ... across it
};

// The main picture's scale, or nothing when there is no positive extent.
std::optional<MeshScale> mainMeshScale(const Module1& m);
// The flow-field plot's scale (the domain fills the picture), or nothing
// before a grid exists.
std::optional<MeshScale> plotMeshScale(const Module1& m);

struct MeshStroke {
    enum class Kind {
        Line,        // (x1, y1) to (x2, y2)
        HalfEllipse  // centre (x1, y1), semi-axes x2 along the axis, y2 across it
    };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int colour = -1;  // 16-colour table index, -1 the picture's foreground

    bool operator==(const MeshStroke&) const = default;
};

// Corners of triangle e in plot units.
void meshTriangle(const Module1& m, const MeshScale& s, long e, double (&x)[3], double (&y)[3]);

// Stores the fin corner points (root at the grid's body radius) and returns
// the strokes drawn after the triangles: fin outline in light blue, the root
// marks near the axis, the trailing-edge closure, and - on the main picture
// only - the base line in red. Throws MathFailure when the fin root's body
// radius lies beyond single range.
std::vector<MeshStroke> meshOverlay(Module1& m, const MeshScale& s, bool mainPicture);

} // namespace velmora
