#include <QRegularExpression>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "app/ui/SOLVER.h"
#include "bodyflow/Drag.h"
#include "bodyflow/ui/WindowWriter.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/ui/Printing.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

SOLVER& typeRocket(Harness& h)
{
    SOLVER& s = h.start();
    Harness::pick(h.forms->get<BODYTUBE>().NoseShape, "TANGENT OGIVE");
    h.typeBody("3", "1", "12");
    Harness::type(s.Velocity, "300");
    return s;
}

TEST(SolveBarrier, AnExceptionInsideSolveEndsTheRunNotTheProgram)
{
    for (SolveStep where : {SolveStep::BodyFlow, SolveStep::CenterOfPressure}) {
        SCOPED_TRACE(solveStepName(where));
        Harness h;
        SOLVER& s = typeRocket(h);
        s.CFDSOLVER_Click();
        ASSERT_EQ(h.state->FlowSolutionStatus, "");
        s.solveStepHook = [where](SolveStep step) {
            if (step == where) throw std::out_of_range("index 801 outside 0..800");
        };
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(h.messages().size(), 1u);
        EXPECT_EQ(h.messages()[0].prompt,
                  commandFailureText("SOLVE", "index 801 outside 0..800"));
        EXPECT_EQ(h.state->FlowSolutionStatusText, "SOLVE NEW FLOW");
        EXPECT_FALSE(h.forms->busy().active());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        // The program goes on: the next SOLVE runs to its end.
        s.solveStepHook = nullptr;
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
    }
}

TEST(SolveBarrier, MachLabelAndNumberShowAfterSolve)
{
    Harness h;
    SOLVER& s = typeRocket(h);
    s.resize(1000, 700);
    s.show();
    s.MachLabel->hide();
    s.CFDSOLVER_Click();
    EXPECT_TRUE(s.MachLabel->isVisible());
    EXPECT_EQ(s.MachLabel->text(), "Mach Number (Mn):");
    EXPECT_EQ(s.MachNumber->text(), ".269");  // 300 / 1116.4 in "#####.###"
}

// Every "<window>.<control>" a computation of the core can name, read from
// the sources, must be a control of that window.
TEST(WindowWrites, EveryTargetTheCoreNamesExists)
{
    Harness h;
    h.start();
    const QRegularExpression target(
        "\"(SOLVER|PlotResults|PanelAero|PressureCenter|BODYTUBE|FluidVariables|NavierStokes)\\.([A-Za-z0-9_]+)\"");
    std::set<std::string> seen;
    namespace fs = std::filesystem;
    for (const char* folder : {"model", "app", "geometry", "bodyflow", "finpanel", "stability", "baseflow",
                               "projectfile", "platform"}) {
        const fs::path dir = fs::path(VELMORA_SOURCE_DIR) / folder;
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {  // the core only, not <folder>/ui
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            auto it = target.globalMatch(QString::fromStdString(text.str()));
            while (it.hasNext()) {
                const auto match = it.next();
                const QString name = match.captured(1) + "." + match.captured(2);
                seen.insert(name.toStdString());
                Form* form = windowByName(*h.forms, match.captured(1));
                ASSERT_NE(form, nullptr) << name.toStdString();
                EXPECT_NE(form->findChild<QWidget*>(match.captured(2)), nullptr)
                    << name.toStdString() << " in " << entry.path().string();
            }
        }
    }
    EXPECT_GT(seen.size(), 25u);  // the scan found the drag, body-flow and chain targets
}

// What the core writes in typical runs goes to a control of the right kind,
// and an unknown target is a fault the test build reports.
TEST(WindowWrites, WritesOfARunResolveAndAnUnknownTargetIsAFault)
{
    Harness h;
    SOLVER& s = typeRocket(h);
    s.CFDSOLVER_Click();
    ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
    NullProgress np;
    std::vector<WindowWrite> writes = s.lastSolve.writes;
    for (const auto& w : CdFnMn(*h.state, 300, np).writes) writes.push_back(w);
    for (const auto& w : writes) EXPECT_NE(resolveWindowWrite(*h.forms, w), nullptr) << w.control;

    EXPECT_THROW(applyWindowWrites(*h.forms, {showNumber("SOLVER.NoSuchBox", 1, "#")}), std::logic_error);
    EXPECT_THROW(applyWindowWrites(*h.forms, {showNumber("SOLVER.MeshPlot", 1, "#")}), std::logic_error);
    EXPECT_THROW(applyWindowWrites(*h.forms, {setPanel("SOLVER.StatusBar1", 3, "x")}), std::logic_error);
}

} // namespace
} // namespace velmora
