#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Format.h"
#include "stability/CrossFlow.h"
#include "stability/ui/CROSSFLOW.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

struct Solved {
    Harness h;
    SOLVER& s;
    PressureCenter& cp;
    CROSSFLOW& cross;
    explicit Solved(const char* aoa = "4", const char* domain = nullptr)
        : s(testing::typeRocketWithFins(h)), cp(h.forms->get<PressureCenter>()),
          cross(h.forms->get<CROSSFLOW>())
    {
        Harness::type(s.ROCKETAOA, aoa);
        if (domain) Harness::pick(s.DomainSize, domain);
        QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
        cross.PLOT->setRecording(true);
    }
    void crossFlowKey() { Harness::press(cp.Toolbar1, "CROSSFLOW"); }
};

std::vector<PictureBox::Call> callsOf(const PictureBox* p, Kind kind)
{
    std::vector<PictureBox::Call> out;
    for (const auto& c : p->calls())
        if (c.kind == kind) out.push_back(c);
    return out;
}

TEST(CrossFlowWindow, KeyLimitsTheSpinnerAndARemeshClampsTheStation)
{
    Solved w("4", "22");
    ASSERT_EQ(w.h.state->BodyStationCount, 20);
    w.crossFlowKey();
    EXPECT_EQ(Harness::timesShown("CROSSFLOW"), 1);
    EXPECT_EQ(w.cross.windowTitle(), "Cross-Flow Cp Distribution");
    EXPECT_EQ(w.cross.UpDown3->maximum(), 18);
    EXPECT_EQ(w.cross.NSTATIONS->text(), "1");
    for (int i = 0; i < 25; ++i) QTest::mouseClick(w.cross.UpDown3->upButton, Qt::LeftButton);
    EXPECT_EQ(w.h.state->CrossflowStation, 18);
    EXPECT_EQ(w.cross.NSTATIONS->text(), "18");
    EXPECT_EQ(w.cross.Label18->text(),
              qFormat(w.h.state->BodyStationX(18) - w.h.state->NoseTipX, stability::kPatternStationDistance));

    Harness::pick(w.s.DomainSize, "12");
    QTest::mouseClick(w.s.CFDSOLVER, Qt::LeftButton);
    ASSERT_EQ(w.h.state->BodyStationCount, 10);
    w.cross.PLOT->clearRecording();
    w.crossFlowKey();
    EXPECT_EQ(w.h.state->CrossflowStation, 8);
    EXPECT_EQ(w.cross.UpDown3->maximum(), 8);
    EXPECT_EQ(w.cross.UpDown3->value(), 8);
    EXPECT_EQ(w.cross.NSTATIONS->text(), "8");
    EXPECT_EQ(callsOf(w.cross.PLOT, Kind::Circle).size(), 8u);
}

TEST(CrossFlowWindow, FewerThanThreeStationsRefuseTheKey)
{
    Harness h;
    h.start();
    PressureCenter& cp = h.forms->get<PressureCenter>();
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(cp.StatusBar1->panel(2), "Please perform CFD analysis.");
    h.state->BodyStationCount = 2;
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(cp.StatusBar1->panel(2), kMsgCrossFlowNeedsStations);
    EXPECT_EQ(Harness::timesShown("CROSSFLOW"), 0);
}

