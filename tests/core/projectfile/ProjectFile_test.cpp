#include "projectfile/ProjectFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "model/Module1.h"

namespace velmora::projectfile {
namespace {

using Lines = std::vector<std::string>;

// A standard-body project in ft-lb-sec at sea level, 150 ft/s, two free-form
// points, and its file line by line.
void sample(Module1& m)
{
    setStartupDefaults(m);
    m.FlowModelText = "INCOMPRESSIBLE";
    m.FreeStreamVelocity = 150;
    m.AmbientDensity = 0.002378;
    m.AmbientPressure = 2116.8;
    m.NoseShapeText = "TANGENT OGIVE";
    m.NoseConeLength = 4.5;
    m.BodyTubeLength = 20;
    m.NoseConeDiameter = 1.325;
    m.TransitionDiameter = 0;
    m.TransitionLength = 0;
    m.BaseTubeLength = 0;
    m.AnalysisUnits = "FPS";
    m.SpeedUnitText = "FT/SEC";
    m.AltitudeText = "SEA LEVEL";
    m.FinCount = 4;
    m.FinPlanformCode = 3;
    m.FinEdgeCode = 3;
    m.SurfaceFinishCode = 2;
    m.FinTipDistance = 2.25;
    m.FinTipChord = 1.2f;
    m.FinRootDistance = 0.1f;
    m.FinSpan = 1.75;
    m.FinRootChord = 2.5;
    m.FinThickness = 0.0625;
    m.LaunchLugLength = 1;
    m.LaunchLugOuterDiameter = 0.2;
    m.LaunchLugInnerDiameter = 0.15f;
    m.MeshAxialNodeCount = 20;
    m.ActiveBodyGeometry = 0;
    m.FreeFormPointCount = 2;
    m.FreeFormBodyX(1) = 12.5, m.FreeFormBodyRadius(1) = 0.3, m.FreeFormScreenX(1) = 1200, m.FreeFormScreenY(1) = 840;
    m.FreeFormBodyX(2) = -3, m.FreeFormBodyRadius(2) = 1.5e-5, m.FreeFormScreenX(2) = 0, m.FreeFormScreenY(2) = 9615;
}

const Lines kSampleLines = {
    "\"INCOMPRESSIBLE\"", "\" 150\"", "\" .002378\"", "\" 2116.8\"", "\"TANGENT OGIVE\"",
    "\" 4.5\"", "\" 20\"", "\" 1.325\"", "\" 0\"", "\" 0\"", "\" 0\"",
    "\"FPS\"", "\"FT/SEC\"", "\"SEA LEVEL\"", "\" 4\"", "\" 3\"", "\" 3\"", "\" 2\"",
    "\" 2.25\"", "\" 1.2\"", "\" .1\"", "\" 1.75\"", "\" 2.5\"", "\" .0625\"", "\" 1\"", "\" .2\"", "\" .15\"",
    "\" 20\"", "\" 0\"", "\" 2\"",
    "\" 12.5\",\" .3\",\" 1200\",\" 840\"",
    "\"-3\",\" 1.5E-05\",\" 0\",\" 9615\"",
};

std::string join(const Lines& lines, size_t count = std::string::npos)
{
    std::string out;
    for (size_t i = 0; i < lines.size() && i < count; ++i) out += lines[i] + "\r\n";
    return out;
}

// The sample file with line k (1-based) replaced by a quoted number text.
std::string withItem(int k, const std::string& text, Lines lines = kSampleLines)
{
    lines[static_cast<size_t>(k - 1)] = "\"" + text + "\"";
    return join(lines);
}

struct Fixture : ::testing::Test {
    std::unique_ptr<Module1> m = makeModule1();
    void SetUp() override { sample(*m); }
};
using ProjectFileTest = Fixture;

TEST_F(ProjectFileTest, WritesThirtyItemsAndThePointRows)
{
    EXPECT_EQ(write(*m), join(kSampleLines));
    m->FreeFormPointCount = 0;
    const std::optional<std::string> bytes = write(*m);
    ASSERT_TRUE(bytes);
    Lines noPoints = kSampleLines;
    noPoints[29] = "\" 0\"";
    EXPECT_EQ(*bytes, join(noPoints, 30));
    size_t lineEnds = 0;
    for (size_t p = 0; (p = bytes->find('\n', p)) != std::string::npos; ++p) {
        EXPECT_EQ((*bytes)[p - 1], '\r');
        ++lineEnds;
    }
    EXPECT_EQ(lineEnds, 30u);
}

TEST_F(ProjectFileTest, WriteRefusesWhatNoFileCanHold)
{
    const auto refused = [&](auto change) {
        sample(*m);
        change(*m);
        return !write(*m).has_value();
    };
    EXPECT_TRUE(refused([](Module1& s) { s.FreeFormPointCount = 21; }));
    EXPECT_TRUE(refused([](Module1& s) { s.FreeFormPointCount = -1; }));
    EXPECT_TRUE(refused([](Module1& s) { s.FreeStreamVelocity = std::nan(""); }));
    EXPECT_TRUE(refused([](Module1& s) { s.FreeFormScreenX(2) = INFINITY; }));
    EXPECT_TRUE(refused([](Module1& s) { s.SpeedUnitText = "FT\"SEC"; }));
    EXPECT_TRUE(refused([](Module1& s) { s.AltitudeText = "SEA\nLEVEL"; }));
    EXPECT_FALSE(refused([](Module1& s) { s.FreeFormPointCount = 20; }));
}

TEST_F(ProjectFileTest, ReadsTheSampleIntoTheRecord)
{
    const ReadResult r = read(join(kSampleLines));
    ASSERT_EQ(r.outcome, ReadOutcome::Complete);
    const ProjectRecord& p = r.record;
    EXPECT_EQ(p.flowModel, "INCOMPRESSIBLE");
    EXPECT_EQ(p.noseShape, "TANGENT OGIVE");
    EXPECT_EQ(p.unitCode, "FPS");
    EXPECT_EQ(p.speedUnit, "FT/SEC");
    EXPECT_EQ(p.altitude, "SEA LEVEL");
    EXPECT_EQ(p.FreeStreamVelocity, 150);
    EXPECT_EQ(p.AmbientDensity, 0.002378);
    EXPECT_EQ(p.FinCount, 4);
    EXPECT_EQ(p.FinTipChord, 1.2f);
    EXPECT_EQ(p.LaunchLugInnerDiameter, 0.15f);
    EXPECT_EQ(p.meshSize, 20);
    EXPECT_EQ(p.FileBodyGeometry, 0);
    EXPECT_EQ(p.FreeFormPointCount, 2);
    EXPECT_EQ(p.FreeFormBodyRadius(2), 1.5e-5);
    EXPECT_EQ(p.screenX(1), 1200);
    EXPECT_EQ(p.screenY(2), 9615);
    EXPECT_EQ(p.itemsRead, 30);
    EXPECT_EQ(p.pointRowsRead, 2);
}

TEST_F(ProjectFileTest, SixteenBitFieldsRoundHalvesToEven)
{
    struct Case {
        int line;
        const char* text;
        int16_t read;
        bool ok;
    };
    const Case cases[] = {
        {18, " 2.5", 2, true},  {18, " 3.5", 4, false},  // 4 is no surface finish
        {18, " 1.5", 2, true},  {18, "-.5", 0, true},  {18, " .5", 0, true},
        {18, " 40000", 0, false},
    };
    for (const Case& c : cases) {
        const ReadResult r = read(withItem(c.line, c.text));
        EXPECT_EQ(r.outcome == ReadOutcome::Complete, c.ok) << c.text;
        if (c.read) {
            EXPECT_EQ(r.record.SurfaceFinishCode, c.read) << c.text;
        }
    }
    Lines lines = kSampleLines;
    for (const auto& [field, y, ok] : {std::tuple{"840.5", 840, true}, std::tuple{"841.5", 842, true},
                                       std::tuple{"-32768.5", -32768, true}, std::tuple{"32767.5", 0, false}}) {
        lines[30] = std::string("\" 12.5\",\" .3\",\" 1200\",\"") + field + "\"";
        const ReadResult r = read(join(lines));
        EXPECT_EQ(r.outcome == ReadOutcome::Complete, ok) << field;
        if (ok) {
            EXPECT_EQ(r.record.screenY(1), y) << field;
        }
    }
}

TEST_F(ProjectFileTest, UnquotedAndBlankPaddedFieldsReadAlike)
{
    Lines bare;
    for (std::string line : kSampleLines) {
        std::string out = "  ";
        for (char c : line) {
            if (c == '"') continue;
            out += c == ',' ? std::string(" ,  ") : std::string(1, c);
        }
        bare.push_back(out + "   ");
    }
    bare[12] = "\tFT/SEC";
    const ReadResult quoted = read(join(kSampleLines));
    const ReadResult padded = read(join(bare));
    ASSERT_EQ(padded.outcome, ReadOutcome::Complete);
    auto other = makeModule1();
    setStartupDefaults(*other);
    other->MeshAxialNodeCount = 20;  // a standard-body file leaves it alone
    ASSERT_TRUE(commit(padded, *other));
    EXPECT_EQ(write(*other), join(kSampleLines));
    EXPECT_EQ(padded.record.screenY(1), quoted.record.screenY(1));
}

TEST_F(ProjectFileTest, BadFilesCommitNothing)
{
    const Lines& s = kSampleLines;
    Lines notFlowModel = s;
    notFlowModel[0] = "\"CONICAL\"";
    Lines freeFormOnePoint = s;
    freeFormOnePoint[28] = "\" 1\"";
    freeFormOnePoint[29] = "\" 1\"";
    freeFormOnePoint.resize(31);
    Lines shortRow = s;
    shortRow[31] = "\"-3\",\" 1.5E-05\"";
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"0 bytes", ""},
        {"first line not a flow model", join(notFlowModel, 27)},
        {"N = 21 after 30 items", withItem(30, " 21")},
        {"a trailing blank line", join(s) + "\r\n"},
        {"an incomplete second pass", join(s) + join(s, 10)},
        {"ends inside the point rows", join(s, 31)},
        {"ends inside a point row", join(shortRow)},
        {"N not whole", withItem(30, " 2.5")},
        {"N negative", withItem(30, "-1")},
        {"a free-form body of one point", join(freeFormOnePoint)},
        {"fin count 2", withItem(15, " 2")},
        {"fin count 9", withItem(15, " 9")},
        {"fin count not whole", withItem(15, " 3.5")},
        {"planform 5", withItem(16, " 5")},
        {"planform -1", withItem(16, "-1")},
        {"edge 4", withItem(17, " 4")},
        {"finish 4", withItem(18, " 4")},
        {"body mode 2", withItem(29, " 2")},
        {"body mode .5", withItem(29, " .5")},
        {"a length beyond the double range", withItem(6, " 1E400")},
        {"a single item beyond the single range", withItem(20, " 1E39")},
        {"an unsafe code in an older layout", join(Lines(s.begin(), s.begin() + 14)) + "\" 2\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sample(*m);
        m->FreeStreamVelocity = 99;
        m->FinCount = 5;
        const std::optional<std::string> snapshot = write(*m);
        const ReadResult r = read(c.bytes);
        EXPECT_EQ(r.outcome, ReadOutcome::Error);
        EXPECT_FALSE(commit(r, *m));
        EXPECT_EQ(write(*m), snapshot);
    }
}

TEST_F(ProjectFileTest, OlderLayoutEndingAfterItem27)
{
    sample(*m);
    m->FreeStreamVelocity = 99;
    m->MeshAxialNodeCount = 35;
    m->ActiveBodyGeometry = 1;
    m->FreeFormPointCount = 6;
    for (int i = 1; i <= 6; ++i) m->FreeFormBodyX(i) = m->FreeFormScreenY(i) = i;
    Lines compressible = kSampleLines;
    compressible[0] = "\"COMPRESSIBLE\"";
    const ReadResult r = read(join(compressible, 27));
    ASSERT_EQ(r.outcome, ReadOutcome::OlderLayout);
    EXPECT_EQ(r.record.itemsRead, 27);
    ASSERT_TRUE(commit(r, *m));
    const std::optional<std::string> bytes = write(*m);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, join(compressible, 27).size()), join(compressible, 27));
    EXPECT_EQ(m->CompressibleFlow, 1);
    EXPECT_EQ(m->MeshAxialNodeCount, 20);
    EXPECT_EQ(m->ActiveBodyGeometry, 0);
    EXPECT_EQ(m->FreeFormPointCount, 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(m->FreeFormBodyX(i), 0);
        EXPECT_EQ(m->FreeFormBodyRadius(i), 0);
        EXPECT_EQ(m->FreeFormScreenX(i), 0);
        EXPECT_EQ(m->FreeFormScreenY(i), 0);
    }
    EXPECT_EQ(m->FreeFormBodyX(5), 5);  // beyond the four points nothing changes
}

