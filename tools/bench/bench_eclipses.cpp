// Every lunar and solar eclipse of 1900-2100 seen from a place, as `nocturo-cli eclipses 1900
// 2100` computes them; the budget is half a second.
#include <benchmark/benchmark.h>

#include "astro/time_scales.h"
#include "presentation/eclipse_text.h"

namespace {

const double kFrom = 2415020.5;  // 1900-01-01
const double kTo = 2488434.5;    // 2101-01-01

// The first run computes every year's eclipses from the series; this one run is the listing's
// cost.
void BM_EclipsesAtPlace1900To2100(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EclipsesAtPlace(kFrom, kTo, {35.6581, 139.7414}));
    }
}
BENCHMARK(BM_EclipsesAtPlace1900To2100)->Unit(benchmark::kMillisecond)->Iterations(1);

// With the eclipses known, a new place: the visibility of every eclipse and the circumstances of
// every solar one there (the Moon window and the calendar after the place changed).
void BM_EclipsesAtNewPlace1900To2100(benchmark::State& state) {
    double latitude = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EclipsesAtPlace(kFrom, kTo, {latitude, 139.7414}));
        latitude = latitude < 60 ? latitude + 0.5 : 20;
    }
}
BENCHMARK(BM_EclipsesAtNewPlace1900To2100)->Unit(benchmark::kMillisecond);

}  // namespace
