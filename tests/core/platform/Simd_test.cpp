#include "platform/Simd.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SimdPaths, LevelNeverExceedsTheProcessor)
{
    const SimdLevel before = simdLevel();
    EXPECT_EQ(setSimdLevel(SimdLevel::Sse2), SimdLevel::Sse2);
    EXPECT_EQ(setSimdLevel(SimdLevel::Avx2), simdAvailable());
    setSimdLevel(before);
}

} // namespace
} // namespace velmora
