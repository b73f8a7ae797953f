// The plotting surface: scale mapping, what lands on which pixel, the retained drawing replayed at every size,
// and runs of calls drawing what single calls draw.
#include "platform/ui/PictureBox.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using velmora::PictureBox;

namespace {

constexpr double kPi = std::numbers::pi;
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255);

// Expected colours of single pixels, device coordinates.
struct Px { int x, y; QRgb colour; };
void expectPixels(const QImage& img, std::initializer_list<Px> pixels)
{
    for (const Px& p : pixels) EXPECT_EQ(img.pixel(p.x, p.y), p.colour) << "pixel " << p.x << "," << p.y;
}

bool anyNonWhite(const QImage& img, QRect r)
{
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixel(x, y) != kWhite) return true;
    return false;
}

// A 500x500 picture with y growing upward: user (x,y) is pixel (x, 500-y).
class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pb.setFixedSize(500, 500);
        pb.setScale(0, 500, 500, 0);
    }
    PictureBox pb;
};

} // namespace

TEST(PictureBoxColours, ClassicTableAndColourNumbers)
{
    const std::pair<int, QRgb> table[] = {
        {1, qRgb(0, 0, 128)}, {6, qRgb(128, 128, 0)}, {9, qRgb(0, 0, 255)}, {15, qRgb(255, 255, 255)},
        {16, qRgb(0, 0, 0)},
    };
    for (auto [n, rgb] : table) EXPECT_EQ(PictureBox::qbColor(n), rgb) << n;

    EXPECT_EQ(PictureBox::rgbFromLong(65536L * 200 + 256 * 10 + 3), qRgb(3, 10, 200));
}

TEST_F(PictureBoxTest, ScaleMapping)
{
    // A scale that is not square and does not start at zero.
    pb.setScale(-10, 20, 10, -20);
    EXPECT_EQ(pb.toDevice(-5, 10), QPointF(125, 125));
    pb.setScale(1, 1, 1, 2); // degenerate: refused, the previous one stays
    EXPECT_EQ(pb.toDevice(-5, 10), QPointF(125, 125));
}

TEST_F(PictureBoxTest, LinesLandOnTheExpectedPixels)
{
    pb.line(100, 100, 300, 100, kRed); // pixel row 400
    pb.line(50, 450, 50, 250); // foreground black, pixel column 50, rows 50..250
    expectPixels(pb.image(), {{100, 400, kRed}, {300, 400, kRed}, {200, 399, kWhite}, {302, 400, kWhite},
                              {50, 50, kBlack}, {50, 250, kBlack}, {50, 260, kWhite}});

    // lineTo continues from the end of the last line.
    pb.lineTo(200, 50, kRed);
    EXPECT_EQ(pb.image().pixel(200, 400), kRed);

    // Far off the picture or not a number: nothing drawn, nothing broken.
    const QImage before = pb.image();
    pb.line(1e300, -1e300, std::numeric_limits<double>::quiet_NaN(), 0, kRed);
    pb.circle(std::numeric_limits<double>::infinity(), 0, 10, kRed);
    EXPECT_EQ(pb.image(), before);
    // Ends far off the picture: the visible part is still drawn, in place.
    pb.line(-1e300, 250, 1e300, 250, kRed);
    pb.line(-1e12, -1e12 + 300, 1e12, 1e12 + 300, kRed); // y = x + 300
    pb.box(-1e200, 1e200, 1e200, 260, kRed, false);
    pb.circle(250, 50 - 1e9, 1e9, kBlue);        // top just reaches pixel (250, 450)
    pb.circle(-1e7, 250, 1e7 + 450, kBlue);      // passes through pixel (450, 250)
    // The big circle bulges only 0.002 px over 200 rows.
    expectPixels(pb.image(), {{400, 250, kRed}, {100, 100, kRed}, {400, 240, kRed}, {250, 450, kBlue},
                              {250, 440, kWhite}, {450, 50, kBlue}, {453, 50, kWhite}});
}

