#include "baseflow/BaseDrag.h"

#include <algorithm>
#include <cmath>

#include "baseflow/BaseFlow.h"
#include "baseflow/BaseFlowDisplay.h"
#include "bodyflow/Drag.h"
#include "platform/Checked.h"
#include "platform/Constants.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"

namespace velmora::baseflow {

namespace {

bool noConvergedFlow(const Module1& m, Progress& progress, Report& rep)
{
    if (m.BaseFlowStatus != BaseFlowSolutionState::Stale) return false;
    progress.status(3, kMsgPerformCfdFirst);
    rep.message = kMsgPerformCfdFirst;
    return true;
}

int gridX(const Module1& m) { return std::clamp<int>(m.BaseGridPointsX, 0, kMaxNX); }
int gridY(const Module1& m) { return std::clamp<int>(m.BaseGridPointsY, 0, kMaxNY); }

// g of the unit system; 0 for a system without one.
float gravityOf(const std::string& units)
{
    if (units == UnitsSystem::MNS) return static_cast<float>(kGravityMNS);
    if (units == UnitsSystem::FPS) return static_cast<float>(kGravityFPS);
    if (units == UnitsSystem::IPS) return static_cast<float>(kGravityIPS);
    return 0;
}

// Isp = T t / W, with the propellant a mass (divided by g) in "MNS". Throws MathFailure.
double specificImpulse(const Module1& m, float g)
{
    const double thrust = m.MotorAverageThrust, burn = m.MotorBurnTime, propellant = m.PropellantWeight;
    return (m.AnalysisUnits == "MNS") ? cdiv(thrust * burn, propellant * g, "specific impulse")
                                      : cdiv(thrust * burn, propellant, "specific impulse");
}

} // namespace

std::string motorRefusal(const Module1& m)
{
    const struct {
        const char* name;
        double value;
    } inputs[] = {{"Average thrust", m.MotorAverageThrust},
                  {"Motor burn time", m.MotorBurnTime},
                  {"Nozzle diameter", m.NozzleExitDiameter},
                  {"Propellant mass", m.PropellantWeight}};
    int given = 0;
    for (const auto& in : inputs) {
        if (!std::isfinite(in.value) || in.value < 0) return std::string(in.name) + " must be finite and not negative.";
        given += in.value > 0;
    }
    if (given == 0) return {};  // no motor, no jet
    for (const auto& in : inputs)
        if (in.value == 0) return std::string(in.name) + " is 0: enter every motor input, or 0 in all four for no jet.";
    // The nozzle sits in the base.
    if (m.NozzleExitDiameter > m.BaseFlowDiameter)
        return "Nozzle diameter must not exceed the base diameter (" + Format(m.BaseFlowDiameter, kPatternNozzle) +
               ").";
    const float g = gravityOf(m.AnalysisUnits);
    if (g == 0) return {};
    double isp = 0;
    try {
        isp = specificImpulse(m, g);
    } catch (const MathFailure&) {
        isp = HUGE_VAL;
    }
    // Round motor data on a bound (0.7 lb for 1 s on 0.07 lb) are taken as
    // on it; the number is shown whole, with the decimals it takes to stand
    // apart from the bound.
    if (!(atLeast(isp, kMinSpecificImpulse) && atMost(isp, kMaxSpecificImpulse)))
        return "Specific impulse " +
               FormatApart(isp, isp < kMinSpecificImpulse ? kMinSpecificImpulse : kMaxSpecificImpulse,
                           isp >= 0.1 && isp < 1e7 ? "0" : "0.##E+00") +
               " s is outside 10 to 500 s, the range of rocket motors: check thrust, burn time and propellant mass.";
    return {};
}

JetReport JET(Module1& m, Progress& progress)
{
    JetReport rep;
    // Only on a converged base flow.
    if (noConvergedFlow(m, progress, rep)) return rep;

    const double thrust = m.MotorAverageThrust, burn = m.MotorBurnTime, nozzle = m.NozzleExitDiameter,
                 propellant = m.PropellantWeight;
    auto noJet = [&] {
        m.JetExitVelocity = 0;
        for (ControlId box : {ControlId::NavierStokes_BaseCd, ControlId::NavierStokes_UJETBase,
                              ControlId::NavierStokes_IspBase, ControlId::NavierStokes_PjetBase})
            rep.writes.push_back(emptyBox(box));
        rep.outcome = Outcome::Done;
        return rep;
    };
    // A motor input at 0 (or a unit system without a gravity value): no jet.
    if (thrust == 0 || burn == 0 || nozzle == 0 || propellant == 0) return noJet();
    const float g = gravityOf(m.AnalysisUnits);
    if (g == 0) return noJet();

    try {
        // Specific impulse and exhaust velocity.
        const double isp = specificImpulse(m, g);
        const double ujet = finite(g * isp, "exhaust velocity");
        const int nx = gridX(m);
        const double rowEnd = 1 + cdiv(m.BaseShoulderIndex * nozzle, m.BaseFlowDiameter, "jet rows");
        finite(m.AmbientPressure);

        // Publish.
        m.GravityAcceleration = g;
        m.JetExitVelocity = ujet;
        rep.isp = isp;
        rep.jetVelocity = ujet;
        // Result boxes; the exhaust leaves at the ambient pressure.
        rep.writes.push_back(showNumber(ControlId::NavierStokes_IspBase, isp, kPatternIsp));
        rep.writes.push_back(showNumber(ControlId::NavierStokes_UJETBase, ujet, kPatternJetVelocity));
        rep.writes.push_back(showNumber(ControlId::NavierStokes_PjetBase, m.AmbientPressure, kPatternJetPressure));
        // The jet block: NX/2 nodes on the axis, fewer on every row above.
        if (ujet > 0) {
            double iEnd = nx / 2.0;
            for (int j = 1; j <= rowEnd && j <= kFieldSize - 1; ++j) {
                for (int i = 1; i <= iEnd; ++i) {
                    m.BaseFlowVelocityU(i, j) = ujet;
                    m.BaseFlowVelocityV(i, j) = 0;
                }
                iEnd = iEnd - 4 * j;
            }
        }
        rep.outcome = Outcome::Done;
    } catch (const MathFailure&) {
        rep = JetReport{};
        rep.outcome = Outcome::Failed;
    }
    return rep;
}

std::unique_ptr<ThreeDCorrection> U3D(const Module1& m, double velocity)
{
    auto c = std::make_unique<ThreeDCorrection>();
    c->x = m.BaseFlowNodeX;
    c->y = m.BaseFlowNodeY;
    c->w = m.BaseFlowVorticity;
    c->speed = m.BaseFlowSpeedList;
    const int nx = gridX(m), ny = gridY(m);
    const double d = m.BaseFlowDiameter;
    const double twoDx = 2 * cdiv(m.BaseFlowDomainLength, nx - 1.0, "base-flow grid spacing DX");
    const double twoDy = 2 * cdiv(m.BaseFlowDomainHeight, ny - 1.0, "base-flow grid spacing DY");
    const auto& u = m.BaseFlowVelocityU;
    const auto& v = m.BaseFlowVelocityV;
    long k = 0;
    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) {
            // No zero coordinate.
            double& x = c->x(i, j);
            double& y = c->y(i, j);
            if (x == 0) x = kZeroCoordinate;
            if (y == 0) y = kZeroCoordinate;
            // Direction and distance from one diameter ahead of the base.
            const double t = finite(std::tan(std::atan(cdiv(y, x))), "3-D correction angle");
            const double r1 = csqrt((x + d) * (x + d) + y * y);
            // The correction factor.
            const double a = cdiv(d, r1, "3-D correction distance");
            const double a2 = a * a, a3 = a2 * a;
            const double t1 = (1 - a3) * (1 - a3), t2 = (2 + a3) * (2 + a3);
            const double t3 = (1 - a2) * (1 - a2), t4 = (1 + a2) * (1 + a2);
            const double f2 = t1 + cdiv(t3 + t * t * t4, 0.25 * t * t * t2, "3-D correction factor");
            const double f = csqrt(f2, "3-D correction factor");
            // Corrected speed, at most twice the flight speed.
            const double uu = u(i, j), vv = v(i, j);
            double speed = finite(std::sqrt(uu * uu + vv * vv) * f, "corrected speed");
            if (speed > 2 * velocity) speed = 2 * velocity;
            c->speed(++k) = speed;
            // Interior vorticity with the correction.
            if (1 < i && i < nx - 1 && 1 < j && j < ny - 1)
                c->w(i, j) = finite(f2 * (static_cast<double>(v(i + 1, j)) - v(i - 1, j)) / twoDx -
                                        f2 * (u(i, j + 1) - u(i, j - 1)) / twoDy,
                                    "corrected vorticity");
        }
    return c;
}

