#pragma once
// Reference rockets of the core tests, set straight into a fresh state.
#include <memory>

#include "model/Module1.h"

namespace velmora::testing {

// Tangent ogive 3 x 1 on a 12 tube, 300 FT/SEC at sea level.
inline std::unique_ptr<Module1> typicalRocket(double mesh = 20, int meridians = 8)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseShapeName = "TANGENT OGIVE";
    m->NoseConeLength = 3;
    m->NoseConeDiameter = 1;
    m->BodyTubeLength = 12;
    m->EnteredVelocity = m->FreeStreamVelocity = 300;
    m->MeridianCount = static_cast<int16_t>(meridians);
    if (mesh != 20) {
        m->MeshSizeUserSet = 1;
        m->MeshAxialNodeCount = m->MeshRadialNodeCount = mesh;
    }
    return m;
}

// The same with four fins (root 3, tip 1.5, span 2, at the end of the tube)
// at 4 degrees; the start-up fin choices (tapered, streamlined edges, vortex
// panels on 100 panels) kept; every result stale.
inline std::unique_ptr<Module1> rocketWithFins()
{
    auto m = typicalRocket();
    m->AngleOfAttack = 4;
    m->FinCount = 4;
    m->FinRootChord = 3;
    m->FinTipChord = 1.5f;
    m->FinSpan = 2;
    m->FinThickness = 0.1;
    m->FinMeanChord = 2.25;
    m->FinRootDistance = 12;
    m->FinTipDistance = 13.5;
    m->FinSectionText = "STREAMLINED";
    m->FlowSolutionStatus = m->FlowSolutionStatusText = "SOLVE NEW FLOW";
    m->PanelSolutionStatus = "SOLVE NEW FLOW";
    return m;
}

} // namespace velmora::testing
