#include "astro/solar_eclipses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/delta_t.h"
#include "civil_time.h"

namespace {

// NASA's canon (Espenak & Meeus) at the thresholds of the shadow geometry: every hybrid, every
// eclipse whose umbra only grazes the Earth (the axis missing it, by its flattening alone for
// 1950-03-18 and 2014-04-29), the central ones without a northern or southern limit, and the
// partial ones of under 0.05. Greatest eclipse in TD with the canon's Delta T (s); the place of
// greatest eclipse; from tools/solar_eclipse_check.py.
struct CanonEclipse {
    int year;
    int month;
    int day;
    SolarEclipseKind kind;
    double greatestTD;
    double deltaT;
    double magnitude;
    double latitude;
    double longitude;
};

const CanonEclipse kCanon[] = {
    {1908, 12, 23,  HybridSolarEclipse, 2418298.989213,   9.0, 1.0024, -53.4,   -0.5},
    {1909,  6, 17,  HybridSolarEclipse, 2418475.471273,  10.0, 1.0065,  82.9,  123.6},
    {1912,  4, 17,  HybridSolarEclipse, 2419509.982199,  14.0, 1.0003,  38.4,  -11.3},
    {1916, 12, 24, PartialSolarEclipse, 2421222.365532,  19.0, 0.0114, -65.7,   32.1},
    {1928,  5, 19,   TotalSolarEclipse, 2425386.058565,  24.0, 1.0140, -63.3,   22.5},
    {1928,  6, 17, PartialSolarEclipse, 2425415.352407,  24.0, 0.0375,  65.6,   70.6},
    {1930,  4, 28,  HybridSolarEclipse, 2426095.294144,  24.0, 1.0003,  39.4, -121.2},
    {1931,  9, 12, PartialSolarEclipse, 2426596.695428,  24.0, 0.0471,  61.2, -152.8},
    {1935,  1,  5, PartialSolarEclipse, 2427807.733171,  24.0, 0.0013, -64.7, -110.2},
    {1950,  3, 18, AnnularSolarEclipse, 2433359.147234,  29.0, 0.9620, -60.9,   40.9},
    {1957,  4, 30, AnnularSolarEclipse, 2435958.503796,  32.0, 0.9799,  70.6,   40.3},
    {1957, 10, 23,   TotalSolarEclipse, 2436134.704190,  32.0, 1.0013, -71.2,  -23.1},
    {1967, 11,  2,   TotalSolarEclipse, 2439796.735370,  38.0, 1.0126, -62.0,  -27.8},
    {1986, 10,  3,  HybridSolarEclipse, 2446707.296007,  55.0, 1.0000,  59.9,  -37.1},
    {1987,  3, 29,  HybridSolarEclipse, 2446884.034572,  55.0, 1.0013, -12.3,   -2.3},
    {2003,  5, 31, AnnularSolarEclipse, 2452790.673171,  64.0, 0.9384,  66.6,  -24.5},
    {2005,  4,  8,  HybridSolarEclipse, 2453469.358924,  65.0, 1.0074, -10.6, -119.0},
    {2013, 11,  3,  HybridSolarEclipse, 2456600.033056,  68.0, 1.0159,   3.5,  -11.7},
    {2014,  4, 29, AnnularSolarEclipse, 2456776.753160,  69.0, 0.9868, -70.6,  131.3},
    {2023,  4, 20,  HybridSolarEclipse, 2460054.679120,  73.0, 1.0132,  -9.6,  125.8},
    {2031, 11, 14,  HybridSolarEclipse, 2463185.380220,  79.0, 1.0106,  -0.6, -137.6},
    {2043,  4,  9,   TotalSolarEclipse, 2467349.290150,  87.0, 1.0095,  61.3,  152.0},
    {2043, 10,  3, AnnularSolarEclipse, 2467525.626262,  88.0, 0.9497, -61.0,   35.3},
    {2044,  2, 28, AnnularSolarEclipse, 2467674.350463,  88.0, 0.9600, -62.2,  -25.6},
    {2049, 11, 25,  HybridSolarEclipse, 2469770.731806,  93.0, 1.0057,  -3.8,   95.2},
    {2050,  5, 20,  HybridSolarEclipse, 2469947.363079,  94.0, 1.0038, -40.1, -123.7},
    {2067, 12,  6,  HybridSolarEclipse, 2476356.085914, 130.0, 1.0011,  -6.0,  -32.4},
    {2083,  7, 15, PartialSolarEclipse, 2482055.509988, 165.0, 0.0168,  64.0,  -37.7},
    {2098, 10, 24, PartialSolarEclipse, 2487635.941794, 200.0, 0.0056, -61.8,  -95.5},
};

std::string CanonName(const testing::TestParamInfo<CanonEclipse>& info) {
    const CanonEclipse& c = info.param;
    return "Y" + std::to_string(c.year) + "M" + std::to_string(c.month) + "D" +
           std::to_string(c.day);
}

// The canon's figures are rounded to the second, 0.0001 and 0.1 degree. Its place follows its own
// Delta T; turned by the difference in Delta T it is compared where the geometry puts it.
constexpr double kGreatestSeconds = 1;
constexpr double kMagnitude = 0.0005;
constexpr double kPlaceDegrees = 0.3;

class CanonTest : public testing::TestWithParam<CanonEclipse> {};

TEST_P(CanonTest, KindGreatestEclipseMagnitudeAndPlaceAgree) {
    const CanonEclipse& c = GetParam();
    const std::vector<SolarEclipse> found =
        SolarEclipsesBetween(c.greatestTD - 0.5, c.greatestTD + 0.5);
    ASSERT_EQ(found.size(), 1u);
    const SolarEclipse& e = found[0];
    const double deltaT = DeltaTSeconds(e.greatest);
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_NEAR((e.greatest - c.greatestTD) * 86400 + deltaT, 0, kGreatestSeconds);
    EXPECT_NEAR(e.magnitude, c.magnitude, kMagnitude);
    EXPECT_NEAR(e.greatestLatitude, c.latitude, kPlaceDegrees);
    const double turned = e.greatestLongitude - 0.00417807 * (deltaT - c.deltaT) - c.longitude;
    EXPECT_NEAR(turned - 360 * std::floor(turned / 360 + 0.5), 0, kPlaceDegrees);
}

INSTANTIATE_TEST_SUITE_P(SolarEclipses, CanonTest, testing::ValuesIn(kCanon), CanonName);

// The canon's count of each kind in 1900-2100.
TEST(SolarEclipsesBetween, CountsTheCanonsKinds) {
    int counts[5] = {};
    for (const SolarEclipse& e : SolarEclipsesBetween(UtcJd(1900, 1, 1), UtcJd(2101, 1, 1))) {
        counts[e.kind] = counts[e.kind] + 1;
    }
    EXPECT_EQ(counts[PartialSolarEclipse], 155);
    EXPECT_EQ(counts[AnnularSolarEclipse], 146);
    EXPECT_EQ(counts[TotalSolarEclipse], 140);
    EXPECT_EQ(counts[HybridSolarEclipse], 13);
    EXPECT_TRUE(SolarEclipsesBetween(UtcJd(1799, 1, 1), UtcJd(1800, 1, 1)).empty());
}

// Local circumstances evaluated from the canon's Besselian elements with the program's Delta T
// (UT Julian Dates, 0 for none), the visibility from the Sun's upper limb there: the central
// path over a city, the Sun rising or setting during the eclipse (at Nagoya in 1901 visible only
// by refraction: the straight line to the Sun passes behind the Earth), a place the penumbra
// misses and one in its projection on the night side.
struct LocalCase {
    int year;
    int month;
    int day;
    double latitude;
    double longitude;
    EclipseVisibility visibility;
    double begin;
    double centralBegin;
    double greatest;
    double centralEnd;
    double end;
    double magnitude;
};

const LocalCase kLocal[] = {
    {2012,  5, 20, 35.6581,  139.7414,    EclipseVisible, 2456068.388229, 2456068.438877, 2456068.440638,
     2456068.442401,2456068.501837, 0.9393                                                                                                            }, // Tokyo
    {2030,  6,  1, 43.0642,  141.3469,    EclipseVisible, 2462653.778605, 2462653.829512, 2462653.831011,
     2462653.832508, 2462653.877525, 0.9375                                                                                        }, // Sapporo
    {2066,  6, 22, 43.0642,  141.3469,     EclipseRising, 2475824.216852, 2475824.252607, 2475824.253956,
     2475824.255304, 2475824.293217, 0.9314                                                                                        }, // Sapporo
    {1992,  1,  4, 35.6581,  139.7414,     EclipseRising, 2448626.362701,              0, 2448626.403322, 0,
     2448626.449390, 0.3699                                                                                                        }, // Tokyo
    {2046,  2,  5, 34.6864,  135.5200,     EclipseRising, 2468382.389556,              0, 2468382.417555, 0,
     2468382.447843, 0.1416                                                                                                        }, // Osaka
    {2019, 12, 26, 35.6581,  139.7414,    EclipseSetting, 2458843.727920,              0, 2458843.774638, 0,
     2458843.816118, 0.3892                                                                                                        }, // Tokyo
    {2064,  2, 17, 26.2124,  127.6809,    EclipseSetting, 2474967.825384,              0, 2474967.869103, 0,
     2474967.908580, 0.4155                                                                                                        }, // Naha
    {1901, 11, 11, 35.1814,  136.9064,    EclipseSetting, 2415699.825134,              0, 2415699.871950, 0,
     2415699.913768, 0.6374                                                                                                        }, // Nagoya
    {2009,  7, 22, 35.6581,  139.7414,    EclipseVisible, 2455034.538596,              0, 2455034.592355, 0,
     2455034.646082, 0.7485                                                                                                        }, // Tokyo
    {2017,  8, 21, 35.6581,  139.7414, EclipseNotVisible,              0,              0,              0, 0,              0,      0}, // Tokyo
    {2021,  6, 10, 35.6581,  139.7414, EclipseNotVisible,              0,              0,              0, 0,              0,      0}, // Tokyo
    {2017,  8, 21, 21.3069, -157.8583,     EclipseRising, 2457987.160248,              0, 2457987.191644, 0,
     2457987.225941, 0.3875                                                                                                        }, // Honolulu
};

std::string LocalName(const testing::TestParamInfo<LocalCase>& info) {
    const LocalCase& c = info.param;
    return "Y" + std::to_string(c.year) + "M" + std::to_string(c.month) + "D" +
           std::to_string(c.day) + "At" + std::to_string(info.index);
}

constexpr double kContactSeconds = 2;

class LocalTest : public testing::TestWithParam<LocalCase> {};

TEST_P(LocalTest, ContactsMagnitudeAndVisibilityAgree) {
    const LocalCase& c = GetParam();
    const double day = UtcJd(c.year, c.month, c.day);
    const std::vector<SolarEclipse> found = SolarEclipsesBetween(day, day + 1);
    ASSERT_EQ(found.size(), 1u);
    const LocalSolarEclipse l = LocalSolarCircumstances(found[0], {c.latitude, c.longitude});
    EXPECT_EQ(l.eclipsed, c.begin != 0);
    EXPECT_EQ(l.visibility, c.visibility);
    const double got[] = {l.begin, l.centralBegin, l.greatest, l.centralEnd, l.end};
    const double want[] = {c.begin, c.centralBegin, c.greatest, c.centralEnd, c.end};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(got[k] == 0, want[k] == 0) << k;
        EXPECT_NEAR((got[k] - want[k]) * 86400, 0, kContactSeconds) << k;
    }
    EXPECT_NEAR(l.magnitude, c.magnitude, kMagnitude);
    // Under an annular Moon the hidden fraction of the disc is the square of the diameters'.
    if (c.centralBegin != 0) {
        EXPECT_NEAR(l.obscuration, l.magnitude * l.magnitude, 1e-9);
    } else if (l.eclipsed) {
        EXPECT_LT(l.obscuration, l.magnitude);
    }
}

INSTANTIATE_TEST_SUITE_P(SolarEclipses, LocalTest, testing::ValuesIn(kLocal), LocalName);

}  // namespace
