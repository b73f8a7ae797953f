// What the windows show after a SOLVE that did not finish, that ran while an input changed, or that was fed odd
// entries: no number of that run, never one that is not finite, and a status bar that says why.
#include <QRegularExpression>
#include <QTimer>

#include <clocale>
#include <cmath>
#include <set>
#include <stdexcept>

#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/Drag.h"
#include "bodyflow/Solver.h"
#include "bodyflow/ui/PlotResults.h"
#include "platform/ui/WindowWriter.h"
#include "finpanel/FinPanelSolver.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/FinGeometry.h"
#include "geometry/ui/GeometryWindows.h"
#include "platform/ui/PictureBox.h"
#include "stability/Barrowman.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {

SOLVER& testing::typeRocketWithFins(Harness& h)
{
    SOLVER& s = h.start();
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    Harness::pick(h.forms->get<BODYTUBE>().NoseShape, "TANGENT OGIVE");
    h.typeBody("3", "1", "12");
    for (auto [box, text] : {std::pair{fins.DTip, "12"}, {fins.DRoot, "11"}, {fins.RootChord, "3"},
                             {fins.TipChord, "1.5"}, {fins.SpanLength, "2"}, {fins.FINTHK, "0.1"},
                             {s.Velocity, "300"}, {s.ROCKETAOA, "4"}})
        Harness::type(box, text);
    return s;
}

