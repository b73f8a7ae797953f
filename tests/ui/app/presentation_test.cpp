// How the windows present themselves: numbers that fit their boxes, the
// keyboard, where windows open, printing without a printer, and what the
// accessibility interface reads.
#include <QAccessible>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "platform/ui/Build.h"
#include "stability/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using BoxWidths = testing::Started;
using Menus = testing::Started;
using Accessibility = testing::Started;

// Pixels a line edit has for its text, as it lays the text out.
int textRoom(const QLineEdit* box)
{
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.rect = box->rect();
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
    const QMargins tm = box->textMargins();
    return contents.width() - tm.left() - tm.right() - 4;
}

// The text is wholly in view from its first character.
::testing::AssertionResult showsWhole(const QLineEdit* box)
{
    const int need = box->fontMetrics().horizontalAdvance(box->text());
    if (need > textRoom(box))
        return ::testing::AssertionFailure() << box->objectName().toStdString() << " \"" << box->text().toStdString()
                                             << "\" needs " << need << " px, has " << textRoom(box);
    if (box->isReadOnly() && box->cursorPosition() != 0)
        return ::testing::AssertionFailure() << box->objectName().toStdString() << " cursor at "
                                             << box->cursorPosition();
    return ::testing::AssertionSuccess();
}

// The number of the pattern's widest text: every place a 9, one more
// integer digit, negative.
double widestValue(std::string_view pattern)
{
    int whole = 0, decimals = 0;
    bool point = false;
    for (char c : pattern) {
        if (c == 'E') break;
        if (c == '.') point = true;
        else if (c == '#' || c == '0') ++(point ? decimals : whole);
    }
    return -(std::pow(10.0, whole + 1) - std::pow(10.0, -decimals));
}

template <class W>
W& shown(Harness& h)
{
    W& w = h.forms->get<W>();
    w.show();
    return w;
}

TEST_F(BoxWidths, TheWidestNumberOfEachPatternShowsWhole)
{
    struct Case { std::function<QLineEdit*()> box; const char* pattern; };
    auto& fluid = h.forms->get<FluidVariables>();
    auto& base = h.forms->get<NavierStokes>();
    auto& cp = h.forms->get<PressureCenter>();
    auto& plot = h.forms->get<PlotResults>();
    const Case cases[] = {
        {[&] { return s.ReNumber; }, "#########"},   {[&] { return s.FORCE; }, "#####.###"},
        {[&] { return s.MachNumber; }, "#####.###"}, {[&] { return s.XLRATIOS; }, "#####.###"},
        {[&] { return s.TotalCd; }, "##.###"},       {[&] { return s.FinSurfaceDrag; }, "##.###"},
        {[&] { return s.CMFORCES; }, "##.###"},      {[&] { return s.Velocity; }, "##.###"},
        {[&] { return fluid.Density; }, "#.###E+00"}, {[&] { return fluid.Pressure; }, "#####.###"},
        {[&] { return base.AMUIN; }, ".#########"},  {[&] { return base.UINFIN; }, "#####.#"},
        {[&] { return cp.LUGFORCES; }, "#####.###"}, {[&] { return cp.MODELAOA; }, "###.##"},
        {[&] { return plot.MAX; }, "#####.#####"},   {[&] { return plot.MIN1; }, "#####.#####"},
    };
    for (Form* w : std::initializer_list<Form*>{&s, &fluid, &base, &cp, &plot}) w->show();
    for (const Case& c : cases) {
        QLineEdit* box = c.box();
        const double v = std::string_view(c.pattern).find('E') != std::string_view::npos ? -9.999e-88
                                                                                          : widestValue(c.pattern);
        box->setText(qFormat(v, c.pattern));
        EXPECT_TRUE(showsWhole(box)) << c.pattern;
    }
    // The unit boxes hold their longest unit.
    for (const char* unit : {"LB", "NT"}) {
        s.FORCELABEL->setText(unit);
        EXPECT_TRUE(showsWhole(s.FORCELABEL));
    }
    fluid.Label3->setText("NT-SEC^2/M^4");
    EXPECT_TRUE(showsWhole(fluid.Label3));
}

