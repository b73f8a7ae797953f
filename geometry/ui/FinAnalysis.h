#pragma once
// The fin and launch-lug window.
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