PressureReport SolveCp(Module1& m, double velocity, Progress& progress)
{
    PressureReport rep;
    // Only on a converged base flow.
    if (noConvergedFlow(m, progress, rep)) return rep;
    try {
        const double rho = m.AmbientDensity, pinf = m.AmbientPressure, mu = m.DynamicViscosity;
        const double d = m.BaseFlowDiameter;
        const int nx = gridX(m), ny = gridY(m);
        const int jb = std::clamp<int>(m.BaseShoulderIndex, 1, std::min(ny - 1, 49));
        const double dx = cdiv(m.BaseFlowDomainLength, nx - 1.0, "base-flow grid spacing DX");
        const double dy = cdiv(m.BaseFlowDomainHeight, ny - 1.0, "base-flow grid spacing DY");
        // Dynamic pressure.
        const double q = 0.5 * rho * velocity * velocity;
        // The corrected field.
        auto c = U3D(m, velocity);
        // Start at the shoulder with the inflow speed.
        // The wall pressures P are kept in single precision; the coefficient
        // takes the same march in gauge pressure G = P - p_inf (double), whose
        // rounding is a part of the dynamic pressure however slow the flow,
        // not of p_inf.
        auto& p = rep.wallPressure;
        std::array<double, 52> g{};
        const double ush = m.BaseFlowVelocityU(1, jb + 1);
        g[jb + 1] = -0.5 * rho * ush * ush;
        p[jb + 1] = toSingle(pinf - 0.5 * rho * ush * ush, "wall pressure");
        // Down the base wall with the wall vorticity gradient.
        for (int j = jb; j >= 1; --j) {
            const double drop = (mu / 2) * cdiv(dy, dx) * (3 * c->w(1, j) - 4 * c->w(2, j) + c->w(3, j));
            g[j] = g[j + 1] - drop;
            p[j] = toSingle(p[j + 1] - drop, "wall pressure");
        }
        // The jet rows of the base at the ambient pressure.
        if (m.JetExitVelocity > 0) {
            const double rows = cdiv(jb * m.NozzleExitDiameter, d, "jet rows");
            for (int j = 1; j <= rows && j <= 50; ++j) {
                g[j] = 0;
                p[j] = toSingle(pinf);
            }
        }
        // Area weighting over the base.
        double area = 0, force = 0;
        for (int j = 1; j <= jb; ++j) {
            const double da = 2 * kPi * c->y(1, j) * dy;
            area = area + da;
            force = force + da * g[j];
        }
        // Mean gauge pressure and its coefficient.
        const double gavg = cdiv(force, area, "base area");
        rep.basePressureCoefficient = finite(cdiv(gavg, q, "dynamic pressure") * kBasePressureFactor);

        // Publish.
        m.Pi = kPi;
        m.BaseFlowNodeX = c->x;
        m.BaseFlowNodeY = c->y;
        m.BaseFlowVorticity = c->w;
        m.BaseFlowSpeedList = c->speed;
        m.BasePressureCoefficient = rep.basePressureCoefficient;
        // The main drag takes the base pressure from now on.
        m.BasePressureAvailable = BasePressureFlag::True;
        rep.outcome = Outcome::Done;
    } catch (const MathFailure&) {
        rep = PressureReport{};
        rep.outcome = Outcome::Failed;
    }
    return rep;
}

