// The main window's mesh, body-flow and drag commands.
#include "app/ui/SOLVER.h"

namespace velmora {

void SOLVER::Mesh(double& /*velocity*/) {}
void SOLVER::RunSOLVER(double& /*velocity*/) {}
void SOLVER::CdFnMn(double& /*velocity*/) {}
void SOLVER::TOTALDRAG(double& /*velocity*/) {}
void SOLVER::CFDSOLVER_Click() {}
void SOLVER::MESHER_Click() {}
void SOLVER::MERIDIANS_Click() {}
void SOLVER::DomainSize_Click() {}

} // namespace velmora
