// Solar eclipses: the global kind and greatest eclipse, and the circumstances at a place.
#pragma once

#include <cstdint>
#include <vector>

#include "astro/eclipse_visibility.h"
#include "astro/rise_set.h"

enum SolarEclipseKind : int32_t {
    PartialSolarEclipse = 1,  // 部分日食
    AnnularSolarEclipse = 2,  // 金環日食
    TotalSolarEclipse = 3,    // 皆既日食
    HybridSolarEclipse = 4,   // 金環皆既日食
};

struct SolarEclipse {
    SolarEclipseKind kind;
    double greatest;           // UT Julian Date of greatest eclipse
    double greatestLatitude;   // degrees, north positive, where greatest eclipse falls
    double greatestLongitude;  // degrees, east positive
    double magnitude;          // the eclipse's magnitude at greatest eclipse
};

// The eclipse seen from one place. The instants are UT Julian Dates, 0 for none.
struct LocalSolarEclipse {
    bool eclipsed;        // false: no eclipse at the place (everything else 0)
    double begin;         // 食の始め
    double centralBegin;  // start of totality or annularity, when the central path passes over
    double greatest;      // 食の最大 at the place
    double centralEnd;
    double end;          // 食の終わり
    double magnitude;    // 食分: fraction of the Sun's diameter covered at the maximum
    double obscuration;  // 面積比: fraction of the Sun's disc covered at the maximum
    double sunAltitude;  // degrees, the Sun's centre at the maximum, without refraction
    EclipseVisibility visibility;
};

// Every solar eclipse whose greatest eclipse lies in [jdFrom, jdTo) (UT Julian Dates), in time
// order. Meant for 1900-2100; outside 1800-2200 it gives none.
std::vector<SolarEclipse> SolarEclipsesBetween(double jdFrom, double jdTo);

// The eclipse's circumstances at `place` (the ellipsoid at height 0). Visibility: the Sun's upper
// limb against the horizon with the sunrise convention.
LocalSolarEclipse LocalSolarCircumstances(const SolarEclipse& eclipse, const GeoPlace& place);
