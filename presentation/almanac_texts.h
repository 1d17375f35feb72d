// The texts of the almanac notes of a day: the selected days (選日) joined for a line or a
// tooltip, and the whole day in words for the calendar's hover tooltip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "calendar/month_model.h"

// The Shift_JIS names of the notes set in `flags` (DayNote bits), in the fixed order 天赦日,
// 一粒万倍日, 寅の日, 巳の日, 己巳の日, 甲子の日, 不成就日, 三隣亡, 十五夜 (or 後の十五夜), 十三夜
// (or 後の十三夜), joined by "・", into dest (`size` bytes). Cut at a whole name when it does not
// fit.
// "" when no bit is set. Returns dest.
char* JoinDayNotes(char* dest, size_t size, uint32_t flags);

// Appends to the Shift_JIS tooltip text in dest (`size` bytes) one space and the joined notes of
// `flags`, as many whole names as keep the text within maxCharacters characters (every character
// of code page 932 is one UTF-16 unit, so this is the tray's limit: 127 for its 128-unit field,
// terminator excluded) and within the buffer. A note that does not fit is left out with every one
// after it, never cut; with no room for the first, the text is unchanged. Returns whether every
// note fit.
bool AppendNotesToTooltip(char* dest, size_t size, uint32_t flags, size_t maxCharacters);

// Converts a NUL-terminated Shift_JIS text to UTF-8 into dest (`size` bytes, terminator included);
// returns the length written. The caller's platform supplies it (iconv, MultiByteToWideChar).
typedef size_t (*ShiftJisToUtf8Function)(const char* sjis, char* dest, size_t size);

// The day year-month of `cell` in words, one fact a line (LF between lines, none at the end), as
// UTF-8: the long date with the era year and the weekday
// (FormatLongDateWithEra); the lunisolar date with 閏 for a leap month and the
// rokuyo; the day sign; the tide; the Moon's age and the principal phase of the day if any; the
// solar term, the seasonal days, the holiday or custom entry when the day has them; the selected
// days when any; the 候 with its reading. The Shift_JIS pieces go through `toUtf8`; the 候's name
// and reading are UTF-8 already and are copied as they are, so the whole text is converted to
// UTF-16 once, with code page 65001.
std::string DayInWordsUtf8(uint16_t year, uint16_t month, const MonthCell& cell,
                           ShiftJisToUtf8Function toUtf8);
