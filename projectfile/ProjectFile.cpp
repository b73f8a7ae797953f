#include "projectfile/ProjectFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <type_traits>
#include <utility>
#include <variant>

#include "model/Units.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "platform/SequentialFile.h"
#include "platform/Single.h"

namespace velmora::projectfile {
namespace {

// One item: where the record keeps it, where the state keeps it, and what a
// file may hold there. The two members always have the same type, which gives
// the item's form: text, double (15 digits), single (7 digits, rounded to
// single on reading) or a 16-bit whole number.
template <typename T>
struct Slot {
    T ProjectRecord::*staged;
    T Module1::*state;
};
using AnySlot = std::variant<Slot<std::string>, Slot<double>, Slot<float>, Slot<int16_t>>;

enum class Check {
    None,
    FlowModel,   // a text of the windows' lists: the flow model,
    NoseShape,   //   the nose shape,
    UnitCode,    //   the unit system's code,
    SpeedUnit,   //   the speed unit,
    Altitude,    //   the altitude
    FinCount,    // 0 or 3..8
    Planform,    // 0..4
    Edge,        // 0..3
    Finish,      // rounded half-even, then 0..3
    BodyMode,    // 0 or 1
    PointCount,  // 0..20, 2..20 for a free-form file
};

struct Item {
    AnySlot slot;
    Check check = Check::None;
    bool direct = true;  // committed straight into its state variable
};

using R = ProjectRecord;
using M = Module1;

const std::array<Item, ItemCount> kItems = {{
    {Slot<std::string>{&R::flowModel, &M::FlowModelText}, Check::FlowModel},    // 1
    {Slot<double>{&R::FreeStreamVelocity, &M::FreeStreamVelocity}},              // 2
    {Slot<double>{&R::AmbientDensity, &M::AmbientDensity}},                      // 3
    {Slot<double>{&R::AmbientPressure, &M::AmbientPressure}},                    // 4
    {Slot<std::string>{&R::noseShape, &M::NoseShapeText}, Check::NoseShape},    // 5
    {Slot<double>{&R::NoseConeLength, &M::NoseConeLength}},                      // 6
    {Slot<double>{&R::BodyTubeLength, &M::BodyTubeLength}},                      // 7
    {Slot<double>{&R::NoseConeDiameter, &M::NoseConeDiameter}},                  // 8
    {Slot<double>{&R::TransitionDiameter, &M::TransitionDiameter}},              // 9
    {Slot<double>{&R::TransitionLength, &M::TransitionLength}},                  // 10
    {Slot<double>{&R::BaseTubeLength, &M::BaseTubeLength}},                      // 11
    {Slot<std::string>{&R::unitCode, &M::AnalysisUnits}, Check::UnitCode},      // 12
    {Slot<std::string>{&R::speedUnit, &M::SpeedUnitText}, Check::SpeedUnit},    // 13
    {Slot<std::string>{&R::altitude, &M::AltitudeText}, Check::Altitude},       // 14
    {Slot<int16_t>{&R::FinCount, &M::FinCount}, Check::FinCount},                // 15
    {Slot<int16_t>{&R::FinPlanformCode, &M::FinPlanformCode}, Check::Planform},  // 16
    {Slot<int16_t>{&R::FinEdgeCode, &M::FinEdgeCode}, Check::Edge},              // 17
    {Slot<int16_t>{&R::SurfaceFinishCode, &M::SurfaceFinishCode}, Check::Finish},// 18
    {Slot<double>{&R::FinTipDistance, &M::FinTipDistance}},                      // 19
    {Slot<float>{&R::FinTipChord, &M::FinTipChord}},                             // 20
    {Slot<float>{&R::FinRootDistance, &M::FinRootDistance}},                     // 21
    {Slot<double>{&R::FinSpan, &M::FinSpan}},                                    // 22
    {Slot<double>{&R::FinRootChord, &M::FinRootChord}},                          // 23
    {Slot<double>{&R::FinThickness, &M::FinThickness}},                          // 24
    {Slot<double>{&R::LaunchLugLength, &M::LaunchLugLength}},                    // 25
    {Slot<double>{&R::LaunchLugOuterDiameter, &M::LaunchLugOuterDiameter}},      // 26
    {Slot<float>{&R::LaunchLugInnerDiameter, &M::LaunchLugInnerDiameter}},       // 27
    {Slot<double>{&R::meshSize, &M::MeshAxialNodeCount}, Check::None, false},    // 28
    {Slot<int16_t>{&R::FileBodyGeometry, &M::ActiveBodyGeometry}, Check::BodyMode, false}, // 29
    {Slot<int16_t>{&R::FreeFormPointCount, &M::FreeFormPointCount}, Check::PointCount},    // 30
}};

const char* const kNoseShapes[] = {NoseConeShape::Conical, NoseConeShape::TangentOgive, NoseConeShape::Elliptical,
                                   NoseConeShape::Parabolic, NoseConeShape::SearsHaack};

// A text item must be one its list shows: the windows write no other, and
// the list could show no other as the value the computation uses.
bool textAllowed(Check check, const std::string& t)
{
    const auto listed = [&t](const auto& items) {
        return std::any_of(std::begin(items), std::end(items), [&t](const char* item) { return t == item; });
    };
    switch (check) {
    case Check::FlowModel:
        return t == CompressibilityModel::Incompressible || t == CompressibilityModel::Compressible;
    case Check::NoseShape: return listed(kNoseShapes);
    case Check::UnitCode: return unitIndexByCode(t).has_value();
    case Check::SpeedUnit: return listed(SpeedUnits);
    case Check::Altitude: return findAltitude(t) != nullptr;
    default: return false;
    }
}

bool isWhole(double v) { return std::floor(v) == v; }

// The mesh size a free-form file asks for: a whole 10..50, anything else 20.
double freeFormMeshSize(double v) { return isWhole(v) && v >= 10 && v <= 50 ? v : 20; }

bool codeAllowed(Check check, double v, const ProjectRecord& r)
{
    if (!isWhole(v)) return false;
    switch (check) {
    case Check::FinCount: return v == 0 || (v >= 3 && v <= 8);
    case Check::Planform: return v >= 0 && v <= 4;
    case Check::Edge: return v >= 0 && v <= 3;
    case Check::BodyMode: return v == 0 || v == 1;
    case Check::PointCount: return v >= (r.FileBodyGeometry == FreeFormBody ? 2 : 0) && v <= MaxPoints;
    default: break;
    }
    return false;
}

// ---- reading ----------------------------------------------------------------

// Cut: the file ends inside a quoted field, before its closing quote.
enum class Step { Ok, End, Cut, Bad, NotNumber };

// The next field, or why there is none.
Step take(SequentialReader& in, std::optional<std::string>& f)
{
    f = in.field();
    if (!f) return Step::End;
    return in.fieldUnclosed() ? Step::Cut : Step::Ok;
}

// A number field holds a number and nothing else, blanks around it aside: the
// program writes no other (" 300", ".5", "1E+39"), and "1,5" or "abc" would
// otherwise read as their leading digits.
bool numberField(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t.find_first_of(" \t") == std::string_view::npos && wholeNumber(t);
}

Step readNumber(SequentialReader& in, double& v, ProjectRecord& r)
{
    std::optional<std::string> f;
    if (const Step s = take(in, f); s != Step::Ok) return s;
    if (!numberField(*f)) {
        r.notNumberText = *f;
        return Step::NotNumber;
    }
    const std::optional<double> n = fileNumber(*f);
    if (!n) return Step::Bad;
    v = *n;
    return Step::Ok;
}

// A 16-bit whole number rounded half-even; stored before any range check.
Step readInt16(SequentialReader& in, int16_t& out, ProjectRecord& r)
{
    double v = 0;
    if (const Step s = readNumber(in, v, r); s != Step::Ok) return s;
    const std::optional<int16_t> i = toInt16(v);
    if (!i) return Step::Bad;
    out = *i;
    return Step::Ok;
}

Step readItem(SequentialReader& in, const Item& item, ProjectRecord& r)
{
    struct Visitor {
        SequentialReader& in;
        const Item& item;
        ProjectRecord& r;
        Step operator()(const Slot<std::string>& s) const
        {
            std::optional<std::string> f;
            if (const Step st = take(in, f); st != Step::Ok) return st;
            if (!textAllowed(item.check, *f)) return Step::Bad;
            r.*s.staged = std::move(*f);
            return Step::Ok;
        }
        Step operator()(const Slot<double>& s) const { return readNumber(in, r.*s.staged, r); }
        Step operator()(const Slot<float>& s) const
        {
            double v = 0;
            if (const Step st = readNumber(in, v, r); st != Step::Ok) return st;
            if (!fitsSingle(v)) return Step::Bad;
            r.*s.staged = static_cast<float>(v);
            return Step::Ok;
        }
        Step operator()(const Slot<int16_t>& s) const
        {
            if (item.check == Check::Finish) {
                if (const Step st = readInt16(in, r.*s.staged, r); st != Step::Ok) return st;
                const int16_t v = r.*s.staged;
                return v >= NoFinish && v <= WaxedFinish ? Step::Ok : Step::Bad;
            }
            double v = 0;
            if (const Step st = readNumber(in, v, r); st != Step::Ok) return st;
            if (!codeAllowed(item.check, v, r)) return Step::Bad;
            r.*s.staged = static_cast<int16_t>(v);
            return Step::Ok;
        }
    };
    return std::visit(Visitor{in, item, r}, item.slot);
}

// One pass: items 1 to 30, then the point rows item 30 announces; `row` is
// the point row being read, 0 while the items are.
Step readPass(SequentialReader& in, ProjectRecord& r, int& row)
{
    r.itemsRead = 0;
    row = 0;
    for (const Item& item : kItems) {
        if (const Step s = readItem(in, item, r); s != Step::Ok) return s;
        ++r.itemsRead;
    }
    if (r.FileBodyGeometry == FreeFormBody) r.meshSize = freeFormMeshSize(r.meshSize);
    for (row = 1; row <= r.FreeFormPointCount; ++row) {
        for (double* v : {&r.FreeFormBodyX(row), &r.FreeFormBodyRadius(row), &r.screenX(row)})
            if (const Step s = readNumber(in, *v, r); s != Step::Ok) return s;
        if (const Step s = readInt16(in, r.screenY(row), r); s != Step::Ok) return s;
        r.pointRowsRead = std::max(r.pointRowsRead, row);
    }
    return Step::Ok;
}

// The first line at or after `from` that holds more than blanks: its number
// and its bytes.
std::pair<int, std::string_view> firstFilledLine(std::string_view bytes, std::size_t from)
{
    from = std::min(bytes.find_first_not_of(" \t\r\n", from), bytes.size());
    const std::size_t lineStart = from == 0 ? std::string_view::npos : bytes.find_last_of("\r\n", from - 1);
    const std::size_t start = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    const std::size_t end = std::min(bytes.find_first_of("\r\n", from), bytes.size());
    return {lineAt(bytes, start), bytes.substr(start, end - start)};
}

// Why a pass failed where it stopped: "The file ends inside item 15.",
// "Point row 3 holds a value the program cannot use.". A pass after the
// first reads what follows the last point row: more than a second project
// can begin with is named by its line ("Line 33 holds "abc" after the last
// point row ..."), a second project that breaks off by the line it starts on.
std::string failure(Step s, const ProjectRecord& r, int row, int pass, std::string_view bytes, std::size_t passStart)
{
    const auto [line, text] = firstFilledLine(bytes, passStart);
    if (pass > 1 && r.itemsRead == 0)
        return "Line " + std::to_string(line) + " holds \"" + shownText(text) + "\" after " +
               (r.FreeFormPointCount > 0 ? "the last point row" : "item 30") + ", where the file should end.";
    std::string at = row > 0 ? "point row " + std::to_string(row) : "item " + std::to_string(r.itemsRead + 1);
    if (pass > 1) at += " of the project that starts on line " + std::to_string(line);
    if (s == Step::End) return "The file ends inside " + at + ".";
    if (s == Step::Cut) return "The file ends inside " + at + ", before its closing quote.";
    // The text as the file holds it, not as its 8-bit reading spells it.
    const std::string raw = utf8ToLatin1(r.notNumberText).value_or(r.notNumberText);
    std::string message = s == Step::NotNumber ? at + " holds \"" + shownText(raw) +
                                                     "\", which is not a number: the decimal separator is a point."
                                               : at + " holds a value the program cannot use.";
    message[0] = row > 0 ? 'P' : 'I';
    return message;
}

} // namespace

// ---- writing ----------------------------------------------------------------

std::optional<std::string> write(const Module1& m)
{
    const int n = m.FreeFormPointCount;
    if (n < 0 || n > MaxPoints) return std::nullopt;
    SequentialWriter w;
    for (const Item& item : kItems) {
        std::visit(
            [&](const auto& s) {
                using T = std::decay_t<decltype(m.*s.state)>;
                if constexpr (std::is_same_v<T, std::string>) w.quoted(m.*s.state);
                else if constexpr (std::is_same_v<T, float>) w.quotedNumber(m.*s.state, 7);
                else w.quotedNumber(static_cast<double>(m.*s.state), 15);
            },
            item.slot);
        w.endLine();
    }
    for (int i = 1; i <= n; ++i) {
        w.quotedNumber(m.FreeFormBodyX(i)).quotedNumber(m.FreeFormBodyRadius(i));
        w.quotedNumber(m.FreeFormScreenX(i)).quotedNumber(m.FreeFormScreenY(i)).endLine();
    }
    if (w.failed()) return std::nullopt;
    return w.bytes();
}

ReadResult read(std::string_view bytes)
{
    ReadResult result;
    ProjectRecord& r = result.record;
    if (bytes.size() > MaxFileBytes) {
        result.message = kMsgTooLarge;
        return result;
    }
    // A byte-order mark some editors put before UTF-8 text is no item.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    SequentialReader in(bytes);
    if (in.atEnd()) {
        result.message = kMsgNoProject;
        return result;
    }
    for (int pass = 1; !in.atEnd(); ++pass) {
        int row = 0;
        const std::size_t passStart = in.position();
        const Step s = readPass(in, r, row);
        // Blanks and line ends after the last item are no further item.
        if (s == Step::Ok && in.onlyBlanksLeft()) break;
        if (s == Step::Ok) continue;
        if (s == Step::End && pass == 1 && r.itemsRead < ItemCount) {
            // An older layout: what it lacks comes from the conversion defaults.
            r.meshSize = 0;
            r.FileBodyGeometry = StandardBody;
            result.outcome = Outcome::Done;
            result.layout = ReadLayout::OlderLayout;
        } else {
            result.message = failure(s, r, row, pass, bytes, passStart);
        }
        return result;
    }
    result.outcome = Outcome::Done;
    result.layout = ReadLayout::Complete;
    return result;
}

// ---- committing ---------------------------------------------------------------

void applyConversionDefaults(Module1& m)
{
    m.MeshAxialNodeCount = 20;
    m.ActiveBodyGeometry = StandardBody;
    m.FreeFormPointCount = 4;
    for (int i = 1; i <= m.FreeFormPointCount; ++i) {
        m.FreeFormBodyX(i) = 0;
        m.FreeFormBodyRadius(i) = 0;
        m.FreeFormScreenX(i) = 0;
        m.FreeFormScreenY(i) = 0;
    }
}

bool commit(const ReadResult& result, Module1& m)
{
    if (result.outcome != Outcome::Done) return false;
    const ProjectRecord& r = result.record;

    // The items read go into their variables. A text an older file does not
    // hold keeps the one shown, which is the one the computation uses.
    for (int k = 0; k < ItemCount; ++k) {
        const Item& item = kItems[static_cast<size_t>(k)];
        std::visit(
            [&](const auto& s) {
                if (item.direct && k < r.itemsRead) m.*s.state = r.*s.staged;
            },
            item.slot);
    }
    for (int i = 1; i <= r.pointRowsRead; ++i) {
        m.FreeFormBodyX(i) = r.FreeFormBodyX(i);
        m.FreeFormBodyRadius(i) = r.FreeFormBodyRadius(i);
    }
    if (result.layout == ReadLayout::OlderLayout) applyConversionDefaults(m);

    // What the restore makes of the held-aside values.
    if (r.flowModel == CompressibilityModel::Incompressible) m.CompressibleFlow = 0;
    else if (r.flowModel == CompressibilityModel::Compressible) m.CompressibleFlow = 1;
    for (const char* shape : kNoseShapes)
        if (m.NoseShapeText == shape) m.NoseShapeName = shape;
    if (r.FileBodyGeometry == FreeFormBody) {
        m.MeshAxialNodeCount = r.meshSize;
        m.MeshRadialNodeCount = r.meshSize;
        m.MeshSizeUserSet = 1;
        m.ActiveBodyGeometry = FreeFormBody;
    } else {
        m.ActiveBodyGeometry = StandardBody;
    }
    const int n = m.FreeFormPointCount;
    for (int i = 1; i <= n; ++i) {
        m.FreeFormScreenX(i) = r.screenX(i);
        m.FreeFormScreenY(i) = r.screenY(i);
    }
    m.FreeFormBaseRadius = singleOrZero(m.FreeFormBodyRadius(n));
    return true;
}

} // namespace velmora::projectfile
