#pragma once
// Rounding to the single-precision stores of the project state.
//
//   float storeSingle(double v)
//
// A value beyond the single-precision range becomes an infinity of its sign
// (a plain conversion of such a value is undefined behaviour in C++); NaN
// stays NaN. Everything else is rounded to the nearest float as usual.
#include <cfloat>
#include <limits>

namespace velmora {

inline float storeSingle(double v)
{
    if (v > static_cast<double>(FLT_MAX)) return std::numeric_limits<float>::infinity();
    if (v < -static_cast<double>(FLT_MAX)) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

} // namespace velmora
