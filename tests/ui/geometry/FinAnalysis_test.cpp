#include <cfloat>

#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

constexpr auto timesShown = &Harness::timesShown;

class FinWindow : public testing::Started {
protected:
    FinAnalysis& f = h.forms->get<FinAnalysis>();
};

// The derived planforms: the click and every later tip-distance edit derive
// the root distance and tip chord at once (the values are the core's).
TEST_F(FinWindow, PlanformClicksAndTipDistanceEditsDerive)
{
    for (auto [box, text] : {std::pair{f.DTip, "10.1"}, {f.DRoot, "7"}, {f.RootChord, "4"}, {f.TipChord, "2"}})
        Harness::type(box, text);
    EXPECT_EQ(m.FinRootDistance, 7.0f);
    const struct {
        int index;
        int16_t code;
        int picture;
        float rootDistance, tipChord, rootDistanceAt12;
    } cases[] = {{0, 1, 1, 6.1f, 0.0f, 8.0f}, {1, 2, 4, 10.1f, 4.0f, 12.0f}, {3, 4, 2, 10.1f, 4.0f, 12.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        Harness::type(f.DTip, "10.1");
        f.FinShapes[static_cast<size_t>(c.index)]->click();
        EXPECT_EQ(std::tuple(m.FinPlanformCode, m.FinRootDistance, m.FinTipChord),
                  std::tuple(c.code, c.rootDistance, c.tipChord));
        EXPECT_EQ(std::tuple(f.TipChord->text(), f.DRoot->isHidden()), std::tuple("", true));
        for (int i : {1, 2, 3, 4}) EXPECT_EQ(f.Picture[static_cast<size_t>(i)]->isHidden(), i != c.picture) << i;
        EXPECT_EQ(s.StatusBar1->panel(2), "MESH required, fin shape has changed.");
        Harness::type(f.DTip, "12"); // the last edit; the window stays open
        EXPECT_EQ(std::tuple(m.FinRootDistance, m.FinTipChord), std::tuple(c.rootDistanceAt12, c.tipChord));
        // Typing into the hidden boxes cannot break the rule.
        f.DRoot->setText("3");
        EXPECT_EQ(m.FinRootDistance, c.rootDistanceAt12);
    }

    // Back to tapered: the boxes come back, the values stand until typed.
    f.FinShapes[2]->click();
    EXPECT_EQ(std::tuple(f.DRoot->isHidden(), m.FinRootDistance), std::tuple(false, 12.0f));
    Harness::type(f.DRoot, "5");
    EXPECT_EQ(m.FinRootDistance, 5.0f);
}

TEST_F(FinWindow, EveryWayOfLeavingDerivesFromTheStoredValues)
{
    const std::pair<const char*, void (*)(FinAnalysis&)> exits[] = {
        {"RETURN", [](FinAnalysis& f) { f.Toolbar1_ButtonClick("RETURN"); }},
        {"Close menu", [](FinAnalysis& f) { f.mnuClose->trigger(); }},
        {"title bar", [](FinAnalysis& f) { f.close(); }},
    };
    f.FinShapes[0]->click();
    for (auto [how, leave] : exits) {
        SCOPED_TRACE(how);
        f.show();
        // Values that reached the state without passing through the boxes.
        std::tie(m.FinTipDistance, m.FinRootChord, m.FinTipChord, m.FinRootDistance) = std::tuple(10, 4, 3, 0);
        leave(f);
        EXPECT_EQ(std::tuple(f.isHidden(), m.FinRootDistance, m.FinTipChord), std::tuple(true, 6.0f, 0.0f));
    }
}

TEST_F(FinWindow, EdgesCountLenientBoxesAndClear)
{
    PanelAero& panel = h.forms->get<PanelAero>();
    const std::tuple<int, int16_t, const char*, int> edges[] = {
        {0, 1, "FLAT PLATE", 5}, {1, 2, "STREAMLINED", 6}, {3, 3, "D'WEDGE", 9}, {2, 3, "STREAMLINED", 7}};
    for (auto [index, code, section, sketch] : edges) {
        f.FinEdges[static_cast<size_t>(index)]->click();
        EXPECT_EQ(std::tuple(m.FinEdgeCode, panel.SECTIONS->Text()), std::tuple(code, section)) << index;
        for (int i : {5, 6, 7, 9}) EXPECT_EQ(f.Picture[static_cast<size_t>(i)]->isHidden(), i != sketch) << index;
    }
    QTest::keyClicks(f.NFINS, "9");  // no such fin count
    EXPECT_EQ(m.FinCount, 3);
    Harness::pick(f.NFINS, "8");
    EXPECT_EQ(m.FinCount, 8);
    m.FlowSolutionStatus = "";
    f.NFINS->setText("9");
    f.NFINS_Click(); // a text that is no fin count
    EXPECT_EQ(std::tuple(m.FinCount, m.FlowSolutionStatus), std::tuple(8, "SOLVE NEW FLOW"));

    // Boxes read leniently; Clear empties the boxes, and so their values, and leaves these choices.
    s.MeshPlot->setRecording(true);
    s.NoMeshDefined->hide();
    m.FlowSolutionStatus = "";
    Harness::type(f.SpanLength, "12abc");
    EXPECT_EQ(m.FinSpan, 12);
    // Beyond the single range of the lug and tip-chord stores reads as the largest single, never 0.
    Harness::type(f.TipChord, "1e39");
    EXPECT_EQ(m.FinTipChord, FLT_MAX);
    // Each edit invalidates without the main window's overlay.
    EXPECT_EQ(std::tuple(m.FlowSolutionStatus, s.NoMeshDefined->isHidden()), std::tuple("SOLVE NEW FLOW", true));
    EXPECT_EQ(s.MeshPlot->calls().back().kind, PictureBox::Kind::Clear);

    Harness::type(f.IDLUGS, "1");
    f.ClearData->click();
    for (TextBox* b : {f.SpanLength, f.IDLUGS}) EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(m.FinSpan + m.LaunchLugInnerDiameter, 0);
    EXPECT_EQ(std::tuple(m.FinEdgeCode, m.FinCount), std::tuple(3, 8));
}

// The panel-method key and RETURN say what is missing; with every fin
// dimension the key opens the section window, redrawing only with a velocity.
TEST_F(FinWindow, PanelMethodKeyAndReturn)
{
    ManualData& manual = h.forms->get<ManualData>();
    for (auto [box, text] :
         {std::pair{f.DTip, "10"}, {f.DRoot, "6"}, {f.RootChord, "4"}, {f.TipChord, "2"}, {f.SpanLength, "3"}})
        Harness::type(box, text);
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(manual.CHORD->text(), "3."); // written even so
    EXPECT_EQ(f.StatusBar1->panel(1), "Please enter all fin dimensions.");
    EXPECT_EQ(timesShown("PanelAero"), 0);
    f.show();
    f.Toolbar1_ButtonClick("RETURN");
    EXPECT_EQ(testing::panels(s.StatusBar1), " | More fin and lug data required.");

    Harness::type(f.FINTHK, "0.1"); // no launch lugs
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(std::tuple(timesShown("PanelAero"), s.StatusBar1->panel(2)), std::tuple(1, "")); // not redrawn
    f.show();
    f.Toolbar1_ButtonClick("RETURN");
    EXPECT_EQ(std::tuple(f.isHidden(), f.StatusBar1->panel(1)), std::tuple(true, "Fin and lug data updated."));
    EXPECT_EQ(testing::panels(s.StatusBar1), "Mesh or Perform CFD. | All required fin data has been supplied.");

    Harness::type(s.Velocity, "100");
    f.Toolbar1_ButtonClick("PANAERO");
    EXPECT_EQ(timesShown("PanelAero"), 2);
    EXPECT_EQ(s.StatusBar1->panel(2), "Please enter nose cone length."); // the redraw asks for the body
}

// The body line runs clear of the "Root Chord" label: only its own grey on its rows under the label.
TEST(FinSketches, TheBodyLineRunsClearOfTheRootChordLabel)
{
    Harness h;
    const PictureBox* p = h.forms->get<FinAnalysis>().Picture[3];
    const QImage img = p->image();
    const QPoint from = p->toDevice(40, 10).toPoint(), to = p->toDevice(80, 10).toPoint();
    for (int y = from.y() - 1; y <= from.y() + 1; ++y)
        for (int x = from.x(); x <= to.x(); ++x)
            ASSERT_TRUE(img.pixel(x, y) == PictureBox::kBackground || img.pixel(x, y) == PictureBox::qbColor(8));
}

} // namespace
} // namespace velmora
