// Loading and searching generated city databases of 10k, 100k and 1M lines: both must grow
// linearly with the file.
#include "citydb/CityDatabase.h"
#include "platform/TextFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The generated files, made once per run in a private temporary folder and removed at exit.
class GeneratedFiles {
public:
    ~GeneratedFiles()
    {
        std::error_code error;
        if (!m_dir.empty())
            fs::remove_all(m_dir, error);
    }

    // A database of this many lines: "City <n>" names of a few words, offsets of every kind,
    // CR LF line ends. Returns its name and its size in bytes.
    const std::pair<std::string, int64_t>& Get(int64_t lines)
    {
        auto found = m_files.find(lines);
        if (found != m_files.end())
            return found->second;
        if (m_dir.empty()) {
            std::random_device random;
            m_dir = fs::temp_directory_path() / ("pavix-bench-" + std::to_string(random()));
            fs::create_directories(m_dir);
        }
        const fs::path path = m_dir / ("wtcmain-" + std::to_string(lines) + ".pvx");
        std::string bytes;
        bytes.reserve(static_cast<size_t>(lines) * 28);
        std::mt19937 random(static_cast<unsigned>(lines));
        static const char* const words[] = {"New", "San", "Port", "Saint", "Lake", "Fort", "North", "East"};
        for (int64_t i = 0; i < lines; ++i) {
            const unsigned r = random();
            if (r % 3 == 0) {
                bytes += words[r % 8];
                bytes += ' ';
            }
            bytes += "City";
            bytes += std::to_string(i);
            bytes += '\t';
            const int halfHours = static_cast<int>((r >> 8) % 49) - 24;
            const int magnitude = halfHours < 0 ? -halfHours : halfHours;
            if (halfHours < 0)
                bytes += '-';
            bytes += std::to_string(magnitude / 2);
            bytes += magnitude % 2 ? ".50" : ".00";
            bytes += "\r\n";
        }
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return m_files[lines] = {path.string(), static_cast<int64_t>(bytes.size())};
    }

private:
    fs::path m_dir;
    std::map<int64_t, std::pair<std::string, int64_t>> m_files;
};

GeneratedFiles& Files()
{
    static GeneratedFiles files;
    return files;
}

// A list that keeps what it is given, as the list boxes will.
struct StoringSink final : CityListSink {
    void AddCityEntry(const std::string& entry) override { entries.push_back(entry); }
    std::vector<std::string> entries;
};

struct SilentNotifier final : CityDatabaseNotifier {
    void FileEmpty() override {}
    void FileMissing() override {}
    void ReadError() override {}
};

void BM_LoadCityDatabase(benchmark::State& state)
{
    const auto& [name, size] = Files().Get(state.range(0));
    for (auto _ : state) {
        StoringSink yourCity;
        StoringSink destination;
        SilentNotifier notifier;
        TextFile file;
        if (!LoadCityDatabase(file, name, yourCity, destination, notifier) ||
            yourCity.entries.size() != static_cast<size_t>(state.range(0))) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(destination.entries.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_LoadCityDatabase)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A record that is not there, with an offset that many lines carry, so every line is read
// and many are compared word by word.
void BM_FindCityRecordAbsent(benchmark::State& state)
{
    const auto& [name, size] = Files().Get(state.range(0));
    TextFile file;
    if (file.Open(name, TextFile::modeReadWrite) != TextFile::openOk) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        if (FindCityRecord(file, "New CityX", "5.50") != FindResult::absent) {
            state.SkipWithError("found what is not there");
            break;
        }
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_FindCityRecordAbsent)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
