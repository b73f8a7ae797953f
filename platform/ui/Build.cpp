#include "platform/ui/Build.h"

#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSpinBox>
#include <QToolButton>

#include <algorithm>

namespace velmora {

namespace {

// The width a display box was given for its pattern or texts.
constexpr const char* kFittedWidth = "velmoraFittedWidth";

// A text wider than the box's fitted width widens the box (a shorter one
// gives the width back), so a number is never cut. A box without a fitted
// width keeps at least its text's width in its layout; a box placed by hand
// in a fixed area widens the area with it.
void keepTextWhole(QLineEdit* box)
{
    int fitted = box->property(kFittedWidth).toInt();
    if (fitted <= 0 && box->minimumWidth() == box->maximumWidth()) {
        fitted = box->maximumWidth();
        box->setProperty(kFittedWidth, fitted);
    }
    const int needed = boxWidthFor(box, box->text());
    if (fitted <= 0) {
        box->setMinimumWidth(needed);
        return;
    }
    const int width = std::max(fitted, needed);
    if (width == box->maximumWidth()) return;
    box->setFixedWidth(width);
    QWidget* area = box->parentWidget();
    if (area && !area->layout() && area->minimumWidth() == area->maximumWidth() && box->x() + width > area->width())
        area->setFixedWidth(box->x() + width);
}

} // namespace

void makeDisplayOnly(QLineEdit* box)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { keepTextWhole(box); });
    box->setFocusPolicy(Qt::ClickFocus);
    // A write from code leaves the cursor after the text (also when the text
    // stays the same), which scrolls a narrow box to its end; show the
    // beginning instead. A user who clicked into the box moves it freely.
    QObject::connect(box, &QLineEdit::cursorPositionChanged, box, [box](int, int now) {
        if (now != 0 && box->isReadOnly() && !box->hasFocus()) box->setCursorPosition(0);
    });
}

// ---- box widths -------------------------------------------------------------------

QString widestPatternText(std::string_view pattern)
{
    if (pattern.empty()) return QStringLiteral("-0.00000000000000E-000"); // 15 significant digits
    int whole = 0, decimals = 0;
    bool point = false;
    std::string_view exponent;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == 'E' || c == 'e') {
            exponent = pattern.substr(i);
            break;
        }
        if (c == '.') point = true;
        else if (c == '#' || c == '0') ++(point ? decimals : whole);
    }
    QString s = QStringLiteral("-") + QString(whole + 1, QLatin1Char('0'));
    if (point) s += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    for (char c : exponent) s += (c == '#') ? QLatin1Char('0') : QLatin1Char(c);
    return s;
}

int boxWidthFor(const QLineEdit* box, const QString& text)
{
    const QFontMetrics fm(box->font());
    QChar widest = QLatin1Char('0');
    for (char d = '0'; d <= '9'; ++d)
        if (fm.horizontalAdvance(QLatin1Char(d)) > fm.horizontalAdvance(widest)) widest = QLatin1Char(d);
    QString measured = text;
    for (QChar& c : measured)
        if (c.isDigit()) c = widest;
    // As the line edit lays out its text: 2 pixels of margin each side, its
    // text and contents margins, then the style's frame around it all.
    const QMargins tm = box->textMargins();
    const QMargins cm = box->contentsMargins();
    const int inner = fm.horizontalAdvance(measured) + 4 + tm.left() + tm.right() + cm.left() + cm.right() + 2;
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.rect = box->rect();
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    if (box->isReadOnly()) opt.state |= QStyle::State_ReadOnly;
    const QSize outer = box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(inner, fm.height()), box);
    return std::max(inner, outer.width());
}

namespace {
void applyWidth(QLineEdit* box, int width)
{
    if (box->isReadOnly()) {
        box->setProperty(kFittedWidth, width);
        box->setFixedWidth(std::max(width, boxWidthFor(box, box->text())));
    } else {
        box->setMinimumWidth(width);
        box->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}
} // namespace

void fitToPattern(QLineEdit* box, std::string_view pattern)
{
    applyWidth(box, boxWidthFor(box, widestPatternText(pattern)));
}

void fitToTexts(QLineEdit* box, const QStringList& texts)
{
    int width = boxWidthFor(box, QStringLiteral("0"));
    for (const QString& t : texts) width = std::max(width, boxWidthFor(box, t));
    if (box->isReadOnly()) box->setProperty(kFittedWidth, width);
    box->setFixedWidth(width);
}

void shareWidth(const std::vector<QLineEdit*>& column)
{
    int width = 0;
    for (const QLineEdit* box : column)
        width = std::max(width, box->isReadOnly() ? box->property(kFittedWidth).toInt() : box->minimumWidth());
    for (QLineEdit* box : column) applyWidth(box, width);
}

// ---- up-down arrows ---------------------------------------------------------------

ArrowSpinBox::ArrowSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    lineEdit()->setReadOnly(true);
    lineEdit()->setFocusPolicy(Qt::NoFocus);
    setFixedSize(sizeHint());
}

