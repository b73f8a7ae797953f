// The sweep window: its run, input checks, plot and output keys.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>

#include "model/Vocabulary.h"
#include "bodyflow/Solver.h"
#include "stability/Barrowman.h"
#include "stability/CenterOfPressure.h"
#include "sweep/SweepOutput.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::openSweep;
using Kind = PictureBox::Kind;

void start(ITERATION& w) { QTest::mouseClick(w.Command1, Qt::LeftButton); }

// Lines of this colour since the picture was last cleared.
int linesIn(const PictureBox* p, int colour)
{
    int n = 0;
    for (const auto& c : p->calls()) {
        if (c.kind == Kind::Clear) n = 0;
        n += c.kind == Kind::Line && c.colour == PictureBox::qbColor(colour);
    }
    return n;
}

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
    std::tie(m.SweepDragCoefficients(1), m.SweepNormalForceCoefficients(1), m.SweepMomentCoefficients(1),
             m.SweepCenterOfPressureRatios(1)) = std::tuple(0.5, 0.0175, 0, 0.75f);
    std::tie(m.SweepDragCoefficients(2), m.SweepNormalForceCoefficients(2), m.SweepMomentCoefficients(2),
             m.SweepCenterOfPressureRatios(2)) = std::tuple(0.625, 0.07, -0.2, 0.8f);
    m.SweepStepsStored = 2;
    w.PlotOption[2]->click();
    return w;
}

// Each toolbar key has its own icon. While the sweep runs, Start and the inputs do nothing, the keys but HELP and
// ABOUT wait, the title-bar close asks to abort; Abort confirmed at step 3 of 10 keeps steps 1-2 and leaves 3-10 as
// they were, but the plot and the export hold steps 1-2 alone, the warning went with its box and the main window shows
// nothing of step 3. Afterwards ABORT asks nothing, the close and RETURN hide without asking.
TEST(SweepWindow, DuringTheRunOnlyAbortActsAndAnAbortKeepsTheStepsBefore)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = openSweep(h, s, "1", "1", "10");
    QList<QImage> icons;
    for (QAction* a : w.Toolbar1->actions()) {
        if (a->objectName().isEmpty()) continue;
        const QImage icon = a->icon().pixmap(QSize(32, 32)).toImage();
        EXPECT_FALSE(icons.contains(icon)) << a->objectName().toStdString();
        icons << icon;
    }
    EXPECT_EQ(icons.size(), 9);
    Module1& m = *h.state;
    for (int i = 1; i <= 10; ++i) m.SweepCenterOfPressureRatios(i) = -1, m.SweepDragCoefficients(i) = 0.5;  // earlier
    w.DataPlot1->setRecording(true);
    int pauses = 0;
    s.solveStepHook = [&](SolveStep step) {
        if (step != SolveStep::EventPump) return;
        ++pauses;
        if (pauses == 2) {
            start(w);
            w.ITERATE[1]->click();
            Harness::type(w.MAXLOOPS, "2");
            EXPECT_EQ(std::tuple(m.AoaSweepSelected, w.MAXLOOPS->text()), std::tuple(1, "10"));
            for (QAction* a : w.Toolbar1->actions())
                EXPECT_EQ(a->isEnabled(), a->objectName() == "HELP" || a->objectName() == "ABOUT")
                    << a->objectName().toStdString();
            h.answers = {MsgAnswer::Cancel};
            w.close();
            EXPECT_EQ(std::tuple(w.isVisible(), m.AbortRequest), std::tuple(true, AbortFlag::No));
        } else if (pauses == 3) {
            h.answers = {MsgAnswer::Ok};
            QTest::mouseClick(w.Abort, Qt::LeftButton);
        }
    };
    start(w);
    s.solveStepHook = nullptr;
    EXPECT_EQ(std::tuple(w.lastSweep.outcome, w.lastSweep.stepsStored), std::tuple(Outcome::Aborted, 2));
    EXPECT_GT(m.SweepCenterOfPressureRatios(2), 0);
    for (int i = 3; i <= 10; ++i)
        EXPECT_EQ(m.SweepCenterOfPressureRatios(i), -1) << i;
    EXPECT_EQ(QStringList({w.StatusBar1->panel(1), s.ROCKETAOA->text(), w.IterationLbl->text()}),
              QStringList({QString(kMsgLoopingStopped).arg(3), "3.", "3"}));
    QTest::mouseClick(w.Abort, Qt::LeftButton);  // nothing running: no question
    EXPECT_EQ(testing::said(h.messages()).count("CFD Analysis will be terminated. | Abort Solution"), 2);
    EXPECT_EQ(std::tuple(s.TotalCd->text(), s.StatusBar1->panel(1)), std::tuple("", kMsgAnalysisAborted));
    EXPECT_EQ(std::tuple(linesIn(w.DataPlot1, 1), w.MAXAOA->text(), w.StatusBar1->panel(2)), std::tuple(1, "2.", ""));
    QTemporaryDir dir;
    h.fileAnswer = [&](const FileRequest&) { return dir.filePath("sweep.TXT"); };
    Harness::press(w.Toolbar1, "RAWDATA");
    EXPECT_EQ(contents(dir.filePath("sweep.TXT")).count("\r\n"), 4 * 3);
    EXPECT_TRUE(w.Command1->isEnabled() && w.MAXLOOPS->isEnabled());
    w.close();  // no sweep running: hidden without asking
    EXPECT_FALSE(w.isVisible());
    w.show();
    Harness::press(w.Toolbar1, "RETURN");
    EXPECT_FALSE(w.isVisible());
}

