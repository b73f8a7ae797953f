#include "geometry/ui/GeoBody.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"

namespace velmora {

GeoBody::GeoBody(Forms& forms) : Form(forms, "GeoBody", "Free-Form Body Geometry")
{
    auto* lay = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    NPTS = makeBox(this, "NPTS", "Number of points");
    DLABEL = makeLabel(this, "DLABEL", QString());
    SWIDTH = makeLabel(this, "SWIDTH", QString());
    SHEIGHT = makeLabel(this, "SHEIGHT", QString());
    row->addWidget(new QLabel("Points"));
    row->addWidget(NPTS);
    row->addWidget(SWIDTH);
    row->addWidget(SHEIGHT);
    row->addWidget(DLABEL);
    lay->addLayout(row);
    lay->addStretch(1);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
}

} // namespace velmora
