// The base-flow window driven as a user drives it: SOLVE from the main window's solution, the locked controls
// of a run, Abort, the output file at the iteration limit and the plots.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cfloat>

#include "baseflow/BaseDrag.h"
#include "baseflow/BaseFlow.h"
#include "baseflow/ui/NavierStokes.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::said;
using Kind = PictureBox::Kind;

const QString kCfdFirst = "Please perform CFD first.";

// The typical rocket typed in, solved on the main screen (or not), and the window opened by BASE FLOW.
NavierStokes& openBaseFlow(Harness& h, bool solveMain = true, const QString& velocity = "300")
{
    SOLVER& s = h.typeRocket(velocity);
    if (solveMain) s.CFDSOLVER_Click();
    Harness::press(s.Toolbar1, "BASE FLOW");
    NavierStokes& w = h.forms->get<NavierStokes>();
    for (PictureBox* p : {w.PLOT, w.LEVELS, w.RESIDUAL}) p->setRecording(true);
    return w;
}

// Calls of a kind since the picture was last cleared, optionally of one colour.
long drawnSinceClear(const PictureBox* p, Kind kind, std::optional<QRgb> colour = {})
{
    long n = 0;
    for (const auto& c : p->calls()) {
        if (c.kind == Kind::Clear) n = 0;
        else if (c.kind == kind && (!colour || c.colour == *colour)) ++n;
    }
    return n;
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// Runs `during` from inside the run's first event pump, then lets the run end.
void duringRun(NavierStokes& w, const std::function<void()>& during)
{
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
        ran = true;
        during();
    });
    click(w.Solve);
    EXPECT_TRUE(ran);
}

// A fresh window: both user-set flags end at 1 and the units follow the main window's; SOLVE is refused on a
// stale main solution, the mesh draws.
TEST(BaseFlowWindow, LoadAndAStaleMainSolutionRefusesSolveButMeshDraws)
{
    Harness h;
    NavierStokes& w = openBaseFlow(h, false);
    EXPECT_EQ(std::tuple(h.state->ContourLevelsUserSet, h.state->VectorScaleUserSet), std::tuple(1, 1));
    EXPECT_EQ(w.Vislabel->text(), "IN^2/SEC");  // the typical rocket is typed in inches
    click(w.Solve);
    EXPECT_EQ(w.StatusBar1->panel(3), "Please perform CFD on main screen. Nothing added to total drag.");
    EXPECT_EQ(drawnSinceClear(w.RESIDUAL, Kind::Line), 0);
    click(w.GridPlot);
    EXPECT_EQ(drawnSinceClear(w.PLOT, Kind::Line), 50 + 25 + 5);
    EXPECT_EQ(w.StatusBar1->panel(3), "Plot complete.");
}

