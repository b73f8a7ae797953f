#include "model/Units.h"

#include <cfloat>
#include <cmath>

#include "model/Vocabulary.h"

namespace velmora {

const std::array<UnitSystem, 3> UnitSystemTable = {{
    {"ft-lb-sec", "&ft-lb-sec", "FPS", "FT", "LB", "FT/SEC", "LB/FT^2", "LB-SEC^2/FT^4", "LB-SEC/FT^2",
     2116.8, 0.002378f, 1116.4, 3.9e-07},
    {"in-lb-sec", "&in-lb-sec", "IPS", "IN", "LB", "IN/SEC", "LB/IN^2", "LB-SEC^2/IN^4", "LB-SEC/IN^2",
     14.7, 1.147e-07f, 13396.8, 2.71e-09},
    {"m-nt-sec", "&m-nt-sec", "MNS", "M", "NT", "M/SEC", "NT/M^2", "KG/M^3", "KG/M-SEC",
     101352.93, 1.226f, 340.279, 1.8673e-05},
}};

const std::array<StandardAltitude, 28> StandardAtmosphereTable = {{
    {"SEA LEVEL", 1, 1},
    {"1000 FT", 0.9644, 0.9711},
    {"2000 FT", 0.9298, 0.9428},
    {"3000 FT", 0.8963, 0.9151},
    {"4000 FT", 0.8637, 0.8881},
    {"5000 FT", 0.8321, 0.8616},
    {"6000 FT", 0.8014, 0.8358},
    {"7000 FT", 0.7717, 0.8106},
    {"8000 FT", 0.7428, 0.786},
    {"9000 FT", 0.7149, 0.7619},
    {"10000 FT", 0.6878, 0.7384},
    {"12000 FT", 0.636, 0.6931},
    {"14000 FT", 0.5875, 0.65},
    {"16000 FT", 0.542, 0.6089},
    {"18000 FT", 0.4995, 0.5699},
    {"20000 FT", 0.4596, 0.5328},
    {"25000 FT", 0.3712, 0.4481},
    {"30000 FT", 0.2971, 0.3741},
    {"35000 FT", 0.2354, 0.31},
    {"40000 FT", 0.1852, 0.2463},
    {"45000 FT", 0.1456, 0.1937},
    {"50000 FT", 0.1145, 0.1523},
    {"60000 FT", 0.0708, 0.0941},
    {"70000 FT", 0.0438, 0.0586},
    {"80000 FT", 0.0272, 0.0359},
    {"90000 FT", 0.017, 0.0222},
    {"100000 FT", 0.0107, 0.0138},
    {"150000 FT", 0.0013, 0.0014},
}};

const std::array<std::array<double, 3>, 3> VelocityConversionTable = {{
    //  FPS      IPS       MNS
    {1, 12, 0.3048},             // FT/SEC
    {1.4667, 17.6004, 0.44704},  // MPH
    {3.2808, 39.3696, 1},        // M/SEC
}};

const std::array<const char*, 4> SpeedUnits = {"FT/SEC", "MPH", "M/SEC", "MACH"};

std::optional<int> unitIndexByCode(std::string_view code)
{
    for (int i = 0; i < 3; ++i)
        if (code == UnitSystemTable[static_cast<size_t>(i)].code) return i;
    return std::nullopt;
}

std::optional<int> unitIndexByListItem(std::string_view item)
{
    for (int i = 0; i < 3; ++i)
        if (item == UnitSystemTable[static_cast<size_t>(i)].listItem) return i;
    return std::nullopt;
}

const StandardAltitude* findAltitude(std::string_view text)
{
    for (const auto& row : StandardAtmosphereTable)
        if (text == row.altitude) return &row;
    return nullptr;
}

std::optional<double> velocityFactor(std::string_view code, std::string_view speedUnit, double speedOfSound)
{
    const auto u = unitIndexByCode(code);
    if (!u) return std::nullopt;
    if (speedUnit == "MACH") return speedOfSound;
    for (size_t s = 0; s < 3; ++s)
        if (speedUnit == SpeedUnits[s]) return VelocityConversionTable[s][static_cast<size_t>(*u)];
    return std::nullopt;
}

void applyUnitConstants(Module1& m, const UnitSystem& row)
{
    m.SeaLevelPressure = row.seaLevelPressure;
    m.SeaLevelDensity = row.seaLevelDensity;
    m.SeaLevelSpeedOfSound = row.seaLevelSpeedOfSound;
    m.DynamicViscosity = row.dynamicViscosity;
    m.GravityAcceleration = std::string_view(row.code) == UnitsSystem::MNS ? 9.806f : 32.2f;
}

void computeAmbientAir(Module1& m)
{
    m.AmbientPressure = m.AltitudePressureRatio * m.SeaLevelPressure;
    m.AmbientDensity = m.AltitudeDensityRatio * static_cast<double>(m.SeaLevelDensity);
    // The ratios come from the table and are never zero; a project state with
    // none set yet keeps the sea-level speed.
    const double ratio = m.AltitudeDensityRatio > 0 ? m.AltitudePressureRatio / m.AltitudeDensityRatio : 1.0;
    m.SpeedOfSound = m.SeaLevelSpeedOfSound * std::sqrt(ratio > 0 ? ratio : 1.0);
}

void setSeaLevelFps(Module1& m)
{
    m.AnalysisUnits = UnitsSystem::FPS;
    m.AltitudePressureRatio = 1;
    m.AltitudeDensityRatio = 1;
    applyUnitConstants(m, UnitSystemTable[UnitsMenuFPS]);
    computeAmbientAir(m);
}

void applyAltitude(Module1& m, std::string_view altitudeText)
{
    if (const StandardAltitude* row = findAltitude(altitudeText)) {
        m.AltitudePressureRatio = row->pressureRatio;
        m.AltitudeDensityRatio = row->densityRatio;
    }
}

void convertVelocity(Module1& m, std::string_view speedUnit)
{
    const auto f = velocityFactor(m.AnalysisUnits, speedUnit, m.SpeedOfSound);
    if (!f) return;
    // A product beyond the double range keeps its sign at the largest double,
    // as a typed number beyond the range reads: outside the velocity range
    // the solution checks, never an infinity shown in a box.
    const double v = m.EnteredVelocity * *f;
    m.FreeStreamVelocity = std::isinf(v) ? std::copysign(DBL_MAX, v) : v;
}

} // namespace velmora
