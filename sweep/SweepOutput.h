#pragma once
// The sweep's plotted series and what the sweep window puts out of the
// program: the printed table of the plotted quantity and the comma-delimited
// export of all four quantities.
//
//   SweepPlotSeries  sweepPlotSeries(Module1& m, double steps);
//   SweepTable       sweepTableLines(const Module1& m);
//   SweepExport      sweepExportBytes(Module1& m);
//
// sweepPlotSeries is the data step of the sweep plot (sweepPlot of
// sweep/SweepPlot.h) without the drawing: SweepPlotX, SweepPlotY and the
// axis ends; SweepPlotYMax 0 after it means "no data".
//
// The table and the export read those plotted series, never the raw result
// arrays, so what is printed or saved is what is plotted. The export runs the
// data step for each quantity in turn and then puts the user's quantity and
// its series back; the window clears the picture and redraws it.
#include <string>
#include <vector>

#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora::stability {

inline constexpr const char* kMsgTableNotPrinted = "The data could not be printed.";
inline constexpr const char* kMsgExportNotSaved = "The comma-delimited data could not be saved.";
// Panel 1 when no sweep step is stored: nothing is printed or written.
inline constexpr const char* kMsgNoSweepToPrint = "No loop data to print. Please perform looping CFD analysis.";
inline constexpr const char* kMsgNoSweepToSave = "No loop data to save. Please perform looping CFD analysis.";

inline constexpr const char* kStepColumnLabel = "POINT  ";
inline constexpr const char* kAoaColumnLabel = "AOA      ";
inline constexpr const char* kVelocityColumnLabel = "UINF     ";
inline constexpr const char* kLineLead = "   ";

// The title of quantity 1..4 (Cd, CN, CM, XCp) for the selected sweep kind
// ("Velmora AOA vs. Cd", "Velmora Velocity vs. XCp", ...); "" when no kind
// is selected or the quantity is outside 1..4.
std::string sweepTitle(const Module1& m, int quantity);
// "Cd", "CN", "CM", "XCp"; "" outside 1..4.
std::string sweepQuantityLabel(int quantity);

struct SweepPlotSeries {
    std::string plotType;  // PlotType caption: "Angle of Attack (AOA)", "Velocity" or "" (no kind)
    int steps = 0;         // whole part of N, within 0 .. 360: the points set
    bool hasData = false;  // SweepPlotYMax is not 0
};

// The data step of the sweep plot; writes the plotted series of the state.
SweepPlotSeries sweepPlotSeries(Module1& m, double steps);

// Done, or Failed when a step's numbers have no text: message (panel 1)
// kMsgTableNotPrinted, the other steps' lines still there. Refused with
// kMsgNoSweepToPrint and no line when no step is shown.
struct SweepTable : Report {
    std::vector<std::string> lines;  // the header lines (when a title applies), then one line per step
    std::vector<int> failedSteps;    // steps whose numbers have no text; their lines are left out
};

// The printed table of the plotted quantity for the steps shown (sweepStepsShown):
//   "   " title / "   " / "   POINT  AOA      Cd" (or "UINF     ")
//   "   " i in "####", x and y in "###.#####", each item set in the width of
//   its column label (at least one blank after it); a step without a value
//   (SweepPlotYUndefined) has no y item.
SweepTable sweepTableLines(const Module1& m);

// message: panel 1 on failure; kMsgNoSweepToSave when refused for want of a
// stored step, "" for want of a sweep kind.
struct SweepExport : Report {
    std::string bytes;    // the whole file, CR LF records; empty unless Done
};

// The comma-delimited file: for each quantity 1..4 the quoted title record,
// then a record x,y per step shown of the plotted series, numbers unquoted in
// the writer's plain number text (15 digits: "1", ".25", "-3"), the y field
// empty for a step without a value ("4,"). Refused
// before anything is computed when no sweep kind is selected or no step is
// shown (sweepStepsShown 0). A number
// without a text fails the export with kMsgExportNotSaved. Either way
// SweepPlotQuantity and the plotted series are the user's afterwards.
SweepExport sweepExportBytes(Module1& m);

} // namespace velmora::stability
