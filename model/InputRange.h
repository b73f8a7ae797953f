#pragma once
// The ranges the computations take their inputs in. A value outside its
// range is refused, with a text naming it, before anything is computed; it is
// never replaced by another value.
//
//   sizes            every length and diameter of the body, the fins and the
//                    launch lugs, in the length unit of the unit system: 0
//                    (not entered) or from kMinSize to kMaxSize. With all
//                    sizes in this range their squares, and the ratios of
//                    those squares, stay far inside single precision, so the
//                    drag build-up and the centre of pressure cannot overflow
//                    on account of a size.
//   velocity         greater than 0, at most kMaxMachNumber times the speed
//                    of sound.
//   angle of attack  from -kMaxAngleOfAttack to kMaxAngleOfAttack degrees.
// Every test below is false for NaN.
#include <cstddef>

namespace velmora {

inline constexpr double kMinSize = 1e-6;
inline constexpr double kMaxSize = 1e6;
inline constexpr double kMaxMachNumber = 1e6;
inline constexpr double kMaxAngleOfAttack = 90;

// The lower bound is taken as a single-precision store holds it: 0.000001
// typed into one is stored just below 1e-6.
inline bool sizeInRange(double v)
{
    return v == 0.0 || (v > 0.0 && v <= kMaxSize && static_cast<float>(v) >= static_cast<float>(kMinSize));
}

// A size with the refusal text that names it.
struct NamedSize {
    const char* refusal;
    double value;
};

// The refusal text of the first size out of range, or nullptr.
template <std::size_t N>
const char* firstSizeOutOfRange(const NamedSize (&sizes)[N])
{
    for (const NamedSize& s : sizes)
        if (!sizeInRange(s.value)) return s.refusal;
    return nullptr;
}

} // namespace velmora