// A velocity sweep (where a zero angle increment is fine) that is refused at
// a step stops there, and the refusal's message stands.
TEST(SweepWindow, ARefusedStepStopsTheSweepAndItsMessageStands)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    ITERATION& w = openSweep(h, s);
    w.ITERATE[1]->click();
    // At sea level from 700 by 100 FT/SEC: step 3 is Mach 0.806.
    for (auto [box, text] : {std::pair{w.AOAINC, "0"}, {w.VINITIAL, "700"}, {w.VELINC, "100"}, {w.MAXLOOPS, "4"}})
        Harness::type(box, text);
    h.state->SweepDragCoefficients(3) = -1;
    start(w);
    EXPECT_EQ(std::tuple(w.lastSweep.outcome, h.state->SweepDragCoefficients(3), w.PlotType->text()),
              std::tuple(Outcome::Refused, -1, "Velocity"));
    EXPECT_GT(h.state->SweepDragCoefficients(2), 0);
    const QString refusal = "PLEASE ENTER NEW INLET VELOCITY | MACH NUMBER GREATER THAN 0.80";
    EXPECT_TRUE(testing::said(h.messages()).contains(refusal));
    EXPECT_EQ(testing::panels(w.StatusBar1),
              QString(kMsgLoopingStopped).arg(3) +
                  " | Mach number 0.81 is above 0.8, the limit of the compressible flow model: enter a lower "
                  "velocity.");
}

// A velocity sweep stepping past Mach 2 in incompressible flow: the main window's box once, at the step that crosses,
// nothing stored for it, stopped with the reason in panel 2. The bar and the step label keep the stopped step until the
// results change or the window is left. A start above Mach 2 in compressible flow shows the one box, not the body
// flow's as well.
TEST(SweepWindow, AStepAboveMachTwoStopsTheSweepWithOneBox)
{
    const QString tooFast = "PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE";
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    ITERATION& w = openSweep(h, s);
    w.ITERATE[1]->click();
    // At sea level from 2000 by 200 FT/SEC: step 3 is Mach 2.15.
    for (auto [box, text] : {std::pair{w.AOAINC, "0"}, {w.VINITIAL, "2000"}, {w.VELINC, "200"}, {w.MAXLOOPS, "4"}})
        Harness::type(box, text);
    h.state->SweepDragCoefficients(3) = -1;
    w.DataPlot1->setRecording(true);
    start(w);
    EXPECT_EQ(std::tuple(w.lastSweep.outcome, w.lastSweep.stepsStored, h.state->SweepDragCoefficients(3)),
              std::tuple(Outcome::Refused, 2, -1));
    EXPECT_EQ(testing::said(h.messages()), QStringList({tooFast}));
    EXPECT_EQ(testing::panels(w.StatusBar1),
              QString(kMsgLoopingStopped).arg(3) +
                  " | Mach number 2.15 is above 2, the limit of the incompressible flow model: enter a lower "
                  "velocity.");
    EXPECT_EQ(std::tuple(linesIn(w.DataPlot1, 1), w.ProgressBar1->value(), w.IterationLbl->text()),
              std::tuple(1, 3, "3"));
    Harness::type(w.MAXLOOPS, "5");  // the results are gone: so is the stopped step
    EXPECT_EQ(std::tuple(w.ProgressBar1->value(), w.IterationLbl->text()), std::tuple(0, ""));
    start(w);
    EXPECT_EQ(w.ProgressBar1->value(), 3);
    Harness::press(w.Toolbar1, "RETURN");
    EXPECT_EQ(std::tuple(w.ProgressBar1->value(), w.IterationLbl->text()), std::tuple(0, ""));

    Harness::pick(s.Compressible, "COMPRESSIBLE");
    w.show();
    Harness::type(w.VINITIAL, "3000");
    ModalSeam::instance().messages.clear();
    start(w);
    EXPECT_EQ(std::tuple(testing::said(h.messages()), w.lastSweep.stepsStored, w.StatusBar1->panel(2)),
              std::tuple(QStringList({tooFast}), 0,
                         "Mach number 2.69 is above 0.8, the limit of the compressible flow model: enter a lower "
                         "velocity."));
}

