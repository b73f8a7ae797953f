#include <QFile>
#include <QTemporaryDir>

#include <set>

#include "bodyflow/FlowPlots.h"
#include "bodyflow/ui/PlotResults.h"
#include "platform/Format.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using PlotWindow = testing::Started;
using testing::blank;
using Kind = PictureBox::Kind;

// The typical rocket solved at 300 FT/SEC (3600 IN/SEC).
SOLVER& solveRocket(Harness& h)
{
    SOLVER& s = h.typeRocket();
    s.CFDSOLVER_Click();
    EXPECT_EQ(h.state->FlowSolutionStatus, "");
    return s;
}

// The plot window laid out and shown, so its pictures have their final size.
PlotResults& shownPlot(Harness& h)
{
    PlotResults& p = h.forms->get<PlotResults>();
    p.resize(1000, 620);
    p.show();
    QApplication::processEvents();
    return p;
}

class SolvedPlot : public ::testing::Test {
protected:
    Harness h;
    SOLVER& s = solveRocket(h);
    PlotResults& p = shownPlot(h);
    Module1& m = *h.state;
};

long count(const PictureBox* pic, Kind kind)
{
    return std::ranges::count(pic->calls(), kind, &PictureBox::Call::kind);
}

// Index of a colour in the ramp of n levels (-1 when not a ramp colour).
int rampIndex(QRgb c, double n)
{
    const auto ramp = colourRamp(n);
    for (std::size_t i = 1; i < ramp.size(); ++i)
        if (PictureBox::rgbFromLong(ramp[i]) == (c | 0xFF000000u)) return static_cast<int>(i);
    return -1;
}

QPoint pixelOf(const PictureBox* pic, double x, double r, const Module1& m)
{
    const QPointF d = pic->toDevice(x * 500 / m.DomainLength, r * 1000 / m.DomainLength);
    return {static_cast<int>(d.x()), static_cast<int>(d.y())};
}

TEST_F(PlotWindow, LevelBoxesWriteEachOtherOnceAndSpinnersStandAlone)
{
    PlotResults& p = shownPlot(h);
    Harness::type(p.NLEVELS, "25.7");
    EXPECT_EQ(std::tuple(p.NLEVELS->text(), p.NLEVELS2->text(), m.ContourLevelCount), std::tuple("26", "26", 26));
    Harness::type(p.NLEVELS2, "0");
    EXPECT_EQ(std::tuple(m.ContourLevelCount, p.NLEVELS->text()), std::tuple(0, ""));

    // Spinners keep their own position (3 from the start): one click up gives 4.
    Harness::type(p.NLEVELS, "20");
    p.VelocityPlot->setScale(0, 500, 500, 0);
    p.VelocityPlot->line(0, 0, 500, 500);
    QTest::mouseClick(p.UpDown2->upButton, Qt::LeftButton);
    EXPECT_EQ(std::tuple(m.ContourLevelCount, p.NLEVELS2->text()), std::tuple(4, "4"));
    EXPECT_TRUE(blank(p.VelocityPlot));
}

