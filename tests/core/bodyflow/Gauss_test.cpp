// The body-flow elimination gives the bits of the textbook one, and the AVX2
// and SSE2 forms of the body-flow kernels give the same bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Gauss.h"
#include "bodyflow/Grid.h"
#include "finpanel/PanelSolvers.h"
#include "platform/Format.h"
#include "platform/Simd.h"
#include "sweep/Sweep.h"
#include "tests/core/Rockets.h"
#include "tests/core/bodyflow/BodyFlowBits.h"

namespace velmora {
namespace {

using testing::atLevel;
using testing::rocket;
using testing::sameBits;

NullProgress quiet;

// The textbook elimination, row by row: the solver must reproduce it exactly.
std::vector<double> plainElimination(AugmentedMatrix a, int n)
{
    for (int k = 1; k <= n - 1; ++k) {
        const double p = a(k, k);
        for (int j = k; j <= n + 1; ++j) a(k, j) = a(k, j) / p;
        for (int i = k + 1; i <= n; ++i) {
            const double f = a(i, k);
            for (int j = k; j <= n + 1; ++j) a(i, j) = a(i, j) - a(k, j) * f;
        }
    }
    std::vector<double> x(static_cast<std::size_t>(n) + 1);
    x[n] = a(n, n + 1) / a(n, n);
    for (int k = n - 1; k >= 1; --k) {
        x[k] = a(k, n + 1);
        for (int j = k + 1; j <= n; ++j) x[k] = x[k] - a(k, j) * x[j];
    }
    return x;
}

// Matrix after elimination and solution, as one vector.
std::vector<double> eliminate(AugmentedMatrix a, Outcome expected)
{
    const int n = a.size();
    auto m = makeModule1();
    std::vector<double> x(static_cast<std::size_t>(n) + 1, 0.0);
    EXPECT_EQ(GAUSS(x, a, n, *m, quiet), expected) << n;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n + 1; ++j) x.push_back(a(i, j));
    return x;
}

AugmentedMatrix randomSystem(int n, unsigned seed, double diagonal)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    AugmentedMatrix a(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) a(i, j) = u(gen);
        a(i, i) += diagonal * n;  // solvable without row exchange
    }
    return a;
}

AugmentedMatrix panelSystem(double mesh, int meridians)
{
    auto m = rocket(mesh, meridians);
    AugmentedMatrix a;
    buildPanelSystem(buildPanels(bodyStationsFromGrid(*m), meridians), {300, 4, 0, 0, 0.002378}, a);
    return a;
}

// ABORT pressed while row 5 of a 40-row system lets events run: the elimination stops there with X as it was.
void expectAbortAtRow5(Module1& m, const AugmentedMatrix& a, GaussFactors* keep = nullptr)
{
    std::vector<double> x(41, -7.0);
    AugmentedMatrix b = a;
    testing::ScriptedProgress aborting;
    aborting.onPump = [&](int n) { if (n == 5) m.AbortRequest = "YES"; };
    m.AbortRequest = "NO";
    const Outcome o = GAUSS(x, b, 40, m, aborting, keep);
    EXPECT_EQ(std::tuple(o, aborting.pumps, x), std::tuple(Outcome::Aborted, 5, std::vector<double>(41, -7.0)));
}

TEST(GaussTest, FailureAndAbortKeepX)
{
    auto m = makeModule1();
    std::vector<double> x(41, -7.0);
    // A zero pivot, one that cancels to rounding noise, a right-hand side that is not a number.
    for (const auto& v : {std::vector<double>{0, 1, 1, 1, 1, 2}, std::vector<double>{0.1, 0.3, 1, 0.3, 0.9, 2},
                          std::vector<double>{1, 0, 0, 0, 1, std::nan("")}}) {
        AugmentedMatrix a(2);
        for (int k = 0; k < 6; ++k) a(k / 3 + 1, k % 3 + 1) = v[k];
        EXPECT_EQ(GAUSS(x, a, 2, *m, quiet), Outcome::Failed) << v[0];
    }
    EXPECT_EQ(x, std::vector<double>(41, -7.0));
    expectAbortAtRow5(*m, randomSystem(40, 8, 0.25));
}

