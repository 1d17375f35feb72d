// Ecliptic longitudes of the Sun and the Moon from sums of periodic cosine terms, and the Moon's
// phase angle. The mean longitude is part of each table as two degenerate rows (constant and
// linear in T), so one routine gives the whole longitude.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// One row: amplitude * cos(rate * T + phase), times T when scaledByT is nonzero. Degrees and
// degrees per Julian century.
struct PeriodicTerm {
    double amplitude;
    double rate;
    double phase;
    uint16_t scaledByT;
};

extern const PeriodicTerm SunTerms[];
extern const int SunTermCount;  // 18
extern const PeriodicTerm MoonTerms[];
extern const int MoonTermCount;  // 62

// Sum of the first `count` rows in table order, reduced to [0, 360); 0 when count <= 0.
double SumPeriodicTerms(JulianCenturies T, int count, const PeriodicTerm* terms);

// The Sun's apparent longitude in degrees (nutation and aberration applied), not reduced: it lies
// between about -0.011 and 360.005.
double ApparentSunLongitude(JulianCenturies T);

// The Moon's longitude minus the Sun's apparent longitude, in [0, 360): 0 new Moon, 90 first
// quarter, 180 full Moon, 270 last quarter.
double MoonPhaseAngle(JulianCenturies T);

// Forgets the phase angle MoonPhaseAngle remembers from its last call. Results never depend on it;
// tests call this (through ResetAstroCaches) to compare with fresh computation.
void ResetPhaseAngleCache();
