#include "finpanel/FinForce.h"

#include <cmath>

#include "finpanel/PanelMath.h"

namespace velmora::finpanel {

namespace {

// Net forces smaller than this fraction of q * span * chord are rounding noise
// of the single-precision pressure coefficients, not lift.
constexpr double kNoLift = 1e-6;

double compressibilityFactor(const FinSectionInput& in)
{
    if (in.compressibleFlow != 1) return 1.0;
    const double m = in.freeStreamMachNumber;
    return csqrt(1.0 - m * m, "Mach number of 1 or more in compressible flow");
}

} // namespace

double sectionNormalForce(const SectionPoints& section, const PanelSolution& solution)
{
    double sum = 0.0;
    for (int j = 1; j <= solution.count; ++j)
        sum -= forceCp(solution, j) *
               (section.x[solution.cornerIndex[j][2]] - section.x[solution.cornerIndex[j][1]]);
    return finite(sum, "non-finite section force");
}

FinForces CNFINS(const FinSectionInput& in, const SectionPoints& section, const PanelSolution& solution)
{
    FinForces out;
    if (in.angleOfAttack == 0.0) {
        out.message = kMsgZeroAngle;
        return out;
    }
    if (in.finMeanChord == 0.0 || in.finSpan == 0.0 || in.referenceArea == 0.0f || in.finCount <= 0) {
        out.message = kMsgMissingFinData;
        return out;
    }

    const int n = solution.count;
    const double q = 0.5 * in.ambientDensity * in.freeStreamVelocity * in.freeStreamVelocity;
    const double beta = compressibilityFactor(in);
    const double finFactor = in.finCount * 0.5;

    double sumF = 0.0;
    double sumM = 0.0;
    for (int j = 1; j <= n; ++j) {
        const double dx = section.x[solution.cornerIndex[j][2]] - section.x[solution.cornerIndex[j][1]];
        const double strip = -(q * cdiv(forceCp(solution, j), beta)) * dx * in.finSpan;
        const double d = strip * finFactor;
        sumM += (solution.controlPointX[j] + in.finMeanChord / 2.0) * d;
        sumF += d;
    }
    out.forceSum = finite(sumF, "non-finite fin normal force");
    out.momentSum = finite(sumM, "non-finite fin moment");
    out.outcome = Outcome::Done;

    if (std::fabs(sumF / finFactor) < kNoLift * q * std::fabs(in.finSpan * in.finMeanChord)) {
        // No lift (a source solution carries no circulation): no slope, no
        // force, and no centre of pressure to speak of.
        return out;
    }

    const double sweep = std::atan(cdiv(in.finTipDistance - static_cast<double>(in.finRootDistance), in.finSpan));
    out.centerOfPressure =
        finite(static_cast<double>(in.finRootDistance) + cdiv(sumM, sumF) + 0.5 * in.finSpan * std::tan(sweep));
    const double alpha = kPi * in.angleOfAttack / 180.0;
    out.normalForceSlope = cdiv(sumF, alpha * static_cast<double>(in.referenceArea) * q, "zero dynamic pressure");
    out.normalForce = cdiv(sumF, finFactor);
    return out;
}

} // namespace velmora::finpanel
