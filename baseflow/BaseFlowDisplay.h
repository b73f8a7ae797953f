#pragma once
// What the base-flow window shows, as plain data: its grid-size and
// iteration lists, the base diameter and domain it takes from the geometry,
// its unit labels, and the strokes, cells and legend of its three plots and
// of the convergence plot. The window draws what these functions return.
//
// Plot units: the picture's user scale runs x 0..500 from the left edge and
// y 0..500 up from the bottom edge (the axis). A domain point (x, y) is drawn
// at (SX x, SY y), SX = 500 / XL, SY = 500 / YL, so the domain fills the
// picture. Node k of the speed list is node (i, j) with k = (i - 1) NY + j.
//
// Cells: n = (m - 1)(NX - 1) + l for l = 1..NX-1 (axial), m = 1..NY-1
// (radial), corners 1: (l, m), 2: (l + 1, m), 3: (l + 1, m + 1), 4: (l, m + 1).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "baseflow/BaseFlow.h"
#include "bodyflow/FlowPlots.h"
#include "bodyflow/MeshDrawing.h"
#include "model/Module1.h"

namespace velmora::baseflow {

// ---- texts ---------------------------------------------------------------------

inline constexpr const char* kMsgEnterDimensions = "Please enter all dimensions.";
inline constexpr const char* kMsgMeshShown = "Mesh being displayed.";
inline constexpr const char* kMsgPlotComplete = "Plot complete.";
inline constexpr const char* kMsgVectorsInProgress = "Velocity vector plot being generated. Please be patient.";
inline constexpr const char* kMsgContoursInProgress = "Velocity contour plot being generated. Please be patient.";
inline constexpr const char* kMsgTooManyLevels = "NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100";
inline constexpr const char* kTitleTooManyLevels = "NUMBER OF LEVELS TO LARGE";
inline constexpr const char* kMsgTooFewLevels = "NUMBER OF LEVELS MUST BE GREATER THAN 2";
inline constexpr const char* kTitleTooFewLevels = "NUMBER OF LEVELS TO SMALL";
inline constexpr const char* kPatternVelocityMax = "#####.##";
inline constexpr const char* kPatternNozzle = "#####.####";

// ---- lists -----------------------------------------------------------------------

// One item of the grid-size list: its text and the node counts it sets.
struct BaseFlowGridSize {
    const char* text;
    int nx;
    int ny;
};
inline constexpr std::array<BaseFlowGridSize, 6> kGridSizes{{{"50X25", 50, 25},
                                                             {"60X30", 60, 30},
                                                             {"70X35", 70, 35},
                                                             {"80X40", 80, 40},
                                                             {"90X45", 90, 45},
                                                             {"100X50", 100, 50}}};
inline constexpr std::array<int, 6> kIterationLimits{50, 100, 200, 300, 400, 500};

// The grid-size item of a text; nothing for a text that is no item.
std::optional<BaseFlowGridSize> gridSizeOf(const std::string& text);

// ---- numbers typed into the window -----------------------------------------------

// A typed level count as the 16-bit store holds it: rounded, halves to the
// even neighbour, held to -32768..32767 (a non-finite value reads as 0).
int16_t levelCountOf(double typed);
// A typed vector scale as the single-precision store holds it: held to the
// largest single-precision magnitude (a non-finite value reads as 0).
float vectorScaleOf(double typed);

// ---- load --------------------------------------------------------------------------

// The base diameter D from the geometry (a transition's diameter when it has
// a positive length, the nose diameter when it has none; a free-form body
// twice its last station radius), then YL = 5 D / 2 and XL = 2 YL. A negative
// transition length keeps the diameter the state holds.
void setBaseDiameterAndDomain(Module1& m);

struct UnitLabels {
    const char *thrust, *burnTime, *weight, *nozzle, *jetVelocity, *jetPressure, *isp, *velocity, *viscosity;
};
// The unit labels of a unit system; nothing for an unknown system (the
// labels then keep their design text).
std::optional<UnitLabels> unitLabelsFor(const std::string& units);

// ---- plots -------------------------------------------------------------------------

struct DomainScale {
    double sx = 0, sy = 0;
};
DomainScale domainScale(const Module1& m);

// The base face from the axis to the shoulder node: five vertical strokes at
// x = 0..4, SY DY (JB - 1) high, DY = YL / (NY - 1) (the grid spacing, never
// the shared scratch value).
std::vector<MeshStroke> baseWallMark(const Module1& m);

// The mesh: refreshes the node tables and DeltaX, DeltaY, and returns NY
// row lines, NX column lines and the wall mark. Nothing (and no change) when
// the domain has no length or height or the grid does not fit the tables.
std::optional<std::vector<MeshStroke>> gridStrokes(Module1& m);

// The vectors of columns i = 1, 1 + skip, ... (every row), each the local
// velocity over vinf times the vector scale, in domain units; a vector whose
// end does not lie on the plane's finite points is left out.
struct BaseVectorPlot {
    int columns = 0;
    std::vector<MeshStroke> vectors;
    std::vector<MeshStroke> wall;
};
BaseVectorPlot vectorStrokes(const Module1& m, double vinf);

struct BaseContourCell {
    int band = 0;
    long colour = 0;                  // red + 256 green + 65536 blue
    std::array<double, 8> corners{};  // x1, y1, ..., x4, y4: the cell, 2 units up
};

struct BaseContourPlot {
    double vmin = 0, vmax = 0;
    double shownMax = 0;              // vmax, or a faster jet
    std::vector<float> levels;        // 1..n
    std::vector<long> colours;        // the colour table, entry 0 unused
    std::vector<double> means;        // 1..cells
    std::vector<BaseContourCell> cells;
    std::vector<LegendBand> legend;   // band 1 at the bottom, legend units x 0..50
    std::vector<MeshStroke> wall;
};
// The flooded speed contours of the corrected node speeds with n levels
// (3..100, checked by the caller), on the node tables as they stand.
BaseContourPlot speedContours(const Module1& m, int n);

// ---- convergence plot ------------------------------------------------------------

// The grid of 20 x 10 cells on x 0..500, y 0..1000, then the line y = 100
// again in light blue.
std::vector<MeshStroke> convergenceBackground();

// The residual history: the first iteration starts the trace at (1, 0.05);
// every later iteration that continues adds a dark-blue segment.
class ConvergenceTrace {
public:
    explicit ConvergenceTrace(int itmax) : xf_(itmax > 0 ? 500.0 / itmax : 0) {}
    std::optional<MeshStroke> next(const IterationStep& step);

private:
    double xf_;
    double yf_ = 500.0 / 0.05;
    bool started_ = false;
    double n_ = 0, r_ = 0;
};

} // namespace velmora::baseflow
