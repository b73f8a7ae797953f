// The fin-section window and the manual section window, driven through their real controls offscreen; drawings
// are read from the recorded calls and the pictures' pixels.
#include <QTemporaryDir>

#include "baseflow/ui/NavierStokes.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

// The lines of a recording in one colour, after its last clear.
std::vector<PictureBox::Call> linesIn(const PictureBox* p, QRgb colour)
{
    std::vector<PictureBox::Call> out;
    for (const PictureBox::Call& c : p->calls()) {
        if (c.kind == Kind::Clear) out.clear();
        else if (c.kind == Kind::Line && c.colour == colour) out.push_back(c);
    }
    return out;
}
std::vector<PictureBox::Call> outline(const PictureBox* p) { return linesIn(p, PictureBox::qbColor(1)); }

// The rocket with fins, the fin-section window opened by the fin window's key (it computes the mean chord), recorded.
class FinSectionWindow : public ::testing::Test {
protected:
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    Module1& m = *h.state;
    PanelAero& p = h.forms->get<PanelAero>();
    ManualData& manual = h.forms->get<ManualData>();

    void SetUp() override
    {
        h.forms->get<FinAnalysis>().Toolbar1_ButtonClick("PANAERO");
        for (PictureBox* pic : {p.FinSection, p.PLOT1, p.LEGEND1, p.LEGEND2}) pic->setRecording(true);
    }
    // The base-flow window goes with every reset: loaded now, gone after one.
    void loadBaseFlow() { h.forms->get<NavierStokes>(); }
    bool resetSince() const { return !h.forms->isLoaded<NavierStokes>(); }
};

// The lists take no typed text; a picked magnification redraws and invalidates.
TEST_F(FinSectionWindow, PickOnlyListsAndMagnification)
{
    for (ComboBox* list : {p.PANELS, p.FINTHK, p.SECTIONS}) {
        const QString shown = list->Text();
        QTest::keyClicks(list, "Q");  // starts no item
        EXPECT_EQ(list->Text(), shown) << list->objectName().toStdString();
    }
    Harness::type(s.ROCKETAOA, "0");  // unrotated: only y carries the factor
    Harness::pick(p.FINTHK, "1X");
    const auto one = outline(p.FinSection);
    ASSERT_EQ(one.size(), 100u);
    const std::tuple<const char*, int, double> cases[] = {{"2X", 2, 4.0}, {"3X", 4, 16.0}, {"4X", 6, 36.0}};
    for (auto [text, factor, ratio] : cases) {
        SCOPED_TRACE(text);
        m.PanelSolutionStatus = "SOLVED";
        loadBaseFlow();
        Harness::pick(p.FINTHK, text);
        EXPECT_EQ(std::tuple(m.FinThicknessFactor, m.PanelSolutionStatus, resetSince(), testing::panels(p.StatusBar1)),
                  std::tuple(factor, "SOLVE NEW FLOW", true, " | Please solve with new fin cross-section."));
        const auto drawn = outline(p.FinSection);
        ASSERT_EQ(drawn.size(), 100u);
        EXPECT_NEAR(drawn[21].coords[1] - 88.0, ratio * (one[21].coords[1] - 88.0), 1e-3);
    }
}

TEST_F(FinSectionWindow, PanelTypeAndPlotButtonsWhileStale)
{
    p.StatusBar1->setPanel(1, "kept");
    p.MAX1->setText("1.");
    loadBaseFlow();
    p.PANELTYPES[1]->click();  // the reset takes the state and labels of the solution it drops
    EXPECT_EQ(std::tuple(m.PanelMethodChoice, m.PanelSolutionStatus, resetSince(), testing::panels(p.StatusBar1),
                         p.MAX1->text()),
              std::tuple("SOURCE", "SOLVE NEW FLOW", true, " | Please solve with new panel type.", ""));
    p.StatusBar1->setPanel(1, "kept");

    for (QPushButton* b : {p.Command1, p.Command2}) {
        p.StatusBar1->setPanel(2, QString());
        p.PLOT1->clearRecording();
        b->click();
        EXPECT_EQ(testing::panels(p.StatusBar1), "kept | Please perform panel analysis.");
        EXPECT_TRUE(p.PLOT1->calls().empty());
    }
}

// Choosing the manual section: reset, the manual window, and a redraw only when no point count was chosen there.
TEST_F(FinSectionWindow, ManualSectionChoice)
{
    bool resetBeforeOpening = false;
    h.onShow["ManualData"] = [&](Form&) {
        resetBeforeOpening = resetSince() && m.PanelSolutionStatus == "SOLVE NEW FLOW" &&
                             p.FinSection->calls().back().kind == Kind::Clear;
        EXPECT_FALSE(manual.CHORD->text().isEmpty());
        const char* typed[][2] = {{"-1", "-.1"}, {"-1", ".1"}, {"1", ".05"}, {"1", "-.05"}};
        for (int i = 1; i <= 4; ++i) {
            Harness::type(manual.X[static_cast<size_t>(i)], typed[i - 1][0]);
            Harness::type(manual.Y[static_cast<size_t>(i)], typed[i - 1][1]);
        }
        loadBaseFlow();
        QTest::mouseClick(manual.Close, Qt::LeftButton);
    };
    loadBaseFlow();
    Harness::pick(p.SECTIONS, "MANUAL INPUT");
    // A reset before the manual window opens, and a second one since.
    EXPECT_EQ(std::tuple(resetBeforeOpening, resetSince(), outline(p.FinSection).size(), testing::panels(p.StatusBar1)),
              std::tuple(true, true, 100u, " | Please solve with new fin cross-section."));

    // Six points chosen in the manual window: drawn by its Close, not again.
    h.onShow["ManualData"] = [&](Form&) {
        Harness::pick(manual.PANELS, "6");
        loadBaseFlow();
        QTest::mouseClick(manual.Close, Qt::LeftButton);
        EXPECT_EQ(outline(p.FinSection).size(), 6u);
        p.FinSection->clearRecording();
    };
    Harness::pick(p.SECTIONS, "MANUAL INPUT");
    EXPECT_EQ(std::tuple(p.PANELS->Text(), resetSince(), p.FinSection->calls().empty()), std::tuple("6", false, true));

    // A panel count under the manual section clears both pictures only.
    Harness::pick(p.PANELS, "20");
    for (PictureBox* pic : {p.FinSection, p.PLOT1}) {
        ASSERT_FALSE(pic->calls().empty());
        EXPECT_EQ(pic->calls().back().kind, Kind::Clear);
    }
    EXPECT_EQ(testing::panels(p.StatusBar1), " | Please solve with new number of panels.");
}

