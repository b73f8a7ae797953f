#include "platform/ui/Printing.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPixmap>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WholeFile.h"

namespace velmora {

namespace {

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) return nullptr;
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

QString documentsFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
    return dir;
}

PrinterProvider& provider()
{
    static PrinterProvider p;
    return p;
}

QString& lastDestination()
{
    static QString s;
    return s;
}

void setError(QString* error, const QString& text)
{
    if (error) *error = text;
}

QString destinationOf(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return printer.outputFileName();
    return printer.printerName();
}

bool beginOn(QPainter& painter, QPrinter& printer, QString* error)
{
    if (painter.begin(&printer)) return true;
    const QString where = destinationOf(printer);
    setError(error, where.isEmpty() ? QStringLiteral("The printer could not be started.")
                                    : QStringLiteral("Could not print to %1.").arg(where));
    return false;
}

bool finish(QPainter& painter, QPrinter& printer, QString* error)
{
    // A print device that errs or aborts the job says so in its state.
    const bool ended = painter.end();
    const QPrinter::PrinterState state = printer.printerState();
    if (!ended || state == QPrinter::Error || state == QPrinter::Aborted) {
        setError(error, QStringLiteral("The print job could not be completed."));
        return false;
    }
    lastDestination() = destinationOf(printer);
    return true;
}

// The window as it looks with the mouse elsewhere: the key that started the
// print is not drawn in its hover state.
QPixmap grabAtRest(QWidget* window)
{
    QList<QWidget*> hovered;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->testAttribute(Qt::WA_UnderMouse)) hovered << w;
    for (QWidget* w : hovered) w->setAttribute(Qt::WA_UnderMouse, false);
    const QPixmap shot = window->grab();
    for (QWidget* w : hovered) w->setAttribute(Qt::WA_UnderMouse, true);
    return shot;
}

// A PDF document ends with its trailer's "%%EOF" (and at most a line end):
// a file cut short lacks it.
bool pdfComplete(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 8 || !f.seek(f.size() - 8)) return false;
    return f.read(8).trimmed().endsWith("%%EOF");
}

// Runs the job on the printer. A job that goes to a file writes it whole or
// not at all: into a temporary file beside it, checked (the job's end and
// the printer's state, the file's size, a PDF's trailer), then put in place
// in one step; a failure says why in *error and keeps any earlier file.
bool runJob(QPrinter& printer, const PrintJob& job, QString* error)
{
    const QString target = printer.outputFileName();
    if (target.isEmpty()) return job(printer, error);
    const QString reason = saveWholeFileBy(target, [&](const QString& temporary, QString* why) {
        printer.setOutputFileName(temporary);
        const bool done = job(printer, why);
        printer.setOutputFileName(target);
        if (why) why->replace(temporary, target);  // the user knows the file by its own name
        return done && (printer.outputFormat() != QPrinter::PdfFormat || pdfComplete(temporary));
    });
    if (!reason.isEmpty()) {
        setError(error, reason);
        return false;
    }
    lastDestination() = target;
    return true;
}

} // namespace

void setPrinterProvider(PrinterProvider p) { provider() = std::move(p); }

std::unique_ptr<QPrinter> makePrinter()
{
    return provider() ? provider()() : defaultPrinter();
}

QString lastPrintDestination() { return lastDestination(); }

QString withReason(const QString& failure, const QString& reason)
{
    return reason.isEmpty() ? failure : failure + QLatin1Char(' ') + reason;
}

bool printWidgetImage(QWidget* window, QString* error)
{
    if (!window) {
        setError(error, QStringLiteral("There is no window to print."));
        return false;
    }
    std::unique_ptr<QPrinter> printer = makePrinter();
    if (!printer) {
        setError(error, QStringLiteral("No printer is available."));
        return false;
    }
    return runJob(*printer, [window](QPrinter& p, QString* why) { return printWidgetImage(window, p, why); }, error);
}

bool printWidgetImage(QWidget* window, QPrinter& printer, QString* error)
{
    if (!window) {
        setError(error, QStringLiteral("There is no window to print."));
        return false;
    }
    const QPixmap shot = grabAtRest(window);
    if (shot.isNull()) {
        setError(error, QStringLiteral("The window could not be captured for printing."));
        return false;
    }
    QPainter painter;
    if (!beginOn(painter, printer, error)) return false;

    // Physical size on screen, converted to printer dots.
    const QRect page = painter.viewport();
    const double screenDpi = window->logicalDpiX() > 0 ? window->logicalDpiX() : 96.0;
    const QSizeF logical = shot.deviceIndependentSize();
    QSizeF target = logical * (printer.resolution() / screenDpi);
    if (target.width() > page.width() || target.height() > page.height())
        target.scale(QSizeF(page.size()), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(QPointF(0, 0), target), shot, QRectF(shot.rect()));
    return finish(painter, printer, error);
}

