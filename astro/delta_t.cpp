#include "astro/delta_t.h"

// Placeholder until the table of observed values lands: a quadratic through 1900-2025.
double DeltaTSeconds(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    return 64.0 + 64.0 * t + 20.0 * t * t;
}

JulianCenturies EphemerisCenturies(double jd) {
    return (jd + DeltaTSeconds(jd) / 86400.0 - 2451545.0) / 36525.0;
}

double UniversalJulianDate(JulianCenturies T) {
    const double jdTT = 2451545.0 + T * 36525.0;
    double jd = jdTT;
    for (int i = 0; i < 3; ++i)
        jd = jdTT - DeltaTSeconds(jd) / 86400.0;
    return jd;
}
