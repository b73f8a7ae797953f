#include "platform/SequentialFile.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace velmora {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of |v| in "%.*e" form with `precision` digits after the point,
// and its decimal exponent; std::to_chars keeps "." whatever the locale.
std::string mantissaDigits(double v, int precision, int& exp10)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision);
    std::string mant;
    const char* p = buf;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (isDigit(*p)) mant.push_back(*p);
    exp10 = 0;
    if (p < r.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), r.ptr, exp10);
    return mant;
}

} // namespace

std::string plainNumberText(double v, int digits)
{
    if (!std::isfinite(v)) return {};
    if (v == 0.0) return "0";
    digits = std::clamp(digits, 1, 17);

    // d.ddd...e+XX, correctly rounded from the binary value.
    int exp10 = 0;
    std::string mant = mantissaDigits(v, digits - 1, exp10);
    if (exp10 >= 308 && !fileNumber("." + mant + "E" + std::to_string(exp10 + 1))) {
        // Rounding went past the largest double (1.79769313486232E+308):
        // cut the digits instead, so the text reads back.
        int unused = 0;
        mant = mantissaDigits(v, digits + 2, unused);
        mant.resize(static_cast<std::size_t>(digits));
    }
    while (mant.size() > 1 && mant.back() == '0') mant.pop_back();

    std::string out = v < 0 ? "-" : "";
    if (exp10 >= digits || exp10 < -4) {
        out += mant[0];
        if (mant.size() > 1) out.append(".").append(mant, 1);
        const std::string e = std::to_string(std::abs(exp10));
        out.append(exp10 < 0 ? "E-" : "E+").append(e.size() < 2 ? "0" : "").append(e);
    } else if (exp10 >= 0) {
        const std::size_t intDigits = static_cast<std::size_t>(exp10) + 1;
        std::string intPart = mant.substr(0, std::min(intDigits, mant.size()));
        intPart.resize(intDigits, '0');
        out += intPart;
        if (mant.size() > intDigits) out.append(".").append(mant, intDigits);
    } else {
        out.append(".").append(static_cast<std::size_t>(-exp10 - 1), '0').append(mant);
    }
    return out;
}

std::string numberText(double v, int digits)
{
    std::string t = plainNumberText(v, digits);
    if (!t.empty() && t[0] != '-') t.insert(t.begin(), ' ');
    return t;
}

