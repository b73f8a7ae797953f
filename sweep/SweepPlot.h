#pragma once
// The sweep window's plot: one stored result (Cd, CN, CM or XCp/L) against
// the angle of attack or the velocity of each step.
//
//   SweepPlot sweepPlot(Module1& m, double steps);
//
// Picture: user scale (0, 2200)-(2200, 0), y upward; the data area is 2000 by
// 2000 with its origin at (100, 100), and both axes start at 0.
//
// Steps 1 .. n, n = sweepStepsShown(m, steps) (model/SweepSteps.h: the whole
// part of `steps` within 0 .. 360, no more than a stopped sweep stored):
//   SweepPlotX(i) = start + (i - 1) x increment of the sweep kind (degrees, or
//                   the main window's speed unit); x end = the x of step n.
//   SweepPlotY(i) = the chosen result of step i (SweepPlotQuantity 1 Cd, 2 CN,
//                   3 CM, 4 XCp/L); when step 1's is exactly 0 it is plotted
//                   as SweepPlotY(2). The stored results keep the 0.
//                   y end = 2 x the result of step n (not the largest; in
//                   single precision for XCp/L). Another quantity leaves the
//                   y values and the y end as they were.
// Axis ends between 1 and 1001 that are not whole numbers: the x end goes up
// to the next whole number, the y end down to the one below (its sign kept);
// then the y end is multiplied by SweepPlotYScale. A y end of 0 means no data:
// frame, ticks and x labels are drawn, no curve, MAXDATA stays empty. With
// no step stored (n = 0) the x end is 0 and only the origin labels "0.0"
// are shown: an empty plot keeps nothing of an earlier sweep's axes.
// A negative y end (a negative last CM) draws negative values upward.
//
// The curve is n - 1 blue segments; a segment with a coordinate that is not a
// number (an x end of 0, a result without a number) is left out, as is one
// that meets a step without a value (SweepPlotYUndefined: an XCp/L the run
// did not place; such a step gives no y end and never counts as a first 0).
#include <optional>
#include <string>
#include <vector>

#include "bodyflow/MeshDrawing.h"
#include "model/Module1.h"
#include "model/SweepSteps.h"

namespace velmora::stability {

inline constexpr const char* kPatternSweepAxis = "###.#####";
inline constexpr const char* kMsgSweepNoData = "No data to plot. Please perform CFD analysis.";
// Ours: panel 1 when a step has no XCp/L (its normal forces cancel, or it ran
// at zero angle of attack): its point is left out of the plot, table and export.
inline constexpr const char* kMsgSweepPointsSkipped =
    "XCp/L left out where a step places no centre of pressure (normal forces that cancel, or zero AOA).";
inline constexpr const char* kSweepAxisAngle = "Angle of Attack (AOA)";
inline constexpr const char* kSweepAxisVelocity = "Velocity";
inline constexpr int kSweepCurveColour = 1;  // blue

// The plot's user extent and data area.
inline constexpr double kSweepPlotExtent = 2200;
inline constexpr double kSweepPlotOrigin = 100;
inline constexpr double kSweepPlotSize = 2000;

struct SweepPlot {
    int steps = 0;                        // the whole part of the count
    std::optional<std::string> plotType;  // PlotType caption; none when no sweep kind is chosen
    // Axis labels: MINAOA, XMIDDLE, MAXAOA under the x axis, MINDATA,
    // YMIDDLE, MAXDATA beside the y axis.
    std::string minAoa = "0.0", xMiddle, maxAoa;
    std::string minData = "0.0", yMiddle, maxData;
    bool noData = false;
    bool skipped = false;           // a step without a value was left out
    std::vector<MeshStroke> frame;  // axes and ticks, in the foreground colour
    std::vector<MeshStroke> curve;  // the blue segments
};

// Computes the plotted series into SweepPlotX / SweepPlotY and the axis ends
// into SweepPlotXMax / SweepPlotYMax, and returns what to draw.
SweepPlot sweepPlot(Module1& m, double steps);

} // namespace velmora::stability
