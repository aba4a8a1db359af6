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

TEST_F(Startup, BothListsHoldEveryLineSortedWithoutRegardToCase)
{
    EXPECT_EQ(ListEntries(Control(idYourCityList)), worldCitiesSorted);
    EXPECT_EQ(ListEntries(Control(idDestinationList)), worldCitiesSorted);
}

TEST_F(Startup, FirstEntrySelectedInBothLists)
{
    EXPECT_EQ(ListSelection(Control(idYourCityList)), 0);
    EXPECT_EQ(ListSelection(Control(idDestinationList)), 0);
    ASSERT_TRUE(WaitUntil([&] { return Text(Control(idYourCityName)) == worldCitiesSorted[0]; }));
    EXPECT_EQ(Text(Control(idDestinationName)), worldCitiesSorted[0]);
}

TEST_F(Startup, TimeLabelsShowInTheSystemFont)
{
    LabelHeights h = MeasureLabels(*pavix);
    EXPECT_GT(h.yourTime, h.yourDate);
    EXPECT_GT(h.destinationTime, h.destinationDate);
}

TEST(StartupWithEmptyDatabase, ShowsFileEmptyThenEmptyListsAndTheLocalTimeTwice)
{
    Pavix pavix{std::string()};
    ASSERT_TRUE(pavix.Started());
    HWND box = pavix.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box";
    MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.caption, "Read Record..");
    EXPECT_EQ(view.text, "File Empty..");
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
    auto shown = ShownLocalMoment(clock);
    ASSERT_TRUE(shown) << clock.yourDate << " " << clock.yourTime;
    EXPECT_EQ(clock.yourName, "");
    EXPECT_EQ(clock.destinationName, "");
    EXPECT_EQ(clock.destinationTime, clock.yourTime);
    EXPECT_EQ(clock.destinationDate, clock.yourDate);

    // Loading stopped before the time labels were switched to the system font.
    LabelHeights h = MeasureLabels(pavix);
    EXPECT_EQ(h.yourTime, h.yourDate);
    EXPECT_EQ(h.destinationTime, h.destinationDate);
}

TEST(StartupWithoutDatabase, SaysSoThenOpensWithEmptyLists)
{
    Pavix pavix{std::nullopt};
    ASSERT_TRUE(pavix.Started());
    HWND box = pavix.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box";
    MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.caption, "Read Record..");
    EXPECT_TRUE(view.text.find("not found") != std::string::npos ||
                view.text.find("wtcmain.pvx") != std::string::npos)
        << view.text;
    EXPECT_EQ(view.visibleButtons, 1);
    EXPECT_TRUE(view.hasOk);

    PressOk(box);
    ASSERT_NE(pavix.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(ListEntries(pavix.Control(idYourCityList)).empty());
    EXPECT_TRUE(ListEntries(pavix.Control(idDestinationList)).empty());
    EXPECT_TRUE(pavix.Running());
}

TEST(StartupWithLongLine, ShowsTheWholeEntryAndItsOffset)
{
    // Far longer than a fixed 50-character buffer would hold.
    std::string name(150, 'A');
    Pavix pavix{name + "\t5.50\r\nZulu\t-1.00\r\n"};
    ASSERT_TRUE(pavix.Started());
    ASSERT_NE(pavix.WaitForMainWindow(), nullptr);
    std::string entry = name + " 5.50";
    ASSERT_TRUE(WaitUntil([&] { return Text(pavix.Control(idYourCityName)) == entry; }))
        << Text(pavix.Control(idYourCityName));

    SelectListEntry(pavix.Control(idDestinationList), 1);
    ASSERT_TRUE(WaitUntil([&] { return Text(pavix.Control(idDestinationName)) == "Zulu -1.00"; }));
    ClockView clock = ReadClock(pavix);
    auto shown = ShownLocalMoment(clock);
    ASSERT_TRUE(shown) << clock.yourDate << " " << clock.yourTime;
    SYSTEMTIME destination = AddMinutes(*shown, -(330 - -60));
    EXPECT_EQ(clock.destinationTime, TimeText(destination));
    EXPECT_EQ(clock.destinationDate, DateText(destination));
    EXPECT_EQ(clock.yourName, entry);
    EXPECT_TRUE(pavix.Running());
}

}  // namespace