// While a user's run goes on its controls are locked and the title-bar close asks to abort; the run replaces
// the base drag. A motor jet lowers it, sets the top of the speed scale and the vector plot follows its spinners.
TEST(BaseFlowWindow, ControlsLockedDuringARunThatReplacesTheBaseDragAndAJetLowersIt)
{
    Harness h;
    NavierStokes& w = openBaseFlow(h);
    SOLVER& s = h.forms->get<SOLVER>();
    Module1& m = *h.state;
    const double total0 = m.TotalDragCoefficient, base0 = m.BaseDragCoefficient;
    w.show();
    QAction* ret = w.Toolbar1->actions().last();
    h.answers = {MsgAnswer::Cancel};
    QString panel3AfterCancel = "?";
    duringRun(w, [&] {
        EXPECT_TRUE(h.forms->busy().active());
        for (QWidget* c : std::initializer_list<QWidget*>{w.THRUST, w.VCONTOUR, w.UpDown3})
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        EXPECT_EQ(std::tuple(w.mnuClose->isEnabled(), ret->isEnabled(), w.Abort->isEnabled()),
                  std::tuple(false, false, true));
        // A user's clicks on Solve, the grid list and RETURN change nothing.
        click(w.Solve);
        Harness::pick(w.GRID, "60X30");
        Harness::press(w.Toolbar1, "RETURN");
        EXPECT_EQ(std::tuple(h.state->BaseGridPointsX, w.GRID->Text()), std::tuple(50, "50X25"));
        EXPECT_TRUE(w.isVisible());
        // The title-bar close asks to abort; Cancel empties panel 3.
        w.close();
        panel3AfterCancel = w.StatusBar1->panel(3);
        EXPECT_TRUE(w.isVisible());
    });
    EXPECT_EQ(std::tuple(said(h.messages()), panel3AfterCancel, w.StatusBar1->panel(3)),
              std::tuple(QStringList{"Base Flow Analysis will be terminated. | Abort Solution"}, "",
                         QString::fromUtf8(baseflow::kMsgConverged)));
    EXPECT_TRUE(w.GRID->isEnabled() && ret->isEnabled() && !h.forms->busy().active());
    click(w.Abort);  // nothing running: no question, the converged run's message stays
    EXPECT_EQ(std::tuple(h.messages().size(), w.StatusBar1->panel(3)),
              std::tuple(1u, QString::fromUtf8(baseflow::kMsgConverged)));
    const int iterations = w.StatusBar1->panel(2).toInt();
    ASSERT_GT(iterations, 3);
    // Segments of iterations 2 .. n-1 in dark blue over the grid.
    EXPECT_EQ(drawnSinceClear(w.RESIDUAL, Kind::Line, PictureBox::qbColor(1)), iterations - 2);
    EXPECT_NEAR(w.BaseCd->text().toDouble(), s.BaseCd->text().toDouble(), 0.0005);
    EXPECT_NE(m.BaseDragCoefficient, base0);
    EXPECT_NEAR(m.TotalDragCoefficient - total0, m.BaseDragCoefficient - base0, 1e-6);  // single-precision base drag

    // A motor with its nozzle half the base diameter; a nozzle wider than the base is refused as typed, and the
    // main drag is back on its own base drag.
    const double plain = m.BaseDragCoefficient;
    for (auto [box, text] : {std::pair{w.THRUST, "10"}, {w.BURNTIME, "1.5"}, {w.FUELWT, "0.1"}, {w.JETDIAMETER, "2"}})
        Harness::type(box, text);
    click(w.Solve);
    EXPECT_EQ(std::tuple(w.StatusBar1->panel(3), w.JETDIAMETER->text(), m.BaseDragCoefficient),
              std::tuple("Nozzle diameter must not exceed the base diameter (1.). Nothing added to total drag.", "2", base0));
    Harness::type(w.JETDIAMETER, "0.5");
    click(w.Solve);
    EXPECT_EQ(w.IspBase->text(), "150.");
    EXPECT_LT(m.BaseDragCoefficient, plain);

    // Two upward clicks: skip 3, columns 1, 4, ..., 49.
    w.UpDown3->stepUp();
    w.UpDown3->stepUp();
    EXPECT_EQ(drawnSinceClear(w.PLOT, Kind::Line), 17 * 25 + 5);
    w.UpDown1->stepUp();
    EXPECT_EQ(w.Vscale->text(), ".002");
    // A scale beyond single precision is held at its largest value and still plots.
    Harness::type(w.Vscale, "1E39");
    EXPECT_EQ(m.BaseFlowVectorScale, FLT_MAX);
    click(w.Vector);
    EXPECT_EQ(w.StatusBar1->panel(3), "Plot complete.");
    click(w.VCONTOUR);
    EXPECT_EQ(w.MAX->text(), "57900.");  // 386 in/s^2 x 150 s, above every node speed
    click(w.Command1);
    EXPECT_EQ(std::tuple(w.PLOT->calls().back().kind, w.MAX->text()), std::tuple(Kind::Clear, ""));
}

