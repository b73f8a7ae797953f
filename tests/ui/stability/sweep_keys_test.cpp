// The sweep window's output keys: the printed table, the window image and the
// comma-delimited file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>

#include "stability/ui/ITERATION.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::openSweep;

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// A 2-step angle sweep from 1 by 3 with known results, CM the user's quantity.
ITERATION& twoStepSweep(Harness& h)
{
    ITERATION& w = openSweep(h, h.typeRocket(), "1", "3", "2");
    Module1& m = *h.state;
    const double cd[] = {0.5, 0.625}, cn[] = {0.0175, 0.07}, cm[] = {0, -0.2};
    const float xcp[] = {0.75f, 0.8f};
    for (int i = 1; i <= 2; ++i) {
        m.SweepDragCoefficients(i) = cd[i - 1];
        m.SweepNormalForceCoefficients(i) = cn[i - 1];
        m.SweepMomentCoefficients(i) = cm[i - 1];
        m.SweepCenterOfPressureRatios(i) = xcp[i - 1];
    }
    w.PlotOption[2]->click();
    return w;
}

// The file through the window: written whole, or the old bytes kept.
TEST(SweepKeys, ExportWritesTheWholeFileOrKeepsTheOld)
{
    // The writer's plain number text, 15 digits: 1 -> "1", 0.5 -> ".5", the
    // single 0.8 -> ".800000011920929"; CM's first 0 goes out as the second
    // value (first-point rule).
    const QByteArray whole = "\"Velmora AOA vs. Cd\"\r\n1,.5\r\n4,.625\r\n"
                             "\"Velmora AOA vs. CN\"\r\n1,.0175\r\n4,.07\r\n"
                             "\"Velmora AOA vs. CM\"\r\n1,-.2\r\n4,-.2\r\n"
                             "\"Velmora AOA vs. XCp\"\r\n1,.75\r\n4,.800000011920929\r\n";
    const QByteArray old = "old bytes\r\n";
    const QString failed = "The comma-delimited data could not be saved.";
    const struct {
        const char* what;
        const char* target;  // "" cancels the dialog
        rlim_t sizeLimit;    // 0: none
        bool noKind;
        QString panel1;
        QByteArray file;     // the target's bytes afterwards; "<none>" when absent
    } cases[] = {{"saved", "out.TXT", 0, false, "", whole},
                 {"cancelled", "", 0, false, "", old},
                 {"write fails mid-file", "out.TXT", 64, false, failed, old},
                 {"missing folder", "no/such/dir/out.TXT", 0, false, failed, "<none>"},
                 {"no sweep kind", "out.TXT", 0, true, "", old}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString oldFile = dir.filePath("out.TXT");
        {
            QFile f(oldFile);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        Harness h;
        ITERATION& w = twoStepSweep(h);
        Module1& m = *h.state;
        if (c.noKind) m.AoaSweepSelected = m.VelocitySweepSelected = 0;
        const QString target = *c.target ? dir.filePath(c.target) : QString();
        h.fileAnswer = [&](const FileRequest& r) {
            EXPECT_EQ(r.filter, "Text files (*.TXT)|*.TXT");
            return target;
        };
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (c.sizeLimit) {
            rlimit small = limit;
            small.rlim_cur = c.sizeLimit;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        Harness::press(w.Toolbar1, "RAWDATA");
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(contents(target.isEmpty() ? oldFile : target), c.file);
        EXPECT_EQ(w.StatusBar1->panel(1), c.panel1);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.TXT"});  // no temporary left
        // The user's quantity, CM, is plotted again.
        EXPECT_EQ(m.SweepPlotY(1), -0.2);
    }
}

TEST(SweepKeys, PrintedTableAndWindowImage)
{
    const QString table = "The data could not be printed.";
    const QString image = "The screen image could not be printed.";
    const struct {
        const char* key;
        bool printer;
        bool stepWithoutNumber;
        QString panel1;
    } cases[] = {{"PRNDATA", true, false, ""},      {"PRNDATA", false, false, table},
                 {"PRNDATA", true, true, table},    {"PRINT", true, false, ""},
                 {"PRINT", false, false, image}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + (c.printer ? " printer" : " no printer") +
                     (c.stepWithoutNumber ? " NaN" : ""));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("page.pdf");
        testing::printTo(c.printer ? pdf : QString());
        Harness h;
        ITERATION& w = twoStepSweep(h);
        if (c.stepWithoutNumber) h.state->SweepPlotY(2) = std::nan("");
        Harness::press(w.Toolbar1, c.key);
        setPrinterProvider({});
        EXPECT_EQ(w.StatusBar1->panel(1), c.panel1);
        // The other steps still print.
        EXPECT_EQ(QFileInfo(pdf).size() > 0, c.printer);
    }
}

} // namespace
} // namespace velmora
