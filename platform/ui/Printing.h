#pragma once
// Printing of a window's picture and of plain text tables.
//
// printThroughDialog() is the one print path of every window: with a
// printer it shows the print dialog, without one it asks where to save the
// job as a PDF file. printPage() is the Print Page command on it. The lower
// helpers print straight to a printer and never open a dialog; they return
// false with the reason in *error. A job that goes to a file (the PDF, or a
// printer printing to a file) writes it whole or not at all, as the project
// file is saved: a failure keeps any earlier file and says why ("No room on
// the disk for <file>.", see saveWholeFileBy).
//
// The printer provider stands for the machine's printers: the default one
// gives a high-resolution QPrinter for the default printer, or none on a
// machine without an installed printer. Tests install a provider that prints
// to a PDF in a temporary directory, or one that gives none.
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace velmora {

class StatusBar;

using PrinterProvider = std::function<std::unique_ptr<QPrinter>()>;

// Replaces the provider; an empty function restores the default one.
void setPrinterProvider(PrinterProvider provider);
// A printer from the current provider (may be null if the provider has none).
std::unique_ptr<QPrinter> makePrinter();

// Prints the window as it looks on screen on one page: at its physical screen
// size, shrunk (keeping proportions) when that does not fit the page. The
// control under the mouse is drawn as it looks without it. A printer that
// refuses the job or reports an error gives false.
bool printWidgetImage(QWidget* window, QString* error);
bool printWidgetImage(QWidget* window, QPrinter& printer, QString* error);

enum class PrintOutcome { Printed, SavedToFile, Cancelled, Failed };

// One print job on a printer that has not been begun.
using PrintJob = std::function<bool(QPrinter&, QString* error)>;

// The print path of every window's print commands. The job carries
// `document` as its name, which a print queue shows. With a printer: the
// print dialog, then the job. Without one: a save dialog titled "Save <what>
// as PDF" for a PDF file, proposed in the documents folder under `document`
// and never an existing file (the dialog asks before the user replaces one);
// panel 1 of the status bar (or, for a window without one, a message) says
// "<what> saved as <file>". A cancelled dialog does nothing; the caller
// reports a failure its own way, with the reason put in *reason.
PrintOutcome printThroughDialog(QWidget* window, StatusBar* status, const QString& document, const PrintJob& job,
                                const QString& what = QStringLiteral("Page"), QString* reason = nullptr);

// A failure's message followed by its reason, when there is one.
QString withReason(const QString& failure, const QString& reason);

// The Print Page command of a window: its image through printThroughDialog
// under the window's caption. A failure shows "The form can't be printed."
// followed by its reason, in a message box and in panel 1 of the status bar.
PrintOutcome printPage(QWidget* window, StatusBar* status);

// The name proposed for the PDF of a window with this caption, in this
// folder: the caption without the characters file names cannot hold, with
// " (2)", " (3)", ... added while that file exists.
QString proposedPdfName(const QString& folder, const QString& caption);

// Prints the lines in a monospace font (DejaVu Sans Mono, 10 pt), as many
// pages as needed; a line wider than the page is cut at the right margin.
bool printTextTable(const QStringList& lines, QString* error);
bool printTextTable(const QStringList& lines, QPrinter& printer, QString* error);

// Where the last successful print went: the printer name or the PDF file.
QString lastPrintDestination();

} // namespace velmora
