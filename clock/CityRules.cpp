// The shipped cities' rules: a POSIX TZ string each, with the tz extensions, and the changes it
// does not give. Reading is strict: a rule read wrongly would show a wrong time with confidence,
// so anything unexpected gives no rules and the cities keep their fixed offsets.
#include "clock/CityRules.h"

#include "clock/WorldClock.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace {

using ChangeDate = TimeRule::ChangeDate;

constexpr std::string_view kMagic = "pavix city rules 1";
constexpr std::string_view kEnd = "end";
constexpr int64_t kBound = int64_t{1} << 55;   // about a billion years: no overflow in a day count
constexpr int32_t kMaxOffset = 24 * 3600 + 59 * 60 + 59;   // POSIX: hours 0 to 24
constexpr int64_t kDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// Days from 1970-01-01 to the first of January of a year of the proleptic Gregorian calendar:
// 365 a year, and a day for each leap year between (477 of them before 1970).
int64_t NewYearsDay(int64_t year)
{
    const int64_t before = year - 1;
    return 365 * (year - 1970) + FloorDiv(before, 4) - FloorDiv(before, 100) + FloorDiv(before, 400) - 477;
}

// The year of a day counted from 1970-01-01. 400 years make 146097 days, so the estimate is at
// most one year off.
int64_t YearOfDay(int64_t days)
{
    const int64_t year = 1970 + FloorDiv(days * 400, 146097);
    if (NewYearsDay(year) > days)
        return year - 1;
    return NewYearsDay(year + 1) <= days ? year + 1 : year;
}

