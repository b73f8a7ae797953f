#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/SOLVER.h"
#include "geometry/ui/GeometryWindows.h"
#include "platform/ui/Printing.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

// The design drawing area with a nose of diameter 2 and a 30-long tube:
// the nose radius lies at y0 = 6675 - 6675 * 1 / 30.
constexpr double kW = 9615, kH = 6675, kL = 30;
constexpr double kY0 = kH - kH / kL;

void press(QToolBar* bar, const QString& key)
{
    for (QAction* a : bar->actions())
        if (a->objectName() == key) {
            a->trigger();
            return;
        }
    FAIL() << "no toolbar key " << key.toStdString();
}

// A rocket ready for the free-form editor: nose 10 long, diameter 2, a
// 30-long free-form tube.
struct Session {
    Harness h;
    SOLVER& main;
    BODYTUBE& body;
    GeoBody& editor;
    Module1& m;

    Session()
        : main(h.start()), body(h.forms->get<BODYTUBE>()), editor(h.forms->get<GeoBody>()), m(*h.state)
    {
        Harness::type(body.NoseLength, "10");
        Harness::type(body.BodyDiameter, "2");
        Harness::type(body.BodyLength, "30");
        body.GEOMETRY[1]->click();
    }

    // Opens the editor from the body window; the step runs while it is shown.
    void open(const std::function<void(GeoBody&)>& step)
    {
        h.onShow["GeoBody"] = [step](Form& f) {
            f.show();
            step(static_cast<GeoBody&>(f));
        };
        body.FREEFORM->click();
    }

    struct Table {
        int16_t count;
        Array1<double, 20> x, r, sx, sy;
        float base;
        bool operator==(const Table&) const = default;
    };
    Table table() const
    {
        return {m.FreeFormPointCount, m.FreeFormBodyX, m.FreeFormBodyRadius, m.FreeFormScreenX, m.FreeFormScreenY,
                m.FreeFormBaseRadius};
    }
};

// Pixel of a twip position on the drawing area.
QPoint px(double x, double y) { return QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15)); }

// Presses the left button on (x, y) and drags in small steps to (x, toY).
void dragUp(GeoBody& g, double x, double y, double toY)
{
    QPoint at = px(x, y);
    QTest::mousePress(g.drawing(), Qt::LeftButton, {}, at);
    const int target = px(x, toY).y();
    while (at.y() != target) {
        at.setY(at.y() > target ? std::max(target, at.y() - 10) : std::min(target, at.y() + 10));
        QTest::mouseMove(g.drawing(), at);
    }
    QTest::mouseRelease(g.drawing(), Qt::LeftButton, {}, at);
}