TEST_F(ProjectFileTest, OlderLayoutLeavesUnreadItemsAndEmptiesUnreadTexts)
{
    sample(*m);
    m->FinCount = 5;
    const ReadResult r = read(join(kSampleLines, 11));
    ASSERT_EQ(r.outcome, ReadOutcome::OlderLayout);
    ASSERT_TRUE(commit(r, *m));
    EXPECT_EQ(m->NoseShapeText, "TANGENT OGIVE");
    EXPECT_EQ(m->NoseShapeName, "TANGENT OGIVE");
    EXPECT_EQ(m->AnalysisUnits, "");
    EXPECT_EQ(m->SpeedUnitText, "");
    EXPECT_EQ(m->AltitudeText, "");
    EXPECT_EQ(m->FinCount, 5);

    // Ending after item 29: a free-form mode without its points is not taken.
    Lines freeForm = kSampleLines;
    freeForm[27] = "\" 30\"";
    freeForm[28] = "\" 1\"";
    const ReadResult r29 = read(join(freeForm, 29));
    ASSERT_EQ(r29.outcome, ReadOutcome::OlderLayout);
    ASSERT_TRUE(commit(r29, *m));
    EXPECT_EQ(m->ActiveBodyGeometry, 0);
    EXPECT_EQ(m->MeshAxialNodeCount, 20);
}

