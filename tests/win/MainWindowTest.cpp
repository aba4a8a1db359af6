// The main window, created in this process on a database in a scratch directory.
#include "WinTestSupport.h"

#include "clock/WorldClock.h"
#include "platform/App.h"
#include "platform/ListBox.h"
#include "res/resource.h"
#include "ui/pavixDlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace wintest;

namespace {

LocalReading Now()
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool SameSecond(const LocalReading& a, const LocalReading& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

struct ShownTexts {
    std::string yourCityTime, yourCityDate, yourCityName, destinationName, destinationDate, destinationTime;
};

bool operator==(const ShownTexts& s, const ClockTexts& c)
{
    return s.yourCityTime == c.yourCityTime && s.yourCityDate == c.yourCityDate &&
           s.yourCityName == c.yourCityName && s.destinationName == c.destinationName &&
           s.destinationDate == c.destinationDate && s.destinationTime == c.destinationTime;
}

template <class Texts>
std::string Describe(const Texts& t)
{
    return "[" + t.yourCityTime + "|" + t.yourCityDate + "|" + t.yourCityName + "|" + t.destinationName + "|" +
           t.destinationDate + "|" + t.destinationTime + "]";
}

// A stand-in for the automation object: only its address is ever looked at.
alignas(16) unsigned char dummyProxy[256];

class MainWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxCapture boxes;
    std::unique_ptr<CPavixDlg> dialog;

    // Creates the main window on a database with exactly these bytes.
    void Open(const std::string& bytes)
    {
        dir.Write("wtcmain.pvx", bytes);
        OpenWithoutFile();
    }
    void OpenWithoutFile()
    {
        dialog = std::make_unique<CPavixDlg>();
        ASSERT_TRUE(Created(*dialog));
    }

    void TearDown() override
    {
        if (dialog) {
            // The destructor would write through a non-null automation pointer.
            dialog->m_pAutomationProxy = nullptr;
            dialog->DestroyWindow();
            dialog.reset();
        }
        App::Current()->SetMainWnd(nullptr);
        ForgetPendingActions();
        TakeQuit();
    }

    HWND Hwnd() const { return dialog->GetHwnd(); }
    HWND Item(int id) const { return dialog->GetItem(id); }
    ListBox YourCityList() const { return ListBox(Item(IDC_YOUR_CITY_LIST)); }
    ListBox DestinationList() const { return ListBox(Item(IDC_DESTINATION_LIST)); }

    static std::vector<std::string> Entries(const ListBox& list)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(list.GetText(i));
        return entries;
    }

    ShownTexts Shown() const
    {
        return {TextOf(Item(IDC_YOUR_CITY_TIME)),    TextOf(Item(IDC_YOUR_CITY_DATE)),
                TextOf(Item(IDC_YOUR_CITY_NAME)),    TextOf(Item(IDC_DESTINATION_NAME)),
                TextOf(Item(IDC_DESTINATION_DATE)),  TextOf(Item(IDC_DESTINATION_TIME))};
    }

    // Runs one tick and checks the six texts against the clock computed for the same entries
    // at the local time of the tick (either side of a second boundary).
    void ExpectTickShows(std::optional<std::string> yourCity, std::optional<std::string> destination)
    {
        LocalReading before = Now();
        dialog->Tick();
        LocalReading after = Now();
        ShownTexts shown = Shown();
        ClockTexts expected = BuildClockTexts(before, yourCity, destination);
        if (shown == expected)
            return;
        ClockTexts expectedAfter = BuildClockTexts(after, yourCity, destination);
        EXPECT_TRUE(shown == expectedAfter)
            << "shown " << Describe(shown) << "\nexpected " << Describe(expected)
            << (SameSecond(before, after) ? "" : " or " + Describe(expectedAfter));
    }

    HFONT DialogFont() const { return reinterpret_cast<HFONT>(::SendMessageA(Hwnd(), WM_GETFONT, 0, 0)); }
    HFONT FontOf(int id) const { return reinterpret_cast<HFONT>(::SendMessageA(Item(id), WM_GETFONT, 0, 0)); }
};