// A pointer move without any button down.
void hover(GeoBody& g, QPoint at, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent e(QEvent::MouseMove, at, g.drawing()->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(g.drawing(), &e);
}

std::vector<PictureBox::Call> drawn(GeoBody& g)
{
    std::vector<PictureBox::Call> calls;
    for (const auto& c : g.drawing()->calls())
        if (c.kind != Kind::Scale) calls.push_back(c);
    return calls;
}

int count(const std::vector<PictureBox::Call>& calls, Kind kind, QRgb colour)
{
    int n = 0;
    for (const auto& c : calls) n += c.kind == kind && c.colour == colour;
    return n;
}

// The same shape, whatever size of drawing area each is expressed at: the
// same count, share of the width and radius of every point.
void expectSameShape(const FreeFormModel& a, const FreeFormModel& b)
{
    ASSERT_EQ(a.count(), b.count());
    for (int i = 1; i <= a.count(); ++i) {
        EXPECT_NEAR(a.x(i) / a.scaleWidth(), b.x(i) / b.scaleWidth(), 1e-12) << i;
        EXPECT_NEAR((a.scaleHeight() - a.y(i)) / a.scaleHeight(), (b.scaleHeight() - b.y(i)) / b.scaleHeight(), 1e-12)
            << i;
    }
}

const QRgb kRed = PictureBox::qbColor(4);
const QRgb kBlue = PictureBox::qbColor(9);
const QRgb kInk = PictureBox::kForeground;

TEST(FreeFormEditor, FirstOpeningShowsFourPointsOnTheStraightTubeWithRulers)
{
    Session s;
    s.editor.drawing()->setRecording(true);
    s.open([](GeoBody&) {});
    GeoBody& g = s.editor;
    EXPECT_EQ(g.windowTitle(), "Free-Form Body Tube Geometry");
    EXPECT_EQ(g.drawingWidthTwips(), kW);
    EXPECT_EQ(g.drawingHeightTwips(), kH);
    EXPECT_EQ(g.NPTS->text(), "4");
    ASSERT_EQ(g.model().count(), 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(g.model().x(i), kW * (i - 1) / 3) << i;
        EXPECT_DOUBLE_EQ(g.model().y(i), kY0) << i;
    }
    // Clear, the shape (circle 1, then circle and line per point), the rulers.
    const auto calls = drawn(g);
    ASSERT_EQ(calls.size(), 1u + 7u + 22u);
    EXPECT_EQ(calls[0].kind, Kind::Clear);
    EXPECT_EQ(calls[1].kind, Kind::Circle);
    EXPECT_EQ(calls[1].coords, (std::vector<double>{0, kY0, 100, 1}));
    EXPECT_EQ(calls[1].colour, kRed);
    EXPECT_EQ(calls[3].kind, Kind::Line);
    EXPECT_EQ(calls[3].coords, (std::vector<double>{0, kY0, 3205, kY0}));
    EXPECT_EQ(calls[3].colour, kBlue);
    EXPECT_EQ(count(calls, Kind::Circle, kRed), 4);
    EXPECT_EQ(count(calls, Kind::Line, kBlue), 3);
    EXPECT_EQ(count(calls, Kind::Line, kInk), 22);
    // Nothing is written to the project before the accept.
    EXPECT_EQ(s.m.FreeFormScreenX(2), 0);
    EXPECT_EQ(s.m.ActiveBodyGeometry, 0);
}

TEST(FreeFormEditor, DragAPointWithTheMouseAndAccept)
{
    Session s;
    Qt::CursorShape during = Qt::ArrowCursor;
    s.open([&](GeoBody& g) {
        // Point 3 (x = 6410) is pulled up to y = 4500 with the left button.
        dragUp(g, 6410, kY0, 4500);
        during = g.cursor().shape();
        EXPECT_EQ(g.model().y(3), 4500);
        EXPECT_EQ(g.model().x(3), 6405);  // followed the pointer sideways inside its band
        EXPECT_EQ(g.YLOC->text(), "9.775");
        EXPECT_EQ(g.DTUBE->text(), "19.55");
        EXPECT_EQ(s.m.FreeFormBodyRadius(3), 0);  // not yet accepted
        g.MESHBODY->click();
    });
    EXPECT_EQ(during, Qt::SizeAllCursor);
    GeoBody& g = s.editor;
    EXPECT_TRUE(g.isHidden());
    EXPECT_EQ(s.m.ActiveBodyGeometry, 1);
    EXPECT_EQ(s.m.FreeFormPointCount, 4);
    const double shoulder = s.m.NoseTipX + 10;
    EXPECT_DOUBLE_EQ(s.m.NoseTipX, 2 * 40.0 / 17);
    for (int i = 1; i <= 4; ++i) EXPECT_DOUBLE_EQ(s.m.FreeFormBodyX(i), shoulder + 10.0 * (i - 1)) << i;
    EXPECT_EQ(s.m.FreeFormBodyX(1), shoulder);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(1), 1);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(2), 1);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(3), 30 * (kH - 4500) / kH);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(4), 1);
    EXPECT_FLOAT_EQ(s.m.FreeFormBaseRadius, 1.0f);
    EXPECT_EQ(s.m.FreeFormScreenX(3), 6410);  // re-spaced
    EXPECT_EQ(s.m.FreeFormScreenY(3), 4500);
    EXPECT_EQ(s.m.FreeFormScreenWidth, 9615.0f);
    EXPECT_EQ(s.m.FreeFormScreenHeight, 6675);
    EXPECT_EQ(s.main.StatusBar1->panel(2), "Free-Form Meshing complete. Solve CFD");
    EXPECT_EQ(s.body.StatusBar1->panel(1), "Free-Form Meshing complete.");
    EXPECT_TRUE(s.body.BodyLength->isEnabled());
}

