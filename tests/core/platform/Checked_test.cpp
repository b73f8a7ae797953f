#include "platform/Arrays.h"
#include "platform/Checked.h"

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

} // namespace
} // namespace velmora