TEST_F(BoxWidths, ABigRocketsResultsShowWhole)
{
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    Harness::pick(body.NoseShape, "TANGENT OGIVE");
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

// ---- keyboard ------------------------------------------------------------------------

// The controls Tab visits from the first focus, by program name, until it
// comes back round.
QStringList tabChain(QWidget& window)
{
    QStringList names;
    QWidget* first = QApplication::focusWidget();
    if (!first) return names;
    QWidget* w = first;
    do {
        names << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
    } while (w && w != first && names.size() < 40);
    return names;
}

TEST(Keyboard, FirstFocusAndTabInReadingOrder)
{
    struct Case {
        const char* window;
        std::function<Form&(Harness&)> open;
        QStringList chain;
    };
    const Case cases[] = {
        {"SOLVER", [](Harness& h) -> Form& { return h.start(); },
         {"Velocity", "Speed", "ROCKETAOA", "Compressible", "RATIOS", "CFDUNITS", "DomainSize", "MERIDIANS",
          "CFDSOLVER", "MESHER", "IterateBtn", "Abort"}},
        {"BODYTUBE", [](Harness& h) -> Form& { return h.forms->get<BODYTUBE>(); },
         {"NoseShape", "NoseLength", "BodyDiameter", "BodyLength", "BaseDiameter", "BaseLength", "BodyLength2",
          "GEOMETRY0"}},
        {"FinAnalysis", [](Harness& h) -> Form& { return h.forms->get<FinAnalysis>(); },
         {"NFINS", "ClearData", "FinShapes0", "FinEdges0", "FinishType0", "DTip", "DRoot", "TipChord", "SpanLength",
          "RootChord", "FINTHK", "DLUGS", "ODLUGS", "IDLUGS"}},
        {"FluidVariables", [](Harness& h) -> Form& { return h.forms->get<FluidVariables>(); }, {"Close"}},
    };
    for (const Case& c : cases) {
        Harness h;
        Form& w = c.open(h);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << c.window;
        w.focusFirstInput();
        EXPECT_EQ(tabChain(w), c.chain) << c.window;
    }
}

TEST(Keyboard, ReadOnlyBoxesAreLeftOutOfTheTabChain)
{
    Harness h;
    SOLVER& s = h.start();
    for (Form* w : std::initializer_list<Form*>{&s, &h.forms->get<BODYTUBE>(), &h.forms->get<FinAnalysis>(),
                                                &h.forms->get<PressureCenter>(), &h.forms->get<FluidVariables>()})
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (qobject_cast<QComboBox*>(box->parent())) continue;  // a pick-only list is an input
            if (box->isReadOnly()) {
                EXPECT_FALSE(box->focusPolicy() & Qt::TabFocus) << box->objectName().toStdString();
            }
        }
}

// ---- windows and message boxes ------------------------------------------------------

// The main window fits a 1280 x 800 screen with room for a title bar and a
// panel, and its mesh picture takes what a larger window gives it.
TEST(Placement, MainWindowFitsA1280By800Screen)
{
    Harness h;
    SOLVER& s = h.start();
    const QSize least = s.minimumSizeHint();
    EXPECT_LE(least.width(), 1280);
    EXPECT_LE(least.height(), 740);
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
    for (const char* title : {"MACH NUMBER TO LARGE", "NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100"}) {
        auto box = buildMessageBox({"PLEASE ENTER NEW MACH NUMBER", title, MsgButtons::OkOnly, MsgIcon::None}, nullptr);
        box->layout()->activate();
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GT(box->layout()->minimumSize().width(), QFontMetrics(bold).horizontalAdvance(title) + 100) << title;
        EXPECT_EQ(box->windowTitle(), title);
    }
}

// ---- printing --------------------------------------------------------------------------

