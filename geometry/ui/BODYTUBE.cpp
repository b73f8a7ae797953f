#include "geometry/ui/BODYTUBE.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"
#include "geometry/ui/GeoBody.h"

namespace velmora {

namespace {
QString qfmt(double v, const char* pattern) { return QString::fromStdString(Format(v, pattern)); }
}

BODYTUBE::BODYTUBE(Forms& forms) : Form(forms, "BODYTUBE", "Body Tube Geometry")
{
    auto* lay = new QVBoxLayout(this);
    Toolbar1 = named(new QToolBar(this), "Toolbar1", "Body toolbar");
    const char* keys[][2] = {{"HELP", "Velmora help."},
                             {"ABOUT", "About Velmora."},
                             {"PRINT", "Print screen image of body tube geometry."},
                             {"REFRESH", "Clear all body tube geometry."},
                             {"RETURN", "Return to MESHING and CFD analysis."}};
    for (auto& k : keys) {
        QAction* a = Toolbar1->addAction(k[0]);
        a->setObjectName(k[0]);
        a->setToolTip(k[1]);
    }
    lay->addWidget(Toolbar1);
    lay->addWidget(makeLabel(this, "Label8", "FREE-FORM AND STANDARD GEOMETRY DATA"));
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 6; ++i)
        LLABEL[static_cast<size_t>(i)] = makeBox(this, QStringLiteral("LLABEL%1").arg(i), "Length unit", QString(), true);
    NoseShape = makeList(this, "NoseShape", "Nose Cone Shape", "Nose cone shape.");
    NoseLength = makeBox(this, "NoseLength", "Nose Cone Length");
    BodyDiameter = makeBox(this, "BodyDiameter", "Nose Cone Diameter");
    BodyLength = makeBox(this, "BodyLength", "Body Tube Length");
    TUBELENGTH = makeBox(this, "TUBELENGTH", "Body Tube Length");
    BaseDiameter = makeBox(this, "BaseDiameter", "Transition Diameter");
    BaseLength = makeBox(this, "BaseLength", "Transition Length");
    BodyLength2 = makeBox(this, "BodyLength2", "Base Tube Length");
    ShapeControl = makeBox(this, "ShapeControl", "Nose Shape Index");
    ShapeLabel = makeLabel(this, "ShapeLabel", "Nose Shape Index");
    UpDown1 = named(new QSpinBox(this), "UpDown1", "Nose shape control");
    UpDown1->setRange(10, 200);
    UpDown1->setSingleStep(5);
    UpDown1->setValue(10);
    UpDown1->setToolTip("Nose shape control. Sears Haack when control = 2.");
    addRow(grid, 0, "Nose Cone Shape", NoseShape);
    addRow(grid, 1, "Nose Cone Length", NoseLength, LLABEL[1]);
    addRow(grid, 2, "Nose Cone Diameter", BodyDiameter, LLABEL[3]);
    addRow(grid, 3, "Body Tube Length", BodyLength, LLABEL[2]);
    grid->addWidget(TUBELENGTH, 3, 1);
    grid->addWidget(makeLabel(this, "Label6", "MORE STANDARD GEOMETRY DATA"), 4, 0, 1, 3);
    addRow(grid, 5, "Transition Diameter", BaseDiameter, LLABEL[4]);
    addRow(grid, 6, "Transition Length", BaseLength, LLABEL[5]);
    addRow(grid, 7, "Base Tube Length", BodyLength2, LLABEL[6]);
    grid->addWidget(ShapeLabel, 8, 0);
    grid->addWidget(ShapeControl, 8, 1);
    grid->addWidget(UpDown1, 8, 2);
    lay->addLayout(grid);
    auto* frame = named(new QGroupBox("Body Tube Geometry", this), "Frame1", "Body Tube Geometry");
    auto* fl = new QHBoxLayout(frame);
    GEOMETRY[0] = named(new QRadioButton("Standard Tube Geometry", frame), "GEOMETRY0", "Standard Tube Geometry");
    GEOMETRY[1] = named(new QRadioButton("Free-Form Tube Geometry", frame), "GEOMETRY1", "Free-Form Tube Geometry");
    GEOMETRY[0]->setChecked(true);
    FREEFORM = makeButton(frame, "FREEFORM", "Free-Form", "Click to define Free-Form shape.");
    fl->addWidget(GEOMETRY[0]);
    fl->addWidget(GEOMETRY[1]);
    fl->addWidget(FREEFORM);
    lay->addWidget(frame);
    MeshPlot = named(new PictureBox(this), "MeshPlot", "Rocket body outline");
    MeshPlot->setToolTip("Rocket body MESH, fins are MESHed separately.");
    MeshPlot->setMinimumSize(400, 200);
    lay->addWidget(MeshPlot, 1);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
    TUBELENGTH->hide();

    LLABEL[2]->onChange([this] { LLABEL2_Change(); });
}

QString BODYTUBE::missingDimensionPrompt() const
{
    const Module1& s = const_cast<BODYTUBE*>(this)->m();
    if (s.NoseConeLength == 0) return "Please enter nose cone length.";
    if (s.NoseConeDiameter == 0) return "Please enter nose cone diameter.";
    if (s.BodyTubeLength == 0) return "Please enter body tube length.";
    return QString();
}

void BODYTUBE::Form_Load()
{
    Module1& s = m();
    s.NoseShapeName = "CONICAL";
    NoseShape->setText("CONICAL");
    for (const char* item : {"CONICAL", "ELLIPTICAL", "PARABOLIC", "SEARS-HAACK", "TANGENT OGIVE"})
        NoseShape->AddItem(item);
    FREEFORM->setEnabled(false);
    StatusBar1->setPanel(1, s.ActiveBodyGeometry == 1 ? "Please enter data for Free-Form Tube Geometry."
                                                       : "Please enter data for Standard Body Tube Geometry.");
    StatusBar1->setPanel(2, missingDimensionPrompt());
    s.SearsHaackExponent = 1.0f;
    ShapeControl->setText(qfmt(s.SearsHaackExponent, "##.##"));
    ShapeControl->hide();
    UpDown1->hide();
    ShapeLabel->hide();
    if (s.ActiveBodyGeometry == 0) {
        BodyLength->show();
        TUBELENGTH->hide();
    } else if (s.ActiveBodyGeometry == 1) {
        s.BodyLengthAfterNose = s.BodyTubeLength + s.TransitionLength + s.BaseTubeLength;
        TUBELENGTH->setText(qfmt(s.BodyLengthAfterNose, "####.###"));
        BodyLength->setText(qfmt(s.BodyLengthAfterNose, "####.###"));
        BodyLength->hide();
        TUBELENGTH->show();
    }
}

void BODYTUBE::LLABEL2_Change()
{
    forms().get<GeoBody>().DLABEL->setText(LLABEL[2]->text());
}

} // namespace velmora
