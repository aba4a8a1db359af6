// The baseline for BuildClockTexts: the same six texts made the obvious way, with the C
// library's strtod, timegm, strftime and snprintf. Checked against BuildClockTexts before it is
// timed, so both sides do the same work.
#include "clock/WorldClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

namespace {

int32_t BaselineOffsetMinutes(const std::string& entry)
{
    const size_t blank = entry.find_last_of(' ');
    const char* word = entry.c_str() + (blank == std::string::npos ? 0 : blank + 1);
    const float product = static_cast<float>(std::strtod(word, nullptr) * 60.0);
    return static_cast<int32_t>(product);
}

ClockTexts BaselineClockTexts(const LocalReading& local, const std::string& yourCity,
                              const std::string& destination)
{
    std::tm here{};
    here.tm_year = local.year - 1900;
    here.tm_mon = local.month - 1;
    here.tm_mday = local.day;
    here.tm_hour = local.hour;
    here.tm_min = local.minute;
    here.tm_sec = local.second;

    ClockTexts texts;
    char text[64];
    std::strftime(text, sizeof text, "%H:%M:%S %p", &here);
    texts.yourCityTime = text;
    std::strftime(text, sizeof text, "%b %d", &here);
    texts.yourCityDate = text;
    texts.yourCityName = yourCity;
    texts.destinationName = destination;

    const int difference = BaselineOffsetMinutes(yourCity) - BaselineOffsetMinutes(destination);
    std::tm there = here;
    there.tm_min -= difference;
    timegm(&there);   // brings the fields back into range
    char month[16];
    std::strftime(month, sizeof month, "%b", &there);
    std::snprintf(text, sizeof text, "%s %02d", month, there.tm_mday);
    texts.destinationDate = text;
    char time[16];
    std::strftime(time, sizeof time, "%H:%M:%S", &there);
    std::snprintf(text, sizeof text, "%s %s", time, there.tm_hour < 12 ? "AM" : "PM");
    texts.destinationTime = text;
    return texts;
}

bool SameTexts(const ClockTexts& a, const ClockTexts& b)
{
    return a.yourCityTime == b.yourCityTime && a.yourCityDate == b.yourCityDate &&
           a.yourCityName == b.yourCityName && a.destinationName == b.destinationName &&
           a.destinationDate == b.destinationDate && a.destinationTime == b.destinationTime;
}

void RunBaseline(benchmark::State& state, LocalReading local, const std::string& yourCity,
                 const std::string& destination, bool tick)
{
    for (int second = 0; second < 60; ++second) {
        LocalReading probe = local;
        probe.second = second;
        if (!SameTexts(BaselineClockTexts(probe, yourCity, destination), BuildClockTexts(probe, yourCity, destination))) {
            state.SkipWithError("the baseline makes other texts than BuildClockTexts");
            return;
        }
    }
    for (auto _ : state) {
        ClockTexts texts = BaselineClockTexts(local, yourCity, destination);
        benchmark::DoNotOptimize(texts);
        if (tick)
            local.second = (local.second + 1) % 60;
    }
}

// The same inputs as BM_BuildClockTexts and BM_BuildClockTextsLongEntries.
void BM_BaselineClockTexts(benchmark::State& state)
{
    RunBaseline(state, {2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Honolulu -10.00", true);
}
BENCHMARK(BM_BaselineClockTexts);

void BM_BaselineClockTextsLongEntries(benchmark::State& state)
{
    RunBaseline(state, {2000, 12, 31, 20, 0, 0}, "Santa Cruz de la Sierra Oriental Province -10.00",
                "Petropavlovsk-Kamchatsky Eastern District 12.00", false);
}
BENCHMARK(BM_BaselineClockTextsLongEntries);

} // namespace