TEST_F(PictureBoxTest, BoxesPointsAndPolygons)
{
    pb.box(100, 400, 200, 300, kRed, true);   // pixels 100..200 x 100..200
    pb.box(300, 200, 400, 100, kBlue, false); // corners swapped on purpose
    pb.pset(10, 490, kBlue);
    pb.polygon({{300, 300}, {400, 300}, {400, 400}, {300, 400}}, kRed);
    expectPixels(pb.image(), {{100, 100, kRed}, {200, 200, kRed}, {201, 150, kWhite}, {400, 400, kBlue},
                              {350, 350, kWhite}, {10, 10, kBlue}, {11, 10, kWhite}, {350, 150, kRed},
                              {301, 199, kRed}, {350, 250, kWhite}});
}

TEST_F(PictureBoxTest, EllipsesRadiusAndArcs)
{
    // An aspect above one makes the radius the vertical semi-axis.
    pb.circle(250, 250, 100, kRed, std::nullopt, std::nullopt, 2.0);
    expectPixels(pb.image(), {{250, 150, kRed}, {250, 350, kRed}, {200, 250, kRed}, {300, 250, kRed}});
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(150, 240, 45, 20)));

    // 2 px per unit across, 4 px per unit down: a radius of 50 units is a
    // 100-pixel circle both ways, not 200 pixels tall.
    pb.clear();
    pb.setScale(0, 125, 250, 0);
    pb.circle(125, 62.5, 50, kRed);
    expectPixels(pb.image(), {{350, 250, kRed}, {250, 150, kRed}, {250, 350, kRed}});
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(240, 0, 20, 140)));

    // Quarter arc from 0 to pi/2: the upper-right quarter only.
    pb.clear();
    pb.setScale(0, 500, 500, 0);
    pb.circle(250, 250, 100, kBlue, 0.0, kPi / 2);
    expectPixels(pb.image(), {{350, 250, kBlue}, {250, 150, kBlue}});
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(140, 140, 100, 100))); // upper left

    // End before start wraps through zero: from 3pi/2 round to pi/2 is the
    // right half; a negative end angle adds the radius to that end.
    pb.clear();
    pb.circle(250, 250, 100, kBlue, 3 * kPi / 2, -kPi / 2);
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(140, 160, 100, 180))); // left half
    expectPixels(pb.image(), {{250, 200, kBlue}, {250, 300, kWhite}}); // a radius to the top, none to the bottom

    // Semi-axes 100 units across and 50 up stay so on a 1000 x 250 picture: 200 pixels across, 25 up.
    pb.clear();
    pb.circle(250, 250, 100, kRed, std::nullopt, std::nullopt, 0.5);
    pb.setFixedSize(1000, 250);
    expectPixels(pb.image(), {{300, 125, kRed}, {700, 125, kRed}, {500, 100, kRed}, {500, 95, kWhite}});
}

TEST_F(PictureBoxTest, TextInkLiesBelowAndRightOfItsPoint)
{
    pb.text(100, 400, QStringLiteral("HELLO"), kBlue);
    const double w = pb.textWidth(QStringLiteral("HELLO")), h = pb.textHeight(QStringLiteral("HELLO"));
    ASSERT_GT(w, 5);
    ASSERT_GT(h, 5);
    EXPECT_TRUE(anyNonWhite(pb.image(), QRect(100, 100, int(w), int(h))));
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(60, 60, 200, 39)));
    EXPECT_FALSE(anyNonWhite(pb.image(), QRect(60, 60, 38, 100)));
}

// The same calls on pictures of several sizes, each drawn at that size.
void drawSample(PictureBox& p)
{
    p.setScale(0, 500, 500, 0);
    p.line(50, 250, 450, 250, kRed);
    p.box(100, 400, 200, 300, kBlue, true);
    p.lineTo(480, 20, kRed);
    p.setDrawWidth(3);
    p.pset(400, 100, kBlue);
    p.setDrawWidth(1);
    p.polygon({{300, 100}, {350, 100}, {350, 150}}, kBlue);
    p.text(20, 480, QStringLiteral("Cp"));
}

