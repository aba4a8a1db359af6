// The main window in this process: start-up, the clock, keys, mouse, colours and the menu.
#include "InProcess.h"

const std::string kCities = "Tokyo\t9.00\r\nUdaipur\t5.50\r\nHonolulu\t-10.00\r\nboston\t-5.00\n";

// The six labels after a tick, against the clock's texts for both selections at that second.
void ExpectSixTexts(CPavixDlg& d)
{
    auto selected = [&](int id) {
        ListBox list(d.GetItem(id));
        return list.GetCurSel() < 0 ? std::nullopt : std::optional(list.GetText(list.GetCurSel()));
    };
    LocalReading before, after;   // both in the same second
    do
        before = ReadLocalClock(), d.Tick(), after = ReadLocalClock();
    while (before.second != after.second);
    ClockTexts t = BuildClockTexts(before, selected(IDC_YOUR_CITY_LIST), selected(IDC_DESTINATION_LIST));
    for (auto [id, text] : {std::pair(IDC_YOUR_CITY_TIME, t.yourCityTime),
                            {IDC_YOUR_CITY_DATE, t.yourCityDate},
                            {IDC_YOUR_CITY_NAME, t.yourCityName},
                            {IDC_DESTINATION_NAME, t.destinationName},
                            {IDC_DESTINATION_DATE, t.destinationDate},
                            {IDC_DESTINATION_TIME, t.destinationTime}})
        EXPECT_EQ(Window(d.GetItem(id)).GetText(), text) << id;
}

bool TrayIconPresent(HWND owner)
{   // a change of nothing, which fails without the icon
    NOTIFYICONDATAA data{sizeof data, owner, CPavixDlg::TRAY_ICON_ID};
    return ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

// Whether the notification icon was still there as the main window went.
bool iconAtDestroy = false;
LRESULT CALLBACK NoteIconAtDestroy(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_DESTROYWND && ::GetDlgItem(HWND(w), IDC_YOUR_CITY_LIST))
        iconAtDestroy = TrayIconPresent(HWND(w));
    return ::CallNextHookEx(nullptr, code, w, l);
}

// Real input, through the system's queue: a left click in the middle of the window; F1, which
// only such input turns into a request for help.
void ClickOn(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r), ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0), ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}
void PressF1()
{
    ::keybd_event(VK_F1, 0, 0, 0), ::keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
}

// Right-clicks the window and chooses the item of command from the menu with the keyboard.
void Choose(CPavixDlg& d, int command)
{
    RunWhen([] { return ::IsWindowVisible(::FindWindowA("#32768", nullptr)); },
            [command] {
                HWND popup = ::FindWindowA("#32768", nullptr);
                auto menu = HMENU(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                    if (!(::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR))
                        ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
                    if (int(::GetMenuItemID(menu, i)) == command)
                        return (void)::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
                }
                ADD_FAILURE() << "no item for command " << command, ::EndMenu();
            });
    POINT at{10, 10};
    ::ClientToScreen(d.GetHwnd(), &at), d.Send(WM_CONTEXTMENU, WPARAM(d.GetHwnd()), MAKELPARAM(at.x, at.y));
}

