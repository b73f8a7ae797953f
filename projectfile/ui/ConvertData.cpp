#include "projectfile/ui/ConvertData.h"

#include <QVBoxLayout>

#include "platform/ui/Build.h"
#include "projectfile/ProjectFile.h"

namespace velmora {

const QString ConvertData::NoticeText = QStringLiteral(
    " WARNING: This file may have been created with a previous version of Velmora. An attempt will be made to "
    "convert it to the present format. If the conversion is successful and if you save this file, it will be saved "
    "in the current Velmora format. Previous versions of Velmora will not be able to read it. For safety, please "
    "change the name of this file when saving. Conversion to the present format will not be completely successful "
    "for data files created by Velmora prior to version 2.5.");

ConvertData::ConvertData(Forms& forms)
    : Form(forms, "ConvertData", "Data File Conversion From Previous Versions of Velmora")
{
    auto* lay = new QVBoxLayout(this);
    Text = makeLabel(this, "Text", NoticeText);
    Text->setWordWrap(true);
    Text->setMinimumWidth(420);
    lay->addWidget(Text);
    Accept = makeButton(this, "Accept", "Accept");
    Accept->setDefault(true);
    lay->addWidget(Accept, 0, Qt::AlignHCenter);
    // Wide enough for the window manager to show the whole title.
    setMinimumWidth(titleBarWidth(windowTitle()));
    onCommand(Accept, &QPushButton::clicked, this, [this] { Accept_Click(); });
    setCloseCommand([this] { Accept_Click(); });
}

void ConvertData::Form_Load() { projectfile::applyConversionDefaults(m()); }

void ConvertData::Accept_Click() { forms().unload<ConvertData>(); }

} // namespace velmora
