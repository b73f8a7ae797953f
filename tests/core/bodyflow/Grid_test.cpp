#include <gtest/gtest.h>

#include <cmath>

#include "bodyflow/Grid.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

using testing::ScriptedProgress;

NullProgress quiet;

void setMesh(Module1& m, double n)
{
    m.MeshSizeUserSet = 1;
    m.MeshAxialNodeCount = m.MeshRadialNodeCount = n;
}

// A mesh size of 0: none chosen.
std::unique_ptr<Module1> rocket(double nose, double diameter, double tube, const char* shape = "CONICAL", double n = 0)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseConeLength = nose;
    m->NoseConeDiameter = diameter;
    m->BodyTubeLength = tube;
    m->NoseShapeName = shape;
    if (n != 0) setMesh(*m, n);
    return m;
}

double signedArea(const Module1& m, long e)
{
    auto node = [&](long corner) { return static_cast<long>(m.MeshElementNodes(e, corner)); };
    const long a = node(1), b = node(2), c = node(3);
    return (m.MeshNodeX(b) - m.MeshNodeX(a)) * (m.MeshNodeRadius(c) - m.MeshNodeRadius(a)) -
           (m.MeshNodeX(c) - m.MeshNodeX(a)) * (m.MeshNodeRadius(b) - m.MeshNodeRadius(a));
}

TEST(GridTest, CountsNoseTipAndTriangleOrientation)
{
    auto m = rocket(3, 1, 12, "TANGENT OGIVE");
    m->MeshAxialNodeCount = 37;  // ignored while no size was chosen
    ASSERT_EQ(GRID(*m, 300, quiet).outcome, Outcome::Done);
    EXPECT_EQ(m->MeshElementCount, 722);
    EXPECT_DOUBLE_EQ(m->GridNodeX(3, 1), 2 * 15.0 / 17);  // the nose tip
    EXPECT_EQ(m->NoseTipX, m->GridNodeX(3, 1));
    EXPECT_EQ(m->MeshNodeRadius(7 * 20 + 4), m->GridNodeRadius(8, 4));  // node (I - 1) M + J

    for (auto [n, triangles] : {std::pair{30, 1682}, std::pair{50, 4802}, std::pair{10, 162}}) {
        for (const char* shape : {"CONICAL", "TANGENT OGIVE", "SEARS-HAACK", "ELLIPTICAL", "PARABOLIC"}) {
            auto g = rocket(3, 1, 12, shape, n);
            g->TransitionLength = 1.5;
            g->TransitionDiameter = 0.7;
            g->BaseTubeLength = 2;
            ASSERT_EQ(GRID(*g, 0, quiet).outcome, Outcome::Done);
            EXPECT_EQ(g->MeshElementCount, triangles);
            // Cell (I, J) = (5, 3) gives triangles 2c - 1 and 2c, c = (J - 1)(N - 1) + I.
            const long c = 2 * (n - 1) + 5;
            EXPECT_EQ(std::tuple(g->MeshElementNodes(2 * c - 1, 1), g->MeshElementNodes(2 * c, 2)),
                      std::tuple(4 * n + 3, 5 * n + 4));
            for (long e = 1; e <= triangles; ++e) ASSERT_GT(signedArea(*g, e), 0.0) << shape << n << " " << e;
            for (long i = 1; i <= n; ++i) ASSERT_NEAR(g->GridNodeRadius(i, n), g->DomainHeight, 1e-6 * g->DomainHeight);
        }
    }
}

// Nose 4, diameter 2, tube 12, N = 19: DX = 1, tip at x = 2, half the nose at station 5.
TEST(GridTest, NoseProfilesAtHalfTheNoseLength)
{
    const std::pair<const char*, double> cases[] = {
        {"CONICAL", 0.5}, {"TANGENT OGIVE", 0.75}, {"SEARS-HAACK", std::pow(0.5, 0.75)},
        {"ELLIPTICAL", std::sqrt(0.75)}, {"PARABOLIC", std::sqrt(0.5)},
    };
    for (auto [shape, fraction] : cases) {
        auto m = rocket(4, 2, 12, shape, 19);
        ASSERT_EQ(GRID(*m, 0, quiet).outcome, Outcome::Done);
        ASSERT_EQ(m->GridNodeX(5, 1), 4.0);
        EXPECT_NEAR(m->GridNodeRadius(5, 1), fraction, 1e-12) << shape;
    }
}

