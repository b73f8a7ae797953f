// The welcome, about, instruction, references and fluid-constants windows:
// their fixed texts, how each one closes, and printing.
#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/InfoWindows.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

// Texts of the labels on a page whose names start with the prefix, in order.
QStringList labelTexts(QWidget* page, const QString& prefix)
{
    QStringList out;
    for (QLabel* l : page->findChildren<QLabel*>())
        if (l->objectName().startsWith(prefix)) out << l->text();
    return out;
}

QStringList allTexts(QWidget* w) { return labelTexts(w, QString()); }

QStringList tabNames(QTabWidget* tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i) out << tabs->tabText(i);
    return out;
}

QStringList actionTexts(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions) out << a->text();
    return out;
}

// Accessible names of the pictures of a window (the words drawn in them).
QString pictureWords(QWidget* w)
{
    QStringList out;
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->objectName().startsWith("Picture")) out << l->accessibleName();
    return out.join('|');
}

TEST(InfoWindows, WelcomeAndAboutShowTheProductWithArtwork)
{
    Harness h;
    Welcome& w = h.forms->get<Welcome>();
    AboutVelmora& a = h.forms->get<AboutVelmora>();
    EXPECT_EQ(a.windowTitle(), "About Velmora");
    for (QLabel* version : {w.Label3, a.Label3}) EXPECT_EQ(version->text(), "3.6.1");
    EXPECT_EQ(a.Label6->text(), w.Label6->text());
    for (QLabel* pic : {w.Picture1, a.Picture2}) {
        ASSERT_FALSE(pic->pixmap().isNull());
        // Drawn, not blank: the artwork uses more than one colour.
        const QImage img = pic->pixmap().toImage();
        EXPECT_NE(img.pixel(5, 5), img.pixel(img.width() / 2, img.height() / 2)) << pic->objectName().toStdString();
    }
}

TEST(InfoWindows, InstructionsHaveTheirTabsHeadingsAndMenus)
{
    Harness h;
    VelmoraHelp& v = h.forms->get<VelmoraHelp>();
    EXPECT_EQ(v.windowTitle(), "Velmora Instructions");
    ASSERT_EQ(tabNames(v.SSTab1),
              QStringList({"START", "BASICS", "MESH", "PLOTS", "STEPS-1", "STEPS-2", "STEPS-3"}));
    const QList<QStringList> headings = {
        {"What is Velmora"},
        {"What is CFD", "Using Velmora", "Variable Units ", "Computational Grid"},
        {"Mesh/Grid Generation", "Model Geometry"},
        {},
        {"Compressibility", "Panel Methods"},
        {"Step-By-Step Procedure"},
        {},
    };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(labelTexts(v.SSTab1->widget(i), "Heading"), headings[i]) << i;

    // A formula, the note and the words of a sketch as the program states them.
    EXPECT_TRUE(allTexts(v.SSTab1->widget(3)).contains("Pstatic=Pinf + 1/2*Rho*(Uinf^2 - Vlocal^2)"));
    EXPECT_TRUE(allTexts(v.SSTab1->widget(6)).contains(
        "Note: Changing any setting or data entry will cause a RESET deleting all CFD Loop plot data."));
    EXPECT_TRUE(pictureWords(v.SSTab1->widget(2)).contains("D-body (Cd Reference)"));

    QMenuBar* bar = v.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(actionTexts(bar->actions()), QStringList({"&File", "Base Flow", "Return"}));
}

TEST(InfoWindows, UnitTableListsTheSeaLevelConstantsOfEachSystem)
{
    Harness h;
    QTableWidget* t = h.forms->get<VelmoraHelp>().UnitTable;
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->columnCount(), 3);
    ASSERT_EQ(t->rowCount(), 5);
    QStringList heads, rows;
    for (int c = 0; c < 3; ++c) heads << t->horizontalHeaderItem(c)->text();
    for (int r = 0; r < 5; ++r) rows << t->verticalHeaderItem(r)->text();
    EXPECT_EQ(heads, QStringList({"ft-lb-sec [FPS] (Default)", "in-lb-sec [IPS]", "m-nt-sec [MNS]"}));
    EXPECT_EQ(rows, QStringList({"Inlet Pressure", "Air Density", "Air Viscosity", "Speed of sound", "Inlet Velocity"}));
    const std::tuple<int, int, const char*> cells[] = {
        {0, 2, "101352.93 NT/M^2"}, {1, 0, "0.002378 LB-SEC^2/FT^4"}, {2, 1, "2.71E-09 LB-SEC/IN^2"},
        {3, 2, "340.279 M/SEC"},
    };
    for (auto [r, c, text] : cells) EXPECT_EQ(t->item(r, c)->text(), text) << r << "," << c;
}

