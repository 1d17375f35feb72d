// The Japanese era year (和暦) of a Gregorian date: a built-in table from 明治 to 令和, and the
// eras that a system lists after 令和, so that a future era needs no new build. Computed here and
// never through the platform's date formatting, which older systems and Wine get wrong.
#pragma once

#include <cstddef>
#include <cstdint>

// One era: the Gregorian date from which this program counts in it, and the year its count starts
// in (明治 is counted from 1868 but applies here only from the Gregorian calendar's adoption,
// 1 January 1873).
struct JapaneseEra {
    uint16_t year;  // first date, Gregorian
    uint16_t month;
    uint16_t day;
    uint16_t firstYear;  // the Gregorian year of the era's 元年
    char name[16];       // Shift_JIS, e.g. "令和"
};

// Most eras the table holds: the five built-in ones and eleven more.
constexpr int32_t kMaxJapaneseEras = 16;

// Puts the table back to the five built-in eras.
void ResetJapaneseEras();

// Appends `era` to the table when its first date is a real date later than the last era's first
// date and it has a name that fits; returns whether it was taken.
bool AddJapaneseEra(const JapaneseEra& era);

// Appends the eras of a system's list (in any order, as a registry lists its values) in date
// order, each by AddJapaneseEra: one that begins on or before the table's last era (令和, or one
// taken before it) is out of order and left out. Sorts `eras` in place; returns how many were
// taken. At most kMaxJapaneseEras are looked at.
int32_t AddJapaneseEras(JapaneseEra* eras, int32_t count);

// The era of year-month-day and its year in it (1 for 元年); null and 0 before 1 January 1873 or
// for an invalid date.
const JapaneseEra* FindJapaneseEra(uint16_t year, uint16_t month, uint16_t day, int32_t* eraYear);

// The era year of year-month-day as "令和8年", "令和元年" for the first, into dest (`size` bytes,
// Shift_JIS, cut to fit); "" where FindJapaneseEra has none. Returns dest.
char* FormatJapaneseEraYear(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day);

// The era year a month's header names: that of the month's last day, so that the month in which
// an era begins names the new one (January 1989: 平成元年). "" as FormatJapaneseEraYear.
char* FormatMonthEraYear(char* dest, size_t size, uint16_t year, uint16_t month);

// The long date with the era year and the weekday (0 = Sunday), e.g. 2026年（令和8年）12月8日(火);
// without an era 1872年12月8日(日). Shift_JIS into dest (`size` bytes, cut to fit). Returns dest.
char* FormatLongDateWithEra(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day,
                            uint16_t weekday);

// Reads one value of the system's list of eras: the value's name is the first date as
// "YYYY MM DD" ("2019 05 01"), its data the Shift_JIS name, abbreviation and readings joined by
// "_" ("令和_令_Reiwa_R"), of which the name is taken. Returns false, leaving *era unspecified,
// for another form, an impossible date or a name that is empty or too long.
bool ParseRegistryEra(const char* valueName, const char* data, JapaneseEra* era);
