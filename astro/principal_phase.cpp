#include "astro/principal_phase.h"

#include <cstdint>
#include <cstring>

#include "astro/longitudes.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"

const char* const PhaseNames[4] = {"新月", "上弦", "満月", "下弦"};

namespace {

// The angle at the end of the last day asked for. Consecutive days of a month view or a listing
// share that midnight: one day's end is the next day's beginning. Keyed by the bits of T, since the
// two midnights are reached by different sums (U0 + 1 against the next day's U0) that may round
// apart; when they do, or the zone changed, the angle is computed afresh, and equal bits of T give
// the same angle.
struct DayEndAngleCache {
    uint64_t key;  // bits of T at the day's end; 0 = empty
    double angle;
};

DayEndAngleCache dayEndAngleCache = {};

uint64_t BitsOfCenturies(JulianCenturies T) {
    uint64_t bits;
    std::memcpy(&bits, &T, sizeof bits);
    return bits;
}

double PhaseAngleAt(JulianCenturies T) {
    const uint64_t key = BitsOfCenturies(T);
    if (key != 0 && key == dayEndAngleCache.key) {
        return dayEndAngleCache.angle;
    }
    return MoonPhaseAngle(T);
}

}  // namespace

// Compares the phase angle at the two local midnights that bound the day instead of searching for
// the instant: principal phases lie about seven days apart, so at most one falls within a day.
const char* PrincipalPhaseOfDay(double jd, double* angleOut) {
    const double U0 = LocalDayStart(jd, TimeZoneBias());
    double p0 = PhaseAngleAt(CenturiesFromJulianDate(U0));
    const JulianCenturies T1 = CenturiesFromJulianDate(U0 + 1);
    double p1 = MoonPhaseAngle(T1);
    dayEndAngleCache = {BitsOfCenturies(T1), p1};
    for (int k = 0; k < 4; ++k) {
        // Both angles relative to k * 90, in (-180, 180].
        const double e0 = p0 > 180 ? p0 - 360 : p0;
        const double e1 = p1 > 180 ? p1 - 360 : p1;
        // A phase exactly at the day's beginning belongs to this day, one exactly at its end to
        // the next.
        if (e0 == 0 || (e0 < 0 && e1 > 0)) {
            if (angleOut) {
                *angleOut = k * 90;
            }
            return PhaseNames[k];
        }
        p0 = p0 - 90;
        if (p0 < 0) {
            p0 = p0 + 360;
        }
        p1 = p1 - 90;
        if (p1 < 0) {
            p1 = p1 + 360;
        }
    }
    return "";
}

void ResetDayEndAngleCache() {
    dayEndAngleCache = {};
}
