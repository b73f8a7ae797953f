#pragma once
// Windows of the program: one instance per window class, created and loaded
// on first access, hidden with their contents kept, unloaded (discarded) on
// request. Also the seam through which every modal window and message box
// goes, so tests can script them and nothing ever blocks a test.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

#include <exception>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

#include "model/Module1.h"
#include "platform/ControlIds.h"

class QFileDialog;
class QMessageBox;
class QPrinter;
#include "platform/Busy.h"

namespace velmora {

class Forms;
class MainWindow;
class StatusBar;

// Base of every window. Subclasses build their controls in the constructor
// and put their load handler in Form_Load, which the registry runs once per
// instance right after construction.
class Form : public QWidget {
    Q_OBJECT
public:
    Form(Forms& forms, const QString& name, const QString& caption);
    ~Form() override;

    virtual void Form_Load() {}

    Forms& forms() { return forms_; }
    Module1& m();

    // Hide keeps the window and its contents; the registry still holds it.
    void Hide();
    bool isUnloading() const { return unloading_; }

    // The title-bar close runs this window's own close command (for windows
    // that are unloaded when closed); without one it hides the window.
    void setCloseCommand(std::function<void()> command) { closeCommand_ = std::move(command); }

    // Gives the focus to the first control in Tab order that takes input
    // (the toolbar keys come last); runs each time the window opens.
    void focusFirstInput();

    // The widgets of this window's controls that the computations write to,
    // by id; each window registers its ids as it builds its controls.
    void registerControls(std::initializer_list<std::pair<ControlId, QWidget*>> controls);
    // The widget registered for an id; nullptr when this window registered none.
    QWidget* registeredControl(ControlId id) const;

signals:
    void hiddenOrUnloaded();

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Enter presses the focused button; Escape leaves a window other than
    // the main window as its title-bar close does.
    void keyPressEvent(QKeyEvent* e) override;
    // Tab into a group of option buttons lands on the one that is on.
    bool focusNextPrevChild(bool next) override;

private:
    friend class Forms;
    Forms& forms_;
    bool unloading_ = false;
    std::function<void()> closeCommand_;
    std::map<ControlId, QPointer<QWidget>> controls_;
};

// ---- modal seam -------------------------------------------------------------

enum class MsgButtons { OkOnly, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString prompt;
    QString title;
    MsgButtons buttons = MsgButtons::OkOnly;
    MsgIcon icon = MsgIcon::None;
};

// Where a window opens: its designed size (or the size the user left it
// at), at least the size its contents need and at most the screen's free
// area, centred over the main window when that is shown, else over the
// screen, and kept on the screen. A window whose contents need more than the
// screen has (a large scale factor on a small screen) scrolls them, its menu
// bar, toolbar and status bar staying in view, a column beside its main one
// going under it where the window is too narrow for both (BesideLayout).
void placeWindow(Form& f);
void placeWindow(Form& f, const QRect& area);

// The width a window needs for its title bar to show the title whole.
int titleBarWidth(const QString& title);

// The message box of a request, not yet shown: its title fits whole.
std::unique_ptr<QMessageBox> buildMessageBox(const MessageRequest& r, QWidget* parent);

struct FileRequest {
    bool save = false;
    QString title;
    QString filter;       // e.g. "Text files (*.TXT)|*.TXT"
    QString fileName;     // initial name
    QString defaultSuffix;  // added to a saved name typed without one, e.g. "TXT"
};

// Sets up a file dialog for a request: title, the filter's shown part, open
// or save, the initial name. The dialog is Qt's own, not the platform's.
void configureFileDialog(QFileDialog& dialog, const FileRequest& r);

class ModalSeam {
public:
    using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;
    using ShowHandler = std::function<void(Form&)>;
    using FileHandler = std::function<QString(const FileRequest&)>; // "" = cancelled
    using PrintHandler = std::function<bool(QPrinter&)>;              // false = cancelled

    static ModalSeam& instance();

    MsgAnswer message(const MessageRequest& r);
    // Shows the window modally and returns when it is hidden or unloaded.
    void showModal(Form& f);
    QString fileDialog(const FileRequest& r);
    // The print dialog for this printer; true when the user chose to print.
    bool printDialog(QPrinter& printer);

    // Tests replace the handlers; reset() restores the real dialogs.
    void setMessageHandler(MessageHandler h) { message_ = std::move(h); }
    void setShowHandler(ShowHandler h) { show_ = std::move(h); }
    void setFileHandler(FileHandler h) { file_ = std::move(h); }
    void setPrintHandler(PrintHandler h) { print_ = std::move(h); }
    void reset();

    // Every request while a test's handler is installed, in order, for the
    // test to read; the program itself keeps no record.
    std::vector<MessageRequest> messages;
    std::vector<QString> shownWindows;
    std::vector<FileRequest> fileRequests;

private:
    MessageHandler message_;
    ShowHandler show_;
    FileHandler file_;
    PrintHandler print_;
};

// Short forms for the windows' code.
MsgAnswer MsgBox(const QString& prompt, MsgButtons buttons = MsgButtons::OkOnly,
                 const QString& title = QString(), MsgIcon icon = MsgIcon::None);

// ---- registry -----------------------------------------------------------------

class Forms {
public:
    explicit Forms(Module1& m) : m_(m) {}
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    Module1& m() { return m_; }
    BusyGuard& busy() { return busy_; }

    // The program's main window, over which the other windows open.
    void setMainWindow(Form* f) { main_ = f; }
    Form* mainWindow() const { return main_; }

