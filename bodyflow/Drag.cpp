#include "bodyflow/Drag.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "bodyflow/BodyFlow.h"
#include "bodyflow/Grid.h"
#include "geometry/FinGeometry.h"
#include "model/Vocabulary.h"
#include "platform/Checked.h"
#include "platform/Constants.h"
#include "platform/Single.h"

namespace velmora {

namespace {

void say(Progress& progress, DragReport& report, int panel, const char* text)
{
    progress.status(panel, text);
    report.panelLog.push_back({panel, text});
}

// A failed drag routine shows nothing of itself: no box writes, its reason in panel 2.
void fail(Progress& progress, DragReport& report, const char* why)
{
    report.outcome = Outcome::Failed;
    report.writes.clear();
    report.message = why;
    say(progress, report, 2, why);
}

double bodyLength(const Module1& m)
{
    return m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
}

// Skin-friction coefficient of a flat plate by Reynolds number: the laminar
// law below the transition Reynolds number, the turbulent one from it on.
// A polished (waxed) finish keeps the boundary layer laminar longer.
double skinFriction(double re, int16_t finish)
{
    if (!(re > 0.0)) return 0.0;  // no flow, no friction
    double transition;
    if (finish == 1 || finish == 2) transition = 100000.0;
    else if (finish == 3) transition = 500000.0;
    else return 0.0;
    const double lg = std::log10(re);
    if (re < transition) return std::pow(10.0, 0.1836 - 0.51 * lg);
    return std::pow(10.0, -1.4 - 0.16 * lg);
}

} // namespace

DragFlow liveDragFlow(const Module1& m)
{
    return {m.FreeStreamVelocity, m.AmbientDensity, m.AngleOfAttack, m.DynamicViscosity};
}

RocketDragResult computeRocketDrag(const Module1& m, std::span<const double> stationRadius,
                                   std::span<const float> stationArea, std::span<const float> panelFlux,
                                   float meridianCount, float stationCount, const DragFlow& flow)
{
    RocketDragResult r;
    if (!(stationCount >= 0.0f && stationCount <= 100000.0f && meridianCount >= 1.0f && meridianCount <= 100000.0f))
        throw std::invalid_argument("body drag: station or meridian count out of range");
    const int stations = static_cast<int>(stationCount);
    const int meridians = static_cast<int>(meridianCount);
    if (stations < 0 || meridians < 1 || stationRadius.size() <= static_cast<std::size_t>(stations) ||
        stationArea.size() <= static_cast<std::size_t>(stations) ||
        (stations > 1 && panelFlux.size() <= static_cast<std::size_t>((stations - 1) * meridians)))
        throw std::invalid_argument("body drag: tables shorter than the station and panel counts");

    // Stations lie one grid spacing apart.
    const double dx = cdiv(bodyLength(m), m.MeshAxialNodeCount - 3.0, "grid spacing");
    const double alpha = flow.angleOfAttack * kPi / 180.0;

    // Each band between two stations carries the mean axial momentum flux of
    // its panels; the share sin^2(theta) of it acts on the inclined band as a
    // pressure, forward where the body grows and backward where it shrinks.
    double pressure = 0.0;
    for (int i = 1; i <= stations - 1; ++i) {
        const double r0 = stationRadius[static_cast<std::size_t>(i)];
        const double r1 = stationRadius[static_cast<std::size_t>(i) + 1];
        const double dr = r1 - r0;
        const double theta = std::atan(dr / dx);
        double sum = 0.0;
        for (int k = (i - 1) * meridians + 1; k <= i * meridians; ++k) sum += panelFlux[static_cast<std::size_t>(k)];
        const double mean = sum / static_cast<double>(meridianCount);
        const double side = std::sqrt(dx * dx + dr * dr);
        const double band = side * 2.0 * kPi * (r1 + r0) / 2.0;
        const double s2 = std::sin(theta) * std::sin(theta);
        const float a0 = stationArea[static_cast<std::size_t>(i)];
        const float a1 = stationArea[static_cast<std::size_t>(i) + 1];
        if (a1 > a0) pressure = pressure + s2 * band * mean;
        else if (a1 < a0) pressure = pressure - s2 * band * mean;
    }

    const double d = m.NoseConeDiameter;
    r.referenceArea = toSingle(d * d * kPi / 4.0);
    const double sRef = static_cast<double>(r.referenceArea);
    const double q = 0.5 * flow.density * flow.velocity * flow.velocity * sRef;
    float cd = toSingle(cdiv(pressure, q, "dynamic pressure"));

    // Cross flow on the whole body at angle of attack: |sin^3|, the drag of
    // a body of revolution being the same at -alpha as at +alpha.
    const double length = bodyLength(m);
    const double sa = std::fabs(std::sin(alpha));
    cd = toSingle(static_cast<double>(cd) + sa * sa * sa * 1.1 * d * length / sRef);
    if (cd < 0.0f) {
        cd = 0.0f;
        r.notes.add(NoteKind::BaseSeparation, kMsgSeparation);
    }
    r.pressureCd = cd;

    // Empirical base drag, scaled by the cube of the base-to-body diameter
    // ratio, while no base-flow solution supplies it. The relation takes a
    // positive forebody drag; without one (a separation, or a closed tail)
    // the base drag is 0, so that no earlier run's value is kept.
    if (m.BasePressureAvailable == BasePressureFlag::False) {
        const double cdp = static_cast<double>(cd);
        double ratio = 0.0;
        if (m.ActiveBodyGeometry == 0)
            ratio = m.TransitionLength == 0.0 ? 1.0 : m.TransitionLength > 0.0 ? m.TransitionDiameter / d : 0.0;
        else if (m.ActiveBodyGeometry == 1) ratio = 2.0 * static_cast<double>(m.FreeFormBaseRadius) / d;
        r.baseDragSet = m.ActiveBodyGeometry == 0 || m.ActiveBodyGeometry == 1;
        if (cdp > 0.0 && ratio > 0.0) r.baseDragCoefficient = toSingle(ratio * ratio * ratio * 0.029 / std::sqrt(cdp));
    }

    r.reynoldsNumber = flow.density * flow.velocity * length / flow.viscosity;
    if (!std::isfinite(r.pressureCd) || !std::isfinite(r.baseDragCoefficient) || !std::isfinite(r.reynoldsNumber))
        throw MathFailure("body drag");
    return r;
}

void publishRocketDrag(Module1& m, const RocketDragResult& r, float& pressureCd, Progress& progress,
                       DragReport& report)
{
    m.Pi = kPi;
    m.ReferenceArea = r.referenceArea;
    pressureCd = r.pressureCd;
    for (const Note& n : r.notes) {
        report.notes.add(n.kind, n.text);
        say(progress, report, 1, n.text.c_str());
    }
    if (r.baseDragSet) m.BaseDragCoefficient = r.baseDragCoefficient;
    report.writes.push_back(showNumber(ControlId::SOLVER_ReNumber, r.reynoldsNumber, kPatternReynolds));
}

DragReport ROCKETDRAG(Module1& m, std::span<const float> stationArea, std::span<const float> panelFlux,
                      float& pressureCd, float meridianCount, float stationCount, Progress& progress)
{
    DragReport report;
    try {
        const std::span<const double> radius(m.BodyStationRadius.data(),
                                             static_cast<std::size_t>(m.BodyStationRadius.size()));
        const RocketDragResult r =
            computeRocketDrag(m, radius, stationArea, panelFlux, meridianCount, stationCount, liveDragFlow(m));
        publishRocketDrag(m, r, pressureCd, progress, report);
    } catch (const MathFailure&) {
        report.outcome = Outcome::Failed;
    }
    return report;
}

namespace {

void finAndLugDrag(Module1& m, double velocity, Progress& progress, DragReport& report)
{
    auto& w = report.writes;
    float finSurface = 0.0f, finInterference = 0.0f, lug = 0.0f;
    const double d = m.NoseConeDiameter;

    // Input checks. A body dimension missing, or a fin or lug size out of
    // range, leaves out both fins and lug; otherwise each component that
    // lacks an input (dragInputGaps) is left out alone, and panel 2 says
    // which. The totals hold every component computed.
    const char* failed = nullptr;
    bool finBoxesEmptied = true;
    DragInputGaps gaps;
    if ((failed = missingMainDimension(m))) {
        finBoxesEmptied = false;
    } else {
        gaps = dragInputGaps(m);
        // A negative or unbounded size gives no fin or lug drag, not a negative one.
        failed = badFinDimension(m);
    }

    // Everything is computed before anything is stored: a value that does
    // not fit its store fails the routine with the state as it was.
    std::optional<float> referenceArea;
    std::optional<double> meanChord;
    std::optional<FinCorners> corners;
    if (failed) {
        say(progress, report, 2, failed);
        if (finBoxesEmptied) {
            w.push_back(emptyBox(ControlId::SOLVER_FinSurfaceDrag));
            w.push_back(emptyBox(ControlId::SOLVER_FinInterferenceDrag));
            w.push_back(emptyBox(ControlId::SOLVER_LaunchLugDrag));
        }
    } else {
        const std::string lacking = gaps.text();
        if (!lacking.empty()) say(progress, report, 2, lacking.c_str());
        referenceArea = toSingle(kPi * (d / 2.0) * (d / 2.0));
        const double sRef = static_cast<double>(*referenceArea);
        // Unpainted surfaces drag a quarter more.
        const double finish = m.SurfaceFinishCode == 1 ? 1.25 : 1.0;

        if (gaps.fin) {
            w.push_back(emptyBox(ControlId::SOLVER_FinSurfaceDrag));
            w.push_back(emptyBox(ControlId::SOLVER_FinInterferenceDrag));
        } else {
            const double cr = m.FinRootChord;
            meanChord = finMeanChord(m);
            const double finArea = m.FinCount * m.FinSpan * meanChord.value_or(m.FinMeanChord);

            // Edge-shape drag factor by thickness ratio.
            const double tc = m.FinThickness / cr;
            double k = 0.0;
            if (m.FinEdgeCode == 1) k = 0.875 * tc;
            else if (m.FinEdgeCode == 2) k = 0.5 * tc;
            else if (m.FinEdgeCode == 3) k = 0.01;

            finSurface = toSingle(finArea * k / sRef * finish, kMsgFinDragTooLarge);
            finInterference = toSingle(m.FinCount * (d * cr * k / sRef) / 2.0 * finish, kMsgFinDragTooLarge);
            w.push_back(showNumber(ControlId::SOLVER_FinSurfaceDrag, finSurface, kPatternCd));
            w.push_back(showNumber(ControlId::SOLVER_FinInterferenceDrag, finInterference, kPatternCd));

            // Fin corners in the mesh frame, the root on the tube surface.
            corners = finCorners(m, d / 2.0);
        }

        if (gaps.lug) {
            w.push_back(emptyBox(ControlId::SOLVER_LaunchLugDrag));
        } else {
            // Skin friction on the length ahead of the base tube.
            const double lf = m.NoseConeLength + m.BodyTubeLength + m.TransitionLength;
            const double re = m.AmbientDensity * velocity * lf / m.DynamicViscosity;
            const double cf = skinFriction(re, m.SurfaceFinishCode);
            const double lugOuter = m.LaunchLugOuterDiameter;
            const double lugInner = static_cast<double>(m.LaunchLugInnerDiameter);
            const double lugFront = (lugOuter * lugOuter - lugInner * lugInner) * kPi / 4.0;
            const double lugWetted = m.LaunchLugLength * kPi * lugOuter + m.LaunchLugLength * kPi * lugInner;
            lug = toSingle((1.2 * lugFront + cf * lugWetted) / sRef * finish, kMsgLugDragTooLarge);
            w.push_back(showNumber(ControlId::SOLVER_LaunchLugDrag, lug, kPatternCd));
        }
    }

    // Totals, on every path.
    const double base = static_cast<double>(m.BaseDragCoefficient);
    const double body = static_cast<double>(m.BodyPressureDragCoefficient);
    const float total = toSingle(base + body + finSurface + finInterference + lug, kMsgDragTooLarge);
    w.push_back(showNumber(ControlId::SOLVER_TotalCd, total, kPatternCd));
    const double q = 0.5 * m.AmbientDensity * velocity * velocity;
    const double sRef = static_cast<double>(referenceArea.value_or(m.ReferenceArea));
    const double totalForce = finite(static_cast<double>(total) * q * sRef, kMsgDragTooLarge);
    w.push_back(showNumber(ControlId::SOLVER_FORCE, totalForce, kPatternForce));
    const double bodyForce = finite((base + body) * q * sRef, kMsgDragTooLarge);
    w.push_back(showNumber(ControlId::PressureCenter_BODYFORCES, bodyForce, kPatternForce));
    // The drag of one fin; without fins there is none.
    const double finForce = finite((m.FinCount == 0)
                                       ? 0.0
                                       : (static_cast<double>(finSurface) + finInterference) / m.FinCount * q * sRef,
                                   kMsgDragTooLarge);
    w.push_back(showNumber(ControlId::PressureCenter_FINFORCES, finForce, kPatternForce));
    const double finNormalForce = m.AngleOfAttack == 0.0 ? 0.0 : m.FinNormalForce;
    w.push_back(showNumber(ControlId::PressureCenter_FINAOAFORCES, finNormalForce, kPatternForce));
    const float lugForce = toSingle(static_cast<double>(lug) * q * sRef, kMsgDragTooLarge);
    w.push_back(showNumber(ControlId::PressureCenter_LUGFORCES, lugForce, kPatternForce));
    w.push_back(showNumber(ControlId::PressureCenter_CXFORCES, total, kPatternCd));
    if (m.FlowSolutionStatus == FlowSolutionState::Stale) {
        for (ControlId box : {ControlId::SOLVER_FinInterferenceDrag, ControlId::SOLVER_LaunchLugDrag,
                              ControlId::SOLVER_FinSurfaceDrag, ControlId::SOLVER_FORCE, ControlId::SOLVER_TotalCd})
            w.push_back(emptyBox(box));
    }

    // Publish.
    if (referenceArea) m.ReferenceArea = *referenceArea;
    if (meanChord) m.FinMeanChord = *meanChord;
    if (corners) storeFinCorners(m, *corners);
    m.FinSurfaceDragCoefficient = finSurface;
    m.FinInterferenceDragCoefficient = finInterference;
    m.LaunchLugDragCoefficient = lug;
    m.BodyDragForce = bodyForce;
    m.FinDragForce = finForce;
    m.FinNormalForce = finNormalForce;
    m.LaunchLugDragForce = lugForce;
    m.TotalDragCoefficient = total;
}

} // namespace

DragReport CdFnMn(Module1& m, double velocity, Progress& progress)
{
    DragReport report;
    // Events may run before anything is written; an ABORT then ends it
    // with nothing changed.
    if (progress.maybePump() && m.AbortRequest == AbortFlag::Yes) {
        report.outcome = Outcome::Aborted;
        return report;
    }
    try {
        finAndLugDrag(m, velocity, progress, report);
    } catch (const MathFailure& e) {
        const std::string_view what = e.what();
        fail(progress, report,
             what == kMsgFinDragTooLarge ? kMsgFinDragTooLarge
             : what == kMsgLugDragTooLarge ? kMsgLugDragTooLarge
                                           : kMsgDragTooLarge);
    }
    return report;
}

DragReport TOTALDRAG(Module1& m, double velocity, Progress& progress)
{
    (void)velocity;
    DragReport report;
    const double pi = m.Pi;
    const long stations = std::clamp<long>(m.BodyStationCount, 0, decltype(m.BodyStationRadius)::upper);
    double largest = pi * m.BodyStationRadius(1) * m.BodyStationRadius(1);
    for (long i = 1; i <= stations; ++i) {
        const double a = pi * m.BodyStationRadius(i) * m.BodyStationRadius(i);
        if (a > largest) largest = a;
    }
    const double total = (static_cast<double>(m.BaseDragCoefficient) + m.BodyPressureDragCoefficient) +
                         m.FinSurfaceDragCoefficient + m.FinInterferenceDragCoefficient + m.LaunchLugDragCoefficient;
    // Without a cross-section there is nothing to refer the coefficient to.
    if (!(largest > 0.0 && std::isfinite(largest))) {
        report.writes.push_back(emptyBox(ControlId::SOLVER_CdMax));
        return report;
    }
    const double cdMax = total * static_cast<double>(m.ReferenceArea) / largest;
    if (std::isfinite(cdMax)) report.writes.push_back(showNumber(ControlId::SOLVER_CdMax, cdMax, kPatternCd));
    else fail(progress, report, kMsgCrossSectionTooSmall);
    return report;
}

} // namespace velmora
