#include "geometry/ui/BODYTUBE.h"

#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <cmath>

#include "model/InputRange.h"
#include "model/Units.h"
#include "model/Vocabulary.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "bodyflow/Grid.h"
#include "geometry/ui/GeoBody.h"
#include "geometry/ui/LengthUnitBoxes.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "platform/ui/Build.h"

namespace velmora {

namespace {
const QString kEnterStandard = QStringLiteral("Please enter data for Standard Body Tube Geometry.");
const QString kEnterFreeForm = QStringLiteral("Please enter data for Free-Form Body Tube Geometry.");
const QString kMayModifyStandard = QStringLiteral("User may modify Standard Geometry or perform CFD.");
const QString kMayModifyFreeForm = QStringLiteral("User may perform CFD or modify Free-Form geometry.");
} // namespace

BODYTUBE::BODYTUBE(Forms& forms) : Form(forms, "BODYTUBE", "Body Tube Geometry")
{
    auto* lay = new QVBoxLayout(this);
    buildToolbar(this, lay, "Body toolbar",
                 {kVelmoraHelpKey, kAboutKey,
                  {"PRINT", "Print screen image of body tube geometry."},
                  {"REFRESH", "Clear all body tube geometry."},
                  kReturnToMainKey},
                 toolbarIcon);

    Label8 = makeLabel(this, "Label8", "FREE-FORM AND STANDARD GEOMETRY DATA");
    lay->addWidget(Label8);
    makeLengthUnitBoxes(this, LLABEL);

    auto* grid = new QGridLayout;
    auto row = [grid](int r, QLabel* label, QWidget* box, QWidget* unit) {
        label->setBuddy(box);
        grid->addWidget(label, r, 0);
        grid->addWidget(box, r, 1);
        if (unit) grid->addWidget(unit, r, 2);
    };
    NoseShape = makeList(this, "NoseShape", "Nose Cone Shape", "Nose cone shape.");
    NoseShape->setPickOnly(true);
    Label2 = makeLabel(this, "Label2", "Nose Cone Shape");
    row(0, Label2, NoseShape, nullptr);
    // A dimension: its box, its caption and its length unit on row r.
    auto dimension = [&](int r, TextBox*& box, const char* name, QLabel*& label, const char* labelName,
                         const char* caption, int unit) {
        box = makeBox(this, name, caption);
        label = makeLabel(this, labelName, caption);
        row(r, label, box, LLABEL[static_cast<size_t>(unit)]);
    };
    dimension(1, NoseLength, "NoseLength", Label4, "Label4", "Nose Cone Length", 1);
    dimension(2, BodyDiameter, "BodyDiameter", Label7, "Label7", "Nose Cone Diameter", 3);
    dimension(3, BodyLength, "BodyLength", Label5, "Label5", "Body Tube Length", 2);
    TUBELENGTH = makeBox(this, "TUBELENGTH", "Body Tube Length");
    grid->addWidget(TUBELENGTH, 3, 1); // in the place of BodyLength
    Label6 = makeLabel(this, "Label6", "MORE STANDARD GEOMETRY DATA");
    grid->addWidget(Label6, 4, 0, 1, 3);
    dimension(5, BaseDiameter, "BaseDiameter", Label20, "Label20", "Transition Diameter", 4);
    dimension(6, BaseLength, "BaseLength", Label21, "Label21", "Transition Length", 5);
    dimension(7, BodyLength2, "BodyLength2", Label19, "Label19", "Base Tube Length", 6);
    ShapeControl = makeBox(this, "ShapeControl", "Nose Shape Index");
    ShapeLabel = makeLabel(this, "ShapeLabel", "Nose Shape Index");
    fitToPattern(ShapeControl, "##.##");
    for (TextBox* b : {BodyLength, TUBELENGTH}) fitToPattern(b, "####.###");
    UpDown1 = makeArrows(this, "UpDown1", "Nose shape control", 10, 200, 5, 10);
    UpDown1->setToolTip("Nose shape control. Sears Haack when control = 2.");
    row(8, ShapeLabel, ShapeControl, UpDown1);

    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    Picture6 = named(new PictureBox(this), "Picture6", "Standard Geometry Definitions");
    Picture6->setFixedSize(380, 170);
    top->addWidget(Picture6, 0, Qt::AlignTop);
    // The boxes keep the width they need in a wide window.
    top->addStretch(1);
    lay->addLayout(top);

    Frame1 = named(new QGroupBox("Body Tube Geometry", this), "Frame1", "Body Tube Geometry");
    auto* fl = new QHBoxLayout(Frame1);
    makeOptions(GEOMETRY, Frame1, "GEOMETRY", {"Standard Tube Geometry", "Free-Form Tube Geometry"});
    GEOMETRY[0]->setChecked(true);
    FREEFORM = makeButton(Frame1, "FREEFORM", "Free-Form", "Click to define Free-Form shape.");
    fl->addWidget(GEOMETRY[0]);
    fl->addWidget(GEOMETRY[1]);
    fl->addWidget(FREEFORM);
    lay->addWidget(Frame1);

    MeshPlot = named(new PictureBox(this), "MeshPlot", "Rocket body outline");
    MeshPlot->setToolTip("Rocket body MESH, fins are MESHed separately.");
    MeshPlot->setMinimumSize(500, 250);
    // The outline's scale draws true radii on a picture twice as wide as high.
    MeshPlot->setHeightForWidthRatio(0.5);
    lay->addLayout(new PlotLayout(MeshPlot), 1);
    buildStatusBar(this, *this, 2, lay);
    TUBELENGTH->hide();
    drawDefinitionsSketch();

    NoseLength->onChange([this] { NoseLength_Change(); });
    BodyDiameter->onChange([this] { BodyDiameter_Change(); });
    BodyLength->onChange([this] { BodyLength_Change(); });
    BaseDiameter->onChange([this] { BaseDiameter_Change(); });
    BaseLength->onChange([this] { BaseLength_Change(); });
    BodyLength2->onChange([this] { BodyLength2_Change(); });
    TUBELENGTH->onChange([this] { TUBELENGTH_Change(); });
    LLABEL[2]->onChange([this] { LLABEL2_Change(); });
    NoseShape->onClick([this] { NoseShape_Click(); });
    // The project file saves the text shown.
    NoseShape->onTextChanged([this](const QString& t) { m().NoseShapeText = t.toStdString(); });
    onCommand(UpDown1, &QSpinBox::valueChanged, this, [this] { UpDown1_Change(); });
    onOptionOn(GEOMETRY, this, "GEOMETRY", [this](int i) { GEOMETRY_Click(i); });
    onCommand(FREEFORM, &QPushButton::clicked, this, [this] { FREEFORM_Click(); });
}

// The fixed sketch naming the dimensions of the standard body.
void BODYTUBE::drawDefinitionsSketch()
{
    PictureBox* p = Picture6;
    const QRgb ink = PictureBox::kForeground;
    const QRgb dim = PictureBox::qbColor(9);
    p->setScale(0, 100, 250, 0);
    p->text(50, 99, "Standard Geometry Definitions");
    // Body: nose tip at (10, 50), tube radius 14, transition to radius 9.
    const double yc = 50, r = 14, rt = 9;
    const double xn = 10, x1 = 70, x2 = 150, x3 = 180, x4 = 235;
    p->line(xn, yc, x1, yc + r, ink);
    p->line(xn, yc, x1, yc - r, ink);
    p->line(x1, yc + r, x2, yc + r, ink);
    p->line(x1, yc - r, x2, yc - r, ink);
    p->line(x1, yc + r, x1, yc - r, ink);
    p->line(x2, yc + r, x3, yc + rt, ink);
    p->line(x2, yc - r, x3, yc - rt, ink);
    p->line(x2, yc + r, x2, yc - r, ink);
    p->line(x3, yc + rt, x4, yc + rt, ink);
    p->line(x3, yc - rt, x4, yc - rt, ink);
    p->line(x3, yc + rt, x3, yc - rt, ink);
    p->line(x4, yc + rt, x4, yc - rt, ink);
    p->text(22, 80, "Nose Cone");
    p->text(95, 80, "Body Tube");
    p->text(148, 80, "Transition");
    p->text(200, 72, "BaseTube");
    // Lengths below the body.
    auto length = [&](double a, double b, double y, const QString& label) {
        p->line(a, y, b, y, dim);
        p->line(a, y - 3, a, y + 3, dim);
        p->line(b, y - 3, b, y + 3, dim);
        p->text(a + 2, y - 3, label);
    };
    length(xn, x1, 25, "L-nose");
    length(x1, x2, 25, "L-body");
    length(x2, x3, 12, "L-transition");
    length(x3, x4, 25, "L-base");
    // Diameters.
    p->line(x1 + 4, yc - r, x1 + 4, yc + r, dim);
    p->text(x1 + 6, yc + 6, "D-Nose");
    p->line(x3 + 4, yc - rt, x3 + 4, yc + rt, dim);
    p->text(x3 + 6, yc + 5, "D-transition");
}

void BODYTUBE::Form_Load()
{
    Module1& s = m();
    s.NoseShapeName = "CONICAL";
    NoseShape->setText("CONICAL");
    for (const char* item : {"CONICAL", "ELLIPTICAL", "PARABOLIC", "SEARS-HAACK", "TANGENT OGIVE"})
        NoseShape->AddItem(item);
    FREEFORM->setEnabled(false);
    if (s.ActiveBodyGeometry == StandardBody) StatusBar1->setPanel(1, kEnterStandard);
    else if (s.ActiveBodyGeometry == FreeFormBody) StatusBar1->setPanel(1, "Please enter data for Free-Form Tube Geometry.");
    StatusBar1->setPanel(2, missingDimensionPrompt());
    s.SearsHaackExponent = 1.0f;
    ShapeControl->setText(qFormat(s.SearsHaackExponent, "##.##"));
    setShapeControlVisible(false);
    if (s.ActiveBodyGeometry == StandardBody) {
        BodyLength->show();
        TUBELENGTH->hide();
    } else if (s.ActiveBodyGeometry == FreeFormBody) {
        s.BodyLengthAfterNose = s.BodyTubeLength + s.TransitionLength + s.BaseTubeLength;
        TUBELENGTH->setText(qFormat(s.BodyLengthAfterNose, "####.###"));
        BodyLength->setText(qFormat(s.BodyLengthAfterNose, "####.###"));
        BodyLength->hide();
        TUBELENGTH->show();
    }
}

// ---- helpers -------------------------------------------------------------------

bool BODYTUBE::mainDimensionsEntered() const
{
    const Module1& s = const_cast<BODYTUBE*>(this)->m();
    return s.NoseConeLength != 0 && s.BodyTubeLength != 0 && s.NoseConeDiameter != 0;
}

QString BODYTUBE::missingDimensionPrompt() const
{
    const Module1& s = const_cast<BODYTUBE*>(this)->m();
    const char* missing = missingMainDimension(s);
    return missing ? QString(missing) : QString();
}

void BODYTUBE::dimensionPrompt()
{
    // Entered but not meshable (a negative length, say): the grid's reason,
    // and no invitation to solve.
    const char* refused = mainDimensionsEntered() ? gridRefusal(m()) : nullptr;
    showingGridRefusal_ = refused != nullptr;
    if (refused) {
        StatusBar1->setPanel(1, QString());
        StatusBar1->setPanel(2, refused);
        return;
    }
    // The invitation of the layout shown.
    if (mainDimensionsEntered())
        StatusBar1->setPanel(1, GEOMETRY[1]->isChecked() ? kMayModifyFreeForm : kMayModifyStandard);
    StatusBar1->setPanel(2, missingDimensionPrompt());
}

void BODYTUBE::setStandardFieldsVisible(bool visible, bool withHeading)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BaseDiameter, BaseLength, BodyLength2, LLABEL[4], LLABEL[5],
                                                      LLABEL[6], Label19, Label20, Label21})
        w->setVisible(visible);
    if (withHeading) Label6->setVisible(visible);
}

