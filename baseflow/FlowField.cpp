#include "baseflow/FlowField.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/Checked.h"
#include "platform/Single.h"

namespace velmora::baseflow {

void INIT(Fields& f, const FlowInputs& in)
{
    const int nx = in.nx, ny = in.ny, jb = in.jb;
    const double vinf = in.velocity;
    f.nx = nx;
    f.ny = ny;
    f.jb = jb;

    // Grid spacings.
    f.dx = cdiv(in.domainLength, nx - 1.0, "base-flow grid spacing DX");
    f.dy = cdiv(in.domainHeight, ny - 1.0, "base-flow grid spacing DY");

    // Coordinates; the field starts at rest.
    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) {
            f.u(i, j) = 0;
            f.v(i, j) = 0;
            f.x(i, j) = (i - 1) * f.dx;
            f.y(i, j) = (j - 1) * f.dy;
            f.psi(i, j) = 0;
            f.w(i, j) = 0;
        }

    // Axis and top.
    for (int i = 1; i <= nx; ++i) {
        f.u(i, 1) = 0;
        f.psi(i, 1) = 0;
        f.u(i, ny) = vinf;
        f.psi(i, ny) = f.y(i, ny) * vinf;
    }
    // Base wall.
    for (int j = 2; j <= jb; ++j) {
        f.u(1, j) = 0;
        f.psi(1, j) = 0;
    }
    // Inflow past the shoulder.
    for (int j = jb + 1; j <= ny; ++j) {
        f.u(1, j) = vinf;
        f.psi(1, j) = f.y(1, j) * vinf;
    }
    // Outflow.
    for (int j = 2; j <= ny - 1; ++j) {
        f.u(nx, j) = vinf;
        f.psi(nx, j) = f.y(nx, j) * vinf;
    }

    // Inflow boundary layer, 1/7-power profile over delta = 0.16 L / Re_D^(1/7),
    //    at most NY rows above the shoulder (rows beyond NY are never read).
    const double reD = cdiv(vinf * in.diameter, in.viscosity, "base Reynolds number");
    const double delta =
        cdiv(0.16 * in.bodyLength, cpow(reD, kBoundaryLayerExponent, "base Reynolds number power"),
             "boundary-layer thickness");
    double rows = cdiv(delta, f.dy, "boundary-layer row count");
    if (rows > ny) rows = ny;
    for (int k = 1; k <= rows; ++k) {
        const float yk = toSingle(k * f.dy);
        f.u(1, jb + k) = vinf * cpow(cdiv(yk, delta), kBoundaryLayerExponent, "boundary-layer profile");
        f.psi(1, jb + k) = f.y(1, jb + k) * vinf;
    }
}

void VELVOR(Fields& f)
{
    const double twoDx = 2 * f.dx, twoDy = 2 * f.dy;
    for (int i = 2; i <= f.nx - 1; ++i)
        for (int j = 2; j <= f.ny - 1; ++j)
            f.w(i, j) = (static_cast<double>(f.v(i + 1, j)) - f.v(i - 1, j)) / twoDx -
                        (f.u(i, j + 1) - f.u(i, j - 1)) / twoDy;
}

void EQVOR(Fields& f, double dt, double nu)
{
    const double twoDx = 2 * f.dx, twoDy = 2 * f.dy;
    const double dx2 = f.dx * f.dx, dy2 = f.dy * f.dy;
    // Every increment from the old vorticity.
    for (int i = 2; i <= f.nx - 1; ++i)
        for (int j = 2; j <= f.ny - 1; ++j) {
            const double wx = (f.w(i + 1, j) - f.w(i - 1, j)) / twoDx;
            const double wy = (f.w(i, j + 1) - f.w(i, j - 1)) / twoDy;
            const double wxx = (f.w(i + 1, j) - 2 * f.w(i, j) + f.w(i - 1, j)) / dx2;
            const double wyy = (f.w(i, j + 1) - 2 * f.w(i, j) + f.w(i, j - 1)) / dy2;
            f.dw(i, j) = toSingle(dt * (nu * (wxx + wyy) - (f.u(i, j) * wx + f.v(i, j) * wy)),
                                  "vorticity increment");
        }
    // Then the step.
    for (int i = 2; i <= f.nx - 1; ++i)
        for (int j = 2; j <= f.ny - 1; ++j) f.w(i, j) = f.w(i, j) + f.dw(i, j);
}