// Fins whose section the fin step refuses (a panel count it does not take, the other fin data complete): a sweep
// stores no body-only step but stops with the reason SOLVE gives.
TEST(SweepWindow, AStepWithoutItsFinSectionStopsTheSweep)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    h.state->PanelCount = 9;
    ITERATION& w = openSweep(h, s, "1", "1", "3");
    h.state->SweepNormalForceCoefficients(1) = -1;
    start(w);
    EXPECT_EQ(std::tuple(w.lastSweep.outcome, w.lastSweep.stepsStored, h.state->SweepNormalForceCoefficients(1)),
              std::tuple(Outcome::Refused, 0, -1.0));
    EXPECT_EQ(testing::panels(w.StatusBar1),
              QString(kMsgLoopingStopped).arg(1) + " | " + stability::kMsgNoFinSolution);
}

TEST(SweepWindow, InputLimitsAndStartChecks)
{
    const struct {
        bool velocity;  // a velocity sweep
        TextBox* ITERATION::*box;
        const char* typed;
        bool pressStart;
        const char* panel2;
        const char* corrected;  // the box afterwards; nullptr: not checked
    } cases[] = {
        {false, &ITERATION::MAXLOOPS, "400", false, "Maximum number loops cannot exceed 360.", "360"},
        {false, &ITERATION::MAXLOOPS, "", false, "Minimum number of loops is 1.", "1"},
        {false, &ITERATION::AOAINITIAL, "0", true, "AOA must be equal to or greater than 0.5 degrees.", ".5"},
        {true, &ITERATION::AOAINC, "-1", true, "AOA Increment must be greater than 0 degrees.", nullptr},
        {true, &ITERATION::VINITIAL, "0", true, "Velocity must be greater than 0.", nullptr},
        {true, &ITERATION::VELINC, "0", true, "Velocity increment must be greater than 0.", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel2);
        Harness h;
        SOLVER& s = h.typeRocket();
        ITERATION& w = openSweep(h, s);
        if (c.velocity) w.ITERATE[1]->click();
        Harness::type(w.*c.box, c.typed);
        if (c.pressStart) start(w);
        EXPECT_EQ(std::tuple(w.StatusBar1->panel(2), w.lastSweep.stepCount), std::tuple(c.panel2, 0));  // none ran
        EXPECT_TRUE(!c.corrected || (w.*c.box)->text() == c.corrected) << (w.*c.box)->text().toStdString();
    }
}

