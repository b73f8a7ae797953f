#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/SOLVER.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

constexpr auto timesShown = &Harness::timesShown;

// The window's four dimension boxes of a tapered fin, typed as a user would.
void typeFin(FinAnalysis& f, const char* tip, const char* root, const char* rootChord, const char* tipChord)
{
    Harness::type(f.DTip, tip);
    Harness::type(f.DRoot, root);
    Harness::type(f.RootChord, rootChord);
    Harness::type(f.TipChord, tipChord);
}

class FinWindow : public testing::Started {
protected:
    FinAnalysis& f = h.forms->get<FinAnalysis>();
};

TEST_F(FinWindow, StartState)
{
    EXPECT_EQ(std::tuple(m.FinPlanformCode, m.FinEdgeCode, m.SurfaceFinishCode, m.FinCount),
              std::tuple(3, 3, 2, 3));
    EXPECT_EQ(f.NFINS->Text(), "3");
    EXPECT_TRUE(f.FinShapes[2]->isChecked());
    EXPECT_TRUE(f.FinishType[1]->isChecked());
    for (int i : {1, 3, 7, 9}) EXPECT_EQ(f.Picture[static_cast<size_t>(i)]->isHidden(), i != 3 && i != 7) << i;
    EXPECT_FALSE(f.TipChord->isHidden());
}

TEST(FinWindowCases, PlanformClicksDeriveFromTheTypedValues)
{
    struct Case {
        int index;
        int16_t code;
        int picture;
        double rootDistance;
        double tipChord;
    };
    const Case cases[] = {
        {0, 1, 1, 6.099999904632568, 0.0},
        {1, 2, 4, 10.100000381469727, 4.0},
        {3, 4, 2, 10.100000381469727, 4.0}, // the elliptical tip chord is the root chord
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        Harness h;
        SOLVER& s = h.start();
        FinAnalysis& f = h.forms->get<FinAnalysis>();
        Module1& m = *h.state;
        typeFin(f, "10.1", "7", "4", "2");
        EXPECT_EQ(m.FinRootDistance, 7.0f);
        EXPECT_EQ(m.FinTipChord, 2.0f);
        f.FinShapes[static_cast<size_t>(c.index)]->click();
        EXPECT_EQ(m.FinPlanformCode, c.code);
        EXPECT_EQ(static_cast<double>(m.FinRootDistance), c.rootDistance);
        EXPECT_EQ(static_cast<double>(m.FinTipChord), c.tipChord);
        EXPECT_EQ(f.TipChord->text(), "");
        EXPECT_TRUE(f.DRoot->isHidden());
        EXPECT_FALSE(f.DTip->isHidden());
        for (int i : {1, 2, 3, 4}) EXPECT_EQ(f.Picture[static_cast<size_t>(i)]->isHidden(), i != c.picture) << i;
        EXPECT_EQ(s.StatusBar1->panel(2), "MESH required, fin shape has changed.");

        // Typing into the hidden boxes cannot break the rule.
        f.DRoot->setText("3");
        EXPECT_EQ(static_cast<double>(m.FinRootDistance), c.rootDistance);

        // Back to tapered: the boxes come back, the values stand until typed.
        f.FinShapes[2]->click();
        EXPECT_FALSE(f.DRoot->isHidden());
        EXPECT_EQ(static_cast<double>(m.FinRootDistance), c.rootDistance);
        Harness::type(f.DRoot, "5");
        EXPECT_EQ(m.FinRootDistance, 5.0f);
    }
}

// The fin state after a planform choice and a later edit, left one way or
// the other.
std::tuple<float, float, double, double> leaveAfterEdit(int planform, bool viaReturn)
{
    Harness h;
    h.start();
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    Module1& m = *h.state;
    f.show();
    typeFin(f, "10", "", "4", "");
    f.FinShapes[static_cast<size_t>(planform)]->click();
    Harness::type(f.RootChord, "6");
    Harness::type(f.DTip, "11");
    if (viaReturn) f.Toolbar1_ButtonClick("RETURN");
    else f.mnuClose->trigger();
    EXPECT_TRUE(f.isHidden());
    return {m.FinRootDistance, m.FinTipChord, m.FinRootChord, m.FinTipDistance};
}