std::optional<double> fileNumber(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    std::string s;
    const bool negative = i < n && text[i] == '-';
    if (i < n && (text[i] == '+' || text[i] == '-')) s.push_back(text[i++]);
    // The power of ten of the leading digit, to tell an overflow from an
    // underflow should the value fall outside the double range.
    long long magnitude = 0;
    bool anyDigit = false, nonZero = false;
    while (i < n && isDigit(text[i])) {
        nonZero = nonZero || text[i] != '0';
        if (nonZero) ++magnitude;
        s.push_back(text[i++]);
        anyDigit = true;
    }
    if (i < n && text[i] == '.') {
        s.push_back(text[i++]);
        while (i < n && isDigit(text[i])) {
            if (!nonZero && text[i] == '0') --magnitude;
            nonZero = nonZero || text[i] != '0';
            s.push_back(text[i++]);
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0.0;
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string ex = "e";
        if (j < n && (text[j] == '+' || text[j] == '-')) ex.push_back(text[j++]);
        long long power = 0;
        bool expDigit = false;
        while (j < n && isDigit(text[j])) {
            power = std::min<long long>(power * 10 + (text[j] - '0'), INT_MAX);
            ex.push_back(text[j++]);
            expDigit = true;
        }
        if (expDigit) {
            s += ex;
            magnitude += ex[1] == '-' ? -power : power;
        }
    }
    double v = 0;
    const char* from = s.data() + (s[0] == '+' ? 1 : 0);
    if (std::from_chars(from, s.data() + s.size(), v).ec == std::errc()) return v;
    if (magnitude > 0) return std::nullopt;  // beyond the double range
    return negative ? -0.0 : 0.0;            // below it: zero, as a text of zeros
}

// ---- writing ----------------------------------------------------------------

void SequentialWriter::separate()
{
    if (lineStarted_) out_.push_back(',');
    lineStarted_ = true;
}

SequentialWriter& SequentialWriter::field(std::string_view text, const char* forbidden, bool quote)
{
    separate();
    const std::optional<std::string> bytes = utf8ToLatin1(text);
    if (!bytes || bytes->find_first_of(forbidden) != std::string::npos) {
        failed_ = true;
        return *this;
    }
    if (quote) out_.push_back('"');
    out_ += *bytes;
    if (quote) out_.push_back('"');
    return *this;
}

SequentialWriter& SequentialWriter::quoted(std::string_view text) { return field(text, "\"\r\n", true); }

SequentialWriter& SequentialWriter::quotedNumber(double v, int digits)
{
    if (!std::isfinite(v)) {
        separate();
        failed_ = true;
        return *this;
    }
    return quoted(numberText(v, digits));
}

SequentialWriter& SequentialWriter::bare(std::string_view text) { return field(text, ",\r\n", false); }

SequentialWriter& SequentialWriter::endLine()
{
    out_ += "\r\n";
    lineStarted_ = false;
    return *this;
}

// ---- reading ----------------------------------------------------------------

void SequentialReader::consumeSeparator()
{
    if (atEnd()) return;
    const char c = in_[pos_];
    if (c == ',' || c == '\n') {
        ++pos_;
    } else if (c == '\r') {
        ++pos_;
        if (!atEnd() && in_[pos_] == '\n') ++pos_;
    }
}

bool SequentialReader::onlyBlanksLeft() const
{
    for (std::size_t i = pos_; i < in_.size(); ++i)
        if (!isBlank(in_[i]) && !isLineEnd(in_[i])) return false;
    return true;
}

std::optional<std::string> SequentialReader::field()
{
    unclosed_ = false;
    if (atEnd()) return std::nullopt;
    while (!atEnd() && isBlank(in_[pos_])) ++pos_;
    std::string_view text;
    if (!atEnd() && in_[pos_] == '"') {
        const std::size_t start = pos_ + 1;
        const std::size_t close = in_.find('"', start);
        if (close == std::string_view::npos) {
            text = in_.substr(start);
            pos_ = in_.size();
            unclosed_ = true;
        } else {
            text = in_.substr(start, close - start);
            pos_ = close + 1;
            while (!atEnd() && in_[pos_] != ',' && !isLineEnd(in_[pos_])) ++pos_;
        }
    } else {
        const std::size_t start = pos_;
        while (!atEnd() && in_[pos_] != ',' && !isLineEnd(in_[pos_])) ++pos_;
        text = in_.substr(start, pos_ - start);
        while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    }
    consumeSeparator();
    return latin1ToUtf8(text);
}

int lineAt(std::string_view bytes, std::size_t pos)
{
    int line = 1;
    pos = std::min(pos, bytes.size());
    for (std::size_t i = 0; i < pos; ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++line;
    return line;
}

// ---- 8-bit text ---------------------------------------------------------------

namespace {

// The length of the UTF-8 sequence at `i` and its code point; 0 when the
// bytes there are no well-formed sequence.
std::size_t utf8Sequence(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (c < 0x80) n = 1, cp = c;
    else if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
    else return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are no text.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return n;
}

} // namespace

std::string shownText(std::string_view bytes, std::size_t maxChars)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (chars == maxChars) return out + "...";
        ++chars;
        char32_t cp = 0;
        const std::size_t n = utf8Sequence(bytes, i, cp);
        const bool control = cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
        if (n == 0 || control) {
            // A byte of no UTF-8 text, or a control character: its value.
            const auto c = n == 0 ? static_cast<unsigned char>(bytes[i]) : static_cast<unsigned char>(cp);
            out.append("\\x").push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
            i += n == 0 ? 1 : n;
        } else if (cp == 0xFEFF) {
            out += "<U+FEFF>";
            i += n;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::optional<std::string> utf8ToLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(text[i]);
            continue;
        }
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= text.size()) return std::nullopt;
        const auto d = static_cast<unsigned char>(text[i + 1]);
        if ((d & 0xC0) != 0x80) return std::nullopt;
        out.push_back(static_cast<char>(((c & 0x03) << 6) | (d & 0x3F)));
        ++i;
    }
    return out;
}

} // namespace velmora