namespace {

using testing::Harness;
using testing::panels;
using testing::typeRocketWithFins;

// Runs `act` from inside SOLVE's event pump whenever the run reaches `during`.
void whileAt(SOLVER& s, SolveStep during, std::function<void()> act)
{
    s.solveStepHook = [&s, during, act](SolveStep step) {
        if (step == during) QTimer::singleShot(0, &s, act);
    };
}

// A negative fin or lug size typed in: RETURN does not call the fin data complete.
std::function<void(Harness&, SOLVER&)> negativeFinSize(TextBox* FinAnalysis::*box, const char* why)
{
    return [box, why](Harness& h, SOLVER& s) {
        FinAnalysis& fins = h.forms->get<FinAnalysis>();
        Harness::type(fins.*box, "-3");
        Harness::press(fins.Toolbar1, "RETURN");
        EXPECT_EQ(s.StatusBar1->panel(2), why);
    };
}
constexpr const char* kSpanRange = "Fin span must be 0 or between 0.000001 and 1000000.";
constexpr const char* kRootDistanceRange = "Fin root distance must be 0 or between 0.000001 and 1000000.";
constexpr const char* kBoreRange = "Launch lug inside diameter must be 0 or between 0.000001 and 1000000.";
constexpr const char* kRootChordRange = "Fin root chord must be 0 or between 0.000001 and 1000000.";
constexpr const char* kTubeRange = "Body tube length must be between 0.000001 and 1000000.";

// Fin and lug sizes typed in, each box to its own text.
std::function<void(Harness&, SOLVER&)> finSizes(std::vector<std::pair<TextBox* FinAnalysis::*, const char*>> typed)
{
    return [typed](Harness& h, SOLVER&) {
        for (auto [box, text] : typed) Harness::type(h.forms->get<FinAnalysis>().*box, text);
    };
}

// A SOLVE after a finished one whose body flow is refused, fails or is aborted, whose drag cannot be computed, or
// whose inputs change while it lets events run: every result box empty (also those filled before), panel 1 says
// what, panel 2 keeps why.
TEST(HonestResults, UnfinishedRunShowsNoNumberAndSaysWhy)
{
    const struct {
        const char* name;
        std::function<void(Harness&, SOLVER&)> arrange;
        Outcome outcome;
        const char *panel1, *panel2;
    } cases[] = {
        {"compressible Mach 0.85",
         [](Harness&, SOLVER& s) {
             Harness::pick(s.Compressible, "COMPRESSIBLE");
             Harness::type(s.Velocity, "949");
         },
         Outcome::Refused, "New CFD solution required.",
         "Mach number 0.85 is above 0.8, the limit of the compressible flow model: enter a lower velocity."},
        {"velocity 1e300", [](Harness&, SOLVER& s) { Harness::type(s.Velocity, "1e300"); }, Outcome::Refused,
         "New CFD solution required.",
         "Mach number 8.96E+296 is above 2, the limit of the incompressible flow model: enter a lower velocity."},
        {"grid refuses a negative tube length",
         [](Harness& h, SOLVER& s) {
             // The reason shows in both windows at once, and no panel says the work is in progress.
             BODYTUBE& body = h.forms->get<BODYTUBE>();
             Harness::type(body.BodyLength, "-3");
             EXPECT_EQ(testing::panels(s.StatusBar1), QString(kMsgMeshingNotComplete) + " | " + kTubeRange);
             EXPECT_EQ(body.StatusBar1->panel(2), kTubeRange);
         },
         Outcome::Refused, nullptr, kTubeRange},
        {"ABORT while the body flow runs",
         [](Harness& h, SOLVER& s) {
             h.answers = {MsgAnswer::Ok};
             whileAt(s, SolveStep::BodyFlow, [&s] { QTest::mouseClick(s.Abort, Qt::LeftButton); });
         },
         Outcome::Aborted, "CFD analysis aborted.", ""},
        {"ABORT in the pause before the fin step",
         [](Harness& h, SOLVER& s) {
             whileAt(s, SolveStep::EventPump, [&] { h.answers = {MsgAnswer::Ok}; s.Abort->click(); });
         },
         Outcome::Aborted, "CFD analysis aborted.", ""},
        {"angle typed while the body flow runs",
         [](Harness&, SOLVER& s) { whileAt(s, SolveStep::BodyFlow, [&s] { Harness::type(s.ROCKETAOA, "8"); }); },
         Outcome::Refused, "New CFD solution required.", nullptr},
        {"velocity typed in the pause before the fin step",
         [](Harness&, SOLVER& s) { whileAt(s, SolveStep::EventPump, [&s] { Harness::type(s.Velocity, "250"); }); },
         Outcome::Refused, "New CFD solution required.", nullptr},
        {"negative span", negativeFinSize(&FinAnalysis::SpanLength, kSpanRange), Outcome::Refused, nullptr,
         kSpanRange},
        {"negative root distance", negativeFinSize(&FinAnalysis::DRoot, kRootDistanceRange), Outcome::Refused,
         nullptr, kRootDistanceRange},
        {"negative lug bore", negativeFinSize(&FinAnalysis::IDLUGS, kBoreRange), Outcome::Refused, nullptr,
         kBoreRange},
        {"fin span 1E300", finSizes({{&FinAnalysis::SpanLength, "1E300"}}), Outcome::Refused, nullptr, kSpanRange},
        {"fin chords and lug 3.4E38",
         finSizes({{&FinAnalysis::RootChord, "3.4E38"}, {&FinAnalysis::TipChord, "3.4E38"},
                   {&FinAnalysis::DLUGS, "3.4E38"}, {&FinAnalysis::ODLUGS, "3.4E38"}, {&FinAnalysis::IDLUGS, "3.4E38"}}),
         Outcome::Refused, nullptr, kRootChordRange},
    };
    testing::WindowPumpsAtEveryChance everyChance;  // the body flow of this rocket takes a millisecond
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
        c.arrange(h, s);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(s.lastSolve.outcome, c.outcome);
        for (TextBox* b : {s.MachNumber, s.ReNumber, s.XLRATIOS, s.FORCE, s.TotalCd, s.CNFORCES, s.CdMax, s.CMFORCES,
                           s.PressureCd, s.FinInterferenceDrag, s.BaseCd, s.LaunchLugDrag, s.FinSurfaceDrag})
            EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
        for (auto [panel, expected] : {std::pair{1, c.panel1}, {2, c.panel2}})
            if (expected) {
                EXPECT_EQ(s.StatusBar1->panel(panel), expected) << "panel " << panel;
            }
        EXPECT_EQ(std::tuple(h.state->FlowSolutionStatus, QApplication::overrideCursor(), h.forms->busy().active()),
                  std::tuple("SOLVE NEW FLOW", nullptr, false));
        s.solveStepHook = nullptr;
    }
}

