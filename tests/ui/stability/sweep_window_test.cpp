#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

#include "model/Vocabulary.h"
#include "stability/ui/ITERATION.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

// The sweep window opened from the main window's LOOP button, shown.
ITERATION& openSweep(Harness& h, SOLVER& s)
{
    Harness::pick(s.DomainSize, "10");  // a small mesh keeps the steps short
    QTest::mouseClick(s.IterateBtn, Qt::LeftButton);
    ITERATION& w = h.forms->get<ITERATION>();
    w.show();
    return w;
}

// Types the sweep's inputs, as a user would, in this order.
void setUp(ITERATION& w, const QString& start, const QString& increment, const QString& loops)
{
    Harness::type(w.AOAINITIAL, start);
    Harness::type(w.AOAINC, increment);
    Harness::type(w.MAXLOOPS, loops);
}

void start(ITERATION& w) { QTest::mouseClick(w.Command1, Qt::LeftButton); }

int blueLines(const PictureBox* p)
{
    int n = 0;
    for (const auto& c : p->calls()) {
        if (c.kind == Kind::Clear) n = 0;
        n += c.kind == Kind::Line && c.colour == PictureBox::qbColor(1);
    }
    return n;
}

TEST(SweepWindow, StepsGoThroughTheMainWindowsAngleBox)
{
    struct Case {
        const char* start;
        const char* loops;
        QStringList written;  // into ROCKETAOA by Start and the steps
        double last;
    };
    const Case cases[] = {
        {"1", "3", {"1."}, 7},  // "1." is already there: Start writes it, the first step rewrites it
        {"2.5", "1", {"2.5"}, 2.5},
        {"1", "3.5", {"1."}, 7},  // to the whole part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loops);
        Harness h;
        SOLVER& s = h.typeRocket();
        ITERATION& w = openSweep(h, s);
        setUp(w, c.start, "3", c.loops);
        QStringList written;
        QObject::connect(s.ROCKETAOA, &QLineEdit::textChanged, [&](const QString& t) { written << t; });
        start(w);
        EXPECT_EQ(w.lastSweep.outcome, Outcome::Done);
        if (QString(c.loops) == "1") EXPECT_EQ(written, c.written);
        else EXPECT_EQ(written, (QStringList{"1.", "4.", "7."}));
        EXPECT_EQ(h.state->AngleOfAttack, c.last);
        EXPECT_EQ(testing::panels(w.StatusBar1), QString(kMsgLoopingComplete) + " | ");
        EXPECT_EQ(w.ProgressBar1->value(), 0);
        EXPECT_EQ(w.IterationLbl->text(), "");
        EXPECT_FALSE(h.forms->busy().active());
        EXPECT_TRUE(w.Command1->isEnabled());
    }
}

TEST(SweepWindow, ClearDataAfterTenStepsKeepsTheStepsAbove)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = openSweep(h, s);
    setUp(w, "1", "1", "10");
    start(w);
    ASSERT_EQ(w.lastSweep.stepsStored, 10);
    EXPECT_FALSE(testing::blank(w.DataPlot1));
    const double cd6 = h.state->SweepDragCoefficients(6);
    w.ClearData(5);
    EXPECT_EQ(h.state->SweepDragCoefficients(5), 0);
    EXPECT_EQ(h.state->SweepPlotX(5), 0);
    EXPECT_EQ(h.state->SweepDragCoefficients(6), cd6);
    EXPECT_GT(h.state->SweepPlotX(10), 0);
    for (QLabel* l : {w.MAXDATA, w.YMIDDLE, w.MINDATA, w.MINAOA, w.XMIDDLE, w.MAXAOA, w.BResult})
        EXPECT_EQ(l->text(), "") << l->objectName().toStdString();
    EXPECT_TRUE(testing::blank(w.DataPlot1));
}