void BODYTUBE::setShapeControlVisible(bool visible)
{
    ShapeControl->setVisible(visible);
    UpDown1->setVisible(visible);
    ShapeLabel->setVisible(visible);
}

void BODYTUBE::DRAWBODY(double& velocity)
{
    if (!mainDimensionsEntered()) {
        StatusBar1->setPanel(1, "Please enter more body tube data");
        return;
    }
    forms().main().NEWFINS(velocity);
}

void BODYTUBE::applyGeometryLayout()
{
    const int16_t mode = m().ActiveBodyGeometry;
    if (mode != StandardBody && mode != FreeFormBody) return;
    const bool standard = mode == StandardBody;
    BodyLength->setEnabled(true);
    setStandardFieldsVisible(standard, true);
    FREEFORM->setEnabled(!standard);
    GEOMETRY[standard ? 0 : 1]->setChecked(true);
}

// ---- dimension boxes --------------------------------------------------------------

// Every dimension box stores its number, invalidates the results and
// redraws; the three main dimensions also return the body to the standard
// layout and prompt for what is still missing.
void BODYTUBE::dimensionEdited(double& target, const TextBox* box, bool mainDimension, const char* name)
{
    Module1& s = m();
    target = typedValue(s, name, box->Text().toStdString());
    forms().main().ClearData(s.FreeStreamVelocity);
    if (mainDimension) s.ActiveBodyGeometry = StandardBody;
    DRAWBODY(s.FreeStreamVelocity);
    if (mainDimension || showingGridRefusal_ || (mainDimensionsEntered() && gridRefusal(s))) dimensionPrompt();
}

