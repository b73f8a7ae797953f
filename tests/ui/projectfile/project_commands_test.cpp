// The File commands through the real windows: projects typed as a user would,
// saved, opened in a fresh session and saved again; older and broken files;
// failed saves.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/ui/SOLVER.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ui/ConvertData.h"
#include "platform/ui/WholeFile.h"
#include "stability/ui/ITERATION.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

std::string bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

void putBytes(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The file's lines without their CR LF ends.
std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count && i < lines.size(); ++i) out += lines[i] + "\r\n";
    return out;
}

void saveAs(Harness& h, const QString& path)
{
    h.fileAnswer = [path](const FileRequest&) { return path; };
    h.forms->get<SOLVER>().mnuSaveAs->trigger();
}

void openFile(Harness& h, const QString& path)
{
    h.fileAnswer = [path](const FileRequest&) { return path; };
    h.forms->get<SOLVER>().mnuOpen->trigger();
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

// Compressible flow at 5000 ft, 150.5 ft/s, a Sears-Haack nose with a
// transition and base tube, four round-edged tapered fins with an excellent
// finish and a launch lug: at most three decimals, each typed in the form
// its box shows it.
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

// Incompressible, 120.5 ft/s at sea level, a conical nose on a free-form
// tube of five points, two of them dragged, rectangular fins. The tube's
// length puts the nose radius on a whole twip (6675 - 267), as the file keeps
// the points' heights.
void typeFreeForm(Harness& h)
{
    SOLVER& s = h.start();
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    Harness::pick(b.NoseShape, "CONICAL");
    h.typeBody("2.5", "1.25", "15.625");
    b.GEOMETRY[1]->click();
    Harness::type(s.Velocity, "120.5");
    h.onShow["GeoBody"] = [](Form& form) {
        auto& g = static_cast<GeoBody&>(form);
        g.show();
        g.UpDown3->stepUp();  // five points
        for (const auto& [x, toY] : {std::pair{2403.75, 5200.0}, std::pair{4807.5, 4600.0}}) {
            // Left button down on the point, then up in 10-pixel steps.
            QPoint at(static_cast<int>(x / 15), static_cast<int>(g.model().y(2) / 15));
            QTest::mousePress(g.drawing(), Qt::LeftButton, {}, at);
            for (const int to = static_cast<int>(toY / 15); at.y() != to;) {
                at.setY(std::max(to, at.y() - 10));
                QTest::mouseMove(g.drawing(), at);
            }
            QTest::mouseRelease(g.drawing(), Qt::LeftButton, {}, at);
        }
        g.MESHBODY->click();
    };
    b.FREEFORM->click();
    h.onShow.erase("GeoBody");
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    f.FinShapes[1]->click();
    for (const auto& [box, text] : std::initializer_list<std::pair<TextBox*, const char*>>{
             {f.DTip, "2.5"}, {f.RootChord, "2.5"}, {f.SpanLength, "1.75"}, {f.FINTHK, ".1"}, {f.DLUGS, "1.25"},
             {f.ODLUGS, ".3"}, {f.IDLUGS, ".25"}})
        Harness::type(box, text);
}

class ProjectFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }
};

TEST_F(ProjectFiles, SaveOpenSaveGivesTheSameBytesAndWindows)
{
    for (auto type : {&typeStandard, &typeFreeForm}) {
        SCOPED_TRACE(type == &typeStandard ? "standard" : "free-form");
        std::vector<std::pair<std::string, QString>> typed;
        {
            Harness a;
            type(a);
            ASSERT_EQ(a.state->ActiveBodyGeometry, type == &typeStandard ? 0 : 1);
            typed = shown(a);
            saveAs(a, path("first.TXT"));
            EXPECT_TRUE(a.messages().empty());
        }
        const std::string first = bytesOf(path("first.TXT"));
        ASSERT_EQ(linesOf(first).size(), 30u + (type == &typeStandard ? 4 : 5));

        Harness b;
        SOLVER& s = b.start();
        openFile(b, path("first.TXT"));
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

        saveAs(b, path("second.TXT"));
        EXPECT_EQ(bytesOf(path("second.TXT")), first);
    }
}

TEST_F(ProjectFiles, VelocityComesBackThroughItsBox)
{
    Harness h;
    typeStandard(h);
    saveAs(h, path("p.txt"));
    std::vector<std::string> lines = linesOf(bytesOf(path("p.txt")));
    lines[1] = "\" 150.04\"";
    putBytes(path("p.txt"), joined(lines, lines.size()));
    // The second Open finds the box already showing "150.".
    for (int pass = 0; pass < 2; ++pass) {
        h.state->FreeStreamVelocity = 99;
        openFile(h, path("p.txt"));
        EXPECT_EQ(h.forms->get<SOLVER>().Velocity->text(), "150.");
        EXPECT_EQ(h.state->FreeStreamVelocity, 150);
    }
}