BaseDragReport NEWDRAG(Module1& m, double velocity, Progress& mainProgress)
{
    BaseDragReport rep;
    float referenceArea = 0, baseDrag = 0;
    try {
        const double rho = m.AmbientDensity, mu = m.DynamicViscosity, d0 = m.NoseConeDiameter;
        const double d = m.BaseFlowDiameter, cpb = m.BasePressureCoefficient;
        // The separated flow behind the base sucks on it and the jet rows sit at the ambient pressure,
        // so the mean base pressure never exceeds the ambient one beyond the rounding of the gauge
        // march; above it the model has left its range.
        if (cpb > kBasePressureAllowance) {
            rep.outcome = Outcome::Refused;
            rep.message = "Base pressure above ambient (Cpb " + Format(cpb, "0.###E+00") +
                         "): outside the base-flow model. Nothing added to total drag.";
            return rep;
        }
        // Reference and base areas.
        referenceArea = toSingle((kPi / 4) * d0 * d0, "reference area");
        const double sref = referenceArea;
        const double ab = (kPi / 4) * d * d;
        // Body length and its Reynolds number.
        const double length = m.BaseTubeLength + m.TransitionLength + m.BodyTubeLength + m.NoseConeLength;
        rep.reynolds = cdiv(rho * velocity * length, mu, "body Reynolds number");
        // Base force: the reference area without a transition, the base
        //    area behind one and on a free-form body.
        double fb = 0;
        if (m.TransitionLength == 0) fb = sref * velocity * velocity * 0.5 * rho * (-cpb);
        else if (m.TransitionLength > 0) fb = ab * velocity * velocity * 0.5 * rho * (-cpb);
        if (m.ActiveBodyGeometry == 1) fb = ab * velocity * velocity * 0.5 * rho * (-cpb);
        // Coefficient on the reference area.
        baseDrag = toSingle(cdiv(fb, 0.5 * rho * velocity * velocity * sref, "base drag"), "base drag");
        // Fineness-ratio factor at high Reynolds number.
        rep.finenessRatio = cdiv(length, d0, "fineness ratio");
        if (rep.reynolds > kBandReynolds) {
            const double ld = rep.finenessRatio;
            rep.bandFactor = (ld <= 0.75) ? 0.4 : (ld <= 1) ? 0.426 : (ld <= 2) ? 0.481 : 0.4;
            baseDrag = toSingle(baseDrag * rep.bandFactor, "base drag");
        }
    } catch (const MathFailure&) {
        rep.outcome = Outcome::Failed;
        return rep;
    }
    // Publish.
    m.ReferenceArea = referenceArea;
    m.BaseDragCoefficient = baseDrag;
    rep.baseDragCoefficient = baseDrag;
    // Both windows show it.
    rep.writes.push_back(showNumber(ControlId::NavierStokes_BaseCd, baseDrag, kPatternBaseCd));
    rep.writes.push_back(showNumber(ControlId::SOLVER_BaseCd, baseDrag, kPatternMainBaseCd));
    // The main drag sums again, with this base drag.
    const DragReport fins = CdFnMn(m, velocity, mainProgress);
    rep.writes.insert(rep.writes.end(), fins.writes.begin(), fins.writes.end());
    const DragReport total = TOTALDRAG(m, velocity, mainProgress);
    rep.writes.insert(rep.writes.end(), total.writes.begin(), total.writes.end());
    // Report it in the main window.
    rep.writes.push_back(setPanel(ControlId::SOLVER_StatusBar1, 2, kMsgBaseDragAdded));
    rep.outcome = fins.outcome != Outcome::Done ? fins.outcome : total.outcome;
    return rep;
}

BaseDragReport withdrawBaseDrag(Module1& m, float previous, double velocity, Progress& mainProgress)
{
    BaseDragReport rep;
    m.BasePressureAvailable = BasePressureFlag::False;
    m.BaseDragCoefficient = previous;
    rep.baseDragCoefficient = previous;
    rep.writes.push_back(showNumber(ControlId::SOLVER_BaseCd, previous, kPatternMainBaseCd));
    const DragReport fins = CdFnMn(m, velocity, mainProgress);
    rep.writes.insert(rep.writes.end(), fins.writes.begin(), fins.writes.end());
    const DragReport total = TOTALDRAG(m, velocity, mainProgress);
    rep.writes.insert(rep.writes.end(), total.writes.begin(), total.writes.end());
    rep.outcome = fins.outcome != Outcome::Done ? fins.outcome : total.outcome;
    return rep;
}

} // namespace velmora::baseflow
