// Texts of the risings, transits and settings of a date, for the CLI and the windows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/rise_set.h"

// Seconds from the local midnight that begins the date to the instant jd (a UT Julian Date of
// that date), rounded to the nearest second: 0 .. 86400. An instant in the last half second of
// the date gives 86400: it belongs to the date by its unrounded instant and reads 24:00:00.
int32_t RoundedSecondOfDay(const DayEvents& events, double jd);

// The events of `kind` as local "HH:MM:SS", rounded to the nearest second; two are joined by ","
// ("05:12:09,23:59:21"); "-" when there is none. Writes at most `size` bytes including the
// terminator (nothing when size is 0), 18 always suffice; returns dest.
char* FormatEventSeconds(char* dest, size_t size, const DayEvents& events, int32_t kind);

// The same as "HH:MM", rounded to the nearest minute from the unrounded instant (12:34:29.6 reads
// 12:34), and "――" when there is none. 12 bytes always suffice; returns dest.
char* FormatEventMinutes(char* dest, size_t size, const DayEvents& events, int32_t kind);

// The Moon window's lines of a date's events to the minute: "月の出 18:23  南中 00:41  月の入
// 07:12" into moonLine and "日の出 06:50  日の入 16:38" into sunLine (each `size` bytes; 64 always
// suffice), "――" for an event that does not occur that date.
void ComposeRiseSetLines(const DayEvents& events, char* moonLine, char* sunLine, size_t size);

// The heading of those lines: "今日の月と太陽（" the place's name "）", cut at a character boundary
// to `size` bytes.
void ComposeRisePlaceLine(char* dest, size_t size, const char* placeName);