// Inputs the methods cannot compute on, typed as a user would: SOLVE refuses them by name with no number shown, MESH
// (in both windows) too where it reads them, and a velocity typed past Mach 2 raises its box once, not per keystroke.
TEST(HonestResults, InputsTheMethodsCannotComputeAreRefusedByName)
{
    const QString point =
        "\" is not a number: type digits with a point as the decimal separator (1.5), or leave it empty.";
    const QString fast = " is above 2, the limit of the incompressible flow model: enter a lower velocity.";
    const QString slow = "Reynolds number 9.15E-26 (nose cone to transition) is below 10000: the drag build-up needs a "
                         "thin boundary layer. Enter a higher velocity.";
    const struct { TextBox* FinAnalysis::*fin; const char* text; QString why; size_t boxes; } cases[] = {
        {nullptr, "1e-30", slow, 0}, {nullptr, "5000", "Mach number 4.48" + fast, 1},
        {nullptr, "100000000", "Mach number 89573.63" + fast, 1},
        {nullptr, "3,5e2", "Rocket velocity \"3,5e2" + point, 0},
        {&FinAnalysis::TipChord, "abc", "Fin tip chord \"abc" + point, 0},
        {&FinAnalysis::SpanLength, "1,5", "Fin span \"1,5" + point, 0},  // typed under de_DE where it exists
        {&FinAnalysis::DTip, "2", kMsgTriangleTipDistance, 0},            // triangle fins on a root chord of 3
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        FinAnalysis& f = h.forms->get<FinAnalysis>();
        ModalSeam::instance().messages.clear();
        const std::string before = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        if (c.fin == &FinAnalysis::DTip) f.FinShapes[0]->click();
        Harness::type(c.fin ? f.*c.fin : s.Velocity, c.text);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        std::setlocale(LC_ALL, before.c_str());
        EXPECT_EQ(std::tuple(h.messages().size(), s.lastSolve.outcome, s.StatusBar1->panel(2), s.TotalCd->text()),
                  std::tuple(c.boxes, Outcome::Refused, c.why, ""));
        if (c.fin == &FinAnalysis::DTip) continue;  // MESH reads no fin
        QTest::mouseClick(s.MESHER, Qt::LeftButton);
        h.forms->get<PlotResults>().Toolbar1_ButtonClick("MESHING");
        EXPECT_EQ(std::tuple(s.StatusBar1->panel(2), h.forms->get<PlotResults>().StatusBar1->panel(2)),
                  std::tuple(c.why, c.why));
    }
}

// A fin section that could not be solved (the manual section chosen, no point entered): the main window keeps its
// body flow and drag but shows no CN, Cm or XCp/L and says why, also after CP; the force window shows the body alone
// with its own message.
TEST(HonestResults, UnsolvedFinSectionShowsNoRocketCoefficients)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    ASSERT_FALSE(s.CNFORCES->text().isEmpty());
    h.onShow["ManualData"] = [](Form& manual) { manual.close(); };
    Harness::pick(h.forms->get<PanelAero>().SECTIONS, "MANUAL INPUT");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(s.lastSolve.outcome, Outcome::Failed);
    EXPECT_EQ(h.forms->get<PanelAero>().StatusBar1->panel(1), finpanel::kMsgNotSolved);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    for (bool afterCp : {false, true}) {
        SCOPED_TRACE(afterCp ? "after CP" : "after SOLVE");
        if (afterCp) Harness::press(s.Toolbar1, "CP");
        EXPECT_EQ(testing::panels(s.StatusBar1), QString(kMsgSolutionFound) + " | " + stability::kMsgNoFinSolution);
        for (TextBox* b : {s.CNFORCES, s.CMFORCES, s.XLRATIOS}) EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
        EXPECT_FALSE(s.TotalCd->text().isEmpty());
    }
    EXPECT_EQ(testing::panels(cp.StatusBar1),
              QString(stability::kMsgAnalysisComplete) + " | " + stability::kMsgFinAnalysisNeeded);
    EXPECT_FALSE(cp.CNFORCES->text().isEmpty());  // the body's
}

// Fins entered but for their thickness, beside a launch lug: SOLVE and CP show no CN, Cm or XCp/L and say which
// fin value is missing; the total drag holds the lug's.
TEST(HonestResults, PartlyEnteredFinsShowNoRocketCoefficientsAndTheDragKeepsTheLug)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    for (auto [box, text] : {std::pair{fins.FINTHK, "0"}, {fins.DLUGS, "1"}, {fins.ODLUGS, ".1"}, {fins.IDLUGS, ".08"}})
        Harness::type(box, text);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    for (bool afterCp : {false, true}) {
        if (afterCp) Harness::press(s.Toolbar1, "CP");
        EXPECT_EQ(QStringList({s.StatusBar1->panel(2), s.CNFORCES->text(), s.CMFORCES->text(), s.XLRATIOS->text()}),
                  QStringList({"No fin drag. Fin thickness required. CN, Cm and XCp/L need complete fin data.", "", "",
                               ""})) << afterCp;
    }
    const Module1& m = *h.state;
    EXPECT_GT(m.LaunchLugDragCoefficient, 0.001f);
    EXPECT_FLOAT_EQ(m.TotalDragCoefficient, m.BaseDragCoefficient + m.BodyPressureDragCoefficient + m.LaunchLugDragCoefficient);
    EXPECT_EQ(s.TotalCd->text(), qFormat(m.TotalDragCoefficient, "##.###"));
}

