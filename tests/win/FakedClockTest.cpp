// The clock at a moment that FakedClock.cmake fakes, in a zone that is not UTC: PAVIX_FAKETIME is
// "@YYYY-MM-DD HH:MM:SS", the zone's local time, so it is what the left column must show.
#include "InProcess.h"

// The faked moment's local date and hour as the window writes them: "Jul 15", "08:".
std::pair<std::string, std::string> FakedDateAndHour()
{
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string faked = std::getenv("PAVIX_FAKETIME") ? std::getenv("PAVIX_FAKETIME") : "";
    if (faked.size() != std::string("@2026-07-15 08:00:00").size())
        return {};
    const int month = std::stoi(faked.substr(6, 2));
    return {months[month - 1] + (" " + faked.substr(9, 2)), faked.substr(12, 2) + ":"};
}

// The left column is the machine's local time, its zone's daylight saving included, not GMT.
TEST(FakedClock, TheLeftColumnShowsTheZonesLocalTime)
{
    const auto [date, hour] = FakedDateAndHour();
    ASSERT_FALSE(date.empty()) << "run with PAVIX_FAKETIME set";
    RunApp("Tokyo\t9.00\r\n", [&](CPavixDlg& d) {
        d.Tick();
        EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_DATE)).GetText(), date);
        EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetText().substr(0, hour.size()), hour);
    });
}
