#pragma once
// The fin-section window and the manual section entry window.
#include <QLabel>
#include <QRadioButton>

#include <array>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class PanelAero : public Form {
    Q_OBJECT
public:
    explicit PanelAero(Forms& forms);
    void Form_Load() override;

    // The section solved by source panels or by vortex panels, then the fin
    // normal force; results go to the project only when the run succeeds.
    void Source(double& velocity);
    void VORTEX(double& velocity);

    ComboBox* SECTIONS = nullptr;
    ComboBox* PANELS = nullptr;
    ComboBox* FINTHK = nullptr;
    std::array<QRadioButton*, 2> PANELTYPES{};
    PictureBox* FinSection = nullptr;
    PictureBox* PLOT1 = nullptr;
    PictureBox* LEGEND1 = nullptr;
    PictureBox* LEGEND2 = nullptr;
    TextBox* MIN1 = nullptr;
    TextBox* MAX1 = nullptr;
    TextBox* UnitsLabel1 = nullptr;
    QLabel* NoMeshDefined1 = nullptr;
    TextBox* AOALABEL = nullptr;
    StatusBar* StatusBar1 = nullptr;

private:
    void solve(bool vortex, double velocity);
};

class ManualData : public Form {
    Q_OBJECT
public:
    explicit ManualData(Forms& forms);

    TextBox* CHORD = nullptr;
    TextBox* UnitsLabel = nullptr;
};

} // namespace velmora
