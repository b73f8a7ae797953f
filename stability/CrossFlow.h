#pragma once
// Surface Cp around the body at one station, and the classical cross-flow
// Cp of a circular cylinder, for the cross-flow window.
//
//   CrossFlowReport stability::CYLFLOW(Module1& m);
//   std::vector<CrossFlowPoint> stability::classicalCrossFlow(double angleOfAttackDegrees);
//
// Plot frame: user scale x 0..2000 left to right (0..360 degrees from the
// stagnation point), y 2000 at the top to 0 at the bottom; Cp = 0 lies on
// y = 1600, the range's top on the top edge and its bottom on the bottom
// edge:  x = 2000 / 360 * angle,  y = 1600 + 2000 / (top - bottom) * Cp.
//
// Meridian points of station s (M meridians, angle step d = 360 / M): panel
// (s - 1) M + j has the angle 90 + d/2 + (j - 1) d, less 360 from 360 on
// (for M = 8: 112.5, 157.5, ..., 337.5, 22.5, 67.5).
//
// Range by decades, from the largest (Cmax) and smallest (Cmin) Cp:
//   Cmax > 0  top = the power of ten with top/10 <= Cmax < top, bottom = -4 top;
//             when Cmin < bottom both ends once more times 10;
//   Cmax < 0  top = the power of ten with top/10 < |Cmax| <= top, bottom = -4 top
//             (however low Cmin is);
//   Cmax = 0  top = 1, bottom = -4, and times 10 while Cmin < bottom;
// then both ends times CrossflowCpScale. Any magnitude finds its decade.
//
// Classical curve: Cp = (1 - 4 sin^2 theta) sin^2 alpha at 100 angles theta
// from 0 to 2 pi.
#include <vector>

#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora::stability {

// The labels show the range in "##.#####"; a zoom that would put a label's
// number at or beyond this magnitude is not taken.
inline constexpr double kCrossFlowLabelLimit = 1e5;
inline constexpr const char* kPatternCrossFlowCp = "##.#####";
inline constexpr const char* kPatternStationDistance = "#####.#####";

struct CrossFlowPoint {
    double angle = 0;  // degrees from the stagnation point
    double cp = 0;
};

struct CrossFlowRange {
    double top = 0, bottom = 0;
};

CrossFlowRange crossFlowDecadeRange(double cmax, double cmin);

// Refused (no message) below 3 body stations.
struct CrossFlowReport : Report {
    int station = 0;
    double distance = 0;                 // station from the nose tip
    std::vector<CrossFlowPoint> points;  // one per meridian, panel order
    double cmax = 0, cmin = 0;
    double top = 0, bottom = 0;          // scaled by CrossflowCpScale
};

// Keeps CrossflowStation within 1 .. BodyStationCount - 2, the stations whose
// Cp ring the centre-of-pressure run leaves intact. False (nothing changed)
// below 3 stations.
bool clampCrossflowStation(Module1& m);

// The points and range of CrossflowStation (clamped first); publishes the
// range in CrossflowCpTop and CrossflowCpBottom.
CrossFlowReport CYLFLOW(Module1& m);

// True when ten times the present zoom keeps every label below
// kCrossFlowLabelLimit.
bool crossFlowZoomFits(const Module1& m);

std::vector<CrossFlowPoint> classicalCrossFlow(double angleOfAttackDegrees);

inline double crossFlowPlotX(double angle) { return 2000.0 / 360.0 * angle; }
inline double crossFlowPlotY(double cp, double top, double bottom) { return 1600 + 2000 / (top - bottom) * cp; }

} // namespace velmora::stability
