#pragma once
// The fin-section window and the manual section entry window.
//
// PanelAero picks the fin cross-section, its panel count, a thickness
// magnification and the panel method; SOLVE (and the sweep) run the chosen
// method and hand its result to this window to draw. The window's state is
// in its lists and in the project: PanelPlotChoice (the plotted quantity,
// PanelPlotQuantity), FinThicknessFactor (SectionThicknessScale), PanelCount,
// PanelMethodChoice, PanelSolutionStatus and FinSectionText, the copy of the
// section list's text (FinSectionShape).
//
// ManualData takes up to ten typed corner points of a section, drawn through
// the "MANUAL INPUT" generator when it closes.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>

#include "finpanel/FinPanelSolver.h"
#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"

class QShowEvent;

namespace velmora {

class PanelAero : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit PanelAero(Forms& forms);
    void Form_Load() override;

    // ---- computations ----
    // The section solved by source panels or by vortex panels, then the fin
    // normal force; results go to the project only when the run succeeds,
    // and are then drawn.
    void Source(double& velocity);
    void VORTEX(double& velocity);
    // Plots the published solution again (curves, section, legends) for the
    // chosen quantity.
    void PlotResults(double& velocity);
    // Generates the section of the section list and draws its outline; a
    // section that cannot be made leaves the drawing and says so in panel 1.
    void FINPLOT(double& velocity);
    // Draws a published fin result: what SOLVE and the sweep hand over.
    void showResult(const finpanel::FinSectionResult& result);

    // ---- handlers ----
    void SECTIONS_Click();
    void PANELS_Click();
    void FINTHK_Click();
    void PANELTYPES_Click(int Index);
    void Command1_Click();
    void Command2_Click();
    void Toolbar1_ButtonClick(const QString& Key);
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuInstructions_Click();
    void mnuAboutVelmora_Click();

    // ---- controls ----
    QAction* mnuAboutVelmora = nullptr;

    QGroupBox* FinGeometry = nullptr;
    ComboBox* SECTIONS = nullptr;
    ComboBox* PANELS = nullptr;
    ComboBox* FINTHK = nullptr;
    QGroupBox* PanelTypes = nullptr;
    std::array<QRadioButton*, 2> PANELTYPES{};
    QGroupBox* PlotFinResults = nullptr;
    QPushButton* Command1 = nullptr;  // "Pressure"
    QPushButton* Command2 = nullptr;  // "Velocity"
    PictureBox* FinSection = nullptr;
    PictureBox* PLOT1 = nullptr;
    PictureBox* LEGEND1 = nullptr;
    PictureBox* LEGEND2 = nullptr;
    TextBox* MIN1 = nullptr;
    TextBox* MAX1 = nullptr;
    TextBox* UnitsLabel1 = nullptr;
    QLabel* NoMeshDefined1 = nullptr;
    TextBox* AOALABEL = nullptr;

    // Picture sizes at the window's default size; both grow with it. The
    // section picture keeps the 500 x 177 proportions of its user scale.
    static constexpr int kPlotWidth = 480;
    static constexpr int kPlotHeight = 300;
    static constexpr int kSectionHeight = 170;

private:
    void solve(bool vortex, double velocity);
    void drawPlot(const finpanel::ResultPlot& plot);
    void drawOutline(const std::vector<finpanel::PlotPoint>& outline);
    void drawLegends();
    void blankPlotLabels();
    void plotButton(const char* quantity);
    // Stale results, a cleared pair of pictures and the instruction in panel 2.
    void sectionChanged(const QString& instruction);
};

class ManualData : public Form {
    Q_OBJECT
public:
    explicit ManualData(Forms& forms);
    void Form_Load() override;

    // ---- handlers ----
    // X1_Change .. X10_Change and Y1_Change .. Y10_Change, by row (1..10).
    void X_Change(int Index);
    void Y_Change(int Index);
    void PANELS_Click();
    void Example_Click();
    void Reset_Click();
    void Close_Click();

    // The length unit of the system in force, written at every opening.
    void showCurrentUnits();

    // ---- controls (arrays used from index 1) ----
    std::array<TextBox*, 11> X{};      // X1 .. X10
    std::array<TextBox*, 11> Y{};      // Y1 .. Y10
    std::array<QLabel*, 11> L{};       // L1 .. L10: "PT 1" .. "PT 10"
    std::array<PictureBox*, 5> Picture{};  // Picture1 .. Picture4: sketches of 4, 6, 8, 10 points
    ComboBox* PANELS = nullptr;
    QPushButton* Example = nullptr;
    QPushButton* Reset = nullptr;      // "Clear"
    QPushButton* Close = nullptr;
    TextBox* CHORD = nullptr;
    TextBox* UnitsLabel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showRows(int count);
    void showSketch(int count);
    void drawSketch(PictureBox* p, int count);
};

} // namespace velmora
