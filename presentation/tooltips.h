// The two tooltip texts of the tray icons (Shift_JIS): the Moon and tide text of icons 0 and 1,
// and the calendar text of icons 2 to 4.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/lunar_day.h"
#include "calendar/holidays.h"

// Bytes of a tooltip text, the terminating zero included: room for the 127 characters of the
// tray's field (which counts UTF-16 units) even when every one of them is a double-byte one.
constexpr size_t kTooltipSize = 256;

// Characters the tray shows of a tooltip: its field holds 128 UTF-16 units, the terminating zero
// included, and every character of code page 932 is one unit.
constexpr size_t kTrayTooltipCharacters = 127;

// The Moon and tide tooltip into dest (kTooltipSize bytes): the Moon's age in days as "月齢%.2f "
// and the tide name of lunar right behind it, e.g. 月齢12.34 中潮.
void ComposeMoonTooltip(char* dest, double moonAge, const LunarDay& lunar);

// The calendar tooltip of the local date year-month-day into dest (kTooltipSize bytes): dateText
// (the long date of the local clock), then, each after one space, the rokuyo of lunar, the holiday
// name if any, the solar term if one falls on the date, and the first and second seasonal-day
// names if any, single spaces between the items (a national holiday's own leading space is not
// repeated). A text longer than the field is cut at a character boundary. Returns the date's
// DayKind, which the calendar pictures are drawn by.
DayKind ComposeCalendarTooltip(char* dest, const char* dateText, const LunarDay& lunar,
                               uint16_t year, uint16_t month, uint16_t day);

// The Japanese long date form, e.g. 2000年1月1日, into dest (`size` bytes, cut to fit): the date
// text where the platform has no locale service.
void FormatJapaneseLongDate(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day);
