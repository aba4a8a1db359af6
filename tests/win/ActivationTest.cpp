// The clock is the active window again when a dialog, a message box or the menu closes, even
// beside another program's window; the keyboard opens the menu.
#include "InProcess.h"

// Answers each window that the main window comes to own, in turn, with the next answer.
void AnswerInTurn(HWND main, std::vector<std::function<void(HWND)>> answers, std::vector<HWND> known = {})
{
    auto next = [=] { return Find(::GetCurrentProcessId(), 0, 0, main, known); };
    RunWhen(next, [=]() mutable {
        known.push_back(next());
        answers[0](known.back());
        if (answers.size() > 1)
            AnswerInTurn(main, {answers.begin() + 1, answers.end()}, known);
    });
}
auto Post(UINT message, WPARAM w)
{
    return [=](HWND window) { ::PostMessageA(window, message, w, 0); };
}

TEST(Activation, TheClockIsActiveAgainAfterEachDialogMessageBoxAndTheMenuBesideAnotherProgram)
{
    Process bystander("", "C:\\windows\\notepad.exe");
    ASSERT_TRUE(bystander.WaitFor(0));
    RunApp("Udaipur\t5.50\r\n", [](CPavixDlg& d) {
        SetMessageBoxObserver(nullptr);
        const auto ok = Post(WM_COMMAND, IDOK), cancel = Post(WM_COMMAND, IDCANCEL);
        RECT client = d.GetClientRectOnScreen();
        struct Row {
            UINT message;
            WPARAM command;
            std::vector<std::function<void(HWND)>> answers;
        };
        for (const Row& row : std::vector<Row>{{WM_COMMAND, ID_MENU_ABOUT, {cancel}},
                                               {WM_COMMAND, ID_MENU_HELP, {cancel}},
                                               {WM_COMMAND, ID_MENU_REGISTER_CITY, {ok, ok, cancel}},
                                               {WM_CONTEXTMENU, 0, {Post(WM_KEYDOWN, VK_ESCAPE)}}}) {
            SCOPED_TRACE(row.command);
            ::SetForegroundWindow(d.GetHwnd());
            AnswerInTurn(d.GetHwnd(), row.answers);
            d.Send(row.message, row.command,
                   MAKELPARAM(client.left + 9, client.top + 9));   // the menu's point
            EXPECT_TRUE(pending.empty());
            EXPECT_EQ(::GetForegroundWindow(), d.GetHwnd());
        }
    });
}

TEST(KeyboardMenu, OpensUnderTheFocusedListsSelectedEntryOrInTheMiddleOfTheWindow)
{
    RunApp("Tokyo\t9.00\r\nUdaipur\t5.50\r\nHonolulu\t-10.00\r\nBoston\t-5.00\n", [](CPavixDlg& d) {
        struct Row {
            std::vector<BYTE> keys;
            int focus, entry;   // the control with the focus, and the entry selected there if it is a list
        };
        for (const Row& row : std::vector<Row>{{{VK_SHIFT, VK_F10}, IDC_YOUR_CITY_LIST, 2},
                                               {{VK_APPS}, IDC_DESTINATION_LIST, 3},
                                               {{VK_APPS}, IDC_YOUR_CITY_TIME, 0}}) {
            SCOPED_TRACE(row.focus);
            ::SetForegroundWindow(d.GetHwnd());
            ::SetFocus(d.GetItem(row.focus));
            ListBox list(row.focus == IDC_YOUR_CITY_TIME ? nullptr : d.GetItem(row.focus));
            RECT place = d.GetClientRect(), menu{};
            list.SetCurSel(row.entry);
            if (list && list.GetItemRect(row.entry, place))
                place.top = place.bottom;
            AnswerInTurn(d.GetHwnd(), {[&](HWND popup) {
                             ::GetWindowRect(popup, &menu);
                             ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                         }});
            for (DWORD up : {0, KEYEVENTF_KEYUP})
                for (BYTE key : row.keys)
                    ::keybd_event(key, 0, up, 0);
            EXPECT_TRUE(Pump([] { return pending.empty(); }));
            POINT at{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
            ::ClientToScreen(list ? list.GetHwnd() : d.GetHwnd(), &at);
            EXPECT_NEAR((menu.left + menu.right) / 2, at.x, 1);
            EXPECT_EQ(menu.top, at.y);
        }
    });
}