// While the sweep runs: Start, the kind switch and the inputs do nothing, the
// keys but HELP and ABOUT wait, the title-bar close asks to abort; Abort
// confirmed at step 3 keeps steps 1-2 and leaves 3-10 as they were.
TEST(SweepWindow, DuringTheRunOnlyAbortActsAndAnAbortKeepsTheStepsBefore)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = openSweep(h, s);
    setUp(w, "1", "1", "10");
    Module1& m = *h.state;
    for (int i = 1; i <= 10; ++i) m.SweepCenterOfPressureRatios(i) = -1;
    int pauses = 0;
    s.solveStepHook = [&](SolveStep step) {
        if (step != SolveStep::EventPump) return;
        ++pauses;
        if (pauses == 2) {
            EXPECT_TRUE(w.sweepRunning());
            start(w);
            w.ITERATE[1]->click();
            Harness::type(w.MAXLOOPS, "2");
            EXPECT_EQ(m.AoaSweepSelected, 1);
            EXPECT_TRUE(w.VELINC->isHidden());
            EXPECT_EQ(w.MAXLOOPS->text(), "10");
            EXPECT_EQ(m.SweepCenterOfPressureRatios(1), m.SweepCenterOfPressureRatios(1));
            EXPECT_GT(m.SweepCenterOfPressureRatios(1), 0);  // not cleared
            for (QAction* a : w.Toolbar1->actions())
                EXPECT_EQ(a->isEnabled(), a->objectName() == "HELP" || a->objectName() == "ABOUT")
                    << a->objectName().toStdString();
            EXPECT_TRUE(w.Abort->isEnabled());
            h.answers = {MsgAnswer::Cancel};
            w.close();  // asks, is cancelled, stays
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(m.AbortRequest, AbortFlag::No);
            EXPECT_EQ(w.StatusBar1->panel(2), "");
        } else if (pauses == 3) {
            h.answers = {MsgAnswer::Ok};
            QTest::mouseClick(w.Abort, Qt::LeftButton);
        }
    };
    start(w);
    s.solveStepHook = nullptr;
    EXPECT_EQ(w.lastSweep.outcome, Outcome::Aborted);
    EXPECT_EQ(w.lastSweep.stepsStored, 2);
    EXPECT_GT(m.SweepCenterOfPressureRatios(2), 0);
    for (int i = 3; i <= 10; ++i) EXPECT_EQ(m.SweepCenterOfPressureRatios(i), -1) << i;
    EXPECT_EQ(w.StatusBar1->panel(1), QString(kMsgLoopingStopped).arg(3));
    EXPECT_EQ(w.ProgressBar1->value(), 0);
    EXPECT_EQ(w.IterationLbl->text(), "3");
    EXPECT_EQ(s.ROCKETAOA->text(), "3.");
    EXPECT_EQ(testing::said(h.messages()).count("CFD Analysis will be terminated. | Abort Solution"), 2);
    EXPECT_FALSE(h.forms->busy().active());
    EXPECT_TRUE(w.Command1->isEnabled() && w.ITERATE[1]->isEnabled() && w.MAXLOOPS->isEnabled());
    // No sweep running: the close hides the window.
    w.close();
    EXPECT_FALSE(w.isVisible());
}

TEST(SweepWindow, ARefusedStepStopsTheSweepAndItsMessageStands)
{
    // Compressible, sea level, from 700 by 100 FT/SEC: step 3 is Mach 0.806.
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    ITERATION& w = openSweep(h, s);
    w.ITERATE[1]->click();
    Harness::type(w.VINITIAL, "700");
    Harness::type(w.VELINC, "100");
    Harness::type(w.MAXLOOPS, "4");
    Module1& m = *h.state;
    for (int i = 1; i <= 4; ++i) m.SweepDragCoefficients(i) = -1;
    start(w);
    EXPECT_EQ(w.lastSweep.outcome, Outcome::Refused);
    EXPECT_GT(m.SweepDragCoefficients(2), 0);
    EXPECT_EQ(m.SweepDragCoefficients(3), -1);
    EXPECT_EQ(s.Velocity->text(), "900.");
    EXPECT_TRUE(testing::said(h.messages()).contains("PLEASE ENTER NEW INLET VELOCITY | MACH NUMBER GREATER THAN 0.80"));
    EXPECT_EQ(w.StatusBar1->panel(1), QString(kMsgLoopingStopped).arg(3));
    EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution not found.");
}

