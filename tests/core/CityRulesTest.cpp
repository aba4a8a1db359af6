// The cities' rules: each kind of TZ string at and around its changes, the changes listed one by
// one, which list entries a rule applies to, and damaged rule text. The expected offsets are the C
// library's for the same TZ string. TzComparisonTest holds every shipped rule against zoneinfo.
#include "clock/CityRules.h"
#include "clock/WorldClock.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* tz;
    int64_t utc;
    int32_t offset;   // seconds east of GMT
};

template <size_t N> void ExpectOffsets(const Row (&rows)[N], std::string_view changes = {})
{
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.tz) + " at " + std::to_string(row.utc));
        const std::optional<TimeRule> rule = TimeRule::Parse(row.tz, changes);
        ASSERT_TRUE(rule.has_value());
        EXPECT_EQ(rule->OffsetSecondsAt(row.utc), row.offset);
    }
}

TEST(TimeRule, AFixedOffsetHoldsAtEveryInstant)
{
    const Row rows[] = {
        {.tz = "<+0545>-5:45", .utc = 0, .offset = 20700},
        {.tz = "HST10", .utc = INT64_MAX, .offset = -36000},
        {.tz = "<-00>0", .utc = INT64_MIN, .offset = 0},
    };
    ExpectOffsets(rows);
}

// New York at 2026-03-08 07:00:00 UTC goes from 01:59:59 EST to 03:00:00 EDT.
TEST(TimeRule, TheNorthSavesFromSpringToAutumn)
{
    const Row rows[] = {
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1772953199, .offset = -18000},
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1772953200, .offset = -14400},
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1793512799, .offset = -14400},
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1793512800, .offset = -18000},
    };
    ExpectOffsets(rows);
}

TEST(TimeRule, TheSouthSavesAcrossTheNewYear)
{
    const Row rows[] = {
        {.tz = "AEST-10AEDT,M10.1.0,M4.1.0/3", .utc = 1775318399, .offset = 39600},
        {.tz = "AEST-10AEDT,M10.1.0,M4.1.0/3", .utc = 1775318400, .offset = 36000},
        {.tz = "AEST-10AEDT,M10.1.0,M4.1.0/3", .utc = 1791043199, .offset = 36000},
        {.tz = "AEST-10AEDT,M10.1.0,M4.1.0/3", .utc = 1791043200, .offset = 39600},
        {.tz = "AEST-10AEDT,M10.1.0,M4.1.0/3", .utc = 1798761600, .offset = 39600},   // 2027-01-01
    };
    ExpectOffsets(rows);
}

