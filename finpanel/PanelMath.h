#pragma once
// Small arithmetic helpers shared by the fin-section panel code.
//
// Several working values of the panel method are kept in single precision on
// purpose (the section's y ordinates, some influence coefficients, the vortex
// right-hand side); they are rounded with the checked toSingle() of
// platform/Single.h, so a value that does not fit a float is a failure of the
// computation.
#include <cmath>
#include <numbers>
#include <string>

#include "platform/Checked.h"
#include "platform/Constants.h"
#include "platform/Progress.h"
#include "platform/Single.h"
#include "model/Vocabulary.h"

namespace velmora::finpanel {

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

// Lets events run when Progress::maybePump finds them due; true when the
// project's AbortRequest (when given) then holds AbortFlag::Yes: the user's
// ABORT, and the solution ends at once with Outcome::Aborted.
[[nodiscard]] inline bool userAborts(Progress& progress, const std::string* abortRequest)
{
    return progress.maybePump() && abortRequest && *abortRequest == AbortFlag::Yes;
}

} // namespace velmora::finpanel
