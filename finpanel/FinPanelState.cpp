#include "finpanel/FinPanelState.h"

#include <algorithm>

#include "finpanel/PanelMath.h"
#include "model/Vocabulary.h"

namespace velmora::finpanel {

FinSectionInput finInputFrom(const Module1& m, std::string_view sectionShape)
{
    FinSectionInput in;
    in.sectionShape = std::string(sectionShape);
    in.abortRequest = &m.AbortRequest;
    in.panelMethod = m.PanelMethodChoice;
    in.plotChoice = m.PanelPlotChoice;
    in.panelCount = m.PanelCount;
    in.thicknessFactor = m.FinThicknessFactor;
    in.finThickness = m.FinThickness;
    in.finMeanChord = m.FinMeanChord;
    in.finSpan = m.FinSpan;
    in.finCount = m.FinCount;
    in.finRootDistance = m.FinRootDistance;
    in.finTipDistance = m.FinTipDistance;
    in.angleOfAttack = m.AngleOfAttack;
    in.freeStreamVelocity = m.FreeStreamVelocity;
    in.ambientDensity = m.AmbientDensity;
    in.compressibleFlow = m.CompressibleFlow;
    in.freeStreamMachNumber = m.FreeStreamMachNumber;
    in.referenceArea = m.ReferenceArea;
    in.unitMenuIndex = m.AnalysisUnits == "FPS" ? 0 : m.AnalysisUnits == "IPS" ? 1 : m.AnalysisUnits == "MNS" ? 2 : -1;
    for (int i = 0; i <= kMaxPanels; ++i) {
        in.manualX[i] = m.ManualSectionX(i);
        in.manualY[i] = m.ManualSectionY(i);
        in.currentSection.x[i] = m.SectionPointX(i);
        in.currentSection.y[i] = m.SectionPointY(i);
        in.currentSection.unrotatedX[i] = m.UnrotatedSectionX(i);
        in.currentSection.unrotatedY[i] = m.UnrotatedSectionY(i);
    }
    in.currentSection.count = std::clamp<int>(m.PanelCount, 0, kMaxPanels);
    return in;
}

PanelSolution panelSolutionFrom(const Module1& m)
{
    PanelSolution p;
    p.count = std::clamp<int>(m.PanelCount, 0, kMaxPanels);
    for (int i = 1; i <= p.count; ++i) {
        p.cornerIndex[i][1] = m.PanelCornerIndex(i, 1);
        p.cornerIndex[i][2] = m.PanelCornerIndex(i, 2);
        p.cp[i] = m.PanelCp(i);
        p.surfaceVelocity[i] = m.PanelSurfaceVelocity(i);
        p.controlPointX[i] = m.PanelControlPointX(i);
        p.tangentialVelocity[i] = m.PanelTangentialVelocity(i);
    }
    return p;
}

void publishSection(const SectionPoints& s, Module1& m)
{
    for (int i = 1; i <= s.count; ++i) {
        m.SectionPointX(i) = s.x[i];
        m.SectionPointY(i) = s.y[i];
        m.UnrotatedSectionX(i) = s.unrotatedX[i];
        m.UnrotatedSectionY(i) = s.unrotatedY[i];
    }
    m.Pi = kPi;
}

void publish(const FinSectionResult& r, Module1& m)
{
    if (r.outcome != Outcome::Done) return;
    publishSection(r.section, m);
    const PanelSolution& p = r.solution;
    for (int i = 1; i <= p.count; ++i) {
        m.PanelCornerIndex(i, 1) = p.cornerIndex[i][1];
        m.PanelCornerIndex(i, 2) = p.cornerIndex[i][2];
        m.PanelCp(i) = p.cp[i];
        m.PanelSurfaceVelocity(i) = p.surfaceVelocity[i];
        m.PanelControlPointX(i) = p.controlPointX[i];
        if (p.hasTangentialVelocity) m.PanelTangentialVelocity(i) = p.tangentialVelocity[i];
    }
    if (p.hasTangentialVelocity) m.AugmentedColumnCount = static_cast<int16_t>(p.augmentedColumnCount);
    if (r.forces.outcome == Outcome::Done) {
        m.FinCenterOfPressure = r.forces.centerOfPressure;
        m.FinNormalForceSlope = r.forces.normalForceSlope;
        m.FinNormalForce = r.forces.normalForce;
    }
    m.PanelSolutionStatus = PanelSolutionState::Solved;
}

} // namespace velmora::finpanel
