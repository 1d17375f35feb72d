// The Japanese lunisolar date of a local day and the facts that follow from it.
#pragma once

#include <cstdint>

struct LunarDay {
    uint16_t month;  // lunar month 1..12
    uint16_t day;    // lunar day 1..30, the new-Moon day is 1
    int32_t leap;    // 1 in a leap month
    int32_t rokuyo;  // 0..5: 大安 赤口 先勝 友引 先負 仏滅
    int32_t stem;    // 0..9: 甲 .. 癸
    int32_t branch;  // 0..11: 子 .. 亥
    int32_t tide;    // 0..4: 大潮 中潮 小潮 長潮 若潮
};

// A month whose number and leap flag are fixed instead of following the principal-term rule.
struct LunarMonthOverride {
    int32_t key;  // integer part of the local JD of the midnight beginning the new-Moon day
    uint16_t month;
    int32_t leap;
};

extern const LunarMonthOverride LunarMonthOverrides[];
extern const int LunarMonthOverrideCount;  // 11

// Tide class by (lunar day - 1) mod 15.
extern const int32_t TideClassByLunarDay[15];

// Month number 1..12 and leap flag that the principal-term rule alone gives to the lunar month
// whose new-Moon day begins at the local Julian Date localMidnight (a whole day plus 0.5) in a zone
// of `bias` minutes, the override table not consulted. ComputeLunarDay uses it for every month the
// table does not fix.
void LunarMonthFromPrincipalTerms(double localMidnight, int32_t bias, uint16_t* month,
                                  int32_t* leap);

// Fills every field of *out for the local day (TimeZoneBias, read afresh) that contains the UT
// Julian Date jd. A jd that is not finite, or whose local day begins outside JD 0.5 .. 1e8, gives
// every field 0, and so does a day so far from the present that the lunation found around it
// would give it a day number past 30.
void ComputeLunarDay(LunarDay* out, double jd);

// Forgets every result the astronomy core remembers between calls: the last phase angle, the angle
// at the end of the last day PrincipalPhaseOfDay was asked for, the new Moon and the month numbers
// ComputeLunarDay keeps. Results never depend on them; tests call this to compare a run of calls
// with fresh computation.
void ResetAstroCaches();
