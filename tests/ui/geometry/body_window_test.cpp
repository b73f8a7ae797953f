#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/SOLVER.h"
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
    Harness::type(b.BaseDiameter, "1.5");
    Harness::type(b.BaseLength, "4");
    Harness::type(b.BodyLength2, "6");
    EXPECT_EQ(m.TransitionDiameter + m.TransitionLength + m.BaseTubeLength, 1.5 + 4 + 6);
    EXPECT_EQ(panels(b.StatusBar1), "Please enter more body tube data | Please enter nose cone length.");
    Harness::type(b.NoseLength, "10");
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter nose cone diameter.");
    EXPECT_EQ(panels(s.StatusBar1), "New CFD solution required. | ");
    EXPECT_FALSE(s.NoMeshDefined->isHidden());
    Harness::type(b.BodyDiameter, "2");
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter body tube length.");
    b.show();
    press(b.Toolbar1, "RETURN");
    EXPECT_TRUE(b.isHidden());
    EXPECT_EQ(panels(s.StatusBar1), "Please enter all body tube dimensions. | Please enter body tube length.");

    Harness::type(b.BodyLength, "30");
    EXPECT_EQ(panels(b.StatusBar1), "User may perform CFD or modify Free-Form geometry. | ");
    EXPECT_EQ(panels(s.StatusBar1), "MESHING complete. | "); // the outline redraw has ended
    EXPECT_TRUE(s.NoMeshDefined->isHidden());
    b.show();
    press(b.Toolbar1, "RETURN");
    EXPECT_EQ(s.StatusBar1->panel(1), "Body tube geometry is defined.");
    EXPECT_EQ(b.NoseLength->text(), "10"); // contents kept

    // Letters after a number are ignored; an empty box or one beyond any number is 0.
    Harness::type(b.NoseLength, "12abc");
    EXPECT_EQ(m.NoseConeLength, 12);
    Harness::type(b.BodyDiameter, "1e999");
    EXPECT_EQ(m.NoseConeDiameter, 0);
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
    EXPECT_TRUE(b.BodyLength->isHidden());
    EXPECT_TRUE(b.BaseDiameter->isHidden());
    EXPECT_EQ(b.TUBELENGTH->text(), "30.");
    m.MeshAxialNodeCount = 0;
    b.FREEFORM->click();
    GeoBody& g = h.forms->get<GeoBody>();
    EXPECT_EQ(timesShown("GeoBody"), 1);
    EXPECT_EQ(m.FreeFormGridOn, 1);
    EXPECT_DOUBLE_EQ(m.NoseTipX, 2 * 40.0 / 17); // on the 20-station grid
    EXPECT_EQ(g.SHEIGHT->text(), "30.");
    EXPECT_EQ(m.FreeFormScreenHeight, g.drawingHeightTwips());

    // Transition and base set behind the hidden boxes, a free-form shape accepted.
    b.BaseDiameter->setText("1.5");
    b.BaseLength->setText("4");
    b.BodyLength2->setText("6");
    m.ActiveBodyGeometry = 1;
    Harness::type(b.TUBELENGTH, "12.34567");
    EXPECT_EQ(b.BodyLength->text(), "12.346");
    EXPECT_EQ(m.BodyLengthAfterNose, 12.34567);
    EXPECT_EQ(m.TransitionLength + m.BaseTubeLength + m.TransitionDiameter, 0);
    EXPECT_EQ(m.ActiveBodyGeometry, 0);

    // Back to the standard layout: the cleared boxes stay empty.
    b.GEOMETRY[0]->click();
    EXPECT_TRUE(b.TUBELENGTH->isHidden());
    EXPECT_FALSE(b.FREEFORM->isEnabled());
    EXPECT_EQ(b.BodyLength2->text(), "");
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
    EXPECT_EQ(m.SearsHaackExponent, 1.5f);
    EXPECT_EQ(b.StatusBar1->panel(2), "Please enter rocket dimensions for Sears-HAACK analysis.");
    EXPECT_EQ(b.ShapeControl->text(), "1.5");

    h.typeBody("10", "2", "30");
    b.UpDown1->stepBy(1);
    EXPECT_EQ(b.ShapeControl->text(), "2.");
    b.UpDown1->setValue(200);
    b.UpDown1->stepBy(1); // the top of the range
    EXPECT_EQ(m.SearsHaackExponent, 20.0f);
    EXPECT_EQ(s.StatusBar1->panel(1), "MESHING complete.");

    Harness::pick(b.NoseShape, "TANGENT OGIVE");
    EXPECT_TRUE(b.UpDown1->isHidden());

    Harness::pick(b.NoseShape, "SEARS-HAACK");
    b.show();
    b.GEOMETRY[1]->click();
    press(b.Toolbar1, "REFRESH");
    EXPECT_EQ(m.NoseShapeName, "CONICAL");
    EXPECT_TRUE(b.UpDown1->isHidden());
    EXPECT_EQ(m.NoseConeLength + m.BodyTubeLength, 0);
    EXPECT_TRUE(b.GEOMETRY[0]->isChecked());
    EXPECT_EQ(b.StatusBar1->panel(1), "Please enter more body tube data");
    EXPECT_FALSE(b.isHidden()); // REFRESH keeps the window open
}

} // namespace
} // namespace velmora