TEST(FreeFormEditor, PointerReadoutsButtonsAndPointOne)
{
    Session s;
    s.open([&](GeoBody& g) {
        const auto before = g.model();
        // No button: the read-outs follow, the pointer is the cross-hair.
        hover(g, QPoint(320, 222));
        EXPECT_EQ(g.XLOC2->text(), "14.977");  // 30 * 4800 / 9615
        EXPECT_EQ(g.YLOC->text(), "15.034");   // 30 * (6675 - 3330) / 6675
        EXPECT_EQ(g.DTUBE->text(), "30.068");
        EXPECT_EQ(g.cursor().shape(), Qt::CrossCursor);
        // Both buttons on point 2: the sizing arrow, but nothing moves.
        hover(g, px(3205, kY0 - 150), Qt::LeftButton | Qt::RightButton);
        EXPECT_EQ(g.cursor().shape(), Qt::SizeAllCursor);
        hover(g, px(3205, kY0 - 150), Qt::RightButton);
        EXPECT_EQ(g.cursor().shape(), Qt::CrossCursor);
        // Point 1 never moves; the read-outs still follow.
        dragUp(g, 0, kY0, kY0 - 1000);
        EXPECT_EQ(g.model(), before);
        EXPECT_EQ(g.YLOC->text(), "5.528");  // 30 * (6675 - 5445) / 6675
        // Beyond the drawing area nothing changes, not even the read-outs.
        g.Form_MouseMove(1, 0, -1, 3000);
        g.Form_MouseMove(1, 0, 3205, 6676);
        EXPECT_EQ(g.YLOC->text(), "5.528");
        EXPECT_EQ(g.model(), before);
        g.OMITSHAPE->click();
    });
}

TEST(FreeFormEditor, DiscardRestoresWhatWasThereWhenTheEditorOpened)
{
    Session s;
    s.open([](GeoBody& g) {
        dragUp(g, 9615, kY0, 5000);
        g.MESHBODY->click();
    });
    const Session::Table accepted = s.table();
    const FreeFormModel shape = s.editor.model();
    ASSERT_NE(accepted.r(4), 1.0);
    s.m.ActiveBodyGeometry = 1;

    s.open([](GeoBody& g) {
        dragUp(g, 3205, kY0, 3000);
        g.SCRNSIZE->click();
        QTest::qWait(10);
        g.SCRNSIZE->click();
        g.UpDown3->stepUp();
        EXPECT_EQ(g.model().count(), 5);
        press(g.Toolbar1, "REFRESH");
        press(g.Toolbar1, "RESIZE");
        press(g.Toolbar1, "RESIZE");
        dragUp(g, 6410, kY0, 2500);
        press(g.Toolbar1, "OMITSHAPE");
    });
    GeoBody& g = s.editor;
    EXPECT_TRUE(g.isHidden());
    EXPECT_TRUE(s.table() == accepted);
    EXPECT_EQ(s.m.ActiveBodyGeometry, 1);
    expectSameShape(g.model(), shape);
    EXPECT_EQ(g.NPTS->text(), "4");
    EXPECT_EQ(s.main.StatusBar1->panel(2), "Free-Form Meshing complete. Solve CFD");
    EXPECT_EQ(s.body.StatusBar1->panel(1), "Latest Free-Form modifications ignored.");
    EXPECT_TRUE(s.body.BodyLength->isEnabled());

    // The next opening shows the accepted shape again.
    s.open([&](GeoBody& e) {
        expectSameShape(e.model(), shape);
        e.OMITSHAPE->click();
    });
}

TEST(FreeFormEditor, DiscardAtTheFirstOpeningKeepsTheStraightTube)
{
    Session s;
    const Session::Table before = s.table();
    FreeFormModel opened;
    s.open([&](GeoBody& g) {
        opened = g.model();
        dragUp(g, 3205, kY0, 4000);
        g.OMITSHAPE->click();
    });
    EXPECT_TRUE(s.table() == before);
    EXPECT_EQ(s.editor.model(), opened);
    EXPECT_DOUBLE_EQ(s.editor.model().y(2), kY0);
}