namespace {

// One point of the stream-function sweep; returns |new - old|.
inline double relax(double* p, const double* w, int i, int j, double c, double dx2, double dy2)
{
    double& at = p[i * kFieldSize + j];
    const double next = c * ((p[(i + 1) * kFieldSize + j] + p[(i - 1) * kFieldSize + j]) / dx2 +
                             (p[i * kFieldSize + j + 1] + p[i * kFieldSize + j - 1]) / dy2 + w[i * kFieldSize + j]);
    const double change = std::fabs(next - at);
    at = next;
    return change;
}

// i = 2..NX-1 outer, j = 2..NY-1 inner, summing the changes in that order.
double sweepPlain(Fields& f, double c, double dx2, double dy2)
{
    double* p = f.psi.data();
    const double* w = f.w.data();
    double s = 0;
    for (int i = 2; i <= f.nx - 1; ++i)
        for (int j = 2; j <= f.ny - 1; ++j) s = s + relax(p, w, i, j, c, dx2, dy2);
    return s;
}

// The same sweep along the anti-diagonals s = i + j. A point needs its
// left and lower neighbours (diagonal s - 1) already updated and its right
// and upper ones (diagonal s + 1) not yet, so the points of one diagonal are
// independent and every value is the one of the plain order. psi and W are
// held diagonal-major here (element (i, j) at [i + j][i]), which makes the
// points of a diagonal adjacent in memory. The changes are summed in the
// plain order, column i as soon as its last point (diagonal i + NY - 1) is
// done, so that the sum runs alongside the next diagonals.
class DiagonalSweep {
public:
    explicit DiagonalSweep(const Fields& f)
        : nx_(f.nx), ny_(f.ny), width_(f.nx + 2), rows_(f.nx + f.ny + 2),
          psi_(static_cast<std::size_t>(rows_) * width_), w_(psi_.size()), change_(psi_.size())
    {
        for (int i = 1; i <= nx_; ++i)
            for (int j = 1; j <= ny_; ++j) {
                at(psi_, i, j) = f.psi(i, j);
                at(w_, i, j) = f.w(i, j);
            }
    }

    double sweep(double c, double dx2, double dy2)
    {
        const int j1 = ny_ - 1, i1 = nx_ - 1;
        double s = 0;
        int nextColumn = 2;
        for (int d = 4; d <= i1 + j1; ++d) {
            const int ia = std::max(2, d - j1), ib = std::min(i1, d - 2);
            const double* __restrict lower = psi_.data() + static_cast<std::size_t>(d - 1) * width_;
            const double* __restrict upper = psi_.data() + static_cast<std::size_t>(d + 1) * width_;
            double* __restrict here = psi_.data() + static_cast<std::size_t>(d) * width_;
            const double* __restrict w = w_.data() + static_cast<std::size_t>(d) * width_;
            double* __restrict out = change_.data() + static_cast<std::size_t>(d) * width_;
#pragma GCC ivdep
            for (int i = ia; i <= ib; ++i) {
                // (i+1, j) + (i-1, j), then (i, j+1) + (i, j-1), as in the plain order.
                const double next = c * ((upper[i + 1] + lower[i - 1]) / dx2 + (upper[i] + lower[i]) / dy2 + w[i]);
                out[i] = std::fabs(next - here[i]);
                here[i] = next;
            }
            // Column i is complete once diagonal i + NY - 1 is.
            for (; nextColumn <= i1 && nextColumn + j1 <= d; ++nextColumn) s = addColumn(s, nextColumn);
        }
        for (; nextColumn <= i1; ++nextColumn) s = addColumn(s, nextColumn);
        return s;
    }

    void store(Fields& f) const
    {
        for (int i = 1; i <= nx_; ++i)
            for (int j = 1; j <= ny_; ++j) f.psi(i, j) = at(psi_, i, j);
    }

private:
    double& at(std::vector<double>& v, int i, int j) { return v[index(i, j)]; }
    double at(const std::vector<double>& v, int i, int j) const { return v[index(i, j)]; }
    std::size_t index(int i, int j) const { return static_cast<std::size_t>(i + j) * width_ + i; }

    double addColumn(double s, int i) const
    {
        for (int j = 2; j <= ny_ - 1; ++j) s = s + change_[index(i, j)];
        return s;
    }

