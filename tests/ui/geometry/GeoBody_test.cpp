#include <QMouseEvent>

#include <tuple>

#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using Kind = PictureBox::Kind;

// Design drawing area, nose diameter 2, free-form tube 30: y0 = H - H / 30.
constexpr double kW = 9615, kH = 6675, kL = 30, kY0 = kH - kH / kL;

constexpr auto press = &testing::Harness::press;

// A rocket (nose 10 long, diameter 2) in the free-form layout; open() shows
// the editor from the body window and runs a step while it is shown.
struct Session {
    testing::Harness h;
    SOLVER& main = h.start();
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    GeoBody& g = h.forms->get<GeoBody>();
    Module1& m = *h.state;

    Session()
    {
        h.typeBody("10", "2", "30");
        body.GEOMETRY[1]->click();
    }
    void open(const std::function<void(GeoBody&)>& step)
    {
        h.onShow["GeoBody"] = [step](Form& f) {
            f.show();
            step(static_cast<GeoBody&>(f));
        };
        body.FREEFORM->click();
    }
    auto table() const
    {
        return std::tuple(m.FreeFormPointCount, m.FreeFormBodyX, m.FreeFormBodyRadius, m.FreeFormScreenX,
                          m.FreeFormScreenY, m.FreeFormBaseRadius, m.ActiveBodyGeometry);
    }
};

QPoint px(double x, double y) { return QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15)); }

// Left button down on (x, y), then up or down in 10-pixel steps to toY.
void drag(GeoBody& g, double x, double y, double toY)
{
    QPoint at = px(x, y);
    QTest::mousePress(g.drawing(), Qt::LeftButton, {}, at);
    for (const int to = px(x, toY).y(); at.y() != to;) {
        at.setY(at.y() > to ? std::max(to, at.y() - 10) : std::min(to, at.y() + 10));
        QTest::mouseMove(g.drawing(), at);
    }
    QTest::mouseRelease(g.drawing(), Qt::LeftButton, {}, at);
}

void hover(GeoBody& g, QPoint at, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent e(QEvent::MouseMove, at, g.drawing()->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(g.drawing(), &e);
}

// The drawing calls without the scale settings, and how many of a kind and colour.
std::vector<PictureBox::Call> drawn(GeoBody& g)
{
    std::vector<PictureBox::Call> calls = g.drawing()->calls();
    std::erase_if(calls, [](const PictureBox::Call& c) { return c.kind == Kind::Scale; });
    g.drawing()->clearRecording();
    return calls;
}
long count(const std::vector<PictureBox::Call>& calls, Kind kind, QRgb colour)
{
    return std::count_if(calls.begin(), calls.end(), [&](auto& c) { return c.kind == kind && c.colour == colour; });
}
const QRgb kRed = PictureBox::qbColor(4), kInk = PictureBox::kForeground;

// The first opening draws four points on the straight tube over the rulers;
// with the grid off only the shape is drawn, and a move draws nothing.
TEST(FreeFormEditor, ShapeAndRulersWithTheGridOnAndOff)
{
    Session s;
    s.g.drawing()->setRecording(true);
    s.open([&](GeoBody& g) {
        EXPECT_EQ(g.NPTS->text(), "4");
        auto calls = drawn(g);
        ASSERT_EQ(calls.size(), 1u + 7u + 22u);  // clear, shape, rulers
        EXPECT_EQ(calls[3].coords, (std::vector<double>{0, kY0, 3205, kY0}));
        EXPECT_EQ(std::tuple(count(calls, Kind::Circle, kRed), count(calls, Kind::Line, kInk)), std::tuple(4, 22));

        g.GRIDON->click();
        EXPECT_EQ(std::tuple(s.m.FreeFormGridOn, count(drawn(g), Kind::Line, kInk)), std::tuple(0, 0));
        hover(g, QPoint(100, 300));
        EXPECT_TRUE(drawn(g).empty());
        press(g.Toolbar1, "RULERS");
        EXPECT_EQ(s.m.FreeFormGridOn, 1);
        calls = drawn(g);
        ASSERT_EQ(calls.size(), 30u);
        EXPECT_EQ(calls[23].colour, kRed);  // the shape over the rulers
        hover(g, QPoint(100, 300));  // every move draws the rulers again
        EXPECT_EQ(count(drawn(g), Kind::Line, kInk), 22);
        g.OMITSHAPE->click();
    });
}

// A count typed into "Points defining body" (only the spinner sets it) redraws the rulers and the points held.
TEST(FreeFormEditor, ATypedCountRedrawsTheRulersAndThePointsHeld)
{
    Session s;
    s.g.drawing()->setRecording(true);
    s.open([&](GeoBody& g) {
        testing::Harness::type(g.NPTS, "5");
        QTest::keyClick(g.NPTS, Qt::Key_Return);
        std::vector<PictureBox::Call> calls = drawn(g);
        const auto clear = std::find_if(calls.rbegin(), calls.rend(), [](auto& c) { return c.kind == Kind::Clear; });
        calls.erase(calls.begin(), clear.base());  // what is drawn since the last clear
        EXPECT_EQ(std::tuple(count(calls, Kind::Circle, kRed), count(calls, Kind::Line, kInk)), std::tuple(4, 22));
        g.OMITSHAPE->click();
    });
}

// Hovering shows the readouts and the pointer and moves no point; a drag
// moves one, and only the accept writes the table.
TEST(FreeFormEditor, HoverDragAndAccept)
{
    Session s;
    s.open([&](GeoBody& g) {
        const FreeFormModel before = g.model();
        hover(g, QPoint(320, 222));  // (4800, 3330) twips
        EXPECT_EQ(QStringList({g.XLOC2->text(), g.YLOC->text(), g.DTUBE->text()}),
                  QStringList({"14.977", "15.034", "30.068"}));
        EXPECT_EQ(g.cursor().shape(), Qt::CrossCursor);
        hover(g, px(3205, kY0 - 150), Qt::LeftButton | Qt::RightButton);
        EXPECT_EQ(std::tuple(g.cursor().shape(), g.model()), std::tuple(Qt::SizeAllCursor, before));

        drag(g, 6410, kY0, 4500);  // point 3 up to y = 4500, 5 twips to the left
        EXPECT_EQ(std::tuple(g.model().y(3), g.DTUBE->text()), std::tuple(4500, "19.55"));
        EXPECT_EQ(s.m.FreeFormBodyRadius(3), 0);  // nothing written before the accept
        g.MESHBODY->click();
    });
    EXPECT_EQ(std::tuple(s.g.isHidden(), s.m.ActiveBodyGeometry), std::tuple(true, 1));
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyX(1), 2 * 40.0 / 17 + 10);  // on the nose shoulder
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(3), 30 * (kH - 4500) / kH);
    EXPECT_EQ(s.m.FreeFormScreenX(3), 6410);  // re-spaced
    EXPECT_EQ(s.main.StatusBar1->panel(2), "Free-Form Meshing complete. Solve CFD");
}

