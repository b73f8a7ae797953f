#pragma once
// The project state: every input, derived atmosphere value, mesh, solution,
// result and status flag of one Velmora session. One plain struct owned by the
// application and passed by reference; tests make their own.
//
// Types follow the stored precision: float where the value is kept in single
// precision, int16_t for 16-bit integers, double for whole numbers held as
// counts. Every member starts at 0 or "" (an unset value counts as both); the
// values set at start-up are written by the main window's load handler, the
// plain ones are also given below as member defaults where nothing else sets
// them.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Arrays.h"

namespace velmora {

struct Module1 {
    // ---- status and control flags -----------------------------------------
    std::string FlowSolutionStatus;      // "SOLVE NEW FLOW" or "" (current)
    std::string FlowSolutionStatusText;  // copy of FlowSolutionStatus
    std::string PanelSolutionStatus;     // "SOLVE NEW FLOW" or "SOLVED"
    std::string BasePressureAvailable;   // "TRUE" / "FALSE"
    std::string AbortRequest;            // "YES" / "NO"
    std::string MainFlowStateCopy;       // FlowSolutionStatus when BASE FLOW was pressed
    std::string BaseFlowStatus;          // "SOLVE NEW FLOW" or ""

    // ---- unit system and atmosphere ----------------------------------------
    std::string AnalysisUnits;           // "FPS", "IPS", "MNS"
    double SeaLevelPressure = 0;
    float SeaLevelDensity = 0;
    double SeaLevelSpeedOfSound = 0;
    double DynamicViscosity = 0;
    double AltitudePressureRatio = 0;
    double AltitudeDensityRatio = 0;
    double AmbientPressure = 0;
    double AmbientDensity = 0;
    double SpeedOfSound = 0;
    double KinematicViscosity = 0;
    float GravityAcceleration = 0;
    std::string AltitudeText;            // the altitude shown in the main window's list

    // ---- flight condition ---------------------------------------------------
    double EnteredVelocity = 0;
    double FreeStreamVelocity = 0;
    float FreeStreamMachNumber = 0;
    double AngleOfAttack = 0;            // degrees
    int16_t CompressibleFlow = 0;        // 0 incompressible, 1 compressible
    std::string FlowModelText;           // the flow model shown in the main window's list
    std::string SpeedUnitText;           // the speed unit shown in the main window's list

    // ---- body geometry ------------------------------------------------------
    std::string NoseShapeName;
    std::string NoseShapeText;           // the nose shape shown in the body window's list
    double NoseConeLength = 0;
    double NoseConeDiameter = 0;
    double BodyTubeLength = 0;
    double TransitionLength = 0;
    double TransitionDiameter = 0;
    double BaseTubeLength = 0;
    float SearsHaackExponent = 0;
    int16_t ActiveBodyGeometry = 0;      // 0 standard, 1 free-form
    double BodyLengthAfterNose = 0;
    int16_t FreeFormPointCount = 0;
    Array1<double, 20> FreeFormScreenX;
    Array1<double, 20> FreeFormScreenY;
    float FreeFormScreenWidth = 0;
    int16_t FreeFormScreenHeight = 0;
    int16_t FreeFormGridOn = 0;
    Array1<double, 20> FreeFormBodyX;
    Array1<double, 20> FreeFormBodyRadius;
    float FreeFormBaseRadius = 0;

    // ---- fins and launch lugs -----------------------------------------------
    int16_t FinPlanformCode = 0;         // 1 triangle, 2 rectangle, 3 tapered, 4 elliptical
    int16_t FinEdgeCode = 0;             // 1 square, 2 round, 3 streamlined / double wedge
    int16_t FinCount = 0;
    int16_t SurfaceFinishCode = 0;       // 1 none, 2 good, 3 excellent
    double FinRootChord = 0;
    double FinSpan = 0;
    double FinThickness = 0;
    double FinTipDistance = 0;
    double LaunchLugLength = 0;
    double LaunchLugOuterDiameter = 0;
    double FinMeanChord = 0;
    float FinTipChord = 0;
    float FinRootDistance = 0;
    float LaunchLugInnerDiameter = 0;
    double FinRootLeadingEdgeX = 0;
    double FinRootLeadingEdgeY = 0;
    double FinTipLeadingEdgeX = 0;
    double FinTipLeadingEdgeY = 0;
    double FinTipTrailingEdgeX = 0;
    double FinTipTrailingEdgeY = 0;
    double FinRootTrailingEdgeX = 0;
    float FinRootTrailingEdgeY = 0;
    int16_t FinDataMissing = 0;

