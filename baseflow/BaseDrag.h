#pragma once
// What a converged base flow gives the rest of the program: the motor jet,
// the base pressure and the base drag.
//
// What is computed:
//   JET      the specific impulse Isp and exhaust velocity U_jet = g Isp of
//            the motor inputs (thrust T, burn time t, propellant W, nozzle
//            exit diameter Dj): Isp = T t / W in "FPS" (g 32.2) and "IPS"
//            (g 386.0), T t / (W g) in "MNS" (g 9.806, W a mass). g goes to
//            GravityAcceleration, U_jet to JetExitVelocity, and U_jet is
//            imposed (V = 0) on rows j = 1.. while j <= 1 + JB Dj / D, row j
//            on i = 1.. while i <= i_end, i_end starting at NX / 2 and
//            falling by 4 j after row j.
//   U3D      a three-dimensional correction of the planar field: for every
//            node (i = 1..NX outer, j = 1..NY inner; a zero coordinate is
//            replaced by 0.00001 for good) F2 = T1 + (T3 + t^2 T4) /
//            (0.25 t^2 T2) with a = D / r1, r1 the distance from the point
//            one diameter upstream of the base on the axis, t = Y / X,
//            T1..T4 = (1 - a^3)^2, (2 + a^3)^2, (1 - a^2)^2, (1 + a^2)^2;
//            the corrected node speed |U, V| sqrt(F2), at most 2 V, goes to
//            BaseFlowSpeedList (1..NX NY in that order), and the vorticity of
//            i = 2..NX-2, j = 2..NY-2 becomes F2 times its planar value.
//   SolveCp  the wall pressure marched down the base from the shoulder,
//            P(JB+1) = p_inf - rho U(1, JB+1)^2 / 2, P(j) = P(j+1) - (mu/2)
//            (DY/DX) (3 W(1,j) - 4 W(2,j) + W(3,j)) (single precision), the
//            jet rows j <= JB Dj / D at p_inf, the area-weighted mean over
//            j = 1..JB with dA = 2 pi Y(1, j) DY, and Cpb = ((p_avg - p_inf)
//            / q) 0.189203 into BasePressureCoefficient, p - p_inf marched
//            in double precision beside the single-precision P;
//            BasePressureAvailable = BasePressureFlag::True.
//   NEWDRAG  the base drag coefficient from Cpb on the reference area (no
//            transition), the base area (a positive transition, and any
//            free-form body) or 0 (a negative transition), times 0.4, 0.426,
//            0.481 or 0.4 by fineness ratio L / D0 (<= 0.75, <= 1, <= 2,
//            above) when Re_L = rho V L / mu exceeds 600000; then the main
//            drag sums (CdFnMn, TOTALDRAG) are run again.
// Units are those of the unit system; DX and DY are derived from the base-flow
// domain and grid size, never read from the shared scratch values.
//
// Outcomes (velmora::Outcome):
//   JET, SolveCp: Refused with "Please perform CFD first." in panel 3 while
//       BaseFlowStatus is BaseFlowSolutionState::Stale, nothing changed.
//   JET: Done; with a motor input at 0 there is no jet (JetExitVelocity 0)
//       and the boxes IspBase, UJETBase, PjetBase and BaseCd are emptied.
//   All three: Failed when the arithmetic breaks down (no message); nothing published
//       (NEWDRAG: a failure of the re-summing after the base drag was
//       stored is reported as Failed with the base drag kept; the SOLVE
//       sequence then drops the whole run).
//   NEWDRAG: Refused, nothing changed, when Cpb is above
//       kBasePressureAllowance: a base pressure above ambient, which the
//       model cannot give where it holds. message: "Base pressure above
//       ambient (Cpb <Cpb>): outside the base-flow model. Nothing added to
//       total drag."
//   NEWDRAG: Done; writes the base drag to NavierStokes.BaseCd ("##.####")
//       and SOLVER.BaseCd ("##.###"), the re-summed drag boxes, and
//       "Velmora base drag added to total drag." to panel 2 of the main
//       window. Its drag-routine status texts go to mainProgress.
//   withdrawBaseDrag: Done; the base drag the main window had before a run
//       replaced it goes back (BasePressureAvailable False), the drag sums
//       run again and SOLVER.BaseCd and the drag boxes show them. For the
//       results of a base-flow run that no longer belong to the inputs shown.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Report.h"

namespace velmora::baseflow {

inline constexpr const char* kMsgPerformCfdFirst = "Please perform CFD first.";
inline constexpr const char* kMsgBaseDragAdded = "Velmora base drag added to total drag.";

inline constexpr const char* kPatternIsp = "######.#";
inline constexpr const char* kPatternJetVelocity = "#####.##";
inline constexpr const char* kPatternJetPressure = "#####.###";
inline constexpr const char* kPatternBaseCd = "##.####";      // the base-flow window
inline constexpr const char* kPatternMainBaseCd = "##.###";   // the main window

inline constexpr double kGravityMNS = 9.806;
inline constexpr double kGravityFPS = 32.2;
inline constexpr double kGravityIPS = 386.0;
inline constexpr double kZeroCoordinate = 0.00001;
inline constexpr double kBasePressureFactor = 0.189203;
inline constexpr double kBandReynolds = 600000;
// The largest Cpb taken as "not above ambient": the gauge march rounds to
// about 1e-15 of the dynamic pressure per row, at any speed.
inline constexpr double kBasePressureAllowance = 1e-12;
// Specific impulses of rocket motors (seconds): black powder and other solid
// model motors lie near 80 to 250, no chemical propellant reaches 500.
inline constexpr double kMinSpecificImpulse = 10;
inline constexpr double kMaxSpecificImpulse = 500;

// Why the motor inputs cannot make a jet, or "" when they can (all four
// positive) or when there is no motor (all four 0). Each input must be finite
// and not negative, none may be 0 while another is given, the nozzle fits the
// base (Dj <= D), and Isp lies from 10 to 500 s.
std::string motorRefusal(const Module1& m);

struct JetReport : Report {
    double isp = 0;
    double jetVelocity = 0;           // 0: no jet
    std::vector<WindowWrite> writes;  // IspBase, UJETBase, PjetBase (or the four emptied)
};

JetReport JET(Module1& m, Progress& progress);

// The corrected tables of U3D.
struct ThreeDCorrection {
    Array2<double, 101, 101> x, y, w;
    Array1<double, 5000> speed;
};

// U3D on the state's fields; the state is not changed. Throws MathFailure.
std::unique_ptr<ThreeDCorrection> U3D(const Module1& m, double velocity);

struct PressureReport : Report {
    double basePressureCoefficient = 0;
    std::array<float, 51> wallPressure{};  // P(j), j = 1..JB + 1
};

PressureReport SolveCp(Module1& m, double velocity, Progress& progress);

struct BaseDragReport : Report {
    float baseDragCoefficient = 0;
    double reynolds = 0;              // Re_L
    double finenessRatio = 0;         // L / D0
    double bandFactor = 1;            // 1 when no band applies
    std::vector<WindowWrite> writes;  // both BaseCd boxes, the drag sums' boxes, the main panel 2
};

BaseDragReport NEWDRAG(Module1& m, double velocity, Progress& mainProgress);

// Puts `previous`, the main window's own base drag, back in place of the
// base-flow one and sums the drag again; Failed when the sums break down.
BaseDragReport withdrawBaseDrag(Module1& m, float previous, double velocity, Progress& mainProgress);

} // namespace velmora::baseflow