const std::string kThreeCities = "Tokyo\t9.00\r\nboston\t-5.00\r\nCairo\t2.00\r\n";

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(MainWindowTest, ListsHoldTheCitiesSortedWithoutRegardToCaseAndFirstSelected)
{
    Open(kThreeCities);
    const std::vector<std::string> expected{"boston -5.00", "Cairo 2.00", "Tokyo 9.00"};
    EXPECT_EQ(Entries(YourCityList()), expected);
    EXPECT_EQ(Entries(DestinationList()), expected);
    EXPECT_EQ(YourCityList().GetCurSel(), 0);
    EXPECT_EQ(DestinationList().GetCurSel(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainWindowTest, EntriesAreTheLinesWithTabsAsBlanks)
{
    // A last line without a line end, a blank-separated line, several tabs, an empty line, a
    // line feed alone, and two identical lines.
    Open(std::string("Cairo  2.00\nA\tB\t1.00\r\n\r\nParis\t1.00\r\nParis\t1.00\r\nHonolulu\t-10.00"));
    const std::vector<std::string> expected{"", "A B 1.00", "Cairo  2.00", "Honolulu -10.00", "Paris 1.00",
                                            "Paris 1.00"};
    EXPECT_EQ(Entries(YourCityList()), expected);
    EXPECT_EQ(Entries(DestinationList()), expected);
}

TEST_F(MainWindowTest, ListOrderIsTheListsOwnSortedOrder)
{
    // Entries go into the lists in an order worked out beforehand; it must be the order the
    // sorted list itself keeps, or later additions and searches in the list go wrong.
    const std::vector<std::string> lines{"Port-au-Prince\t-5.00", "Porto\t0.00",     "Port Louis\t4.00",
                                         "St. John's\t-3.50",     "Saint Denis\t4.00", "_Test\t1.00",
                                         "a'b\t1.00",             "ab\t2.00",        "Zz\t3.00",
                                         "zA\t3.00",              "10 Town\t1.00",   "9 Town\t1.00",
                                         "co-op\t1.00",           "coop\t1.50",      "Abu Dhabi\t4.00"};
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    Open(bytes);

    // The same entries added one by one to a sorted list box of the same kind.
    HWND sortedList = ::CreateWindowExA(0, "ListBox", "", WS_CHILD | LBS_SORT, 0, 0, 10, 10, Hwnd(), nullptr,
                                        nullptr, nullptr);
    ASSERT_TRUE(sortedList);
    ListBox sorted(sortedList);
    for (const std::string& line : lines) {
        std::string entry = line;
        for (char& c : entry)
            if (c == '\t')
                c = ' ';
        sorted.AddString(entry);
    }
    EXPECT_EQ(Entries(YourCityList()), Entries(sorted));
    EXPECT_EQ(Entries(DestinationList()), Entries(sorted));

    // And a further sorted addition lands where the list's own search puts it.
    int at = YourCityList().AddString("Port Moresby 10.00");
    int expectedAt = sorted.AddString("Port Moresby 10.00");
    EXPECT_EQ(at, expectedAt);
    ::DestroyWindow(sortedList);
}

TEST_F(MainWindowTest, EmptyFileReportsAndLeavesTheListsEmpty)
{
    Open(std::string());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].first, "File Empty..");
    EXPECT_EQ(boxes.boxes[0].second, "Read Record..");
    EXPECT_EQ(YourCityList().GetCount(), 0);
    EXPECT_EQ(DestinationList().GetCount(), 0);
    EXPECT_EQ(YourCityList().GetCurSel(), -1);
    EXPECT_EQ(DestinationList().GetCurSel(), -1);
}

TEST_F(MainWindowTest, EmptyFileTickShowsNoCityAndTheLocalTimeTwice)
{
    Open(std::string());
    ExpectTickShows(std::nullopt, std::nullopt);
    ShownTexts shown = Shown();
    EXPECT_EQ(shown.yourCityName, "");
    EXPECT_EQ(shown.destinationName, "");
    EXPECT_EQ(shown.destinationTime, shown.yourCityTime);
    EXPECT_EQ(shown.destinationDate, shown.yourCityDate);
    EXPECT_FALSE(shown.yourCityTime.empty());
}

TEST_F(MainWindowTest, MissingFileReportsAndLeavesTheListsEmpty)
{
    OpenWithoutFile();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].first.find("wtcmain.pvx"), std::string::npos) << boxes.boxes[0].first;
    EXPECT_EQ(boxes.boxes[0].second, "Read Record..");
    EXPECT_EQ(YourCityList().GetCount(), 0);
    EXPECT_EQ(DestinationList().GetCount(), 0);
    EXPECT_EQ(YourCityList().GetCurSel(), -1);
    EXPECT_EQ(::GetFileAttributesA("wtcmain.pvx"), INVALID_FILE_ATTRIBUTES) << "no file is created";
}

