#pragma once
// Constants shared by the whole program.

namespace velmora {

// The program's value of pi: the solvers, the drawings and the shared Pi of
// the project state all use this nine-digit value.
inline constexpr double kPi = 3.14159265;

} // namespace velmora
