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