TEST(FinWindowCases, CloseAfterAnEditLeavesTheSameStateAsReturn)
{
    for (int planform : {0, 3}) {
        SCOPED_TRACE(planform);
        const auto viaReturn = leaveAfterEdit(planform, true);
        EXPECT_EQ(leaveAfterEdit(planform, false), viaReturn);
    }
    EXPECT_EQ(leaveAfterEdit(0, false), std::make_tuple(5.0f, 0.0f, 6.0, 11.0));
}

TEST(FinWindowCases, TipDistanceEditDerivesAtOnce)
{
    // Triangle, rectangle, elliptical: root distance and tip chord after the edit.
    const std::tuple<int, float, float> cases[] = {{0, 8.0f, 0.0f}, {1, 12.0f, 4.0f}, {3, 12.0f, 4.0f}};
    for (auto [planform, rootDistance, tipChord] : cases) {
        SCOPED_TRACE(planform);
        Harness h;
        h.start();
        FinAnalysis& f = h.forms->get<FinAnalysis>();
        f.FinShapes[static_cast<size_t>(planform)]->click();
        Harness::type(f.RootChord, "4");
        Harness::type(f.DTip, "12"); // the last edit; the window stays open
        EXPECT_EQ(h.state->FinRootDistance, rootDistance);
        EXPECT_EQ(h.state->FinTipChord, tipChord);
    }
}

TEST(FinWindowCases, EveryWayOfLeavingDerivesFromTheStoredValues)
{
    const std::pair<const char*, void (*)(FinAnalysis&)> exits[] = {
        {"RETURN", [](FinAnalysis& f) { f.Toolbar1_ButtonClick("RETURN"); }},
        {"Close menu", [](FinAnalysis& f) { f.mnuClose->trigger(); }},
        {"title bar", [](FinAnalysis& f) { f.close(); }},
    };
    for (auto [how, leave] : exits) {
        SCOPED_TRACE(how);
        Harness h;
        h.start();
        FinAnalysis& f = h.forms->get<FinAnalysis>();
        Module1& m = *h.state;
        f.show();
        f.FinShapes[0]->click();
        // Values that reached the state without passing through the boxes.
        m.FinTipDistance = 10;
        m.FinRootChord = 4;
        m.FinTipChord = 3;
        leave(f);
        EXPECT_TRUE(f.isHidden());
        EXPECT_EQ(m.FinRootDistance, 6.0f);
        EXPECT_EQ(m.FinTipChord, 0.0f);
    }
}

TEST_F(FinWindow, EdgesFinishAndCount)
{
    PanelAero& panel = h.forms->get<PanelAero>();
    const std::tuple<int, int16_t, const char*, int> edges[] = {
        {0, 1, "FLAT PLATE", 5}, {1, 2, "STREAMLINED", 6}, {3, 3, "D'WEDGE", 9}, {2, 3, "STREAMLINED", 7}};
    for (auto [index, code, section, sketch] : edges) {
        f.FinEdges[static_cast<size_t>(index)]->click();
        EXPECT_EQ(m.FinEdgeCode, code) << index;
        EXPECT_EQ(panel.SECTIONS->Text(), section) << index;
        for (int i : {5, 6, 7, 9}) EXPECT_EQ(f.Picture[static_cast<size_t>(i)]->isHidden(), i != sketch) << index;
    }
    for (int i : {0, 2, 1}) {
        f.FinishType[static_cast<size_t>(i)]->click();
        EXPECT_EQ(m.SurfaceFinishCode, i + 1);
    }
    Harness::type(f.NFINS->lineEdit(), "9");
    EXPECT_EQ(m.FinCount, 3);
    Harness::pick(f.NFINS, "8");
    EXPECT_EQ(m.FinCount, 8);
    m.FlowSolutionStatus = "";
    f.NFINS->setText("9");
    f.NFINS_Click(); // a text that is no fin count
    EXPECT_EQ(m.FinCount, 8);
    EXPECT_EQ(m.FlowSolutionStatus, "SOLVE NEW FLOW");
}

