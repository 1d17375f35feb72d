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
