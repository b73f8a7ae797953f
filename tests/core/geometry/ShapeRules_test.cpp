#include "geometry/ShapeRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/Units.h"
#include "model/Vocabulary.h"
#include "solve/SolveChain.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

// Each shape bound, and the Reynolds number's length (nose cone to transition), at its edge: a value just inside is
// computed on, one just outside refused by its rule. The rocket: nose 3 x 1, tube 12 (length 15), tapered fins
// root 3, tip 1.5, span 2 at 12, lug 1 x .2 x .15.
TEST(ShapeRules, EachBoundHoldsAtItsEdge)
{
    using M = Module1;
    using Set = std::function<void(M&, double)>;
    const auto size = [](double M::*v) -> Set { return [v](M& m, double x) { m.*v = x; }; };
    const auto single = [](float M::*v) -> Set { return [v](M& m, double x) { m.*v = static_cast<float>(x); }; };
    const struct { Set set; double inside, outside; std::string rule; } rows[] = {
        {size(&M::NoseConeLength), 88, 88.001, "Body length"},   // 100 diameters
        {size(&M::NoseConeDiameter), 30, 30.001, "Body length"},  // half a diameter
        {[](M& m, double x) { m.TransitionLength = 1, m.TransitionDiameter = x; }, 3, 3.001, "Transition diameter"},
        {[](M& m, double x) {
             m.ActiveBodyGeometry = FreeFormBody, m.FreeFormPointCount = 2, m.FreeFormBaseRadius = 0.5f;
             m.FreeFormBodyRadius(1) = 0.5, m.FreeFormBodyRadius(2) = x;
         },
         1.5, 1.5001, "Free-Form body radius"},
        {[](M& m, double x) { m.LaunchLugOuterDiameter = 0.25, m.LaunchLugInnerDiameter = static_cast<float>(x); },
         0.2499, 0.25, "Launch lug inside diameter"},
        {size(&M::LaunchLugOuterDiameter), 1, 1.001, "Launch lug outside diameter"},
        {size(&M::LaunchLugLength), 15, 15.001, "Launch lug length"},
        {size(&M::FinThickness), 0.75, 0.7501, "Fin thickness"},
        {size(&M::FinSpan), 5, 5.001, "Fin span"},
        {single(&M::FinTipChord), 6, 6.001, "Fin tip chord"},
        {single(&M::FinRootDistance), 12, 12.001, "Fin root distance plus"},  // the root flush with the base
        // The tip may trail behind the base, up to a body length.
        {size(&M::FinTipDistance), 30, 30.001, "Fin tip distance must be at most 2 times the body length"},
        {[](M& m, double x) { m.FinPlanformCode = RectanglePlanform, m.FinTipDistance = x; }, 12, 12.001,
         "Fin tip distance plus"},
        {[](M& m, double x) { m.FinPlanformCode = TrianglePlanform, m.FinTipDistance = x; }, 15, 15.001,
         "Fin tip distance must be at most the body length"},
        // Over nose, tube and transition, not the base tube behind them.
        {[](M& m, double x) {
             m.TransitionLength = 1, m.TransitionDiameter = 0.8, m.BaseTubeLength = 20;
             m.FreeStreamVelocity = x * 10000 * m.DynamicViscosity / (m.AmbientDensity * 16);
         },
         1 - 1e-9, 1 - 1e-5, "Reynolds number"},  // within rounding of the bound is on it
    };
    for (const auto& row : rows) {
        for (bool inside : {true, false}) {
            auto m = testing::rocketWithFins();
            m->LaunchLugLength = 1, m->LaunchLugOuterDiameter = 0.2, m->LaunchLugInnerDiameter = 0.15f;
            row.set(*m, inside ? row.inside : row.outside);
            const std::string why = solveInputRefusal(*m);
            EXPECT_EQ(why.empty() ? "" : why.substr(0, row.rule.size()), inside ? "" : row.rule)
                << row.rule << (inside ? " inside: " : " outside: ") << why;
        }
    }

    // Fins flush with the base (nose 2 in, tube 12.1 in, root chord 1.75 in), typed in each unit system: their root
    // distance, kept in single precision, lies just behind the base, which the bound's slack takes.
    const struct { double nose, tube, root, rootDistance, diameter; } flush[] = {
        {0.16667, 1.00833, 0.14583, 1.02917, 0.08333}, {2, 12.1, 1.75, 12.35, 1},
        {0.0508, 0.30734, 0.04445, 0.31369, 0.0254}};
    for (std::size_t u = 0; u < UnitSystemTable.size(); ++u) {
        const UnitSystem& units = UnitSystemTable[u];
        const auto& f = flush[u];
        auto m = testing::hobbyRocket(testing::kHobbyRockets[0], units, 0);
        m->NoseConeLength = f.nose, m->BodyTubeLength = f.tube, m->NoseConeDiameter = f.diameter;
        m->FinRootChord = f.root, m->FinRootDistance = static_cast<float>(f.rootDistance);
        m->FinTipDistance = f.rootDistance + f.root / 2;
        ASSERT_GT(m->FinRootDistance + f.root, f.nose + f.tube) << units.code;  // stored past the base
        EXPECT_EQ(solveInputRefusal(*m), "") << units.code;
    }
}

} // namespace
} // namespace velmora
