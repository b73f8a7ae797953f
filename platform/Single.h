#pragma once
// Rounding into the project state's single-precision variables.
//
//   float toSingle(double v)      for computed values: a value that is not
//                                 finite or lies beyond the single-precision
//                                 range is a failure of the computation
//                                 (MathFailure, which the computation's entry
//                                 point turns into a failed outcome);
//   float singleOrZero(double v)  where 0 is a safe stand-in (screen and plot
//                                 settings): such a value reads as 0;
//   float singleOrLargest(double v) for values a user typed or that follow
//                                 from them: such a value becomes the largest
//                                 single of its sign, which every range check
//                                 refuses by name (never 0, which means "not
//                                 entered"); NaN stays NaN.
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

inline float singleOrLargest(double v)
{
    if (fitsSingle(v) || std::isnan(v)) return static_cast<float>(v);
    return v > 0 ? FLT_MAX : -FLT_MAX;
}

} // namespace velmora
