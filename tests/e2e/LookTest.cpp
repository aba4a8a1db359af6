// What the main window looks like on screen, and moving it with the mouse.
#include "Fixture.h"
#include "Screen.h"

using namespace e2e;

namespace {

class Look : public RunningPavix {
protected:
    void SetUp() override
    {
        RunningPavix::SetUp();
        if (HasFatalFailure())
            return;
        // Let the first ticks fill the labels and the window paint them.
        ASSERT_TRUE(WaitUntil([&] {
            return YellowTextHeight(Control(idDestinationTime)) > 0 &&
                   YellowTextHeight(Control(idDestinationName)) > 0;
        }));
    }

    HWND LabelWithText(const std::string& text) const
    {
        for (HWND c = GetWindow(Main(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (Text(c) == text)
                return c;
        return nullptr;
    }

    // A strip of bare background: from the window's left edge to the city and time labels.
    RECT LeftMargin() const
    {
        RECT client = ClientScreenRect(Main());
        RECT name = ScreenRect(Control(idYourCityName));
        RECT time = ScreenRect(Control(idYourCityTime));
        return RECT{client.left, name.top, name.left, time.bottom};
    }
};

TEST_F(Look, LabelsAreYellowOnBlack)
{
    std::vector<std::pair<std::string, HWND>> labels;
    for (int id : {idYourCityName, idYourCityDate, idYourCityTime, idDestinationName, idDestinationDate,
                   idDestinationTime})
        labels.emplace_back("control " + std::to_string(id), Control(id));
    for (const char* text : {"YOUR CITY", "DESTINATION"})
        labels.emplace_back(text, LabelWithText(text));

    Capture screen(ScreenRect(Main()));
    for (const auto& [name, label] : labels) {
        ASSERT_NE(label, nullptr) << name;
        ColourCount c = CountColours(screen, ScreenRect(label));
        ASSERT_GT(c.total, 0) << name;
        EXPECT_GT(c.black, c.total / 2) << name << ": background not black";
        EXPECT_GE(c.yellow, 10) << name << ": no yellow text";
        EXPECT_EQ(c.blackToYellow, c.total) << name << ": colours other than black and yellow";
    }
}

TEST_F(Look, BackgroundIsBlackAndListsStayWhite)
{
    Capture screen(ScreenRect(Main()));
    ColourCount margin = CountColours(screen, LeftMargin());
    ASSERT_GT(margin.total, 0);
    EXPECT_EQ(margin.black, margin.total);

    for (int id : {idYourCityList, idDestinationList}) {
        ColourCount list = CountColours(screen, ClientScreenRect(Control(id)));
        EXPECT_GT(list.white, list.total / 2) << "list " << id;
    }
}

TEST_F(Look, DraggingTheBackgroundMovesTheWindow)
{
    RECT before = ScreenRect(Main());
    RECT margin = LeftMargin();
    POINT grip{(margin.left + margin.right) / 2, (margin.top + margin.bottom) / 2};
    POINT clientGrip = grip;
    ScreenToClient(Main(), &clientGrip);
    ASSERT_EQ(ChildWindowFromPointEx(Main(), clientGrip, CWP_SKIPINVISIBLE), Main())
        << "the grip point is on a control";

    DragWithMouse(grip, 40, 30);
    RECT after{};
    EXPECT_TRUE(WaitUntil([&] {
        after = ScreenRect(Main());
        return after.left == before.left + 40 && after.top == before.top + 30;
    }, 3000)) << "window at " << after.left << "," << after.top << ", was " << before.left << ","
              << before.top;
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(Look, DraggingALabelMovesTheWindow)
{
    RECT before = ScreenRect(Main());
    RECT label = ScreenRect(Control(idYourCityDate));
    DragWithMouse({(label.left + label.right) / 2, (label.top + label.bottom) / 2}, -25, 20);
    EXPECT_TRUE(WaitUntil([&] {
        RECT after = ScreenRect(Main());
        return after.left == before.left - 25 && after.top == before.top + 20;
    }, 3000));
}

TEST_F(Look, PressingAListSelectsInsteadOfMoving)
{
    RECT before = ScreenRect(Main());
    HWND list = Control(idYourCityList);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    DragWithMouse({(item.left + item.right) / 2, (item.top + item.bottom) / 2}, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(list) == 2; }, 3000));
    RECT after = ScreenRect(Main());
    EXPECT_TRUE(EqualRect(&after, &before));
}

}  // namespace
