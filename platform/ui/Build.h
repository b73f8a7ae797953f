#pragma once
// Small helpers the windows use to build their controls: each control gets
// its program name and caption for accessibility (see named()).
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace velmora {

inline TextBox* makeBox(QWidget* parent, const QString& name, const QString& caption = QString(),
                        const QString& text = QString(), bool readOnly = false)
{
    auto* b = named(new TextBox(parent), name, caption);
    b->setText(text);
    b->setReadOnly(readOnly);
    return b;
}

inline ComboBox* makeList(QWidget* parent, const QString& name, const QString& caption = QString(),
                          const QString& tip = QString())
{
    auto* c = named(new ComboBox(parent), name, caption);
    if (!tip.isEmpty()) c->setToolTip(tip);
    return c;
}

inline QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    return named(new QLabel(text, parent), name, text);
}

inline QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                               const QString& tip = QString())
{
    auto* b = named(new QPushButton(caption, parent), name, caption);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

// Adds "caption  [widget]  [unit]" as one row of a grid.
// Returns the caption's label.
inline QLabel* addRow(QGridLayout* grid, int row, const QString& caption, QWidget* w, QWidget* unit = nullptr)
{
    auto* l = new QLabel(caption);
    l->setBuddy(w);
    grid->addWidget(l, row, 0);
    grid->addWidget(w, row, 1);
    if (unit) grid->addWidget(unit, row, 2);
    return l;
}

} // namespace velmora
