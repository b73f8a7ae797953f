#include "platform/ui/Build.h"

#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSpinBox>
#include <QToolButton>

#include <algorithm>
#include <utility>

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
        // An input box asks for the width of what it holds and does not
        // stretch with its window; it fills a column that other controls
        // make wider. A longer text typed scrolls in it.
        box->setMinimumWidth(width);
        box->setMaximumWidth(QWIDGETSIZE_MAX);
        QSizePolicy policy = box->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Preferred);
        box->setSizePolicy(policy);
        if (auto* text = qobject_cast<TextBox*>(box)) text->setWidthHint(width);
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

void lineUpColumn(const std::vector<QLineEdit*>& boxes, const std::vector<QGridLayout*>& grids)
{
    shareWidth(boxes);
    int caption = 0;
    for (const QGridLayout* g : grids)
        for (int r = 0; r < g->rowCount(); ++r)
            if (const QLayoutItem* item = g->itemAtPosition(r, 0); item && item->widget())
                caption = std::max(caption, item->widget()->sizeHint().width());
    for (QGridLayout* g : grids) g->setColumnMinimumWidth(0, caption);
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

void bringIntoView(QWidget* first, QWidget* last)
{
    if (!first) return;
    for (QWidget* w = first->parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w); scroll && scroll->objectName() == "WindowScrollArea") {
            QWidget* content = scroll->widget();
            if (!content || !content->isAncestorOf(first) || (last && !content->isAncestorOf(last))) return;
            // The boxes where the layout puts them now, frames included (a
            // line edit's own wish is its text cursor only).
            if (QLayout* l = content->layout()) l->activate();
            QRect span(first->mapTo(content, QPoint(0, 0)), first->size());
            if (last) span |= QRect(last->mapTo(content, QPoint(0, 0)), last->size());
            // The whole span when the view holds it, else up to its end (the
            // last result written, never cut by the status bar under it).
            auto show = [](QScrollBar* bar, int from, int to, int view) {
                int value = bar->value();
                if (to - from > view || to > value + view) value = to - view;
                else if (from < value) value = from;
                bar->setValue(value);
            };
            const QSize view = scroll->viewport()->size();
            show(scroll->verticalScrollBar(), span.top(), span.bottom() + 1, view.height());
            show(scroll->horizontalScrollBar(), span.left(), span.right() + 1, view.width());
            return;
        }
}

// ---- a column beside the main one ---------------------------------------------------

namespace {
QSize itemSize(const QLayoutItem* item, bool hint)
{
    if (!item || item->isEmpty()) return {0, 0};
    return hint ? item->sizeHint() : item->minimumSize();
}

int itemHeight(const QLayoutItem* item, int width)
{
    if (!item || item->isEmpty()) return 0;
    const int h = item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
    return std::max(h, item->minimumSize().height());
}
} // namespace

BesideLayout::BesideLayout(QLayout* head, QLayout* tail, QWidget* side, Stretch stretch) : stretch_(stretch)
{
    setContentsMargins(0, 0, 0, 0);
    for (auto [slot, l] : {std::pair{Head, head}, std::pair{Tail, tail}})
        if (l) {
            addChildLayout(l);
            items_[slot] = l;
        }
    if (side) {
        addChildWidget(side);
        items_[Side] = new QWidgetItem(side);
    }
}

BesideLayout::BesideLayout(QLayout* head, QLayout* tail, QLayout* side, Stretch stretch)
    : BesideLayout(head, tail, static_cast<QWidget*>(nullptr), stretch)
{
    if (side) {
        addChildLayout(side);
        items_[Side] = side;
    }
}

BesideLayout::~BesideLayout()
{
    for (QLayoutItem*& item : items_) delete std::exchange(item, nullptr);
}

void BesideLayout::setStacking(bool on)
{
    stacking_ = on;
    invalidate();
}

void BesideLayout::addItem(QLayoutItem* item)
{
    for (QLayoutItem*& slot : items_)
        if (!slot) {
            slot = item;
            return;
        }
    delete item;
}

QLayoutItem* BesideLayout::itemAt(int index) const
{
    for (QLayoutItem* item : items_)
        if (item && index-- == 0) return item;
    return nullptr;
}

