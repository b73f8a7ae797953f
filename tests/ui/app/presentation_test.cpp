// How the windows present themselves: numbers that fit their boxes, the keyboard, window and message box sizes,
// the proposed PDF name, and what the accessibility interface reads.
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>

#include "baseflow/BaseFlow.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "platform/ui/Build.h"
#include "stability/ui/CROSSFLOW.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using BoxWidths = testing::Started;
using Accessibility = testing::Started;

// The text is wholly in view from its first character, in the room the line edit lays its text out in.
::testing::AssertionResult showsWhole(const QLineEdit* box)
{
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.rect = box->rect();
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
    const int room = contents.width() - box->textMargins().left() - box->textMargins().right() - 4;
    const int need = box->fontMetrics().horizontalAdvance(box->text());
    if (need > room)
        return ::testing::AssertionFailure() << box->objectName().toStdString() << " \"" << box->text().toStdString()
                                             << "\" needs " << need << " px, has " << room;
    if (box->isReadOnly() && box->cursorPosition() != 0)
        return ::testing::AssertionFailure() << box->objectName().toStdString() << " cursor at "
                                             << box->cursorPosition();
    return ::testing::AssertionSuccess();
}

// The widest text of each box's pattern (every place a 9, one more integer
// digit, negative), the longest unit of the unit boxes, and a big rocket's results.
TEST_F(BoxWidths, TheWidestNumbersAndABigRocketsResultsShowWhole)
{
    auto& fluid = h.forms->get<FluidVariables>();
    auto& base = h.forms->get<NavierStokes>();
    auto& cp = h.forms->get<PressureCenter>();
    auto& plot = h.forms->get<PlotResults>();
    const std::pair<QLineEdit*, const char*> cases[] = {
        {s.ReNumber, "-9999999999"},     {s.Velocity, "-999.999"},         {s.FORCELABEL, "NT"},
        {fluid.Density, "-9.999E-88"},   {fluid.Pressure, "-999999.999"},  {fluid.Label3, "NT-SEC^2/M^4"},
        {base.AMUIN, "-9.999999999"},    {base.UINFIN, "-999999.9"},       {cp.LUGFORCES, "-999999.999"},
        {cp.MODELAOA, "-9999.99"},       {plot.MAX, "-999999.99999"},      {plot.MIN1, "-999999.99999"},
    };
    for (Form* w : std::initializer_list<Form*>{&s, &fluid, &base, &cp, &plot}) w->show();
    for (auto [box, text] : cases) {
        box->setText(text);
        EXPECT_TRUE(showsWhole(box));
    }

    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    Harness::pick(h.forms->get<BODYTUBE>().NoseShape, "TANGENT OGIVE");
    h.typeBody("40", "12", "300");
    for (auto [box, text] : {std::pair{fins.RootChord, "30"}, {fins.TipChord, "15"}, {fins.SpanLength, "20"},
                             {fins.DTip, "10"}, {fins.FINTHK, "1"}})
        Harness::type(box, text);
    Harness::type(s.Velocity, "2000");
    s.show();
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    ASSERT_EQ(s.StatusBar1->panel(1), "CFD solution found. ");
    EXPECT_GE(s.ReNumber->text().size(), 9);
    for (QLineEdit* box : s.findChildren<QLineEdit*>()) {
        const bool listField = qobject_cast<QComboBox*>(box->parent());  // a pick-only list's own field
        if (!listField && box->isReadOnly() && !box->text().isEmpty()) {
            EXPECT_TRUE(showsWhole(box));
        }
    }
}

// A number wider than its read-only box widens the box, in every window, and a short one gives the room back; a
// rocket 1,200,000 long with a 1,000,000 lug shows its large drag force whole.
TEST_F(BoxWidths, ANumberWiderThanItsBoxWidensIt)
{
    const QString wide = "-" + QString(40, '9') + ".999";
    const int totalCd = s.TotalCd->width();
    for (Form* w : std::initializer_list<Form*>{&s, &h.forms->get<PressureCenter>(), &h.forms->get<PlotResults>(),
                                               &h.forms->get<PanelAero>(), &h.forms->get<NavierStokes>(),
                                               &h.forms->get<FluidVariables>()}) {
        w->show();
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (!box->isReadOnly() || qobject_cast<QComboBox*>(box->parent())) continue;
            box->setText(wide);
            EXPECT_TRUE(showsWhole(box));
        }
    }
    s.TotalCd->setText(".283");
    EXPECT_EQ(s.TotalCd->width(), totalCd);

    testing::typeRocketWithFins(h);
    h.typeBody("300000", "100000", "900000");
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    Harness::type(fins.DLUGS, "1000000");
    Harness::type(fins.ODLUGS, "100000");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    ASSERT_EQ(s.lastSolve.outcome, Outcome::Done);
    EXPECT_GT(s.FORCE->text().size(), 9);
    for (TextBox* box : {s.TotalCd, s.CdMax, s.FinSurfaceDrag, s.LaunchLugDrag, s.FORCE, s.CNFORCES, s.CMFORCES})
        EXPECT_TRUE(showsWhole(box));
}

