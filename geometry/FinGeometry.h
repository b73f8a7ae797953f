#pragma once
// Fin values that follow from the planform.
//
// For the triangle, rectangle and elliptical planforms the user types only the
// tip distance (nose tip to the leading edge of the fin tip) and the root
// chord; the root distance and the tip chord follow from them:
//   triangle    tip chord 0, root distance = tip distance - root chord
//               (the root trailing edge lies below the tip);
//   rectangle,
//   elliptical  root distance = tip distance, tip chord = root chord
//               (the root leading edge lies below the tip leading edge).
// The tapered planform (and no planform) derives nothing. Both derived values
// are kept in single precision.
#include <cstdint>
#include <optional>

#include "model/Module1.h"
#include "model/Vocabulary.h"

namespace velmora {

inline constexpr int16_t kFinTriangle = TrianglePlanform;
inline constexpr int16_t kFinRectangle = RectanglePlanform;
inline constexpr int16_t kFinTapered = TaperedPlanform;
inline constexpr int16_t kFinElliptical = EllipticalPlanform;

// True for the planforms whose root distance and tip chord are derived.
bool finPlanformDerivesValues(int16_t planformCode);

// Writes FinRootDistance and FinTipChord from the current planform, tip
// distance and root chord; leaves them alone for the other planforms.
void deriveFinPlanform(Module1& m);

// The mean chord of the planform, or nothing for an unknown planform code.
std::optional<double> finMeanChord(const Module1& m);

// True when the five values the outline and the drag need are all non-zero
// (root and tip distance, span, root chord, thickness).
bool finDataComplete(const Module1& m);

} // namespace velmora