TEST_F(FinWindow, BoxesReadLeniently)
{
    s.MeshPlot->setRecording(true);
    s.NoMeshDefined->hide();
    Harness::type(f.SpanLength, "12abc");
    EXPECT_EQ(m.FinSpan, 12);
    Harness::type(f.DLUGS, "1e999");
    EXPECT_EQ(m.LaunchLugLength, 0);
    Harness::type(f.ODLUGS, "x");
    EXPECT_EQ(m.LaunchLugOuterDiameter, 0);
    // Beyond the single range of the lug and tip-chord stores reads as 0 too.
    Harness::type(f.TipChord, "1e39");
    EXPECT_EQ(m.FinTipChord, 0.0f);
    // Each edit invalidates without the main window's overlay.
    EXPECT_EQ(m.FlowSolutionStatus, "SOLVE NEW FLOW");
    EXPECT_TRUE(s.NoMeshDefined->isHidden());
    EXPECT_EQ(s.MeshPlot->calls().back().kind, PictureBox::Kind::Clear);
}

TEST_F(FinWindow, PanelMethodKey)
{
    ManualData& manual = h.forms->get<ManualData>();
    typeFin(f, "10", "6", "4", "2");
    Harness::type(f.SpanLength, "3");

    // A dimension missing: the chord is still written, nothing opens.
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(manual.CHORD->text(), "3.");
    EXPECT_EQ(f.StatusBar1->panel(1), "Please enter all fin dimensions.");
    EXPECT_EQ(timesShown("PanelAero"), 0);

    // Velocity 0: opens the section window without recomputing or redrawing.
    Harness::type(f.FINTHK, "0.1");
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(timesShown("PanelAero"), 1);
    EXPECT_EQ(s.StatusBar1->panel(2), "");

    // With a velocity the outline is redrawn (here it asks for the body).
    Harness::type(s.Velocity, "100");
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(timesShown("PanelAero"), 2);
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter nose cone length.");

    f.FinShapes[3]->click();
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(manual.CHORD->text(), "3.14");
}

TEST_F(FinWindow, ReturnReportsCompleteness)
{
    f.show();
    typeFin(f, "10", "6", "4", "2");
    Harness::type(f.SpanLength, "3");
    f.Toolbar1_ButtonClick("RETURN");
    EXPECT_EQ(testing::panels(s.StatusBar1), " | More fin and lug data required.");

    f.show();
    Harness::type(f.FINTHK, "0.1"); // no launch lugs
    f.Toolbar1_ButtonClick("RETURN");
    EXPECT_TRUE(f.isHidden());
    EXPECT_EQ(f.StatusBar1->panel(1), "Fin and lug data updated.");
    EXPECT_EQ(testing::panels(s.StatusBar1), "Mesh or Perform CFD. | All required fin data has been supplied.");
}

TEST_F(FinWindow, ClearEmptiesTheBoxesOnly)
{
    typeFin(f, "10", "6", "4", "2");
    for (TextBox* b : {f.SpanLength, f.FINTHK, f.DLUGS, f.ODLUGS, f.IDLUGS}) Harness::type(b, "1");
    f.FinEdges[0]->click();
    f.FinishType[2]->click();
    Harness::pick(f.NFINS, "5");
    m.FinMeanChord = 2.5;
    f.ClearData->click();
    // One box and one value of the fins and of the lug show the clear ran.
    for (TextBox* b : {f.TipChord, f.IDLUGS}) EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(m.FinSpan + m.LaunchLugOuterDiameter, 0);
    EXPECT_EQ(std::tuple(m.FinEdgeCode, m.SurfaceFinishCode, m.FinCount), std::tuple(1, 3, 5));
    EXPECT_EQ(m.FinMeanChord, 2.5);
}

} // namespace
} // namespace velmora
