#include "model/Module1.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace velmora {
namespace {

// Start-up values no window shows at once.
TEST(ProjectState, StartupDefaults)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    // The grid builder takes 20 nodes while the mesh size is unset (0).
    EXPECT_EQ(std::tuple(m->AmbientPressure, m->SpeedOfSound, m->MeridianCount, m->DomainAspectRatio,
                         m->MeshAxialNodeCount, m->FreeFormPointCount), std::tuple(2116.8, 1116.4, 8, 2.0f, 0, 4));
    EXPECT_EQ(std::tuple(m->FinCount, m->SurfaceFinishCode, m->PanelCount, m->ContourLevelCount, m->SweepStepCount),
              std::tuple(3, 2, 100, 20, 1));
    EXPECT_EQ(std::tuple(m->AnalysisUnits, m->SeaLevelDensity, m->FlowSolutionStatus, m->BasePressureAvailable),
              std::tuple(std::string("FPS"), 0.002378f, std::string(""), std::string("FALSE")));
}

} // namespace
} // namespace velmora
