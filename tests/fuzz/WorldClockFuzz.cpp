// The offset of any entry and the six texts of a tick. Input: seven bytes for the local reading,
// one for the entries that are absent, then your city's entry, a line feed, the destination's.
#include "clock/WorldClock.h"

#include "Fuzz.h"

#include <ctime>

// Only the last word counts (a name before it or blanks after it change nothing): its leading
// number as the C library reads it, times 60 held as a float and truncated toward zero, clamped
// to 32 bits.
static int32_t Minutes(std::string_view entry)
{
    std::string_view word = entry.substr(0, entry.find_last_not_of(' ') + 1);
    word.remove_prefix(word.find_last_of(' ') + 1);
    size_t end = std::min(
        word.find_first_not_of("0123456789", word.starts_with('-') || word.starts_with('+')), word.size());
    if (end < word.size() && word[end] == '.')
        end = std::min(word.find_first_not_of("0123456789", end + 1), word.size());
    const std::string number(word.substr(0, end));
    const double product = number.find_first_of("0123456789") == std::string::npos
        ? 0
        : std::strtod(number.c_str(), nullptr) * 60;
    const float held = static_cast<float>(std::clamp(product, -2147483648.0, 2147483648.0));
    const int32_t minutes = held < 2147483648.0f ? static_cast<int32_t>(held) : INT32_MAX;
    FUZZ_CHECK(ParseOffsetMinutes(entry) == minutes);
    FUZZ_CHECK(ParseOffsetMinutes("A " + std::string(entry) + " ") == minutes);
    return minutes;
}

// The destination's texts by the C library's calendar: the local reading moved by the difference.
// (timegm brings the day into the month first.)
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto byte = [&](size_t i) { return i < size ? int{data[i]} : 0; };
    std::tm here{.tm_sec = byte(6) % 60,
                 .tm_min = byte(5) % 60,
                 .tm_hour = byte(4) % 24,
                 .tm_mday = 1 + byte(3) % 31,
                 .tm_mon = byte(2) % 12,
                 .tm_year = (byte(0) << 8 | byte(1)) % 9999 + 1 - 1900};
    std::string_view input =
        std::string_view(reinterpret_cast<const char*>(data), size).substr(std::min<size_t>(size, 8));
    const auto yourCity = byte(7) & 1 ? std::nullopt : std::optional(Take(input));
    const auto destination = byte(7) & 2 ? std::nullopt : std::optional(input);
    const time_t moved =
        timegm(&here) - 60 * (Minutes(yourCity.value_or("")) - int64_t{Minutes(destination.value_or(""))});
    const LocalReading local{here.tm_year + 1900, here.tm_mon + 1, here.tm_mday,
                             here.tm_hour,        here.tm_min,     here.tm_sec};
    const ClockTexts texts = BuildClockTexts(local, yourCity, destination);
    char expected[64];
    const size_t written = std::strftime(expected, sizeof expected, "%H:%M:%S %p|%b %d|", &here);
    std::strftime(expected + written, sizeof expected - written, "%b %d|%H:%M:%S %p", std::gmtime(&moved));
    FUZZ_CHECK(texts.yourCityTime + "|" + texts.yourCityDate + "|" + texts.destinationDate + "|" +
                   texts.destinationTime ==
               expected);
    FUZZ_CHECK(texts.yourCityName == yourCity.value_or(""));
    FUZZ_CHECK(texts.destinationName == destination.value_or(""));
    return 0;
}
