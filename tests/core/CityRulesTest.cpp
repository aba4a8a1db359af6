// The cities' rules: each kind of TZ string at and around its changes, the changes listed one by
// one, which list entries a rule applies to, and damaged rule text. The expected offsets are the
// C library's for the same TZ string (zoneinfo's before 1970, where the C library reads none).
// TzComparisonTest holds every shipped rule against zoneinfo.
#include "clock/CityRules.h"
#include "clock/WorldClock.h"

#include <gtest/gtest.h>

namespace {

// The rules of current tz data, and one with changes a week off their day.
constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* kSydney = "AEST-10AEDT,M10.1.0,M4.1.0/3";
constexpr const char* kLordHowe = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0";
constexpr const char* kDublin = "IST-1GMT0,M10.5.0,M3.5.0/1";
constexpr const char* kNuuk = "<-02>2<-01>,M3.5.0/-1,M10.5.0/0";
constexpr const char* kSantiago = "<-04>4<-03>,M9.1.6/24,M4.1.6/24";
constexpr const char* kJerusalem = "IST-2IDT,M3.4.4/26,M10.5.0";
constexpr const char* kGaza = "EET-2EEST,M3.4.4/50,M10.4.4/50";
constexpr const char* kAWeekOff = "<AAA>0<BBB>-1,M2.5.0/-167,M8.5.6/167";
constexpr const char* kIntoJanuary = "<AAA>0<BBB>-1,M12.5.0/167,M12.5.0/100";
constexpr const char* kIntoDecember = "<AAA>0<BBB>-1,M1.1.0/-167,M7.1.0";

// A rule's offsets one second before an instant and at it: a change when they differ.
struct Row {
    const char* tz;
    int64_t at;   // UTC seconds
    int32_t before;   // seconds east of GMT
    int32_t after;
};

template <size_t N> void ExpectOffsets(const Row (&rows)[N], std::string_view changes = {})
{
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.tz) + " at " + std::to_string(row.at));
        const std::optional<TimeRule> rule = TimeRule::Parse(row.tz, changes);
        ASSERT_TRUE(rule.has_value());
        EXPECT_EQ(rule->OffsetSecondsAt(row.at - 1), row.before);
        EXPECT_EQ(rule->OffsetSecondsAt(row.at), row.after);
    }
}

// New York at 2026-03-08 07:00:00 UTC goes from 01:59:59 EST to 03:00:00 EDT.
TEST(TimeRule, TheNorthSavesFromSpringToAutumn)
{
    const Row rows[] = {
        {.tz = kNewYork, .at = 1772953200, .before = -18000, .after = -14400},
        {.tz = kNewYork, .at = 1793512800, .before = -14400, .after = -18000},
        {.tz = kNewYork, .at = -309373200, .before = -18000, .after = -14400},   // 1960
        // 2004, with 2000's leap day before it.
        {.tz = kNewYork, .at = 1079247600, .before = -18000, .after = -14400},
        {.tz = kNewYork, .at = 4108690800, .before = -18000, .after = -14400},   // 2100, no leap year
        {.tz = "baz5bar,M3.2.0,M11.1.0", .at = 1772953200, .before = -18000, .after = -14400},
        // The last Wednesday of February 2028, not 1 March.
        {.tz = "<AAA>0<BBB>-1,M2.5.3/0,M10.1.0", .at = 1834876800, .before = 0, .after = 3600},
        {.tz = "EST+5:00:00EDT+4,M3.2.0/+1:59:59,M11.1.0",
         .at = 1772953199,
         .before = -18000,
         .after = -14400},
    };
    ExpectOffsets(rows);
}

TEST(TimeRule, TheSouthSavesAcrossTheNewYear)
{
    const Row rows[] = {
        {.tz = kSydney, .at = 1775318400, .before = 39600, .after = 36000},
        {.tz = kSydney, .at = 1791043200, .before = 36000, .after = 39600},
        {.tz = kSydney, .at = 1798761600, .before = 39600, .after = 39600},   // 2027
    };
    ExpectOffsets(rows);
}

// Lord Howe saves half an hour; Dublin's standard time is summer's, winter being "daylight".
TEST(TimeRule, DaylightMayDifferByHalfAnHourOrGoBack)
{
    const Row rows[] = {
        {.tz = kLordHowe, .at = 1775314800, .before = 39600, .after = 37800},
        {.tz = kLordHowe, .at = 1791041400, .before = 37800, .after = 39600},
        {.tz = kDublin, .at = 1774746000, .before = 0, .after = 3600},
        {.tz = kDublin, .at = 1792890000, .before = 3600, .after = 0},
    };
    ExpectOffsets(rows);
}

