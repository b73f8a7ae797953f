#pragma once
// Rounding into the project state's single-precision variables.
//
//   float toSingle(double v)      for computed values: a value that is not
//                                 finite or lies beyond the single-precision
//                                 range is a failure of the computation
//                                 (MathFailure, which the computation's entry
//                                 point turns into a failed outcome);
//   float singleOrZero(double v)  for values a user typed: such a value reads
//                                 as 0, as the lenient number reader does with
//                                 an overflowing number.
//
// Every other value is rounded to the nearest float. A plain conversion is
// never used for these stores: it turns 1e39 into an infinity, or is
// undefined behaviour.
#include <cfloat>
#include <cmath>

#include "platform/Checked.h"

namespace velmora {

inline bool fitsSingle(double v)
{
    return std::isfinite(v) && std::fabs(v) <= static_cast<double>(FLT_MAX);
}

inline float toSingle(double v, const char* what = "single-precision overflow")
{
    if (!fitsSingle(v)) throw MathFailure(what);
    return static_cast<float>(v);
}

inline float singleOrZero(double v)
{
    return fitsSingle(v) ? static_cast<float>(v) : 0.0f;
}

} // namespace velmora
