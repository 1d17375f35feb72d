// The Moon's geocentric position from the ELP/MPP02 lunar theory (the DE405 fit), truncated to
// about 0.5" and 0.1 km over 1900-2100, for the events that need it: eclipses, perigees and
// apogees, the Moon's distance. The phase angle, the ages and the risings keep their own series.
#pragma once

#include "astro/moon_position.h"
#include "astro/time_scales.h"

// The Moon's geometric geocentric position at T (Julian centuries of TT from J2000.0), referred to
// the mean ecliptic and equinox of date (precession applied, no nutation, no light time):
// longitude in [0, 360) degrees, latitude in degrees, distance centre to centre in km.
EclipticPosition PreciseMoonPosition(JulianCenturies T);

// The same position referred to the mean ecliptic and equinox of J2000.0.
EclipticPosition PreciseMoonPositionJ2000(JulianCenturies T);

// The Moon's distance centre to centre (km) at T, and its first and second derivatives (km per
// Julian century, km per century squared), from the distance series alone: the cost of a third of
// a position, for the searches of perigees and apogees.
struct MoonDistanceMotion {
    double distance;
    double rate;
    double acceleration;
};
MoonDistanceMotion PreciseMoonDistanceMotion(JulianCenturies T);

// The same from only the `leadingTerms` largest terms of the main distance series (they stand in
// decreasing order of amplitude): 60 terms leave out at most 30 km, a few km in practice, for a
// first approach to an apsis at a fifth of the cost.
MoonDistanceMotion LeadingMoonDistanceMotion(JulianCenturies T, int leadingTerms);

// The distance alone (km) at T; equal to PreciseMoonPosition(T).distance within 1e-9 km.
double PreciseMoonDistance(JulianCenturies T);

// Precession of ecliptic coordinates from the mean ecliptic and equinox of J2000.0 to those of T
// (Lieske's angles eta, Pi and p), and back. Distances pass through unchanged; longitudes come
// back in [0, 360).
EclipticPosition EclipticJ2000ToDate(const EclipticPosition& position, JulianCenturies T);
EclipticPosition EclipticDateToJ2000(const EclipticPosition& position, JulianCenturies T);

// One term of the series: A sin(phi + w1 T + w2 T^2 + w3 T^3 + w4 T^4), A in arcseconds
// (longitude, latitude) or km (distance), phi in radians, w in radians per century to the power.
struct ElpMpp02Term {
    double amplitude;
    double phase;
    double w1;
    double w2;
    double w3;
    double w4;
};

// The terms multiplied by T^power (0 for the main problem and the first perturbations).
struct ElpMpp02Series {
    const ElpMpp02Term* terms;
    int count;
    int power;
};

// The truncated series (tools/elp_mpp02_terms.py writes them) and the Moon's mean longitude W1
// (radians, coefficients of T^0 .. T^4) that the longitude series is added to.
extern const double MoonMeanLongitudeW1[5];
extern const ElpMpp02Series MoonLongitudeSeries[];
extern const int MoonLongitudeSeriesCount;
extern const ElpMpp02Series MoonLatitudeSeries[];
extern const int MoonLatitudeSeriesCount;
extern const ElpMpp02Series MoonDistanceSeries[];
extern const int MoonDistanceSeriesCount;