TEST_F(ProjectFiles, OlderLayoutShowsTheNoticeAndTakesItsDefaults)
{
    Harness a;
    typeStandard(a);
    saveAs(a, path("new.txt"));
    putBytes(path("old.txt"), joined(linesOf(bytesOf(path("new.txt"))), 27));

    Harness h;
    typeFreeForm(h);
    Harness::pick(h.forms->get<SOLVER>().DomainSize, "30");
    ASSERT_EQ(h.state->MeshAxialNodeCount, 30);
    h.onShow["ConvertData"] = [&](Form& form) {
        auto& notice = static_cast<ConvertData&>(form);
        EXPECT_TRUE(notice.Text->text().startsWith(" WARNING: This file may"));
        EXPECT_EQ(h.state->MeshAxialNodeCount, 20);
        notice.Accept->click();
    };
    openFile(h, path("old.txt"));
    EXPECT_EQ(Harness::timesShown("ConvertData"), 1);
    EXPECT_FALSE(h.forms->isLoaded<ConvertData>());
    EXPECT_TRUE(h.messages().empty());

    // Items 1 to 27 as saved (the core test pins each item), then the
    // defaults of an older file, shown in the windows.
    const Module1& m = *h.state;
    EXPECT_EQ(m.NoseShapeName, "SEARS-HAACK");
    EXPECT_EQ(m.LaunchLugInnerDiameter, a.state->LaunchLugInnerDiameter);
    EXPECT_EQ(m.MeshAxialNodeCount, 20);
    EXPECT_TRUE(h.forms->get<BODYTUBE>().GEOMETRY[0]->isChecked());
    EXPECT_EQ(m.FreeFormPointCount, 4);
    EXPECT_EQ(h.forms->get<SOLVER>().StatusBar1->panel(2), "CFD solution required.");
}

TEST_F(ProjectFiles, BrokenFilesChangeNoFileItem)
{
    Harness h;
    typeStandard(h);
    saveAs(h, path("good.txt"));
    const std::vector<std::string> good = linesOf(bytesOf(path("good.txt")));
    std::vector<std::string> notFlowModel = good, tooManyPoints = good;
    notFlowModel[0] = "\"SUPERSONIC\"";
    notFlowModel.resize(20);
    tooManyPoints[29] = "\" 21\"";
    const std::pair<const char*, std::string> files[] = {
        {"first line not a flow model", joined(notFlowModel, 20)},
        {"21 points after 30 items", joined(tooManyPoints, tooManyPoints.size())},
        {"a blank line after the points", joined(good, good.size()) + "\r\n"},
        {"no bytes", ""},
    };
    SOLVER& s = h.forms->get<SOLVER>();
    const std::string before = *projectfile::write(*h.state);
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        ModalSeam::instance().messages.clear();
        putBytes(path("bad.txt"), bytes);
        openFile(h, path("bad.txt"));
        EXPECT_EQ(testing::said(h.messages()), QStringList{"An Error Reading The File | "});
        EXPECT_EQ(*projectfile::write(*h.state), before);
        EXPECT_EQ(s.StatusBar1->panel(2), "");  // emptied by the reset, no window restored
    }
    // A file that cannot be read at all says the same.
    ModalSeam::instance().messages.clear();
    openFile(h, path("missing/none.txt"));
    EXPECT_EQ(testing::said(h.messages()), QStringList{"An Error Reading The File | "});
}

TEST_F(ProjectFiles, FailedSavesKeepTheOldFile)
{
    Harness h;
    typeStandard(h);
    const std::string old = "\"an older project\"\r\n";
    putBytes(path("kept.txt"), old);
    // A write that fails on line 10 of 34.
    setSaveFault([](long long offset) { return offset < 200; });
    saveAs(h, path("kept.txt"));
    setSaveFault({});
    EXPECT_EQ(bytesOf(path("kept.txt")), old);
    EXPECT_EQ(testing::said(h.messages()), QStringList{"An Error Saving The File. | "});

    ModalSeam::instance().messages.clear();
    saveAs(h, path("missing/p.txt"));
    EXPECT_EQ(testing::said(h.messages()), QStringList{"An Error Saving The File. | "});
    EXPECT_FALSE(QFile::exists(path("missing/p.txt")));

    // A cancelled Save As writes nothing and says nothing.
    ModalSeam::instance().messages.clear();
    saveAs(h, QString());
    EXPECT_TRUE(h.messages().empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});
}

TEST_F(ProjectFiles, CancelledOpenOnlyInvalidatesAndZeroDimensionsAskForThem)
{
    Harness h;
    typeStandard(h);
    SOLVER& s = h.forms->get<SOLVER>();
    h.state->FlowSolutionStatus.clear();
    const std::string before = *projectfile::write(*h.state);
    openFile(h, QString());
    EXPECT_EQ(h.state->FlowSolutionStatus, "SOLVE NEW FLOW");
    EXPECT_EQ(*projectfile::write(*h.state), before);
    EXPECT_TRUE(h.messages().empty());

    Harness::type(s.Velocity, "0");
    saveAs(h, path("still.txt"));
    Harness fresh;
    fresh.start();
    openFile(fresh, path("still.txt"));
    EXPECT_EQ(fresh.forms->get<SOLVER>().StatusBar1->panel(2), "Please enter rocket dimensions");
    EXPECT_EQ(fresh.forms->get<FinAnalysis>().SpanLength->text(), "2.125");
}

TEST_F(ProjectFiles, OpenIsRefusedWhileSolveRuns)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    bool ran = false;
    QTimer::singleShot(0, &s, [&] {
        ran = true;
        openFile(h, path("none.txt"));
    });
    s.CFDSOLVER_Click();
    ASSERT_TRUE(ran);
    EXPECT_TRUE(ModalSeam::instance().fileRequests.empty());
    EXPECT_TRUE(h.messages().empty());
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
