// A box keeps every key while it is typed; the value and the message change at once, a moved value shows when editing
// ends, a command reads the box as it then shows, and no message box opens from a keystroke.
#include "bodyflow/Grid.h"
#include "bodyflow/ui/PlotResults.h"
#include "platform/ui/WindowWriter.h"
#include "tests/ui/Harness.h"

#include <QAccessible>

namespace velmora {
namespace {

using testing::Harness;
template <class W, auto B>
TextBox* box(Harness& h) { return h.forms->get<W>().*B; }
QString panel2(TextBox* b) { return b->window()->findChild<StatusBar*>()->panel(2); }

TEST(TypedText, NoBoxIsRewrittenWhileTypedAndItsValueChangesAtOnce)
{
    using M = Module1;
    constexpr auto loops = box<ITERATION, &ITERATION::MAXLOOPS>, levels = box<PlotResults, &PlotResults::NLEVELS>;
    const struct { TextBox* (*box)(Harness&); double M::*value; const char *typed, *shownAfter; double taken;
                   const char* panel2 = ""; } cases[] = {
        {box<SOLVER, &SOLVER::ROCKETAOA>, &M::AngleOfAttack, "0.25", ".5", 0.5,
         "Angle of attack (AOA) reset to +0.5 degrees."},
        {loops, &M::SweepStepCount, "-3", "1", 1, "Minimum number of loops is 1."},
        {loops, &M::SweepStepCount, "400", "360", 360, "Maximum number loops cannot exceed 360."},
        {loops, &M::SweepStepCount, "abc", "abc", 0},  // LOOP refuses it
        {levels, &M::ContourLevelCount, "0.25", "0.25", 0.25}, {levels, &M::ContourLevelCount, "-3", "-3", -3},
        {levels, &M::ContourLevelCount, "12.5", "13", 13}, {levels, &M::ContourLevelCount, "1e3", "1000", 1000},
        {box<BODYTUBE, &BODYTUBE::BodyLength2>, &M::BaseTubeLength, "5", "5", 5, kMsgBaseTubeWithoutTransition}};
    for (const auto& c : cases) {
        Harness h;
        h.typeRocket();
        TextBox* b = c.box(h);
        Harness::type(b, c.typed);
        const auto typing = std::tuple(b->displayText(), (*h.state).*c.value, panel2(b));
        QTest::keyClick(b, Qt::Key_Return);
        EXPECT_EQ(std::tuple(typing, b->displayText(), h.messages().size()),
                  std::tuple(std::tuple(c.typed, c.taken, c.panel2), c.shownAfter, 0u)) << c.typed;
    }
}

// Without a transition diameter, a base tube length that gives no length keeps what is typed when editing ends (Tab);
// SOLVE refuses a text that is no number by name, and solves with a length of 0.
TEST(TypedText, ABaseTubeLengthWithoutATransitionStaysAsTyped)
{
    for (const char* typed : {"abc", "0", "x5"}) {
        Harness h;
        SOLVER& s = h.typeRocket();
        TextBox* length = h.forms->get<BODYTUBE>().BodyLength2;
        Harness::type(length, typed);
        QTest::keyClick(length, Qt::Key_Tab);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        const std::string refusal = typed == std::string_view("0") ? "" : "Base tube length \"" + std::string(typed) + "\" is not a number";
        EXPECT_EQ(std::tuple(length->displayText().toStdString(), s.StatusBar1->panel(2).left(refusal.size()).toStdString(),
                             s.lastSolve.outcome),
                  std::tuple(typed, refusal, refusal.empty() ? Outcome::Done : Outcome::Refused));
    }
}

// LOOP ends the edit and runs what the box then shows, or refuses it by name.
TEST(TypedText, LoopRunsWhatTheBoxShows)
{
    const struct { TextBox* ITERATION::*box; const char *typed, *shownAfter, *panel2; int steps; } cases[] = {
        {&ITERATION::MAXLOOPS, "-3", "1", "", 1},
        {&ITERATION::MAXLOOPS, "2a", "2a", "Number of loops \"2a\" must be a whole number from 1 to 360.", 0},
        {&ITERATION::MAXLOOPS, "1.5", "1.5", "Number of loops \"1.5\" must be a whole number from 1 to 360.", 0},
        {&ITERATION::AOAINITIAL, "-5", ".5", "AOA must be equal to or greater than 0.5 degrees.", 0}};
    for (const auto& c : cases) {
        Harness h;
        ITERATION& w = testing::openSweep(h, h.typeRocket(), "1", "1", "2");
        Harness::type(w.*c.box, c.typed);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        EXPECT_EQ(std::tuple((w.*c.box)->displayText(), w.StatusBar1->panel(2), w.lastSweep.stepCount),
                  std::tuple(c.shownAfter, c.panel2, c.steps)) << c.typed;
    }
}

// Every key reaches the velocity box; the Mach box asks once when the value is finished (Enter, or keys in another
// box), also for one an assistive tool put in, and not again for a value written while it is open.
TEST(TypedText, TheMachBoxAsksOnceWhenTheTypedValueIsFinished)
{
    const struct { const char *unit, *typed; double velocity; bool assistive, enter; } cases[] = {
        {"FT/SEC", "30000", 30000, false, true}, {"MACH", "12.5", 12.5 * 1116.4, false, false},
        {"MACH", "300", 300 * 1116.4, false, true}, {"FT/SEC", "1e300", 1e300, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Harness h;
        SOLVER& s = h.typeRocket("");
        // A computation's result is a write from code, never an edit of its box.
        applyWindowWrites(*h.forms, {showNumber(ControlId::SOLVER_MachNumber, 0.27, "#.##")});
        EXPECT_EQ(std::tuple(s.MachNumber->displayText(), s.MachNumber->typing()), std::tuple(".27", false));
        Harness::pick(s.CFDUNITS, "ft-lb-sec");
        Harness::pick(s.Speed, c.unit);
        if (!c.assistive) Harness::type(s.Velocity, c.typed);
        else QAccessible::queryAccessibleInterface(s.Velocity)->editableTextInterface()->insertText(0, c.typed);
        EXPECT_EQ(std::tuple(s.Velocity->displayText(), h.messages().size()), std::tuple(QString(c.typed), 0u));
        EXPECT_NEAR(h.state->FreeStreamVelocity, c.velocity, c.velocity * 1e-12);
        ModalSeam::instance().setMessageHandler([&s](auto&) { return s.Velocity->setText("40000"), MsgAnswer::Ok; });
        if (c.enter) QTest::keyClick(s.Velocity, Qt::Key_Return);
        else Harness::type(s.ROCKETAOA, "4");
        EXPECT_EQ(testing::said(h.messages()), QStringList({"PLEASE ENTER NEW MACH NUMBER | MACH NUMBER TO LARGE"}));
    }
}

// A value finished by a click asks about its Mach number when the click is done, never with the button still down
// (a box open then takes the release, and the click is lost): the key clicked runs its command after the box (SOLVE
// refuses the velocity), and the menu clicked opens, the box coming when the menu closes.
TEST(TypedText, TheMachBoxLetsTheClickThatFinishedTheValueAct)
{
    for (const bool menu : {false, true}) {
        SCOPED_TRACE(menu);
        Harness h;
        SOLVER& s = h.typeRocket();
        s.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
        Harness::type(s.Velocity, menu ? "30000" : "25000");
        std::vector<std::pair<Qt::MouseButtons, QString>> boxes;  // the buttons down and panel 2 as each box opened
        ModalSeam::instance().setMessageHandler([&](auto&) {
            boxes.emplace_back(QGuiApplication::mouseButtons(), s.StatusBar1->panel(2));
            return MsgAnswer::Ok;
        });
        QAction* file = s.menuBar->actions().front();
        QWidget* target = menu ? static_cast<QWidget*>(s.menuBar) : s.CFDSOLVER;
        const QPoint at = menu ? s.menuBar->actionGeometry(file).center() : s.CFDSOLVER->rect().center();
        QTest::mouseClick(s.windowHandle(), Qt::LeftButton, {}, target->mapTo(&s, at));
        QApplication::processEvents();
        if (menu) {
            const std::pair<QWidget*, size_t> open(file->menu(), 0);
            EXPECT_EQ(std::pair(QApplication::activePopupWidget(), boxes.size()), open);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QApplication::processEvents();
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], std::pair(Qt::MouseButtons(), QString()));
        EXPECT_EQ(s.StatusBar1->panel(2).contains(" is above 2, "), !menu) << s.StatusBar1->panel(2).toStdString();
    }
}

} // namespace
} // namespace velmora
