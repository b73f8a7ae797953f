#pragma once
// The fin: planform values, corner points and its side view.
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
// are kept in single precision; a derived value beyond that range becomes the
// largest single of its sign, like a typed one, which the size check refuses.
//
// Corner points are in body coordinates: x along the axis from the inflow
// boundary (the nose tip at NoseTipX), y the distance from the axis. The root
// stands on a body radius the caller chooses: the grid's body radius at the
// root leading edge for the drawings, the tube radius for the drag.
//
// Side views put the rocket into plot units 0..500 across: a point (x, y) is
// drawn at (sx x, sy y), the axis on y = 0.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Module1.h"
#include "model/Vocabulary.h"

namespace velmora {

inline constexpr int16_t kFinTriangle = TrianglePlanform;
inline constexpr int16_t kFinRectangle = RectanglePlanform;
inline constexpr int16_t kFinTapered = TaperedPlanform;
inline constexpr int16_t kFinElliptical = EllipticalPlanform;

// ---- planform values ----------------------------------------------------------

// True for the planforms whose root distance and tip chord are derived.
bool finPlanformDerivesValues(int16_t planformCode);

// FinRootDistance and FinTipChord as the current planform gives them from
// the tip distance and root chord; the stored ones for the other planforms.
struct FinPlanformValues {
    float rootDistance;
    float tipChord;
};
FinPlanformValues derivedFinPlanform(const Module1& m);

// Writes FinRootDistance and FinTipChord from the current planform, tip
// distance and root chord; leaves them alone for the other planforms.
void deriveFinPlanform(Module1& m);

// The mean chord of the planform, or nothing for an unknown planform code.
std::optional<double> finMeanChord(const Module1& m);

// True when the five values the outline and the drag need are all non-zero
// (root and tip distance, span, root chord, thickness).
bool finDataComplete(const Module1& m);

// The first fin or launch-lug size (chords, span, thickness, distances, lug
// length and diameters) outside the size range of model/InputRange.h, as the
// text naming it ("Fin tip chord must be 0 or between 0.000001 and
// 1000000."); nullptr when all are in range.
// For a triangle the root distance is derived (tip distance less root
// chord): one not above 0 or out of range is refused as
// kMsgTriangleTipDistance, which names the boxes typed.
const char* badFinDimension(const Module1& m);
inline constexpr const char* kMsgTriangleTipDistance =
    "Fin tip distance must exceed the fin root chord by at least 0.000001 for a triangle fin: its root starts at "
    "the tip distance less the root chord.";

// Texts of the fin input checks (panel 2 of the main and centre-of-pressure
// windows).
inline constexpr const char* kMsgNoFinThickness = "No fin drag. Fin thickness required";
inline constexpr const char* kMsgNoFinRoot = "No fin drag. Fin root required";
inline constexpr const char* kMsgNoFinSpan = "No fin drag. Fin span required";
inline constexpr const char* kMsgNoFinCount = "No fin drag. Number of fins required";
inline constexpr const char* kMsgNoFinShape = "No fin drag. Fin shape required";
inline constexpr const char* kMsgNoFinEdge = "No fin drag. Fin edge shape required";
inline constexpr const char* kMsgNoNoseShape = "No fin drag. Nose shape required";
inline constexpr const char* kMsgNoFinish = "No fin drag. Finish quality required";
inline constexpr const char* kMsgNoTipDistance = "No fin drag. Distance to fin tip required";
inline constexpr const char* kMsgNoRootDistance = "No fin drag. Distance to fin root required";

// The fin inputs' problems in the order they are checked (thickness, root
// chord, span, count, planform, edge, nose shape, finish, tip distance, and
// the root distance after the planform derivation, which this runs): every
// failing check's message, empty when the fin data are complete.
std::vector<const char*> finInputProblems(Module1& m, double thickness);

// True when any fin size is typed (thickness, root or tip chord, span, tip or
// root distance): the rocket has fins, whether or not all their values are in.
bool finSizesEntered(const Module1& m);

// True when any launch-lug size is typed.
bool launchLugEntered(const Module1& m);

// A lug's drag is its frontal area and the skin friction over its length: a
// lug entered without a length has none to give (its frontal area alone would
// stand for a lug of no length), nor has one without a finish, on which the
// skin friction's laminar-turbulent transition depends.
inline constexpr const char* kMsgNoLugLength = "No launch-lug drag. Launch lug length required";
inline constexpr const char* kMsgNoLugFinish = "No launch-lug drag. Finish quality required";

// The drag components the build-up must leave out for want of an input: the
// fins when a fin check fails (its message), the lug when it is entered
// without a length or a finish (the first of them). text(): what panel 2
// says, the two joined by ". "; empty when nothing lacks.
struct DragInputGaps {
    const char* fin = nullptr;
    const char* lug = nullptr;
    std::string text() const;
};
DragInputGaps dragInputGaps(Module1& m);

// ---- corner points --------------------------------------------------------------

struct FinCorners {
    double rootLeadingX = 0, rootLeadingY = 0;    // P1
    double tipLeadingX = 0, tipLeadingY = 0;      // P2
    double tipTrailingX = 0, tipTrailingY = 0;    // P3
    double rootTrailingX = 0;                     // P4
    float rootTrailingY = 0;                      // P4, single precision as stored
};

// The corners with the root on rootRadius. Throws MathFailure when the radius
// lies beyond the single-precision range.
FinCorners finCorners(const Module1& m, double rootRadius);

// Body radius of the grid station at or just before x: the station I with
// X(I) = x or X(I) < x < X(I+1), I = 1 .. N-1, taken without interpolation;
// 0 when no station matches (ahead of the inflow boundary, on or behind the
// last station).
double gridBodyRadiusAt(const Module1& m, double x);

// The corners with the root on the grid's body radius at the root leading
// edge (the grid must be built for the current inputs).
FinCorners finCornersOnGrid(const Module1& m);

// Writes the corners to FinRootLeadingEdgeX .. FinRootTrailingEdgeY.
void storeFinCorners(Module1& m, const FinCorners& c);

// ---- side view --------------------------------------------------------------------

// x of the base face: NoseTipX + nose, tube, transition and base tube lengths.
double baseFaceX(const Module1& m);

// Base face radius: the tube radius without a transition, the transition's end
// radius with one, 0 for a negative transition length; the free-form base
// radius for a free-form body.
double baseFaceRadius(const Module1& m);

// Horizontal extent of a side view whose body ends at bodyEndX: the largest
// of it and the two fin trailing edges, so that a fin sweeping past the base
// stays inside.
double sideViewExtent(const Module1& m, double bodyEndX);

struct SideViewScale {
    double xMax = 0;
    double sx = 0;
    double sy = 0;
};

// The scale of a side view xMax long: sx = 500 / xMax, and sy such that the
// domain height xMax / DomainAspectRatio spans radialUnits plot units.
SideViewScale sideViewScale(const Module1& m, double xMax, double radialUnits);

// One stroke of the fin in a side view, in plot units.
struct FinStroke {
    enum class Part {
        Edge,             // leading edge, tip chord or trailing edge of a straight planform
        HalfEllipse,      // centre (x1, y1), semi-axes x2 along the body, y2 across it
        LowerRootMark,    // the root's extent on the axis, 2 plot units up
        UpperRootMark,    // ... 3 plot units up
        TrailingEdge,     // root trailing edge from its foot down to the axis
        TrailingEdgeErase // the part of it to erase: inside the body, or all of it behind the base
    };
    Part part = Part::Edge;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The planform: P1-P2, P2-P3, P3-P4 for a straight planform, the half-ellipse
// standing on the root chord for an elliptical one with a positive span and
// root chord (Pi is stored before it), then for any planform the two root
// marks. footY is the y (a length) the edge P3-P4 ends at.
std::vector<FinStroke> finPlanformStrokes(Module1& m, const FinCorners& c, const SideViewScale& s, double footY);

// The root trailing edge from footY down to the axis, then erased inside the
// body (up to the grid's body radius there), and erased as a whole when the
// root ends behind the last grid station.
std::vector<FinStroke> finTrailingEdgeStrokes(const Module1& m, const FinCorners& c, const SideViewScale& s,
                                              double footY);

} // namespace velmora
