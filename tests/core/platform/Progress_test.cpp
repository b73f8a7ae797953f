#include "platform/Progress.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velmora {
namespace {

TEST(Progress, PumpsOnlyWhenTheIntervalHasPassed)
{
    struct Counting : Progress {
        void pumpEvents() override { ++pumps; }
        int pumps = 0;
    } p;
    EXPECT_FALSE(p.maybePump());  // no interval: never
    p.setPumpInterval(std::chrono::hours(1));
    EXPECT_FALSE(p.maybePump());  // an hour has not passed since it was made
    p.setPumpInterval(Progress::Clock::duration::zero());
    EXPECT_TRUE(p.maybePump());
    p.pumpNow();
    EXPECT_EQ(p.pumps, 2);
}

} // namespace
} // namespace velmora
