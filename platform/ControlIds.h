#pragma once
// The window controls the computations write to, by id.
//
// A computation names a control as ControlId::<window>_<control>, e.g.
// ControlId::SOLVER_TotalCd for the main window's total drag box. The
// enumeration is the list of such controls: a name that is not in it does not
// compile. kControls gives each id its window, the control's program name
// (its objectName) and the kind of widget it is. Each window registers the
// widgets of its ids when it is built (Form::registerControls); a write to an
// id its window did not register is a fault of the program.
#include <cstddef>
#include <iterator>
#include <string>

namespace velmora {

enum class ControlId {
    // The main window.
    SOLVER_MachNumber,
    SOLVER_MachLabel,
    SOLVER_ReNumber,
    SOLVER_PressureCd,
    SOLVER_BaseCd,
    SOLVER_TotalCd,
    SOLVER_FinSurfaceDrag,
    SOLVER_FinInterferenceDrag,
    SOLVER_LaunchLugDrag,
    SOLVER_FORCE,
    SOLVER_CdMax,
    SOLVER_CNFORCES,
    SOLVER_CMFORCES,
    SOLVER_XLRATIOS,
    SOLVER_StatusBar1,
    // The flow conditions window.
    FluidVariables_UINPUT,
    // The body-flow plot window.
    PlotResults_LEVELS,
    PlotResults_FieldProfile,
    PlotResults_MAX,
    PlotResults_MIN,
    PlotResults_UnitsLabel,
    PlotResults_PlotLabel,
    PlotResults_UnitsLabel1,
    PlotResults_MAX1,
    PlotResults_MIN1,
    PlotResults_NoMeshDefined,
    // The fin-section window.
    PanelAero_UnitsLabel1,
    // The centre-of-pressure window.
    PressureCenter_StatusBar1,
    PressureCenter_NoMeshDefined,
    PressureCenter_PlotLabel,
    PressureCenter_CNROCKET,
    PressureCenter_CNFORCES,
    PressureCenter_CMFORCES,
    PressureCenter_MAX,
    PressureCenter_MIN,
    PressureCenter_MODELAOA,
    PressureCenter_XCPFINS,
    PressureCenter_CNFINS,
    PressureCenter_XCPTOTALS,
    PressureCenter_XLRATIOS,
    PressureCenter_XCPBODYS,
    PressureCenter_CNBODYS,
    PressureCenter_BODYFORCES,
    PressureCenter_CXFORCES,
    PressureCenter_FINAOAFORCES,
    PressureCenter_FINFORCES,
    PressureCenter_LUGFORCES,
    // The base-flow window.
    NavierStokes_BaseCd,
    NavierStokes_UJETBase,
    NavierStokes_IspBase,
    NavierStokes_PjetBase,
    NavierStokes_REYNOLDS,
    NavierStokes_CONVERGE,
    NavierStokes_TimeStep,
    // The sweep window.
    ITERATION_BResult,
    ITERATION_StatusBar1,
    End  // not a control: one past the last (new ids go above)
};

enum class ControlKind {
    Box,        // a text box
    Label,      // a label
    Picture,    // a picture box
    StatusBar   // a status bar of fixed panels
};

struct ControlEntry {
    ControlId id;
    const char* window;   // the window's program name
    const char* control;  // the control's program name in that window
    ControlKind kind;
};

inline constexpr ControlEntry kControls[] = {
    {ControlId::SOLVER_MachNumber, "SOLVER", "MachNumber", ControlKind::Box},
    {ControlId::SOLVER_MachLabel, "SOLVER", "MachLabel", ControlKind::Label},
    {ControlId::SOLVER_ReNumber, "SOLVER", "ReNumber", ControlKind::Box},
    {ControlId::SOLVER_PressureCd, "SOLVER", "PressureCd", ControlKind::Box},
    {ControlId::SOLVER_BaseCd, "SOLVER", "BaseCd", ControlKind::Box},
    {ControlId::SOLVER_TotalCd, "SOLVER", "TotalCd", ControlKind::Box},
    {ControlId::SOLVER_FinSurfaceDrag, "SOLVER", "FinSurfaceDrag", ControlKind::Box},
    {ControlId::SOLVER_FinInterferenceDrag, "SOLVER", "FinInterferenceDrag", ControlKind::Box},
    {ControlId::SOLVER_LaunchLugDrag, "SOLVER", "LaunchLugDrag", ControlKind::Box},
    {ControlId::SOLVER_FORCE, "SOLVER", "FORCE", ControlKind::Box},
    {ControlId::SOLVER_CdMax, "SOLVER", "CdMax", ControlKind::Box},
    {ControlId::SOLVER_CNFORCES, "SOLVER", "CNFORCES", ControlKind::Box},
    {ControlId::SOLVER_CMFORCES, "SOLVER", "CMFORCES", ControlKind::Box},
    {ControlId::SOLVER_XLRATIOS, "SOLVER", "XLRATIOS", ControlKind::Box},
    {ControlId::SOLVER_StatusBar1, "SOLVER", "StatusBar1", ControlKind::StatusBar},
    {ControlId::FluidVariables_UINPUT, "FluidVariables", "UINPUT", ControlKind::Box},
    {ControlId::PlotResults_LEVELS, "PlotResults", "LEVELS", ControlKind::Picture},
    {ControlId::PlotResults_FieldProfile, "PlotResults", "FieldProfile", ControlKind::Picture},
    {ControlId::PlotResults_MAX, "PlotResults", "MAX", ControlKind::Box},
    {ControlId::PlotResults_MIN, "PlotResults", "MIN", ControlKind::Box},
    {ControlId::PlotResults_UnitsLabel, "PlotResults", "UnitsLabel", ControlKind::Box},
    {ControlId::PlotResults_PlotLabel, "PlotResults", "PlotLabel", ControlKind::Box},
    {ControlId::PlotResults_UnitsLabel1, "PlotResults", "UnitsLabel1", ControlKind::Box},
    {ControlId::PlotResults_MAX1, "PlotResults", "MAX1", ControlKind::Box},
    {ControlId::PlotResults_MIN1, "PlotResults", "MIN1", ControlKind::Box},
    {ControlId::PlotResults_NoMeshDefined, "PlotResults", "NoMeshDefined", ControlKind::Label},
    {ControlId::PanelAero_UnitsLabel1, "PanelAero", "UnitsLabel1", ControlKind::Box},
    {ControlId::PressureCenter_StatusBar1, "PressureCenter", "StatusBar1", ControlKind::StatusBar},
    {ControlId::PressureCenter_NoMeshDefined, "PressureCenter", "NoMeshDefined", ControlKind::Label},
    {ControlId::PressureCenter_PlotLabel, "PressureCenter", "PlotLabel", ControlKind::Box},
    {ControlId::PressureCenter_CNROCKET, "PressureCenter", "CNROCKET", ControlKind::Box},
    {ControlId::PressureCenter_CNFORCES, "PressureCenter", "CNFORCES", ControlKind::Box},
    {ControlId::PressureCenter_CMFORCES, "PressureCenter", "CMFORCES", ControlKind::Box},
    {ControlId::PressureCenter_MAX, "PressureCenter", "MAX", ControlKind::Box},
    {ControlId::PressureCenter_MIN, "PressureCenter", "MIN", ControlKind::Box},
    {ControlId::PressureCenter_MODELAOA, "PressureCenter", "MODELAOA", ControlKind::Box},
    {ControlId::PressureCenter_XCPFINS, "PressureCenter", "XCPFINS", ControlKind::Box},
    {ControlId::PressureCenter_CNFINS, "PressureCenter", "CNFINS", ControlKind::Box},
    {ControlId::PressureCenter_XCPTOTALS, "PressureCenter", "XCPTOTALS", ControlKind::Box},
    {ControlId::PressureCenter_XLRATIOS, "PressureCenter", "XLRATIOS", ControlKind::Box},
    {ControlId::PressureCenter_XCPBODYS, "PressureCenter", "XCPBODYS", ControlKind::Box},
    {ControlId::PressureCenter_CNBODYS, "PressureCenter", "CNBODYS", ControlKind::Box},
    {ControlId::PressureCenter_BODYFORCES, "PressureCenter", "BODYFORCES", ControlKind::Box},
    {ControlId::PressureCenter_CXFORCES, "PressureCenter", "CXFORCES", ControlKind::Box},
    {ControlId::PressureCenter_FINAOAFORCES, "PressureCenter", "FINAOAFORCES", ControlKind::Box},
    {ControlId::PressureCenter_FINFORCES, "PressureCenter", "FINFORCES", ControlKind::Box},
    {ControlId::PressureCenter_LUGFORCES, "PressureCenter", "LUGFORCES", ControlKind::Box},
    {ControlId::NavierStokes_BaseCd, "NavierStokes", "BaseCd", ControlKind::Box},
    {ControlId::NavierStokes_UJETBase, "NavierStokes", "UJETBase", ControlKind::Box},
    {ControlId::NavierStokes_IspBase, "NavierStokes", "IspBase", ControlKind::Box},
    {ControlId::NavierStokes_PjetBase, "NavierStokes", "PjetBase", ControlKind::Box},
    {ControlId::NavierStokes_REYNOLDS, "NavierStokes", "REYNOLDS", ControlKind::Box},
    {ControlId::NavierStokes_CONVERGE, "NavierStokes", "CONVERGE", ControlKind::Box},
    {ControlId::NavierStokes_TimeStep, "NavierStokes", "TimeStep", ControlKind::Box},
    {ControlId::ITERATION_BResult, "ITERATION", "BResult", ControlKind::Label},
    {ControlId::ITERATION_StatusBar1, "ITERATION", "StatusBar1", ControlKind::StatusBar},
};

inline constexpr std::size_t kControlCount = std::size(kControls);

// Row i of the table is the id numbered i, so an id finds its row by index.
constexpr bool controlTableInOrder()
{
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (static_cast<std::size_t>(kControls[i].id) != i) return false;
    return static_cast<std::size_t>(ControlId::End) == kControlCount;
}
static_assert(controlTableInOrder(), "kControls lists every ControlId once, in the enumeration's order");

// The row of an id; nullptr for End or a value outside the enumeration.
constexpr const ControlEntry* findControl(ControlId id)
{
    const auto i = static_cast<std::size_t>(id);
    return i < kControlCount ? &kControls[i] : nullptr;
}

// "<window>.<control>", e.g. "SOLVER.TotalCd", for messages.
inline std::string controlName(ControlId id)
{
    const ControlEntry* e = findControl(id);
    return e ? std::string(e->window) + "." + e->control : "control #" + std::to_string(static_cast<int>(id));
}

} // namespace velmora
