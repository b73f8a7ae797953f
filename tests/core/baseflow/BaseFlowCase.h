#pragma once
// A base-flow case for the tests: a 0.1 ft base at 300 ft/s in sea-level air (nu 1.572e-4 ft^2/s) behind a 1.5 ft
// body tube, on the window's domain (YL = 2.5 D, XL = 5 D) and shoulder (JB = NY / 5), first step 0.001 s.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Module1.h"
#include "platform/Progress.h"

namespace velmora::testing {

inline std::unique_ptr<Module1> baseFlowCase(int nx = 50, int itmax = 500)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->NoseConeLength = 0.3;
    m->NoseConeDiameter = 0.1;
    m->BodyTubeLength = 1.5;
    m->FreeStreamVelocity = 300;
    m->BaseGridPointsX = static_cast<int16_t>(nx);
    m->BaseGridPointsY = static_cast<int16_t>(nx / 2);
    m->BaseShoulderIndex = static_cast<int16_t>(nx / 10);
    m->BaseFlowDiameter = 0.1;
    m->BaseFlowDomainHeight = 0.25;
    m->BaseFlowDomainLength = 0.5;
    m->KinematicViscosity = 1.572e-4;
    m->BaseFlowMaxIterations = static_cast<int16_t>(itmax);
    m->DeltaT = 0.001;
    m->BaseFlowStatus = "SOLVE NEW FLOW";
    return m;
}

// Records the panels; presses ABORT (AbortRequest = "YES") at the given pump.
struct RecordingProgress : Progress {
    explicit RecordingProgress(Module1* state = nullptr, int abortAtPump = 0) : state(state), abortAt(abortAtPump) {}
    void status(int panel, const std::string& text) override { panels.push_back({panel, text}); }
    void pumpEvents() override
    {
        ++pumps;
        if (state && pumps == abortAt) state->AbortRequest = "YES";
        if (onPump) onPump(pumps);
    }
    std::string last(int panel) const
    {
        const auto it = std::find_if(panels.rbegin(), panels.rend(), [&](const auto& p) { return p.first == panel; });
        return it == panels.rend() ? "" : it->second;
    }
    Module1* state;
    int abortAt;
    std::vector<std::pair<int, std::string>> panels;
    int pumps = 0;
    std::function<void(int pump)> onPump;  // what the events of a pump do
};

} // namespace velmora::testing
