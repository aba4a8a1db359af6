// The world clock: one local reading and two list entries give the six texts of a tick.
// No locale, no iostreams, no printf: the texts are written digit by digit.
#include "clock/WorldClock.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>

namespace {

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The offset text of an entry: its last run of non-blank characters (empty when it has none).
std::string_view OffsetText(std::string_view entry)
{
    size_t end = entry.size();
    while (end > 0 && entry[end - 1] == ' ')
        --end;
    size_t start = end;
    while (start > 0 && entry[start - 1] != ' ')
        --start;
    return entry.substr(start, end - start);
}

// Appends a number as at least two digits ("05"); numbers outside 0..99 in full.
void PutTwoDigits(std::string& out, int value)
{
    if (value >= 0 && value <= 99) {
        out.push_back(static_cast<char>('0' + value / 10));
        out.push_back(static_cast<char>('0' + value % 10));
        return;
    }
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// "HH:MM:SS AM": the 24-hour hour beside the marker, AM for hours 0 to 11, PM from 12.
std::string TimeText(int hour, int minute, int second)
{
    std::string text;
    text.reserve(11);
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
    std::string text;
    text.reserve(6);
    if (month >= 1 && month <= 12)
        text.append(kMonthNames + (month - 1) * 3, 3);
    else
        text.append("???");
    text.push_back(' ');
    PutTwoDigits(text, day <= 99 ? static_cast<int>(day) : 99);
    return text;
}

} // namespace

float ParseOffsetProduct(std::string_view entry)
{
    const std::string_view text = OffsetText(entry);

    // The longest leading decimal number: an optional sign, digits, optionally a point and
    // further digits, at least one digit in all. No exponent, no locale.
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t numberStart = pos;
    size_t digits = 0;
    bool nonZeroWhole = false;
    while (pos < text.size() && IsDigit(text[pos])) {
        nonZeroWhole = nonZeroWhole || text[pos] != '0';
        ++pos;
        ++digits;
    }
    const size_t wholeEnd = pos;
    if (pos < text.size() && text[pos] == '.') {
        size_t fraction = pos + 1;
        while (fraction < text.size() && IsDigit(text[fraction]))
            ++fraction;
        if (fraction > pos + 1 || digits > 0) {
            digits += fraction - (pos + 1);
            pos = fraction;
        }
    }
    if (digits == 0)
        return 0.0f;   // no number: the city counts as being on GMT

    // "5." is read as "5"; from_chars then sees only digits and at most one inner point.
    const char* first = text.data() + numberStart;
    const char* last = text.data() + (pos == wholeEnd + 1 ? wholeEnd : pos);
    double number = 0.0;
    const auto result = std::from_chars(first, last, number, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large for a double, or too small to be anything but zero.
        number = nonZeroWhole ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        number = 0.0;
    }
    double product = number * 60.0;
    if (negative)
        product = -product;
    // Held as a single-precision value; beyond its range it is the infinity of that sign.
    constexpr double floatMax = std::numeric_limits<float>::max();
    if (product > floatMax)
        return std::numeric_limits<float>::infinity();
    if (product < -floatMax)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(product);
}

int32_t ParseOffsetMinutes(std::string_view entry)
{
    const float product = ParseOffsetProduct(entry);
    // Truncated toward zero; beyond the 32-bit range it is clamped (2^31 is exact in a float).
    if (std::isnan(product))
        return 0;
    if (product >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (product <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(product);
}

ClockTexts BuildClockTexts(const LocalReading& local,
                           std::optional<std::string_view> yourCity,
                           std::optional<std::string_view> destination)
{
    using namespace std::chrono;

    ClockTexts texts;
    texts.yourCityTime = TimeText(local.hour, local.minute, local.second);
    texts.yourCityDate = DateText(static_cast<unsigned>(local.month), static_cast<unsigned>(local.day));
    if (yourCity)
        texts.yourCityName.assign(yourCity->data(), yourCity->size());
    if (destination)
        texts.destinationName.assign(destination->data(), destination->size());

    // An absent entry counts as GMT. Both values are 32-bit; their difference is taken in 64.
    const int64_t yourMinutes = yourCity ? ParseOffsetMinutes(*yourCity) : 0;
    const int64_t destinationMinutes = destination ? ParseOffsetMinutes(*destination) : 0;
    const int64_t difference = yourMinutes - destinationMinutes;

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
    texts.destinationTime = TimeText(static_cast<int>(minuteOfDay / 60), static_cast<int>(minuteOfDay % 60),
                                     local.second);
    return texts;
}