QSize ArrowSpinBox::sizeHint() const
{
    // The arrows as the style draws them on a box of the usual height, with
    // no room for a text.
    QStyleOptionSpinBox opt;
    opt.initFrom(this);
    opt.rect = QRect(0, 0, 100, QSpinBox::sizeHint().height());
    opt.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    opt.buttonSymbols = buttonSymbols();
    opt.frame = hasFrame();
    const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, this);
    const int frame = style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &opt, this);
    const int width = std::max(up.width(), 12) + 2 * frame + 2;
    return {width, opt.rect.height()};
}

QSize ArrowSpinBox::minimumSizeHint() const { return sizeHint(); }

QString ArrowSpinBox::textFromValue(int) const { return QString(); }

int ArrowSpinBox::valueFromText(const QString&) const { return value(); }

QValidator::State ArrowSpinBox::validate(QString&, int&) const { return QValidator::Acceptable; }

// ---- toolbars ---------------------------------------------------------------------

QToolBar* makeToolbar(QWidget* parent, const QString& name, const QString& caption, const std::vector<ToolKey>& keys,
                      const std::function<QIcon(const QString&)>& icon, std::function<void(const QString&)> click)
{
    QToolBar* bar = named(new QToolBar(parent), name, caption);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    bar->setMovable(false);
    bar->setFloatable(false);
    auto shared = std::make_shared<std::function<void(const QString&)>>(std::move(click));
    for (const ToolKey& k : keys) {
        QAction* a = bar->addAction(icon ? icon(k.iconKey.isEmpty() ? k.key : k.iconKey) : QIcon(), k.key);
        a->setObjectName(k.key);
        a->setToolTip(k.tip);
        const QString key = k.key;
        onCommand(a, &QAction::triggered, parent, [shared, key] { (*shared)(key); });
        if (QWidget* button = bar->widgetForAction(a)) {
            named(button, key, key);
            // In the Tab chain, after the window's own controls: Space or
            // Enter presses the focused key.
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
    return bar;
}

QAction* makeWindowMenus(QWidget* window, QBoxLayout* layout, MenuWindowFrame& frame, bool withHelp,
                         const QString& aboutName)
{
    frame.menuBar = named(new QMenuBar(window), "menuBar", "Menu bar");
    layout->setMenuBar(frame.menuBar);
    auto item = [](QMenu* menu, const char* caption, const QString& name) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    frame.mnuFile = frame.menuBar->addMenu("&File");
    frame.mnuFile->setObjectName("mnuFile");
    frame.mnuPrintPage = item(frame.mnuFile, "&Print Page", "mnuPrintPage");
    frame.mnuClose = item(frame.mnuFile, "&Close", "mnuClose");
    if (!withHelp) return nullptr;
    frame.mnuHelp = frame.menuBar->addMenu("&Help");
    frame.mnuHelp->setObjectName("mnuHelp");
    frame.mnuInstructions = item(frame.mnuHelp, "&Instructions", "mnuInstructions");
    return item(frame.mnuHelp, "&About Velmora", aboutName);
}

StatusBar* buildStatusBar(QWidget* window, WindowFrame& frame, int panels, QBoxLayout* layout)
{
    frame.StatusBar1 = named(new StatusBar(panels, window), "StatusBar1", "Status");
    if (layout) layout->addWidget(frame.StatusBar1);
    return frame.StatusBar1;
}

QProgressBar* makeProgressBar(QWidget* parent, const QString& name, const QString& caption)
{
    auto* bar = named(new QProgressBar(parent), name, caption);
    bar->setRange(1, 100);
    bar->setTextVisible(false);
    return bar;
}

QProgressBar* addProgressRow(QWidget* window, QBoxLayout* layout, QLabel* caption)
{
    auto* row = new QHBoxLayout;
    QProgressBar* bar = makeProgressBar(window, "ProgressBar1", caption->text());
    row->addWidget(caption);
    row->addWidget(bar, 1);
    layout->addLayout(row);
    return bar;
}

QLabel* makePictureNotice(QWidget* picture, const QString& name, const QString& text)
{
    QLabel* l = makeLabel(picture, name, text);
    l->setStyleSheet("background: white; color: black; border: 1px solid gray; padding: 4px;");
    l->move(10, 10);
    return l;
}

PictureBox* makeGrowingPicture(QWidget* parent, const QString& name, const QString& caption, QSize design)
{
    auto* p = named(new PictureBox(parent), name, caption);
    p->setMinimumSize(design / 2);
    p->setDesignSize(design);
    return p;
}

void printWithPictures(QWidget* window, StatusBar* status, const std::vector<PictureBox*>& pictures,
                       PictureFault fault)
{
    for (PictureBox* p : pictures) {
        if (fault == PictureFault::PassOver) resumeNext([p] { p->makePersistent(); });
        else p->makePersistent();
    }
    printPage(window, status);
}

bool showHelpOrAbout(Forms& forms, const QString& key)
{
    if (key == kHelpKey.key) resumeNext([&] { forms.showModal(QStringLiteral("VelmoraHelp")); });
    else if (key == kAboutKey.key) resumeNext([&] { forms.showModal(QStringLiteral("AboutVelmora")); });
    else return false;
    return true;
}

} // namespace velmora