TEST(SweepWindow, InputLimitsAndStartChecks)
{
    struct Case {
        const char* name;
        std::function<void(ITERATION&)> act;
        const char* panel2;
        std::function<void(ITERATION&, Module1&)> check;
    };
    const Case cases[] = {
        {"400 loops", [](ITERATION& w) { Harness::type(w.MAXLOOPS, "400"); }, "Maximum number loops cannot exceed 360.",
         [](ITERATION& w, Module1& m) {
             EXPECT_EQ(w.MAXLOOPS->text(), "360");
             EXPECT_EQ(m.SweepStepCount, 360);
         }},
        {"no loops", [](ITERATION& w) { Harness::type(w.MAXLOOPS, ""); }, "Minimum number of loops is 1.",
         [](ITERATION& w, Module1& m) {
             EXPECT_EQ(w.MAXLOOPS->text(), "1");
             EXPECT_EQ(m.SweepStepCount, 1);
         }},
        {"start 0",
         [](ITERATION& w) {
             Harness::type(w.AOAINITIAL, "0");
             start(w);
         },
         "AOA must be equal to or greater than 0.5 degrees.",
         [](ITERATION& w, Module1& m) {
             EXPECT_EQ(w.AOAINITIAL->text(), ".5");
             EXPECT_EQ(m.SweepStartAoa, 0.5);
         }},
        {"negative increment in a velocity sweep",
         [](ITERATION& w) {
             w.ITERATE[1]->click();
             Harness::type(w.AOAINC, "-1");
             start(w);
         },
         "AOA Increment must be greater than 0 degrees.", {}},
        {"zero velocity",
         [](ITERATION& w) {
             w.ITERATE[1]->click();
             Harness::type(w.VINITIAL, "0");
             start(w);
         },
         "Velocity must be greater than 0.", {}},
        {"zero velocity increment",
         [](ITERATION& w) {
             w.ITERATE[1]->click();
             Harness::type(w.VELINC, "0");
             start(w);
         },
         "Velocity increment must be greater than 0.", {}},
        {"abort cancelled",
         [](ITERATION& w) {
             w.m().AbortRequest = AbortFlag::No;
             QTest::mouseClick(w.Abort, Qt::LeftButton);
         },
         "", [](ITERATION&, Module1& m) { EXPECT_EQ(m.AbortRequest, AbortFlag::No); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        SOLVER& s = h.typeRocket();
        ITERATION& w = openSweep(h, s);
        h.answers = {MsgAnswer::Cancel};
        const QString aoa = s.ROCKETAOA->text();
        c.act(w);
        EXPECT_EQ(w.StatusBar1->panel(2), c.panel2);
        EXPECT_EQ(w.lastSweep.stepCount, 0);  // no sweep ran
        EXPECT_EQ(s.ROCKETAOA->text(), aoa);
        if (c.check) c.check(w, *h.state);
    }

    // A zero angle-of-attack increment is fine in a velocity sweep.
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = openSweep(h, s);
    w.ITERATE[1]->click();
    Harness::type(w.AOAINC, "0");
    Harness::type(w.MAXLOOPS, "2");
    start(w);
    EXPECT_EQ(w.lastSweep.outcome, Outcome::Done);
    EXPECT_EQ(s.Velocity->text(), "400.");
    EXPECT_EQ(s.ROCKETAOA->text(), "1.");  // the start angle is written too
    EXPECT_EQ(w.PlotType->text(), "Velocity");
}

// A real sweep of a finned rocket, from 1 degree by 1 over 20 steps.
TEST(SweepWindow, TwentyStepsOfAFinnedRocketAndTheirPlot)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    ITERATION& w = openSweep(h, s);
    Module1& m = *h.state;
    setUp(w, "1", "1", "20");
    w.DataPlot1->setRecording(true);
    start(w);
    ASSERT_EQ(w.lastSweep.outcome, Outcome::Done);
    for (int i = 1; i <= 20; ++i) {
        SCOPED_TRACE(i);
        if (i > 1) {
            EXPECT_GT(m.SweepNormalForceCoefficients(i), m.SweepNormalForceCoefficients(i - 1));
        }
        EXPECT_TRUE(std::isfinite(m.SweepDragCoefficients(i)) && m.SweepDragCoefficients(i) > 0);
        EXPECT_TRUE(std::isfinite(m.SweepMomentCoefficients(i)));
        EXPECT_TRUE(std::isfinite(m.SweepCenterOfPressureRatios(i)));
    }
    EXPECT_EQ(blueLines(w.DataPlot1), 19);
    EXPECT_EQ(w.MAXAOA->text(), "20.");
    EXPECT_EQ(w.PlotType->text(), "Angle of Attack (AOA)");
    // Each step was shown as SOLVE shows its run: the main window's boxes hold the last.
    EXPECT_EQ(qVal(s.CNFORCES->text()), qVal(qFormat(m.SweepNormalForceCoefficients(20), "#####.###")));

    // The quantity and the y scale.
    w.PlotOption[1]->click();
    EXPECT_EQ(m.SweepPlotQuantity, 2);
    EXPECT_EQ(blueLines(w.DataPlot1), 19);
    const double end = m.SweepPlotYMax;
    Harness::press(w.Toolbar1, "SCALEDATA");
    Harness::press(w.Toolbar1, "SCALEDATA");
    EXPECT_DOUBLE_EQ(m.SweepPlotYMax, 3 * end);
    EXPECT_EQ(qVal(w.MAXDATA->text()), qVal(qFormat(3 * end, "###.#####")));
    Harness::press(w.Toolbar1, "RESETSCALE");
    EXPECT_DOUBLE_EQ(m.SweepPlotYMax, end);
    // A kind switch empties the stored steps: no data.
    w.ITERATE[1]->click();
    EXPECT_EQ(m.SweepNormalForceCoefficients(20), 0);
    EXPECT_EQ(w.StatusBar1->panel(1), "No data to plot. Please perform CFD analysis.");
    EXPECT_EQ(blueLines(w.DataPlot1), 0);
}

TEST(SweepWindow, ThreeHundredSixtyStepsWriteEntriesOneToThreeHundredSixty)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = openSweep(h, s);
    Module1& m = *h.state;
    setUp(w, "1", "0.05", "360");
    m.SweepDragCoefficients(0) = -7;
    start(w);
    ASSERT_EQ(w.lastSweep.outcome, Outcome::Done);
    EXPECT_EQ(w.lastSweep.stepsStored, 360);
    EXPECT_EQ(m.SweepDragCoefficients(0), -7);
    EXPECT_GT(m.SweepDragCoefficients(360), 0);
    EXPECT_EQ(s.ROCKETAOA->text(), "18.95");
}

