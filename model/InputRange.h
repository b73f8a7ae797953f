#pragma once
// The ranges the computations take their inputs in. A value outside its
// range is refused, with a text naming it, before anything is computed; it is
// never replaced by another value.
//
//   sizes            every length and diameter of the body, the fins and the
//                    launch lugs, in the length unit of the unit system: 0
//                    (not entered) or from kMinSize to kMaxSize. With all
//                    sizes in this range their squares, and the ratios of
//                    those squares, stay far inside single precision, so the
//                    drag build-up and the centre of pressure cannot overflow
//                    on account of a size.
//   velocity         greater than 0, at most kMaxMachNumber times the speed
//                    of sound.
//   angle of attack  from -kMaxAngleOfAttack to kMaxAngleOfAttack degrees.
//   Mach number      at most kMaxIncompressibleMach (incompressible flow) or
//                    kMaxCompressibleMach (compressible flow), compared in
//                    single precision as the velocity box compares it.
//   Reynolds number  rho V L_f / mu over the length the skin friction is
//                    taken on (nose cone, body tube and transition) at least
//                    kMinReynoldsNumber.
//   typed text       every box and file item holds a number (wholeNumber);
//                    a box whose text is not one is kept in
//                    Module1::UnreadableInputs under its name until it holds
//                    one again, and the commands that read it refuse.
// Every test below is false for NaN.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/Module1.h"
#include "platform/Format.h"
#include "platform/Single.h"

