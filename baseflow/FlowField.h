#pragma once
// The vorticity / stream-function kernels of the base-flow solver.
//
// What is computed: the planar viscous flow behind the flat base of the
// rocket on a uniform rectangular grid, marched in time towards a steady
// state: explicit forward-time central-space steps of the vorticity
// transport equation, a point-iterative (Gauss-Seidel) solve of the
// stream-function Poisson equation lap psi = -W at every step, and the
// velocities from the stream function.
//
// Frame and units: x runs downstream from the base plane, y outwards from the
// axis, in the length unit of the unit system; velocities in length per
// second, nu in length squared per second.
//
// Indexing: every field has indices 0..101 in both directions, laid out like
// the project state's tables (i outer, j inner). The solver uses i = 1..NX
// (i = 1 the base plane, pairs with DX) and j = 1..NY (j = 1 the axis, pairs
// with DY). Regions of the boundary: base wall i = 1, j = 1..JB (JB the
// shoulder); inflow i = 1, j = JB + 1..NY; top j = NY; outflow i = NX;
// axis j = 1.
//
// Entry points (each throws MathFailure when the arithmetic breaks down: a
// division by zero, a power or root without a real value, a result that is
// not finite or does not fit its single-precision store):
//   INIT            grid spacings, coordinates, the initial field and the
//                   boundary values, with a 1/7-power boundary layer on the
//                   inflow rows above the shoulder;
//   VELVOR          interior vorticity from the velocities;
//   EQVOR           one explicit vorticity step (all increments first,
//                   stored in single precision, then added);
//   EQSTR           the stream-function iteration, in place, to a sum ratio
//                   of 0.0001 or 5000 sweeps, then the outflow and axis
//                   values; a first sweep that changes nothing counts as
//                   converged;
//   BCVOR           wall, shoulder and outflow vorticity;
//   STRVEL          interior velocities from psi, the residual (relative
//                   velocity change; a field with zero total speed is a
//                   failure), then the axis copy;
//   nextTimeStep    the stability-limited time step of the next iteration.
#include <cstddef>
#include <vector>

namespace velmora::baseflow {

inline constexpr int kFieldSize = 102;  // indices 0..101 in each direction
inline constexpr int kMaxNX = 100;      // the speed list holds NX NY <= 5000 nodes
inline constexpr int kMaxNY = 50;

// One field of the grid, indices 0..101 in both directions, i outer.
template <typename T>
class Field {
public:
    Field() : v_(static_cast<std::size_t>(kFieldSize) * kFieldSize, T{}) {}
    T& operator()(int i, int j) { return v_[at(i, j)]; }
    const T& operator()(int i, int j) const { return v_[at(i, j)]; }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    bool operator==(const Field&) const = default;

private:
    static std::size_t at(int i, int j)
    {
        return static_cast<std::size_t>(i) * kFieldSize + static_cast<std::size_t>(j);
    }
    std::vector<T> v_;
};

// The solver's working set: the grid, the coordinates and the fields.
struct Fields {
    int nx = 0;       // NX, nodes along the axis
    int ny = 0;       // NY, nodes outwards
    int jb = 0;       // JB, radial index of the shoulder
    double dx = 0;    // DX = XL / (NX - 1)
    double dy = 0;    // DY = YL / (NY - 1)
    Field<double> x;  // (i - 1) DX
    Field<double> y;  // (j - 1) DY
    Field<double> u;  // axial velocity
    Field<float> v;   // radial velocity (single precision)
    Field<double> psi;
    Field<double> w;  // vorticity
    Field<float> dw;  // vorticity increment of the last step (single precision)
};

// What INIT needs besides the grid size.
struct FlowInputs {
    int nx = 0, ny = 0, jb = 0;
    double domainLength = 0;  // XL
    double domainHeight = 0;  // YL
    double velocity = 0;      // V
    double diameter = 0;      // D
    double viscosity = 0;     // nu
    double bodyLength = 0;    // L of the boundary-layer thickness (body tube length)
};

// Order of the points within one stream-function sweep. Both give the same
// values bit for bit: the wavefront order only interleaves independent
// columns so that they do not wait on each other.
enum class SweepOrder { Plain, Wavefront };

struct StreamSolve {
    int sweeps = 0;          // sweeps done
    bool converged = true;   // false: 5000 sweeps without reaching the ratio
    double firstChange = 0;  // S0, the summed |change| of the first sweep
    double lastChange = 0;   // S of the last sweep
};

inline constexpr double kBoundaryLayerExponent = 0.14286;
inline constexpr double kStreamRatio = 0.0001;
inline constexpr int kMaxSweeps = 5000;

void INIT(Fields& f, const FlowInputs& in);
void VELVOR(Fields& f);
void EQVOR(Fields& f, double dt, double nu);
StreamSolve EQSTR(Fields& f, SweepOrder order = SweepOrder::Wavefront);
void BCVOR(Fields& f);
double STRVEL(Fields& f);
// DT = 0.8 D / (V [u*/dx* + v*/dy* + (2/Re)(1/dx*^2 + 1/dy*^2)]) with the
// velocities of node (2, JB) scaled by V and the spacings by D.
double nextTimeStep(const Fields& f, double velocity, double diameter, double reynolds);

} // namespace velmora::baseflow
