#include "platform/ui/UpDownSpinner.h"

#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/Forms.h"

namespace velmora {

UpDownSpinner::UpDownSpinner(int minimum, int maximum, int step, int value, QWidget* parent)
    : QWidget(parent), min_(minimum), max_(std::max(minimum, maximum)), step_(step),
      value_(std::clamp(value, min_, max_))
{
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    upButton = new QToolButton(this);
    upButton->setArrowType(Qt::UpArrow);
    named(upButton, "Up", "Up");
    downButton = new QToolButton(this);
    downButton->setArrowType(Qt::DownArrow);
    named(downButton, "Down", "Down");
    for (QToolButton* b : {upButton, downButton}) {
        b->setFixedSize(18, 12);
        b->setAutoRepeat(true);
        lay->addWidget(b);
    }
    onCommand(upButton, &QToolButton::clicked, this, [this] { stepUp(); });
    onCommand(downButton, &QToolButton::clicked, this, [this] { stepDown(); });
}

void UpDownSpinner::nameKeys(const QString& quantity)
{
    upButton->setAccessibleName(quantity + QStringLiteral(", up"));
    downButton->setAccessibleName(quantity + QStringLiteral(", down"));
}

void UpDownSpinner::setValue(int v)
{
    v = std::clamp(v, min_, max_);
    if (v == value_) return;
    value_ = v;
    if (onChange_) onChange_();
}

void UpDownSpinner::showValue(int v) { value_ = std::clamp(v, min_, max_); }

void UpDownSpinner::setRange(int minimum, int maximum)
{
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, min_, max_);
}

} // namespace velmora
