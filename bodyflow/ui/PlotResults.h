#pragma once
// The flow-field plot window: contours, vectors, profiles and the mesh.
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <array>
#include <functional>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/UpDownSpinner.h"

namespace velmora {

class PlotResults : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit PlotResults(Forms& forms);

    // ---- public procedures ----
    // The mesh drawn over the flow-field picture (not cleared first).
    void Mesh(double& velocity);
    // The drawing half of Mesh, for a grid already built for the inputs.
    void drawBuiltMesh();
    // The velocity vectors from every triangle centroid, over the body and fin.
    void VECTORS(double& velocity);
    // Speed or pressure across the flow at the profile location.
    void ProfilePlot(double& velocity);

    // ---- handlers ----
    void Contour_Click();
    void PessureContour_Click();
    void NLEVELS_Change();
    void NLEVELS2_Change();
    void UpDown2_Change();
    void UpDown3_Change();
    void Vector_Click();
    void UpDown1_Change();
    void Vscale_Change();
    void Profile_Click(int Index);
    void Xlocation_Change();
    void Slider1_Scroll();
    void Command1_Click();
    void Pressure_Click(int Index);
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuInstructions_Click();
    void mnuAboutVelmora_Click();
    void Toolbar1_ButtonClick(const QString& Key);

    // ---- controls ----
    QAction* mnuAboutVelmora = nullptr;

    PictureBox* VelocityPlot = nullptr;
    PictureBox* LEVELS = nullptr;
    PictureBox* FieldProfile = nullptr;
    TextBox* MAX = nullptr;
    TextBox* MIN = nullptr;
    TextBox* UnitsLabel = nullptr;
    TextBox* PlotLabel = nullptr;
    TextBox* UnitsLabel1 = nullptr;
    TextBox* MAX1 = nullptr;
    TextBox* MIN1 = nullptr;
    QLabel* NoMeshDefined = nullptr;

    QGroupBox* Frame1 = nullptr;
    QPushButton* Contour = nullptr;
    QPushButton* Vector = nullptr;
    TextBox* NLEVELS2 = nullptr;
    UpDownSpinner* UpDown2 = nullptr;
    QLabel* Label15 = nullptr;
    TextBox* Vscale = nullptr;
    UpDownSpinner* UpDown1 = nullptr;
    QLabel* Label11 = nullptr;

    QGroupBox* PressurePlots = nullptr;
    std::array<QRadioButton*, 2> Pressure{};
    QPushButton* PessureContour = nullptr;
    TextBox* NLEVELS = nullptr;
    UpDownSpinner* UpDown3 = nullptr;
    QLabel* Label14 = nullptr;

    QGroupBox* ProfilePlots = nullptr;
    std::array<QRadioButton*, 3> Profile{};
    TextBox* Xlocation = nullptr;
    QLabel* Label1 = nullptr;
    QSlider* Slider1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;

    QPushButton* Command1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label2 = nullptr;

private:
    void drawContours(bool pressure);
    // The contour level count typed into one of the twin boxes, or stepped by an arrow pair.
    void levelCountTyped(TextBox* typed, TextBox* twin);
    void levelCountStepped(int count);
    int levelWriteDepth_ = 0;
};

} // namespace velmora
