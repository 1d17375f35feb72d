// The Sun's apparent longitude from the VSOP87D theory of the Earth, for the instants at which the
// Sun reaches given longitudes: solar terms, seasonal days, equinoxes and the principal terms of
// the lunisolar months. The Moon's phase angle keeps the short series of astro/longitudes.h.
#pragma once

#include "astro/moon_position.h"
#include "astro/time_scales.h"

// One term of the IAU 1980 theory of nutation: the multiples of the Moon's mean elongation D, the
// Sun's mean anomaly M, the Moon's mean anomaly M', the Moon's argument of latitude F and the
// longitude of the Moon's ascending node Omega, and the coefficients in units of 0.0001": the
// nutation in longitude (sine, (longitudeSine + longitudeSineT * T) sin argument) and in
// obliquity (cosine).
struct NutationTerm {
    int d;
    int m;
    int mPrime;
    int f;
    int omega;
    double longitudeSine;
    double longitudeSineT;
    double obliquityCosine;
    double obliquityCosineT;
};

// The 63 terms of 0.0003" and more of the 106-term series, largest first.
extern const NutationTerm NutationTerms[];
extern const int NutationTermCount;  // 63

// The nutation in longitude at T, in arcseconds: the IAU 1980 series truncated to the terms of
// NutationTerms, within 0.003" of the whole series over 1900-2100.
double NutationInLongitude(JulianCenturies T);

// The Sun's apparent geocentric longitude at T (Julian centuries of dynamical time from J2000.0),
// in degrees in [0, 360): the Earth's VSOP87D longitude plus 180 degrees, reduced to the FK5
// system (-0.09033") and from the IAU 1976 to the IAU 2006 precession rate, with the nutation in
// longitude and the annual aberration (-20.4898" / R). Over 1900-2100 it stays within 0.05" of an
// independent modern ephemeris (the solar terms within 1.4 s), and within 0.0026 degree of the
// short series' ApparentSunLongitude.
double PreciseSunLongitude(JulianCenturies T);

// The Sun's apparent geocentric position at T for the eclipses: the longitude of
// PreciseSunLongitude (the same value, bit for bit), the latitude from VSOP87D's (about 1", FK5
// system) and the distance in km, centre to centre, within 2e-6 au (the radius series as the
// aberration sums it).
EclipticPosition PreciseSunPosition(JulianCenturies T);

// The Sun's rate of apparent longitude at T in degrees per Julian century: the derivative of the
// short series, between 34700 and 37300, and over 1900-2100 within 3e-4 of the precise
// longitude's own rate (1.2e-4 measured). Newton steps toward a solar longitude divide by it.
double SunLongitudeRate(JulianCenturies T);