// A lug with both diameters but no length (empty or 0) adds no drag, and panel 2 names the length; typed, it counts.
TEST(HonestResults, LugWithoutLengthAddsNoDragAndSaysWhich)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    for (const char* length : {"", "0", "1"}) {
        for (auto [box, text] : {std::pair{fins.ODLUGS, ".1"}, {fins.IDLUGS, ".08"}, {fins.DLUGS, length}})
            Harness::type(box, text);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        const bool counts = *length == '1';
        EXPECT_EQ(std::tuple(s.StatusBar1->panel(2) == kMsgNoLugLength, s.LaunchLugDrag->text().isEmpty(),
                             h.state->LaunchLugDragCoefficient > 0.001f, s.CNFORCES->text().isEmpty()),
                  std::tuple(!counts, !counts, counts, false)) << length;
    }
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// A design window opened and closed (RETURN) without a change leaves every result and status text as it was; a size
// typed there empties the results, and RETURN says what it found, never that a body the grid refuses is defined.
TEST(StatusTexts, DesignWindowClosedLeavesResultsAndStatusUnlessChanged)
{
    const struct { const char *key, *typed, *mainAfter; } rows[] = {
        {"FINS", "", ""}, {"BODY", "", ""},
        {"FINS", "3.5", "Mesh or Perform CFD. | All required fin data has been supplied."},
        {"BODY", "4", "Body tube geometry is defined. | "},
        {"BODY", "-4", "MESHING not complete. | Nose cone length must be between 0.000001 and 1000000."}};
    for (const auto& row : rows) {
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        const bool fins = QString(row.key) == "FINS";
        Form& w = fins ? testing::open<FinAnalysis>(h) : testing::open<BODYTUBE>(h);
        const StatusBar* bar = w.findChild<StatusBar*>("StatusBar1");
        const auto shown = [&] { return QStringList{panels(s.StatusBar1), s.TotalCd->text(), panels(bar)}; };
        click(s.CFDSOLVER);
        const QStringList before = shown();
        h.onShow[w.objectName()] = [&](Form&) {
            if (*row.typed) Harness::type(w.findChild<TextBox*>(fins ? "RootChord" : "NoseLength"), row.typed);
            Harness::click(w.findChild<QToolBar*>(), "RETURN");
        };
        Harness::click(s.Toolbar1, row.key);
        if (!*row.typed) EXPECT_EQ(shown(), before) << row.key;
        else EXPECT_EQ(shown().mid(0, 2), QStringList({row.mainAfter, ""})) << row.typed;
    }
}

// Presses refused while SOLVE or a base-flow run lets events run say "Please wait"; once the run has ended
// (finished or aborted) the panel shows what the run alone would have left there.
TEST(StatusTexts, PleaseWaitEndsWithItsRun)
{
    for (bool baseFlow : {false, true}) {
        Harness h;
        SOLVER& s = h.typeRocket();
        click(s.CFDSOLVER);
        if (baseFlow) Harness::click(s.Toolbar1, "BASE FLOW");
        NavierStokes* w = baseFlow ? &h.forms->get<NavierStokes>() : nullptr;
        const QString alone = s.StatusBar1->panel(2);
        QString during;
        QTimer::singleShot(0, &s, [&] {
            for (int i = 0; i < 20; ++i) click(s.CFDSOLVER);
            during = s.StatusBar1->panel(2);
            if (w) click(w->Abort);
        });
        click(w ? static_cast<QWidget*>(w->Solve) : s.CFDSOLVER);
        EXPECT_EQ(std::tuple(during, s.StatusBar1->panel(2), h.state->AbortRequest),
                  std::tuple(w ? "Please wait: Base flow CFD is in progress." : "Please wait: SOLVE is in progress.",
                             alone, w ? "YES" : "NO"));
    }
}

