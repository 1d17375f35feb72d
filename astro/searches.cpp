#include "astro/searches.h"

#include <cmath>

#include "astro/longitudes.h"
#include "astro/precise_sun.h"
#include "astro/time_zone.h"

namespace {

constexpr double kPerTurn = 0.002777777777777778;  // 1/360
constexpr double kPhaseTolerance = 1e-07;          // lunation, about a quarter second
constexpr double kPhaseStep = 0.0006;              // century per lunation
constexpr double kYearCorrection = 0.01;           // century, 365.25 days

// The search for a solar longitude ends on the short series once it is this close (degree), and
// on the precise longitude with the step that follows an evaluation this close: see below.
constexpr double kEstimateReach = 0.0005;
constexpr double kOneStepReach = 0.003;

// Over 1900-2100 a phase search closes in at most 16 rounds and a solar one in at most 4 (3 of
// the short series, 1 of the precise longitude), the longitudes of the calendar without any year
// correction; a longitude near the Sun's at the new year may take one. The bounds only stop
// inputs that cannot converge (a non-finite or absurd T, a longitude the local year does not
// contain) and never change a result that converges.
constexpr int kMaxPhaseRounds = 100;
constexpr int kMaxSolarRounds = 60;
constexpr int kMaxYearCorrections = 8;

// The signed distance in degrees from `target` to a longitude, in (-180, 180].
double LongitudeDifference(double longitude, double target) {
    double diff = longitude - target;
    if (diff < 0) {
        diff = diff + 360;
    }
    if (diff > 180) {
        diff = diff - 360;
    }
    return diff;
}

}  // namespace

// The step is 0.0006 century per lunation against 0.000808 for an average lunation, about three
// quarters of the remaining distance even where the Moon moves fastest, so the search never passes
// the target and closes in from the side it starts on.
JulianCenturies FindPhaseInstant(double angle, JulianCenturies T, int32_t mode, bool* ok) {
    if (ok) {
        *ok = false;
    }
    if (!std::isfinite(T)) {
        return T;
    }
    const JulianCenturies start = T;
    const double a = angle * kPerTurn;
    for (int round = 0; round < kMaxPhaseRounds; ++round) {
        double d = MoonPhaseAngle(T) * kPerTurn - a;
        if (d < 0) {
            d = d + 1;
        }
        const double f = d >= 0.5 ? d - 1 : d;
        if (std::fabs(f) < kPhaseTolerance) {
            if (ok) {
                *ok = true;
            }
            return T;
        }
        if (mode == Previous) {
            T = T - d * kPhaseStep;
        } else if (mode == Next) {
            T = T + (1 - d) * kPhaseStep;
        } else {
            T = T - f * kPhaseStep;
        }
    }
    return start;
}

double MoonAge(JulianCenturies T) {
    return (T - FindPhaseInstant(0, T, Previous)) * 36525;
}

// Newton's method, first on the short series, which is cheap and lies within 0.0026 degree of the
// precise longitude over 1900-2100, then on the precise longitude. Each step is the remaining
// distance over the Sun's rate from the short series' derivative (SunLongitudeRate): that rate
// never falls below 34700 degrees a century, so a step always goes toward the target, and it
// differs from the precise longitude's own rate by less than 3e-4 (1.2e-4 measured). So a step
// taken 0.003 degree from the target lands within 0.003 * 3e-4 = 1e-6 degree of it (0.09 s of
// the Sun's motion; the curvature adds 3e-9). The short series ends with the step taken within
// 0.0005 degree of its own solution, which lands on it, so the precise longitude is at most
// 0.0026 degree away and takes a single evaluation and step. A start farther out (outside
// 1900-2100) takes more precise steps until one begins within reach.
namespace {

// Whether the local time of T lies within ten minutes of a local midnight. The short series puts
// a solar longitude within 0.0026 degrees, under four minutes, of the precise Sun: further from a
// midnight than this, both give the same local date.
bool NearLocalMidnight(JulianCenturies T) {
    const double local = JulianDateFromCenturies(T) - TimeZoneBias() * kDaysPerMinute + 0.5;
    const double minutes = (local - std::floor(local)) * 1440;
    return minutes < 10 || minutes > 1430;
}

// The search of FindSolarLongitudeInstant; with dateOnly, the precise step is left out where the
// short series' instant already decides the local date.
JulianCenturies SearchSolarLongitude(uint16_t year, double longitude, bool* ok, bool dateOnly) {
    if (ok) {
        *ok = false;
    }
    SYSTEMTIME newYear = {};
    newYear.wYear = year;
    newYear.wMonth = 1;
    newYear.wDay = 1;
    const JulianCenturies T0 = CenturiesFromSystemTime(newYear);
    if (!std::isfinite(longitude)) {
        return T0;
    }
    // The Sun stands near longitude 280 on 1 January and moves about a degree a day.
    double D = longitude + 80;
    if (D >= 360) {
        D = D - 360;
    }
    JulianCenturies T = T0 + D * kCenturiesPerDay;
    JulianCenturies found = T;
    bool precise = false;
    int corrections = 0;
    for (int round = 0; round < kMaxSolarRounds; ++round) {
        const double diff = LongitudeDifference(
            precise ? PreciseSunLongitude(T) : ApparentSunLongitude(T), longitude);
        T = T - diff / SunLongitudeRate(T);
        if (std::fabs(diff) >= (precise ? kOneStepReach : kEstimateReach)) {
            continue;
        }
        if (!precise && (!dateOnly || NearLocalMidnight(T))) {
            precise = true;
            continue;
        }
        SYSTEMTIME local;
        SystemTimeFromJulianDate(JulianDateFromCenturies(T) - TimeZoneBias() * kDaysPerMinute,
                                 &local);
        if (local.wYear == year) {
            if (ok) {
                *ok = true;
            }
            return T;
        }
        // A tropical year outlasts a 365-day calendar year, so a longitude close to the Sun's at
        // the local new year can be missing from a year; the corrections then alternate between
        // the neighbouring years until the bound stops them.
        found = T;
        if (++corrections > kMaxYearCorrections) {
            return found;
        }
        T = local.wYear < year ? T + kYearCorrection : T - kYearCorrection;
        precise = false;
    }
    return found;
}

}  // namespace

JulianCenturies FindSolarLongitudeInstant(uint16_t year, double longitude, bool* ok) {
    return SearchSolarLongitude(year, longitude, ok, false);
}

JulianCenturies FindSolarLongitudeDayInstant(uint16_t year, double longitude, bool* ok) {
    return SearchSolarLongitude(year, longitude, ok, true);
}
