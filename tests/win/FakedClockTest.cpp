// The clock at a moment that FakedClock.cmake fakes, in a zone that is not UTC: PAVIX_FAKETIME is
// "@YYYY-MM-DD HH:MM:SS", the zone's local time, so it is what the left column must show.
#include "InProcess.h"

#include "platform/UserSetting.h"

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

// With Daylight Saving Time on, each shipped city's offset is its offset at this moment; off,
// the destination keeps the fixed difference of the two entries' offsets.
TEST(FakedClock, WithDaylightSavingTheDestinationShowsItsRealTime)
{
    struct Row {
        const char* zone;   // the machine's
        const char* cities;   // the database
        const char* yourCity;
        const char* destination;
        const char* fixed;   // the destination's hour and minute with the command off
        const char* real;   // and on
    };
    const Row rows[] = {
        {.zone = "America/New_York",
         .cities = "New York\t-5.00\r\nTokyo\t9.00\r\n",
         .yourCity = "New York -5.00",
         .destination = "Tokyo 9.00",
         .fixed = "22:00",
         .real = "21:00"},
        {.zone = "Australia/Sydney",
         .cities = "Lord Howe\t10.50\r\nSydney\t10.00\r\n",
         .yourCity = "Sydney 10.00",
         .destination = "Lord Howe 10.50",
         .fixed = "12:30",
         .real = "12:00"},
    };
    const char* zone = std::getenv("TZ");
    const auto row = std::find_if(std::begin(rows), std::end(rows),
                                  [&](const Row& r) { return zone && r.zone == std::string(zone); });
    ASSERT_NE(row, std::end(rows)) << "run with TZ set to a zone of the table";
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "on" : "off");
        WriteUserSetting("DaylightSaving", on);
        RunApp(row->cities, [&](CPavixDlg& d) {
            for (auto [list, entry] :
                 {std::pair{IDC_YOUR_CITY_LIST, row->yourCity}, {IDC_DESTINATION_LIST, row->destination}}) {
                ListBox(d.GetItem(list))
                    .SetCurSel(int(::SendDlgItemMessageA(d.GetHwnd(), list, LB_FINDSTRINGEXACT, WPARAM(-1),
                                                         LPARAM(entry))));
            }
            d.Tick();
            EXPECT_EQ(Window(d.GetItem(IDC_DESTINATION_TIME)).GetText().substr(0, 5),
                      on ? row->real : row->fixed);
        });
    }
    WriteUserSetting("DaylightSaving", false);
}
