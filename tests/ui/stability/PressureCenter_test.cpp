#include <QFile>
#include <QTemporaryDir>

#include "geometry/ui/FinAnalysis.h"
#include "model/Vocabulary.h"
#include "platform/Format.h"
#include "stability/CenterOfPressure.h"
#include "stability/ui/PressureCenter.h"
#include "sweep/SweepPlot.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;
using Kind = PictureBox::Kind;

void solve(SOLVER& s) { QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton); }

int callsIn(const PictureBox* p, Kind kind, int colour)
{
    int n = 0;
    for (const auto& c : p->calls()) n += c.kind == kind && c.colour == PictureBox::qbColor(colour);
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

// SOLVE fills both windows and draws before the window is shown. At zero angle no coefficient is shown; with
// source panels the rocket's centre is the body's. Clear keeps only the legend; the coefficients menu solves and
// shows again; Display recomputes the boxes, but on a stale flow only says so and draws nothing.
TEST(ForceWindow, SolveShowPrintClearAndDisplay)
{
    Harness h;
    SOLVER& s = testing::typeRocketWithFins(h);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    cp.SurfaceProfile->setRecording(true);
    solve(s);
    ASSERT_EQ(cp.StatusBar1->panel(1), "Analysis complete.");
    EXPECT_EQ(cp.XLRATIOS->text(), s.XLRATIOS->text());
    EXPECT_EQ(cp.CNFORCES->text(), s.CNFORCES->text());
    EXPECT_EQ(callsIn(cp.SurfaceProfile, Kind::Line, 1), h.state->BodyStationCount - 2);  // the core's strokes

    h.forms->get<FinAnalysis>().FinShapes[3]->click();
    cp.SurfaceProfile->clearRecording();
    solve(s);
    EXPECT_EQ(callsIn(cp.SurfaceProfile, Kind::Arc, 9), 1);

    Harness::type(s.ROCKETAOA, "0");
    solve(s);
    // Not computed at zero angle: empty, not "."; a computed zero keeps its pattern.
    for (TextBox* b : {cp.CNFORCES, cp.CMFORCES, s.CNFORCES, s.CMFORCES, cp.XLRATIOS, s.XLRATIOS, cp.XCPTOTALS,
                       cp.XCPBODYS, cp.XCPFINS, cp.CNFINS, cp.FINAOAFORCES})
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(std::pair(cp.CNBODYS->text(), cp.MODELAOA->text()), std::pair(QString(".001"), QString(".")));
    EXPECT_FALSE(cp.FINFORCES->text().isEmpty());
    EXPECT_EQ(cp.StatusBar1->panel(2), "Please perform fin panel analysis with AOA greater than zero.");

    Harness::type(s.ROCKETAOA, "4");
    h.state->PanelMethodChoice = PanelMethod::Source;
    solve(s);
    ASSERT_EQ(cp.StatusBar1->panel(1), "Analysis complete.");
    EXPECT_EQ(cp.XCPTOTALS->text(), cp.XCPBODYS->text());

    h.state->PanelMethodChoice = PanelMethod::Vortex;
    Harness::pick(s.CFDUNITS, "m-nt-sec");
    solve(s);
    cp.show();
    QApplication::processEvents();
    for (int colour : {1, 4, 9, 0})
        EXPECT_GT(pixelsOf(cp.SurfaceProfile, colour), 20) << colour;
    EXPECT_EQ(QStringList({cp.UnitsLabel2->text(), cp.UnitsLabel8->text()}), QStringList({"M", "NT"}));

    QTemporaryDir dir;
    testing::printTo(dir.filePath("force.pdf"));
    cp.mnuPrintPage->trigger();
    setPrinterProvider({});
    EXPECT_GT(QFile(dir.filePath("force.pdf")).size(), 1000);
    for (PictureBox* p : {cp.SurfaceProfile, cp.LEGEND1, cp.LEGEND2})
        EXPECT_TRUE(p->hasPersistentPicture());
    EXPECT_TRUE(h.messages().empty()) << testing::said(h.messages()).join('\n').toStdString();

    const QString xcp = cp.XCPTOTALS->text();
    QTest::mouseClick(cp.Command1, Qt::LeftButton);
    for (TextBox* b : cp.findChildren<TextBox*>())
        EXPECT_EQ(b->text(), "") << b->objectName().toStdString();
    EXPECT_EQ(testing::panels(cp.StatusBar1), " | ");
    EXPECT_EQ(std::tuple(cp.NoMeshDefined->isVisible(), testing::blank(cp.SurfaceProfile)), std::tuple(true, true));
    EXPECT_GT(pixelsOf(cp.LEGEND1, 1), 0);
    s.mnuCoefficients->trigger();  // solves and shows again
    EXPECT_EQ(Harness::timesShown("PressureCenter"), 1);
    EXPECT_FALSE(testing::blank(cp.SurfaceProfile));
    cp.XCPTOTALS->clear();
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(cp.XCPTOTALS->text(), xcp);
    EXPECT_EQ(cp.CXFORCES->text(), qFormat(h.state->TotalDragCoefficient, "##.###"));

    Harness::type(s.Velocity, "310");
    cp.StatusBar1->setPanel(2, "kept");
    cp.SurfaceProfile->clearRecording();
    QTest::mouseClick(cp.SOLVEbtn, Qt::LeftButton);
    EXPECT_EQ(testing::panels(cp.StatusBar1), "Please perform CFD analysis. | kept");
    EXPECT_TRUE(cp.SurfaceProfile->calls().empty());
}

// The finless body typed in in-lb-sec at 10 degrees: CN and Cm shown, no XCp or XCp/L in either window (it was
// 143023) nor fin drag, and the status says why; a sweep of it plots no XCp/L point and says so.
TEST(ForceWindow, FinlessBodyWhoseForcesCancelShowsNoCentre)
{
    Harness h;
    SOLVER& s = h.typeRocket("474.968");
    BODYTUBE& body = h.forms->get<BODYTUBE>();
    Harness::pick(body.NoseShape, "CONICAL");
    h.typeBody("10.3736", "3.31931", "38.309");
    for (auto [box, text] : {std::pair{body.BaseDiameter, "2.15972"}, {body.BaseLength, "1.12039"},
                             {body.BodyLength2, "10.0817"}, {s.ROCKETAOA, "10"}})
        Harness::type(box, text);
    Harness::pick(s.Compressible, "COMPRESSIBLE");
    solve(s);
    PressureCenter& cp = h.forms->get<PressureCenter>();
    QStringList empty;
    for (TextBox* b : {s.XLRATIOS, cp.XLRATIOS, cp.XCPTOTALS, cp.XCPBODYS, cp.FINFORCES}) empty << b->text();
    EXPECT_EQ(std::tuple(testing::panels(s.StatusBar1), testing::panels(cp.StatusBar1), s.CNFORCES->text().isEmpty(),
                         s.CMFORCES->text(), cp.CMFORCES->text(), empty),
              std::tuple(QString("CFD solution found.  | ") + stability::kMsgNoRocketCentre,
                         QString("Analysis complete. | ") + stability::kMsgNoRocketCentre, false, ".135", ".135",
                         QStringList(5, "")));

    QTest::mouseClick(s.IterateBtn, Qt::LeftButton);  // on the mesh of the run (the sweep helper's is coarser)
    ITERATION& w = h.forms->get<ITERATION>();
    for (auto [box, text] : {std::pair{w.AOAINITIAL, "9"}, {w.AOAINC, "1"}, {w.MAXLOOPS, "2"}}) Harness::type(box, text);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    ASSERT_EQ(w.lastSweep.outcome, Outcome::Done);
    w.DataPlot1->setRecording(true);
    w.PlotOption[3]->click();
    EXPECT_EQ(std::tuple(w.StatusBar1->panel(1), callsIn(w.DataPlot1, Kind::Line, 1)),
              std::tuple(stability::kMsgSweepPointsSkipped, 0));
}

} // namespace
} // namespace velmora
