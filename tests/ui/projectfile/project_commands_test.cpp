// The File commands through the real windows: projects typed as a user would, saved, opened in a fresh session
// and saved again; older and broken files; failed saves.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <string>
#include <thread>
#include <vector>

#include "app/ui/InfoWindows.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ui/ConvertData.h"
#include "platform/ui/WholeFile.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

std::string bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

void putBytes(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The first lines of a file, each with its CR LF.
std::string firstLines(const std::string& bytes, int count)
{
    size_t end = 0;
    for (int i = 0; i < count; ++i) end = bytes.find("\r\n", end) + 2;
    return bytes.substr(0, end);
}

// Save As or Open from the main window's menu, the file dialog answering with this path.
void viaMenu(Harness& h, QAction* SOLVER::*command, const QString& path)
{
    h.fileAnswer = [path](const FileRequest&) { return path; };
    (h.forms->get<SOLVER>().*command)->trigger();
}

// Every input control Open restores, by window and name, with its text.
std::vector<std::pair<std::string, QString>> shown(Harness& h)
{
    SOLVER& s = h.forms->get<SOLVER>();
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    auto checked = [](const auto& options) {
        for (size_t i = 0; i < options.size(); ++i)
            if (options[i]->isChecked()) return QString::number(i);
        return QString("-");
    };
    // One or two controls of each kind: lists, options, the shape spinner,
    // the windows that follow a restore, and the typed boxes.
    std::vector<std::pair<std::string, QString>> out = {
        {"Velocity", s.Velocity->text()}, {"Compressible", s.Compressible->Text()}, {"RATIOS", s.RATIOS->Text()},
        {"NoseShape", b.NoseShape->Text()}, {"ShapeControl", b.ShapeControl->isHidden() ? "hidden" : "shown"},
        {"GEOMETRY", checked(b.GEOMETRY)}, {"TUBELENGTH", b.TUBELENGTH->text()}, {"FinEdges", checked(f.FinEdges)},
        {"FinishType", checked(f.FinishType)}, {"NFINS", f.NFINS->Text()},
        {"SECTIONS", h.forms->get<PanelAero>().SECTIONS->Text()},
    };
    // A hidden box shows nothing to the user: only its being hidden counts.
    for (TextBox* box : {b.NoseLength, b.BaseLength, b.BodyLength2, f.TipChord, f.DRoot, f.SpanLength, f.IDLUGS})
        out.emplace_back(box->objectName().toStdString(), box->isHidden() ? QString("hidden") : box->text());
    return out;
}

// Compressible flow at 5000 ft, 150.5 ft/s, a Sears-Haack nose with a transition and base tube, four
// round-edged tapered fins with an excellent finish and a launch lug: at most three decimals, each typed in the
// form its box shows it.
void typeStandard(Harness& h)
{
    SOLVER& s = h.start();
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    Harness::pick(s.RATIOS, "5000 FT");
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    Harness::pick(b.NoseShape, "SEARS-HAACK");
    h.typeBody("3.25", "1.125", "12.5");
    Harness::type(b.BaseDiameter, ".9");
    Harness::type(b.BaseLength, "1.5");
    Harness::type(b.BodyLength2, "2.75");
    Harness::type(s.Velocity, "150.5");
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    Harness::pick(f.NFINS, "4");
    f.FinEdges[1]->click();
    f.FinishType[2]->click();
    const std::pair<TextBox*, const char*> fins[] = {
        {f.DTip, "1.5"}, {f.DRoot, ".5"}, {f.RootChord, "3.5"}, {f.TipChord, "1.25"}, {f.SpanLength, "2.125"},
        {f.FINTHK, ".125"}, {f.DLUGS, "1.5"}, {f.ODLUGS, ".25"}, {f.IDLUGS, ".2"}};
    for (const auto& [box, text] : fins) Harness::type(box, text);
}

// Incompressible, 120.5 ft/s at sea level, a conical nose on a free-form tube of five points, two of them raised,
// rectangular fins. The tube's length puts the nose radius on a whole twip (6675 - 267), as the file keeps the
// points' heights.
void typeFreeForm(Harness& h)
{
    SOLVER& s = h.start();
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    Harness::pick(b.NoseShape, "CONICAL");
    h.typeBody("2.5", "1.25", "15.625");
    b.GEOMETRY[1]->click();
    Harness::type(s.Velocity, "120.5");
    Array1<double, 20> xs, ys;
    for (int i = 1; i <= 5; ++i) xs(i) = 9615.0 * (i - 1) / 4, ys(i) = 6675 - 267;
    ys(2) = 5200, ys(3) = 4600;
    ASSERT_TRUE(h.forms->get<GeoBody>().setShape(5, xs, ys));
    h.state->FreeFormPointCount = 5;
    h.onShow["GeoBody"] = [](Form& g) { static_cast<GeoBody&>(g).MESHBODY->click(); };
    b.FREEFORM->click();
    h.onShow.erase("GeoBody");
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    f.FinShapes[1]->click();
    for (auto [box, text] : {std::pair{f.DTip, "2.5"}, {f.RootChord, "2.5"}, {f.SpanLength, "1.75"}, {f.FINTHK, ".1"},
                             {f.IDLUGS, ".25"}})
        Harness::type(box, text);
}

// The main window's status panels and result boxes.
std::vector<std::string> results(const SOLVER& s)
{
    std::vector<std::string> out{s.StatusBar1->panel(1).toStdString(), s.StatusBar1->panel(2).toStdString()};
    for (const TextBox* box : {s.TotalCd, s.CdMax, s.PressureCd, s.BaseCd, s.FinInterferenceDrag, s.FinSurfaceDrag,
                               s.FORCE, s.CNFORCES, s.CMFORCES, s.XLRATIOS, s.MachNumber, s.ReNumber})
        out.push_back(box->text().toStdString());
    return out;
}

// Runs a command that must not wait on the pipe: after 5 s a watchdog opens the pipe's other end, so a command that
// waits ends and fails instead of hanging. True when no writer was needed.
bool endsWithoutAWriter(const QString& pipe, const std::function<void()>& command)
{
    std::atomic<bool> done = false, freed = false;
    std::thread watchdog([&, name = QFile::encodeName(pipe).toStdString()] {
        for (int i = 0; !done; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (i >= 500 && ::close(::open(name.c_str(), O_WRONLY | O_NONBLOCK)) == 0) freed = true;  // opened
    });
    command();
    done = true;
    watchdog.join();
    return !freed;
}

class ProjectFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }
};

