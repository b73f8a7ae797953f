#include "model/Units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

TEST(Atmosphere, EveryAltitudeInEveryUnitSystem)
{
    auto m = makeModule1();
    for (const auto& unit : UnitSystemTable) {
        for (const auto& row : StandardAtmosphereTable) {
            m->AnalysisUnits = unit.code;
            applyUnitConstants(*m, unit);
            applyAltitude(*m, row.altitude);
            computeAmbientAir(*m);
            SCOPED_TRACE(std::string(unit.code) + " " + row.altitude);
            EXPECT_DOUBLE_EQ(m->AmbientPressure, row.pressureRatio * unit.seaLevelPressure);
            // The sea-level density is kept in single precision; the product is double.
            EXPECT_DOUBLE_EQ(m->AmbientDensity, row.densityRatio * static_cast<double>(unit.seaLevelDensity));
            EXPECT_DOUBLE_EQ(m->SpeedOfSound,
                             unit.seaLevelSpeedOfSound * std::sqrt(row.pressureRatio / row.densityRatio));
            EXPECT_EQ(m->DynamicViscosity, unit.dynamicViscosity);
        }
    }
}

TEST(Atmosphere, TenThousandFeetInFootPoundSecond)
{
    auto m = makeModule1();
    applyUnitConstants(*m, UnitSystemTable[0]);
    applyAltitude(*m, "10000 FT");
    computeAmbientAir(*m);
    EXPECT_NEAR(m->AmbientPressure, 1455.93504, 1e-9);
    EXPECT_NEAR(m->AmbientDensity, 1.7559152e-03, 1e-10);
    EXPECT_NEAR(m->SpeedOfSound, 1077.46971, 1e-5);
    // The same physical speed in the other systems.
    const double fps = m->SpeedOfSound;
    applyUnitConstants(*m, UnitSystemTable[1]);
    computeAmbientAir(*m);
    EXPECT_NEAR(m->SpeedOfSound, 12 * fps, 1e-9);
    applyUnitConstants(*m, UnitSystemTable[2]);
    computeAmbientAir(*m);
    EXPECT_NEAR(m->SpeedOfSound, 0.3048 * fps, 1e-3);
}

TEST(Atmosphere, UnknownAltitudeKeepsTheRatios)
{
    auto m = makeModule1();
    applyAltitude(*m, "10000 FT");
    applyAltitude(*m, "10000 ft");
    applyAltitude(*m, "");
    EXPECT_EQ(m->AltitudePressureRatio, 0.6878);
    EXPECT_EQ(m->AltitudeDensityRatio, 0.7384);
}

TEST(VelocityConversion, FactorsAndMach)
{
    EXPECT_EQ(*velocityFactor("IPS", "FT/SEC", 0), 12);
    EXPECT_EQ(*velocityFactor("MNS", "MPH", 0), 0.44704);
    EXPECT_EQ(*velocityFactor("FPS", "M/SEC", 0), 3.2808);
    EXPECT_EQ(*velocityFactor("IPS", "MACH", 13396.8), 13396.8);
    EXPECT_FALSE(velocityFactor("XYZ", "FT/SEC", 0));
    EXPECT_FALSE(velocityFactor("FPS", "KNOTS", 0));
    auto m = makeModule1();
    m->AnalysisUnits = "FPS";
    m->EnteredVelocity = 100;
    m->FreeStreamVelocity = 7;
    convertVelocity(*m, "KNOTS");
    EXPECT_EQ(m->FreeStreamVelocity, 7); // no entry: unchanged
    convertVelocity(*m, "MPH");
    EXPECT_DOUBLE_EQ(m->FreeStreamVelocity, 146.67);
}

TEST(ProjectState, PlainStartupDefaults)
{
    auto m = makeModule1();
    EXPECT_EQ(m->FlowSolutionStatus, "");
    EXPECT_EQ(m->MeshAxialNodeCount, 0);
    EXPECT_EQ(m->GridNodeX(625, 625), 0);
    setStartupDefaults(*m);
    EXPECT_EQ(m->AnalysisUnits, "FPS");
    EXPECT_EQ(m->SeaLevelDensity, 0.002378f);
    EXPECT_EQ(m->AmbientPressure, 2116.8);
    EXPECT_EQ(m->SpeedOfSound, 1116.4);
    EXPECT_EQ(m->MeridianCount, 8);
    EXPECT_EQ(m->DomainAspectRatio, 2.0f);
    EXPECT_EQ(m->FreeFormPointCount, 4);
    EXPECT_EQ(m->ContourLevelCount, 20);
    EXPECT_EQ(m->SweepStepCount, 1);
    EXPECT_EQ(m->FinCount, 3);
    EXPECT_EQ(m->SurfaceFinishCode, 2);
    EXPECT_EQ(m->PanelCount, 100);
    EXPECT_EQ(m->MeshAxialNodeCount, 0); // the grid builder takes 20 while unset
    EXPECT_EQ(m->FlowSolutionStatus, "");
    EXPECT_EQ(m->BasePressureAvailable, "FALSE");
}

} // namespace
} // namespace velmora
