#include <gtest/gtest.h>

#include <cmath>

#include "model/Module1.h"
#include "bodyflow/Grid.h"

namespace velmora {
namespace {

class RecordingProgress : public Progress {
public:
    void status(int panel, const std::string& text) override { panels.push_back({panel, text}); }
    std::vector<std::pair<int, std::string>> panels;
};

std::unique_ptr<Module1> rocket(double nose, double diameter, double tube, const char* shape = "CONICAL")
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseConeLength = nose;
    m->NoseConeDiameter = diameter;
    m->BodyTubeLength = tube;
    m->NoseShapeName = shape;
    return m;
}

void setMesh(Module1& m, double n)
{
    m.MeshSizeUserSet = 1;
    m.MeshAxialNodeCount = m.MeshRadialNodeCount = n;
}

double signedArea(const Module1& m, long e)
{
    const long a = static_cast<long>(m.MeshElementNodes(e, 1));
    const long b = static_cast<long>(m.MeshElementNodes(e, 2));
    const long c = static_cast<long>(m.MeshElementNodes(e, 3));
    return (m.MeshNodeX(b) - m.MeshNodeX(a)) * (m.MeshNodeRadius(c) - m.MeshNodeRadius(a)) -
           (m.MeshNodeX(c) - m.MeshNodeX(a)) * (m.MeshNodeRadius(b) - m.MeshNodeRadius(a));
}

TEST(GridTest, CountsNoseTipAndTriangleOrientation)
{
    NullProgress np;
    auto m = rocket(3, 1, 12, "TANGENT OGIVE");
    m->MeshAxialNodeCount = 37;  // ignored while no size was chosen
    ASSERT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
    EXPECT_EQ(m->MeshNodeCount, 400);
    EXPECT_EQ(m->MeshElementCount, 722);
    EXPECT_DOUBLE_EQ(m->NoseTipX, 2 * 15.0 / 17);
    EXPECT_EQ(m->GridNodeX(3, 1), m->NoseTipX);
    EXPECT_NEAR(m->GridNodeX(20, 9), m->DomainLength, 1e-12);
    EXPECT_EQ(m->MeshNodeRadius(7 * 20 + 4), m->GridNodeRadius(8, 4));  // node (I - 1) M + J

    for (auto [n, triangles] : {std::pair{30, 1682}, std::pair{50, 4802}, std::pair{10, 162}}) {
        for (const char* shape : {"CONICAL", "TANGENT OGIVE", "SEARS-HAACK", "ELLIPTICAL", "PARABOLIC"}) {
            auto g = rocket(3, 1, 12, shape);
            g->TransitionLength = 1.5;
            g->TransitionDiameter = 0.7;
            g->BaseTubeLength = 2;
            setMesh(*g, n);
            ASSERT_EQ(GRID(*g, 0, np).outcome, Outcome::Done);
            EXPECT_EQ(g->MeshElementCount, triangles);
            // Cell (I, J) = (5, 3) gives triangles 2c - 1 and 2c, c = (J - 1)(N - 1) + I.
            const long c = 2 * (n - 1) + 5;
            EXPECT_EQ(g->MeshElementNodes(2 * c - 1, 1), 4 * n + 3);
            EXPECT_EQ(g->MeshElementNodes(2 * c, 2), 5 * n + 4);
            for (long e = 1; e <= triangles; ++e) ASSERT_GT(signedArea(*g, e), 0.0) << shape << n << " " << e;
            for (long i = 1; i <= n; ++i) ASSERT_NEAR(g->GridNodeRadius(i, n), g->DomainHeight, 1e-6 * g->DomainHeight);
        }
    }
}

// Nose 4, diameter 2, tube 12, N = 19: DX = 1, tip at x = 2, half the nose at station 5.
TEST(GridTest, NoseProfilesAtHalfTheNoseLength)
{
    NullProgress np;
    const std::pair<const char*, double> cases[] = {
        {"CONICAL", 0.5}, {"TANGENT OGIVE", 0.75}, {"SEARS-HAACK", std::pow(0.5, 0.75)},
        {"ELLIPTICAL", std::sqrt(0.75)}, {"PARABOLIC", std::sqrt(0.5)},
    };
    for (auto [shape, fraction] : cases) {
        auto m = rocket(4, 2, 12, shape);
        setMesh(*m, 19);
        ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
        ASSERT_EQ(m->GridNodeX(5, 1), 4.0);
        EXPECT_NEAR(m->GridNodeRadius(5, 1), fraction, 1e-12) << shape;
    }
}

// Nose 2, tube 4, transition 2 to diameter 0.5, base tube 2, N = 13: DX = 1,
// tip 2, shoulder 4, transition 8..10, base 12.
TEST(GridTest, StationsOnSegmentEnds)
{
    NullProgress np;
    auto m = rocket(2, 1, 4, "ELLIPTICAL");
    m->TransitionLength = 2;
    m->TransitionDiameter = 0.5;
    m->BaseTubeLength = 2;
    setMesh(*m, 13);
    const GridReport r = GRID(*m, 0, np);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_TRUE(r.effects.empty());
    EXPECT_EQ(m->GridNodeRadius(5, 1), 0.5);            // on the shoulder: tube radius
    EXPECT_EQ(m->GridNodeRadius(9, 1), 0.5);            // on the end of the tube
    EXPECT_NEAR(m->GridNodeRadius(10, 1), 0.375, 1e-12);
    EXPECT_EQ(m->GridNodeRadius(13, 1), 0.25);          // base tube
    EXPECT_EQ(m->DomainLength, 12.0);
}

TEST(GridTest, TransitionCasesAndWindowEffects)
{
    NullProgress np;
    // A transition closing to radius 0: no base tube, the box is emptied
    // (its handler runs with the length already cut).
    auto m = rocket(2, 1, 4);
    m->TransitionLength = 2;
    m->BaseTubeLength = 3;
    setMesh(*m, 11);
    std::vector<GridEffect> seen;
    const GridReport r = GRID(*m, 0, np, [&](GridEffect e) {
        seen.push_back(e);
        EXPECT_EQ(m->BaseTubeLength, 0.0);
    });
    const std::vector<GridEffect> expected{GridEffect::EmptyBaseTubeLengthBox, GridEffect::HideMainNoMeshOverlay};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(m->DomainLength, 10.0);
    EXPECT_NEAR(m->GridNodeRadius(11, 1), 0.0, 1e-12);

    // A diameter without a length: the tube radius runs to the base, the kept
    // base tube still counting in the domain.
    m = rocket(2, 1, 4);
    m->TransitionDiameter = 0.6;
    m->BaseTubeLength = 2;
    setMesh(*m, 11);
    EXPECT_EQ(GRID(*m, 0, np).effects, std::vector<GridEffect>{GridEffect::HideMainNoMeshOverlay});
    EXPECT_EQ(m->DomainLength, 10.0);
    for (long i = 5; i <= 11; ++i) EXPECT_EQ(m->GridNodeRadius(i, 1), 0.5) << i;
}

TEST(GridTest, RefusesBadInputWithoutTouchingTheGrid)
{
    const std::pair<void (*)(Module1&), const char*> cases[] = {
        {[](Module1& m) { setMesh(m, 20.5); }, kMsgMeshSizeRange},
        {[](Module1& m) { setMesh(m, 20); m.MeshRadialNodeCount = 400; }, kMsgMeshSizeRange},
        {[](Module1& m) { m.NoseConeLength = 0; }, "Please enter nose cone length."},
        {[](Module1& m) { m.NoseConeLength = std::nan(""); }, kMsgBadDimension},
        {[](Module1& m) { m.TransitionLength = -1; }, kMsgBadDimension},
        {[](Module1& m) { m.NoseShapeName = ""; }, kMsgUnknownNoseShape},
        {[](Module1& m) { m.DomainAspectRatio = 0; }, kMsgBadGeometryData},
        {[](Module1& m) { m.ActiveBodyGeometry = 1; m.FreeFormPointCount = 25; }, kMsgBadGeometryData},
    };
    for (auto [spoil, message] : cases) {
        auto m = rocket(3, 1, 12);
        spoil(*m);
        m->MeshNodeCount = 123;
        m->NoseTipX = 7;
        RecordingProgress rp;
        const GridReport r = GRID(*m, 300, rp);
        EXPECT_EQ(r.outcome, Outcome::Refused) << message;
        EXPECT_EQ(rp.panels, (std::vector<std::pair<int, std::string>>{{2, message}}));
        EXPECT_EQ(m->MeshNodeCount, 123) << message;
        EXPECT_EQ(m->NoseTipX, 7) << message;
    }
    // A diameter beyond the single-precision tables fails the grid.
    auto m = rocket(3, 1e39, 12);
    RecordingProgress rp;
    EXPECT_EQ(GRID(*m, 300, rp).outcome, Outcome::Failed);
    EXPECT_EQ(rp.panels, (std::vector<std::pair<int, std::string>>{{2, kMsgBadGeometryData}}));
}

// A free-form profile drawn on a 20 x 20 grid and meshed at other sizes keeps
// its place behind the nose shoulder; the stored table is not rewritten.
TEST(GridTest, FreeFormProfileFollowsTheNoseShoulder)
{
    NullProgress np;
    auto m = rocket(3, 1, 12);
    ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
    // Tube of radius 0.5 for 6, then tapering linearly to 0.2 at the base.
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    for (long s = 1; s <= 3; ++s) m->FreeFormBodyX(s) = m->NoseTipX + 3 + 6 * (s - 1);
    m->FreeFormBodyRadius(1) = m->FreeFormBodyRadius(2) = 0.5;
    m->FreeFormBodyRadius(3) = 0.2;
    const auto table = m->FreeFormBodyX;
    for (double n : {20.0, 30.0, 13.0}) {
        setMesh(*m, n);
        ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
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
