// The welcome, about, instruction, references and fluid-constants windows: fixed texts, closing and printing.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

// Texts of the labels on a page whose names start with the prefix, in order; of the pictures, the words drawn.
QStringList labelTexts(QWidget* page, const QString& prefix = {})
{
    QStringList out;
    for (QLabel* l : page->findChildren<QLabel*>())
        if (l->objectName().startsWith(prefix)) out << (prefix == "Picture" ? l->accessibleName() : l->text());
    return out;
}

QStringList tabNames(QTabWidget* tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i) out << tabs->tabText(i);
    return out;
}

// The product and its drawn artwork on the welcome and about windows; the tabs of both instruction windows, a
// formula and the words of a sketch each, and the unit table's sea-level constants; eighteen references.
TEST(InfoWindows, FixedTextsArtworkAndReferences)
{
    Harness h;
    Welcome& w = h.forms->get<Welcome>();
    AboutVelmora& a = h.forms->get<AboutVelmora>();
    for (QLabel* version : {w.Label3, a.Label3}) EXPECT_EQ(version->text(), "3.6.1");
    EXPECT_TRUE(w.Picture1->pixmap().isNull()); // drawn when first shown, not when built
    w.show();
    a.show();
    for (QLabel* pic : {w.Picture1, a.Picture2}) {
        // Drawn, not blank: the artwork uses more than one colour.
        const QImage img = pic->pixmap().toImage();
        EXPECT_NE(img.pixel(5, 5), img.pixel(img.width() / 2, img.height() / 2)) << pic->objectName().toStdString();
    }

    VelmoraHelp& v = h.forms->get<VelmoraHelp>();
    ASSERT_EQ(tabNames(v.SSTab1), QStringList({"START", "BASICS", "MESH", "PLOTS", "STEPS-1", "STEPS-2", "STEPS-3"}));
    EXPECT_TRUE(labelTexts(v.SSTab1->widget(3)).contains("Pstatic=Pinf + 1/2*Rho*(Uinf^2 - Vlocal^2)"));
    EXPECT_TRUE(labelTexts(v.SSTab1->widget(2), "Picture").join('|').contains("D-body (Cd Reference)"));
    QTableWidget* t = v.UnitTable;
    ASSERT_EQ(t->rowCount(), 5);
    for (auto [r, c, text] : {std::tuple{0, 2, "101352.93 NT/M^2"}, {1, 0, "0.002378 LB-SEC^2/FT^4"},
                              {2, 1, "2.71E-09 LB-SEC/IN^2"}, {3, 2, "340.279 M/SEC"}})
        EXPECT_EQ(t->item(r, c)->text(), text) << r << "," << c;

    BaseFlowHelp& b = h.forms->get<BaseFlowHelp>();
    ASSERT_EQ(tabNames(b.SSTab1),
              QStringList({"Base Cd Estimate", "Base Drag CFD", "Rocket Motor Effect", "Rocket Motor Detail"}));
    EXPECT_EQ(QStringList({a.windowTitle(), v.windowTitle(), b.windowTitle()}),
              QStringList({"About Velmora", "Velmora Instructions", "Base Flow Instructions"}));
    EXPECT_TRUE(labelTexts(b.SSTab1->widget(0)).contains("Cd_Base = 0.029 / SQR(Cfb) * (Dbase / Dbody)^3"));
    EXPECT_TRUE(labelTexts(b.SSTab1->widget(2), "Picture").join('|').contains("Specific impulse"));

    References& r = h.forms->get<References>();
    EXPECT_EQ(r.Frame1->findChildren<QLabel*>().size(), 18);
    QStringList seen;
    for (QLabel* l : r.Entries) seen << l->text();
    EXPECT_EQ(seen.removeDuplicates(), 0);
    EXPECT_TRUE(seen.contains("Fluid-Dynamic Drag, Sighard F. Hoerner, 1965"));
}

// A command of one window, and that window.
struct Command {
    const char* name;
    std::function<void(Harness&)> run;
    std::function<QWidget&(Harness&)> window;
    std::function<bool(Harness&)> loaded;
};
template <class W>
Command command(const char* name, std::function<void(W&)> run)
{
    return {name, [run](Harness& h) { run(h.forms->get<W>()); },
            [](Harness& h) -> QWidget& { return h.forms->get<W>(); },
            [](Harness& h) { return h.forms->isLoaded<W>(); }};
}