TEST(SweepWindow, ToolbarKeysAndTips)
{
    Harness h;
    h.start();
    ITERATION& w = h.forms->get<ITERATION>();
    QStringList keys;
    for (QAction* a : w.Toolbar1->actions())
        if (!a->objectName().isEmpty()) keys << a->objectName() + " " + a->toolTip();
    EXPECT_EQ(keys, (QStringList{"HELP Velmora help.", "ABOUT About Velmora.", "PRNDATA Send formatted data to printer.",
                                 "PRINT Print screen image.", "RAWDATA Save comma-delimited data file to disk. ",
                                 "SCALEDATA Increase Y-Axis maximum scale.",
                                 "RESETSCALE Reset Y-Axis maximum scale to default.",
                                 "BARROWMANS Plot Barrowman results for Standard Geometry.",
                                 "RETURN Return to MESHING and CFD analysis."}));
    // Each key its own icon.
    QList<QImage> icons;
    for (QAction* a : w.Toolbar1->actions())
        if (!a->objectName().isEmpty()) icons << a->icon().pixmap(QSize(32, 32)).toImage();
    for (int i = 0; i < icons.size(); ++i)
        for (int j = i + 1; j < icons.size(); ++j) EXPECT_NE(icons[i], icons[j]) << i << " / " << j;
    w.show();
    Harness::press(w.Toolbar1, "RETURN");
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace velmora