// Both vector forms give the solution of the row-by-row elimination bit for bit, and the same eliminated matrix.
TEST(GaussTest, BothPathsGiveTheBitsOfTheRowByRowElimination)
{
    AugmentedMatrix withNaN = randomSystem(30, 4, 0.25);
    withNaN(7, 3) = std::nan("");
    const std::tuple<const char*, AugmentedMatrix, Outcome> references[] = {
        {"one", randomSystem(1, 1, 1), Outcome::Done},
        {"two", randomSystem(2, 2, 0.25), Outcome::Done},
        {"block minus one", randomSystem(23, 23, 0.25), Outcome::Done},
        {"block", randomSystem(24, 24, 0.25), Outcome::Done},
        {"block plus one", randomSystem(25, 25, 0.25), Outcome::Done},
        {"odd tail", randomSystem(71, 71, 0.25), Outcome::Done},
        {"weak diagonal", randomSystem(97, 9, 0.01), Outcome::Done},
        {"201", randomSystem(201, 201, 0.25), Outcome::Done},
        {"panels 10x10/3", panelSystem(10, 3), Outcome::Done},
        {"panels 20x20/8", panelSystem(20, 8), Outcome::Done},
        {"panels 50x50/12", panelSystem(50, 12), Outcome::Done},
        {"NaN entry", withNaN, Outcome::Failed},
    };
    for (const auto& [name, a, outcome] : references) {
        const auto sse2 = atLevel(SimdLevel::Sse2, [&] { return eliminate(a, outcome); });
        if (outcome == Outcome::Done) {
            const std::vector<double> ref = plainElimination(a, a.size());
            for (int i = 1; i <= a.size(); ++i) ASSERT_EQ(sse2[i], ref[i]) << name << " " << i;
        }
        for (SimdLevel level : {SimdLevel::Avx2, SimdLevel::Avx512}) {
            if (simdAvailable() < level) continue;
            EXPECT_TRUE(sameBits(sse2, atLevel(level, [&] { return eliminate(a, outcome); })))
                << name << " level " << static_cast<int>(level);
        }
    }
}

// Kept factors solve a new right-hand side with the bits of a full elimination; a matrix one bit away is
// eliminated in full; an ABORT during the replay stops it with X as it was and the factors still kept.
TEST(GaussTest, KeptFactorsGiveTheBitsOfAFullElimination)
{
    auto m = makeModule1();
    m->AbortRequest = "NO";
    for (const auto& [name, a] : {std::pair{"odd tail", randomSystem(71, 71, 0.25)},
                                  std::pair{"weak diagonal", randomSystem(97, 9, 0.01)},
                                  std::pair{"panels 20x20/8", panelSystem(20, 8)},
                                  std::pair{"panels 50x50/12", panelSystem(50, 12)}}) {
        const int n = a.size();
        GaussFactors keep;
        std::vector<double> x;
        AugmentedMatrix first = a;
        ASSERT_EQ(GAUSS(x, first, n, *m, quiet, &keep), Outcome::Done) << name;
        EXPECT_EQ(x, plainElimination(a, n)) << name;

        std::mt19937 gen(static_cast<unsigned>(n));
        std::uniform_real_distribution<double> u(-3.0, 3.0);
        for (int rhs = 0; rhs < 3; ++rhs) {
            AugmentedMatrix b = a;
            for (int i = 1; i <= n; ++i) b(i, n + 1) = rhs == 0 ? -0.0 : u(gen);
            ASSERT_TRUE(keep.matches(b, n)) << name;
            std::vector<double> replayed, full;
            AugmentedMatrix c = b;
            ASSERT_EQ(GAUSS(replayed, b, n, *m, quiet, &keep), Outcome::Done) << name;
            ASSERT_EQ(GAUSS(full, c, n, *m, quiet), Outcome::Done) << name;
            EXPECT_TRUE(sameBits(replayed, full)) << name << " " << rhs;
        }

        // One coefficient a bit away: not the kept matrix; its own solution, whose factors are kept next.
        AugmentedMatrix changed = a;
        changed(n, 1) = std::nextafter(changed(n, 1), 1e300);
        ASSERT_FALSE(keep.matches(changed, n)) << name;
        std::vector<double> own;
        AugmentedMatrix c = changed;
        ASSERT_EQ(GAUSS(own, c, n, *m, quiet, &keep), Outcome::Done) << name;
        EXPECT_EQ(own, plainElimination(changed, n)) << name;
        EXPECT_TRUE(keep.matches(changed, n) && !keep.matches(a, n)) << name;
    }

    GaussFactors keep;
    std::vector<double> x;
    const AugmentedMatrix a = randomSystem(40, 8, 0.25);
    AugmentedMatrix b = a;
    ASSERT_EQ(GAUSS(x, b, 40, *m, quiet, &keep), Outcome::Done);
    expectAbortAtRow5(*m, a, &keep);
    EXPECT_TRUE(keep.matches(a, 40));

    // An ABORT while another matrix is eliminated leaves no factors: that matrix is eliminated in full next.
    const AugmentedMatrix other = randomSystem(40, 9, 0.25);
    expectAbortAtRow5(*m, other, &keep);
    m->AbortRequest = "NO";
    EXPECT_TRUE(keep.empty());
    b = other;
    ASSERT_EQ(GAUSS(x, b, 40, *m, quiet, &keep), Outcome::Done);
    EXPECT_EQ(x, plainElimination(other, 40));
}

