#include "geometry/ui/GeoBody.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <exception>

#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "platform/ui/Build.h"
#include "platform/ui/Printing.h"

namespace velmora {

namespace {
// Design size of the drawing area (9615 x 6675 twips) and of the strips
// laid over its top, in logical pixels.
constexpr int kDesignWidth = 9615 / kTwipsPerPixel;
constexpr int kDesignHeight = 6675 / kTwipsPerPixel;
constexpr int kToolbarHeight = 420 / kTwipsPerPixel;
constexpr int kPanelTop = 480 / kTwipsPerPixel;
constexpr int kPanelHeight = 1335 / kTwipsPerPixel;
// The status bar sits below the drawing area.
constexpr int kStatusHeight = 22;

const QColor kPanelColour(255, 255, 192);

const QString kMeshingComplete = QStringLiteral("Free-Form Meshing complete. Solve CFD");

int buttonState(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int shiftState(Qt::KeyboardModifiers k)
{
    return (k & Qt::ShiftModifier ? 1 : 0) | (k & Qt::ControlModifier ? 2 : 0) | (k & Qt::AltModifier ? 4 : 0);
}

// A caption, or with a meaning a label that shows a value.
QLabel* panelLabel(QWidget* parent, const QString& name, const QString& text, int x, int y, int w, int h = 16,
                   const QString& meaning = QString())
{
    QLabel* l = meaning.isEmpty() ? makeLabel(parent, name, text) : makeValueLabel(parent, name, meaning, text);
    l->setGeometry(x, y, w, h);
    return l;
}

// The picture buttons stand in a row of cells, each with its caption
// centred under it, so neighbouring captions never run together.
constexpr int kButtonCell = 40;

QPushButton* pictureButton(QWidget* parent, const QString& name, const QString& caption, const QString& tip,
                           const QString& iconKey, int x)
{
    auto* b = named(new QPushButton(parent), name, caption);
    b->setToolTip(tip);
    b->setIcon(toolbarIcon(iconKey));
    b->setIconSize(QSize(22, 22));
    b->setGeometry(x + (kButtonCell - 32) / 2, 4, 32, 30);
    return b;
}

QLabel* buttonCaption(QWidget* parent, const QString& name, const QString& text, int x)
{
    QLabel* l = panelLabel(parent, name, text, x, 36, kButtonCell, 14);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
}

} // namespace

GeoBody::GeoBody(Forms& forms) : Form(forms, "GeoBody", "Free-Form Body Tube Geometry")
{
    // The drawing lies under everything else, over the whole client area.
    drawing_ = named(new PictureBox(this), "DrawingArea", "Free-Form drawing area");
    drawing_->setMouseTracking(true);
    drawing_->installEventFilter(this);

    buildToolbar(this, nullptr, "Free-Form toolbar",
                 {kHelpKey, kAboutKey,
                  {"PRINT", "Print screen image of body tube geometry."},
                  {"REFRESH", "Refresh geometry to default shape."},
                  {"RULERS", "Turns grid ON and OFF."},
                  {"RESIZE", "Maximize and minimize plot."},
                  {"OMITSHAPE", "Return without using latest Free-Form modifications."},
                  {"RETURN", "Save Free-Form shape and Return to body geometry."}},
                 toolbarIcon);
    // A strip over the drawing: small icons with small captions under them,
    // so that all eight keys fit the editor's width.
    Toolbar1->setIconSize(QSize(20, 20));
    QFont keyFont = Toolbar1->font();
    keyFont.setPointSizeF(keyFont.pointSizeF() * 0.85);
    Toolbar1->setFont(keyFont);

    Picture1 = named(new QFrame(this), "Picture1", "Free-Form controls");
    Picture1->setAutoFillBackground(true);
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, kPanelColour);
    Picture1->setPalette(pal);
    QFont small = Picture1->font();
    small.setPointSize(8);
    Picture1->setFont(small);

