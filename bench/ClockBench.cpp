// BuildClockTexts per call: the work of one timer tick (goal: well under a microsecond).
#include "clock/WorldClock.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_BuildClockTexts(benchmark::State& state)
{
    LocalReading local{2000, 12, 6, 21, 45, 30};
    const std::string yourCity = "Udaipur 5.50";
    const std::string destination = "Honolulu -10.00";
    for (auto _ : state) {
        ClockTexts texts = BuildClockTexts(local, yourCity, destination);
        benchmark::DoNotOptimize(texts);
        local.second = (local.second + 1) % 60;
    }
}
BENCHMARK(BM_BuildClockTexts);

// Entries as long as the window's buffer allows (49 characters): the names no longer fit the
// strings' inline storage.
void BM_BuildClockTextsLongEntries(benchmark::State& state)
{
    LocalReading local{2000, 12, 31, 20, 0, 0};
    const std::string yourCity = "Santa Cruz de la Sierra Oriental Province -10.00";
    const std::string destination = "Petropavlovsk-Kamchatsky Eastern District 12.00";
    for (auto _ : state) {
        ClockTexts texts = BuildClockTexts(local, yourCity, destination);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_BuildClockTextsLongEntries);

void BM_ParseOffsetMinutes(benchmark::State& state)
{
    const std::string entry = "Udaipur 5.50";
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry.data());
        benchmark::DoNotOptimize(ParseOffsetMinutes(entry));
    }
}
BENCHMARK(BM_ParseOffsetMinutes);

} // namespace