void BODYTUBE::NoseLength_Change() { dimensionEdited(m().NoseConeLength, NoseLength, true, InputName::NoseConeLength); }
void BODYTUBE::BodyDiameter_Change()
{
    dimensionEdited(m().NoseConeDiameter, BodyDiameter, true, InputName::NoseConeDiameter);
}
void BODYTUBE::BodyLength_Change() { dimensionEdited(m().BodyTubeLength, BodyLength, true, InputName::BodyTubeLength); }
void BODYTUBE::BaseDiameter_Change()
{
    dimensionEdited(m().TransitionDiameter, BaseDiameter, false, InputName::TransitionDiameter);
}
void BODYTUBE::BaseLength_Change()
{
    dimensionEdited(m().TransitionLength, BaseLength, false, InputName::TransitionLength);
}
void BODYTUBE::BodyLength2_Change()
{
    dimensionEdited(m().BaseTubeLength, BodyLength2, false, InputName::BaseTubeLength);
}

void BODYTUBE::TUBELENGTH_Change()
{
    Module1& s = m();
    s.BodyLengthAfterNose = typedValue(s, InputName::LengthAfterNose, TUBELENGTH->Text().toStdString());
    s.ActiveBodyGeometry = StandardBody;
    // The whole tube behind the nose becomes one body tube.
    BodyLength->setText(qFormat(s.BodyLengthAfterNose, "####.###"));
    s.BodyTubeLength = s.BodyLengthAfterNose;
    s.TransitionLength = 0;
    s.BaseTubeLength = 0;
    BaseDiameter->setText(QString());
    BaseLength->setText(QString());
    BodyLength2->setText(QString());
    forms().main().ClearData(s.FreeStreamVelocity);
    DRAWBODY(s.FreeStreamVelocity);
    dimensionPrompt();
}

