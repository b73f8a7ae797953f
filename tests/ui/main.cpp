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
// stack) would be loaded into every test that prints.
static void withoutSystemPrintSupport(const QTemporaryDir& dir)
{
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    if (!dir.isValid() || !plugins.exists()) return;
    for (const QString& kind : plugins.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (kind != QLatin1String("printsupport"))
            QFile::link(plugins.filePath(kind), QDir(dir.path()).filePath(kind));
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
