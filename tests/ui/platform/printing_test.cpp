// Printing to a PDF through the printer seam.
#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"
#include "tests/ui/Harness.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        velmora::testing::printTo(pdf);
    }
    void TearDown() override { velmora::setPrinterProvider({}); }

    QByteArray pdfBytes() const
    {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Page objects in the file ("/Type /Page" but not "/Type /Pages").
    int pageCount() const
    {
        const QByteArray b = pdfBytes();
        int n = 0;
        for (qsizetype at = b.indexOf("/Type /Page"); at >= 0; at = b.indexOf("/Type /Page", at + 1))
            if (b.mid(at + 11, 1) != "s") ++n;
        return n;
    }

    QTemporaryDir dir;
    QString pdf;
};

} // namespace

TEST_F(PrintingTest, WindowImageGoesToAPdf)
{
    QWidget window;
    window.resize(400, 300);
    auto* pb = new velmora::PictureBox(&window);
    pb->setGeometry(0, 0, 400, 300);
    pb->box(10, 10, 200, 100, qRgb(255, 0, 0), true);

    QString error;
    ASSERT_TRUE(velmora::printWidgetImage(&window, &error)) << error.toStdString();
    const QByteArray b = pdfBytes();
    EXPECT_GT(b.size(), 1000);
    EXPECT_TRUE(b.startsWith("%PDF"));
    EXPECT_EQ(pageCount(), 1);
    EXPECT_TRUE(b.contains("/Subtype /Image")); // the window picture is on the page
    EXPECT_EQ(velmora::lastPrintDestination(), pdf);
}

TEST_F(PrintingTest, TextTableRunsOverSeveralPages)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i) lines << QStringLiteral("%1  %2").arg(i, 4).arg(0.01 * i, 8, 'f', 4);
    QString error;
    ASSERT_TRUE(velmora::printTextTable(lines, &error)) << error.toStdString();
    EXPECT_TRUE(pdfBytes().startsWith("%PDF"));
    EXPECT_TRUE(pdfBytes().contains("DejaVuSansMono"));
    // 10-point lines on one page hold far fewer than 200 lines, far more than 50.
    EXPECT_GE(pageCount(), 2);
    EXPECT_LE(pageCount(), 4);
}

TEST_F(PrintingTest, UnusablePrinterFailsWithAReason)
{
    velmora::testing::printTo(dir.filePath(QStringLiteral("no/such/dir/out.pdf")));
    QWidget window;
    window.resize(100, 100);
    QString error;
    EXPECT_FALSE(velmora::printWidgetImage(&window, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(velmora::printTextTable({QStringLiteral("x")}, &error));
    EXPECT_FALSE(error.isEmpty());

    velmora::testing::printTo({});
    EXPECT_FALSE(velmora::printTextTable({QStringLiteral("x")}, &error));
    EXPECT_FALSE(velmora::printWidgetImage(nullptr, &error));
}