TEST_F(PlotWindow, RefusalsDrawNothing)
{
    PlotResults& p = shownPlot(h);
    // Nothing solved since start-up: no grid to plot.
    p.VelocityPlot->setRecording(true);
    p.Contour_Click();
    EXPECT_TRUE(p.VelocityPlot->calls().empty());
    // Before any mesh the slider has no location to give.
    p.Slider1->setValue(10);
    EXPECT_EQ(p.StatusBar1->panel(1), "Incorrect value for profile location");

    solveRocket(h);
    Harness::type(s.Velocity, "310");  // stale again
    for (PictureBox* pic : {p.VelocityPlot, p.LEVELS, p.FieldProfile}) {
        pic->setRecording(true);
        pic->clearRecording();
    }
    QTest::mouseClick(p.Contour, Qt::LeftButton);
    QTest::mouseClick(p.PessureContour, Qt::LeftButton);
    QTest::mouseClick(p.Vector, Qt::LeftButton);
    p.Slider1->setValue(20);
    const auto& msgs = h.messages();
    EXPECT_EQ(testing::said(msgs), QStringList(5, "PLEASE PERFORM CFD ANALYSIS | CFD ANALYSIS REQUIRED"));
    for (PictureBox* pic : {p.VelocityPlot, p.LEVELS, p.FieldProfile}) EXPECT_TRUE(pic->calls().empty());

    // Level counts outside 3..100 once the flow is current.
    s.CFDSOLVER_Click();
    p.VelocityPlot->clearRecording();
    Harness::type(p.NLEVELS2, "101");
    p.Contour_Click();
    Harness::type(p.NLEVELS2, "2");
    p.PessureContour_Click();
    EXPECT_EQ(testing::said(msgs).mid(5),
              QStringList({"NUMBER OF LEVELS MUST BE LESS THAN OR EQUAL TO 100 | NUMBER OF LEVELS TO LARGE",
                           "NUMBER OF LEVELS MUST BE GREATER THAN 2 | NUMBER OF LEVELS TO SMALL"}));
    EXPECT_TRUE(p.VelocityPlot->calls().empty());

    // 3 is plotted; an unset count starts again from 20.
    Harness::type(p.NLEVELS2, "3");
    p.Contour_Click();
    EXPECT_EQ(count(p.LEVELS, Kind::Box), 2);
    h.state->ContourLevelsUserSet = 0;
    p.PessureContour_Click();
    EXPECT_EQ(std::tuple(h.state->ContourLevelCount, count(p.LEVELS, Kind::Box), msgs.size()),
              std::tuple(20, 2 + 19, 7u));
}

TEST_F(SolvedPlot, ContoursFillTheFieldWithoutGapsVectorsAndTheStagnationPressure)
{
    QTest::mouseClick(p.Contour, Qt::LeftButton);
    EXPECT_GT(Val(p.MAX->text().toStdString()), m.FreeStreamVelocity);
    EXPECT_EQ(QStringList({p.UnitsLabel->text(), p.StatusBar1->panel(1)}), QStringList({"IN/SEC", "Plot complete."}));
    EXPECT_FALSE(p.NoMeshDefined->isVisible());

    // Every pixel above the body is painted, in ramp colours or the overlay ink.
    const QImage img = p.VelocityPlot->image();
    std::set<int> bands;
    const int bodyTop = pixelOf(p.VelocityPlot, 0, 0.6, m).y();
    for (int y = 0; y < bodyTop; ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            ASSERT_NE(c, PictureBox::kBackground) << x << "," << y;
            const int band = rampIndex(c, 20);
            ASSERT_TRUE(band > 0 || c == PictureBox::kForeground) << x << "," << y;
            bands.insert(band);
        }
    EXPECT_GE(bands.size(), 6u);
    EXPECT_FALSE(blank(p.LEVELS));

    // Vectors over it: 19 body lines, the start-up tapered fin (3 lines, 2 root marks), 722 vectors; the legend stays.
    const QString maxText = p.MAX->text();
    p.VelocityPlot->setRecording(true);
    QTest::mouseClick(p.Vector, Qt::LeftButton);
    EXPECT_EQ(std::tuple(p.StatusBar1->panel(1), count(p.VelocityPlot, Kind::Line), p.MAX->text()),
              std::tuple("Plot complete.", 19 + 5 + 722, maxText));
    // One click up on the scale spinner (position 1 -> 2) gives 0.02 and redraws.
    p.VelocityPlot->clearRecording();
    QTest::mouseClick(p.UpDown1->upButton, Qt::LeftButton);
    EXPECT_EQ(std::tuple(p.Vscale->text(), count(p.VelocityPlot, Kind::Line)), std::tuple(".02", 19 + 5 + 722));

    // Pressure contours show the stagnation at the nose tip.
    QTest::mouseClick(p.Pressure[0], Qt::LeftButton);  // static
    EXPECT_EQ(std::tuple(blank(p.VelocityPlot), p.NoMeshDefined->isVisible()), std::tuple(true, true));

    QTest::mouseClick(p.PessureContour, Qt::LeftButton);
    EXPECT_EQ(p.UnitsLabel->text(), "LB/IN^2");
    // The cells just ahead of the tip stand well above the far field.
    const QImage stat = p.VelocityPlot->image();
    const QPoint tip = pixelOf(p.VelocityPlot, m.NoseTipX - 0.3, 0.1, m);
    const QPoint far = pixelOf(p.VelocityPlot, m.DomainLength * 0.8, m.DomainHeight * 0.8, m);
    const int farBand = rampIndex(stat.pixel(far), 20);
    ASSERT_GT(farBand, 0);
    EXPECT_GE(rampIndex(stat.pixel(tip), 20), farBand + 3);

    // Dynamic pressure: the slow air at the tip is the low end instead.
    QTest::mouseClick(p.Pressure[1], Qt::LeftButton);
    p.PessureContour_Click();
    const QImage dyn = p.VelocityPlot->image();
    EXPECT_LE(rampIndex(dyn.pixel(tip), 20), rampIndex(dyn.pixel(far), 20) - 3);
}