QString proposedPdfName(const QString& folder, const QString& caption)
{
    QString base;
    for (QChar c : caption.simplified())
        if (!QStringLiteral("\\/:*?\"<>|").contains(c)) base += c;
    base = base.trimmed();
    if (base.isEmpty()) base = QStringLiteral("Page");
    const QDir dir(folder);
    QString name = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(name); ++n) name = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return name;
}

PrintOutcome printThroughDialog(QWidget* window, StatusBar* status, const QString& document, const PrintJob& job,
                                const QString& what, QString* reason)
{
    QString error;
    if (std::unique_ptr<QPrinter> printer = makePrinter()) {
        printer->setDocName(document);
        if (!ModalSeam::instance().printDialog(*printer)) return PrintOutcome::Cancelled;
        if (runJob(*printer, job, &error)) return PrintOutcome::Printed;
        setError(reason, error);
        return PrintOutcome::Failed;
    }

    // No printer on this machine: the job goes to a PDF file of the user's choice.
    FileRequest request;
    request.save = true;
    request.title = QStringLiteral("Save %1 as PDF").arg(what);
    request.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
    request.fileName = proposedPdfName(documentsFolder(), document);
    QString file = ModalSeam::instance().fileDialog(request);
    if (file.isEmpty()) return PrintOutcome::Cancelled;
    if (QFileInfo(file).suffix().isEmpty()) {
        // The dialog checked the name as typed; the one written is another.
        file += QStringLiteral(".pdf");
        if (QFileInfo::exists(file) &&
            MsgBox(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(file)),
                   MsgButtons::YesNo, request.title, MsgIcon::Exclamation) != MsgAnswer::Yes)
            return PrintOutcome::Cancelled;
    }
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(file);
    pdf.setDocName(document);
    if (!runJob(pdf, job, &error)) {
        setError(reason, error);
        return PrintOutcome::Failed;
    }
    const QString where = QStringLiteral("%1 saved as %2").arg(what, QDir::toNativeSeparators(file));
    if (status) status->setPanel(1, where);
    else if (window) MsgBox(where, MsgButtons::OkOnly, window->window()->windowTitle(), MsgIcon::Information);
    return PrintOutcome::SavedToFile;
}

PrintOutcome printPage(QWidget* window, StatusBar* status)
{
    const QString failure = QStringLiteral("The form can't be printed.");
    if (!window) {
        MsgBox(failure, MsgButtons::OkOnly);
        return PrintOutcome::Failed;
    }
    QString reason;
    const PrintOutcome outcome = printThroughDialog(
        window, status, window->window()->windowTitle(),
        [window](QPrinter& printer, QString* error) { return printWidgetImage(window, printer, error); },
        QStringLiteral("Page"), &reason);
    if (outcome == PrintOutcome::Failed) {
        // The status bar no longer says where an earlier page was saved.
        const QString said = withReason(failure, reason);
        if (status) status->setPanel(1, said);
        MsgBox(said, MsgButtons::OkOnly);
    }
    return outcome;
}

bool printTextTable(const QStringList& lines, QString* error)
{
    std::unique_ptr<QPrinter> printer = makePrinter();
    if (!printer) {
        setError(error, QStringLiteral("No printer is available."));
        return false;
    }
    return runJob(*printer, [&lines](QPrinter& p, QString* why) { return printTextTable(lines, p, why); }, error);
}

bool printTextTable(const QStringList& lines, QPrinter& printer, QString* error)
{
    QPainter painter;
    if (!beginOn(painter, printer, error)) return false;

    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    painter.setFont(font);
    const QFontMetricsF fm = painter.fontMetrics();
    const QRect page = painter.viewport();
    const double step = fm.lineSpacing();
    const int perPage = std::max(1, static_cast<int>(std::floor(page.height() / step)));

    painter.setClipRect(QRect(QPoint(0, 0), page.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i % perPage);
        if (row == 0 && i > 0 && !printer.newPage()) {
            painter.end();
            setError(error, QStringLiteral("The printer could not start a new page."));
            return false;
        }
        painter.drawText(QPointF(0, row * step + fm.ascent()), lines[i]);
    }
    return finish(painter, printer, error);
}

} // namespace velmora
