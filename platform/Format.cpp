#include "platform/Format.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace velmora {
namespace {

// Numbers go in and out through std::to_chars / std::from_chars, which follow
// the program's own rules ("." as decimal point) whatever the user's locale.

// |v| as "d.ddd...e+XX" with `precision` digits after the point, as printf's
// "%.*e" in the C locale.
std::string scientific(double v, int precision)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision);
    return std::string(buf, r.ptr);
}

// The exponent of a scientific text ("e+XX" part).
int exponentOf(const std::string& s)
{
    const auto e = s.find('e');
    int x = 0;
    const char* from = s.data() + e + 1;
    if (*from == '+') ++from;
    std::from_chars(from, s.data() + s.size(), x);
    return x;
}

// "E" followed by the exponent's sign and at least `digits` digits.
std::string exponentText(int exp10, bool plus, int digits)
{
    std::string d = std::to_string(std::abs(exp10));
    if (static_cast<int>(d.size()) < digits) d.insert(0, static_cast<size_t>(digits) - d.size(), '0');
    return std::string("E") + (exp10 < 0 ? "-" : plus ? "+" : "") + d;
}

// Decimal digits of |value| as a digit string d1 d2 ... d15 and the exponent
// e such that |value| = 0.d1d2... x 10^e. Zero gives an empty digit string.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double v)
{
    Decimal d;
    v = std::fabs(v);
    if (v == 0.0) return d;
    const std::string s = scientific(v, 14); // d.dddddddddddddde+XX
    for (char c : s.substr(0, s.find('e')))
        if (c >= '0' && c <= '9') d.digits.push_back(c);
    d.exponent = exponentOf(s) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Round the decimal so that it keeps the digits up to 10^-decimals (half away
// from zero). Returns the digit string of the integer part and the fraction
// part (exactly `decimals` long).
void roundFixed(const Decimal& d, int decimals, std::string& intPart, std::string& fracPart)
{
    // Position of the last kept digit in d.digits: digits index i has place
    // value 10^(exponent-1-i). Keep i with exponent-1-i >= -decimals.
    const int keep = d.exponent + decimals; // number of leading digits kept
    std::string kept;
    bool roundUp = false;
    if (keep < 0) {
        kept.clear();
    } else {
        kept = d.digits.substr(0, static_cast<size_t>(std::min<int>(keep, static_cast<int>(d.digits.size()))));
        if (keep < static_cast<int>(d.digits.size())) roundUp = d.digits[static_cast<size_t>(keep)] >= '5';
        while (static_cast<int>(kept.size()) < keep) kept.push_back('0');
    }
    int exponent = d.exponent;
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9') { kept[static_cast<size_t>(i)] = '0'; --i; }
        if (i >= 0) {
            ++kept[static_cast<size_t>(i)];
        } else {
            kept = "1" + kept;
            ++exponent;
        }
    }
    // kept now represents the number with place values starting at 10^(exponent-1).
    const int intDigits = exponent; // digits before the point
    intPart.clear();
    fracPart.clear();
    if (intDigits > 0) {
        for (int i = 0; i < intDigits; ++i)
            intPart.push_back(i < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(i)] : '0');
        for (int i = intDigits; i < intDigits + decimals; ++i)
            fracPart.push_back(i < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(i)] : '0');
    } else {
        // Leading zeros after the point.
        for (int i = 0; i < decimals; ++i) {
            const int k = i + intDigits; // index into kept
            fracPart.push_back(k >= 0 && k < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(k)] : '0');
        }
    }
    // Strip leading zeros of the integer part.
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

struct Pattern {
    int intHash = 0, intZero = 0;   // placeholders before the point
    bool point = false;
    std::string frac;               // placeholders after the point ('#'/'0')
    bool sci = false;
    bool expPlus = false;           // E+ shows the sign always
    int expDigits = 0;
    std::string prefix, suffix;     // literal text
};

Pattern parse(std::string_view p)
{
    Pattern r;
    size_t i = 0;
    while (i < p.size() && p[i] != '#' && p[i] != '0' && p[i] != '.') r.prefix.push_back(p[i++]);
    for (; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '#' || c == '0') {
            if (r.point) r.frac.push_back(c);
            else if (c == '0') ++r.intZero;
            else ++r.intHash;
        } else if (c == '.' && !r.point) {
            r.point = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
            r.sci = true;
            r.expPlus = p[i + 1] == '+';
            i += 2;
            while (i < p.size() && (p[i] == '0' || p[i] == '#')) { ++r.expDigits; ++i; }
            r.suffix = std::string(p.substr(i));
            break;
        } else if (c == ',') {
            // thousands separators are not used by the windows; ignore
        } else {
            r.suffix = std::string(p.substr(i));
            break;
        }
    }
    return r;
}

std::string trimFraction(std::string frac, const std::string& placeholders)
{
    // Optional ('#') trailing digits that are zero are dropped.
    while (!frac.empty() && frac.size() <= placeholders.size() &&
           placeholders[frac.size() - 1] == '#' && frac.back() == '0')
        frac.pop_back();
    return frac;
}