// Lists that act on a pick are plain drop-down lists: no text field; typed first letters and the arrow keys pick
// an item and run its handler, a text that starts no item picks nothing.
TEST(HonestResults, PickDrivenListsTakeNoTypedText)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    for (ComboBox* list : {s.Speed, s.DomainSize, h.forms->get<BODYTUBE>().NoseShape}) {
        EXPECT_EQ(list->lineEdit(), nullptr) << list->objectName().toStdString();
        const QString shown = list->Text();
        QTest::keyClicks(list, "9");
        EXPECT_EQ(list->Text(), shown) << list->objectName().toStdString();
    }
    EXPECT_EQ(h.state->MeshAxialNodeCount, 20);
    QTest::qWait(QApplication::keyboardInputInterval() + 50);  // a new search, not "937"
    QTest::keyClicks(s.DomainSize, "37");  // "3" picks 30, "37" starts no item
    EXPECT_EQ(std::tuple(s.DomainSize->Text(), h.state->MeshAxialNodeCount), std::tuple("30", 30.0));
    QTest::keyClick(s.DomainSize, Qt::Key_Down);
    EXPECT_EQ(std::tuple(s.DomainSize->Text(), h.state->MeshAxialNodeCount), std::tuple("35", 35.0));
    QTest::keyClicks(s.Speed, "m");
    EXPECT_EQ(std::tuple(s.Speed->Text(), h.state->SpeedUnitText), std::tuple("MPH", "MPH"));
    // Code still writes its own texts.
    s.DomainSize->setText("20");
    EXPECT_EQ(s.DomainSize->Text(), "20");
}

// Source panels: the fin results are 0 and both windows say why; a vortex run afterwards gives what it gave before.
TEST(HonestResults, SourcePanelsShowTheZeroAndTheReason)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    PanelAero& panel = h.forms->get<PanelAero>();
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    const double vortexSlope = h.state->FinNormalForceSlope;
    const QString vortexCn = s.CNFORCES->text();
    ASSERT_GT(vortexSlope, 0);

    for (const std::string method : {"SOURCE", "VORTEX"}) {
        SCOPED_TRACE(method);
        const bool source = method == "SOURCE";
        h.state->PanelMethodChoice = method;
        s.ClearData(h.state->FreeStreamVelocity);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(std::tuple(s.lastSolve.outcome, h.state->FinNormalForceSlope,
                             s.StatusBar1->panel(2) == finpanel::kMsgSourceNoNormalForce, panel.StatusBar1->panel(2)),
                  std::tuple(Outcome::Done, source ? 0 : vortexSlope, source,
                             QString(source ? finpanel::kMsgSourceNoNormalForce : "")));
    }
    EXPECT_EQ(s.CNFORCES->text(), vortexCn);
}

// Odd entries, beyond single precision and just inside it, in every box a user types into (the plot window's after
// a SOLVE): a single-precision value out of range reads as 0, and after MESH, SOLVE and the plot window's mesh no
// result box of the main, plot or centre-of-pressure window shows NaN or Inf.
TEST(BadInput, OddEntriesInEveryBoxNeverShowNonFiniteResults)
{
    using testing::open;
    const std::tuple<Form& (*)(Harness&), QStringList, bool> boxes[] = {
        {&open<SOLVER>, {"Velocity", "ROCKETAOA"}, false},
        {&open<BODYTUBE>,
         {"NoseLength", "BodyDiameter", "BodyLength", "BaseDiameter", "BaseLength", "BodyLength2"}, false},
        {&open<FinAnalysis>,
         {"RootChord", "TipChord", "SpanLength", "DRoot", "DTip", "FINTHK", "DLUGS", "ODLUGS", "IDLUGS"}, false},
        {&open<GeoBody>, {"NPTS"}, false},
        {&open<PlotResults>, {"NLEVELS", "NLEVELS2", "Vscale", "Xlocation"}, true}};
    const QRegularExpression nonFinite("nan|inf", QRegularExpression::CaseInsensitiveOption);
    for (const char* odd : {"-3", "nan", "1e39", "-1e39", "3.5e38"}) {
        for (const auto& [open, names, afterSolve] : boxes) {
            for (const QString& name : names) {
                SCOPED_TRACE(std::string(odd) + " in " + name.toStdString());
                Harness h;
                SOLVER& s = typeRocketWithFins(h);
                QLineEdit* box = open(h).findChild<QLineEdit*>(name);
                ASSERT_NE(box, nullptr);
                if (!afterSolve) Harness::type(box, odd);
                s.MESHER_Click();
                QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
                if (afterSolve) Harness::type(box, odd);
                PlotResults& p = h.forms->get<PlotResults>();
                p.Mesh(h.state->FreeStreamVelocity);
                for (Form* w : std::initializer_list<Form*>{&s, &p, &h.forms->get<PressureCenter>()})
                    for (QLineEdit* b : w->findChildren<QLineEdit*>())
                        EXPECT_TRUE(!b->isReadOnly() || b == box || !b->text().contains(nonFinite))
                            << b->objectName().toStdString() << " " << b->text().toStdString();
                for (double v : {double(h.state->FinTipChord), double(h.state->LaunchLugInnerDiameter),
                                 double(h.state->FinRootDistance)})
                    EXPECT_TRUE(std::isfinite(v));
                if (h.state->FlowSolutionStatus.empty()) {
                    for (int i = 1; i <= h.state->BodyStationCount * h.state->MeridianCount && i <= 792; ++i)
                        ASSERT_TRUE(std::isfinite(h.state->BodySurfaceCp(i)));
                }
                EXPECT_FALSE(h.forms->busy().active());
            }
        }
    }
}

