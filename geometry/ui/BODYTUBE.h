#pragma once
// The body input window: nose shape and the body dimensions.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>

#include <array>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class BODYTUBE : public Form {
    Q_OBJECT
public:
    explicit BODYTUBE(Forms& forms);
    void Form_Load() override;
    void LLABEL2_Change();
    // First missing main dimension, or "".
    QString missingDimensionPrompt() const;

    ComboBox* NoseShape = nullptr;
    TextBox* NoseLength = nullptr;
    TextBox* BodyDiameter = nullptr;
    TextBox* BodyLength = nullptr;
    TextBox* TUBELENGTH = nullptr;
    TextBox* BaseDiameter = nullptr;
    TextBox* BaseLength = nullptr;
    TextBox* BodyLength2 = nullptr;
    TextBox* ShapeControl = nullptr;
    QLabel* ShapeLabel = nullptr;
    QSpinBox* UpDown1 = nullptr;
    std::array<QRadioButton*, 2> GEOMETRY{};
    QPushButton* FREEFORM = nullptr;
    PictureBox* MeshPlot = nullptr;
    std::array<TextBox*, 7> LLABEL{}; // LLABEL1..LLABEL6 at 1..6
    StatusBar* StatusBar1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
};

} // namespace velmora