// A sweep replays the panel factors and reads back the denominators of its field sums (which it owns) from its
// second step on, and the fin section keeps its factors: every step's body flow, drag, fin section and forces have
// the bits of a sweep that forms everything at every step.
TEST(GaussTest, SweepWithKeptFactorsGivesEveryStepsBits)
{
    struct Host : stability::SweepHost, Progress {
        explicit Host(Module1& state) : m(state) {}
        Progress& progress() override { return *this; }
        void writeSweepValue(bool, double value) override
        {
            m.AngleOfAttack = Val(Format(value, "##.###"));
            m.FlowSolutionStatus = m.FlowSolutionStatusText = "SOLVE NEW FLOW";
        }
        void stepSolved(const SolveChainReport&) override
        {
            std::vector<double> v{m.TotalDragCoefficient, m.BodyPressureDragCoefficient, m.NormalForceCoefficient,
                                  m.PitchingMomentCoefficient, m.CenterOfPressureRatio};
            for (long i = 1; i <= (m.BodyStationCount - 1) * m.MeridianCount; ++i) v.push_back(m.BodySurfaceCp(i));
            for (long e = 1; e <= static_cast<long>(m.MeshElementCount); ++e)
                v.insert(v.end(), {m.ElementAxialVelocity(e), m.ElementRadialVelocity(e), m.ElementSpeed(e),
                                   m.ElementPressure(e)});
            v.insert(v.end(), {m.FinNormalForceSlope, m.FinCenterOfPressure});
            for (long i = 1; i <= m.PanelCount; ++i) v.insert(v.end(), {m.PanelCp(i), m.PanelSurfaceVelocity(i)});
            steps.push_back(std::move(v));
        }
        Module1& m;
        std::vector<std::vector<double>> steps;
    };
    for (int compressible : {0, 1}) {
        auto sweep = [&](bool reuse) {
            const bool before = setPanelFactorReuse(reuse);
            const bool sectionBefore = finpanel::setSectionFactorReuse(reuse);
            auto m = testing::rocketWithFins();
            m->AoaSweepSelected = 1;
            m->SweepAoaIncrement = 2.5;
            m->CompressibleFlow = static_cast<int16_t>(compressible);
            Host host(*m);
            double steps = 6;
            EXPECT_EQ(stability::LOOPER(*m, host, steps).outcome, Outcome::Done);
            setPanelFactorReuse(before);
            finpanel::setSectionFactorReuse(sectionBefore);
            return host.steps;
        };
        const auto kept = sweep(true);
        const auto eliminated = sweep(false);
        ASSERT_EQ(kept.size(), 6u);
        ASSERT_EQ(eliminated.size(), 6u);
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_TRUE(sameBits(kept[i], eliminated[i])) << "compressible " << compressible << " step " << i + 1;
        EXPECT_FALSE(sameBits(kept[0], kept[1]));
    }
}

// Kept factors and denominators serve only the panels and field points they came from: a field point a bit away,
// or a body a bit wider, gives the bits of a solve that forms everything.
TEST(GaussTest, KeptValuesFollowEveryChangeOfPanelsAndPoints)
{
    auto m = rocket(20.0, 8);
    const FlowCondition flow{300, 4, 0.27f, 0, 0.002378};
    FieldSumDenominators denominators;
    auto solve = [&](const std::vector<BodyStation>& stations, const FieldPoints& field, bool reuse) {
        const bool before = setPanelFactorReuse(reuse);
        BodyFlowSolution s;
        EXPECT_EQ(solveBodyFlow(stations, 8, flow, field, *m, quiet, s, reuse ? &denominators : nullptr),
                  Outcome::Done);
        setPanelFactorReuse(before);
        return s;
    };
    // Formed in full first (switching reuse off drops what was kept), then one after another with reuse.
    const std::vector<BodyStation> stations = bodyStationsFromGrid(*m);
    std::vector<BodyStation> wider = stations;
    wider[wider.size() / 2].radius *= 1.000001;  // beyond the single-precision station area
    const FieldPoints field = fieldPointsFromMesh(*m);
    FieldPoints moved = field;
    moved.r[7] = std::nextafter(moved.r[7], 1e30f);
    const BodyFlowSolution movedFormed = solve(stations, moved, false);
    const BodyFlowSolution widerFormed = solve(wider, moved, false);
    solve(stations, field, true);
    EXPECT_TRUE(sameBits(solve(stations, moved, true).fieldAxial, movedFormed.fieldAxial));
    const BodyFlowSolution widerKept = solve(wider, moved, true);
    EXPECT_FALSE(sameBits(widerKept.source, movedFormed.source));
    for (auto d : {&BodyFlowSolution::source, &BodyFlowSolution::surfaceU, &BodyFlowSolution::fieldAxial})
        EXPECT_TRUE(sameBits(widerKept.*d, widerFormed.*d));
}

} // namespace
} // namespace velmora