TEST_F(FinSectionWindow, ReturnRecomputesTheDragOnlyWithAVelocity)
{
    // The fin drag the drag build-up leaves, marked to see whether it ran.
    auto leave = [&](const std::function<void()>& how, float velocity) {
        m.FreeStreamVelocity = velocity;
        m.FinSurfaceDragCoefficient = -1.0f;
        p.show();
        how();
        EXPECT_TRUE(p.isHidden());
        return m.FinSurfaceDragCoefficient != -1.0f;
    };
    auto close = [&] { p.mnuClose->trigger(); };
    auto back = [&] { Harness::press(p.Toolbar1, "RETURN"); };
    EXPECT_FALSE(leave(close, 300));
    EXPECT_TRUE(leave(back, 300));
    EXPECT_GT(m.FinSurfaceDragCoefficient, 0);
    EXPECT_FALSE(leave(back, 0));
    EXPECT_FALSE(leave(close, 0));
}

// SOLVE draws the fin result into the hidden window at the pictures' size; Print Page reaches the printer, and
// one that cannot write says so.
TEST_F(FinSectionWindow, SolveDrawsTheFinResultAndPrintsIt)
{
    ASSERT_TRUE(p.isHidden());
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    ASSERT_EQ(s.lastSolve.finSection, Outcome::Done);
    EXPECT_EQ(std::tuple(p.StatusBar1->panel(1), p.MIN1->text().isEmpty(), p.NoMeshDefined1->isHidden()),
              std::tuple("Panel method solution found.", false, true));
    EXPECT_EQ(outline(p.FinSection).size(), 100u);
    EXPECT_FALSE(linesIn(p.PLOT1, PictureBox::qbColor(4)).empty());
    EXPECT_FALSE(testing::blank(p.PLOT1));

    // The velocity plot of the same solution, on demand.
    p.Command2->click();
    EXPECT_EQ(QStringList({p.UnitsLabel1->text(), p.StatusBar1->panel(1)}), QStringList({"FT/SEC", "Plot complete."}));

    QTemporaryDir dir;
    testing::printTo(dir.filePath("missing/fins.pdf"));
    p.mnuPrintPage->trigger();
    EXPECT_EQ(testing::said(h.messages()),
              QStringList({"The form can't be printed. The folder " +
                           QDir::toNativeSeparators(dir.filePath("missing")) + " does not exist. | "}));
    setPrinterProvider({});
}

// ---- manual section window ----------------------------------------------------------------

TEST_F(FinSectionWindow, ManualRowsPointsAndUnits)
{
    EXPECT_EQ(manual.PANELS->Text(), "10");
    EXPECT_EQ(m.PanelCount, 100);  // loading chooses no count
    struct Case { const char* count; int picture; int lastRow; };
    for (const Case& c : {Case{"4", 1, 4}, Case{"8", 3, 8}, Case{"6", 2, 6}, Case{"10", 4, 10}}) {
        SCOPED_TRACE(c.count);
        Harness::pick(manual.PANELS, c.count);
        EXPECT_EQ(p.PANELS->Text(), c.count);
        for (int i = 1; i <= 4; ++i) EXPECT_EQ(manual.Picture[static_cast<size_t>(i)]->isHidden(), i != c.picture);
        for (int i = 1; i <= 10; ++i) EXPECT_EQ(manual.Y[static_cast<size_t>(i)]->isHidden(), i > c.lastRow) << i;
    }
    Harness::type(manual.X[8], "1.5");
    EXPECT_EQ(m.ManualSectionX(8), 1.5);
    Harness::pick(manual.PANELS, "6");
    QTest::mouseClick(manual.Reset, Qt::LeftButton);
    EXPECT_EQ(std::tuple(m.ManualSectionX(8), manual.X[8]->text(), m.PanelCount), std::tuple(0, "", 6));

    // The unit is that of each opening; the example section is drawn and solves.
    h.onShow["ManualData"] = [&](Form&) {
        QTest::mouseClick(manual.Example, Qt::LeftButton);
        QTest::mouseClick(manual.Close, Qt::LeftButton);
    };
    Harness::pick(s.CFDUNITS, "m-nt-sec");
    Harness::pick(p.SECTIONS, "MANUAL INPUT");
    EXPECT_EQ(QStringList({manual.UnitsLabel->text(), manual.X[4]->text()}), QStringList({"M", "0.0051238"}));
    EXPECT_EQ(outline(p.FinSection).size(), 10u);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    EXPECT_EQ(linesIn(p.PLOT1, PictureBox::qbColor(1)).size(), 5u);
}

} // namespace
} // namespace velmora
