#include "platform/ui/Controls.h"

#include <optional>

#include "platform/ui/Build.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

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
