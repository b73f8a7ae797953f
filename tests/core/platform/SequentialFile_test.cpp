#include "platform/SequentialFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace velmora {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();

TEST(NumberText, FileForm)
{
    const struct { double value; int digits; const char* text; } cases[] = {
        {-0.0, 15, " 0"}, {-0.5, 15, "-.5"}, {1.5e-5, 15, " 1.5E-05"}, {1.0 / 3, 15, " .333333333333333"},
        {static_cast<double>(1.23456789f), 7, " 1.234568"}, {0.0001, 15, " .0001"}, {0.000099999, 15, " 9.9999E-05"},
        {999999999999999.0, 15, " 999999999999999"}, {1e15, 15, " 1E+15"},
        {9999999999999999.0, 15, " 1E+16"}, {0.99999999999999999, 15, " 1"},  // rounding carries
        {-1e-300, 15, "-1E-300"}, {1234567, 7, " 1234567"}, {static_cast<double>(12345678.0f), 7, " 1.234568E+07"},
        {static_cast<double>(0.1f), 7, " .1"}, {static_cast<double>(0.1f), 15, " .100000001490116"},
        {-kMax, 15, "-1.79769313486231E+308"},  // cut, not rounded past the largest double
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value, c.digits), c.text) << c.value;
    EXPECT_EQ(std::tuple(numberText(std::numeric_limits<double>::quiet_NaN()), plainNumberText(0),
                         plainNumberText(-0.5)), std::tuple("", "0", "-.5"));
}

TEST(FileNumber, LeadingNumberWithEOrDExponent)
{
    const struct { const char* text; double value; } cases[] = {
        {"-.5", -0.5}, {"+7", 7}, {"1d-2", 0.01}, {" 1.5E-05", 1.5e-5}, {"1E+", 1}, {"1.2.3", 1.2},
        {"4 5", 4}, {"abc", 0}, {".", 0}, {"- 5", 0}, {"\t 4", 4}, {"1e-400", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fileNumber(c.text), c.value) << c.text;
    EXPECT_FALSE(fileNumber("-1D999"));  // beyond the double range
    for (double v : {1.0 / 3, 6.02214076e23, -9.87654321e-12, kMax, std::numeric_limits<double>::denorm_min()}) {
        const std::optional<double> back = fileNumber(numberText(v));
        ASSERT_TRUE(back) << v;
        EXPECT_EQ(numberText(*back), numberText(v));
    }
}

TEST(SequentialReader, QuotedAndBareFields)
{
    const struct { std::string_view bytes; std::vector<std::string> fields; } cases[] = {
        {"\"a b\",x , y\r\n", {"a b", "x", "y"}},
        {"  \" .3\"  ,  .3  \r\n", {" .3", ".3"}},       // blanks inside quotes kept
        {"\"q\"junk,z\n", {"q", "z"}},                    // text after the closing quote dropped
        {"a\rb\nc\r\n", {"a", "b", "c"}},                 // CR, LF and CR LF end a line
        {"\r\n\r\n", {"", ""}},                            // an empty line is one empty field
        {"\"one\r\ntwo\",3", {"one\r\ntwo", "3"}},         // a quoted field runs to its closing quote
        {"\"open", {"open"}}, {"a,", {"a"}}, {"", {}},
        {"\"15\xB0\"", {"15\xC2\xB0"}},                    // Latin-1 on disk, UTF-8 inside
    };
    for (const auto& c : cases) {
        SequentialReader in(c.bytes);
        std::vector<std::string> got;
        while (auto f = in.field()) got.push_back(*f);
        EXPECT_EQ(got, c.fields) << c.bytes;
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(SequentialWriter, LinesOfFieldsOrAFailure)
{
    SequentialWriter w;
    w.quoted("Velmora AOA vs. Cd").endLine().bare(plainNumberText(2)).bare(plainNumberText(0.25)).endLine();
    w.quotedNumber(12.5).quotedNumber(0.3).quoted("15\xC2\xB0").endLine();
    ASSERT_FALSE(w.failed());
    EXPECT_EQ(w.bytes(), "\"Velmora AOA vs. Cd\"\r\n2,.25\r\n\" 12.5\",\" .3\",\"15\xB0\"\r\n");

    const auto fails = [](auto write) { SequentialWriter s; write(s); return s.failed(); };
    EXPECT_TRUE(fails([](SequentialWriter& s) { s.quoted("\xE2\x82\xAC"); }));  // no Latin-1 form
    EXPECT_TRUE(fails([](SequentialWriter& s) { s.quoted("\xC3"); }));          // cut UTF-8
    EXPECT_TRUE(fails([](SequentialWriter& s) { s.bare("1,2"); }));
}

} // namespace
} // namespace velmora
