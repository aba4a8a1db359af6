// Which ways out of the main window end the program: Enter and Exit do, Escape and close requests don't.
#include "Fixture.h"
#include "Screen.h"

using namespace e2e;

namespace {

class Closing : public RunningPavix {
protected:
    // Timer ticks come only when no posted message waits, so once a tick shows a
    // selection made now, everything posted before has been handled.
    void WaitForPostedMessages()
    {
        HWND list = Control(idDestinationList);
        int next = (ListSelection(list) + 1) % static_cast<int>(worldCitiesSorted.size());
        SelectListEntry(list, next);
        ASSERT_TRUE(WaitUntil([&] { return Text(Control(idDestinationName)) == worldCitiesSorted[next]; }))
            << "the window stopped ticking";
    }

    void ExpectUnchanged(const RECT& before)
    {
        EXPECT_TRUE(pavix->Running());
        ASSERT_TRUE(IsWindow(Main()));
        EXPECT_TRUE(IsWindowVisible(Main()));
        EXPECT_FALSE(IsIconic(Main()));
        RECT now = ScreenRect(Main());
        EXPECT_TRUE(EqualRect(&now, &before)) << "moved or resized";
        EXPECT_TRUE(pavix->MessageBoxes().empty());
    }

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
    WaitForPostedMessages();
    ExpectUnchanged(before);
}

TEST_F(Closing, EscapeKeyChangesNothing)
{
    RECT before = ScreenRect(Main());
    ASSERT_TRUE(BringToForeground(Main()));
    PressKey(VK_ESCAPE);
    WaitForPostedMessages();
    ExpectUnchanged(before);
}

TEST_F(Closing, EnterEndsTheProgram)
{
    PostKey(VK_RETURN);
    EXPECT_TRUE(pavix->WaitForExit());
}

TEST_F(Closing, EnterKeyEndsTheProgram)
{
    ASSERT_TRUE(BringToForeground(Main()));
    PressKey(VK_RETURN);
    EXPECT_TRUE(pavix->WaitForExit());
}

TEST_F(Closing, ExitEndsTheProgram)
{
    pavix->PostCommand(cmdExit);
    EXPECT_TRUE(pavix->WaitForExit());
}

}  // namespace
