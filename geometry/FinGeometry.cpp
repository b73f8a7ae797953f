#include "geometry/FinGeometry.h"

namespace velmora {

bool finPlanformDerivesValues(int16_t planformCode)
{
    return planformCode == kFinTriangle || planformCode == kFinRectangle || planformCode == kFinElliptical;
}

void deriveFinPlanform(Module1& m)
{
    switch (m.FinPlanformCode) {
    case kFinTriangle:
        m.FinTipChord = 0.0f;
        m.FinRootDistance = static_cast<float>(m.FinTipDistance - m.FinRootChord);
        break;
    case kFinRectangle:
    case kFinElliptical:
        m.FinRootDistance = static_cast<float>(m.FinTipDistance);
        m.FinTipChord = static_cast<float>(m.FinRootChord);
        break;
    default:
        break;
    }
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

} // namespace velmora
