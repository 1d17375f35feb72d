// Solar eclipses: every eclipse of 1900-2100 found and its elements fitted (the first call, as a
// command that lists them makes it), and the circumstances at one place of each of them.
#include <benchmark/benchmark.h>

#include "astro/solar_eclipses.h"

namespace {

constexpr double kJd1900 = 2415020.5;  // 1900-01-01 0h UT
constexpr double kJd2101 = 2488434.5;  // 2101-01-01 0h UT
const GeoPlace kTokyo = {35.6581, 139.7414};

// The lunations are kept once computed, so only the first run measures the search; the budget
// of a whole listing, lunar eclipses included, is half a second.
void BM_SolarEclipses1900To2100(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolarEclipsesBetween(kJd1900, kJd2101).size());
    }
}
BENCHMARK(BM_SolarEclipses1900To2100)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LocalSolarCircumstances1900To2100(benchmark::State& state) {
    const std::vector<SolarEclipse> all = SolarEclipsesBetween(kJd1900, kJd2101);
    for (auto _ : state) {
        double sum = 0;
        for (const SolarEclipse& e : all) {
            sum += LocalSolarCircumstances(e, kTokyo).magnitude;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LocalSolarCircumstances1900To2100)->Unit(benchmark::kMillisecond);

}  // namespace
