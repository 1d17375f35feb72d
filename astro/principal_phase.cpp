#include "astro/principal_phase.h"

#include "astro/longitudes.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"

const char* const PhaseNames[4] = {"新月", "上弦", "満月", "下弦"};

// Compares the phase angle at the two local midnights that bound the day instead of searching for
// the instant: principal phases lie about seven days apart, so at most one falls within a day.
const char* PrincipalPhaseOfDay(double jd, double* angleOut) {
    const double U0 = LocalDayStart(jd, TimeZoneBias());
    double p0 = MoonPhaseAngle(CenturiesFromJulianDate(U0));
    double p1 = MoonPhaseAngle(CenturiesFromJulianDate(U0 + 1));
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
