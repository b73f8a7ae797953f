// Status texts that say what is so: a window opened and closed without a change leaves the results and every
// status text as they were, a refused body is not called defined, and a "Please wait" text ends with its run.
#include <QTimer>
#include <QToolBar>

#include "baseflow/ui/NavierStokes.h"
#include "geometry/ui/GeometryWindows.h"
#include "model/Vocabulary.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::panels;

// Clicks the toolbar key with this name as a user does.
void click(QToolBar* bar, const QString& key)
{
    for (QAction* a : bar->actions())
        if (a->objectName() == key) return QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
    FAIL() << "no toolbar key " << key.toStdString();
}

// The main window's result boxes and both status panels, and a window's status panels.
std::vector<std::string> shown(const SOLVER& s, const StatusBar* window)
{
    std::vector<std::string> out{panels(s.StatusBar1).toStdString(), panels(window).toStdString()};
    for (const TextBox* b : {s.MachNumber, s.ReNumber, s.XLRATIOS, s.FORCE, s.TotalCd, s.CNFORCES, s.CdMax,
                             s.CMFORCES, s.PressureCd, s.FinInterferenceDrag, s.BaseCd, s.LaunchLugDrag,
                             s.FinSurfaceDrag})
        out.push_back(b->text().toStdString());
    return out;
}

// After SOLVE, FINS or BODY then RETURN: with nothing changed every result and status text stays; a change in
// the window empties the results and RETURN says what it found.
TEST(StatusTexts, WindowOpenedAndClosedLeavesResultsAndStatusUnlessChanged)
{
    const struct {
        const char* key;
        const char* window;
        QString typed;  // into the window's first dimension box, or nothing
        QString mainAfterChange;
    } rows[] = {
        {"FINS", "FinAnalysis", {}, {}},
        {"BODY", "BODYTUBE", {}, {}},
        {"FINS", "FinAnalysis", "3.5", "Mesh or Perform CFD. | All required fin data has been supplied."},
        {"BODY", "BODYTUBE", "4", "Body tube geometry is defined. | "},
    };
    for (const auto& row : rows) {
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        FinAnalysis& fins = h.forms->get<FinAnalysis>();
        BODYTUBE& body = h.forms->get<BODYTUBE>();
        const bool finWindow = QString(row.key) == "FINS";
        StatusBar* windowBar = finWindow ? fins.StatusBar1 : body.StatusBar1;
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
        const std::vector<std::string> before = shown(s, windowBar);
        h.onShow[row.window] = [&](Form&) {
            if (!row.typed.isEmpty()) Harness::type(finWindow ? fins.RootChord : body.NoseLength, row.typed);
            click(finWindow ? fins.Toolbar1 : body.Toolbar1, "RETURN");
        };
        click(s.Toolbar1, row.key);
        if (row.typed.isEmpty()) {
            EXPECT_EQ(shown(s, windowBar), before) << row.key;
            EXPECT_NE(h.state->FlowSolutionStatus, FlowSolutionState::Stale) << row.key;
        } else {
            EXPECT_EQ(std::tuple(panels(s.StatusBar1).toStdString(), s.TotalCd->text().toStdString()),
                      std::tuple(row.mainAfterChange.toStdString(), ""))
                << row.key;
        }
    }
}

// A body size typed that the grid refuses: RETURN does not call the body defined beside the refusal.
TEST(StatusTexts, RefusedBodyIsNotCalledDefined)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    h.onShow["BODYTUBE"] = [&](Form&) {
        Harness::type(body.NoseLength, "-4");
        click(body.Toolbar1, "RETURN");
    };
    click(s.Toolbar1, "BODY");
    EXPECT_EQ(panels(s.StatusBar1).toStdString(),
              "MESHING not complete. | Nose cone length must be between 0.000001 and 1000000.");
}

// Presses refused while SOLVE or a base-flow run lets events run say "Please wait"; once the run has ended
// (finished or aborted) the panel shows what the run alone would have left there.
TEST(StatusTexts, PleaseWaitEndsWithItsRun)
{
    {
        Harness h;
        SOLVER& s = h.typeRocket();
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        const QString alone = panels(s.StatusBar1);
        QString during;
        QTimer::singleShot(0, &s, [&] {
            for (int i = 0; i < 20; ++i) QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
            during = s.StatusBar1->panel(2);
        });
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(std::tuple(during.toStdString(), panels(s.StatusBar1).toStdString()),
                  std::tuple("Please wait: SOLVE is in progress.", alone.toStdString()));
    }
    {
        Harness h;
        SOLVER& s = h.typeRocket();
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        click(s.Toolbar1, "BASE FLOW");
        NavierStokes& w = h.forms->get<NavierStokes>();
        const QString before = s.StatusBar1->panel(2);
        QString during;
        QTimer::singleShot(0, &w, [&] {
            QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
            during = s.StatusBar1->panel(2);
            QTest::mouseClick(w.Abort, Qt::LeftButton);
        });
        QTest::mouseClick(w.Solve, Qt::LeftButton);
        EXPECT_EQ(std::tuple(h.state->AbortRequest, during.toStdString(), s.StatusBar1->panel(2).toStdString()),
                  std::tuple("YES", "Please wait: Base flow CFD is in progress.", before.toStdString()));
    }
}

} // namespace
} // namespace velmora
