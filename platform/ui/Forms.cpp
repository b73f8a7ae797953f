#include "platform/ui/Forms.h"

#include <QApplication>
#include <QCloseEvent>

#include <cstdio>
#include <cstdlib>
#include <QEventLoop>
#include <QFileDialog>
#include <QHideEvent>
#include <QMessageBox>

namespace velmora {

Form::Form(Forms& forms, const QString& name, const QString& caption)
    : QWidget(nullptr, Qt::Window), forms_(forms)
{
    setObjectName(name);
    setAccessibleDescription(name);
    setAccessibleName(caption);
    setWindowTitle(caption);
}

Form::~Form() = default;

Module1& Form::m() { return forms_.m(); }

void Form::Hide() { hide(); }

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
    messages.clear();
    shownWindows.clear();
}

MsgAnswer ModalSeam::message(const MessageRequest& r)
{
    if (message_) {
        messages.push_back(r);
        return message_(r);
    }

    QMessageBox box;
    box.setText(r.prompt);
    box.setWindowTitle(r.title.isEmpty() ? QApplication::applicationName() : r.title);
    switch (r.icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    switch (r.buttons) {
    case MsgButtons::OkOnly: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

void ModalSeam::showModal(Form& f)
{
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

QString ModalSeam::fileDialog(const FileRequest& r)
{
    if (file_) return file_(r);
    // "Text files (*.TXT)|*.TXT" -> "Text files (*.TXT)"
    QString filter = r.filter.section('|', 0, 0);
    if (r.save) return QFileDialog::getSaveFileName(nullptr, r.title, r.fileName, filter);
    return QFileDialog::getOpenFileName(nullptr, r.title, r.fileName, filter);
}

MsgAnswer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title, MsgIcon icon)
{
    return ModalSeam::instance().message({prompt, title, buttons, icon});
}

} // namespace velmora
