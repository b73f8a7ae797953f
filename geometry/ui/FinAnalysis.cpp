#include "geometry/ui/FinAnalysis.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <exception>
#include <tuple>

#include "model/InputRange.h"
#include "platform/ui/Artwork.h"
#include "platform/ui/MainWindow.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/FinGeometry.h"
#include "geometry/ui/LengthUnitBoxes.h"
#include "geometry/Outline.h"
#include "model/Units.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "platform/Constants.h"
#include "platform/ui/Build.h"

namespace velmora {

namespace {
// Sketch ink: the shape in black, dimension lines in blue.
const QRgb kInk = PictureBox::kForeground;
QRgb dimColour() { return PictureBox::qbColor(1); }

void dimensionH(PictureBox* p, double x1, double x2, double y, const QString& label)
{
    p->line(x1, y, x2, y, dimColour());
    p->line(x1, y - 2, x1, y + 2, dimColour());
    p->line(x2, y - 2, x2, y + 2, dimColour());
    if (!label.isEmpty()) p->text((x1 + x2) / 2 - p->textWidth(label) / 2, y + 1 + p->textHeight(label), label);
}

void dimensionV(PictureBox* p, double x, double y1, double y2, const QString& label)
{
    p->line(x, y1, x, y2, dimColour());
    p->line(x - 2, y1, x + 2, y1, dimColour());
    p->line(x - 2, y2, x + 2, y2, dimColour());
    if (!label.isEmpty()) p->text(x + 2, (y1 + y2) / 2 + p->textHeight(label) / 2, label);
}
} // namespace

FinAnalysis::FinAnalysis(Forms& forms) : Form(forms, "FinAnalysis", "Fin and Launch Lug Geometry")
{
    auto* lay = new QVBoxLayout(this);

    mnuAboutVelmora = buildWindowMenus(this, lay, &FinAnalysis::mnuAboutVelmora_Click);
    buildToolbar(this, lay, "Fin toolbar",
                 {kHelpKey, kAboutKey,
                  {"PANAERO", "Panel method fin aerodynamics (Optional)."},
                  kReturnToMainKey},
                 toolbarIcon);

    makeLengthUnitBoxes(this, LLABEL);

    // Fin count, planform, edges, finish.
    auto* options = new QHBoxLayout;
    Frame1 = named(new QGroupBox("Number of Fins", this), "Frame1", "Number of Fins");
    auto* f1 = new QVBoxLayout(Frame1);
    NFINS = makeList(Frame1, "NFINS", "Number of Fins");
    NFINS->setPickOnly(true);
    ClearData = makeButton(Frame1, "ClearData", "Clear");
    f1->addWidget(NFINS);
    f1->addWidget(ClearData);
    options->addWidget(Frame1);
    auto group = [&](const char* title, const char* name, const char* tip) {
        auto* g = named(new QGroupBox(title, this), name, title);
        g->setToolTip(tip);
        new QVBoxLayout(g);
        options->addWidget(g);
        return g;
    };
    auto option = [](QGroupBox* g, const char* array, int index, const char* caption) {
        auto* b = named(new QRadioButton(caption, g), QStringLiteral("%1%2").arg(array).arg(index), caption);
        g->layout()->addWidget(b);
        return b;
    };
    Fins = group("Fin Planform Shapes", "Fins", "Select Fin Planform Shape.");
    const char* shapes[] = {"Triangle", "Rectangle", "Tapered", "Elliptical"};
    for (int i = 0; i < 4; ++i) FinShapes[static_cast<size_t>(i)] = option(Fins, "FinShapes", i, shapes[i]);
    Edges = group("Airfoil Sections", "Edges", "Select Fin Drag shape.");
    const char* edges[][2] = {
        {"Square", "Square Drag Shape - Flat Plate \"Panel Method\" Shape."},
        {"Round", "Round Drag Shape - Streamlined \"Panel Method\" Shape."},
        {"Streamlined", "Streamlined Drag Shape - Streamlined \"Panel Method\" Shape."},
        {"D'Wedge", "Streamlined Drag Shape - D'Wedge \"Panel Method\" Shape."}};
    for (int i = 0; i < 4; ++i) {
        FinEdges[static_cast<size_t>(i)] = option(Edges, "FinEdges", i, edges[i][0]);
        FinEdges[static_cast<size_t>(i)]->setToolTip(edges[i][1]);
    }
    Finishes = group("Surface Finish", "Finishes", "Select Body/Fin Surface Finish.");
    const char* finishes[] = {"None (unpainted)", "Good (painted)", "Excellent (waxed)"};
    for (int i = 0; i < 3; ++i) FinishType[static_cast<size_t>(i)] = option(Finishes, "FinishType", i, finishes[i]);
    FinShapes[2]->setChecked(true);
    FinEdges[2]->setChecked(true);
    FinishType[1]->setChecked(true);
    lay->addLayout(options);

    // Planform sketch with its dimension boxes beside it.
    for (int i = 1; i <= 9; ++i)
        Picture[static_cast<size_t>(i)] = named(new PictureBox(this), QStringLiteral("Picture%1").arg(i), "Fin sketch");
    auto* plan = new QGridLayout;
    Picture[8]->setFixedSize(70, 150);
    plan->addWidget(Picture[8], 0, 0);
    for (int i : {1, 2, 3, 4}) {
        Picture[static_cast<size_t>(i)]->setFixedSize(240, 150);
        plan->addWidget(Picture[static_cast<size_t>(i)], 0, 1); // one place, one shown
    }
    auto* boxes = new QGridLayout;
    struct Row { TextBox** box; const char* name; const char* caption; int unit; };
    const Row rows[] = {
        {&DTip, "DTip", "Tip Distance", 5},       {&DRoot, "DRoot", "Root Distance", 6},
        {&TipChord, "TipChord", "Tip Chord", 7},  {&SpanLength, "SpanLength", "Span", 8},
        {&RootChord, "RootChord", "Root Chord", 9}, {&FINTHK, "FINTHK", "Thickness", 4},
    };
    int r = 0;
    for (const Row& row : rows) {
        *row.box = makeBox(this, row.name, row.caption);
        QLabel* caption = makeLabel(this, QStringLiteral("%1Caption").arg(row.name), row.caption);
        caption->setBuddy(*row.box);
        boxes->addWidget(caption, r, 0);
        boxes->addWidget(*row.box, r, 1);
        boxes->addWidget(LLABEL[static_cast<size_t>(row.unit)], r, 2);
        ++r;
        if (*row.box == DRoot) dRootCaption_ = caption;
        if (*row.box == TipChord) tipChordCaption_ = caption;
    }
    plan->addLayout(boxes, 0, 2);
    lay->addLayout(plan);

    // Section sketch and launch lugs.
    auto* bottom = new QHBoxLayout;
    auto* sections = new QGridLayout;
    for (int i : {5, 6, 7, 9}) {
        Picture[static_cast<size_t>(i)]->setFixedSize(220, 70);
        sections->addWidget(Picture[static_cast<size_t>(i)], 0, 0);
    }
    bottom->addLayout(sections);
    LaunchLugs = named(new QGroupBox("Launch Lug(s)", this), "LaunchLugs", "Launch Lug(s)");
    LaunchLugs->setToolTip("Define Launch Lug Dimensions.");
    auto* lg = new QGridLayout(LaunchLugs);
    Label2 = makeLabel(LaunchLugs, "Label2", "Total Length :");
    Label3 = makeLabel(LaunchLugs, "Label3", "Outside Diameter :");
    Label4 = makeLabel(LaunchLugs, "Label4", "Inside Diameter :");
    DLUGS = makeBox(LaunchLugs, "DLUGS", "Total Length :");
    ODLUGS = makeBox(LaunchLugs, "ODLUGS", "Outside Diameter :");
    IDLUGS = makeBox(LaunchLugs, "IDLUGS", "Inside Diameter :");
    for (TextBox* b : {DLUGS, ODLUGS, IDLUGS}) b->setMinimumWidth(80);
    int lr = 0;
    for (auto [label, box, unit] : {std::tuple{Label2, DLUGS, 1}, std::tuple{Label3, ODLUGS, 2},
                                    std::tuple{Label4, IDLUGS, 3}}) {
        label->setBuddy(box);
        lg->addWidget(label, lr, 0);
        lg->addWidget(box, lr, 1);
        lg->addWidget(LLABEL[static_cast<size_t>(unit)], lr, 2);
        ++lr;
    }
    Label6 = makeLabel(LaunchLugs, "Label6", "Launch Lug Cross-Section");
    Label5 = makeLabel(LaunchLugs, "Label5", "O.D.");
    Label1 = makeLabel(LaunchLugs, "Label1", "I.D.");
    LugSketch = named(new PictureBox(LaunchLugs), "LugSketch", "Launch Lug Cross-Section");
    LugSketch->setFixedSize(70, 70);
    lg->addWidget(Label6, 0, 3, 1, 2);
    lg->addWidget(LugSketch, 1, 3, 2, 1);
    lg->addWidget(Label5, 1, 4);
    lg->addWidget(Label1, 2, 4);
    bottom->addWidget(LaunchLugs);
    lay->addLayout(bottom);

    buildStatusBar(this, *this, 2, lay);
    drawSketches();
    showOnly({1, 2, 3, 4}, 3);

    // Handlers.
    RootChord->onChange([this] { RootChord_Change(); });
    SpanLength->onChange([this] { SpanLength_Change(); });
    FINTHK->onChange([this] { FINTHK_Change(); });
    DTip->onChange([this] { DTip_Change(); });
    DRoot->onChange([this] { DRoot_Change(); });
    TipChord->onChange([this] { TipChord_Change(); });
    DLUGS->onChange([this] { DLUGS_Change(); });
    ODLUGS->onChange([this] { ODLUGS_Change(); });
    IDLUGS->onChange([this] { IDLUGS_Change(); });
    NFINS->onClick([this] { NFINS_Click(); });
    onCommand(ClearData, &QPushButton::clicked, this, [this] { ClearData_Click(); });
    onOptionOn(FinShapes, this, "FinShapes", [this](int i) { FinShapes_Click(i); });
    onOptionOn(FinEdges, this, "FinEdges", [this](int i) { FinEdges_Click(i); });
    onOptionOn(FinishType, this, "FinishType", [this](int i) { FinishType_Click(i); });
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
    showOnly({5, 6, 7, 9}, 7);
    forms().get<PanelAero>().SECTIONS->setText("STREAMLINED");
}

// ---- sketches -------------------------------------------------------------------------

void FinAnalysis::showOnly(std::initializer_list<int> group, int shown)
{
    for (int i : group) Picture[static_cast<size_t>(i)]->setVisible(i == shown);
}

void FinAnalysis::drawSketches()
{
    // Planforms: the body surface along y = 10, the fin standing on it. The
    // root chord's label sits between the body line and its dimension line.
    const QString root = QStringLiteral("Root Chord");
    auto planform = [&root](PictureBox* p) {
        p->setScale(0, 70, 120, -5);
        p->line(0, 10, 120, 10, PictureBox::qbColor(8));
        dimensionH(p, 30, 90, 10 - 2 - p->textHeight(root), root);
    };
    PictureBox* tri = Picture[1];
    planform(tri);
    tri->line(30, 10, 90, 55, kInk);
    tri->line(90, 55, 90, 10, kInk);
    dimensionV(tri, 100, 10, 55, "Span");

    PictureBox* rect = Picture[4];
    planform(rect);
    rect->line(30, 10, 30, 55, kInk);
    rect->line(30, 55, 90, 55, kInk);
    rect->line(90, 55, 90, 10, kInk);
    dimensionV(rect, 100, 10, 55, "Span");

    PictureBox* taper = Picture[3];
    planform(taper);
    taper->line(30, 10, 55, 55, kInk);
    taper->line(55, 55, 80, 55, kInk);
    taper->line(80, 55, 90, 10, kInk);
    dimensionH(taper, 55, 80, 60, "Tip Chord");
    dimensionV(taper, 100, 10, 55, "Span");

    PictureBox* ell = Picture[2];
    planform(ell);
    const ArcShape arc = halfEllipseArc(30, 45, 2.0, 2.0);
    ell->circle(60, 10, arc.radius, kInk, 0.0, kPi, arc.aspect);
    dimensionV(ell, 100, 10, 55, "Span");

    drawDistanceLines(true);

    // Cross-sections.
    auto section = [](PictureBox* p) {
        p->setScale(0, 35, 110, 0);
        p->text(2, 34, "Fin cross-section (Not to Scale)");
    };
    PictureBox* square = Picture[5];
    section(square);
    square->box(10, 8, 100, 16, kInk, false);
    PictureBox* round = Picture[6];
    section(round);
    round->line(14, 16, 96, 16, kInk);
    round->line(14, 8, 96, 8, kInk);
    round->circle(14, 12, 4, kInk, kPi / 2, 3 * kPi / 2);
    round->circle(96, 12, 4, kInk, 3 * kPi / 2, kPi / 2);
    PictureBox* stream = Picture[7];
    section(stream);
    stream->circle(14, 12, 4, kInk, kPi / 2, 3 * kPi / 2);
    stream->line(14, 16, 100, 12, kInk);
    stream->line(14, 8, 100, 12, kInk);
    PictureBox* wedge = Picture[9];
    section(wedge);
    wedge->line(10, 12, 55, 16, kInk);
    wedge->line(55, 16, 100, 12, kInk);
    wedge->line(100, 12, 55, 8, kInk);
    wedge->line(55, 8, 10, 12, kInk);

    // Launch lug: outside and inside diameter.
    LugSketch->setScale(0, 35, 35, 0);
    LugSketch->circle(17.5, 17.5, 14, kInk);
    LugSketch->circle(17.5, 17.5, 8, kInk);
}

// The distances from the nose tip, measured from the datum at the left; the
// root distance and its arrows only mean something for the tapered fin.
void FinAnalysis::drawDistanceLines(bool tapered)
{
    PictureBox* p = Picture[8];
    p->clear();
    p->setScale(0, 75, 35, 0);
    p->line(3, 5, 3, 70, kInk);
    p->text(5, 74, "Nose");
    p->line(3, 62, 35, 62, dimColour());
    p->line(35, 62, 31, 64, dimColour());
    p->line(35, 62, 31, 60, dimColour());
    p->text(5, 60, "Tip");
    if (tapered) {
        p->line(3, 18, 35, 18, dimColour());
        p->line(35, 18, 31, 20, dimColour());
        p->line(35, 18, 31, 16, dimColour());
        p->text(5, 16, "Root");
    }
}

// ---- boxes ----------------------------------------------------------------------------------

void FinAnalysis::boxChanged(TextBox* box, double& value, const char* name)
{
    value = typedValue(m(), name, box->Text().toStdString());
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::boxChanged(TextBox* box, float& value, const char* name)
{
    value = singleOrLargest(typedValue(m(), name, box->Text().toStdString()));
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

// The derived root distance and tip chord follow every edit of the values
// they come from, so they are never stale whichever way the window is left.
void FinAnalysis::deriveAfterEdit()
{
    if (finPlanformDerivesValues(m().FinPlanformCode)) deriveFinPlanform(m());
}

void FinAnalysis::RootChord_Change()
{
    m().FinRootChord = typedValue(m(), InputName::FinRootChord, RootChord->Text().toStdString());
    deriveAfterEdit();
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::DTip_Change()
{
    m().FinTipDistance = typedValue(m(), InputName::FinTipDistance, DTip->Text().toStdString());
    deriveAfterEdit();
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

// The two derived boxes are hidden and emptied for the derived planforms;
// whatever they are given then, the derived values stand.
void FinAnalysis::DRoot_Change()
{
    m().FinRootDistance = singleOrLargest(typedValue(m(), InputName::FinRootDistance, DRoot->Text().toStdString()));
    deriveAfterEdit();
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::TipChord_Change()
{
    m().FinTipChord = singleOrLargest(typedValue(m(), InputName::FinTipChord, TipChord->Text().toStdString()));
    deriveAfterEdit();
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::SpanLength_Change() { boxChanged(SpanLength, m().FinSpan, InputName::FinSpan); }
void FinAnalysis::FINTHK_Change() { boxChanged(FINTHK, m().FinThickness, InputName::FinThickness); }
void FinAnalysis::DLUGS_Change() { boxChanged(DLUGS, m().LaunchLugLength, InputName::LugLength); }
void FinAnalysis::ODLUGS_Change() { boxChanged(ODLUGS, m().LaunchLugOuterDiameter, InputName::LugOuterDiameter); }
void FinAnalysis::IDLUGS_Change() { boxChanged(IDLUGS, m().LaunchLugInnerDiameter, InputName::LugInnerDiameter); }

void FinAnalysis::NFINS_Click()
{
    const QString t = NFINS->Text();
    for (int n = 3; n <= 8; ++n)
        if (t == QString::number(n)) m().FinCount = static_cast<int16_t>(n);
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

// ---- options ----------------------------------------------------------------------------------

void FinAnalysis::FinShapes_Click(int Index)
{
    if (Index < 0 || Index > 3) return;
    Module1& s = m();
    s.FinPlanformCode = static_cast<int16_t>(Index + 1);
    static constexpr int kSketch[] = {1, 4, 3, 2};
    showOnly({1, 2, 3, 4}, kSketch[Index]);
    const bool tapered = s.FinPlanformCode == kFinTapered;
    for (QWidget* w : std::initializer_list<QWidget*>{DRoot, TipChord, LLABEL[6], LLABEL[7], dRootCaption_,
                                                      tipChordCaption_})
        w->setVisible(tapered);
    LLABEL[5]->setVisible(true);
    drawDistanceLines(tapered);
    if (!tapered) {
        DRoot->setText(QString());
        TipChord->setText(QString());
    }
    deriveFinPlanform(s);
    MainWindow& main = forms().main();
    main.CLEARDATA2(s.FreeStreamVelocity);
    main.StatusBar1->setPanel(2, "MESH required, fin shape has changed.");
}

void FinAnalysis::FinEdges_Click(int Index)
{
    struct Edge { int16_t code; const char* section; int sketch; };
    static constexpr Edge kEdges[] = {
        {1, "FLAT PLATE", 5}, {2, "STREAMLINED", 6}, {3, "STREAMLINED", 7}, {3, "D'WEDGE", 9}};
    if (Index < 0 || Index > 3) return;
    const Edge& e = kEdges[Index];
    m().FinEdgeCode = e.code;
    forms().get<PanelAero>().SECTIONS->setText(e.section);
    showOnly({5, 6, 7, 9}, e.sketch);
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::FinishType_Click(int Index)
{
    if (Index < 0 || Index > 2) return;
    m().SurfaceFinishCode = static_cast<int16_t>(Index + 1);
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

void FinAnalysis::ClearData_Click()
{
    for (TextBox* b : {DTip, TipChord, DRoot, SpanLength, RootChord, FINTHK, DLUGS, ODLUGS, IDLUGS})
        b->setText(QString());
    forms().main().CLEARDATA2(m().FreeStreamVelocity);
}

// ---- menus and toolbar ------------------------------------------------------------------------

void FinAnalysis::mnuPrintPage_Click()
{
    printWithPictures(this, StatusBar1, {Picture.begin() + 1, Picture.begin() + 8});
}

void FinAnalysis::mnuClose_Click()
{
    deriveAfterEdit();
    Hide();
}

void FinAnalysis::closeEvent(QCloseEvent* e)
{
    deriveAfterEdit();
    Form::closeEvent(e);
}

void FinAnalysis::mnuInstructions_Click()
{
    forms().showModal("VelmoraHelp");
}

void FinAnalysis::mnuAboutVelmora_Click()
{
    forms().showModal("AboutVelmora");
}

void FinAnalysis::PANAERO()
{
    Module1& s = m();
    if (const auto mean = finMeanChord(s)) s.FinMeanChord = *mean;
    forms().get<ManualData>().CHORD->setText(qFormat(s.FinMeanChord, "#####.###"));
    if (s.FinSpan == 0 || s.FinRootChord == 0 || s.FinThickness == 0 || s.FinMeanChord == 0) {
        StatusBar1->setPanel(1, "Please enter all fin dimensions.");
        return;
    }
    MainWindow& main = forms().main();
    if (s.FreeStreamVelocity != 0) {
        resumeNext([&] { main.CdFnMn(s.FreeStreamVelocity); });
        resumeNext([&] { main.NEWFINS(s.FreeStreamVelocity); });
    }
    resumeNext([&] { forms().showModal<PanelAero>(); });
}

void FinAnalysis::RETURN()
{
    Module1& s = m();
    deriveAfterEdit();
    MainWindow& main = forms().main();
    if (s.FreeStreamVelocity != 0) resumeNext([&] { main.CdFnMn(s.FreeStreamVelocity); });
    resumeNext([&] { main.NEWFINS(s.FreeStreamVelocity); });
    Hide();
    StatusBar1->setPanel(1, QString());
    if (const char* bad = badFinDimension(s)) {
        main.StatusBar1->setPanel(1, QString());
        main.StatusBar1->setPanel(2, bad);
    } else if (finDataComplete(s)) {
        StatusBar1->setPanel(1, "Fin and lug data updated.");
        main.StatusBar1->setPanel(1, "Mesh or Perform CFD.");
        main.StatusBar1->setPanel(2, "All required fin data has been supplied.");
    } else {
        main.StatusBar1->setPanel(1, QString());
        main.StatusBar1->setPanel(2, "More fin and lug data required.");
    }
}

void FinAnalysis::Toolbar1_ButtonClick(const QString& Key)
{
    if (Key == "HELP") mnuInstructions_Click();
    else if (Key == "RETURN") RETURN();
    else if (Key == "ABOUT") mnuAboutVelmora_Click();
    else if (Key == "PANAERO") PANAERO();
}
} // namespace velmora
