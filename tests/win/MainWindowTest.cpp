// The main window in this process: start-up, the clock, keys, mouse, colours and the menu.
#include "InProcess.h"

#include "core/Disk.h"
#include "platform/UserSetting.h"

#include <objbase.h>

const std::string kCities = "Tokyo\t9.00\r\nUdaipur\t5.50\r\nHonolulu\t-10.00\r\nboston\t-5.00\n";

std::optional<std::string> SelectedEntry(CPavixDlg& d, int id)
{
    ListBox list(d.GetItem(id));
    if (list.GetCurSel() < 0)
        return std::nullopt;
    return list.GetText(list.GetCurSel());
}

std::vector<std::string> Entries(HWND window)
{
    ListBox list(window);
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back(list.GetText(i));
    return entries;
}

// The entries in the order a sorted list box gives them.
std::vector<std::string> SortedByAListBox(const std::vector<std::string>& entries)
{
    HWND sorted = ::CreateWindowA("LISTBOX", "", LBS_SORT, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    for (const std::string& entry : entries)
        ListBox(sorted).AddString(entry);
    std::vector<std::string> result = Entries(sorted);
    ::DestroyWindow(sorted);
    return result;
}

// The six labels after a tick, against the clock's texts for both selections at that second.
void ExpectSixTexts(CPavixDlg& d)
{
    LocalReading before = ReadLocalClock();
    d.Tick();
    LocalReading after = ReadLocalClock();
    while (before.second != after.second) {   // a tick in one second, read before and after
        before = after;
        d.Tick();
        after = ReadLocalClock();
    }
    const ClockTexts texts =
        BuildClockTexts(before, SelectedEntry(d, IDC_YOUR_CITY_LIST), SelectedEntry(d, IDC_DESTINATION_LIST));
    EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetText(), texts.yourCityTime);
    EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_DATE)).GetText(), texts.yourCityDate);
    EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_NAME)).GetText(), texts.yourCityName);
    EXPECT_EQ(Window(d.GetItem(IDC_DESTINATION_NAME)).GetText(), texts.destinationName);
    EXPECT_EQ(Window(d.GetItem(IDC_DESTINATION_DATE)).GetText(), texts.destinationDate);
    EXPECT_EQ(Window(d.GetItem(IDC_DESTINATION_TIME)).GetText(), texts.destinationTime);
}

// How often a window's text was set in this thread.
std::map<HWND, int> textsSet;
LRESULT CALLBACK CountTextsSet(int code, WPARAM w, LPARAM l)
{
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(l);
    if (call.message == WM_SETTEXT)
        ++textsSet[call.hwnd];
    return ::CallNextHookEx(nullptr, code, w, l);
}

