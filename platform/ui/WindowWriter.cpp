#include "platform/ui/WindowWriter.h"

#include <QLabel>
#include <QLineEdit>

#include <stdexcept>

#include "platform/Format.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

Form* windowByName(Forms& forms, const QString& window) { return forms.window(window); }

QWidget* resolveWindowWrite(Forms& forms, const WindowWrite& w)
{
    const ControlEntry* entry = findControl(w.control);
    Form* form = entry ? windowByName(forms, QString::fromLatin1(entry->window)) : nullptr;
    QWidget* control = form ? form->registeredControl(w.control) : nullptr;
    if (!control) return nullptr;
    switch (w.action) {
    case WindowAction::ShowNumber:
    case WindowAction::Empty: return qobject_cast<QLineEdit*>(control) ? control : nullptr;
    case WindowAction::ClearPicture: return qobject_cast<PictureBox*>(control) ? control : nullptr;
    case WindowAction::ShowText:
        return qobject_cast<QLineEdit*>(control) || qobject_cast<QLabel*>(control) ? control : nullptr;
    case WindowAction::SetPanel: {
        auto* bar = qobject_cast<StatusBar*>(control);
        return bar && bar->panelLabel(static_cast<int>(w.value)) ? control : nullptr;
    }
    case WindowAction::Hide:
    case WindowAction::Show: return control;
    }
    return nullptr;
}

namespace {
// Writing the text a box already shows changes nothing and runs no handler.
void setBoxText(QLineEdit* box, const QString& text)
{
    if (auto* typed = qobject_cast<TextBox*>(box)) return typed->setText(text);
    if (box->text() != text) box->setText(text);
}
} // namespace

void applyWindowWrites(Forms& forms, const std::vector<WindowWrite>& writes)
{
    for (const WindowWrite& w : writes) {
        QWidget* control = resolveWindowWrite(forms, w);
        // A computation names a control its window does not have: a fault
        // of ours, never passed over.
        if (!control) throw std::logic_error("no control for the write to " + controlName(w.control));
        switch (w.action) {
        case WindowAction::ShowNumber: setBoxText(static_cast<QLineEdit*>(control), qFormat(w.value, w.pattern)); break;
        case WindowAction::Empty: setBoxText(static_cast<QLineEdit*>(control), QString()); break;
        case WindowAction::ClearPicture: static_cast<PictureBox*>(control)->clear(); break;
        case WindowAction::Hide: control->hide(); break;
        case WindowAction::Show: control->show(); break;
        case WindowAction::ShowText:
            if (auto* box = qobject_cast<QLineEdit*>(control)) setBoxText(box, QString::fromStdString(w.text));
            else static_cast<QLabel*>(control)->setText(QString::fromStdString(w.text));
            break;
        case WindowAction::SetPanel:
            static_cast<StatusBar*>(control)->setPanel(static_cast<int>(w.value), QString::fromStdString(w.text));
            break;
        }
    }
}

} // namespace velmora
