#include "bodyflow/BodyFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "platform/Simd.h"
#include "tests/core/bodyflow/BodyFlowBits.h"

namespace velmora {
namespace {

using testing::atLevel;
using testing::rocket;
using testing::sameBits;

NullProgress quiet;

// A closed prolate spheroid of length 2 and slenderness ratio on equally spaced stations.
std::vector<BodyStation> spheroid(double ratio, int stations)
{
    std::vector<BodyStation> st;
    for (int k = 0; k < stations; ++k) {
        const double t = 2.0 * k / (stations - 1) - 1.0;
        st.push_back({t + 1.0, std::sqrt(std::max(0.0, 1.0 - t * t)) / ratio});
    }
    return st;
}

// Potential flow along a prolate spheroid: the equator speed is 2 / (2 - alpha0).
double exactEquatorCp(double ratio)
{
    const double e = std::sqrt(1.0 - 1.0 / (ratio * ratio));
    const double a0 = 2.0 * (1.0 - e * e) / (e * e * e) * (0.5 * std::log((1.0 + e) / (1.0 - e)) - e);
    const double u = 2.0 / (2.0 - a0);
    return 1.0 - u * u;
}

BodyFlowSolution solveStations(const std::vector<BodyStation>& st, int meridians, FlowCondition flow,
                               const FieldPoints& field = {})
{
    auto m = makeModule1();
    BodyFlowSolution s;
    EXPECT_EQ(solveBodyFlow(st, meridians, flow, field, *m, quiet, s), Outcome::Done);
    return s;
}

TEST(BodyFlowTest, SpheroidMatchesPotentialTheory)
{
    EXPECT_NEAR(exactEquatorCp(5), -0.1217, 5e-5);
    EXPECT_NEAR(exactEquatorCp(10), -0.0418, 5e-5);
    for (double ratio : {5.0, 10.0}) {
        const BodyFlowSolution s = solveStations(spheroid(ratio, 48), 12, {100, 0, 0, 0, 0.002378});
        for (int j = 1; j <= 12; ++j)  // the 24th of 47 intervals straddles the equator
            EXPECT_NEAR(s.surfaceCp[23 * 12 + j], exactEquatorCp(ratio), 0.01) << ratio << " meridian " << j;
        // Symmetric fore and aft and closed: the sources cancel.
        double sum = 0, magnitude = 0;
        for (int i = 1; i <= s.geometry.panels; ++i) sum += s.source[i], magnitude += std::fabs(s.source[i]);
        EXPECT_LT(std::fabs(sum), 1e-10 * magnitude);
    }
}

TEST(BodyFlowTest, SymmetriesAndSimilarity)
{
    // The angle lies in the x-z plane: the mirror y -> -y maps the panel from
    // meridian j onto the one from meridian M/2 + 1 - j.
    const auto st = spheroid(8, 30);
    for (int meridians : {8, 10}) {
        const BodyFlowSolution s = solveStations(st, meridians, {100, 8, 0, 0, 0.002378});
        for (int i = 0; i < 29 * meridians; ++i) {
            const int k = i / meridians, j = i % meridians + 1;
            const int mirror = (meridians / 2 + 1 - j + meridians - 1) % meridians + 1;
            EXPECT_NEAR(s.surfaceCp[i + 1], s.surfaceCp[k * meridians + mirror], 2e-6) << meridians << " " << i;
        }
        const int k = 5 * meridians;  // windward and leeward differ
        EXPECT_GT(std::fabs(s.surfaceCp[k + meridians / 4 + 1] - s.surfaceCp[k + 3 * meridians / 4 + 1]), 1e-3);
    }

    // Cp depends on neither velocity nor density; the sources scale with V.
    const BodyFlowSolution a = solveStations(st, 10, {100, 5, 0, 0, 0.002378});
    const BodyFlowSolution b = solveStations(st, 10, {731, 5, 0, 0, 1.225});
    for (int i = 1; i <= a.geometry.panels; ++i) {
        // Tangent flow at every centroid (nz is single).
        const PanelGeometry& g = a.geometry;
        EXPECT_NEAR(a.surfaceU[i] * g.nx[i] + a.surfaceV[i] * g.ny[i] + a.surfaceW[i] * g.nz[i], 0.0, 1e-5);
        EXPECT_NEAR(a.surfaceCp[i], b.surfaceCp[i], 1e-6);
        EXPECT_NEAR(b.source[i], a.source[i] * 7.31, 1e-9 * std::fabs(b.source[i]) + 1e-15);
    }
}

TEST(SimdPaths, BodyFlowGivesTheSameBitsOnBothPaths)
{
    if (simdAvailable() < SimdLevel::Avx2) GTEST_SKIP() << "no AVX2 on this processor";
    for (const auto& [mesh, meridians, flow] : {std::tuple{20.0, 8, FlowCondition{300, 4, 0.27f, 0, 0.002378}},
                                                std::tuple{13.0, 5, FlowCondition{150, -7, 0.5f, 1, 0.0023}},
                                                std::tuple{50.0, 12, FlowCondition{300, 4, 0.27f, 0, 0.002378}}}) {
        auto m = rocket(mesh, meridians);
        const auto stations = bodyStationsFromGrid(*m);
        const FieldPoints field = fieldPointsFromMesh(*m);
        auto solve = [&] {
            BodyFlowSolution s;
            EXPECT_EQ(solveBodyFlow(stations, meridians, flow, field, *m, quiet, s), Outcome::Done);
            return s;
        };
        const BodyFlowSolution a = atLevel(SimdLevel::Sse2, solve);
        const BodyFlowSolution b = atLevel(SimdLevel::Avx2, solve);
        const std::string at = "mesh " + std::to_string(mesh) + "/" + std::to_string(meridians);
        using S = BodyFlowSolution;
        for (auto d : {&S::source, &S::surfaceU, &S::surfaceV, &S::surfaceW, &S::fieldAxial, &S::fieldSpeed})
            EXPECT_TRUE(sameBits(a.*d, b.*d)) << at;
        for (auto f : {&S::surfaceCp, &S::fieldRadial, &S::fieldPressure}) EXPECT_TRUE(sameBits(a.*f, b.*f)) << at;
        // Every lane count of the vector forms: 1..11 field points at a time.
        for (int count = 1; count <= 11; ++count) {
            auto sum = [&] {
                std::vector<double> u(static_cast<std::size_t>(count)), v(u), w(u);
                sourceVelocities(a.geometry, a.source, field, 5, 4 + count, u.data(), v.data(), w.data());
                u.insert(u.end(), v.begin(), v.end());
                u.insert(u.end(), w.begin(), w.end());
                return u;
            };
            EXPECT_TRUE(sameBits(atLevel(SimdLevel::Sse2, sum), atLevel(SimdLevel::Avx2, sum))) << at << " " << count;
        }
    }
}

// A sweep's kept denominators: an ABORT while the field sums write them leaves them incomplete, and the next solve
// handed them gives the bits of a solve that forms its own, as one that reads complete ones back does.
TEST(BodyFlowTest, KeptDenominatorsAbortedWhileWrittenAreWrittenAgain)
{
    if (simdAvailable() < SimdLevel::Avx2) GTEST_SKIP() << "kept only where the AVX2 sums run";
    auto m = rocket(20.0, 8);
    const auto stations = bodyStationsFromGrid(*m);
    const FieldPoints field = fieldPointsFromMesh(*m);
    auto solve = [&](FieldSumDenominators* kept, Progress& progress, Outcome expected) {
        BodyFlowSolution s;
        EXPECT_EQ(solveBodyFlow(stations, 8, {300, 4, 0.27f, 0, 0.002378}, field, *m, progress, s, kept), expected);
        return s;
    };
    const BodyFlowSolution formed = solve(nullptr, quiet, Outcome::Done);
    FieldSumDenominators written, aborted;
    testing::ScriptedProgress counting, aborting;
    counting.onPump = [](int) {};
    solve(&written, counting, Outcome::Done);
    // The last pump follows the last block of 64 field points; the one before it comes within the field sums.
    ASSERT_GT(field.count(), 128);
    aborting.onPump = [&](int n) { if (n == counting.pumps - 1) m->AbortRequest = "YES"; };
    m->AbortRequest = "NO";
    solve(&aborted, aborting, Outcome::Aborted);
    m->AbortRequest = "NO";
    EXPECT_TRUE(written.complete() && !aborted.complete());
    using S = BodyFlowSolution;
    for (FieldSumDenominators* kept : {&aborted, &written}) {
        const BodyFlowSolution s = solve(kept, quiet, Outcome::Done);
        for (auto d : {&S::source, &S::surfaceU, &S::surfaceW, &S::fieldAxial, &S::fieldSpeed})
            EXPECT_TRUE(sameBits(s.*d, formed.*d)) << (kept == &written);
        for (auto f : {&S::surfaceCp, &S::fieldRadial, &S::fieldPressure})
            EXPECT_TRUE(sameBits(s.*f, formed.*f)) << (kept == &written);
    }
    EXPECT_TRUE(aborted.complete());
}

} // namespace
} // namespace velmora
