#include "platform/SequentialFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace velmora {
namespace {

TEST(NumberText, FileForm)
{
    struct Case {
        double value;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {0, 15, " 0"},
        {-0.0, 15, " 0"},
        {-3, 15, "-3"},
        {0.25, 15, " .25"},
        {-0.5, 15, "-.5"},
        {1e16, 15, " 1E+16"},
        {1.5e-5, 15, " 1.5E-05"},
        {1.0 / 3, 15, " .333333333333333"},
        {static_cast<double>(1.23456789f), 7, " 1.234568"},
        {150, 15, " 150"},
        {2.5, 15, " 2.5"},
        {12.5, 15, " 12.5"},
        {1200, 15, " 1200"},
        {0.3, 15, " .3"},
        {0.0001, 15, " .0001"},            // the last fixed form below 1
        {0.000099999, 15, " 9.9999E-05"},
        {999999999999999.0, 15, " 999999999999999"},
        {1e15, 15, " 1E+15"},              // 10^digits takes the exponent form
        {9999999999999999.0, 15, " 1E+16"},  // ... also when rounding reaches it
        {0.99999999999999999, 15, " 1"},
        {-1e-300, 15, "-1E-300"},
        {1.5e308, 15, " 1.5E+308"},
        {1234567, 7, " 1234567"},
        {static_cast<double>(12345678.0f), 7, " 1.234568E+07"},
        {static_cast<double>(0.1f), 7, " .1"},
        {static_cast<double>(0.1f), 15, " .100000001490116"},
        {-2116.8, 15, "-2116.8"},
        {-std::numeric_limits<double>::max(), 15, "-1.79769313486231E+308"},  // cut: rounding up overflows
        {1.7976931348623e308, 15, " 1.7976931348623E+308"},
    };
    for (const Case& c : cases) EXPECT_EQ(numberText(c.value, c.digits), c.text) << c.value;
    EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), "");
}

TEST(NumberText, PlainFormHasNoLeadingBlank)
{
    EXPECT_EQ(plainNumberText(0), "0");
    EXPECT_EQ(plainNumberText(0.25), ".25");
    EXPECT_EQ(plainNumberText(-0.5), "-.5");
    EXPECT_EQ(plainNumberText(42), "42");
    EXPECT_EQ(plainNumberText(1.5e-5), "1.5E-05");
}

TEST(FileNumber, TheReadersNumberRule)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {" 12.5", 12.5}, {"-.5", -0.5}, {".25", 0.25}, {"+7", 7}, {"5.", 5},
        {"1D3", 1000}, {"1d-2", 0.01}, {" 1.5E-05", 1.5e-5}, {"2e+2", 200},
        {"1E", 1}, {"1E+", 1}, {"3x", 3}, {"1.2.3", 1.2}, {"4 5", 4},
        {"", 0}, {"abc", 0}, {".", 0}, {"-", 0}, {"- 5", 0}, {"--5", 0},
        {"\t  4", 4}, {"1e-400", 0},
    };
    for (const Case& c : cases) {
        const std::optional<double> v = fileNumber(c.text);
        ASSERT_TRUE(v) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
    EXPECT_FALSE(fileNumber("1E400"));      // beyond the double range
    EXPECT_FALSE(fileNumber("-1D999"));
}

TEST(FileNumber, EveryWrittenTextReadsBackToItself)
{
    for (double v : {0.0, 1.0 / 3, -2.0 / 3, 1e16, 1.5e-5, 6.02214076e23, -9.87654321e-12, 123456.789,
                     std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()}) {
        const std::optional<double> back = fileNumber(numberText(v));
        ASSERT_TRUE(back) << v;
        EXPECT_EQ(numberText(*back), numberText(v));
    }
}

std::vector<std::string> allFields(std::string_view bytes)
{
    SequentialReader in(bytes);
    std::vector<std::string> out;
    while (auto f = in.field()) out.push_back(*f);
    return out;
}

TEST(SequentialReader, QuotedAndBareFields)
{
    struct Case {
        std::string_view bytes;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"\"a b\",x , y\r\n", {"a b", "x", "y"}},
        {"  \" .3\"  ,  .3  \r\n", {" .3", ".3"}},          // blanks inside quotes kept
        {"\"q\"junk,z\n", {"q", "z"}},                       // text after the closing quote dropped
        {"a\rb\nc\r\n", {"a", "b", "c"}},                    // CR, LF and CR LF end a line
        {"\r\n\r\n", {"", ""}},                               // an empty line is one empty field
        {"\"one\r\ntwo\",3", {"one\r\ntwo", "3"}},            // a quoted field runs to its closing quote
        {"\"open", {"open"}},                                 // ... or to the end of the file
        {"last", {"last"}},
        {"a,", {"a"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(allFields(c.bytes), c.fields) << c.bytes;
}

TEST(SequentialReader, EndOfFileFallsAfterTheLastLineEnd)
{
    SequentialReader in("\" 1\",\" 2\"\r\n");
    EXPECT_FALSE(in.atEnd());
    EXPECT_EQ(in.numberField(), 1.0);
    EXPECT_FALSE(in.atEnd());
    EXPECT_EQ(in.numberField(), 2.0);
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(in.numberField());
}

TEST(SequentialFile, TextsAreLatin1OnDisk)
{
    SequentialWriter w;
    w.quoted("15\xC2\xB0 C").endLine();  // U+00B0 in UTF-8
    ASSERT_FALSE(w.failed());
    EXPECT_EQ(w.bytes(), "\"15\xB0 C\"\r\n");
    EXPECT_EQ(allFields(w.bytes()), std::vector<std::string>{"15\xC2\xB0 C"});
    EXPECT_EQ(latin1ToUtf8("\xFF"), "\xC3\xBF");
}

TEST(SequentialWriter, LinesOfFields)
{
    SequentialWriter w;
    w.quoted("Velmora AOA vs. Cd").endLine();
    w.bare(plainNumberText(2)).bare(plainNumberText(0.25)).endLine();
    w.quotedNumber(12.5).quotedNumber(0.3).quotedNumber(1200).quotedNumber(840).endLine();
    ASSERT_FALSE(w.failed());
    EXPECT_EQ(w.bytes(), "\"Velmora AOA vs. Cd\"\r\n2,.25\r\n\" 12.5\",\" .3\",\" 1200\",\" 840\"\r\n");
}

TEST(SequentialWriter, FieldsThatCannotBeWrittenFailTheFile)
{
    const auto fails = [](auto write) {
        SequentialWriter w;
        write(w);
        return w.failed();
    };
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.quoted("a\"b"); }));
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.quoted("a\r\nb"); }));
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.quoted("\xE2\x82\xAC"); }));  // the euro sign: no Latin-1 form
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.quoted("\xC3"); }));          // cut UTF-8
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.bare("1,2"); }));
    EXPECT_TRUE(fails([](SequentialWriter& w) { w.quotedNumber(std::numeric_limits<double>::quiet_NaN()); }));
    EXPECT_FALSE(fails([](SequentialWriter& w) { w.quoted("").quotedNumber(-1e-300); }));
}

} // namespace
} // namespace velmora
