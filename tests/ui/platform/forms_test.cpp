#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/ui/Build.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

int loads = 0;

class CountingForm : public Form {
public:
    explicit CountingForm(Forms& f) : Form(f, "CountingForm", "Counting") { box = makeBox(this, "Box", "Box"); }
    void Form_Load() override { ++loads; box->setText("loaded"); }
    TextBox* box = nullptr;
};

TEST(Registry, LoadsOnceAndReloadsAfterUnload)
{
    testing::Harness h;
    loads = 0;
    Forms& f = *h.forms;
    EXPECT_FALSE(f.isLoaded<CountingForm>());
    f.get<CountingForm>().box->setText("typed");
    EXPECT_EQ(loads, 1);
    f.get<CountingForm>().show();
    f.get<CountingForm>().Hide();
    EXPECT_EQ(f.get<CountingForm>().box->text(), "typed"); // hide keeps contents
    EXPECT_EQ(loads, 1);
    f.unload<CountingForm>();
    EXPECT_FALSE(f.isLoaded<CountingForm>());
    EXPECT_EQ(f.get<CountingForm>().box->text(), "loaded"); // a fresh instance
    EXPECT_EQ(loads, 2);
    f.unload<CountingForm>();
    f.unload<CountingForm>(); // unloading what is not loaded does nothing
    EXPECT_EQ(loads, 2);
}

TEST(ModalSeam, ScriptedMessagesAndWindowsNeverBlock)
{
    testing::Harness h;
    h.answers = {MsgAnswer::Cancel};
    EXPECT_EQ(MsgBox("Are you sure?", MsgButtons::OkCancel, "Exit Velmora"), MsgAnswer::Cancel);
    EXPECT_EQ(MsgBox("Second"), MsgAnswer::Ok);
    ASSERT_EQ(h.messages().size(), 2u);
    EXPECT_EQ(h.messages()[0].title, "Exit Velmora");
    bool shown = false;
    h.onShow["CountingForm"] = [&](Form& f) { shown = true; f.Hide(); };
    h.forms->showModal<CountingForm>();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ModalSeam::instance().shownWindows.back(), "CountingForm");
}

TEST(Controls, TextBoxChangeFiresOnEveryNewTextOnly)
{
    TextBox box;
    int runs = 0;
    box.onChange([&] { ++runs; });
    box.setText("12");
    EXPECT_EQ(runs, 1);
    box.setText("12"); // same text: nothing
    EXPECT_EQ(runs, 1);
    box.setText("");
    EXPECT_EQ(runs, 2);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(runs, 4);
}

TEST(Controls, ComboBoxKeepsTextAndRunsHandlerOnlyOnPick)
{
    ComboBox list;
    int runs = 0;
    list.onClick([&] { ++runs; });
    list.setText("20");
    for (const char* i : {"10", "15", "20", "25"}) list.AddItem(i);
    EXPECT_EQ(list.Text(), "20"); // filling after the text keeps it
    list.setText("not an item");
    EXPECT_EQ(list.Text(), "not an item");
    EXPECT_EQ(runs, 0);
    list.pick("15");
    EXPECT_EQ(list.Text(), "15");
    list.pick("15"); // re-picking the same item runs the handler again
    EXPECT_EQ(runs, 2);
}

TEST(Controls, StatusBarPanelsAndProgress)
{
    StatusBar bar(2);
    QProgressBar progress;
    WindowProgress p(&bar, &progress);
    p.status(1, "MESHING in progress.");
    p.status(3, "ignored: no such panel");
    p.progressRange(1, 50);
    p.progressValue(25);
    p.pumpEvents();
    EXPECT_EQ(bar.panel(1), "MESHING in progress.");
    EXPECT_EQ(bar.panel(3), "");
    EXPECT_EQ(progress.maximum(), 50);
    EXPECT_EQ(progress.value(), 25);
}

TEST(Controls, ProgressBarShowsAValueAtMostEvery30Ms)
{
    QProgressBar progress;
    WindowProgress p(nullptr, &progress);
    // Opaque: a new value repaints the bar, not the window behind it.
    EXPECT_TRUE(progress.autoFillBackground());
    p.progressRange(1, 500);
    p.progressValue(40);   // the first value shows
    p.progressValue(41);   // within 30 ms of it: kept back
    EXPECT_EQ(progress.value(), 40);
    p.progressValue(500);  // the end of the range always shows...
    EXPECT_EQ(progress.value(), 500);
    p.progressValue(1);    // ...and so does its start
    EXPECT_EQ(progress.value(), 1);
    QTest::qWait(40);
    p.progressValue(77);
    EXPECT_EQ(progress.value(), 77);
    // A window's long loops let events run every 20 ms.
    EXPECT_EQ(p.pumpInterval(), std::optional<Progress::Clock::duration>(Progress::kWindowPumpInterval));
}

} // namespace
} // namespace velmora
