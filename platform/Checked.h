#pragma once
// Checked arithmetic for the solvers: a division by zero, the log of a value
// that is not positive, the root of a negative value or a non-finite result is
// a failure of the computation, never a number shown to the user.
#include <cmath>
#include <stdexcept>
#include <string>

namespace velmora {

class MathFailure : public std::runtime_error {
public:
    explicit MathFailure(const std::string& what) : std::runtime_error(what) {}
};

inline double finite(double v, const char* what = "non-finite value")
{
    if (!std::isfinite(v)) throw MathFailure(what);
    return v;
}

inline double cdiv(double a, double b, const char* what = "division by zero")
{
    if (b == 0.0) throw MathFailure(what);
    return finite(a / b, what);
}

inline double clog(double x, const char* what = "log of a value <= 0")
{
    if (!(x > 0.0)) throw MathFailure(what);
    return finite(std::log(x), what);
}

inline double csqrt(double x, const char* what = "root of a negative value")
{
    if (!(x >= 0.0)) throw MathFailure(what);
    return finite(std::sqrt(x), what);
}

inline double cpow(double x, double y, const char* what = "invalid power")
{
    return finite(std::pow(x, y), what);
}

} // namespace velmora
