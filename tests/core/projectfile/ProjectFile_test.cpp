#include "projectfile/ProjectFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace velmora::projectfile {
namespace {

using Lines = std::vector<std::string>;

// A standard-body project at sea level in ft-lb-sec, 150 ft/s, two free-form points, and its file.
void sample(Module1& m)
{
    setStartupDefaults(m);
    m.FlowModelText = "INCOMPRESSIBLE", m.NoseShapeText = "TANGENT OGIVE";
    m.AnalysisUnits = "FPS", m.SpeedUnitText = "FT/SEC", m.AltitudeText = "SEA LEVEL";
    m.FreeStreamVelocity = 150, m.AmbientDensity = 0.002378, m.AmbientPressure = 2116.8;
    m.NoseConeLength = 4.5, m.BodyTubeLength = 20, m.NoseConeDiameter = 1.325;
    m.TransitionDiameter = m.TransitionLength = m.BaseTubeLength = 0;
    m.FinCount = 4, m.FinPlanformCode = 3, m.FinEdgeCode = 3, m.SurfaceFinishCode = 2;
    m.FinTipDistance = 2.25, m.FinTipChord = 1.2f, m.FinRootDistance = 0.1f, m.FinSpan = 1.75, m.FinRootChord = 2.5;
    m.FinThickness = 0.0625, m.LaunchLugLength = 1, m.LaunchLugOuterDiameter = 0.2, m.LaunchLugInnerDiameter = 0.15f;
    m.MeshAxialNodeCount = 20, m.ActiveBodyGeometry = 0, m.FreeFormPointCount = 2;
    m.FreeFormBodyX(1) = 12.5, m.FreeFormBodyRadius(1) = 0.3, m.FreeFormScreenX(1) = 1200, m.FreeFormScreenY(1) = 840;
    m.FreeFormBodyX(2) = -3, m.FreeFormBodyRadius(2) = 1.5e-5, m.FreeFormScreenX(2) = 0, m.FreeFormScreenY(2) = 9615;
}

const Lines kSample = {
    "\"INCOMPRESSIBLE\"", "\" 150\"", "\" .002378\"", "\" 2116.8\"", "\"TANGENT OGIVE\"", "\" 4.5\"", "\" 20\"",
    "\" 1.325\"", "\" 0\"", "\" 0\"", "\" 0\"", "\"FPS\"", "\"FT/SEC\"", "\"SEA LEVEL\"", "\" 4\"", "\" 3\"",
    "\" 3\"", "\" 2\"", "\" 2.25\"", "\" 1.2\"", "\" .1\"", "\" 1.75\"", "\" 2.5\"", "\" .0625\"", "\" 1\"",
    "\" .2\"", "\" .15\"", "\" 20\"", "\" 0\"", "\" 2\"",
    "\" 12.5\",\" .3\",\" 1200\",\" 840\"", "\"-3\",\" 1.5E-05\",\" 0\",\" 9615\"",
};

std::string join(const Lines& lines, size_t count = 99)
{
    std::string out;
    for (size_t i = 0; i < lines.size() && i < count; ++i) out += lines[i] + "\r\n";
    return out;
}

// The sample with some lines (1-based) replaced, cut after `count` lines.
std::string edited(std::initializer_list<std::pair<int, std::string>> edits, size_t count = 99)
{
    Lines lines = kSample;
    for (const auto& [k, text] : edits) lines[static_cast<size_t>(k - 1)] = text;
    return join(lines, count);
}

struct ProjectFileTest : ::testing::Test {
    std::unique_ptr<Module1> m = makeModule1();
    void SetUp() override { sample(*m); }
};

TEST_F(ProjectFileTest, WritesThirtyItemsAndThePointRows)
{
    EXPECT_EQ(write(*m), join(kSample));
    m->FreeFormPointCount = 0;
    EXPECT_EQ(write(*m), edited({{30, "\" 0\""}}, 30));  // exactly 30 lines
    const std::function<void(Module1&)> refused[] = {
        [](Module1& s) { s.FreeFormPointCount = 21; }, [](Module1& s) { s.FreeFormPointCount = -1; },
        [](Module1& s) { s.FreeStreamVelocity = NAN; }, [](Module1& s) { s.FreeFormScreenX(2) = INFINITY; },
        [](Module1& s) { s.SpeedUnitText = "FT\"SEC"; }, [](Module1& s) { s.AltitudeText = "SEA\nLEVEL"; },
    };
    for (const auto& change : refused) {
        sample(*m);
        change(*m);
        EXPECT_FALSE(write(*m));
    }
}

TEST_F(ProjectFileTest, SixteenBitFieldsRoundHalvesToEven)
{
    const struct { int line; const char* text; int16_t finish, y; bool ok; } cases[] = {
        {18, "\" 2.5\"", 2, 840, true}, {18, "\" 3.5\"", 4, 0, false},  // 4 is no surface finish
        {31, "\" 12.5\",\" .3\",\" 1200\",\" 841.5\"", 2, 842, true},
        {31, "\" 12.5\",\" .3\",\" 1200\",\" 32767.5\"", 2, 0, false},
    };
    for (const auto& c : cases) {
        const ReadResult r = read(edited({{c.line, c.text}}));
        EXPECT_EQ(std::tuple(r.outcome == Outcome::Done && r.layout == ReadLayout::Complete, r.record.SurfaceFinishCode, r.record.screenY(1)),
                  std::tuple(c.ok, c.finish, c.y)) << c.text;
    }
}

TEST_F(ProjectFileTest, UnquotedAndBlankPaddedFieldsReadAlike)
{
    Lines bare;
    for (const std::string& line : kSample) {
        std::string out = "  ";
        for (char c : line) out += c == '"' ? "" : c == ',' ? " , " : std::string(1, c);
        bare.push_back(out + "\t ");
    }
    const ReadResult r = read(join(bare));
    ASSERT_EQ(std::pair(r.outcome, r.layout), std::pair(Outcome::Done, ReadLayout::Complete));
    EXPECT_EQ(r.record.speedUnit, "FT/SEC");
    auto other = makeModule1();
    setStartupDefaults(*other);
    other->MeshAxialNodeCount = 20;  // a standard-body file leaves it alone
    ASSERT_TRUE(commit(r, *other));
    EXPECT_EQ(write(*other), join(kSample));
}

// Blanks and line ends after the last item are no further item; a number item that is not wholly a number is a read
// error naming the item, its text and the decimal point.
TEST_F(ProjectFileTest, TrailingBlanksReadAndTextThatIsNoNumberNamesItsItem)
{
    for (const char* tail : {"\r\n", "\n", " ", "\t\r\n\r\n"}) {
        const ReadResult r = read(join(kSample) + tail);
        EXPECT_EQ(std::tuple(r.outcome, r.layout, r.record.pointRowsRead),
                  std::tuple(Outcome::Done, ReadLayout::Complete, 2));
    }
    const struct { int line; const char* text; const char* message; } bad[] = {
        {20, "\"abc\"", "Item 20 holds \"abc\", which is not a number: the decimal separator is a point."},
        {22, "\" 1,5\"", "Item 22 holds \" 1,5\", which is not a number: the decimal separator is a point."},
        {31, "\" 12.5\",\" .3x\",\" 1200\",\" 840\"",
         "Point row 1 holds \" .3x\", which is not a number: the decimal separator is a point."},
    };
    for (const auto& c : bad) EXPECT_EQ(read(edited({{c.line, c.text}})).message, c.message);
}

TEST_F(ProjectFileTest, BadFilesCommitNothing)
{
    const struct { const char* what; std::string bytes; } cases[] = {
        {"0 bytes", ""}, {"first line not a flow model", edited({{1, "\"CONICAL\""}}, 27)},
        {"N = 21 after 30 items", edited({{30, "\" 21\""}})},
        {"an incomplete second pass", join(kSample) + join(kSample, 10)},
        {"ends inside the point rows", join(kSample, 31)},
        {"ends inside a point row", edited({{32, "\"-3\",\" 1.5E-05\""}})}, {"N not whole", edited({{30, "\" 2.5\""}})},
        {"N negative", edited({{30, "\"-1\""}})},
        {"a free-form body of one point", edited({{29, "\" 1\""}, {30, "\" 1\""}}, 31)},
        {"fin count 2", edited({{15, "\" 2\""}})}, {"fin count not whole", edited({{15, "\" 3.5\""}})},
        {"planform 5", edited({{16, "\" 5\""}})}, {"edge 4", edited({{17, "\" 4\""}})},
        {"finish 4", edited({{18, "\" 4\""}})}, {"body mode 2", edited({{29, "\" 2\""}})},
        {"a length beyond the double range", edited({{6, "\" 1E400\""}})},
        {"a single item beyond the single range", edited({{20, "\" 1E39\""}})},
        {"an unsafe code in an older layout", edited({{15, "\" 2\""}}, 20)},
        {"finish -1", edited({{18, "\"-1\""}})}, {"thirty blank lines", std::string(60, '\n')},
        {"a quote in a bare item 1", "X" + join(kSample)}, {"a bare item 1 holding a quote", " \"" + join(kSample)},
        {"an unknown speed unit", edited({{13, "\"KNOTS\""}})}, {"an unknown nose shape", edited({{5, "\"cone\""}})},
        {"item 14 never closed", edited({{14, "\"SEA LEVEL"}}, 20)}, {"an unknown unit code", edited({{12, "FPs"}})},
        {"a byte-order mark alone", "\xEF\xBB\xBF"}, {"one byte too large", join(kSample).append(MaxFileBytes, ' ')},
    };
    for (const auto& c : cases) {
        sample(*m);
        m->FreeStreamVelocity = 99, m->FinCount = 5;
        const std::optional<std::string> before = write(*m);
        const ReadResult r = read(c.bytes);
        const bool committed = commit(r, *m);
        EXPECT_EQ(std::tuple(r.outcome, committed, write(*m)), std::tuple(Outcome::Refused, false, before)) << c.what;
    }
}

// A file refused says why: the panel text the main window shows.
TEST_F(ProjectFileTest, RefusedFilesSayWhy)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", kMsgNoProject}, {"\xEF\xBB\xBF", kMsgNoProject}, {std::string(MaxFileBytes + 1, '9'), kMsgTooLarge},
        {"\r\n", "Item 1 holds a value the program cannot use."},
        {edited({{18, "\"-1\""}}), "Item 18 holds a value the program cannot use."},
        {join(kSample, 31), "The file ends inside point row 2."},
        {join(kSample) + join(kSample, 3), "The file ends inside item 4 of the project that starts on line 33."},
        {edited({{32, "\"-3\",\" 1.5E-05\",\" 0\",\" 32768\""}}), "Point row 2 holds a value the program cannot use."},
        // Cut inside a field: no older layout, whatever the item.
        {join(kSample, 7) + "\" 1.", "The file ends inside item 8, before its closing quote."},
        {"\"INCOMPRE", "The file ends inside item 1, before its closing quote."},
        {join(kSample, 31) + "\"-3\",\" 1.5E", "The file ends inside point row 2, before its closing quote."},
        // More after the last point row is named by its line, as it decodes.
        {join(kSample) + "abc\r\n", "Line 33 holds \"abc\" after the last point row, where the file should end."},
        {join(kSample) + "\r\n \r\n7", "Line 35 holds \"7\" after the last point row, where the file should end."},
        {edited({{30, "\" 0\""}}, 30) + "-1", "Line 31 holds \"-1\" after item 30, where the file should end."},
        {join(kSample) + std::string(1, '\0'),
         "Line 33 holds \"\\x00\" after the last point row, where the file should end."},
        {edited({{2, "\" \xEF\xBC\x91\xEF\xBC\x95\""}}),
         "Item 2 holds \" \xEF\xBC\x91\xEF\xBC\x95\", which is not a number: the decimal separator is a point."},
        {edited({{6, "\"\xEF\xBB\xBF 4.5\""}}),
         "Item 6 holds \"<U+FEFF> 4.5\", which is not a number: the decimal separator is a point."},
        {edited({{31, "\" 12.5\",\" .3\xB0\",\" 1200\",\" 840\""}}),
         "Point row 1 holds \" .3\\xB0\", which is not a number: the decimal separator is a point."},
    };
    for (const auto& [bytes, reason] : cases) EXPECT_EQ(read(bytes).message, reason) << bytes.substr(0, 40);
    // A byte-order mark before item 1 is skipped.
    const ReadResult marked = read("\xEF\xBB\xBF" + join(kSample));
    ASSERT_EQ(std::pair(marked.outcome, marked.layout), std::pair(Outcome::Done, ReadLayout::Complete));
    ASSERT_TRUE(commit(marked, *m));
    EXPECT_EQ(write(*m), join(kSample));
}

