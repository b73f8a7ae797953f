#pragma once
// Windows that show fixed texts or current values and compute nothing.
#include <QLabel>
#include <QPushButton>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace velmora {

// Start-up greeting: Continue goes on into the program, Quit ends it.
class Welcome : public Form {
    Q_OBJECT
public:
    explicit Welcome(Forms& forms);
    void Continue_Click();
    void QuitBtn_Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Continue = nullptr;
    QPushButton* QuitBtn = nullptr;
};

// The air and flight velocity in the current units.
class FluidVariables : public Form {
    Q_OBJECT
public:
    explicit FluidVariables(Forms& forms);
    void Close_Click();

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
};

} // namespace velmora
