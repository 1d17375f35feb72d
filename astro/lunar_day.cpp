#include "astro/lunar_day.h"

#include <cmath>

#include "astro/longitudes.h"
#include "astro/precise_sun.h"
#include "astro/principal_phase.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"

// Months whose number and leap flag the principal-term rule gets wrong or leaves ambiguous (the
// 2033 lunisolar ambiguity among them). Keyed by the integer part of the local JD of the midnight
// beginning the new-Moon day; the keys match their dates in a zone nine hours east of Greenwich.
const LunarMonthOverride LunarMonthOverrides[] = {
    {2439028,  9, 0}, // 1965-09-25
    {2439057, 10, 0}, // 1965-10-24
    {2446086, 12, 0}, // 1985-01-21
    {2446116,  1, 0}, // 1985-02-20
    {2463834,  8, 0}, // 2033-08-25
    {2463863,  9, 0}, // 2033-09-23
    {2463893, 10, 0}, // 2033-10-23
    {2463923, 11, 0}, // 2033-11-22
    {2464012,  1, 0}, // 2034-02-19
    {2470922, 12, 0}, // 2053-01-20
    {2470952,  1, 0}, // 2053-02-19
};
const int LunarMonthOverrideCount = sizeof(LunarMonthOverrides) / sizeof(LunarMonthOverrides[0]);

// Spring tides (大潮) around new and full Moon, neap tides (小潮) around the quarters.
const int32_t TideClassByLunarDay[15] = {0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 4, 1, 1, 0, 0};

namespace {

// Beyond this the day counts no longer fit the integer arithmetic; no caller gets near it.
constexpr double kLargestJulianDate = 1e8;

struct MonthNumber {
    uint16_t month;
    int32_t leap;
};

// The month number of a lunar month depends only on the day its new Moon falls on and on the
// bias, yet costs a phase search and two Sun series; a month view or a listing of consecutive days
// asks for the same few months again and again.
struct MonthNumberCacheEntry {
    int32_t key;  // trunc(LN) of the new-Moon day; 0 = empty
    int32_t bias;
    MonthNumber number;
};

constexpr int kMonthNumberCacheSize = 4;

struct MonthNumberCache {
    MonthNumberCacheEntry entries[kMonthNumberCacheSize];
    int nextSlot;
};

MonthNumberCache monthNumberCache = {};

constexpr double kDaysPerSecond = 1.1574074074074073e-05;  // 1/86400

// The new Moon that begins a lunar month, as a search from the end of a day found it, and the
// local midnight that begins its day in the zone of `bias`. Consecutive days of a month ask for the
// same new Moon about 28 times, each time a search of some 13 phase angles.
//
// Reusing it cannot change a day. Lunations last at least 29.27 days (29.274 is the shortest in
// this series over 1900-2100), so when a day's end T1 lies more than 1.5 and less than 29 days
// after the remembered new Moon, no other new Moon lies between them, and a fresh Previous search
// from T1, which never passes its target, closes in on this same new Moon. T1 is then no new
// Moon itself, so the test N == T1 cannot hold. The fresh result can differ from the remembered
// one only by the search tolerance, 1e-7 lunation: under 0.3 s each, the Moon gaining at least
// about 11 degrees a day on the Sun (searches from different days of 1900-2100 spread by at most
// 0.19 s). That moves LN only when a local midnight lies between the two values, which does
// happen (six new Moons of 1900-2100 straddle a whole minute, the midnight of some zone), so a new
// Moon within 2 s of a local midnight of its zone is not remembered: the local day is the same at
// both ends of that margin, and so, the conversion being monotone, for every value between.
struct NewMoonCache {
    JulianCenturies N;  // T of the new Moon; 0 = empty
    int32_t bias;
    double LN;
};

NewMoonCache newMoonCache = {};

constexpr double kReuseAfterDays = 1.5;
constexpr double kReuseBeforeDays = 29;
constexpr double kMidnightMarginDays = 2 * kDaysPerSecond;

// Over 1900-2100 the short series stays within 0.0026 degree of the precise longitude. Where it
// lies farther than kPrincipalTermMargin from every multiple of 30 degrees, both put the Sun
// between the same two principal terms, and the short series costs a thirtieth as much; near a
// term, and outside those years, the precise longitude decides.
constexpr double kPrincipalTermMargin = 0.01;
constexpr JulianCenturies kShortSeriesYears = 1.01;  // T of 1899 to 2101

// The longitude of the first principal term (a multiple of 30 degrees) at or after the Sun's
// precise apparent longitude at T, in 30 .. 360: that longitude lies in [0, 360), and a Sun
// standing exactly at 0 degrees has the term of 360 (the same as 0) before it.
int32_t NextPrincipalTerm(JulianCenturies T) {
    double L = ApparentSunLongitude(T);
    const double fromTerm = std::fabs(L - 30 * std::floor(L / 30 + 0.5));
    if (!(std::fabs(T) <= kShortSeriesYears && fromTerm > kPrincipalTermMargin)) {
        L = PreciseSunLongitude(T);
    }
    const int32_t c = static_cast<int32_t>(std::ceil(L));
    const int32_t A = (c + 29) - ((c + 29) % 30);
    return A == 0 ? 360 : A;
}

// A month is numbered after the principal term that falls within it; a month without one is a
// leap month bearing the number of the month before.
MonthNumber MonthNumberFromPrincipalTerms(double LN, double b) {
    const double UN = LN + b;
    const int32_t A = NextPrincipalTerm(CenturiesFromJulianDate(UN));
    const JulianCenturies N2 = FindPhaseInstant(0, CenturiesFromJulianDate(UN + 1), Next);
    const double LN2 = std::floor(JulianDateFromCenturies(N2) - b - 0.5) + 0.5;
    const int32_t B = NextPrincipalTerm(CenturiesFromJulianDate(LN2 + b));
    if (A == B) {
        return {static_cast<uint16_t>(((A / 30) % 12) + 1), 1};
    }
    return {static_cast<uint16_t>(((A / 30 + 1) % 12) + 1), 0};
}

MonthNumber CachedMonthNumber(double LN, double b, int32_t key, int32_t bias) {
    for (const MonthNumberCacheEntry& entry : monthNumberCache.entries) {
        if (entry.key != 0 && entry.key == key && entry.bias == bias) {
            return entry.number;
        }
    }
    const MonthNumber number = MonthNumberFromPrincipalTerms(LN, b);
    monthNumberCache.entries[monthNumberCache.nextSlot] = {key, bias, number};
    monthNumberCache.nextSlot = (monthNumberCache.nextSlot + 1) % kMonthNumberCacheSize;
    return number;
}

// LN, the local Julian Date of the midnight beginning the day of the new Moon that begins the lunar
// month of the local day [U0, U0 + 1) (UT), whose end is T1.
double NewMoonMidnight(JulianCenturies T1, double U0, double b, int32_t bias) {
    if (newMoonCache.N != 0 && newMoonCache.bias == bias &&
        T1 - newMoonCache.N > kReuseAfterDays * kCenturiesPerDay &&
        T1 - newMoonCache.N < kReuseBeforeDays * kCenturiesPerDay) {
        return newMoonCache.LN;
    }
    // A new Moon falling exactly at the end of the day (within the search tolerance) begins the
    // next day's month instead.
    bool found = false;
    JulianCenturies N = FindPhaseInstant(0, T1, Previous, &found);
    if (N == T1) {
        N = FindPhaseInstant(0, CenturiesFromJulianDate(U0), Previous, &found);
    }
    const double jdN = JulianDateFromCenturies(N);
    const double LN = std::floor(jdN - b - 0.5) + 0.5;
    const bool clearOfMidnight = std::floor(jdN - kMidnightMarginDays - b - 0.5) ==
                                 std::floor(jdN + kMidnightMarginDays - b - 0.5);
    if (found && clearOfMidnight) {
        newMoonCache = {N, bias, LN};
    }
    return LN;
}

}  // namespace

