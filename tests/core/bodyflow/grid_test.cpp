#include <gtest/gtest.h>

#include <cmath>

#include "app/Module1.h"
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
    m.MeshAxialNodeCount = n;
    m.MeshRadialNodeCount = n;
}

double signedArea(const Module1& m, long e)
{
    const long a = static_cast<long>(m.MeshElementNodes(e, 1));
    const long b = static_cast<long>(m.MeshElementNodes(e, 2));
    const long c = static_cast<long>(m.MeshElementNodes(e, 3));
    return 0.5 * ((m.MeshNodeX(b) - m.MeshNodeX(a)) * (m.MeshNodeRadius(c) - m.MeshNodeRadius(a)) -
                  (m.MeshNodeX(c) - m.MeshNodeX(a)) * (m.MeshNodeRadius(b) - m.MeshNodeRadius(a)));
}

TEST(GridTest, MeshSizesGiveNodeAndTriangleCounts)
{
    NullProgress np;
    auto m = rocket(3, 1, 12);
    m->MeshAxialNodeCount = 37;  // ignored while no size was chosen
    m->MeshRadialNodeCount = 41;
    ASSERT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
    EXPECT_EQ(m->MeshAxialNodeCount, 20);
    EXPECT_EQ(m->MeshNodeCount, 400);
    EXPECT_EQ(m->MeshElementCount, 722);

    for (auto [n, triangles] : {std::pair{30, 1682}, std::pair{50, 4802}, std::pair{10, 162}}) {
        setMesh(*m, n);
        ASSERT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
        EXPECT_EQ(m->MeshNodeCount, n * n);
        EXPECT_EQ(m->MeshElementCount, triangles);
        // Cell (I, J) gives triangles 2c - 1 and 2c, c = (J - 1)(N - 1) + I.
        const long c = (3 - 1) * (n - 1) + 5;
        EXPECT_EQ(m->MeshElementNodes(2 * c - 1, 1), (5 - 1) * n + 3);
        EXPECT_EQ(m->MeshElementNodes(2 * c, 2), (6 - 1) * n + 4);
    }
}

TEST(GridTest, DomainNoseTipAndNodeTables)
{
    NullProgress np;
    auto m = rocket(3, 1, 12, "TANGENT OGIVE");
    ASSERT_EQ(GRID(*m, 300, np).outcome, Outcome::Done);
    const double dx = 15.0 / 17.0;
    EXPECT_DOUBLE_EQ(m->NoseTipX, 2 * dx);
    EXPECT_EQ(m->GridNodeX(3, 1), m->NoseTipX);
    EXPECT_EQ(m->GridNodeRadius(3, 1), 0.0);
    EXPECT_NEAR(m->DomainLength, 19 * dx, 1e-12);
    EXPECT_NEAR(m->GridNodeX(20, 7), m->DomainLength, 1e-12);
    EXPECT_DOUBLE_EQ(m->DomainHeight, m->DomainLength / 2.0);
    for (long i = 1; i <= 20; ++i) EXPECT_NEAR(m->GridNodeRadius(i, 20), m->DomainHeight, 1e-5 * m->DomainHeight);
    // Node K = (I - 1) M + J; centroids are the corner means.
    EXPECT_EQ(m->MeshNodeX(7 * 20 + 4), m->GridNodeX(8, 4));
    EXPECT_EQ(m->MeshNodeRadius(7 * 20 + 4), m->GridNodeRadius(8, 4));
    EXPECT_DOUBLE_EQ(m->ElementCentroidX(1), (2 * m->GridNodeX(1, 1) + m->GridNodeX(2, 1)) / 3);
    EXPECT_FLOAT_EQ(m->ElementCentroidRadius(2),
                    static_cast<float>((m->GridNodeRadius(2, 1) + m->GridNodeRadius(2, 2) + m->GridNodeRadius(1, 2)) / 3));
}

TEST(GridTest, EveryTriangleHasPositiveArea)
{
    NullProgress np;
    for (const char* shape : {"CONICAL", "TANGENT OGIVE", "SEARS-HAACK", "ELLIPTICAL", "PARABOLIC"}) {
        for (double n : {10.0, 23.0, 50.0}) {
            auto m = rocket(3, 1, 12, shape);
            m->TransitionLength = 1.5;
            m->TransitionDiameter = 0.7;
            m->BaseTubeLength = 2;
            setMesh(*m, n);
            ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
            for (long e = 1; e <= static_cast<long>(m->MeshElementCount); ++e)
                ASSERT_GT(signedArea(*m, e), 0.0) << shape << " N=" << n << " triangle " << e;
        }
    }
}

