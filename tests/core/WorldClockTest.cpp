// The world clock: offsets from entry texts and worked examples. The fuzz target WorldClockFuzz
// checks the calendar against the C library's.
#include "clock/WorldClock.h"

#include <gtest/gtest.h>

namespace {

// The offset is the entry's last word: its leading decimal number of hours, in whole minutes
// truncated toward zero, clamped to 32 bits.
TEST(WorldClock, AnEntrysOffsetIsItsLastWordInWholeMinutes)
{
    const std::string nines(400, '9');
    const std::string tiny = "0." + std::string(400, '0') + "1";
    struct {
        std::string entry;
        int32_t minutes;
    } cases[] = {
        {"Udaipur 5.50", 330},
        {"New York -5.00   ", -300},
        {"   ", 0},
        {"A +5.50", 330},
        {"A .5", 30},
        {"A 5e3", 300},   // no exponent: only "5" is a number
        {"A -0.0166", 0},
        {"A 0.016667", 1},
        {"A 35791394", INT32_MAX},
        {"A 35791393", 2147483520},   // held in a float on the way
        {"A 000" + nines, INT32_MAX},   // beyond a double
        {"A -" + nines + ".5", INT32_MIN},
        {"A " + tiny, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.substr(0, 40));
        EXPECT_EQ(ParseOffsetMinutes(c.entry), c.minutes);
    }
}

TEST(WorldClock, YourCityShowsTheLocalReadingAndBothNamesShowTheirEntries)
{
    const ClockTexts texts = BuildClockTexts({2000, 1, 2, 12, 10, 5}, "Udaipur 5.50", "Boston -5.00");
    EXPECT_EQ(texts.yourCityTime, "12:10:05 PM");   // PM from noon on
    EXPECT_EQ(texts.yourCityDate, "Jan 02");
    EXPECT_EQ(texts.yourCityName, "Udaipur 5.50");
    EXPECT_EQ(texts.destinationName, "Boston -5.00");
}

TEST(WorldClock, TheDestinationShowsTheLocalReadingMovedByTheDifference)
{
    struct {
        LocalReading local;
        std::optional<std::string_view> yourCity;
        std::optional<std::string_view> destination;
        std::string date;
        std::string time;
    } cases[] = {
        {{2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", "Boston -5.00", "Dec 06", "11:15:30 AM"},
        {{2000, 12, 31, 20, 0, 0}, "Boston -5.00", "Udaipur 5.50", "Jan 01", "06:30:00 AM"},
        {{2001, 1, 1, 8, 10, 5}, "Udaipur 5.50", "Boston -5.00", "Dec 31", "21:40:05 PM"},
        {{2000, 2, 28, 20, 0, 0}, "Boston -5.00", "Udaipur 5.50", "Feb 29", "06:30:00 AM"},
        {{2100, 3, 1, 8, 10, 5}, "Udaipur 5.50", "Boston -5.00", "Feb 28", "21:40:05 PM"},   // no leap year
        {{2000, 12, 6, 21, 45, 30}, std::nullopt, "Boston -5.00", "Dec 06", "16:45:30 PM"},
        {{2000, 12, 6, 21, 45, 30}, "Udaipur 5.50", std::nullopt, "Dec 06", "16:15:30 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.yourCity.value_or("-")) + " to " +
                     std::string(c.destination.value_or("-")));
        const ClockTexts texts = BuildClockTexts(c.local, c.yourCity, c.destination);
        EXPECT_EQ(texts.destinationDate, c.date);
        EXPECT_EQ(texts.destinationTime, c.time);
    }
}

}   // namespace