// A change of nothing, which fails without the icon.
bool TrayIconPresent(HWND owner)
{
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

// Answers each window that the main window comes to own, in turn, with the next answer: a window
// that comes up elsewhere is never answered.
using Answer = std::function<void(HWND)>;
void AnswerInTurn(HWND main, std::vector<Answer> answers, std::vector<HWND> known = {})
{
    auto next = [=] { return Find(::GetCurrentProcessId(), 0, 0, main, known); };
    RunWhen(next, [=]() mutable {
        known.push_back(next());
        answers[0](known.back());
        if (answers.size() > 1)
            AnswerInTurn(main, {answers.begin() + 1, answers.end()}, known);
    });
}

// Moves down the shown menu to the item of command and chooses it, with keys: a real click could
// come late, into the next menu.
Answer ChooseItem(int command)
{
    return [=](HWND popup) {
        auto menu = HMENU(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (!(::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR))
                ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
            if (int(::GetMenuItemID(menu, i)) != command)
                continue;
            ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
            return;
        }
        ADD_FAILURE() << "no item for command " << command;
        ::EndMenu();
    };
}

// Posts a message to a window that holds control (0: any window).
Answer Post(int control, UINT message, WPARAM w)
{
    return [=](HWND window) {
        if (control) {
            EXPECT_NE(::GetDlgItem(window, control), nullptr) << "no control " << control;
        }
        ::PostMessageA(window, message, w, 0);
    };
}
const Answer escape = Post(0, WM_KEYDOWN, VK_ESCAPE);

// A press anywhere on About or Help closes it.
const Answer clickOnHelp = Post(IDC_HELP_TEXT, WM_LBUTTONDOWN, MK_LBUTTON);

// Help asked for inside Help opens no second one: were it open, the click would close only that.
void AskAgainThenClick(HWND help)
{
    ::SendMessageA(help, WM_HELP, 0, 0);
    clickOnHelp(help);
}

void OpenMenu(CPavixDlg& d)
{
    POINT at{10, 10};
    ::ClientToScreen(d.GetHwnd(), &at);
    d.Send(WM_CONTEXTMENU, WPARAM(d.GetHwnd()), MAKELPARAM(at.x, at.y));
}

// Right-clicks the window and chooses the item of command from the menu.
void Choose(CPavixDlg& d, int command)
{
    AnswerInTurn(d.GetHwnd(), {ChooseItem(command)});
    OpenMenu(d);
}

// F1 as real input: only that turns into a request for help, to the window in front.
void PressF1()
{
    ::keybd_event(VK_F1, 0, 0, 0);
    ::keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
}

void PressF1(CPavixDlg&)
{
    PressF1();
}

// Selects another city in the first list, and waits for the clock to show it: ticks come only
// when no posted message waits, so everything posted before has been handled then.
bool SelectUdaipurAndWaitForTheClock(CPavixDlg& d)
{
    const char* udaipur = "Udaipur 5.50";
    ListBox list(d.GetItem(IDC_YOUR_CITY_LIST));
    list.SetCurSel(int(list.Send(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(udaipur))));
    return WaitUntil([&] { return Window(d.GetItem(IDC_YOUR_CITY_NAME)).GetText() == udaipur; });
}

// Both lists hold every entry in the order of a sorted list box, with the first one selected.
TEST(MainWindow, ListsTheEntriesSortedWithTheFirstSelected)
{
    const std::vector<std::string> entries = {"Tokyo 9.00",         "boston -5.00",     "co-op 2.00",
                                              "Cote d'Ivoire 0.00", "st. john's -3.50", "zurich 1.00",
                                              "Zurich 1.00"};
    std::string database;
    for (const std::string& entry : entries)
        database += entry + "\r\n";
    RunApp(database, [&](CPavixDlg& d) {
        EXPECT_EQ(Entries(d.GetItem(IDC_YOUR_CITY_LIST)), SortedByAListBox(entries));
        EXPECT_EQ(Entries(d.GetItem(IDC_DESTINATION_LIST)), SortedByAListBox(entries));
        EXPECT_EQ(ListBox(d.GetItem(IDC_YOUR_CITY_LIST)).GetCurSel(), 0);
        EXPECT_EQ(ListBox(d.GetItem(IDC_DESTINATION_LIST)).GetCurSel(), 0);
    });
}

TEST(MainWindow, TheClockFollowsANewSelection)
{
    RunApp(kCities, [](CPavixDlg& d) {
        ASSERT_TRUE(SelectUdaipurAndWaitForTheClock(d));
        ExpectSixTexts(d);
    });
}

// Each text set repaints its label: ten times a second that would be flicker and idle work.
TEST(MainWindow, ATickSetsOnlyTheLabelsWhoseTextChanged)
{
    RunApp(kCities, [](CPavixDlg& d) {
        d.Tick();
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CountTextsSet, nullptr, ::GetCurrentThreadId());
        for (int tick = 0; tick < 5; ++tick)
            d.Tick();
        ::UnhookWindowsHookEx(hook);
        EXPECT_EQ(textsSet[d.GetItem(IDC_YOUR_CITY_NAME)], 0);
        EXPECT_EQ(textsSet[d.GetItem(IDC_DESTINATION_NAME)], 0);
    });
}

