#include "geometry/ShapeRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/Vocabulary.h"
#include "solve/SolveChain.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

// Each shape bound, and the Reynolds number's length (nose cone to transition), at its edge: a value just inside is
// computed on, one just outside refused by its rule. The rocket: nose 3 x 1, tube 12 (length 15), fins root 3, tip
// 1.5, span 2 at 12, lug 1 x .2 x .15. (Fins flush with the base in each unit system: the hobby-rocket solve test.)
TEST(ShapeRules, EachBoundHoldsAtItsEdge)
{
    using M = Module1;
    using Set = std::function<void(M&, double)>;
    const auto size = [](double M::*v) -> Set { return [v](M& m, double x) { m.*v = x; }; };
    const auto single = [](float M::*v) -> Set { return [v](M& m, double x) { m.*v = static_cast<float>(x); }; };
    const struct { Set set; double inside, outside; std::string rule; } rows[] = {
        {size(&M::NoseConeLength), 88, 88.001, "Body length"},    // 100 diameters
        {size(&M::NoseConeDiameter), 30, 30.001, "Body length"},  // half a diameter
        {[](M& m, double x) { m.TransitionLength = 1, m.TransitionDiameter = x; }, 3, 3.001, "Transition diameter"},
        {[](M& m, double x) { m.ActiveBodyGeometry = FreeFormBody, m.FreeFormPointCount = 2, m.FreeFormBaseRadius = .5f;
                              m.FreeFormBodyRadius(1) = 0.5, m.FreeFormBodyRadius(2) = x; },
         1.5, 1.5001, "Free-Form body radius"},
        {[](M& m, double x) { m.LaunchLugOuterDiameter = 0.25, m.LaunchLugInnerDiameter = static_cast<float>(x); },
         0.2499, 0.25, "Launch lug inside diameter"},
        {size(&M::LaunchLugOuterDiameter), 1, 1.001, "Launch lug outside diameter"},
        {size(&M::LaunchLugLength), 15, 15.001, "Launch lug length"},
        {size(&M::FinThickness), 0.75, 0.7501, "Fin thickness"}, {size(&M::FinSpan), 5, 5.001, "Fin span"},
        {single(&M::FinTipChord), 6, 6.001, "Fin tip chord"},
        {single(&M::FinRootDistance), 12, 12.001, "Fin root distance plus"},  // the root flush with the base
        // The tip may trail behind the base, up to a body length.
        {size(&M::FinTipDistance), 30, 30.001, "Fin tip distance must be at most 2 times the body length"},
        {[](M& m, double x) { m.FinPlanformCode = RectanglePlanform, m.FinTipDistance = x; }, 12, 12.001,
         "Fin tip distance plus"},
        {[](M& m, double x) { m.FinPlanformCode = TrianglePlanform, m.FinTipDistance = x; }, 15, 15.001,
         "Fin tip distance must be at most the body length"},
        // Over nose, tube and transition (16), not the base tube behind them; within rounding of the bound is on it.
        {[](M& m, double x) { m.TransitionLength = 1, m.TransitionDiameter = 0.8, m.BaseTubeLength = 20,
                              m.FreeStreamVelocity = x * 1e4 * m.DynamicViscosity / (m.AmbientDensity * 16); },
         1 - 1e-9, 1 - 1e-5, "Reynolds number"},
    };
    for (const auto& row : rows)
        for (bool inside : {true, false}) {
            auto m = testing::rocketWithFins();
            m->LaunchLugLength = 1, m->LaunchLugOuterDiameter = 0.2, m->LaunchLugInnerDiameter = 0.15f;
            row.set(*m, inside ? row.inside : row.outside);
            const std::string why = solveInputRefusal(*m);
            EXPECT_EQ(why.substr(0, row.rule.size()), inside ? "" : row.rule) << why;
        }
}

} // namespace
} // namespace velmora
