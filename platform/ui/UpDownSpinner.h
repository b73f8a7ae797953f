#pragma once
// An up-down spinner: two arrow buttons holding a position between a minimum
// and a maximum, moved by a fixed step. It shows no text of its own (the
// window shows the value in a box beside it). The change handler runs
// whenever the position changes, from a click or from code.
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace velmora {

class UpDownSpinner : public QWidget {
    Q_OBJECT
public:
    UpDownSpinner(int minimum, int maximum, int step, int value, QWidget* parent = nullptr);
    int value() const { return value_; }
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int increment() const { return step_; }
    // Moves to v, kept within the range; the change handler runs when the
    // position changes.
    void setValue(int v);
    // New limits (a maximum below the minimum is raised to it). A position
    // outside them moves to the nearest limit without running the change
    // handler: the window that narrows the range shows the value itself.
    void setRange(int minimum, int maximum);
    // Moves to v (kept within the range) without running the change
    // handler, for a window that already acts on the new value.
    void showValue(int v);
    // One click on the up or down arrow.
    void stepUp() { setValue(value_ + step_); }
    void stepDown() { setValue(value_ - step_); }
    void onChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    // Names the two keys, Tab stops each, after the quantity they move:
    // "<quantity>, up" and "<quantity>, down".
    void nameKeys(const QString& quantity);

    QToolButton* upButton = nullptr;
    QToolButton* downButton = nullptr;

private:
    int min_, max_, step_, value_;
    std::function<void()> onChange_;
};

} // namespace velmora
