#include "platform/ui/Forms.h"

#include "platform/ui/Controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QShowEvent>
#include <QSpacerItem>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <stdexcept>
#include "platform/ui/MainWindow.h"


namespace velmora {

namespace {

// Screen readers and UI automation see every window of the program as a
// window; the dialog roles belong to the message boxes, which ask and wait
// for an answer.
QAccessibleInterface* formAccessible(const QString&, QObject* object)
{
    auto* f = qobject_cast<Form*>(object);
    if (!f) return nullptr;
    return new QAccessibleWidget(f, QAccessible::Window);
}

} // namespace

Form::Form(Forms& forms, const QString& name, const QString& caption)
    : QWidget(nullptr, Qt::Window), forms_(forms)
{
    static const bool factoryInstalled = (QAccessible::installFactory(formAccessible), true);
    (void)factoryInstalled;
    setObjectName(name);
    setAccessibleDescription(name);
    setAccessibleName(caption);
    setWindowTitle(caption);
}

Form::~Form() = default;

Module1& Form::m() { return forms_.m(); }

void Form::Hide() { hide(); }

void Form::registerControls(std::initializer_list<std::pair<ControlId, QWidget*>> controls)
{
    for (const auto& [id, widget] : controls) controls_[id] = widget;
}

QWidget* Form::registeredControl(ControlId id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.data();
}

namespace {

// Escape in a menu opened from the menu bar closes it and gives the keyboard
// back to the window's control at once. Left to itself the bar keeps the
// keyboard with no mark on its title (the style draws one only while a menu
// is open): Tab and typing then do nothing until a second Escape.
class MenuEscape final : public QObject {
public:
    explicit MenuEscape(QMenuBar* bar) : QObject(bar), bar_(bar) {}

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const auto* k = e->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(e) : nullptr;
        if (!k || k->key() != Qt::Key_Escape || k->modifiers() != Qt::NoModifier) return false;
        // The menu closes as usual, then the bar hears the second Escape.
        watched->removeEventFilter(this);
        QApplication::sendEvent(watched, e);
        watched->installEventFilter(this);
        if (bar_ && bar_->hasFocus()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(bar_, &escape);
        }
        return true;
    }

private:
    QPointer<QMenuBar> bar_;
};

} // namespace

void Form::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous()) return;
    for (QMenuBar* bar : findChildren<QMenuBar*>()) {
        if (bar->findChild<QObject*>("menuEscape", Qt::FindDirectChildrenOnly)) continue;
        auto* escape = new MenuEscape(bar);
        escape->setObjectName("menuEscape");
        for (QAction* a : bar->actions())
            if (a->menu()) a->menu()->installEventFilter(escape);
    }
    focusFirstInput();
}

void Form::focusFirstInput()
{
    QWidget* key = nullptr;  // the first toolbar key, when nothing else takes input
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() != this || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        auto* edit = qobject_cast<QLineEdit*>(w);
        const bool input = (edit && !edit->isReadOnly()) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractButton*>(w);
        if (!input) continue;
        if (qobject_cast<QToolBar*>(w->parentWidget())) {
            if (!key) key = w;
            continue;
        }
        w->setFocus(Qt::TabFocusReason);
        return;
    }
    if (key) key->setFocus(Qt::TabFocusReason);
}

namespace {

// The buttons of the exclusive group of option buttons b belongs to.
QList<QAbstractButton*> exclusiveGroup(QAbstractButton* b)
{
    if (!b || !b->isCheckable()) return {};
    if (QButtonGroup* g = b->group()) return g->exclusive() ? g->buttons() : QList<QAbstractButton*>{};
    if (!b->autoExclusive() || !b->parentWidget()) return {};
    QList<QAbstractButton*> group;
    for (QAbstractButton* o : b->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (o->autoExclusive() && o->isCheckable()) group << o;
    return group;
}

} // namespace

bool Form::focusNextPrevChild(bool next)
{
    QWidget* from = focusWidget();
    if (!QWidget::focusNextPrevChild(next)) return false;
    auto* to = qobject_cast<QAbstractButton*>(focusWidget());
    const QList<QAbstractButton*> group = exclusiveGroup(to);
    if (group.isEmpty() || to->isChecked() || group.contains(qobject_cast<QAbstractButton*>(from))) return true;
    for (QAbstractButton* b : group)
        if (b->isChecked() && b->isEnabled() && b->isVisibleTo(this)) {
            b->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    return true;
}

void Form::keyPressEvent(QKeyEvent* e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && e->modifiers() == Qt::NoModifier) {
        auto* b = qobject_cast<QAbstractButton*>(focusWidget());
        if (b && b->isEnabled() && b->window() == this) {
            b->click();
            return;
        }
    }
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && forms_.mainWindow() != this) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Form::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous()) emit hiddenOrUnloaded();
}

