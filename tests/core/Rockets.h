#pragma once
// Reference rockets of the core tests, set straight into a fresh state, and a progress recording what a run tells.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/WindowWrites.h"
#include "model/Module1.h"
#include "model/Units.h"
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

// A hobby rocket as its builder measures it, in inches, flown at `velocity` FT/SEC and `angle` degrees: tapered fins
// whose root ends `rootAhead` ahead of the base (0: flush) and whose tip's leading edge lies `sweep` behind the root's.
struct HobbyRocket {
    const char* nose;
    double noseLength, diameter, tubeLength, transitionLength, transitionDiameter, baseTubeLength;
    int fins;  // 0: no fin sizes entered
    double root, tip, span, thickness, rootAhead, sweep, lugLength, lugOuter, lugInner, velocity, angle;
};

// Diameters 0.5 to 4 in, lengths 6 to 80 in, ogive, conical and Sears-Haack noses, flares and boat tails, 3 or 4
// fins, most with tips behind the base; the first a clipped delta flush with the base, its tip 0.3 in behind it;
// the last flush too, its root distance stored just behind the base in in-lb-sec.
inline constexpr HobbyRocket kHobbyRockets[] = {
    {"SEARS-HAACK", 2.798, 0.976, 18.718, 0, 0, 0, 4, 1.49, 0.745, 1.757, 0.0625, 0, 1.787, 1.5, 0.25, 0.19f, 300, 4},
    {"CONICAL", 1.5, 0.5, 4.5, 0, 0, 0, 3, 1, 0.5, 0.6, 0.03, 0, 1.2, 1, 0.125, 0.1f, 50, 10},
    {"TANGENT OGIVE", 12, 4, 50, 4, 3, 14, 4, 10, 4, 6, 0.25, 0, 12, 6, 0.5, 0.4f, 800, 2},
    {"TANGENT OGIVE", 5, 1.64, 24, 1.5, 1.2, 0, 3, 3, 1.5, 2, 0.125, 1.5, 2.5, 2, 0.25, 0.19f, 450, 0},
    {"CONICAL", 4, 1, 10, 1.5, 1.34, 12, 4, 2.5, 1, 1.75, 0.09, 0, 3, 1.5, 0.19, 0.14f, 600, 7},
    {"PARABOLIC", 6.5, 2.6, 30, 0, 0, 0, 3, 6, 2, 3.5, 0.125, 0, 6.5, 3, 0.38, 0.32f, 200, 5},
    {"ELLIPTICAL", 3, 1.325, 14, 0, 0, 0, 4, 2.75, 1.25, 1.5, 0.0625, 0.5, 1.5, 1.25, 0.25, 0.19f, 700, 3},
    {"SEARS-HAACK", 8, 3, 36, 2, 2.2, 6, 4, 7, 3, 4.5, 0.19, 0, 8.2, 4, 0.5, 0.41f, 350, 9},
    {"CONICAL", 2.25, 0.736, 9.5, 0, 0, 0, 3, 2, 0.75, 1.25, 0.04, 0, 2.75, 1, 0.125, 0.1f, 120, 1},
    {"TANGENT OGIVE", 7, 2.217, 22, 1, 1.64, 10, 3, 4.5, 2, 3, 0.125, 0, 5.5, 2.5, 0.38, 0.32f, 550, 6},
    {"PARABOLIC", 10, 3.9, 60, 0, 0, 0, 4, 9, 4.5, 5.5, 0.25, 0, 7, 4, 0.5, 0.44f, 250, 8},
    {"ELLIPTICAL", 1.75, 0.544, 12, 0, 0, 0, 3, 1.75, 0.5, 1, 0.03, 0, 2.6, 1, 0.125, 0.1f, 780, 10},
    {"CONICAL", 2, 1, 12.1, 0, 0, 0, 3, 1.75, 1, 1.5, 0.0625, 0, 0.75, 1, 0.125, 0.1f, 150, 3},
};

// The hobby rocket typed into a fresh state in a unit system and flow model: each length converted and typed to six
// significant figures, the fins' root and tip distances worked out from the typed lengths and typed to ten.
inline std::unique_ptr<Module1> hobbyRocket(const HobbyRocket& r, const UnitSystem& units, int compressible)
{
    const auto typed = [](double v, int figures) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*g", figures, v);
        return std::strtod(text, nullptr);
    };
    const double perInch = *velocityFactor(units.code, "FT/SEC", 0) / 12;
    const auto in = [&](double inches) { return typed(inches * perInch, 6); };
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->AnalysisUnits = units.code;
    applyUnitConstants(*m, units);
    computeAmbientAir(*m);
    m->CompressibleFlow = static_cast<int16_t>(compressible), m->NoseShapeName = r.nose;
    m->EnteredVelocity = r.velocity, m->FreeStreamVelocity = r.velocity * 12 * perInch, m->AngleOfAttack = r.angle;
    m->NoseConeLength = in(r.noseLength), m->NoseConeDiameter = in(r.diameter), m->BodyTubeLength = in(r.tubeLength);
    m->TransitionLength = in(r.transitionLength), m->TransitionDiameter = in(r.transitionDiameter);
    m->BaseTubeLength = in(r.baseTubeLength), m->LaunchLugLength = in(r.lugLength);
    m->LaunchLugOuterDiameter = in(r.lugOuter), m->LaunchLugInnerDiameter = static_cast<float>(in(r.lugInner));
    if (r.fins == 0) return m;
    const double length = m->NoseConeLength + m->BodyTubeLength + m->TransitionLength + m->BaseTubeLength;
    const double rootDistance = typed(length - in(r.root) - in(r.rootAhead), 10);
    m->FinCount = static_cast<int16_t>(r.fins), m->FinSectionText = "STREAMLINED", m->FinThickness = in(r.thickness);
    m->FinRootChord = in(r.root), m->FinTipChord = static_cast<float>(in(r.tip)), m->FinSpan = in(r.span);
    m->FinRootDistance = static_cast<float>(rootDistance), m->FinTipDistance = typed(rootDistance + in(r.sweep), 10);
    return m;
}

// The refusal of a size out of its range, by the size's name; a size that must be entered is not offered 0.
inline std::string sizeRange(const char* what, bool mustBeEntered = false)
{
    return std::string(what) + (mustBeEntered ? " must be" : " must be 0 or") + " between 0.000001 and 1000000.";
}

} // namespace velmora::testing
