#include "platform/ui/WindowWriter.h"

#include <QLabel>
#include <QLineEdit>

#include <stdexcept>

#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/Format.h"
#include "platform/ui/PictureBox.h"
#include "sweep/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"

namespace velmora {

Form* windowByName(Forms& forms, const QString& window)
{
    if (window == "SOLVER") return &forms.get<SOLVER>();
    if (window == "PressureCenter") return &forms.get<PressureCenter>();
    if (window == "PlotResults") return &forms.get<PlotResults>();
    if (window == "PanelAero") return &forms.get<PanelAero>();
    if (window == "BODYTUBE") return &forms.get<BODYTUBE>();
    if (window == "FluidVariables") return &forms.get<FluidVariables>();
    if (window == "NavierStokes") return &forms.get<NavierStokes>();
    if (window == "ITERATION") return &forms.get<ITERATION>();
    return nullptr;
}

GridEffectHandler gridEffectsOn(Forms& forms)
{
    return [&forms](GridEffect e) {
        switch (e) {
        case GridEffect::HideMainNoMeshOverlay: forms.get<SOLVER>().NoMeshDefined->hide(); break;
        case GridEffect::EmptyBaseTubeLengthBox: forms.get<BODYTUBE>().BodyLength2->setText(QString()); break;
        }
    };
}

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
            if (auto* box = qobject_cast<QLineEdit*>(control)) box->setText(QString::fromStdString(w.text));
            else static_cast<QLabel*>(control)->setText(QString::fromStdString(w.text));
            break;
        case WindowAction::SetPanel:
            static_cast<StatusBar*>(control)->setPanel(static_cast<int>(w.value), QString::fromStdString(w.text));
            break;
        }
    }
}

} // namespace velmora