    QWidget* p = Picture1;
    Label4 = panelLabel(p, "Label4", "Body Tube Geometry", 4, 2, 160);
    QPalette blue = Label4->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label4->setPalette(blue);
    QFont bold = small;
    bold.setBold(true);
    Label4->setFont(bold);
    Label1 = panelLabel(p, "Label1", "Points defining body", 4, 22, 116, 20);
    NPTS = makeBox(p, "NPTS", "Points defining body");
    NPTS->setToolTip("Number of increments between minimum and maximum values.");
    QPalette yellow = NPTS->palette();
    yellow.setColor(QPalette::Base, kPanelColour);
    NPTS->setPalette(yellow);
    NPTS->setGeometry(122, 22, 34, 20);
    Label1->setBuddy(NPTS);
    UpDown3 = makeArrows(p, "UpDown3", "Number of points", FreeFormModel::kMinPoints, FreeFormModel::kMaxPoints, 1, 4);
    UpDown3->setToolTip("Modify number of points describing body.");
    UpDown3->move(158, 22); // the count shows in NPTS
    Label2 = panelLabel(p, "Label2", "Note: Reference Cd to base area of nose cone.", 4, 50, 290);
    Label5 = panelLabel(p, "Label5", "Note: Click Resize to maximize and minimize plot.", 4, 68, 290);

    Line1 = named(new QFrame(p), "Line1", "Line1");
    Line1->setFrameShape(QFrame::VLine);
    Line1->setGeometry(296, 2, 2, 85);
    Label3 = panelLabel(p, "Label3", "X Location  =", 302, 4, 86);
    XLOC2 = panelLabel(p, "XLOC2", QString(), 388, 4, 80, 16, "X location");
    Label7 = panelLabel(p, "Label7", "Y Location  =", 302, 20, 86);
    YLOC = panelLabel(p, "YLOC", QString(), 388, 20, 80, 16, "Y location");
    Label8 = panelLabel(p, "Label8", "Y Diameter =", 302, 36, 86);
    DTUBE = panelLabel(p, "DTUBE", QString(), 388, 36, 80, 16, "Y diameter");
    Line2 = named(new QFrame(p), "Line2", "Line2");
    Line2->setFrameShape(QFrame::HLine);
    Line2->setGeometry(302, 54, 180, 2);
    Label10 = panelLabel(p, "Label10", "Plot Height    =", 302, 58, 86, 14);
    SHEIGHT = panelLabel(p, "SHEIGHT", QString(), 388, 58, 60, 14, "Plot height");
    Label9 = panelLabel(p, "Label9", "Tube Length =", 302, 72, 86, 14);
    SWIDTH = panelLabel(p, "SWIDTH", QString(), 388, 72, 60, 14, "Tube length");
    DLABEL = panelLabel(p, "DLABEL", QString(), 450, 65, 36, 14, "Length unit");

    const int x0 = 482;
    GRIDON = pictureButton(p, "GRIDON", "Grid ", "Turns grid ON and OFF.", "RULERS", x0);
    Label14 = buttonCaption(p, "Label14", "Grid ", x0);
    SCRNSIZE = pictureButton(p, "SCRNSIZE", "Resize", "Maximize and minimize plot.", "RESIZE", x0 + kButtonCell);
    Label12 = buttonCaption(p, "Label12", "Resize", x0 + kButtonCell);
    OMITSHAPE = pictureButton(p, "OMITSHAPE", "Omit", "Return without using latest Free-Form modifications.",
                              "OMITSHAPE", x0 + 2 * kButtonCell);
    Label13 = buttonCaption(p, "Label13", "Omit", x0 + 2 * kButtonCell);
    MESHBODY = pictureButton(p, "MESHBODY", "Return", "Save Free-Form shape and Return to body geometry.", "RETURN",
                             x0 + 3 * kButtonCell);
    Label11 = buttonCaption(p, "Label11", "Return", x0 + 3 * kButtonCell);
    Label6 = panelLabel(p, "Label6", "BODY TUBE X-AXIS", x0, 70, 4 * kButtonCell, 16);
    Label6->setAlignment(Qt::AlignHCenter);