// A project saved with a standard body holds no free-form shape: straight after Open the free-form editor shows
// the tube at the nose-cone radius, Return accepts that tube, and SOLVE gives the straight tube's drag.
TEST_F(ProjectFiles, TheFreeFormEditorAfterOpenHoldsTheStraightTube)
{
    double tubeCd = 0;
    {
        Harness a;
        SOLVER& s = a.typeRocket();  // a 1 in nose-cone diameter on a 12 in tube
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        tubeCd = a.state->TotalDragCoefficient;
        viaMenu(a, &SOLVER::mnuSaveAs, path("standard.TXT"));
    }
    Harness b;
    SOLVER& s = b.start();
    viaMenu(b, &SOLVER::mnuOpen, path("standard.TXT"));
    BODYTUBE& body = b.forms->get<BODYTUBE>();
    body.GEOMETRY[1]->click();
    b.onShow["GeoBody"] = [](Form& form) {
        form.show();
        auto& g = static_cast<GeoBody&>(form);
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(std::tuple(g.model().x(i), g.model().y(i)),
                      std::tuple(g.drawingWidthTwips() * (i - 1) / 3.0, g.drawingHeightTwips() * (1 - 0.5 / 12)));
        g.MESHBODY->click();
    };
    body.FREEFORM->click();
    const Module1& m = *b.state;
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(m.FreeFormBodyRadius(i), 0.5, 1e-9) << i;
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(std::tuple(s.StatusBar1->panel(1), m.TotalDragCoefficient), std::tuple("CFD solution found. ", tubeCd));
}

