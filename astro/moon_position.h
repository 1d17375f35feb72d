// The Moon's geocentric ecliptic position from the truncated ELP-2000/82 theory (60 periodic
// terms each for longitude and distance, 60 for latitude), with the nutation, the obliquity and
// the apparent sidereal time that turn it into a place in the sky. The phase series of
// longitudes.h stays as it is: this one serves the Moon's rising, transit and setting.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// A geocentric position referred to the ecliptic and equinox of date.
struct EclipticPosition {
    double longitude;  // degrees [0, 360)
    double latitude;   // degrees -90 .. 90
    double distance;   // km, centre of the Earth to centre of the body
};

// One row of the table of the Moon's longitude and distance: the multiples of the Delaunay
// arguments D, M, M', F, the coefficient of the sine in longitude (1e-6 degree) and of the
// cosine in distance (1e-3 km).
struct LunarLongitudeDistanceTerm {
    int8_t D;
    int8_t M;
    int8_t Mp;
    int8_t F;
    int32_t sigmaL;
    int32_t sigmaR;
};

// One row of the table of the Moon's latitude: coefficient of the sine in 1e-6 degree.
struct LunarLatitudeTerm {
    int8_t D;
    int8_t M;
    int8_t Mp;
    int8_t F;
    int32_t sigmaB;
};

extern const LunarLongitudeDistanceTerm LunarLongitudeDistanceTerms[];
extern const int LunarLongitudeDistanceTermCount;  // 60
extern const LunarLatitudeTerm LunarLatitudeTerms[];
extern const int LunarLatitudeTermCount;  // 60

// The Moon's geometric geocentric position at T (dynamical time), referred to the mean equinox of
// date, without nutation. Good to about 10" in longitude, 4" in latitude and a few km in distance
// over 1900-2100.
EclipticPosition MoonGeocentricPosition(JulianCenturies T);

// Nutation in longitude and in obliquity, degrees (the short series: about 0.5" and 0.1").
struct Nutation {
    double longitude;  // delta psi
    double obliquity;  // delta epsilon
};
Nutation NutationAt(JulianCenturies T);

// Mean obliquity of the ecliptic at T, degrees (about 23.44).
double MeanObliquity(JulianCenturies T);

// Greenwich apparent sidereal time in degrees [0, 360) at the UT Julian Date jd, given the
// nutation in longitude and the true obliquity (degrees) of that instant.
double ApparentSiderealTime(double jd, double nutationLongitude, double trueObliquity);
