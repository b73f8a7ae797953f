// Windows at any size: every plot grows with its window and its labels stay beside it, a window larger than the
// screen scrolls, and the texts of the status bars, unit labels, axis labels and titles are shown whole.
#include <QScrollArea>
#include <QScrollBar>

#include "baseflow/BaseFlow.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "projectfile/ui/ConvertData.h"
#include "stability/ui/CROSSFLOW.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

const QRect kScreen(0, 0, 1920, 1080);

// A control's rectangle in its window's coordinates.
QRect inWindow(const QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

// The label's text fits the room the label has.
bool whole(const QLabel* l) { return l->width() >= l->sizeHint().width(); }

// The control lies whole, frame included, in view.
bool wholeInView(const QWidget* w) { return w->visibleRegion() == QRegion(w->rect()); }

// Placed on the screen and shown, then at this size if one is given.
void showOn(Form& w, const QRect& screen, QSize size = {})
{
    placeWindow(w, screen);
    w.show();
    if (size.isValid()) w.resize(size);
    QApplication::processEvents();
}

void settle(Form& w, QSize size)
{
    w.resize(size);
    QApplication::processEvents();
}

struct PlotCase {
    std::function<PictureBox*(Harness&)> plot;  // the window loaded, its plot
    QSize design;
    std::function<void(Harness&, const QRect& plot)> beside;  // where the labels stand against the plot, at every size
};

template <class W>
PlotCase plotCase(PictureBox* W::*plot, QSize design, void (*beside)(W&, const QRect&))
{
    return {[plot](Harness& h) { return h.forms->get<W>().*plot; }, design,
            [beside](Harness& h, const QRect& r) { beside(h.forms->get<W>(), r); }};
}

TEST(Scaling, EveryPlotFillsItsFrameAndKeepsItsLabelsBesideIt)
{
    const PlotCase cases[] = {
        plotCase<PanelAero>(&PanelAero::PLOT1, {480, 300}, [](PanelAero& w, const QRect& plot) {
            const QRect section = inWindow(w.FinSection);
            EXPECT_EQ(std::tuple(inWindow(w.MAX1).bottom(), inWindow(w.MIN1).top(), section.left(), section.width()),
                      std::tuple(plot.bottom(), plot.top(), plot.left(), plot.width()));
            EXPECT_NEAR(inWindow(w.MIN1).right(), plot.left(), 8);
            EXPECT_NEAR(section.height(), plot.width() * 170.0 / 480, 1);
        }),
        plotCase<PressureCenter>(&PressureCenter::SurfaceProfile, {560, 300}, [](PressureCenter& w, const QRect& plot) {
            EXPECT_EQ(inWindow(w.MAX).bottom(), plot.bottom());
            EXPECT_NEAR(inWindow(w.PlotLabel).center().y(), plot.center().y(), 2);
        }),
        plotCase<CROSSFLOW>(&CROSSFLOW::PLOT, {480, 320}, [](CROSSFLOW& w, const QRect& plot) {
            EXPECT_NEAR(inWindow(w.MIN).center().y(), plot.bottom(), 2);
            EXPECT_NEAR(inWindow(w.Label2).center().y(), plot.top() + plot.height() * 0.4, 2);
            EXPECT_NEAR(inWindow(w.AngleLabels[8]).center().x(), plot.right(), 2);
        }),
        plotCase<ITERATION>(&ITERATION::DataPlot1, {360, 360}, [](ITERATION& w, const QRect& plot) {
            EXPECT_NEAR(inWindow(w.MAXAOA).center().x(), plot.left() + plot.width() * 2100.0 / 2200, 2);
            EXPECT_NEAR(inWindow(w.MINDATA).center().y(), plot.top() + plot.height() * 2100.0 / 2200, 2);
            EXPECT_GT(inWindow(w.PlotType).top(), inWindow(w.MAXAOA).bottom());
        }),
        plotCase<PlotResults>(&PlotResults::VelocityPlot, {580, 290}, [](PlotResults& w, const QRect& plot) {
            const QRect legend = inWindow(w.LEVELS);
            EXPECT_EQ(std::tuple(legend.top(), legend.height(), inWindow(w.MAX).top(), inWindow(w.MIN).bottom()),
                      std::tuple(plot.top(), plot.height(), legend.top(), legend.bottom()));
        }),
        plotCase<NavierStokes>(&NavierStokes::PLOT, {480, 240}, [](NavierStokes& w, const QRect& plot) {
            EXPECT_EQ(std::pair(inWindow(w.LEVELS).height(), inWindow(w.LEVELS).top()),
                      std::pair(plot.height(), plot.top()));
        }),
        plotCase<SOLVER>(&SOLVER::MeshPlot, {380, 190},
                         [](SOLVER&, const QRect& plot) { EXPECT_EQ(plot.width(), 2 * plot.height()); }),
    };
    for (const PlotCase& c : cases) {
        Harness h;
        h.start();
        PictureBox* pic = c.plot(h);
        auto& w = static_cast<Form&>(*pic->window());
        SCOPED_TRACE(w.objectName().toStdString());
        placeWindow(w, kScreen);
        w.show();
        QApplication::processEvents();
        // The default size shows the plot at least at its design size.
        EXPECT_TRUE(pic->width() >= c.design.width() && pic->height() >= c.design.height()) << pic->width();
        c.beside(h, inWindow(pic));
        const QSize before = pic->size();
        settle(w, {1900, 1000});
        EXPECT_TRUE(pic->width() > before.width() * 1.3 && pic->height() > before.height() * 1.3) << pic->height();
        c.beside(h, inWindow(pic));
    }
}

// A window whose content needs more than the screen has opens within the screen and scrolls to every control.
TEST(Scaling, AWindowLargerThanTheScreenFitsItAndScrolls)
{
    Harness h;
    h.start();
    NavierStokes& w = h.forms->get<NavierStokes>();
    const QRect small(0, 0, 700, 450);
    ASSERT_GT(w.minimumSizeHint().height(), small.height());
    placeWindow(w, small);
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(small.contains(w.frameGeometry()));
    EXPECT_LE(w.height(), small.height() - 48);
    auto* scroll = w.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_NE(w.menuBar->parentWidget()->findChild<QScrollArea*>(), nullptr);  // the menu stays outside it
    for (QWidget* key : std::initializer_list<QWidget*>{w.Solve, w.Abort, w.StatusBar1}) {
        scroll->ensureWidgetVisible(key);
        QApplication::processEvents();
        EXPECT_FALSE(key->visibleRegion().isEmpty()) << key->objectName().toStdString();
    }
    // By keyboard: Tab comes to the scroll area after the controls, and the page keys there bring the status bar
    // into view.
    scroll->ensureWidgetVisible(w.GRID);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.focusFirstInput();
    for (int i = 0; i < 40 && QApplication::focusWidget() != scroll; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), scroll);
    QScrollBar* down = scroll->verticalScrollBar();
    down->setValue(0);
    for (int i = 0; i < 10; ++i) QTest::keyClick(scroll, Qt::Key_PageDown);
    QApplication::processEvents();
    EXPECT_EQ(down->value(), down->maximum());
    EXPECT_GT(down->maximum(), 0);
    // Menu, toolbar and status bar stay outside the scrolled content, in view.
    for (QWidget* frame : std::initializer_list<QWidget*>{w.menuBar, w.Toolbar1, w.StatusBar1})
        EXPECT_FALSE(frame->visibleRegion().isEmpty() || scroll->isAncestorOf(frame)) << frame->objectName().toStdString();
    // Placed again, it is wrapped once.
    w.hide();
    placeWindow(w, small);
    EXPECT_EQ(w.findChildren<QScrollArea*>(QStringLiteral("WindowScrollArea")).size(), 1);
}