// Nuuk at -1 hours, Santiago at 24, Jerusalem at 26, Gaza at 50, and the bounds of -167 and 167:
// December's changes may fall in January, where the year before last's then holds, and January's
// in December.
TEST(TimeRule, AChangeMayFallOutsideItsDay)
{
    const Row rows[] = {
        {.tz = kNuuk, .at = 1774746000, .before = -7200, .after = -3600},
        {.tz = kSantiago, .at = 1788667200, .before = -14400, .after = -10800},
        {.tz = kJerusalem, .at = 1774569600, .before = 7200, .after = 10800},
        {.tz = kGaza, .at = 1774656000, .before = 7200, .after = 10800},
        {.tz = kAWeekOff, .at = 1834621200, .before = 0, .after = 3600},
        {.tz = kAWeekOff, .at = 1851458400, .before = 3600, .after = 0},
        {.tz = kAWeekOff, .at = 1961024400, .before = 0, .after = 3600},   // from 29 February 2032
        {.tz = kIntoJanuary, .at = 1767236400, .before = 3600, .after = 0},   // 2026-01-01 03:00
        {.tz = kIntoJanuary, .at = -347144400, .before = 3600, .after = 0},   // 1959-01-01 03:00
        {.tz = kIntoDecember, .at = 1798333200, .before = 0, .after = 3600},   // 2026-12-27 01:00
    };
    ExpectOffsets(rows);
}

// Jn never counts 29 February, n does (from 0); daylight from the first instant of one year to
// the first of the next is daylight all year.
TEST(TimeRule, ADateMayBeADayOfTheYear)
{
    const Row rows[] = {
        {.tz = "<AAA>0<BBB>-1,J60,J300", .at = 1835488800, .before = 0, .after = 3600},   // 2028-03-01
        {.tz = "<AAA>0<BBB>-1,J60,J300", .at = 13574656800, .before = 0, .after = 3600},   // 2400-03-01
        {.tz = "<AAA>0<BBB>-1,J60,J300", .at = 4423082400, .before = 0, .after = 3600},   // 2110-03-01
        {.tz = "<AAA>0<BBB>-1,59,300", .at = 1835402400, .before = 0, .after = 3600},   // 2028-02-29
        {.tz = "<AAA>0<BBB>-1,59,300", .at = 1803866400, .before = 0, .after = 3600},   // 2027-03-01
        {.tz = "EST5EDT4,0/0,J365/25", .at = 1798761600, .before = -14400, .after = -14400},
    };
    ExpectOffsets(rows);
}

// Casablanca's Ramadan in 2026, and a rule with daylight saving that takes over after a list.
TEST(TimeRule, ListedChangesComeBeforeTheRule)
{
    const Row fixed[] = {
        {.tz = "<+01>-1", .at = 1767225600, .before = 3600, .after = 3600},
        {.tz = "<+01>-1", .at = INT64_MAX, .before = 3600, .after = 3600},
        {.tz = "<+01>-1", .at = 1771120800, .before = 3600, .after = 0},
        {.tz = "<+01>-1", .at = 1774144800, .before = 0, .after = 3600},
    };
    ExpectOffsets(fixed, "1767225600=3600 1771120800=0 1774144800=3600");
    const Row seasonal[] = {
        {.tz = kNewYork, .at = 1767225600, .before = -18000, .after = 0},
        {.tz = kNewYork, .at = 1772953200, .before = -18000, .after = -14400},
    };
    ExpectOffsets(seasonal, "1767225600=0 1772000000=-18000");
    const Row atTheBounds[] = {
        {.tz = "<+01>-1", .at = 0, .before = 3600, .after = 89999},
        {.tz = "<+01>-1", .at = 1, .before = 89999, .after = -89999},
    };
    ExpectOffsets(atTheBounds, "0=89999 1=-89999 2=3600");
}

TEST(TimeRule, ATextThatIsNotARuleGivesNone)
{
    const struct {
        const char* tz;
        const char* changes;
    } rows[] = {
        {.tz = "", .changes = ""},
        {.tz = "ES5", .changes = ""},
        {.tz = "<+03-3", .changes = ""},
        {.tz = "EST25", .changes = ""},
        {.tz = "EST5 ", .changes = ""},
        {.tz = "EST5EDT", .changes = ""},   // no dates
        {.tz = "EST5EDT25,M3.2.0,M11.1.0", .changes = ""},
        {.tz = "EST5:60", .changes = ""},
        {.tz = "EST5EDT,M3.2.0,M11.1.0x", .changes = ""},
        {.tz = "EST5EDT,M0.2.0,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M13.2.0,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M3.6.0,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M3.2.7,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,J0,J365", .changes = ""},
        {.tz = "EST5EDT,J1,366", .changes = ""},
        {.tz = "EST5EDT,M3.2.0/168,M11.1.0", .changes = ""},
        {.tz = "EST5", .changes = "20=0 10=3600"},
        {.tz = "EST5", .changes = "10=0 10=3600"},
        {.tz = "EST5", .changes = "10=90000"},
        {.tz = "EST5", .changes = "99999999999999999999=0"},
        {.tz = "EST5", .changes = "36028797018963969=0"},   // beyond a billion years
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.tz) + " | " + row.changes);
        EXPECT_FALSE(TimeRule::Parse(row.tz, row.changes).has_value());
    }
}

