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

} // namespace
} // namespace velmora
