// Figures of the Moon information window, computed without a window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/time_scales.h"

// Everything the Moon information window shows for one instant.
struct MoonInfoFigures {
    double age;                // days since the previous new Moon, 0 up to about 29.8
    double phaseAngle;         // degrees [0, 360)
    double illuminated;        // percent 0 (new Moon) .. 100 (full Moon)
    int32_t picture;           // picture 0..59 of the Moon strip for phaseAngle
    JulianCenturies newMoon;   // the previous new Moon (at or before the instant)
    JulianCenturies fullMoon;  // the next full Moon (at or after the instant)
};

// Illuminated fraction of the Moon's disc in percent for a phase angle in degrees: 0 at new Moon,
// 100 at full Moon, from the cosine of the Sun-Moon elongation.
double IlluminatedPercent(double phaseAngle);

// The previous new Moon and the next full Moon as the window searches them: both from T itself,
// the full Moon not from the new Moon found. A search that cannot close leaves T in its place.
void FindMoonInfoInstants(JulianCenturies T, JulianCenturies* newMoon, JulianCenturies* fullMoon);

// All figures of the window for the instant T.
void ComputeMoonInfoFigures(JulianCenturies T, MoonInfoFigures* out);

// Local civil date and time of the instant T for a bias in minutes (UTC = local + bias).
void LocalTimeOfInstant(JulianCenturies T, int32_t bias, SYSTEMTIME* out);

// The window's texts: the age as "%6.2f" and the fraction as "%6.2f%%". Each writes at most
// `size` bytes including the terminator (nothing when size is 0) and returns dest.
char* FormatMoonAgeText(char* dest, size_t size, double age);
char* FormatIlluminatedText(char* dest, size_t size, double percent);

// A formatter of the platform for a local date or time: writes a NUL-terminated text of at most
// `size` bytes into dest and returns false when it cannot (then dest is not used).
typedef bool (*MoonInstantFormatter)(const SYSTEMTIME& local, char* dest, size_t size);

// The clock time without seconds as the program writes it, "H:MM" (e.g. 9:05), cut to `size`.
void FormatClockMinuteText(char* dest, size_t size, uint16_t hour, uint16_t minute);

// The line of a Moon instant in the window: the local date, one space, the local time without
// seconds, at most `size` bytes (64 in the window) including the terminator. `date` and `time` are
// the platform's formatters (null: none); where one fails the program's own form stands in (the
// Japanese long date, "H:MM"). When the date leaves no room, the time is left out.
void FormatMoonInstantLine(char* dest, size_t size, const SYSTEMTIME& local,
                           MoonInstantFormatter date, MoonInstantFormatter time);
