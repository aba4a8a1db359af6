// Minimize puts one icon into the notification area; it stays until the window goes.
#include "Fixture.h"

#include <algorithm>

using namespace e2e;

namespace {

class Tray : public RunningPavix {
protected:
    // A tick that changes the time runs after the command being handled now has ended.
    bool WaitForNextSecond()
    {
        std::string time = Text(Control(idYourCityTime));
        return WaitUntil([&] { return Text(Control(idYourCityTime)) != time; }, 3000);
    }
};

TEST_F(Tray, MinimizeAddsOneIconAndExitRemovesIt)
{
    // Wine's tray window comes with the first icon of the session.
    int iconsBefore = std::max(WineTrayIconCount(), 0);
    EXPECT_FALSE(TrayIconPresent(Main())) << "an icon before Minimize";
    pavix->PostCommand(cmdMinimize);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(Main()) && TrayIconPresent(Main()); }))
        << "iconic " << IsIconic(Main()) << ", icon " << TrayIconPresent(Main());
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(WaitForNextSecond()) << "the clock stopped while minimised";
    EXPECT_EQ(WineTrayIconCount(), iconsBefore + 1);

    // Restoring leaves the icon; a second Minimize adds none beside it.
    ShowWindow(Main(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(Main()); }));
    EXPECT_TRUE(TrayIconPresent(Main()));
    pavix->PostCommand(cmdMinimize);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(Main()); }));
    ASSERT_TRUE(WaitForNextSecond());
    EXPECT_TRUE(TrayIconPresent(Main()));
    EXPECT_EQ(WineTrayIconCount(), iconsBefore + 1);

    HWND main = Main();
    pavix->PostCommand(cmdExit);
    ASSERT_TRUE(pavix->WaitForExit());
    EXPECT_FALSE(TrayIconPresent(main));
    EXPECT_EQ(WineTrayIconCount(), iconsBefore);
}

}  // namespace
