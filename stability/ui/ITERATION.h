#pragma once
// The sweep window: angle-of-attack and velocity sweeps of the SOLVE chain.
#include <QLabel>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class ITERATION : public Form {
    Q_OBJECT
public:
    explicit ITERATION(Forms& forms);

    // Empties the plot captions and the stored results of steps 1..steps.
    void ClearData(double steps);
    // Redraws the sweep plot from the stored results of steps 1..steps.
    void DATAPLOT(double steps);

    void MAXLOOPS_Change();
    void AOAINC_Change();
    void VELINC_Change();
    void AOAINITIAL_Change();
    void VINITIAL_Change();

    TextBox* MAXLOOPS = nullptr;
    TextBox* AOAINC = nullptr;
    TextBox* VELINC = nullptr;
    TextBox* AOAINITIAL = nullptr;
    TextBox* VINITIAL = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LVLABEL1 = nullptr;
    QLabel* LVLABEL2 = nullptr;
    QLabel* BResult = nullptr;
    QLabel* MAXDATA = nullptr;
    QLabel* MINDATA = nullptr;
    QLabel* MAXAOA = nullptr;
    QLabel* MINAOA = nullptr;
    PictureBox* DataPlot1 = nullptr;
    StatusBar* StatusBar1 = nullptr;

private:
    void afterInputChange();
};

} // namespace velmora
