#pragma once
// Three-dimensional source-panel potential flow about a body of revolution.
//
// The body is given as stations (x, radius) along its axis; consecutive
// stations and MeridianCount meridians bound quadrilateral panels (triangles
// at a pointed end). Each panel carries a source of total strength Q; for its
// own centroid it acts as a uniform sheet (normal velocity Q / 2S), for every
// other panel as a point source at its centroid. Zero normal flow at the
// centroids gives a dense linear system, solved by GAUSS. From the sources:
// surface velocities and pressure coefficients, the momentum values of the
// body drag, and velocity, speed and dynamic pressure at field points of the
// meridian half-plane y = 0, z = r >= 0.
//
// Frame: x along the axis, y and z across it, the meridian angle measured
// from +y towards +z; the free stream (V cos a, 0, V sin a) lies in the x-z
// plane. Compressible flow scales Cp, the momentum values and the field's
// speed and dynamic pressure by 1 / beta, beta = sqrt(1 - M^2)
// (Prandtl-Glauert); the velocities themselves are not scaled.
//
//   PanelGeometry buildPanels(stations, meridians)            throws MathFailure
//   void buildPanelSystem(geometry, flow, A)
//   Outcome solveBodyFlow(stations, meridians, flow, field, m, progress, out, kept = nullptr)
//
// All public vectors are 1-based: element 0 is unused, panel k is
// (station - 1) * meridians + meridian, station s and field point e as given.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/Module1.h"
#include "bodyflow/Gauss.h"
#include "platform/Constants.h"
#include "platform/Progress.h"

namespace velmora {

struct BodyStation {
    double x = 0;
    double radius = 0;
};

// The flight condition of one solve, taken once at its start.
struct FlowCondition {
    double velocity = 0;       // free-stream speed V
    double angleOfAttack = 0;  // degrees
    float machNumber = 0;      // V / speed of sound
    int16_t compressible = 0;  // 1: Prandtl-Glauert scaling
    double density = 0;        // rho
};

struct PanelGeometry {
    int stations = 0;
    int meridians = 0;
    int panels = 0;
    std::vector<float> stationArea;   // pi R^2, single precision
    std::vector<double> cx, cy, cz;   // centroids
    std::vector<double> nx, ny;       // outward unit normals...
    std::vector<float> nz;            // ...z component held in single precision
    std::vector<double> area;         // panel areas
};

struct FieldPoints {
    std::vector<double> x;  // axial position
    std::vector<float> r;   // radius (z of the half-plane y = 0)
    int count() const { return x.empty() ? 0 : static_cast<int>(x.size()) - 1; }
};

struct BodyFlowSolution {
    PanelGeometry geometry;
    double beta = 1;                      // compressibility factor used
    std::vector<double> source;           // Q, total source strength per panel
    std::vector<double> surfaceU, surfaceV, surfaceW;
    std::vector<float> surfaceCp;         // (1 - |v|^2 / V^2) / beta
    std::vector<float> panelMomentum;     // rho u^2 / beta (axial momentum flux)
    std::vector<double> fieldAxial;       // u
    std::vector<float> fieldRadial;       // w
    std::vector<double> fieldSpeed;       // |v|, divided by beta when compressible
    std::vector<float> fieldPressure;     // 0.5 rho |v|^2, divided by beta when compressible
};

// Surface points and panels of the stations: areas, centroids, normals.
// A panel of zero area or without a normal (two stations at radius 0) throws
// MathFailure. Requires at least 2 stations and 3 meridians.
PanelGeometry buildPanels(const std::vector<BodyStation>& stations, int meridians);

// Influence matrix and right-hand side -(V_inf . n) of the panel system;
// A is resized to the panel count.
void buildPanelSystem(const PanelGeometry& g, const FlowCondition& flow, AugmentedMatrix& A);

// Velocities the panel sources induce at field points first..last (1-based),
// without the free stream: u[e - first], v[e - first], w[e - first]. Each
// point adds the panels in ascending order, whichever vector form runs.
// source: 1-based strengths, at least g.panels + 1 elements.
void sourceVelocities(const PanelGeometry& g, const std::vector<double>& source, const FieldPoints& field,
                      int first, int last, double* u, double* v, double* w);

// The denominators 4 pi r^3 of the surface and field sums, which depend on
// the panel centroids and the field points alone: one value per point and
// source, in the order the sums take them. A run of solves on one body and
// mesh (a sweep) owns one and hands it to each of its solves: the first
// writes the values, the later ones read them back instead of forming them,
// with the same bits; a solve on other centroids or points writes them anew.
// It holds the centroids and points it was computed from, and is complete
// only once a solve has written every value (a solve that stops while
// writing leaves it to the next one to write again). Used only where the
// AVX2 sums run and at most kMaxValues values are needed (48 MiB; 50 x 50 /
// 12 needs 2,990,952, 24 MB); elsewhere the solve forms its denominators as
// without it. The values are left uninitialised until the sums write them,
// so that their pages are first touched piece by piece between event pumps,
// not in one stretch the window waits for.
class FieldSumDenominators {
public:
    static constexpr std::size_t kMaxValues = std::size_t{6} << 20;