TEST_F(ProjectFiles, SaveOpenSaveGivesTheSameBytesAndWindows)
{
    for (auto type : {&typeStandard, &typeFreeForm}) {
        SCOPED_TRACE(type == &typeStandard ? "standard" : "free-form");
        std::vector<std::pair<std::string, QString>> typed;
        {
            Harness a;
            type(a);
            typed = shown(a);
            viaMenu(a, &SOLVER::mnuSaveAs, path("first.TXT"));
            EXPECT_TRUE(a.messages().empty());
        }
        const std::string first = bytesOf(path("first.TXT"));

        Harness b;
        SOLVER& s = b.start();
        viaMenu(b, &SOLVER::mnuOpen, path("first.TXT"));
        EXPECT_TRUE(b.messages().empty());
        EXPECT_EQ(shown(b), typed);
        EXPECT_EQ(s.StatusBar1->panel(2), "CFD solution required.");

        // The editor opens with the points as saved.
        const projectfile::ProjectRecord saved = projectfile::read(first).record;
        b.onShow["GeoBody"] = [&](Form& form) {
            const auto& g = static_cast<GeoBody&>(form);
            ASSERT_EQ(g.model().count(), saved.FreeFormPointCount);
            for (int i = 1; i <= saved.FreeFormPointCount; ++i) {
                EXPECT_DOUBLE_EQ(g.model().x(i), saved.screenX(i)) << i;
                EXPECT_DOUBLE_EQ(g.model().y(i), saved.screenY(i)) << i;
            }
        };
        if (type == &typeFreeForm) {
            EXPECT_EQ(b.forms->get<GeoBody>().NPTS->text(), "5");
            b.forms->get<BODYTUBE>().FREEFORM->click();
            EXPECT_EQ(Harness::timesShown("GeoBody"), 1);
        }

        viaMenu(b, &SOLVER::mnuSaveAs, path("second.TXT"));
        EXPECT_EQ(bytesOf(path("second.TXT")), first);
    }
}

// A rocket without a transition or base tube opens with their boxes empty, as a fresh start shows them.
TEST_F(ProjectFiles, NoTransitionOrBaseTubeOpensAsAFreshStartShowsIt)
{
    {
        Harness a;
        a.typeRocket();
        viaMenu(a, &SOLVER::mnuSaveAs, path("plain.TXT"));
    }
    Harness b;
    b.start();
    viaMenu(b, &SOLVER::mnuOpen, path("plain.TXT"));
    const BODYTUBE& t = b.forms->get<BODYTUBE>();
    EXPECT_EQ(t.BaseDiameter->text() + t.BaseLength->text() + t.BodyLength2->text() + t.NoseLength->text(), "3.");
}

TEST_F(ProjectFiles, OlderLayoutShowsTheNoticeAndTakesItsDefaults)
{
    Harness h;
    typeStandard(h);
    viaMenu(h, &SOLVER::mnuSaveAs, path("new.txt"));
    putBytes(path("old.txt"), firstLines(bytesOf(path("new.txt")), 27));
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    Harness::pick(b.NoseShape, "CONICAL");
    b.GEOMETRY[1]->click();
    Harness::pick(h.forms->get<SOLVER>().DomainSize, "30");
    h.onShow["ConvertData"] = [&](Form& form) {
        auto& notice = static_cast<ConvertData&>(form);
        EXPECT_TRUE(notice.Text->text().startsWith(" WARNING: This file may"));
        EXPECT_EQ(h.state->MeshAxialNodeCount, 20);
        notice.Accept->click();
    };
    viaMenu(h, &SOLVER::mnuOpen, path("old.txt"));
    EXPECT_EQ(std::tuple(Harness::timesShown("ConvertData"), h.forms->isLoaded<ConvertData>(), h.messages().empty()),
              std::tuple(1, false, true));
    // The items read and the defaults of an older file (the core test pins each) show in the windows.
    EXPECT_EQ(std::tuple(b.NoseShape->Text(), b.GEOMETRY[0]->isChecked()), std::tuple("SEARS-HAACK", true));

    // A file of 12 lines holds no speed unit or altitude: the lists keep theirs, and the velocity read shows in them.
    SOLVER& s = h.forms->get<SOLVER>();
    Harness::pick(s.Speed, "MPH");
    Harness::pick(s.RATIOS, "SEA LEVEL");
    putBytes(path("old.txt"), firstLines(bytesOf(path("new.txt")), 12));
    viaMenu(h, &SOLVER::mnuOpen, path("old.txt"));
    EXPECT_EQ(std::tuple(s.Speed->Text(), s.RATIOS->Text(), s.Velocity->text(), h.state->SpeedOfSound,
                         h.state->SpeedUnitText, h.state->AltitudeText),
              std::tuple("MPH", "SEA LEVEL", "102.6", h.state->SeaLevelSpeedOfSound, "MPH", "SEA LEVEL"));
}

