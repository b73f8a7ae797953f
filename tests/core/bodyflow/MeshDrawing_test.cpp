#include "bodyflow/MeshDrawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace velmora {
namespace {

// The flow-field plot's scale fills the 500 x 500 picture across the domain's length and R = 1000 / aspect ratio (a
// 16-bit whole number) across its height; a triangle's corners are its nodes in those units.
TEST(MeshDrawing, PlotScaleAndATriangle)
{
    auto m = makeModule1();
    EXPECT_FALSE(plotMeshScale(*m).has_value());  // before a grid exists
    m->DomainLength = 17;
    m->DomainHeight = 8.5;
    m->DomainAspectRatio = 2;
    const auto s = plotMeshScale(*m);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(std::tuple(s->kx, s->ky), std::tuple(500.0 / 17, 500.0 / 8.5));
    m->DomainAspectRatio = 3;  // R = 333
    EXPECT_EQ(plotMeshScale(*m)->ky, 333 / 8.5);
    for (float aspect : {0.0f, -2.0f, NAN, INFINITY, 1e-3f}) {  // no R, or one beyond 16 bits
        m->DomainAspectRatio = aspect;
        EXPECT_FALSE(plotMeshScale(*m).has_value()) << aspect;
    }
    m->DomainAspectRatio = 2;

    m->MeshNodeX(4) = 1, m->MeshNodeRadius(4) = 0;
    m->MeshNodeX(5) = 2, m->MeshNodeRadius(5) = 0.5;
    m->MeshNodeX(6) = 1, m->MeshNodeRadius(6) = 1;
    m->MeshElementNodes(2, 1) = 4, m->MeshElementNodes(2, 2) = 5, m->MeshElementNodes(2, 3) = 6;
    double x[3], y[3];
    meshTriangle(*m, MeshScale{10, 100}, 2, x, y);
    EXPECT_EQ(std::tuple(x[0], x[1], x[2], y[0], y[1], y[2]), std::tuple(10.0, 20.0, 10.0, 0.0, 50.0, 100.0));
}

} // namespace
} // namespace velmora
