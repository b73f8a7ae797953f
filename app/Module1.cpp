#include "app/Module1.h"

namespace velmora {

void setStartupDefaults(Module1& m)
{
    m.BasePressureAvailable = "FALSE";
    m.AbortRequest = "NO";
    m.CompressibleFlow = 0;
    m.MeridianCount = 8;
    m.AnalysisUnits = "FPS";
    m.SeaLevelPressure = 2116.8;
    m.AltitudePressureRatio = 1;
    m.SeaLevelDensity = 0.002378f;
    m.AltitudeDensityRatio = 1;
    m.AmbientPressure = m.AltitudePressureRatio * m.SeaLevelPressure;
    m.AmbientDensity = m.AltitudeDensityRatio * m.SeaLevelDensity;
    m.SeaLevelSpeedOfSound = 1116.4;
    m.SpeedOfSound = m.SeaLevelSpeedOfSound * 1.0;
    m.DynamicViscosity = 3.9e-07;
    m.GravityAcceleration = 32.2f;
    m.PressurePlotKind = 1;
    m.ProfileQuantity = 0;
    m.VectorScale = 1;
    m.ContourLevelCount = 20;
    m.VectorScaleUserSet = 1;
    m.ContourLevelsUserSet = 1;
    m.DomainAspectRatio = 2.0f;
    m.AngleOfAttack = 0;
    m.FreeFormPointCount = 4;
    m.ActiveBodyGeometry = 0;
    m.AoaSweepSelected = 1;
    m.VelocitySweepSelected = 0;
    m.SweepPlotQuantity = 1;
    m.SweepStepCount = 1;
    m.SweepPlotYScale = 1.0f;
    m.CrossflowCpScale = 1.0f;
    m.CrossflowStation = 1;
    m.SweepAoaIncrement = 3;
    m.SweepVelocityIncrement = 100;
    m.SweepStartAoa = 1;
    m.SweepStartVelocity = 300;
    // Set by the input windows' own load handlers during start-up.
    m.NoseShapeName = "CONICAL";
    m.SearsHaackExponent = 1.0f;
    m.FinPlanformCode = 3;
    m.FinEdgeCode = 3;
    m.FinCount = 3;
    m.SurfaceFinishCode = 2;
    m.PanelMethodChoice = "VORTEX";
    m.PanelPlotChoice = "Cp";
    m.FinThicknessFactor = 1;
    m.PanelCount = 100;
}

} // namespace velmora
