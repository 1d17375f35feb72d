#include "astro/precise_sun.h"

#include <cmath>

#include "astro/longitudes.h"
#include "astro/vsop87_earth.h"

// IAU 1980 theory of nutation (Wahr 1981; Seidelmann 1982), its terms of 0.0003" and more in
// longitude or obliquity, largest first. Columns: multiples of D, M, M', F, Omega; nutation in
// longitude (sine coefficient, its change per century); nutation in obliquity (cosine
// coefficient, its change per century); units of 0.0001".
const NutationTerm NutationTerms[] = {
    { 0,  0,  0,  0, 1, -171996, -174.2, 92025,  8.9},
    {-2,  0,  0,  2, 2,  -13187,   -1.6,  5736, -3.1},
    { 0,  0,  0,  2, 2,   -2274,   -0.2,   977, -0.5},
    { 0,  0,  0,  0, 2,    2062,    0.2,  -895,  0.5},
    { 0,  1,  0,  0, 0,    1426,   -3.4,    54, -0.1},
    { 0,  0,  1,  0, 0,     712,    0.1,    -7,    0},
    {-2,  1,  0,  2, 2,    -517,    1.2,   224, -0.6},
    { 0,  0,  0,  2, 1,    -386,   -0.4,   200,    0},
    { 0,  0,  1,  2, 2,    -301,      0,   129, -0.1},
    {-2, -1,  0,  2, 2,     217,   -0.5,   -95,  0.3},
    {-2,  0,  1,  0, 0,    -158,      0,     0,    0},
    {-2,  0,  0,  2, 1,     129,    0.1,   -70,    0},
    { 0,  0, -1,  2, 2,     123,      0,   -53,    0},
    { 2,  0,  0,  0, 0,      63,      0,     0,    0},
    { 0,  0,  1,  0, 1,      63,    0.1,   -33,    0},
    { 2,  0, -1,  2, 2,     -59,      0,    26,    0},
    { 0,  0, -1,  0, 1,     -58,   -0.1,    32,    0},
    { 0,  0,  1,  2, 1,     -51,      0,    27,    0},
    {-2,  0,  2,  0, 0,      48,      0,     0,    0},
    { 0,  0, -2,  2, 1,      46,      0,   -24,    0},
    { 2,  0,  0,  2, 2,     -38,      0,    16,    0},
    { 0,  0,  2,  2, 2,     -31,      0,    13,    0},
    { 0,  0,  2,  0, 0,      29,      0,     0,    0},
    {-2,  0,  1,  2, 2,      29,      0,   -12,    0},
    { 0,  0,  0,  2, 0,      26,      0,     0,    0},
    {-2,  0,  0,  2, 0,     -22,      0,     0,    0},
    { 0,  0, -1,  2, 1,      21,      0,   -10,    0},
    { 0,  2,  0,  0, 0,      17,   -0.1,     0,    0},
    { 2,  0, -1,  0, 1,      16,      0,    -8,    0},
    {-2,  2,  0,  2, 2,     -16,    0.1,     7,    0},
    { 0,  1,  0,  0, 1,     -15,      0,     9,    0},
    {-2,  0,  1,  0, 1,     -13,      0,     7,    0},
    { 0, -1,  0,  0, 1,     -12,      0,     6,    0},
    { 0,  0,  2, -2, 0,      11,      0,     0,    0},
    { 2,  0, -1,  2, 1,     -10,      0,     5,    0},
    { 2,  0,  1,  2, 2,      -8,      0,     3,    0},
    { 0,  1,  0,  2, 2,       7,      0,    -3,    0},
    {-2,  1,  1,  0, 0,      -7,      0,     0,    0},
    { 0, -1,  0,  2, 2,      -7,      0,     3,    0},
    { 2,  0,  0,  2, 1,      -7,      0,     3,    0},
    { 2,  0,  1,  0, 0,       6,      0,     0,    0},
    {-2,  0,  2,  2, 2,       6,      0,    -3,    0},
    {-2,  0,  1,  2, 1,       6,      0,    -3,    0},
    { 2,  0, -2,  0, 1,      -6,      0,     3,    0},
    { 2,  0,  0,  0, 1,      -6,      0,     3,    0},
    { 0, -1,  1,  0, 0,       5,      0,     0,    0},
    {-2, -1,  0,  2, 1,      -5,      0,     3,    0},
    {-2,  0,  0,  0, 1,      -5,      0,     3,    0},
    { 0,  0,  2,  2, 1,      -5,      0,     3,    0},
    {-2,  0,  2,  0, 1,       4,      0,     0,    0},
    {-2,  1,  0,  2, 1,       4,      0,     0,    0},
    { 0,  0,  1, -2, 0,       4,      0,     0,    0},
    {-1,  0,  1,  0, 0,      -4,      0,     0,    0},
    {-2,  1,  0,  0, 0,      -4,      0,     0,    0},
    { 1,  0,  0,  0, 0,      -4,      0,     0,    0},
    { 0,  0,  1,  2, 0,       3,      0,     0,    0},
    { 0,  0, -2,  2, 2,      -3,      0,     0,    0},
    {-1, -1,  1,  0, 0,      -3,      0,     0,    0},
    { 0,  1,  1,  0, 0,      -3,      0,     0,    0},
    { 0, -1,  1,  2, 2,      -3,      0,     0,    0},
    { 2, -1, -1,  2, 2,      -3,      0,     0,    0},
    { 0,  0,  3,  2, 2,      -3,      0,     0,    0},
    { 2, -1,  0,  2, 2,      -3,      0,     0,    0},
};
const int NutationTermCount = sizeof(NutationTerms) / sizeof(NutationTerms[0]);

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kArcsecondsPerDegree = 3600;

