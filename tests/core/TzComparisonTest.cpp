// The shipped rules (data/city-rules.txt) against Python's zoneinfo over the same tz data:
// tools/tz-changes lists each city's offset at the start of 2026 and every change through 2040.
#include "clock/CityRules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int64_t kFrom = 1767225600;   // 2026-01-01 00:00:00 UTC
constexpr int64_t kUntil = 2240611200;   // 2041-01-01

std::string Read(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TzComparison, EveryCityHasZoneinfosOffsetAtEveryHourAndAroundEveryChange)
{
    const CityRules rules = CityRules::Parse(Read(PAVIX_CITY_RULES));
    std::istringstream listing(Read(PAVIX_TZ_CHANGES));
    size_t cities = 0;
    size_t changing = 0;
    for (std::string name, text, start, changes; std::getline(listing, name, '\t');) {
        std::getline(listing, text, '\t');
        std::getline(listing, start, '\t');
        std::getline(listing, changes);
        const std::string entry = name + " " + text;
        SCOPED_TRACE(entry);
        const TimeRule* rule = rules.Match(entry);
        const auto seconds = [&](int64_t utc) { return OffsetMinutesAt(rule, entry, utc) * 60; };
        std::vector<TimeRule::Change> list{{kFrom, std::stoi(start)}};
        std::istringstream pairs(changes);
        int64_t utc = 0;
        char equals = 0;
        int32_t offset = 0;
        while (pairs >> utc >> equals >> offset)
            list.push_back({utc, offset});
        for (size_t i = 1; i < list.size(); ++i) {
            EXPECT_EQ(seconds(list[i].utcSeconds - 1), list[i - 1].offsetSeconds)
                << "before " << list[i].utcSeconds;
            EXPECT_EQ(seconds(list[i].utcSeconds), list[i].offsetSeconds) << "at " << list[i].utcSeconds;
        }
        // Every hour, counted rather than reported one by one. Without a rule the offset is the
        // entry's whatever the hour: once is enough.
        if (!rule)
            EXPECT_EQ(seconds(kFrom), list.back().offsetSeconds);
        size_t current = 0;
        int64_t wrong = 0;
        int64_t firstWrong = 0;
        for (int64_t hour = kFrom; rule && hour < kUntil; hour += 3600) {
            while (current + 1 < list.size() && list[current + 1].utcSeconds <= hour)
                ++current;
            if (seconds(hour) != list[current].offsetSeconds && wrong++ == 0)
                firstWrong = hour;
        }
        EXPECT_EQ(wrong, 0) << "hours wrong, the first at " << firstWrong;
        changing += list.size() > 1 ? 1 : 0;
        ++cities;
    }
    EXPECT_EQ(cities, 407u);
    EXPECT_EQ(rules.Size(), changing);
}

}   // namespace
