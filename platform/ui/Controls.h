#pragma once
// Controls with the behaviour the windows' handlers rely on:
// - TextBox: its change handler runs on every change of its text, also when
//   code writes it (synchronously, inside the write); writing the same text
//   runs nothing. A box's text belongs to the user while the user edits it:
//   from the first key (or paste, or assistive insertion) until editing ends
//   (Enter, the focus leaving, a key typed into another box, or a command,
//   which ends every edit before it reads the boxes). Meanwhile a write from
//   code (a handler moving the value, a twin box echoing it) changes the text
//   the program reads (text()) and runs the handler at once, but the box
//   shows it only when editing ends; the next key drops a write that waits.
//   What the user sees while typing is displayText(). A handler asks typing()
//   before anything that must not come from a keystroke (a message box) and
//   does it in its edit-end handler (onEditEnd) instead.
// - ComboBox: a drop-down list whose handler runs only when the user picks
//   an item (with the mouse, the arrow keys or a typed first letter; picking
//   the same item again runs it too); writing its text from code runs
//   nothing, also for a text that is no item, and adding items keeps the
//   text shown.
// - ValueLabel: a label that shows a value; screen readers read what the
//   value means as its name and the text shown as its value.
// - StatusBar: fixed text panels, numbered from 1; each panel's accessible
//   name is its text.
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Progress.h"

namespace velmora {

// A number in a display pattern, as the windows show it ("#####.###" ...).
QString qFormat(double value, std::string_view pattern);
// The leading number of a typed text, as Val reads it.
double qVal(const QString& text);

// The hourglass pointer for the life of a scope (nested scopes stack).
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    ~TextBox() override;
    // The text the program reads: what the box shows, or while the user
    // edits it, what it will show when editing ends.
    QString text() const { return held_ ? *held_ : QLineEdit::text(); }
    QString Text() const { return text(); }
    // A write from code (start-up, Open, a handler, a sweep step): the
    // handler runs; while the user edits the box, see above.
    void setText(const QString& t);
    void setText_(const QString& t) { setText(t); }
    // The change handler: runs on every change of text().
    void onChange(std::function<void()> handler);
    // Runs when the user's editing of the box ends, after the box shows text().
    void onEditEnd(std::function<void()> handler);
    // True from the user's first change of the text until editing ends.
    bool typing() const { return typing_; }
    // Ends the user's editing of this box; nothing when it is not edited.
    void endEdit();
    // Ends the editing of every box the user edits, as a command does before
    // it reads them; nothing while a change handler runs (a keystroke's own
    // handler never ends its edit).
    static void endEditing();
    // True while a change handler runs.
    static bool inChangeHandler();
    // True in the edit-end handlers of an edit that a click ended: the mouse
    // took the focus to another control or window, or a menu opened. A
    // message box of the edit's end waits for that click (afterTheClick).
    bool endedByClick() const { return clickEnding_; }

    // The width the box asks for in its layout (see fitToPattern); 0 leaves
    // the line edit's own.
    void setWidthHint(int width);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void textChangedFromBox();
    void runHandlers();

    std::vector<std::function<void()>> handlers_;
    std::vector<std::function<void()>> editEnd_;
    std::optional<QString> held_;  // a write from code that waits for the edit to end
    bool typing_ = false;
    bool writing_ = false;  // a write from code is under way
    bool showing_ = false;  // the edit's end shows the text the program reads
    bool clickEnding_ = false;  // the focus leaves for a click
    int widthHint_ = 0;
};

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);
    // The text shown: the item picked, or a text code wrote that is no item.
    QString Text() const;
    // Writes the shown text; no handler runs.
    void setText(const QString& t);
    // A pick-only list (the default) is a plain drop-down list: no text
    // cursor, typed letters pick items. Code still writes any text into it.
    void setPickOnly(bool on);
    // Adds an item without replacing the text shown.
    void AddItem(const QString& item);
    void Clear();
    // The click handler: runs when the user picks an item.
    void onClick(std::function<void()> handler);
    // What a user's pick does: shows the item and runs the handler.
    void pick(const QString& item);
    // Runs on every change of the text shown, from code or from the user;
    // the windows keep the project state's copy of the text with it.
    void onTextChanged(std::function<void(const QString&)> mirror);

signals:
    void clicked();

private:
    void showText(const QString& t);
    void mirrorText();
    std::function<void(const QString&)> mirror_;
};

class ValueLabel : public QLabel {
    Q_OBJECT
public:
    explicit ValueLabel(QWidget* parent = nullptr);
};

class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(int panels, QWidget* parent = nullptr);
    // The panel shows the text at once and takes its share of the bar; the
    // bar fits its height to the texts at the next turn of the event loop,
    // where a text may have another number of lines.
    void setPanel(int n, const QString& text);
    QString panel(int n) const;
    int panelCount() const { return static_cast<int>(panels_.size()); }
    QLabel* panelLabel(int n) const;
    // How often the bar has measured the height of its wrapped texts.
    int heightFits() const { return heightFits_; }

    // Least widths of a panel with a text and of an empty one.
    static constexpr int kPanelWidth = 80;
    static constexpr int kEmptyPanelWidth = 16;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int lineWidth(const QLabel* panel);
    void share(int i);
    bool allInOneLine() const;
    void layOut();
    void fitHeight();

    std::vector<QLabel*> panels_;
    std::vector<int> lineWidths_;     // each panel's text in one line: its share of the bar
    QHash<QString, int> lineWidthOf_;  // texts measured
    bool measured_ = false;  // the shares follow the texts (not so after writes while hidden)
    bool oneLine_ = true;    // every text kept to one line when the height was fitted
    bool posted_ = false;    // a lay-out waits for the next event-loop turn
    int heightFits_ = 0;
};

// At the end of a run: the run's Start, disabled while it ran, passed the
// focus on to its Abort; when it is still there it goes back to Start, so
// that the next Enter or Space starts again rather than asking to abort.
void focusBackFromAbort(QWidget* abort, QWidget* start);

// Sets a progress bar's value and leaves its painting to the next turn of the
// event loop. QProgressBar repaints at once on every visible change, which
// costs a paint and a flush of the window each time; a computation that lets
// events run shows the value at its next pump anyway.
void setBarValue(QProgressBar* bar, int value);

// A computation's view of a window: its status bar and the progress bar,
// with events let run through the Qt event loop. The bar shows a new value at
// most every kBarInterval (the two ends of its range at once), painted at the
// next event-loop turn (setBarValue); it paints over its own background, so a
// new value repaints the bar alone and not the window behind it. Long loops pump events every
// Progress::windowPumpInterval (maybePump), 20 ms unless a test says otherwise.
class WindowProgress : public Progress {
public:
    WindowProgress(StatusBar* bar, QProgressBar* progress);
    void status(int panel, const std::string& text) override;
    void progressVisible(bool visible) override;
    void progressRange(int minimum, int maximum) override;
    void progressValue(int value) override;
    void pumpEvents() override;

    static constexpr std::chrono::milliseconds kBarInterval{30};

private:
    StatusBar* bar_;
    QProgressBar* progress_;
    Clock::time_point lastShown_{};
};

} // namespace velmora
