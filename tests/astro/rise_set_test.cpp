#include "astro/rise_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "astro/civil_dates.h"

namespace {

enum PlaceId { kTokyo, kSapporo, kNaha, kNorth65 };

struct NamedPlace {
    const char* name;
    GeoPlace place;
};

const NamedPlace kPlaces[] = {
    {  "Tokyo", {35.6581, 139.7414}},
    {"Sapporo", {43.0642, 141.3469}},
    {   "Naha", {26.2124, 127.6809}},
    {"North65",    {65.0, 141.3469}}, // 65 N on Sapporo's meridian
};

constexpr int32_t kJapan = -540;

// Local seconds of the day of each event, -1 where there is none: the first of each kind in
// DayEventKind order, then a second moonrise.
struct ReferenceDay {
    PlaceId place;
    int year;
    int month;
    int day;
    double seconds[DayEventKindCount];
    double secondMoonrise;
};

// From tools/rise_set_reference.py (PyEphem's Moon and Sun, ERFA's sidereal time and ellipsoid,
// the same conventions and Delta T), local time of Japan.
const ReferenceDay kReferenceDays[] = {
    {  kTokyo, 1900,  1,  1, 22529.41, 40572.14, 58768.86, 24648.60, 59900.53,    -1.00},
    {  kTokyo, 1923,  9,  1, 77303.51, 12606.00, 36675.71, 18699.37, 65427.43,    -1.00},
    {  kTokyo, 1945,  8, 15, 41173.21, 61275.88, 81032.40, 17944.60, 66688.00,    -1.00},
    {  kTokyo, 1964, 10, 10, 35389.03, 53860.43, 72085.33, 20566.43, 61976.77,    -1.00},
    {  kTokyo, 1989,  1,  8, 26409.19, 43698.19, 61286.82, 24673.58, 60256.22,    -1.00},
    {  kTokyo, 2011,  3, 11, 32332.57, 58777.72, 85453.22, 21513.03, 63868.48,    -1.00},
    {  kTokyo, 2024,  1,  1, 77412.18, 12458.32, 36812.04, 24626.60, 59880.26,    -1.00},
    {  kTokyo, 2051,  6, 21, 58187.41, 77256.24,  7290.60, 15930.94, 68408.48,    -1.00},
    {  kTokyo, 2077, 12, 22, 42259.42, 63326.81, 84941.75, 24429.59, 59524.29,    -1.00},
    {  kTokyo, 2100, 12, 31, 25752.52, 42740.62, 59925.96, 24606.72, 59843.12,    -1.00},
    {kSapporo, 1905,  7,  4, 19549.36, 46275.04, 72712.55, 14376.82, 69438.01,    -1.00},
    {kSapporo, 1936,  2, 26, 27505.77, 52809.03, 78902.81, 22694.63, 62290.67,    -1.00},
    {kSapporo, 1972,  2,  3, 75325.97,  7625.34, 29440.65, 24548.33, 60487.44,    -1.00},
    {kSapporo, 1999, 12, 31,  2345.00, 23701.28, 44567.15, 25549.74, 58125.59,    -1.00},
    {kSapporo, 2033,  9, 23, 17446.25, 39918.38, 61945.19, 19359.98, 63037.25,    -1.00},
    {kSapporo, 2068,  3, 20, 69346.75,   144.95, 20472.10, 20233.54, 64041.78,    -1.00},
    {kSapporo, 2099,  5, 17,  8843.69, 32617.50, 57142.01, 14966.63, 68006.54,    -1.00},
    {   kNaha, 1911, 11, 11, 79703.09, 15464.90, 41571.09, 24234.95, 63739.32,    -1.00},
    {   kNaha, 1950,  4, 30, 61011.19, 82590.73, 15193.48, 21205.39, 68404.01,    -1.00},
    {   kNaha, 1972,  5, 15, 26121.88, 52068.84, 77976.60, 20574.23, 68912.17,    -1.00},
    {   kNaha, 2000,  7, 21, 81114.65, 13441.45, 34539.31, 20949.90, 69713.57,    -1.00},
    {   kNaha, 2042, 10,  1, 70449.41,  5027.60, 28836.87, 22885.87, 65772.03,    -1.00},
    {   kNaha, 2086,  8,  8, 16913.41, 41318.70, 65460.90, 21509.30, 69075.84,    -1.00},
    {   kNaha, 2100,  1,  1, 81640.90, 15305.81, 38676.08, 26188.45, 64119.40,    -1.00},
    {  kTokyo, 2024,  1,  3, 84167.80, 17245.06, 39575.89, 24647.90, 59972.89,    -1.00},
    {  kTokyo, 2024,  1,  4,    -1.00, 19589.68, 40914.95, 24655.71, 60021.04,    -1.00},
    {  kTokyo, 2024,  1,  5,  1200.00, 21999.61, 42325.54, 24661.62, 60070.35,    -1.00},
    {kNorth65, 2022,  6, 23,   452.57, 25093.64, 51552.53,  2116.30, 81471.00, 86361.05},
};

// Everything but the truncation of the lunar series agrees to milliseconds; the series itself is
// good to about 10" in longitude, which moves an event by about a second.
constexpr double kToleranceSeconds = 3;

DayEvents EventsOf(PlaceId place, int year, int month, int day) {
    return ComputeDayEvents(kPlaces[place].place, static_cast<uint16_t>(year),
                            static_cast<uint16_t>(month), static_cast<uint16_t>(day), kJapan);
}

class ReferenceDays : public testing::TestWithParam<ReferenceDay> {};

TEST_P(ReferenceDays, SameEventsWithinThreeSeconds) {
    const ReferenceDay& r = GetParam();
    const DayEvents e = EventsOf(r.place, r.year, r.month, r.day);
    for (int k = 0; k < DayEventKindCount; ++k) {
        const double expected[2] = {r.seconds[k], k == Moonrise ? r.secondMoonrise : -1};
        ASSERT_EQ(e.count[k], (expected[0] >= 0) + (expected[1] >= 0)) << "kind " << k;
        for (int i = 0; i < e.count[k]; ++i) {
            EXPECT_NEAR((e.jd[k][i] - e.dayStart) * 86400, expected[i], kToleranceSeconds)
                << "kind " << k << " event " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RiseSet, ReferenceDays, testing::ValuesIn(kReferenceDays),
                         [](const testing::TestParamInfo<ReferenceDay>& info) {
                             const ReferenceDay& r = info.param;
                             return std::string(kPlaces[r.place].name) + std::to_string(r.year) +
                                    "M" + std::to_string(r.month) + "D" + std::to_string(r.day);
                         });

// The Moon comes back to the horizon about 50 minutes later each day, so about once a lunation
// one date has no moonrise (and another no moonset): 2024-01-04 at Tokyo, between a rise at
// 23:22 on the 3rd and one just after midnight on the 5th.
TEST(ComputeDayEvents, OneDateALunationWithoutMoonrise) {
    EXPECT_EQ(EventsOf(kTokyo, 2024, 1, 4).count[Moonrise], 0);
    const DayEvents before = EventsOf(kTokyo, 2024, 1, 3);
    const DayEvents after = EventsOf(kTokyo, 2024, 1, 5);
    ASSERT_EQ(before.count[Moonrise], 1);
    ASSERT_EQ(after.count[Moonrise], 1);
    EXPECT_GT(after.jd[Moonrise][0] - before.jd[Moonrise][0], 1.0);
}

// Every date 1900-2100 at Tokyo: one sunrise and one sunset, at most one of each Moon event, and
// successive Moon events of a kind 24 to 26.4 hours apart, so that no event is lost between two
// dates or counted in both, and the dates without one come once a lunation.
TEST(ComputeDayEvents, EveryDateAtTokyoChainsItsEvents) {
    double last[DayEventKindCount] = {};
    int empty[DayEventKindCount] = {};
    for (CivilDate d = {1900, 1, 1}; d.year <= 2100; d = AddDays(d, 1)) {
        const DayEvents e = EventsOf(kTokyo, d.year, d.month, d.day);
        ASSERT_EQ(e.count[Sunrise], 1) << d.year << "-" << d.month << "-" << d.day;
        ASSERT_EQ(e.count[Sunset], 1) << d.year << "-" << d.month << "-" << d.day;
        for (int k = Moonrise; k <= Moonset; ++k) {
            ASSERT_LE(e.count[k], 1) << d.year << "-" << d.month << "-" << d.day;
            empty[k] += e.count[k] == 0;
            if (e.count[k] == 1 && last[k] != 0) {
                ASSERT_GT(e.jd[k][0] - last[k], 1.0) << d.year << "-" << d.month << "-" << d.day;
                ASSERT_LT(e.jd[k][0] - last[k], 1.1) << d.year << "-" << d.month << "-" << d.day;
            }
            last[k] = e.count[k] == 1 ? e.jd[k][0] : last[k];
        }
    }
    // 2,486 lunations, each leaving one date without each Moon event.
    for (int k = Moonrise; k <= Moonset; ++k) {
        EXPECT_NEAR(empty[k], 2486, 2) << k;
    }
}

// At 65 N the Moon's rising time swings by hours from day to day around its northernmost
// declination: 2022-06-23 has two moonrises, seven minutes after midnight and at 23:59:21.
TEST(ComputeDayEvents, TwoMoonrisesAtHighLatitude) {
    const DayEvents e = EventsOf(kNorth65, 2022, 6, 23);
    ASSERT_EQ(e.count[Moonrise], 2);
    EXPECT_LT(e.jd[Moonrise][0], e.jd[Moonrise][1]);
    EXPECT_GT(e.jd[Moonrise][1] - e.jd[Moonrise][0], 0.99);
    EXPECT_EQ(e.count[Moonset], 1);
    // The neighbouring dates do not carry them again.
    EXPECT_EQ(EventsOf(kNorth65, 2022, 6, 22).count[Moonrise], 1);
    EXPECT_EQ(EventsOf(kNorth65, 2022, 6, 24).count[Moonrise], 1);
}

// Midnight sun and polar night at 69.65 N: no sunrise and no sunset at all.
struct PolarDay {
    const char* name;
    int month;
    int day;
};
const PolarDay kPolarDays[] = {
    {"MidnightSun",  6, 21},
    { "PolarNight", 12, 21},
};

class PolarDays : public testing::TestWithParam<PolarDay> {};

TEST_P(PolarDays, NoSunriseNorSunset) {
    const DayEvents e =
        ComputeDayEvents({69.65, 18.96}, 2022, static_cast<uint16_t>(GetParam().month),
                         static_cast<uint16_t>(GetParam().day), -60);
    EXPECT_EQ(e.count[Sunrise], 0);
    EXPECT_EQ(e.count[Sunset], 0);
}

INSTANTIATE_TEST_SUITE_P(RiseSet, PolarDays, testing::ValuesIn(kPolarDays),
                         [](const testing::TestParamInfo<PolarDay>& info) {
                             return std::string(info.param.name);
                         });

// The date of an event is decided by its unrounded instant. Moonset at Tokyo on 2066-06-01 comes
// 0.29 s before midnight (it reads 24:00:00 once rounded) and belongs to the 1st; the one on
// 1907-07-20 comes 0.45 s after midnight and belongs to the 20th, not to the 19th.
TEST(ComputeDayEvents, DateDecidedByTheUnroundedInstant) {
    const DayEvents late = EventsOf(kTokyo, 2066, 6, 1);
    ASSERT_EQ(late.count[Moonset], 1);
    const double lateSecond = (late.jd[Moonset][0] - late.dayStart) * 86400;
    EXPECT_GT(lateSecond, 86399.5);
    EXPECT_LT(lateSecond, 86400);
    const DayEvents next = EventsOf(kTokyo, 2066, 6, 2);
    EXPECT_DOUBLE_EQ(next.dayStart, late.dayStart + 1);
    for (int i = 0; i < next.count[Moonset]; ++i) {
        EXPECT_GT(next.jd[Moonset][i] - late.jd[Moonset][0], 0.5);
    }

    const DayEvents early = EventsOf(kTokyo, 1907, 7, 20);
    ASSERT_EQ(early.count[Moonset], 1);
    EXPECT_LT((early.jd[Moonset][0] - early.dayStart) * 86400, 0.5);
    const DayEvents before = EventsOf(kTokyo, 1907, 7, 19);
    for (int i = 0; i < before.count[Moonset]; ++i) {
        EXPECT_LT(before.jd[Moonset][i], early.dayStart - 0.5);
    }
}

// Inputs that name no date or no place give no events rather than a guess.
struct BadInput {
    const char* name;
    GeoPlace place;
    int year;
    int month;
    int day;
};
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();
const BadInput kBadInputs[] = {
    {  "February29Of2023",  {35.6581, 139.7414}, 2023,  2, 29},
    {           "Month13",  {35.6581, 139.7414}, 2024, 13,  1},
    {              "Day0",  {35.6581, 139.7414}, 2024,  1,  0},
    {    "YearBefore1800",  {35.6581, 139.7414}, 1799, 12, 31},
    {      "LatitudeOver",     {89.6, 139.7414}, 2024,  1,  1},
    {       "LatitudeNaN",     {kNaN, 139.7414}, 2024,  1,  1},
    {"LongitudeNotFinite", {35.6581, kInfinity}, 2024,  1,  1},
};

class BadInputs : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, NoEvents) {
    const BadInput& b = GetParam();
    const DayEvents e =
        ComputeDayEvents(b.place, static_cast<uint16_t>(b.year), static_cast<uint16_t>(b.month),
                         static_cast<uint16_t>(b.day), kJapan);
    for (int k = 0; k < DayEventKindCount; ++k) {
        EXPECT_EQ(e.count[k], 0) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(RiseSet, BadInputs, testing::ValuesIn(kBadInputs),
                         [](const testing::TestParamInfo<BadInput>& info) {
                             return std::string(info.param.name);
                         });

// The upper limb counts for the Sun: at sunrise its centre stands a semidiameter (about 16')
// lower than the refraction, and the Moon's topocentric centre stands at the refraction itself.
TEST(ComputeDayEvents, AltitudesAtTheEvents) {
    const DayEvents e = EventsOf(kTokyo, 2024, 1, 1);
    const HorizonPlace sun = BodyHorizonPlace(false, kPlaces[kTokyo].place, e.jd[Sunrise][0]);
    EXPECT_NEAR(sun.altitude, kHorizonRefraction - 0.2710, 0.0005);
    const HorizonPlace moon = BodyHorizonPlace(true, kPlaces[kTokyo].place, e.jd[Moonset][0]);
    EXPECT_NEAR(moon.altitude, kHorizonRefraction, 1e-5);
    const HorizonPlace transit =
        BodyHorizonPlace(true, kPlaces[kTokyo].place, e.jd[MoonTransit][0]);
    EXPECT_NEAR(transit.hourAngle, 0, 1e-4);
}

}  // namespace
