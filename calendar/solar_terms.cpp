// The 24 solar terms of one year, cached by year and time-zone bias.
#include "calendar/solar_terms.h"

#include "astro/time_zone.h"
#include "calendar/holidays.h"

namespace {

constexpr int kTermCount = 24;

// Slot i is the term at 15 * i degrees, so the terms of January to early March stand last; slot 24
// is the lookup sentinel.
DayEntry solarTerms[kTermCount + 1] = {
    {SeasonMark, 0, 0, 1, "春分"},
    {SeasonMark, 0, 0, 1, "清明"},
    {SeasonMark, 0, 0, 1, "穀雨"},
    {SeasonMark, 0, 0, 1, "立夏"},
    {SeasonMark, 0, 0, 1, "小満"},
    {SeasonMark, 0, 0, 1, "芒種"},
    {SeasonMark, 0, 0, 1, "夏至"},
    {SeasonMark, 0, 0, 1, "小暑"},
    {SeasonMark, 0, 0, 1, "大暑"},
    {SeasonMark, 0, 0, 1, "立秋"},
    {SeasonMark, 0, 0, 1, "処暑"},
    {SeasonMark, 0, 0, 1, "白露"},
    {SeasonMark, 0, 0, 1, "秋分"},
    {SeasonMark, 0, 0, 1, "寒露"},
    {SeasonMark, 0, 0, 1, "霜降"},
    {SeasonMark, 0, 0, 1, "立冬"},
    {SeasonMark, 0, 0, 1, "小雪"},
    {SeasonMark, 0, 0, 1, "大雪"},
    {SeasonMark, 0, 0, 1, "冬至"},
    {SeasonMark, 0, 0, 1, "小寒"},
    {SeasonMark, 0, 0, 1, "大寒"},
    {SeasonMark, 0, 0, 1, "立春"},
    {SeasonMark, 0, 0, 1, "雨水"},
    {SeasonMark, 0, 0, 1, "啓蟄"},
    {   NoEntry, 0, 0, 1,       ""},
};
// The key of the list: local dates hold only for the zone they were computed in.
uint16_t solarTermYear = 0;
int32_t solarTermBias = 0;

}  // namespace

const char* SolarTermName(int slot) {
    return slot >= 0 && slot < kTermCount ? solarTerms[slot].name : "";
}

bool LookupSolarTerm(uint16_t year, uint16_t month, uint16_t day, const char** name) {
    const int32_t bias = TimeZoneBias();
    if (year != solarTermYear || bias != solarTermBias) {
        solarTermYear = year;
        solarTermBias = bias;
        for (int i = 0; i < kTermCount; ++i) {
            LocalDateOfSolarLongitude(year, 15.0 * i, &solarTerms[i].month, &solarTerms[i].day);
        }
    }
    DayEntry& sentinel = solarTerms[kTermCount];
    sentinel.month = month;
    sentinel.day = day;
    int i = 0;
    while (MatchDayEntry(solarTerms[i], month, day) != 0) {
        ++i;
    }
    *name = solarTerms[i].name;
    return solarTerms[i].kind != NoEntry;
}
