// The six texts over the lists: the local clock on the left, shifted by the cities' offsets on the right.
#include "Clock.h"
#include "Fixture.h"

using namespace e2e;

namespace {

class Clock : public RunningPavix {
protected:
    // Selects two entries and waits for a tick to show them.
    void Select(const std::string& yourCity, const std::string& destination)
    {
        SelectListEntry(Control(idYourCityList), IndexOf(yourCity));
        SelectListEntry(Control(idDestinationList), IndexOf(destination));
        // A tick every 100 ms; a slow machine gets up to a second.
        ASSERT_TRUE(WaitUntil(
            [&] {
                return Text(Control(idYourCityName)) == yourCity &&
                       Text(Control(idDestinationName)) == destination;
            },
            1000))
            << Text(Control(idYourCityName)) << " | " << Text(Control(idDestinationName));
    }

    // Checks all six texts against the local clock; the destination runs
    // (yourMinutes - destinationMinutes) behind it.
    void ExpectTexts(const std::string& yourCity, int yourMinutes, const std::string& destination,
                     int destinationMinutes)
    {
        ClockView clock = ReadClock(*pavix);
        auto shown = ShownLocalMoment(clock);
        ASSERT_TRUE(shown) << "local clock shows " << clock.yourDate << " " << clock.yourTime;
        SYSTEMTIME there = AddMinutes(*shown, -(yourMinutes - destinationMinutes));
        EXPECT_EQ(clock.yourName, yourCity);
        EXPECT_EQ(clock.destinationName, destination);
        EXPECT_EQ(clock.destinationDate, DateText(there)) << "at local " << clock.yourTime;
        EXPECT_EQ(clock.destinationTime, TimeText(there)) << "at local " << clock.yourTime;
    }
};

TEST_F(Clock, FollowsEachSelection)
{
    struct Case {
        const char* yourCity;
        int yourMinutes;
        const char* destination;
        int destinationMinutes;
    };
    const Case cases[] = {
        {"Adelaide 9.50", 570, "Adelaide 9.50", 570},  // the start-up selection: the local time twice
        {"Udaipur 5.50", 330, "Honolulu -10.00", -600},
        {"boston -5.00", -300, "Udaipur 5.50", 330},  // west of GMT, half an hour ahead to the east
        {"Cairo  2.00", 120, "Tokyo 9.00", 540},      // a blank-separated line counts as a tabbed one
        // Whatever the time of the test, these land on the day before and the day after.
        {"Kiritimati 14.00", 840, "Honolulu -10.00", -600},
        {"Honolulu -10.00", -600, "Kiritimati 14.00", 840},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.yourCity) + " / " + c.destination);
        ASSERT_NO_FATAL_FAILURE(Select(c.yourCity, c.destination));
        ExpectTexts(c.yourCity, c.yourMinutes, c.destination, c.destinationMinutes);
    }
}

}  // namespace