// What a user sees when SOLVE cannot give a base drag that means something: the reason in panel 3, and neither
// window changes its drag.
TEST(BaseFlowWindow, NothingAddedUnlessTheWholeRunHolds)
{
    const struct {
        const char* what;
        const char* velocity;
        const char* motor[4];  // thrust, burn time, propellant, nozzle
        QString panel3;
        bool changeThrustDuringRun = false;
    } cases[] = {
        {"thrust 1e6", "300", {"1e6", "1.5", "0.1", "0.5"},
         "Specific impulse 1.5E+07 s is outside 10 to 500 s, the range of rocket motors: check thrust, burn time "
         "and propellant mass. Nothing added to total drag."},
        {"burn time -1", "300", {"10", "-1", "0.1", "0.5"},
         "Motor burn time must be finite and not negative. Nothing added to total drag."},
        {"thrust typed as text", "300", {"abc", "1.5", "0.1", "0.5"},
         "Average thrust \"abc\" is not a number: type digits with a point as the decimal separator (1.5), or leave "
         "it empty. Nothing added to total drag."},
        {"a strong jet at 20 ft/s", "20", {"10", "2", "0.05", "0.5"},
         "Base pressure above ambient (Cpb 1.101E-01): outside the base-flow model. Nothing added to total drag."},
        {"thrust changed during the run", "300", {"10", "1.5", "0.1", "0.5"}, baseflow::kMsgInputChanged, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        NavierStokes& w = openBaseFlow(h, true, c.velocity);
        SOLVER& s = h.forms->get<SOLVER>();
        const QStringList mainBefore{s.BaseCd->text(), s.TotalCd->text(), s.StatusBar1->panel(2)};
        const float base0 = h.state->BaseDragCoefficient;
        int k = 0;
        for (TextBox* box : {w.THRUST, w.BURNTIME, w.FUELWT, w.JETDIAMETER}) Harness::type(box, c.motor[k++]);
        if (c.changeThrustDuringRun) duringRun(w, [&] { w.THRUST->setText("20"); });
        else click(w.Solve);
        EXPECT_EQ(std::tuple(w.StatusBar1->panel(3), QStringList({s.BaseCd->text(), s.TotalCd->text(),
                             s.StatusBar1->panel(2)}), w.BaseCd->text(), w.IspBase->text(), h.state->BaseDragCoefficient),
                  std::tuple(c.panel3, mainBefore, "", "", base0));
    }
}

// A converged run's results stand only beside the inputs they came from: a motor input typed, a list picked or a
// refused SOLVE empties them and puts the main window back as it was before the run.
TEST(BaseFlowWindow, ResultsGoWithTheInputsTheyCameFrom)
{
    const std::pair<std::function<void(NavierStokes&)>, QString> cases[] = {
        {[](NavierStokes& w) { Harness::type(w.THRUST, "12"); }, ""},
        {[](NavierStokes& w) { Harness::pick(w.ITMAX, "100"); }, ""},
        {[](NavierStokes& w) { Harness::type(w.THRUST, "1e6"), click(w.Solve); },
         "Specific impulse 1.5E+07 s is outside 10 to 500 s, the range of rocket motors: check thrust, burn time "
         "and propellant mass. Nothing added to total drag."},
    };
    for (const auto& [change, panel3] : cases) {
        Harness h;
        NavierStokes& w = openBaseFlow(h);
        SOLVER& s = h.forms->get<SOLVER>();
        auto main = [&] { return QStringList{s.BaseCd->text(), s.TotalCd->text(), s.StatusBar1->panel(2)}; };
        const QStringList before = main();
        for (auto [box, text] : {std::pair{w.THRUST, "10"}, {w.BURNTIME, "1.5"}, {w.FUELWT, "0.1"}, {w.JETDIAMETER, ".5"}})
            Harness::type(box, text);
        click(w.Solve);
        ASSERT_EQ(std::tuple(w.IspBase->text(), s.StatusBar1->panel(2)), std::tuple("150.", baseflow::kMsgBaseDragAdded));
        change(w);
        QString shown = w.StatusBar1->panel(2) + " | " + w.StatusBar1->panel(3);
        for (TextBox* b : {w.IspBase, w.UJETBase, w.PjetBase, w.BaseCd, w.REYNOLDS, w.CONVERGE}) shown += b->text();
        EXPECT_EQ(std::tuple(shown, main(), h.state->BasePressureAvailable), std::tuple(" | " + panel3, before, "FALSE"));
    }
}

// The file offered at the iteration limit: written whole, or nothing written and the reason said. A name typed
// without an extension is saved as ".TXT", as Save As does.
TEST(BaseFlowWindow, OutputFileAtTheLimit)
{
    const struct {
        const char* what;
        const char* target;  // "" cancels the dialog
        bool saved;
        rlim_t sizeLimit = 0;  // 0: none
    } cases[] = {{"saved", "out.TXT", true},
                 {"typed without an extension", "out", true},
                 {"cancelled", "", false},
                 {"cannot be created", "no/dir/out.TXT", false},
                 {"write fails mid-file", "out.TXT", false, 4096}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        Harness h;
        NavierStokes& w = openBaseFlow(h);
        h.state->BaseFlowMaxIterations = 3;  // the lists start at 50, above this case's convergence
        const QString target = *c.target ? dir.filePath(c.target) : QString();
        h.fileAnswer = [&](const FileRequest&) { return target; };
        testing::withFileSizeLimit(c.sizeLimit, [&] { click(w.Solve); });
        EXPECT_EQ(w.StatusBar1->panel(3), QString::fromUtf8(baseflow::kMsgNotConverged));
        EXPECT_EQ(ModalSeam::instance().fileRequests.size(), 1u);
        const bool failed = *c.target && !c.saved;
        EXPECT_EQ(said(h.messages()), failed ? QStringList{"An Error Saving The File. | "} : QStringList{});
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), c.saved ? QStringList{"out.TXT"} : QStringList{});
        QFile f(dir.filePath("out.TXT"));
        if (!c.saved || !f.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(bytes.count("\r\n"), 3753);  // the last line ends too
        EXPECT_TRUE(bytes.startsWith("\"X-VELOCITY\"\r\n0,0\r\n"));
    }
}

