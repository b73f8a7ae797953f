#pragma once
// The rocket geometry windows: body tube, free-form editor, fins and lugs.
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

class GeoBody : public Form {
    Q_OBJECT
public:
    explicit GeoBody(Forms& forms);

    TextBox* NPTS = nullptr;
    QLabel* DLABEL = nullptr;
    QLabel* SWIDTH = nullptr;
    QLabel* SHEIGHT = nullptr;
    StatusBar* StatusBar1 = nullptr;
};

class FinAnalysis : public Form {
    Q_OBJECT
public:
    explicit FinAnalysis(Forms& forms);
    void Form_Load() override;

    ComboBox* NFINS = nullptr;
    TextBox* DTip = nullptr;
    TextBox* TipChord = nullptr;
    TextBox* DRoot = nullptr;
    TextBox* SpanLength = nullptr;
    TextBox* RootChord = nullptr;
    TextBox* FINTHK = nullptr;
    TextBox* DLUGS = nullptr;
    TextBox* ODLUGS = nullptr;
    TextBox* IDLUGS = nullptr;
    std::array<QRadioButton*, 4> FinShapes{};
    std::array<QRadioButton*, 4> FinEdges{};
    std::array<QRadioButton*, 3> FinishType{};
    std::array<PictureBox*, 8> Picture{};  // Picture1..Picture7 at 1..7
    std::array<TextBox*, 10> LLABEL{};     // LLABEL1..LLABEL9 at 1..9
    StatusBar* StatusBar1 = nullptr;
};

} // namespace velmora