// A column of boxes shares one width and right edge; the base flow's no-plot notice is a label, its spinner keys
// read their quantity and its column step shows in a box; at its least width the sweep window shows RETURN.
TEST_F(BoxWidths, ColumnsSpinnerKeysAndTheSweepToolbar)
{
    NavierStokes& b = h.forms->get<NavierStokes>();
    ITERATION& sweep = h.forms->get<ITERATION>();
    for (QWidget* w : std::initializer_list<QWidget*>{&s, &b, &sweep}) w->show();
    sweep.resize(1, sweep.height());
    QApplication::processEvents();
    auto edge = [](QLineEdit* x) { return std::pair(x->width(), x->mapTo(x->window(), QPoint(x->width(), 0)).x()); };
    for (const auto& column : {std::vector<QLineEdit*>{s.MachNumber, s.ReNumber, s.TotalCd, s.FinSurfaceDrag},
                               {b.THRUST, b.IspBase, b.PjetBase, b.REYNOLDS, b.BaseCd}})
        for (QLineEdit* x : column) EXPECT_EQ(edge(x), edge(column.front())) << x->objectName().toStdString();
    EXPECT_EQ(b.VelocityPlots->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(sweep.Toolbar1->widgetForAction(sweep.Toolbar1->actions().last())->isVisible());
    PlotResults& p = h.forms->get<PlotResults>();
    for (auto [spin, what] : {std::pair{p.UpDown2, "Velocity contour levels"}, {p.UpDown3, "Pressure contour levels"},
                              {h.forms->get<CROSSFLOW>().UpDown3, "Station number"}, {b.UpDown3, "Vector column skip"}})
        EXPECT_EQ(spin->upButton->accessibleName() + "|" + spin->downButton->accessibleName(),
                  QString(what) + ", up|" + what + ", down");
    b.UpDown3->stepUp();
    EXPECT_EQ(b.Vskip->text(), "2");
}

// Tab visits the inputs in reading order, then the toolbar keys, and leaves every read-only box out; into a group
// of option buttons it lands on the one that is on.
TEST(Keyboard, FirstFocusAndTabInReadingOrder)
{
    using testing::open;
    const std::pair<Form& (*)(Harness&), QStringList> cases[] = {
        {&open<SOLVER>,
         {"Velocity", "Speed", "ROCKETAOA", "Compressible", "RATIOS", "CFDUNITS", "DomainSize", "MERIDIANS",
          "CFDSOLVER", "MESHER", "IterateBtn", "Abort", "BODY", "FINS", "PLOT", "CP", "BASE FLOW", "HELP", "ABOUT"}},
        {&open<BODYTUBE>,
         {"NoseShape", "NoseLength", "BodyDiameter", "BodyLength", "BaseDiameter", "BaseLength", "BodyLength2",
          "GEOMETRY0", "HELP", "ABOUT", "PRINT", "REFRESH", "RETURN"}},
        {&open<FinAnalysis>,
         {"NFINS", "ClearData", "FinShapes2", "FinEdges2", "FinishType1", "DTip", "DRoot", "TipChord", "SpanLength",
          "RootChord", "FINTHK", "DLUGS", "ODLUGS", "IDLUGS", "HELP", "ABOUT", "PANAERO", "RETURN"}},
        {&open<PressureCenter>, {"SOLVEbtn", "Command1", "CROSSFLOW", "HELP", "ABOUT", "RETURN"}},
        {&open<FluidVariables>, {"Close"}},
    };
    for (const auto& [openWindow, chain] : cases) {
        Harness h;
        Form& w = openWindow(h);
        SCOPED_TRACE(w.objectName().toStdString());
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.focusFirstInput();
        // The controls Tab visits, by program name, until it comes back round.
        QStringList visited;
        for (QWidget* f = QApplication::focusWidget(); f && !visited.contains(f->objectName()) && visited.size() < 40;
             f = QApplication::focusWidget()) {
            visited << f->objectName();
            QTest::keyClick(f, Qt::Key_Tab);
        }
        EXPECT_EQ(visited, chain);
        for (QLineEdit* box : w.findChildren<QLineEdit*>()) {
            const bool input = !box->isReadOnly() || qobject_cast<QComboBox*>(box->parent()); // a list's own field too
            EXPECT_TRUE(input || !(box->focusPolicy() & Qt::TabFocus)) << box->objectName().toStdString();
        }
    }
}

// The main window fits a 1280 x 800 screen with room for a title bar and a panel; a larger one grows its mesh.
TEST(Placement, MainWindowFitsA1280By800Screen)
{
    Harness h;
    SOLVER& s = h.start();
    const QSize least = s.minimumSizeHint();
    EXPECT_TRUE(least.width() <= 1280 && least.height() <= 740) << least.width() << " x " << least.height();
    s.resize(1280, 740);
    s.show();
    QApplication::processEvents();
    const int small = s.MeshPlot->height();
    s.resize(1900, 1000);
    QApplication::processEvents();
    EXPECT_GT(s.MeshPlot->height(), small);
}

TEST(Placement, MessageBoxesShowTheirWholeTitle)
{
    const QString title = "NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100";
    auto box = buildMessageBox({"PLEASE ENTER NEW MACH NUMBER", title, MsgButtons::OkOnly, MsgIcon::None}, nullptr);
    box->layout()->activate();
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(box->layout()->minimumSize().width(), QFontMetrics(bold).horizontalAdvance(title) + 100);
    EXPECT_EQ(box->windowTitle(), title);
}

TEST(PrintPage, TheProposedNameNeverReplacesAFile)
{
    QTemporaryDir dir;
    const auto proposed = [&](const char* caption) {
        return QFileInfo(proposedPdfName(dir.path(), caption)).fileName();
    };
    EXPECT_EQ(QStringList({proposed("a/b:c*?"), proposed("")}), QStringList({"abc.pdf", "Page.pdf"}));
    for (const char* taken : {"Body Tube Geometry.pdf", "Body Tube Geometry (2).pdf"}) {
        QFile f(dir.filePath(taken));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(proposed("Body Tube Geometry"), "Body Tube Geometry (3).pdf");
}

// Controls of our own: not the parts Qt builds inside its widgets.
bool ownControl(QWidget* w, QWidget* window)
{
    if (w->window() != window || w->objectName().startsWith("qt_")) return false;
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QTabWidget*>(p) ||
            p->objectName().startsWith("qt_"))
            return qobject_cast<QTabWidget*>(p) && qobject_cast<QScrollArea*>(w); // the tab pages are ours
    return !qobject_cast<QScrollBar*>(w) && !w->inherits("QTabBar") && !w->inherits("QHeaderView") &&
           !w->inherits("QToolBarExtension") && !w->inherits("QToolBarSeparator") &&
           w->metaObject()->className() != QByteArray("QWidget");
}

TEST_F(Accessibility, EveryControlHasANameAndADescription)
{
    s.show();
    Harness::pick(h.forms->get<BODYTUBE>().NoseShape, "SEARS-HAACK");
    Forms& f = *h.forms;
    const std::vector<Form*> windows = {
        &s, &f.get<BODYTUBE>(), &f.get<GeoBody>(), &f.get<FinAnalysis>(), &f.get<PlotResults>(),
        &f.get<PressureCenter>(), &f.get<ITERATION>(), &f.get<PanelAero>(), &f.get<ManualData>(),
        &f.get<NavierStokes>(), &f.get<FluidVariables>(), &f.get<AboutVelmora>(), &f.get<Welcome>(),
        &f.get<References>()};
    int controls = 0;
    for (Form* w : windows) {
        w->show();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->role(), QAccessible::Window) << w->objectName().toStdString();
        EXPECT_EQ(window->text(QAccessible::Name), w->windowTitle());
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!ownControl(c, w)) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            ASSERT_NE(a, nullptr);
            const std::string where = (w->objectName() + "/" + c->objectName()).toStdString();
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << where;
            EXPECT_EQ(a->text(QAccessible::Description), c->objectName()) << where;
            ++controls;
        }
    }
    EXPECT_GT(controls, 150);
    // A status panel reads as its text, and names itself when empty.
    for (int n = 1; n <= s.StatusBar1->panelCount(); ++n) {
        s.StatusBar1->setPanel(n, QStringLiteral("Panel text %1").arg(n));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(s.StatusBar1->panelLabel(n));
        EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Panel text %1").arg(n));
        EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("Panel%1").arg(n));
        s.StatusBar1->setPanel(n, QString());
        EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Status panel %1").arg(n));
    }
}