// Nose 4, tube 12, N = 19: DX = 1, tip at x = 2, half the nose at station 5.
TEST(GridTest, NoseProfilesAtHalfTheNoseLength)
{
    NullProgress np;
    const struct {
        const char* shape;
        double fraction;  // of the tube radius at xi = Ln / 2
    } cases[] = {
        {"CONICAL", 0.5},
        {"TANGENT OGIVE", 0.75},
        {"SEARS-HAACK", std::pow(0.5, 0.75)},
        {"ELLIPTICAL", std::sqrt(0.75)},
        {"PARABOLIC", std::sqrt(0.5)},
    };
    for (const auto& c : cases) {
        auto m = rocket(4, 2, 12, c.shape);
        setMesh(*m, 19);
        ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
        ASSERT_EQ(m->GridNodeX(5, 1), 4.0);
        EXPECT_NEAR(m->GridNodeRadius(5, 1), c.fraction * 1.0, 1e-12) << c.shape;
    }
    auto m = rocket(4, 2, 12, "SEARS-HAACK");
    m->SearsHaackExponent = 2.0f;
    setMesh(*m, 19);
    ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
    EXPECT_NEAR(m->GridNodeRadius(5, 1), std::pow(0.75, 0.75), 1e-12);
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
    GridReport r = GRID(*m, 0, np);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_TRUE(r.effects.empty());
    EXPECT_EQ(m->BaseTubeDiameter, 0.5f);
    EXPECT_EQ(m->GridNodeX(3, 1), 2.0);
    EXPECT_EQ(m->GridNodeRadius(3, 1), 0.0);      // on the tip
    EXPECT_EQ(m->GridNodeX(5, 1), 4.0);
    EXPECT_EQ(m->GridNodeRadius(5, 1), 0.5);      // on the shoulder: tube radius
    EXPECT_EQ(m->GridNodeRadius(9, 1), 0.5);      // on the end of the tube
    EXPECT_NEAR(m->GridNodeRadius(10, 1), 0.375, 1e-12);
    EXPECT_NEAR(m->GridNodeRadius(11, 1), 0.25, 1e-12);  // on the end of the transition
    EXPECT_EQ(m->GridNodeRadius(12, 1), 0.25);    // base tube
    EXPECT_EQ(m->GridNodeRadius(13, 1), 0.25);
    EXPECT_EQ(m->DomainLength, 12.0);
}

TEST(GridTest, TransitionCasesAndWindowEffects)
{
    NullProgress np;
    // A transition closing to radius 0: no base tube, the box is emptied.
    auto m = rocket(2, 1, 4);
    m->TransitionLength = 2;
    m->TransitionDiameter = 0;
    m->BaseTubeLength = 3;
    setMesh(*m, 11);
    std::vector<GridEffect> seen;
    GridReport r = GRID(*m, 0, np, [&](GridEffect e) {
        seen.push_back(e);
        EXPECT_EQ(m->BaseTubeLength, 0.0);  // already cut when the box handler runs
    });
    ASSERT_EQ(r.outcome, Outcome::Done);
    const std::vector<GridEffect> expected{GridEffect::EmptyBaseTubeLengthBox, GridEffect::HideMainNoMeshOverlay};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(r.effects, expected);
    EXPECT_EQ(m->BaseTubeDiameter, 1.0f);
    EXPECT_EQ(m->DomainLength, 10.0);  // DX = 1
    EXPECT_NEAR(m->GridNodeRadius(11, 1), 0.0, 1e-12);

    // A diameter without a length: the tube radius runs to the base, the kept
    // base tube still counting in the domain.
    m = rocket(2, 1, 4);
    m->TransitionDiameter = 0.6;
    m->BaseTubeLength = 2;
    setMesh(*m, 11);
    r = GRID(*m, 0, np);
    ASSERT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(r.effects, std::vector<GridEffect>{GridEffect::HideMainNoMeshOverlay});
    EXPECT_EQ(m->BaseTubeLength, 2.0);
    EXPECT_NEAR(m->DomainLength, 2 * 1.0 + 8.0, 1e-12);
    for (long i = 5; i <= 11; ++i) EXPECT_EQ(m->GridNodeRadius(i, 1), 0.5) << i;
}