void Form::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    if (closeCommand_ && !unloading_) closeCommand_();
}

Forms::~Forms()
{
    for (auto& [t, f] : forms_) {
        if (f) f->unloading_ = true;
    }
    forms_.clear();
}

void Forms::requestQuit()
{
    quit_ = true;
    QCoreApplication::exit(0);
}

void Forms::endProgram()
{
    quit_ = true;
    if (exitHook_) {
        exitHook_();
        return;
    }
    if (busy_.active()) {
        // A computation is on the stack below us: leaving the event loop
        // would return into it. Nothing is to be saved, so end here.
        std::fflush(nullptr);
        std::_Exit(0);
    }
    for (auto& [t, f] : forms_)
        if (f) f->hide();
    QCoreApplication::exit(0);
}

void Forms::runPendingWrites(std::type_index t, Form& f)
{
    auto it = pending_.find(t);
    if (it == pending_.end()) return;
    const std::vector<std::function<void(Form&)>> writes = std::move(it->second);
    pending_.erase(it);
    for (const auto& write : writes) write(f);
}

Form* Forms::window(const QString& name)
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &it->second();
}

MainWindow& Forms::main()
{
    auto* main = dynamic_cast<MainWindow*>(window(QStringLiteral("SOLVER")));
    if (!main) throw std::logic_error("no main window provided");
    return *main;
}

void Forms::showModal(const QString& name)
{
    Form* f = window(name);
    if (!f) throw std::logic_error("no window provided as " + name.toStdString());
    ModalSeam::instance().showModal(*f);
}

void Forms::unload(std::type_index t)
{
    auto it = forms_.find(t);
    if (it == forms_.end() || !it->second) return;
    std::unique_ptr<Form> f = std::move(it->second);
    forms_.erase(it);
    f->unloading_ = true;
    f->hide();
    emit f->hiddenOrUnloaded();
    // The window may be unloading itself from one of its own handlers: let
    // the event loop delete it once that handler has returned.
    f.release()->deleteLater();
}

bool Forms::runCommand(const QString& name, const std::function<void()>& body, const std::function<void()>& onFailure)
{
    if (busy_.active()) return false;
    {
        BusyGuard::Scope scope(busy_, name.toStdString());
        commandBarrier(name, body, onFailure);
    }
    endBusyRefusals();
    return true;
}

void Forms::showBusyRefusal(StatusBar* bar, int panel)
{
    const QString refusal = QString::fromStdString(busyRefusal(busy_));
    if (busy_.active() && bar->panel(panel) != refusal) {
        auto same = [bar, panel](const BusyPanel& p) { return p.bar == bar && p.panel == panel; };
        auto it = std::find_if(busyPanels_.begin(), busyPanels_.end(), same);
        if (it == busyPanels_.end()) busyPanels_.push_back({bar, panel, refusal, bar->panel(panel)});
        else it->before = bar->panel(panel);
    }
    bar->setPanel(panel, refusal);
}

// The run has ended: its "Please wait" texts go.
void Forms::endBusyRefusals()
{
    for (const BusyPanel& p : std::exchange(busyPanels_, {})) {
        auto* bar = static_cast<StatusBar*>(p.bar.data());
        if (bar && bar->panel(p.panel) == p.refusal) bar->setPanel(p.panel, p.before);
    }
}

// ---- exception barrier ----------------------------------------------------------

QString commandFailureText(const QString& name, const QString& what)
{
    return QStringLiteral("%1 stopped because of an internal error (%2). Its results were not kept; "
                          "please check the inputs and try again.")
        .arg(name, what);
}

namespace {

// The actions that wait for a click to be done, and the watch on the
// application's events that runs them.
class AfterClick final : public QObject {
public:
    static AfterClick& instance()
    {
        static AfterClick* one = new AfterClick(qApp);
        return *one;
    }

    void add(QObject* context, std::function<void()> action)
    {
        if (waiting_.empty()) qApp->installEventFilter(this);
        waiting_.push_back({context, std::move(action)});
    }

