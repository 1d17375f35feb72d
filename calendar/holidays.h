// National holidays from 1900 on, substitute and citizens' holidays, the user's custom holidays
// below them, and the cached holiday list of one year. The day-list entry and the two date
// comparisons serve the solar-term and seasonal-day lists too.
#pragma once

#include <cstddef>
#include <cstdint>

enum DayKind : int32_t {
    NationalHoliday = 0,
    DayOff = 1,       // substitute or citizens' holiday, or a custom holiday
    Anniversary = 2,  // a custom anniversary: a name, not a day off
    SeasonMark = 3,   // a solar term or seasonal day
    NoEntry = 4,
};

enum RuleType : int32_t {
    ByDate = 0,
    ByWeekday = 1,
    BySolarLongitude = 2,
};

// One rule row: the national table and the user's custom records alike. The in-memory layout is
// the 56-byte little-endian record of the custom-holiday data file.
struct HolidayRule {
    int32_t kind;  // DayKind given to every day the rule produces
    uint16_t firstYear;
    uint16_t lastYear;  // 9999: open end
    int32_t rule;       // RuleType
    uint16_t month;     // 1..12, 0 = every month
    uint16_t day;       // ByDate
    uint16_t week;      // ByWeekday: 1..5 = n-th occurrence, 0 = every occurrence
    uint16_t weekday;   // 0 = Sunday
    double longitude;   // BySolarLongitude: the Sun's apparent longitude, degrees
    char name[24];      // NUL-terminated Shift_JIS
};
static_assert(sizeof(HolidayRule) == 56, "HolidayRule is the 56-byte file record");
static_assert(offsetof(HolidayRule, longitude) == 24, "longitude at offset 24");
static_assert(offsetof(HolidayRule, name) == 32, "name at offset 32");

// One dated entry of a day list.
struct DayEntry {
    int32_t kind;  // DayKind
    uint16_t month;
    uint16_t day;
    uint16_t span;     // consecutive days covered from month/day
    const char* name;  // non-owning; never null
};

// The holiday list of one year: at most 366 entries plus the lookup sentinel.
struct YearHolidayList {
    DayEntry entries[367];
    int32_t count;
    uint16_t year;  // 0 = none
};

extern const HolidayRule NationalHolidayRules[];
extern const int NationalHolidayRuleCount;

// Whole-day number of month/day within the leap year 2000; only differences are meaningful.
int32_t DatePosition(uint16_t month, uint16_t day);

// Sort order of every day list: -1, 0 (the spans overlap) or +1.
int CompareDayEntries(const DayEntry& a, const DayEntry& b);

// -1 when month/day lies before the entry, 0 within its span, +1 after it.
int MatchDayEntry(const DayEntry& entry, uint16_t month, uint16_t day);

// Appends an entry for month/day of list->year; refuses (false) a full list, a date that does not
// exist in that year, or a date already taken. The first entry added for a date keeps it.
bool AddHolidayEntry(YearHolidayList* list, int32_t kind, uint16_t month, uint16_t day,
                     const char* name);

// The week-th (1..5; 0 = every) weekday of month (0 = every month) of list->year.
void AddWeekdayEntries(YearHolidayList* list, uint16_t month, int32_t kind, uint16_t week,
                       uint16_t weekday, const char* name);

// Local date (TimeZoneBias) on which the Sun reaches `longitude` within the local year `year`.
void LocalDateOfSolarLongitude(uint16_t year, double longitude, uint16_t* month, uint16_t* day);

// Applies the rows in force in list->year, in the seven passes by rule shape, then sorts.
void ApplyHolidayRules(YearHolidayList* list, const HolidayRule* rules, int ruleCount);

// National rows, substitute and citizens' holidays, then the custom records, for list->year.
void BuildYearHolidays(YearHolidayList* list);

// Kind and name (never null; "" when none) of a date, from the cached list of its year.
DayKind LookupHoliday(uint16_t year, uint16_t month, uint16_t day, const char** name);

// Drops the cached year so the next lookup rebuilds it with the current custom records.
void InvalidateHolidayCache();