TEST(InfoWindows, BaseFlowInstructionsHaveTheirTabsHeadingsAndFormulas)
{
    Harness h;
    BaseFlowHelp& b = h.forms->get<BaseFlowHelp>();
    EXPECT_EQ(b.windowTitle(), "Base Flow Instructions");
    ASSERT_EQ(tabNames(b.SSTab1),
              QStringList({"Base Cd Estimate", "Base Drag CFD", "Rocket Motor Effect", "Rocket Motor Detail"}));
    const QList<QStringList> headings = {
        {"Base Drag Estimation"},
        {"Base Drag CFD"},
        {"Rocket Motor Base Drag Effects", "Rocket Motor Equations", "Rocket Motor Equations Used By Velmora",
         "Optimum rocket motor design condition:"},
        {"Rocket Motor Detail", "Using the Rocket Motor Option"},
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(labelTexts(b.SSTab1->widget(i), "Heading"), headings[i]) << i;
    EXPECT_TRUE(allTexts(b.SSTab1->widget(0)).contains("Cd_Base = 0.029 / SQR(Cfb) * (Dbase / Dbody)^3"));
    EXPECT_TRUE(pictureWords(b.SSTab1->widget(2)).contains("Specific impulse"));
}

TEST(InfoWindows, ReferencesListEighteenEntries)
{
    Harness h;
    References& r = h.forms->get<References>();
    EXPECT_EQ(r.Frame1->findChildren<QLabel*>().size(), 18);
    const QRegularExpression entry(QStringLiteral("^[^,]+.*, [^,]+, (1[89]|20)\\d\\d$"));
    QStringList seen;
    for (QLabel* l : r.Entries) {
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(entry.match(l->text()).hasMatch()) << l->text().toStdString();
        seen << l->text();
    }
    EXPECT_EQ(seen.removeDuplicates(), 0);
    EXPECT_TRUE(seen.contains("Fluid-Dynamic Drag, Sighard F. Hoerner, 1965"));
}

TEST(InfoWindows, BaseFlowOpensOnTopOfTheInstructions)
{
    Harness h;
    VelmoraHelp& v = h.forms->get<VelmoraHelp>();
    bool instructionsOpenBeneath = false;
    h.onShow["BaseFlowHelp"] = [&](Form& f) {
        instructionsOpenBeneath = h.forms->isLoaded<VelmoraHelp>();
        static_cast<BaseFlowHelp&>(f).mnuReturn_Click();
    };
    v.mnuBaseFlow->trigger();
    EXPECT_TRUE(instructionsOpenBeneath);
    EXPECT_FALSE(h.forms->isLoaded<BaseFlowHelp>());
    EXPECT_TRUE(h.forms->isLoaded<VelmoraHelp>());
}

struct CloseCase {
    const char* what;
    std::function<void(Harness&)> close;
    std::function<bool(Harness&)> loaded;
};
template <class W>
CloseCase closeCase(const char* what, std::function<void(W&)> close)
{
    return {what, [close](Harness& h) { close(h.forms->get<W>()); },
            [](Harness& h) { return h.forms->isLoaded<W>(); }};
}

TEST(InfoWindows, CloseCommandsUnloadTheTextWindows)
{
    // The title-bar close button acts as the window's own close command.
    const auto titleBar = [](QWidget& w) {
        w.show();
        w.close();
    };
    const std::vector<CloseCase> cases = {
        closeCase<AboutVelmora>("About Continue", [](AboutVelmora& w) { w.Continue->click(); }),
        closeCase<VelmoraHelp>("Instructions Close", [](VelmoraHelp& w) { w.mnuClose->trigger(); }),
        closeCase<VelmoraHelp>("Instructions Return", [](VelmoraHelp& w) { w.mnuReturn->trigger(); }),
        closeCase<BaseFlowHelp>("Base-flow Close", [](BaseFlowHelp& w) { w.mnuClose->trigger(); }),
        closeCase<BaseFlowHelp>("Base-flow Return", [](BaseFlowHelp& w) { w.mnuReturn->trigger(); }),
        closeCase<References>("References button", [](References& w) { w.Close->click(); }),
        closeCase<References>("References menu", [](References& w) { w.mnuClose->trigger(); }),
        closeCase<Welcome>("Welcome title bar", titleBar),
        closeCase<VelmoraHelp>("Instructions title bar", titleBar),
    };
    for (const CloseCase& c : cases) {
        Harness h;
        c.close(h);
        EXPECT_FALSE(c.loaded(h)) << c.what;
        EXPECT_FALSE(h.forms->quitRequested()) << c.what;
    }
}

TEST(InfoWindows, FluidConstantsAreHiddenAndKeepTheirValues)
{
    Harness h;
    FluidVariables& f = h.forms->get<FluidVariables>();
    EXPECT_TRUE(allTexts(&f).contains("Fluid Flow Parameters"));
    f.UINPUT->setText("1.2E+03");
    f.show();
    f.Close->click();
    EXPECT_TRUE(h.forms->isLoaded<FluidVariables>());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(h.forms->get<FluidVariables>().UINPUT->text(), "1.2E+03");
}

// The print command of every window that has one.
class WindowPrinting : public ::testing::Test {
protected:
    void TearDown() override { setPrinterProvider({}); }

    struct Target {
        const char* name;
        std::function<QWidget&(Harness&)> open;
        std::function<void(Harness&)> print;
    };
    template <class W>
    static Target target(const char* name, std::function<void(W&)> print)
    {
        return {name, [](Harness& h) -> QWidget& { return h.forms->get<W>(); },
                [print](Harness& h) { print(h.forms->get<W>()); }};
    }
    static std::vector<Target> infoWindows()
    {
        return {
            target<VelmoraHelp>("VelmoraHelp", [](VelmoraHelp& w) { w.mnuPrintPage->trigger(); }),
            target<BaseFlowHelp>("BaseFlowHelp", [](BaseFlowHelp& w) { w.mnuPrintPage->trigger(); }),
            target<References>("References", [](References& w) { w.mnuPrint->trigger(); }),
        };
    }

    QTemporaryDir dir;
};

TEST_F(WindowPrinting, PrintsTheWindowToThePrinter)
{
    for (const Target& t : infoWindows()) {
        Harness h;
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(t.name));
        testing::printTo(pdf);
        t.open(h).show();
        t.print(h);
        EXPECT_TRUE(h.messages().empty()) << t.name;
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << t.name;
        EXPECT_GT(f.size(), 1000) << t.name;
        EXPECT_TRUE(t.open(h).isVisible()) << t.name;
    }
}

