#pragma once
// The length-unit boxes of the geometry windows.
#include <QStringList>

#include <array>

#include "model/Units.h"
#include "platform/ui/Build.h"

namespace velmora {

// Read-only boxes LLABEL1 .. LLABEL<N-1> at 1 .. N-1, each as wide as the
// longest length unit of any unit system.
template <std::size_t N>
void makeLengthUnitBoxes(QWidget* parent, std::array<TextBox*, N>& boxes)
{
    QStringList lengthUnits;
    for (const UnitSystem& u : UnitSystemTable) lengthUnits << u.length;
    for (std::size_t i = 1; i < N; ++i) {
        boxes[i] = makeBox(parent, QStringLiteral("LLABEL%1").arg(i), "Length unit", QString(), true);
        fitToTexts(boxes[i], lengthUnits);
    }
}

} // namespace velmora
