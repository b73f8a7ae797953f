#include "stability/CenterOfPressure.h"

#include <cmath>

#include "geometry/FinGeometry.h"
#include "model/Vocabulary.h"
#include "platform/Checked.h"
#include "platform/Constants.h"
#include "platform/Single.h"
#include "stability/ForcePlot.h"

namespace velmora::stability {

namespace {

// a / b, or 0 with a note when the quotient has no value.
double quotientOrZero(double a, double b, NoteKind kind, const char* note, CenterOfPressureReport& rep)
{
    if (b == 0.0 || !std::isfinite(a / b)) {
        rep.notes.add(kind, note);
        return 0.0;
    }
    return a / b;
}

// Whether a sum of signed parts is large enough against the sum of their
// magnitudes to divide a moment by: the quotient is then a position within
// 1 / kPlaceableShare times the largest arm.
bool placeable(double sum, double magnitudes)
{
    return std::isfinite(magnitudes) && std::fabs(sum) >= kPlaceableShare * magnitudes;
}

} // namespace

UnitsTestReport UNITSTEST(Module1& m, float thickness)
{
    UnitsTestReport rep;
    rep.outcome = Outcome::Done;
    for (const char* problem : finInputProblems(m, thickness)) rep.messages.emplace_back(problem);
    rep.finDataMissing = !rep.messages.empty();
    m.FinDataMissing = rep.finDataMissing ? 1 : 0;
    return rep;
}

std::string incompleteFinsText(Module1& m)
{
    if (!finSizesEntered(m)) return {};
    const DragInputGaps gaps = dragInputGaps(m);
    if (!gaps.fin) return {};
    return gaps.text() + ". " + kMsgFinDataIncomplete;
}

CenterOfPressureReport CPSOLVE(Module1& m, double velocity, Progress& /*progress*/)
{
    CenterOfPressureReport rep;
    auto& w = rep.writes;

    // A current body-flow solution is needed; refused before anything changes.
    const int n = m.BodyStationCount;
    const int meridians = m.MeridianCount;
    if (m.ElementAxialVelocity(1) == 0 || m.FlowSolutionStatus == FlowSolutionState::Stale || n < 2 ||
        meridians < 2) {
        rep.message = kMsgPerformCfd;
        w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 1, kMsgPerformCfd));
        return rep;
    }

    // Fin inputs; the last failing check's message stands in panel 2 until
    // the fin values in use are chosen.
    const UnitsTestReport units = UNITSTEST(m, singleOrZero(m.FinThickness));
    for (const auto& message : units.messages) w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 2, message));

    // The force plot: its panel text, no "no mesh" overlay, the Cp label.
    w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 1, kMsgForcePlot));
    w.push_back({ControlId::PressureCenter_NoMeshDefined, WindowAction::Hide, 0, {}, {}});
    w.push_back(showText(ControlId::PressureCenter_PlotLabel, "Cp"));

    // The ring of station N-1 counts as 0 (and is cleared on publishing).
    auto cp = [&](int station, int meridian) -> double {
        if (station > n - 2) return 0.0;
        return m.BodySurfaceCp(static_cast<long>(station - 1) * meridians + meridian);
    };

    // Station forces from the pressure difference across the pitching
    // plane, their sum and their moment about the nose tip.
    rep.stationCount = n;
    rep.UpperSurfaceCp.assign(static_cast<std::size_t>(n), 0.0);
    rep.LowerSurfaceCp.assign(static_cast<std::size_t>(n), 0.0);
    rep.StationDistance.assign(static_cast<std::size_t>(n), 0.0);
    rep.StationNormalForce.assign(static_cast<std::size_t>(n), 0.0);
    const double q = 0.5 * m.AmbientDensity * velocity * velocity;
    double ForceSum = 0, MomentSum = 0, ForceMagnitudes = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const auto k = static_cast<std::size_t>(i);
        rep.UpperSurfaceCp[k] = static_cast<float>(cp(i, meridians / 2 - 1));
        rep.LowerSurfaceCp[k] = static_cast<float>(cp(i, meridians - 1));
        rep.StationDistance[k] = m.BodyStationX(i) - m.NoseTipX;
        if (m.FinDragForce >= 0) {
            const double area = (m.BodyStationX(i + 1) - m.BodyStationX(i)) * 2.0 * m.BodyStationRadius(i);
            rep.StationNormalForce[k] = area * q * (rep.LowerSurfaceCp[k] - rep.UpperSurfaceCp[k]);
        }
        MomentSum += rep.StationDistance[k] * rep.StationNormalForce[k];
        ForceSum += rep.StationNormalForce[k];
        ForceMagnitudes += std::fabs(rep.StationNormalForce[k]);
    }

    // Body slope and centre. The moment of the station forces, per unit of
    // q S alpha, stands in the rocket's centre whether or not the body alone
    // has one.
    const double AngleOfAttackRadians = kPi * m.AngleOfAttack / 180.0;
    const bool atAngle = m.AngleOfAttack != 0;
    const double forceScale = static_cast<double>(m.ReferenceArea) * q * AngleOfAttackRadians;
    double bodyMoment = 0, bodyMagnitudes = 0;
    if (!atAngle) {
        rep.BodyNormalForceSlope = 0.001;
        rep.BodyCenterOfPressure = 0;
    } else {
        rep.BodyCenterOfPressure = quotientOrZero(MomentSum, ForceSum, NoteKind::NoBodyForce, kMsgNoBodyForce, rep);
        rep.BodyNormalForceSlope = quotientOrZero(ForceSum, forceScale, NoteKind::NoBodyForce, kMsgNoBodyForce, rep);
        rep.BodyCenterDefined =
            ForceSum != 0 && std::isfinite(MomentSum / ForceSum) && rep.BodyNormalForceSlope != 0;
        if (rep.BodyCenterDefined && !placeable(ForceSum, ForceMagnitudes)) {
            rep.BodyCenterDefined = false;
            rep.notes.add(NoteKind::NoBodyCentre, kMsgNoBodyCentre);
        }
        if (rep.BodyNormalForceSlope != 0) {
            bodyMoment = rep.BodyCenterDefined ? rep.BodyCenterOfPressure * rep.BodyNormalForceSlope
                                               : MomentSum / forceScale;
            bodyMagnitudes = std::fabs(ForceMagnitudes / forceScale);
        }
        if (!rep.BodyCenterDefined) rep.BodyCenterOfPressure = 0;
    }

    // Fin values in use.
    w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 2, ""));
    rep.FinCenterInUse = m.FinCenterOfPressure;
    rep.FinSlopeInUse = m.FinNormalForceSlope;
    const bool finsInUse = m.FinCenterOfPressure != 0 && m.FinNormalForceSlope != 0 && atAngle;
    if (!finsInUse) {
        rep.FinCenterInUse = 0;
        rep.FinSlopeInUse = 0;
        w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 2, kMsgFinAnalysisNeeded));
    }

    // The rocket's centre and its ratio to the length: placed only at an
    // angle and where the slopes of body and fins do not cancel.
    rep.TotalNormalForceSlope = rep.FinSlopeInUse + rep.BodyNormalForceSlope;
    const double rocketMoment = rep.FinCenterInUse * rep.FinSlopeInUse + bodyMoment;
    const double length = m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
    if (!atAngle) {
        rep.TotalCenterOfPressure = quotientOrZero(
            rep.FinCenterInUse * rep.FinSlopeInUse + rep.BodyCenterOfPressure * rep.BodyNormalForceSlope,
            rep.TotalNormalForceSlope, NoteKind::NoSlopeSum, kMsgNoSlopeSum, rep);
    } else {
        rep.TotalCenterOfPressure =
            quotientOrZero(rocketMoment, rep.TotalNormalForceSlope, NoteKind::NoSlopeSum, kMsgNoSlopeSum, rep);
        rep.TotalCenterDefined =
            rep.TotalNormalForceSlope != 0 && std::isfinite(rocketMoment / rep.TotalNormalForceSlope);
        if (rep.TotalCenterDefined &&
            !placeable(rep.TotalNormalForceSlope, std::fabs(rep.FinSlopeInUse) + bodyMagnitudes)) {
            rep.TotalCenterDefined = false;
            rep.notes.add(NoteKind::NoRocketCentre, kMsgNoRocketCentre);
        }
        if (!rep.TotalCenterDefined) rep.TotalCenterOfPressure = 0;
    }
    const float ratio = singleOrZero(quotientOrZero(rep.TotalCenterOfPressure, length, NoteKind::NoRocketLength, kMsgNoRocketLength, rep));
    rep.TotalCenterDefined = rep.TotalCenterDefined && !rep.notes.has(NoteKind::NoRocketLength);

    // Fins entered but never solved: the main window shows no rocket value
    // that leaves them out.
    const bool noFinSolution = atAngle && !units.finDataMissing && rep.FinSlopeInUse == 0 &&
                               m.PanelSolutionStatus != PanelSolutionState::Solved;
    // Fins partly entered: no rocket value can hold them.
    const std::string incompleteFins = incompleteFinsText(m);

    // CN and Cm.
    for (ControlId box : {ControlId::PressureCenter_CNROCKET, ControlId::PressureCenter_CNFORCES,
                          ControlId::PressureCenter_CMFORCES})
        w.push_back(emptyBox(box));
    double cn = 0, cmoment = 0;
    if (atAngle) {
        cn = AngleOfAttackRadians * rep.TotalNormalForceSlope;
        // Without a centre the moment itself gives Cm.
        cmoment = rep.TotalCenterDefined
                      ? cn * -static_cast<double>(ratio)
                      : quotientOrZero(-AngleOfAttackRadians * rocketMoment, length, NoteKind::NoRocketLength,
                                       kMsgNoRocketLength, rep);
        w.push_back(showNumber(ControlId::PressureCenter_CNROCKET, rep.TotalNormalForceSlope, kPatternCoefficient));
        w.push_back(showNumber(ControlId::PressureCenter_CNFORCES, cn, kPatternCoefficient));
        w.push_back(showNumber(ControlId::PressureCenter_CMFORCES, cmoment, kPatternCoefficient));
        if (!noFinSolution && incompleteFins.empty()) {
            w.push_back(showNumber(ControlId::SOLVER_CNFORCES, cn, kPatternCoefficient));
            w.push_back(showNumber(ControlId::SOLVER_CMFORCES, cmoment, kPatternCoefficient));
        }
    }
    for (const Note& note : rep.notes) w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 2, note.text));

    // Publish.
    for (long k = static_cast<long>(n - 2) * meridians + 1; k <= static_cast<long>(n - 1) * meridians; ++k)
        m.BodySurfaceCp(k) = 0;
    m.Pi = kPi;
    m.NormalForceCoefficient = cn;
    m.PitchingMomentCoefficient = cmoment;
    m.CenterOfPressureRatio = rep.TotalCenterDefined ? ratio : 0.0f;
    m.CenterOfPressureUndefined = rep.TotalCenterDefined ? 0 : 1;
    if (!atAngle) m.FinNormalForce = 0;
    if (m.FinPlanformCode > 0) storeFinCorners(m, finCornersOnGrid(m));

    // The plot's range, then the result boxes (the window draws the plot
    // from the report).
    const ForcePlotRange range = forcePlotRange(rep.UpperSurfaceCp, rep.LowerSurfaceCp);
    rep.plotHigh = range.high;
    rep.plotLow = range.low;
    w.push_back(showNumber(ControlId::PressureCenter_MAX, range.high, kPatternPlotRange));
    w.push_back(showNumber(ControlId::PressureCenter_MIN, range.low, kPatternPlotRange));
    w.push_back(showNumber(ControlId::PressureCenter_MODELAOA, m.AngleOfAttack, kPatternAngle));
    // A value the run did not compute or place is an empty box.
    auto showIf = [&w](bool has, ControlId box, double value) {
        w.push_back(has ? showNumber(box, value, kPatternSlope) : emptyBox(box));
    };
    showIf(finsInUse, ControlId::PressureCenter_XCPFINS, rep.FinCenterInUse);
    showIf(finsInUse, ControlId::PressureCenter_CNFINS, rep.FinSlopeInUse);
    showIf(rep.TotalCenterDefined, ControlId::PressureCenter_XCPTOTALS, rep.TotalCenterOfPressure);
    showIf(rep.TotalCenterDefined, ControlId::PressureCenter_XLRATIOS, ratio);
    if (noFinSolution || !incompleteFins.empty()) {
        for (ControlId box : {ControlId::SOLVER_CNFORCES, ControlId::SOLVER_CMFORCES, ControlId::SOLVER_XLRATIOS})
            w.push_back(emptyBox(box));
        w.push_back(setPanel(ControlId::SOLVER_StatusBar1, 2,
                             incompleteFins.empty() ? std::string(kMsgNoFinSolution) : incompleteFins));
    } else {
        showIf(rep.TotalCenterDefined, ControlId::SOLVER_XLRATIOS, ratio);
        // At an angle, why the main window shows no XCp/L.
        for (NoteKind why : {NoteKind::NoRocketCentre, NoteKind::NoSlopeSum, NoteKind::NoRocketLength})
            if (atAngle && !rep.TotalCenterDefined && rep.notes.has(why)) {
                for (const Note& note : rep.notes)
                    if (note.kind == why) w.push_back(setPanel(ControlId::SOLVER_StatusBar1, 2, note.text));
                break;
            }
    }
    showIf(rep.BodyCenterDefined, ControlId::PressureCenter_XCPBODYS, rep.BodyCenterOfPressure);
    w.push_back(showNumber(ControlId::PressureCenter_CNBODYS, rep.BodyNormalForceSlope, kPatternSlope));
    w.push_back(showNumber(ControlId::PressureCenter_BODYFORCES, m.BodyDragForce, kPatternSlope));
    w.push_back(showNumber(ControlId::PressureCenter_CXFORCES, m.TotalDragCoefficient, kPatternSlope));
    showIf(finsInUse, ControlId::PressureCenter_FINAOAFORCES, m.FinNormalForce);
    // The fin drag is not computed while fin data are missing (the main window's fin drag boxes are empty too).
    showIf(!dragInputGaps(m).fin, ControlId::PressureCenter_FINFORCES, m.FinDragForce);
    w.push_back(showNumber(ControlId::PressureCenter_LUGFORCES, m.LaunchLugDragForce, kPatternSlope));

    // Done.
    w.push_back(setPanel(ControlId::PressureCenter_StatusBar1, 1, kMsgAnalysisComplete));
    rep.outcome = Outcome::Done;
    return rep;
}

} // namespace velmora::stability