TEST(PrintPage, WithoutAPrinterThePageGoesToTheChosenPdf)
{
    QTemporaryDir dir;
    Harness h;
    h.start();
    BODYTUBE& body = shown<BODYTUBE>(h);
    setPrinterProvider([] { return std::unique_ptr<QPrinter>(); }); // no printer on this machine
    QString proposed;
    h.fileAnswer = [&](const FileRequest& r) {
        proposed = r.fileName;
        EXPECT_TRUE(r.save);
        return dir.filePath(QFileInfo(r.fileName).fileName());
    };
    Harness::press(body.Toolbar1, "PRINT");
    EXPECT_EQ(QFileInfo(proposed).fileName(), "Body Tube Geometry.pdf");
    const QString file = dir.filePath("Body Tube Geometry.pdf");
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_EQ(body.StatusBar1->panel(1), "Page saved as " + QDir::toNativeSeparators(file));
    EXPECT_TRUE(h.messages().empty());

    // A cancelled dialog prints nothing and says nothing.
    h.fileAnswer = [](const FileRequest&) { return QString(); };
    body.StatusBar1->setPanel(1, "before");
    Harness::press(body.Toolbar1, "PRINT");
    EXPECT_EQ(body.StatusBar1->panel(1), "before");
    EXPECT_TRUE(h.messages().empty());

    // A window without a status bar says where the file went in a message.
    h.fileAnswer = [&](const FileRequest&) { return dir.filePath("help"); };
    VelmoraHelp& help = shown<VelmoraHelp>(h);
    help.mnuPrintPage->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath("help.pdf")));
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].prompt, "Page saved as " + QDir::toNativeSeparators(dir.filePath("help.pdf")));
    setPrinterProvider({});
}

TEST(PrintPage, TheProposedNameNeverReplacesAFile)
{
    QTemporaryDir dir;
    const struct { const char* caption; const char* name; } cases[] = {
        {"Body Tube Geometry", "Body Tube Geometry.pdf"},
        {"a/b:c*?", "abc.pdf"},
        {"", "Page.pdf"},
    };
    for (const auto& c : cases) EXPECT_EQ(QFileInfo(proposedPdfName(dir.path(), c.caption)).fileName(), c.name);
    for (const char* taken : {"Body Tube Geometry.pdf", "Body Tube Geometry (2).pdf"}) {
        QFile f(dir.filePath(taken));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(QFileInfo(proposedPdfName(dir.path(), "Body Tube Geometry")).fileName(), "Body Tube Geometry (3).pdf");
}

TEST(PrintPage, WithAPrinterThePrintDialogComesFirst)
{
    QTemporaryDir dir;
    Harness h;
    SOLVER& s = h.start();
    s.show();
    testing::printTo(dir.filePath("main.pdf"));
    int dialogs = 0;
    ModalSeam::instance().setPrintHandler([&](QPrinter&) { return ++dialogs == 2; }); // cancel, then print
    s.mnuPrintForm->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath("main.pdf")));
    s.mnuPrintForm->trigger();
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(QFile::exists(dir.filePath("main.pdf")));
    EXPECT_TRUE(h.messages().empty());
    setPrinterProvider({});
}

// ---- menus -------------------------------------------------------------------------------

TEST_F(Menus, UnitsAreRadioChoices)
{
    QActionGroup* group = s.mnuNewUnits[0]->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isExclusive());
    s.mnuNewUnits[2]->trigger();
    EXPECT_EQ(group->checkedAction(), s.mnuNewUnits[2]);
    EXPECT_EQ(s.UNITLBL->text(), "MNS");
}

// ---- accessibility -----------------------------------------------------------------------

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
            const std::string where = (w->objectName() + "/" + c->objectName() + " (" +
                                       c->metaObject()->className() + ")").toStdString();
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << where;
            EXPECT_EQ(a->text(QAccessible::Description), c->objectName()) << where;
            ++controls;
        }
        // Every status panel reads as its text.
        for (StatusBar* bar : w->findChildren<StatusBar*>()) {
            for (int n = 1; n <= bar->panelCount(); ++n) {
                bar->setPanel(n, QStringLiteral("Panel text %1").arg(n));
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(bar->panelLabel(n));
                EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Panel text %1").arg(n));
                EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("Panel%1").arg(n));
                bar->setPanel(n, QString());
                EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Status panel %1").arg(n));
            }
        }
    }
    EXPECT_GT(controls, 150);
    // Toolbar buttons carry their key.
    QAccessibleInterface* body = QAccessible::queryAccessibleInterface(s.Toolbar1->widgetForAction(s.Toolbar1->actions()[0]));
    EXPECT_EQ(body->text(QAccessible::Name), "BODY");
    EXPECT_EQ(body->text(QAccessible::Description), "BODY");
}

} // namespace
} // namespace velmora
