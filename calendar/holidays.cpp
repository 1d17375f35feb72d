// National holidays from 1900 on, the substitute and citizens' holidays, and the cached holiday
// list of one year.
#include "calendar/holidays.h"

#include <algorithm>
#include <cstring>

#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"

// The pre-war feast days, the holidays of the 1948 law with its later changes, and the one-off
// ceremonial days; the rows after the 48th bring the table to the present law (山の日, the
// Emperor's birthday on 23 February, the accession days of 2019, the Olympic moves of 2020 and
// 2021). Every name but the first begins with one space. Columns: kind, firstYear, lastYear, rule,
// month, day, week, weekday, longitude, name.
const HolidayRule NationalHolidayRules[] = {
    {0, 1949, 9999,           ByDate,  1,  1, 0, 0,   0.0,                    "元日"},
    {0, 1949, 1999,           ByDate,  1, 15, 0, 0,   0.0,             " 成人の日"},
    {0, 2000, 9999,        ByWeekday,  1,  0, 2, 1,   0.0,             " 成人の日"},
    {0, 1967, 9999,           ByDate,  2, 11, 0, 0,   0.0,       " 建国記念の日"},
    {0, 1949, 9999, BySolarLongitude,  0,  0, 0, 0,   0.0,             " 春分の日"},
    {0, 1949, 1988,           ByDate,  4, 29, 0, 0,   0.0,          " 天皇誕生日"},
    {0, 1989, 2006,           ByDate,  4, 29, 0, 0,   0.0,          " みどりの日"},
    {0, 2007, 9999,           ByDate,  4, 29, 0, 0,   0.0,             " 昭和の日"},
    {0, 1949, 9999,           ByDate,  5,  3, 0, 0,   0.0,          " 憲法記念日"},
    {0, 2007, 9999,           ByDate,  5,  4, 0, 0,   0.0,          " みどりの日"},
    {0, 1949, 9999,           ByDate,  5,  5, 0, 0,   0.0,          " こどもの日"},
    {0, 1996, 2002,           ByDate,  7, 20, 0, 0,   0.0,                " 海の日"},
    {0, 2003, 2019,        ByWeekday,  7,  0, 3, 1,   0.0,                " 海の日"},
    {0, 1966, 2002,           ByDate,  9, 15, 0, 0,   0.0,             " 敬老の日"},
    {0, 2003, 9999,        ByWeekday,  9,  0, 3, 1,   0.0,             " 敬老の日"},
    {0, 1948, 9999, BySolarLongitude,  0,  0, 0, 0, 180.0,             " 秋分の日"},
    {0, 1966, 1999,           ByDate, 10, 10, 0, 0,   0.0,             " 体育の日"},
    {0, 2000, 2019,        ByWeekday, 10,  0, 2, 1,   0.0,             " 体育の日"},
    {0, 1948, 9999,           ByDate, 11,  3, 0, 0,   0.0,             " 文化の日"},
    {0, 1948, 9999,           ByDate, 11, 23, 0, 0,   0.0,       " 勤労感謝の日"},
    {0, 1989, 2018,           ByDate, 12, 23, 0, 0,   0.0,          " 天皇誕生日"},
    {0, 1900, 1948,           ByDate,  1,  1, 0, 0,   0.0,                " 新年節"},
    {0, 1900, 1948,           ByDate,  1,  3, 0, 0,   0.0,                " 元始祭"},
    {0, 1900, 1948,           ByDate,  1,  5, 0, 0,   0.0,             " 新年宴會"},
    {0, 1900, 1912,           ByDate,  1, 30, 0, 0,   0.0,          " 孝明天皇祭"},
    {0, 1900, 1948,           ByDate,  2, 11, 0, 0,   0.0,                " 紀元節"},
    {0, 1900, 1948, BySolarLongitude,  0,  0, 0, 0,   0.0,          " 春季皇靈祭"},
    {0, 1900, 1948,           ByDate,  4,  3, 0, 0,   0.0,          " 神武天皇祭"},
    {0, 1927, 1948,           ByDate,  4, 29, 0, 0,   0.0,                " 天長節"},
    {0, 1913, 1926,           ByDate,  7, 30, 0, 0,   0.0,          " 明治天皇祭"},
    {0, 1913, 1926,           ByDate,  8, 31, 0, 0,   0.0,                " 天長節"},
    {0, 1900, 1947, BySolarLongitude,  0,  0, 0, 0, 180.0,          " 秋季皇靈祭"},
    {0, 1900, 1947,           ByDate, 10, 17, 0, 0,   0.0,                " 神嘗祭"},
    {0, 1913, 1926,           ByDate, 10, 31, 0, 0,   0.0,          " 天長節祝日"},
    {0, 1900, 1911,           ByDate, 11,  3, 0, 0,   0.0,                " 天長節"},
    {0, 1927, 1947,           ByDate, 11,  3, 0, 0,   0.0,                " 明治節"},
    {0, 1900, 1947,           ByDate, 11, 23, 0, 0,   0.0,                " 新嘗祭"},
    {0, 1927, 1947,           ByDate, 12, 25, 0, 0,   0.0,          " 大正天皇祭"},
    {0, 1915, 1915,           ByDate, 11, 10, 0, 0,   0.0,             " 即位ノ禮"},
    {0, 1915, 1915,           ByDate, 11, 14, 0, 0,   0.0,                " 大嘗祭"},
    {0, 1915, 1915,           ByDate, 11, 16, 0, 0,   0.0,          " 大饗第一日"},
    {0, 1928, 1928,           ByDate, 11, 10, 0, 0,   0.0,             " 即位の禮"},
    {0, 1928, 1928,           ByDate, 11, 14, 0, 0,   0.0,                " 大嘗祭"},
    {0, 1928, 1928,           ByDate, 11, 16, 0, 0,   0.0,    " 大饗第一日の儀"},
    {0, 1959, 1959,           ByDate,  4, 10, 0, 0,   0.0, " 皇太子の結婚の儀"},
    {0, 1989, 1989,           ByDate,  2, 24, 0, 0,   0.0, " 昭和天皇大喪の礼"},
    {0, 1990, 1990,           ByDate, 11, 12, 0, 0,   0.0,    " 即位礼正殿の儀"},
    {0, 1993, 1993,           ByDate,  6,  9, 0, 0,   0.0, " 皇太子の結婚の儀"},
    {0, 2016, 2019,           ByDate,  8, 11, 0, 0,   0.0,                " 山の日"},
    {0, 2019, 2019,           ByDate,  5,  1, 0, 0,   0.0,    " 天皇の即位の日"},
    {0, 2019, 2019,           ByDate, 10, 22, 0, 0,   0.0,    " 即位礼正殿の儀"},
    {0, 2020, 9999,           ByDate,  2, 23, 0, 0,   0.0,          " 天皇誕生日"},
    {0, 2020, 2020,           ByDate,  7, 23, 0, 0,   0.0,                " 海の日"},
    {0, 2020, 2020,           ByDate,  7, 24, 0, 0,   0.0,       " スポーツの日"},
    {0, 2020, 2020,           ByDate,  8, 10, 0, 0,   0.0,                " 山の日"},
    {0, 2021, 2021,           ByDate,  7, 22, 0, 0,   0.0,                " 海の日"},
    {0, 2021, 2021,           ByDate,  7, 23, 0, 0,   0.0,       " スポーツの日"},
    {0, 2021, 2021,           ByDate,  8,  8, 0, 0,   0.0,                " 山の日"},
    {0, 2022, 9999,        ByWeekday,  7,  0, 3, 1,   0.0,                " 海の日"},
    {0, 2022, 9999,           ByDate,  8, 11, 0, 0,   0.0,                " 山の日"},
    {0, 2022, 9999,        ByWeekday, 10,  0, 2, 1,   0.0,       " スポーツの日"},
};
const int NationalHolidayRuleCount =
    static_cast<int>(sizeof NationalHolidayRules / sizeof NationalHolidayRules[0]);

