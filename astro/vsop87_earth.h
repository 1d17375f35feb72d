// The Earth's heliocentric ecliptic coordinates from the VSOP87D theory (Bretagnon & Francou
// 1988): longitude, latitude and distance referred to the mean ecliptic and equinox of date.
#pragma once

#include "astro/time_scales.h"

// One published term: A cos(B + C tau), tau in Julian millennia of dynamical time from J2000.0.
// A in radians (longitude, latitude) or astronomical units (distance), B in radians, C in radians
// per millennium.
struct Vsop87Term {
    double amplitude;
    double phase;
    double frequency;
};

// The terms of one power of tau (series L0, L1, ... of the theory), in their published order.
struct Vsop87Series {
    const Vsop87Term* terms;
    int count;
};

// The Earth's series, truncated to the terms that can reach 1e-9 radian or astronomical unit
// within 1900-2100 (tools/vsop87_terms.py writes them).
extern const Vsop87Series EarthLongitudeSeries[];  // L0 .. L5
extern const int EarthLongitudePowers;             // 6
extern const Vsop87Series EarthLatitudeSeries[];   // B0 .. B1
extern const int EarthLatitudePowers;              // 2
extern const Vsop87Series EarthRadiusSeries[];     // R0 .. R4
extern const int EarthRadiusPowers;                // 5

// The sum over a = 0 .. powers - 1 of tau^a times the terms of series a, each series summed in
// table order. Terms whose amplitude is below minAmplitude are skipped (0 keeps every term).
double SumVsop87(const Vsop87Series* series, int powers, double tau, double minAmplitude = 0);

struct EarthPosition {
    double longitude;  // radians, not reduced to one turn
    double latitude;   // radians
    double radius;     // astronomical units
};

// The Earth's heliocentric coordinates at T (Julian centuries of dynamical time from J2000.0).
// Valid to the truncation above within 1900-2100; the theory degrades slowly outside it.
EarthPosition EarthHeliocentric(JulianCenturies T);
