#include "astro/delta_t.h"

#include <gtest/gtest.h>

#include "tests/astro/civil_time.h"

namespace {

// Published values (IERS, the historical series), and the bounds that a sober extrapolation keeps:
// near 69 s in the years after the observations, below 90 s at 2100.
struct DeltaTCase {
    int year, month, day;
    double low, high;  // seconds
};

const DeltaTCase kDeltaTCases[] = {
    {1900,  1,  1, -2.75, -2.65},
    {1950,  1,  1, 29.05, 29.25},
    {1990,  7,  1, 57.15, 57.25},
    {2000,  1,  1, 63.78, 63.88},
    {2017,  1,  1, 68.55, 68.65},
    {2025,  1,  1, 69.10, 69.20},
    {2030,  1,  1, 69.10, 69.30},
    {2100, 12, 31, 80.00, 90.00},
};

TEST(DeltaT, PublishedValuesAndExtrapolation) {
    for (const DeltaTCase& c : kDeltaTCases) {
        const double dt = DeltaTSeconds(JulianDateFromSystemTime(Civil(c.year, c.month, c.day)));
        EXPECT_GE(dt, c.low) << c.year;
        EXPECT_LE(dt, c.high) << c.year;
    }
}

TEST(DeltaT, ContinuousAtTheEndsOfTheTable) {
    for (int year : {1900, 2025}) {
        const double jd = JulianDateFromSystemTime(Civil(year, 1, 1));
        EXPECT_NEAR(DeltaTSeconds(jd - 1e-6), DeltaTSeconds(jd + 1e-6), 1e-6) << year;
    }
}

TEST(DeltaT, UniversalJulianDateInvertsEphemerisCenturies) {
    for (double jd = 2415020.5; jd < 2488070.5; jd += 3652.7) {
        EXPECT_NEAR(UniversalJulianDate(EphemerisCenturies(jd)), jd, 1e-3 / 86400) << jd;
    }
}

}  // namespace