namespace {

const char kSubstituteHolidayName[] = "振替休日";
const char kCitizensHolidayName[] = "国民の休日";
const char kNoName[] = "";

constexpr int kMaxEntries = 366;

// The substitute holiday exists from 1973-04-12; before 2007 it is only the following Monday.
constexpr int32_t kSubstituteLawStart = 19730412;
constexpr int32_t kSubstituteSearchStart = 20070101;
// The citizens' holiday exists from 1985-12-27.
constexpr int32_t kCitizensLawStart = 19851227;

YearHolidayList holidayList;
// The zone holidayList was built for: the equinox days and the substitute days that follow them
// are local dates.
int32_t holidayListBias = 0;

double MidnightJulianDate(uint16_t year, uint16_t month, uint16_t day) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    return JulianDateFromSystemTime(st);
}

int32_t DateKey(const SYSTEMTIME& st) {
    return st.wYear * 10000 + st.wMonth * 100 + st.wDay;
}

// Adds a day off on the real calendar date of jd (a local midnight), if it lies in the list's year.
bool AddDayOffAt(YearHolidayList* list, double jd, const char* name) {
    SYSTEMTIME st;
    SystemTimeFromJulianDate(jd, &st);
    if (st.wYear != list->year) {
        return false;
    }
    return AddHolidayEntry(list, DayOff, st.wMonth, st.wDay, name);
}

