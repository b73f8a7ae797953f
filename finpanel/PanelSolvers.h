#pragma once
// The two panel solutions of the fin section: incompressible potential flow
// about the section polygon, giving the tangential surface velocity and the
// pressure coefficient of every section panel.
//
// Both let events run between the rows of their influence tables and the
// steps of their elimination when Progress::maybePump finds them due;
// AbortFlag::Yes in *abortRequest (when given) then ends the solution at once
// with Outcome::Aborted. On Outcome::Done the solution is in result; on any
// other outcome result is left as it was.
//
// Both solvers throw MathFailure when the arithmetic breaks down (a division
// by zero, the log of a value <= 0, the root of a negative value, a value that
// is not finite or does not fit its single-precision slot); the caller turns
// that into "Panel method solution not found.".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "finpanel/FinSection.h"
#include "platform/Progress.h"

namespace velmora::finpanel {

// The panel solution; element i belongs to section panel i (1..count).
struct PanelSolution {
    int count = 0;
    std::array<std::array<int16_t, 3>, kMaxPanels + 1> cornerIndex{};  // [i][1], [i][2]: corners of panel i
    std::array<float, kMaxPanels + 1> cp{};                  // incompressible pressure coefficient
    std::array<double, kMaxPanels + 1> surfaceVelocity{};    // velocity units, signed along the panel direction
    std::array<float, kMaxPanels + 1> tangentialVelocity{};  // source method only
    bool hasTangentialVelocity = false;
    std::array<double, kMaxPanels + 1> controlPointX{};      // chordwise x of the panel's control point

    // Vortex method: strengths at the count+1 vortex corners, in units of
    // 2 pi V (1-based), and the lengths of the count vortex panels.
    std::vector<float> vortexStrength;
    std::vector<double> vortexPanelLength;
    // Source method: panel source strengths in units of 2 pi (1-based, a
    // zero-length panel carries 0) and the section panel lengths.
    std::vector<double> sourceStrength;
    std::vector<float> sourcePanelLength;
    int augmentedColumnCount = 0;  // last column of the eliminated source system
};

// Linear-strength vortex panels with a Kutta condition, on the unrotated
// section; the angle of attack (degrees) turns the free stream instead.
// The vortex corners are the midpoints of the section panels, starting at the
// trailing-edge face; each section panel receives the values of the vortex
// panel that starts at its midpoint.
[[nodiscard]] Outcome solveVortexPanels(const SectionPoints& section, double angleOfAttackDeg, double velocity,
                                        PanelSolution& result, Progress& progress,
                                        const std::string* abortRequest = nullptr);

// The influence tables and factors of the last vortex-panel solution on
// this thread are kept with the section they came from: a solution on a
// section with the same bits (a sweep's next angle of attack or speed) skips
// forming and factoring them, with the same bits, the same progress and the
// same event turns. On by default; tests compare the two. Returns the
// setting before.
bool setSectionFactorReuse(bool on);

// The pressure coefficient section panel i (1..count) contributes to the fin
// normal force. A vortex solution gives each section panel the Cp of the
// vortex panel centred on its next corner, which lies half a panel aft on one
// surface and forward on the other; the force takes instead the mean of the
// two vortex panels that meet at the section panel's midpoint (its own and its
// predecessor's), so that a symmetric section at zero angle carries no net
// force. Any other solution: its cp. The plots keep cp.
double forceCp(const PanelSolution& solution, int i);

// Constant-strength source panels (no circulation) on the rotated section,
// free stream along +x. A zero-length panel (two coincident corners, as at the
// streamlined section's nose) has no equation of its own: its strength is 0,
// its normal is the mean direction of its neighbours' normals and its surface
// velocity the mean of theirs.
[[nodiscard]] Outcome solveSourcePanels(const SectionPoints& section, double velocity, PanelSolution& result,
                                        Progress& progress, const std::string* abortRequest = nullptr);

// Section lift coefficient from the circulation of a vortex solution,
// 2 Gamma / (V chord). Throws MathFailure for a zero chord.
double liftCoefficientFromCirculation(const PanelSolution& solution, double chord);

} // namespace velmora::finpanel
