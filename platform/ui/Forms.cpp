#include "platform/ui/Forms.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHideEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShowEvent>
#include <QSpacerItem>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

void Form::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous()) focusFirstInput();
}

void Form::focusFirstInput()
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() != this || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        auto* edit = qobject_cast<QLineEdit*>(w);
        const bool input = (edit && !edit->isReadOnly()) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractButton*>(w);
        if (!input) continue;
        w->setFocus(Qt::TabFocusReason);
        return;
    }
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
    BusyGuard::Scope scope(busy_, name.toStdString());
    commandBarrier(name, body, onFailure);
    return true;
}

// ---- exception barrier ----------------------------------------------------------

QString commandFailureText(const QString& name, const QString& what)
{
    return QStringLiteral("%1 stopped because of an internal error (%2). Its results were not kept; "
                          "please check the inputs and try again.")
        .arg(name, what);
}

void commandBarrier(const QString& name, const std::function<void()>& body, const std::function<void()>& onFailure)
{
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

void placeWindow(Form& f)
{
    if (f.isVisible()) return;
    if (f.testAttribute(Qt::WA_Resized)) f.resize(f.size().expandedTo(f.minimumSizeHint()));
    else f.adjustSize();
    const Form* main = f.forms().mainWindow();
    QScreen* screen = main && main != &f && main->isVisible() ? main->screen() : f.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QPoint centre = area.center();
    if (main && main != &f && main->isVisible()) centre = main->frameGeometry().center();
    QRect frame = f.frameGeometry();
    frame.moveCenter(centre);
    // Keep the title bar on the screen.
    frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1)));
    f.move(frame.topLeft());
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
    // The box sizes itself to its text; a title bar also holds the window
    // manager's buttons, drawn in a larger, bold font. Reserve room for both
    // so the title is never cut.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 160;
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
}

QString ModalSeam::fileDialog(const FileRequest& r)
{
    if (file_) {
        fileRequests.push_back(r);
        return file_(r);
    }
    // A save dialog asks before it replaces an existing file.
    QFileDialog dialog(QApplication::activeWindow());
    configureFileDialog(dialog, r);
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
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
