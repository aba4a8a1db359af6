#pragma once
// Each shipped city's offset from GMT at any instant, read from the rules that tools/gen-cities
// writes (data/city-rules.txt). Pure functions over values: no globals, no I/O, no allocation
// once read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One city's rule: its offset from GMT at any instant.
class TimeRule {
public:
    // A POSIX TZ string with the tz extensions (<+03> names, change times of -167 to 167 hours),
    // and optionally the changes it does not give: "UTCSECONDS=OFFSETSECONDS ..." in rising
    // order, each offset holding from its instant on, the TZ string before the first and from
    // the last. Nothing when either does not parse or is out of range.
    static std::optional<TimeRule> Parse(std::string_view tz, std::string_view changes = {});

    // Seconds east of GMT. Instants beyond a billion years either way read as at that bound.
    int32_t OffsetSecondsAt(int64_t utcSeconds) const;

    // When a change falls on a date: day n of the year without 29 February (Jn), day n from 0
    // (n), or weekday d of week w of month m, week 5 being the last (Mm.w.d).
    struct ChangeDate {
        enum class Form : uint8_t { julian, zeroBased, monthWeekDay };
        Form form;
        int16_t day;   // Jn: 1..365; n: 0..365; Mm.w.d: the weekday, 0 (Sunday)..6
        int8_t month;   // 1..12
        int8_t week;   // 1..5
        int32_t seconds;   // after local midnight, -167 to 167 hours
    };
    struct Change {
        int64_t utcSeconds;
        int32_t offsetSeconds;
    };

private:
    int32_t standard_ = 0;
    int32_t daylight_ = 0;
    bool observesDaylight_ = false;
    ChangeDate start_{};   // in local standard time
    ChangeDate end_{};   // in local daylight time
    std::vector<Change> changes_;
};

// The rules of the shipped cities, each keyed by its name and standard offset.
class CityRules {
public:
    CityRules() = default;   // no rules: every entry keeps its fixed offset
    // Any fault anywhere (cut short, misspelt, out of range, a rule that does not parse) gives no
    // rules at all: the cities then keep their fixed offsets. Never throws.
    static CityRules Parse(std::string_view text);
    size_t Size() const { return cities_.size(); }
    // The rule of the shipped city that a list entry names ("Sydney 10.00": the name before the
    // last blank-separated run, compared ignoring ASCII case) when the entry's offset equals that
    // city's standard offset; nullptr otherwise.
    const TimeRule* Match(std::string_view entry) const;

private:
    struct City {
        std::string name;
        int32_t standardMinutes;
        TimeRule rule;
    };
    std::vector<City> cities_;
};

// The entry's offset in whole minutes at utcSeconds: its rule's where rule is not null, else
// ParseOffsetMinutes(entry).
int32_t OffsetMinutesAt(const TimeRule* rule, std::string_view entry, int64_t utcSeconds);