    // Windows by program name, for code that reaches a window without naming
    // its class: the window writes, the main window and the information
    // windows. The application provides its windows at start-up.
    template <class T>
    void provide(const QString& name)
    {
        byName_[name] = [this]() -> Form& { return get<T>(); };
    }
    // The window of a name, loaded on first access; nullptr for a name no
    // window was provided under.
    Form* window(const QString& name);
    // The main window ("SOLVER"), loaded on first access; std::logic_error
    // when none was provided.
    MainWindow& main();
    // Shows the window of a name modally through the seam; std::logic_error
    // when none was provided.
    void showModal(const QString& name);

    // Set when the user chose to end the program (Quit on the welcome window,
    // a confirmed Exit); the application leaves its event loop.
    bool quitRequested() const { return quit_; }
    void requestQuit();
    // Ends the program at once, also from inside a computation that is
    // letting events run: nothing returns into that computation. Tests
    // install a hook in place of the process exit.
    void endProgram();
    void setExitHook(std::function<void()> hook) { exitHook_ = std::move(hook); }

    // Runs one compute command (SOLVE, MESH, the mesh lists, PLOT, ...)
    // through the busy gate and the exception barrier. While another
    // computation lets events run the command is refused: nothing runs and
    // the result is false, for the caller to show it (showBusyRefusal).
    // onFailure runs when the command ends by an exception (to leave its
    // results stale) before the message is shown.
    bool runCommand(const QString& name, const std::function<void()>& body,
                    const std::function<void()>& onFailure = {});
    // Shows busyRefusal(busy()) in a status panel for a command refused while
    // a computation runs. The text stands as long as that run: when it ends,
    // a panel still showing it shows again what it showed before the first
    // refusal (or what the run wrote there since).
    void showBusyRefusal(StatusBar* bar, int panel);

    // The one instance of T, created and loaded on first access.
    template <class T>
    T& get()
    {
        auto it = forms_.find(typeid(T));
        if (it != forms_.end() && it->second) return static_cast<T&>(*it->second);
        auto owned = std::make_unique<T>(*this);
        T& ref = *owned;
        forms_[typeid(T)] = std::move(owned);
        ref.Form_Load();
        runPendingWrites(typeid(T), ref);
        return ref;
    }

    // Runs write on the window now when it is loaded, else right after its
    // load handler when it is first accessed, in the order given: a window
    // nobody has opened or read yet gets its contents without being built
    // before it is needed.
    template <class T>
    void whenLoaded(std::function<void(T&)> write)
    {
        if (isLoaded<T>()) return write(get<T>());
        pending_[typeid(T)].push_back([write = std::move(write)](Form& f) { write(static_cast<T&>(f)); });
    }

    template <class T>
    bool isLoaded() const
    {
        auto it = forms_.find(typeid(T));
        return it != forms_.end() && it->second;
    }

    // Discards the instance; the next access loads a fresh one. Unloading a
    // window that is not loaded does nothing.
    template <class T>
    void unload()
    {
        unload(typeid(T));
    }
    void unload(std::type_index t);

    // Shows the window modally through the seam.
    template <class T>
    void showModal()
    {
        ModalSeam::instance().showModal(get<T>());
    }

private:
    void runPendingWrites(std::type_index t, Form& f);
    void endBusyRefusals();

    // A status panel showing a busy refusal, and what it showed before.
    struct BusyPanel {
        QPointer<QWidget> bar;
        int panel = 0;
        QString refusal;
        QString before;
    };

    Module1& m_;
    BusyGuard busy_;
    std::vector<BusyPanel> busyPanels_;
    bool quit_ = false;
    std::function<void()> exitHook_;
    QPointer<Form> main_;
    std::map<QString, std::function<Form&()>> byName_;
    std::map<std::type_index, std::unique_ptr<Form>> forms_;
    std::map<std::type_index, std::vector<std::function<void(Form&)>>> pending_;
};

// ---- exception barrier ----------------------------------------------------------

// Runs one user command or handler so that an exception ends it, not the
// program: onFailure runs (to leave results stale), a message names the
// command, and the event loop goes on. Nested barriers report once, at the
// innermost. A command first ends the user's edit of a box
// (TextBox::endEditing).
void commandBarrier(const QString& name, const std::function<void()>& body,
                    const std::function<void()>& onFailure = {});

// Runs `action` when the click that ended a box's edit is done (see
// TextBox::endedByClick): at the start of the command that click runs, or
// once the mouse button is up and no menu is open, whichever comes first.
// A modal box opened inside the click would take the click's release, so
// that the key clicked would never run its command nor the menu open. The
// action is dropped when `context` is destroyed first.
void afterTheClick(QObject* context, std::function<void()> action);

// The message of a command that ended by an exception.
QString commandFailureText(const QString& name, const QString& what);

// Connects a signal to a user command behind the barrier; the command is
// named by the sender's object name. The signal's arguments are not passed.
template <class Sender, class Signal, class F>
void onCommand(Sender* sender, Signal signal, QObject* context, F&& body)
{
    QObject::connect(sender, signal, context, [sender, f = std::forward<F>(body)](auto&&...) {
        commandBarrier(sender->objectName().isEmpty() ? sender->metaObject()->className() : sender->objectName(), f);
    });
}

// Some handlers run their steps with failures skipped: a step that fails is
// passed over and the handler goes on with the next.
template <class F>
void resumeNext(F&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

// ---- control naming -----------------------------------------------------------

// Gives a control its program name (objectName and accessible description)
// and its caption or label (accessible name), for screen readers and UI
// automation.
template <class W>
W* named(W* w, const QString& name, const QString& caption = QString())
{
    w->setObjectName(name);
    w->setAccessibleDescription(name);
    w->setAccessibleName(caption.isEmpty() ? name : caption);
    return w;
}

} // namespace velmora