// A value out of its range typed into any window: SOLVE is refused at once, panel 2 names the value, the box keeps
// what was typed, and no result box shows a number.
TEST(BadInput, OutOfRangeEntriesAreRefusedByName)
{
    using testing::open;
    const std::tuple<Form& (*)(Harness&), const char*, const char*, const char*> cases[] = {
        {&open<FinAnalysis>, "TipChord", "1e39", "Fin tip chord must be 0 or between 0.000001 and 1000000."},
        {&open<FinAnalysis>, "FINTHK", "1e39", "Fin thickness must be 0 or between 0.000001 and 1000000."},
        {&open<FinAnalysis>, "RootChord", "1e39", "Fin root chord must be 0 or between 0.000001 and 1000000."},
        {&open<FinAnalysis>, "DLUGS", "1e39", "Launch lug length must be 0 or between 0.000001 and 1000000."},
        {&open<BODYTUBE>, "BaseLength", "1e400", "Transition length must be 0 or between 0.000001 and 1000000."},
        {&open<SOLVER>, "ROCKETAOA", "1e39", kMsgAngleOfAttackRange},
        {&open<SOLVER>, "ROCKETAOA", "-91", kMsgAngleOfAttackRange},
        {&open<SOLVER>, "Velocity", "-300", kMsgVelocityRange},
        {&open<FinAnalysis>, "SpanLength", "1000000", "Fin span must be at most 5 times the nose cone diameter."},
        {&open<FinAnalysis>, "IDLUGS", ".5", "Launch lug inside diameter must be less than its outside diameter."},
    };
    for (const auto& [window, name, text, why] : cases) {
        SCOPED_TRACE(std::string(name) + " " + text);
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
        QLineEdit* box = window(h).findChild<QLineEdit*>(name);
        Harness::type(box, text);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(std::tuple(s.lastSolve.outcome, s.lastSolve.endedAt, s.StatusBar1->panel(2), box->text()),
                  std::tuple(Outcome::Refused, SolveStep::Inputs, why, text));
        for (TextBox* b : {s.TotalCd, s.FinSurfaceDrag, s.LaunchLugDrag, s.CNFORCES, s.CMFORCES, s.XLRATIOS})
            EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    }
    // A shape the methods are not built for is not meshed either, from the main or the plot window.
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    Harness::type(h.forms->get<FinAnalysis>().FINTHK, "1");
    for (StatusBar* bar : {s.StatusBar1, h.forms->get<PlotResults>().StatusBar1}) {
        bar == s.StatusBar1 ? s.MESHER_Click() : h.forms->get<PlotResults>().Mesh(h.state->FreeStreamVelocity);
        EXPECT_EQ(testing::panels(bar), QString(kMsgMeshingNotComplete) + " | Fin thickness must be at most 0.25 "
                                                                           "times the fin root chord (a thin fin).");
    }
}

