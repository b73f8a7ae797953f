#pragma once
// Which vector instructions the numerical kernels use. The program is built
// for baseline x86-64 (SSE2); kernels with an AVX2 form pick it at run time
// when the processor has it; the elimination has an AVX-512 form too, which
// it runs where that is the faster one (gaussForm). Every form gives the
// same bits: the same operations in the same order, multiply and add kept
// apart.
namespace velmora {

// Each level includes the ones before it.
enum class SimdLevel { Sse2, Avx2, Avx512 };

// The best level this processor offers.
SimdLevel simdAvailable();

// The level the kernels use now; at start the best available.
SimdLevel simdLevel();

// Tests and benchmarks compare the forms: asks for a level (never above what
// the processor offers) and returns the one now in force.
SimdLevel setSimdLevel(SimdLevel wanted);

inline bool useAvx2() { return simdLevel() >= SimdLevel::Avx2; }
inline bool useAvx512() { return simdLevel() == SimdLevel::Avx512; }

// Clears the upper halves of the vector registers (vzeroupper) where the
// processor has AVX. Code from elsewhere (the window toolkit's drawing and
// text) can leave them set; until they are cleared, every SSE instruction of
// the plain kernels waits on them (the fin section's influence tables took
// nine times as long after a window update, measured on an Intel Xeon). Call
// where a computation takes over from window code.
void clearUpperVectorState();

} // namespace velmora