// A resized picture, one drawn before it had a size and one drawn while off screen all give the image of the same
// calls made at their final size on a shown picture.
TEST(PictureBoxReplay, EveryRouteGivesTheDrawingMadeAtTheFinalSize)
{
    const QSize sizes[] = {{500, 500}, {1000, 500}, {250, 400}, {37, 19}, {500, 500}};
    PictureBox resized, unsized;
    resized.setFixedSize(sizes[0]);
    drawSample(resized);
    unsized.resize(0, 0);
    drawSample(unsized);
    EXPECT_TRUE(unsized.image().isNull());
    for (QSize size : sizes) {
        SCOPED_TRACE(size.width());
        resized.setFixedSize(size);
        PictureBox shown;
        shown.setFixedSize(size);
        shown.show();
        drawSample(shown);
        EXPECT_EQ(resized.image(), shown.image());
    }
    unsized.resize(500, 500);
    EXPECT_EQ(unsized.image(), resized.image());
    // The red line across the middle lies at mid-height and spans 80 % of the width.
    resized.setFixedSize(800, 600);
    expectPixels(resized.image(), {{80, 300, kRed}, {720, 300, kRed}, {78, 300, kWhite}, {400, 298, kWhite}});
}

TEST(PictureBoxReplay, FarEdgeOfTheScaleIsTheLastPixel)
{
    // Lines along the scale's right and bottom edges, as a base face at x = 500 and a body on the axis y = 0.
    const struct { double x1, y1, x2, y2; QPoint inside; } cases[] = {
        {500, 0, 500, 250, {199, 75}}, {0, 0, 500, 0, {100, 99}}, {500, 500, 500, 0, {199, 0}}};
    for (const auto& c : cases) {
        PictureBox p;
        p.setFixedSize(200, 100);
        p.setScale(0, 500, 500, 0);
        p.line(c.x1, c.y1, c.x2, c.y2, kRed);
        EXPECT_EQ(p.image().pixel(c.inside), kRed) << c.x1 << "," << c.y1;
        EXPECT_EQ(p.toDevice(c.x2, c.y2), QPointF(c.x2 * 200 / 500, 100 - c.y2 * 100 / 500));
    }
}

TEST(PictureBoxReplay, TwiceThePixelDensityIsAsSharp)
{
    // Only the drawing's own colours, no blended edge pixels, and lines two device pixels wide, as wide as one
    // widget pixel.
    PictureBox p;
    p.setFixedSize(1000, 500);
    drawSample(p);
    const QImage hi = p.render(QSize(500, 500), 2.0);
    ASSERT_EQ(hi.size(), QSize(1000, 1000));
    EXPECT_EQ(hi.devicePixelRatio(), 2.0);
    // The middle line on widget row 250, two device rows about device row 500.
    expectPixels(hi, {{700, 498, kWhite}, {700, 499, kRed}, {700, 500, kRed}, {700, 501, kWhite}});
    for (int y = 0; y < hi.height(); y += 7)
        for (int x = 0; x < hi.width(); x += 7) {
            const QRgb c = hi.pixel(x, y);
            if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) {  // not text grey
                ASSERT_TRUE(c == kRed || c == kBlue || c == kWhite) << x << "," << y;
            }
        }
}

TEST(PictureBoxBatch, SameCallsAndPixelsAsSingleCalls)
{
    PictureBox single, batched;
    for (PictureBox* p : {&single, &batched}) {
        p->setFixedSize(400, 300);
        p->setRecording(true);
    }
    drawSample(single);
    {
        PictureBox::Batch outer(&batched);
        PictureBox::Batch inner(&batched); // nests
        drawSample(batched);
        // Resizing in the middle of a run draws everything so far again.
        batched.setFixedSize(300, 300);
        batched.setFixedSize(400, 300);
        batched.line(0, 0, 500, 500, kBlue);
    }
    single.line(0, 0, 500, 500, kBlue);
    EXPECT_EQ(batched.image(), single.image());
    ASSERT_EQ(batched.calls().size(), single.calls().size());
    for (std::size_t i = 0; i < single.calls().size(); ++i)
        EXPECT_EQ(batched.calls()[i].coords, single.calls()[i].coords) << i;
    // An image taken inside a run is a snapshot that later calls leave alone.
    PictureBox::Batch run(&batched);
    const QImage before = batched.image();
    batched.box(0, 500, 500, 0, kRed, true);
    EXPECT_NE(batched.image(), before);
    EXPECT_EQ(before, single.image());
}

