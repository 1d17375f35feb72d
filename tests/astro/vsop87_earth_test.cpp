#include "astro/vsop87_earth.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

JulianCenturies CenturiesOfTT(double jd) {
    return (jd - 2451545.0) / 36525;
}

// The theory's own check values for the Earth in VSOP87D (longitude reduced to one turn), which
// the whole series give: the truncated tables stay within 1e-8 radian and astronomical unit.
TEST(EarthHeliocentric, MatchesTheTheorysCheckValues) {
    static const struct {
        double jd;
        double L, B, R;
    } kCheck[] = {
        {2451545.0, 1.7519238681, -0.0000039656, 0.9833276819},
        {2415020.0, 1.7391225563, -0.0000005679, 0.9832689778},
        {2378495.0, 1.7262638916,  0.0000002083, 0.9832274321},
    };
    for (const auto& c : kCheck) {
        const EarthPosition p = EarthHeliocentric(CenturiesOfTT(c.jd));
        double L = std::fmod(p.longitude, kTwoPi);
        if (L < 0) {
            L = L + kTwoPi;
        }
        EXPECT_NEAR(L, c.L, 1e-8) << c.jd;
        EXPECT_NEAR(p.latitude, c.B, 1e-8) << c.jd;
        EXPECT_NEAR(p.radius, c.R, 1e-8) << c.jd;
    }
}

// The aberration reads the distance without its terms under 1e-7 AU; over 1900-2100 that must
// stay within 2e-6 AU (4e-5") of the whole table.
TEST(SumVsop87, SkippingSmallTermsKeepsTheDistanceForTheAberration) {
    for (double tau = -0.1; tau <= 0.101; tau += 0.0000913) {
        const double whole = SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau);
        const double skipped = SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau, 1e-7);
        ASSERT_NEAR(skipped, whole, 2e-6) << tau;
    }
}

}  // namespace
