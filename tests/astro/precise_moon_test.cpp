#include "astro/precise_moon.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The Moon of date from the full ELP/MPP02 series (35901 terms, tools/elp_mpp02_terms.py
// --reference): the truncated series must stay within 0.3" and 0.1 km of it.
struct MoonReference {
    double T;
    double longitude, latitude, distance;
};

// clang-format off
const MoonReference kFullSeries[] = {
    {    -1.0, 265.292681356,  0.461522565, 370492.26194},
    { -0.7345, 240.070708616,  3.824589350, 381839.87654},
    {   -0.31,  67.311778819,  4.440743438, 406041.02024},
    {     0.0, 223.318936955,  5.170868713, 402448.63858},
    {  0.0812,  57.382034791,  5.282494147, 370238.11646},
    {  0.2617, 170.915883644, -1.094573232, 385053.48322},
    {     0.5,  18.660816032,  3.391935012, 378667.67848},
    {  0.9999, 113.683919924,  4.192635074, 378588.82319},
};
// clang-format on

TEST(PreciseMoon, WithinTheTruncationOfTheFullSeries) {
    for (const MoonReference& r : kFullSeries) {
        const EclipticPosition p = PreciseMoonPosition(r.T);
        EXPECT_NEAR(p.longitude, r.longitude, 0.3 / 3600) << r.T;
        EXPECT_NEAR(p.latitude, r.latitude, 0.3 / 3600) << r.T;
        EXPECT_NEAR(p.distance, r.distance, 0.1) << r.T;
        const MoonDistanceMotion m = PreciseMoonDistanceMotion(r.T);
        EXPECT_NEAR(m.distance, p.distance, 1e-6) << r.T;
        EXPECT_NEAR(PreciseMoonDistance(r.T), p.distance, 1e-6) << r.T;
    }
}

// The derivatives drive the apsides search: they must match the distance's differences.
TEST(PreciseMoon, DistanceRateMatchesDifferences) {
    const double h = 1e-6;  // centuries, about 53 minutes
    for (double T : {-0.95, 0.0, 0.26, 0.999}) {
        const MoonDistanceMotion m = PreciseMoonDistanceMotion(T);
        const double before = PreciseMoonDistance(T - h);
        const double after = PreciseMoonDistance(T + h);
        EXPECT_NEAR(m.rate, (after - before) / (2 * h), 1e-4 * std::fabs(m.rate) + 50) << T;
        EXPECT_NEAR(m.acceleration, (after - 2 * m.distance + before) / (h * h),
                    1e-3 * std::fabs(m.acceleration) + 1e8)
            << T;
    }
}

TEST(PreciseMoon, PrecessionIsTheIdentityAtJ2000AndRoundTrips) {
    const EclipticPosition j2000 = PreciseMoonPositionJ2000(0.0);
    const EclipticPosition ofDate = PreciseMoonPosition(0.0);
    EXPECT_NEAR(j2000.longitude, ofDate.longitude, 1e-12);
    EXPECT_NEAR(j2000.latitude, ofDate.latitude, 1e-12);
    for (double T : {-1.0, 0.5, 1.0}) {
        const EclipticPosition there = EclipticJ2000ToDate(j2000, T);
        // A century of general precession moves the longitude by about 1.4 degrees.
        EXPECT_NEAR(there.longitude - j2000.longitude, 1.3969 * T, 0.01) << T;
        const EclipticPosition back = EclipticDateToJ2000(there, T);
        EXPECT_NEAR(back.longitude, j2000.longitude, 1e-10) << T;
        EXPECT_NEAR(back.latitude, j2000.latitude, 1e-10) << T;
        EXPECT_NEAR(back.distance, j2000.distance, 1e-8) << T;
    }
}

}  // namespace