// A real sweep of a finned rocket, from 1 degree by 1 over 20 steps: each step goes through the main window's angle
// box, the plot follows the quantity and the scale keys. Exported with CN chosen, then compared with the Barrowman
// equations: the comparison uses CN, not the last quantity the export wrote, and is drawn over the sweep plot. A
// switch of the sweep kind empties it: no axis, nothing to print or save.
TEST(SweepWindow, TwentyStepsOfAFinnedRocketTheirPlotAndTheBarrowmanCurve)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    ITERATION& w = openSweep(h, s, "1", "1", "20");
    Module1& m = *h.state;
    QStringList written;
    QObject::connect(s.ROCKETAOA, &QLineEdit::textChanged, [&](const QString& t) { written << t; });
    w.DataPlot1->setRecording(true);
    start(w);
    ASSERT_EQ(w.lastSweep.outcome, Outcome::Done);
    EXPECT_EQ(std::tuple(written.size(), written.mid(0, 2), testing::panels(w.StatusBar1), h.forms->busy().active()),
              std::tuple(20, QStringList{"1.", "2."}, QString(kMsgLoopingComplete) + " | ", false));
    for (int i = 2; i <= 20; ++i)
        EXPECT_GT(m.SweepNormalForceCoefficients(i), m.SweepNormalForceCoefficients(i - 1)) << i;
    EXPECT_EQ(linesIn(w.DataPlot1, 1), 19);
    // The main window's boxes hold the last step; its progress bar is empty again.
    EXPECT_EQ(qVal(s.CNFORCES->text()), qVal(qFormat(m.SweepNormalForceCoefficients(20), "#####.###")));
    EXPECT_EQ(s.ProgressBar1->value(), s.ProgressBar1->minimum());

    w.PlotOption[1]->click();
    EXPECT_EQ(linesIn(w.DataPlot1, 1), 19);
    const QString end = w.MAXDATA->text();
    Harness::press(w.Toolbar1, "SCALEDATA");
    EXPECT_NE(w.MAXDATA->text(), end);
    Harness::press(w.Toolbar1, "RESETSCALE");
    EXPECT_EQ(w.MAXDATA->text(), end);

    QTemporaryDir dir;
    h.fileAnswer = [&](const FileRequest&) { return dir.filePath("sweep.TXT"); };
    Harness::press(w.Toolbar1, "RAWDATA");
    EXPECT_EQ(contents(dir.filePath("sweep.TXT")).count("\r\n"), 4 * 21);
    Harness::press(w.Toolbar1, "BARROWMANS");
    const float cn1 = stability::barrowmanRocket(m).slope * M_PI / 180;
    EXPECT_EQ(w.BResult->text(), qFormat(cn1, "###.#####"));
    // Drawn over the sweep's curve.
    EXPECT_EQ(std::tuple(linesIn(w.DataPlot1, stability::kBarrowmanCurveColour), linesIn(w.DataPlot1, 1)),
              std::tuple(19, 19));

    w.ITERATE[1]->click();
    EXPECT_EQ(std::tuple(m.SweepNormalForceCoefficients(20), linesIn(w.DataPlot1, 1)), std::tuple(0, 0));
    EXPECT_EQ(w.StatusBar1->panel(1), "No data to plot. Please perform CFD analysis.");
    // Emptied (as by BODY, FINS or Open): no axis of the sweep, nothing to print or save, no dialog.
    const std::size_t asked = ModalSeam::instance().fileRequests.size();
    Harness::press(w.Toolbar1, "PRNDATA");
    const QString print = w.StatusBar1->panel(1);
    Harness::press(w.Toolbar1, "RAWDATA");
    EXPECT_EQ(std::tuple(w.MAXAOA->text(), print, w.StatusBar1->panel(1), ModalSeam::instance().fileRequests.size()),
              std::tuple("", stability::kMsgNoSweepToPrint, stability::kMsgNoSweepToSave, asked));
}