TEST_F(ProjectFileTest, FreeFormFilesSetTheMeshSize)
{
    struct Case {
        const char* item28;
        double mesh;
    };
    const Case cases[] = {{" 30", 30}, {" 10", 10}, {" 50", 50}, {" 60", 20}, {" 9", 20}, {" 12.5", 20}, {"", 20}};
    for (const Case& c : cases) {
        sample(*m);
        Lines lines = kSampleLines;
        lines[27] = std::string("\"") + c.item28 + "\"";
        lines[28] = "\" 1\"";
        const ReadResult r = read(join(lines));
        ASSERT_EQ(r.outcome, ReadOutcome::Complete) << c.item28;
        ASSERT_TRUE(commit(r, *m));
        EXPECT_EQ(m->MeshAxialNodeCount, c.mesh) << c.item28;
        EXPECT_EQ(m->MeshRadialNodeCount, c.mesh) << c.item28;
        EXPECT_EQ(m->MeshSizeUserSet, 1);
        EXPECT_EQ(m->ActiveBodyGeometry, 1);
    }
    // A standard-body file leaves the mesh size alone.
    sample(*m);
    m->MeshAxialNodeCount = 35;
    ASSERT_TRUE(commit(read(withItem(28, " 60")), *m));
    EXPECT_EQ(m->MeshAxialNodeCount, 35);
}