TEST_F(ProjectFileTest, OlderLayoutCommitsWhatWasReadThenTheDefaults)
{
    m->MeshAxialNodeCount = 35, m->ActiveBodyGeometry = 1, m->FreeFormPointCount = 6;
    for (int i = 1; i <= 6; ++i) m->FreeFormBodyX(i) = m->FreeFormScreenY(i) = i;
    const std::string file = edited({{1, "\"COMPRESSIBLE\""}, {2, "\" 99\""}}, 27);
    const ReadResult r = read(file);
    ASSERT_EQ(std::pair(r.outcome, r.layout), std::pair(Outcome::Done, ReadLayout::OlderLayout));
    ASSERT_TRUE(commit(r, *m));
    EXPECT_EQ(write(*m)->substr(0, file.size()), file);  // items 1 to 27 restored
    EXPECT_EQ(std::tuple(m->CompressibleFlow, m->MeshAxialNodeCount, m->ActiveBodyGeometry, m->FreeFormPointCount),
              std::tuple(1, 20, 0, 4));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(m->FreeFormBodyX(i) + m->FreeFormBodyRadius(i) + m->FreeFormScreenX(i) + m->FreeFormScreenY(i), 0);
    EXPECT_EQ(m->FreeFormBodyX(5), 5);

    // Items not read keep their variables, the texts included: their lists go on showing what is used.
    sample(*m);
    m->FinCount = 5, m->AnalysisUnits = "MNS", m->SpeedUnitText = "MPH", m->AltitudeText = "5000 FT";
    ASSERT_TRUE(commit(read(join(kSample, 11)), *m));
    EXPECT_EQ(std::tuple(m->NoseShapeName, m->AnalysisUnits + m->SpeedUnitText + m->AltitudeText, m->FinCount),
              std::tuple("TANGENT OGIVE", "MNSMPH5000 FT", 5));
    // Ending after a whole item, its line end cut or not, is the older layout (cut inside one it is refused).
    EXPECT_EQ(read(join(kSample, 8).substr(0, join(kSample, 8).size() - 2)).layout, ReadLayout::OlderLayout);
    ASSERT_TRUE(commit(read(join(kSample, 4)), *m));
    EXPECT_EQ(std::tuple(m->NoseShapeText, m->NoseShapeName), std::tuple("TANGENT OGIVE", "TANGENT OGIVE"));
    // Ending after item 29: free-form mode without its points is not taken.
    ASSERT_TRUE(commit(read(edited({{28, "\" 30\""}, {29, "\" 1\""}}, 29)), *m));
    EXPECT_EQ(std::tuple(m->ActiveBodyGeometry, m->MeshAxialNodeCount), std::tuple(0, 20));
}

