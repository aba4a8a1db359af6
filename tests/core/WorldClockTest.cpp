// The world clock: offsets from entry texts, the worked examples, and the calendar against a
// day-by-day oracle.
#include "clock/WorldClock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

TEST(WorldClock, OffsetTextsToMinutes)
{
    const std::string nines(400, '9'), tiny = "0." + std::string(400, '0') + "1";
    const std::vector<std::pair<std::string, int32_t>> rows = {
        {"Udaipur 5.50", 330},
        {"Boston -5.00", -300},
        {"New York -5.00   ", -300},
        {"   ", 0},
        {"A +5.50", 330},
        {"A .5", 30},
        {"A inf", 0},
        {"A 0.0166", 0},
        {"A -0.0166", 0},
        {"A 0.016667", 1},
        {"A 35791394", INT32_MAX},
        {"A 35791393", 2147483520},
        {"A -99999999999", INT32_MIN},
        {"A 000" + nines, INT32_MAX},
        {"A -" + nines + ".5", INT32_MIN},
        {"A " + tiny, 0},
    };
    for (const auto& [entry, minutes] : rows)
        EXPECT_EQ(ParseOffsetMinutes(entry), minutes) << entry.substr(0, 40);
}

TEST(WorldClock, WorkedExamples)
{
    const std::vector<std::tuple<LocalReading, std::optional<std::string_view>,
                                 std::optional<std::string_view>, std::string>>
        rows = {
            {{2000, 12, 6, 21, 45, 30},
             "Udaipur 5.50",
             "Boston -5.00",
             "21:45:30 PM|Dec 06|Dec 06|11:15:30 AM|Udaipur 5.50|Boston -5.00"},
            {{2000, 12, 6, 8, 10, 5},
             "Udaipur 5.50",
             "Boston -5.00",
             "08:10:05 AM|Dec 06|Dec 05|21:40:05 PM|Udaipur 5.50|Boston -5.00"},
            {{2000, 12, 31, 20, 0, 0},
             "Boston -5.00",
             "Udaipur 5.50",
             "20:00:00 PM|Dec 31|Jan 01|06:30:00 AM|Boston -5.00|Udaipur 5.50"},
            {{2000, 12, 6, 21, 45, 30},
             std::nullopt,
             "Boston -5.00",
             "21:45:30 PM|Dec 06|Dec 06|16:45:30 PM||Boston -5.00"},
            {{2000, 12, 6, 21, 45, 30},
             "Udaipur 5.50",
             std::nullopt,
             "21:45:30 PM|Dec 06|Dec 06|16:15:30 PM|Udaipur 5.50|"},
        };
    for (const auto& [local, yourCity, destination, texts] : rows) {
        const ClockTexts t = BuildClockTexts(local, yourCity, destination);
        EXPECT_EQ(texts,
                  t.yourCityTime + "|" + t.yourCityDate + "|" + t.destinationDate + "|" + t.destinationTime +
                      "|" + t.yourCityName + "|" + t.destinationName);
    }
}

int DaysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 29 : days[month - 1];
}

// The destination's date and time moved one day at a time: slow, obvious, and unlike the code
// under test.
std::string Oracle(LocalReading m, int64_t minutes)
{
    int64_t minute = m.hour * 60 + m.minute + minutes;
    for (; minute < 0; minute += 1440)
        if (--m.day == 0)
            m.year -= m.month == 1, m.month = (m.month + 10) % 12 + 1, m.day = DaysIn(m.year, m.month);
    for (; minute >= 1440; minute -= 1440)
        if (++m.day > DaysIn(m.year, m.month))
            m.year += m.month == 12, m.month = m.month % 12 + 1, m.day = 1;
    char text[32];
    std::snprintf(text, sizeof text, "%.3s %02d|%02d:%02d:%02d %s",
                  &"JanFebMarAprMayJunJulAugSepOctNovDec"[3 * (m.month - 1)], m.day,
                  static_cast<int>(minute / 60), static_cast<int>(minute % 60), m.second,
                  minute < 720 ? "AM" : "PM");
    return text;
}

TEST(WorldClock, CalendarAgreesWithADayByDayOracle)
{
    std::mt19937 random(2000);
    const auto pick = [&random](int count) {
        return static_cast<int>(random() % static_cast<unsigned>(count));
    };
    const auto entry = [](int halfHours) { return "City " + std::to_string(halfHours / 2.0); };
    for (int i = 0; i < 20000; ++i) {
        LocalReading local{1899 + pick(503), 1 + pick(12), 1, pick(24), pick(60), pick(60)};
        local.day = 1 + pick(DaysIn(local.year, local.month));
        const int yourCity = pick(49) - 24, destination = pick(49) - 24;
        const ClockTexts t = BuildClockTexts(local, entry(yourCity), entry(destination));
        ASSERT_EQ(t.destinationDate + "|" + t.destinationTime,
                  Oracle(local, 30 * int64_t{destination - yourCity}))
            << local.year << "-" << local.month << "-" << local.day;
    }
}

}   // namespace
