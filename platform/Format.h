#pragma once
// Number display and lenient number reading as the windows use them.
//
// Format(value, pattern) renders a number with a display pattern made of '#'
// and '0' digit placeholders, an optional decimal point and an optional
// exponent part "E+00" / "E-00". A '#' prints no leading zero, so 0.5 in
// "##.###" is ".5" and 20 is "20."; the point is always kept. Halves round
// away from zero on the number's 15-significant-digit decimal form, so what
// the user sees matches the decimal value typed (2.5 -> "3", 1.005 -> "1.01").
// An empty pattern gives the general form (up to 15 significant digits,
// scientific below 1E-04 and from 1E+15).
//
// Val(text) reads the leading numeric part of a text: blanks are skipped, an
// optional sign, digits with one decimal point, and an exponent introduced by
// E or D. No number reads as 0; a number beyond the double range reads as
// the largest double of its sign.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

std::string Format(double value, std::string_view pattern = {});
double Val(std::string_view text);

// Rounds to a 16-bit integer with halves to even; nullopt when the value is
// out of range or not finite (the caller reports that in its own words).
std::optional<int16_t> toInt16(double value);

} // namespace velmora
