// The precise Moon's costs: one position, one distance, and every perigee and apogee of
// 1900-2100 as `nocturo-cli apsides 1900 2100` finds them (budget: 0.5 s).
#include <benchmark/benchmark.h>

#include <vector>

#include "astro/moon_distance.h"
#include "astro/precise_moon.h"

namespace {

constexpr double kFirstDay = 2415020.5;  // 1900-01-01
constexpr double kEndDay = 2488434.5;    // 2101-01-01

void BM_PreciseMoonPosition(benchmark::State& state) {
    JulianCenturies T = -1.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PreciseMoonPosition(T));
        T = T > 1.0 ? -1.0 : T + 0.0026659;
    }
}
BENCHMARK(BM_PreciseMoonPosition)->Unit(benchmark::kMicrosecond);

void BM_PreciseMoonDistance(benchmark::State& state) {
    JulianCenturies T = -1.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PreciseMoonDistance(T));
        T = T > 1.0 ? -1.0 : T + 0.0026659;
    }
}
BENCHMARK(BM_PreciseMoonDistance)->Unit(benchmark::kMicrosecond);

void BM_Apsides1900To2100(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<Apsis> apsides;
        benchmark::DoNotOptimize(FindApsides(kFirstDay, kEndDay, &apsides));
        benchmark::DoNotOptimize(apsides.data());
    }
}
BENCHMARK(BM_Apsides1900To2100)->Unit(benchmark::kMillisecond);

}  // namespace