// ---- nose shape -----------------------------------------------------------------

void BODYTUBE::remeshNose()
{
    Module1& s = m();
    WaitCursor wait;
    MainWindow& main = forms().main();
    main.CdFnMn(s.FreeStreamVelocity);
    main.ClearData(s.FreeStreamVelocity);
    main.Mesh(s.FreeStreamVelocity);
    DRAWBODY(s.FreeStreamVelocity);
}

void BODYTUBE::NoseShape_Click()
{
    Module1& s = m();
    const QString shape = NoseShape->Text();
    if (shape == NoseConeShape::Conical || shape == NoseConeShape::TangentOgive ||
        shape == NoseConeShape::Elliptical || shape == NoseConeShape::Parabolic) {
        s.NoseShapeName = shape.toStdString();
        setShapeControlVisible(false);
    } else if (shape == NoseConeShape::SearsHaack) {
        s.NoseShapeName = shape.toStdString();
        setShapeControlVisible(true);
    }
    StatusBar1->setPanel(2, missingDimensionPrompt());
    remeshNose();
}

void BODYTUBE::UpDown1_Change()
{
    if (NoseShape->Text() != NoseConeShape::SearsHaack) return;
    Module1& s = m();
    s.SearsHaackExponent = singleOrZero(UpDown1->value() * 0.1);
    ShapeControl->setText(qFormat(s.SearsHaackExponent, "##.##"));
    if (!mainDimensionsEntered()) {
        StatusBar1->setPanel(2, "Please enter rocket dimensions for Sears-HAACK analysis.");
        ShapeControl->setText(qFormat(s.SearsHaackExponent, ""));
        return;
    }
    remeshNose();
}

// ---- layout options -----------------------------------------------------------------