// Open of a broken or unreadable file and each failed save change nothing and say so (the core test covers
// every way a file can be broken); a cancelled Save As writes nothing and says nothing.
TEST_F(ProjectFiles, FailedOpenAndSaveChangeNothing)
{
    Harness h;
    typeStandard(h);
    const std::string old = "\"an older project\"\r\n";  // its first line is no flow model
    putBytes(path("kept.txt"), old);
    const std::string before = *projectfile::write(*h.state);
    QFile large(path("large.txt"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(qint64{projectfile::MaxFileBytes} + 1));
    large.close();
    // Refused unread: no more than the limit is ever read.
    EXPECT_FALSE(loadWholeFile(path("large.txt"), projectfile::MaxFileBytes));
    EXPECT_EQ(loadWholeFile(path("large.txt"), projectfile::MaxFileBytes + 1)->size(), projectfile::MaxFileBytes + 1);
    // A number item that is not wholly a number: the tip chord "abc", the span " 1,5".
    const auto withLine = [&before](int line, const std::string& text) {
        std::string bytes = before;
        size_t from = 0;
        for (int i = 1; i < line; ++i) from = bytes.find("\r\n", from) + 2;
        return bytes.replace(from, bytes.find("\r\n", from) - from, text);
    };
    putBytes(path("abc.txt"), withLine(20, "\"abc\""));
    putBytes(path("comma.txt"), withLine(22, "\" 1,5\""));
    // Panel 2 says why, and no window is restored after it.
    const std::pair<const char*, const char*> refused[] = {
        {"abc.txt", "Item 20 holds \"abc\", which is not a number: the decimal separator is a point."},
        {"comma.txt", "Item 22 holds \" 1,5\", which is not a number: the decimal separator is a point."},
        {"kept.txt", "Item 1 holds a value the program cannot use."},
        {"missing/none.txt", "The file could not be opened."},
        {"large.txt", "The file is larger than a project file can be."},
    };
    for (const auto& [name, reason] : refused) {
        SCOPED_TRACE(name);
        ModalSeam::instance().messages.clear();
        viaMenu(h, &SOLVER::mnuOpen, path(name));
        EXPECT_EQ(std::tuple(testing::said(h.messages()), *projectfile::write(*h.state),
                             h.forms->get<SOLVER>().StatusBar1->panel(2)),
                  std::tuple(QStringList{"An Error Reading The File | "}, before, reason));
    }
    viaMenu(h, &SOLVER::mnuSaveAs, path("saved.txt"));  // a save that succeeds: the refused file's reason goes
    EXPECT_EQ(h.forms->get<SOLVER>().StatusBar1->panel(2), "");
    for (const char* name : {"large.txt", "saved.txt"}) QFile::remove(path(name));

    // A write that fails on line 10 of 34, one the file system cuts at 300 bytes, and a folder that does not exist.
    const struct { const char* name; bool hook; rlim_t sizeLimit; } saves[] = {
        {"kept.txt", true, 0}, {"kept.txt", false, 300}, {"missing/p.txt", false, 0}};
    for (const auto& [name, hook, sizeLimit] : saves) {
        SCOPED_TRACE(name);
        ModalSeam::instance().messages.clear();
        if (hook) setSaveFault([](long long offset) { return offset < 200; });
        testing::withFileSizeLimit(sizeLimit, [&] { viaMenu(h, &SOLVER::mnuSaveAs, path(name)); });
        EXPECT_EQ(testing::said(h.messages()), QStringList{"An Error Saving The File. | "});
        setSaveFault({});
    }
    EXPECT_EQ(std::tuple(bytesOf(path("kept.txt")), QFile::exists(path("missing/p.txt"))), std::tuple(old, false));

    ModalSeam::instance().messages.clear();
    viaMenu(h, &SOLVER::mnuSaveAs, QString());
    EXPECT_TRUE(h.messages().empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"abc.txt", "comma.txt", "kept.txt"}));
}

