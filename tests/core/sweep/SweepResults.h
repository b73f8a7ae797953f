#pragma once
// Stored results of angle-of-attack sweeps for the plot, table and export tests.
#include <memory>
#include <vector>

#include "model/Module1.h"

namespace velmora::testing {

// An angle-of-attack sweep's state with the given Cd of steps 1, 2, ...
inline std::unique_ptr<Module1> aoaResults(double start, double increment, const std::vector<double>& cd)
{
    auto m = makeModule1();
    setStartupDefaults(*m);
    m->AoaSweepSelected = 1;
    m->VelocitySweepSelected = 0;
    m->SweepStartAoa = start;
    m->SweepAoaIncrement = increment;
    m->SweepPlotQuantity = 1;
    m->SweepPlotYScale = 1;
    for (std::size_t i = 0; i < cd.size(); ++i) m->SweepDragCoefficients(static_cast<int>(i) + 1) = cd[i];
    return m;
}

// From 1 degree in steps of 3, with every quantity of three steps.
inline std::unique_ptr<Module1> aoaSweep(int steps)
{
    auto m = aoaResults(1, 3, {0.5, 0.625, 0.75});
    m->SweepStepCount = steps;
    const double cn[] = {0.0175, 0.07, 0.1225}, cm[] = {0, -0.2, -0.4};
    const float xcp[] = {0.75f, 0.8f, 0.85f};
    for (int i = 1; i <= 3; ++i) {
        m->SweepNormalForceCoefficients(i) = cn[i - 1];
        m->SweepMomentCoefficients(i) = cm[i - 1];
        m->SweepCenterOfPressureRatios(i) = xcp[i - 1];
    }
    return m;
}

} // namespace velmora::testing
