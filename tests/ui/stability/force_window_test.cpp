#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "geometry/ui/FinAnalysis.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

void solve(SOLVER& s) { QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton); }

// The finned rocket typed in, and the force window.
class ForceWindow : public ::testing::Test {
protected:
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    PressureCenter& cp = h.forms->get<PressureCenter>();
};

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
// lies between the body's and the fins', and the curves are drawn.
TEST(ForceWindowSolve, SolveOfAFinnedRocketAtTwoAnglesOnEightAndTwelveMeridians)
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
            slope[k++] = num(cp.CNBODYS);
            const double xb = num(cp.XCPBODYS), xf = num(cp.XCPFINS), xcp = num(cp.XCPTOTALS);
            EXPECT_GT(xcp, xb);
            EXPECT_LT(xcp, xf);
            EXPECT_EQ(cp.XLRATIOS->text(), s.XLRATIOS->text());
            EXPECT_EQ(cp.CNFORCES->text(), s.CNFORCES->text());
            // One segment per station pair of each curve, drawn before showing.
            const int n = h.state->BodyStationCount;
            EXPECT_EQ(linesIn(cp.SurfaceProfile, 1), n - 2);
            EXPECT_EQ(linesIn(cp.SurfaceProfile, 4), n - 2);
            EXPECT_GT(linesIn(cp.SurfaceProfile, 9), 3);  // fin outline and root marks
        }
        EXPECT_NEAR(slope[0], slope[1], 0.05 * slope[1]);
        EXPECT_GT(slope[1], 0);
    }
}

TEST_F(ForceWindow, ZeroAngleGivesNoCoefficientsAndAsksForFins)
{
    solve(s);  // at 4 degrees first: CN and Cm shown
    Harness::type(s.ROCKETAOA, "0");
    solve(s);
    EXPECT_EQ(cp.XLRATIOS->text(), ".");
    for (TextBox* b : {cp.CNFORCES, cp.CMFORCES, s.CNFORCES, s.CMFORCES})
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(cp.StatusBar1->panel(2), "Please perform fin panel analysis with AOA greater than zero.");
}

TEST_F(ForceWindow, WithSourcePanelsTheRocketCentreIsTheBodys)
{
    h.state->PanelMethodChoice = PanelMethod::Source;
    solve(s);
    ASSERT_EQ(cp.StatusBar1->panel(1), "Analysis complete.");
    EXPECT_EQ(cp.XCPTOTALS->text(), cp.XCPBODYS->text());
}

// Display recomputes the boxes, with a short Cd; on a stale flow it writes
// panel 1 and nothing else.
TEST_F(ForceWindow, DisplayRecomputesButNotOnAStaleFlow)
{
    solve(s);
    const QString xcp = cp.XCPTOTALS->text();
    cp.XCPTOTALS->clear();
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(cp.XCPTOTALS->text(), xcp);
    EXPECT_EQ(cp.CXFORCES->text(), qFormat(h.state->TotalDragCoefficient, "##.###"));

    Harness::type(s.Velocity, "310");
    cp.StatusBar1->setPanel(2, "kept");
    cp.MAX->setText("kept");
    QStringList before, after;
    for (QLineEdit* b : cp.findChildren<QLineEdit*>()) before << b->text();
    cp.SurfaceProfile->setRecording(true);
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(testing::panels(cp.StatusBar1), "Please perform CFD analysis. | kept");
    for (QLineEdit* b : cp.findChildren<QLineEdit*>()) after << b->text();
    EXPECT_EQ(after, before);
    EXPECT_TRUE(cp.SurfaceProfile->calls().empty());
}

// Shown: both curves, the body outline and the fin in their colours, every
// box's text fits its box; the units follow the unit system; Clear empties
// the boxes in order and keeps the legend.
TEST_F(ForceWindow, ShownPlotUnitsAndClear)
{
    Harness::pick(s.CFDUNITS, "m-nt-sec");
    solve(s);
    cp.show();
    QApplication::processEvents();
    for (int colour : {1, 4, 9, 0})
        EXPECT_GT(pixelsOf(cp.SurfaceProfile, colour), 20) << colour;
    for (QLineEdit* b : cp.findChildren<QLineEdit*>())
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->contentsRect().width())
            << b->objectName().toStdString();
    EXPECT_EQ(cp.UnitsLabel2->text(), "M");
    EXPECT_EQ(cp.UnitsLabel8->text(), "NT");

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

    // The coefficients menu solves and shows again.
    s.mnuCoefficients->trigger();
    EXPECT_EQ(Harness::timesShown("PressureCenter"), 1);
    EXPECT_FALSE(testing::blank(cp.SurfaceProfile));
}

// The elliptical fin is drawn as one arc in the fin colour.
TEST_F(ForceWindow, EllipticalFinIsOneArc)
{
    h.forms->get<FinAnalysis>().FinShapes[3]->click();
    cp.SurfaceProfile->setRecording(true);
    solve(s);
    int arcs = 0;
    for (const auto& c : cp.SurfaceProfile->calls())
        arcs += c.kind == Kind::Arc && c.colour == PictureBox::qbColor(9);
    EXPECT_EQ(arcs, 1);
}

TEST_F(ForceWindow, PrintsToPdfWithItsPictures)
{
    solve(s);
    QTemporaryDir dir;
    const QString file = dir.filePath("force.pdf");
    testing::printTo(file);
    cp.mnuPrintPage->trigger();
    setPrinterProvider({});
    EXPECT_GT(QFile(file).size(), 1000);
    for (PictureBox* p : {cp.SurfaceProfile, cp.LEGEND1, cp.LEGEND2})
        EXPECT_TRUE(p->hasPersistentPicture());
    EXPECT_TRUE(h.messages().empty()) << testing::said(h.messages()).join('\n').toStdString();
}

} // namespace
} // namespace velmora