constexpr std::string_view kRules = "pavix city rules 1\n"
                                    "Lord Howe\t10.50\t<+1030>-10:30<+11>-11,M10.1.0,M4.1.0\n"
                                    "New York\t-5.00\tEST5EDT,M3.2.0,M11.1.0\n"
                                    "Sydney\t10.00\tAEST-10AEDT,M10.1.0,M4.1.0/3\n"
                                    "Zeehan\t10.00\tAEST-10AEDT,M10.1.0,M4.1.0/3\n"
                                    "end\n";
constexpr int64_t kJanuary2026 = 1768478400;

// A rule applies to an entry that names its city in any case, with its standard offset; any
// other entry keeps the offset it shows.
TEST(CityRules, AnEntryFollowsTheRuleOfTheCityItNames)
{
    const CityRules rules = CityRules::Parse(kRules);
    const struct {
        const char* entry;
        int32_t minutes;
    } rows[] = {
        {.entry = "Sydney 10.00", .minutes = 660},   // daylight saving in January
        {.entry = "sYDNEY   10.0  ", .minutes = 660},   // any case, the same offset written otherwise
        {.entry = "zEEHAN 10.00", .minutes = 660},   // Z is a letter too
        {.entry = "Lord Howe 10.50", .minutes = 660},   // half an hour
        {.entry = "Sydney 9.00", .minutes = 540},   // another offset: the user's own
        {.entry = "New Sydney 10.00", .minutes = 600},   // another name
        {.entry = "Udaipur 5.50", .minutes = 330},   // no rule
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(OffsetMinutesAt(rules.Match(row.entry), row.entry, kJanuary2026), row.minutes);
    }
}

// Damage anywhere means no rules at all: every city keeps its fixed offset.
TEST(CityRules, DamagedRulesGiveNone)
{
    const std::string text(kRules);
    for (size_t size = 0; size + 1 < text.size(); ++size) {
        SCOPED_TRACE(text.substr(0, size));
        EXPECT_EQ(CityRules::Parse(text.substr(0, size)).Size(), 0u);
    }
    const std::string damaged[] = {
        "pavix city rules 2\nend\n",
        "pavix city rules 1\nSydney\t10.00\tAEST-10AEDT,M10.1.0,M4.1.O/3\nend\n",
        "pavix city rules 1\nSydney\t10.0\tAEST-10AEDT,M10.1.0,M4.1.0/3\nend\n",
        "pavix city rules 1\nSydney\t10.00\nend\n",
        "pavix city rules 1\n\t10.00\tEST5\nend\n",
        "pavix city rules 1\nSydney\t10.00\tEST5\t1=0\tx\nend\n",
        "pavix city rules 1\nSydney\t10.00\tAEST-10AEDT,M13.1.0,M4.1.0/3\nend\n",
        text + "Sydney\t10.00\tEST5\n",
    };
    for (const std::string& rules : damaged) {
        SCOPED_TRACE(rules);
        EXPECT_EQ(CityRules::Parse(rules).Size(), 0u);
    }
    EXPECT_EQ(CityRules::Parse(text.substr(0, text.size() - 1)).Size(), 4u);
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    EXPECT_EQ(CityRules::Parse(crlf).Size(), 4u);
}

// The destination moved by the difference of the two offsets at the instant: New York to Tokyo
// in July, Sydney to Lord Howe in January.
TEST(CityRules, TheClockShowsTheDestinationsTimeAtTheInstant)
{
    const CityRules rules = CityRules::Parse(kRules);
    const auto texts = [&rules](const LocalReading& local, int64_t utc, std::string_view yourCity,
                                std::string_view destination) {
        return BuildClockTexts(local, yourCity, destination,
                               OffsetMinutesAt(rules.Match(yourCity), yourCity, utc) -
                                   OffsetMinutesAt(rules.Match(destination), destination, utc));
    };
    EXPECT_EQ(texts({2026, 7, 15, 8, 0, 0}, 1784116800, "New York -5.00", "Tokyo 9.00").destinationTime,
              "21:00:00 PM");
    EXPECT_EQ(texts({2026, 1, 15, 12, 0, 0}, 1768438800, "Sydney 10.00", "Lord Howe 10.50").destinationTime,
              "12:00:00 PM");
}

}   // namespace
