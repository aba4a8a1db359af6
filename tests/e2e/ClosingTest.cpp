// Which ways out of the main window end the program: Enter and Exit do, Escape and close requests don't.
#include "Fixture.h"
#include "Screen.h"

using namespace e2e;

namespace {

class Closing : public RunningPavix {
protected:
    // As the dialog's message loop sees a key typed into the focused list.
    void PostKey(WORD virtualKey)
    {
        HWND list = Control(idYourCityList);
        PostMessageA(list, WM_KEYDOWN, virtualKey, 1);
        PostMessageA(list, WM_KEYUP, virtualKey, 0xC0000001);
    }
};

TEST_F(Closing, EscapeAndCloseRequestsChangeNothing)
{
    RECT before = ScreenRect(Main());
    PostKey(VK_ESCAPE);
    PostMessageA(Main(), WM_CLOSE, 0, 0);
    PostMessageA(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(Main(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(BringToForeground(Main()));
    PressKey(VK_ESCAPE);

    // Timer ticks come only when no posted message waits, so once a tick shows a selection
    // made now, everything posted before has been handled.
    HWND list = Control(idDestinationList);
    SelectListEntry(list, 3);
    ASSERT_TRUE(WaitUntil([&] { return Text(Control(idDestinationName)) == worldCitiesSorted[3]; }))
        << "the window stopped ticking";
    EXPECT_TRUE(pavix->Running());
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsIconic(Main()));
    RECT now = ScreenRect(Main());
    EXPECT_TRUE(EqualRect(&now, &before)) << "moved or resized";
    EXPECT_TRUE(pavix->MessageBoxes().empty());
}

class Ending : public Closing, public testing::WithParamInterface<int> {};

TEST_P(Ending, EndsTheProgram)
{
    if (GetParam() == 0) {
        PostKey(VK_RETURN);
    } else if (GetParam() == 1) {
        ASSERT_TRUE(BringToForeground(Main()));
        PressKey(VK_RETURN);
    } else {
        pavix->PostCommand(cmdExit);
    }
    EXPECT_TRUE(pavix->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Closing, Ending, testing::Values(0, 1, 2), [](const testing::TestParamInfo<int>& info) {
    return std::string(info.param == 0 ? "PostedEnter" : info.param == 1 ? "EnterKey" : "Exit");
});

}  // namespace