bool InForce(const HolidayRule& rule, uint16_t year) {
    return rule.firstYear <= year && year <= rule.lastYear;
}

}  // namespace

int32_t DatePosition(uint16_t month, uint16_t day) {
    return static_cast<int32_t>(MidnightJulianDate(2000, month, day));
}

int CompareDayEntries(const DayEntry& a, const DayEntry& b) {
    const int32_t pa = DatePosition(a.month, a.day);
    const int32_t pb = DatePosition(b.month, b.day);
    if (pa + a.span - 1 < pb) {
        return -1;
    }
    if (pb + b.span - 1 < pa) {
        return 1;
    }
    return 0;
}

int MatchDayEntry(const DayEntry& entry, uint16_t month, uint16_t day) {
    const int32_t p = DatePosition(month, day);
    const int32_t q = DatePosition(entry.month, entry.day);
    if (p < q) {
        return -1;
    }
    if (q + entry.span - 1 < p) {
        return 1;
    }
    return 0;
}

bool AddHolidayEntry(YearHolidayList* list, int32_t kind, uint16_t month, uint16_t day,
                     const char* name) {
    if (list->count >= kMaxEntries) {
        return false;
    }
    // The Julian date is linear in the day, so a date that does not exist in this year comes back
    // as another one.
    SYSTEMTIME back;
    SystemTimeFromJulianDate(MidnightJulianDate(list->year, month, day), &back);
    if (back.wYear != list->year || back.wMonth != month || back.wDay != day) {
        return false;
    }
    for (int32_t i = 0; i < list->count; ++i) {
        if (list->entries[i].month == month && list->entries[i].day == day) {
            return false;
        }
    }
    list->entries[list->count] = DayEntry{kind, month, day, 1, name};
    ++list->count;
    return true;
}

void AddWeekdayEntries(YearHolidayList* list, uint16_t month, int32_t kind, uint16_t week,
                       uint16_t weekday, const char* name) {
    const uint16_t firstMonth = month == 0 ? 1 : month;
    const uint16_t lastMonth = month == 0 ? 12 : month;
    for (uint16_t m = firstMonth; m <= lastMonth; ++m) {
        SYSTEMTIME first;
        SystemTimeFromJulianDate(MidnightJulianDate(list->year, m, 1), &first);
        int32_t d = (weekday - first.wDayOfWeek + 7) % 7 + 1;
        for (uint16_t n = 1; n <= 5; ++n) {
            if (week == n || week == 0) {
                AddHolidayEntry(list, kind, m, static_cast<uint16_t>(d), name);
            }
            d += 7;
        }
    }
}

void LocalDateOfSolarLongitude(uint16_t year, double longitude, uint16_t* month, uint16_t* day) {
    bool ok = true;
    const JulianCenturies T = FindSolarLongitudeInstant(year, longitude, &ok);
    if (!ok) {
        // The instant lies in a neighbouring year; month 0 is a date no list accepts.
        *month = 0;
        *day = 0;
        return;
    }
    SYSTEMTIME local;
    SystemTimeFromJulianDate(JulianDateFromCenturies(T) - TimeZoneBias() * kDaysPerMinute, &local);
    *month = local.wMonth;
    *day = local.wDay;
}

