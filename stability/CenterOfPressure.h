#pragma once
// Normal-force distribution and centre of pressure of body, fins and rocket.
//
//   CenterOfPressureReport stability::CPSOLVE(Module1& m, double velocity, Progress& progress);
//   UnitsTestReport        stability::UNITSTEST(Module1& m, float thickness);
//
// Method. The body surface Cp of the source-panel solution gives, for every
// body segment i (front station i, i = 1 .. N-1), a normal force from the
// pressure difference between the lower and the upper meridian of the
// pitching plane (meridians M-1 and M/2-1 of the ring), with or without fins
// entered (the ring's mean Cp, StationMeanCp, carries no normal force: a
// force built on it does not vanish with the angle of attack):
//   F(i) = (x(i+1) - x(i)) * 2 r(i) * q * (Cp_lower(i) - Cp_upper(i)),  q = rho V^2 / 2,
// the segment's projected area times the pressure difference (slender-body
// cross-flow, cf. Barrowman's normal-force build-up). Their sum and the moment
// about the nose tip (arm: the segment's front station) give the body's
// normal-force slope CNa = sum F / (S q alpha) and centre of pressure
// Xbody = sum(x F) / sum F. The fins' slope and centre come from the
// fin-section panel solution. The rocket's centre is the slope-weighted mean
//   XCp = (CNa_fin Xfin + CNa_body Xbody) / (CNa_fin + CNa_body),
// CN = alpha (CNa_fin + CNa_body), Cm = -CN XCp / L about the nose tip.
//
// Frame and units: x along the axis from the inflow boundary (nose tip at
// NoseTipX), lengths and forces in the project's unit system, alpha in
// radians inside, degrees in the state. Stations and meridians 1-based, the
// surface Cp flattened as (station - 1) * M + meridian.
//
// Outcomes:
//   Refused  no current body-flow solution (or fewer than 2 stations or
//            meridians): "Please perform CFD analysis." for panel 1 of the
//            centre-of-pressure window; nothing changes, not even the fin
//            checks' FinDataMissing.
//   Done     published: CN and Cm (0 at zero angle of attack), XCp/L, the
//            fin corners, FinNormalForce (0 at zero angle), the ring of
//            station N-1 of the surface Cp set to 0; the boxes and panels to
//            fill come back as writes, the plot's data in the report.
// With fins partly entered the main window's CN, Cm and XCp/L empty and its
// panel 2 reads incompleteFinsText, at any angle.
// With fins entered but no fin-section solution published (PanelSolutionStatus
// not PanelSolutionState::Solved, no fin slope) at an angle of attack, the window shows the body
// alone with its own fin message, while the main window's CN, Cm and XCp/L
// empty and its panel 2 reads kMsgNoFinSolution.
// A division without a value (a zero force sum, q S alpha, slope sum or
// rocket length) gives 0 for that quantity and a note (its text for panel 2), never an
// infinity. Forces that cancel (kPlaceableShare) place no centre, with a note.
// A value the run did not compute or place (the fin values and fin lift when
// no fin result is in use, the fin drag while fin data are missing, Xbody, XCp
// and XCp/L when not placed, all at zero angle) empties its box; CenterOfPressureUndefined says so to the sweep, and
// the main window's panel 2 says why at an angle. Cm then comes from the
// moment itself. UNITSTEST's fin checks never stop the run.
#include <string>
#include <vector>

#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora::stability {

inline constexpr const char* kMsgPerformCfd = "Please perform CFD analysis.";
inline constexpr const char* kMsgForcePlot = "Surface FORCE plot being generated. Please be patient.";
inline constexpr const char* kMsgFinAnalysisNeeded = "Please perform fin panel analysis with AOA greater than zero.";
inline constexpr const char* kMsgAnalysisComplete = "Analysis complete.";
// Panel 2 of the main window when fins are entered but no fin-section
// solution was published: CN, Cm and XCp/L of the rocket stay empty there.
inline constexpr const char* kMsgNoFinSolution =
    "Fin section solution not found: CN, Cm and XCp/L need the fin results.";
