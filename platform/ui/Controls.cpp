#include "platform/ui/Controls.h"

#include "platform/Format.h"
#include "platform/Simd.h"
#include "platform/ui/Forms.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>

namespace velmora {

QString qFormat(double value, std::string_view pattern)
{
    return QString::fromStdString(Format(value, pattern));
}

double qVal(const QString& text)
{
    return Val(text.toStdString());
}

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

namespace {

// The boxes the user edits (one, but for assistive insertion elsewhere), and
// how deep change handlers run.
std::vector<QPointer<TextBox>>& editedBoxes()
{
    static std::vector<QPointer<TextBox>> boxes;
    return boxes;
}
int handlerDepth = 0;

} // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { textChangedFromBox(); });
    connect(this, &QLineEdit::editingFinished, this, [this] { endEdit(); });
}

TextBox::~TextBox() { std::erase(editedBoxes(), this); }

void TextBox::onChange(std::function<void()> handler) { handlers_.push_back(std::move(handler)); }

void TextBox::onEditEnd(std::function<void()> handler) { editEnd_.push_back(std::move(handler)); }

void TextBox::runHandlers()
{
    ++handlerDepth;
    struct Leave {
        ~Leave() { --handlerDepth; }
    } leave;
    // From a copy: a write inside a handler runs them again, nested.
    const auto handlers = handlers_;
    for (const auto& h : handlers) commandBarrier(objectName(), h);
}

void TextBox::textChangedFromBox()
{
    if (showing_) return;  // the text the program reads already
    if (!writing_) {
        // The user's change: it ends an edit left in another box, starts (or
        // goes on with) this one, and drops a write that waited.
        for (const QPointer<TextBox>& b : std::vector(editedBoxes()))
            if (b && b != this) b->endEdit();
        if (!typing_) editedBoxes().emplace_back(this);
        typing_ = true;
        held_.reset();
    }
    runHandlers();
}

void TextBox::setText(const QString& t)
{
    if (!typing_) {
        const bool outer = !writing_;
        writing_ = true;
        QLineEdit::setText(t);
        if (outer) writing_ = false;
        return;
    }
    // The user edits the box: the value changes now, the text shown when the
    // edit ends.
    if (t == text()) return;
    if (t == QLineEdit::text()) held_.reset();
    else held_ = t;
    runHandlers();
}

void TextBox::endEdit()
{
    if (!typing_) return;
    typing_ = false;
    std::erase(editedBoxes(), this);
    if (held_) {
        const QString t = *held_;
        held_.reset();
        showing_ = true;
        QLineEdit::setText(t);
        showing_ = false;
    }
    const auto handlers = editEnd_;
    for (const auto& h : handlers) commandBarrier(objectName(), h);
}

void TextBox::endEditing()
{
    if (handlerDepth > 0) return;
    for (const QPointer<TextBox>& b : std::vector(editedBoxes()))
        if (b) b->endEdit();
}

bool TextBox::inChangeHandler() { return handlerDepth > 0; }

void TextBox::focusOutEvent(QFocusEvent* event)
{
    const Qt::FocusReason r = event->reason();
    clickEnding_ = r == Qt::MouseFocusReason || r == Qt::PopupFocusReason || r == Qt::ActiveWindowFocusReason;
    QLineEdit::focusOutEvent(event);  // ends the edit
    clickEnding_ = false;
}

void TextBox::setWidthHint(int width)
{
    widthHint_ = width;
    updateGeometry();
}

QSize TextBox::sizeHint() const
{
    const QSize own = QLineEdit::sizeHint();
    return widthHint_ > 0 ? QSize(widthHint_, own.height()) : own;
}

QSize TextBox::minimumSizeHint() const
{
    const QSize own = QLineEdit::minimumSizeHint();
    return widthHint_ > 0 ? QSize(std::min(widthHint_, own.width()), own.height()) : own;
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int) { emit clicked(); });
    // A pick by key changes the item before the handler runs.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { mirrorText(); });
}

QString ComboBox::Text() const
{
    // A text that is no item stands in the list's placeholder.
    return isEditable() || currentIndex() >= 0 ? currentText() : placeholderText();
}

void ComboBox::showText(const QString& t)
{
    setCurrentIndex(findText(t));
    if (isEditable()) setEditText(t);
    else setPlaceholderText(currentIndex() < 0 ? t : QString());
}