bool IsLeap(int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days before each month in a year that is not a leap year, and in all.
constexpr int16_t kMonthStarts[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// The UTC instant at which a change falls in the year that starts on newYear (a day count), its
// time being local time before it.
int64_t ChangeAt(int64_t newYear, bool leap, const ChangeDate& date, int32_t offsetBefore)
{
    int64_t days = newYear + date.day;
    if (date.form == ChangeDate::Form::julian)   // 29 February is never counted
        days += (leap && date.day >= 60 ? 1 : 0) - 1;
    if (date.form == ChangeDate::Form::monthWeekDay) {
        const int64_t first = newYear + kMonthStarts[date.month - 1] + (leap && date.month > 2 ? 1 : 0);
        const int64_t length =
            kMonthStarts[date.month] - kMonthStarts[date.month - 1] + (leap && date.month == 2 ? 1 : 0);
        const int64_t weekday = (first + 4) - FloorDiv(first + 4, 7) * 7;   // 1970-01-01 was a Thursday
        days = first + (date.day - weekday + 7) % 7 + 7 * (date.week - 1);
        if (days >= first + length)   // week 5: the last such weekday
            days -= 7;
    }
    return days * kDay + date.seconds - offsetBefore;
}

// The standard offset as wtcmain.pvx writes it: [-]h.hh or [-]hh.hh.
bool IsOffsetText(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const size_t point = text.find('.');
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return (point == 1 || point == 2) && text.size() == point + 3 && digits(text.substr(0, point)) &&
        digits(text.substr(point + 1));
}

// Reads a text from the front; each step takes what it reads or fails.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool Done() const { return text_.empty(); }
    char Peek() const { return text_.empty() ? '\0' : text_.front(); }
    bool Take(char c)
    {
        if (Peek() != c || text_.empty())
            return false;
        text_.remove_prefix(1);
        return true;
    }
    // Decimal digits, at least one, of a value at most max (which is at most INT64_MAX / 10).
    std::optional<int64_t> Number(int64_t max)
    {
        if (!IsDigit(Peek()))
            return std::nullopt;
        int64_t value = 0;
        while (IsDigit(Peek())) {
            value = value * 10 + (Peek() - '0');
            if (value > max)
                return std::nullopt;
            text_.remove_prefix(1);
        }
        return value;
    }
    // A zone abbreviation: three or more letters, or <...> of three or more letters, digits and signs.
    bool Name()
    {
        const bool quoted = Take('<');
        size_t length = 0;
        while (length < text_.size() &&
               (IsLetter(text_[length]) ||
                (quoted && (IsDigit(text_[length]) || text_[length] == '+' || text_[length] == '-'))))
            ++length;
        text_.remove_prefix(length);
        return length >= 3 && (!quoted || Take('>'));
    }
    // [+-]hh[:mm[:ss]] in seconds, hh up to maxHours.
    std::optional<int32_t> Time(int64_t maxHours)
    {
        const bool negative = Take('-');
        if (!negative)
            Take('+');
        const std::optional<int64_t> hours = Number(maxHours);
        if (!hours)
            return std::nullopt;
        int64_t seconds = *hours * 3600;
        for (const int64_t scale : {60, 1}) {
            if (!Take(':'))
                break;
            const std::optional<int64_t> part = Number(59);
            if (!part)
                return std::nullopt;
            seconds += *part * scale;
        }
        return static_cast<int32_t>(negative ? -seconds : seconds);
    }
    // A whole number with an optional minus, at most max either way.
    std::optional<int64_t> Signed(int64_t max)
    {
        const bool negative = Take('-');
        const std::optional<int64_t> value = Number(max);
        if (!value)
            return std::nullopt;
        return negative ? -*value : *value;
    }
    // Jn, n or Mm.w.d, then an optional /time.
    std::optional<ChangeDate> Date()
    {
        ChangeDate date{};
        date.seconds = 2 * 3600;   // unless given
        std::optional<int64_t> day;
        if (Take('J')) {
            date.form = ChangeDate::Form::julian;
            day = Number(365);
            if (day == 0)
                return std::nullopt;
        } else if (Take('M')) {
            date.form = ChangeDate::Form::monthWeekDay;
            const std::optional<int64_t> month = Number(12);
            const std::optional<int64_t> week = month > 0 && Take('.') ? Number(5) : std::nullopt;
            day = week > 0 && Take('.') ? Number(6) : std::nullopt;
            if (!day)
                return std::nullopt;
            date.month = static_cast<int8_t>(*month);
            date.week = static_cast<int8_t>(*week);
        } else {
            date.form = ChangeDate::Form::zeroBased;
            day = Number(365);
        }
        if (!day)
            return std::nullopt;
        date.day = static_cast<int16_t>(*day);
        if (Take('/')) {
            const std::optional<int32_t> time = Time(167);
            if (!time)
                return std::nullopt;
            date.seconds = *time;
        }
        return date;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    std::string_view text_;
};

}   // namespace

std::optional<TimeRule> TimeRule::Parse(std::string_view tz, std::string_view changes)
{
    TimeRule rule;
    Reader reader(tz);
    if (!reader.Name())
        return std::nullopt;
    // POSIX counts west of GMT as positive.
    const std::optional<int32_t> standard = reader.Time(24);
    if (!standard)
        return std::nullopt;
    rule.standard_ = -*standard;
    if (!reader.Done()) {
        if (!reader.Name())
            return std::nullopt;
        rule.daylight_ = rule.standard_ + 3600;
        if (reader.Peek() != ',') {
            const std::optional<int32_t> daylight = reader.Time(24);
            if (!daylight)
                return std::nullopt;
            rule.daylight_ = -*daylight;
        }
        // A daylight name without dates would leave the dates to a guess.
        const std::optional<ChangeDate> start = reader.Take(',') ? reader.Date() : std::nullopt;
        const std::optional<ChangeDate> end = start && reader.Take(',') ? reader.Date() : std::nullopt;
        if (!end || !reader.Done())
            return std::nullopt;
        rule.observesDaylight_ = true;
        rule.start_ = *start;
        rule.end_ = *end;
    }

    Reader list(changes);
    while (!list.Done()) {
        if (!rule.changes_.empty() && !list.Take(' '))
            return std::nullopt;
        const std::optional<int64_t> instant = list.Signed(kBound);
        const std::optional<int64_t> offset =
            instant && list.Take('=') ? list.Signed(kMaxOffset) : std::nullopt;
        if (!offset || (!rule.changes_.empty() && *instant <= rule.changes_.back().utcSeconds))
            return std::nullopt;
        rule.changes_.push_back({*instant, static_cast<int32_t>(*offset)});
    }
    return rule;
}

int32_t TimeRule::OffsetSecondsAt(int64_t utcSeconds) const
{
    const int64_t t = std::clamp(utcSeconds, -kBound, kBound);
    if (!changes_.empty() && t >= changes_.front().utcSeconds && t < changes_.back().utcSeconds) {
        const auto after =
            std::upper_bound(changes_.begin(), changes_.end(), t,
                             [](int64_t at, const Change& change) { return at < change.utcSeconds; });
        return std::prev(after)->offsetSeconds;
    }
    if (!observesDaylight_)
        return standard_;
    // The latest change at or before the instant. Change times of up to 167 hours move a year's
    // changes a week into the next year, so both of the year before may still lie ahead: the
    // year before that decides. Of two changes at one instant the later in the rule counts, so
    // that daylight saving all year ("J1/0,J365/25") stays on.
    const int64_t year = YearOfDay(FloorDiv(t, kDay));
    int64_t latest = INT64_MIN;
    bool daylight = false;
    int64_t newYear = NewYearsDay(year - 2);
    for (int64_t y = year - 2; y <= year + 1; ++y) {
        const bool leap = IsLeap(y);
        const int64_t start = ChangeAt(newYear, leap, start_, standard_);
        if (start <= t && start >= latest) {
            latest = start;
            daylight = true;
        }
        const int64_t end = ChangeAt(newYear, leap, end_, daylight_);
        if (end <= t && end >= latest) {
            latest = end;
            daylight = false;
        }
        newYear += leap ? 366 : 365;
    }
    return daylight ? daylight_ : standard_;
}

CityRules CityRules::Parse(std::string_view text)
{
    CityRules rules;
    // One line, less its line end (LF, or CR LF); the text up to its end when it has none.
    const auto line = [&text]() {
        std::string_view taken = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(taken.size() + 1, text.size()));
        if (!taken.empty() && taken.back() == '\r')
            taken.remove_suffix(1);
        return taken;
    };
    if (line() != kMagic)
        return {};
    for (std::string_view current = line(); current != kEnd; current = line()) {
        // An empty line, or the text cut short: it ended before its last line.
        if (current.empty())
            return {};
        std::string_view fields[4];
        size_t count = 0;
        for (; count < 4 && !current.empty(); ++count) {
            fields[count] = current.substr(0, current.find('\t'));
            current.remove_prefix(std::min(fields[count].size() + 1, current.size()));
        }
        std::optional<TimeRule> rule =
            count >= 3 && current.empty() ? TimeRule::Parse(fields[2], fields[3]) : std::nullopt;
        if (!rule || fields[0].empty() || !IsOffsetText(fields[1]))
            return {};
        rules.cities_.push_back({std::string(fields[0]), ParseOffsetMinutes(fields[1]), std::move(*rule)});
    }
    if (!text.empty())
        return {};
    return rules;
}

const TimeRule* CityRules::Match(std::string_view entry) const
{
    std::string_view name = entry.substr(0, entry.find_last_not_of(' ') + 1);   // npos + 1 is 0
    const size_t blank = name.find_last_of(' ');
    if (blank == std::string_view::npos)
        return nullptr;
    name = name.substr(0, name.find_last_not_of(' ', blank) + 1);
    const int32_t minutes = ParseOffsetMinutes(entry);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const City& city : cities_) {
        if (city.standardMinutes == minutes && city.name.size() == name.size() &&
            std::equal(name.begin(), name.end(), city.name.begin(),
                       [&lower](char a, char b) { return lower(a) == lower(b); }))
            return &city.rule;
    }
    return nullptr;
}

int32_t OffsetMinutesAt(const TimeRule* rule, std::string_view entry, int64_t utcSeconds)
{
    return rule ? rule->OffsetSecondsAt(utcSeconds) / 60 : ParseOffsetMinutes(entry);
}
