// The world clock: worked examples and edge cases, offsets from any text,
// and the Gregorian arithmetic against an independent day-by-day oracle.
#include "clock/WorldClock.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <random>
#include <string>
#include <vector>

namespace {

struct ClockCase {
    const char* what;
    LocalReading local;
    const char* yourCity;
    const char* destination;
    const char* localTime;     // 1001
    const char* localDate;     // 1010
    const char* destDate;      // 1009
    const char* destTime;      // 1003
};

TEST(WorldClock, WorkedExamplesAndEdgeCases)
{
    const std::vector<ClockCase> cases = {
        // Worked examples: Udaipur, Boston and Honolulu at known moments.
        {"example 1", {2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Boston -5.00", "21:45:30 PM", "Dec 06", "Dec 06", "11:15:30 AM"},
        {"example 2", {2000, 12, 6, 8, 10, 5}, "Udaipur 5.50", "Boston -5.00", "08:10:05 AM", "Dec 06", "Dec 05", "21:40:05 PM"},
        {"example 3", {2000, 12, 6, 22, 40, 0}, "Udaipur 5.50", "Boston -5.00", "22:40:00 PM", "Dec 06", "Dec 06", "12:10:00 PM"},
        {"example 4", {2000, 12, 31, 20, 0, 0}, "Boston -5.00", "Udaipur 5.50", "20:00:00 PM", "Dec 31", "Jan 01", "06:30:00 AM"},
        {"example 5", {2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Honolulu -10.00", "21:45:30 PM", "Dec 06", "Dec 06", "06:15:30 AM"},
        // Edge cases.
        {"same city: no difference, noon is PM", {2000, 12, 6, 12, 0, 0}, "Udaipur 5.50", "Udaipur 5.50", "12:00:00 PM", "Dec 06", "Dec 06", "12:00:00 PM"},
        {"midnight is AM", {2000, 12, 6, 0, 0, 0}, "Udaipur 5.50", "Udaipur 5.50", "00:00:00 AM", "Dec 06", "Dec 06", "00:00:00 AM"},
        {"11 is AM, 12 PM", {2000, 12, 6, 11, 59, 59}, "Boston -5.00", "Boston -4.00", "11:59:59 AM", "Dec 06", "Dec 06", "12:59:59 PM"},
        {"destination hour 00", {2000, 12, 6, 10, 30, 0}, "Udaipur 5.50", "Boston -5.00", "10:30:00 AM", "Dec 06", "Dec 06", "00:00:00 AM"},
        {"destination 23:59", {2000, 12, 6, 10, 29, 7}, "Udaipur 5.50", "Boston -5.00", "10:29:07 AM", "Dec 06", "Dec 05", "23:59:07 PM"},
        {"back from the first of a month", {2000, 12, 1, 8, 0, 0}, "Udaipur 5.50", "Boston -5.00", "08:00:00 AM", "Dec 01", "Nov 30", "21:30:00 PM"},
        {"back from the first of the year", {2001, 1, 1, 5, 0, 0}, "Udaipur 5.50", "Boston -5.00", "05:00:00 AM", "Jan 01", "Dec 31", "18:30:00 PM"},
        {"back from 1 March in a leap year", {2000, 3, 1, 2, 0, 0}, "Tokyo 9.00", "London 0.00", "02:00:00 AM", "Mar 01", "Feb 29", "17:00:00 PM"},
        {"back from 1 March in a common year", {2001, 3, 1, 2, 0, 0}, "Tokyo 9.00", "London 0.00", "02:00:00 AM", "Mar 01", "Feb 28", "17:00:00 PM"},
        {"leap year 2000", {2000, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Feb 29", "06:00:00 AM"},
        {"common year 2001", {2001, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Mar 01", "06:00:00 AM"},
        {"1900 is not a leap year", {1900, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Mar 01", "06:00:00 AM"},
        {"2100 is not a leap year", {2100, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Mar 01", "06:00:00 AM"},
        {"2400 is a leap year", {2400, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Feb 29", "06:00:00 AM"},
        {"2024 is a leap year", {2024, 2, 28, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Feb 28", "Feb 29", "06:00:00 AM"},
        {"end of a 30-day month", {2000, 4, 30, 20, 0, 0}, "Boston -5.00", "Udaipur 5.50", "20:00:00 PM", "Apr 30", "May 01", "06:30:00 AM"},
        {"ten hours behind counts in full", {2000, 12, 6, 21, 45, 30}, "Honolulu -10.00", "Udaipur 5.50", "21:45:30 PM", "Dec 06", "Dec 07", "13:15:30 PM"},
        {"twelve each way", {2000, 6, 15, 12, 0, 0}, "Fiji 12.00", "Baker -12.00", "12:00:00 PM", "Jun 15", "Jun 14", "12:00:00 PM"},
        {"5.01 and -5.01 truncate before the difference", {2000, 12, 6, 21, 45, 30}, "A 5.01", "B -5.01", "21:45:30 PM", "Dec 06", "Dec 06", "11:45:30 AM"},
        {"0.99 minutes are none", {2000, 12, 6, 21, 45, 30}, "A 0.0166", "B 0.00", "21:45:30 PM", "Dec 06", "Dec 06", "21:45:30 PM"},
        {"-0.00 is GMT", {2000, 12, 6, 21, 45, 30}, "A -0.00", "B 0.00", "21:45:30 PM", "Dec 06", "Dec 06", "21:45:30 PM"},
        {"garbage is GMT", {2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Nowhere abc", "21:45:30 PM", "Dec 06", "Dec 06", "16:15:30 PM"},
        {"days below 10 show two digits", {2000, 1, 9, 23, 0, 0}, "Boston -5.00", "Cairo 2.00", "23:00:00 PM", "Jan 09", "Jan 10", "06:00:00 AM"},
    };
    for (const auto& c : cases) {
        const ClockTexts texts = BuildClockTexts(c.local, std::string_view(c.yourCity), std::string_view(c.destination));
        EXPECT_EQ(texts.yourCityTime, c.localTime) << c.what;
        EXPECT_EQ(texts.yourCityDate, c.localDate) << c.what;
        EXPECT_EQ(texts.yourCityName, c.yourCity) << c.what;
        EXPECT_EQ(texts.destinationName, c.destination) << c.what;
        EXPECT_EQ(texts.destinationDate, c.destDate) << c.what;
        EXPECT_EQ(texts.destinationTime, c.destTime) << c.what;
    }
}

TEST(WorldClock, LocalTextsForEveryMonthAndHour)
{
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        const ClockTexts texts = BuildClockTexts({2001, month, 1, 0, 0, 0}, "A 1.00", "A 1.00");
        EXPECT_EQ(texts.yourCityDate, std::string(months[month - 1]) + " 01");
        EXPECT_EQ(texts.destinationDate, texts.yourCityDate);
    }
    for (int hour = 0; hour < 24; ++hour) {
        const ClockTexts texts = BuildClockTexts({2001, 7, 31, hour, 5, 9}, "A 1.00", "A 1.00");
        const std::string hh = (hour < 10 ? "0" : "") + std::to_string(hour);
        EXPECT_EQ(texts.yourCityTime, hh + ":05:09" + (hour < 12 ? " AM" : " PM"));
        EXPECT_EQ(texts.destinationTime, texts.yourCityTime);
        EXPECT_EQ(texts.yourCityDate, "Jul 31");
    }
}

TEST(WorldClock, AbsentEntriesShowEmptyAndCountAsGmt)
{
    const LocalReading local{2000, 12, 6, 21, 45, 30};
    ClockTexts texts = BuildClockTexts(local, std::nullopt, std::nullopt);
    EXPECT_EQ(texts.yourCityTime, "21:45:30 PM");
    EXPECT_EQ(texts.yourCityDate, "Dec 06");
    EXPECT_EQ(texts.yourCityName, "");
    EXPECT_EQ(texts.destinationName, "");
    EXPECT_EQ(texts.destinationDate, "Dec 06");
    EXPECT_EQ(texts.destinationTime, "21:45:30 PM");

    texts = BuildClockTexts(local, std::nullopt, std::string_view("Boston -5.00"));
    EXPECT_EQ(texts.yourCityName, "");
    EXPECT_EQ(texts.destinationName, "Boston -5.00");
    EXPECT_EQ(texts.destinationTime, "16:45:30 PM");

    texts = BuildClockTexts(local, std::string_view("Udaipur 5.50"), std::nullopt);
    EXPECT_EQ(texts.destinationName, "");
    EXPECT_EQ(texts.destinationTime, "16:15:30 PM");

    // An empty entry that is there is not an absent one, but it counts as GMT just the same.
    texts = BuildClockTexts(local, std::string_view(""), std::string_view("Udaipur 5.50"));
    EXPECT_EQ(texts.destinationTime, "03:15:30 AM");
    EXPECT_EQ(texts.destinationDate, "Dec 07");
}

TEST(WorldClock, LongEntriesAreTakenWhole)
{
    const std::string yourCity = std::string(200, 'U') + " Udaipur 5.50";
    const std::string destination = std::string(1024 * 1024, 'B') + " -5.00";
    const ClockTexts texts = BuildClockTexts({2000, 12, 6, 21, 45, 30}, yourCity, destination);
    EXPECT_EQ(texts.yourCityName, yourCity);
    EXPECT_EQ(texts.destinationName, destination);
    EXPECT_EQ(texts.destinationTime, "11:15:30 AM");
}

bool IsDateText(const std::string& text)
{
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (text.size() != 6 || text[3] != ' ' || !std::isdigit(static_cast<unsigned char>(text[4])) ||
        !std::isdigit(static_cast<unsigned char>(text[5])))
        return false;
    const size_t at = months.find(text.substr(0, 3));
    const int day = (text[4] - '0') * 10 + (text[5] - '0');
    return at != std::string::npos && at % 3 == 0 && day >= 1 && day <= 31;
}

bool IsTimeText(const std::string& text)
{
    if (text.size() != 11 || text[2] != ':' || text[5] != ':' || text[8] != ' ' || text[10] != 'M')
        return false;
    for (const size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[3] - '0') * 10 + (text[4] - '0');
    return hour < 24 && minute < 60 && text[9] == (hour < 12 ? 'A' : 'P');
}

TEST(WorldClock, ExtremeOffsetsGiveWellFormedTexts)
{
    const char* const entries[] = {"A 99999999999999999999", "A -99999999999999999999", "A 35791394.13",
                                   "A -35791394.14", "A 0.00", "A 12.00", "A -12.00"};
    for (const LocalReading& local : {LocalReading{2000, 12, 6, 21, 45, 30}, LocalReading{1, 1, 1, 0, 0, 0},
                                      LocalReading{9999, 12, 31, 23, 59, 59}}) {
        for (const char* yourCity : entries) {
            for (const char* destination : entries) {
                const ClockTexts texts = BuildClockTexts(local, yourCity, destination);
                EXPECT_TRUE(IsDateText(texts.destinationDate)) << yourCity << " / " << destination << ": "
                                                               << texts.destinationDate;
                EXPECT_TRUE(IsTimeText(texts.destinationTime)) << yourCity << " / " << destination << ": "
                                                               << texts.destinationTime;
                EXPECT_EQ(texts.destinationTime.substr(6, 2), texts.yourCityTime.substr(6, 2));   // seconds
            }
        }
    }
}

// ---- ParseOffsetMinutes -----------------------------------------------------------------

struct OffsetCase {
    std::string entry;
    int32_t minutes;
};

const std::vector<OffsetCase>& OffsetCases()
{
    using namespace std::string_literals;
    static const std::vector<OffsetCase> cases = {
        {"Udaipur 5.50", 330},
        {"Boston -5.00", -300},
        {"Honolulu -10.00", -600},
        {"Fiji 12.00", 720},
        {"Baker -12.00", -720},
        {"A 5.01", 300},
        {"A -5.01", -300},
        {"A 0.00", 0},
        {"A -0.00", 0},
        {"New York -5.00", -300},
        {"Udaipur 5.50   ", 330},   // trailing blanks: the last run is still 5.50
        {"5.50", 330},              // the entry is all offset
        {" 5.50", 330},             // empty name
        {"", 0},
        {"   ", 0},
        {"Udaipur", 0},
        {"Udaipur 5.50x", 330},     // the longest leading number
        {"A +5.50", 330},
        {"A 5.", 300},
        {"A .5", 30},
        {"A -.5", -30},
        {"A 5.5.5", 330},
        {"A 5,50", 300},            // a comma is no decimal point, whatever the locale
        {"A 5e3", 300},             // no exponent
        {"A 5E-1", 300},
        {"A 0x10", 0},
        {"A inf", 0},
        {"A nan", 0},
        {"A -", 0},
        {"A +", 0},
        {"A .", 0},
        {"A -.", 0},
        {"A --5", 0},
        {"A +-5", 0},
        {"A 0005.50", 330},
        {"A 5.50000000000000000000000000000001", 330},
        {"A 0.0166", 0},            // 0.996 minutes
        {"A -0.0166", 0},
        {"A 0.016667", 1},
        {"5.50\0"s, 330},
        {"A \xff" "5.50", 0},
        {"A 35791394", 2147483647},      // 2147483640 is 2^31 as a float: clamped
        {"A 35791393", 2147483520},      // 2147483580 rounds to the float below 2^31
        {"A -35791394.14", -2147483647 - 1},
        {"A 99999999999", 2147483647},
        {"A -99999999999", -2147483647 - 1},
        {"A " + std::string(400, '9'), 2147483647},               // beyond a double
        {"A -" + std::string(400, '9') + ".5", -2147483647 - 1},
        {"A 0." + std::string(400, '0') + "1", 0},                 // below a double
        {"A -0." + std::string(400, '0') + "1", 0},
        {"A " + std::string(100000, '0') + "5.50", 330},
        {"A " + std::string(1024 * 1024, '7'), 2147483647},
    };
    return cases;
}

TEST(ParseOffset, MinutesFromAnyText)
{
    for (const auto& c : OffsetCases())
        EXPECT_EQ(ParseOffsetMinutes(c.entry), c.minutes) << "[" << c.entry.substr(0, 60) << "]";
}

TEST(ParseOffset, ProductHeldAsASinglePrecisionValue)
{
    EXPECT_EQ(ParseOffsetProduct("Udaipur 5.50"), 330.0f);
    EXPECT_EQ(ParseOffsetProduct("Boston -5.00"), -300.0f);
    EXPECT_EQ(ParseOffsetProduct("A 5.01"), static_cast<float>(5.01 * 60.0));
    EXPECT_EQ(ParseOffsetProduct("A -5.01"), static_cast<float>(-5.01 * 60.0));
    EXPECT_EQ(ParseOffsetProduct("A"), 0.0f);
    EXPECT_EQ(ParseOffsetProduct("A " + std::string(400, '9')), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ParseOffsetProduct("A -" + std::string(400, '9')), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(ParseOffsetProduct("A 1" + std::string(45, '0')), std::numeric_limits<float>::infinity());
    EXPECT_FALSE(std::isnan(ParseOffsetProduct("A nan")));
}

// A decimal-comma locale must not change how "5.50" reads. The C locale is set when the
// machine has one (on Windows and under Wine, "German" does); the C++ global locale always
// gets a numeric facet with a decimal comma.
TEST(ParseOffset, IndependentOfTheLocale)
{
    struct CommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previousGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    std::string cLocale;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "German", "fr_FR.UTF-8",
                             "deu"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            cLocale = name;
            break;
        }
    }
    if (cLocale.empty())
        std::setlocale(LC_ALL, "C");
    RecordProperty("c_locale", cLocale.empty() ? "none with a decimal comma" : cLocale);

    for (const auto& c : OffsetCases())
        EXPECT_EQ(ParseOffsetMinutes(c.entry), c.minutes) << "[" << c.entry.substr(0, 60) << "] in " << cLocale;
    const ClockTexts texts = BuildClockTexts({2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Boston -5.00");
    EXPECT_EQ(texts.destinationTime, "11:15:30 AM");
    EXPECT_EQ(texts.yourCityDate, "Dec 06");

    std::setlocale(LC_ALL, "C");
    std::locale::global(previousGlobal);
}

// ---- The calendar against an independent oracle -----------------------------------------

struct Moment {
    int year, month, day, hour, minute;
};

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : lengths[month - 1];
}

// Moves a moment by whole minutes, one day at a time: slow, obvious, and unlike the code under
// test.
Moment Shift(Moment m, int64_t minutes)
{
    int64_t minuteOfDay = m.hour * 60 + m.minute + minutes;
    while (minuteOfDay < 0) {
        minuteOfDay += 1440;
        if (--m.day == 0) {
            if (--m.month == 0) {
                m.month = 12;
                --m.year;
            }
            m.day = DaysIn(m.year, m.month);
        }
    }
    while (minuteOfDay >= 1440) {
        minuteOfDay -= 1440;
        if (++m.day > DaysIn(m.year, m.month)) {
            m.day = 1;
            if (++m.month == 13) {
                m.month = 1;
                ++m.year;
            }
        }
    }
    m.hour = static_cast<int>(minuteOfDay / 60);
    m.minute = static_cast<int>(minuteOfDay % 60);
    return m;
}

std::string Expected(const Moment& m, int second, bool date)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[32];
    if (date)
        std::snprintf(text, sizeof text, "%s %02d", months[m.month - 1], m.day);
    else
        std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", m.hour, m.minute, second, m.hour < 12 ? "AM" : "PM");
    return text;
}

std::string OffsetEntry(int halfHours)
{
    const int magnitude = halfHours < 0 ? -halfHours : halfHours;
    return "City " + std::string(halfHours < 0 ? "-" : "") + std::to_string(magnitude / 2) +
           (magnitude % 2 ? ".50" : ".00");
}

TEST(WorldClockCalendar, AgreesWithADayByDayOracle)
{
    std::mt19937 random(2000);
    for (int i = 0; i < 20000; ++i) {
        const int year = 1899 + static_cast<int>(random() % 503);
        const int month = 1 + static_cast<int>(random() % 12);
        const int day = 1 + static_cast<int>(random() % DaysIn(year, month));
        const LocalReading local{year, month, day, static_cast<int>(random() % 24), static_cast<int>(random() % 60),
                                 static_cast<int>(random() % 60)};
        const int yourHalfHours = static_cast<int>(random() % 49) - 24;
        const int destinationHalfHours = static_cast<int>(random() % 49) - 24;
        const ClockTexts texts = BuildClockTexts(local, OffsetEntry(yourHalfHours), OffsetEntry(destinationHalfHours));
        const Moment shifted = Shift({year, month, day, local.hour, local.minute},
                                     -30 * static_cast<int64_t>(yourHalfHours - destinationHalfHours));
        ASSERT_EQ(texts.destinationDate, Expected(shifted, local.second, true))
            << year << "-" << month << "-" << day << " " << yourHalfHours << " " << destinationHalfHours;
        ASSERT_EQ(texts.destinationTime, Expected(shifted, local.second, false));
    }
}

TEST(WorldClockCalendar, LargestDifferenceAgreesWithTheOracle)
{
    const int64_t difference = int64_t{2147483647} - (int64_t{-2147483647} - 1);
    const Moment shifted = Shift({2000, 12, 6, 21, 45}, -difference);
    const ClockTexts texts = BuildClockTexts({2000, 12, 6, 21, 45, 30}, "A 99999999999", "B -99999999999");
    EXPECT_EQ(texts.destinationDate, Expected(shifted, 30, true));
    EXPECT_EQ(texts.destinationTime, Expected(shifted, 30, false));
    const Moment ahead = Shift({2000, 12, 6, 21, 45}, difference);
    const ClockTexts reverse = BuildClockTexts({2000, 12, 6, 21, 45, 30}, "B -99999999999", "A 99999999999");
    EXPECT_EQ(reverse.destinationDate, Expected(ahead, 30, true));
    EXPECT_EQ(reverse.destinationTime, Expected(ahead, 30, false));
}

} // namespace
