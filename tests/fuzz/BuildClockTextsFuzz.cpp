// The six texts of a tick from any valid local reading and any two entries.
//
// Input: seven bytes for the reading (year high and low, month, day, hour, minute, second, each
// brought into its valid range, the day into the month's), one byte of flags (bit 0: no entry
// for your city, bit 1: no destination entry), then your city's entry, an LF, the destination's.
//
// Properties: the times have the form "HH:MM:SS AM" or "... PM", the marker by the hour; the
// dates "Mon DD" with an English month abbreviation and a day that month has; the names are the
// entries; the local texts show the reading; the destination texts show the reading moved back
// by the difference of the two offsets, by the C library's own UTC calendar.
#include "clock/WorldClock.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsLeap(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int64_t year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int TwoDigits(std::string_view text, size_t at)
{
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::string Two(int value)
{
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string Time(int hour, int minute, int second)
{
    return Two(hour) + ":" + Two(minute) + ":" + Two(second) + (hour < 12 ? " AM" : " PM");
}

std::string Date(int month, int day)
{
    return std::string(kMonths[static_cast<size_t>(month - 1)]) + " " + Two(day);
}

void CheckTimeForm(const std::string& text, const std::string& what)
{
    const bool shape = text.size() == 11 && IsDigit(text[0]) && IsDigit(text[1]) && text[2] == ':' &&
                       IsDigit(text[3]) && IsDigit(text[4]) && text[5] == ':' && IsDigit(text[6]) &&
                       IsDigit(text[7]) && text[8] == ' ' && (text.compare(9, 2, "AM") == 0 || text.compare(9, 2, "PM") == 0);
    FUZZ_CHECK(shape, "time " + fuzz::Show(text) + ", " + what);
    const int hour = TwoDigits(text, 0);
    FUZZ_CHECK(hour <= 23 && TwoDigits(text, 3) <= 59 && TwoDigits(text, 6) <= 59, "time " + text + ", " + what);
    FUZZ_CHECK(text.compare(9, 2, hour < 12 ? "AM" : "PM") == 0, "marker against the hour: " + text + ", " + what);
}

// The day is checked against the longest that month can be: the year is not in the text.
void CheckDateForm(const std::string& text, const std::string& what)
{
    FUZZ_CHECK(text.size() == 6 && text[3] == ' ' && IsDigit(text[4]) && IsDigit(text[5]),
               "date " + fuzz::Show(text) + ", " + what);
    int month = 0;
    for (int m = 1; m <= 12; ++m) {
        if (text.compare(0, 3, kMonths[static_cast<size_t>(m - 1)]) == 0)
            month = m;
    }
    FUZZ_CHECK(month != 0, "month in " + fuzz::Show(text) + ", " + what);
    const int day = TwoDigits(text, 4);
    FUZZ_CHECK(day >= 1 && day <= (month == 2 ? 29 : DaysIn(2001, month)), "day in " + text + ", " + what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto byte = [&](size_t i) -> unsigned { return i < size ? data[i] : 0u; };
    LocalReading local{};
    local.year = 1 + static_cast<int>((byte(0) << 8 | byte(1)) % 9999);
    local.month = 1 + static_cast<int>(byte(2) % 12);
    local.day = 1 + static_cast<int>(byte(3) % static_cast<unsigned>(DaysIn(local.year, local.month)));
    local.hour = static_cast<int>(byte(4) % 24);
    local.minute = static_cast<int>(byte(5) % 60);
    local.second = static_cast<int>(byte(6) % 60);
    const unsigned flags = byte(7);
    const std::string_view rest(reinterpret_cast<const char*>(data) + std::min<size_t>(size, 8),
                                size - std::min<size_t>(size, 8));
    const size_t split = std::min(rest.find('\n'), rest.size());
    std::optional<std::string_view> yourCity = rest.substr(0, split);
    std::optional<std::string_view> destination = rest.substr(std::min(split + 1, rest.size()));
    if (flags & 1)
        yourCity.reset();
    if (flags & 2)
        destination.reset();

    char reading[64];
    std::snprintf(reading, sizeof reading, "%04d-%02d-%02d %02d:%02d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute, local.second);
    const std::string what = std::string("reading ") + reading + ", your city " +
                             (yourCity ? fuzz::Show(*yourCity) : "none") + ", destination " +
                             (destination ? fuzz::Show(*destination) : "none");

    const ClockTexts texts = BuildClockTexts(local, yourCity, destination);

    CheckTimeForm(texts.yourCityTime, what);
    CheckTimeForm(texts.destinationTime, what);
    CheckDateForm(texts.yourCityDate, what);
    CheckDateForm(texts.destinationDate, what);
    FUZZ_CHECK(texts.yourCityName == (yourCity ? *yourCity : std::string_view()), "your city's name, " + what);
    FUZZ_CHECK(texts.destinationName == (destination ? *destination : std::string_view()),
               "destination's name, " + what);

    FUZZ_CHECK(texts.yourCityTime == Time(local.hour, local.minute, local.second), "local time, " + what);
    FUZZ_CHECK(texts.yourCityDate == Date(local.month, local.day), "local date, " + what);

    // The destination: the reading as a UTC moment, the difference taken off, back to a date.
    const int64_t difference = static_cast<int64_t>(yourCity ? ParseOffsetMinutes(*yourCity) : 0) -
                               static_cast<int64_t>(destination ? ParseOffsetMinutes(*destination) : 0);
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    const int64_t moment = static_cast<int64_t>(timegm(&tm)) - difference * 60;
    const time_t moved = static_cast<time_t>(moment);
    std::tm there{};
    FUZZ_CHECK(gmtime_r(&moved, &there) != nullptr, "the C library cannot place " + std::to_string(moment));
    FUZZ_CHECK(texts.destinationDate == Date(there.tm_mon + 1, there.tm_mday),
               "destination date " + texts.destinationDate + ", difference " + std::to_string(difference) + ", " + what);
    FUZZ_CHECK(texts.destinationTime == Time(there.tm_hour, there.tm_min, there.tm_sec),
               "destination time " + texts.destinationTime + ", difference " + std::to_string(difference) + ", " + what);
    FUZZ_CHECK(there.tm_sec == local.second, "the seconds moved");
    if (difference == 0) {
        FUZZ_CHECK(texts.destinationDate == texts.yourCityDate && texts.destinationTime == texts.yourCityTime,
                   "no difference, yet other texts, " + what);
    }
    return 0;
}