TEST_F(WindowPrinting, AFailedPrintIsReportedAndTheWindowStays)
{
    auto targets = infoWindows();
    targets.push_back(target<SOLVER>("SOLVER", [](SOLVER& w) { w.mnuPrintForm->trigger(); }));
    targets.push_back(target<PlotResults>("PlotResults", [](PlotResults& w) { w.mnuPrintPage->trigger(); }));
    targets.push_back(target<BODYTUBE>("BODYTUBE", [](BODYTUBE& w) { Harness::press(w.Toolbar1, "PRINT"); }));
    targets.push_back(target<GeoBody>("GeoBody", [](GeoBody& w) { Harness::press(w.Toolbar1, "PRINT"); }));
    targets.push_back(target<FinAnalysis>("FinAnalysis", [](FinAnalysis& w) {
        w.mnuPrintPage->trigger();
        for (int i = 1; i <= 7; ++i) EXPECT_TRUE(w.Picture[static_cast<size_t>(i)]->hasPersistentPicture()) << i;
    }));
    // A printer that cannot write its file, and no printer with a PDF file
    // chosen in a folder that does not exist.
    const QString bad = dir.filePath(QStringLiteral("missing-folder/out.pdf"));
    for (bool printer : {true, false}) {
        for (const Target& t : targets) {
            Harness h;
            h.start();
            testing::printTo(printer ? bad : QString());
            h.fileAnswer = [bad](const FileRequest&) { return bad; };
            t.open(h).show();
            t.print(h);
            ASSERT_EQ(h.messages().size(), 1u) << t.name;
            EXPECT_EQ(h.messages()[0].prompt, "The form can't be printed.");
            EXPECT_TRUE(t.open(h).isVisible()) << t.name;
        }
    }
}

} // namespace
} // namespace velmora
