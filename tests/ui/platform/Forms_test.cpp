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

} // namespace
} // namespace velmora
