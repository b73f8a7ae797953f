#pragma once
// The arithmetic of the flow-field plots: contour levels, the colour ramp,
// band assignment, cell values and shapes, the body-and-fin overlay, the
// velocity vectors and the flow profile across the flow at one axial
// location. The plot window draws what these functions return.
//
// Plot units: the picture's user scale runs x 0..500 from the left edge and
// y 0..500 up from the bottom edge, the rocket axis on the bottom edge. A
// domain point (x, r) is drawn at (x sx, r sy).
//
// Grid cells: cell (I, J), I = 1..N-1 along the axis, J = 1..M-1 outward from
// the body, is number k = (J-1)(N-1) + I; its triangles are 2k-1 and 2k and
// its corners are A = n(I,J), B = n(I+1,J), C = n(I+1,J+1), D = n(I,J+1),
// with node n(I,J) = (I-1)M + J.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/Module1.h"
#include "bodyflow/MeshDrawing.h"

namespace velmora {

// Status text when a plot's values (or the fin corners) do not fit their
// single-precision stores; the plot functions throw MathFailure then.
inline constexpr const char* kMsgPlotOutOfRange = "Flow values out of range. Nothing plotted.";

// ---- level count -------------------------------------------------------------

inline constexpr double kDefaultContourLevels = 20;

enum class LevelCheck { Ok, TooMany, TooFew };
// Counts from 3 to 100 are plotted; a fractional count inside that range is
// accepted as it stands.
LevelCheck checkLevelCount(double n);

// ---- colour ramp and bands -------------------------------------------------------

// Colour step of the ramp: Int(255 / (n / 2 - 1)).
long colourStep(double n);
// The colour table (red + 256 green + 65536 blue): entry 0 is black and
// never part of the ramp; from entry 1 first blue to green in steps of the
// colour step, then green to red. At least n - 1 entries beyond entry 0.
std::vector<long> colourRamp(double n);
inline long rgbLong(long r, long g, long b) { return r + 256 * g + 65536 * b; }

// Levels 1..n (entry 0 unused): fmin, fmin + step, ... as a running sum in
// double precision, stored in single precision.
std::vector<float> contourLevels(double fmin, double fmax, double n);
// The band (1..n-1) of a value: level(L) < v < level(L+1) or v = level(L+1),
// a value equal to level(1) in band 1, the last match standing; 0 when no
// band holds the value (drawn black).
int bandOf(double value, const std::vector<float>& levels, double n);

// ---- grid ------------------------------------------------------------------------

// The structured grid the plots read, or nothing when the project holds no
// usable grid and solution tables (no mesh built, or sizes that do not fit
// the tables).
struct PlotGrid {
    long n = 0;  // axial stations
    long m = 0;  // radial lines
    long cells() const { return (n - 1) * (m - 1); }
    long node(long i, long j) const { return (i - 1) * m + j; }
};
std::optional<PlotGrid> plotGrid(const Module1& s);

// Cell values: the mean of the cell's two triangles, for k = 1..cells
// (entry 0 unused).
std::vector<double> cellMeans(const PlotGrid& g, const std::vector<double>& elementValues);

// ---- overlay -------------------------------------------------------------------

bool isNoseConeShape(const std::string& name);

// The body outline (only for a known nose shape), the fin planform and the
// fin root marks, all in the picture's foreground. Stores the fin corner
// points in the project state (root at the grid's body radius at or just
// ahead of the root leading edge) and Pi for an elliptical fin.
std::vector<MeshStroke> flowOverlay(Module1& s, const PlotGrid& g, double sx, double sy);

// ---- contour plots ---------------------------------------------------------------

enum class ContourQuantity { Speed, Pressure };

struct ContourCell {
    int band = 0;       // 0: no band (black)
    long colour = 0;    // red + 256 green + 65536 blue
    // The filled parallelogram: lower edge from A along the slope of A-B
    // across the full cell width, upper edge parallel to it from D, 4 plot
    // units above the upper grid line (the next row paints over the rest).
    std::array<double, 8> corners{};  // x1, y1, ..., x4, y4
};

struct LegendBand {
    double y1 = 0, y2 = 0;  // legend units, y 0..500 upward
    long colour = 0;
};

struct ContourPlot {
    double fmin = 0, fmax = 0;
    double sx = 0, sy = 0;
    std::vector<float> levels;      // 1..n
    std::vector<long> colours;      // the colour table
    std::vector<double> cellValues; // 1..cells
    std::vector<ContourCell> cells; // index 0 is cell 1
    std::vector<MeshStroke> overlay;
    std::vector<LegendBand> legend; // band 1 at the bottom
};

// The element pressures of the pressure plot, written to ElementPressure in
// single precision: static (kind 0) ambient + rho (V^2 - v^2) / 2, dynamic
// (kind 1) rho v^2 / 2, with V the free-stream velocity.
void computeElementPressures(Module1& s, const PlotGrid& g);

// One contour plot of the speed or of the pressure last computed by
// computeElementPressures, with ContourLevelCount levels (already checked).
// Also stores the fin corner points and the legend's DeltaX and DeltaY.
ContourPlot contourPlot(Module1& s, const PlotGrid& g, ContourQuantity q);

// ---- velocity vectors --------------------------------------------------------------

struct VectorPlot {
    double sx = 0, sy = 0;
    std::vector<MeshStroke> overlay;
    std::vector<MeshStroke> vectors;  // one per element, none for a zero reference speed
};

// Vectors from every triangle centroid, scaled by VectorScale / velocity.
VectorPlot vectorPlot(Module1& s, const PlotGrid& g, double velocity);

// ---- flow profile ------------------------------------------------------------------

// Cell column whose centre lies just before x: the first column (the inflow
// boundary) unless two consecutive centres bracket x strictly inside the
// domain. beyond is set when x lies past the domain end.
long profileStation(const std::vector<double>& centreX, long columns, double x, double length, bool& beyond);

struct ProfilePlot {
    long station = 1;
    bool beyond = false;             // location past the domain end
    std::vector<double> values;      // 1..M-1, from the body outward
    std::vector<float> radii;        // cell-centre radii, 1..M-1
    double pmin = 0, pmax = 0;
    std::vector<MeshStroke> curve;   // M-2 segments in QBColor 1
};

// The speed (quantity 0), static (1) or dynamic (2) pressure along the cell
// column at ProfileXLocation. A column of equal values has no value scale:
// its curve is a vertical line at mid-width.
ProfilePlot profilePlot(const Module1& s, const PlotGrid& g, double velocity);

// ---- units -------------------------------------------------------------------------

// Unit text for a unit-system index 0, 1, 2 (FPS, IPS, MNS); "" otherwise.
std::string velocityUnit(int unitIndex);
std::string pressureUnit(int unitIndex);

} // namespace velmora
