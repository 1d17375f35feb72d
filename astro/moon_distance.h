// The Moon's distance: its perigees and apogees, its distance at a given instant, and the nearest
// and farthest full Moon of a year (the one the news calls the year's supermoon).
#pragma once

#include <cstdint>
#include <vector>

#include "astro/time_scales.h"

enum ApsisKind : int32_t {
    Perigee = 0,  // 近地点: the Moon nearest the Earth in its orbit
    Apogee = 1,   // 遠地点
};

struct Apsis {
    ApsisKind kind;
    double jd;        // UT Julian Date
    double distance;  // km, centre of the Earth to centre of the Moon
};

// The Moon's distance centre to centre in km at the UT Julian Date jd, from the precise Moon at
// the dynamical time of jd (Delta T). Good to 0.1 km over 1900-2100.
double MoonDistanceAt(double jd);

// Appends to *out, in time order, every perigee and apogee whose instant lies in [jdFrom, jdTo)
// (UT Julian Dates): the extremes of the precise Moon's distance, to about a second of time.
// Returns false when a search did not close (the apsides found up to there are kept), or when the
// range leaves 1800-2200 (then nothing is appended).
bool FindApsides(double jdFrom, double jdTo, std::vector<Apsis>* out);

// The instant (T of the phase searches) of the principal phase `angle` (0, 90, 180, 270) of the
// lunation `lunation` (0 holds the new Moon of 2000-01-06), searched from four days before its
// mean instant: the start the phase listings use, so that a phase comes out bit for bit the same
// wherever it is asked for. *ok as for FindPhaseInstant.
JulianCenturies PrincipalPhaseOfLunation(int64_t lunation, int32_t angle, bool* ok);

// The lunation whose mean new Moon is the latest at or before the UT Julian Date jd.
int64_t LunationOfJulianDate(double jd);

constexpr int kMaxFullMoonsOfYear = 14;

// The full Moons of one local civil year and the nearest and farthest of them.
struct YearFullMoons {
    int32_t count;                         // 12 or 13; 0 when a search did not close
    double jd[kMaxFullMoonsOfYear];        // UT Julian Dates, in time order
    double distance[kMaxFullMoonsOfYear];  // km, MoonDistanceAt(jd)
    int32_t nearest;                       // index of the smallest distance; -1 when count is 0
    int32_t farthest;                      // index of the largest distance
};

// The full Moons whose local date (UTC = local + bias minutes) falls within `year` (1800-2200),
// their instants as PrincipalPhaseOfLunation gives them. The last two years asked for are kept,
// each with its bias.
YearFullMoons FullMoonsOfYear(uint16_t year, int32_t bias);
