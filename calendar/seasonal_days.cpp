// The traditional seasonal days (雑節) and periods of one year, cached by year and time-zone bias.
#include "calendar/seasonal_days.h"

#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/holidays.h"
#include "calendar/solar_terms.h"

namespace {

constexpr int kSlotCount = 14;

enum SeasonalSlot {
    Setsubun = 0,
    Hachijuhachiya = 1,
    Nihyakutoka = 2,
    Nihyakuhatsuka = 3,
    Nyubai = 4,
    SpringDoyo = 6,
    WinterDoyo = 9,
    SpringHigan = 10,
    SpringShanichi = 11,
    AutumnHigan = 12,
    AutumnShanichi = 13,
};

DayEntry seasonalDays[kSlotCount] = {
    {SeasonMark, 0, 0, 1,          "節分"},
    {SeasonMark, 0, 0, 1,    "八十八夜"},
    {SeasonMark, 0, 0, 1,    "二百十日"},
    {SeasonMark, 0, 0, 1, "二百二十日"},
    {SeasonMark, 0, 0, 1,          "入梅"},
    {SeasonMark, 0, 0, 1,       "半夏生"},
    {SeasonMark, 0, 0, 1,       "春土用"},
    {SeasonMark, 0, 0, 1,       "夏土用"},
    {SeasonMark, 0, 0, 1,       "秋土用"},
    {SeasonMark, 0, 0, 1,       "冬土用"},
    {SeasonMark, 0, 0, 7,       "春彼岸"},
    {SeasonMark, 0, 0, 1,       "春社日"},
    {SeasonMark, 0, 0, 7,       "秋彼岸"},
    {SeasonMark, 0, 0, 1,       "秋社日"},
};
// The key of the list: local dates hold only for the zone they were computed in.
uint16_t seasonalYear = 0;
int32_t seasonalBias = 0;

// Start longitudes of slots 4 to 9: 入梅, 半夏生 and the four 土用 periods.
const double kSlotLongitudes[] = {80.0, 100.0, 27.0, 117.0, 207.0, 297.0};

// A 土用 period is about 18 days; the bound only guards against a term list that lacks a date.
constexpr uint16_t kMaxDoyoSpan = 40;

constexpr int32_t kStemBoe = 4;     // 戊, the stem of the 社日
constexpr int32_t kStemKinoto = 9;  // 癸, equally far from the 戊 days before and after

double UniversalInstant(uint16_t year, double longitude) {
    return JulianDateFromCenturies(FindSolarLongitudeInstant(year, longitude));
}

void SetDate(DayEntry* entry, double localJulianDate) {
    SYSTEMTIME st;
    SystemTimeFromJulianDate(localJulianDate, &st);
    entry->month = st.wMonth;
    entry->day = st.wDay;
}

// Days from the start of a 土用 period up to, not including, the second solar term met: the first
// is the mid-season term a few days in, the second the 立 term that ends the season.
uint16_t DoyoSpan(uint16_t year, double startLocal) {
    uint16_t span = 0;
    int met = 0;
    double d = startLocal;
    while (span < kMaxDoyoSpan) {
        SYSTEMTIME st;
        SystemTimeFromJulianDate(d, &st);
        const char* name;
        if (LookupSolarTerm(year, st.wMonth, st.wDay, &name)) {
            ++met;
            if (met == 2) {
                break;
            }
        }
        ++span;
        d += 1.0;
    }
    return span;
}

void ComputeSeasonalYear(uint16_t year) {
    const double b = TimeZoneBias() * kDaysPerMinute;

    const double spring = UniversalInstant(year, 315.0) - b;
    SetDate(&seasonalDays[Setsubun], spring - 1);
    SetDate(&seasonalDays[Hachijuhachiya], spring + 87);
    SetDate(&seasonalDays[Nihyakutoka], spring + 209);
    SetDate(&seasonalDays[Nihyakuhatsuka], spring + 219);

    for (int i = 0; i < 6; ++i) {
        DayEntry& slot = seasonalDays[Nyubai + i];
        const double start = UniversalInstant(year, kSlotLongitudes[i]) - b;
        SetDate(&slot, start);
        if (Nyubai + i >= SpringDoyo) {
            slot.span = DoyoSpan(year, start);
        }
    }

    // The 社日 is the 戊 day nearest the equinox. In spring a 癸 equinox day, equally far from two
    // 戊 days, takes the earlier one when the equinox falls before local noon.
    LunarDay lunar;
    double x = UniversalInstant(year, 0.0);
    double jl = x - b;
    SetDate(&seasonalDays[SpringHigan], jl - 3);
    ComputeLunarDay(&lunar, x);
    if (lunar.stem == kStemKinoto) {
        SYSTEMTIME st;
        SystemTimeFromJulianDate(jl, &st);
        SetDate(&seasonalDays[SpringShanichi], st.wHour < 12 ? jl - 5 : jl + 5);
    } else {
        SetDate(&seasonalDays[SpringShanichi], jl + (kStemBoe - lunar.stem));
    }

    x = UniversalInstant(year, 180.0);
    jl = x - b;
    SetDate(&seasonalDays[AutumnHigan], jl - 3);
    ComputeLunarDay(&lunar, x);
    SetDate(&seasonalDays[AutumnShanichi], jl + (kStemBoe - lunar.stem));
}

}  // namespace

bool LookupSeasonalDays(uint16_t year, uint16_t month, uint16_t day, const char** name1,
                        const char** name2) {
    const int32_t bias = TimeZoneBias();
    if (year != seasonalYear || bias != seasonalBias) {
        seasonalYear = year;
        seasonalBias = bias;
        ComputeSeasonalYear(year);
    }
    *name1 = "";
    *name2 = "";
    uint16_t span1 = 0;
    uint16_t span2 = 0;
    int matches = 0;
    for (int i = 0; i < kSlotCount && matches < 2; ++i) {
        if (MatchDayEntry(seasonalDays[i], month, day) != 0) {
            continue;
        }
        if (matches == 0) {
            *name1 = seasonalDays[i].name;
            span1 = seasonalDays[i].span;
        } else {
            *name2 = seasonalDays[i].name;
            span2 = seasonalDays[i].span;
        }
        ++matches;
    }
    // A period comes before a single day that falls inside it.
    if (span1 < span2) {
        const char* swap = *name1;
        *name1 = *name2;
        *name2 = swap;
    }
    return matches > 0;
}
