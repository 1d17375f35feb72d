#include "astro/longitudes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/astro/civil_time.h"

namespace {

const JulianCenturies kJ2000 = CenturiesFromJulianDate(2451545.0);

// The sum exactly as the algorithm writes it, the reduction by repeated additions of 360
// included; only usable where the sum is not far below zero.
double ReferenceSum(JulianCenturies T, int count, const PeriodicTerm* terms) {
    double S = 0;
    for (int i = 0; i < count; ++i) {
        double v =
            terms[i].amplitude *
            std::cos((std::fmod(T * terms[i].rate, 360) + terms[i].phase) * 0.017453292519943295);
        if (terms[i].scaledByT) {
            v = v * T;
        }
        S = S + v;
    }
    while (S < 0) {
        S = S + 360;
    }
    return std::fmod(S, 360);
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof(double)) == 0;
}

TEST(SumPeriodicTerms, NoRowsGiveZero) {
    EXPECT_EQ(SumPeriodicTerms(0.05, 0, SunTerms), 0);
    EXPECT_EQ(SumPeriodicTerms(0.05, -3, MoonTerms), 0);
}

TEST(Longitudes, ValuesAtJ2000And2005) {
    EXPECT_NEAR(kJ2000, 2.0597e-08, 1e-12);
    EXPECT_NEAR(SumPeriodicTerms(kJ2000, SunTermCount, SunTerms), 280.3781, 1e-4);
    EXPECT_NEAR(SumPeriodicTerms(kJ2000, MoonTermCount, MoonTerms), 223.3182, 1e-4);
    EXPECT_NEAR(ApparentSunLongitude(kJ2000), 280.3685, 1e-4);
    EXPECT_NEAR(ApparentSunLongitude(UtcT(2005, 1, 1)), 280.6658, 1e-4);
    EXPECT_NEAR(MoonPhaseAngle(kJ2000), 302.9497, 1e-4);
    EXPECT_NEAR(MoonPhaseAngle(UtcT(2005, 1, 1)), 238.6336, 1e-4);
}

// The phase angle and the short series' Sun exactly as they were before the solar terms moved to
// the precise longitude, to the last bit.
TEST(MoonPhaseAngle, KeepsEveryBitOfTheShortSeries) {
    static const struct {
        int year, month, day, hour;
        double phase, sun;
    } kBits[] = {
        {1900,  1,  1,  0, 0x1.60429dee55061p+8, 0x1.182734d976b9fp+8},
        {1953,  7, 11,  6,  0x1.b8fef25ef3b8p+0, 0x1.b288812f34b12p+6},
        {2000,  1,  1, 12, 0x1.2ef3224d9be33p+8, 0x1.185e55d9c73ccp+8},
        {2005,  1,  1,  0,  0x1.dd44670607cap+7,  0x1.18aa72b6eea3p+8},
        {2021,  2,  3, 15, 0x1.fee38e952703ep+7, 0x1.3afff3dfda2e1p+8},
        {2053,  1, 20,  0,   0x1.7fbe6f137f4p-2, 0x1.2c61b3b8bce03p+8},
        {2100, 12, 31, 18,  0x1.479b7a840da8p+3, 0x1.181bb5cddf52cp+8},
    };
    for (const auto& c : kBits) {
        const JulianCenturies T = UtcT(c.year, c.month, c.day, c.hour);
        ResetPhaseAngleCache();
        EXPECT_TRUE(SameBits(MoonPhaseAngle(T), c.phase)) << c.year;
        EXPECT_TRUE(SameBits(ApparentSunLongitude(T), c.sun)) << c.year;
    }
}

// Sums far below zero (before 2000, where 481267.88 * T dominates the Moon's) are reduced by whole
// turns first; the value must stay that of the plain repeated additions, to the last bit.
TEST(SumPeriodicTerms, EarlyReductionKeepsEveryBit) {
    for (JulianCenturies T = -1.02; T < 1.02; T += 0.0000737) {
        ASSERT_TRUE(SameBits(SumPeriodicTerms(T, MoonTermCount, MoonTerms),
                             ReferenceSum(T, MoonTermCount, MoonTerms)))
            << T;
        ASSERT_TRUE(SameBits(SumPeriodicTerms(T, SunTermCount, SunTerms),
                             ReferenceSum(T, SunTermCount, SunTerms)))
            << T;
    }
}

TEST(SumPeriodicTerms, AbsurdTimesReturnPromptly) {
    const double moon = SumPeriodicTerms(-1e12, MoonTermCount, MoonTerms);
    EXPECT_GE(moon, 0);
    EXPECT_LT(moon, 360);
    EXPECT_TRUE(std::isnan(
        SumPeriodicTerms(-std::numeric_limits<double>::infinity(), MoonTermCount, MoonTerms)));
    EXPECT_TRUE(std::isnan(
        SumPeriodicTerms(std::numeric_limits<double>::quiet_NaN(), SunTermCount, SunTerms)));
    EXPECT_TRUE(std::isnan(SumPeriodicTerms(-1e305, MoonTermCount, MoonTerms)));
}

TEST(ApparentSunLongitude, StaysWithinItsRangeAndDipsBelowZeroAtTheEquinox) {
    double lowest = 360;
    double highest = 0;
    for (double jd = UtcJd(1900, 1, 1); jd < UtcJd(2101, 1, 1); jd += 0.25) {
        const double L = ApparentSunLongitude(CenturiesFromJulianDate(jd));
        lowest = std::fmin(lowest, L);
        highest = std::fmax(highest, L);
    }
    EXPECT_GE(lowest, -0.011);
    EXPECT_LE(highest, 360.005);
    // Just after the raw sum passes 0, the corrections leave the longitude negative.
    bool negative = false;
    for (double jd = UtcJd(2005, 3, 20, 12); jd < UtcJd(2005, 3, 20, 14); jd += 1.0 / 86400) {
        const double L = ApparentSunLongitude(CenturiesFromJulianDate(jd));
        if (L < 0) {
            negative = true;
            EXPECT_GT(L, -0.011);
        }
    }
    EXPECT_TRUE(negative);
}

TEST(MoonPhaseAngle, NeverLeavesZeroTo360) {
    for (double jd = UtcJd(1900, 1, 1); jd < UtcJd(2101, 1, 1); jd += 0.77) {
        const double P = MoonPhaseAngle(CenturiesFromJulianDate(jd));
        ASSERT_GE(P, 0) << jd;
        ASSERT_LT(P, 360) << jd;
    }
}

// The angle is remembered for the last T only: a sequence that repeats and alternates instants
// gives each instant its own angle, as the sums written out give it.
TEST(MoonPhaseAngle, RepeatedAndAlternatingInstantsKeepTheirOwnAngles) {
    const JulianCenturies kInstants[] = {
        UtcT(2005, 1, 1), UtcT(2005, 1, 1),  UtcT(2005, 1, 1, 0, 0, 1), UtcT(2005, 1, 1),
        kJ2000,           UtcT(2026, 7, 14), UtcT(2026, 7, 14),         kJ2000};
    ResetPhaseAngleCache();
    for (const JulianCenturies T : kInstants) {
        double P =
            std::fmod(ReferenceSum(T, MoonTermCount, MoonTerms) - ApparentSunLongitude(T), 360);
        if (P < 0) {
            P = P + 360;
        }
        ASSERT_TRUE(SameBits(MoonPhaseAngle(T), P)) << T;
    }
}

}  // namespace