// Maximised, the inputs keep their width and the mesh takes the room beside the results column, which spans the
// height. On a screen smaller than the window (scale 2 on 1920 x 1200) the results go under the inputs, where a
// SOLVE shows them, and the status bar stays in view; at 1920 x 1080 the columns stay side by side.
TEST(Scaling, TheMainWindowGivesItsRoomToTheMeshAndKeepsResultsInViewOnASmallScreen)
{
    for (const QRect screen : {QRect(0, 0, 1920, 1200), QRect(0, 0, 960, 600)}) {
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        placeWindow(s, screen);
        s.show();
        if (screen.width() > 1000) settle(s, {1920, 1150});
        QApplication::processEvents();
        const QRect results = inWindow(s.findChild<QWidget*>("VelmoraResults"));
        const QRect inputs = inWindow(s.findChild<QWidget*>("FlightConditions"));
        if (screen.width() > 1000) {
            EXPECT_EQ(s.findChild<QScrollArea*>(), nullptr);
            EXPECT_LE(s.Velocity->width(), std::max(s.Compressible->width(), s.RATIOS->width()));
            EXPECT_LT(inWindow(s.Speed).left() - inWindow(s.Velocity).right(), 20);
            EXPECT_GT(results.left(), inputs.right());
            EXPECT_GT(results.bottom(), inWindow(s.ProgressBar1).top() - 20);
            EXPECT_GT(s.MeshPlot->width(), 1300);
            continue;
        }
        EXPECT_GT(results.top(), inputs.bottom());
        EXPECT_LE(results.right(), s.width());
        QScrollBar* down = s.findChild<QScrollArea*>()->verticalScrollBar();
        down->setValue(down->maximum());
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_FALSE(s.MachNumber->text().isEmpty());
        for (QWidget* w : std::initializer_list<QWidget*>{s.MachNumber, s.TotalCd, s.StatusBar1})
            EXPECT_FALSE(w->visibleRegion().isEmpty()) << w->objectName().toStdString();
    }
}

