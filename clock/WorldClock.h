#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The local clock read to the second, daylight saving already applied; always a valid moment.
struct LocalReading {
    int year;
    int month;   // 1..12
    int day;   // 1..31
    int hour;   // 0..23
    int minute;
    int second;
};

// The six texts of one tick, one per static control of the main window.
struct ClockTexts {
    std::string yourCityTime;   // 1001, "21:45:30 PM"
    std::string yourCityDate;   // 1010, "Dec 06"
    std::string yourCityName;   // 1007, the entry unchanged
    std::string destinationName;   // 1008
    std::string destinationDate;   // 1009
    std::string destinationTime;   // 1003
};

// The offset of a list entry in whole minutes, truncated toward zero and clamped to 32 bits.
int32_t ParseOffsetMinutes(std::string_view entry);

// An absent entry (a list with no selection) shows as empty text and counts as GMT.
ClockTexts BuildClockTexts(const LocalReading& local, std::optional<std::string_view> yourCity,
                           std::optional<std::string_view> destination);
// The same with the difference given: the destination runs differenceMinutes behind the local
// reading (ahead when negative). Wide enough for any two 32-bit offsets.
ClockTexts BuildClockTexts(const LocalReading& local, std::optional<std::string_view> yourCity,
                           std::optional<std::string_view> destination, int64_t differenceMinutes);
