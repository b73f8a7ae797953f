#include "bodyflow/ui/WindowWriter.h"

#include <QLineEdit>

#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/Format.h"
#include "platform/ui/PictureBox.h"
#include "stability/ui/StabilityWindows.h"

namespace velmora {

Form* windowByName(Forms& forms, const QString& window)
{
    if (window == "SOLVER") return &forms.get<SOLVER>();
    if (window == "PressureCenter") return &forms.get<PressureCenter>();
    if (window == "PlotResults") return &forms.get<PlotResults>();
    if (window == "PanelAero") return &forms.get<PanelAero>();
    if (window == "BODYTUBE") return &forms.get<BODYTUBE>();
    if (window == "FluidVariables") return &forms.get<FluidVariables>();
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

void applyWindowWrites(Forms& forms, const std::vector<WindowWrite>& writes)
{
    for (const WindowWrite& w : writes) {
        const QString full = QString::fromStdString(w.control);
        const int dot = full.indexOf('.');
        if (dot < 0) continue;
        Form* form = windowByName(forms, full.left(dot));
        if (!form) continue;
        QWidget* control = form->findChild<QWidget*>(full.mid(dot + 1));
        if (!control) continue;
        switch (w.action) {
        case WindowAction::ShowNumber:
            if (auto* box = qobject_cast<QLineEdit*>(control))
                box->setText(qFormat(w.value, w.pattern));
            break;
        case WindowAction::Empty:
            if (auto* box = qobject_cast<QLineEdit*>(control)) box->setText(QString());
            break;
        case WindowAction::ClearPicture:
            if (auto* pic = qobject_cast<PictureBox*>(control)) pic->clear();
            break;
        case WindowAction::Hide: control->hide(); break;
        case WindowAction::Show: control->show(); break;
        }
    }
}

} // namespace velmora
