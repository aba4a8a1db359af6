// What the main window shows right after it opens, for good, empty and missing databases.
#include "Clock.h"
#include "Fixture.h"
#include "Screen.h"

using namespace e2e;

namespace {

using Startup = RunningPavix;

// Under Wine WM_GETFONT answers NULL to another process, so the fonts are told apart on
// screen: the system font's digits stand taller than the dialog font's.
struct LabelHeights {
    int yourDate = 0, yourTime = 0, destinationDate = 0, destinationTime = 0;
};

LabelHeights MeasureLabels(const Pavix& pavix)
{
    LabelHeights h;
    WaitUntil([&] {
        h = {YellowTextHeight(pavix.Control(idYourCityDate)), YellowTextHeight(pavix.Control(idYourCityTime)),
             YellowTextHeight(pavix.Control(idDestinationDate)),
             YellowTextHeight(pavix.Control(idDestinationTime))};
        return h.yourDate > 0 && h.yourTime > 0 && h.destinationDate > 0 && h.destinationTime > 0;
    });
    return h;
}

TEST_F(Startup, BothListsHoldEveryLineSortedWithoutRegardToCaseAndTheFirstSelected)
{
    for (int id : {idYourCityList, idDestinationList}) {
        EXPECT_EQ(ListEntries(Control(id)), worldCitiesSorted);
        EXPECT_EQ(ListSelection(Control(id)), 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return Text(Control(idYourCityName)) == worldCitiesSorted[0]; }));
    EXPECT_EQ(Text(Control(idDestinationName)), worldCitiesSorted[0]);

    LabelHeights h = MeasureLabels(*pavix);
    EXPECT_GT(h.yourTime, h.yourDate) << "time labels not in the system font";
    EXPECT_GT(h.destinationTime, h.destinationDate);
}

// An empty file and a missing one: a message, then empty lists and the local time twice.
TEST(StartupWithoutCities, SaysSoThenShowsEmptyListsAndTheLocalTimeTwice)
{
    for (std::optional<std::string> database : {std::optional<std::string>(""), std::optional<std::string>()}) {
        SCOPED_TRACE(database ? "empty file" : "no file");
        Pavix pavix{database};
        ASSERT_TRUE(pavix.Started());
        HWND box = pavix.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no message box";
        MessageBoxView view = ReadMessageBox(box);
        EXPECT_EQ(view.caption, "Read Record..");
        if (database)
            EXPECT_EQ(view.text, "File Empty..");
        else
            EXPECT_NE(view.text.find("wtcmain.pvx"), std::string::npos) << view.text;
        EXPECT_EQ(view.visibleButtons, 1);
        EXPECT_TRUE(view.hasOk);

        // The clock already ticks while the box waits, though the window is not shown yet.
        HWND hidden = pavix.FindMainWindow(false);
        ASSERT_NE(hidden, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(hidden, idYourCityTime)) != "Static"; }))
            << "no tick while the message box is open";

        PressOk(box);
        ASSERT_NE(pavix.WaitForMainWindow(), nullptr);
        for (int id : {idYourCityList, idDestinationList}) {
            EXPECT_TRUE(ListEntries(pavix.Control(id)).empty());
            EXPECT_EQ(ListSelection(pavix.Control(id)), LB_ERR);
        }
        // With nothing selected both cities count as one: no names, the same time twice.
        ClockView clock;
        ASSERT_TRUE(WaitUntil([&] {
            clock = ReadClock(pavix);
            return clock.yourTime != "Static" && clock.destinationTime != "Static";
        }));
        ASSERT_TRUE(ShownLocalMoment(clock)) << clock.yourDate << " " << clock.yourTime;
        EXPECT_EQ(clock.yourName + clock.destinationName, "");
        EXPECT_EQ(clock.destinationTime, clock.yourTime);
        EXPECT_EQ(clock.destinationDate, clock.yourDate);

        // Loading stopped before the time labels were switched to the system font.
        LabelHeights h = MeasureLabels(pavix);
        EXPECT_EQ(h.yourTime, h.yourDate);
        EXPECT_EQ(h.destinationTime, h.destinationDate);
    }
}

}  // namespace
