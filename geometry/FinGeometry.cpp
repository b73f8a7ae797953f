#include "geometry/FinGeometry.h"

#include <algorithm>
#include <cmath>

#include "model/InputRange.h"
#include "platform/Constants.h"
#include "platform/Single.h"

namespace velmora {

bool finPlanformDerivesValues(int16_t planformCode)
{
    return planformCode == kFinTriangle || planformCode == kFinRectangle || planformCode == kFinElliptical;
}

FinPlanformValues derivedFinPlanform(const Module1& m)
{
    switch (m.FinPlanformCode) {
    case kFinTriangle: return {singleOrLargest(m.FinTipDistance - m.FinRootChord), 0.0f};
    case kFinRectangle:
    case kFinElliptical: return {singleOrLargest(m.FinTipDistance), singleOrLargest(m.FinRootChord)};
    default: return {m.FinRootDistance, m.FinTipChord};
    }
}

void deriveFinPlanform(Module1& m)
{
    const FinPlanformValues v = derivedFinPlanform(m);
    m.FinRootDistance = v.rootDistance;
    m.FinTipChord = v.tipChord;
}

std::optional<double> finMeanChord(const Module1& m)
{
    switch (m.FinPlanformCode) {
    case kFinTriangle: return m.FinRootChord / 2.0;
    case kFinRectangle: return m.FinRootChord;
    case kFinTapered: return (m.FinRootChord + static_cast<double>(m.FinTipChord)) / 2.0;
    case kFinElliptical: return 0.785 * m.FinRootChord;
    default: return std::nullopt;
    }
}

bool finDataComplete(const Module1& m)
{
    return m.FinRootDistance != 0.0f && m.FinTipDistance != 0.0 && m.FinSpan != 0.0 && m.FinRootChord != 0.0 &&
           m.FinThickness != 0.0;
}

const char* badFinDimension(const Module1& m)
{
    const NamedSize sizes[] = {
        {"Fin root chord must be 0 or between 0.000001 and 1000000.", m.FinRootChord},
        {"Fin tip chord must be 0 or between 0.000001 and 1000000.", m.FinTipChord},
        {"Fin span must be 0 or between 0.000001 and 1000000.", m.FinSpan},
        {"Fin thickness must be 0 or between 0.000001 and 1000000.", m.FinThickness},
        {"Fin tip distance must be 0 or between 0.000001 and 1000000.", m.FinTipDistance},
    };
    if (const char* bad = firstSizeOutOfRange(sizes)) return bad;
    // A triangle's root distance is not typed: it is the tip distance less
    // the root chord, which the refusal names.
    if (m.FinPlanformCode == kFinTriangle) {
        const double root = singleOrLargest(m.FinTipDistance - m.FinRootChord);
        if (m.FinTipDistance != 0.0 && m.FinRootChord != 0.0 && !(root > 0.0 && sizeInRange(root)))
            return kMsgTriangleTipDistance;
    } else if (!sizeInRange(m.FinRootDistance)) {
        return "Fin root distance must be 0 or between 0.000001 and 1000000.";
    }
    const NamedSize lugs[] = {
        {"Launch lug length must be 0 or between 0.000001 and 1000000.", m.LaunchLugLength},
        {"Launch lug outside diameter must be 0 or between 0.000001 and 1000000.", m.LaunchLugOuterDiameter},
        {"Launch lug inside diameter must be 0 or between 0.000001 and 1000000.", m.LaunchLugInnerDiameter},
    };
    return firstSizeOutOfRange(lugs);
}

std::vector<const char*> finInputProblems(Module1& m, double thickness)
{
    std::vector<const char*> problems;
    auto check = [&problems](bool missing, const char* message) {
        if (missing) problems.push_back(message);
    };
    check(thickness == 0.0, kMsgNoFinThickness);
    check(m.FinRootChord == 0.0, kMsgNoFinRoot);
    check(m.FinSpan == 0.0, kMsgNoFinSpan);
    check(m.FinCount == 0, kMsgNoFinCount);
    check(m.FinPlanformCode == 0, kMsgNoFinShape);
    check(m.FinEdgeCode == 0, kMsgNoFinEdge);
    check(m.NoseShapeName.empty(), kMsgNoNoseShape);
    check(m.SurfaceFinishCode == 0, kMsgNoFinish);
    check(m.FinTipDistance == 0.0, kMsgNoTipDistance);
    deriveFinPlanform(m);
    check(m.FinRootDistance == 0.0f, kMsgNoRootDistance);
    return problems;
}

bool finSizesEntered(const Module1& m)
{
    return m.FinThickness != 0.0 || m.FinRootChord != 0.0 || m.FinTipChord != 0.0f || m.FinSpan != 0.0 ||
           m.FinTipDistance != 0.0 || m.FinRootDistance != 0.0f;
}

bool launchLugEntered(const Module1& m)
{
    return m.LaunchLugLength != 0.0 || m.LaunchLugOuterDiameter != 0.0 || m.LaunchLugInnerDiameter != 0.0f;
}

std::string DragInputGaps::text() const
{
    std::string t = fin ? fin : "";
    if (lug) t += (t.empty() ? "" : ". ") + std::string(lug);
    return t;
}

DragInputGaps dragInputGaps(Module1& m)
{
    DragInputGaps gaps;
    if (const auto problems = finInputProblems(m, m.FinThickness); !problems.empty()) gaps.fin = problems.front();
    if (launchLugEntered(m)) {
        if (m.LaunchLugLength == 0.0) gaps.lug = kMsgNoLugLength;
        else if (m.SurfaceFinishCode == 0) gaps.lug = kMsgNoLugFinish;
    }
    return gaps;
}

// ---- corner points --------------------------------------------------------------

FinCorners finCorners(const Module1& m, double rootRadius)
{
    FinCorners c;
    c.rootLeadingX = m.NoseTipX + static_cast<double>(m.FinRootDistance);
    c.rootLeadingY = rootRadius;
    c.tipLeadingX = m.NoseTipX + m.FinTipDistance;
    c.tipLeadingY = rootRadius + m.FinSpan;
    c.tipTrailingX = c.tipLeadingX + static_cast<double>(m.FinTipChord);
    c.tipTrailingY = rootRadius + m.FinSpan;
    c.rootTrailingX = c.rootLeadingX + m.FinRootChord;
    c.rootTrailingY = toSingle(rootRadius, "fin root radius");
    return c;
}

double gridBodyRadiusAt(const Module1& m, double x)
{
    const long n = static_cast<long>(m.MeshAxialNodeCount);
    double r = 0.0;
    for (long i = 1; i <= n - 1; ++i) {
        const double xi = m.GridNodeX(i, 1);
        if ((x > xi && x < m.GridNodeX(i + 1, 1)) || x == xi) r = m.GridNodeRadius(i, 1);
    }
    return r;
}

FinCorners finCornersOnGrid(const Module1& m)
{
    return finCorners(m, gridBodyRadiusAt(m, m.NoseTipX + static_cast<double>(m.FinRootDistance)));
}

void storeFinCorners(Module1& m, const FinCorners& c)
{
    m.FinRootLeadingEdgeX = c.rootLeadingX;
    m.FinRootLeadingEdgeY = c.rootLeadingY;
    m.FinTipLeadingEdgeX = c.tipLeadingX;
    m.FinTipLeadingEdgeY = c.tipLeadingY;
    m.FinTipTrailingEdgeX = c.tipTrailingX;
    m.FinTipTrailingEdgeY = c.tipTrailingY;
    m.FinRootTrailingEdgeX = c.rootTrailingX;
    m.FinRootTrailingEdgeY = c.rootTrailingY;
}

// ---- side view --------------------------------------------------------------------

double baseFaceX(const Module1& m)
{
    return m.NoseTipX + m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
}

double baseFaceRadius(const Module1& m)
{
    if (m.ActiveBodyGeometry == FreeFormBody) return m.FreeFormBaseRadius;
    if (m.TransitionLength == 0.0) return m.NoseConeDiameter / 2.0;
    if (m.TransitionLength > 0.0) return m.TransitionDiameter / 2.0;
    return 0.0;
}

double sideViewExtent(const Module1& m, double bodyEndX)
{
    // The trailing edges' x does not depend on the root radius.
    const FinCorners c = finCorners(m, 0.0);
    return std::max({bodyEndX, c.tipTrailingX, c.rootTrailingX});
}

SideViewScale sideViewScale(const Module1& m, double xMax, double radialUnits)
{
    return {xMax, 500.0 / xMax, radialUnits / (xMax / static_cast<double>(m.DomainAspectRatio))};
}

std::vector<FinStroke> finPlanformStrokes(Module1& m, const FinCorners& c, const SideViewScale& s, double footY)
{
    using Part = FinStroke::Part;
    const double sx = s.sx;
    const double sy = s.sy;
    std::vector<FinStroke> out;
    const int16_t planform = m.FinPlanformCode;
    if (planform == kFinTriangle || planform == kFinRectangle || planform == kFinTapered) {
        // Leading edge, tip chord, trailing edge; the body stands for the root.
        out.push_back({Part::Edge, sx * c.rootLeadingX, sy * c.rootLeadingY, sx * c.tipLeadingX, sy * c.tipLeadingY});
        out.push_back({Part::Edge, sx * c.tipLeadingX, sy * c.tipLeadingY, sx * c.tipTrailingX, sy * c.tipTrailingY});
        out.push_back({Part::Edge, sx * c.tipTrailingX, sy * c.tipTrailingY, sx * c.rootTrailingX, sy * footY});
    } else if (planform == kFinElliptical && m.FinSpan > 0.0 && m.FinRootChord > 0.0) {
        // The half-ellipse standing on the root chord: semi-axes half the root
        // chord along the body and the span across it.
        m.Pi = kPi;
        out.push_back({Part::HalfEllipse, sx * (c.rootLeadingX + m.FinRootChord / 2.0), sy * c.rootLeadingY,
                       sx * (m.FinRootChord / 2.0), sy * m.FinSpan});
    }
    if (planform > 0) {
        // The fin root's extent marked on the axis (y in plot units).
        out.push_back({Part::LowerRootMark, sx * c.rootLeadingX, 2, sx * c.rootTrailingX, 2});
        out.push_back({Part::UpperRootMark, sx * c.rootLeadingX, 3, sx * c.rootTrailingX, 3});
    }
    return out;
}

std::vector<FinStroke> finTrailingEdgeStrokes(const Module1& m, const FinCorners& c, const SideViewScale& s,
                                              double footY)
{
    using Part = FinStroke::Part;
    const double x = s.sx * c.rootTrailingX;
    std::vector<FinStroke> out;
    out.push_back({Part::TrailingEdge, x, s.sy * footY, x, 0.0});
    out.push_back({Part::TrailingEdgeErase, x, 0.0, x, s.sy * gridBodyRadiusAt(m, c.rootTrailingX)});
    // A root ending behind the base has no trailing edge on the body at all.
    const long n = std::lround(m.MeshAxialNodeCount);
    if (n >= 1 && n <= 625 && c.rootTrailingX > m.GridNodeX(n, 1))
        out.push_back({Part::TrailingEdgeErase, x, s.sy * footY, x, 0.0});
    return out;
}

} // namespace velmora
