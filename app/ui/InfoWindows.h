#pragma once
// Windows that show fixed texts or current values and compute nothing.
//
// The welcome, about, instruction, base-flow instruction and references
// windows are unloaded by their close commands (also by the title-bar close
// button); the fluid-constants window is only hidden, so the values written
// into it while it is closed are there when it is opened again.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <array>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

class QCloseEvent;

namespace velmora {

// The welcome and about windows: the product's pictures and labels over a
// Continue button (the default button; the title-bar close runs it too).
class ProductWindow : public Form {
    Q_OBJECT
public:
    ProductWindow(Forms& forms, const QString& name, const QString& caption);
    virtual void Continue_Click() = 0;

    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Continue = nullptr;
};

// Start-up greeting: Continue goes on into the program, Quit ends it.
class Welcome : public ProductWindow {
    Q_OBJECT
public:
    explicit Welcome(Forms& forms);
    void Continue_Click() override;
    void QuitBtn_Click();

    QPushButton* QuitBtn = nullptr;
};

// The product, its version and its maker.
class AboutVelmora : public ProductWindow {
    Q_OBJECT
public:
    explicit AboutVelmora(Forms& forms);
    void Continue_Click() override;
};

// A guide of tabbed pages: "&File" with "&Print Page" and "&Close", then the
// bar's own items and "Return". Close, Return and the title-bar close unload it.
class GuideWindow : public Form {
    Q_OBJECT
public:
    GuideWindow(Forms& forms, const QString& name, const QString& caption);
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuReturn_Click();

    QTabWidget* SSTab1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuPrintPage = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuReturn = nullptr;

protected:
    // A bar item after the File menu, with its program name.
    QAction* addBarItem(const QString& caption, const QString& name);
    // Ends the bar with "Return" and shows the tabs under it at this size.
    void addPages(QTabWidget* tabs, QSize size);
};

// The user's guide, one topic per tab.
class VelmoraHelp : public GuideWindow {
    Q_OBJECT
public:
    explicit VelmoraHelp(Forms& forms);
    void mnuBaseFlow_Click();

    QTableWidget* UnitTable = nullptr; // on the BASICS tab
    QAction* mnuBaseFlow = nullptr;
};

// The guide to the base-flow analysis and the rocket-motor option.
class BaseFlowHelp : public GuideWindow {
    Q_OBJECT
public:
    explicit BaseFlowHelp(Forms& forms);
};

// The bibliography.
class References : public Form {
    Q_OBJECT
public:
    explicit References(Forms& forms);
    void Close_Click();
    void mnuClose_Click();
    void mnuPrint_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 18> Entries{}; // the bibliography labels in Frame1
    QLabel* Picture1 = nullptr;
    QGroupBox* Frame2 = nullptr;       // the panel of labels about related work
    QPushButton* Close = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuClose = nullptr;
};

// The air and flight velocity in the current units.
class FluidVariables : public Form {
    Q_OBJECT
public:
    explicit FluidVariables(Forms& forms);
    void Close_Click();
    void mnuClose_Click();

    TextBox* UINPUT = nullptr;
    TextBox* ULABEL = nullptr;
    TextBox* Pressure = nullptr;
    TextBox* Label2 = nullptr;
    TextBox* Density = nullptr;
    TextBox* Label3 = nullptr;
    TextBox* Sound = nullptr;
    TextBox* Label4 = nullptr;
    TextBox* FluidViscosity = nullptr;
    TextBox* Label5 = nullptr;
    QPushButton* Close = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuClose = nullptr;
};

// The HELP and ABOUT keys of a window's toolbar: the Velmora help or the
// about window, shown with a failure passed over (resumeNext). False for any
// other key.
bool showHelpOrAbout(Forms& forms, const QString& key);

} // namespace velmora
