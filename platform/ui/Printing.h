#pragma once
// Printing of a window's picture and of plain text tables.
//
// printPage() is the Print Page command of every window: with a printer it
// shows the print dialog, without one it asks where to save the page as a
// PDF file. The lower helpers print straight to a printer and never open a
// dialog; they return false with the reason in *error.
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
// size, shrunk (keeping proportions) when that does not fit the page.
bool printWidgetImage(QWidget* window, QString* error);
bool printWidgetImage(QWidget* window, QPrinter& printer, QString* error);

enum class PrintOutcome { Printed, SavedToFile, Cancelled, Failed };

// The Print Page command of a window. With a printer: the print dialog, then
// the page. Without one: a save dialog for a PDF file, proposed in the
// documents folder under the window's caption and never an existing file
// (the dialog asks before the user replaces one); panel 1 of the status bar
// (or, for a window without one, a message) says where the file went. A
// failure shows "The form can't be printed."; a cancelled dialog does nothing.
PrintOutcome printPage(QWidget* window, StatusBar* status);

// The name proposed for the PDF of a window with this caption, in this
// folder: the caption without the characters file names cannot hold, with
// " (2)", " (3)", ... added while that file exists.
QString proposedPdfName(const QString& folder, const QString& caption);

// Prints the lines in a monospace font (DejaVu Sans Mono, 10 pt), as many
// pages as needed; a line wider than the page is cut at the right margin.
bool printTextTable(const QStringList& lines, QString* error);

// Where the last successful print went: the printer name or the PDF file.
QString lastPrintDestination();

} // namespace velmora
