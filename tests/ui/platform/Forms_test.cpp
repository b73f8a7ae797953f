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
    f.get<CountingForm>().box->setText("typed");
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

// Writes into a window that is not loaded wait for its first access and run after its load handler, in order; into a
// loaded window they run at once.
TEST(Registry, WritesWaitForTheFirstAccess)
{
    testing::Harness h;
    loads = 0;
    Forms& f = *h.forms;
    f.whenLoaded<CountingForm>([](CountingForm& w) { w.box->setText(w.box->text() + " first"); });
    f.whenLoaded<CountingForm>([](CountingForm& w) { w.box->setText(w.box->text() + " second"); });
    EXPECT_EQ(std::tuple(f.isLoaded<CountingForm>(), loads), std::tuple(false, 0));
    EXPECT_EQ(f.get<CountingForm>().box->text(), "loaded first second");
    f.whenLoaded<CountingForm>([](CountingForm& w) { w.box->setText("now"); });
    EXPECT_EQ(f.get<CountingForm>().box->text(), "now");
    f.unload<CountingForm>();
    EXPECT_EQ(std::tuple(f.get<CountingForm>().box->text(), loads), std::tuple(QString("loaded"), 2));
}

// Change handlers run on every new text, typed or set, and never for the same text; a list keeps a text that is not
// an item and runs its handler only when an item is picked, again on a second pick of the same item.
TEST(Controls, ChangeAndClickHandlers)
{
    TextBox box;
    ComboBox list;
    int changes = 0, clicks = 0;
    box.onChange([&] { ++changes; });
    list.onClick([&] { ++clicks; });
    for (const char* text : {"12", "12", ""}) box.setText(text);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(changes, 4);

    list.setText("20");
    for (const char* i : {"10", "15", "20", "25"}) list.AddItem(i);
    EXPECT_EQ(list.Text(), "20"); // filling after the text keeps it
    list.setText("not an item");
    EXPECT_EQ(list.Text(), "not an item");
    list.pick("15");
    list.pick("15");
    EXPECT_EQ(list.Text(), "15");
    EXPECT_EQ(clicks, 2);
}

TEST(Controls, StatusPanelsAndAProgressBarShownAtMostEvery30Ms)
{
    StatusBar bar(2);
    QProgressBar progress;
    WindowProgress p(&bar, &progress);
    p.status(1, "MESHING in progress.");
    p.status(3, "ignored: no such panel");
    EXPECT_EQ(bar.panel(1), "MESHING in progress.");
    EXPECT_EQ(bar.panel(3), "");
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
