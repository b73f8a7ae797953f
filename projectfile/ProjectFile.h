#pragma once
// The project data file: thirty quoted items, one a line, then one line of
// four quoted numbers per free-form body point (see ProjectRecord for the
// order). No header, version or checksum; an older layout shows only as a file
// that ends early.
//
// Writing produces the bytes; the window side commits them to disk in one
// piece. Reading never touches the project state: it fills a staging record,
// and commit() applies the record only when the read succeeded (or took the
// older-layout path), so a bad file leaves the project as it was.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/Module1.h"
#include "platform/Arrays.h"
#include "platform/Report.h"

namespace velmora::projectfile {

inline constexpr int ItemCount = 30;
inline constexpr int MaxPoints = 20;
// Far more than a project file holds; a larger file is refused unread.
inline constexpr std::size_t MaxFileBytes = std::size_t{1} << 20;

// What one read of a file gives, in file order (the comment is the item
// number). Items 1, 5, 12, 13, 14, 28 and 29 and the point fields 3 and 4 are
// the values held aside for the restore; an item or field that was not read
// stays empty ("" or 0). Items 20, 21 and 27 are single precision (7 digits in
// the file), the others double (15 digits) or whole codes.
struct ProjectRecord {
    std::string flowModel;             // 1
    double FreeStreamVelocity = 0;     // 2
    double AmbientDensity = 0;         // 3
    double AmbientPressure = 0;        // 4
    std::string noseShape;             // 5
    double NoseConeLength = 0;         // 6
    double BodyTubeLength = 0;         // 7
    double NoseConeDiameter = 0;       // 8
    double TransitionDiameter = 0;     // 9
    double TransitionLength = 0;       // 10
    double BaseTubeLength = 0;         // 11
    std::string unitCode;              // 12
    std::string speedUnit;             // 13
    std::string altitude;              // 14
    int16_t FinCount = 0;              // 15: 0 or 3..8
    int16_t FinPlanformCode = 0;       // 16: 0..4
    int16_t FinEdgeCode = 0;           // 17: 0..3
    int16_t SurfaceFinishCode = 0;     // 18: rounded half-even, 0..3
    double FinTipDistance = 0;         // 19
    float FinTipChord = 0;             // 20
    float FinRootDistance = 0;         // 21
    double FinSpan = 0;                // 22
    double FinRootChord = 0;           // 23
    double FinThickness = 0;           // 24
    double LaunchLugLength = 0;        // 25
    double LaunchLugOuterDiameter = 0; // 26
    float LaunchLugInnerDiameter = 0;  // 27
    double meshSize = 0;               // 28: whole 10..50 for a free-form file (else 20)
    int16_t FileBodyGeometry = 0;      // 29: 0 standard, 1 free-form
    int16_t FreeFormPointCount = 0;    // 30: 0..20, 2..20 for a free-form file
    Array1<double, MaxPoints> FreeFormBodyX;       // point field 1
    Array1<double, MaxPoints> FreeFormBodyRadius;  // point field 2
    Array1<double, MaxPoints> screenX;             // point field 3
    Array1<int16_t, MaxPoints> screenY;            // point field 4, rounded half-even

    int itemsRead = 0;       // items of the last pass read, 0..30
    int pointRowsRead = 0;   // highest point row read completely, over all passes
    std::string notNumberText;  // a number field that held no number, for the read error
};

// The layout a read found (when it is Done).
enum class ReadLayout {
    Complete,     // every pass ended after its last point row, at the end of the file
    OlderLayout   // the first pass ended before item 30 and item 1 is a flow model
};

// Done, or Refused: "An Error Reading The File", nothing may be committed.
// message: why a refused read failed, for the main window's status bar: one
// of the two texts below, "The file ends inside item 15." (or "point row 3"),
// "The file ends inside item 8, before its closing quote." for a file cut
// inside a field, "Item 18 holds a value the program cannot use." (or
// "Point row 3"), or for a number field that is not wholly a number (blanks
// around it aside) "Item 20 holds "abc", which is not a number: the decimal
// separator is a point." (its text as it decodes, or escaped). What follows
// the last point row is named by its line: "Line 33 holds "abc" after the
// last point row, where the file should end.", or for a second project that
// breaks off "The file ends inside item 4 of the project that starts on line
// 33.".
struct ReadResult : Report {
    ReadLayout layout = ReadLayout::Complete;
    ProjectRecord record;
};

// The message of a read that fails, and the reasons of a file refused whole.
inline constexpr const char* ReadErrorMessage = "An Error Reading The File";
inline constexpr const char* kMsgTooLarge = "The file is larger than a project file can be.";
inline constexpr const char* kMsgNoProject = "The file holds no project.";
// The message of a save that fails.
inline constexpr const char* SaveErrorMessage = "An Error Saving The File.";

// The file bytes (Latin-1, CR LF line ends) of the project in `m`, with the
// texts of the main and body windows' lists from their mirrors FlowModelText,
// NoseShapeText, SpeedUnitText and AltitudeText. nullopt when the project
// cannot be written: FreeFormPointCount outside 0..20, a number that is not
// finite, or a text holding a double quote, a line break or a character
// beyond Latin-1.
std::optional<std::string> write(const Module1& m);

// Reads the bytes of a project file (any number of passes: a file that holds
// more after its last point row is read again from item 1 over the same
// record). Beyond the failures of the file layout (the file ends inside a
// pass or is cut inside a quoted field, a number beyond the double range or, for the single-precision items,
// beyond the single range) a value the windows never produce is an error:
// a text its list does not show (so every text read can be written back),
// a code outside its set, item 30 outside its range, point field 4 beyond 16
// bits. A file of more than MaxFileBytes, or with no item, is an error; a
// UTF-8 byte-order mark before item 1 is skipped. On the older-layout path
// items 28 and 29 are dropped: the conversion defaults (standard body, mesh
// 20) stand. Blanks and line ends after the last item or point row are no
// further pass.
ReadResult read(std::string_view bytes);

// Applies a read to the project state; false, with `m` untouched, for a
// refused read. The numbers read go into their variables; the held-aside
// values go where the restore puts them: the texts into FlowModelText,
// NoseShapeText, AnalysisUnits, SpeedUnitText and AltitudeText (a text an
// older file does not hold keeps its value, so its list goes on showing what
// the computation uses), with CompressibleFlow and NoseShapeName following
// the flow model and nose shape; a free-form file sets the mesh size (both node
// counts, MeshSizeUserSet = 1) and ActiveBodyGeometry = 1, any other file
// ActiveBodyGeometry = 0; the screen points 1..N go into FreeFormScreenX/Y and
// FreeFormBaseRadius becomes FreeFormBodyRadius(N). The older-layout path
// applies what was read, then the conversion defaults.
// The window side then writes the controls from the state and the record in
// the restore order; what their handlers derive (the atmosphere, the velocity
// through its box, the fin planform values) is theirs.
bool commit(const ReadResult& result, Module1& m);

// The defaults for a file of an older layout: MeshAxialNodeCount 20, a
// standard body and four free-form points, all at 0.
void applyConversionDefaults(Module1& m);

} // namespace velmora::projectfile
