#include <QVBoxLayout>

#include <stdexcept>

#include "platform/ui/Build.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

// A window with the whole standard frame; its handlers record what ran.
class FramedForm : public Form, public MenuWindowFrame {
public:
    explicit FramedForm(Forms& f) : Form(f, "FramedForm", "Framed")
    {
        auto* lay = new QVBoxLayout(this);
        mnuAboutFramed = buildWindowMenus(this, lay, &FramedForm::mnuAboutFramed_Click, "mnuAboutFramed");
        buildToolbar(this, lay, "Framed toolbar", {{"HELP", "Help."}, {"RETURN", "Return.", "BACK"}}, nullptr);
        for (int i = 0; i < 3; ++i) Option[static_cast<size_t>(i)] = named(new QRadioButton(this), "Option");
        onOptionOn(Option, this, "Option", [this](int i) {
            if (i == 2) throw std::runtime_error("bad pick");
            calls << QStringLiteral("Option%1").arg(i);
        });
        buildStatusBar(this, *this, 3, lay);
    }
    void mnuPrintPage_Click() { calls << "print"; }
    void mnuClose_Click() { calls << "close"; }
    void mnuInstructions_Click() { calls << "instructions"; }
    void mnuAboutFramed_Click() { calls << "about"; }
    void Toolbar1_ButtonClick(const QString& key) { calls << key; }

    QAction* mnuAboutFramed = nullptr;
    std::array<QRadioButton*, 3> Option{};
    QStringList calls;
};

// A window with no instructions handler: its menu bar holds the File menu only.
class FileOnlyForm : public Form, public MenuWindowFrame {
public:
    explicit FileOnlyForm(Forms& f) : Form(f, "FileOnlyForm", "File only")
    {
        buildWindowMenus(this, new QVBoxLayout(this));
    }
    void mnuPrintPage_Click() {}
    void mnuClose_Click() {}
};

// The scaffold gives each piece its program name and text, and each item,
// key and option runs the window's own handler behind the barrier.
TEST(WindowScaffold, EveryPieceRunsItsWindowsHandler)
{
    testing::Harness h;
    FramedForm& w = h.forms->get<FramedForm>();
    QStringList items;
    for (QAction* a : {w.mnuPrintPage, w.mnuClose, w.mnuInstructions, w.mnuAboutFramed})
        items << a->objectName() + " " + a->text();
    EXPECT_EQ(items, QStringList({"mnuPrintPage &Print Page", "mnuClose &Close", "mnuInstructions &Instructions",
                                  "mnuAboutFramed &About Velmora"}));
    EXPECT_EQ(QStringList({w.menuBar->objectName(), w.mnuFile->title(), w.mnuHelp->title(), w.Toolbar1->objectName(),
                           w.StatusBar1->objectName()}),
              QStringList({"menuBar", "&File", "&Help", "Toolbar1", "StatusBar1"}));
    EXPECT_EQ(w.StatusBar1->panelCount(), 3);

    for (QAction* a : {w.mnuPrintPage, w.mnuClose, w.mnuInstructions, w.mnuAboutFramed}) a->trigger();
    for (QAction* key : w.Toolbar1->actions()) key->trigger();
    w.Option[1]->setChecked(true);
    w.Option[0]->setChecked(true);  // switching Option1 off runs nothing for it
    w.Option[2]->setChecked(true);  // a failing handler is reported under the group's name
    EXPECT_EQ(w.calls, QStringList({"print", "close", "instructions", "about", "HELP", "RETURN", "Option1", "Option0"}));
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].prompt, commandFailureText("Option", "bad pick"));

    FileOnlyForm& plain = h.forms->get<FileOnlyForm>();
    EXPECT_EQ(plain.menuBar->actions().size(), 1);
    EXPECT_EQ(plain.mnuHelp, nullptr);
    EXPECT_EQ(plain.mnuInstructions, nullptr);
}

} // namespace
} // namespace velmora
