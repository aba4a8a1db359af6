// What the main window looks like on screen, and moving it with the mouse.
#include "Fixture.h"
#include "Screen.h"

#include <optional>

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

TEST_F(Look, YellowLabelsOnABlackBackgroundAndWhiteLists)
{
    std::vector<std::pair<std::string, HWND>> labels;
    for (int id : {idYourCityName, idYourCityDate, idYourCityTime, idDestinationName, idDestinationDate,
                   idDestinationTime})
        labels.emplace_back("control " + std::to_string(id), Control(id));
    for (const char* text : {"YOUR CITY", "DESTINATION"})
        labels.emplace_back(text, LabelWithText(text));

    // A tick that sets a name repaints its label; a capture in between shows no text there.
    std::optional<Capture> shot;
    WaitUntil([&] {
        shot.emplace(ScreenRect(Main()));
        for (const auto& entry : labels)
            if (!entry.second || CountColours(*shot, ScreenRect(entry.second)).yellow < 10)
                return false;
        return true;
    }, 2000);
    const Capture& screen = *shot;
    for (const auto& [name, label] : labels) {
        ASSERT_NE(label, nullptr) << name;
        ColourCount c = CountColours(screen, ScreenRect(label));
        ASSERT_GT(c.total, 0) << name;
        EXPECT_GT(c.black, c.total / 2) << name << ": background not black";
        EXPECT_GE(c.yellow, 10) << name << ": no yellow text";
        EXPECT_EQ(c.blackToYellow, c.total) << name << ": colours other than black and yellow";
    }
    ColourCount margin = CountColours(screen, LeftMargin());
    ASSERT_GT(margin.total, 0);
    EXPECT_EQ(margin.black, margin.total);
    for (int id : {idYourCityList, idDestinationList}) {
        ColourCount list = CountColours(screen, ClientScreenRect(Control(id)));
        EXPECT_GT(list.white, list.total / 2) << "list " << id;
    }
}

// Pressing the background or a label and moving drags the window; pressing a list selects.
TEST_F(Look, DraggingTheBackgroundOrALabelMovesTheWindowAndAListDoesNot)
{
    RECT margin = LeftMargin();
    POINT grip{(margin.left + margin.right) / 2, (margin.top + margin.bottom) / 2};
    POINT clientGrip = grip;
    ScreenToClient(Main(), &clientGrip);
    ASSERT_EQ(ChildWindowFromPointEx(Main(), clientGrip, CWP_SKIPINVISIBLE), Main())
        << "the grip point is on a control";
    struct Drag {
        const char* what;
        POINT from;
        int dx, dy;
    };
    for (const Drag drag : {Drag{"background", grip, 40, 30}, Drag{"label", {}, -25, 20}}) {
        SCOPED_TRACE(drag.what);
        RECT before = ScreenRect(Main());
        POINT from = drag.from;
        if (drag.dx < 0) {  // the label moved with the window, so it is found afresh
            RECT label = ScreenRect(Control(idYourCityDate));
            from = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
        }
        DragWithMouse(from, drag.dx, drag.dy);
        RECT after{};
        EXPECT_TRUE(WaitUntil([&] {
            after = ScreenRect(Main());
            return after.left == before.left + drag.dx && after.top == before.top + drag.dy;
        }, 3000)) << "window at " << after.left << "," << after.top << ", was " << before.left << ","
                  << before.top;
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    }

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
