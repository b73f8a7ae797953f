#pragma once
// Bridge between the project state and the fin-section computations: gather
// their input from Module1, and write a successful run's results back.
#include <string_view>

#include "model/Module1.h"
#include "finpanel/FinPanelSolver.h"

namespace velmora::finpanel {

// The section shape is the text of the fin-section window's section list,
// which the project state does not hold; the caller passes it. The checked
// unit-menu item is taken from AnalysisUnits ("FPS", "IPS", "MNS"). The input
// refers to m.AbortRequest, so m must outlive it.
FinSectionInput finInputFrom(const Module1& m, std::string_view sectionShape);

// The panel solution as the project holds it (what the plot buttons draw
// again): PanelCount panels of Cp, surface velocity and control-point x.
PanelSolution panelSolutionFrom(const Module1& m);

// Writes the section record only (what a redraw of the section leaves).
void publishSection(const SectionPoints& section, Module1& m);

// Writes a successful run (outcome Done) into the project: the section record,
// the panel solution, the fin results when they were computed, and
// PanelSolutionStatus = PanelSolutionState::Solved. Any other outcome changes nothing.
void publish(const FinSectionResult& result, Module1& m);

} // namespace velmora::finpanel
