#pragma once
// Meridian-plane grid of the body of revolution.
//
//   GridReport GRID(Module1& m, double velocity, Progress& progress,
//                   const GridEffectHandler& onEffect = {});
//
// Builds the structured N x M grid of the half-plane (x along the axis from
// the inflow boundary, r from the axis) about the body described in Module1
// (nose shape, body tube, transition, base tube, or the free-form profile
// behind the nose), splits each cell into two counter-clockwise triangles,
// fills the node and triangle tables and the triangle centroids, and sets
// NoseTipX, DomainLength, DomainHeight and BaseTubeDiameter. The velocity is
// not used (all computational routines take it).
//
// Before it reads or writes anything it lets events run when Progress::maybePump
// finds them due; an ABORT seen then ends it Aborted, the grid as it was.
//
// Inputs are checked before anything is written: mesh sizes must be whole
// numbers from 10 to 50, every body dimension in its range (badBodyDimension),
// the nose length, nose diameter and body tube length entered, the nose shape one of
// the five known names. A refused call writes its reason to status panel 2 and
// leaves the grid as it was. A grid whose radii or node tables do not fit their
// single-precision stores fails (its reason in panel 2 too).
//
// Two window effects belong to the grid builder: hiding the main window's
// "no mesh" overlay and emptying the body window's base-tube length box. They
// are reported at the moment they happen through onEffect (the box's change
// handler must run then, as for a user edit) and listed in the report.
#include <functional>
#include <string>
#include <vector>

#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora {

enum class GridEffect {
    HideMainNoMeshOverlay,   // SOLVER.NoMeshDefined made invisible
    EmptyBaseTubeLengthBox   // BODYTUBE.BodyLength2 text set to "" (its handler runs)
};

using GridEffectHandler = std::function<void(GridEffect)>;

// Done, Refused, Aborted, or Failed for lengths beyond single range;
// message: the panel-2 text of a refusal or failure.
struct GridReport : Report {
    GridReport() { outcome = Outcome::Done; }
    std::vector<GridEffect> effects;   // in the order they happened
};

// Refusal texts of the grid builder's own input checks (the three
// "Please enter ..." texts are the ones the other commands use).
inline constexpr const char* kMsgEnterNoseLength = "Please enter nose cone length.";
inline constexpr const char* kMsgEnterNoseDiameter = "Please enter nose cone diameter.";
inline constexpr const char* kMsgEnterBodyTubeLength = "Please enter body tube length.";
inline constexpr const char* kMsgMeshSizeRange = "Mesh size must be a whole number from 10 to 50.";
inline constexpr const char* kMsgUnknownNoseShape = "Please select a nose cone shape.";
inline constexpr const char* kMsgBadGeometryData = "Invalid body geometry data.";
// A base tube behind a transition that closes to a point has no diameter:
// the typed length is kept and refused rather than dropped.
inline constexpr const char* kMsgBaseTubeWithoutTransition =
    "Base tube length needs a transition diameter: enter the transition diameter, or empty the base tube length.";

// The first of the three main body dimensions (nose length, nose diameter,
// body tube length) that is still 0, as its "Please enter ..." text; nullptr
// when all three are entered.
const char* missingMainDimension(const Module1& m);

// The first body dimension (nose length and diameter, body tube length,
// transition diameter and length, base tube length) outside the size range of
// model/InputRange.h, as the text naming it ("Transition length must be 0 or
// between 0.000001 and 1000000."; a main dimension, which 0 leaves missing,
// "Body tube length must be between 0.000001 and 1000000."); nullptr when
// all are in range.
const char* badBodyDimension(const Module1& m);

// kMsgBaseTubeWithoutTransition for a standard body whose base tube has a
// length behind a transition of no diameter; nullptr otherwise.
const char* baseTubeRefusal(const Module1& m);

// The reason GRID refuses these inputs (its panel-2 text), or nullptr.
const char* gridRefusal(const Module1& m);

// What the MESH command refuses before it builds the grid: a rocket box whose
// text is not a number, and an entered velocity that SOLVE would refuse
// (flightConditionRefusal); "" otherwise.
std::string meshInputRefusal(const Module1& m);

GridReport GRID(Module1& m, double velocity, Progress& progress, const GridEffectHandler& onEffect = {});

// Body radius of the nose profile at distance xi behind the tip (0 < xi <
// length), exactly as the grid builder evaluates it; false for an unknown
// shape name.
bool noseRadius(const std::string& shape, double xi, double length, double diameter,
                float searsHaackExponent, double domainHeight, double& radius);

} // namespace velmora