// Added to a VSOP87 longitude of date (the dynamical equinox), it gives the longitude in the FK5
// system; arcseconds.
constexpr double kFk5Correction = -0.09033;
constexpr double kFk5LatitudeCorrection = 0.03916;

constexpr double kKilometresPerAu = 149597870.7;

// The annual aberration of the Sun is -20.4898" / R, R the Earth's distance in astronomical
// units: the light of the Sun left it some 8.3 minutes before, as the Earth moved on.
constexpr double kAberration = -20.4898;

// VSOP87D's equinox of date follows the IAU 1976 precession (5029.0966" a century); the IAU 2006
// precession, which modern ephemerides and the national almanac follow, is 0.300405" a century
// slower (and 0.0057" per century squared). Left alone, the difference reaches 0.3" at 1900 and
// 2100, seven seconds of the Sun's motion. In arcseconds per century and per century squared.
constexpr double kPrecessionRateChange = -0.300405;
constexpr double kPrecessionAccelerationChange = -0.0057;

// The aberration needs the distance only to a few millionths of an astronomical unit: the
// distance series are summed without their terms below 1e-7 AU, which keeps it within 2e-6 AU
// (4e-5") over 1900-2100.
constexpr double kRadiusFloor = 1e-07;

// A polynomial argument in degrees, reduced to one turn before it becomes radians.
double Argument(double c0, double c1, double c2, double c3, JulianCenturies T) {
    return std::fmod(c0 + T * (c1 + T * (c2 + T * c3)), 360) * kRadiansPerDegree;
}

}  // namespace

double NutationInLongitude(JulianCenturies T) {
    // The fundamental arguments of the Moon and the Sun, in degrees.
    const double D = Argument(297.85036, 445267.111480, -0.0019142, 1.0 / 189474, T);
    const double M = Argument(357.52772, 35999.050340, -0.0001603, -1.0 / 300000, T);
    const double Mprime = Argument(134.96298, 477198.867398, 0.0086972, 1.0 / 56250, T);
    const double F = Argument(93.27191, 483202.017538, -0.0036825, 1.0 / 327270, T);
    const double Omega = Argument(125.04452, -1934.136261, 0.0020708, 1.0 / 450000, T);
    double sum = 0;
    for (const NutationTerm& term : NutationTerms) {
        const double argument =
            term.d * D + term.m * M + term.mPrime * Mprime + term.f * F + term.omega * Omega;
        sum = sum + (term.longitudeSine + term.longitudeSineT * T) * std::sin(argument);
    }
    return sum * 0.0001;
}

namespace {

// The apparent longitude, degrees [0, 360), of the Earth's VSOP87D longitude L (radians) at T,
// the Earth's distance being R (au).
double ApparentLongitude(double L, double R, JulianCenturies T) {
    // The Sun seen from the Earth stands opposite the Earth seen from the Sun.
    const double geometric = std::fmod(L * kDegreesPerRadian + 180, 360);
    const double precession = T * (kPrecessionRateChange + T * kPrecessionAccelerationChange);
    const double corrections =
        kFk5Correction + precession + NutationInLongitude(T) + kAberration / R;
    double lambda = std::fmod(geometric + corrections / kArcsecondsPerDegree, 360);
    if (lambda < 0) {
        lambda = lambda + 360;
    }
    // A longitude a hair below 0 becomes 360 when 360 is added; one turn is 0.
    if (lambda >= 360) {
        lambda = lambda - 360;
    }
    return lambda;
}

}  // namespace

double PreciseSunLongitude(JulianCenturies T) {
    const double tau = T * 0.1;
    const double L = SumVsop87(EarthLongitudeSeries, EarthLongitudePowers, tau);
    const double R = SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau, kRadiusFloor);
    return ApparentLongitude(L, R, T);
}

EclipticPosition PreciseSunPosition(JulianCenturies T) {
    const double tau = T * 0.1;
    const double L = SumVsop87(EarthLongitudeSeries, EarthLongitudePowers, tau);
    const double B = SumVsop87(EarthLatitudeSeries, EarthLatitudePowers, tau);
    const double R = SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau, kRadiusFloor);
    const double lambda = ApparentLongitude(L, R, T);
    // The Sun's latitude is the Earth's with the sign turned, with the FK5 system's correction
    // 0.03916" (cos lambda - sin lambda).
    const double l = lambda * kRadiansPerDegree;
    const double fk5 = kFk5LatitudeCorrection * (std::cos(l) - std::sin(l));
    EclipticPosition p;
    p.longitude = lambda;
    p.latitude = -B * kDegreesPerRadian + fk5 / kArcsecondsPerDegree;
    p.distance = R * kKilometresPerAu;
    return p;
}

double SunLongitudeRate(JulianCenturies T) {
    // The derivative of the short series row by row: A cos(B T + C) changes by -A B sin(B T + C)
    // degrees per century, a row scaled by T also by A cos(B T + C).
    double rate = 0;
    for (int i = 0; i < SunTermCount; ++i) {
        const PeriodicTerm& term = SunTerms[i];
        const double angle = (std::fmod(T * term.rate, 360) + term.phase) * kRadiansPerDegree;
        double v = -term.amplitude * term.rate * kRadiansPerDegree * std::sin(angle);
        if (term.scaledByT) {
            v = v * T + term.amplitude * std::cos(angle);
        }
        rate = rate + v;
    }
    return rate;
}