    int nx_, ny_, width_, rows_;
    std::vector<double> psi_, w_, change_;
};

} // namespace

StreamSolve EQSTR(Fields& f, SweepOrder order)
{
    // Point-iteration coefficient.
    const double dx2 = f.dx * f.dx, dy2 = f.dy * f.dy;
    if (dx2 == 0 || dy2 == 0) throw MathFailure("stream-function grid spacing");
    const double c = cdiv(0.5 * dx2 * dy2, dx2 + dy2, "stream-function coefficient");
    std::optional<DiagonalSweep> diagonal;
    if (order == SweepOrder::Wavefront) diagonal.emplace(f);
    StreamSolve result;
    double s0 = 0;
    for (;;) {
        // One sweep, in place.
        const double s = finite(diagonal ? diagonal->sweep(c, dx2, dy2) : sweepPlain(f, c, dx2, dy2),
                                "stream-function sweep");
        // Ratio to the first sweep's change; a first sweep that changes
        //    nothing has nothing left to reduce.
        if (result.sweeps == 0) s0 = s;
        ++result.sweeps;
        result.firstChange = s0;
        result.lastChange = s;
        if (s0 == 0) break;
        // Converged, or given up after kMaxSweeps sweeps.
        if (s / s0 <= kStreamRatio) break;
        if (result.sweeps >= kMaxSweeps) {
            result.converged = false;
            break;
        }
    }
    if (diagonal) diagonal->store(f);
    // Outflow and axis values.
    for (int j = 1; j <= f.ny - 1; ++j) f.psi(f.nx, j) = f.psi(f.nx - 1, j);
    for (int i = 2; i <= f.nx; ++i) f.psi(i, 1) = 2 * f.psi(i, 2) - f.psi(i, 3);
    return result;
}

void BCVOR(Fields& f)
{
    const double dx2 = f.dx * f.dx, dy2 = f.dy * f.dy;
    // Base wall.
    for (int j = 2; j <= f.jb - 1; ++j) f.w(1, j) = cdiv(2 * (f.psi(1, j) - f.psi(2, j)), dx2, "wall vorticity");
    // Shoulder.
    f.w(1, f.jb) = cdiv(2 * f.psi(1, f.jb + 1), dy2, "shoulder vorticity");
    // Outflow.
    for (int j = 1; j <= f.ny - 1; ++j) f.w(f.nx, j) = f.w(f.nx - 1, j);
}

double STRVEL(Fields& f)
{
    const double twoDx = 2 * f.dx, twoDy = 2 * f.dy;
    // Interior velocities and the sum of their changes.
    double r = 0;
    for (int i = 2; i <= f.nx - 1; ++i)
        for (int j = 2; j <= f.ny - 1; ++j) {
            const double un = (f.psi(i, j + 1) - f.psi(i, j - 1)) / twoDy;
            const double vn = (f.psi(i - 1, j) - f.psi(i + 1, j)) / twoDx;
            const double du = f.u(i, j) - un, dv = f.v(i, j) - vn;
            r = r + std::sqrt(du * du + dv * dv);
            f.u(i, j) = un;
            f.v(i, j) = toSingle(vn, "radial velocity");
        }
    // Total speed of the updated field.
    double s = 0;
    for (int i = 1; i <= f.nx; ++i)
        for (int j = 1; j <= f.ny; ++j) {
            const double u = f.u(i, j), v = f.v(i, j);
            s = s + std::sqrt(u * u + v * v);
        }
    // Residual: the relative change.
    const double residual = cdiv(finite(r, "velocity change"), finite(s, "total speed"), "zero total speed");
    // Axis.
    for (int i = 2; i <= f.nx; ++i) f.u(i, 1) = f.u(i, 2);
    return residual;
}

double nextTimeStep(const Fields& f, double velocity, double diameter, double reynolds)
{
    const double us = cdiv(std::fabs(f.u(2, f.jb)), velocity);
    const double vs = cdiv(std::fabs(static_cast<double>(f.v(2, f.jb))), velocity);
    const double dxs = cdiv(f.dx, diameter);
    const double dys = cdiv(f.dy, diameter);
    const double sum = us / dxs + vs / dys + cdiv(2.0, reynolds) * (1 / (dxs * dxs) + 1 / (dys * dys));
    return cdiv(0.8 * diameter, velocity * sum, "time step");
}

} // namespace velmora::baseflow
