#include "model/InputRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmora {
namespace {

// 0 means "not entered" and passes; otherwise a size lies from 1e-6 (as a single store holds it) to 1e6. A value
// without a number never passes, and the first size out of range names the refusal.
TEST(InputRange, SizesAndTheFirstRefusal)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, 1e-6, static_cast<double>(static_cast<float>(1e-6)), 1.0, 1e6})
        EXPECT_TRUE(sizeInRange(v)) << v;
    for (double v : {-1e-6, 9e-7, 1e6 + 1, inf, -inf, std::nan("")}) EXPECT_FALSE(sizeInRange(v)) << v;

    const NamedSize good[] = {{"length", 3}, {"diameter", 0}};
    const NamedSize bad[] = {{"length", 3}, {"diameter", -1}, {"span", std::nan("")}};
    EXPECT_EQ(firstSizeOutOfRange(good), nullptr);
    EXPECT_STREQ(firstSizeOutOfRange(bad), "diameter");
}

} // namespace
} // namespace velmora