void BODYTUBE::GEOMETRY_Click(int Index)
{
    Module1& s = m();
    MainWindow& main = forms().main();
    if (Index == 1) {
        BodyLength->hide();
        TUBELENGTH->show();
        setStandardFieldsVisible(false, true);
        FREEFORM->setEnabled(true);
        StatusBar1->setPanel(1, mainDimensionsEntered() ? QStringLiteral("User may modify Free-Form Geometry or perform CFD.")
                                                        : kEnterFreeForm);
        main.ClearData(s.FreeStreamVelocity);
        DRAWBODY(s.FreeStreamVelocity);
        s.BodyLengthAfterNose = s.BodyTubeLength + s.TransitionLength + s.BaseTubeLength;
        TUBELENGTH->setText(qFormat(s.BodyLengthAfterNose, "####.###"));
    } else if (Index == 0) {
        StatusBar1->setPanel(1, mainDimensionsEntered() ? kMayModifyStandard : kEnterStandard);
        s.ActiveBodyGeometry = StandardBody;
        BodyLength->show();
        TUBELENGTH->hide();
        setStandardFieldsVisible(true, true);
        FREEFORM->setEnabled(false);
        main.ClearData(s.FreeStreamVelocity);
        DRAWBODY(s.FreeStreamVelocity);
    }
}

// ---- free-form editor -------------------------------------------------------------------

void BODYTUBE::FREEFORM_Click()
{
    Module1& s = m();
    if (!mainDimensionsEntered()) {
        StatusBar1->setPanel(1, kEnterFreeForm);
        return;
    }
    GeoBody& editor = forms().get<GeoBody>();
    s.FreeFormGridOn = 1; // the editor draws its ruler lines
    editor.NPTS->setText(QString::number(s.FreeFormPointCount));
    if (s.MeshAxialNodeCount == 0) s.MeshAxialNodeCount = 20;
    s.NoseTipX = 2 * (s.NoseConeLength + s.BodyTubeLength) / (s.MeshAxialNodeCount - 3);
    // Both axes of the editor span the free-form tube length.
    editor.SHEIGHT->setText(qFormat(s.BodyLengthAfterNose, "#####.##"));
    editor.SWIDTH->setText(qFormat(s.BodyLengthAfterNose, "#####.##"));
    s.FreeFormScreenWidth = singleOrZero(editor.drawingWidthTwips());
    if (const auto h = toInt16(editor.drawingHeightTwips())) s.FreeFormScreenHeight = *h;
    editor.PLOTLINES(s.FreeFormPointCount);
    forms().showModal<GeoBody>();
    if (forms().isLoaded<GeoBody>()) forms().get<GeoBody>().setCursor(Qt::CrossCursor);
}

void BODYTUBE::LLABEL2_Change()
{
    forms().whenLoaded<GeoBody>([text = LLABEL[2]->text()](GeoBody& editor) { editor.DLABEL->setText(text); });
}

// ---- toolbar ------------------------------------------------------------------------------

void BODYTUBE::printWindow()
{
    printWithPictures(this, StatusBar1, {MeshPlot});
}

void BODYTUBE::Toolbar1_ButtonClick(const QString& Key)
{
    Module1& s = m();
    MainWindow& main = forms().main();
    if (Key == "HELP") {
        forms().showModal("VelmoraHelp");
    } else if (Key == "ABOUT") {
        forms().showModal("AboutVelmora");
    } else if (Key == "PRINT") {
        printWindow();
    } else if (Key == "REFRESH") {
        s.NoseShapeName = "CONICAL";
        NoseShape->setText("CONICAL");
        setShapeControlVisible(false);
        for (TextBox* b : {NoseLength, BodyDiameter, BodyLength, BaseDiameter, BaseLength, BodyLength2, ShapeControl})
            b->setText(QString());
        MeshPlot->clear();
        GEOMETRY[0]->setChecked(true);
        BodyLength->setEnabled(true);
        setStandardFieldsVisible(true, false);
        FREEFORM->setEnabled(false);
        s.ActiveBodyGeometry = StandardBody;
        main.ClearData(s.FreeStreamVelocity);
        DRAWBODY(s.FreeStreamVelocity);
    } else if (Key == "RETURN") {
        main.NEWFINS(s.FreeStreamVelocity);
        Hide();
        // A body the grid refuses is not defined: the outline's "MESHING not
        // complete." stands beside the reason.
        if (!mainDimensionsEntered()) main.StatusBar1->setPanel(1, "Please enter all body tube dimensions.");
        else if (!gridRefusal(s)) main.StatusBar1->setPanel(1, "Body tube geometry is defined.");
    }
}
} // namespace velmora
