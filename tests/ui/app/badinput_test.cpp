// Odd entries typed into the body, fin and flight boxes, followed by the
// commands that use them: nothing may crash, and no result box may ever show
// a number that is not finite.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "app/ui/SOLVER.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "geometry/ui/GeoBody.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

bool showsNonFinite(const QString& t)
{
    return t.contains("nan", Qt::CaseInsensitive) || t.contains("inf", Qt::CaseInsensitive);
}

// Odd entries, numbers beyond single precision and just inside it, in every
// box a user types into (those of the plot window after a SOLVE): a value
// stored in single precision reads as 0 when out of range, and after MESH,
// SOLVE and the plot window's mesh no box of the main, plot or
// centre-of-pressure window shows NaN or Inf.
TEST(BadInput, OddEntriesInEveryBoxNeverShowNonFiniteResults)
{
    using Box = std::function<QLineEdit*(Harness&)>;
    auto body = [](TextBox* BODYTUBE::*b) { return Box([b](Harness& h) { return h.forms->get<BODYTUBE>().*b; }); };
    auto fin = [](TextBox* FinAnalysis::*b) { return Box([b](Harness& h) { return h.forms->get<FinAnalysis>().*b; }); };
    auto plot = [](TextBox* PlotResults::*b) { return Box([b](Harness& h) { return h.forms->get<PlotResults>().*b; }); };
    const std::tuple<const char*, Box, bool> boxes[] = {
        {"Velocity", [](Harness& h) { return h.forms->get<SOLVER>().Velocity; }, false},
        {"ROCKETAOA", [](Harness& h) { return h.forms->get<SOLVER>().ROCKETAOA; }, false},
        {"NoseLength", body(&BODYTUBE::NoseLength), false},
        {"BodyDiameter", body(&BODYTUBE::BodyDiameter), false},
        {"BodyLength", body(&BODYTUBE::BodyLength), false},
        {"BaseDiameter", body(&BODYTUBE::BaseDiameter), false},
        {"BaseLength", body(&BODYTUBE::BaseLength), false},
        {"BodyLength2", body(&BODYTUBE::BodyLength2), false},
        {"RootChord", fin(&FinAnalysis::RootChord), false},
        {"TipChord", fin(&FinAnalysis::TipChord), false},
        {"SpanLength", fin(&FinAnalysis::SpanLength), false},
        {"DRoot", fin(&FinAnalysis::DRoot), false},
        {"DTip", fin(&FinAnalysis::DTip), false},
        {"FINTHK", fin(&FinAnalysis::FINTHK), false},
        {"DLUGS", fin(&FinAnalysis::DLUGS), false},
        {"ODLUGS", fin(&FinAnalysis::ODLUGS), false},
        {"IDLUGS", fin(&FinAnalysis::IDLUGS), false},
        {"NPTS", [](Harness& h) { return h.forms->get<GeoBody>().NPTS; }, false},
        {"NLEVELS", plot(&PlotResults::NLEVELS), true},
        {"NLEVELS2", plot(&PlotResults::NLEVELS2), true},
        {"Vscale", plot(&PlotResults::Vscale), true},
        {"Xlocation", plot(&PlotResults::Xlocation), true}};
    for (const char* odd : {"-3", "nan", "1e39", "-1e39", "3.5e38"}) {
        for (const auto& [name, box, afterSolve] : boxes) {
            SCOPED_TRACE(std::string(odd) + " in " + name);
            Harness h;
            SOLVER& s = testing::typeRocketWithFins(h);
            if (!afterSolve) Harness::type(box(h), odd);
            s.MESHER_Click();
            QTest::mouseClick(s.CFDSOLVER, Qt::LeftButton);
            if (afterSolve) Harness::type(box(h), odd);
            PlotResults& p = h.forms->get<PlotResults>();
            double v = h.state->FreeStreamVelocity;
            p.Mesh(v);
            PressureCenter& cp = h.forms->get<PressureCenter>();
            for (TextBox* b : {s.MachNumber, s.ReNumber, s.XLRATIOS, s.FORCE, s.TotalCd, s.CNFORCES, s.CdMax,
                               s.CMFORCES, s.PressureCd, s.FinInterferenceDrag, s.BaseCd, s.LaunchLugDrag,
                               s.FinSurfaceDrag, p.MAX, p.MIN, p.MAX1, p.MIN1, cp.XCPBODYS, cp.CNBODYS, cp.XCPFINS,
                               cp.CNFINS, cp.XCPTOTALS, cp.XLRATIOS, cp.CNFORCES, cp.CMFORCES, cp.CXFORCES,
                               cp.BODYFORCES, cp.FINFORCES, cp.FINAOAFORCES, cp.LUGFORCES})
                EXPECT_FALSE(showsNonFinite(b->text())) << b->objectName().toStdString() << " "
                                                        << b->text().toStdString();
            EXPECT_TRUE(std::isfinite(static_cast<double>(h.state->FinTipChord)));
            EXPECT_TRUE(std::isfinite(static_cast<double>(h.state->LaunchLugInnerDiameter)));
            EXPECT_TRUE(std::isfinite(static_cast<double>(h.state->FinRootDistance)));
            if (h.state->FlowSolutionStatus.empty()) {
                for (int i = 1; i <= h.state->BodyStationCount * h.state->MeridianCount && i <= 792; ++i)
                    ASSERT_TRUE(std::isfinite(h.state->BodySurfaceCp(i)));
            }
            EXPECT_FALSE(h.forms->busy().active());
        }
    }
}

} // namespace
} // namespace velmora