TEST(GridTest, RefusesBadInputWithoutTouchingTheGrid)
{
    struct Case {
        const char* what;
        void (*spoil)(Module1&);
        const char* message;
    };
    const Case cases[] = {
        {"mesh 9", [](Module1& m) { setMesh(m, 9); }, kMsgMeshSizeRange},
        {"mesh 51", [](Module1& m) { setMesh(m, 51); }, kMsgMeshSizeRange},
        {"mesh 20.5", [](Module1& m) { setMesh(m, 20.5); }, kMsgMeshSizeRange},
        {"radial 400", [](Module1& m) { setMesh(m, 20); m.MeshRadialNodeCount = 400; }, kMsgMeshSizeRange},
        {"nose 0", [](Module1& m) { m.NoseConeLength = 0; }, kMsgEnterNoseLength},
        {"diameter 0", [](Module1& m) { m.NoseConeDiameter = 0; }, kMsgEnterNoseDiameter},
        {"tube 0", [](Module1& m) { m.BodyTubeLength = 0; }, kMsgEnterBodyTubeLength},
        {"nose NaN", [](Module1& m) { m.NoseConeLength = std::nan(""); }, kMsgBadDimension},
        {"tube inf", [](Module1& m) { m.BodyTubeLength = INFINITY; }, kMsgBadDimension},
        {"negative diameter", [](Module1& m) { m.NoseConeDiameter = -1; }, kMsgBadDimension},
        {"negative transition", [](Module1& m) { m.TransitionLength = -1; }, kMsgBadDimension},
        {"negative base", [](Module1& m) { m.BaseTubeLength = -0.5; }, kMsgBadDimension},
        {"no nose shape", [](Module1& m) { m.NoseShapeName = ""; }, kMsgUnknownNoseShape},
        {"exponent 0", [](Module1& m) { m.NoseShapeName = "SEARS-HAACK"; m.SearsHaackExponent = 0; }, kMsgBadGeometryData},
        {"aspect 0", [](Module1& m) { m.DomainAspectRatio = 0; }, kMsgBadGeometryData},
        {"free-form 25 points", [](Module1& m) { m.ActiveBodyGeometry = 1; m.FreeFormPointCount = 25; }, kMsgBadGeometryData},
        {"free-form NaN", [](Module1& m) {
             m.ActiveBodyGeometry = 1; m.FreeFormPointCount = 2;
             m.FreeFormBodyX(1) = 5; m.FreeFormBodyX(2) = NAN; }, kMsgBadGeometryData},
    };
    for (const auto& c : cases) {
        auto m = rocket(3, 1, 12);
        c.spoil(*m);
        m->MeshNodeCount = 123;
        m->NoseTipX = 7;
        m->GridNodeX(2, 1) = 42;
        RecordingProgress rp;
        GridReport r = GRID(*m, 300, rp);
        EXPECT_EQ(r.outcome, Outcome::Refused) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        ASSERT_EQ(rp.panels.size(), 1u) << c.what;
        EXPECT_EQ(rp.panels[0], (std::pair<int, std::string>{2, c.message})) << c.what;
        EXPECT_EQ(m->MeshNodeCount, 123) << c.what;
        EXPECT_EQ(m->NoseTipX, 7) << c.what;
        EXPECT_EQ(m->GridNodeX(2, 1), 42) << c.what;
    }
}

// A free-form profile drawn at 20 x 20 and meshed at 30 x 30 keeps its place
// behind the nose shoulder; the stored table is not rewritten.
TEST(GridTest, FreeFormProfileFollowsTheNoseShoulder)
{
    NullProgress np;
    auto m = rocket(3, 1, 12);
    ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
    const double tipMade = m->NoseTipX;
    // Tube of radius 0.5 for 6, then tapering linearly to 0.2 at the base.
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    m->FreeFormBodyX(1) = tipMade + 3;
    m->FreeFormBodyX(2) = tipMade + 9;
    m->FreeFormBodyX(3) = tipMade + 15;
    m->FreeFormBodyRadius(1) = 0.5;
    m->FreeFormBodyRadius(2) = 0.5;
    m->FreeFormBodyRadius(3) = 0.2;
    const auto tableBefore = m->FreeFormBodyX;

    for (double n : {20.0, 30.0, 13.0 + 0.0}) {
        setMesh(*m, n);
        ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
        EXPECT_EQ(m->FreeFormBodyX, tableBefore);
        const long N = static_cast<long>(n);
        const double tip = m->NoseTipX;
        for (long i = 1; i <= N; ++i) {
            const double xi = m->GridNodeX(i, 1) - tip;  // distance behind the tip
            double expected;
            if (xi <= 0) expected = 0;
            else if (xi < 3) expected = 0.5 * xi / 3;
            else if (xi <= 9) expected = 0.5;
            else expected = 0.5 - 0.3 * (xi - 9) / 6;
            EXPECT_NEAR(m->GridNodeRadius(i, 1), expected, 1e-9) << "N=" << n << " station " << i;
        }
        EXPECT_EQ(m->GridNodeRadius(N, 1), 0.2);
    }
}

TEST(GridTest, FreeFormCoincidentPointsAreSkipped)
{
    NullProgress np;
    auto m = rocket(3, 1, 12);
    setMesh(*m, 18);  // DX = 1, tip 2, shoulder 5
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 3;
    // Made with the same tip; two coincident points must not divide by zero.
    m->FreeFormBodyX(1) = 5;
    m->FreeFormBodyX(2) = 5;
    m->FreeFormBodyX(3) = 17;
    m->FreeFormBodyRadius(1) = 0.5;
    m->FreeFormBodyRadius(2) = 0.4;
    m->FreeFormBodyRadius(3) = 0.4;
    ASSERT_EQ(GRID(*m, 0, np).outcome, Outcome::Done);
    EXPECT_EQ(m->NoseTipX, 2.0);
    EXPECT_NEAR(m->GridNodeRadius(5, 1), 0.5 * 2 / 3, 1e-12);  // nose
    EXPECT_NEAR(m->GridNodeRadius(6, 1), 0.4, 1e-12);  // shoulder: the later segment wins
    EXPECT_NEAR(m->GridNodeRadius(12, 1), 0.4, 1e-12);
    EXPECT_EQ(m->GridNodeRadius(18, 1), 0.4);
}

} // namespace
} // namespace velmora