// The lists stay empty, the clock shows the local time for both, and the time labels keep the
// dialog's font, which only a load changes. A file held by another program is tried again for 3 s
// first.
TEST(MainWindow, SaysWhyTheDatabaseCouldNotBeLoaded)
{
    struct Row {
        const char* what;
        std::optional<std::string> database;
        bool folder = false;   // a folder of the database's name
        bool held = false;   // by another program until the window is up
        std::string box;
    };
    const Row rows[] = {
        {.what = "empty", .database = "", .box = "Read Record..: File Empty.."},
        {.what = "missing", .box = "Read Record..: City Database wtcmain.pvx Not Found !!"},
        {.what = "a folder of that name",
         .folder = true,
         .box = "Read Record..: City Database wtcmain.pvx Could Not Be Read !!"},
        {.what = "held all along",
         .database = kCities,
         .held = true,
         .box = "Read Record..: City Database wtcmain.pvx Is Busy, Try Again !!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HANDLE holder = nullptr;
        RunApp(
            row.database,
            [&](CPavixDlg& d) {
                EXPECT_EQ(boxes, std::vector{row.box});
                EXPECT_EQ(ListBox(d.GetItem(IDC_YOUR_CITY_LIST)).GetCount(), 0);
                EXPECT_EQ(ListBox(d.GetItem(IDC_DESTINATION_LIST)).GetCount(), 0);
                ExpectSixTexts(d);
                EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetFont(), d.GetFont());
                ::CloseHandle(holder);
                ::RemoveDirectoryA(kCityDatabaseName);
            },
            [&] {
                if (row.folder)
                    ::CreateDirectoryA(kCityDatabaseName, nullptr);
                if (row.held)
                    holder = HoldTheFile();
            });
    }
}

// Another apartment holds the thread, so the component runtime cannot start: the program says so
// under its own name and opens no window (were one open, Run would not return).
TEST(MainWindow, AStartWhereTheComponentRuntimeCannotStartSaysSo)
{
    WatchBoxes();
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    theApp.Run(::GetModuleHandleA(nullptr), "");
    ::CoUninitialize();
    EXPECT_EQ(boxes,
              std::vector<std::string>{"win_tests: OLE initialization failed.  Make sure that the OLE "
                                       "libraries are the correct version."});
}

TEST(MainWindow, LoadsADatabaseThatAnotherProgramHeldForAMoment)
{
    const DWORD aMoment = 500;
    std::thread holder;
    RunApp(
        kCities,
        [&](CPavixDlg& d) {
            EXPECT_EQ(boxes, std::vector<std::string>{});
            EXPECT_EQ(ListBox(d.GetItem(IDC_YOUR_CITY_LIST)).GetCount(), 4);
            holder.join();
        },
        [&] { holder = HoldTheFile(aMoment); });
}

// A main window over a disk in memory that fails after its first read.
struct MainOnFailingDisk : CPavixDlg {
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        file.Attach(std::make_unique<MemFile>(disk));
        return TextFile::openOk;
    }

    MemDisk disk{.bytes = kCities, .chunk = std::string("Tokyo\t9.00\r\n").size(), .reads = 1};
};

TEST(MainWindow, AReadErrorPartWaySaysSoAndKeepsTheLinesReadBeforeIt)
{
    TempDir dir;
    WatchBoxes();
    MainOnFailingDisk main;
    ASSERT_TRUE(main.Create());
    EXPECT_EQ(
        boxes,
        std::vector<std::string>{"Read Record..: City Database wtcmain.pvx Could Not Be Read Completely !!"});
    EXPECT_EQ(Entries(main.GetItem(IDC_YOUR_CITY_LIST)), std::vector<std::string>{"Tokyo 9.00"});
    EXPECT_EQ(Entries(main.GetItem(IDC_DESTINATION_LIST)), std::vector<std::string>{"Tokyo 9.00"});
}

