#pragma once
// The cross-flow window: surface Cp around the body at one station, with the
// classical cross-flow Cp of a circular cylinder on request.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/UpDownSpinner.h"

namespace velmora {

class CROSSFLOW : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit CROSSFLOW(Forms& forms);

    // ---- public procedures ----
    // Plots the Cp around CrossflowStation (kept within the stations the
    // centre-of-pressure run leaves intact) on its decade range. The
    // argument is not used.
    void CYLFLOW(double& velocity);

    // ---- handlers ----
    void PlotCd_Click();
    void UpDown3_Change();
    void Toolbar1_ButtonClick(const QString& Key);
    void mnuPrintPage_Click();
    void mnuClose_Click();

    // ---- controls ----
    QGroupBox* Frame2 = nullptr;
    PictureBox* PLOT = nullptr;
    QLabel* MAX = nullptr;
    QLabel* MIN = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    std::array<QLabel*, 9> AngleLabels{};  // Label6 .. Label14: 0 .. 360 degrees
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label22 = nullptr;
    TextBox* NSTATIONS = nullptr;
    UpDownSpinner* UpDown3 = nullptr;
    QPushButton* PlotCd = nullptr;

    // The plot's size at the window's default size; it grows with the window.
    static constexpr int kPlotWidth = 480;
    static constexpr int kPlotHeight = 320;

private:
    void replot();
};

} // namespace velmora
