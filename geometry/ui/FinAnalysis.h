#pragma once
// The fin and launch-lug window: fin count, planform, edge shape, finish, the
// fin and lug dimensions, and the hand-over to the fin-section window.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <initializer_list>

#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"

class QCloseEvent;

namespace velmora {

class FinAnalysis : public Form, public MenuWindowFrame {
    Q_OBJECT
public:
    explicit FinAnalysis(Forms& forms);
    void Form_Load() override;

    // ---- handlers ----
    void RootChord_Change();
    void SpanLength_Change();
    void FINTHK_Change();
    void DTip_Change();
    void DRoot_Change();
    void TipChord_Change();
    void DLUGS_Change();
    void ODLUGS_Change();
    void IDLUGS_Change();
    void NFINS_Click();
    void FinShapes_Click(int Index);
    void FinEdges_Click(int Index);
    void FinishType_Click(int Index);
    void ClearData_Click();
    void mnuPrintPage_Click();
    void mnuClose_Click();
    void mnuInstructions_Click();
    void mnuAboutVelmora_Click();
    void Toolbar1_ButtonClick(const QString& Key);

    // ---- controls ----
    QAction* mnuAboutVelmora = nullptr;

    QGroupBox* Frame1 = nullptr;
    ComboBox* NFINS = nullptr;
    QPushButton* ClearData = nullptr;
    QGroupBox* Fins = nullptr;
    std::array<QRadioButton*, 4> FinShapes{};
    QGroupBox* Edges = nullptr;
    std::array<QRadioButton*, 4> FinEdges{};
    QGroupBox* Finishes = nullptr;
    std::array<QRadioButton*, 3> FinishType{};

    TextBox* DTip = nullptr;
    TextBox* TipChord = nullptr;
    TextBox* DRoot = nullptr;
    TextBox* SpanLength = nullptr;
    TextBox* RootChord = nullptr;
    TextBox* FINTHK = nullptr;
    QGroupBox* LaunchLugs = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    TextBox* DLUGS = nullptr;
    TextBox* ODLUGS = nullptr;
    TextBox* IDLUGS = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    PictureBox* LugSketch = nullptr;

    // Picture1..Picture9 at 1..9: planforms 1 triangle, 2 elliptical,
    // 3 tapered, 4 rectangle; sections 5 square, 6 round, 7 streamlined,
    // 9 double wedge; 8 the distance lines left of the planform.
    std::array<PictureBox*, 10> Picture{};
    std::array<TextBox*, 10> LLABEL{};     // LLABEL1..LLABEL9 at 1..9

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QLabel* dRootCaption_ = nullptr;
    QLabel* tipChordCaption_ = nullptr;

    void boxChanged(TextBox* box, double& value, const char* name);
    void boxChanged(TextBox* box, float& value, const char* name);
    void deriveAfterEdit();
    void showOnly(std::initializer_list<int> group, int shown);
    void drawSketches();
    void drawDistanceLines(bool tapered);
    void PANAERO();
    void RETURN();
};

} // namespace velmora
