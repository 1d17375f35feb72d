// Moonrise, the Moon's upper transit, moonset, sunrise and sunset of a local date at a place, in
// the conventions of the Japanese national almanac: the Moon's centre and the Sun's upper limb on
// the horizon, refraction at the horizon 35'08", topocentric positions (the parallax of the
// instant), a height of 0 m and no dip.
#pragma once

#include <cstdint>

#include "astro/moon_position.h"
#include "astro/time_scales.h"

// A place on the Earth (geodetic, on the reference ellipsoid at height 0).
struct GeoPlace {
    double latitude;   // degrees, north positive, -89.5 .. 89.5
    double longitude;  // degrees, east positive
};

// Indices into DayEvents.
enum DayEventKind : int32_t {
    Moonrise = 0,
    MoonTransit = 1,  // upper culmination: the Moon's topocentric hour angle is 0
    Moonset = 2,
    Sunrise = 3,
    Sunset = 4,
    DayEventKindCount = 5,
};

// The events of one local date. count[k] is 0, 1 or 2 (two at high latitudes); jd[k][0..count-1]
// are the UT Julian Dates of the instants in time order, unused slots 0. Every instant lies in
// [dayStart, dayStart + 1).
struct DayEvents {
    int32_t count[DayEventKindCount];
    double jd[DayEventKindCount][2];
    double dayStart;  // UT Julian Date of the local midnight that begins the date; 0 when invalid
};

// Altitude of the body's reference point at rising and setting, degrees: the refraction at the
// horizon, 35'08" below it.
constexpr double kHorizonRefraction = -0.5855555555555556;

// The Sun's apparent geocentric position at T: the longitude is the precise Sun's of
// PreciseSunLongitude (VSOP87D, nutation and aberration applied) in [0, 360), interpolated within
// 0.72" (1900-2100) between evaluations eight days apart, a few hundredths of a second of a
// sunrise; the latitude 0, the distance in km from the
// equation of the centre. Every use of the Sun by the risings and settings goes through here.
EclipticPosition SunApparentPosition(JulianCenturies T);

// The Moon's apparent geocentric position at T: MoonGeocentricPosition with the nutation in
// longitude added.
EclipticPosition MoonApparentPosition(JulianCenturies T);

// Where a body stands for an observer at an instant.
struct HorizonPlace {
    double hourAngle;    // topocentric, degrees [-180, 180), west positive
    double declination;  // topocentric, degrees
    double altitude;     // topocentric, degrees, without refraction
};

// Topocentric hour angle, declination and altitude of the Moon's centre (moon true) or of the
// Sun's centre (moon false) at the UT Julian Date jd, seen from `place`.
HorizonPlace BodyHorizonPlace(bool moon, const GeoPlace& place, double jd);

// The events of the local date year-month-day at `place`, for a zone whose bias is `bias`
// minutes (UTC = local + bias): the date spans [local midnight, next local midnight) and an
// event belongs to it by its unrounded instant. Moonrise and moonset: the topocentric altitude
// of the Moon's centre is kHorizonRefraction. Sunrise and sunset: the Sun's upper limb (the true
// semidiameter, 959.63" at 1 au) is there. The searches close to about 0.02 s; the short series
// put the instants within about 2 s of a precise ephemeris over 1900-2100. An invalid date, a
// year outside 1800..2200 or a latitude outside -89.5 .. 89.5 (or not finite) gives no events.
// About 14 positions of the Moon and the Sun a date (11 us on the build host).
DayEvents ComputeDayEvents(const GeoPlace& place, uint16_t year, uint16_t month, uint16_t day,
                           int32_t bias);
