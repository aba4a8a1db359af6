// What the core costs: a tick's six clock texts, one offset, and loading and searching city
// databases of 10k, 100k and 1M lines (per line, both must stay flat as the file grows).
#include "citydb/CityDatabase.h"
#include "clock/WorldClock.h"
#include "platform/TextFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <vector>

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
struct Databases {
    std::map<int64_t, std::string> names;
    ~Databases()
    {
        for (const auto& [lines, name] : names)
            std::filesystem::remove(name);
    }
    const std::string& Get(int64_t lines)
    {
        std::string& name = names[lines];
        if (name.empty()) {
            name = (std::filesystem::temp_directory_path() / ("pavix-bench-" + std::to_string(std::random_device()()))).string();
            std::ofstream out(name, std::ios::binary);
            for (int64_t i = 0; i < lines; ++i)
                out << (i % 3 ? "" : "New ") << "City" << i << '\t' << (i % 2 ? "-" : "") << i % 13 << (i % 4 ? ".50\r\n" : ".00\r\n");
        }
        return name;
    }
} databases;

struct Sink final : CityListSink, CityDatabaseNotifier {
    void AddCityEntry(const std::string& entry) override { entries.push_back(entry); }
    void FileEmpty() override {}
    void FileMissing() override {}
    void ReadError() override {}
    std::vector<std::string> entries;
};

void BM_LoadCityDatabase(benchmark::State& state)
{
    const std::string& name = databases.Get(state.range(0));
    for (auto _ : state) {
        Sink yourCity, destination;
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
    file.Open(databases.Get(state.range(0)), TextFile::modeRead);
    for (auto _ : state) {
        if (FindCityRecord(file, "New CityX", "5.50") != FindResult::absent)
            state.SkipWithError("found what is not there");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindCityRecordAbsent)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
