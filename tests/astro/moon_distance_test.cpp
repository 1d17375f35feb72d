#include "astro/moon_distance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/delta_t.h"
#include "tests/astro/civil_time.h"

namespace {

// Apsides of the full ELP/MPP02 series (every one of its 14196 distance terms, evaluated in
// Python and taken to convergence): T of TT and the distance. The three perigees of 1912, 2016 and
// 2034 are the closest of their decades, published as 356,375, 356,509 and 356,446 km.
struct ApsisReference {
    ApsisKind kind;
    double T;
    double distance;
};

// clang-format off
const ApsisReference kFullSeriesApsides[] = {
    { Apogee, -0.999474653, 405800.465},
    {Perigee, -0.879916060, 356375.394},
    {Perigee,  0.168705649, 356508.987},
    {Perigee,  0.231345100, 358266.997},
    {Perigee,  0.349005386, 356445.403},
    { Apogee,  0.998155535, 405821.515},
};
// clang-format on

TEST(FindApsides, AgreeWithTheFullSeries) {
    for (const ApsisReference& r : kFullSeriesApsides) {
        const double jd = UniversalJulianDate(r.T);
        std::vector<Apsis> found;
        ASSERT_TRUE(FindApsides(jd - 3, jd + 3, &found));
        ASSERT_EQ(found.size(), 1u) << r.T;
        EXPECT_EQ(found[0].kind, r.kind);
        EXPECT_NEAR(EphemerisCenturies(found[0].jd), r.T, 0.2 / 1440 / 36525) << r.T;
        EXPECT_NEAR(found[0].distance, r.distance, 0.1) << r.T;
    }
}

// A decade of apsides: perigee and apogee alternate, in time order, about half an anomalistic
// month apart, at distances the Moon reaches.
TEST(FindApsides, AlternateThroughADecade) {
    std::vector<Apsis> found;
    ASSERT_TRUE(FindApsides(UtcJd(2020, 1, 1), UtcJd(2030, 1, 1), &found));
    ASSERT_GT(found.size(), 260u);
    for (size_t i = 1; i < found.size(); ++i) {
        EXPECT_NE(found[i].kind, found[i - 1].kind) << i;
        EXPECT_GT(found[i].jd - found[i - 1].jd, 10.0) << i;
        EXPECT_LT(found[i].jd - found[i - 1].jd, 17.0) << i;
        EXPECT_GT(found[i].distance, found[i].kind == Perigee ? 356000 : 404000) << i;
        EXPECT_LT(found[i].distance, found[i].kind == Perigee ? 371000 : 407000) << i;
    }
    EXPECT_FALSE(FindApsides(UtcJd(1799, 12, 1), UtcJd(1800, 3, 1), &found));
}

// The year's nearest full Moon as published for Japan (JST, bias -540).
struct NearestFullMoon {
    int year, month, day;
};

const NearestFullMoon kNearestInJapan[] = {
    {2023,  8, 31},
    {2024, 10, 17},
    {2025, 11,  5},
};

TEST(FullMoonsOfYear, NearestAsPublished) {
    for (const NearestFullMoon& n : kNearestInJapan) {
        const YearFullMoons moons = FullMoonsOfYear(static_cast<uint16_t>(n.year), -540);
        ASSERT_GE(moons.count, 12) << n.year;
        SYSTEMTIME local;
        SystemTimeFromJulianDate(moons.jd[moons.nearest] + 540 * kDaysPerMinute, &local);
        EXPECT_EQ(local.wMonth, n.month) << n.year;
        EXPECT_EQ(local.wDay, n.day) << n.year;
        EXPECT_LT(moons.distance[moons.nearest], moons.distance[moons.farthest]);
    }
}

// The full Moon of 2009-12-31 19:13 UTC is 2010-01-01 04:13 in Japan: thirteen full Moons in the
// UTC year 2009, twelve in the Japanese one, and it opens the Japanese 2010.
TEST(FullMoonsOfYear, TheLocalYearDecidesAtNewYear) {
    EXPECT_EQ(FullMoonsOfYear(2009, 0).count, 13);
    EXPECT_EQ(FullMoonsOfYear(2009, -540).count, 12);
    const YearFullMoons japan2010 = FullMoonsOfYear(2010, -540);
    EXPECT_NEAR(japan2010.jd[0], UtcJd(2009, 12, 31, 19, 13), 1.0 / 1440);
    // Asked again with another bias, the cache gives that bias's year.
    EXPECT_EQ(FullMoonsOfYear(2009, 0).count, 13);
}

}  // namespace