// After a SOLVE, a cancelled or refused Open (a pipe at once) keeps the results and panel 1, panel 2 saying why; so
// does Save As, confirming in panel 1. Only an Open that reads the file drops the results.
TEST_F(ProjectFiles, CancelledAndRefusedFileCommandsKeepTheResults)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    std::vector<std::string> expected = results(s);
    ASSERT_EQ(expected[0], "CFD solution found. ");
    putBytes(path("garbage.TXT"), "\x89PNG\r\n\x1A\n");
    putBytes(path("empty.TXT"), "");
    ASSERT_TRUE(QDir().mkdir(path("folder.TXT")) && !::mkfifo(QFile::encodeName(path("pipe.TXT")).constData(), 0600));
    const std::pair<QString, std::string> opens[] = {
        {"", expected[1]},  // cancelled
        {path("garbage.TXT"), "Item 1 holds a value the program cannot use."},
        {path("empty.TXT"), "The file holds no project."},
        {path("folder.TXT"), "folder.TXT is a folder, not a file: Open reads only files."},
        {path("pipe.TXT"), "pipe.TXT is a pipe, device or socket, not a file: Open reads only files."},
        {"/dev/null", "null is a pipe, device or socket, not a file: Open reads only files."},
    };
    for (const auto& [chosen, reason] : opens) {
        SCOPED_TRACE(chosen.toStdString());
        EXPECT_TRUE(endsWithoutAWriter(path("pipe.TXT"), [&] { viaMenu(h, &SOLVER::mnuOpen, chosen); }));
        expected[1] = reason;
        EXPECT_EQ(std::tuple(results(s), h.state->FlowSolutionStatus), std::tuple(expected, ""));
    }
    viaMenu(h, &SOLVER::mnuSaveAs, path("saved"));
    expected[0] = ("Project saved as " + QDir::toNativeSeparators(path("saved.TXT"))).toStdString();
    expected[1] = "";
    EXPECT_EQ(results(s), expected);

    viaMenu(h, &SOLVER::mnuOpen, path("saved.TXT"));
    viaMenu(h, &SOLVER::mnuSaveAs, path("again.TXT"));
    EXPECT_EQ((testing::panels(s.StatusBar1) + " | " + s.TotalCd->text()).toStdString(),
              ("Project saved as " + QDir::toNativeSeparators(path("again.TXT")) + " | CFD solution required. | ")
                  .toStdString());
}

// A name typed without an extension is saved as ".TXT", where Open's filter lists it; one with an extension keeps it.
TEST_F(ProjectFiles, SaveAsNameWithoutExtensionGetsTXT)
{
    Harness h;
    typeStandard(h);
    viaMenu(h, &SOLVER::mnuSaveAs, path("rocket"));
    viaMenu(h, &SOLVER::mnuSaveAs, path("copy.dat"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"copy.dat", "rocket.TXT"}));
}

