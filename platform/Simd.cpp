#include "platform/Simd.h"

namespace velmora {

namespace {

SimdLevel detect()
{
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f")) return SimdLevel::Avx512;
    if (__builtin_cpu_supports("avx2")) return SimdLevel::Avx2;
#endif
    return SimdLevel::Sse2;
}

SimdLevel& current()
{
    static SimdLevel level = simdAvailable();
    return level;
}

} // namespace

SimdLevel simdAvailable()
{
    static const SimdLevel available = detect();
    return available;
}

SimdLevel simdLevel() { return current(); }

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
namespace {
__attribute__((target("avx"))) void zeroUpper() { __builtin_ia32_vzeroupper(); }
} // namespace

void clearUpperVectorState()
{
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (avx) zeroUpper();
}
#else
void clearUpperVectorState() {}
#endif

SimdLevel setSimdLevel(SimdLevel wanted)
{
    current() = wanted <= simdAvailable() ? wanted : simdAvailable();
    return current();
}

} // namespace velmora
