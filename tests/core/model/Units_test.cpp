#include "model/Units.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <tuple>

namespace velmora {
namespace {

// The three unit systems as published, in Units-menu order.
struct UnitLiteral {
    const char *list, *menu, *code, *length, *force, *velocity, *pressure, *density, *viscosity;
    double p0;
    float rho0; // kept in single precision
    double a0, mu;
    float gravity;
};
constexpr UnitLiteral kUnits[] = {
    {"ft-lb-sec", "&ft-lb-sec", "FPS", "FT", "LB", "FT/SEC", "LB/FT^2", "LB-SEC^2/FT^4", "LB-SEC/FT^2",
     2116.8, 0.002378f, 1116.4, 3.9E-07, 32.2f},
    {"in-lb-sec", "&in-lb-sec", "IPS", "IN", "LB", "IN/SEC", "LB/IN^2", "LB-SEC^2/IN^4", "LB-SEC/IN^2",
     14.7, 1.147E-07f, 13396.8, 2.71E-09, 32.2f},
    {"m-nt-sec", "&m-nt-sec", "MNS", "M", "NT", "M/SEC", "NT/M^2", "KG/M^3", "KG/M-SEC",
     101352.93, 1.226f, 340.279, 1.8673E-05, 9.806f},
};

// U.S. Standard Atmosphere: altitude text, pressure ratio, density ratio.
struct AltitudeLiteral { const char* text; double p, rho; };
constexpr AltitudeLiteral kAltitudes[] = {
    {"SEA LEVEL", 1, 1},           {"1000 FT", 0.9644, 0.9711},   {"2000 FT", 0.9298, 0.9428},
    {"3000 FT", 0.8963, 0.9151},   {"4000 FT", 0.8637, 0.8881},   {"5000 FT", 0.8321, 0.8616},
    {"6000 FT", 0.8014, 0.8358},   {"7000 FT", 0.7717, 0.8106},   {"8000 FT", 0.7428, 0.786},
    {"9000 FT", 0.7149, 0.7619},   {"10000 FT", 0.6878, 0.7384},  {"12000 FT", 0.636, 0.6931},
    {"14000 FT", 0.5875, 0.65},    {"16000 FT", 0.542, 0.6089},   {"18000 FT", 0.4995, 0.5699},
    {"20000 FT", 0.4596, 0.5328},  {"25000 FT", 0.3712, 0.4481},  {"30000 FT", 0.2971, 0.3741},
    {"35000 FT", 0.2354, 0.31},    {"40000 FT", 0.1852, 0.2463},  {"45000 FT", 0.1456, 0.1937},
    {"50000 FT", 0.1145, 0.1523},  {"60000 FT", 0.0708, 0.0941},  {"70000 FT", 0.0438, 0.0586},
    {"80000 FT", 0.0272, 0.0359},  {"90000 FT", 0.017, 0.0222},   {"100000 FT", 0.0107, 0.0138},
    {"150000 FT", 0.0013, 0.0014},
};

TEST(UnitSystems, ConstantsAndUnitTexts)
{
    ASSERT_EQ(UnitSystemTable.size(), std::size(kUnits));
    for (int i = 0; i < 3; ++i) {
        const UnitLiteral& e = kUnits[i];
        SCOPED_TRACE(e.code);
        EXPECT_EQ(unitIndexByCode(e.code), i);
        EXPECT_EQ(unitIndexByListItem(e.list), i);
        const UnitSystem& u = UnitSystemTable[static_cast<size_t>(i)];
        const std::pair<const char*, const char*> texts[] = {{u.menuItem, e.menu}, {u.length, e.length},
            {u.force, e.force}, {u.velocity, e.velocity}, {u.pressure, e.pressure}, {u.density, e.density},
            {u.viscosity, e.viscosity}};
        for (auto [shown, published] : texts) EXPECT_STREQ(shown, published);

        auto m = makeModule1();
        applyUnitConstants(*m, u);
        EXPECT_EQ(std::tuple(m->SeaLevelPressure, m->SeaLevelDensity, m->SeaLevelSpeedOfSound, m->DynamicViscosity,
                             m->GravityAcceleration),
                  std::tuple(e.p0, e.rho0, e.a0, e.mu, e.gravity));
    }
    EXPECT_FALSE(unitIndexByCode("fps"));
    EXPECT_FALSE(unitIndexByListItem("&ft-lb-sec"));
}

TEST(Atmosphere, EveryAltitudeInEveryUnitSystem)
{
    ASSERT_EQ(StandardAtmosphereTable.size(), std::size(kAltitudes));
    for (const UnitLiteral& e : kUnits) {
        auto m = makeModule1();
        applyUnitConstants(*m, UnitSystemTable[static_cast<size_t>(*unitIndexByCode(e.code))]);
        for (const AltitudeLiteral& alt : kAltitudes) {
            SCOPED_TRACE(std::string(e.code) + " " + alt.text);
            applyAltitude(*m, alt.text);
            computeAmbientAir(*m);
            EXPECT_EQ(std::pair(m->AltitudePressureRatio, m->AltitudeDensityRatio), std::pair(alt.p, alt.rho));
            EXPECT_DOUBLE_EQ(m->AmbientPressure, alt.p * e.p0);
            // Single-precision constant times the ratio, the product in double.
            EXPECT_DOUBLE_EQ(m->AmbientDensity, alt.rho * static_cast<double>(e.rho0));
            EXPECT_DOUBLE_EQ(m->SpeedOfSound, e.a0 * std::sqrt(alt.p / alt.rho));
            EXPECT_EQ(m->DynamicViscosity, e.mu);
        }
        // An altitude text that is not in the table keeps the ratios of the last one (150000 FT).
        for (const char* text : {"10000 ft", "", " 10000 FT", "10000"}) applyAltitude(*m, text);
        EXPECT_EQ(std::pair(m->AltitudePressureRatio, m->AltitudeDensityRatio), std::pair(0.0013, 0.0014));
    }
}

TEST(VelocityConversion, EveryFactor)
{
    const struct { const char *speed, *code; double factor; } rows[] = {
        {"FT/SEC", "FPS", 1},      {"FT/SEC", "IPS", 12},      {"FT/SEC", "MNS", 0.3048},
        {"MPH", "FPS", 1.4667},    {"MPH", "IPS", 17.6004},    {"MPH", "MNS", 0.44704},
        {"M/SEC", "FPS", 3.2808},  {"M/SEC", "IPS", 39.3696},  {"M/SEC", "MNS", 1},
        {"MACH", "FPS", 1116.4},   {"MACH", "IPS", 13396.8},   {"MACH", "MNS", 340.279},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.speed) + " -> " + r.code);
        const double a = std::string_view(r.speed) == "MACH" ? r.factor : 0;
        EXPECT_EQ(velocityFactor(r.code, r.speed, a), r.factor);
    }
    EXPECT_FALSE(velocityFactor("XYZ", "FT/SEC", 0));
    EXPECT_FALSE(velocityFactor("FPS", "KNOTS", 0));

    auto m = makeModule1();
    m->AnalysisUnits = "FPS";
    m->EnteredVelocity = 100;
    m->FreeStreamVelocity = 7;
    convertVelocity(*m, "KNOTS");
    EXPECT_EQ(m->FreeStreamVelocity, 7); // no entry: unchanged
    convertVelocity(*m, "MPH");
    EXPECT_DOUBLE_EQ(m->FreeStreamVelocity, 146.67);
    // A typed velocity whose product overflows stays finite, with its sign (and out of the solution's range).
    for (const char* speed : {"MPH", "MACH"})
        for (double typed : {DBL_MAX, -DBL_MAX}) {
            m->EnteredVelocity = typed;
            m->SpeedOfSound = 1116.4;
            convertVelocity(*m, speed);
            EXPECT_EQ(m->FreeStreamVelocity, typed) << speed;
        }
}

} // namespace
} // namespace velmora
