#pragma once
// Reference rockets of the core tests, set straight into a fresh state, and a progress recording what a run tells.
#include <functional>
#include <memory>
#include <string>

#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "platform/Progress.h"

namespace velmora::testing {

// Keeps the status texts and takes every chance to let events run, handing onPump the count of pumps so far.
class ScriptedProgress : public Progress {
public:
    ScriptedProgress() { setPumpInterval(Clock::duration::zero()); }
    void status(int panel, const std::string& text) override { panels.push_back({panel, text}); }
    void pumpEvents() override
    {
        if (onPump) onPump(++pumps);
    }
    std::vector<PanelText> panels;
    std::function<void(int)> onPump;
    int pumps = 0;
};

// The mesh size set by the user (axial and radial node counts), not the one the grid derives.
inline void setUserMesh(Module1& m, double mesh)
{
    m.MeshSizeUserSet = 1;
    m.MeshAxialNodeCount = m.MeshRadialNodeCount = mesh;
}

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
    if (mesh != 20) setUserMesh(*m, mesh);
    return m;
}

// Four fins (root 3, tip 1.5, span 2, at the end of the 12 tube) with a streamlined section, at 4 degrees; the fin
// choices (planform, edges, panel method and count) left as they are.
inline void addFourFins(Module1& m)
{
    m.AngleOfAttack = 4;
    m.FinCount = 4;
    m.FinRootChord = 3;
    m.FinTipChord = 1.5f;
    m.FinSpan = 2;
    m.FinThickness = 0.1;
    m.FinMeanChord = 2.25;
    m.FinRootDistance = 12;
    m.FinTipDistance = 13.5;
    m.FinSectionText = "STREAMLINED";
}

// The typical rocket with those fins; the start-up fin choices (tapered, streamlined edges, vortex panels on 100
// panels) kept; every result stale.
inline std::unique_ptr<Module1> rocketWithFins()
{
    auto m = typicalRocket();
    addFourFins(*m);
    m->FlowSolutionStatus = m->FlowSolutionStatusText = "SOLVE NEW FLOW";
    m->PanelSolutionStatus = "SOLVE NEW FLOW";
    return m;
}

// The refusal of a size out of its range, by the size's name; a size that must be entered is not offered 0.
inline std::string sizeRange(const char* what, bool mustBeEntered = false)
{
    return std::string(what) + (mustBeEntered ? " must be" : " must be 0 or") + " between 0.000001 and 1000000.";
}

} // namespace velmora::testing
