#pragma once
// The free-form body editor: the body behind the nose drawn with the mouse.
//
// The window's client area above its status bar is the drawing area, in
// twips (15 per logical pixel) with the origin at its top-left corner and y
// downwards; the toolbar and the control panel lie over its top. The editor
// works on its own copy of the control points (FreeFormModel). Only the accept
// writes the project's point count, screen points, body table and base
// radius; the discard puts the copy back as it was when the editor opened.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <cstdint>

#include "geometry/FreeFormModel.h"
#include "platform/Arrays.h"
#include "platform/ui/Build.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class GeoBody : public Form, public WindowFrame {
    Q_OBJECT
public:
    explicit GeoBody(Forms& forms);

    // ---- used by the body window and the project reader ----
    // Size of the drawing area in twips.
    int drawingWidthTwips() const;
    int drawingHeightTwips() const;
    // Draws the ruler lines (the count is not used).
    void PLOTLINES(int16_t count);
    // Draws the shape with points 1..count.
    void PLOTSHAPE(int16_t count);
    // Puts a saved shape into the editor as it is: count and screen points
    // together (elements 1..count), without the flat layout a write of NPTS
    // would run; the count shows in NPTS and the editor opens next with this
    // shape. A table that is no shape (FreeFormModel::isShape: all zero, not
    // rising along the axis, off the drawing) is laid out flat at the
    // nose-cone radius instead, as a first opening does. The project state is
    // not written. Returns false, changing nothing, when the count is outside
    // 2..20, a point is not a finite number or the window has no drawing area.
    bool setShape(int16_t count, const Array1<double, 20>& screenX, const Array1<double, 20>& screenY);

    // ---- handlers ----
    // Button: 1 left, 2 right, 4 middle (or-ed); X and Y in twips.
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void NPTS_Change();
    void UpDown3_Change();
    void GRIDON_Click();
    void SCRNSIZE_Click();
    void OMITSHAPE_Click();
    void MESHBODY_Click();
    void Toolbar1_ButtonClick(const QString& key);

    // The working copy of the control points.
    const FreeFormModel& model() const { return model_; }
    // The drawing as it stands (retained, so it survives hiding and covering).
    PictureBox* drawing() const { return drawing_; }

    // ---- controls ----
    QFrame* Picture1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    TextBox* NPTS = nullptr;
    QSpinBox* UpDown3 = nullptr;
    QPushButton* GRIDON = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* SCRNSIZE = nullptr;
    QLabel* Label12 = nullptr;
    QPushButton* OMITSHAPE = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* MESHBODY = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* XLOC2 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* YLOC = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* DTUBE = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* SHEIGHT = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* SWIDTH = nullptr;
    QLabel* DLABEL = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    FreeFormFrame frame() const;
    // Opening the editor: points that are no shape are first laid out flat
    // and drawn, so the editor shows what Return would accept.
    void beginEdit();
    // Lays the points out flat when they are no shape; true when it did.
    bool flattenUnlessShape();
    void endEdit();
    // Shows the reason an operation changed nothing; true when it went through.
    bool report(const Report& r);
    void clearDrawing();
    void drawShape(int count);
    void setCountText(bool runHandler);
    void layOutChildren();

    FreeFormModel model_;
    FreeFormModel opened_;  // the copy as it was when the editor opened
    bool editing_ = false;
    PictureBox* drawing_ = nullptr;
};

} // namespace velmora
