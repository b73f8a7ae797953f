#include "platform/Single.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <utility>

namespace velmora {
namespace {

// Computed values beyond the single range are a failure; typed ones read as 0.
TEST(SingleStore, CheckedForComputedValuesLenientForTypedOnes)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, float> fit[] = {
        {FLT_MAX, FLT_MAX}, {-static_cast<double>(FLT_MAX), -FLT_MAX}, {0.1, 0.1f}, {-2.5, -2.5f}};
    for (auto [value, rounded] : fit) {
        EXPECT_EQ(toSingle(value), rounded) << value;
        EXPECT_EQ(singleOrZero(value), rounded) << value;
    }
    // 3.5e38 lies just beyond FLT_MAX (3.40282e38).
    for (double value : {1e39, -1e39, 3.5e38, std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
        EXPECT_THROW(toSingle(value), MathFailure) << value;
        EXPECT_EQ(singleOrZero(value), 0.0f) << value;
    }
}

} // namespace
} // namespace velmora
