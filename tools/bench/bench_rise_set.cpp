// Risings, transits and settings: one local date, and every date of 1900-2100 at one place, as
// a listing of days asks for them.
#include <benchmark/benchmark.h>

#include "astro/civil_dates.h"
#include "astro/rise_set.h"

namespace {

const GeoPlace kTokyo = {35.6581, 139.7414};

void BM_ComputeDayEvents(benchmark::State& state) {
    CivilDate date = {1900, 1, 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeDayEvents(kTokyo, static_cast<uint16_t>(date.year),
                                                  static_cast<uint16_t>(date.month),
                                                  static_cast<uint16_t>(date.day), -540));
        // 97 days on, so that the dates spread over the whole range.
        date = AddDays(date, 97);
        if (date.year > 2100) {
            date.year = date.year - 201;
        }
    }
}
BENCHMARK(BM_ComputeDayEvents);

// 73,414 dates from 1900-01-01 to 2100-12-31 at Tokyo; the budget is one second.
void BM_EveryDay1900To2100(benchmark::State& state) {
    for (auto _ : state) {
        int64_t events = 0;
        for (CivilDate date = {1900, 1, 1}; date.year <= 2100; date = AddDays(date, 1)) {
            const DayEvents e = ComputeDayEvents(kTokyo, static_cast<uint16_t>(date.year),
                                                 static_cast<uint16_t>(date.month),
                                                 static_cast<uint16_t>(date.day), -540);
            for (int k = 0; k < DayEventKindCount; ++k) {
                events += e.count[k];
            }
        }
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_EveryDay1900To2100)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MoonGeocentricPosition(benchmark::State& state) {
    JulianCenturies T = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoonGeocentricPosition(T));
        T = T < 1 ? T + 0.000137 : -1;
    }
}
BENCHMARK(BM_MoonGeocentricPosition);

}  // namespace
