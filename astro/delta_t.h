// Delta T, the difference TT - UT, from the observed values of the Earth's rotation and an
// extrapolation beyond them. The time argument of the Parts' series keeps its own linear model
// (CenturiesFromJulianDate); this one serves the events that are published to the second at a
// place: eclipses and the Moon's apsides.
#pragma once

#include "astro/time_scales.h"

// Delta T in seconds at the UT Julian Date jd. Defined for any finite jd; meant for 1900-2100.
// Good to about 0.1 s from 1955 (atomic time) to 2025 and about 0.5 s from 1900; after 2025 an
// extrapolation held near the last observed value (about 71 s in 2050, 87 s in 2100).
double DeltaTSeconds(double jd);

// T (Julian centuries of TT from J2000.0) of the UT Julian Date jd, with DeltaTSeconds.
JulianCenturies EphemerisCenturies(double jd);

// UT Julian Date of T; the inverse of EphemerisCenturies to within a millisecond.
double UniversalJulianDate(JulianCenturies T);
