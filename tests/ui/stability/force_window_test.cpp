#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/Outline.h"
#include "geometry/ui/FinAnalysis.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "stability/ForcePlot.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

void solve(SOLVER& s) { QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton); }

double num(const QLineEdit* box) { return qVal(box->text()); }

int linesIn(const PictureBox* p, int colour)
{
    int n = 0;
    for (const auto& c : p->calls()) n += c.kind == Kind::Line && c.colour == PictureBox::qbColor(colour);
    return n;
}

int pixelsOf(const PictureBox* p, int colour)
{
    const QImage img = p->image();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == PictureBox::qbColor(colour);
    return n;
}

// The finned rocket solved at each angle on 8 and 12 meridians: the body
// slope stays put (a force that vanishes with the angle), the rocket's centre
// lies between the body's and the fins', and the window shows what the state
// holds, hidden as it is.
TEST(ForceWindow, SolveOfAFinnedRocketAtTwoAnglesOnEightAndTwelveMeridians)
{
    for (const char* meridians : {"8", "12"}) {
        SCOPED_TRACE(meridians);
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        Harness::pick(s.MERIDIANS, meridians);
        PressureCenter& cp = h.forms->get<PressureCenter>();
        cp.SurfaceProfile->setRecording(true);
        double slope[2] = {};
        int k = 0;
        for (const char* aoa : {"2", "4"}) {
            Harness::type(s.ROCKETAOA, aoa);
            cp.SurfaceProfile->clearRecording();
            solve(s);
            ASSERT_EQ(cp.StatusBar1->panel(1), "Analysis complete.") << aoa;
            EXPECT_FALSE(cp.isVisible());
            slope[k++] = num(cp.CNBODYS);
            const double xb = num(cp.XCPBODYS), xf = num(cp.XCPFINS), xcp = num(cp.XCPTOTALS);
            EXPECT_GT(xf, 0);
            EXPECT_GT(xcp, xb);
            EXPECT_LT(xcp, xf);
            EXPECT_EQ(cp.XLRATIOS->text(), s.XLRATIOS->text());
            EXPECT_EQ(cp.CNFORCES->text(), s.CNFORCES->text());
            EXPECT_EQ(cp.CNFORCES->text(), qFormat(h.state->NormalForceCoefficient, "##.###"));
            EXPECT_EQ(cp.MODELAOA->text(), qFormat(std::atof(aoa), "###.##"));
            // One segment per station pair of each curve, drawn before showing.
            const int n = h.state->BodyStationCount;
            EXPECT_EQ(linesIn(cp.SurfaceProfile, 1), n - 2);
            EXPECT_EQ(linesIn(cp.SurfaceProfile, 4), n - 2);
            EXPECT_GT(linesIn(cp.SurfaceProfile, 9), 3);  // fin outline and root marks
            EXPECT_FALSE(cp.NoMeshDefined->isVisibleTo(&cp));
            EXPECT_EQ(cp.PlotLabel->text(), "Cp");
            EXPECT_EQ(cp.UnitsLabel2->text(), "FT");
            EXPECT_EQ(cp.UnitsLabel8->text(), "LB");
        }
        EXPECT_NEAR(slope[0], slope[1], 0.05 * slope[1]);
        EXPECT_GT(slope[1], 0);
    }
}

TEST(ForceWindow, ZeroAngleGivesNoCoefficientsAndAsksForFins)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);  // at 4 degrees first: CN and Cm set
    ASSERT_NE(h.state->NormalForceCoefficient, 0);
    Harness::type(s.ROCKETAOA, "0");
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    EXPECT_EQ(h.state->NormalForceCoefficient, 0);
    EXPECT_EQ(h.state->PitchingMomentCoefficient, 0);
    EXPECT_EQ(h.state->CenterOfPressureRatio, 0);
    EXPECT_EQ(h.state->FinNormalForce, 0);
    EXPECT_EQ(cp.XLRATIOS->text(), ".");
    EXPECT_EQ(cp.FINAOAFORCES->text(), ".");
    for (TextBox* b : {cp.CNFORCES, cp.CMFORCES, cp.CNROCKET, s.CNFORCES, s.CMFORCES})
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(cp.StatusBar1->panel(2), "Please perform fin panel analysis with AOA greater than zero.");
}

