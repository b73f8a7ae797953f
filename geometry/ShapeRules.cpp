#include "geometry/ShapeRules.h"

#include "geometry/FinGeometry.h"
#include "model/InputRange.h"
#include "model/Vocabulary.h"

namespace velmora {

namespace {

// Upper bounds are met within atMost's slack: some sizes are kept in single
// precision, and a size typed to lie exactly on a bound may be stored a
// rounding above it.

const char* bodyRefusal(const Module1& m, double d, double length)
{
    if (!(length >= kMinFineness * d && atMost(length, kMaxFineness * d)))
        return "Body length (nose cone, body tube, transition and base tube) must be from 0.5 to 100 times the "
               "nose cone diameter.";
    if (m.ActiveBodyGeometry == FreeFormBody) {
        const double most = kMaxBodyDiameterRatio * d / 2;
        bool wide = !atMost(m.FreeFormBaseRadius, most);
        for (int s = 1; s <= m.FreeFormPointCount && s <= 20; ++s)
            wide = wide || !atMost(m.FreeFormBodyRadius(s), most);
        if (wide) return "Free-Form body radius must be at most 1.5 times the nose cone diameter.";
    } else if (m.TransitionLength != 0 && !atMost(m.TransitionDiameter, kMaxBodyDiameterRatio * d)) {
        return "Transition diameter must be at most 3 times the nose cone diameter.";
    }
    return nullptr;
}

const char* lugRefusal(const Module1& m, double d, double length)
{
    const double inner = m.LaunchLugInnerDiameter;
    if (inner != 0 && !(inner < m.LaunchLugOuterDiameter))
        return "Launch lug inside diameter must be less than its outside diameter.";
    if (!atMost(m.LaunchLugOuterDiameter, d))
        return "Launch lug outside diameter must be at most the nose cone diameter.";
    if (!atMost(m.LaunchLugLength, length)) return "Launch lug length must be at most the body length.";
    return nullptr;
}

const char* finRefusal(const Module1& m, double d, double length)
{
    const double root = m.FinRootChord;
    if (root != 0 && !atMost(m.FinThickness, kMaxFinThicknessRatio * root))
        return "Fin thickness must be at most 0.25 times the fin root chord (a thin fin).";
    if (!atMost(m.FinSpan, kMaxFinSpanRatio * d)) return "Fin span must be at most 5 times the nose cone diameter.";
    // The root distance and tip chord as the planform derives them, named by
    // the distance the user typed.
    const FinPlanformValues derived = derivedFinPlanform(m);
    const double rootDistance = derived.rootDistance, tipChord = derived.tipChord;
    const char* rootText = "Fin root distance plus fin root chord must be at most the body length (fins on the body).";
    switch (m.FinPlanformCode) {
    case TrianglePlanform: rootText = "Fin tip distance must be at most the body length (fins on the body)."; break;
    case RectanglePlanform:
    case EllipticalPlanform:
        rootText = "Fin tip distance plus fin root chord must be at most the body length (fins on the body).";
        break;
    default: break;
    }
    if (root != 0 && !atMost(tipChord, kMaxFinTaperRatio * root))
        return "Fin tip chord must be at most 2 times the fin root chord.";
    if (rootDistance != 0 && !atMost(rootDistance + root, length)) return rootText;
    if (!atMost(m.FinTipDistance, kMaxFinTipDistanceRatio * length))
        return "Fin tip distance must be at most 2 times the body length (fin tips at most one body length behind "
               "the base).";
    return nullptr;
}

} // namespace

const char* shapeRefusal(const Module1& m)
{
    const double d = m.NoseConeDiameter;
    if (!(d > 0)) return nullptr;  // no diameter: its own check refuses that
    const double length = m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
    const char* why = bodyRefusal(m, d, length);
    if (!why) why = lugRefusal(m, d, length);
    if (!why) why = finRefusal(m, d, length);
    return why;
}

} // namespace velmora
