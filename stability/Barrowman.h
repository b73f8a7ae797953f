#pragma once
// The Barrowman-equation estimate of the standard body's normal-force slope
// and centre of pressure, compared with an angle-of-attack sweep.
//
// Method: J. Barrowman, "The Practical Calculation of the Aerodynamic
// Characteristics of Slender Finned Vehicles", 1967. Each component gives its
// normal-force slope CNa (per radian) and the position X of its centre of
// pressure from the nose tip; the rocket's slope is their sum and its centre
// the slope-weighted mean.
//
//   nose        CNa = 2, X = k LN (k by nose shape, 0 for an unknown shape)
//   fins        K = 1 + R / (S + R)
//               Lf = sqrt(S^2 + (Xr + Ct/2 - Cr/2)^2),  Xr = tip LE - root LE
//               CNa = K 4 n (S/D)^2 / (1 + sqrt(1 + (2 Lf / (Cr + Ct))^2))
//               X = XB + Xr (Cr + 2 Ct) / (3 (Cr + Ct))
//                      + 0.166667 ((Cr + Ct) - Cr Ct / (Cr + Ct))
//               only when FinDragForce is not 0 (fins entered)
//   transition  dr = TransitionDiameter, 1e-7 for 0; only for LT not 0 and
//               dr not D:  CNa = 2 ((dr/D)^2 - 1)
//               X = LN + LB + LT/3 (1 + (1 - D/dr) / (1 - (D/dr)^2))
//
// The comparison (BARROWMANS) gives per step i of the sweep the value of the
// plotted quantity at the plotted angle x(i) in degrees: CN = CNa x(i) pi/180,
// CM = -r CN, XCp/L = r (r = XCp / rocket length), stored in single precision
// in BarrowmanSweepValues, and a green curve on the sweep plot's scales.
//
// Inputs the method has no value for are refused (barrowmanRefusal): no
// diameter, fins without chords, a transition diameter of -D, a slope sum
// near 0. Any other division by zero or value without a number fails the
// comparison (MathFailure inside; kMsgBarrowmanFailed in panel 1 outside).
#include <string>
#include <string_view>
#include <vector>

#include "bodyflow/MeshDrawing.h"
#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora::stability {

inline constexpr const char* kMsgBarrowmanVelocity = "Barrowman results not available for velocity loops.";
inline constexpr const char* kMsgBarrowmanFreeForm = "Barrowman results not available for Free-Form shapes.";
inline constexpr const char* kMsgBarrowmanCd = "Barrowman Equations do not predict Cd.";
inline constexpr const char* kMsgBarrowmanNoData = "No Barrowman Equation data to plot.";
inline constexpr const char* kMsgBarrowmanPlotted = "Barrowman Equation results plotted verses Velmora results.";
// Refusals of undefined arithmetic.
inline constexpr const char* kMsgBarrowmanNoDiameter =
    "Barrowman results need a nose cone diameter greater than 0.";
inline constexpr const char* kMsgBarrowmanNoSlope =
    "Barrowman results not available: the normal-force slopes add up to 0.";
inline constexpr const char* kMsgBarrowmanTransition =
    "Barrowman results not available for a transition diameter of minus the body diameter.";
inline constexpr const char* kMsgBarrowmanFailed = "Barrowman results could not be computed for this rocket.";

inline constexpr int kBarrowmanCurveColour = 2;           // green
inline constexpr double kZeroTransitionDiameter = 1e-7;   // stands in for a transition to a point
inline constexpr double kMinBarrowmanSlope = 1e-6;        // |CNa| below this counts as 0

// Normal-force slope (per radian) and centre of pressure from the nose tip.
struct BarrowmanPart {
    double slope = 0;
    double position = 0;
};

struct BarrowmanRocket {
    BarrowmanPart nose, fins, transition;
    double slope = 0;     // CNa of the rocket
    double position = 0;  // XCp from the nose tip
    double ratio = 0;     // XCp / (LN + LB + LT + LBT)
};

// k of XN = k LN: "CONICAL" and "SEARS-HAACK" 0.667, "TANGENT OGIVE" 0.466,
// "ELLIPTICAL" 0.333, "PARABOLIC" 0.5, any other name 0.
double noseShapeFactor(std::string_view shape);

// Each throws MathFailure (its text a panel-1 message) for undefined arithmetic.
BarrowmanPart barrowmanNose(const Module1& m);
BarrowmanPart barrowmanFins(const Module1& m);        // 0, 0 while FinDragForce is 0
BarrowmanPart barrowmanTransition(const Module1& m);  // 0, 0 without a transition
BarrowmanRocket barrowmanRocket(const Module1& m);    // the three added up

// Why the method has no value for this rocket, or nullptr: no diameter,
// fins entered without chords, a transition to -D, or component slopes that
// add up to 0 (their messages).
const char* barrowmanRefusal(const Module1& m);

// message: the panel-1 text of a refusal or failure.
struct BarrowmanReport : Report {
    std::vector<WindowWrite> writes;  // ITERATION.BResult and panel 1 of ITERATION.StatusBar1, in order
    std::vector<MeshStroke> curve;    // green segments in DataPlot1's user scale
    BarrowmanRocket rocket;
    int steps = 0;                    // values stored: BarrowmanSweepValues(1 .. steps)
};

// The comparison for the steps the plot shows (sweepStepsShown) against the plotted
// sweep (SweepPlotX, SweepPlotXMax, SweepPlotYMax of the current plot).
//   Refused  velocity sweep, free-form body, quantity Cd (their messages),
//            quantity outside 2..4 or fewer than 1 step (no write at all),
//            barrowmanRefusal (its message): nothing stored or drawn.
//   Failed   the arithmetic broke down: kMsgBarrowmanFailed, nothing
//            stored or drawn.
//   Done     values stored; BResult = value of step 1 in "###.#####";
//            panel 1 emptied, then kMsgBarrowmanNoData when SweepPlotYMax is
//            0, else the curve and kMsgBarrowmanPlotted.
// The picture is not cleared.
BarrowmanReport BARROWMANS(Module1& m, double steps);

} // namespace velmora::stability
