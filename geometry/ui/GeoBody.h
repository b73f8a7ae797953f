#pragma once
// The free-form body editor: the body behind the nose drawn with the mouse.
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

} // namespace velmora
