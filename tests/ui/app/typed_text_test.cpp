// What the user types stays in the box while it is typed: the value a computation takes and the status message change
// at once, a move of the value shows when editing ends, a command reads the box as it then shows, and no message box
// opens from a keystroke.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>

#include "bodyflow/Grid.h"
#include "bodyflow/ui/PlotResults.h"
#include "model/SweepSteps.h"
#include "platform/ui/WindowWriter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

const QString kTooFast = "PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE";

// Each box typed over with keys: while the box keeps the focus it shows every key typed, and the state (value,
// message, twin box) is already what it stays; Enter shows the moved text.
TEST(TypedText, NoBoxIsRewrittenWhileTypedAndItsValueChangesAtOnce)
{
    using Box = TextBox* (*)(Harness&);
    using State = QString (*)(Harness&);
    const Box aoa = [](Harness& h) { return h.forms->get<SOLVER>().ROCKETAOA; };
    const State aoaState = [](Harness& h) {
        return QString::number(h.state->AngleOfAttack) + " | " + h.forms->get<SOLVER>().StatusBar1->panel(2);
    };
    const Box loops = [](Harness& h) { return h.forms->get<ITERATION>().MAXLOOPS; };
    const State loopState = [](Harness& h) {
        return QString::number(h.state->SweepStepCount) + " | " + h.forms->get<ITERATION>().StatusBar1->panel(2);
    };
    const Box levels = [](Harness& h) { return h.forms->get<PlotResults>().NLEVELS; };
    const State levelState = [](Harness& h) {
        return QString::number(h.state->ContourLevelCount) + " | " +
               h.forms->get<PlotResults>().NLEVELS2->displayText();
    };
    const Box baseTube = [](Harness& h) { return h.forms->get<BODYTUBE>().BodyLength2; };
    const State baseTubeState = [](Harness& h) {
        return QString::number(h.state->BaseTubeLength) + " | " + h.forms->get<BODYTUBE>().StatusBar1->panel(2);
    };
    const struct {
        Box box;
        const char* typed;
        State state;
        QString stateAfter;  // while typing and after
        const char* shownAfter;
    } cases[] = {
        {aoa, "0.25", aoaState, "0.5 | Angle of attack (AOA) reset to +0.5 degrees.", ".5"},
        {aoa, "-0.35", aoaState, "-0.5 | Angle of attack (AOA) reset to -0.5 degrees.", "-.5"},
        {loops, "-3", loopState, "1 | Minimum number of loops is 1.", "1"},
        {loops, "400", loopState, "360 | Maximum number loops cannot exceed 360.", "360"},
        {loops, "abc", loopState, "0 | ", "abc"},  // refused by LOOP
        {levels, "0.25", levelState, "0.25 | ", "0.25"},
        {levels, "-3", levelState, "-3 | -3", "-3"},
        {levels, "abc", levelState, "0 | ", "abc"},
        {levels, "12.5", levelState, "13 | 13", "13"},
        {levels, "1e3", levelState, "1000 | 1000", "1000"},
        {baseTube, "5", baseTubeState, QString("5 | ") + kMsgBaseTubeWithoutTransition, "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Harness h;
        h.typeRocket();
        TextBox* box = c.box(h);
        Harness::type(box, c.typed);
        EXPECT_EQ(std::tuple(box->displayText(), c.state(h)), std::tuple(QString(c.typed), c.stateAfter));
        EXPECT_TRUE(h.messages().empty());
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(std::tuple(box->displayText(), c.state(h)), std::tuple(QString(c.shownAfter), c.stateAfter));
        // Typed again, the box is the user's again.
        Harness::type(box, c.typed);
        EXPECT_EQ(box->displayText(), c.typed);
    }
}

// LOOP ends the edit and runs what the box then shows; a count that is no whole number from 1 to 360 is refused by
// name; an initial angle below 0.5 moves to .5 with its message and no sweep.
TEST(TypedText, LoopRunsWhatTheBoxShows)
{
    const struct {
        TextBox* ITERATION::*box;
        const char* typed;
        const char* shownAfter;
        const char* panel2;
        int steps;
    } cases[] = {
        {&ITERATION::MAXLOOPS, "-3", "1", "", 1},
        {&ITERATION::MAXLOOPS, "abc", "abc", "Number of loops \"abc\" must be a whole number from 1 to 360.", 0},
        {&ITERATION::MAXLOOPS, "2a", "2a", "Number of loops \"2a\" must be a whole number from 1 to 360.", 0},
        {&ITERATION::MAXLOOPS, "1.5", "1.5", "Number of loops \"1.5\" must be a whole number from 1 to 360.", 0},
        {&ITERATION::AOAINITIAL, "0", ".5", "AOA must be equal to or greater than 0.5 degrees.", 0},
        {&ITERATION::AOAINITIAL, "-5", ".5", "AOA must be equal to or greater than 0.5 degrees.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Harness h;
        SOLVER& s = h.typeRocket();
        ITERATION& w = testing::openSweep(h, s, "1", "1", "2");
        Harness::type(w.*c.box, c.typed);
        EXPECT_EQ((w.*c.box)->displayText(), c.typed);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        EXPECT_EQ(std::tuple((w.*c.box)->displayText(), w.StatusBar1->panel(2), w.lastSweep.stepCount),
                  std::tuple(QString(c.shownAfter), QString(c.panel2), c.steps));
    }
}

// The Mach box never opens from a keystroke: every key reaches the box and the value follows it; the box asks once
// when the user has finished a value above Mach 2 (Enter, or keys typed into another box), also one put in by an
// assistive tool, and a change while it is open asks no second time.
TEST(TypedText, TheMachBoxAsksOnceWhenTheTypedValueIsFinished)
{
    const struct {
        const char* unit;
        const char* typed;
        double velocity;  // FreeStreamVelocity at sea level
        bool assistive;   // put in by an assistive tool rather than typed
        bool enter;       // finished with Enter, else by typing into the angle box
    } cases[] = {
        {"FT/SEC", "30000", 30000, false, true},
        {"MACH", "12.5", 12.5 * 1116.4, false, false},
        {"MACH", "300", 300 * 1116.4, false, true},
        {"FT/SEC", "1e300", 1e300, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Harness h;
        SOLVER& s = h.typeRocket("0");
        // A computation's result is a write from code, never an edit of its box.
        applyWindowWrites(*h.forms, {showNumber(ControlId::SOLVER_MachNumber, 0.27, "#.##")});
        EXPECT_EQ(std::tuple(s.MachNumber->displayText(), s.MachNumber->typing()), std::tuple(".27", false));
        Harness::pick(s.CFDUNITS, "ft-lb-sec");
        Harness::pick(s.Speed, c.unit);
        if (c.assistive) {
            s.Velocity->clear();
            QAccessible::queryAccessibleInterface(s.Velocity)->editableTextInterface()->insertText(0, c.typed);
        } else {
            Harness::type(s.Velocity, c.typed);
        }
        EXPECT_EQ(std::tuple(s.Velocity->displayText(), h.messages().size()), std::tuple(QString(c.typed), 0u));
        EXPECT_NEAR(h.state->FreeStreamVelocity, c.velocity, c.velocity * 1e-12);
        // While the box is open, a value written whole (as a sweep step writes it) asks no second time.
        ModalSeam::instance().setMessageHandler([&s](const MessageRequest&) {
            s.Velocity->setText("40000");
            return MsgAnswer::Ok;
        });
        if (c.enter) QTest::keyClick(s.Velocity, Qt::Key_Return);
        else Harness::type(s.ROCKETAOA, "4");
        EXPECT_EQ(testing::said(h.messages()), QStringList({kTooFast}));
    }
}

} // namespace
} // namespace velmora