// Abort confirmed stops after the iteration and keeps nothing; the plots then refuse, and once solved the
// contours check the level count.
TEST(BaseFlowWindow, AbortKeepsNothingAndThePlotsCheckTheLevelCount)
{
    Harness h;
    NavierStokes& w = openBaseFlow(h);
    SOLVER& s = h.forms->get<SOLVER>();
    const QString mainBaseCd = s.BaseCd->text();
    const double base0 = h.state->BaseDragCoefficient;
    duringRun(w, [&] { click(w.Abort); });
    // The warning went with its box.
    EXPECT_EQ(std::tuple(h.state->AbortRequest, QStringList({w.StatusBar1->panel(2), w.StatusBar1->panel(3),
                         w.BaseCd->text(), s.BaseCd->text()}), h.state->BaseDragCoefficient),
              std::tuple("YES", QStringList({"1", "", "", mainBaseCd}), base0));
    for (QPushButton* b : {w.VCONTOUR, w.Vector}) {
        w.StatusBar1->setPanel(3, "");
        click(b);
        EXPECT_EQ(w.StatusBar1->panel(3), kCfdFirst) << b->objectName().toStdString();
    }
    click(w.Solve);
    const struct {
        const char* typed;
        const char* box;  // "" draws
    } levels[] = {{"2", "NUMBER OF LEVELS MUST BE GREATER THAN 2 | NUMBER OF LEVELS TO SMALL"},
                  {"101", "NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100 | NUMBER OF LEVELS TO LARGE"},
                  {"3", ""},
                  {"100", ""}};
    for (const auto& l : levels) {
        SCOPED_TRACE(l.typed);
        ModalSeam::instance().messages.clear();
        Harness::type(w.NLEVELS, l.typed);
        click(w.VCONTOUR);
        EXPECT_EQ(said(h.messages()), *l.box ? QStringList{l.box} : QStringList{});
        EXPECT_EQ(drawnSinceClear(w.PLOT, Kind::Polygon), *l.box ? 0 : 49 * 24);
        EXPECT_TRUE(*l.box || w.StatusBar1->panel(3) == "Plot complete.") << w.StatusBar1->panel(3).toStdString();
    }
    // The same grid picked again invalidates the solution.
    Harness::pick(w.GRID, "50X25");
    click(w.Vector);
    EXPECT_EQ(w.StatusBar1->panel(3), kCfdFirst);
}

} // namespace
} // namespace velmora
