// What the core costs: a tick's six clock texts, beside the same tick written the plain way; one
// offset; both offsets of a tick by the cities' rules; and loading and searching city databases of 10k, 100k
// and 1M lines (per line, both must stay flat as the file grows).
#include "clock/CityRules.h"
#include "clock/WorldClock.h"

#include "../tests/core/Disk.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
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
// Entries longer than any shipped city's (21 characters): a tick copies both of them.
BENCHMARK_CAPTURE(BM_BuildClockTexts, long, "Santa Cruz de la Sierra Oriental Province -10.00",
                  "Petropavlovsk-Kamchatsky Eastern District 12.00");

// The same tick written the plain way, for scale: strtod on the offset, timegm and gmtime_r
// for the shift, strftime and snprintf for the texts. English names in the C locale.
ClockTexts PlainTick(const LocalReading& local, const char* yourCity, const char* destination)
{
    auto minutes = [](const char* entry) {
        return int(float(std::strtod(std::strrchr(entry, ' '), nullptr) * 60));
    };
    std::tm here{local.second, local.minute, local.hour, local.day, local.month - 1, local.year - 1900};
    const std::time_t moved = timegm(&here) - 60 * (minutes(yourCity) - minutes(destination));
    std::tm there{};
    gmtime_r(&moved, &there);
    char texts[4][16];
    std::strftime(texts[0], sizeof texts[0], "%H:%M:%S %p", &here);
    std::strftime(texts[1], sizeof texts[1], "%b %d", &here);
    std::strftime(texts[2], sizeof texts[2], "%b", &there);
    std::snprintf(texts[2] + 3, sizeof texts[2] - 3, " %02d", there.tm_mday);
    std::strftime(texts[3], sizeof texts[3], "%H:%M:%S", &there);
    std::snprintf(texts[3] + 8, sizeof texts[3] - 8, " %s", there.tm_hour < 12 ? "AM" : "PM");
    return {texts[0], texts[1], yourCity, destination, texts[2], texts[3]};
}

void BM_PlainTick(benchmark::State& state)
{
    LocalReading local{2000, 12, 31, 20, 0, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainTick(local, "Udaipur 5.50", "Honolulu -10.00"));
        local.second = (local.second + 1) % 60;
    }
}
BENCHMARK(BM_PlainTick);

void BM_ParseOffsetMinutes(benchmark::State& state)
{
    const std::string entry = "Udaipur 5.50";
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry.data());
        benchmark::DoNotOptimize(ParseOffsetMinutes(entry));
    }
}
BENCHMARK(BM_ParseOffsetMinutes);

// With daylight saving on, a tick works out both cities' offsets at the instant by their shipped
// rules, one second further on each time: by TZ string alone, or through a list of changes.
void BM_TickOffsets(benchmark::State& state, const char* yourCity, const char* destination)
{
    std::ifstream in(PAVIX_CITY_RULES, std::ios::binary);
    const CityRules rules = CityRules::Parse(std::string(std::istreambuf_iterator<char>(in), {}));
    const TimeRule* yourRule = rules.Match(yourCity);
    const TimeRule* destinationRule = rules.Match(destination);
    if (!yourRule || !destinationRule)
        state.SkipWithError("no rule");
    int64_t now = 1784116800;   // 2026-07-15 12:00 UTC
    for (auto _ : state) {
        benchmark::DoNotOptimize(OffsetMinutesAt(yourRule, yourCity, now) -
                                 OffsetMinutesAt(destinationRule, destination, now));
        ++now;
    }
}
BENCHMARK_CAPTURE(BM_TickOffsets, rules, "New York -5.00", "Lord Howe 10.50");
BENCHMARK_CAPTURE(BM_TickOffsets, listed, "Casablanca 1.00", "Gaza 2.00");

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
BENCHMARK(BM_LoadCityDatabase)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_FindCityRecordAbsent)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

}   // namespace
