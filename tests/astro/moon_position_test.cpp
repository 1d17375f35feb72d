#include "astro/moon_position.h"

#include <gtest/gtest.h>

namespace {

// 1992 April 12, 0h dynamical time: the worked example of the truncated lunar theory, which
// exercises every row of both tables at once (a wrong digit in any coefficient of 1e-6 degree or
// more shows in the sixth decimal).
const JulianCenturies k1992April12 = (2448724.5 - 2451545) / 36525;

TEST(MoonGeocentricPosition, WorkedExample1992) {
    const EclipticPosition p = MoonGeocentricPosition(k1992April12);
    EXPECT_NEAR(p.longitude, 133.162655, 2e-6);
    EXPECT_NEAR(p.latitude, -3.229126, 2e-6);
    EXPECT_NEAR(p.distance, 368409.7, 0.1);
}

// The short series against the full nutation: 1987 April 10, 0h dynamical time, -3.788" and
// +9.443" with a mean obliquity of 23 26' 27.407"; and the lunar example above, +0.004610 degree
// and a true obliquity of 23.440636. Within the 0.5" and 0.1" the short series promises.
TEST(NutationAt, WithinItsPrecisionOfTheFullSeries) {
    const JulianCenturies T = -0.127296372348;
    const Nutation n = NutationAt(T);
    EXPECT_NEAR(n.longitude * 3600, -3.788, 0.5);
    EXPECT_NEAR(n.obliquity * 3600, 9.443, 0.1);
    EXPECT_NEAR(MeanObliquity(T) * 3600, 23 * 3600 + 26 * 60 + 27.407, 0.001);
    const Nutation n1992 = NutationAt(k1992April12);
    EXPECT_NEAR(n1992.longitude, 0.004610, 0.5 / 3600);
    EXPECT_NEAR(MeanObliquity(k1992April12) + n1992.obliquity, 23.440636, 0.1 / 3600);
}

// 1987 April 10, 0h UT: mean sidereal time 13h10m46.3668s; with a nutation in longitude of
// -3.788" and a true obliquity of 23 26' 36.85", apparent 13h10m46.1351s.
TEST(ApparentSiderealTime, WorkedExample1987) {
    const double trueObliquity = 23 + 26.0 / 60 + 36.85 / 3600;
    const double apparent = ApparentSiderealTime(2446895.5, -3.788 / 3600, trueObliquity);
    EXPECT_NEAR(apparent * 240, 13 * 3600 + 10 * 60 + 46.1351, 0.001);  // seconds of time
    EXPECT_NEAR(ApparentSiderealTime(2446895.5, 0, trueObliquity) * 240,
                13 * 3600 + 10 * 60 + 46.3668, 0.001);
}

// Sidereal time stays in [0, 360) on either side of J2000 and far from it.
TEST(ApparentSiderealTime, ReducedToOneTurn) {
    for (double jd = 2415020.5; jd < 2488070.5; jd += 1000.37) {
        const double theta = ApparentSiderealTime(jd, 0.004, 23.44);
        ASSERT_GE(theta, 0) << jd;
        ASSERT_LT(theta, 360) << jd;
    }
}

}  // namespace
