// What the core costs: a tick's six clock texts, one offset, and loading and searching city
// databases of 10k, 100k and 1M lines (per line, both must stay flat as the file grows).
#include "clock/WorldClock.h"

#include "../tests/core/Disk.h"

#include <benchmark/benchmark.h>

#include <map>
#include <sstream>

namespace {

void BM_BuildClockTexts(benchmark::State& state, const char* yourCity, const char* destination)
{
    LocalReading local{2000, 12, 31, 20, 0, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildClockTexts(local, yourCity, destination));
        local.second = (local.second + 1) % 60;
    }
}
BENCHMARK_CAPTURE(BM_BuildClockTexts, short, "Udaipur 5.50", "Honolulu -10.00");
// As long as the window's entry buffer allows (49 characters).
BENCHMARK_CAPTURE(BM_BuildClockTexts, long, "Santa Cruz de la Sierra Oriental Province -10.00",
                  "Petropavlovsk-Kamchatsky Eastern District 12.00");

void BM_ParseOffsetMinutes(benchmark::State& state)
{
    const std::string entry = "Udaipur 5.50";
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry.data());
        benchmark::DoNotOptimize(ParseOffsetMinutes(entry));
    }
}
BENCHMARK(BM_ParseOffsetMinutes);

// Databases of names of one or two words and offsets of every kind, made once, removed at exit.
const std::string& Database(int64_t lines)
{
    static std::map<int64_t, TempPath> made;
    if (made.contains(lines))
        return made[lines].name;
    std::ostringstream out;
    for (int64_t i = 0; i < lines; ++i)
        out << (i % 3 ? "" : "New ") << "City" << i << '\t' << (i % 2 ? "-" : "") << i % 13
            << (i % 4 ? ".50\r\n" : ".00\r\n");
    return made[lines].Write(out.str());
}

void BM_LoadCityDatabase(benchmark::State& state)
{
    const std::string& name = Database(state.range(0));
    for (auto _ : state) {
        Lines yourCity;
        Lines destination;
        TextFile file;
        if (!LoadCityDatabase(file, name, yourCity, destination, yourCity))
            state.SkipWithError("load failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadCityDatabase)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A record that is not there, with an offset that many lines carry: every line is read.
void BM_FindCityRecordAbsent(benchmark::State& state)
{
    TextFile file;
    file.Open(Database(state.range(0)), TextFile::modeRead);
    for (auto _ : state) {
        if (FindCityRecord(file, "New CityX", "5.50") != FindResult::absent)
            state.SkipWithError("found what is not there");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindCityRecordAbsent)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}   // namespace
