#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "platform/SequentialFile.h"

using velmora::Format;
using velmora::Val;

TEST(Format, PatternsTheWindowsUse)
{
    const struct { double value; const char *pattern, *expected; } cases[] = {
        {2116.8, "#####.###", "2116.8"},          {1116.4, "#####.###", "1116.4"},
        {0.002378, "#.###E+00", "2.378E-03"},     {3.9e-07, "#.###E+00", "3.9E-07"},
        {3.9e-07 / 0.002378, ".#########", ".000164003"},
        {20, "##.###", "20."},                    {0.5, "##.###", ".5"},
        {-0.5, "##.###", "-.5"},                  {0, "#####.###", "."},
        {0.25, "#####.###", ".25"},               {12.34567, "#####.###", "12.346"},
        {20, "###", "20"},                        {0, "###", ""},
        {25.7, "###", "26"},                      {1, ".###", "1."},
        {0.3, "#####.####", ".3"},                {-0.5, "#####.####", "-.5"},
        {300, "#####.#", "300."},                 {1455.93504, "#####.##", "1455.94"},
        {0.328798, "##.####", ".3288"},
        {123456.78, "#####.#", "123456.8"},       // integer digits are never cut
        {1.0, "#.###E+00", "1.E+00"},
        {9.99996, "#.###E+00", "1.E+01"},         // rounding carries into the exponent
        {-1234.5, "#.###E+00", "-1.235E+03"},
        {0.0004, "##.###", "."},                  // rounds to zero: no sign, no digits
        {-0.0004, "##.###", "."},
        // Halves round away from zero on the decimal value.
        {2.5, "###", "3"},                        {3.5, "###", "4"},
        {-2.5, "###", "-3"},                      {0.125, ".##", ".13"},
        {1.005, "#.##", "1.01"},                  // binary 1.00499999... still shows as typed
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.pattern), c.expected) << c.value << " in " << c.pattern;
    // The general form, without a pattern.
    const std::pair<double, const char*> general[] = {
        {0.5, "0.5"}, {100, "100"}, {3.9e-07, "3.9E-07"}, {-12.25, "-12.25"}, {0, "0"}};
    for (auto [value, expected] : general) EXPECT_EQ(Format(value), expected) << value;
}

TEST(Val, LeadingNumericPart)
{
    // Underflow and non-finite words read as zero; an overflow as the largest double of its sign.
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12},  {"", 0},        {".", 0},         {"abc", 0},     {".5", 0.5},   {"-.5", -0.5},
        {"1e3", 1000},  {"1.5D-05", 1.5e-05}, {"  42  ", 42}, {"+7.25kg", 7.25}, {"1.2.3", 1.2}, {"3e", 3},
        {"-", 0},       {"1e999", DBL_MAX}, {"-1e400", -DBL_MAX},    {"inf", 0},     {"nan", 0},    {"1e-400", 0},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(Val(text), value) << '"' << text << '"';
    EXPECT_TRUE(std::isfinite(Val(std::string(400, '9'))));
}

TEST(Int16, HalvesToEvenAndRange)
{
    const std::pair<double, int> rounded[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {25.7, 26}, {32767.4, 32767}};
    for (auto [value, expected] : rounded) EXPECT_EQ(velmora::toInt16(value), expected) << value;
    for (double outside : {32767.5, -40000.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(velmora::toInt16(outside).has_value()) << outside;
}

// The user's locale never changes what a number reads or writes as: a comma-decimal one gave Val("1.5") = 1.
TEST(Format, CommaDecimalLocaleChangesNothing)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    using velmora::fileNumber;
    const auto read = std::tuple(Val("1.5"), Val("-2.5E-3"), fileNumber(" 1.5"), fileNumber("1.5D+300"));
    using velmora::numberText;
    const std::vector<std::string> written = {
        Format(1.5),      Format(3.9e-07),       Format(2116.8, "#####.###"), Format(1e300, "#.###E+00"),
        numberText(1.5),  numberText(-1.5e-5),   numberText(-std::numeric_limits<double>::max()),
        numberText(1.0f / 3, 7)};
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(read, std::tuple(1.5, -2.5e-3, 1.5, 1.5e300));
    EXPECT_EQ(written, (std::vector<std::string>{"1.5", "3.9E-07", "2116.8", "1.E+300", " 1.5", "-1.5E-05",
                                                 "-1.79769313486231E+308", " .3333333"}));
}
