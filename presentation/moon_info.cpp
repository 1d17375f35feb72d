#include "presentation/moon_info.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/longitudes.h"
#include "astro/searches.h"
#include "presentation/pictures.h"
#include "presentation/shift_jis.h"
#include "presentation/tooltips.h"

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

void FormatClockMinuteText(char* dest, size_t size, uint16_t hour, uint16_t minute) {
    if (size > 0) {
        std::snprintf(dest, size, "%u:%02u", static_cast<unsigned>(hour),
                      static_cast<unsigned>(minute));
    }
}

void FormatMoonInstantLine(char* dest, size_t size, const SYSTEMTIME& local,
                           MoonInstantFormatter date, MoonInstantFormatter time) {
    if (size == 0) {
        return;
    }
    if (date == nullptr || !date(local, dest, size) || dest[0] == '\0') {
        FormatJapaneseLongDate(dest, size, local.wYear, local.wMonth, local.wDay);
    }
    size_t used = std::strlen(dest);
    // A space and at least one character of the time must fit before the terminator.
    if (used + 2 >= size) {
        return;
    }
    dest[used++] = ' ';
    dest[used] = '\0';
    char* rest = dest + used;
    const size_t room = size - used;
    if (time == nullptr || !time(local, rest, room) || rest[0] == '\0') {
        char text[16];
        FormatClockMinuteText(text, sizeof text, local.wHour, local.wMinute);
        rest[0] = '\0';
        AppendShiftJisText(rest, room, text);
    }
}
