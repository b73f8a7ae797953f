#include "platform/Arrays.h"
#include "platform/Checked.h"
#include "platform/Single.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace velmora {
namespace {

// Out-of-range indices and operations that would give no number throw.
TEST(Checked, BoundsAndFailuresInsteadOfNumbers)
{
    Array1<double, 20> a;
    a(20) = 1;
    EXPECT_THROW(a(21), std::out_of_range);
    EXPECT_THROW(a(-1), std::out_of_range);
    Array2<float, 5000, 3> t;
    t(5000, 3) = 2;
    EXPECT_THROW(t(5001, 0), std::out_of_range);
    EXPECT_THROW(t(0, 4), std::out_of_range);
    EXPECT_THROW(cdiv(1, 0), MathFailure);
    EXPECT_THROW(clog(0), MathFailure);
    EXPECT_THROW(csqrt(-1e-12), MathFailure);
    EXPECT_THROW(finite(std::numeric_limits<double>::infinity()), MathFailure);
    EXPECT_DOUBLE_EQ(csqrt(0.25), 0.5);
    EXPECT_THROW(cdiv(1e308, 1e-308), MathFailure); // overflow is not a result
}

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