    // ---- mesh ---------------------------------------------------------------
    double MeshAxialNodeCount = 0;
    double MeshRadialNodeCount = 0;
    int16_t MeshSizeUserSet = 0;
    int16_t MeridianCount = 0;
    float DomainAspectRatio = 0;
    double DomainLength = 0;
    double DomainHeight = 0;
    double NoseTipX = 0;
    float BaseTubeDiameter = 0;
    double MeshNodeCount = 0;
    double MeshElementCount = 0;
    Array1<double, 5000> MeshNodeX;
    Array1<double, 5000> MeshNodeRadius;
    Array2<float, 5000, 3> MeshElementNodes;
    Array2<double, 625, 625> GridNodeX;
    Array2<double, 625, 625> GridNodeRadius;
    Array1<double, 5000> ElementCentroidX;
    Array1<float, 5000> ElementCentroidRadius;

    // ---- body-flow solution -------------------------------------------------
    Array1<double, 5000> ElementAxialVelocity;
    Array1<double, 5000> ElementSpeed;
    Array1<float, 5000> ElementRadialVelocity;
    Array1<float, 5000> ElementPressure;
    Array1<float, 792> BodySurfaceCp;
    int16_t BodyStationCount = 0;
    Array1<double, 100> BodyStationX;
    Array1<double, 100> BodyStationRadius;

    // ---- drag and forces ----------------------------------------------------
    float ReferenceArea = 0;
    float BodyPressureDragCoefficient = 0;
    float BaseDragCoefficient = 0;
    float LaunchLugDragCoefficient = 0;
    float LaunchLugDragForce = 0;
    float FinSurfaceDragCoefficient = 0;
    float FinInterferenceDragCoefficient = 0;
    float TotalDragCoefficient = 0;
    double BodyDragForce = 0;
    double FinDragForce = 0;
    double FinNormalForce = 0;

    // ---- fin section panel method -------------------------------------------
    std::string PanelMethodChoice;       // "VORTEX" / "SOURCE"
    std::string PanelPlotChoice;         // "Cp" / "Velocity"
    std::string FinSectionText;          // the section shown in the fin-section window's list
    int16_t FinThicknessFactor = 0;      // 1, 2, 4, 6
    int16_t PanelCount = 0;              // even, 4..200
    double FinNormalForceSlope = 0;
    double FinCenterOfPressure = 0;
    Array1<double, 200> SectionPointX;
    Array1<float, 200> SectionPointY;
    Array1<double, 200> UnrotatedSectionX;
    Array1<double, 200> UnrotatedSectionY;
    Array2<int16_t, 200, 2> PanelCornerIndex;
    Array1<float, 200> PanelCp;
    Array1<double, 200> PanelSurfaceVelocity;
    Array1<float, 200> PanelTangentialVelocity;
    Array1<double, 200> PanelControlPointX;
    Array1<double, 200> ManualSectionX;
    Array1<double, 200> ManualSectionY;

    // ---- stability results --------------------------------------------------
    double NormalForceCoefficient = 0;
    double PitchingMomentCoefficient = 0;
    float CenterOfPressureRatio = 0;
    // 1 when the last run placed no centre of pressure (zero angle of attack,
    // or normal forces that cancel): XCp and XCp/L have no value and are not
    // shown; CenterOfPressureRatio is then 0.
    int16_t CenterOfPressureUndefined = 0;

    // ---- flow-field plot settings -------------------------------------------
    double ContourLevelCount = 0;
    int16_t ContourLevelsUserSet = 0;
    double VectorScale = 0;
    int16_t VectorScaleUserSet = 0;
    int16_t PressurePlotKind = 0;        // 0 static, 1 dynamic
    int16_t ProfileQuantity = 0;         // 0 velocity, 1 static, 2 dynamic pressure
    float ProfileXLocation = 0;

