#pragma once
// The notice shown when a project file ends early but starts with a flow
// model: a file of an older layout. Loading it sets the defaults such a file
// does not carry; Accept (or closing it) unloads it.
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "platform/ui/Forms.h"

namespace velmora {

class ConvertData : public Form {
    Q_OBJECT
public:
    explicit ConvertData(Forms& forms);
    // Mesh 20, a standard body and four free-form points at 0.
    void Form_Load() override;
    void Accept_Click();

    // The notice, word for word (487 characters, starting with a blank).
    static const QString NoticeText;

    QLabel* Text = nullptr;
    QPushButton* Accept = nullptr;
};

} // namespace velmora
