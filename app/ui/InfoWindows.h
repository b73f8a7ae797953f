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

// Start-up greeting: Continue goes on into the program, Quit ends it.
class Welcome : public Form {
    Q_OBJECT
public:
    explicit Welcome(Forms& forms);
    void Continue_Click();
    void QuitBtn_Click();

    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Continue = nullptr;
    QPushButton* QuitBtn = nullptr;
};

// The product, its version and its maker.
class AboutVelmora : public Form {
    Q_OBJECT
public:
    explicit AboutVelmora(Forms& forms);
    void Continue_Click();

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

// The user's guide, one topic per tab.
class VelmoraHelp : public Form {
    Q_OBJECT
public:
    explicit VelmoraHelp(Forms& forms);
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuBaseFlow_Click();
    void mnuReturn_Click();

    QTabWidget* SSTab1 = nullptr;
    QTableWidget* UnitTable = nullptr; // on the BASICS tab
    QMenu* mnuFile = nullptr;
    QAction* mnuPrintPage = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuBaseFlow = nullptr;
    QAction* mnuReturn = nullptr;
};

// The guide to the base-flow analysis and the rocket-motor option.
class BaseFlowHelp : public Form {
    Q_OBJECT
public:
    explicit BaseFlowHelp(Forms& forms);
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuReturn_Click();

    QTabWidget* SSTab1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuPrintPage = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuReturn = nullptr;
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

} // namespace velmora