void ResetAstroCaches() {
    ResetPhaseAngleCache();
    ResetDayEndAngleCache();
    newMoonCache = {};
    monthNumberCache = {};
}

void LunarMonthFromPrincipalTerms(double localMidnight, int32_t bias, uint16_t* month,
                                  int32_t* leap) {
    const MonthNumber number = MonthNumberFromPrincipalTerms(localMidnight, bias * kDaysPerMinute);
    *month = number.month;
    *leap = number.leap;
}

void ComputeLunarDay(LunarDay* out, double jd) {
    *out = LunarDay{};
    const int32_t bias = TimeZoneBias();
    const double b = bias * kDaysPerMinute;
    const double L0 = std::floor(jd - b - 0.5) + 0.5;
    // The negated test also rejects NaN, so every conversion to an integer below is defined and
    // the day count n is not negative.
    if (!(L0 >= 0.5 && L0 <= kLargestJulianDate)) {
        return;
    }
    const double U0 = L0 + b;

    const double LN = NewMoonMidnight(CenturiesFromJulianDate(U0 + 1), U0, b, bias);

    // L0 - LN is a whole number of days; the extra 0.1 absorbs rounding.
    const int32_t day = static_cast<int32_t>(L0 - LN + 1.1);
    // No lunation is longer than 30 local days. Hundreds of millennia from now the series'
    // polynomials in T have lost their meaning and the search can leave a longer gap between new
    // Moons: such a day is not computable, like one outside the span above.
    if (day < 1 || day > 30) {
        return;
    }
    const int32_t key = static_cast<int32_t>(LN);

    MonthNumber number = {0, 0};
    bool overridden = false;
    for (const LunarMonthOverride& row : LunarMonthOverrides) {
        if (row.key == key) {
            number = {row.month, row.leap};
            overridden = true;
            break;
        }
    }
    if (!overridden) {
        number = CachedMonthNumber(LN, b, key, bias);
    }

    const int32_t n = static_cast<int32_t>(L0 - 0.5);
    out->month = number.month;
    out->day = static_cast<uint16_t>(day);
    out->leap = number.leap;
    out->rokuyo = (number.month + day) % 6;
    out->stem = n % 10;
    out->branch = (n + 2) % 12;
    // A lunar day below 1 cannot occur; the index stays within the table regardless.
    out->tide = TideClassByLunarDay[((day % 15) + 14) % 15];
}