    bool complete() const { return complete_; }
    // Whether the values are those of these centroids and points.
    bool matches(const PanelGeometry& g, const FieldPoints& f) const;
    // Makes room for count values from g and f, to be written; not complete.
    double* start(const PanelGeometry& g, const FieldPoints& f, std::size_t count);
    double* values() const { return values_.get(); }
    // Complete when the writer's cursor has reached the last value.
    void finish(const double* cursor) { complete_ = values_ && cursor == values_.get() + count_; }

private:
    std::vector<double> cx_, cy_, cz_, fieldX_;
    std::vector<float> fieldR_;
    std::unique_ptr<double[]> values_;  // left unwritten until the sums write them
    std::size_t count_ = 0;
    bool complete_ = false;
};

// The whole solve: panels, system, GAUSS (events let run once per row, ABORT
// through m.AbortRequest), surface flow and field flow. While the system is
// formed and the surface and field velocities are summed, events run when
// Progress::maybePump finds them due (after a row or a block of points), and
// an ABORT seen then ends the solve Aborted as well; while the sums write
// kept denominators, events also run as they start and after every 4 MiB of
// them. Progress: the bar runs over the panels while the right-hand side is
// formed, over the rows during elimination and over the field points.
// Writes nothing to Module1 but
// AugmentedColumnCount; returns Done, Aborted, or Failed when the arithmetic
// breaks down (zero-area panel, vanishing pivot, any non-finite value).
// kept: the caller's denominators of a run of solves (see above), or null: a
// single solve forms them and keeps nothing.
Outcome solveBodyFlow(const std::vector<BodyStation>& stations, int meridians, const FlowCondition& flow,
                      const FieldPoints& field, Module1& m, Progress& progress, BodyFlowSolution& out,
                      FieldSumDenominators* kept = nullptr);

// The factors of the last panel system eliminated on this thread are kept:
// a solve whose matrix has the same bits (a sweep step, a SOLVE at another
// flight condition on the same body and mesh) replays them on its own
// right-hand side, with the bits of a full elimination (see GAUSS); panels
// with the bits of the factors' panels do not even form the matrix. Off, a
// solve also forms its denominators although handed kept ones. On by
// default; tests and benchmarks compare the two. Returns the setting before.
bool setPanelFactorReuse(bool on);

// The grid's lower row from the nose tip on (x >= NoseTipX): the body stations.
std::vector<BodyStation> bodyStationsFromGrid(const Module1& m);

// The mesh triangle centroids as field points.
FieldPoints fieldPointsFromMesh(const Module1& m);

} // namespace velmora
