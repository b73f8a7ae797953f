// Odd entries typed into the body, fin and flight boxes, followed by the
// commands that use them: nothing may crash, and no result box may ever show
// a number that is not finite.
#include <gtest/gtest.h>

#include <cmath>

#include "app/ui/SOLVER.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

using testing::Harness;

bool showsNonFinite(const QString& t)
{
    return t.contains("nan", Qt::CaseInsensitive) || t.contains("inf", Qt::CaseInsensitive);
}

TEST(BadInput, OddEntriesNeverCrashOrShowNonFiniteResults)
{
    const char* entries[] = {"", "abc", "-3", "1e999", "1e-300", "nan", "1e6"};
    for (const char* odd : entries) {
        for (int field = 0; field < 5; ++field) {
            SCOPED_TRACE(std::string(odd) + " in field " + std::to_string(field));
            Harness h;
            SOLVER& s = h.start();
            BODYTUBE& body = h.forms->get<BODYTUBE>();
            FinAnalysis& fins = h.forms->get<FinAnalysis>();
            s.resize(900, 700);
            s.show();
            const char* values[5] = {"3", "1", "12", "300", "4"};
            values[field] = odd;
            Harness::type(body.NoseLength, values[0]);
            Harness::type(body.BodyDiameter, values[1]);
            Harness::type(body.BodyLength, values[2]);
            Harness::type(s.Velocity, values[3]);
            Harness::type(s.ROCKETAOA, values[4]);
            Harness::type(fins.DTip, "12");
            Harness::type(fins.DRoot, "11");
            Harness::type(fins.RootChord, "3");
            Harness::type(fins.TipChord, "1.5");
            Harness::type(fins.SpanLength, "2");
            Harness::type(fins.FINTHK, "0.1");
            s.MESHER_Click();
            s.CFDSOLVER_Click();
            double v = h.state->FreeStreamVelocity;
            h.forms->get<PlotResults>().Mesh(v);
            for (TextBox* b : {s.MachNumber, s.ReNumber, s.FORCE, s.TotalCd, s.CdMax, s.PressureCd, s.BaseCd,
                               s.FinInterferenceDrag, s.LaunchLugDrag, s.FinSurfaceDrag})
                EXPECT_FALSE(showsNonFinite(b->text())) << b->objectName().toStdString() << " "
                                                        << b->text().toStdString();
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