TEST(ForceWindow, WithSourcePanelsTheRocketCentreIsTheBodys)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    h.state->PanelMethodChoice = PanelMethod::Source;
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    ASSERT_EQ(cp.StatusBar1->panel(1), "Analysis complete.");
    EXPECT_EQ(cp.XCPTOTALS->text(), cp.XCPBODYS->text());
    EXPECT_EQ(cp.CNFINS->text(), ".");
}

// Display on a stale flow writes panel 1 and nothing else.
TEST(ForceWindow, StaleFlowChangesOnlyPanelOne)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    Harness::type(s.Velocity, "310");
    PressureCenter& cp = h.forms->get<PressureCenter>();
    cp.StatusBar1->setPanel(2, "kept");
    cp.MAX->setText("kept");
    std::vector<QString> before;
    for (QLineEdit* b : cp.findChildren<QLineEdit*>()) before.push_back(b->text());
    cp.SurfaceProfile->setRecording(true);
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(testing::panels(cp.StatusBar1), "Please perform CFD analysis. | kept");
    std::vector<QString> after;
    for (QLineEdit* b : cp.findChildren<QLineEdit*>()) after.push_back(b->text());
    EXPECT_EQ(after, before);
    EXPECT_TRUE(cp.SurfaceProfile->calls().empty());
}

TEST(ForceWindow, DisplayRecomputesAndShowsCdShort)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    EXPECT_EQ(cp.CXFORCES->text(), qFormat(h.state->TotalDragCoefficient, "#####.###"));
    const QString xcp = cp.XCPTOTALS->text();
    cp.XCPTOTALS->clear();
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(cp.XCPTOTALS->text(), xcp);
    EXPECT_EQ(cp.CXFORCES->text(), qFormat(h.state->TotalDragCoefficient, "##.###"));
}

TEST(ForceWindow, ClearEmptiesTheBoxesInOrderAndKeepsTheLegend)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    cp.show();
    QApplication::processEvents();
    ASSERT_EQ(cp.UnitsLabel8->text(), "LB");
    QStringList emptied;
    for (TextBox* b : cp.findChildren<TextBox*>())
        QObject::connect(b, &QLineEdit::textChanged, b, [b, &emptied](const QString& t) {
            if (t.isEmpty()) emptied << b->objectName();
        });
    QTest::mouseClick(cp.Command1, Qt::LeftButton);
    // UnitsLabel8 empties inside UnitsLabel6's change handler, which runs
    // before this log's connection to UnitsLabel6.
    EXPECT_EQ(emptied.join(QChar(0x20)).toStdString(),
              "XCPBODYS CNBODYS XCPFINS CNFINS CNROCKET CNFORCES CMFORCES CXFORCES XCPTOTALS XLRATIOS BODYFORCES "
              "FINFORCES FINAOAFORCES LUGFORCES MAX MIN UnitsLabel2 UnitsLabel3 UnitsLabel4 UnitsLabel5 UnitsLabel8 "
              "UnitsLabel6 UnitsLabel7 PlotLabel MODELAOA");
    EXPECT_EQ(testing::panels(cp.StatusBar1), " | ");
    EXPECT_TRUE(cp.NoMeshDefined->isVisible());
    EXPECT_TRUE(testing::blank(cp.SurfaceProfile));
    EXPECT_GT(pixelsOf(cp.LEGEND1, 1), 0);
    EXPECT_GT(pixelsOf(cp.LEGEND2, 4), 0);
}

