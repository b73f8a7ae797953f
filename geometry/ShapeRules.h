#pragma once
// The rocket shapes the computations are built for, beyond each size's own
// range (model/InputRange.h): the body-flow solver takes a slender body of
// revolution, the drag build-up and the centre of pressure add thin fins
// standing on that body (Barrowman's fin and fin-body terms) and launch lugs
// that are tubes on its side. Each rule ties a size to another the user gave,
// D being the nose cone diameter (the reference diameter of every
// coefficient) and L the body length (nose cone, body tube, transition and
// base tube):
//   body      kMinFineness D <= L <= kMaxFineness D; the diameter a
//             transition ends at and every free-form radius at most
//             kMaxBodyDiameterRatio D (radii: half of it);
//   lug       the inside diameter below the outside one, the outside at most
//             D, the length at most L;
//   fins      the thickness at most kMaxFinThicknessRatio root chords, the
//             span at most kMaxFinSpanRatio D, the tip chord at most
//             kMaxFinTaperRatio root chords; the root wholly on the body
//             (root distance plus root chord at most L) and the tip's
//             leading edge at most kMaxFinTipDistanceRatio L from the nose
//             tip (swept tips may trail behind the base).
// A rule applies once the sizes it names are entered (non-zero); the root
// distance and tip chord a planform derives are taken as it derives them,
// and named by the distance the user typed.
#include "model/Module1.h"

namespace velmora {

// Fineness L / D: the source panels hold for any body of revolution (a
// sphere is their classic test) and the base drag's own fineness bands reach
// down to 0.75; a body shorter than half its diameter is a disc. Above 100
// the cross-flow term alone (1.1 (4 / pi) L / D sin^3) passes 140.
inline constexpr double kMinFineness = 0.5;
inline constexpr double kMaxFineness = 100;
// Every coefficient is referred to the nose cone diameter; the body-flow
// grid and Barrowman's transition term take the body as one slender tube
// with changes of section about it: flares and boat tails of model rockets
// stay well inside three times the diameter.
inline constexpr double kMaxBodyDiameterRatio = 3;
// Thin fins: the fin-section panels and the edge drag (linear in t / c)
// are thin-aerofoil results, good to a thickness of about a quarter chord.
inline constexpr double kMaxFinThicknessRatio = 0.25;
// Barrowman's fin term grows as (s / D)^2; fins of model rockets span one to
// three diameters, and at five the fins' CN of eight fins at 90 degrees stays
// well below 1000.
inline constexpr double kMaxFinSpanRatio = 5;
// A tip chord up to twice the root keeps the fin a trapezoid standing on its
// root, as Barrowman's mid-chord sweep and centre-of-pressure formulas take it.
inline constexpr double kMaxFinTaperRatio = 2;
// Barrowman's fin terms and the fin-section panels take any sweep of a fin
// whose root stands on the body, also a tip trailing behind the base, as
// swept fins of model rockets often do. What they do not describe is a fin
// standing mostly in the wake: the fin-body interference factor
// 1 + r / (s + r) takes the fin beside the body, and the panels' fin centre
// of pressure moves aft by half the tip's leading-edge offset while their
// lift stays the same. A tip at most one body length behind the base keeps
// the fin beside the body it flies on and its centre of pressure within a
// few body lengths of the nose tip.
inline constexpr double kMaxFinTipDistanceRatio = 2;

// The text of the first rule the inputs break, naming the size the user
// typed and the rule; nullptr when the shape is one the computations take.
const char* shapeRefusal(const Module1& m);

} // namespace velmora
