// Printing to a PDF through the printer seam; the windows' print failures are checked with the windows.
#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"
#include "bodyflow/ui/PlotResults.h"
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

// A PDF save on every path is written whole or not at all: a failure says why after the command's message and leaves
// the old file byte for byte, with no temporary file beside it.
TEST(PdfSaves, WrittenWholeOrNotAtAll)
{
    enum Place { Room, NoRoom, HalfRoom, ReadOnlyFolder, ReadOnlyFile, Folder };
    const struct {
        const char* key;  // of the sweep window; none: Print Page of the main window
        QString saved, failure;  // no "saved" text: a printer prints to the file
    } commands[] = {{nullptr, "Page saved as ", "The form can't be printed."},
                    {nullptr, "", "The form can't be printed."},
                    {"PRINT", "Page saved as ", "The screen image could not be printed."},
                    {"PRNDATA", "Data Table saved as ", "The data could not be printed."}};
    const QByteArray old = "%PDF-1.4 the old page\n%%EOF\n";
    for (const auto& c : commands) {
        qint64 whole = 0;
        for (const Place place : {Room, NoRoom, HalfRoom, ReadOnlyFolder, ReadOnlyFile, Folder}) {
            SCOPED_TRACE((c.saved + c.failure).toStdString() + " case " + std::to_string(place));
            QTemporaryDir dir;
            const QString pdf = dir.filePath("page.pdf"), shown = QDir::toNativeSeparators(pdf);
            QFile f(pdf);
            ASSERT_TRUE(place == Folder ? QDir().mkdir(pdf) : f.open(QFile::WriteOnly) && f.write(old) == old.size());
            f.close();
            if (place == ReadOnlyFile) f.setPermissions(QFile::ReadOwner);
            if (place == ReadOnlyFolder) QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            testing::printTo(c.saved.isEmpty() ? pdf : QString());
            Harness h;
            SOLVER& s = c.key ? h.typeRocket() : h.start();
            ITERATION* w = c.key ? &testing::openSweep(h, s, "1", "3", "2") : nullptr;
            h.state->SweepStepsStored = 2;
            h.fileAnswer = [&](const FileRequest&) { return pdf; };
            const auto command = [&] { w ? Harness::press(w->Toolbar1, c.key) : s.mnuPrintForm->trigger(); };
            const rlim_t room = place == NoRoom ? 1 : place == HalfRoom ? whole / 2 : 0;  // full: 1 byte; 0: no limit
            testing::asOrdinaryUser([&] { testing::withFileSizeLimit(room, command); });
            setPrinterProvider({});
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            // What the command says: the saved file, or after its failure text why.
            const QString full = "No room on the disk for " + shown + ".";
            const QString why[] = {c.saved.isEmpty() ? "" : c.saved + shown, full, full,
                                   "No permission to write in " + QDir::toNativeSeparators(dir.path()) + ".",
                                   shown + " is read-only.", shown + " is a folder."};
            const QString said = h.messages().empty() ? (w ? w->StatusBar1 : s.StatusBar1)->panel(1)
                                                      : h.messages().back().prompt;
            EXPECT_EQ(said.toStdString(), (place == Room ? why[Room] : c.failure + " " + why[place]).toStdString());
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ').toStdString(),
                      "page.pdf");
            const QByteArray now = fileBytes(pdf);
            if (place == Room) whole = now.size();
            EXPECT_TRUE(place == Room ? now.startsWith("%PDF") && now.trimmed().endsWith("%%EOF") && whole > 1000
                                      : place == Folder || now == old) << now.size() << " bytes";
        }
    }
}

// Print Page (Alt+F, P; the body window's PRINT key) in the main, plot and body windows: a save that fails after one that was saved says
// so in panel 1 as well as in its message box, where "Page saved as" the earlier file stood.
TEST(PdfSaves, AFailedPageSaveLeavesNoSavedAsText)
{
    const auto byMenu = [](Form& w) {
        QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P);
    };
    const struct { std::function<Form&(Harness&)> open; std::function<void(Form&)> print; } windows[] = {
        {[](Harness& h) -> Form& { return h.forms->get<SOLVER>(); }, byMenu},
        {testing::open<PlotResults>, byMenu},
        {testing::open<BODYTUBE>, [](Form& w) { Harness::click(static_cast<BODYTUBE&>(w).Toolbar1, "PRINT"); }},
    };
    for (const auto& window : windows) {
        QTemporaryDir dir;
        Harness h;
        h.start();
        Form& w = window.open(h);
        SCOPED_TRACE(w.objectName().toStdString());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        testing::printTo({});
        const QString saved = dir.filePath("page.pdf"), folder = dir.filePath("folder.pdf");
        QDir().mkdir(folder);
        std::vector<std::string> panel1;
        for (const QString& pdf : {saved, folder}) {
            h.fileAnswer = [&](const FileRequest&) { return pdf; };
            window.print(w);
            panel1.push_back(w.findChild<StatusBar*>()->panel(1).toStdString());
        }
        setPrinterProvider({});
        const QString failure = "The form can't be printed. " + QDir::toNativeSeparators(folder) + " is a folder.";
        EXPECT_EQ(panel1, (std::vector{("Page saved as " + QDir::toNativeSeparators(saved)).toStdString(),
                                       failure.toStdString()}));
        EXPECT_EQ(testing::said(h.messages()), QStringList({failure + " | "}));
    }
}

} // namespace
} // namespace velmora
