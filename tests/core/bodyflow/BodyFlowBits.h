#pragma once
// Helpers of the bit-identity tests of the body-flow kernels: a run at one vector level, a bitwise comparison and a
// gridded rocket.
#include <cstring>
#include <memory>
#include <vector>

#include "bodyflow/Gauss.h"
#include "bodyflow/Grid.h"
#include "platform/Simd.h"
#include "tests/core/Rockets.h"

namespace velmora::testing {

// Runs f at one level, GAUSS in that level's own form, and puts the level
// and GAUSS's own choice back afterwards.
template <class F>
auto atLevel(SimdLevel level, F&& f)
{
    const SimdLevel before = simdLevel();
    setSimdLevel(level);
    setGaussForm(level == SimdLevel::Avx512 ? GaussForm::Avx512
                 : level == SimdLevel::Avx2 ? GaussForm::Avx2
                                            : GaussForm::Sse2);
    auto result = f();
    setGaussForm(std::nullopt);
    setSimdLevel(before);
    return result;
}

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

// The typical rocket on its grid.
inline std::unique_ptr<Module1> rocket(double mesh, int meridians)
{
    auto m = typicalRocket(mesh, meridians);
    NullProgress quiet;
    GRID(*m, 300, quiet);
    return m;
}

} // namespace velmora::testing