    // ---- sweeps and cross-flow ----------------------------------------------
    int16_t AoaSweepSelected = 0;
    int16_t VelocitySweepSelected = 0;
    int16_t SweepPlotQuantity = 0;       // 1 Cd, 2 CN, 3 CM, 4 XCp/L
    double SweepStepCount = 0;
    // Steps 1 .. this hold results of the last sweep: a sweep that stopped
    // early leaves the steps it stored; emptying the results (start-up, BODY,
    // FINS, Open, a sweep input) puts it to 0. The plot, table and export
    // show no step above it.
    int16_t SweepStepsStored = 360;
    float SweepPlotYScale = 0;
    double SweepAoaIncrement = 0;
    double SweepVelocityIncrement = 0;
    double SweepStartAoa = 0;
    double SweepStartVelocity = 0;
    Array1<double, 360> SweepDragCoefficients;
    Array1<double, 360> SweepNormalForceCoefficients;
    Array1<double, 360> SweepMomentCoefficients;
    Array1<float, 360> SweepCenterOfPressureRatios;
    Array1<int16_t, 360> SweepCenterOfPressureUndefined;  // CenterOfPressureUndefined of step i
    Array1<double, 360> SweepPlotX;
    Array1<double, 360> SweepPlotY;
    Array1<int16_t, 360> SweepPlotYUndefined;  // 1: point i has no value (an XCp/L not placed)
    double SweepPlotXMax = 0;
    double SweepPlotYMax = 0;
    Array1<float, 360> BarrowmanSweepValues;  // Barrowman value of the plotted quantity, step i
    int16_t CrossflowStation = 0;
    float CrossflowCpScale = 0;
    double CrossflowCpTop = 0;     // Cp at the top edge of the cross-flow plot
    double CrossflowCpBottom = 0;  // ... at its bottom edge

    // ---- base flow ----------------------------------------------------------
    int16_t BaseGridPointsX = 0;
    int16_t BaseGridPointsY = 0;
    int16_t BaseShoulderIndex = 0;
    int16_t BaseFlowMaxIterations = 0;
    int16_t BaseFlowVectorSkip = 0;
    float BaseFlowVectorScale = 0;
    int16_t BaseFlowContourLevels = 0;
    double MotorAverageThrust = 0;
    double MotorBurnTime = 0;
    double NozzleExitDiameter = 0;
    double PropellantWeight = 0;
    double BaseFlowDiameter = 0;
    double BaseFlowDomainHeight = 0;
    double BaseFlowDomainLength = 0;
    double JetExitVelocity = 0;
    double BasePressureCoefficient = 0;
    Array2<double, 101, 101> BaseFlowNodeX;
    Array2<double, 101, 101> BaseFlowNodeY;
    Array2<double, 101, 101> BaseFlowVelocityU;
    Array2<float, 101, 101> BaseFlowVelocityV;
    Array2<double, 101, 101> BaseFlowVorticity;
    Array2<double, 101, 101> BaseFlowStreamFunction;
    Array2<float, 101, 101> BaseFlowVorticityIncrement;
    Array1<double, 5000> BaseFlowSpeedList;

    // ---- shared scratch values ----------------------------------------------
    double Pi = 0;
    double DeltaT = 0;
    double DeltaX = 0;
    double DeltaY = 0;
    int16_t AugmentedColumnCount = 0;

    // ---- typed text ----------------------------------------------------------
    // The inputs whose box holds a text that is not a number, by name
    // (model/InputRange.h), with the text: they read as their leading digits
    // until a number is typed there, and the commands reading them refuse.
    std::map<std::string, std::string> UnreadableInputs;
};

// The state is large (the structured grid alone is several megabytes): keep it
// on the heap.
inline std::unique_ptr<Module1> makeModule1() { return std::make_unique<Module1>(); }

// The plain start-up values that do not come from a window's handler: the
// ft-lb-sec sea-level atmosphere and the plot, free-form, mesh and sweep
// defaults. The main window's load handler sets the same values in its own
// order; this is for computations and tests that run without windows.
void setStartupDefaults(Module1& m);

} // namespace velmora