// At 10 degrees: the station's meridian points as circles on the grid, and
// the cylinder curve over them starting at sin^2(10 degrees).
TEST(CrossFlowWindow, CirclesGridAndCylinderCurveAtTenDegrees)
{
    Solved w("10");
    w.h.onShow["CROSSFLOW"] = [](Form& f) { QTest::mouseClick(static_cast<CROSSFLOW&>(f).PlotCd, Qt::LeftButton); };
    w.h.state->CrossflowStation = 4;
    w.crossFlowKey();
    const Module1& m = *w.h.state;
    const double top = m.CrossflowCpTop, bottom = m.CrossflowCpBottom;
    EXPECT_EQ(w.cross.MAX->text(), qFormat(top, "##.#####"));
    EXPECT_EQ(w.cross.MIN->text(), qFormat(bottom, "##.#####"));
    EXPECT_EQ(w.cross.Label4->text(), qFormat(-3 * top, "##.#####"));
    EXPECT_EQ(w.cross.Label1->text(), "0.0");
    EXPECT_DOUBLE_EQ(bottom, -4 * top);

    const auto lines = callsOf(w.cross.PLOT, Kind::Line);
    ASSERT_EQ(lines.size(), 4u + 7u + 99u);
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(lines[i].colour, PictureBox::qbColor(0));
    const auto& first = lines[11];
    EXPECT_EQ(first.colour, PictureBox::qbColor(12));
    EXPECT_DOUBLE_EQ(first.coords[0], 0);
    EXPECT_NEAR(first.coords[1], 1600 + 2000 / (top - bottom) * 0.0301537, 1e-4 * 2000 / (top - bottom));

    const auto circles = callsOf(w.cross.PLOT, Kind::Circle);
    ASSERT_EQ(circles.size(), 8u);
    const double angles[] = {112.5, 157.5, 202.5, 247.5, 292.5, 337.5, 22.5, 67.5};
    for (std::size_t j = 0; j < 8; ++j) {
        EXPECT_NEAR(circles[j].coords[0], 2000.0 / 360 * angles[j], 1e-9);
        EXPECT_NEAR(circles[j].coords[1],
                    1600 + 2000 / (top - bottom) * m.BodySurfaceCp(3 * 8 + 1 + static_cast<long>(j)), 1e-9);
        EXPECT_EQ(circles[j].coords[2], 15);
        EXPECT_EQ(circles[j].colour, PictureBox::qbColor(1));
    }
}

TEST(CrossFlowWindow, ScaleResetStationChangeAndTheLabelLimit)
{
    Solved w;
    w.crossFlowKey();
    Module1& m = *w.h.state;
    const double top = m.CrossflowCpTop;
    Harness::press(w.cross.Toolbar1, "SCALEDATA");
    Harness::press(w.cross.Toolbar1, "SCALEDATA");
    EXPECT_NEAR(m.CrossflowCpTop, 100 * top, 1e-9 * top);
    EXPECT_EQ(w.cross.MAX->text(), qFormat(m.CrossflowCpTop, "##.#####"));
    Harness::press(w.cross.Toolbar1, "RESETDATA");
    EXPECT_EQ(m.CrossflowCpTop, top);
    Harness::press(w.cross.Toolbar1, "SCALEDATA");
    QTest::mouseClick(w.cross.UpDown3->upButton, Qt::LeftButton);
    EXPECT_EQ(m.CrossflowStation, 2);
    EXPECT_EQ(m.CrossflowCpScale, 1.0f);

    // The zoom stops before a label's number outgrows its room.
    for (int i = 0; i < 30; ++i) Harness::press(w.cross.Toolbar1, "SCALEDATA");
    EXPECT_LT(std::fabs(m.CrossflowCpBottom), stability::kCrossFlowLabelLimit);
    EXPECT_GE(std::fabs(m.CrossflowCpBottom) * 10, stability::kCrossFlowLabelLimit);
    w.cross.show();
    QApplication::processEvents();
    for (QLabel* l : {w.cross.MAX, w.cross.MIN, w.cross.Label2, w.cross.Label3, w.cross.Label4})
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
}

TEST(CrossFlowWindow, GrabbedPlotAndPrintToPdf)
{
    Solved w;
    w.crossFlowKey();
    w.cross.show();
    QApplication::processEvents();
    const QImage img = w.cross.PLOT->image();
    int blue = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) blue += img.pixel(x, y) == PictureBox::qbColor(1);
    EXPECT_GT(blue, 8 * 20);
    QTemporaryDir dir;
    const QString file = dir.filePath("cross.pdf");
    testing::printTo(file);
    w.cross.mnuPrintPage->trigger();
    setPrinterProvider({});
    EXPECT_GT(QFile(file).size(), 1000);
    EXPECT_TRUE(w.cross.PLOT->hasPersistentPicture());
    Harness::press(w.cross.Toolbar1, "RETURN");
    EXPECT_FALSE(w.cross.isVisible());
}

} // namespace
} // namespace velmora
