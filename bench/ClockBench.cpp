// BuildClockTexts per call: the work of one timer tick (goal: well under a microsecond).
#include "clock/WorldClock.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void RunTicks(benchmark::State& state, const std::string& yourCity, const std::string& destination)
{
    LocalReading local{2000, 12, 31, 20, 0, 0};
    for (auto _ : state) {
        ClockTexts texts = BuildClockTexts(local, yourCity, destination);
        benchmark::DoNotOptimize(texts);
        local.second = (local.second + 1) % 60;
    }
}

void BM_BuildClockTexts(benchmark::State& state)
{
    RunTicks(state, "Udaipur 5.50", "Honolulu -10.00");
}
BENCHMARK(BM_BuildClockTexts);

// Entries as long as the window's buffer allowed (49 characters): the names no longer fit the
// strings' inline storage.
void BM_BuildClockTextsLongEntries(benchmark::State& state)
{
    RunTicks(state, "Santa Cruz de la Sierra Oriental Province -10.00",
             "Petropavlovsk-Kamchatsky Eastern District 12.00");
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