// Lord Howe saves half an hour; Dublin's standard time is summer's, winter being "daylight".
TEST(TimeRule, DaylightMayDifferByHalfAnHourOrGoBack)
{
    const Row rows[] = {
        {.tz = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", .utc = 1775314799, .offset = 39600},
        {.tz = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", .utc = 1775314800, .offset = 37800},
        {.tz = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", .utc = 1791041399, .offset = 37800},
        {.tz = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", .utc = 1791041400, .offset = 39600},
        {.tz = "IST-1GMT0,M10.5.0,M3.5.0/1", .utc = 1774745999, .offset = 0},
        {.tz = "IST-1GMT0,M10.5.0,M3.5.0/1", .utc = 1774746000, .offset = 3600},
        {.tz = "IST-1GMT0,M10.5.0,M3.5.0/1", .utc = 1792889999, .offset = 3600},
        {.tz = "IST-1GMT0,M10.5.0,M3.5.0/1", .utc = 1792890000, .offset = 0},
    };
    ExpectOffsets(rows);
}

// Nuuk at -1 hours, Santiago at 24, Jerusalem at 26, Gaza at 50, and the bounds of -167 and 167.
TEST(TimeRule, AChangeMayFallOutsideItsDay)
{
    const Row rows[] = {
        {.tz = "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", .utc = 1774745999, .offset = -7200},
        {.tz = "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", .utc = 1774746000, .offset = -3600},
        {.tz = "<-04>4<-03>,M9.1.6/24,M4.1.6/24", .utc = 1788667199, .offset = -14400},
        {.tz = "<-04>4<-03>,M9.1.6/24,M4.1.6/24", .utc = 1788667200, .offset = -10800},
        {.tz = "IST-2IDT,M3.4.4/26,M10.5.0", .utc = 1774569599, .offset = 7200},
        {.tz = "IST-2IDT,M3.4.4/26,M10.5.0", .utc = 1774569600, .offset = 10800},
        {.tz = "EET-2EEST,M3.4.4/50,M10.4.4/50", .utc = 1774655999, .offset = 7200},
        {.tz = "EET-2EEST,M3.4.4/50,M10.4.4/50", .utc = 1774656000, .offset = 10800},
        {.tz = "<AAA>0<BBB>-1,M2.5.0/-167,M8.5.6/167", .utc = 1834621199, .offset = 0},
        {.tz = "<AAA>0<BBB>-1,M2.5.0/-167,M8.5.6/167", .utc = 1834621200, .offset = 3600},
        {.tz = "<AAA>0<BBB>-1,M2.5.0/-167,M8.5.6/167", .utc = 1851458399, .offset = 3600},
        {.tz = "<AAA>0<BBB>-1,M2.5.0/-167,M8.5.6/167", .utc = 1851458400, .offset = 0},
    };
    ExpectOffsets(rows);
}

// Jn never counts 29 February, n does (from 0); daylight from the first instant of one year to
// the first of the next is daylight all year.
TEST(TimeRule, ADateMayBeADayOfTheYear)
{
    const Row rows[] = {
        {.tz = "<AAA>0<BBB>-1,J60,J300", .utc = 1835488799, .offset = 0},   // 2028-03-01 01:59:59
        {.tz = "<AAA>0<BBB>-1,J60,J300", .utc = 1835488800, .offset = 3600},
        {.tz = "<AAA>0<BBB>-1,59,300", .utc = 1835402399, .offset = 0},   // 2028-02-29 01:59:59
        {.tz = "<AAA>0<BBB>-1,59,300", .utc = 1835402400, .offset = 3600},
        {.tz = "<AAA>0<BBB>-1,59,300", .utc = 1803866399, .offset = 0},   // 2027-03-01 01:59:59
        {.tz = "<AAA>0<BBB>-1,59,300", .utc = 1803866400, .offset = 3600},
        {.tz = "EST5EDT4,0/0,J365/25", .utc = 1798761599, .offset = -14400},
        {.tz = "EST5EDT4,0/0,J365/25", .utc = 1811826000, .offset = -14400},
    };
    ExpectOffsets(rows);
}

// Casablanca's Ramadan in 2026, and a rule with daylight saving that takes over after a list.
TEST(TimeRule, ListedChangesComeBeforeTheRule)
{
    const Row fixed[] = {
        {.tz = "<+01>-1", .utc = 1767225599, .offset = 3600},
        {.tz = "<+01>-1", .utc = 1771120799, .offset = 3600},
        {.tz = "<+01>-1", .utc = 1771120800, .offset = 0},
        {.tz = "<+01>-1", .utc = 1774144799, .offset = 0},
        {.tz = "<+01>-1", .utc = 1774144800, .offset = 3600},
    };
    ExpectOffsets(fixed, "1767225600=3600 1771120800=0 1774144800=3600");
    const Row seasonal[] = {
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1767225600, .offset = 0},
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1772953199, .offset = -18000},
        {.tz = "EST5EDT,M3.2.0,M11.1.0", .utc = 1772953200, .offset = -14400},
    };
    ExpectOffsets(seasonal, "1767225600=0 1772000000=-18000");
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
        {.tz = "EST5:60", .changes = ""},
        {.tz = "EST5 ", .changes = ""},
        {.tz = "EST5EDT", .changes = ""},   // no dates
        {.tz = "EST5EDT,M3.2.0", .changes = ""},
        {.tz = "EST5EDT,M13.2.0,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M3.6.0,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M3.2.7,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,J0,J365", .changes = ""},
        {.tz = "EST5EDT,J1,366", .changes = ""},
        {.tz = "EST5EDT,M3.2.0/168,M11.1.0", .changes = ""},
        {.tz = "EST5EDT,M3.2.0,M11.1.0/-168", .changes = ""},
        {.tz = "EST5", .changes = "20=0 10=3600"},
        {.tz = "EST5", .changes = "10=0  20=0"},
        {.tz = "EST5", .changes = "10=90000"},
        {.tz = "EST5", .changes = "10=0 20"},
        {.tz = "EST5", .changes = "99999999999999999999=0"},
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
    EXPECT_EQ(CityRules::Parse(text.substr(0, text.size() - 1)).Size(), 3u);
}

// The destination moved by the difference of the two offsets at the instant: New York to Tokyo
// in July, Sydney to Lord Howe in January.
TEST(CityRules, TheClockShowsTheDestinationsTimeAtTheInstant)
{
    const CityRules rules = CityRules::Parse(kRules);
    const struct {
        LocalReading local;
        int64_t utc;
        std::string_view yourCity;
        std::string_view destination;
        std::string time;
    } rows[] = {
        {.local = {2026, 7, 15, 8, 0, 0},
         .utc = 1784116800,
         .yourCity = "New York -5.00",
         .destination = "Tokyo 9.00",
         .time = "21:00:00 PM"},
        {.local = {2026, 1, 15, 12, 0, 0},
         .utc = 1768438800,
         .yourCity = "Sydney 10.00",
         .destination = "Lord Howe 10.50",
         .time = "12:00:00 PM"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.yourCity) + " to " + std::string(row.destination));
        const int32_t difference = OffsetMinutesAt(rules.Match(row.yourCity), row.yourCity, row.utc) -
            OffsetMinutesAt(rules.Match(row.destination), row.destination, row.utc);
        EXPECT_EQ(BuildClockTexts(row.local, row.yourCity, row.destination, difference).destinationTime,
                  row.time);
    }
}

}   // namespace
