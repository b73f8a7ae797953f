#pragma once
// Small arithmetic helpers shared by the fin-section panel code.
//
// Several working values of the panel method are kept in single precision on
// purpose (the section's y ordinates, some influence coefficients, the vortex
// right-hand side); toSingle() performs that rounding and treats a value that
// does not fit a float (or is not a number at all) as a failure of the
// computation, exactly like the checked helpers of platform/Checked.h.
#include <cfloat>
#include <cmath>
#include <numbers>

#include "platform/Checked.h"

namespace velmora::finpanel {

// The value of pi the panel code stores in the project's shared Pi.
inline constexpr double kPi = 3.14159265;

inline float toSingle(double v, const char* what = "single-precision overflow")
{
    if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX)) throw MathFailure(what);
    return static_cast<float>(v);
}

// Arc tangent of y/x in radians, in the range (-pi/2, 3pi/2]: the principal
// value, plus pi when x < 0. Unlike a plain atan(y/x) it is defined for x = 0
// (a vertical direction gives +-pi/2); only the direction of the zero vector is
// undefined and is a failure.
inline double ATAN2(double y, double x)
{
    if (x == 0.0 && y == 0.0) throw MathFailure("direction of a zero vector");
    double a = std::atan2(finite(y), finite(x));
    if (a < -0.5 * std::numbers::pi) a += 2.0 * std::numbers::pi;
    return a;
}

} // namespace velmora::finpanel