// Every close command unloads its text window without quitting; the base-flow instructions open on top of the
// others; the fluid constants only hide and keep their values.
TEST(InfoWindows, HowEachTextWindowCloses)
{
    const Command closes[] = {
        command<AboutVelmora>("About Continue", [](AboutVelmora& w) { w.Continue->click(); }),
        command<VelmoraHelp>("Instructions Close", [](VelmoraHelp& w) { w.mnuClose->trigger(); }),
        command<VelmoraHelp>("Instructions Return", [](VelmoraHelp& w) { w.mnuReturn->trigger(); }),
        command<BaseFlowHelp>("Base-flow Close", [](BaseFlowHelp& w) { w.mnuClose->trigger(); }),
        command<BaseFlowHelp>("Base-flow Return", [](BaseFlowHelp& w) { w.mnuReturn->trigger(); }),
        command<References>("References button", [](References& w) { w.Close->click(); }),
        command<References>("References menu", [](References& w) { w.mnuClose->trigger(); }),
        // The title-bar close button acts as the window's own close command.
        command<Welcome>("Welcome title bar", [](Welcome& w) {
            w.show();
            w.close();
        }),
    };
    for (const Command& c : closes) {
        Harness h;
        c.run(h);
        EXPECT_EQ(std::tuple(c.loaded(h), h.forms->quitRequested()), std::tuple(false, false)) << c.name;
    }

    Harness h;
    bool instructionsOpenBeneath = false;
    h.onShow["BaseFlowHelp"] = [&](Form& f) {
        instructionsOpenBeneath = h.forms->isLoaded<VelmoraHelp>();
        static_cast<BaseFlowHelp&>(f).mnuReturn_Click();
    };
    h.forms->get<VelmoraHelp>().mnuBaseFlow->trigger();
    EXPECT_EQ(std::tuple(instructionsOpenBeneath, h.forms->isLoaded<BaseFlowHelp>(), h.forms->isLoaded<VelmoraHelp>()),
              std::tuple(true, false, true));

    FluidVariables& f = h.forms->get<FluidVariables>();
    EXPECT_TRUE(labelTexts(&f).contains("Fluid Flow Parameters"));
    f.UINPUT->setText("1.2E+03");
    f.show();
    f.Close->click();
    EXPECT_EQ(std::tuple(h.forms->isLoaded<FluidVariables>(), f.isVisible()), std::tuple(true, false));
    EXPECT_EQ(h.forms->get<FluidVariables>().UINPUT->text(), "1.2E+03");
}

// Every print command. A failed print is reported (a printer that cannot write its file, or none and a PDF file in
// a missing folder, by turns). With a printer the print dialog comes first and, cancelled, prints nothing. Without
// one the file dialog proposes the caption; a cancelled pick says nothing, a name without ".pdf" gets it, and the
// status bar or a message says where the page went. The window stays open throughout.
TEST(WindowPrinting, EveryPrintCommandPrintsOrSaysWhyAndTheWindowStays)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("missing-folder/out.pdf"));
    const Command prints[] = {
        command<VelmoraHelp>("VelmoraHelp", [](VelmoraHelp& w) { w.mnuPrintPage->trigger(); }),
        command<BaseFlowHelp>("BaseFlowHelp", [](BaseFlowHelp& w) { w.mnuPrintPage->trigger(); }),
        command<References>("References", [](References& w) { w.mnuPrint->trigger(); }),
        command<SOLVER>("SOLVER", [](SOLVER& w) { w.mnuPrintForm->trigger(); }),
        command<PlotResults>("PlotResults", [](PlotResults& w) { w.mnuPrintPage->trigger(); }),
        command<BODYTUBE>("BODYTUBE", [](BODYTUBE& w) { Harness::press(w.Toolbar1, "PRINT"); }),
        command<GeoBody>("GeoBody", [](GeoBody& w) { Harness::press(w.Toolbar1, "PRINT"); }),
        command<FinAnalysis>("FinAnalysis", [](FinAnalysis& w) {
            w.mnuPrintPage->trigger();
            for (int i = 1; i <= 7; ++i) EXPECT_TRUE(w.Picture[static_cast<size_t>(i)]->hasPersistentPicture()) << i;
        }),
    };
    bool printer = true;
    for (const Command& c : prints) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.start();
        QWidget& w = c.window(h);
        w.show();
        testing::printTo((printer = !printer) ? bad : QString());
        h.fileAnswer = [bad](const FileRequest&) { return bad; };
        c.run(h);
        ASSERT_EQ(h.messages().size(), 1u);
        EXPECT_EQ(h.messages()[0].prompt, "The form can't be printed. The folder " +
                                              QDir::toNativeSeparators(dir.filePath("missing-folder")) +
                                              " does not exist.");

        const QString printed = dir.filePath(QStringLiteral("%1 printer.pdf").arg(c.name));
        testing::printTo(printed);
        int dialogs = 0;
        ModalSeam::instance().setPrintHandler([&](QPrinter&) { return ++dialogs > 1; });
        c.run(h);
        EXPECT_FALSE(QFile::exists(printed));
        c.run(h);
        EXPECT_GT(QFileInfo(printed).size(), 1000);

        testing::printTo(QString());
        QStringList proposed, picks = {QString(), dir.filePath(c.name)};
        h.fileAnswer = [&](const FileRequest& r) {
            proposed << QFileInfo(r.fileName).fileName();
            EXPECT_TRUE(r.save);
            return picks.takeFirst();
        };
        const auto* bar = w.findChild<StatusBar*>("StatusBar1");
        const QString panelBefore = bar ? bar->panel(1) : QString();
        c.run(h);
        EXPECT_EQ(bar ? bar->panel(1) : QString(), panelBefore);
        EXPECT_EQ(h.messages().size(), 1u);
        c.run(h);
        EXPECT_EQ(proposed, QStringList(2, w.windowTitle() + ".pdf"));
        const QString saved = "Page saved as " + QDir::toNativeSeparators(dir.filePath(c.name) + ".pdf");
        EXPECT_EQ(bar ? bar->panel(1) : h.messages().back().prompt, saved);
        EXPECT_EQ(h.messages().size(), bar ? 1u : 2u);
        EXPECT_GT(QFileInfo(dir.filePath(c.name) + ".pdf").size(), 1000);
        EXPECT_TRUE(w.isVisible());
    }
    setPrinterProvider({});
}

} // namespace
} // namespace velmora
