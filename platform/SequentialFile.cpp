#include "platform/SequentialFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velmora {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string plainNumberText(double v, int digits)
{
    if (!std::isfinite(v)) return {};
    if (v == 0.0) return "0";
    digits = std::clamp(digits, 1, 17);

    // d.ddd...e+XX, correctly rounded from the binary value.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(v));
    std::string mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (isDigit(*p)) mant.push_back(*p);
    const int exp10 = *p ? std::atoi(p + 1) : 0;
    if (exp10 >= 308 && std::isinf(std::strtod(buf, nullptr))) {
        // Rounding went past the largest double (1.79769313486232E+308):
        // cut the digits instead, so the text reads back.
        std::snprintf(buf, sizeof buf, "%.*e", digits + 2, std::fabs(v));
        mant.clear();
        for (p = buf; *p && *p != 'e'; ++p)
            if (isDigit(*p)) mant.push_back(*p);
        mant.resize(static_cast<std::size_t>(digits));
    }
    while (mant.size() > 1 && mant.back() == '0') mant.pop_back();

    std::string out = v < 0 ? "-" : "";
    if (exp10 >= digits || exp10 < -4) {
        out += mant[0];
        if (mant.size() > 1) out.append(".").append(mant, 1);
        char eb[16];
        std::snprintf(eb, sizeof eb, "E%c%02d", exp10 < 0 ? '-' : '+', std::abs(exp10));
        out += eb;
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
    if (i < n && (text[i] == '+' || text[i] == '-')) s.push_back(text[i++]);
    bool anyDigit = false;
    while (i < n && isDigit(text[i])) { s.push_back(text[i++]); anyDigit = true; }
    if (i < n && text[i] == '.') {
        s.push_back(text[i++]);
        while (i < n && isDigit(text[i])) { s.push_back(text[i++]); anyDigit = true; }
    }
    if (!anyDigit) return 0.0;
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string ex = "e";
        if (j < n && (text[j] == '+' || text[j] == '-')) ex.push_back(text[j++]);
        bool expDigit = false;
        while (j < n && isDigit(text[j])) { ex.push_back(text[j++]); expDigit = true; }
        if (expDigit) s += ex;
    }
    errno = 0;
    const double v = std::strtod(s.c_str(), nullptr);
    if (errno == ERANGE && std::fabs(v) > 1.0) return std::nullopt; // overflow
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

// ---- writing ----------------------------------------------------------------

void SequentialWriter::separate()
{
    if (lineStarted_) out_.push_back(',');
    lineStarted_ = true;
}

SequentialWriter& SequentialWriter::quoted(std::string_view text)
{
    separate();
    const std::optional<std::string> bytes = utf8ToLatin1(text);
    if (!bytes || bytes->find_first_of("\"\r\n") != std::string::npos) {
        failed_ = true;
        return *this;
    }
    out_.push_back('"');
    out_ += *bytes;
    out_.push_back('"');
    return *this;
}

SequentialWriter& SequentialWriter::quotedNumber(double v, int digits)
{
    if (!std::isfinite(v)) {
        separate();
        failed_ = true;
        return *this;
    }
    return quoted(numberText(v, digits));
}

SequentialWriter& SequentialWriter::bare(std::string_view text)
{
    separate();
    const std::optional<std::string> bytes = utf8ToLatin1(text);
    if (!bytes || bytes->find_first_of(",\r\n") != std::string::npos) {
        failed_ = true;
        return *this;
    }
    out_ += *bytes;
    return *this;
}

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

std::optional<std::string> SequentialReader::field()
{
    if (atEnd()) return std::nullopt;
    while (!atEnd() && isBlank(in_[pos_])) ++pos_;
    std::string_view text;
    if (!atEnd() && in_[pos_] == '"') {
        const std::size_t start = pos_ + 1;
        const std::size_t close = in_.find('"', start);
        if (close == std::string_view::npos) {
            text = in_.substr(start);
            pos_ = in_.size();
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

// ---- 8-bit text ---------------------------------------------------------------

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
