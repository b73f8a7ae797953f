#pragma once
// What the fin-section window draws, computed without drawing: the Cp or
// velocity curves of both surfaces along the chord with their axes, ticks and
// range labels (picture PLOT1), and the section outline (picture FinSection).
//
// Coordinates are the pictures' user coordinates, y growing upward:
//   PLOT1       (0, 500) top left to (500, 0) bottom right, axes crossing near (250, 250)
//   FinSection  (0, 177) top left to (500, 0) bottom right, section origin at (250, 88)
// Colours are numbers of the classic 16-colour palette.
#include <optional>
#include <string>
#include <vector>

#include "finpanel/FinSection.h"
#include "finpanel/PanelSolvers.h"

namespace velmora::finpanel {

inline constexpr int kUpperSurfaceColour = 1;  // dark blue: upper curve, outline, LEGEND1
inline constexpr int kLowerSurfaceColour = 4;  // dark red: lower curve, LEGEND2

inline constexpr const char* kMsgPlotting = "Fin plots  being generated";
inline constexpr const char* kMsgPlotComplete = "Plot complete.";
inline constexpr const char* kMsgNoSectionToPlot = "No fin section to plot..";
// Panel 1 when the result plot has no scale to draw with.
inline constexpr const char* kMsgNoSectionScale = "Fin plots not drawn: the section's extent gives no scale.";
inline constexpr const char* kMsgNoCpRange = "Cp curves not drawn: every panel has the same Cp.";
inline constexpr const char* kMsgNoVelocityRange = "Velocity curves not drawn: the largest surface velocity is 0.";

struct PlotPoint {
    double x = 0;
    double y = 0;
};
struct PlotLine {
    PlotPoint from;
    PlotPoint to;
};

struct ResultPlot {
    std::optional<std::string> unitsLabel;  // UnitsLabel1; nullopt leaves it as it is
    bool hasCurves = false;                 // false: no curves, axes, ticks or labels
    // Plotted series, index 1..N/2+1 (index 0 unused): chordwise x of the
    // upper-surface control points, the upper-surface and the lower-surface
    // values (Cp or velocity, divided by the compressibility factor).
    std::vector<double> seriesX, upper, lower;
    double rangeTop = 0;     // value at the top edge (shown in MIN1)
    double rangeBottom = 0;  // value at the bottom edge (shown in MAX1)
    std::string minLabel;    // MIN1 text
    std::string maxLabel;    // MAX1 text
    std::vector<PlotPoint> upperCurve;  // polylines, colours 1 and 4
    std::vector<PlotPoint> lowerCurve;
    PlotLine horizontalAxis;
    PlotLine verticalAxis;
    std::vector<PlotLine> ticks;        // 9 on the vertical axis, then 10 on the horizontal one
    // Section outline: closed polygon through the N corners (draw point N back
    // to point 1 as well); empty when the section has no extent to scale by.
    std::vector<PlotPoint> outline;
    std::string status;  // final panel-1 text
};

// The arithmetic of the result plot. The section scale comes from the larger
// of the section's x and y extents (chosen by comparing the maxima). A section
// without a usable extent (no extent, or equal maxima) draws nothing; a
// degenerate value range (all Cp equal, largest velocity 0) draws the outline
// but no curves. Either way status names what was not drawn instead of
// "Plot complete.".
// Throws MathFailure only for a compressibility factor that cannot be formed.
ResultPlot PlotResults(const FinSectionInput& in, const SectionPoints& section, const PanelSolution& solution);

struct SectionDrawing {
    bool ok = false;
    SectionPoints section;           // the regenerated section (valid when ok)
    std::vector<PlotPoint> outline;  // closed polygon in FinSection coordinates
    std::string status;              // "No fin section to plot.." on failure, else empty
};

// Regenerates the section named by the input and scales it by its chordwise
// extent for the FinSection picture; y is drawn magnified by the thickness
// factor.
SectionDrawing FINPLOT(const FinSectionInput& in);

// The UnitsLabel1 caption for the plotted quantity: "Cp", or the velocity unit
// of the checked unit-menu item; nullopt when nothing is written.
std::optional<std::string> unitsCaption(const FinSectionInput& in);

} // namespace velmora::finpanel
