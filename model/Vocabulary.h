#pragma once
// The fixed value sets the project state's text and code variables hold.
namespace velmora {

// FlowSolutionStatus, PanelSolutionStatus, BaseFlowStatus.
namespace FlowSolutionState {
inline constexpr const char* Stale = "SOLVE NEW FLOW";
inline constexpr const char* Current = "";
} // namespace FlowSolutionState
namespace PanelSolutionState {
inline constexpr const char* Stale = "SOLVE NEW FLOW";
inline constexpr const char* Solved = "SOLVED";
} // namespace PanelSolutionState
namespace BaseFlowSolutionState {
inline constexpr const char* Stale = "SOLVE NEW FLOW";
inline constexpr const char* Converged = "";
} // namespace BaseFlowSolutionState

// AbortRequest and BasePressureAvailable.
namespace AbortFlag {
inline constexpr const char* Yes = "YES";
inline constexpr const char* No = "NO";
} // namespace AbortFlag
namespace BasePressureFlag {
inline constexpr const char* True = "TRUE";
inline constexpr const char* False = "FALSE";
} // namespace BasePressureFlag

// AnalysisUnits, and the matching index of the Units menu items.
namespace UnitsSystem {
inline constexpr const char* FPS = "FPS";
inline constexpr const char* IPS = "IPS";
inline constexpr const char* MNS = "MNS";
} // namespace UnitsSystem
enum UnitsMenuIndex : int { UnitsMenuFPS = 0, UnitsMenuIPS = 1, UnitsMenuMNS = 2 };

// The speed units of the velocity list and the flow models.
namespace VelocityUnit {
inline constexpr const char* FtPerSec = "FT/SEC";
inline constexpr const char* Mph = "MPH";
inline constexpr const char* MPerSec = "M/SEC";
inline constexpr const char* Mach = "MACH";
} // namespace VelocityUnit
namespace CompressibilityModel {
inline constexpr const char* Incompressible = "INCOMPRESSIBLE";
inline constexpr const char* Compressible = "COMPRESSIBLE";
} // namespace CompressibilityModel

// ActiveBodyGeometry and NoseShapeName.
enum BodyGeometryMode : short { StandardBody = 0, FreeFormBody = 1 };
namespace NoseConeShape {
inline constexpr const char* Conical = "CONICAL";
inline constexpr const char* TangentOgive = "TANGENT OGIVE";
inline constexpr const char* Elliptical = "ELLIPTICAL";
inline constexpr const char* Parabolic = "PARABOLIC";
inline constexpr const char* SearsHaack = "SEARS-HAACK";
} // namespace NoseConeShape

// FinPlanformCode, FinEdgeCode and SurfaceFinishCode (0: not chosen).
enum FinPlanform : short { NoPlanform = 0, TrianglePlanform = 1, RectanglePlanform = 2, TaperedPlanform = 3,
                           EllipticalPlanform = 4 };
enum FinEdgeShape : short { NoEdge = 0, SquareEdge = 1, RoundEdge = 2, StreamlinedEdge = 3 };
enum SurfaceFinish : short { NoFinish = 0, UnpaintedFinish = 1, PaintedFinish = 2, WaxedFinish = 3 };

// PanelMethodChoice.
namespace PanelMethod {
inline constexpr const char* Vortex = "VORTEX";
inline constexpr const char* Source = "SOURCE";
} // namespace PanelMethod

// Plot and sweep settings held as codes.
enum PressureContourKind : short { StaticPressure = 0, DynamicPressure = 1 };
enum ProfilePlotQuantity : short { ProfileVelocity = 0, ProfileStaticPressure = 1, ProfileDynamicPressure = 2 };
enum LoopPlotQuantity : short { LoopCd = 1, LoopCN = 2, LoopCM = 3, LoopXcpOverL = 4 };
enum SweepKind : short { AngleOfAttackSweep = 0, VelocitySweep = 1 };

} // namespace velmora