    buildStatusBar(this, *this, 2);

    NPTS->onChange([this] { NPTS_Change(); });
    onCommand(UpDown3, &QSpinBox::valueChanged, this, [this] { UpDown3_Change(); });
    onCommand(GRIDON, &QPushButton::clicked, this, [this] { GRIDON_Click(); });
    onCommand(SCRNSIZE, &QPushButton::clicked, this, [this] { SCRNSIZE_Click(); });
    onCommand(OMITSHAPE, &QPushButton::clicked, this, [this] { OMITSHAPE_Click(); });
    onCommand(MESHBODY, &QPushButton::clicked, this, [this] { MESHBODY_Click(); });

    resize(kDesignWidth, kDesignHeight + kStatusHeight);
    layOutChildren();
}

// ---- geometry of the window ----------------------------------------------------------

int GeoBody::drawingWidthTwips() const { return std::max(0, width()) * kTwipsPerPixel; }

int GeoBody::drawingHeightTwips() const { return std::max(0, height() - kStatusHeight) * kTwipsPerPixel; }

FreeFormFrame GeoBody::frame() const
{
    Module1& s = const_cast<GeoBody*>(this)->m();
    return {static_cast<double>(drawingWidthTwips()), static_cast<double>(drawingHeightTwips()),
            s.BodyLengthAfterNose, s.NoseConeDiameter};
}

void GeoBody::layOutChildren()
{
    const int w = width();
    const int h = std::max(0, height() - kStatusHeight);
    drawing_->setGeometry(0, 0, w, h);
    const int bar = std::max(kToolbarHeight, Toolbar1->sizeHint().height());
    Toolbar1->setGeometry(0, 0, w, bar);
    Picture1->setGeometry(0, std::max(kPanelTop, bar + 2), w, kPanelHeight);
    StatusBar1->setGeometry(0, h, w, kStatusHeight);
    drawing_->lower();
}

void GeoBody::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    layOutChildren();
    // The points follow the drawing area; draw them again at the new size.
    if (!model_.hasShape()) return;
    const FreeFormFrame f = frame();
    if (model_.scaleWidth() == f.width && model_.scaleHeight() == f.height) return;
    if (model_.fit(f).outcome != Outcome::Done) return;
    clearDrawing();
    if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
    drawShape(model_.count());
}

void GeoBody::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) beginEdit();
}

bool GeoBody::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == drawing_ && event->type() == QEvent::MouseMove) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPointF at = me->position();
        Form_MouseMove(buttonState(me->buttons()), shiftState(me->modifiers()),
                       static_cast<float>(at.x() * kTwipsPerPixel), static_cast<float>(at.y() * kTwipsPerPixel));
        return true;
    }
    return Form::eventFilter(watched, event);
}

// ---- editing session -------------------------------------------------------------------

void GeoBody::beginEdit()
{
    if (editing_) return;
    if (flattenUnlessShape()) {
        clearDrawing();
        if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
        drawShape(model_.count());
    }
    opened_ = model_;
    editing_ = true;
}

bool GeoBody::flattenUnlessShape()
{
    if (model_.isShape()) return false;
    // Without a tube length there is nothing to lay out yet; the next opening tries again.
    return model_.layOutFlat(frame(), model_.count()).outcome == Outcome::Done;
}

void GeoBody::endEdit() { editing_ = false; }

bool GeoBody::report(const Report& r)
{
    if (r.outcome == Outcome::Done) return true;
    StatusBar1->setPanel(1, QString::fromStdString(r.message));
    return false;
}

// ---- drawing ---------------------------------------------------------------------------

void GeoBody::clearDrawing() { drawing_->clear(); }

