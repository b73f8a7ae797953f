#pragma once
// Small helpers the windows use to build their controls: each control gets
// its program name and caption for accessibility (see named()). Boxes are
// sized for what they show, read-only boxes stay out of the Tab chain, and
// one toolbar builder serves every window.
#include <QGridLayout>
#include <QIcon>
#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QToolBar>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace velmora {

class PictureBox;

// A read-only box shows what code writes into it from its first character,
// always whole: a text wider than the box widens it (see fitToPattern), and
// it is passed over by Tab (a click still selects its text for copying).
void makeDisplayOnly(QLineEdit* box);

inline TextBox* makeBox(QWidget* parent, const QString& name, const QString& caption = QString(),
                        const QString& text = QString(), bool readOnly = false)
{
    auto* b = named(new TextBox(parent), name, caption);
    b->setText(text);
    b->setReadOnly(readOnly);
    if (readOnly) makeDisplayOnly(b);
    return b;
}

inline ComboBox* makeList(QWidget* parent, const QString& name, const QString& caption = QString(),
                          const QString& tip = QString())
{
    auto* c = named(new ComboBox(parent), name, caption);
    if (!tip.isEmpty()) c->setToolTip(tip);
    return c;
}

// A caption: screen readers read the text it shows.
inline QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleDescription(name);
    return l;
}

// A label that shows a value: screen readers read its meaning as its name
// and the text shown as its value.
inline QLabel* makeValueLabel(QWidget* parent, const QString& name, const QString& meaning,
                              const QString& text = QString())
{
    auto* l = named(new ValueLabel(parent), name, meaning);
    l->setText(text);
    return l;
}