// Maximised, each plot uses the room it is given and its companions keep their shapes.
TEST(Scaling, MaximisedPlotsKeepTheirShapesAndTheirCompanionsTheirWidths)
{
    Harness h;
    h.start();
    auto maximise = [&](Form& w) {
        placeWindow(w, kScreen);
        w.show();
        settle(w, {1920, 1150});
    };
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    maximise(body);
    EXPECT_LT(body.NoseLength->width(), 2 * body.NoseLength->sizeHint().width());
    PlotResults& plot = h.forms->get<PlotResults>();
    maximise(plot);
    EXPECT_NEAR(inWindow(plot.FieldProfile).top(), inWindow(plot.VelocityPlot).top(), 1);
    EXPECT_LE(inWindow(plot.FieldProfile).bottom(), inWindow(plot.VelocityPlot).bottom());
    EXPECT_GT(plot.FieldProfile->width(), 98 * plot.VelocityPlot->height() / 290 - 8);

    PanelAero& fin = h.forms->get<PanelAero>();
    maximise(fin);
    EXPECT_GT(fin.PLOT1->width(), 2 * fin.PLOT1->height());

    NavierStokes& base = h.forms->get<NavierStokes>();
    maximise(base);
    EXPECT_GT(base.RESIDUAL->width(), 480);
    EXPECT_GT(base.RESIDUAL->height(), 200);
    for (QPushButton* b : {base.Solve, base.Abort}) EXPECT_LT(b->width(), 300) << b->objectName().toStdString();
    for (QPushButton* b : {base.GridPlot, base.VCONTOUR, base.Vector, base.Command1})  // each its own width
        EXPECT_EQ(b->width(), b->sizeHint().width()) << b->objectName().toStdString();

    // The sweep plot stays where it is as its y labels change.
    ITERATION& sweep = h.forms->get<ITERATION>();
    maximise(sweep);
    const QRect before = inWindow(sweep.DataPlot1);
    sweep.MAXDATA->setText("-123.45678");
    QApplication::processEvents();
    EXPECT_EQ(inWindow(sweep.DataPlot1), before);
    // Its axes are as bold as each other: the dark pixels across each, between its ticks.
    const QImage img = sweep.DataPlot1->image();
    auto dark = [&](QPointF from, QPointF to) {
        int n = 0;
        for (double t = 0; t <= 1; t += 1.0 / 200)
            n += qGray(img.pixel((from + t * (to - from)).toPoint())) < 128;
        return n * std::hypot(to.x() - from.x(), to.y() - from.y()) / 201;
    };
    PictureBox& p = *sweep.DataPlot1;
    EXPECT_NEAR(dark(p.toDevice(1200, 60), p.toDevice(1200, 140)), dark(p.toDevice(60, 1200), p.toDevice(140, 1200)), 1.5);
}