void GeoBody::drawShape(int count)
{
    const FreeFormFrame f = frame();
    if (!model_.hasShape() || model_.fit(f).outcome != Outcome::Done) return;
    drawing_->setScale(0, 0, f.width, f.height);
    const int n = std::clamp(count, 1, static_cast<int>(model_.count()));
    const QRgb red = PictureBox::qbColor(4);
    const QRgb lightBlue = PictureBox::qbColor(9);
    drawing_->circle(model_.x(1), model_.y(1), FreeFormModel::kPointRadius, red);
    for (int i = 2; i <= n; ++i) {
        drawing_->circle(model_.x(i), model_.y(i), FreeFormModel::kPointRadius, red);
        drawing_->line(model_.x(i - 1), model_.y(i - 1), model_.x(i), model_.y(i), lightBlue);
    }
}

void GeoBody::PLOTLINES(int16_t /*count*/)
{
    const FreeFormFrame f = frame();
    const auto lines = FreeFormModel::rulers(f.width, f.height);
    if (lines.empty()) return;
    drawing_->setScale(0, 0, f.width, f.height);
    for (const FreeFormSegment& s : lines) drawing_->line(s.x1, s.y1, s.x2, s.y2);
}

void GeoBody::PLOTSHAPE(int16_t count) { drawShape(count); }

void GeoBody::setCountText(bool runHandler)
{
    const QString text = QString::number(model_.count());
    if (runHandler) {
        NPTS->setText(text);
        return;
    }
    const QSignalBlocker quiet(NPTS);
    NPTS->setText(text);
}

bool GeoBody::setShape(int16_t count, const Array1<double, 20>& screenX, const Array1<double, 20>& screenY)
{
    if (!report(model_.setPoints(count, screenX.data(), screenY.data(), frame()))) return false;
    flattenUnlessShape();
    setCountText(false);
    clearDrawing();
    drawShape(count);
    endEdit(); // the editor opens next with this shape
    return true;
}

// ---- handlers ----------------------------------------------------------------------------

void GeoBody::Form_MouseMove(int Button, int /*Shift*/, float X, float Y)
{
    beginEdit();
    const FreeFormFrame f = frame();
    if (!FreeFormModel::onDrawingArea(f, X, Y)) return;
    const FreeFormReadout r = FreeFormModel::readout(f, X, Y);
    XLOC2->setText(QString::fromStdString(r.x));
    YLOC->setText(QString::fromStdString(r.radius));
    DTUBE->setText(QString::fromStdString(r.diameter));
    setCursor((Button & 1) ? Qt::SizeAllCursor : Qt::CrossCursor);
    if (!model_.drag(f, Button, X, Y).empty()) {
        clearDrawing();
        drawShape(model_.count());
    }
    if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
}

void GeoBody::NPTS_Change()
{
    // Between openings the count is the project's (the body window and the
    // project reader write it before they write this box).
    int16_t n = model_.count();
    const int16_t stored = m().FreeFormPointCount;
    if (!editing_ && stored >= FreeFormModel::kMinPoints && stored <= FreeFormModel::kMaxPoints) n = stored;
    clearDrawing();
    report(model_.layOutFlat(frame(), n));
    drawShape(model_.count());
    // A count typed while the editor is shown clears the rulers with the
    // shape: draw them again (the openings and the other handlers draw them
    // after this handler themselves).
    if (isVisible() && m().FreeFormGridOn == 1) PLOTLINES(model_.count());
}

void GeoBody::UpDown3_Change()
{
    beginEdit();
    // The new count takes effect only with its layout.
    const Report status = model_.layOutFlat(frame(), static_cast<int16_t>(UpDown3->value()));
    NPTS->setText(qFormat(model_.count(), "###"));
    clearDrawing();
    report(status);
    drawShape(model_.count());
    if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
}

void GeoBody::GRIDON_Click()
{
    beginEdit();
    Module1& s = m();
    if (s.FreeFormGridOn == 1) {
        s.FreeFormGridOn = 0;
        clearDrawing();
        PLOTSHAPE(model_.count());
    } else {
        s.FreeFormGridOn = 1;
        clearDrawing();
        PLOTLINES(model_.count());
        PLOTSHAPE(model_.count());
    }
}

