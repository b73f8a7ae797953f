#pragma once
// The rocket's side view: body outline, base face and fin planform in plot
// units, computed from the project state and the current meridian-plane grid.
//
// The pictures all use the user scale x 0..500 (left to right) and y 500..0
// (top to bottom, the rocket's axis on y = 0). A grid point (x, r) is drawn at
// (sx * x, sy * r) with
//   x_max = the largest of the base position, the fin tip trailing edge and
//           the fin root trailing edge,
//   sx    = 500 / x_max,
//   sy    = k / (x_max / DomainAspectRatio), k = (2 / DomainAspectRatio) * 500
//           rounded to a whole number (so sy = 2 sx for the usual ratio 2).
//
// outlineStrokes() also stores the four fin corner points, in grid
// coordinates, in the project state. It expects a grid built for the current
// inputs (MeshAxialNodeCount stations along the body surface).
#include <optional>
#include <vector>

#include "model/Module1.h"
#include "geometry/FinGeometry.h"

namespace velmora {

// Panel-2 text when the inputs give no drawable extent (negative lengths).
inline constexpr const char* kMsgNoOutlineExtent = "Please check rocket and fin dimensions.";
// Colour of a stroke: a 16-colour table index, or the picture's foreground.
inline constexpr int kOutlineForeground = -1;
inline constexpr int kOutlineLightBlue = 9;
inline constexpr int kOutlineRed = 4;
inline constexpr int kOutlineWhite = 15;

using OutlineScale = SideViewScale;

// The drawing scale, or nothing when the extent is not a positive finite
// length (or the domain aspect ratio is unusable), so nothing can be drawn.
std::optional<OutlineScale> outlineScale(const Module1& m);

struct OutlineStroke {
    enum class Kind {
        Line,        // (x1, y1) to (x2, y2)
        HalfEllipse  // centre (x1, y1), semi-axes x2 along the body and y2
                     // across it, the upper half from angle 0 to pi
    };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // plot units
    int colour = kOutlineForeground;         // on the main and body pictures
    int plotColour = kOutlineForeground;     // on the flow-field plot picture

    bool operator==(const OutlineStroke&) const = default;
};

// Stores the fin corner points (and Pi for an elliptical fin) and returns the
// strokes of the fin planform, the fin root extent on the axis, the body
// outline, the root trailing edge and the base face, in drawing order. Throws
// MathFailure when the fin root's body radius lies beyond single range.
std::vector<OutlineStroke> outlineStrokes(Module1& m, const OutlineScale& scale);

// The platform's arc primitive takes a radius in horizontal user units and a
// vertical-to-horizontal aspect, the radius being the vertical semi-axis when
// the aspect is 1 or more. For a half-ellipse whose semi-axes are given in
// plot units this gives the radius and aspect on a picture with the given
// pixels per plot unit along x and y.
struct ArcShape {
    double radius = 0;
    double aspect = 1;
};
ArcShape halfEllipseArc(double semiX, double semiY, double pixelsPerUnitX, double pixelsPerUnitY);

} // namespace velmora