// Nose 2, tube 4, N = 11 or 13: DX = 1, tip 2, shoulder 4.
TEST(GridTest, TransitionsBaseTubeAndWindowEffects)
{
    // Transition 2 to diameter 0.5 and base tube 2: transition 8..10, base 12.
    auto m = rocket(2, 1, 4, "ELLIPTICAL", 13);
    m->TransitionLength = 2;
    m->TransitionDiameter = 0.5;
    m->BaseTubeLength = 2;
    ASSERT_EQ(GRID(*m, 0, quiet).effects, std::vector<GridEffect>{});
    // The tube radius on the shoulder and on the end of the tube; the base tube.
    EXPECT_EQ(std::tuple(m->GridNodeRadius(5, 1), m->GridNodeRadius(9, 1), m->GridNodeRadius(13, 1), m->DomainLength),
              std::tuple(0.5, 0.5, 0.25, 12.0));
    EXPECT_NEAR(m->GridNodeRadius(10, 1), 0.375, 1e-12);

    // A transition closing to radius 0: no base tube. A box that gives no length keeps its text; a length set
    // aside (a free-form body's) empties its box, whose handler runs with the length already cut.
    m = rocket(2, 1, 4, "CONICAL", 11);
    m->TransitionLength = 2;
    EXPECT_EQ(GRID(*m, 0, quiet).effects, std::vector<GridEffect>{GridEffect::HideMainNoMeshOverlay});
    EXPECT_EQ(m->DomainLength, 10.0);
    EXPECT_NEAR(m->GridNodeRadius(11, 1), 0.0, 1e-12);
    m->ActiveBodyGeometry = 1;
    m->BaseTubeLength = 2;
    std::vector<GridEffect> seen;
    GRID(*m, 0, quiet, [&](GridEffect e) {
        seen.push_back(e);
        EXPECT_EQ(m->BaseTubeLength, 0.0);
    });
    EXPECT_EQ(seen, (std::vector<GridEffect>{GridEffect::EmptyBaseTubeLengthBox, GridEffect::HideMainNoMeshOverlay}));

    // A diameter without a length: the tube radius runs to the base, the kept base tube still counting in the domain.
    m = rocket(2, 1, 4, "CONICAL", 11);
    m->TransitionDiameter = 0.6;
    m->BaseTubeLength = 2;
    EXPECT_EQ(GRID(*m, 0, quiet).effects, std::vector<GridEffect>{GridEffect::HideMainNoMeshOverlay});
    EXPECT_EQ(m->DomainLength, 10.0);
    for (long i = 5; i <= 11; ++i) EXPECT_EQ(m->GridNodeRadius(i, 1), 0.5) << i;
}

TEST(GridTest, RefusesBadInputWithoutTouchingTheGrid)
{
    const std::pair<void (*)(Module1&), const char*> cases[] = {
        {[](Module1& m) { setMesh(m, 20.5); }, kMsgMeshSizeRange},
        {[](Module1& m) { setMesh(m, 20); m.MeshRadialNodeCount = 400; }, kMsgMeshSizeRange},
        {[](Module1& m) { m.NoseConeLength = 0; }, "Please enter nose cone length."},
        {[](Module1& m) { m.NoseConeLength = std::nan(""); },
         "Nose cone length must be between 0.000001 and 1000000."},
        {[](Module1& m) { m.TransitionLength = -1; }, "Transition length must be 0 or between 0.000001 and 1000000."},
        {[](Module1& m) { m.NoseConeDiameter = 1e39; },
         "Nose cone diameter must be between 0.000001 and 1000000."},
        {[](Module1& m) { m.NoseShapeName = ""; }, kMsgUnknownNoseShape},
        {[](Module1& m) { m.TransitionLength = 2; m.BaseTubeLength = 3; }, kMsgBaseTubeWithoutTransition},
        {[](Module1& m) { m.DomainAspectRatio = 0; }, kMsgBadGeometryData},
        {[](Module1& m) { m.ActiveBodyGeometry = 1; m.FreeFormPointCount = 25; }, kMsgBadGeometryData},
    };
    for (auto [spoil, message] : cases) {
        auto m = rocket(3, 1, 12);
        spoil(*m);
        m->MeshNodeCount = 123;
        m->NoseTipX = 7;
        ScriptedProgress rp;
        const GridReport r = GRID(*m, 300, rp);
        EXPECT_EQ(rp.panels, (std::vector<PanelText>{{2, message}}));
        EXPECT_EQ(std::tuple(r.outcome, m->MeshNodeCount, m->NoseTipX), std::tuple(Outcome::Refused, 123.0, 7.0))
            << message;
    }
}

// A free-form profile drawn on a 20 x 20 grid and meshed at other sizes keeps
// its place behind the nose shoulder; the stored table is not rewritten.
TEST(GridTest, FreeFormProfileFollowsTheNoseShoulder)
{
    auto m = rocket(3, 1, 12);
    ASSERT_EQ(GRID(*m, 0, quiet).outcome, Outcome::Done);
    // Tube of radius 0.5 for 6, then tapering linearly to 0.2 at the base.
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    for (long s = 1; s <= 3; ++s) m->FreeFormBodyX(s) = m->NoseTipX + 3 + 6 * (s - 1);
    m->FreeFormBodyRadius(1) = m->FreeFormBodyRadius(2) = 0.5;
    m->FreeFormBodyRadius(3) = 0.2;
    const auto table = m->FreeFormBodyX;
    for (double n : {20.0, 30.0, 13.0}) {
        setMesh(*m, n);
        ASSERT_EQ(GRID(*m, 0, quiet).outcome, Outcome::Done);
        EXPECT_EQ(m->FreeFormBodyX, table);
        for (long i = 1; i <= static_cast<long>(n); ++i) {
            const double xi = m->GridNodeX(i, 1) - m->NoseTipX;
            const double expected = xi <= 0 ? 0 : xi < 3 ? 0.5 * xi / 3 : xi <= 9 ? 0.5 : 0.5 - 0.3 * (xi - 9) / 6;
            EXPECT_NEAR(m->GridNodeRadius(i, 1), expected, 1e-9) << n << " station " << i;
        }
    }
}

} // namespace
} // namespace velmora
