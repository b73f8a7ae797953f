#pragma once
// Printing of a window's picture and of plain text tables.
//
// Both helpers print straight to the printer handed out by the printer
// provider; they never open a dialog. The window code asks the user first
// (print dialog, confirmation) and shows its own message when a helper
// returns false with the reason in *error.
//
// The default provider gives a high-resolution QPrinter for the default
// printer; on a machine without any installed printer it prints to a PDF file
// in the user's documents folder (or the temporary folder). Tests install a
// provider that prints to a PDF in a temporary directory.
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace velmora {

using PrinterProvider = std::function<std::unique_ptr<QPrinter>()>;

// Replaces the provider; an empty function restores the default one.
void setPrinterProvider(PrinterProvider provider);
// A printer from the current provider (may be null if the provider has none).
std::unique_ptr<QPrinter> makePrinter();

// Prints the window as it looks on screen on one page: at its physical screen
// size, shrunk (keeping proportions) when that does not fit the page.
bool printWidgetImage(QWidget* window, QString* error);

// Prints the lines in a monospace font (DejaVu Sans Mono, 10 pt), as many
// pages as needed; a line wider than the page is cut at the right margin.
bool printTextTable(const QStringList& lines, QString* error);

// Where the last successful print went: the printer name or the PDF file.
QString lastPrintDestination();

} // namespace velmora
