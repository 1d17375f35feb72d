#include "astro/precise_sun.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/longitudes.h"

namespace {

JulianCenturies CenturiesOfTT(double jd) {
    return (jd - 2451545.0) / 36525;
}

// The whole 106-term IAU 1980 series (ERFA's nut80), in arcseconds; the second row is the worked
// example of 1987-04-10 0h TT.
TEST(NutationInLongitude, WithinThreeMilliarcsecondsOfTheWholeSeries) {
    static const struct {
        double jd;
        double arcseconds;
    } kWholeSeries[] = {
        {2415020.5,  17.426532265},
        {2446895.5,  -3.787824354},
        {2451545.0, -13.923385170},
        {2488069.5,   3.284570111},
    };
    for (const auto& c : kWholeSeries) {
        EXPECT_NEAR(NutationInLongitude(CenturiesOfTT(c.jd)), c.arcseconds, 0.003) << c.jd;
    }
}

// The searches divide by this rate: it must stay positive and close to the precise longitude's
// own, or a Newton step would overshoot.
TEST(SunLongitudeRate, WithinThreeTenThousandthsOfThePreciseRate) {
    const JulianCenturies h = 0.000001;  // 53 minutes
    for (JulianCenturies T = -1.0; T <= 1.01; T += 0.000731) {
        const double rate = SunLongitudeRate(T);
        ASSERT_GT(rate, 34700) << T;
        ASSERT_LT(rate, 37300) << T;
        const double precise =
            std::remainder(PreciseSunLongitude(T + h) - PreciseSunLongitude(T - h), 360) / (2 * h);
        ASSERT_NEAR(precise / rate, 1, 0.0003) << T;
    }
}

// The searches end the short series' estimate where the precise longitude is one step away
// (0.003 degree), and the lunisolar months take the short series where it lies 0.01 degree or
// more from a principal term.
TEST(PreciseSunLongitude, ShortSeriesStaysWithinReachOverTheCalendarsYears) {
    for (JulianCenturies T = -1.0; T <= 1.01; T += 0.0000317) {
        ASSERT_LT(std::fabs(std::remainder(ApparentSunLongitude(T) - PreciseSunLongitude(T), 360)),
                  0.003)
            << T;
    }
}

// The eclipses' Sun: the same longitude to the bit, a latitude of the Earth's orbit about the
// Earth-Moon barycentre (at most 1.2"), and a distance between perihelion and aphelion.
TEST(PreciseSunPosition, AgreesWithTheLongitude) {
    for (JulianCenturies T = -1.0; T <= 1.01; T += 0.0137) {
        const EclipticPosition p = PreciseSunPosition(T);
        ASSERT_EQ(p.longitude, PreciseSunLongitude(T)) << T;
        ASSERT_LT(std::fabs(p.latitude) * 3600, 1.3) << T;
        ASSERT_GT(p.distance, 147.0e6) << T;
        ASSERT_LT(p.distance, 152.2e6) << T;
    }
}

}  // namespace
