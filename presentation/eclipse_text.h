// Eclipses as the lists and windows show them: every lunar and solar eclipse of a range seen from
// the user's place, their kinds and visibility in words, and their times as local clock readings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/lunar_eclipses.h"
#include "astro/solar_eclipses.h"
#include "astro/time_scales.h"

// One eclipse at a place. Instants are UT Julian Dates, 0 for none.
struct EclipseAtPlace {
    bool moon;              // a lunar eclipse; otherwise a solar one
    int32_t kind;           // a LunarEclipseKind or a SolarEclipseKind
    double globalGreatest;  // greatest eclipse on the Earth as a whole
    double greatest;        // lunar: globalGreatest; solar: the maximum at the place
    double magnitude;  // lunar: the umbral (半影月食: the penumbral) magnitude; solar: 食分 at
                       // the place; NaN for a solar eclipse the place does not see
    double begin;         // lunar: U1 (半影月食: P1); solar: 食の始め
    double centralBegin;  // lunar: U2; solar: the start of totality or annularity at the place
    double centralEnd;    // lunar: U3; solar: its end
    double end;           // lunar: U4 (半影月食: P4); solar: 食の終わり
    EclipseVisibility visibility;
    LunarEclipse lunar;  // the whole computation, for a lunar eclipse
    SolarEclipse solar;  // the same for a solar one, and its circumstances at the place
    LocalSolarEclipse local;
};

// Every lunar and solar eclipse whose greatest eclipse on the Earth lies in [jdFrom, jdTo) (UT
// Julian Dates), in time order, seen from `place`. The eclipses of each year at a place are
// computed once and kept for the place last asked for; outside 1800-2200 there are none.
std::vector<EclipseAtPlace> EclipsesAtPlace(double jdFrom, double jdTo, const GeoPlace& place);

// The same computed afresh for just that range, without the yearly record: for a window that
// needs a month (a calendar page), at a twelfth of a year's cost.
std::vector<EclipseAtPlace> ComputeEclipsesAtPlace(double jdFrom, double jdTo,
                                                   const GeoPlace& place);

// The instant whose local date is the eclipse's own: greatest eclipse for a lunar eclipse, the
// maximum at the place for a solar one, or the global greatest eclipse when the place does not
// see it.
double EclipseDateInstant(const EclipseAtPlace& eclipse);

// Whether a listing shows the eclipse's times at the place: always for a lunar eclipse (its
// instants are the same everywhere); for a solar one, when the place is eclipsed with the Sun up.
bool EclipseSeen(const EclipseAtPlace& eclipse);

// "皆既月食", "部分月食", "半影月食", "皆既日食", "金環日食", "金環皆既日食" or "部分日食"
// (Shift_JIS);
// "" for a kind that is not one of these.
const char* EclipseKindName(bool moon, int32_t kind);

// "見える", "月出帯食" / "日出帯食", "月入帯食" / "日入帯食" or "見えない" (Shift_JIS); "" for a
// value that is not an EclipseVisibility.
const char* EclipseVisibilityName(bool moon, EclipseVisibility visibility);

// The civil date and time of the UT Julian Date jd in the zone whose bias is `bias` minutes (UTC
// = local + bias), rounded to the nearest second; half a second before midnight reads 00:00:00 of
// the next date.
void LocalSecondOf(double jd, int32_t bias, SYSTEMTIME* out);

// The local time of jd as "HH:MM:SS" rounded to the nearest second, or "-" when jd is 0. Writes at
// most `size` bytes with the terminator (9 suffice); returns dest.
char* FormatEclipseClock(char* dest, size_t size, double jd, int32_t bias);

// The eclipse at the place in words (Shift_JIS): its contacts in local time, each as "name
// HH:MM:SS" (半影食の始め, 部分食の始め, 皆既食の始め, 食の最大, 皆既食の終わり, 部分食の終わり,
// 半影食の終わり for the Moon; 食の始め, 皆既食の始め or 金環食の始め, 食の最大, ..., 食の終わり
// for the Sun), then "食分 0.123" and the visibility, joined by `separator`. A solar eclipse the
// place does not see gives the visibility alone.
std::string ComposeEclipseDetails(const EclipseAtPlace& eclipse, int32_t bias,
                                  const char* separator);
