#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "geometry/FreeFormModel.h"

namespace velmora {
namespace {

// The design-size drawing area with a 20-long tube of diameter 2: the nose radius lies at y0 = 6675 - 6675 * 1 / 20.
constexpr FreeFormFrame kDesign{9615, 6675, 20, 2};
constexpr double kY0 = 6341.25;

FreeFormModel flat(int16_t n, const FreeFormFrame& f = kDesign)
{
    FreeFormModel m;
    EXPECT_EQ(m.layOutFlat(f, n).outcome, Outcome::Done);
    return m;
}

// Why an operation was refused, or that it was not.
std::string refusal(const Report& r) { return r.outcome == Outcome::Refused ? r.message : "not refused"; }

TEST(FreeFormModelTest, FlatLayoutConvertsToAStraightTubeOnTheShoulder)
{
    FreeFormModel m = flat(4);
    FreeFormBodyTable t;
    ASSERT_EQ(m.convert(kDesign, 0.5, 3, t).outcome, Outcome::Done);
    const double xs[] = {0, 0, 3205, 6410, 9615};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(m.x(i), xs[i]) << i;
        EXPECT_DOUBLE_EQ(m.y(i), kY0) << i;
        EXPECT_DOUBLE_EQ(t.x[i], 3.5 + 20.0 * (i - 1) / 3) << i;
        EXPECT_DOUBLE_EQ(t.radius[i], 1.0) << i;
    }
    EXPECT_FLOAT_EQ(t.baseRadius, 1.0f);
    EXPECT_EQ(flat(2).x(2), 9615);
    EXPECT_DOUBLE_EQ(flat(20).x(7), 9615.0 * 6 / 19);
}

TEST(FreeFormModelTest, CatchBoxesButtonsDrawingAreaAndReadout)
{
    FreeFormModel m = flat(4);
    const FreeFormModel before = m;
    EXPECT_TRUE(m.drag(kDesign, 1, 3205 + 300, kY0).empty());  // on the box edge
    EXPECT_TRUE(m.drag(kDesign, 1, 3205, kY0 - 300).empty());
    for (int button : {2, 3, 4}) EXPECT_TRUE(m.drag(kDesign, button, 3205, kY0 - 100).empty());
    for (auto [x, y] : {std::pair{-0.5f, 3000.f}, {9615.5f, 3000.f}, {3205.f, -1.f}, {3205.f, 6675.5f}}) {
        EXPECT_TRUE(m.drag(kDesign, 1, x, y).empty());
        EXPECT_TRUE(FreeFormModel::readout(kDesign, x, y).x.empty());
    }
    EXPECT_EQ(m, before);
    EXPECT_EQ(m.drag(kDesign, 1, 3205 + 299.5f, kY0 - 299.5f), std::vector<int>{2});
    EXPECT_DOUBLE_EQ(m.x(2), 3504.5);
    EXPECT_DOUBLE_EQ(m.y(2), kY0 - 299.5);
    // The readout shows the diameter as twice the shown radius.
    const FreeFormReadout r = FreeFormModel::readout(kDesign, 4807.5f, 6262.9656f);
    EXPECT_EQ(std::tuple(r.x, r.radius, r.diameter), std::tuple("10.", "1.235", "2.47"));  // 1.23456, not 2.469

    // 20 points lie 506 apart; midway between points 2 and 3 both move, and
    // the pointer sits on their band limits, so neither moves sideways.
    m = flat(20);
    const double x2 = m.x(2);
    EXPECT_EQ(m.drag(kDesign, 1, 759, 6100), (std::vector<int>{2, 3}));
    EXPECT_EQ(std::tuple(m.x(2), m.y(2), m.y(3)), std::tuple(x2, 6100.0, 6100.0));
}

TEST(FreeFormModelTest, FirstPointFixedLastPinnedBandAndTopClamp)
{
    // The right band limit rounds halves to even.
    EXPECT_EQ(FreeFormModel::bandLeft(9615, 4, 2), 1602.5);
    EXPECT_EQ(FreeFormModel::bandRight(9615, 4, 2), 4808);  // 4807.5
    EXPECT_EQ(FreeFormModel::bandLeft(9615, 4, 3), 4807.5);
    EXPECT_EQ(FreeFormModel::bandRight(9615, 4, 3), 8012);  // 8012.5
    FreeFormModel m = flat(4);
    EXPECT_TRUE(m.drag(kDesign, 1, 50, kY0 - 50).empty());
    EXPECT_EQ(m.drag(kDesign, 1, 9615 - 200, kY0 - 200), std::vector<int>{4});
    EXPECT_EQ(m.x(4), 9615);
    // Point 3 moved to x = 7900 inside its band; a pointer at 8100 lies outside it.
    for (float x = 6650; x <= 7900; x += 250) m.drag(kDesign, 1, x, kY0);
    ASSERT_EQ(m.x(3), 7900);
    EXPECT_EQ(m.drag(kDesign, 1, 8100, kY0 - 250), std::vector<int>{3});
    EXPECT_EQ(std::tuple(m.x(3), m.y(3)), std::tuple(7900.0, kY0 - 250));

    FreeFormModel up = flat(2, {9615, 2100, 20, 2});  // y0 = 1995
    EXPECT_EQ(up.drag({9615, 2100, 20, 2}, 1, 9615, 1800), std::vector<int>{2});
    EXPECT_EQ(up.y(2), 1925);
}

TEST(FreeFormModelTest, ResizeKeepsEveryRadiusAndRespacesAlongTheAxis)
{
    FreeFormModel m = flat(5);
    m.drag(kDesign, 1, 2404, 6100);
    m.drag(kDesign, 1, 4807.5f, 6500);
    m.drag(kDesign, 1, 9615, 6200);
    const FreeFormModel before = m;
    ASSERT_EQ(m.respace({9615, 9000, 20, 2}).outcome, Outcome::Done);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(m.y(i) / 9000, before.y(i) / 6675, 1e-12) << i;  // the same radius
        EXPECT_DOUBLE_EQ(m.x(i), 9615.0 * (i - 1) / 4) << i;  // the sideways drag is gone
    }
}

TEST(FreeFormModelTest, ZeroLengthOrDrawingAreaWritesNothing)
{
    FreeFormModel m = flat(4);
    m.drag(kDesign, 1, 3205, 6100);
    const FreeFormModel before = m;
    FreeFormBodyTable t;
    t.count = 7;
    const std::string noLength = kMsgFreeFormNoLength, noArea = kMsgFreeFormNoDrawingArea;
    for (auto [f, why] : {std::pair{FreeFormFrame{9615, 6675, 0, 2}, noLength},
                          {FreeFormFrame{9615, 6675, INFINITY, 2}, noLength},
                          {FreeFormFrame{0, 6675, 20, 2}, noArea},
                          {FreeFormFrame{9615, 0, 20, 2}, noArea}}) {
        EXPECT_EQ(refusal(m.layOutFlat(f, 5)), why);
        EXPECT_EQ(refusal(m.respace(f)), why);
        EXPECT_EQ(refusal(m.convert(f, 0.5, 3, t)), why);
        m.drag(f, 1, 0, 0);
        EXPECT_EQ(FreeFormModel::rulers(f.width, f.height).empty(), why == noArea);
    }
    EXPECT_EQ(refusal(m.convert(kDesign, NAN, 3, t)), kMsgFreeFormBadValue);
    EXPECT_EQ(refusal(m.layOutFlat(kDesign, 21)), kMsgFreeFormBadCount);
    EXPECT_EQ(m, before);
    EXPECT_EQ(t.count, 7);
}

} // namespace
} // namespace velmora
