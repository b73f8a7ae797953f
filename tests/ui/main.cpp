#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"

// The window tests see Qt's plugins except the system print support: the
// printer a test uses is the one it scripts (a PDF file or a failing one),
// never the machine's printing system, whose libraries (libcups with its TLS
// stack) would be loaded into every test that prints. Nor do they see the JPEG
// image format, which the PDF writer would load to compress a page's picture:
// libjpeg keeps dynamic TLS too, and after it is unloaded the leak check at
// exit crashes on its stale TLS record instead of reporting.
static void withoutSystemPrintSupport(const QTemporaryDir& dir)
{
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    if (!dir.isValid() || !plugins.exists()) return;
    const QDir to(dir.path());
    for (const QString& kind : plugins.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (kind == QLatin1String("printsupport")) continue;
        if (kind != QLatin1String("imageformats")) {
            QFile::link(plugins.filePath(kind), to.filePath(kind));
            continue;
        }
        to.mkdir(kind);
        const QDir formats(plugins.filePath(kind));
        for (const QString& file : formats.entryList(QDir::Files))
            if (!file.contains(QLatin1String("jpeg"))) QFile::link(formats.filePath(file), to.filePath(kind + '/' + file));
    }
    QCoreApplication::setLibraryPaths({dir.path()});
}

// Window tests drive real widgets; without a display they run offscreen.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir plugins;
    withoutSystemPrintSupport(plugins);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
