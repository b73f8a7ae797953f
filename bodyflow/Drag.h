#pragma once
// Drag build-up of the rocket.
//
//   DragReport ROCKETDRAG(m, stationArea, panelFlux, pressureCd, meridianCount,
//                         stationCount, progress)
//       Body pressure drag from the panel solution's axial momentum values
//       (pressure on the forward- and aft-facing bands of the body), a
//       cross-flow term at angle of attack, the empirical base drag, the
//       reference area and the displayed Reynolds number. The body-flow solver
//       uses the two halves computeRocketDrag / publishRocketDrag so that it
//       can publish only a complete solution.
//   DragReport CdFnMn(m, velocity, progress)
//       Fin input checks, skin friction, fin surface, fin interference and
//       launch-lug drag, total drag coefficient and forces, fin corner points.
//       All or nothing: Failed, with nothing written or shown, when a result
//       does not fit its store; panel 2 and message say which sizes (fin,
//       launch lug, the rocket's). Lets events run first when
//       Progress::maybePump finds them due: an ABORT seen then ends it
//       Aborted, nothing written.
//   DragReport TOTALDRAG(m, velocity, progress)
//       The total drag coefficient referred to the largest cross-section;
//       Failed (kMsgCrossSectionTooSmall) when that has no finite value.
//
// Status texts go to Progress::status (copied into panelLog); the boxes each
// routine fills or empties come back in writes, in order, as
// ControlId::SOLVER_<box> / PressureCenter_<box> with their format patterns.
#include <span>
#include <string>
#include <vector>

#include "model/Module1.h"
#include "platform/WindowWrites.h"
#include "platform/Report.h"

namespace velmora {

// Done unless the arithmetic breaks down (Failed) or ABORT stops it
// (Aborted); message: why it failed (also in panel 2); notes: BaseSeparation.
struct DragReport : Report {
    DragReport() { outcome = Outcome::Done; }
    std::vector<PanelText> panelLog;
    std::vector<WindowWrite> writes;
};

// Texts of the drag build-up.
inline constexpr const char* kMsgSeparation = "Possible base flow separation. Body tube Cd=0";
// Why CdFnMn or TOTALDRAG failed (panel 2).
inline constexpr const char* kMsgFinDragTooLarge = "Drag could not be computed: the fin sizes are too large.";
inline constexpr const char* kMsgLugDragTooLarge = "Drag could not be computed: the launch-lug sizes are too large.";
inline constexpr const char* kMsgDragTooLarge = "Drag could not be computed: the rocket's sizes are too large.";
inline constexpr const char* kMsgCrossSectionTooSmall =
    "Drag could not be computed: the largest cross-section is too small.";

// Format patterns of the result boxes.
inline constexpr const char* kPatternCd = "##.###";
inline constexpr const char* kPatternForce = "#####.###";
inline constexpr const char* kPatternReynolds = "#########";

// The flow quantities the body drag uses.
struct DragFlow {
    double velocity = 0;       // free-stream velocity
    double density = 0;        // ambient density
    double angleOfAttack = 0;  // degrees
    double viscosity = 0;      // dynamic viscosity
};

DragFlow liveDragFlow(const Module1& m);

struct RocketDragResult {
    float pressureCd = 0;          // body pressure drag plus cross-flow term, >= 0
    Notes notes;                   // BaseSeparation: a negative pressure drag was set to 0
    bool baseDragSet = false;      // the empirical base drag applies...
    float baseDragCoefficient = 0; // ...with this value
    float referenceArea = 0;       // pi D^2 / 4
    double reynoldsNumber = 0;     // on the whole body length
};

// The body drag from station radii and areas (1-based, stations
// 1..stationCount) and the per-panel momentum values (1-based, panel
// (I - 1) * meridianCount + m); body lengths, mesh size and base data from m.
// Throws MathFailure when the arithmetic breaks down.
RocketDragResult computeRocketDrag(const Module1& m, std::span<const double> stationRadius,
                                   std::span<const float> stationArea, std::span<const float> panelFlux,
                                   float meridianCount, float stationCount, const DragFlow& flow);

// Writes a body-drag result: Pi, ReferenceArea, pressureCd, the base drag
// (when set), the separation text in panel 1 and the Reynolds number box.
void publishRocketDrag(Module1& m, const RocketDragResult& r, float& pressureCd, Progress& progress,
                       DragReport& report);

// The routine as a whole, on the stations in m and the live flow values.
DragReport ROCKETDRAG(Module1& m, std::span<const float> stationArea, std::span<const float> panelFlux,
                      float& pressureCd, float meridianCount, float stationCount, Progress& progress);

DragReport CdFnMn(Module1& m, double velocity, Progress& progress);

DragReport TOTALDRAG(Module1& m, double velocity, Progress& progress);

} // namespace velmora
