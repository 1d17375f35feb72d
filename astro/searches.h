// Instants at which the Moon's phase angle or the Sun's apparent longitude take given values, and
// the Moon's age.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// Direction of a phase search. Any value other than Previous and Next acts as Nearest.
enum PhaseSearch : int32_t {
    Previous = 0,  // the latest instant at or before the start
    Next = 1,      // the earliest instant at or after the start
    Nearest = 2,   // whichever of the two is nearer
};

// T of the instant at which MoonPhaseAngle equals `angle` (degrees, 0 to 360), searched from T in
// the direction `mode`. A start within the tolerance (1e-7 lunation) is returned unchanged, bit for
// bit. The rounds are bounded: a start that is not finite, or a search that does not close within
// the bound, returns the start unchanged and sets *ok (when given) to false; otherwise *ok is true.
JulianCenturies FindPhaseInstant(double angle, JulianCenturies T, int32_t mode, bool* ok = nullptr);

// The Moon's age in days at T: the time since the previous new Moon, 0 up to about 29.8.
double MoonAge(JulianCenturies T);

// T of the instant at which PreciseSunLongitude equals `longitude` (degrees, [0, 360)) and which
// falls, in local time (TimeZoneBias, read afresh), within the civil year `year`. Rounds and year
// corrections are bounded: a longitude the local year cannot hold (within about a degree of the
// Sun's longitude at the local new year, e.g. 280.2 in 2005 for Japan) returns the instant found
// last, in a neighbouring year, and sets *ok (when given) to false; a longitude that is not
// finite returns T of 1 January 00:00 UTC of the year with *ok false. Otherwise *ok is true.
JulianCenturies FindSolarLongitudeInstant(uint16_t year, double longitude, bool* ok = nullptr);

// The same search for a caller that needs only the local date of the instant (the starts of the
// 72 seasons): the precise Sun is consulted only when the short series' instant lies within ten
// minutes of a local midnight, where the two could fall on different dates. The instant returned
// may then be the short series' own, within four minutes of the precise one; its local date is
// the precise instant's. *ok as for FindSolarLongitudeInstant.
JulianCenturies FindSolarLongitudeDayInstant(uint16_t year, double longitude, bool* ok = nullptr);
