#pragma once
// Unit systems, the standard atmosphere and the velocity conversion.
// Every quantity is held in one of three unit systems; the air is that of the
// standard atmosphere at one of 28 flight altitudes (given in feet in every
// system).
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/Module1.h"

namespace velmora {

struct UnitSystem {
    const char* listItem;      // item of the unit-system list
    const char* menuItem;      // item of the Units menu
    const char* code;          // AnalysisUnits
    const char* length;
    const char* force;
    const char* velocity;
    const char* pressure;
    const char* density;
    const char* viscosity;
    double seaLevelPressure;
    float seaLevelDensity;
    double seaLevelSpeedOfSound;
    double dynamicViscosity;
};

extern const std::array<UnitSystem, 3> UnitSystemTable;

struct StandardAltitude {
    const char* altitude;      // text of the altitude list
    double pressureRatio;
    double densityRatio;
};

extern const std::array<StandardAltitude, 28> StandardAtmosphereTable;

extern const std::array<const char*, 4> SpeedUnits; // "FT/SEC", "MPH", "M/SEC", "MACH"

// Factor from a typed speed (rows "FT/SEC", "MPH", "M/SEC") to the velocity
// unit of a unit system (columns "FPS", "IPS", "MNS"); "MACH" takes the speed
// of sound instead.
extern const std::array<std::array<double, 3>, 3> VelocityConversionTable;

// Index 0..2 of the unit system with this code ("FPS", "IPS", "MNS"), of this
// list item ("ft-lb-sec", ...); nullopt when none matches.
std::optional<int> unitIndexByCode(std::string_view code);
std::optional<int> unitIndexByListItem(std::string_view item);

// The row of the altitude list text, compared whole and exactly.
const StandardAltitude* findAltitude(std::string_view text);

// The factor that turns a velocity typed in `speedUnit` into the velocity unit
// of the unit system `code`; "MACH" gives the speed of sound. nullopt when the
// pair names no entry.
std::optional<double> velocityFactor(std::string_view code, std::string_view speedUnit, double speedOfSound);

// Sea-level constants of a row and the ambient air with the current ratios.
void applyUnitConstants(Module1& m, const UnitSystem& row);
void computeAmbientAir(Module1& m);
// The start-up air: ft-lb-sec (AnalysisUnits and the unit constants) at sea
// level (the altitude ratios 1), and the ambient air from them.
void setSeaLevelFps(Module1& m);
// Looks up the altitude; a text that matches no row keeps the ratios.
void applyAltitude(Module1& m, std::string_view altitudeText);
// FreeStreamVelocity = EnteredVelocity x factor, a product beyond the double
// range held at the largest double of its sign; unchanged when no factor.
void convertVelocity(Module1& m, std::string_view speedUnit);

} // namespace velmora