// Maximised, an input box is as wide as its numbers need, and a results column has one width and one left edge.
TEST(Scaling, InputBoxesKeepTheWidthOfTheirNumbersAndAColumnOneWidth)
{
    Harness h;
    h.start();
    PlotResults& plot = h.forms->get<PlotResults>();
    NavierStokes& base = h.forms->get<NavierStokes>();
    PressureCenter& cp = h.forms->get<PressureCenter>();
    for (Form* w : std::initializer_list<Form*>{&plot, &base, &cp}) showOn(*w, kScreen, {1920, 1150});
    // Each box against the widest pattern its column shows (the velocity levels stand over the vector scale).
    for (const auto& [box, pattern] : std::initializer_list<std::pair<QLineEdit*, std::string_view>>{
             {plot.NLEVELS2, "##.#####"}, {plot.Vscale, "##.#####"}, {plot.NLEVELS, "###"},
             {plot.Xlocation, "#####.##"}, {base.Vscale, "##.#####"}, {base.NLEVELS, "###"}, {base.Vskip, "##"}})
        EXPECT_EQ(box->width(), boxWidthFor(box, widestPatternText(pattern))) << box->objectName().toStdString();
    for (TextBox* b : {cp.CNBODYS, cp.CNROCKET, cp.XCPBODYS, cp.XCPFINS, cp.XCPTOTALS, cp.XLRATIOS, cp.CNFORCES,
                       cp.CMFORCES, cp.CXFORCES, cp.BODYFORCES, cp.FINFORCES, cp.FINAOAFORCES, cp.LUGFORCES, cp.MODELAOA})
        EXPECT_EQ(std::pair(b->width(), inWindow(b).left()), std::pair(cp.CNFINS->width(), inWindow(cp.CNFINS).left()))
            << b->objectName().toStdString();
}

TEST(Scaling, TextsAreShownWhole)
{
    Harness h;
    SOLVER& s = h.start();
    // The base-flow window's messages in panel 3 and its units at their least room.
    Harness::pick(s.CFDUNITS, "in-lb-sec");
    NavierStokes& base = h.forms->get<NavierStokes>();
    // A long refusal beside empty panels at the window's default size on a 1600 x 1000 screen: seen whole.
    showOn(base, QRect(0, 0, 1600, 1000));
    base.StatusBar1->setPanel(3, "Specific impulse 1.5E+07 s is outside 10 to 500 s, the range of rocket motors: check "
                                 "thrust, burn time and propellant mass. Nothing added to total drag.");
    QApplication::processEvents();
    const QLabel* l = base.StatusBar1->panelLabel(3);
    EXPECT_TRUE(base.rect().contains(inWindow(l)) &&
                (l->wordWrap() ? l->height() >= l->heightForWidth(l->width()) : whole(l)));
    base.StatusBar1->setPanel(1, "ITERATION");
    base.StatusBar1->setPanel(2, "50");
    base.StatusBar1->setPanel(3, baseflow::kMsgConverged);
    settle(base, base.minimumSizeHint());
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(whole(base.StatusBar1->panelLabel(i))) << i;
    EXPECT_EQ(base.Vislabel->text(), "IN^2/SEC");
    EXPECT_TRUE(whole(base.Vislabel));

    // The fin-section window's instruction, full stop included.
    PanelAero& fin = h.forms->get<PanelAero>();
    placeWindow(fin, kScreen);
    fin.show();
    fin.StatusBar1->setPanel(1, "Panel method solution not found.");
    fin.StatusBar1->setPanel(2, "Please solve with new fin cross-section.");
    QApplication::processEvents();
    EXPECT_TRUE(whole(fin.StatusBar1->panelLabel(1)) && whole(fin.StatusBar1->panelLabel(2)));
    // Its legend, longer than the plot at the window's least size, inside the window.
    settle(fin, fin.minimumSizeHint());
    for (const char* name : {"Label6", "Label7"}) {
        const QLabel* l = fin.findChild<QLabel*>(name);
        EXPECT_TRUE(whole(l) && fin.rect().contains(inWindow(l))) << name;
    }

    // The sweep's axis labels of a fast sweep.
    ITERATION& sweep = h.forms->get<ITERATION>();
    placeWindow(sweep, kScreen);
    sweep.show();
    sweep.MAXAOA->setText("12345.67891");
    sweep.XMIDDLE->setText("6172.83946");
    sweep.MAXDATA->setText("123.45678");
    QApplication::processEvents();
    for (QLabel* l : {sweep.MAXAOA, sweep.XMIDDLE, sweep.MAXDATA}) {
        EXPECT_TRUE(whole(l)) << l->objectName().toStdString();
        EXPECT_TRUE(sweep.rect().contains(inWindow(l))) << l->objectName().toStdString();
    }

    // The conversion notice is wide enough for its title.
    ConvertData& notice = h.forms->get<ConvertData>();
    EXPECT_GE(notice.minimumWidth(), titleBarWidth(notice.windowTitle()));
}

