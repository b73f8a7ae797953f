#pragma once
// The body input window: nose shape and the body dimensions, in the standard
// layout (all six dimensions) or the free-form layout (nose and one tube
// length; the tube profile comes from the free-form editor).
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <array>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class BODYTUBE : public Form, public WindowFrame {
    Q_OBJECT
public:
    explicit BODYTUBE(Forms& forms);
    void Form_Load() override;

    // ---- public methods used by other windows ----
    // Redraws the outline through the main window, or asks for more data.
    void DRAWBODY(double& velocity);
    // The layout for the current ActiveBodyGeometry, as the main window's
    // BODY command sets it before showing this window: 0 standard, 1
    // free-form, any other value changes nothing. Selecting the other layout
    // option runs its handler.
    void applyGeometryLayout();
    // First missing main dimension, or "".
    QString missingDimensionPrompt() const;

    // ---- handlers ----
    void NoseLength_Change();
    void BodyDiameter_Change();
    void BodyLength_Change();
    void BaseDiameter_Change();
    void BaseLength_Change();
    void BodyLength2_Change();
    void TUBELENGTH_Change();
    void NoseShape_Click();
    void UpDown1_Change();
    void GEOMETRY_Click(int Index);
    void FREEFORM_Click();
    void LLABEL2_Change();
    void Toolbar1_ButtonClick(const QString& Key);

    // ---- controls ----
    QLabel* Label8 = nullptr;
    QLabel* Label2 = nullptr;
    ComboBox* NoseShape = nullptr;
    QLabel* Label4 = nullptr;
    TextBox* NoseLength = nullptr;
    QLabel* Label7 = nullptr;
    TextBox* BodyDiameter = nullptr;
    QLabel* Label5 = nullptr;
    TextBox* BodyLength = nullptr;
    TextBox* TUBELENGTH = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label20 = nullptr;
    TextBox* BaseDiameter = nullptr;
    QLabel* Label21 = nullptr;
    TextBox* BaseLength = nullptr;
    QLabel* Label19 = nullptr;
    TextBox* BodyLength2 = nullptr;
    QLabel* ShapeLabel = nullptr;
    TextBox* ShapeControl = nullptr;
    QSpinBox* UpDown1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> GEOMETRY{};
    QPushButton* FREEFORM = nullptr;
    PictureBox* MeshPlot = nullptr;
    PictureBox* Picture6 = nullptr;
    std::array<TextBox*, 7> LLABEL{}; // LLABEL1..LLABEL6 at 1..6

private:
    void dimensionPrompt();
    // Panel 2 shows why the grid refuses the body (the reason stays there
    // until the body is meshable again).
    bool showingGridRefusal_ = false;
    void dimensionEdited(double& target, const TextBox* box, bool mainDimension, const char* name);
    bool mainDimensionsEntered() const;
    // The transition and base-tube boxes, their unit boxes, labels and heading.
    void setStandardFieldsVisible(bool visible, bool withHeading);
    void setShapeControlVisible(bool visible);
    // A new nose through the main window: drag, cleared results, mesh and outline.
    void remeshNose();
    void drawDefinitionsSketch();
    void printWindow();
};

} // namespace velmora
