// The astronomy core's costs: one evaluation of the series (the short ones and the precise Sun),
// one phase search, and the lunisolar date of one day as a listing of consecutive days (the
// calendar window, `days`) asks for it.
#include <benchmark/benchmark.h>

#include "astro/longitudes.h"
#include "astro/lunar_day.h"
#include "astro/precise_sun.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"

namespace {

SYSTEMTIME Civil(int year, int month, int day) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    return t;
}

const double kFirstDay = JulianDateFromSystemTime(Civil(1900, 1, 1));
const double kLastDay = JulianDateFromSystemTime(Civil(2100, 12, 31));

// Instants spread over 1900-2100, a prime number of days apart.
double NextInstant(double jd) {
    jd += 97.37;
    return jd > kLastDay ? jd - (kLastDay - kFirstDay) : jd;
}

void BM_MoonPhaseAngle(benchmark::State& state) {
    double jd = kFirstDay;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoonPhaseAngle(CenturiesFromJulianDate(jd)));
        jd = NextInstant(jd);
    }
}
BENCHMARK(BM_MoonPhaseAngle);

void BM_ApparentSunLongitude(benchmark::State& state) {
    double jd = kFirstDay;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApparentSunLongitude(CenturiesFromJulianDate(jd)));
        jd = NextInstant(jd);
    }
}
BENCHMARK(BM_ApparentSunLongitude);

// The VSOP87D longitude the solar-longitude searches end on: about 740 terms against 19.
void BM_PreciseSunLongitude(benchmark::State& state) {
    double jd = kFirstDay;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PreciseSunLongitude(CenturiesFromJulianDate(jd)));
        jd = NextInstant(jd);
    }
}
BENCHMARK(BM_PreciseSunLongitude);

void BM_FindPhaseInstant(benchmark::State& state) {
    const int32_t mode = static_cast<int32_t>(state.range(0));
    double jd = kFirstDay;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindPhaseInstant(0, CenturiesFromJulianDate(jd), mode));
        jd = NextInstant(jd);
    }
}
BENCHMARK(BM_FindPhaseInstant)->Arg(Previous)->Arg(Next)->Arg(Nearest);

void BM_FindSolarLongitudeInstant(benchmark::State& state) {
    SetTimeZoneBiasOverride(-540);
    int year = 1900;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            FindSolarLongitudeInstant(static_cast<uint16_t>(year), step * 15.0));
        step = (step + 1) % 24;
        year = year == 2100 ? 1900 : year + 1;
    }
    ClearTimeZoneBiasOverride();
}
BENCHMARK(BM_FindSolarLongitudeInstant);

// Consecutive days, as a month view or a listing of days computes them; each iteration is one day.
void BM_ComputeLunarDayPerDay(benchmark::State& state) {
    SetTimeZoneBiasOverride(-540);
    double jd = kFirstDay;
    LunarDay lunar;
    for (auto _ : state) {
        ComputeLunarDay(&lunar, jd);
        benchmark::DoNotOptimize(lunar);
        jd = jd + 1 > kLastDay ? kFirstDay : jd + 1;
    }
    ClearTimeZoneBiasOverride();
}
BENCHMARK(BM_ComputeLunarDayPerDay);

// Days far apart: every call meets a month not computed before.
void BM_ComputeLunarDayScattered(benchmark::State& state) {
    SetTimeZoneBiasOverride(-540);
    double jd = kFirstDay;
    LunarDay lunar;
    for (auto _ : state) {
        ComputeLunarDay(&lunar, jd);
        benchmark::DoNotOptimize(lunar);
        jd = NextInstant(jd);
    }
    ClearTimeZoneBiasOverride();
}
BENCHMARK(BM_ComputeLunarDayScattered);

// Without an override every call reads the system's zone afresh.
void BM_TimeZoneBias(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(TimeZoneBias());
    }
}
BENCHMARK(BM_TimeZoneBias);

}  // namespace
