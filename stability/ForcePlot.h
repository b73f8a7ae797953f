#pragma once
// The force window's plot: upper and lower body-surface Cp along the body,
// with the body and fin outline over them.
//
//   ForcePlotRange          forcePlotRange(upper, lower);
//   std::vector<MeshStroke> forcePlotStrokes(Module1& m, const CenterOfPressureReport& r);
//
// Picture: user scale (0, 500)-(500, 0), x to the right, y upward. The Cp
// axis runs from the range's low end on the top edge to its high end on the
// bottom edge (negative Cp above the zero line y = 250); the body outline
// stands on the bottom edge with its own vertical factor
//   xs = 500 / DomainLength,  yb = single(2 / DomainAspectRatio * 500) / DomainHeight.
// A station i is drawn at x = xs (x0 + GridNodeX(i, 1)), x0 = NoseTipX when
// the grid has nodes on the axis ahead of the nose (the standard grid), else
// 0.
//
// Range: the largest magnitude v on the two curves (stations 1 .. N-1) gives
// the symmetric range +-h, h the smallest whole number of tenths that exceeds
// |v| (computed as I x 0.1, I = 1 .. 100); from |v| = 10 on, the smallest
// whole number of tenths of the decade below that exceeds it (12.3 gives 13,
// 123 gives 130). Values without a number are passed over.
#include <vector>

#include "bodyflow/MeshDrawing.h"
#include "model/Module1.h"
#include "stability/CenterOfPressure.h"

namespace velmora::stability {

inline constexpr int kUpperCurveColour = 1;  // blue
inline constexpr int kLowerCurveColour = 4;  // red

struct ForcePlotRange {
    double high = 0, low = 0;
};

// Over indices 1 .. size-1 of both curves (index 0 unused).
ForcePlotRange forcePlotRange(const std::vector<double>& upper, const std::vector<double>& lower);

// The strokes in drawing order: zero line and Cp axis with their ticks, the
// upper curve (blue), the lower curve (red), the body outline, the fin
// planform (light blue; the true half-ellipse for an elliptical fin), the
// root marks and the root trailing edge with its erased parts (colour 15).
// Nothing for a refused run or a domain without a size.
std::vector<MeshStroke> forcePlotStrokes(Module1& m, const CenterOfPressureReport& r);

} // namespace velmora::stability