    // The click is done: the waiting actions run, in the order they came,
    // each behind the exception barrier under its context's name.
    void run()
    {
        if (waiting_.empty()) return;
        qApp->removeEventFilter(this);
        for (auto& [context, action] : std::exchange(waiting_, {}))
            if (context) commandBarrier(context->objectName(), action);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // A button let go or a menu closed: the actions run at the next turn
        // of the event loop, when the release has done its work, unless
        // another button is down or another menu is open by then.
        const bool popupHidden = e->type() == QEvent::Hide && watched->isWidgetType() &&
                                 static_cast<QWidget*>(watched)->windowType() == Qt::Popup;
        if ((e->type() == QEvent::MouseButtonRelease || popupHidden) && !posted_) {
            posted_ = true;
            QTimer::singleShot(0, this, [this] {
                posted_ = false;
                if (!QApplication::activePopupWidget() && QGuiApplication::mouseButtons() == Qt::NoButton) run();
            });
        }
        return false;
    }

private:
    using QObject::QObject;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> waiting_;
    bool posted_ = false;
};

} // namespace

void afterTheClick(QObject* context, std::function<void()> action)
{
    AfterClick::instance().add(context, std::move(action));
}

void commandBarrier(const QString& name, const std::function<void()>& body, const std::function<void()>& onFailure)
{
    // A command reads the boxes as they will stay: the user's edit ends first,
    // and what its end waits to show comes before the command.
    TextBox::endEditing();
    if (!TextBox::inChangeHandler()) AfterClick::instance().run();
    QString what;
    try {
        body();
        return;
    } catch (const std::exception& e) {
        what = QString::fromUtf8(e.what());
    } catch (...) {
        what = QStringLiteral("unknown error");
    }
    if (onFailure) {
        try {
            onFailure();
        } catch (...) {
        }
    }
    MsgBox(commandFailureText(name, what), MsgButtons::OkOnly, QStringLiteral("Velmora"), MsgIcon::Critical);
}

// ---- placement ------------------------------------------------------------------

namespace {

// Room the window manager takes around a window (title bar, borders), in
// the screen's logical pixels; enough for the common desktops.
constexpr QSize kDecoration(16, 48);

// Moves the window's content into a scroll area that fills the window; the
// menu bar and the toolbar stay above it and the status bar below it, in
// view. The area is a Tab stop of its own (as Qt makes it), where the arrow
// and page keys scroll to the results, which take no focus. A column beside
// the main one goes under it where the window is too narrow for both.
// `width` is the room the content has beside the vertical scroll bar when
// it scrolls down (0 when it does not): a content a few pixels wider than
// that gives the bar the margin on its right (then on its left) rather than
// scroll sideways as well.
void scrollContent(Form& f, int width)
{
    auto* content = qobject_cast<QBoxLayout*>(f.layout());
    if (!content) return;
    QWidget* menu = content->menuBar();
    content->setMenuBar(nullptr);
    auto frame = [&](const char* name) -> QWidget* {
        auto* w = f.findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (!w || content->indexOf(w) < 0) return nullptr;
        content->removeWidget(w);
        return w;
    };
    QWidget* toolbar = frame("Toolbar1");
    QWidget* status = frame("StatusBar1");
    auto* inner = new QWidget;
    inner->setObjectName(f.objectName() + QStringLiteral("Content"));
    inner->setLayout(content);
    for (QLayout* l : inner->findChildren<QLayout*>())
        if (auto* beside = dynamic_cast<BesideLayout*>(l)) beside->setStacking(true);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("WindowScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    // Measured inside the area: the margins are those of a window's child.
    if (width > 0) {
        QMargins margins = content->contentsMargins();
        const int over = inner->minimumSizeHint().width() - width;
        if (over > 0 && over <= margins.left() + margins.right()) {
            const int right = std::min(over, margins.right());
            margins.setRight(margins.right() - right);
            margins.setLeft(margins.left() - (over - right));
            content->setContentsMargins(margins);
        }
    }
    auto* outer = new QVBoxLayout(&f);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (menu) outer->setMenuBar(menu);
    if (toolbar) outer->addWidget(toolbar);
    outer->addWidget(scroll, 1);
    if (status) outer->addWidget(status);
}

} // namespace

void placeWindow(Form& f)
{
    if (f.isVisible()) return;
    const Form* main = f.forms().mainWindow();
    QScreen* screen = main && main != &f && main->isVisible() ? main->screen() : f.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        if (f.testAttribute(Qt::WA_Resized)) f.resize(f.size().expandedTo(f.minimumSizeHint()));
        else f.adjustSize();
        return;
    }
    placeWindow(f, screen->availableGeometry());
}

