#include "bodyflow/Grid.h"

#include <cmath>

#include "model/InputRange.h"
#include "model/Vocabulary.h"
#include "platform/Checked.h"
#include "platform/Single.h"

namespace velmora {

namespace {

bool badLength(double v) { return !std::isfinite(v) || v < 0.0; }

bool knownNoseShape(const std::string& s)
{
    return s == "CONICAL" || s == "TANGENT OGIVE" || s == "SEARS-HAACK" || s == "ELLIPTICAL" || s == "PARABOLIC";
}

bool wholeMeshSize(double v) { return std::isfinite(v) && v == std::floor(v) && v >= 10.0 && v <= 50.0; }

GridReport refuse(Progress& progress, const char* why, GridReport report)
{
    report.outcome = Outcome::Refused;
    report.message = why;
    progress.status(2, why);
    return report;
}

} // namespace

const char* badBodyDimension(const Module1& m)
{
    // The three main dimensions must be entered (0 asks for them), so their
    // texts offer no 0.
    const NamedSize sizes[] = {
        {"Nose cone length must be between 0.000001 and 1000000.", m.NoseConeLength},
        {"Nose cone diameter must be between 0.000001 and 1000000.", m.NoseConeDiameter},
        {"Body tube length must be between 0.000001 and 1000000.", m.BodyTubeLength},
        {"Transition diameter must be 0 or between 0.000001 and 1000000.", m.TransitionDiameter},
        {"Transition length must be 0 or between 0.000001 and 1000000.", m.TransitionLength},
        {"Base tube length must be 0 or between 0.000001 and 1000000.", m.BaseTubeLength},
    };
    return firstSizeOutOfRange(sizes);
}

const char* baseTubeRefusal(const Module1& m)
{
    return m.ActiveBodyGeometry == 0 && m.TransitionDiameter == 0.0 && m.BaseTubeLength > 0.0
               ? kMsgBaseTubeWithoutTransition
               : nullptr;
}

const char* gridRefusal(const Module1& m)
{
    if (const char* bad = badBodyDimension(m)) return bad;
    if (const char* missing = missingMainDimension(m)) return missing;
    if (const char* layout = baseTubeRefusal(m)) return layout;
    if (!wholeMeshSize(m.MeshAxialNodeCount) || !wholeMeshSize(m.MeshRadialNodeCount)) return kMsgMeshSizeRange;
    if (!knownNoseShape(m.NoseShapeName)) return kMsgUnknownNoseShape;
    if (m.NoseShapeName == "SEARS-HAACK" && !(std::isfinite(m.SearsHaackExponent) && m.SearsHaackExponent > 0.0f))
        return kMsgBadGeometryData;
    if (!(std::isfinite(m.DomainAspectRatio) && m.DomainAspectRatio > 0.0f)) return kMsgBadGeometryData;
    if (m.ActiveBodyGeometry != 0 && m.ActiveBodyGeometry != 1) return kMsgBadGeometryData;
    if (m.ActiveBodyGeometry == 1) {
        const int n = m.FreeFormPointCount;
        if (n < 2 || n > 20) return kMsgBadGeometryData;
        for (int s = 1; s <= n; ++s) {
            if (!std::isfinite(m.FreeFormBodyX(s)) || badLength(m.FreeFormBodyRadius(s))) return kMsgBadGeometryData;
        }
    }
    return nullptr;
}

std::string meshInputRefusal(const Module1& m)
{
    if (std::string why = unreadableInputRefusal(m, {InputGroup::Rocket}); !why.empty()) return why;
    // The grid says itself what it refuses of the body.
    if (m.FreeStreamVelocity == 0 || missingMainDimension(m) || badBodyDimension(m)) return {};
    return flightConditionRefusal(m);
}

bool noseRadius(const std::string& shape, double xi, double length, double diameter, float searsHaackExponent,
                double domainHeight, double& radius)
{
    const double r0 = diameter / 2.0;
    if (shape == "CONICAL") {
        // The cone's base radius is taken through the outer boundary, as the
        // gap form of the other segments does: R0 = H - (H - D/2).
        radius = (domainHeight - (domainHeight - diameter / 2.0)) * xi / length;
    } else if (shape == "TANGENT OGIVE") {
        // Parabolic arc with its vertex on the shoulder, tangent to the tube:
        // R0 (1 - (1 - xi/Ln)^2).
        radius = diameter / 2.0 - (xi - length) * (xi - length) / (2.0 * length * (length / diameter));
    } else if (shape == "SEARS-HAACK") {
        const double p = searsHaackExponent;
        radius = r0 * std::pow(1.0 - std::pow(1.0 - xi / length, p), 0.75);
    } else if (shape == "ELLIPTICAL") {
        radius = r0 * std::sqrt(1.0 - (xi - length) * (xi - length) / (length * length));
    } else if (shape == "PARABOLIC") {
        // Parabola with its vertex at the tip: R0 sqrt(xi / Ln).
        radius = 2.0 * std::sqrt(xi * diameter * diameter / (16.0 * length));
    } else {
        return false;
    }
    return true;
}

const char* missingMainDimension(const Module1& m)
{
    if (m.NoseConeLength == 0.0) return kMsgEnterNoseLength;
    if (m.NoseConeDiameter == 0.0) return kMsgEnterNoseDiameter;
    if (m.BodyTubeLength == 0.0) return kMsgEnterBodyTubeLength;
    return nullptr;
}

GridReport GRID(Module1& m, double velocity, Progress& progress, const GridEffectHandler& onEffect)
{
    (void)velocity;
    GridReport report;

    // Events may run before anything is read or written (the grid itself
    // takes well under a millisecond); an ABORT then leaves the grid as it was.
    if (progress.maybePump() && m.AbortRequest == AbortFlag::Yes) {
        report.outcome = Outcome::Aborted;
        return report;
    }

    // Mesh size: an unchosen size means 20 x 20.
    if (m.MeshSizeUserSet == 0) {
        m.MeshAxialNodeCount = 20;
        m.MeshRadialNodeCount = 20;
    }
    if (const char* why = gridRefusal(m)) return refuse(progress, why, std::move(report));

    // A length too large for the single-precision tables fails the grid.
    try {
        // Transition and base tube. A transition closing to radius 0 leaves no
        // room for a base tube; without a transition the tube diameter runs on.
        auto effect = [&](GridEffect e) {
            report.effects.push_back(e);
            if (onEffect) onEffect(e);
        };
        if (m.TransitionLength > 0.0 && m.TransitionDiameter > 0.0) {
            m.BaseTubeDiameter = toSingle(m.TransitionDiameter);
        } else if (m.TransitionDiameter == 0.0) {
            // A length set aside empties its box; a box that gives no length
            // (empty, 0, or a text SOLVE refuses by name) keeps what is typed.
            const bool lengthSetAside = m.BaseTubeLength != 0.0;
            m.BaseTubeLength = 0.0;
            m.BaseTubeDiameter = toSingle(m.NoseConeDiameter);
            if (lengthSetAside) effect(GridEffect::EmptyBaseTubeLengthBox);
            effect(GridEffect::HideMainNoMeshOverlay);
        } else if (m.TransitionLength == 0.0 && m.TransitionDiameter > 0.0) {
            m.BaseTubeDiameter = toSingle(m.NoseConeDiameter);
            effect(GridEffect::HideMainNoMeshOverlay);
        }
        // The box handler run by an effect may have edited the inputs (it may even
        // have rebuilt the grid itself); read them afresh and check them again.
        if (!report.effects.empty()) {
            if (const char* why = gridRefusal(m)) return refuse(progress, why, std::move(report));
        }

        const long N = static_cast<long>(m.MeshAxialNodeCount);
        const long M = static_cast<long>(m.MeshRadialNodeCount);
        m.MeshNodeCount = static_cast<double>(N * M);
        m.MeshElementCount = static_cast<double>(2 * (N - 1) * (M - 1));

        // Triangles: cell (I, J) gives 2c - 1 and 2c with c = (J - 1)(N - 1) + I,
        // both counter-clockwise in the (x, r) plane.
        auto node = [M](long i, long j) { return toSingle((i - 1) * M + j); };
        long e = 0;
        for (long j = 1; j <= M - 1; ++j) {
            for (long i = 1; i <= N - 1; ++i) {
                ++e;
                m.MeshElementNodes(e, 1) = node(i, j);
                m.MeshElementNodes(e, 2) = node(i + 1, j);
                m.MeshElementNodes(e, 3) = node(i, j + 1);
                ++e;
                m.MeshElementNodes(e, 1) = node(i + 1, j);
                m.MeshElementNodes(e, 2) = node(i + 1, j + 1);
                m.MeshElementNodes(e, 3) = node(i, j + 1);
            }
        }

        // Domain: the nose tip two spacings behind the inflow boundary, the last
        // station on the base plane.
        const double noseLength = m.NoseConeLength;
        const double diameter = m.NoseConeDiameter;
        const double tubeLength = m.BodyTubeLength;
        const double transLength = m.TransitionLength;
        const double transDiameter = m.TransitionDiameter;
        const double baseLength = m.BaseTubeLength;
        const double dx = (noseLength + tubeLength + transLength + baseLength) / static_cast<double>(N - 3);
        const double x0 = 2.0 * dx;
        m.NoseTipX = x0;
        m.DomainLength = x0 + noseLength + tubeLength + transLength + baseLength;
        m.DomainHeight = m.DomainLength / static_cast<double>(m.DomainAspectRatio);
        const double H = m.DomainHeight;
        const double x1 = x0 + noseLength;
        const double x2 = x1 + tubeLength;
        const double x3 = x2 + transLength;

        // Axial lines as running sums, so station 3 is exactly the nose tip.
        for (long i = 1; i <= N; ++i) {
            for (long j = 1; j <= M; ++j) m.GridNodeX(i, j) = (i == 1) ? 0.0 : m.GridNodeX(i - 1, j) + dx;
        }

        // The free-form table holds absolute x positions made with the nose-tip
        // position in force when it was drawn; its first point marks the nose
        // shoulder of that time (the editor always puts it there). Place the
        // profile on the present shoulder: shift every point by the difference
        // between the present nose tip and the one the table was made with.
        const bool freeForm = m.ActiveBodyGeometry == 1;
        const int nff = freeForm ? m.FreeFormPointCount : 0;
        double ffShift = 0.0;
        if (freeForm) {
            const double tipWhenMade = m.FreeFormBodyX(1) - noseLength;
            ffShift = x0 - tipWhenMade;
        }

        // Body radius and radial lines, station by station. G is the gap from the
        // body to the outer boundary; it carries over to the next station.
        const std::string shape = m.NoseShapeName;
        const float shExponent = m.SearsHaackExponent;
        double gap = H;
        for (long i = 1; i <= N; ++i) {
            const double x = m.GridNodeX(i, M);
            double radius = 0.0;
            if (x <= x0) {
                gap = H;
                radius = 0.0;
            } else if (x < x1) {
                double r = 0.0;
                if (noseRadius(shape, x - x0, noseLength, diameter, shExponent, H, r)) {
                    radius = r;
                    gap = H - r;
                }
            }
            if (!freeForm) {
                if (x >= x1) {
                    gap = H - diameter / 2.0;
                    radius = diameter / 2.0;
                }
                if (transLength > 0.0 && x > x2) {
                    gap = (x - x2) * (diameter / 2.0 - transDiameter / 2.0) / transLength + (H - diameter / 2.0);
                    radius = H - gap;
                }
                if (transLength > 0.0 && x > x3 && baseLength > 0.0) {
                    gap = H - transDiameter / 2.0;
                    radius = static_cast<double>(m.BaseTubeDiameter / 2.0f);
                }
            } else {
                if (x >= x1) {
                    for (int s = 1; s <= nff - 1; ++s) {
                        const double xa = m.FreeFormBodyX(s) + ffShift;
                        const double xb = m.FreeFormBodyX(s + 1) + ffShift;
                        if (xa <= x && x <= xb && xb != xa) {
                            const double ra = m.FreeFormBodyRadius(s);
                            const double rb = m.FreeFormBodyRadius(s + 1);
                            gap = (x - xa) * (ra - rb) / (xb - xa) + H - ra;
                        }
                    }
                }
                radius = H - gap;
                if (i == N) {
                    radius = m.FreeFormBodyRadius(nff);
                    gap = H - radius;
                }
            }
            m.GridNodeRadius(i, 1) = radius;
            const float dy = toSingle(gap / static_cast<double>(M - 1));
            for (long j = 2; j <= M; ++j) m.GridNodeRadius(i, j) = m.GridNodeRadius(i, j - 1) + static_cast<double>(dy);
        }

        // Node tables: the radial index runs fastest.
        long k = 0;
        for (long i = 1; i <= N; ++i) {
            for (long j = 1; j <= M; ++j) {
                ++k;
                m.MeshNodeX(k) = m.GridNodeX(i, j);
                m.MeshNodeRadius(k) = m.GridNodeRadius(i, j);
            }
        }

        // Triangle centroids.
        const long elements = static_cast<long>(m.MeshElementCount);
        for (long t = 1; t <= elements; ++t) {
            const long a = static_cast<long>(m.MeshElementNodes(t, 1));
            const long b = static_cast<long>(m.MeshElementNodes(t, 2));
            const long c = static_cast<long>(m.MeshElementNodes(t, 3));
            m.ElementCentroidX(t) = (m.MeshNodeX(a) + m.MeshNodeX(b) + m.MeshNodeX(c)) / 3.0;
            m.ElementCentroidRadius(t) =
                toSingle((m.MeshNodeRadius(a) + m.MeshNodeRadius(b) + m.MeshNodeRadius(c)) / 3.0);
        }
    } catch (const MathFailure&) {
        report.outcome = Outcome::Failed;
        report.message = kMsgBadGeometryData;
        progress.status(2, kMsgBadGeometryData);
    }
    return report;
}

} // namespace velmora
