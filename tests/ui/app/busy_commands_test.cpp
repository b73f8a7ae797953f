#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ui/SOLVER.h"
#include "geometry/ui/BODYTUBE.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

const std::string kBusy = "Please wait: SOLVE is in progress.";

// What the main window showed right after a pick made while SOLVE let events run.
struct PickDuringSolve {
    bool ran = false;
    std::string panel2;
    std::string listText;
};

// Picks `item` from `list` from inside SOLVE's event pump.
PickDuringSolve pickDuringSolve(SOLVER& s, ComboBox* list, const QString& item)
{
    PickDuringSolve seen;
    QTimer::singleShot(0, &s, [&] {
        seen.ran = true;
        Harness::pick(list, item);
        seen.panel2 = s.StatusBar1->panel(2).toStdString();
        seen.listText = list->Text().toStdString();
    });
    s.CFDSOLVER_Click();
    return seen;
}

TEST(BusyCommands, MeshSizeAndMeridianPicksDuringSolveAreRefused)
{
    for (bool mesh : {true, false}) {
        Harness h;
        SOLVER& s = h.typeRocket();
        ComboBox* list = mesh ? s.DomainSize : s.MERIDIANS;
        Harness::pick(list, mesh ? "30" : "12");
        const PickDuringSolve seen = pickDuringSolve(s, list, mesh ? "40" : "10");
        ASSERT_TRUE(seen.ran);
        EXPECT_EQ(seen.panel2, kBusy);
        EXPECT_EQ(seen.listText, mesh ? "30" : "12"); // the value in force, not the default
        EXPECT_EQ(s.StatusBar1->panel(1).toStdString(), "CFD solution found. ");
    }
}

// Exit confirmed while SOLVE lets events run ends the process there and then:
// nothing returns into the computation, so nothing of it is published. The
// real process end is observed in a child process.
TEST(BusyCommandsDeathTest, ExitDuringSolveEndsTheProgramAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Harness h;
            SOLVER& s = h.typeRocket();
            h.answers = {MsgAnswer::Ok};
            QTimer::singleShot(0, &s, [&s] {
                std::fputs("exit chosen\n", stderr);
                s.mnuExit->trigger();
            });
            s.CFDSOLVER_Click();
            std::fprintf(stderr, "SOLVE went on: %s\n", qPrintable(s.StatusBar1->panel(1)));
        },
        ::testing::ExitedWithCode(0), "exit chosen\n$");
}

} // namespace
} // namespace velmora