void placeWindow(Form& f, const QRect& area)
{
    if (f.isVisible()) return;
    // A window whose content cannot shrink to the screen scrolls instead.
    const QSize room = (area.size() - kDecoration).expandedTo(QSize(1, 1));
    if (f.findChild<QScrollArea*>(QStringLiteral("WindowScrollArea"), Qt::FindDirectChildrenOnly) == nullptr) {
        const QSize least = f.minimumSizeHint();
        if (least.width() > room.width() || least.height() > room.height()) {
            const QSize content = f.sizeHint().expandedTo(least);
            const int bar = f.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            scrollContent(f, least.height() > room.height() ? room.width() - bar : 0);
            f.resize(QSize(content.width() + bar, content.height() + bar).boundedTo(room));
        }
    }
    // Its designed size (or the size the user left it at), within the screen.
    const QSize wanted = f.testAttribute(Qt::WA_Resized) ? f.size() : f.sizeHint();
    f.resize(wanted.expandedTo(f.minimumSizeHint()).boundedTo(room).expandedTo(f.minimumSize()));
    const Form* main = f.forms().mainWindow();
    QPoint centre = area.center();
    if (main && main != &f && main->isVisible()) centre = main->frameGeometry().center();
    QRect frame = f.frameGeometry();
    frame.moveCenter(centre);
    // Keep the title bar on the screen.
    frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1)));
    f.move(frame.topLeft());
}

int titleBarWidth(const QString& title)
{
    // A title bar also holds the window manager's buttons, and draws the
    // title in a larger, bold font.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    return QFontMetrics(titleFont).horizontalAdvance(title) + 160;
}

std::unique_ptr<QMessageBox> buildMessageBox(const MessageRequest& r, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setText(r.prompt);
    box->setWindowTitle(r.title.isEmpty() ? QApplication::applicationName() : r.title);
    switch (r.icon) {
    case MsgIcon::Critical: box->setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box->setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    switch (r.buttons) {
    case MsgButtons::OkOnly: box->setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // The box sizes itself to its text; reserve room for the whole title too.
    const int titleWidth = titleBarWidth(box->windowTitle());
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, std::max(1, grid->columnCount()));
    box->setMinimumWidth(titleWidth);
    return box;
}

// ---- seam ---------------------------------------------------------------------

ModalSeam& ModalSeam::instance()
{
    static ModalSeam seam;
    return seam;
}

void ModalSeam::reset()
{
    message_ = nullptr;
    show_ = nullptr;
    file_ = nullptr;
    print_ = nullptr;
    messages.clear();
    fileRequests.clear();
    shownWindows.clear();
}

MsgAnswer ModalSeam::message(const MessageRequest& r)
{
    if (message_) {
        messages.push_back(r);
        return message_(r);
    }

    QWidget* parent = QApplication::activeWindow();
    std::unique_ptr<QMessageBox> box = buildMessageBox(r, parent);
    switch (box->exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

void ModalSeam::showModal(Form& f)
{
    placeWindow(f);
    if (show_) {
        shownWindows.push_back(f.objectName());
        show_(f);
        return;
    }
    QPointer<Form> guard(&f);
    QEventLoop loop;
    QObject::connect(&f, &Form::hiddenOrUnloaded, &loop, &QEventLoop::quit);
    QObject::connect(&f, &QObject::destroyed, &loop, &QEventLoop::quit);
    f.setWindowModality(Qt::ApplicationModal);
    f.show();
    f.raise();
    f.activateWindow();
    if (guard && guard->isVisible()) loop.exec();
}

void configureFileDialog(QFileDialog& dialog, const FileRequest& r)
{
    // Qt's own dialog: its filters match names in either case, so
    // "*.TXT" also lists "name.txt" (a native dialog may not).
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(r.title);
    // "Text files (*.TXT)|*.TXT" -> "Text files (*.TXT)"
    dialog.setNameFilter(r.filter.section('|', 0, 0));
    dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    // The dialog adds it before it asks about replacing a file.
    dialog.setDefaultSuffix(r.defaultSuffix);
}

QString ModalSeam::fileDialog(const FileRequest& r)
{
    QString chosen;
    if (file_) {
        fileRequests.push_back(r);
        chosen = file_(r);
    } else {
        // A save dialog asks before it replaces an existing file.
        QFileDialog dialog(QApplication::activeWindow());
        configureFileDialog(dialog, r);
        if (dialog.exec() != QDialog::Accepted) return QString();
        const QStringList files = dialog.selectedFiles();
        if (!files.isEmpty()) chosen = files.front();
    }
    if (r.save && !chosen.isEmpty() && !r.defaultSuffix.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + r.defaultSuffix;
    return chosen;
}

bool ModalSeam::printDialog(QPrinter& printer)
{
    if (print_) return print_(printer);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

MsgAnswer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title, MsgIcon icon)
{
    return ModalSeam::instance().message({prompt, title, buttons, icon});
}

} // namespace velmora
