#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/Module1.h"
#include "bodyflow/Grid.h"
#include "geometry/FreeFormModel.h"

namespace velmora {
namespace {

// The design-size drawing area with a 20-long tube of diameter 2: the nose
// radius lies at y0 = 6675 - 6675 * 1 / 20 = 6341.25.
constexpr FreeFormFrame kDesign{9615, 6675, 20, 2};
constexpr double kY0 = 6341.25;

FreeFormModel flat(int16_t n, const FreeFormFrame& f = kDesign)
{
    FreeFormModel m;
    EXPECT_EQ(m.layOutFlat(f, n), FreeFormStatus::Ok);
    return m;
}

TEST(FreeFormModelTest, FlatLayoutSpacesThePointsEvenlyAtTheNoseRadius)
{
    EXPECT_DOUBLE_EQ(FreeFormModel::noseRadiusY(kDesign), kY0);
    const FreeFormModel four = flat(4);
    const double xs[] = {0, 0, 3205, 6410, 9615};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(four.x(i), xs[i]) << i;
        EXPECT_DOUBLE_EQ(four.y(i), kY0) << i;
    }
    EXPECT_EQ(four.scaleWidth(), 9615);
    EXPECT_EQ(four.scaleHeight(), 6675);

    const FreeFormModel two = flat(2);
    EXPECT_EQ(two.x(1), 0);
    EXPECT_EQ(two.x(2), 9615);

