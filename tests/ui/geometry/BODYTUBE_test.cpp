#include <cfloat>

#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using testing::panels;
constexpr auto press = &Harness::press;
constexpr auto timesShown = &Harness::timesShown;

class BodyWindow : public testing::Started {
protected:
    BODYTUBE& b = h.forms->get<BODYTUBE>();
};

TEST_F(BodyWindow, TypedDimensionsPromptThenDraw)
{
    EXPECT_EQ(panels(b.StatusBar1),
              "Please enter data for Standard Body Tube Geometry. | Please enter nose cone length.");
    // The transition and base boxes store and redraw without a prompt of their own.
    for (auto [box, text] : {std::pair{b.BaseDiameter, "1.5"}, {b.BaseLength, "4"}, {b.BodyLength2, "6"}})
        Harness::type(box, text);
    EXPECT_EQ(m.TransitionDiameter + m.TransitionLength + m.BaseTubeLength, 1.5 + 4 + 6);
    EXPECT_EQ(panels(b.StatusBar1), "Please enter more body tube data | Please enter nose cone length.");
    Harness::type(b.NoseLength, "10");
    EXPECT_EQ(std::tuple(b.StatusBar1->panel(2), panels(s.StatusBar1), s.NoMeshDefined->isHidden()),
              std::tuple("Please enter nose cone diameter.", "New CFD solution required. | ", false));
    Harness::type(b.BodyDiameter, "2");
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter body tube length.");
    b.show();
    press(b.Toolbar1, "RETURN");
    EXPECT_TRUE(b.isHidden());
    EXPECT_EQ(panels(s.StatusBar1), "Please enter all body tube dimensions. | Please enter body tube length.");

    Harness::type(b.BodyLength, "30");
    EXPECT_EQ(panels(b.StatusBar1), "User may modify Standard Geometry or perform CFD. | "); // the layout shown
    // The outline redraw has ended.
    EXPECT_EQ(std::tuple(panels(s.StatusBar1), s.NoMeshDefined->isHidden()), std::tuple("MESHING complete. | ", true));
    b.show();
    press(b.Toolbar1, "RETURN");
    EXPECT_EQ(s.StatusBar1->panel(1), "Body tube geometry is defined.");
    EXPECT_EQ(b.NoseLength->text(), "10"); // contents kept

    // Letters after a number are ignored; an empty box is 0, one beyond any number the largest, refused by name.
    Harness::type(b.NoseLength, "12abc");
    Harness::type(b.BodyDiameter, "1e999");
    EXPECT_EQ(std::tuple(m.NoseConeLength, m.NoseConeDiameter), std::tuple(12, DBL_MAX));
    EXPECT_EQ(b.StatusBar1->panel(2), "Nose cone diameter must be between 0.000001 and 1000000.");
    Harness::type(b.BodyDiameter, "");
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter nose cone diameter.");

    // An accepted free-form shape stays until a main dimension is typed.
    m.ActiveBodyGeometry = 1;
    Harness::type(b.BaseLength, "5");
    EXPECT_EQ(m.ActiveBodyGeometry, 1);
    Harness::type(b.NoseLength, "8");
    EXPECT_EQ(m.ActiveBodyGeometry, 0);
}