// Every list is a plain drop-down list; a label that shows a value reads its meaning as its name and the text on the
// screen as its value and text, every other label reads its text.
TEST(AccessibleReading, ListsArePickOnlyAndValueLabelsReadTheirMeaning)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    Harness::pick(s.DomainSize, "10");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    Forms& f = *h.forms;
    s.Toolbar1_ButtonClick("CP");
    f.get<PressureCenter>().Toolbar1_ButtonClick("CROSSFLOW");
    ITERATION& sweep = f.get<ITERATION>();
    sweep.PlotOption[1]->click();
    h.state->SweepStepsStored = 1;  // as a sweep of one step leaves it
    double steps = 1;
    sweep.BARROWMANS(steps);
    const std::map<QString, QString> meanings = {
        {"ITERATION/LVLABEL1", "Initial velocity unit"},     {"ITERATION/IterationLbl", "Current loop"},
        {"ITERATION/MAXDATA", "Y axis maximum"},             {"ITERATION/YMIDDLE", "Y axis middle"},
        {"ITERATION/MINDATA", "Y axis minimum"},             {"ITERATION/MINAOA", "X axis minimum"},
        {"ITERATION/XMIDDLE", "X axis middle"},              {"ITERATION/MAXAOA", "X axis maximum"},
        {"ITERATION/PlotType", "X axis quantity"},           {"ITERATION/BResult", "Barrowman CN, CM, or XCp at initial AOA"},
        {"CROSSFLOW/Label18", "Distance of station from tip of nose cone"},
        {"CROSSFLOW/MAX", "Cp at the top of the plot"},      {"CROSSFLOW/Label2", "Cp at the second grid line"},
        {"NavierStokes/MAX", "Largest velocity of the plot"}, {"NavierStokes/MIN", "Smallest velocity of the plot"}};
    EXPECT_FALSE(sweep.BResult->text().isEmpty());
    EXPECT_FALSE(f.get<CROSSFLOW>().Label18->text().isEmpty());
    int lists = 0, named = 0;
    for (Form* w : std::initializer_list<Form*>{&s, &f.get<BODYTUBE>(), &f.get<GeoBody>(), &f.get<FinAnalysis>(),
                                                &f.get<PlotResults>(), &f.get<PressureCenter>(), &f.get<CROSSFLOW>(),
                                                &sweep, &f.get<PanelAero>(), &f.get<ManualData>(),
                                                &f.get<NavierStokes>(), &f.get<FluidVariables>()}) {
        for (ComboBox* list : w->findChildren<ComboBox*>()) {
            EXPECT_FALSE(list->isEditable() || QAccessible::queryAccessibleInterface(list)->state().editable)
                << list->objectName().toStdString();
            ++lists;
        }
        for (QLabel* l : w->findChildren<QLabel*>()) {
            const QString key = w->objectName() + "/" + l->objectName();
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(l);
            const QString name = a->text(QAccessible::Name);
            if (qobject_cast<ValueLabel*>(l)) {
                auto it = meanings.find(key);
                EXPECT_EQ(name, it == meanings.end() ? name : it->second) << key.toStdString();
                named += it != meanings.end();
                EXPECT_FALSE(name.isEmpty() || name == l->objectName()) << key.toStdString();
                ASSERT_NE(a->textInterface(), nullptr) << key.toStdString();
                EXPECT_EQ(a->textInterface()->text(0, a->textInterface()->characterCount()), l->text());
                EXPECT_EQ(a->text(QAccessible::Value), l->text()) << key.toStdString();
            } else if (!l->text().isEmpty() && !Qt::mightBeRichText(l->text())) {
                EXPECT_EQ(name, QString(l->text()).remove('&')) << key.toStdString();
            }
        }
    }
    EXPECT_EQ(named, static_cast<int>(meanings.size()));
    EXPECT_EQ(lists, 14);
}