TEST_F(ProjectFileTest, CommitAppliesTheHeldAsideValues)
{
    Lines lines = kSampleLines;
    lines[0] = "\"COMPRESSIBLE\"";
    lines[4] = "\"SEARS-HAACK\"";
    auto fresh = makeModule1();
    setStartupDefaults(*fresh);
    ASSERT_TRUE(commit(read(join(lines)), *fresh));
    EXPECT_EQ(fresh->CompressibleFlow, 1);
    EXPECT_EQ(fresh->NoseShapeName, "SEARS-HAACK");
    EXPECT_EQ(fresh->FreeFormScreenX(1), 1200);
    EXPECT_EQ(fresh->FreeFormScreenY(2), 9615);
    EXPECT_EQ(fresh->FreeFormBaseRadius, 1.5e-5f);

    lines[4] = "\"cone\"";  // a text no shape matches keeps the shape
    ASSERT_TRUE(commit(read(join(lines)), *fresh));
    EXPECT_EQ(fresh->NoseShapeText, "cone");
    EXPECT_EQ(fresh->NoseShapeName, "SEARS-HAACK");
}

TEST_F(ProjectFileTest, FurtherContentIsReadAgainOverTheSameValues)
{
    Lines second = kSampleLines;
    second[1] = "\" 200\"";
    second[29] = "\" 1\"";
    second[30] = "\" 7\",\" 1\",\" 2\",\" 3\"";
    second.resize(31);
    const ReadResult r = read(join(kSampleLines) + join(second));
    ASSERT_EQ(r.outcome, ReadOutcome::Complete);
    EXPECT_EQ(r.record.FreeStreamVelocity, 200);
    EXPECT_EQ(r.record.FreeFormPointCount, 1);
    EXPECT_EQ(r.record.pointRowsRead, 2);
    auto fresh = makeModule1();
    setStartupDefaults(*fresh);
    ASSERT_TRUE(commit(r, *fresh));
    EXPECT_EQ(fresh->FreeStreamVelocity, 200);
    EXPECT_EQ(fresh->FreeFormBodyX(1), 7);
    EXPECT_EQ(fresh->FreeFormBodyX(2), -3);  // read by the first pass, straight into its variable
}

