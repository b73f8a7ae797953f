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
//
// wholeNumber(text) tells whether Val reads all of a text: blanks aside, it
// holds a number and nothing else ("", ".", " 300", "-.5", "1.5E+39" do;
// "abc", "1,5", "3,5e2", "1E" do not). An empty text is "not entered" (0).
//
// FormatApart(value, bound, pattern) renders a value compared with a bound
// in the pattern, with as many more decimals as it takes to show it on its
// own side of the bound (9.997 against 10 in "0.#" is "9.997", not "10."),
// and never with a decimal point that no digit follows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

std::string Format(double value, std::string_view pattern = {});
double Val(std::string_view text);
bool wholeNumber(std::string_view text);
std::string FormatApart(double value, double bound, std::string_view pattern);

// Rounds to a 16-bit integer with halves to even; nullopt when the value is
// out of range or not finite (the caller reports that in its own words).
std::optional<int16_t> toInt16(double value);

} // namespace velmora