std::string general(double v)
{
    if (v == 0.0) return "0";
    const double a = std::fabs(v);
    if (a < 1e-4 || a >= 1e15) {
        const std::string s = scientific(v, 14);
        std::string mant = s.substr(0, s.find('e'));
        while (!mant.empty() && mant.back() == '0') mant.pop_back();
        if (!mant.empty() && mant.back() == '.') mant.pop_back();
        return (v < 0 ? "-" : "") + mant + exponentText(exponentOf(s), true, 2);
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

} // namespace

std::string Format(double value, std::string_view pattern)
{
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value > 0 ? "Inf" : "-Inf");
    if (pattern.empty()) return general(value);
    const Pattern p = parse(pattern);
    const int decimals = static_cast<int>(p.frac.size());
    std::string out;

    if (p.sci) {
        Decimal d = toDecimal(value);
        int exp10 = 0;
        std::string intPart, fracPart;
        const int lead = std::max(1, p.intHash + p.intZero);
        if (!d.digits.empty()) {
            // Mantissa with `lead` digits before the point.
            exp10 = d.exponent - lead;
            Decimal m = d;
            m.exponent = lead;
            roundFixed(m, decimals, intPart, fracPart);
            if (static_cast<int>(intPart.size()) > lead) { // 9.9996 -> 10.000: one more power of ten
                ++exp10;
                fracPart = intPart.substr(static_cast<size_t>(lead)) + fracPart;
                intPart.resize(static_cast<size_t>(lead));
                fracPart.resize(static_cast<size_t>(decimals));
            }
        }
        fracPart = trimFraction(fracPart, p.frac);
        if (intPart.empty() && p.intZero > 0) intPart = std::string(static_cast<size_t>(p.intZero), '0');
        out = intPart;
        if (p.point) out += "." + fracPart;
        out += exponentText(exp10, p.expPlus, p.expDigits);
    } else {
        std::string intPart, fracPart;
        roundFixed(toDecimal(value), decimals, intPart, fracPart);
        const bool zeroAfterRounding =
            intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
        fracPart = trimFraction(fracPart, p.frac);
        if (static_cast<int>(intPart.size()) < p.intZero)
            intPart = std::string(static_cast<size_t>(p.intZero) - intPart.size(), '0') + intPart;
        out = intPart;
        if (p.point) out += "." + fracPart;
        if (zeroAfterRounding) value = 0; // no "-." for a value that rounds to zero
    }
    if (value < 0) out = "-" + out;
    return p.prefix + out + p.suffix;
}

double Val(std::string_view text)
{
    std::string s;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) { s.push_back(text[i]); ++i; skipBlanks(); }
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') { s.push_back(c); digits = true; }
        else if (c == '.' && !point) { s.push_back(c); point = true; }
        else if (c == ' ' || c == '\t') continue;
        else break;
    }
    if (!digits) return 0.0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::string ex = "e";
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ex.push_back(text[j++]);
        bool expDigits = false;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') { ex.push_back(text[j++]); expDigits = true; }
        if (expDigits) s += ex;
    }
    // Below the normal double range reads as 0; beyond it keeps its sign and
    // stays out of every input range, never 0 ("not entered").
    const char* from = s.data() + (s[0] == '+' ? 1 : 0);
    const char* to = s.data() + s.size();
    double v = 0;
    if (std::from_chars(from, to, v).ec == std::errc()) return v != 0 && std::fabs(v) < DBL_MIN ? 0.0 : v;
    long double wide = 0;
    const bool tiny = std::from_chars(from, to, wide).ec == std::errc()
                          ? std::fabs(wide) < 1.0L
                          : s.find("e-") != std::string::npos;
    if (tiny) return 0.0;
    return s[0] == '-' ? -DBL_MAX : DBL_MAX;
}

bool wholeNumber(std::string_view text)
{
    // The scan of Val, which must end at the end of the text.
    size_t i = 0;
    const auto blank = [&text](size_t k) {
        return k < text.size() && (text[k] == ' ' || text[k] == '\t' || text[k] == '\n' || text[k] == '\r');
    };
    while (blank(i)) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) point = true;
        else if (!(c >= '0' && c <= '9') && c != ' ' && c != '\t') break;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const size_t digitsFrom = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i == digitsFrom) return false;
    }
    while (blank(i)) ++i;
    return i == text.size();
}

std::string FormatApart(double value, double bound, std::string_view pattern)
{
    std::string p(pattern);
    std::string out = Format(value, p);
    // Shown on the value's side of the bound, or equal when the value is.
    const auto apart = [&](const std::string& t) {
        const double shown = Val(t);
        return value == bound ? shown == bound : (shown < bound) == (value < bound) && shown != bound;
    };
    for (int more = 0; more < 17 && !apart(out) && std::isfinite(value); ++more) {
        // One more decimal place, before any exponent part.
        const size_t end = std::min(p.find_first_of("Ee"), p.size());
        p.insert(end, p.find('.') < end ? "#" : ".#");
        out = Format(value, p);
    }
    // A number in a sentence ends in a digit: "500", not "500." ("2E-38",
    // not "2.E-38").
    const size_t point = out.find('.');
    if (point != std::string::npos && (point + 1 == out.size() || out[point + 1] == 'E' || out[point + 1] == 'e'))
        out.erase(point, 1);
    return out;
}

std::optional<int16_t> toInt16(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int16_t>(r);
}

} // namespace velmora