// Panel 2 of the main window, after what the drag leaves out, when fins are
// only partly entered: CN, Cm and XCp/L of the rocket stay empty there.
inline constexpr const char* kMsgFinDataIncomplete = "CN, Cm and XCp/L need complete fin data.";
// Ours: the divisions without a value.
inline constexpr const char* kMsgNoBodyForce = "No body normal force at this angle: body slope 0, no body centre of pressure.";
inline constexpr const char* kMsgNoSlopeSum = "Body and fin slopes add up to 0: no centre of pressure, XCp and XCp/L not shown.";
inline constexpr const char* kMsgNoRocketLength = "Rocket length is 0: no XCp/L.";
// Ours: normal forces that cancel leave a couple, not a centre (see placeable
// parts below). The first is the force window's alone (Xbody); the second
// both windows' (XCp, XCp/L).
inline constexpr const char* kMsgNoBodyCentre =
    "The body's normal forces cancel to under 1% of their sizes: a pure moment, no body centre of pressure (Xbody).";
inline constexpr const char* kMsgNoRocketCentre =
    "The normal forces cancel to under 1% of their sizes: a pure moment, no centre of pressure (XCp, XCp/L); CN and Cm stand.";

// A centre of pressure is the moment of the parts (station forces along the
// body, the fins' slope) divided by their sum. It is placed only where that
// sum is at least this share of the sum of the parts' magnitudes: all arms
// lie on the rocket, within L of the nose tip, so a placed centre lies within
// L / kPlaceableShare of it (100 body lengths). Below it the parts cancel to
// a couple and the quotient is the method's residue: a closed body in
// potential flow carries a couple and next to no net force, and what its
// front-station sums over tens of segments leave of the force is far under
// this share.
inline constexpr double kPlaceableShare = 0.01;

// Formats of the result boxes.
inline constexpr const char* kPatternSlope = "#####.###";
inline constexpr const char* kPatternCoefficient = "##.###";
inline constexpr const char* kPatternAngle = "###.##";
inline constexpr const char* kPatternPlotRange = "##.##";

// Always Done: the fin checks never stop a run.
struct UnitsTestReport : Report {
    bool finDataMissing = false;
    std::vector<std::string> messages;  // every failing check, in order; the last one stands
};

// The fin input checks (thickness, root chord, span, count, planform, edge,
// nose shape, finish, tip distance, root distance after the planform
// derivation); sets FinDataMissing, derives FinRootDistance and FinTipChord.
UnitsTestReport UNITSTEST(Module1& m, float thickness);

// message: the panel-1 text of a refusal; notes: the divisions without a
// value (NoBodyForce, NoSlopeSum, NoRocketLength).
struct CenterOfPressureReport : Report {
    std::vector<WindowWrite> writes;   // in order

    // For the plot: stations 1 .. N-1 (index 0 unused).
    int stationCount = 0;
    std::vector<double> UpperSurfaceCp, LowerSurfaceCp, StationDistance, StationNormalForce;
    double BodyNormalForceSlope = 0, BodyCenterOfPressure = 0;    // CNa-body, Xbody
    double FinSlopeInUse = 0, FinCenterInUse = 0;      // in use
    double TotalNormalForceSlope = 0, TotalCenterOfPressure = 0;  // CNa, XCp
    // Whether Xbody and XCp were placed (at an angle, parts that do not
    // cancel); where not, their value above is 0 and their boxes are empty.
    bool BodyCenterDefined = false, TotalCenterDefined = false;
    // The Cp range of the plot: high = -low, written to MAX and MIN.
    double plotHigh = 0, plotLow = 0;
};

CenterOfPressureReport CPSOLVE(Module1& m, double velocity, Progress& progress);

// With fins partly entered (a fin size typed, a fin check failing), what the
// main window's panel 2 says: "No fin drag. Fin thickness required. CN, Cm
// and XCp/L need complete fin data."; empty otherwise.
std::string incompleteFinsText(Module1& m);

} // namespace velmora::stability