// Enter presses the focused button or toolbar key; after a sweep started by Enter the focus is on the Start button
// again, not on Abort; Escape leaves a working window as its RETURN or Close does, and leaves the main window be.
TEST(Keyboard, EnterPressesEscapeLeavesAndASweepEndsOnStart)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    ITERATION& w = testing::openSweep(h, s, "1", "1", "2");
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Command1->setFocus();
    QTest::keyClick(w.Command1, Qt::Key_Return);
    EXPECT_EQ(std::tuple(w.StatusBar1->panel(1), QApplication::focusWidget()),
              std::tuple(QString(kMsgLoopingComplete), static_cast<QWidget*>(w.Command1)));
    QWidget* key = nullptr;
    for (QAction* a : w.Toolbar1->actions())
        if (a->objectName() == "SCALEDATA") key = w.Toolbar1->widgetForAction(a);
    ASSERT_NE(key, nullptr);
    key->setFocus();
    QTest::keyClick(key, Qt::Key_Enter);
    EXPECT_EQ(h.state->SweepPlotYScale, 2.0f);
    QTest::keyClick(key, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());

    BODYTUBE& body = h.forms->get<BODYTUBE>();
    body.show();
    QTest::keyClick(body.NoseLength, Qt::Key_Escape);
    EXPECT_FALSE(body.isVisible());
    h.forms->get<AboutVelmora>().show();
    QTest::keyClick(h.forms->get<AboutVelmora>().Continue, Qt::Key_Escape);
    EXPECT_FALSE(h.forms->isLoaded<AboutVelmora>());
    s.show();
    QTest::keyClick(s.Velocity, Qt::Key_Escape);
    EXPECT_TRUE(s.isVisible() && h.messages().empty());
}

