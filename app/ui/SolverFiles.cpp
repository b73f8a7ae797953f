// The main window's File commands: Save As writes the project data file,
// Open reads one and restores every input window from it.
//
// Open reads the whole file into a staging record first and commits nothing
// unless the read succeeded (or took the older-layout path), so a bad file
// leaves the project as it was. The restore then writes the controls in a
// fixed order, and each write runs that control's handler as a user's edit
// would: the values come back with the precision their boxes show.
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <array>
#include <tuple>
#include <functional>
#include <utility>

#include "app/ui/SOLVER.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/FinGeometry.h"
#include "geometry/ui/GeometryWindows.h"
#include "model/Units.h"
#include "model/Vocabulary.h"
#include "platform/Single.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ui/ConvertData.h"
#include "platform/ui/WholeFile.h"
#include "sweep/ui/ITERATION.h"

namespace velmora {

namespace {

const QString kFileFilter = QStringLiteral("Text files (*.TXT)|*.TXT");
const QString kLengthPattern = QStringLiteral("#####.###");
// The reasons shown when Open cannot read the file chosen at all.
constexpr const char* kMsgNotOpened = "The file could not be opened.";
constexpr const char* kMsgFolder = "%1 is a folder, not a file: Open reads only files.";
constexpr const char* kMsgNotAFile = "%1 is a pipe, device or socket, not a file: Open reads only files.";
// The confirmation of a save, as the exports and Print Page confirm theirs.
constexpr const char* kMsgProjectSaved = "Project saved as %1";

// Why the file chosen could not be read at all, naming it.
QString unreadReason(const QString& path, LoadFailure why)
{
    const QString name = QFileInfo(path).fileName();
    switch (why) {
    case LoadFailure::Folder: return QString(kMsgFolder).arg(name);
    case LoadFailure::NotAFile: return QString(kMsgNotAFile).arg(name);
    case LoadFailure::TooLarge: return projectfile::kMsgTooLarge;
    default: return kMsgNotOpened;
    }
}

QString lengthText(double value) { return qFormat(value, kLengthPattern.toStdString()); }

// Writes a restored value into its box; the box's change handler takes it
// back from the shown text. A box that already shows that text runs its
// handler all the same, so no value read skips the box's rounding.
void restoreBox(TextBox* box, const QString& text)
{
    if (box->text() == text) emit box->textChanged(text);
    else box->setText(text);
}

// Switches an option button on so its handler runs; one that is on already
// runs the handler directly, so the window is laid out for the value read
// whatever it showed before.
void switchOn(QRadioButton* option, const std::function<void()>& handler)
{
    if (option->isChecked()) handler();
    else option->setChecked(true);
}

// ---- the restore, in its fixed order ---------------------------------------------

void restoreFlightCondition(Forms& forms, SOLVER& main)
{
    Module1& s = forms.m();
    // The lists show what was read (an older file keeps what they showed);
    // their click handlers do not run.
    main.Compressible->setText(QString::fromStdString(s.FlowModelText));
    main.Speed->setText(QString::fromStdString(s.SpeedUnitText));
    main.RATIOS->setText(QString::fromStdString(s.AltitudeText));
    // The atmosphere of the saved altitude replaces the density and
    // pressure read from the file.
    main.INPUTUNITS(s.FreeStreamVelocity);
    // The velocity passes through its box in the speed unit shown.
    if (const auto k = velocityFactor(s.AnalysisUnits, s.SpeedUnitText, s.SpeedOfSound); k && *k != 0)
        restoreBox(main.Velocity, qFormat(s.FreeStreamVelocity / *k, "#####.#"));
    // The unit list follows the system read; the Units menu keeps its marks.
    if (const auto row = unitIndexByCode(s.AnalysisUnits))
        main.CFDUNITS->setText(UnitSystemTable[static_cast<size_t>(*row)].listItem);
}

void restoreBody(Forms& forms)
{
    Module1& s = forms.m();
    BODYTUBE& body = forms.get<BODYTUBE>();
    body.NoseShape->setText(QString::fromStdString(s.NoseShapeText));
    // Each box's handler takes its value back, so read every value first.
    // A rocket without a transition or base tube shows their boxes empty, as
    // a fresh start does and as the mesh leaves the base tube's.
    const std::array<std::tuple<TextBox*, double, bool>, 6> boxes = {{
        {body.NoseLength, s.NoseConeLength, false},
        {body.BodyLength, s.BodyTubeLength, false},
        {body.BodyDiameter, s.NoseConeDiameter, false},
        {body.BaseDiameter, s.TransitionDiameter, true},
        {body.BaseLength, s.TransitionLength, true},
        {body.BodyLength2, s.BaseTubeLength, true},
    }};
    for (const auto& [box, value, optional] : boxes)
        restoreBox(box, optional && value == 0 ? QString() : lengthText(value));
}

void restoreSweep(Forms& forms, SOLVER& main)
{
    ITERATION& sweep = forms.get<ITERATION>();
    sweep.LVLABEL1->setText(main.Speed->Text());
    sweep.LVLABEL2->setText(main.Speed->Text());
    sweep.clearSweep();
}

void restoreFlowModelAndNose(Forms& forms, SOLVER& main)
{
    Module1& s = forms.m();
    const QString model = main.Compressible->Text();
    if (model == CompressibilityModel::Incompressible) s.CompressibleFlow = 0;
    else if (model == CompressibilityModel::Compressible) s.CompressibleFlow = 1;

    BODYTUBE& body = forms.get<BODYTUBE>();
    const QString shape = body.NoseShape->Text();
    for (const char* known : {NoseConeShape::Conical, NoseConeShape::TangentOgive, NoseConeShape::Elliptical,
                              NoseConeShape::Parabolic, NoseConeShape::SearsHaack}) {
        if (shape != known) continue;
        s.NoseShapeName = known;
        const bool searsHaack = shape == NoseConeShape::SearsHaack;
        body.ShapeControl->setVisible(searsHaack);
        body.UpDown1->setVisible(searsHaack);
        body.ShapeLabel->setVisible(searsHaack);
        break;
    }
}

void restoreFins(Forms& forms, SOLVER& main)
{
    Module1& s = forms.m();
    FinAnalysis& fin = forms.get<FinAnalysis>();

    // Planform, codes 1 triangle, 2 rectangle, 3 tapered, 4 elliptical: the
    // values it derives first, then its option, whose handler lays out the
    // boxes, unit boxes, dimension lines and sketch for it.
    if (s.FinPlanformCode >= 1 && s.FinPlanformCode <= 4) {
        deriveFinPlanform(s);
        const int option = s.FinPlanformCode - 1;
        switchOn(fin.FinShapes[static_cast<size_t>(option)], [&fin, option] { fin.FinShapes_Click(option); });
    }

    // Edge, codes 1 square, 2 round, 3 streamlined: the section shown by the
    // fin-section window, the edge sketch and the option.
    struct Edge {
        const char* section;
        int sketch;
    };
    static constexpr Edge kEdges[] = {{"FLAT PLATE", 5}, {"STREAMLINED", 6}, {"STREAMLINED", 7}};
    if (s.FinEdgeCode >= 1 && s.FinEdgeCode <= 3) {
        const Edge& e = kEdges[s.FinEdgeCode - 1];
        forms.get<PanelAero>().SECTIONS->setText(e.section);
        for (int picture : {5, 6, 7}) fin.Picture[static_cast<size_t>(picture)]->setVisible(picture == e.sketch);
        const int option = s.FinEdgeCode - 1;
        switchOn(fin.FinEdges[static_cast<size_t>(option)], [&fin, option] { fin.FinEdges_Click(option); });
    }

    if (s.SurfaceFinishCode >= 1 && s.SurfaceFinishCode <= 3) {
        const int option = s.SurfaceFinishCode - 1;
        switchOn(fin.FinishType[static_cast<size_t>(option)], [&fin, option] { fin.FinishType_Click(option); });
    }

    // The fin and lug boxes; each handler takes its value back in turn, so
    // each box is written from the state as it stands then.
    const std::array<std::pair<TextBox*, std::function<double()>>, 9> boxes = {{
        {fin.DTip, [&s] { return s.FinTipDistance; }},
        {fin.TipChord, [&s] { return static_cast<double>(s.FinTipChord); }},
        {fin.DRoot, [&s] { return static_cast<double>(s.FinRootDistance); }},
        {fin.SpanLength, [&s] { return s.FinSpan; }},
        {fin.RootChord, [&s] { return s.FinRootChord; }},
        {fin.FINTHK, [&s] { return s.FinThickness; }},
        {fin.DLUGS, [&s] { return s.LaunchLugLength; }},
        {fin.ODLUGS, [&s] { return s.LaunchLugOuterDiameter; }},
        {fin.IDLUGS, [&s] { return static_cast<double>(s.LaunchLugInnerDiameter); }},
    }};
    for (const auto& [box, value] : boxes) restoreBox(box, lengthText(value()));

    main.StatusBar1->setPanel(2, "Fin and lug data updated.");
    fin.NFINS->setText(qFormat(s.FinCount, "###"));
}

void restoreBodyMode(Forms& forms, SOLVER& main, const projectfile::ProjectRecord& r)
{
    Module1& s = forms.m();
    BODYTUBE& body = forms.get<BODYTUBE>();
    if (r.FileBodyGeometry == StandardBody) {
        s.ActiveBodyGeometry = StandardBody;
        switchOn(body.GEOMETRY[0], [&body] { body.GEOMETRY_Click(0); });
    } else if (r.FileBodyGeometry == FreeFormBody) {
        s.MeshAxialNodeCount = r.meshSize;
        s.MeshRadialNodeCount = r.meshSize;
        s.MeshSizeUserSet = 1;
        main.DomainSize->setText(QString::number(s.MeshAxialNodeCount));
        restoreBox(body.TUBELENGTH, lengthText(s.BodyTubeLength));
        switchOn(body.GEOMETRY[1], [&body] { body.GEOMETRY_Click(1); });
        s.ActiveBodyGeometry = FreeFormBody;
        forms.get<GeoBody>().NPTS->setText(QString::number(s.FreeFormPointCount));
        const double dx = (s.BodyTubeLength + s.NoseConeLength) / (s.MeshAxialNodeCount - 3);
        s.NoseTipX = 2 * dx;
    }
}

// The saved free-form shape goes into the editor as it was drawn (writing
// the point count above has laid the points out flat); the preview shows the
// points, the lines between them and the nose and base lines.
void restoreFreeFormShape(Forms& forms)
{
    Module1& s = forms.m();
    GeoBody& geo = forms.get<GeoBody>();
    const int n = s.FreeFormPointCount;
    if (!geo.setShape(s.FreeFormPointCount, s.FreeFormScreenX, s.FreeFormScreenY)) {
        geo.drawing()->clear();
        return;
    }
    // The points as the editor holds them (a table that was no shape is laid out flat).
    const FreeFormModel& shape = geo.model();
    const double h = geo.drawingHeightTwips();
    const QRgb lightBlue = PictureBox::qbColor(9);
    geo.drawing()->line(35, h, shape.x(1) + 35, shape.y(1), lightBlue);
    geo.drawing()->line(shape.x(n) - 35, h, shape.x(n) - 35, shape.y(n), lightBlue);
}

void restoreWindows(Forms& forms, SOLVER& main, const projectfile::ProjectRecord& r)
{
    Module1& s = forms.m();
    restoreFlightCondition(forms, main);
    restoreBody(forms);
    restoreSweep(forms, main);
    restoreFlowModelAndNose(forms, main);
    restoreFins(forms, main);
    restoreBodyMode(forms, main, r);
    restoreFreeFormShape(forms);
    s.FreeFormBaseRadius = singleOrZero(s.FreeFormBodyRadius(s.FreeFormPointCount));

    if (s.FreeStreamVelocity == 0 || s.NoseConeLength == 0 || s.BodyTubeLength == 0 || s.NoseConeDiameter == 0) {
        main.StatusBar1->setPanel(2, "Please enter rocket dimensions");
        return;
    }
    main.ClearData(s.FreeStreamVelocity);
    main.CdFnMn(s.FreeStreamVelocity);
    main.Mesh(s.FreeStreamVelocity);
    main.StatusBar1->setPanel(2, "CFD solution required.");
}

FileRequest projectDialog(bool save)
{
    FileRequest CommonDialog1;
    CommonDialog1.save = save;
    CommonDialog1.title = save ? QStringLiteral("Save As") : QStringLiteral("Open");
    CommonDialog1.filter = kFileFilter;
    // A name typed without an extension is saved where Open's filter lists it.
    if (save) CommonDialog1.defaultSuffix = QStringLiteral("TXT");
    return CommonDialog1;
}

void openProject(Forms& forms, SOLVER& main)
{
    Module1& s = forms.m();
    // A cancelled or refused Open changes nothing: the results stand until a
    // file has been read into the project.
    const QString path = ModalSeam::instance().fileDialog(projectDialog(false));
    if (path.isEmpty()) return;

    // A folder, a pipe or device, or a file larger than a project file can be
    // is refused unread.
    LoadFailure why = LoadFailure::None;
    const std::optional<std::string> bytes = loadWholeFile(path, projectfile::MaxFileBytes, &why);
    projectfile::ReadResult result;
    if (bytes) result = projectfile::read(*bytes);
    if (!projectfile::commit(result, s)) {
        MsgBox(projectfile::ReadErrorMessage, MsgButtons::OkOnly);
        const QString reason = bytes ? QString::fromStdString(result.message) : unreadReason(path, why);
        main.StatusBar1->setPanel(2, reason);
        main.openRefusalShown = reason;
        return;
    }
    main.ClearData(s.FreeStreamVelocity);
    if (result.layout == projectfile::ReadLayout::OlderLayout) {
        // Loading the notice sets the defaults the older file lacks.
        forms.showModal<ConvertData>();
        forms.unload<ConvertData>();
    }
    restoreWindows(forms, main, result.record);
}

void saveProjectAs(Forms& forms, SOLVER& main)
{
    const QString path = ModalSeam::instance().fileDialog(projectDialog(true));
    if (path.isEmpty()) return;
    const std::optional<std::string> bytes = projectfile::write(forms.m());
    if (!bytes || !saveWholeFile(path, *bytes)) {
        MsgBox(projectfile::SaveErrorMessage, MsgButtons::OkOnly);
        return;
    }
    // Saved: panel 1 confirms it; the results and panel 2 stay, unless panel 2
    // still shows why an earlier Open was refused, which no longer describes
    // the project.
    main.StatusBar1->setPanel(1, QString(kMsgProjectSaved).arg(QDir::toNativeSeparators(path)));
    if (!main.openRefusalShown.isEmpty() && main.StatusBar1->panel(2) == main.openRefusalShown)
        main.StatusBar1->setPanel(2, QString());
    main.openRefusalShown.clear();
}

} // namespace

void SOLVER::mnuOpen_Click()
{
    if (refuseWhileBusy()) return;
    forms().runCommand("Open", [this] { openProject(forms(), *this); });
}

void SOLVER::mnuSaveAs_Click()
{
    if (refuseWhileBusy()) return;
    forms().runCommand("Save As", [this] { saveProjectAs(forms(), *this); });
}

} // namespace velmora