// Thin lines of any colour, direction and clipping, with a wide line and a box in between.
void drawFan(PictureBox& pb)
{
    const QRgb colours[] = {kBlack, kRed, kBlue};
    for (int i = 0; i < 90; ++i) {
        const double a = i * 0.07;
        const double r = 40 + 3 * i;  // the longer ones leave the picture
        pb.line(250, 250, 250 + r * std::cos(a), 250 + r * std::sin(a), colours[i / 7 % 3]);
        pb.line(250 + r * std::cos(a), 250 - r * std::sin(a), 250, 250, colours[i % 3]);
        if (i % 17 == 0) pb.line(100 + i, 100, 100 + i, 100, colours[1]);  // a single point
        if (i == 40) {
            pb.setDrawWidth(3);
            pb.line(0, 0, 500, 500, colours[2]);
            pb.setDrawWidth(1);
        }
        if (i == 60) pb.box(200, 200, 300, 300, qRgb(0, 128, 0), true);
    }
}

// Lines drawn in one run land on the pixels they land on when each is drawn and shown on its own, and the wide
// line or another kind of call in between keeps its place in the order.
TEST(PictureBoxRuns, ThinLinesInOneRunDrawWhatSingleLinesDraw)
{
    PictureBox single, batched;
    for (PictureBox* p : {&single, &batched}) {
        p->setFixedSize(400, 300);
        p->setScale(0, 500, 500, 0);
        p->show();
    }
    QApplication::processEvents();
    drawFan(single);  // each call ends its own drawing
    {
        PictureBox::Batch run(&batched);
        drawFan(batched);
    }
    const QImage image = single.image();
    EXPECT_EQ(batched.image(), image);
    // The drawing made again at the same size, all its lines in runs.
    EXPECT_EQ(single.render(single.size(), image.devicePixelRatio()), image);
}

TEST_F(PictureBoxTest, DrawingSurvivesHideShowAndClearLeavesABlankPicture)
{
    pb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pb));
    pb.box(0, 500, 250, 250, kRed, true);
    pb.hide();
    QTest::qWait(10);
    pb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pb));
    EXPECT_EQ(pb.grab().toImage().pixel(110, 110), kRed);
    pb.makePersistent();
    ASSERT_TRUE(pb.hasPersistentPicture());
    pb.clear();
    EXPECT_FALSE(anyNonWhite(pb.image(), pb.image().rect()));
    EXPECT_FALSE(pb.hasPersistentPicture());
    EXPECT_FALSE(anyNonWhite(pb.grab().toImage(), pb.rect()));
    pb.hide();
}

// A marker (a point of a plotted curve) stays round when its picture grows to another shape, and grows as the
// smaller of the two growths.
TEST(PictureBoxReplay, MarkersStayRoundAtAnyShape)
{
    PictureBox p;
    p.setDesignSize({480, 320});
    p.setCirclesAreMarkers(true);
    p.setFixedSize(480, 320);
    p.setScale(0, 2000, 2000, 0);
    p.circle(1000, 1000, 15, PictureBox::qbColor(1));
    for (const QSize size : {QSize(480, 320), QSize(1870, 800)}) {
        p.setFixedSize(size);
        const QImage img = p.image();
        QRect ink;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != kWhite) ink |= QRect(x, y, 1, 1);
        const double growth = std::min(size.width() / 480.0, size.height() / 320.0);
        EXPECT_NEAR(ink.width(), ink.height(), 1) << size.width();
        EXPECT_NEAR(ink.width(), 2 * 15 * 480 / 2000.0 * growth + 1, 2) << size.width();
    }
}

