#include "finpanel/PanelMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

using namespace velmora;
using namespace velmora::finpanel;

namespace {

constexpr double kPiExact = std::numbers::pi;

// The direction angle lies in (-pi/2, 3pi/2]: vertical directions are defined, the zero vector and a value without a
// number are failures.
TEST(PanelMath, ArcTangentRangeVerticalsAndTheZeroVector)
{
    EXPECT_DOUBLE_EQ(ATAN2(1, 1), kPiExact / 4);
    EXPECT_DOUBLE_EQ(ATAN2(1, 0), kPiExact / 2);
    EXPECT_DOUBLE_EQ(ATAN2(-1, 0), -kPiExact / 2);
    EXPECT_DOUBLE_EQ(ATAN2(0, -1), kPiExact);
    EXPECT_DOUBLE_EQ(ATAN2(-1, -1), 5 * kPiExact / 4);  // not -3pi/4
    EXPECT_DOUBLE_EQ(ATAN2(-1, 1), -kPiExact / 4);
    EXPECT_THROW(ATAN2(0, 0), MathFailure);
    EXPECT_THROW(ATAN2(std::nan(""), 1), MathFailure);
    EXPECT_THROW(ATAN2(1, INFINITY), MathFailure);
}

// A due pump with the abort flag set ends the solution; without the flag, or with no flag to read, it only pumps.
TEST(PanelMath, EventsRunAndAnAbortEndsTheSolution)
{
    struct Counting : Progress {
        void pumpEvents() override { ++pumps; }
        int pumps = 0;
    } p;
    p.setPumpInterval(Progress::Clock::duration::zero());
    const std::string yes = AbortFlag::Yes, no = AbortFlag::No;
    EXPECT_FALSE(userAborts(p, &no));
    EXPECT_FALSE(userAborts(p, nullptr));
    EXPECT_TRUE(userAborts(p, &yes));
    EXPECT_EQ(p.pumps, 3);

    Counting idle;  // no interval: never due, so the flag is not read
    EXPECT_FALSE(userAborts(idle, &yes));
    EXPECT_EQ(idle.pumps, 0);
}

} // namespace