// Profiles from the slider; Clear empties the pictures but keeps the read-outs; MESHING draws over the contours
// unless a computation runs; a print keeps the plot; RETURN hides the window.
TEST_F(SolvedPlot, ProfilesClearMeshingPrintAndReturn)
{
    p.Slider1->setValue(40);
    EXPECT_EQ(p.Xlocation->text(), "6.71");
    EXPECT_GT(Val(p.MAX1->text().toStdString()), Val(p.MIN1->text().toStdString()));
    EXPECT_FALSE(blank(p.FieldProfile));
    // Far from the body, ahead of the nose, the air moves at the free stream.
    p.Slider1->setValue(0);
    EXPECT_NEAR(Val(p.MAX1->text().toStdString()), m.FreeStreamVelocity, 0.001 * m.FreeStreamVelocity);
    QTest::mouseClick(p.Profile[1], Qt::LeftButton);
    EXPECT_TRUE(blank(p.FieldProfile));
    p.Slider1->setValue(1);
    EXPECT_EQ(p.UnitsLabel1->text(), "LB/IN^2");

    p.Contour_Click();
    const QString maxText = p.MAX->text();
    QTest::mouseClick(p.Command1, Qt::LeftButton);
    for (PictureBox* pic : {p.VelocityPlot, p.LEVELS, p.FieldProfile}) EXPECT_TRUE(blank(pic));
    EXPECT_EQ(p.MAX->text(), maxText);

    p.Contour_Click();
    p.VelocityPlot->setRecording(true);
    p.Toolbar1_ButtonClick("MESHING");
    EXPECT_EQ(count(p.VelocityPlot, Kind::Clear), 0);
    EXPECT_GE(count(p.VelocityPlot, Kind::Line), 3 * 722);

    {
        BusyGuard::Scope busy(h.forms->busy(), "SOLVE");
        p.VelocityPlot->clearRecording();
        p.Toolbar1_ButtonClick("MESHING");
        EXPECT_TRUE(p.VelocityPlot->calls().empty());
        EXPECT_EQ(p.StatusBar1->panel(2), "Please wait: SOLVE is in progress.");
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("plot.pdf");
    testing::printTo(file);
    const QImage before = p.VelocityPlot->image();
    p.mnuPrintPage->trigger();
    EXPECT_TRUE(h.messages().empty());
    EXPECT_GT(QFile(file).size(), 1000);
    setPrinterProvider({});

    p.Toolbar1_ButtonClick("RETURN");
    EXPECT_EQ(std::tuple(p.isVisible(), p.VelocityPlot->image() == before), std::tuple(false, true));

    // A location shown past the domain end: the message and the inflow column.
    m.DomainLength = 16.766;  // the grid ends at 16.7647; "16.77" reads beyond
    p.Slider1->setValue(100);
    EXPECT_EQ(p.Xlocation->text(), "16.77");
    EXPECT_EQ(p.StatusBar1->panel(2), "Profile location is not on body. Please pick another location");
}

} // namespace
} // namespace velmora