void ApplyHolidayRules(YearHolidayList* list, const HolidayRule* rules, int ruleCount) {
    const uint16_t year = list->year;
    // One walk per rule shape; the order of the walks is the precedence among the rules of one
    // table, since a date once taken is refused to every later rule.
    for (int pass = 1; pass <= 7; ++pass) {
        for (int i = 0; i < ruleCount; ++i) {
            const HolidayRule& r = rules[i];
            if (!InForce(r, year)) {
                continue;
            }
            const bool everyMonth = r.month == 0;
            const bool everyWeek = r.week == 0;
            switch (pass) {
                case 1:
                    if (r.rule == ByDate && !everyMonth) {
                        AddHolidayEntry(list, r.kind, r.month, r.day, r.name);
                    }
                    break;
                case 2:
                    if (r.rule == BySolarLongitude) {
                        uint16_t month = 0;
                        uint16_t day = 0;
                        LocalDateOfSolarLongitude(year, r.longitude, &month, &day);
                        AddHolidayEntry(list, r.kind, month, day, r.name);
                    }
                    break;
                case 3:
                    if (r.rule == ByWeekday && !everyMonth && !everyWeek) {
                        AddWeekdayEntries(list, r.month, r.kind, r.week, r.weekday, r.name);
                    }
                    break;
                case 4:
                    if (r.rule == ByDate && everyMonth) {
                        for (uint16_t m = 1; m <= 12; ++m) {
                            AddHolidayEntry(list, r.kind, m, r.day, r.name);
                        }
                    }
                    break;
                case 5:
                    if (r.rule == ByWeekday && everyMonth && !everyWeek) {
                        AddWeekdayEntries(list, 0, r.kind, r.week, r.weekday, r.name);
                    }
                    break;
                case 6:
                    if (r.rule == ByWeekday && !everyMonth && everyWeek) {
                        AddWeekdayEntries(list, r.month, r.kind, 0, r.weekday, r.name);
                    }
                    break;
                default:
                    if (r.rule == ByWeekday && everyMonth && everyWeek) {
                        AddWeekdayEntries(list, 0, r.kind, 0, r.weekday, r.name);
                    }
                    break;
            }
        }
    }
    if (list->count > 0) {
        std::sort(list->entries, list->entries + list->count,
                  [](const DayEntry& a, const DayEntry& b) { return CompareDayEntries(a, b) < 0; });
    }
}

void BuildYearHolidays(YearHolidayList* list) {
    ApplyHolidayRules(list, NationalHolidayRules, NationalHolidayRuleCount);

    // Entries appended during the walk (substitute and citizens' days) are visited as well, after
    // the sorted ones; prev follows every visited entry, Mondays included.
    int32_t prev = 0;
    for (int32_t i = 0; i < list->count; ++i) {
        const double jd =
            MidnightJulianDate(list->year, list->entries[i].month, list->entries[i].day);
        const int32_t dn = static_cast<int32_t>(jd);
        SYSTEMTIME date;
        SystemTimeFromJulianDate(jd, &date);
        const int32_t key = DateKey(date);

        if (date.wDayOfWeek == 0 && key >= kSubstituteLawStart) {
            // Bounded by the year: a full list refuses every addition.
            for (int k = 1; k <= kMaxEntries; ++k) {
                if (AddDayOffAt(list, jd + k, kSubstituteHolidayName) ||
                    key < kSubstituteSearchStart) {
                    break;
                }
            }
        }
        if (date.wDayOfWeek != 1) {
            SYSTEMTIME before;
            SystemTimeFromJulianDate(jd - 1, &before);
            if (DateKey(before) >= kCitizensLawStart && dn - prev == 2) {
                AddDayOffAt(list, jd - 1, kCitizensHolidayName);
            }
        }
        prev = dn;
    }

    ApplyHolidayRules(list, CustomHolidayRecords(), CustomHolidayCount());
}

DayKind LookupHoliday(uint16_t year, uint16_t month, uint16_t day, const char** name) {
    YearHolidayList& list = holidayList;
    const int32_t bias = TimeZoneBias();
    if (year != list.year || bias != holidayListBias) {
        holidayListBias = bias;
        std::memset(list.entries, 0, sizeof list.entries);
        list.year = year;
        list.count = 0;
        BuildYearHolidays(&list);
    }
    list.entries[list.count] = DayEntry{NoEntry, month, day, 1, kNoName};
    int32_t i = 0;
    while (MatchDayEntry(list.entries[i], month, day) != 0) {
        ++i;
    }
    *name = list.entries[i].name;
    return static_cast<DayKind>(list.entries[i].kind);
}

void InvalidateHolidayCache() {
    holidayList.year = 0;
}
