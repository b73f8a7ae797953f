#include <gtest/gtest.h>

#include <memory>

#include "baseflow/FlowField.h"
#include "platform/Checked.h"

namespace velmora::baseflow {
namespace {

template <class Set>
void eachNode(const Fields& f, Set set)
{
    for (int i = 1; i <= f.nx; ++i)
        for (int j = 1; j <= f.ny; ++j) set(i, j);
}

// A grid with spacings 0.25 (exact in binary), coordinates filled.
std::unique_ptr<Fields> quarterGrid(int nx, int ny, int jb)
{
    auto f = std::make_unique<Fields>();
    f->nx = nx, f->ny = ny, f->jb = jb, f->dx = 0.25, f->dy = 0.25;
    eachNode(*f, [&](int i, int j) { f->x(i, j) = (i - 1) * 0.25, f->y(i, j) = (j - 1) * 0.25; });
    return f;
}

TEST(BaseFlowInit, SpacingsBoundaryLayerAndBoundaries)
{
    Fields f;
    const FlowInputs inputs{50, 25, 5, 0.5, 0.25, 300, 0.1, 1.572e-4, 1.5};
    INIT(f, inputs);
    EXPECT_NEAR(f.dx, 0.010204082, 1e-9);
    EXPECT_NEAR(f.dy, 0.010416667, 1e-9);
    // delta = 0.16 L / Re_D^0.14286 = 0.04225: four profile rows above the shoulder (JB = 5).
    const double profile[] = {245.612, 271.178, 287.350, 299.406};
    for (int k = 1; k <= 4; ++k) EXPECT_NEAR(f.u(1, 5 + k), profile[k - 1], 0.0005) << "row " << 5 + k;
    struct Node { int i, j; double u, psi; };
    const double top = 24 * f.dy * 300;
    const Node nodes[] = {
        {1, 3, 0, 0},                                     // base wall
        {1, 10, 300, 9 * f.dy * 300},                     // inflow above the layer
        {20, 1, 0, 0},  {20, 25, 300, top},               // axis, top
        {50, 12, 300, 11 * f.dy * 300},                   // outflow
        {20, 12, 0, 0},                                   // interior at rest
    };
    for (const Node& n : nodes) {
        SCOPED_TRACE(testing::Message() << n.i << "," << n.j);
        EXPECT_DOUBLE_EQ(f.u(n.i, n.j), n.u);
        EXPECT_DOUBLE_EQ(f.psi(n.i, n.j), n.psi);
        EXPECT_EQ(std::pair(f.v(n.i, n.j), f.w(n.i, n.j)), std::pair(0.0f, 0.0));
    }
    EXPECT_DOUBLE_EQ(f.x(50, 1), 49 * f.dx);

    // A layer far thicker than the domain: NY rows above the shoulder are written (outside the grid), no more.
    FlowInputs thick = inputs;
    thick.bodyLength = 1000;
    INIT(f, thick);
    EXPECT_GT(f.u(1, 5 + 25), 0.0);
    EXPECT_EQ(f.u(1, 5 + 26), 0.0);
}

TEST(BaseFlowKernels, VorticityOfALinearShear)
{
    // U = 3 y, V = 5 x gives W = dV/dx - dU/dy = 5 - 3 at every interior node.
    auto f = quarterGrid(9, 7, 2);
    eachNode(*f, [&](int i, int j) {
        f->u(i, j) = 3 * f->y(i, j);
        f->v(i, j) = static_cast<float>(5 * f->x(i, j));
    });
    VELVOR(*f);
    for (int i = 2; i <= 8; ++i)
        for (int j = 2; j <= 6; ++j) ASSERT_DOUBLE_EQ(f->w(i, j), 2) << i << "," << j;
    EXPECT_EQ(f->w(1, 3), 0.0);  // boundaries are not VELVOR's
}

TEST(BaseFlowKernels, VorticityStepDiffusesAndConvects)
{
    // W = x^2 (Wxx = 2) carried by U = 1, V = 0: dW = dt (nu 2 - 2 x).
    auto f = quarterGrid(9, 7, 2);
    eachNode(*f, [&](int i, int j) { f->w(i, j) = f->x(i, j) * f->x(i, j), f->u(i, j) = 1; });
    EQVOR(*f, 0.01, 0.5);
    for (int i = 2; i <= 8; ++i) {
        const double x = f->x(i, 3);
        EXPECT_NEAR(f->dw(i, 3), 0.01 * (0.5 * 2 - 2 * x), 1e-7);
        EXPECT_NEAR(f->w(i, 3), x * x + 0.01 * (1 - 2 * x), 1e-7);
    }
    EXPECT_EQ(f->w(9, 3), 64 * 0.0625);  // the outflow column is left alone
}

TEST(BaseFlowKernels, StreamFunctionOfAQuadratic)
{
    // psi = A x^2 + B y^2 has lap psi = 2 (A + B): with W = -2 (A + B) and the boundary values of the quadratic, the
    // iteration returns the quadratic inside; then the outflow copies column NX - 1 and the axis extrapolates.
    for (SweepOrder order : {SweepOrder::Plain, SweepOrder::Wavefront}) {
        auto f = quarterGrid(12, 9, 2);
        const double A = 1.5, B = -0.5;
        auto quad = [&](int i, int j) { return A * f->x(i, j) * f->x(i, j) + B * f->y(i, j) * f->y(i, j); };
        eachNode(*f, [&](int i, int j) {
            const bool edge = i == 1 || i == 12 || j == 1 || j == 9;
            f->psi(i, j) = edge ? quad(i, j) : 0;
            f->w(i, j) = -2 * (A + B);
        });
        const StreamSolve s = EQSTR(*f, order);
        EXPECT_TRUE(s.converged);
        EXPECT_GT(s.sweeps, 10);
        for (int i = 2; i <= 11; ++i)
            for (int j = 2; j <= 8; ++j) ASSERT_NEAR(f->psi(i, j), quad(i, j), 2e-3) << i << "," << j;
        for (int j = 1; j <= 8; ++j) EXPECT_EQ(f->psi(12, j), f->psi(11, j));
        for (int i = 2; i <= 12; ++i) EXPECT_EQ(f->psi(i, 1), 2 * f->psi(i, 2) - f->psi(i, 3));
        EXPECT_EQ(f->psi(1, 1), 0.0);  // the corner keeps its value
    }
    // psi = 4 y is a solution already: a first sweep that changes nothing counts as converged.
    auto uniform = quarterGrid(10, 8, 2);
    eachNode(*uniform, [&](int i, int j) { uniform->psi(i, j) = 4 * uniform->y(i, j); });
    const StreamSolve s = EQSTR(*uniform);
    EXPECT_TRUE(s.converged && s.sweeps == 1) << s.sweeps;
}

TEST(BaseFlowKernels, WallShoulderAndOutflowVorticity)
{
    auto f = quarterGrid(6, 8, 4);
    eachNode(*f, [&](int i, int j) { f->psi(i, j) = i + 10 * j, f->w(i, j) = 100 * i + j; });
    BCVOR(*f);
    for (int j = 2; j <= 3; ++j) EXPECT_DOUBLE_EQ(f->w(1, j), 2 * (-1.0) / 0.0625);  // 2 (psi(1,j) - psi(2,j)) / DX^2
    EXPECT_DOUBLE_EQ(f->w(1, 4), 2 * 51.0 / 0.0625);                              // 2 psi(1, JB + 1) / DY^2
    for (int j = 1; j <= 7; ++j) EXPECT_EQ(f->w(6, j), f->w(5, j));
}

TEST(BaseFlowKernels, VelocitiesResidualAndAxis)
{
    // psi = 2 x y: U = 2 x, V = -2 y. From U = 0, V = 0 every interior node
    // changes by |(2x, -2y)|; the residual divides by the total speed.
    auto f = quarterGrid(5, 5, 1);
    eachNode(*f, [&](int i, int j) { f->psi(i, j) = 2 * f->x(i, j) * f->y(i, j); });
    const double r = STRVEL(*f);
    EXPECT_NEAR(r, 1.0, 1e-12);  // the boundaries are at rest, so the total speed is the same sum
    EXPECT_DOUBLE_EQ(f->u(3, 2), 2 * 0.5);
    EXPECT_FLOAT_EQ(f->v(3, 2), -2 * 0.25f);
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(f->u(i, 1), f->u(i, 2));  // axis copy, after the residual

    auto still = quarterGrid(5, 5, 1);
    EXPECT_THROW(STRVEL(*still), MathFailure);  // zero total speed
}

TEST(BaseFlowKernels, TimeStepFromTheShoulderNode)
{
    auto f = quarterGrid(6, 6, 2);
    f->u(2, 2) = -150;
    f->v(2, 2) = 30;
    // u* = 0.5, v* = 0.1, dx* = dy* = 2.5, Re = 1000.
    const double expected = 0.8 * 0.1 / (300 * (0.5 / 2.5 + 0.1 / 2.5 + (2.0 / 1000) * (2 / 6.25)));
    EXPECT_DOUBLE_EQ(nextTimeStep(*f, 300, 0.1, 1000), expected);
    EXPECT_THROW(nextTimeStep(*f, 0, 0.1, 1000), MathFailure);
}

} // namespace
} // namespace velmora::baseflow