inline QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                               const QString& tip = QString())
{
    auto* b = named(new QPushButton(caption, parent), name, caption);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

// Adds "caption  [widget]  [unit]" as one row of a grid.
// Returns the caption's label, named after the widget ("<name>Caption").
inline QLabel* addRow(QGridLayout* grid, int row, const QString& caption, QWidget* w, QWidget* unit = nullptr)
{
    auto* l = named(new QLabel(caption), w->objectName() + QStringLiteral("Caption"), caption);
    l->setBuddy(w);
    grid->addWidget(l, row, 0);
    grid->addWidget(w, row, 1);
    if (unit) grid->addWidget(unit, row, 2);
    return l;
}

// ---- box widths -------------------------------------------------------------------

// The widest text a display pattern can give: a sign, one integer digit more
// than the pattern has places for (a '#' lets the integer part grow), the
// point, the decimals and the exponent. Digits are written as '0'; the width
// below takes the font's widest digit for each.
QString widestPatternText(std::string_view pattern);

// Pixels a line edit needs to show the text whole: its frame, margins and
// the text at the box's font, every digit counted as the widest digit.
int boxWidthFor(const QLineEdit* box, const QString& text);

// Sizes the box for every number the pattern can show. A read-only box gets
// exactly that width while its text fits, and widens for a wider text; an
// input box gets exactly that width (a longer text typed scrolls in it).
void fitToPattern(QLineEdit* box, std::string_view pattern);

// Sizes a unit box for the longest of its texts, and no wider.
void fitToTexts(QLineEdit* box, const QStringList& texts);

// Boxes of one column share one width: each gets the width the widest of
// them was fitted to (a read-only box still widens for a longer text).
void shareWidth(const std::vector<QLineEdit*>& column);

// The frames of one column line up: their boxes share one width (see
// shareWidth) and the captions in column 0 of their grids one width, so that
// the boxes stand under each other from frame to frame.
void lineUpColumn(const std::vector<QLineEdit*>& boxes, const std::vector<QGridLayout*>& grids);

// ---- up-down arrows ---------------------------------------------------------------

// A spinner that shows its two arrows only: the value it holds is shown in a
// box of the window's own, not beside the arrows.
class ArrowSpinBox : public QSpinBox {
public:
    explicit ArrowSpinBox(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
};

inline ArrowSpinBox* makeArrows(QWidget* parent, const QString& name, const QString& caption, int minimum,
                                int maximum, int step, int value)
{
    auto* s = named(new ArrowSpinBox(parent), name, caption);
    s->setRange(minimum, maximum);
    s->setSingleStep(step);
    s->setValue(value);
    return s;
}

// ---- toolbars ---------------------------------------------------------------------

struct ToolKey {
    ToolKey(const char* key_, const char* tip_, const char* iconKey_ = "") : key(key_), tip(tip_), iconKey(iconKey_) {}
    QString key;      // the key's program name and caption
    QString tip;
    QString iconKey;  // the artwork to draw, when not the key itself
};

// Keys the windows' toolbars share.
inline const ToolKey kHelpKey{"HELP", "CFD instructions and help."};
inline const ToolKey kVelmoraHelpKey{"HELP", "Velmora help."};
inline const ToolKey kAboutKey{"ABOUT", "About Velmora."};
inline const ToolKey kReturnToMainKey{"RETURN", "Return to MESHING and CFD analysis."};
inline const ToolKey kMeshingKey{"MESHING", "Draw MESH on CFD plot.", "MESH"};

// The HELP and ABOUT keys of a window's toolbar: the Velmora help or the
// about window the application provides (Forms::provide), shown with a
// failure passed over (resumeNext). False for any other key.
bool showHelpOrAbout(Forms& forms, const QString& key);

// The toolbar of a window: one button per key, its icon drawn by icon(),
// its caption under the icon; each button carries the key as program name
// and caption, for the accessibility interface too, and takes the focus by
// Tab. Pressing a key runs click(key) behind the command barrier.
QToolBar* makeToolbar(QWidget* parent, const QString& name, const QString& caption, const std::vector<ToolKey>& keys,
                      const std::function<QIcon(const QString&)>& icon, std::function<void(const QString&)> click);

// ---- window scaffold --------------------------------------------------------------

// The frame pieces windows share, under the names every window gives them: a
// window derives from one of these beside Form and builds the pieces with the
// helpers below, so that its constructor says only what is its own. A piece
// a window does not have stays null.
struct WindowFrame {
    QToolBar* Toolbar1 = nullptr;
    StatusBar* StatusBar1 = nullptr;
};

// A frame with the standard menus as well (see makeWindowMenus).
struct MenuWindowFrame : WindowFrame {
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuPrintPage = nullptr;
    QAction* mnuClose = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuInstructions = nullptr;
};

// The menu bar most windows carry: "&File" with "&Print Page" and "&Close",
// and, with help, "&Help" with "&Instructions" and "&About Velmora" (program
// name aboutName). Fills the frame's menu members; returns the about item.
QAction* makeWindowMenus(QWidget* window, QBoxLayout* layout, MenuWindowFrame& frame, bool withHelp,
                         const QString& aboutName);

// The standard menus of makeWindowMenus, each item running the window's
// handler of its name behind the barrier. File only: mnuPrintPage_Click and
// mnuClose_Click.
template <class W>
void buildWindowMenus(W* w, QBoxLayout* layout)
{
    makeWindowMenus(w, layout, *w, false, QString());
    onCommand(w->mnuPrintPage, &QAction::triggered, w, [w] { w->mnuPrintPage_Click(); });
    onCommand(w->mnuClose, &QAction::triggered, w, [w] { w->mnuClose_Click(); });
}

// File and Help: also mnuInstructions_Click, and `about` for the about item,
// which is returned.
template <class W>
QAction* buildWindowMenus(W* w, QBoxLayout* layout, void (W::*about)(),
                          const QString& aboutName = QStringLiteral("mnuAboutVelmora"))
{
    QAction* aboutItem = makeWindowMenus(w, layout, *w, true, aboutName);
    onCommand(w->mnuPrintPage, &QAction::triggered, w, [w] { w->mnuPrintPage_Click(); });
    onCommand(w->mnuClose, &QAction::triggered, w, [w] { w->mnuClose_Click(); });
    onCommand(w->mnuInstructions, &QAction::triggered, w, [w] { w->mnuInstructions_Click(); });
    onCommand(aboutItem, &QAction::triggered, w, [w, about] { (w->*about)(); });
    return aboutItem;
}

// The window's toolbar Toolbar1 under the menus (see makeToolbar): its keys
// run the window's Toolbar1_ButtonClick.
template <class W>
QToolBar* buildToolbar(W* w, QBoxLayout* layout, const QString& caption, const std::vector<ToolKey>& keys,
                       const std::function<QIcon(const QString&)>& icon)
{
    w->Toolbar1 = makeToolbar(w, QStringLiteral("Toolbar1"), caption, keys, icon,
                              [w](const QString& key) { w->Toolbar1_ButtonClick(key); });
    if (layout) layout->addWidget(w->Toolbar1);
    return w->Toolbar1;
}

// The window's status bar StatusBar1 with its fixed panels, at the bottom of
// the layout when one is given.
StatusBar* buildStatusBar(QWidget* window, WindowFrame& frame, int panels, QBoxLayout* layout = nullptr);

// A progress bar of range 1 .. 100 showing no text.
QProgressBar* makeProgressBar(QWidget* parent, const QString& name, const QString& caption);

// A row of the layout: a caption, then the progress bar over the rest.
QProgressBar* addProgressRow(QWidget* window, QBoxLayout* layout, QLabel* caption);

// The Print Page command of a window with pictures (see printPage): each
// picture's drawing becomes its kept image first, so that it survives the
// print. With PictureFault::PassOver a picture that fails there is passed
// over (resumeNext) and the page still printed; with Stop the failure ends
// the command.
enum class PictureFault { Stop, PassOver };
void printWithPictures(QWidget* window, StatusBar* status, const std::vector<PictureBox*>& pictures,
                       PictureFault fault = PictureFault::Stop);

// A picture drawn for its design size that grows with the window and
// shrinks down to half that size.
PictureBox* makeGrowingPicture(QWidget* parent, const QString& name, const QString& caption, QSize design);

// The notice over a picture that nothing is drawn yet, at its top left.
QLabel* makePictureNotice(QWidget* picture, const QString& name, const QString& text);

// Option buttons <name>0, <name>1, ... in `parent`, each caption its button's
// text and accessible name.
template <std::size_t N>
void makeOptions(std::array<QRadioButton*, N>& options, QWidget* parent, const QString& name,
                 const std::array<const char*, N>& captions)
{
    for (std::size_t i = 0; i < N; ++i)
        options[i] = named(new QRadioButton(captions[i], parent), name + QString::number(i), captions[i]);
}

// Runs click(index) behind the barrier, named `name`, when the option button
// at index is switched on.
template <std::size_t N, class F>
void onOptionOn(const std::array<QRadioButton*, N>& options, QObject* context, const QString& name, F click)
{
    for (std::size_t i = 0; i < N; ++i)
        QObject::connect(options[i], &QRadioButton::toggled, context, [name, click, i](bool on) {
            if (on) commandBarrier(name, [&click, i] { click(static_cast<int>(i)); });
        });
}

// In a window whose content scrolls (see placeWindow): scrolls it so that
// `first`, `last` and what stands between them are in view, whole with their
// frames (the results a command has just written); when the view cannot hold
// them all, up to the end of `last`. Nothing in a window that does not
// scroll.
void bringIntoView(QWidget* first, QWidget* last = nullptr);

// ---- a column beside the main one ---------------------------------------------------

// Two columns: the main one (`head` over `tail`) and a column beside it
// (`side`, as the results beside the inputs and their picture). Side by side,
// the side column spans the whole height with its content at the top, the
// head keeps the height it asks for and the tail takes the rest of the main
// column's height; the column named by `stretch` takes the width the other
// leaves. While the layout may stack (setStacking: the window's content
// scrolls on a screen too small for it, see placeWindow) and the width holds
// not both columns, the side column goes under the head and the tail under
// both, each as wide as the layout, so the window scrolls down to every part
// instead of sideways.
class BesideLayout : public QLayout {
public:
    enum class Stretch { Main, Side };
    // Any of the three may be null.
    BesideLayout(QLayout* head, QLayout* tail, QWidget* side, Stretch stretch = Stretch::Main);
    BesideLayout(QLayout* head, QLayout* tail, QLayout* side, Stretch stretch = Stretch::Main);
    ~BesideLayout() override;

    void setStacking(bool on);
    bool stacking() const { return stacking_; }
    // True when the layout at this width puts the side column under the head.
    bool stackedAt(int width) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override { return stacking_; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    enum Slot { Head, Tail, Side, kSlots };
    QSize besideSize(bool hint) const;
    int stackedHeight(int width, bool hint) const;
    QLayoutItem* items_[kSlots] = {};
    Stretch stretch_;
    bool stacking_ = false;
};

} // namespace velmora