TEST_F(MainWindowTest, FileIsClosedAfterLoading)
{
    Open(kThreeCities);
    // Nothing holds it open: it can be deleted at once.
    EXPECT_TRUE(::DeleteFileA("wtcmain.pvx"));
}

TEST_F(MainWindowTest, TimeLabelsUseTheSystemFontWithADatabase)
{
    Open(kThreeCities);
    ASSERT_NE(DialogFont(), nullptr);
    EXPECT_EQ(FontOf(IDC_YOUR_CITY_TIME), nullptr);
    EXPECT_EQ(FontOf(IDC_DESTINATION_TIME), nullptr);
    for (int id : {IDC_YOUR_CITY_DATE, IDC_DESTINATION_DATE, IDC_YOUR_CITY_NAME, IDC_DESTINATION_NAME}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(FontOf(id), DialogFont());
    }
}

TEST_F(MainWindowTest, TimeLabelsKeepTheDialogFontWithoutADatabase)
{
    Open(std::string());
    ASSERT_NE(DialogFont(), nullptr);
    EXPECT_EQ(FontOf(IDC_YOUR_CITY_TIME), DialogFont());
    EXPECT_EQ(FontOf(IDC_DESTINATION_TIME), DialogFont());
}

TEST_F(MainWindowTest, WindowCarriesTheProgramIcon)
{
    Open(kThreeCities);
    HICON programIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM_ICON));
    ASSERT_NE(programIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Hwnd(), WM_GETICON, ICON_BIG, 0)), programIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Hwnd(), WM_GETICON, ICON_SMALL, 0)), programIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Hwnd(), WM_QUERYDRAGICON, 0, 0)), programIcon);
}

// ---------------------------------------------------------------------------------------------
// The clock tick

TEST_F(MainWindowTest, FirstSelectionShowsTheSameCityAndTimeInBothColumns)
{
    Open(kThreeCities);
    ExpectTickShows("boston -5.00", "boston -5.00");
    ShownTexts shown = Shown();
    EXPECT_EQ(shown.yourCityName, "boston -5.00");
    EXPECT_EQ(shown.destinationName, "boston -5.00");
    EXPECT_EQ(shown.destinationTime, shown.yourCityTime);
}

TEST_F(MainWindowTest, TickShowsEachColumnsSelectedCity)
{
    Open(kThreeCities);
    YourCityList().SetCurSel(2);     // Tokyo 9.00
    DestinationList().SetCurSel(0);  // boston -5.00
    ExpectTickShows("Tokyo 9.00", "boston -5.00");
    EXPECT_EQ(Shown().yourCityName, "Tokyo 9.00");
    EXPECT_EQ(Shown().destinationName, "boston -5.00");

    // The next tick reads the selections afresh.
    YourCityList().SetCurSel(0);
    DestinationList().SetCurSel(1);
    ExpectTickShows("boston -5.00", "Cairo 2.00");
    EXPECT_EQ(Shown().yourCityName, "boston -5.00");
    EXPECT_EQ(Shown().destinationName, "Cairo 2.00");
}

TEST_F(MainWindowTest, TickWithOneListWithoutSelection)
{
    Open(kThreeCities);
    DestinationList().SetCurSel(-1);
    ExpectTickShows("boston -5.00", std::nullopt);
    EXPECT_EQ(Shown().destinationName, "");
}

TEST_F(MainWindowTest, LongEntryIsShownWholeAndItsOffsetCounts)
{
    std::string name;
    while (name.size() < 195)
        name += "Abcdefghij";
    name.resize(195);
    const std::string entry = name + " 5.50";
    ASSERT_EQ(entry.size(), 200u);
    Open(name + "\t5.50\r\nZurich\t1.00\r\n");
    ASSERT_EQ(YourCityList().GetText(0), entry);
    YourCityList().SetCurSel(1);     // Zurich
    DestinationList().SetCurSel(0);  // the long one
    ExpectTickShows("Zurich 1.00", entry);
    EXPECT_EQ(Shown().destinationName, entry);

    YourCityList().SetCurSel(0);
    DestinationList().SetCurSel(1);
    ExpectTickShows(entry, "Zurich 1.00");
    EXPECT_EQ(Shown().yourCityName, entry);
}