// Random projects the windows can produce: write, read, commit and write
// again give the same bytes.
struct RandomProject {
    std::mt19937 rng;
    double number()
    {
        switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
        case 0: return 0;
        case 1: return std::uniform_int_distribution<int>(-500, 500)(rng);
        case 2: return std::uniform_int_distribution<int>(0, 99999)(rng) / 1000.0;
        default: {
            const double mant = std::uniform_real_distribution<double>(-10, 10)(rng);
            return mant * std::pow(10.0, std::uniform_int_distribution<int>(-30, 30)(rng));
        }
        }
    }
    float single() { return static_cast<float>(number() * 1e-3); }
    template <typename T>
    T pick(std::initializer_list<T> items)
    {
        return items.begin()[std::uniform_int_distribution<size_t>(0, items.size() - 1)(rng)];
    }
    int whole(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    void fill(Module1& m)
    {
        m.FlowModelText = pick({"INCOMPRESSIBLE", "COMPRESSIBLE"});
        m.NoseShapeText = pick({"CONICAL", "TANGENT OGIVE", "ELLIPTICAL", "PARABOLIC", "SEARS-HAACK", "  a, b ", ""});
        m.AnalysisUnits = pick({"FPS", "IPS", "MNS"});
        m.SpeedUnitText = pick({"FT/SEC", "MPH", "M/SEC", "MACH", "caf\xC3\xA9"});
        m.AltitudeText = pick({"SEA LEVEL", "5000 FT", "150000 FT"});
        for (double* v : {&m.FreeStreamVelocity, &m.AmbientDensity, &m.AmbientPressure, &m.NoseConeLength,
                          &m.BodyTubeLength, &m.NoseConeDiameter, &m.TransitionDiameter, &m.TransitionLength,
                          &m.BaseTubeLength, &m.FinTipDistance, &m.FinSpan, &m.FinRootChord, &m.FinThickness,
                          &m.LaunchLugLength, &m.LaunchLugOuterDiameter})
            *v = number();
        m.FinTipChord = single();
        m.FinRootDistance = single();
        m.LaunchLugInnerDiameter = single();
        m.FinCount = static_cast<int16_t>(pick({0, 3, 4, 5, 6, 7, 8}));
        m.FinPlanformCode = static_cast<int16_t>(whole(0, 4));
        m.FinEdgeCode = static_cast<int16_t>(whole(0, 3));
        m.SurfaceFinishCode = static_cast<int16_t>(whole(0, 3));
        m.ActiveBodyGeometry = static_cast<int16_t>(whole(0, 1));
        m.MeshAxialNodeCount = m.ActiveBodyGeometry ? whole(10, 50) : 33;
        m.FreeFormPointCount = static_cast<int16_t>(whole(m.ActiveBodyGeometry ? 2 : 0, 20));
        for (int i = 1; i <= m.FreeFormPointCount; ++i) {
            m.FreeFormBodyX(i) = number();
            m.FreeFormBodyRadius(i) = number();
            m.FreeFormScreenX(i) = number();
            m.FreeFormScreenY(i) = whole(-32768, 32767);
        }
    }
};

TEST(ProjectFileRoundTrip, WriteReadWriteIsByteIdentical)
{
    RandomProject gen{std::mt19937(20240517)};
    auto saved = makeModule1();
    auto opened = makeModule1();
    setStartupDefaults(*saved);
    for (int n = 0; n < 300; ++n) {
        gen.fill(*saved);
        const std::optional<std::string> bytes = write(*saved);
        ASSERT_TRUE(bytes) << n;
        setStartupDefaults(*opened);
        opened->MeshAxialNodeCount = 33;  // what a standard-body file leaves alone
        const ReadResult r = read(*bytes);
        ASSERT_EQ(r.outcome, ReadOutcome::Complete) << *bytes;
        ASSERT_TRUE(commit(r, *opened));
        ASSERT_EQ(write(*opened), bytes) << n;
    }
}

} // namespace
} // namespace velmora::projectfile
