#include "model/SweepSteps.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace velmora {
namespace {

// A count stands for its whole part up to the length of the sweep arrays; a started sweep runs at least one step and
// nothing is shown beyond what the last sweep stored.
TEST(SweepSteps, WholeStepsRunAndShown)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, int, int> cases[] = {  // count, whole steps, steps run
        {nan, 0, 1}, {inf, 0, 1}, {-inf, 0, 1}, {-5, 0, 1}, {0, 0, 1}, {0.99, 0, 1},
        {1, 1, 1},   {3.5, 3, 3}, {360.9, 360, 360},     {361, 360, 360}, {1e300, 360, 360},
    };
    for (const auto& [count, whole, run] : cases)
        EXPECT_EQ(std::tuple(sweepWholeSteps(count), sweepStepsRun(count)), std::tuple(whole, run)) << count;

    auto m = makeModule1();
    m->SweepStepsStored = 5;
    EXPECT_EQ(std::tuple(sweepStepsShown(*m, 3.5), sweepStepsShown(*m, 10), sweepStepsShown(*m, 0.5)),
              std::tuple(3, 5, 0));
    m->SweepStepsStored = -2;  // nothing stored is no step, never a negative count
    EXPECT_EQ(sweepStepsShown(*m, 10), 0);
}

} // namespace
} // namespace velmora