TEST_F(BodyWindow, FreeFormEditorAndTubeLength)
{
    // The option alone leaves the body standard; the editor needs every main dimension.
    Harness::type(b.NoseLength, "10");
    Harness::type(b.BodyDiameter, "2");
    b.GEOMETRY[1]->click();
    EXPECT_EQ(m.ActiveBodyGeometry, 0);
    b.FREEFORM->click();
    EXPECT_EQ(b.StatusBar1->panel(1), "Please enter data for Free-Form Body Tube Geometry.");
    EXPECT_EQ(timesShown("GeoBody"), 0);

    b.GEOMETRY[0]->click();
    Harness::type(b.BodyLength, "30");
    b.GEOMETRY[1]->click();
    EXPECT_EQ(std::tuple(b.BodyLength->isHidden(), b.BaseDiameter->isHidden(), b.TUBELENGTH->text()),
              std::tuple(true, true, "30."));
    m.MeshAxialNodeCount = 0;
    b.FREEFORM->click();
    GeoBody& g = h.forms->get<GeoBody>();
    EXPECT_EQ(std::tuple(timesShown("GeoBody"), m.FreeFormGridOn), std::tuple(1, 1));
    EXPECT_DOUBLE_EQ(m.NoseTipX, 2 * 40.0 / 17); // on the 20-station grid
    EXPECT_EQ(std::tuple(g.SHEIGHT->text(), m.FreeFormScreenHeight), std::tuple("30.", g.drawingHeightTwips()));

    // Transition and base set behind the hidden boxes, a free-form shape accepted.
    for (auto [box, text] : {std::pair{b.BaseDiameter, "1.5"}, {b.BaseLength, "4"}, {b.BodyLength2, "6"}})
        box->setText(text);
    m.ActiveBodyGeometry = 1;
    Harness::type(b.TUBELENGTH, "12.34567");
    EXPECT_EQ(std::tuple(b.BodyLength->text(), m.BodyLengthAfterNose), std::tuple("12.346", 12.34567));
    EXPECT_EQ(b.StatusBar1->panel(1), "User may perform CFD or modify Free-Form geometry.");
    EXPECT_EQ(std::tuple(m.TransitionLength + m.BaseTubeLength + m.TransitionDiameter, m.ActiveBodyGeometry),
              std::tuple(0, 0));

    // Back to the standard layout: the cleared boxes stay empty.
    b.GEOMETRY[0]->click();
    EXPECT_EQ(std::tuple(b.TUBELENGTH->isHidden(), b.FREEFORM->isEnabled(), b.BodyLength2->text()),
              std::tuple(true, false, ""));
    EXPECT_EQ(b.StatusBar1->panel(1), "User may modify Standard Geometry or perform CFD.");
}

TEST_F(BodyWindow, SearsHaackSpinnerAndRefresh)
{
    b.UpDown1->stepBy(1); // not SEARS-HAACK: nothing happens
    EXPECT_EQ(m.SearsHaackExponent, 1.0f);
    Harness::pick(b.NoseShape, "SEARS-HAACK");
    EXPECT_FALSE(b.UpDown1->isHidden());
    b.UpDown1->stepBy(1);
    EXPECT_EQ(m.SearsHaackExponent, 2.0f); // the spinner already stood at 15
    b.UpDown1->stepBy(-1);
    EXPECT_EQ(std::tuple(m.SearsHaackExponent, b.ShapeControl->text()), std::tuple(1.5f, "1.5"));
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter rocket dimensions for Sears-HAACK analysis.");

    h.typeBody("10", "2", "30");
    b.UpDown1->stepBy(1);
    EXPECT_EQ(b.ShapeControl->text(), "2.");
    b.UpDown1->setValue(200);
    b.UpDown1->stepBy(1); // the top of the range
    EXPECT_EQ(std::tuple(m.SearsHaackExponent, s.StatusBar1->panel(1)), std::tuple(20.0f, "MESHING complete."));

    Harness::pick(b.NoseShape, "TANGENT OGIVE");
    EXPECT_TRUE(b.UpDown1->isHidden());

    Harness::pick(b.NoseShape, "SEARS-HAACK");
    b.show();
    b.GEOMETRY[1]->click();
    press(b.Toolbar1, "REFRESH");
    EXPECT_EQ(std::tuple(m.NoseShapeName, m.NoseConeLength + m.BodyTubeLength), std::tuple("CONICAL", 0));
    EXPECT_EQ(std::tuple(b.UpDown1->isHidden(), b.GEOMETRY[0]->isChecked()), std::tuple(true, true));
    EXPECT_EQ(b.StatusBar1->panel(1), "Please enter more body tube data");
    EXPECT_FALSE(b.isHidden()); // REFRESH keeps the window open
}

} // namespace
} // namespace velmora
