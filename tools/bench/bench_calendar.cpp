// The calendar's costs: the holiday list, the solar-term list and the seasonal days of a new
// year, the month model of a new month and of the month already held, and the facts of one day as
// the day listing computes them.
#include <benchmark/benchmark.h>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"

namespace {

// Japan and no custom holidays, as the program runs by default.
void UseJapan() {
    SetTimeZoneBiasOverride(-540);
    SetCustomHolidayPath("");
}

uint16_t NextYear(uint16_t year) {
    return year == 2100 ? 1900 : static_cast<uint16_t>(year + 1);
}

void BM_BuildYearHolidays(benchmark::State& state) {
    UseJapan();
    uint16_t year = 1900;
    for (auto _ : state) {
        YearHolidayList list = {};
        list.year = year;
        BuildYearHolidays(&list);
        benchmark::DoNotOptimize(list.count);
        year = NextYear(year);
    }
}
BENCHMARK(BM_BuildYearHolidays)->Unit(benchmark::kMicrosecond);

// Every lookup names another year, so each computes the 24 terms of that year.
void BM_SolarTermsOfNewYear(benchmark::State& state) {
    UseJapan();
    uint16_t year = 1900;
    for (auto _ : state) {
        const char* name;
        benchmark::DoNotOptimize(LookupSolarTerm(year, 6, 1, &name));
        year = NextYear(year);
    }
}
BENCHMARK(BM_SolarTermsOfNewYear)->Unit(benchmark::kMicrosecond);

// The seasonal days of a new year, with the solar terms of that year already computed (the month
// model asks for both, terms first).
void BM_SeasonalDaysOfNewYear(benchmark::State& state) {
    UseJapan();
    uint16_t year = 1900;
    for (auto _ : state) {
        state.PauseTiming();
        const char* term;
        LookupSolarTerm(year, 6, 1, &term);
        state.ResumeTiming();
        const char* name1;
        const char* name2;
        benchmark::DoNotOptimize(LookupSeasonalDays(year, 6, 1, &name1, &name2));
        year = NextYear(year);
    }
}
BENCHMARK(BM_SeasonalDaysOfNewYear)->Unit(benchmark::kMicrosecond);

// Month after month through the two centuries, as a user paging through the calendar window:
// the year lists are rebuilt once a year.
void BM_MonthModelNewMonth(benchmark::State& state) {
    UseJapan();
    InvalidateHolidayCache();
    InvalidateMonthModel();
    uint16_t year = 1900;
    uint16_t month = 1;
    for (auto _ : state) {
        ComputeMonthModel(year, month);
        benchmark::DoNotOptimize(CurrentMonthModel().cells[41].moonAge);
        if (++month > 12) {
            month = 1;
            year = NextYear(year);
        }
    }
}
BENCHMARK(BM_MonthModelNewMonth)->Unit(benchmark::kMicrosecond);

void BM_MonthModelHeldMonth(benchmark::State& state) {
    UseJapan();
    ComputeMonthModel(2005, 6);
    for (auto _ : state) {
        ComputeMonthModel(2005, 6);
        benchmark::DoNotOptimize(CurrentMonthModel().cells[0].moonAge);
    }
}
BENCHMARK(BM_MonthModelHeldMonth);

// One day of the `days` listing: consecutive days from 1900 on, as the command walks them.
void BM_DayCell(benchmark::State& state) {
    UseJapan();
    SYSTEMTIME first = {};
    first.wYear = 1900;
    first.wMonth = 1;
    first.wDay = 1;
    first.wHour = 12;
    const double b = TimeZoneBias() * kDaysPerMinute;
    const double start = JulianDateFromSystemTime(first) + b;
    double U = start;
    for (auto _ : state) {
        MonthCell cell;
        ComputeMonthCell(&cell, U - b, U);
        benchmark::DoNotOptimize(cell.moonAge);
        U = U + 1;
        if (U > start + 73413) {
            U = start;
        }
    }
}
BENCHMARK(BM_DayCell)->Unit(benchmark::kMicrosecond);

}  // namespace
