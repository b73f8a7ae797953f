#include <QFile>
#include <QTemporaryDir>

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

std::vector<PictureBox::Call> callsOf(const PictureBox* p, Kind kind)
{
    std::vector<PictureBox::Call> out;
    for (const auto& c : p->calls())
        if (c.kind == kind) out.push_back(c);
    return out;
}

// Refused before a solution. At 10 degrees on the 22 mesh: the grid, the cylinder curve from sin^2(10 degrees)
// and the station's points as blue circles. The spinner stops at the last intact ring, the zoom before a label's
// number outgrows its room; a remesh to 10 stations lowers both; fewer than three stations refuse the key.
TEST(CrossFlowWindow, PlotPrintScaleSpinnerLimitRemeshAndRefusals)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    CROSSFLOW& cross = h.forms->get<CROSSFLOW>();
    PressureCenter& cp = h.forms->get<PressureCenter>();
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(cp.StatusBar1->panel(2), "Please perform CFD analysis.");
    Harness::type(s.ROCKETAOA, "10");
    Harness::pick(s.DomainSize, "22");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    cross.PLOT->setRecording(true);
    ASSERT_EQ(h.state->BodyStationCount, 20);
    h.onShow["CROSSFLOW"] = [](Form& f) { QTest::mouseClick(static_cast<CROSSFLOW&>(f).PlotCd, Qt::LeftButton); };
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(Harness::timesShown("CROSSFLOW"), 1);
    Module1& m = *h.state;
    const double top = m.CrossflowCpTop, bottom = m.CrossflowCpBottom;
    EXPECT_EQ(cross.MAX->text(), qFormat(top, "##.#####"));
    const auto lines = callsOf(cross.PLOT, Kind::Line);
    ASSERT_EQ(lines.size(), 4u + 7u + 99u);
    EXPECT_EQ(lines[11].colour, PictureBox::qbColor(12));
    EXPECT_NEAR(lines[11].coords[1], 1600 + 2000 / (top - bottom) * 0.0301537, 1e-4 * 2000 / (top - bottom));
    const auto circles = callsOf(cross.PLOT, Kind::Circle);
    ASSERT_EQ(circles.size(), 8u);
    EXPECT_EQ(circles[0].colour, PictureBox::qbColor(1));

    cross.show();
    QTemporaryDir dir;
    testing::printTo(dir.filePath("cross.pdf"));
    cross.mnuPrintPage->trigger();
    setPrinterProvider({});
    EXPECT_GT(QFile(dir.filePath("cross.pdf")).size(), 1000);

    Harness::press(cross.Toolbar1, "SCALEDATA");
    EXPECT_NEAR(m.CrossflowCpTop, 10 * top, 1e-9 * top);
    Harness::press(cross.Toolbar1, "RESETDATA");
    EXPECT_EQ(m.CrossflowCpTop, top);
    Harness::press(cross.Toolbar1, "SCALEDATA");
    QTest::mouseClick(cross.UpDown3->upButton, Qt::LeftButton);
    EXPECT_EQ(std::tuple(m.CrossflowStation, m.CrossflowCpScale), std::tuple(2, 1.0f));
    for (int i = 0; i < 25; ++i)
        QTest::mouseClick(cross.UpDown3->upButton, Qt::LeftButton);
    EXPECT_EQ(cross.NSTATIONS->text(), "18");
    EXPECT_EQ(cross.Label18->text(), qFormat(m.BodyStationX(18) - m.NoseTipX, stability::kPatternStationDistance));
    for (int i = 0; i < 30; ++i)
        Harness::press(cross.Toolbar1, "SCALEDATA");
    EXPECT_GE(std::fabs(m.CrossflowCpBottom) * 10, stability::kCrossFlowLabelLimit);
    QApplication::processEvents();
    for (QLabel* l : {cross.MAX, cross.MIN, cross.Label2, cross.Label3, cross.Label4})
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();

    Harness::pick(s.DomainSize, "12");
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    ASSERT_EQ(m.BodyStationCount, 10);
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(std::tuple(cross.UpDown3->maximum(), cross.NSTATIONS->text()), std::tuple(8, "8"));
    Harness::press(cross.Toolbar1, "RETURN");
    EXPECT_FALSE(cross.isVisible());
    m.BodyStationCount = 2;
    Harness::press(cp.Toolbar1, "CROSSFLOW");
    EXPECT_EQ(std::tuple(cp.StatusBar1->panel(2), cross.isVisible()), std::tuple(kMsgCrossFlowNeedsStations, false));
}

// The spinner's range at the end of the surface table (a 100-station, 12-meridian solution's tables): the ring
// ending on the last entry is plotted, the next station plots nothing, and nothing fails.
TEST(CrossFlowWindow, StationRingAtTheEndOfTheSurfaceTable)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
    Module1& m = *h.state;
    m.BodyStationCount = 100;
    m.MeridianCount = 12;
    for (int i = 1; i <= 100; ++i) m.BodyStationX(i) = m.NoseTipX + i;
    for (long k = 1; k <= 792; ++k) m.BodySurfaceCp(k) = -0.5f;
    CROSSFLOW& cross = h.forms->get<CROSSFLOW>();
    Harness::press(h.forms->get<PressureCenter>().Toolbar1, "CROSSFLOW");
    ASSERT_EQ(cross.UpDown3->maximum(), 98);
    cross.PLOT->setRecording(true);
    for (auto [station, circles] : {std::pair{66, 12u}, {67, 0u}}) {
        cross.UpDown3->setValue(station);
        EXPECT_EQ(std::tuple(callsOf(cross.PLOT, Kind::Circle).size(), cross.NSTATIONS->text()),
                  std::tuple(circles, QString::number(station)));
        cross.PLOT->clearRecording();
    }
    EXPECT_TRUE(h.messages().empty());
}

} // namespace
} // namespace velmora
