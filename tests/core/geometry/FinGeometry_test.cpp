#include <gtest/gtest.h>

#include <cfloat>

#include "model/Module1.h"
#include "geometry/FinGeometry.h"

namespace velmora {
namespace {

// A fin with the typed values the derivation must replace, derived.
std::unique_ptr<Module1> derivedFin(int16_t planform, double tipDistance, double rootChord)
{
    auto m = makeModule1();
    m->FinPlanformCode = planform;
    m->FinTipDistance = tipDistance;
    m->FinRootChord = rootChord;
    m->FinRootDistance = 7.0f;
    m->FinTipChord = 2.0f;
    deriveFinPlanform(*m);
    return m;
}

TEST(FinPlanform, DerivedValuesInSinglePrecisionAndTheMeanChord)
{
    auto tri = derivedFin(kFinTriangle, 10.1, 4);
    EXPECT_EQ(static_cast<double>(tri->FinRootDistance), 6.099999904632568);
    EXPECT_EQ(tri->FinTipChord, 0.0f);

    for (int16_t code : {kFinRectangle, kFinElliptical}) {
        auto m = derivedFin(code, 10.1, 4.3);
        EXPECT_EQ(static_cast<double>(m->FinRootDistance), 10.100000381469727) << code;
        EXPECT_EQ(static_cast<double>(m->FinTipChord), 4.300000190734863) << code;
    }

    // A derived value beyond the single range keeps out of range, like a typed one, and is refused by name.
    auto far = derivedFin(kFinRectangle, 1e39, 4);
    EXPECT_EQ(far->FinRootDistance, FLT_MAX);
    far->FinTipDistance = 1;
    EXPECT_STREQ(badFinDimension(*far), "Fin root distance must be 0 or between 0.000001 and 1000000.");

    // Tapered and unknown planforms keep the typed values.
    for (int16_t code : {kFinTapered, int16_t{0}, int16_t{7}}) {
        auto m = derivedFin(code, 10.1, 4);
        EXPECT_EQ(std::tuple(m->FinRootDistance, m->FinTipChord), std::tuple(7.0f, 2.0f)) << code;
        EXPECT_FALSE(finPlanformDerivesValues(code));
    }

    // The mean chord of a root of 4 and a tip of 2 by planform; none without one.
    auto m = derivedFin(0, 0, 4);
    const std::pair<int16_t, double> means[] = {{1, 2.0}, {2, 4.0}, {3, 3.0}, {4, 0.785 * 4}, {0, 0}};
    for (auto [code, mean] : means) {
        m->FinPlanformCode = code;
        EXPECT_EQ(finMeanChord(*m).has_value(), code != 0) << code;
        EXPECT_DOUBLE_EQ(finMeanChord(*m).value_or(0), mean) << code;
    }
}

} // namespace
} // namespace velmora