// At scale 2 on 1920 x 1080 and 1920 x 1200, with and without a taskbar, a run brings its results into view whole (the
// main window's down to the last box where the view cannot hold them all), and the plot and force windows fit the
// width.
TEST(Scaling, AtScaleTwoARunBringsItsWholeResultsIntoViewAndThePlotWindowFitsTheWidth)
{
    for (const int height : {540, 600, 540 - 24, 600 - 24}) {
        const QRect screen(0, 0, 960, height);
        SCOPED_TRACE(height);
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        showOn(s, screen);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        const int span = inWindow(s.FinSurfaceDrag).bottom() - inWindow(s.MachNumber).top() + 1;
        EXPECT_TRUE(wholeInView(s.MachNumber) || span > s.findChild<QScrollArea*>()->viewport()->height());
        NavierStokes& base = h.forms->get<NavierStokes>();
        showOn(base, screen);  // placed before BASE FLOW shows it
        Harness::press(s.Toolbar1, "BASE FLOW");
        QApplication::processEvents();
        QTest::mouseClick(base.Solve, Qt::LeftButton);
        PlotResults& plot = h.forms->get<PlotResults>();
        showOn(plot, screen);
        ASSERT_FALSE(base.BaseCd->text().isEmpty()) << base.StatusBar1->panel(3).toStdString();
        for (QWidget* w : std::initializer_list<QWidget*>{s.FinSurfaceDrag, base.FlowResults, base.BaseCd,
                                                          base.RESIDUAL, plot.Label3, plot.Label4, plot.UnitsLabel1,
                                                          plot.Command1})
            EXPECT_TRUE(wholeInView(w)) << w->objectName().toStdString();
        // The force window's results and plot fit the width: no scroll bar across it.
        PressureCenter& cp = h.forms->get<PressureCenter>();
        showOn(cp, screen);
        auto* across = cp.findChild<QScrollArea*>();
        EXPECT_FALSE(across && across->horizontalScrollBar()->isVisible()) << cp.width();
    }
}

// While a sweep runs, the main window's status bar shows what the steps write into it. Each bar fits its height at
// most once per turn of the event loop, not at every text a step writes, and never while its window is hidden; the
// texts never make the bar jump to another height and back, which would redraw the mesh at every step.
TEST(Scaling, TheMainStatusBarStaysLiveDuringASweep)
{
    for (const bool mainShown : {true, false}) {
        SCOPED_TRACE(mainShown);
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        ITERATION& w = testing::openSweep(h, s, "1", "1", "12");
        if (mainShown) showOn(s, kScreen, {1000, 700});
        int steps = 0;
        s.solveStepHook = [&](SolveStep) {
            ++steps;
            EXPECT_TRUE(s.StatusBar1->updatesEnabled());
            EXPECT_FALSE(s.MeshPlot->updatesEnabled());
        };
        struct Resizes : QObject {
            int n = 0;
            bool eventFilter(QObject*, QEvent* e) override { return n += e->type() == QEvent::Resize, false; }
        } resizes;
        for (QWidget* watched : std::initializer_list<QWidget*>{s.StatusBar1, s.MeshPlot, w.StatusBar1})
            watched->installEventFilter(&resizes);
        const std::pair<StatusBar*, int> bars[] = {{s.StatusBar1, s.StatusBar1->heightFits()},
                                                   {w.StatusBar1, w.StatusBar1->heightFits()}};
        int turns = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] { ++turns; });
        tick.start(0);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        tick.stop();
        QApplication::processEvents();
        s.solveStepHook = nullptr;
        EXPECT_EQ(w.lastSweep.stepsStored, 12);
        EXPECT_GT(steps, 0);
        EXPECT_TRUE(s.MeshPlot->updatesEnabled());
        for (const auto& [bar, before] : bars) EXPECT_LE(bar->heightFits() - before, turns + 1) << turns;
        if (!mainShown) {
            EXPECT_EQ(s.StatusBar1->heightFits(), 0);
        }
        EXPECT_EQ(resizes.n, 0);
    }
}

} // namespace
} // namespace velmora
