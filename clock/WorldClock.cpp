// The world clock: one local reading and two list entries give the six texts of a tick.
// No locale, no iostreams, no printf: the texts are written digit by digit.
#include "clock/WorldClock.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The offset text of an entry: its last run of non-blank characters (empty when it has none).
std::string_view OffsetText(std::string_view entry)
{
    entry = entry.substr(0, entry.find_last_not_of(' ') + 1);   // npos + 1 is 0: all blank
    return entry.substr(entry.find_last_of(' ') + 1);   // npos + 1 is 0: one word
}

// The longest leading decimal number of the offset text: an optional sign, digits, optionally a
// point and further digits, at least one digit in all; 0 when there is none. No exponent, no
// locale.
double OffsetNumber(std::string_view entry)
{
    std::string_view text = OffsetText(entry);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    double number = 0.0;
    if (text.starts_with('.') || (!text.empty() && IsDigit(text.front()))) {
        const auto result =
            std::from_chars(text.data(), std::to_address(text.end()), number, std::chars_format::fixed);
        // Beyond a double: too large, or too small to be anything but zero.
        if (result.ec == std::errc::result_out_of_range)
            number = IsDigit(text[text.find_first_not_of('0')]) ? HUGE_VAL : 0.0;
    }
    return negative ? -number : number;
}

// Appends a number of 0 to 99 as two digits ("05").
void PutTwoDigits(std::string& out, int value)
{
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

// "HH:MM:SS AM": the 24-hour hour beside the marker, AM for hours 0 to 11, PM from 12.
std::string TimeText(int hour, int minute, int second)
{
    std::string text;
    PutTwoDigits(text, hour);
    text.push_back(':');
    PutTwoDigits(text, minute);
    text.push_back(':');
    PutTwoDigits(text, second);
    text.append(hour < 12 ? " AM" : " PM");
    return text;
}

// "Mon DD": the English month abbreviation and the day as two digits.
std::string DateText(unsigned month, unsigned day)
{
    std::string text(kMonthNames + (month - 1) * 3, 3);
    text.push_back(' ');
    PutTwoDigits(text, static_cast<int>(day));
    return text;
}

}   // namespace

int32_t ParseOffsetMinutes(std::string_view entry)
{
    // The number times 60, held as a single-precision value and truncated toward zero; beyond
    // the 32-bit range it is clamped (2^31 is exact in a float).
    const double product = std::clamp(OffsetNumber(entry) * 60.0, -2147483648.0, 2147483648.0);
    const float held = static_cast<float>(product);
    return held < 2147483648.0f ? static_cast<int32_t>(held) : std::numeric_limits<int32_t>::max();
}

ClockTexts BuildClockTexts(const LocalReading& local, std::optional<std::string_view> yourCity,
                           std::optional<std::string_view> destination)
{
    // An absent entry counts as GMT. Both values are 32-bit; their difference is taken in 64.
    const int64_t yourMinutes = yourCity ? ParseOffsetMinutes(*yourCity) : 0;
    const int64_t destinationMinutes = destination ? ParseOffsetMinutes(*destination) : 0;
    return BuildClockTexts(local, yourCity, destination, yourMinutes - destinationMinutes);
}

ClockTexts BuildClockTexts(const LocalReading& local, std::optional<std::string_view> yourCity,
                           std::optional<std::string_view> destination, int64_t difference)
{
    using namespace std::chrono;

    ClockTexts texts;
    texts.yourCityTime = TimeText(local.hour, local.minute, local.second);
    texts.yourCityDate = DateText(static_cast<unsigned>(local.month), static_cast<unsigned>(local.day));
    texts.yourCityName = yourCity.value_or(std::string_view());
    texts.destinationName = destination.value_or(std::string_view());

    // The local reading, to the minute, as a point on the Gregorian calendar; the difference
    // taken off; back to a calendar date and a time of day. The seconds stay as they are.
    const year_month_day localDate{year{local.year}, month{static_cast<unsigned>(local.month)},
                                   day{static_cast<unsigned>(local.day)}};
    const sys_time<minutes> localMinute = sys_days{localDate} + hours{local.hour} + minutes{local.minute};
    const sys_time<minutes> destinationMinute = localMinute - minutes{difference};
    const sys_days destinationDay = floor<days>(destinationMinute);
    const year_month_day destinationDate{destinationDay};
    const int64_t minuteOfDay = (destinationMinute - destinationDay).count();   // 0 .. 1439

    texts.destinationDate = DateText(static_cast<unsigned>(destinationDate.month()),
                                     static_cast<unsigned>(destinationDate.day()));
    texts.destinationTime =
        TimeText(static_cast<int>(minuteOfDay / 60), static_cast<int>(minuteOfDay % 60), local.second);
    return texts;
}
