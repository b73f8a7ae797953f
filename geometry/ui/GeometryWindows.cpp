#include "geometry/ui/GeometryWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "finpanel/ui/FinPanelWindows.h"
#include "platform/Format.h"
#include "platform/ui/Build.h"

namespace velmora {

namespace {
QString qfmt(double v, const char* pattern) { return QString::fromStdString(Format(v, pattern)); }
}

// ---- body tube ----------------------------------------------------------------

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

// ---- free-form editor ---------------------------------------------------------

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

// ---- fins and launch lugs -----------------------------------------------------

FinAnalysis::FinAnalysis(Forms& forms) : Form(forms, "FinAnalysis", "Fin and Launch Lug Geometry")
{
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 9; ++i)
        LLABEL[static_cast<size_t>(i)] = makeBox(this, QStringLiteral("LLABEL%1").arg(i), "Length unit", QString(), true);
    NFINS = makeList(this, "NFINS", "Number of fins");
    struct Row { TextBox** box; const char* name; const char* caption; int unit; };
    const Row rows[] = {
        {&DTip, "DTip", "Fin tip distance from nose tip", 5},
        {&DRoot, "DRoot", "Fin root distance from nose tip", 6},
        {&TipChord, "TipChord", "Fin tip chord", 7},
        {&SpanLength, "SpanLength", "Fin span", 8},
        {&RootChord, "RootChord", "Fin root chord", 9},
        {&FINTHK, "FINTHK", "Fin thickness", 4},
        {&DLUGS, "DLUGS", "Launch lug length", 1},
        {&ODLUGS, "ODLUGS", "Launch lug outer diameter", 2},
        {&IDLUGS, "IDLUGS", "Launch lug inner diameter", 3},
    };
    addRow(grid, 0, "Number of fins", NFINS);
    int r = 1;
    for (const Row& row : rows) {
        *row.box = makeBox(this, row.name, row.caption);
        addRow(grid, r++, row.caption, *row.box, LLABEL[static_cast<size_t>(row.unit)]);
    }
    lay->addLayout(grid);
    const char* shapes[] = {"Triangle", "Rectangle", "Tapered", "Elliptical"};
    const char* edges[] = {"Square", "Round", "Streamlined", "Double Wedge"};
    const char* finishes[] = {"Unpainted", "Painted", "Waxed"};
    auto* opts = new QHBoxLayout;
    auto group = [&](const char* title, const char* name, const char* const* items, int n, QRadioButton** out) {
        auto* g = named(new QGroupBox(title, this), name, title);
        auto* gl = new QVBoxLayout(g);
        for (int i = 0; i < n; ++i) {
            out[i] = named(new QRadioButton(items[i], g), QStringLiteral("%1%2").arg(name).arg(i), items[i]);
            gl->addWidget(out[i]);
        }
        opts->addWidget(g);
    };
    group("Fin Shape", "FinShapes", shapes, 4, FinShapes.data());
    group("Fin Edges", "FinEdges", edges, 4, FinEdges.data());
    group("Fin Finish", "FinishType", finishes, 3, FinishType.data());
    lay->addLayout(opts);
    auto* pics = new QHBoxLayout;
    for (int i = 1; i <= 7; ++i) {
        Picture[static_cast<size_t>(i)] = named(new PictureBox(this), QStringLiteral("Picture%1").arg(i), "Fin sketch");
        Picture[static_cast<size_t>(i)]->setMinimumSize(60, 40);
        pics->addWidget(Picture[static_cast<size_t>(i)]);
    }
    lay->addLayout(pics);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
}

void FinAnalysis::Form_Load()
{
    Module1& s = m();
    s.FinPlanformCode = 3;
    s.FinEdgeCode = 3;
    s.SurfaceFinishCode = 2;
    s.FinCount = 3;
    NFINS->setText("3");
    for (int i = 3; i <= 8; ++i) NFINS->AddItem(QString::number(i));
    // Section sketches: square, round and double wedge hidden, streamlined shown.
    Picture[5]->hide();
    Picture[6]->hide();
    Picture[7]->show();
    forms().get<PanelAero>().SECTIONS->setText("STREAMLINED");
}

} // namespace velmora