void ComboBox::setText(const QString& t)
{
    {
        const QSignalBlocker block(this);
        showText(t);
    }
    mirrorText();
}

void ComboBox::setPickOnly(bool on)
{
    const QString shown = Text();
    const QSignalBlocker block(this);
    setEditable(!on);
    if (QLineEdit* edit = lineEdit()) edit->setReadOnly(false);
    showText(shown);
}

void ComboBox::AddItem(const QString& item)
{
    const QString shown = Text();
    const QSignalBlocker block(this);
    addItem(item);
    showText(shown);
}

void ComboBox::Clear()
{
    const QString shown = Text();
    const QSignalBlocker block(this);
    clear();
    showText(shown);
}

void ComboBox::onClick(std::function<void()> handler)
{
    connect(this, &ComboBox::clicked, this, [this, h = std::move(handler)]() { commandBarrier(objectName(), h); });
}

void ComboBox::onTextChanged(std::function<void(const QString&)> mirror)
{
    mirror_ = std::move(mirror);
    connect(this, &QComboBox::editTextChanged, this, [this] { mirrorText(); });
    mirrorText();
}

void ComboBox::mirrorText()
{
    if (mirror_) mirror_(Text());
}

void ComboBox::pick(const QString& item)
{
    const int i = findText(item);
    if (i < 0) return;
    {
        const QSignalBlocker block(this);
        setCurrentIndex(i);
    }
    mirrorText();
    emit activated(i);
}

namespace {

// What a screen reader reads of a value label: its meaning as the name, the
// text shown as the value and through the text interface.
class ValueLabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ValueLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? shown() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QString shown() const { return static_cast<const QLabel*>(widget())->text(); }
};

QAccessibleInterface* valueLabelAccessible(const QString&, QObject* object)
{
    auto* l = qobject_cast<ValueLabel*>(object);
    return l ? new ValueLabelAccessible(l) : nullptr;
}

} // namespace

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(valueLabelAccessible), true);
    (void)factoryInstalled;
}

StatusBar::StatusBar(int panels, QWidget* parent) : QWidget(parent)
{
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 1, 2, 1);
    lay->setSpacing(2);
    for (int i = 0; i < panels; ++i) {
        auto* l = new QLabel(this);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        l->setAccessibleDescription(l->objectName());
        l->setAccessibleName(QStringLiteral("Status panel %1").arg(i + 1));
        l->setMinimumWidth(kEmptyPanelWidth);
        // A text longer than the panel's room goes on in a second line
        // rather than being cut (the bar grows for it).
        l->setWordWrap(true);
        lay->addWidget(l, 1);
        panels_.push_back(l);
        lineWidths_.push_back(0);
    }
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitHeight();
}

void StatusBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Texts written while the window was hidden.
    layOut();
}

void StatusBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange && event->type() != QEvent::StyleChange) return;
    lineWidthOf_.clear();
    measured_ = false;
    layOut();
}

void StatusBar::fitHeight()
{
    // As high as the wrapped texts need at this width: the window makes room
    // for a second line instead of pressing its content together.
    if (!isVisible()) return;  // laid out at its width when shown
    if (QLayout* lay = layout(); lay && lay->hasHeightForWidth()) {
        ++heightFits_;
        const int needed = lay->totalHeightForWidth(width());
        if (needed != minimumHeight()) setMinimumHeight(needed);
        oneLine_ = allInOneLine();
    }
}

QLabel* StatusBar::panelLabel(int n) const
{
    if (n < 1 || n > panelCount()) return nullptr;
    return panels_[static_cast<size_t>(n - 1)];
}

int StatusBar::lineWidth(const QLabel* p)
{
    // Texts come back often (a computation's "in progress" and "complete"
    // texts at every step): each is measured once.
    const QString& text = p->text();
    if (auto it = lineWidthOf_.constFind(text); it != lineWidthOf_.cend()) return *it;
    const QMargins m = p->contentsMargins();
    const int line = p->fontMetrics().horizontalAdvance(text) + m.left() + m.right() + 2 * p->margin();
    if (lineWidthOf_.size() >= 256) lineWidthOf_.clear();
    lineWidthOf_.insert(text, line);
    return line;
}