// The file through the window: written whole, or the old bytes kept.
TEST(SweepKeys, ExportWritesTheWholeFileOrKeepsTheOld)
{
    // Plain 15-digit number text (1 -> "1", 0.5 -> ".5", the single 0.8 -> ".800000011920929"); CM's first 0
    // goes out as the second value (first-point rule).
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
    } cases[] = {{"saved", "out.TXT", 0, false, kMsgExportSaved, whole},
                 {"cancelled", "", 0, false, "", old},
                 {"write fails mid-file", "out.TXT", 64, false, failed, old},
                 {"missing folder", "no/such/dir/out.TXT", 0, false, failed, "<none>"},
                 {"no sweep kind", "out.TXT", 0, true, "", old}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString oldFile = dir.filePath("out.TXT");
        QFile f(oldFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        f.close();
        Harness h;
        ITERATION& w = twoStepSweep(h);
        Module1& m = *h.state;
        if (c.noKind) m.AoaSweepSelected = m.VelocitySweepSelected = 0;
        const QString target = *c.target ? dir.filePath(c.target) : QString();
        h.fileAnswer = [&](const FileRequest& r) {
            EXPECT_EQ(std::tuple(r.filter, r.title),
                      std::tuple("Text files (*.TXT)|*.TXT", "Save Comma-Delimited Sweep Data"));
            return target;
        };
        testing::withFileSizeLimit(c.sizeLimit, [&] { Harness::press(w.Toolbar1, "RAWDATA"); });

        // No temporary left; the user's quantity, CM, plotted again.
        const QString panel1 = c.panel1.contains("%1") ? c.panel1.arg(QDir::toNativeSeparators(target)) : c.panel1;
        EXPECT_EQ(std::tuple(contents(target.isEmpty() ? oldFile : target), w.StatusBar1->panel(1),
                             QDir(dir.path()).entryList(QDir::Files), m.SweepPlotY(1)),
                  std::tuple(c.file, panel1, QStringList{"out.TXT"}, -0.2));
    }
}

// Both print keys go the way of every window's print: the print dialog with a printer, a PDF through the save dialog
// without one. A printer that refuses the job, or a step without a number, gives the key's own message in panel 1.
TEST(SweepKeys, PrintedTableAndWindowImage)
{
    const QString table = "The data could not be printed.";
    const QString image = "The screen image could not be printed.";
    enum Printer { Present, Refusing, None };
    const struct {
        const char* key;
        Printer printer;
        bool stepWithoutNumber;
        QString failure;
    } cases[] = {{"PRNDATA", Present, false, ""}, {"PRNDATA", Refusing, false, table}, {"PRNDATA", None, false, ""},
                 {"PRNDATA", Present, true, table}, {"PRINT", Present, false, ""}, {"PRINT", Refusing, false, image},
                 {"PRINT", None, false, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " printer " + std::to_string(c.printer) + (c.stepWithoutNumber ? " NaN" : ""));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("page.pdf");
        testing::printTo(c.printer == None ? QString() : pdf);
        Harness h;
        ITERATION& w = twoStepSweep(h);
        int dialogs = 0;
        const bool isTable = QString(c.key) == "PRNDATA";
        // The user picks a queue in the print dialog; a refusing one cannot take the job. The job is named.
        ModalSeam::instance().setPrintHandler([&](QPrinter& p) {
            ++dialogs;
            EXPECT_EQ(p.docName(), isTable ? "Velmora AOA vs. CM" : "CFD Loop Analysis and Plots");
            if (c.printer == Refusing) p.setOutputFileName(dir.filePath("refused/page.pdf"));
            return true;
        });
        h.fileAnswer = [&](const FileRequest& r) {
            EXPECT_EQ(std::tuple(r.save, r.filter, r.title),
                      std::tuple(true, "PDF files (*.pdf)|*.pdf", isTable ? "Save Data Table as PDF" : "Save Page as PDF"));
            return dir.filePath("page");  // typed without its extension
        };
        if (c.stepWithoutNumber) h.state->SweepPlotY(2) = std::nan("");
        Harness::press(w.Toolbar1, c.key);
        setPrinterProvider({});
        const QString saved = (isTable ? "Data Table saved as " : "Page saved as ") + QDir::toNativeSeparators(pdf);
        const QString refused = " The folder " + QDir::toNativeSeparators(dir.filePath("refused")) + " does not exist.";
        EXPECT_EQ(w.StatusBar1->panel(1),
                  c.printer == None ? saved : c.failure + (c.printer == Refusing ? refused : QString()));
        EXPECT_EQ(std::tuple(dialogs, ModalSeam::instance().fileRequests.size()),
                  std::tuple(c.printer == None ? 0 : 1, c.printer == None ? 1u : 0u));
        EXPECT_EQ(QFileInfo(pdf).size() > 0, c.printer != Refusing);  // the other steps still print
    }
}

} // namespace
} // namespace velmora
