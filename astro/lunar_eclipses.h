// Lunar eclipses: the Moon in the Earth's penumbra and umbra, with the shadow enlarged as the
// Japanese national almanac enlarges it.
#pragma once

#include <cstdint>
#include <vector>

#include "astro/eclipse_visibility.h"
#include "astro/rise_set.h"

enum LunarEclipseKind : int32_t {
    PenumbralLunarEclipse = 1,  // 半影月食
    PartialLunarEclipse = 2,    // 部分月食
    TotalLunarEclipse = 3,      // 皆既月食
};

// Indices into LunarEclipse::contacts.
enum LunarContact : int32_t {
    PenumbralBegin = 0,  // P1 半影食の始め
    PartialBegin = 1,    // U1 部分食の始め
    TotalBegin = 2,      // U2 皆既食の始め
    TotalEnd = 3,        // U3 皆既食の終わり
    PartialEnd = 4,      // U4 部分食の終わり
    PenumbralEnd = 5,    // P4 半影食の終わり
    LunarContactCount = 6,
};

struct LunarEclipse {
    LunarEclipseKind kind;
    double greatest;            // UT Julian Date of greatest eclipse
    double umbralMagnitude;     // fraction of the Moon's diameter inside the umbra (< 0: outside)
    double penumbralMagnitude;  // the same for the penumbra
    double contacts[LunarContactCount];  // UT Julian Dates; 0 for a contact that does not occur
};

// Every lunar eclipse whose greatest eclipse lies in [jdFrom, jdTo) (UT Julian Dates), in time
// order. Meant for 1900-2100; outside 1800-2200 it gives none.
std::vector<LunarEclipse> LunarEclipsesBetween(double jdFrom, double jdTo);

// How the eclipse is seen from `place`: the Moon's centre against the horizon with the risings'
// refraction (35'08"), topocentric, over U1-U4 (P1-P4 for a penumbral eclipse).
EclipseVisibility LunarEclipseVisibility(const LunarEclipse& eclipse, const GeoPlace& place);