TEST_F(MainWindowTest, TimerRunsTheClockOnItsOwn)
{
    Open(kThreeCities);
    ASSERT_EQ(TextOf(Item(IDC_YOUR_CITY_TIME)), "Static") << "no tick before the loop runs";
    EXPECT_TRUE(PumpUntil([&] { return TextOf(Item(IDC_YOUR_CITY_TIME)) != "Static"; }, 3000));
    EXPECT_EQ(Shown().yourCityName, "boston -5.00");
    // A new selection shows at a later tick without being asked for.
    YourCityList().SetCurSel(2);
    EXPECT_TRUE(PumpUntil([&] { return Shown().yourCityName == "Tokyo 9.00"; }, 3000));
}

// ---------------------------------------------------------------------------------------------
// Closing rules

TEST_F(MainWindowTest, EnterEndsTheWindow)
{
    Open(kThreeCities);
    dialog->Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_TRUE(dialog->IsEnded());
}

TEST_F(MainWindowTest, EscapeAndCloseRequestChangeNothing)
{
    Open(kThreeCities);
    dialog->Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    dialog->Send(WM_CLOSE);
    EXPECT_FALSE(dialog->IsEnded());
    EXPECT_TRUE(::IsWindow(Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(::IsIconic(Hwnd()));
}

TEST_F(MainWindowTest, WithAnAutomationClientCloseAndEnterOnlyHide)
{
    Open(kThreeCities);
    dialog->m_pAutomationProxy = reinterpret_cast<CPavixDlgAutoProxy*>(dummyProxy);

    dialog->Send(WM_CLOSE);
    EXPECT_FALSE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(dialog->IsEnded());
    EXPECT_TRUE(::IsWindow(Hwnd()));

    dialog->Show(SW_SHOW);
    dialog->Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_FALSE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(dialog->IsEnded());
    EXPECT_TRUE(::IsWindow(Hwnd()));

    // Escape stays a no-op: it does not even hide.
    dialog->Show(SW_SHOW);
    dialog->Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    dialog->m_pAutomationProxy = nullptr;
}

TEST_F(MainWindowTest, KeysInTheModalRunIgnoreEscapeAndEndOnEnter)
{
    dir.Write("wtcmain.pvx", kThreeCities);
    CPavixDlg main;
    App::Current()->SetMainWnd(&main);
    std::vector<std::string> seen;
    bool timedOut = false;
    INT_PTR result = RunModalWith(main, [&] {
        main.Post(WM_KEYDOWN, VK_ESCAPE);
        main.Post(WM_CLOSE);
        RunSoon([&] {
            seen.push_back(main.IsEnded() || !main.IsVisible() ? "changed" : "unchanged");
            ::PostMessageA(main.GetItem(IDC_YOUR_CITY_LIST), WM_KEYDOWN, VK_RETURN, 0);
        });
    }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(seen, std::vector<std::string>{"unchanged"});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(main.GetHwnd(), nullptr);
    App::Current()->SetMainWnd(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Minimize, Exit and the notification icon

TEST_F(MainWindowTest, MinimizeCommandMinimisesAndAddsTheIcon)
{
    Open(kThreeCities);
    ASSERT_FALSE(TrayIconPresent(Hwnd(), CPavixDlg::TRAY_ICON_ID));
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
    EXPECT_TRUE(::IsIconic(Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(Hwnd())) << "minimised, not hidden";
    EXPECT_TRUE(TrayIconPresent(Hwnd(), CPavixDlg::TRAY_ICON_ID));

    // Restored and minimised again: still there; showing or hiding leaves it alone.
    dialog->Show(SW_RESTORE);
    EXPECT_TRUE(TrayIconPresent(Hwnd(), CPavixDlg::TRAY_ICON_ID));
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
    EXPECT_TRUE(::IsIconic(Hwnd()));
    EXPECT_TRUE(TrayIconPresent(Hwnd(), CPavixDlg::TRAY_ICON_ID));

    // The clock goes on while minimised.
    ::SetWindowTextA(Item(IDC_YOUR_CITY_NAME), "");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(Item(IDC_YOUR_CITY_NAME)) == "boston -5.00"; }, 3000));
}

// Records, at the moment the window is about to be destroyed, whether its icon is still up.
struct DestroyWatch {
    static inline HWND window = nullptr;
    static inline int destroyCalls = 0;
    static inline bool iconAtDestroy = false;
    static inline HHOOK hook = nullptr;

    DestroyWatch(HWND w)
    {
        window = w;
        destroyCalls = 0;
        iconAtDestroy = false;
        hook = ::SetWindowsHookExA(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DestroyWatch() { ::UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(w) == window) {
            ++destroyCalls;
            iconAtDestroy = TrayIconPresent(window, CPavixDlg::TRAY_ICON_ID);
        }
        return ::CallNextHookEx(hook, code, w, l);
    }
};

TEST_F(MainWindowTest, ExitRemovesTheIconBeforeDestroyingTheWindow)
{
    Open(kThreeCities);
    HWND hwnd = Hwnd();
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
    ASSERT_TRUE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    {
        DestroyWatch watch(hwnd);
        dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
        EXPECT_EQ(DestroyWatch::destroyCalls, 1);
        EXPECT_FALSE(DestroyWatch::iconAtDestroy) << "the icon must be gone before the window";
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(dialog->GetHwnd(), nullptr);
    EXPECT_FALSE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    // The second destruction, as at the end of a modal run, finds nothing to do.
    EXPECT_FALSE(dialog->DestroyWindow());
    EXPECT_EQ(TakeQuit(), 0) << "not the application's main window here";
}

TEST_F(MainWindowTest, ExitWithoutMinimizeDestroysTheWindow)
{
    Open(kThreeCities);
    HWND hwnd = Hwnd();
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(dialog->DestroyWindow());
}

TEST_F(MainWindowTest, ExitEndsTheModalRunOfTheMainWindow)
{
    dir.Write("wtcmain.pvx", kThreeCities);
    CPavixDlg main;
    App::Current()->SetMainWnd(&main);
    HWND hwnd = nullptr;
    bool timedOut = false;
    RunModalWith(main, [&] {
        hwnd = main.GetHwnd();
        main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
        main.Post(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
    }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    EXPECT_EQ(App::Current()->GetMainWnd(), nullptr);
    EXPECT_EQ(TakeQuit(), 1) << "the quit that ended the run is left for the program's end";
}

TEST_F(MainWindowTest, ExitWithAnAutomationClientStillDestroysTheWindow)
{
    Open(kThreeCities);
    HWND hwnd = Hwnd();
    dialog->m_pAutomationProxy = reinterpret_cast<CPavixDlgAutoProxy*>(dummyProxy);
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
    EXPECT_FALSE(::IsWindow(hwnd));
    dialog->m_pAutomationProxy = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Dragging and colours

TEST_F(MainWindowTest, LeftPressOnTheBackgroundStartsAWindowMove)
{
    Open(kThreeCities);
    TakeQuit();
    MSG drop;
    while (::PeekMessageA(&drop, Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
    }
    // The background, and a label (statics pass their clicks to the window).
    POINT label = CentreInParent(Item(IDC_YOUR_CITY_TIME));
    for (POINT at : {POINT{3, 3}, label}) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        ::SendMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        MSG msg;
        ASSERT_TRUE(::PeekMessageA(&msg, Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(msg.wParam, WPARAM(HTCAPTION));
        EXPECT_EQ(msg.lParam, MAKELPARAM(at.x, at.y));
        EXPECT_FALSE(::PeekMessageA(&msg, Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE));
    }
}

TEST_F(MainWindowTest, LeftPressOnAListSelectsAndDoesNotMove)
{
    Open(kThreeCities);
    HWND list = Item(IDC_YOUR_CITY_LIST);
    RECT item{};
    ASSERT_NE(::SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(YourCityList().GetCurSel(), 2);
    EXPECT_EQ(DestinationList().GetCurSel(), 0) << "the other list keeps its own selection";
    EXPECT_FALSE(Queued(Hwnd(), WM_NCLBUTTONDOWN));
}

TEST_F(MainWindowTest, WindowAndLabelsAreBlackAndYellowListsAreNot)
{
    Open(kThreeCities);
    CtlColors window = AskCtlColor(Hwnd(), WM_CTLCOLORDLG, Hwnd());
    ASSERT_TRUE(window.hasBrush);
    EXPECT_EQ(window.brush, kBlack);
    for (int id : {IDC_YOUR_CITY_TIME, IDC_DESTINATION_NAME}) {
        SCOPED_TRACE(id);
        CtlColors label = AskCtlColor(Hwnd(), WM_CTLCOLORSTATIC, Item(id));
        ASSERT_TRUE(label.hasBrush);
        EXPECT_EQ(label.brush, kBlack);
        EXPECT_EQ(label.text, kYellow);
    }
    CtlColors list = AskCtlColor(Hwnd(), WM_CTLCOLORLISTBOX, Item(IDC_YOUR_CITY_LIST));
    EXPECT_NE(list.brush, kBlack);
    EXPECT_NE(list.text, kYellow);
}

} // namespace