TEST_F(ProjectFileTest, FreeFormFilesSetTheMeshSize)
{
    const struct { const char* item28; double mesh; } cases[] = {
        {"\" 10\"", 10}, {"\" 50\"", 50}, {"\" 60\"", 20}, {"\" 9\"", 20}, {"\" 12.5\"", 20}, {"\"\"", 20},
    };
    for (const auto& c : cases) {
        sample(*m);
        ASSERT_TRUE(commit(read(edited({{28, c.item28}, {29, "\" 1\""}})), *m)) << c.item28;
        EXPECT_EQ(std::tuple(m->MeshAxialNodeCount, m->MeshRadialNodeCount, m->MeshSizeUserSet + m->ActiveBodyGeometry),
                  std::tuple(c.mesh, c.mesh, 2)) << c.item28;
    }
    sample(*m);
    m->MeshAxialNodeCount = 35;
    ASSERT_TRUE(commit(read(edited({{28, "\" 60\""}})), *m));
    EXPECT_EQ(m->MeshAxialNodeCount, 35);  // a standard-body file leaves it alone
}

TEST_F(ProjectFileTest, HeldAsideValuesAndRepeatedPasses)
{
    ASSERT_TRUE(commit(read(edited({{1, "\"COMPRESSIBLE\""}, {5, "\"SEARS-HAACK\""}})), *m));
    EXPECT_EQ(std::tuple(m->CompressibleFlow, m->NoseShapeName), std::tuple(1, "SEARS-HAACK"));
    ASSERT_TRUE(commit(read(edited({{31, "\" 7\",\" 1\",\" 1201\",\" 842\""}})), *m));
    EXPECT_EQ(std::tuple(m->NoseShapeText, m->NoseShapeName, m->FreeFormScreenX(1), m->FreeFormScreenY(1),
                         m->FreeFormBaseRadius),
              std::tuple("TANGENT OGIVE", "TANGENT OGIVE", 1201, 842, 1.5e-5f));

    // More after the last point row is read again over the same values.
    const std::string second = edited({{2, "\" 200\""}, {30, "\" 1\""}, {31, "\" 7\",\" 1\",\" 2\",\" 3\""}}, 31);
    const ReadResult r = read(join(kSample) + second);
    ASSERT_EQ(std::pair(r.outcome, r.layout), std::pair(Outcome::Done, ReadLayout::Complete));
    EXPECT_EQ(r.record.pointRowsRead, 2);
    sample(*m);
    m->FreeFormBodyX(2) = 55;
    ASSERT_TRUE(commit(r, *m));
    EXPECT_EQ(std::tuple(m->FreeStreamVelocity, m->FreeFormPointCount, m->FreeFormBodyX(1), m->FreeFormBodyX(2)),
              std::tuple(200, 1, 7, -3));  // point 2 from the first pass
}

} // namespace
} // namespace velmora::projectfile
