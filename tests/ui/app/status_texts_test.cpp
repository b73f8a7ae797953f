// Status texts that say what is so: a window opened and closed without a change leaves the results and every
// status text as they were, a refused body is not called defined, and a "Please wait" text ends with its run.
#include <QTimer>
#include <QToolBar>

#include "baseflow/ui/NavierStokes.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::panels;

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// Clicks the toolbar key with this name as a user does.
void click(QToolBar* bar, const QString& key)
{
    for (QAction* a : bar->actions())
        if (a->objectName() == key) return click(bar->widgetForAction(a));
    FAIL() << "no toolbar key " << key.toStdString();
}

// Both status bars and the main window's result boxes.
std::vector<std::string> shown(const SOLVER& s, const StatusBar* window)
{
    std::vector<std::string> out{panels(s.StatusBar1).toStdString(), panels(window).toStdString()};
    for (const TextBox* b : {s.MachNumber, s.ReNumber, s.XLRATIOS, s.FORCE, s.TotalCd, s.CNFORCES, s.CdMax,
                             s.CMFORCES, s.PressureCd, s.FinInterferenceDrag, s.BaseCd, s.LaunchLugDrag,
                             s.FinSurfaceDrag})
        out.push_back(b->text().toStdString());
    return out;
}

// After SOLVE, FINS or BODY then RETURN with nothing changed: every result and status text stays. A size typed in
// the window empties the results, and RETURN says what it found.
TEST(StatusTexts, WindowOpenedAndClosedLeavesResultsAndStatusUnlessChanged)
{
    const struct { const char* key; QString typed, mainAfter; } rows[] = {
        {"FINS", {}, {}}, {"BODY", {}, {}},
        {"FINS", "3.5", "Mesh or Perform CFD. | All required fin data has been supplied."},
        {"BODY", "4", "Body tube geometry is defined. | "}};
    for (const auto& row : rows) {
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        FinAnalysis& fins = h.forms->get<FinAnalysis>();
        BODYTUBE& body = h.forms->get<BODYTUBE>();
        const bool finWindow = QString(row.key) == "FINS";
        click(s.CFDSOLVER);
        const std::vector<std::string> before = shown(s, finWindow ? fins.StatusBar1 : body.StatusBar1);
        h.onShow[finWindow ? "FinAnalysis" : "BODYTUBE"] = [&](Form&) {
            if (!row.typed.isEmpty()) Harness::type(finWindow ? fins.RootChord : body.NoseLength, row.typed);
            click(finWindow ? fins.Toolbar1 : body.Toolbar1, "RETURN");
        };
        click(s.Toolbar1, row.key);
        if (row.typed.isEmpty()) EXPECT_EQ(shown(s, finWindow ? fins.StatusBar1 : body.StatusBar1), before);
        else EXPECT_EQ(std::tuple(panels(s.StatusBar1), s.TotalCd->text()), std::tuple(row.mainAfter, ""));
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
    for (bool baseFlow : {false, true}) {
        Harness h;
        SOLVER& s = h.typeRocket();
        click(s.CFDSOLVER);
        if (baseFlow) click(s.Toolbar1, "BASE FLOW");
        NavierStokes* w = baseFlow ? &h.forms->get<NavierStokes>() : nullptr;
        const QString alone = s.StatusBar1->panel(2);
        QString during;
        QTimer::singleShot(0, &s, [&] {
            for (int i = 0; i < 20; ++i) click(s.CFDSOLVER);
            during = s.StatusBar1->panel(2);
            if (w) click(w->Abort);
        });
        click(w ? static_cast<QWidget*>(w->Solve) : s.CFDSOLVER);
        EXPECT_EQ(std::tuple(during, s.StatusBar1->panel(2), h.state->AbortRequest),
                  std::tuple(w ? "Please wait: Base flow CFD is in progress." : "Please wait: SOLVE is in progress.",
                             alone, w ? "YES" : "NO"));
    }
}

} // namespace
} // namespace velmora
