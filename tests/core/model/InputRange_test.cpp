#include "model/InputRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "baseflow/BaseFlow.h"
#include "bodyflow/Grid.h"
#include "solve/SolveChain.h"
#include "tests/core/baseflow/BaseFlowCase.h"

namespace velmora {
namespace {

// 0 means "not entered" and passes; otherwise a size lies from 1e-6 (as a single store holds it) to 1e6. A value
// without a number never passes, and the first size out of range names the refusal.
TEST(InputRange, SizesAndTheFirstRefusal)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, 1e-6, static_cast<double>(static_cast<float>(1e-6)), 1.0, 1e6})
        EXPECT_TRUE(sizeInRange(v)) << v;
    for (double v : {-1e-6, 9e-7, 1e6 + 1, inf, -inf, std::nan("")}) EXPECT_FALSE(sizeInRange(v)) << v;

    const NamedSize good[] = {{"length", 3}, {"diameter", 0}};
    const NamedSize bad[] = {{"length", 3}, {"diameter", -1}, {"span", std::nan("")}};
    EXPECT_EQ(firstSizeOutOfRange(good), nullptr);
    EXPECT_STREQ(firstSizeOutOfRange(bad), "diameter");
}

// A box whose text is not wholly a number is refused by name by the commands reading it (SOLVE the rocket's, the
// base-flow Solve the motor's, the sweep its own); any number the program writes, or nothing, takes the mark away.
TEST(InputRange, TextThatIsNotANumberIsRefusedByTheCommandsReadingIt)
{
    const struct { const char* name; const char* text; int group; } rows[] = {  // group: rocket, sweep, motor
        {InputName::FinTipChord, "abc", 0}, {InputName::FinSpan, "1,5", 0}, {InputName::Velocity, "3,5e2", 0},
        {InputName::NoseConeLength, "1E", 0}, {InputName::SweepVelocityIncrement, "5 ft", 1},
        {InputName::Thrust, "abc", 2}};
    for (const auto& row : rows) {
        auto m = testing::baseFlowCase();
        typedValue(*m, row.name, row.text);
        const std::string why = std::string(row.name) + " \"" + row.text +
                                "\" is not a number: type digits with a point as the decimal separator (1.5), or "
                                "leave it empty.";
        std::string said[] = {solveInputRefusal(*m), unreadableInputRefusal(*m, {InputGroup::Sweep}),
                              baseflow::baseFlowRefusal(*m, 300)};
        EXPECT_EQ(said[row.group], why);
        said[row.group].clear();
        EXPECT_EQ(said[0] + said[1] + said[2], "") << row.text;
        for (const char* number : {" 1.5 ", "", ".5", "1.", "1E+39", " 300", "-.5", "2D-3", " 1 000"}) {
            typedValue(*m, row.name, number);
            EXPECT_TRUE(m->UnreadableInputs.empty()) << number;
        }
    }
}

// A typed fin-section point box is read, and its text refused, only while the section is typed and the point is one
// of the count; MESH never reads it.
TEST(InputRange, FinSectionPointIsRefusedOnlyWhileTheRunReadsIt)
{
    const struct { const char* section; int16_t count; int index; bool read; } rows[] = {
        {"STREAMLINED", 4, 7, false}, {"STREAMLINED", 10, 2, false}, {"MANUAL INPUT", 4, 7, false},
        {"MANUAL INPUT", 4, 4, true}, {"MANUAL INPUT", 10, 10, true}, {"MANUAL INPUT", 100, 1, true}};
    for (const auto& row : rows) {
        auto m = testing::baseFlowCase();
        m->FinSectionText = row.section, m->PanelCount = row.count;
        typedValue(*m, finSectionPointName(row.index, 'X'), "abc");
        const std::string why = "Fin section point " + std::to_string(row.index) + " X \"abc\" is not a number";
        EXPECT_EQ(solveInputRefusal(*m).substr(0, why.size()) + meshInputRefusal(*m), row.read ? why : "") << row.index;
    }
}

} // namespace
} // namespace velmora
