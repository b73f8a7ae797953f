#include "model/Module1.h"

#include "model/Units.h"
#include "model/Vocabulary.h"

namespace velmora {

void setStartupDefaults(Module1& m)
{
    m.BasePressureAvailable = "FALSE";
    m.AbortRequest = "NO";
    m.CompressibleFlow = 0;
    m.FlowModelText = "INCOMPRESSIBLE";
    m.MeridianCount = 8;
    m.SpeedUnitText = VelocityUnit::FtPerSec;
    m.AltitudeText = "SEA LEVEL";
    setSeaLevelFps(m);
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
    m.NoseShapeText = "CONICAL";
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