TEST(ForceWindow, UnitLabelsFollowTheUnitSystem)
{
    struct Case { const char* units; const char* length; const char* force; };
    for (const Case& c : {Case{"in-lb-sec", "IN", "LB"}, Case{"m-nt-sec", "M", "NT"}}) {
        Harness h;
        SOLVER& s = testing::typeRocketWithFins(h);
        Harness::pick(s.CFDUNITS, c.units);
        solve(s);
        PressureCenter& cp = h.forms->get<PressureCenter>();
        for (TextBox* b : {cp.UnitsLabel2, cp.UnitsLabel3, cp.UnitsLabel4}) EXPECT_EQ(b->text(), c.length);
        for (TextBox* b : {cp.UnitsLabel5, cp.UnitsLabel6, cp.UnitsLabel7, cp.UnitsLabel8})
            EXPECT_EQ(b->text(), c.force);
    }
}

// The grabbed plot: both curves, the body outline and the fin in their
// colours, and the range boxes holding the plot's ends.
TEST(ForceWindow, GrabbedPlotShowsCurvesOutlineAndFin)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    cp.show();
    QApplication::processEvents();
    const QImage shot = cp.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    for (int colour : {1, 4, 9, 0}) EXPECT_GT(pixelsOf(cp.SurfaceProfile, colour), 20) << colour;
    EXPECT_EQ(cp.MAX->text(), qFormat(-qVal(cp.MIN->text()), "##.##"));
    EXPECT_GT(num(cp.MAX), 0);
    for (QLineEdit* b : cp.findChildren<QLineEdit*>())
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->contentsRect().width())
            << b->objectName().toStdString();
}

TEST(ForceWindow, EllipticalFinIsTheHalfEllipseOnTheRootChord)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    FinAnalysis& fins = h.forms->get<FinAnalysis>();
    fins.FinShapes[3]->click();
    ASSERT_EQ(h.state->FinPlanformCode, 4);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    cp.SurfaceProfile->setRecording(true);
    solve(s);
    const Module1& m = *h.state;
    const double xs = 500 / m.DomainLength;
    const double yb = static_cast<double>(static_cast<float>(2 / static_cast<double>(m.DomainAspectRatio) * 500)) /
                      m.DomainHeight;
    const ArcShape arc = halfEllipseArc(xs * m.FinRootChord / 2, yb * m.FinSpan, cp.SurfaceProfile->width() / 500.0,
                                        cp.SurfaceProfile->height() / 500.0);
    int arcs = 0;
    for (const auto& c : cp.SurfaceProfile->calls())
        if (c.kind == Kind::Arc) {
            ++arcs;
            EXPECT_NEAR(c.coords[0], xs * (m.FinRootLeadingEdgeX + m.FinRootChord / 2), 1e-9);
            EXPECT_NEAR(c.coords[1], yb * m.FinRootLeadingEdgeY, 1e-9);
            EXPECT_NEAR(c.coords[2], arc.radius, 1e-9);
            EXPECT_NEAR(c.coords[5], arc.aspect, 1e-9);
            EXPECT_EQ(c.colour, PictureBox::qbColor(9));
        }
    EXPECT_EQ(arcs, 1);
}

TEST(ForceWindow, PrintsToPdfWithItsPictures)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    QTemporaryDir dir;
    const QString file = dir.filePath("force.pdf");
    testing::printTo(file);
    cp.mnuPrintPage->trigger();
    testing::printTo({});
    setPrinterProvider({});
    EXPECT_GT(QFile(file).size(), 1000);
    for (PictureBox* p : {cp.SurfaceProfile, cp.LEGEND1, cp.LEGEND2}) EXPECT_TRUE(p->hasPersistentPicture());
    EXPECT_TRUE(h.messages().empty()) << testing::said(h.messages()).join('\n').toStdString();
}

TEST(ForceWindow, CoefficientsMenuSolvesAndShows)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    QTest::mouseClick(cp.Command1, Qt::LeftButton);
    s.mnuCoefficients->trigger();
    EXPECT_EQ(Harness::timesShown("PressureCenter"), 1);
    EXPECT_EQ(cp.StatusBar1->panel(1), "Analysis complete.");
    EXPECT_NE(cp.XCPTOTALS->text(), "");
    EXPECT_FALSE(testing::blank(cp.SurfaceProfile));
    EXPECT_EQ(cp.windowTitle(), "Rocket Force Distribution");
}

} // namespace
} // namespace velmora