TEST(MainWindow, PaintsYellowOnBlackWithListsInTheSystemColours)
{
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF yellow = RGB(255, 255, 0);
    const COLORREF windowBack = ::GetSysColor(COLOR_WINDOW);
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    struct {
        const char* what;
        UINT message;
        int control;
        COLORREF back;
        COLORREF text;
    } cases[] = {
        {"window", WM_CTLCOLORDLG, 0, black, yellow},
        {"label", WM_CTLCOLORSTATIC, IDC_YOUR_CITY_TIME, black, yellow},
        {"list", WM_CTLCOLORLISTBOX, IDC_YOUR_CITY_LIST, windowBack, windowText},
    };
    RunApp(kCities, [&](CPavixDlg& d) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            HDC dc = ::CreateCompatibleDC(nullptr);
            auto brush = HBRUSH(d.Send(c.message, WPARAM(dc), LPARAM(d.GetItem(c.control))));
            LOGBRUSH fill{};
            ::GetObjectA(brush, sizeof fill, &fill);
            EXPECT_EQ(fill.lbColor, c.back);
            EXPECT_EQ(::GetBkColor(dc), c.back);   // behind the letters
            EXPECT_EQ(::GetTextColor(dc), c.text);
            ::DeleteDC(dc);
        }
    });
}

// Enter ends the program: the end-to-end tests end it so.
TEST(MainWindow, EscapeAndCloseRequestsLeaveTheWindowAsItIs)
{
    RunApp(kCities, [](CPavixDlg& d) {
        ::PostMessageA(d.GetItem(IDC_YOUR_CITY_LIST), WM_KEYDOWN, VK_ESCAPE, 1);
        d.Post(WM_CLOSE);
        d.Post(WM_SYSCOMMAND, SC_CLOSE);
        ASSERT_TRUE(SelectUdaipurAndWaitForTheClock(d));
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.IsEnded());
        EXPECT_FALSE(d.IsIconic());
    });
}

