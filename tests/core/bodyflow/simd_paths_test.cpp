// The AVX2 and SSE2 forms of the body-flow kernels give the same bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Gauss.h"
#include "bodyflow/Grid.h"
#include "model/Module1.h"
#include "platform/Simd.h"
#include "tests/core/Rockets.h"

namespace velmora {
namespace {

// Runs f at one level and puts the level of the process back afterwards.
template <class F>
auto atLevel(SimdLevel level, F&& f)
{
    const SimdLevel before = simdLevel();
    setSimdLevel(level);
    auto result = f();
    setSimdLevel(before);
    return result;
}

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

std::unique_ptr<Module1> rocket(double mesh, int meridians)
{
    auto m = testing::typicalRocket(mesh, meridians);
    m->AbortRequest = "NO";
    NullProgress np;
    GRID(*m, 300, np);
    return m;
}

void requireAvx2()
{
    if (simdAvailable() != SimdLevel::Avx2) GTEST_SKIP() << "no AVX2 on this processor";
}

// Matrix after elimination and solution, as one vector.
std::vector<double> eliminate(const AugmentedMatrix& original, Outcome expected)
{
    AugmentedMatrix a = original;
    const int n = a.size();
    auto m = makeModule1();
    m->AbortRequest = "NO";
    NullProgress np;
    std::vector<double> x(static_cast<std::size_t>(n) + 1, 0.0);
    EXPECT_EQ(GAUSS(x, a, n, *m, np), expected) << n;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n + 1; ++j) x.push_back(a(i, j));
    return x;
}

struct Reference {
    const char* name;
    std::function<AugmentedMatrix()> system;
    Outcome outcome;
};

AugmentedMatrix randomSystem(int n, unsigned seed, double diagonal)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    AugmentedMatrix a(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) a(i, j) = u(gen);
        a(i, i) += diagonal * n;
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

TEST(SimdPaths, GaussGivesTheSameBitsOnBothPaths)
{
    requireAvx2();
    const std::vector<Reference> references = {
        {"one", [] { return randomSystem(1, 1, 1); }, Outcome::Done},
        {"block minus one", [] { return randomSystem(23, 23, 0.25); }, Outcome::Done},
        {"block plus one", [] { return randomSystem(25, 25, 0.25); }, Outcome::Done},
        {"odd tail", [] { return randomSystem(71, 71, 0.25); }, Outcome::Done},
        {"weak diagonal", [] { return randomSystem(97, 9, 0.01); }, Outcome::Done},
        {"panels 10x10/3", [] { return panelSystem(10, 3); }, Outcome::Done},
        {"panels 20x20/8", [] { return panelSystem(20, 8); }, Outcome::Done},
        {"panels 50x50/12", [] { return panelSystem(50, 12); }, Outcome::Done},
        {"NaN entry", [] { auto a = randomSystem(30, 4, 0.25); a(7, 3) = std::nan(""); return a; }, Outcome::Failed},
    };
    for (const Reference& r : references) {
        const AugmentedMatrix a = r.system();
        const auto sse2 = atLevel(SimdLevel::Sse2, [&] { return eliminate(a, r.outcome); });
        const auto avx2 = atLevel(SimdLevel::Avx2, [&] { return eliminate(a, r.outcome); });
        EXPECT_TRUE(sameBits(sse2, avx2)) << r.name;
    }
}

TEST(SimdPaths, BodyFlowGivesTheSameBitsOnBothPaths)
{
    requireAvx2();
    struct Case {
        double mesh;
        int meridians;
        FlowCondition flow;
    };
    for (const Case& c : {Case{20, 8, {300, 4, 0.27f, 0, 0.002378}}, Case{13, 5, {150, -7, 0.5f, 1, 0.0023}},
                          Case{50, 12, {300, 4, 0.27f, 0, 0.002378}}}) {
        auto m = rocket(c.mesh, c.meridians);
        const auto stations = bodyStationsFromGrid(*m);
        const FieldPoints field = fieldPointsFromMesh(*m);
        auto solve = [&] {
            NullProgress np;
            BodyFlowSolution s;
            EXPECT_EQ(solveBodyFlow(stations, c.meridians, c.flow, field, *m, np, s), Outcome::Done);
            return s;
        };
        const BodyFlowSolution a = atLevel(SimdLevel::Sse2, solve);
        const BodyFlowSolution b = atLevel(SimdLevel::Avx2, solve);
        const std::string at = "mesh " + std::to_string(c.mesh) + "/" + std::to_string(c.meridians);
        EXPECT_TRUE(sameBits(a.source, b.source)) << at;
        EXPECT_TRUE(sameBits(a.surfaceU, b.surfaceU) && sameBits(a.surfaceV, b.surfaceV) &&
                    sameBits(a.surfaceW, b.surfaceW) && sameBits(a.surfaceCp, b.surfaceCp))
            << at;
        EXPECT_TRUE(sameBits(a.fieldAxial, b.fieldAxial) && sameBits(a.fieldRadial, b.fieldRadial) &&
                    sameBits(a.fieldSpeed, b.fieldSpeed) && sameBits(a.fieldPressure, b.fieldPressure))
            << at;
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

TEST(SimdPaths, LevelNeverExceedsTheProcessor)
{
    const SimdLevel before = simdLevel();
    EXPECT_EQ(setSimdLevel(SimdLevel::Sse2), SimdLevel::Sse2);
    EXPECT_EQ(setSimdLevel(SimdLevel::Avx2), simdAvailable());
    setSimdLevel(before);
}

} // namespace
} // namespace velmora