    const FreeFormModel twenty = flat(20);
    for (int i = 1; i <= 20; ++i) EXPECT_DOUBLE_EQ(twenty.x(i), 9615.0 * (i - 1) / 19) << i;
    EXPECT_EQ(twenty.x(20), 9615);
    EXPECT_EQ(twenty.profile().size(), 19u);
}

TEST(FreeFormModelTest, StraightTubeConvertsToTheNoseRadiusEverywhere)
{
    FreeFormModel m = flat(4);
    FreeFormBodyTable t;
    ASSERT_EQ(m.convert(kDesign, 0.5, 3, t), FreeFormStatus::Ok);
    EXPECT_EQ(t.count, 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(t.x[static_cast<std::size_t>(i)], 3.5 + 20.0 * (i - 1) / 3) << i;
        EXPECT_DOUBLE_EQ(t.radius[static_cast<std::size_t>(i)], 1.0) << i;
    }
    EXPECT_EQ(t.x[1], 3.5);   // the profile starts exactly on the nose shoulder
    EXPECT_EQ(t.x[4], 23.5);
    EXPECT_FLOAT_EQ(t.baseRadius, 1.0f);
}

TEST(FreeFormModelTest, BandLimitsAndTheirRounding)
{
    EXPECT_EQ(FreeFormModel::bandLeft(9615, 4, 2), 1602.5);
    EXPECT_EQ(FreeFormModel::bandRight(9615, 4, 2), 4808);  // 4807.5 -> even
    EXPECT_EQ(FreeFormModel::bandLeft(9615, 4, 3), 4807.5);
    EXPECT_EQ(FreeFormModel::bandRight(9615, 4, 3), 8012);  // 8012.5 -> even
    EXPECT_EQ(FreeFormModel::bandRight(9615, 4, 4), 11218); // 11217.5 -> even
    // Wider than a 16-bit number can hold still rounds.
    EXPECT_EQ(FreeFormModel::bandRight(60000, 2, 2), 90000);
}

TEST(FreeFormModelTest, CatchBoxIsStrictAndOnlyTheLeftButtonAloneCatches)
{
    FreeFormModel m = flat(4);
    const FreeFormModel before = m;
    // On the edges of the 600 x 600 box nothing is caught.
    EXPECT_TRUE(m.drag(kDesign, 1, 3205 + 300, kY0).empty());
    EXPECT_TRUE(m.drag(kDesign, 1, 3205 - 300, kY0).empty());
    EXPECT_TRUE(m.drag(kDesign, 1, 3205, kY0 - 300).empty());
    EXPECT_TRUE(m.drag(kDesign, 1, 3205, kY0 + 300).empty());
    // Right, middle, and left with right together move nothing.
    EXPECT_TRUE(m.drag(kDesign, 2, 3205, kY0 - 100).empty());
    EXPECT_TRUE(m.drag(kDesign, 4, 3205, kY0 - 100).empty());
    EXPECT_TRUE(m.drag(kDesign, 3, 3205, kY0 - 100).empty());
    EXPECT_EQ(m, before);

    // Just inside: the point follows the pointer, inside its band also sideways.
    EXPECT_EQ(m.drag(kDesign, 1, 3205 + 299.5f, kY0 - 299.5f), std::vector<int>{2});
    EXPECT_DOUBLE_EQ(m.x(2), 3504.5);
    EXPECT_DOUBLE_EQ(m.y(2), kY0 - 299.5);
}

TEST(FreeFormModelTest, PointOneNeverMovesAndTheLastStaysOnTheRightEdge)
{
    FreeFormModel m = flat(4);
    EXPECT_TRUE(m.drag(kDesign, 1, 50, kY0 - 50).empty());
    EXPECT_EQ(m.x(1), 0);
    EXPECT_EQ(m.y(1), kY0);

    // The last point dragged left and up keeps x = W.
    EXPECT_EQ(m.drag(kDesign, 1, 9615 - 200, kY0 - 200), std::vector<int>{4});
    EXPECT_EQ(m.x(4), 9615);
    EXPECT_DOUBLE_EQ(m.y(4), kY0 - 200);
}

TEST(FreeFormModelTest, SidewaysOnlyInsideTheBandAndNeverAboveTheTopLimit)
{
    FreeFormModel m = flat(4);
    // Walk point 2 to the right edge of its band (right limit 4808).
    float x = 3205;
    while (x + 250 < 4808) {
        x += 250;
        ASSERT_EQ(m.drag(kDesign, 1, x, kY0), std::vector<int>{2});
    }
    EXPECT_EQ(m.x(2), x);
    // Beyond the band the point still follows vertically but keeps its x.
    ASSERT_EQ(m.drag(kDesign, 1, 4808, kY0 - 100), std::vector<int>{2});
    EXPECT_EQ(m.x(2), x);
    EXPECT_DOUBLE_EQ(m.y(2), kY0 - 100);

    // Upwards the point stops at y = 1925.
    FreeFormModel up = flat(4);
    float y = static_cast<float>(kY0);
    while (y > 2100) {
        y -= 250;
        ASSERT_EQ(up.drag(kDesign, 1, 6410, y), std::vector<int>{3});
    }
    ASSERT_EQ(up.drag(kDesign, 1, 6410, 1800), std::vector<int>{3});
    EXPECT_EQ(up.y(3), 1925);
    // Dragged back down to the bottom edge it reaches radius 0.
    FreeFormModel down = flat(2);
    for (float yy = static_cast<float>(kY0) + 250; yy < 6675; yy += 250) down.drag(kDesign, 1, 9615, yy);
    down.drag(kDesign, 1, 9615, 6675);
    EXPECT_EQ(down.y(2), 6675);
    FreeFormBodyTable t;
    ASSERT_EQ(down.convert(kDesign, 0, 1, t), FreeFormStatus::Ok);
    EXPECT_EQ(t.radius[2], 0.0);
}

TEST(FreeFormModelTest, EveryPointWhoseBoxHoldsThePointerMoves)
{
    // 20 points are 506 twips apart; midway between points 2 and 3 both boxes
    // hold the pointer, and it lies on the band limits, so neither moves sideways.
    FreeFormModel m = flat(20);
    const double x2 = m.x(2), x3 = m.x(3);
    EXPECT_EQ(FreeFormModel::bandRight(9615, 20, 2), 759);
    EXPECT_EQ(m.drag(kDesign, 1, 759, 6100), (std::vector<int>{2, 3}));
    EXPECT_EQ(m.x(2), x2);
    EXPECT_EQ(m.x(3), x3);
    EXPECT_EQ(m.y(2), 6100);
    EXPECT_EQ(m.y(3), 6100);
}

TEST(FreeFormModelTest, PointerOutsideTheDrawingAreaChangesNothing)
{
    FreeFormModel m = flat(4);
    const FreeFormModel before = m;
    for (auto [x, y] : {std::pair{-0.5f, 3000.f}, {9615.5f, 3000.f}, {3205.f, -1.f}, {3205.f, 6675.5f}}) {
        EXPECT_FALSE(FreeFormModel::onDrawingArea(kDesign, x, y));
        EXPECT_TRUE(m.drag(kDesign, 1, x, y).empty());
        EXPECT_TRUE(FreeFormModel::readout(kDesign, x, y).x.empty());
    }
    EXPECT_TRUE(FreeFormModel::onDrawingArea(kDesign, 0, 0));
    EXPECT_TRUE(FreeFormModel::onDrawingArea(kDesign, 9615, 6675));
    EXPECT_EQ(m, before);
}

TEST(FreeFormModelTest, ReadoutsShowTheDiameterAsTwiceTheShownRadius)
{
    const FreeFormReadout r = FreeFormModel::readout(kDesign, 4807.5f, 6262.9656f);
    EXPECT_EQ(r.x, "10.");
    EXPECT_EQ(r.radius, "1.235");  // 1.23456
    EXPECT_EQ(r.diameter, "2.47"); // not 2.469
    const FreeFormReadout corner = FreeFormModel::readout(kDesign, 9615, 0);
    EXPECT_EQ(corner.x, "20.");
    EXPECT_EQ(corner.radius, "20.");
    EXPECT_EQ(corner.diameter, "40.");
}

TEST(FreeFormModelTest, ResizeKeepsEveryRadiusAndRespacesAlongTheAxis)
{
    FreeFormModel m = flat(5);
    m.drag(kDesign, 1, 2404, 6100);           // point 2 up and a little sideways
    m.drag(kDesign, 1, 4807.5f, 6500);        // point 3 down
    m.drag(kDesign, 1, 9615, 6200);           // point 5 up
    FreeFormBodyTable before;
    ASSERT_EQ(m.convert(kDesign, 0, 0, before), FreeFormStatus::Ok);

    const FreeFormFrame taller{9615, 9000, 20, 2};
    ASSERT_EQ(m.respace(taller), FreeFormStatus::Ok);
    EXPECT_EQ(m.scaleHeight(), 9000);
    FreeFormBodyTable after;
    ASSERT_EQ(m.convert(taller, 0, 0, after), FreeFormStatus::Ok);
    for (int i = 1; i <= 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_NEAR(after.radius[k], before.radius[k], 1e-12) << i;
        EXPECT_DOUBLE_EQ(m.x(i), 9615.0 * (i - 1) / 4) << i;  // the sideways drag is gone
    }
    EXPECT_DOUBLE_EQ(m.y(1), 9000 - 9000 * 1.0 / 20);

    // Back to the design height and a wider area: the radii still hold.
    const FreeFormFrame wide{12000, 6675, 20, 2};
    ASSERT_EQ(m.respace(wide), FreeFormStatus::Ok);
    FreeFormBodyTable back;
    ASSERT_EQ(m.convert(wide, 0, 0, back), FreeFormStatus::Ok);
    for (std::size_t k = 1; k <= 5; ++k) EXPECT_NEAR(back.radius[k], before.radius[k], 1e-12) << k;
    EXPECT_EQ(m.x(5), 12000);
}

TEST(FreeFormModelTest, ZeroLengthOrDrawingAreaWritesNothing)
{
    FreeFormModel m = flat(4);
    m.drag(kDesign, 1, 3205, 6000);
    const FreeFormModel before = m;
    FreeFormBodyTable t;
    t.count = 7;
    t.radius[1] = 42;
    const FreeFormBodyTable untouched = t;
    const double inf = std::numeric_limits<double>::infinity();

    struct Case { FreeFormFrame f; FreeFormStatus why; };
    for (const Case& c : {Case{{9615, 6675, 0, 2}, FreeFormStatus::NoLength},
                          Case{{9615, 6675, -3, 2}, FreeFormStatus::NoLength},
                          Case{{9615, 6675, inf, 2}, FreeFormStatus::NoLength},
                          Case{{0, 6675, 20, 2}, FreeFormStatus::NoDrawingArea},
                          Case{{9615, 0, 20, 2}, FreeFormStatus::NoDrawingArea}}) {
        EXPECT_EQ(m.layOutFlat(c.f, 5), c.why);
        EXPECT_EQ(m.respace(c.f), c.why);
        EXPECT_EQ(m.convert(c.f, 0.5, 3, t), c.why);
        m.drag(c.f, 1, 0, 0);
        EXPECT_EQ(m, before);
        EXPECT_EQ(t.count, untouched.count);
        EXPECT_EQ(t.radius, untouched.radius);
    }
    // A body position that is not a number is refused too.
    EXPECT_EQ(m.convert(kDesign, std::nan(""), 3, t), FreeFormStatus::BadValue);
    EXPECT_EQ(t.count, 7);
    // A zero height gives no rulers rather than an endless ruler loop.
    EXPECT_TRUE(FreeFormModel::rulers(9615, 0).empty());
    EXPECT_TRUE(FreeFormModel::rulers(0, 6675).empty());
}

TEST(FreeFormModelTest, CountAndStoredPointsAreChecked)
{
    FreeFormModel m = flat(4);
    EXPECT_EQ(m.layOutFlat(kDesign, 1), FreeFormStatus::BadCount);
    EXPECT_EQ(m.layOutFlat(kDesign, 21), FreeFormStatus::BadCount);
    EXPECT_EQ(m.count(), 4);

    double xs[21] = {0, 0, 4807.5, 9615};
    double ys[21] = {0, 6341.25, 5000, 6000};
    EXPECT_EQ(m.setPoints(21, xs, ys, kDesign), FreeFormStatus::BadCount);
    ys[2] = std::nan("");
    EXPECT_EQ(m.setPoints(3, xs, ys, kDesign), FreeFormStatus::BadValue);
    EXPECT_EQ(m.count(), 4);
    ys[2] = 5000;
    ASSERT_EQ(m.setPoints(3, xs, ys, kDesign), FreeFormStatus::Ok);
    EXPECT_EQ(m.count(), 3);
    EXPECT_EQ(m.x(2), 4807.5);
    EXPECT_EQ(m.y(2), 5000);  // taken as it is, not laid out flat
}

TEST(FreeFormModelTest, RulersDivideTheAreaInTenths)
{
    const auto r = FreeFormModel::rulers(9615, 6675);
    ASSERT_EQ(r.size(), 22u);
    // Verticals start a tenth of the height below the top.
    EXPECT_EQ(r[0].x1, 0);
    EXPECT_EQ(r[0].y1, 667.5);
    EXPECT_EQ(r[0].y2, 6675);
    EXPECT_EQ(r[10].x1, 9615);
    EXPECT_EQ(r[5].x1, 4807.5);
    // Horizontals run across the whole width, from the top to the bottom edge.
    EXPECT_EQ(r[11].y1, 0);
    EXPECT_EQ(r[11].x2, 9615);
    EXPECT_EQ(r[21].y1, 6675);
}

// A shape accepted with the 20 x 20 mesh stays joined to the nose shoulder when
// the mesh size changes and moves the nose tip.
TEST(FreeFormModelTest, AcceptedProfileStaysOnTheNoseShoulderAfterAMeshSizeChange)
{
    auto s = makeModule1();
    setStartupDefaults(*s);
    s->NoseConeLength = 3;
    s->NoseConeDiameter = 1;
    s->BodyTubeLength = 12;
    s->BodyLengthAfterNose = 12;
    s->NoseShapeName = "CONICAL";
    s->MeshSizeUserSet = 1;
    s->MeshAxialNodeCount = s->MeshRadialNodeCount = 20;
    s->NoseTipX = 2 * (3.0 + 12.0) / (20 - 3);  // as the body window sets it

    const FreeFormFrame f{9615, 6675, 12, 1};
    FreeFormModel m = flat(4, f);
    // Taper the last point to radius 0.25: y = 6675 - 6675 * 0.25 / 12.
    const float yEnd = static_cast<float>(6675 - 6675 * 0.25 / 12);
    for (float y = static_cast<float>(m.y(4)); y < yEnd;) {
        y = std::min(y + 250.0f, yEnd);
        ASSERT_EQ(m.drag(f, 1, 9615, y), std::vector<int>{4});
    }
    ASSERT_EQ(m.y(4), yEnd);
    FreeFormBodyTable t;
    ASSERT_EQ(m.respace(f), FreeFormStatus::Ok);
    ASSERT_EQ(m.convert(f, s->NoseTipX, s->NoseConeLength, t), FreeFormStatus::Ok);
    s->ActiveBodyGeometry = 1;
    s->FreeFormPointCount = t.count;
    for (int i = 1; i <= t.count; ++i) {
        s->FreeFormBodyX(i) = t.x[static_cast<std::size_t>(i)];
        s->FreeFormBodyRadius(i) = t.radius[static_cast<std::size_t>(i)];
    }
    s->FreeFormBaseRadius = t.baseRadius;

    // Radius of the drawn profile at distance d behind the nose shoulder.
    auto profile = [&](double d) {
        for (int i = 1; i < t.count; ++i) {
            const double da = 12.0 * (i - 1) / 3, db = 12.0 * i / 3;
            if (d <= db + 1e-9) return t.radius[i] + (d - da) * (t.radius[i + 1] - t.radius[i]) / (db - da);
        }
        return t.radius[static_cast<std::size_t>(t.count)];
    };
    NullProgress np;
    for (double n : {20.0, 30.0, 11.0}) {
        s->MeshAxialNodeCount = s->MeshRadialNodeCount = n;
        ASSERT_EQ(GRID(*s, 0, np).outcome, Outcome::Done) << n;
        const double shoulder = s->NoseTipX + 3;
        for (long i = 1; i <= static_cast<long>(n); ++i) {
            const double x = s->GridNodeX(i, 1);
            if (x < shoulder) continue;
            EXPECT_NEAR(s->GridNodeRadius(i, 1), profile(x - shoulder), 1e-6) << "N=" << n << " station " << i;
        }
    }
}

} // namespace
} // namespace velmora
