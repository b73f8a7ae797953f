#include "platform/Simd.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

TEST(SimdPaths, LevelNeverExceedsTheProcessor)
{
    const SimdLevel before = simdLevel();
    EXPECT_EQ(setSimdLevel(SimdLevel::Sse2), SimdLevel::Sse2);
    for (SimdLevel wanted : {SimdLevel::Avx2, SimdLevel::Avx512})
        EXPECT_EQ(setSimdLevel(wanted), std::min(wanted, simdAvailable())) << static_cast<int>(wanted);
    setSimdLevel(before);
}

} // namespace
} // namespace velmora