TEST(SolveBarrier, AnExceptionInsideSolveEndsTheRunNotTheProgram)
{
    for (SolveStep where : {SolveStep::BodyFlow, SolveStep::CenterOfPressure}) {
        SCOPED_TRACE(solveStepName(where));
        Harness h;
        SOLVER& s = typeRocketWithFins(h);
        s.CFDSOLVER_Click();
        ASSERT_EQ(h.state->FlowSolutionStatus, "");
        s.solveStepHook = [where](SolveStep step) {
            if (step == where) throw std::out_of_range("index 801 outside 0..800");
        };
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        ASSERT_EQ(h.messages().size(), 1u);
        EXPECT_EQ(h.messages()[0].prompt, commandFailureText("SOLVE", "index 801 outside 0..800"));
        EXPECT_EQ(std::tuple(h.state->FlowSolutionStatusText, QApplication::overrideCursor(), h.forms->busy().active()),
                  std::tuple("SOLVE NEW FLOW", nullptr, false));
        // The program goes on: the next SOLVE runs to its end and shows the Mach number.
        s.solveStepHook = nullptr;
        s.MachLabel->hide();
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        EXPECT_EQ(std::tuple(s.StatusBar1->panel(1), s.NoMeshDefined->isHidden(), s.MachLabel->isHidden()),
                  std::tuple("CFD solution found. ", true, false));
        EXPECT_EQ(s.MachNumber->text(), ".269"); // 300 / 1116.4 in "#####.###"
        for (TextBox* b : {s.PressureCd, s.BaseCd, s.TotalCd, s.ReNumber, s.FORCE, s.CdMax, s.FinSurfaceDrag})
            EXPECT_FALSE(b->text().isEmpty()) << b->objectName().toStdString();
    }
}

// Every control the core can name (the whole id table) is registered by its window under its program name, as a
// widget of its kind; what the core writes in a typical run goes to a control of the right kind, and a write no
// control takes is a fault in every build, which the command's barrier reports.
TEST(WindowWrites, EveryTargetTheCoreNamesExistsAndResolves)
{
    Harness h;
    SOLVER& s = typeRocketWithFins(h);
    std::set<std::string> windows;
    for (const ControlEntry& e : kControls) {
        const std::string name = controlName(e.id);
        windows.insert(e.window);
        Form* form = windowByName(*h.forms, e.window);
        ASSERT_NE(form, nullptr) << name;
        QWidget* control = form->registeredControl(e.id);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->objectName().toStdString(), e.control) << name;
        EXPECT_TRUE(form->isAncestorOf(control)) << name;
        const bool ofItsKind = e.kind == ControlKind::Box       ? qobject_cast<QLineEdit*>(control) != nullptr
                               : e.kind == ControlKind::Label   ? qobject_cast<QLabel*>(control) != nullptr
                               : e.kind == ControlKind::Picture ? qobject_cast<PictureBox*>(control) != nullptr
                                                                : qobject_cast<StatusBar*>(control) != nullptr;
        EXPECT_TRUE(ofItsKind) << name;
    }
    EXPECT_EQ(windows, (std::set<std::string>{"SOLVER", "FluidVariables", "PlotResults", "PanelAero", "PressureCenter",
                                              "NavierStokes", "ITERATION"}));

    s.CFDSOLVER_Click();
    ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
    NullProgress np;
    for (const auto& writes : {s.lastSolve.writes, CdFnMn(*h.state, 300, np).writes,
                              stability::BARROWMANS(*h.state, 3).writes})
        for (const auto& w : writes) EXPECT_NE(resolveWindowWrite(*h.forms, w), nullptr) << controlName(w.control);
    for (const WindowWrite& bad : {emptyBox(ControlId::End), showNumber(ControlId::PlotResults_LEVELS, 1, "#"),
                                   setPanel(ControlId::SOLVER_StatusBar1, 3, "x")})
        EXPECT_THROW(applyWindowWrites(*h.forms, {bad}), std::logic_error) << controlName(bad.control);
    commandBarrier("SOLVE", [&h] { applyWindowWrites(*h.forms, {showNumber(ControlId::PlotResults_LEVELS, 1, "#")}); });
    ASSERT_FALSE(h.messages().empty());
    EXPECT_EQ(h.messages().back().prompt,
              commandFailureText("SOLVE", "no control for the write to PlotResults.LEVELS"));
}

} // namespace
} // namespace velmora
