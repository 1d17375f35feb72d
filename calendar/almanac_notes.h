// The almanac notes of a day: the selected days (選日) that Japanese calendars print beside the
// date, and the 72 seasons (七十二候), five days each, that the Sun's longitude marks.
#pragma once

#include <cstdint>

#include "astro/lunar_day.h"

// One bit per selected day, in the order they are joined for display ("・" between them).
enum DayNote : uint32_t {
    NoteTenshanichi = 1u << 0,      // 天赦日
    NoteIchiryuManbai = 1u << 1,    // 一粒万倍日
    NoteToraNoHi = 1u << 2,         // 寅の日
    NoteMiNoHi = 1u << 3,           // 巳の日
    NoteTsuchinotoMi = 1u << 4,     // 己巳の日 (always also a 巳の日)
    NoteKinoeNe = 1u << 5,          // 甲子の日
    NoteFujoju = 1u << 6,           // 不成就日
    NoteSanrinbo = 1u << 7,         // 三隣亡
    NoteJugoya = 1u << 8,           // 十五夜
    NoteNochiNoJugoya = 1u << 9,    // 後の十五夜 (the 15th of a leap 8th month)
    NoteJusanya = 1u << 10,         // 十三夜
    NoteNochiNoJusanya = 1u << 11,  // 後の十三夜 (the 13th of a leap 9th month)
};

constexpr int kDayNoteCount = 12;
constexpr int kKouCount = 72;

struct DayNotes {
    uint32_t flags;      // DayNote bits
    int32_t kou;         // 0..71, 0 = 東風解凍 (from 立春); -1 when it could not be found
    int32_t solarMonth;  // 節月 1..12, 1 from 立春; 0 when it could not be found
};

// The notes of the local date year-month-day (TimeZoneBias, read afresh) whose lunisolar day is
// `lunar` (ComputeLunarDay of any instant of that local day). The 節月 runs from the local date of
// one 節 (立春 315°, 啓蟄 345°, 清明 15° .. 小寒 285°, every 30°) to the day before the next; the
// 候 from the local date at which the Sun reaches 315° + 5°k to the day before the next one. Both
// are cached per (year, bias).
DayNotes DayNotesOf(uint16_t year, uint16_t month, uint16_t day, const LunarDay& lunar);

// The same, the lunisolar day computed for the date's local noon.
DayNotes ComputeDayNotes(uint16_t year, uint16_t month, uint16_t day);

// Shift_JIS name of the note at bit position `index` (0 天赦日 .. 11 後の十三夜); "" outside 0..11.
const char* DayNoteName(int index);

// The 72 seasons' names and their readings in hiragana, index 0..71 from 東風解凍; "" outside.
// Unlike every other text of the program these are UTF-8, not Shift_JIS: three names (黄鶯睍睆,
// 鱖魚群, 雉始雊) hold characters that code page 932 lacks. Convert them with CP_UTF8, never 932,
// and never pass them through a Shift_JIS-to-UTF-8 conversion.
const char* KouName(int index);
const char* KouReading(int index);

// Local date (days since 1970-01-01) on which the 候 `index` (0..71) begins within the civil year
// `year`: the local date of the instant at which the Sun reaches 315° + 5°·index that year; for
// index 65 (280°, within a day of the new year) the instant after 275° of that year, which may
// fall on 1 January of the next. Returns false when the search did not close.
bool KouStartDay(uint16_t year, int index, int64_t* days);
