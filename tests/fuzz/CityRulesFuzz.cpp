// Reading rules and offsets at any instant. Input: eight bytes for the instant, eight that make a
// TZ string, then free text read as a rules file and as a TZ string and its changes (two lines).
// The made TZ string is checked against the C library's reading of it (TZ and localtime_r),
// with the dates in the months where every reading agrees: changes a week off their day, but
// never across a new year nor past each other.
#include "clock/CityRules.h"

#include "Fuzz.h"

#include <ctime>

static constexpr int32_t kMaxOffset = 25 * 3600;

// A date in spring (February to May) or in autumn (August to November), in one of the three
// forms, at a time of -167 to 167 hours.
static std::string Date(bool spring, uint8_t form, uint8_t value, uint8_t hours)
{
    const int month = (spring ? 2 : 8) + value % 4;
    const int day = (spring ? 32 : 213) + value % 120;
    const std::string time = "/" + std::to_string(hours % 64 * 167 / 63 * (hours & 64 ? -1 : 1));
    switch (form % 3) {
    case 0:
        return "M" + std::to_string(month) + "." + std::to_string(1 + value / 4 % 5) + "." +
            std::to_string(value / 20 % 7) + time;
    case 1:
        return "J" + std::to_string(day) + time;
    default:
        return std::to_string(day) + time;
    }
}

static int32_t LibraryOffset(const std::string& tz, int64_t utc)
{
    setenv("TZ", tz.c_str(), 1);
    tzset();
    const std::time_t t = utc;
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<int32_t>(local.tm_gmtoff);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto byte = [&](size_t i) { return i < size ? data[i] : uint8_t{0}; };
    uint64_t bits = 0;
    for (size_t i = 0; i < 8; ++i)
        bits = bits << 8 | byte(i);
    const int64_t utc = static_cast<int64_t>(bits);
    std::string_view input =
        std::string_view(reinterpret_cast<const char*>(data), size).substr(std::min<size_t>(size, 16));

    // Whatever the text, no crash, and offsets within a day either way.
    const CityRules rules = CityRules::Parse(input);
    for (std::string_view lines = input; !lines.empty();) {
        const TimeRule* rule = rules.Match(Take(lines));
        FUZZ_CHECK(!rule || std::abs(OffsetMinutesAt(rule, "", utc)) <= kMaxOffset / 60);
    }
    std::string_view text = input;
    const std::string_view tz = Take(text);
    if (const std::optional<TimeRule> rule = TimeRule::Parse(tz, Take(text)))
        FUZZ_CHECK(std::abs(rule->OffsetSecondsAt(utc)) <= kMaxOffset);

    // A made TZ string, north or south, at an instant from 1970 (the C library reads TZ strings
    // only from then on) to 2500.
    const int32_t standard = (byte(8) % 193 - 96) * 900;
    const int32_t daylight = standard + (byte(9) % 9 - 4) * 1800;
    const bool north = byte(10) & 1;
    const auto hms = [](int32_t seconds) {
        const int32_t west = -seconds;
        return std::string(west < 0 ? "-" : "") + std::to_string(std::abs(west) / 3600) + ":" +
            std::to_string(std::abs(west) / 60 % 60);
    };
    if (std::abs(daylight) >= 25 * 3600)
        return 0;
    const std::string made = "<STD>" + hms(standard) + "<DST>" + hms(daylight) + "," +
        Date(north, byte(11), byte(12), byte(13)) + "," + Date(!north, byte(14), byte(15), byte(10) >> 1);
    const int64_t instant = static_cast<int64_t>(bits % (530ull * 31556952));
    const std::optional<TimeRule> rule = TimeRule::Parse(made);
    FUZZ_CHECK(rule.has_value());
    const int32_t expected = LibraryOffset(made, instant);
    if (rule->OffsetSecondsAt(instant) != expected)
        std::fprintf(stderr, "%s at %lld: the C library has %d\n", made.c_str(),
                     static_cast<long long>(instant), expected);
    FUZZ_CHECK(rule->OffsetSecondsAt(instant) == expected);
    return 0;
}