void StatusBar::share(int i)
{
    // Each panel's share of the bar follows the length of its text in one
    // line, so every text is shown whole while the texts together fit the
    // bar.
    const int line = lineWidth(panels_[static_cast<size_t>(i)]);
    int& kept = lineWidths_[static_cast<size_t>(i)];
    if (line == kept) return;
    kept = line;
    if (auto* lay = qobject_cast<QBoxLayout*>(layout())) lay->setStretch(i, std::max(1, line));
}

bool StatusBar::allInOneLine() const
{
    // Shares that follow the texts' lengths give every panel at least its
    // text's length when the texts (or a panel's least width) fit together.
    const QLayout* lay = layout();
    if (!lay) return true;
    const QMargins m = lay->contentsMargins();
    int room = width() - m.left() - m.right() - lay->spacing() * (panelCount() - 1);
    for (int i = 0; i < panelCount(); ++i)
        room -= std::max(lineWidths_[static_cast<size_t>(i)], panels_[static_cast<size_t>(i)]->minimumWidth());
    return room >= 0;
}

void StatusBar::setPanel(int n, const QString& text)
{
    QLabel* l = panelLabel(n);
    if (!l || l->text() == text) return;
    l->setText(text);
    // A panel with a text keeps room for a word or two; an empty one gives
    // its room to the others.
    l->setMinimumWidth(text.isEmpty() ? kEmptyPanelWidth : kPanelWidth);
    // Screen readers read the panel's text; an empty panel says which it is.
    l->setAccessibleName(text.isEmpty() ? QStringLiteral("Status panel %1").arg(n) : text);
    // A hidden bar is laid out when it is shown. A shown one takes the share
    // at once, so that the window's own layout never sees the new text with
    // the old share, and fits its height at the next turn of the event loop,
    // once for all the texts a computation writes until then.
    if (!isVisible()) {
        measured_ = false;
        return;
    }
    share(n - 1);
    if (posted_) return;
    posted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            posted_ = false;
            layOut();
        },
        Qt::QueuedConnection);
}

void StatusBar::layOut()
{
    if (!isVisible()) return;
    if (!measured_) {
        for (int i = 0; i < panelCount(); ++i) share(i);
        measured_ = true;
    }
    // The height is measured again only where a text may have another
    // number of lines: while every text keeps to one line, as it did when
    // the height was fitted, new shares leave the height as it is.
    if (!oneLine_ || !allInOneLine()) fitHeight();
}

QString StatusBar::panel(int n) const
{
    const QLabel* l = panelLabel(n);
    return l ? l->text() : QString();
}

void focusBackFromAbort(QWidget* abort, QWidget* start)
{
    if (abort->window()->focusWidget() == abort && start->isEnabled()) start->setFocus(Qt::OtherFocusReason);
}

void setBarValue(QProgressBar* bar, int value)
{
    if (!bar->updatesEnabled()) {
        bar->setValue(value);
        return;
    }
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);
    bar->update();
}

WindowProgress::WindowProgress(StatusBar* bar, QProgressBar* progress) : bar_(bar), progress_(progress)
{
    setPumpInterval(windowPumpInterval());
    // An opaque bar: its repaint stops at itself instead of repainting the
    // window underneath first.
    if (progress_ && !progress_->autoFillBackground()) progress_->setAutoFillBackground(true);
}

void WindowProgress::status(int panel, const std::string& text)
{
    if (bar_) bar_->setPanel(panel, QString::fromStdString(text));
    clearUpperVectorState();
}

void WindowProgress::progressVisible(bool visible)
{
    if (progress_) progress_->setVisible(visible);
    clearUpperVectorState();
}

void WindowProgress::progressRange(int minimum, int maximum)
{
    if (progress_) progress_->setRange(minimum, std::max(minimum, maximum));
    clearUpperVectorState();
}

void WindowProgress::progressValue(int value)
{
    if (!progress_) return;
    // QProgressBar repaints at once on a visible change; a computation sets
    // its value far more often than anyone can see.
    const bool end = value == progress_->minimum() || value == progress_->maximum();
    const Clock::time_point now = Clock::now();
    if (!end && now - lastShown_ < kBarInterval) return;
    setBarValue(progress_, value);
    lastShown_ = now;
    clearUpperVectorState();
}

void WindowProgress::pumpEvents()
{
    QApplication::processEvents();
    clearUpperVectorState();
}

} // namespace velmora