namespace velmora {

inline constexpr double kMinSize = 1e-6;
inline constexpr double kMaxSize = 1e6;
inline constexpr double kMaxMachNumber = 1e6;
inline constexpr double kMaxAngleOfAttack = 90;
inline constexpr float kMaxIncompressibleMach = 2.0f;
inline constexpr float kMaxCompressibleMach = 0.8f;

// The least Reynolds number of the drag build-up. Its skin friction is the
// laminar flat-plate law (close to Blasius' 1.328 / sqrt(Re)) below the
// transition; that law, like the inviscid body flow the pressure drag comes
// from, holds while the boundary layer is thin against the length it grows
// on. The laminar layer is 5 L / sqrt(Re) thick at the end of a plate of
// length L (Blasius; Schlichting, Boundary-Layer Theory, ch. 7): 5 % of L at
// Re = 10000. Below it the layer is no longer thin and Cf, which grows as
// 1 / sqrt(Re), has no meaning.
inline constexpr double kMinReynoldsNumber = 10000;

// A bound that a value computed from round inputs, or kept in single
// precision, is to meet holds within this relative slack: 4.5 lb for 1 s on
// 0.009 lb of propellant is an impulse of 500 s, though its quotient is
// 500.00000000000006. For bounds above 0; both are false for NaN.
inline constexpr double kBoundSlack = 1e-6;
inline bool atMost(double v, double bound) { return v <= bound * (1 + kBoundSlack); }
inline bool atLeast(double v, double bound) { return v >= bound * (1 - kBoundSlack); }

// The lower bound is taken as a single-precision store holds it: 0.000001
// typed into one is stored just below 1e-6.
inline bool sizeInRange(double v)
{
    return v == 0.0 || (v > 0.0 && v <= kMaxSize && static_cast<float>(v) >= static_cast<float>(kMinSize));
}

// A size with the refusal text that names it.
struct NamedSize {
    const char* refusal;
    double value;
};

// The refusal text of the first size out of range, or nullptr.
template <std::size_t N>
const char* firstSizeOutOfRange(const NamedSize (&sizes)[N])
{
    for (const NamedSize& s : sizes)
        if (!sizeInRange(s.value)) return s.refusal;
    return nullptr;
}

// ---- the flight condition --------------------------------------------------

inline constexpr const char* kMsgVelocityRange = "Rocket velocity must be greater than 0 and at most Mach 1000000.";
inline constexpr const char* kMsgAngleOfAttackRange = "Angle of attack must be between -90 and 90 degrees.";

// True when the Mach number is above the flow model's limit.
inline bool aboveMachLimit(const Module1& m)
{
    if (!(m.SpeedOfSound > 0)) return false;
    const float mach = singleOrLargest(m.FreeStreamVelocity / m.SpeedOfSound);
    return mach > (m.CompressibleFlow == 1 ? kMaxCompressibleMach : kMaxIncompressibleMach);
}

// The flight condition: a velocity above 0 (kMsgVelocityRange), the angle of
// attack in range (kMsgAngleOfAttackRange), the Mach number at most the flow
// model's limit, however far above it ("Mach number 4.48 is above 2, the
// limit of the incompressible flow model: enter a lower velocity."; from
// Mach 1000000 on in the pattern "0.00E+00"), the skin-friction Reynolds
// number at least kMinReynoldsNumber (within kBoundSlack: a velocity tuned to
// it is not refused; "Reynolds number 812 (nose cone to transition) is below
// 10000: the drag build-up needs a thin boundary layer. Enter a higher
// velocity."); "" when it holds. Without a speed of sound a velocity that is
// not finite is refused with kMsgVelocityRange.
inline std::string flightConditionRefusal(const Module1& m)
{
    const double v = m.FreeStreamVelocity;
    if (!(v > 0)) return kMsgVelocityRange;
    if (!(std::fabs(m.AngleOfAttack) <= kMaxAngleOfAttack)) return kMsgAngleOfAttackRange;
    if (aboveMachLimit(m)) {
        const bool compressible = m.CompressibleFlow == 1;
        const double limit = compressible ? kMaxCompressibleMach : kMaxIncompressibleMach;
        const double mach = std::isfinite(v / m.SpeedOfSound) ? v / m.SpeedOfSound : DBL_MAX;
        const std::string shown = mach < kMaxMachNumber ? FormatApart(singleOrLargest(mach), limit, "0.00")
                                                        : Format(mach, "0.00E+00");
        return "Mach number " + shown + " is above " + (compressible ? "0.8" : "2") + ", the limit of the " +
               (compressible ? "compressible" : "incompressible") + " flow model: enter a lower velocity.";
    }
    const bool mach = std::isfinite(m.SpeedOfSound) && m.SpeedOfSound > 0;
    if (!std::isfinite(v) || (mach && v / m.SpeedOfSound > kMaxMachNumber)) return kMsgVelocityRange;
    // The Reynolds number of the skin friction, over the length ahead of
    // the base tube.
    const double lf = m.NoseConeLength + m.BodyTubeLength + m.TransitionLength;
    const double re = m.AmbientDensity * v * lf / m.DynamicViscosity;
    if (!atLeast(re, kMinReynoldsNumber))
        return "Reynolds number " + FormatApart(re, kMinReynoldsNumber, re >= 1 ? "0" : "0.##E+00") +
               " (nose cone to transition) is below 10000: the drag build-up needs a thin boundary layer. Enter a "
               "higher velocity.";
    return {};
}

// ---- typed text that is not a number ---------------------------------------

// The names the inputs are kept and refused by.
namespace InputName {
inline constexpr const char* Velocity = "Rocket velocity";
inline constexpr const char* AngleOfAttack = "Angle of attack";
inline constexpr const char* NoseConeLength = "Nose cone length";
inline constexpr const char* NoseConeDiameter = "Nose cone diameter";
inline constexpr const char* BodyTubeLength = "Body tube length";
inline constexpr const char* TransitionDiameter = "Transition diameter";
inline constexpr const char* TransitionLength = "Transition length";
inline constexpr const char* BaseTubeLength = "Base tube length";
inline constexpr const char* LengthAfterNose = "Body length";
inline constexpr const char* FinRootChord = "Fin root chord";
inline constexpr const char* FinTipChord = "Fin tip chord";
inline constexpr const char* FinSpan = "Fin span";
inline constexpr const char* FinThickness = "Fin thickness";
inline constexpr const char* FinTipDistance = "Fin tip distance";
inline constexpr const char* FinRootDistance = "Fin root distance";
inline constexpr const char* LugLength = "Launch lug length";
inline constexpr const char* LugOuterDiameter = "Launch lug outside diameter";
inline constexpr const char* LugInnerDiameter = "Launch lug inside diameter";
inline constexpr const char* SweepStartAoa = "Initial angle of attack";
inline constexpr const char* SweepAoaIncrement = "Angle of attack increment";
inline constexpr const char* SweepStartVelocity = "Initial velocity";
inline constexpr const char* SweepVelocityIncrement = "Velocity increment";
inline constexpr const char* Thrust = "Average thrust";
inline constexpr const char* BurnTime = "Motor burn time";
inline constexpr const char* NozzleDiameter = "Nozzle diameter";
inline constexpr const char* Propellant = "Propellant mass";
// A point box of the typed fin section: "Fin section point 7 X".
inline constexpr std::string_view FinSectionPoint = "Fin section point ";
} // namespace InputName

inline std::string finSectionPointName(int index, char axis)
{
    return std::string(InputName::FinSectionPoint) + std::to_string(index) + ' ' + axis;
}

// Which command reads an input: SOLVE, MESH and the sweep read the rocket's,
// SOLVE and the sweep the typed fin section's, the sweep its own as well,
// the base-flow Solve the motor's.
enum class InputGroup { Rocket, FinSection, Sweep, Motor };

inline InputGroup inputGroup(std::string_view name)
{
    using namespace InputName;
    if (name.starts_with(FinSectionPoint)) return InputGroup::FinSection;
    for (const char* n : {SweepStartAoa, SweepAoaIncrement, SweepStartVelocity, SweepVelocityIncrement})
        if (name == n) return InputGroup::Sweep;
    for (const char* n : {Thrust, BurnTime, NozzleDiameter, Propellant})
        if (name == n) return InputGroup::Motor;
    return InputGroup::Rocket;
}

// The value of a box's text as Val reads it; the box is marked in the state
// while its text is not wholly a number, and unmarked when it is again.
inline double typedValue(Module1& m, const std::string& name, std::string_view text)
{
    if (wholeNumber(text)) m.UnreadableInputs.erase(name);
    else m.UnreadableInputs[name] = std::string(text);
    return Val(text);
}

// Whether a run reads the input: a point of the typed fin section only while
// the section is typed ("MANUAL INPUT") and the point one of its PanelCount;
// every other input always.
inline bool inputRead(const Module1& m, std::string_view name)
{
    if (inputGroup(name) != InputGroup::FinSection) return true;
    if (m.FinSectionText != "MANUAL INPUT") return false;
    name.remove_prefix(InputName::FinSectionPoint.size());
    int index = 0;
    for (char c : name.substr(0, name.find(' '))) index = 10 * index + (c - '0');
    return index >= 1 && index <= m.PanelCount;
}

// The refusal of the first marked input of these groups that the run reads
// ("Fin span "1,5" is not a number: ..."), or "".
inline std::string unreadableInputRefusal(const Module1& m, std::initializer_list<InputGroup> groups)
{
    for (const auto& [name, text] : m.UnreadableInputs)
        for (InputGroup g : groups)
            if (inputGroup(name) == g && inputRead(m, name))
                return name + " \"" + text +
                       "\" is not a number: type digits with a point as the decimal separator (1.5), or leave it "
                       "empty.";
    return {};
}

} // namespace velmora