TEST(FreeFormEditor, SpinnerAndRefreshStartAgainFromTheStraightTube)
{
    Session s;
    s.open([&](GeoBody& g) {
        dragUp(g, 3205, kY0, 4000);
        g.UpDown3->stepUp();
        EXPECT_EQ(g.NPTS->text(), "5");
        ASSERT_EQ(g.model().count(), 5);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_DOUBLE_EQ(g.model().x(i), kW * (i - 1) / 4) << i;
            EXPECT_DOUBLE_EQ(g.model().y(i), kY0) << i;
        }
        g.UpDown3->setValue(7);
        press(g.Toolbar1, "REFRESH");
        EXPECT_EQ(g.NPTS->text(), "4");
        EXPECT_EQ(g.model().count(), 4);
        EXPECT_EQ(g.UpDown3->value(), 7);
        g.UpDown3->stepUp();
        EXPECT_EQ(g.NPTS->text(), "8");
        EXPECT_EQ(g.model().count(), 8);
        // The count reaches the project only with the accept.
        EXPECT_EQ(s.m.FreeFormPointCount, 4);
        EXPECT_EQ(s.m.FreeFormBaseRadius, 0);
        g.MESHBODY->click();
    });
    EXPECT_EQ(s.m.FreeFormPointCount, 8);
    for (int i = 1; i <= 8; ++i) EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(i), 1) << i;
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyX(8), s.m.NoseTipX + 40);
}

TEST(FreeFormEditor, GridButtonAndRulersKeyDrawShapeWithOrWithoutRulers)
{
    Session s;
    s.open([&](GeoBody& g) {
        g.drawing()->setRecording(true);
        g.GRIDON->click();
        EXPECT_EQ(s.m.FreeFormGridOn, 0);
        auto calls = drawn(g);
        EXPECT_EQ(calls.front().kind, Kind::Clear);
        EXPECT_EQ(count(calls, Kind::Line, kInk), 0);
        EXPECT_EQ(count(calls, Kind::Circle, kRed), 4);
        // Without rulers a pointer move draws none.
        g.drawing()->clearRecording();
        hover(g, QPoint(100, 300));
        EXPECT_TRUE(drawn(g).empty());

        g.drawing()->clearRecording();
        press(g.Toolbar1, "RULERS");
        EXPECT_EQ(s.m.FreeFormGridOn, 1);
        calls = drawn(g);
        ASSERT_EQ(calls.size(), 1u + 22u + 7u);
        EXPECT_EQ(calls[0].kind, Kind::Clear);
        EXPECT_EQ(calls[1].coords, (std::vector<double>{0, 667.5, 0, kH}));  // rulers first
        EXPECT_EQ(calls[23].kind, Kind::Circle);
        // With rulers every move over the drawing area draws them again.
        g.drawing()->clearRecording();
        hover(g, QPoint(100, 300));
        EXPECT_EQ(count(drawn(g), Kind::Line, kInk), 22);
        g.OMITSHAPE->click();
    });
}

TEST(FreeFormEditor, MaximiseAndRestoreKeepEveryRadius)
{
    Session s;
    s.open([&](GeoBody& g) {
        dragUp(g, 6410, kY0, 3000);
        const double radius = kL * (kH - g.model().y(3)) / kH;
        // Radius of point 3 and the last point's x at the size the points are at.
        auto radius3 = [&g] { return kL * (g.model().scaleHeight() - g.model().y(3)) / g.model().scaleHeight(); };
        g.SCRNSIZE->click();
        EXPECT_TRUE(g.windowState() & Qt::WindowMaximized);
        (void)QTest::qWaitFor([&] { return g.drawingHeightTwips() != kH; }, 500);
        EXPECT_NE(g.drawingHeightTwips(), kH);
        EXPECT_EQ(g.model().scaleHeight(), g.drawingHeightTwips());  // the points followed
        EXPECT_NEAR(radius3(), radius, 1e-9);
        EXPECT_EQ(g.model().x(4), g.model().scaleWidth());
        g.SCRNSIZE->click();
        EXPECT_FALSE(g.windowState() & Qt::WindowMaximized);
        (void)QTest::qWaitFor([&] { return g.drawingHeightTwips() == kH; }, 500);
        EXPECT_EQ(g.model().scaleHeight(), kH);
        EXPECT_NEAR(radius3(), radius, 1e-9);
        EXPECT_EQ(s.m.FreeFormBodyRadius(3), 0);  // resizing writes nothing
        g.MESHBODY->click();
        EXPECT_NEAR(s.m.FreeFormBodyRadius(3), radius, 1e-9);
    });
    EXPECT_EQ(s.m.ActiveBodyGeometry, 1);
}