// The window has no caption: a press anywhere on it is made a press on the caption, where the
// mouse is.
TEST(MainWindow, APressOnTheWindowDragsIt)
{
    RunApp(kCities, [](CPavixDlg& d) {
        d.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
        MSG m{};
        EXPECT_TRUE(::PeekMessageA(&m, d.GetHwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(m.wParam, WPARAM(HTCAPTION));
        EXPECT_EQ(m.lParam, LPARAM(MAKELPARAM(3, 4)));
    });
}

// Each dialog opens over the main window by each road to it, closes as it should, and leaves
// the clock the active window again, even beside another program's window.
class DialogRoad : public testing::Test {
protected:
    static void SetUpTestSuite() { bystander = std::make_unique<Process>("", "C:\\windows\\notepad.exe"); }
    static void TearDownTestSuite() { bystander.reset(); }

    // Opens a dialog, answers each window that comes over the main window in turn, and checks
    // that all of them were answered and closed and that the main window is active after them.
    static void ExpectOverTheWindowAndActiveAfter(void (*open)(CPavixDlg& d), std::vector<Answer> answers)
    {
        ASSERT_NE(bystander->WaitFor(0), nullptr);
        RunApp(kCities, [&](CPavixDlg& d) {
            SetMessageBoxObserver(nullptr);
            ::SetForegroundWindow(d.GetHwnd());
            AnswerInTurn(d.GetHwnd(), answers);
            open(d);
            EXPECT_TRUE(WaitUntil(
                [&] { return pending.empty() && !Find(::GetCurrentProcessId(), 0, 0, d.GetHwnd()); }));
            EXPECT_EQ(::GetForegroundWindow(), d.GetHwnd());
        });
    }

    static inline std::unique_ptr<Process> bystander;
};

// About alone has the rule and the icon; a press anywhere closes it.
TEST_F(DialogRoad, AboutFromTheMenu)
{
    ExpectOverTheWindowAndActiveAfter(
        OpenMenu, {ChooseItem(ID_MENU_ABOUT), Post(IDC_ABOUT_RULE, WM_LBUTTONDOWN, MK_LBUTTON)});
}

TEST_F(DialogRoad, HelpFromTheMenuOpensOnce)
{
    ExpectOverTheWindowAndActiveAfter(OpenMenu, {ChooseItem(ID_MENU_HELP), AskAgainThenClick});
}

// F1 asks the window for help, which asks the program with the Help command.
TEST_F(DialogRoad, HelpFromF1)
{
    ExpectOverTheWindowAndActiveAfter(PressF1, {clickOnHelp});
}

// Register, its message box, and the fresh dialog after it, which Exit closes.
TEST_F(DialogRoad, RegisterCityAndItsMessageBox)
{
    ExpectOverTheWindowAndActiveAfter(
        OpenMenu,
        {ChooseItem(ID_MENU_REGISTER_CITY), Post(IDC_HOURS_LIST, WM_COMMAND, IDOK),
         Post(kMessageBoxText, WM_COMMAND, IDOK), Post(IDC_HOURS_LIST, WM_COMMAND, IDCANCEL)});
}

// Help asked for with F1 in Register City opens over it, which is disabled meanwhile.
TEST_F(DialogRoad, HelpFromF1InRegisterCityOpensOverIt)
{
    const Answer helpOverRegister = [](HWND reg) {
        AnswerInTurn(reg, {[reg](HWND help) {
                         EXPECT_FALSE(::IsWindowEnabled(reg));
                         clickOnHelp(help);
                         ::PostMessageA(reg, WM_COMMAND, IDCANCEL, 0);
                     }});
        PressF1();
    };
    ExpectOverTheWindowAndActiveAfter(OpenMenu, {ChooseItem(ID_MENU_REGISTER_CITY), helpOverRegister});
}

TEST_F(DialogRoad, TheMenuClosedWithEscape)
{
    ExpectOverTheWindowAndActiveAfter(OpenMenu, {escape});
}

// A dialog with no place of its own opens centred on the window it opens over, wherever that is.
TEST(DialogPlace, AboutOpensCentredOnTheWindow)
{
    RunApp(kCities, [](CPavixDlg& d) {
        ::SetWindowPos(d.GetHwnd(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT about{};
        const Answer noteThenClose = [&about](HWND dialog) {
            ::GetWindowRect(dialog, &about);
            Post(IDC_ABOUT_RULE, WM_LBUTTONDOWN, MK_LBUTTON)(dialog);
        };
        AnswerInTurn(d.GetHwnd(), {ChooseItem(ID_MENU_ABOUT), noteThenClose});
        OpenMenu(d);
        ASSERT_TRUE(WaitUntil([] { return pending.empty(); }));
        RECT main{};
        ::GetWindowRect(d.GetHwnd(), &main);
        EXPECT_NEAR((about.left + about.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((about.top + about.bottom) / 2, (main.top + main.bottom) / 2, 1);
    });
}

// Shift+F10 and the menu key open the menu under the focused list's selected entry, or in the
// middle of the window.
TEST(MainWindow, TheKeyboardOpensTheMenuUnderTheSelectedEntryOrInTheMiddle)
{
    RunApp(kCities, [](CPavixDlg& d) {
        struct Row {
            std::vector<BYTE> keys;
            int focus;   // the control with the focus
            int entry;   // the entry selected there if it is a list
        };
        const std::vector<Row> rows = {
            {{VK_SHIFT, VK_F10}, IDC_YOUR_CITY_LIST, 2},
            {{VK_APPS}, IDC_DESTINATION_LIST, 3},
            {{VK_APPS}, IDC_YOUR_CITY_TIME, 0},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.focus);
            ::SetForegroundWindow(d.GetHwnd());
            ::SetFocus(d.GetItem(row.focus));
            ListBox list(row.focus == IDC_YOUR_CITY_TIME ? nullptr : d.GetItem(row.focus));
            RECT place = d.GetClientRect();
            RECT menu{};
            list.SetCurSel(row.entry);
            if (list && list.GetItemRect(row.entry, place))
                place.top = place.bottom;
            AnswerInTurn(d.GetHwnd(), {[&](HWND popup) {
                             ::GetWindowRect(popup, &menu);
                             escape(popup);
                         }});
            for (DWORD up : {0, KEYEVENTF_KEYUP})
                for (BYTE key : row.keys)
                    ::keybd_event(key, 0, up, 0);
            EXPECT_TRUE(WaitUntil([] { return pending.empty(); }));
            POINT at{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
            ::ClientToScreen(list ? list.GetHwnd() : d.GetHwnd(), &at);
            EXPECT_NEAR((menu.left + menu.right) / 2, at.x, 1);
            EXPECT_EQ(menu.top, at.y);
        }
    });
}

TEST(MainWindow, MinimizeShowsTheWindowAsAnIconInTheTray)
{
    RunApp(kCities, [](CPavixDlg& d) {
        Choose(d, ID_MENU_MINIMIZE);
        EXPECT_TRUE(WaitUntil([&] { return d.IsIconic(); }));
        EXPECT_TRUE(TrayIconPresent(d.GetHwnd()));
    });
}

TEST(MainWindow, ExitRemovesTheTrayIconBeforeTheWindow)
{
    RunApp(kCities, [](CPavixDlg& d) {
        HWND main = d.GetHwnd();
        d.Send(WM_COMMAND, ID_MENU_MINIMIZE);
        d.Show(SW_RESTORE);
        EXPECT_TRUE(TrayIconPresent(main));   // the icon stays
        HHOOK hook = ::SetWindowsHookExA(WH_CBT, &NoteIconAtDestroy, nullptr, ::GetCurrentThreadId());
        iconAtDestroy = true;
        Choose(d, ID_MENU_EXIT);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(main); }));
        EXPECT_FALSE(iconAtDestroy);
        ::UnhookWindowsHookEx(hook);
    });
}

// The menu's items in order, each as its command and text, "[x]" after a checked one; a separator
// as "-".
std::vector<std::string> MenuItems(CPavixDlg& d)
{
    std::vector<std::string> items;
    AnswerInTurn(d.GetHwnd(), {[&](HWND popup) {
                     auto menu = HMENU(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                     for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                         char text[64] = "";
                         ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                         const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
                         const std::string item = std::to_string(::GetMenuItemID(menu, i)) + " " + text;
                         items.push_back(state & MF_SEPARATOR ? "-"
                                                              : item + (state & MF_CHECKED ? " [x]" : ""));
                     }
                     escape(popup);
                 }});
    OpenMenu(d);
    WaitUntil([] { return pending.empty(); });
    return items;
}

TEST(MainWindow, TheMenuOffersItsCommandsInOrder)
{
    WriteUserSetting("DaylightSaving", false);
    const std::vector<std::string> expected = {
        "101 About..",    "-",        "103 Register City..", "104 Help !!", "108 Daylight Saving Time", "-",
        "106 Minimize..", "107 Exit",
    };
    RunApp(kCities, [&](CPavixDlg& d) { EXPECT_EQ(MenuItems(d), expected); });
}

// Daylight Saving Time is off at first; chosen, it is checked, and stays so for the next start.
TEST(MainWindow, DaylightSavingTimeChecksAndHoldsForTheNextStart)
{
    const std::string off = "108 Daylight Saving Time";
    const std::string on = off + " [x]";
    const size_t item = 4;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Pavix");
    RunApp(kCities, [&](CPavixDlg& d) {
        EXPECT_EQ(MenuItems(d).at(item), off);
        d.Send(WM_COMMAND, ID_MENU_DAYLIGHT_SAVING);
        EXPECT_EQ(MenuItems(d).at(item), on);
    });
    RunApp(kCities, [&](CPavixDlg& d) {
        EXPECT_EQ(MenuItems(d).at(item), on);
        d.Send(WM_COMMAND, ID_MENU_DAYLIGHT_SAVING);
    });
    RunApp(kCities, [&](CPavixDlg& d) { EXPECT_EQ(MenuItems(d).at(item), off); });
}