// A cancelled Open changes nothing; an edited velocity comes back through its box; a file without a velocity
// asks for it.
TEST_F(ProjectFiles, CancelledOpenVelocityBoxAndZeroVelocity)
{
    Harness h;
    typeStandard(h);
    SOLVER& s = h.forms->get<SOLVER>();
    h.state->FlowSolutionStatus.clear();
    const std::string before = *projectfile::write(*h.state);
    viaMenu(h, &SOLVER::mnuOpen, QString());
    EXPECT_EQ(std::tuple(h.state->FlowSolutionStatus, *projectfile::write(*h.state), h.messages().empty()),
              std::tuple("", before, true));

    viaMenu(h, &SOLVER::mnuSaveAs, path("p.txt"));
    std::string bytes = bytesOf(path("p.txt"));
    putBytes(path("p.txt"), bytes.replace(bytes.find("\" 150.5\""), 8, "\" 150.04\""));
    for (int pass = 0; pass < 2; ++pass) { // the second Open finds the box already showing "150."
        h.state->FreeStreamVelocity = 99;
        viaMenu(h, &SOLVER::mnuOpen, path("p.txt"));
        EXPECT_EQ(std::tuple(s.Velocity->text(), h.state->FreeStreamVelocity), std::tuple("150.", 150));
    }

    Harness::type(s.Velocity, "0");
    viaMenu(h, &SOLVER::mnuSaveAs, path("still.txt"));
    Harness fresh;
    fresh.start();
    viaMenu(fresh, &SOLVER::mnuOpen, path("still.txt"));
    EXPECT_EQ(fresh.forms->get<SOLVER>().StatusBar1->panel(2), "Please enter rocket dimensions");
    EXPECT_EQ(fresh.forms->get<FinAnalysis>().SpanLength->text(), "2.125");
}

// Under a comma-decimal locale a typed 1.5 stays 1.5 and the file keeps its "." both ways.
TEST_F(ProjectFiles, CommaDecimalLocaleTypesSavesAndOpensAsEverywhere)
{
    Harness h;
    SOLVER& s = h.start();
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    Harness::type(s.Velocity, "150.5");
    Harness::type(h.forms->get<FinAnalysis>().SpanLength, "2.125");
    const auto typed = std::tuple(h.state->FreeStreamVelocity, h.state->FinSpan,
                                  h.forms->get<FluidVariables>().UINPUT->text());
    viaMenu(h, &SOLVER::mnuSaveAs, path("de.txt"));
    Harness fresh;
    SOLVER& t = fresh.start();
    viaMenu(fresh, &SOLVER::mnuOpen, path("de.txt"));
    const auto opened = std::tuple(t.Velocity->text(), fresh.state->FreeStreamVelocity,
                                   fresh.forms->get<FinAnalysis>().SpanLength->text());
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(typed, std::tuple(150.5, 2.125, "1.505E+02"));
    EXPECT_EQ(firstLines(bytesOf(path("de.txt")), 2), "\"INCOMPRESSIBLE\"\r\n\" 150.5\"\r\n");
    EXPECT_EQ(opened, std::tuple("150.5", 150.5, "2.125"));
}

TEST_F(ProjectFiles, OpenIsRefusedWhileSolveRuns)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    bool ran = false;
    QTimer::singleShot(0, &s, [&] {
        ran = true;
        viaMenu(h, &SOLVER::mnuOpen, path("none.txt"));
    });
    s.CFDSOLVER_Click();
    ASSERT_TRUE(ran);
    EXPECT_EQ(std::tuple(ModalSeam::instance().fileRequests.empty(), h.messages().empty()), std::tuple(true, true));
}

TEST_F(ProjectFiles, TheDialogListsNamesInEitherCase)
{
    for (const char* name : {"upper.TXT", "lower.txt", "other.dat"}) putBytes(path(name), "x");
    FileRequest r;
    r.title = "Open";
    r.filter = "Text files (*.TXT)|*.TXT";
    QFileDialog dialog;
    configureFileDialog(dialog, r);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Text files (*.TXT)"});
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.setDirectory(dir.path());
    dialog.show();
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(5000));
    // The model fills and filters in its own thread: wait for the listing.
    auto listed = [&] {
        QStringList names;
        const QModelIndex root = model->index(dir.path());
        for (int i = 0; i < model->rowCount(root); ++i) {
            const QModelIndex at = model->index(i, 0, root);
            if (model->flags(at) & Qt::ItemIsEnabled) names << model->fileName(at);
        }
        names.sort();
        return names;
    };
    const QStringList expected{"lower.txt", "upper.TXT"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return listed() == expected; }, 5000)) << listed().join(", ").toStdString();
}

} // namespace
} // namespace velmora