TEST(MainWindow, StartsWithSortedListsTheFirstEntrySelectedTheSixTextsAndItsColours)
{
    struct Row {
        std::optional<std::string> database;
        std::vector<std::string> entries, boxes;
    };
    for (const Row& row :
         std::vector<Row>{{"Tokyo\t9.00\r\nboston -5.00\nco-op 2.00\r\nCote d'Ivoire 0.00\r\nst. john's "
                           "-3.50\r\nzurich 1.00\r\nZurich 1.00",
                           {"Tokyo 9.00", "boston -5.00", "co-op 2.00", "Cote d'Ivoire 0.00",
                            "st. john's -3.50", "zurich 1.00", "Zurich 1.00"},
                           {}},
                          {"", {}, {"Read Record..: File Empty.."}},
                          {std::nullopt, {}, {"Read Record..: City Database wtcmain.pvx Not Found !!"}}}) {
        RunApp(row.database, [&](CPavixDlg& d) {
            EXPECT_EQ(boxes, row.boxes);
            // In the order a sorted list box gives the same entries.
            ListBox sorted(
                ::CreateWindowA("LISTBOX", "", LBS_SORT, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
            for (const std::string& entry : row.entries)
                sorted.AddString(entry);
            for (int id : {IDC_YOUR_CITY_LIST, IDC_DESTINATION_LIST}) {
                ListBox list(d.GetItem(id));
                ASSERT_EQ(list.GetCount(), int(row.entries.size()));
                for (int i = 0; i < list.GetCount(); ++i)
                    EXPECT_EQ(list.GetText(i), sorted.GetText(i));
                EXPECT_EQ(list.GetCurSel(), row.entries.empty() ? -1 : 0);
            }
            // Loaded cities show their times in the larger system font.
            EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetFont() == nullptr, !row.entries.empty());
            ExpectSixTexts(d);
            const COLORREF black = RGB(0, 0, 0), yellow = RGB(255, 255, 0);   // yellow on black, white lists
            for (auto [message, id, back, text] :
                 {std::tuple<UINT, int, COLORREF, COLORREF>{WM_CTLCOLORDLG, 0, black, yellow},
                  {WM_CTLCOLORSTATIC, IDC_YOUR_CITY_TIME, black, yellow},
                  {WM_CTLCOLORLISTBOX, IDC_YOUR_CITY_LIST, ::GetSysColor(COLOR_WINDOW),
                   ::GetSysColor(COLOR_WINDOWTEXT)}}) {
                HDC dc = ::CreateCompatibleDC(nullptr);
                LOGBRUSH brush{};
                ::GetObjectA(HBRUSH(d.Send(message, WPARAM(dc), LPARAM(d.GetItem(id)))), sizeof brush,
                             &brush);
                EXPECT_EQ(std::pair(brush.lbColor, ::GetTextColor(dc)), std::pair(back, text)) << message;
                ::DeleteDC(dc);
            }
        });
    }
}

// Enter ends the program: the end-to-end tests end it so.
TEST(MainWindow, EscapeAndCloseDoNothingAPressDragsTheClockFollowsANewSelectionAndEachMenuCommandDoesItsJob)
{
    RunApp(kCities, [](CPavixDlg& d) {
        d.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
        MSG m{};   // a press on the missing caption, where the mouse is
        EXPECT_TRUE(::PeekMessageA(&m, d.GetHwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(std::pair(m.wParam, m.lParam), std::pair(WPARAM(HTCAPTION), LPARAM(MAKELPARAM(3, 4))));
        HWND list = d.GetItem(IDC_YOUR_CITY_LIST);
        ::PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1), d.Post(WM_CLOSE), d.Post(WM_SYSCOMMAND, SC_CLOSE);
        ListBox(list).SetCurSel(3);
        // Ticks come only when no posted message waits: this one comes after all of the above.
        ASSERT_TRUE(Pump([&] { return Window(d.GetItem(IDC_YOUR_CITY_NAME)).GetText() == "Udaipur 5.50"; }));
        EXPECT_TRUE(d.IsVisible() && !d.IsEnded() && !::IsIconic(d.GetHwnd()));
        ExpectSixTexts(d);
        HWND main = d.GetHwnd();
        ::SetWindowsHookExA(WH_CBT, &NoteIconAtDestroy, nullptr, ::GetCurrentThreadId());
        auto help = [](HWND text) {
            EXPECT_EQ(Window(text).GetText(), HelpText);
            ::SendMessageA(::GetParent(text), WM_HELP, 0, 0);   // F1 inside Help opens no second one
            ClickOn(text);
        };
        // The command chosen from the menu (none: F1 pressed; ID_HELP: posted); the control of the dialog it
        // opens, given to inDialog, which closes that dialog; or else when it is done.
        struct Row {
            const char* what;
            int command, control;
            std::function<void(HWND)> inDialog;
            std::function<bool()> done;
        };
        for (const Row& row : std::vector<Row>{
                 {"About", ID_MENU_ABOUT, 0xFFFF, ClickOn, {}},
                 {"Help", ID_MENU_HELP, IDC_HELP_TEXT, help, {}},
                 {"F1", 0, IDC_HELP_TEXT, help, {}},
                 {"the Help command from anywhere", ID_HELP, IDC_HELP_TEXT, help, {}},
                 {"Register City",
                  ID_MENU_REGISTER_CITY,
                  IDC_HOURS_LIST,
                  [](HWND list) { ::PostMessageA(::GetParent(list), WM_COMMAND, IDCANCEL, 0); },
                  {}},
                 {"Minimize",
                  ID_MENU_MINIMIZE,
                  0,
                  {},
                  [&] { return ::IsIconic(main) && TrayIconPresent(main); }},
                 {"Exit", ID_MENU_EXIT, 0, {}, [&] { return !::IsWindow(main) && !iconAtDestroy; }}}) {
            SCOPED_TRACE(row.what);
            auto dialog = [&] { return Find(::GetCurrentProcessId(), row.control, 0, main); };
            bool closed = false;
            if (row.inDialog)
                RunWhen(dialog, [&] { row.inDialog(::GetDlgItem(dialog(), row.control)), closed = true; });
            ::SetForegroundWindow(main);   // F1 goes to the window in front
            if (row.command == ID_HELP)
                d.Post(WM_COMMAND, ID_HELP);
            else if (row.command)
                Choose(d, row.command);
            else
                PressF1();
            EXPECT_TRUE(Pump(row.done ? row.done : [&] { return closed && !dialog(); }));
            EXPECT_EQ(boxes, std::vector<std::string>{});
            ::ShowWindow(main, SW_RESTORE);
        }
    });
}
