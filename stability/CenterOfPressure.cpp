#include "stability/CenterOfPressure.h"

#include "model/Vocabulary.h"

namespace velmora::stability {

CenterOfPressureReport CPSOLVE(Module1& m, double /*velocity*/, Progress& /*progress*/)
{
    CenterOfPressureReport rep;
    if (m.FlowSolutionStatus == FlowSolutionState::Stale || m.ElementAxialVelocity(1) == 0) {
        rep.writes.push_back(setPanel("PressureCenter.StatusBar1", 1, kMsgPerformCfd));
        return rep;
    }
    // The distribution itself is not computed yet: nothing to publish.
    rep.outcome = Outcome::Done;
    return rep;
}

} // namespace velmora::stability