void GeoBody::SCRNSIZE_Click()
{
    beginEdit();
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) {
        // stays minimised
    } else if (state & Qt::WindowMaximized) {
        setWindowState(state & ~Qt::WindowMaximized);
    } else {
        setWindowState(state | Qt::WindowMaximized);
    }
    clearDrawing();
    setCountText(true);
    report(model_.respace(frame()));
    drawShape(model_.count());
    if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
}

void GeoBody::MESHBODY_Click()
{
    beginEdit();
    Module1& s = m();
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    clearDrawing();
    setCountText(true);
    Report status = model_.respace(frame());
    drawShape(model_.count());
    if (s.FreeFormGridOn == 1) PLOTLINES(model_.count());
    FreeFormBodyTable table;
    if (status.outcome == Outcome::Done) status = model_.convert(frame(), s.NoseTipX, s.NoseConeLength, table);
    // A shape that cannot be converted is not accepted; the editor stays open.
    if (!report(status)) return;

    s.ActiveBodyGeometry = 1;
    const int n = model_.count();
    s.FreeFormPointCount = model_.count();
    for (int i = 1; i <= n; ++i) {
        s.FreeFormScreenX(i) = model_.x(i);
        s.FreeFormScreenY(i) = model_.y(i);
        s.FreeFormBodyX(i) = table.x[static_cast<std::size_t>(i)];
        s.FreeFormBodyRadius(i) = table.radius[static_cast<std::size_t>(i)];
    }
    s.FreeFormScreenWidth = singleOrZero(model_.scaleWidth());
    s.FreeFormScreenHeight = toInt16(std::min(model_.scaleHeight(), 32767.0)).value_or(s.FreeFormScreenHeight);

    Forms& f = forms();
    MainWindow& main = f.main();
    BODYTUBE& body = f.get<BODYTUBE>();
    body.BodyLength->setEnabled(true);
    resumeNext([&] { main.ClearData(s.FreeStreamVelocity); });
    s.FreeFormBaseRadius = table.baseRadius;
    resumeNext([&] { main.NEWFINS(s.FreeStreamVelocity); });
    endEdit();
    StatusBar1->setPanel(1, QString());
    Hide();
    main.StatusBar1->setPanel(2, kMeshingComplete);
    body.StatusBar1->setPanel(1, QStringLiteral("Free-Form Meshing complete."));
}

void GeoBody::OMITSHAPE_Click()
{
    Forms& f = forms();
    MainWindow& main = f.main();
    BODYTUBE& body = f.get<BODYTUBE>();
    main.StatusBar1->setPanel(2, kMeshingComplete);
    body.StatusBar1->setPanel(1, QStringLiteral("Latest Free-Form modifications ignored."));
    body.BodyLength->setEnabled(true);
    main.MeshPlot->clear();
    body.MeshPlot->clear();
    resumeNext([&] { main.NEWFINS(m().FreeStreamVelocity); });

    // Back to the points the editor opened with, drawn at the present size.
    if (editing_) model_ = opened_;
    endEdit();
    setCountText(false);
    clearDrawing();
    drawShape(model_.count());
    StatusBar1->setPanel(1, QString());
    Hide();
}

void GeoBody::Toolbar1_ButtonClick(const QString& key)
{
    if (showHelpOrAbout(forms(), key)) return;
    if (key == "PRINT") {
        printPage(this, StatusBar1);
    } else if (key == "REFRESH") {
        // Four points on the straight tube; the spinner keeps its own value.
        beginEdit();
        clearDrawing();
        const Report status = model_.layOutFlat(frame(), 4);
        setCountText(true);
        report(status);
        drawShape(model_.count());
        if (m().FreeFormGridOn == 1) PLOTLINES(model_.count());
    } else if (key == "RULERS") {
        GRIDON_Click();
    } else if (key == "RESIZE") {
        SCRNSIZE_Click();
    } else if (key == "OMITSHAPE") {
        OMITSHAPE_Click();
    } else if (key == "RETURN") {
        MESHBODY_Click();
    }
}

} // namespace velmora