QLayoutItem* BesideLayout::takeAt(int index)
{
    for (QLayoutItem*& item : items_)
        if (item && index-- == 0) {
            invalidate();
            return std::exchange(item, nullptr);
        }
    return nullptr;
}

int BesideLayout::count() const { return static_cast<int>(std::ranges::count_if(items_, [](auto* i) { return i; })); }

Qt::Orientations BesideLayout::expandingDirections() const { return Qt::Horizontal | Qt::Vertical; }

QSize BesideLayout::besideSize(bool hint) const
{
    const int gap = std::max(spacing(), 0);
    const QSize head = itemSize(items_[Head], hint), tail = itemSize(items_[Tail], hint),
                side = itemSize(items_[Side], hint);
    const int mainW = std::max(head.width(), tail.width());
    const int mainH = head.height() + tail.height() + (head.height() > 0 && tail.height() > 0 ? gap : 0);
    return {mainW + side.width() + (mainW > 0 && side.width() > 0 ? gap : 0), std::max(mainH, side.height())};
}

int BesideLayout::stackedHeight(int width, bool) const
{
    const int gap = std::max(spacing(), 0);
    int h = 0;
    for (const QLayoutItem* item : {items_[Head], items_[Side], items_[Tail]})
        if (const int ih = itemHeight(item, width); ih > 0) h += (h > 0 ? gap : 0) + ih;
    return h;
}

bool BesideLayout::stackedAt(int width) const
{
    const bool both = items_[Side] && !items_[Side]->isEmpty() && (items_[Head] || items_[Tail]);
    return stacking_ && both && width < besideSize(false).width();
}

QSize BesideLayout::sizeHint() const { return besideSize(true); }

QSize BesideLayout::minimumSize() const
{
    const QSize beside = besideSize(false);
    if (!stacking_) return beside;
    int w = 0;
    for (const QLayoutItem* item : items_) w = std::max(w, itemSize(item, false).width());
    return {w, beside.height()};
}

int BesideLayout::heightForWidth(int width) const
{
    return stackedAt(width) ? stackedHeight(width, true) : besideSize(true).height();
}

void BesideLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const int gap = std::max(spacing(), 0);
    QLayoutItem* head = items_[Head];
    QLayoutItem* tail = items_[Tail];
    QLayoutItem* side = items_[Side];
    if (stackedAt(rect.width())) {
        // Head, side column, tail: each as wide as the layout, the tail
        // taking the height left.
        int y = rect.y();
        for (QLayoutItem* item : {head, side, tail}) {
            if (!item || item->isEmpty()) continue;
            int h = itemHeight(item, rect.width());
            if (item == tail) h = std::max(h, rect.bottom() + 1 - y);
            item->setGeometry(QRect(rect.x(), y, rect.width(), h));
            y += h + gap;
        }
        return;
    }
    const bool hasSide = side && !side->isEmpty();
    const QSize mainMin = besideSize(false) - QSize(hasSide ? itemSize(side, false).width() + gap : 0, 0);
    int sideW = 0;
    if (hasSide) {
        const int room = rect.width() - gap;
        if (stretch_ == Stretch::Main) {
            sideW = std::clamp(side->sizeHint().width(), side->minimumSize().width(),
                               std::max(side->minimumSize().width(), room - mainMin.width()));
        } else {
            const int mainHint = std::max(itemSize(head, true).width(), itemSize(tail, true).width());
            sideW = room - std::clamp(mainHint, mainMin.width(), std::max(mainMin.width(), room - itemSize(side, false).width()));
        }
        if (!head && !tail) sideW = rect.width();
        side->setGeometry(QRect(rect.right() + 1 - sideW, rect.y(), sideW, rect.height()));
    }
    const int mainW = hasSide && (head || tail) ? rect.width() - sideW - gap : rect.width();
    int y = rect.y();
    if (head && !head->isEmpty()) {
        int h = rect.height();
        if (tail && !tail->isEmpty())
            h = std::clamp(itemHeight(head, mainW), head->minimumSize().height(),
                           std::max(head->minimumSize().height(), rect.height() - gap - tail->minimumSize().height()));
        head->setGeometry(QRect(rect.x(), y, mainW, h));
        y += h + gap;
    }
    if (tail && !tail->isEmpty()) tail->setGeometry(QRect(rect.x(), y, mainW, rect.bottom() + 1 - y));
}

} // namespace velmora
