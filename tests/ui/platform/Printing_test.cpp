// Printing to a PDF through the printer seam; the windows' print failures are checked with the windows.
#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"
#include "tests/ui/Harness.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Page objects in the file ("/Type /Page" but not "/Type /Pages").
int pageCount(const QByteArray& b)
{
    int n = 0;
    for (qsizetype at = b.indexOf("/Type /Page"); at >= 0; at = b.indexOf("/Type /Page", at + 1))
        if (b.mid(at + 11, 1) != "s") ++n;
    return n;
}

} // namespace

TEST(Printing, WindowImageOnOnePageTextTableOverSeveral)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("image.pdf")), table = dir.filePath(QStringLiteral("t.pdf"));
    velmora::testing::printTo(image);
    QWidget window;
    window.resize(400, 300);
    auto* pb = new velmora::PictureBox(&window);
    pb->setGeometry(0, 0, 400, 300);
    pb->box(10, 10, 200, 100, qRgb(255, 0, 0), true);
    QString error;
    ASSERT_TRUE(velmora::printWidgetImage(&window, &error)) << error.toStdString();
    EXPECT_TRUE(fileBytes(image).startsWith("%PDF"));
    EXPECT_EQ(pageCount(fileBytes(image)), 1);
    EXPECT_TRUE(fileBytes(image).contains("/Subtype /Image")); // the window picture is on the page
    EXPECT_EQ(velmora::lastPrintDestination(), image);

    velmora::testing::printTo(table);
    QStringList lines;
    for (int i = 0; i < 200; ++i) lines << QStringLiteral("%1  %2").arg(i, 4).arg(0.01 * i, 8, 'f', 4);
    ASSERT_TRUE(velmora::printTextTable(lines, &error)) << error.toStdString();
    EXPECT_TRUE(fileBytes(table).contains("DejaVuSansMono"));
    // 10-point lines on one page hold far fewer than 200 lines, far more than 50.
    EXPECT_GE(pageCount(fileBytes(table)), 2);
    EXPECT_LE(pageCount(fileBytes(table)), 4);

    // A printer that cannot open its file fails with a reason.
    velmora::testing::printTo(dir.filePath(QStringLiteral("no/such/dir/out.pdf")));
    error.clear();
    EXPECT_FALSE(velmora::printTextTable({QStringLiteral("x")}, &error));
    EXPECT_FALSE(error.isEmpty());
    velmora::setPrinterProvider({});
}

namespace velmora {
namespace {

using testing::Harness;

// A PDF save is written whole or not at all, on every path: Print Page's PDF of the main window (through the save
// dialog, or a printer printing to a file) and both print keys of the sweep window. A save that fails says why after
// the command's own message and leaves the old file byte for byte, with no temporary file beside it.
TEST(PdfSaves, WrittenWholeOrNotAtAll)
{
    enum Place { Room, NoRoom, HalfRoom, ReadOnlyFolder, ReadOnlyFile, Folder };
    struct Command {
        const char* name;
        bool printerToFile;
        QString failure;
        std::function<QString(Harness&)> run;  // the message the command shows afterwards
    };
    const auto printPage = [](Harness& h) {
        SOLVER& s = h.forms->get<SOLVER>();
        s.mnuPrintForm->trigger();
        return h.messages().empty() ? s.StatusBar1->panel(1) : h.messages().back().prompt;
    };
    const auto sweepKey = [](const char* key) {
        return [key](Harness& h) {
            ITERATION& w = openSweep(h, h.typeRocket(), "1", "3", "2");
            h.state->SweepStepsStored = 2;
            Harness::press(w.Toolbar1, key);
            return w.StatusBar1->panel(1);
        };
    };
    const Command commands[] = {{"Print Page", false, "The form can't be printed.", printPage},
                                {"Print Page to a printer's file", true, "The form can't be printed.", printPage},
                                {"PRINT", false, "The screen image could not be printed.", sweepKey("PRINT")},
                                {"PRNDATA", false, "The data could not be printed.", sweepKey("PRNDATA")}};
    const QByteArray old = "%PDF-1.4 the old page\n%%EOF\n";
    for (const Command& c : commands) {
        qint64 whole = 0;
        for (const Place place : {Room, NoRoom, HalfRoom, ReadOnlyFolder, ReadOnlyFile, Folder}) {
            SCOPED_TRACE(std::string(c.name) + " case " + std::to_string(place));
            QTemporaryDir dir;
            const QString pdf = dir.filePath("page.pdf"), shown = QDir::toNativeSeparators(pdf);
            if (place == Folder) ASSERT_TRUE(QDir(dir.path()).mkdir("page.pdf"));
            else {
                QFile f(pdf);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
            }
            if (place == ReadOnlyFile) QFile::setPermissions(pdf, QFile::ReadOwner | QFile::ReadGroup);
            if (place == ReadOnlyFolder) QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            testing::printTo(c.printerToFile ? pdf : QString());
            Harness h;
            h.start();
            h.fileAnswer = [&](const FileRequest&) { return pdf; };
            QString said;
            testing::asOrdinaryUser([&] {
                if (place == NoRoom || place == HalfRoom) testing::withRoomFor(place == NoRoom ? 0 : whole / 2, [&] {
                    said = c.run(h);
                });
                else said = c.run(h);
            });
            setPrinterProvider({});
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

            const QString folder = QDir::toNativeSeparators(dir.path());
            const QString why = place == ReadOnlyFolder ? "No permission to write in " + folder + "."
                                : place == ReadOnlyFile ? shown + " is read-only."
                                : place == Folder       ? shown + " is a folder."
                                                        : "No room on the disk for " + shown + ".";
            const QString saved = c.printerToFile ? QString() : (QString(c.name) == "PRNDATA" ? "Data Table" : "Page") +
                                                                    QStringLiteral(" saved as ") + shown;
            EXPECT_EQ(said.toStdString(), (place == Room ? saved : c.failure + " " + why).toStdString());
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(", ").toStdString(),
                      "page.pdf");
            QFile f(pdf);
            const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            if (place == Room) {
                EXPECT_TRUE(now.startsWith("%PDF") && now.trimmed().endsWith("%%EOF") && now.size() > 1000);
                whole = now.size();
            } else if (place != Folder) {
                EXPECT_TRUE(now == old) << "the old file now holds " << now.size() << " bytes";
            }
        }
    }
}

} // namespace
} // namespace velmora