// Maximising keeps every radius while the points follow the window; a
// discard after any edits restores the shape accepted before.
TEST(FreeFormEditor, MaximiseThenDiscardRestoresWhatWasThereWhenTheEditorOpened)
{
    Session s;
    s.open([](GeoBody& g) {
        drag(g, 9615, kY0, 5000);
        g.MESHBODY->click();
    });
    const auto accepted = s.table();
    const FreeFormModel shape = s.g.model();

    s.open([&](GeoBody& g) {
        drag(g, 6410, kY0, 3000);
        const double radius = kL * (kH - g.model().y(3)) / kH;
        press(g.Toolbar1, "RESIZE");
        EXPECT_TRUE(g.windowState() & Qt::WindowMaximized);
        (void)QTest::qWaitFor([&] { return g.drawingHeightTwips() != kH; }, 500);
        const double h = g.drawingHeightTwips();
        EXPECT_EQ(g.model().scaleHeight(), h);  // the points followed the window
        EXPECT_NEAR(kL * (h - g.model().y(3)) / h, radius, 1e-9);
        press(g.Toolbar1, "RESIZE");
        EXPECT_FALSE(g.windowState() & Qt::WindowMaximized);
        g.UpDown3->stepUp();
        press(g.Toolbar1, "REFRESH");
        drag(g, 3205, kY0, 2500);
        press(g.Toolbar1, "OMITSHAPE");
    });
    EXPECT_TRUE(s.table() == accepted);
    const FreeFormModel& back = s.g.model();
    for (int i = 1; i <= 4; ++i) {  // the window may still be restoring its size
        EXPECT_NEAR(back.x(i) / back.scaleWidth(), shape.x(i) / kW, 1e-12);
        EXPECT_NEAR(back.y(i) / back.scaleHeight(), shape.y(i) / kH, 1e-12);
    }
    EXPECT_EQ(s.body.StatusBar1->panel(1), "Latest Free-Form modifications ignored.");
}

TEST(FreeFormEditor, SpinnerAndRefreshStartAgainFromTheStraightTubeGivenALength)
{
    Session s;
    s.open([&](GeoBody& g) {
        drag(g, 3205, kY0, 4000);
        g.UpDown3->stepUp();
        EXPECT_EQ(g.model().y(2), kY0);
        g.UpDown3->setValue(7);
        press(g.Toolbar1, "REFRESH");
        EXPECT_EQ(g.model().count(), 4);
        g.UpDown3->stepUp();  // the spinner kept 7
        EXPECT_EQ(g.NPTS->text(), "8");

        // Without a tube length nothing is accepted or laid out again.
        const FreeFormModel shape = g.model();
        s.m.BodyLengthAfterNose = 0;
        g.MESHBODY->click();
        EXPECT_EQ(g.StatusBar1->panel(1), "Please enter Free-Form tube length.");
        EXPECT_TRUE(g.isVisible());
        EXPECT_EQ(std::tuple(s.m.FreeFormPointCount, s.m.ActiveBodyGeometry), std::tuple(4, 0));
        g.UpDown3->stepUp();
        press(g.Toolbar1, "REFRESH");
        EXPECT_EQ(g.model(), shape);
        s.m.BodyLengthAfterNose = kL;
        g.MESHBODY->click();
    });
    EXPECT_EQ(s.m.FreeFormPointCount, 8);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(5), 1);
}

} // namespace
} // namespace velmora