// The rest of the task by keyboard: the menu titles of each window have distinct Alt letters (but the main window's
// "&CFD Results" and "&Constants", whose captions share C: Alt+C goes from one to the other), and Escape in a menu
// gives the keyboard straight back to the control it came from; a base-flow run started by Enter ends with the focus
// on Solve, not Abort; a sweep export typed without an extension gets ".TXT", which its filter lists.
TEST(Keyboard, MenuLettersEscapeFromAMenuBaseFlowEndsOnSolveAndTheExportName)
{
    Harness h;
    SOLVER& s = h.typeRocket();
    for (Form* w : std::initializer_list<Form*>{&s, &h.forms->get<PressureCenter>(), &h.forms->get<NavierStokes>()}) {
        QList<QChar> letters;
        for (QAction* a : w->findChild<QMenuBar*>()->actions()) {
            const qsizetype at = a->text().indexOf('&');
            ASSERT_GE(at, 0) << a->text().toStdString();
            if (a->text() != "&Constants") {
                EXPECT_FALSE(letters.contains(a->text()[at + 1].toLower())) << a->text().toStdString();
            }
            letters << a->text()[at + 1].toLower();
        }
    }
    s.show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    s.ROCKETAOA->setFocus();
    QTest::keyClick(&s, Qt::Key_D, Qt::AltModifier);
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(s.ROCKETAOA));

    s.CFDSOLVER_Click();
    Harness::press(s.Toolbar1, "BASE FLOW");
    NavierStokes& b = h.forms->get<NavierStokes>();
    b.show();
    b.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&b));
    b.Solve->setFocus();
    QTest::keyClick(b.Solve, Qt::Key_Return);
    EXPECT_EQ(std::tuple(b.StatusBar1->panel(3), QApplication::focusWidget()),
              std::tuple(QString::fromUtf8(baseflow::kMsgConverged), static_cast<QWidget*>(b.Solve)));
    b.close();

    ITERATION& w = testing::openSweep(h, s, "1", "1", "2");
    h.state->SweepStepsStored = 2;  // as a sweep of two steps leaves it
    QTemporaryDir dir;
    h.fileAnswer = [&](const FileRequest&) { return dir.filePath("sweep"); };
    Harness::press(w.Toolbar1, "RAWDATA");
    EXPECT_TRUE(QFile::exists(dir.filePath("sweep.TXT")));
}

} // namespace
} // namespace velmora
