#include "platform/Single.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace velmora {
namespace {

TEST(SingleStore, CheckedForComputedValuesLenientForTypedOnes)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        bool fits;      // toSingle rounds it, singleOrZero too
        float rounded;  // the stored value when it fits
    };
    const Case cases[] = {
        {1e39, false, 0},
        {-1e39, false, 0},
        {3.5e38, false, 0},  // just beyond FLT_MAX (3.40282e38)
        {std::numeric_limits<double>::quiet_NaN(), false, 0},
        {inf, false, 0},
        {-inf, false, 0},
        {static_cast<double>(FLT_MAX), true, FLT_MAX},
        {-static_cast<double>(FLT_MAX), true, -FLT_MAX},
        {0.1, true, 0.1f},
        {-2.5, true, -2.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        if (c.fits) {
            EXPECT_EQ(toSingle(c.value), c.rounded);
            EXPECT_EQ(singleOrZero(c.value), c.rounded);
        } else {
            EXPECT_THROW(toSingle(c.value), MathFailure);
            EXPECT_EQ(singleOrZero(c.value), 0.0f);
        }
    }
}

} // namespace
} // namespace velmora
