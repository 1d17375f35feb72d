#include "presentation/moon_info.h"

#include <cmath>
#include <cstdio>

#include "astro/longitudes.h"
#include "astro/searches.h"
#include "presentation/pictures.h"

double IlluminatedPercent(double phaseAngle) {
    return (std::cos((180 - phaseAngle) * kRadiansPerDegree) + 1) * 50;
}

void FindMoonInfoInstants(JulianCenturies T, JulianCenturies* newMoon, JulianCenturies* fullMoon) {
    *newMoon = FindPhaseInstant(0, T, Previous);
    *fullMoon = FindPhaseInstant(180, T, Next);
}

void ComputeMoonInfoFigures(JulianCenturies T, MoonInfoFigures* out) {
    out->age = MoonAge(T);
    out->phaseAngle = MoonPhaseAngle(T);
    out->illuminated = IlluminatedPercent(out->phaseAngle);
    out->picture = MoonStripPictureIndex(out->phaseAngle);
    FindMoonInfoInstants(T, &out->newMoon, &out->fullMoon);
}

void LocalTimeOfInstant(JulianCenturies T, int32_t bias, SYSTEMTIME* out) {
    SystemTimeFromJulianDate(JulianDateFromCenturies(T) - bias * kDaysPerMinute, out);
}

char* FormatMoonAgeText(char* dest, size_t size, double age) {
    if (size > 0) {
        std::snprintf(dest, size, "%6.2f", age);
    }
    return dest;
}

char* FormatIlluminatedText(char* dest, size_t size, double percent) {
    if (size > 0) {
        std::snprintf(dest, size, "%6.2f%%", percent);
    }
    return dest;
}