TEST(FreeFormEditor, NoLengthWritesNothingAndSaysSo)
{
    Session s;
    s.open([&](GeoBody& g) {
        const FreeFormModel before = g.model();
        s.m.BodyLengthAfterNose = 0;
        g.MESHBODY->click();
        EXPECT_EQ(g.StatusBar1->panel(1), "Please enter Free-Form tube length.");
        EXPECT_TRUE(g.isVisible());
        press(g.Toolbar1, "REFRESH");
        g.UpDown3->stepUp();
        EXPECT_EQ(g.model().x(3), before.x(3));
        EXPECT_EQ(g.model().y(3), before.y(3));
        hover(g, QPoint(100, 300));
        EXPECT_EQ(g.YLOC->text(), ".");
        g.OMITSHAPE->click();
    });
    EXPECT_EQ(s.m.ActiveBodyGeometry, 0);
    EXPECT_EQ(s.m.FreeFormBodyX(1), 0);
    EXPECT_EQ(s.m.FreeFormBaseRadius, 0);
    EXPECT_EQ(s.editor.StatusBar1->panel(1), "");
}

TEST(FreeFormEditor, SavedShapeIsRestoredWithoutTheFlatLayout)
{
    Session s;
    GeoBody& g = s.editor;
    Array1<double, 20> xs, ys;
    xs(1) = 0, ys(1) = kY0;
    xs(2) = 4807.5, ys(2) = 3000;
    xs(3) = kW, ys(3) = 6000;
    EXPECT_FALSE(g.setShape(21, xs, ys));
    EXPECT_FALSE(g.setShape(1, xs, ys));
    ASSERT_TRUE(g.setShape(3, xs, ys));
    EXPECT_EQ(g.NPTS->text(), "3");
    s.m.FreeFormPointCount = 3;  // as the project reader restores it
    s.open([&](GeoBody& e) {
        EXPECT_EQ(e.model().count(), 3);
        EXPECT_EQ(e.model().y(2), 3000);
        e.MESHBODY->click();
    });
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(2), kL * (kH - 3000) / kH);
    EXPECT_DOUBLE_EQ(s.m.FreeFormBodyRadius(3), kL * (kH - 6000) / kH);
    EXPECT_FLOAT_EQ(s.m.FreeFormBaseRadius, static_cast<float>(kL * (kH - 6000) / kH));
}

TEST(FreeFormEditor, ToolbarHelpAboutAndPrintFailure)
{
    Session s;
    s.open([&](GeoBody& g) {
        press(g.Toolbar1, "HELP");
        press(g.Toolbar1, "ABOUT");
        g.Toolbar1_ButtonClick("NOSUCHKEY");
        setPrinterProvider([] { return std::unique_ptr<QPrinter>(); });
        press(g.Toolbar1, "PRINT");
        setPrinterProvider({});
        g.OMITSHAPE->click();
    });
    const auto& shown = ModalSeam::instance().shownWindows;
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(std::vector<QString>(shown.end() - 3, shown.end()),
              (std::vector<QString>{"GeoBody", "VelmoraHelp", "AboutVelmora"}));
    ASSERT_EQ(s.h.messages().size(), 1u);
    EXPECT_EQ(s.h.messages()[0].prompt, "The form can't be printed.");
}

} // namespace
} // namespace velmora
