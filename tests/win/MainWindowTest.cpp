// The main window, created in this process on a database in a scratch directory. What the
// end-to-end suite sees from outside (sorting, clock texts, keys, tray, drag, colours) is not
// repeated here; these are the states and messages it cannot reach.
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

// A stand-in for the automation object: only its address is ever looked at.
alignas(16) unsigned char dummyProxy[256];

class MainWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxCapture boxes;
    std::unique_ptr<CPavixDlg> dialog;

    // Creates the main window on a database with exactly these bytes, or on none.
    void Open(const std::string* bytes)
    {
        if (bytes)
            dir.Write("wtcmain.pvx", *bytes);
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
    HFONT FontOf(HWND window) const { return reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)); }
};

const std::string kThreeCities = "Tokyo\t9.00\r\nboston\t-5.00\r\nCairo\t2.00\r\n";

TEST_F(MainWindowTest, EmptyOrMissingFileIsReportedAndLeavesTheListsEmpty)
{
    const std::string empty;
    for (const std::string* bytes : {&empty, static_cast<const std::string*>(nullptr)}) {
        SCOPED_TRACE(bytes ? "empty" : "missing");
        ::DeleteFileA("wtcmain.pvx");
        boxes.boxes.clear();
        Open(bytes);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        if (bytes) {
            EXPECT_EQ(boxes.boxes[0].first, "File Empty..");
        } else {
            EXPECT_NE(boxes.boxes[0].first.find("wtcmain.pvx"), std::string::npos) << boxes.boxes[0].first;
            EXPECT_EQ(::GetFileAttributesA("wtcmain.pvx"), INVALID_FILE_ATTRIBUTES) << "no file is created";
        }
        EXPECT_EQ(boxes.boxes[0].second, "Read Record..");
        for (int id : {IDC_YOUR_CITY_LIST, IDC_DESTINATION_LIST}) {
            EXPECT_EQ(ListBox(Item(id)).GetCount(), 0);
            EXPECT_EQ(ListBox(Item(id)).GetCurSel(), -1);
        }
        // Without a database the time labels keep the dialog font.
        HFONT dialogFont = FontOf(Hwnd());
        ASSERT_NE(dialogFont, nullptr);
        EXPECT_EQ(FontOf(Item(IDC_YOUR_CITY_TIME)), dialogFont);
        EXPECT_EQ(FontOf(Item(IDC_DESTINATION_TIME)), dialogFont);

        // A tick with nothing selected: no city, and the local time twice.
        LocalReading before = Now();
        dialog->Tick();
        LocalReading after = Now();
        const std::string time = TextOf(Item(IDC_YOUR_CITY_TIME));
        EXPECT_TRUE(time == BuildClockTexts(before, std::nullopt, std::nullopt).yourCityTime ||
                    time == BuildClockTexts(after, std::nullopt, std::nullopt).yourCityTime) << time;
        EXPECT_EQ(TextOf(Item(IDC_DESTINATION_TIME)), time);
        EXPECT_EQ(TextOf(Item(IDC_DESTINATION_DATE)), TextOf(Item(IDC_YOUR_CITY_DATE)));
        EXPECT_EQ(TextOf(Item(IDC_YOUR_CITY_NAME)), "");
        EXPECT_EQ(TextOf(Item(IDC_DESTINATION_NAME)), "");
        dialog->DestroyWindow();
        dialog.reset();
    }
}

TEST_F(MainWindowTest, OkEndsOrHidesCloseHidesOnlyForAnAutomationClientCancelDoesNothing)
{
    for (bool client : {false, true}) {
        SCOPED_TRACE(client ? "with a client" : "without a client");
        Open(&kThreeCities);
        if (client)
            dialog->m_pAutomationProxy = reinterpret_cast<CPavixDlgAutoProxy*>(dummyProxy);
        dialog->Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        EXPECT_TRUE(::IsWindowVisible(Hwnd()));
        dialog->Send(WM_CLOSE);
        EXPECT_EQ(::IsWindowVisible(Hwnd()) != FALSE, !client);
        dialog->Show(SW_SHOW);
        dialog->Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        EXPECT_EQ(dialog->IsEnded(), !client);
        EXPECT_TRUE(::IsWindow(Hwnd()));
        if (client) {
            EXPECT_FALSE(::IsWindowVisible(Hwnd()));
        }
        TearDown();
    }
}

TEST_F(MainWindowTest, MinimizeAddsTheIconAndExitRemovesItWithTheWindow)
{
    Open(&kThreeCities);
    HWND hwnd = Hwnd();
    ASSERT_FALSE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    // Twice: the second Minimize must not fail for an icon that is already there.
    for (int i = 0; i < 2; ++i) {
        dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
        EXPECT_TRUE(::IsIconic(hwnd));
        EXPECT_TRUE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
        dialog->Show(SW_RESTORE);
    }
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    EXPECT_FALSE(dialog->DestroyWindow()) << "a second destruction finds nothing to do";
}

TEST_F(MainWindowTest, LeftPressOnTheBackgroundOrALabelStartsAWindowMove)
{
    Open(&kThreeCities);
    MSG msg;
    while (::PeekMessageA(&msg, Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
    }
    RECT label;
    ::GetWindowRect(Item(IDC_YOUR_CITY_TIME), &label);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&label), 2);
    for (POINT at : {POINT{3, 3}, POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2}}) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        ::SendMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ASSERT_TRUE(::PeekMessageA(&msg, Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(msg.wParam, WPARAM(HTCAPTION));
        EXPECT_EQ(msg.lParam, MAKELPARAM(at.x, at.y));
    }
}

} // namespace

// The window orders the entries itself (by sort keys) and inserts them at the end; the result
// must be the order a sorted list box makes of the same entries on its own.
TEST_F(MainWindowTest, ListsHoldTheOrderASortedListBoxWouldMake)
{
    const std::vector<std::string> entries = {
        "st. john's -3.50", "Saint-Denis 4.00", "SAO PAULO -3.00", "sao tome 0.00", "Ho Chi Minh 7.00",
        "ho-chi-minh 7.00", "10th Street 1.00", "9 Mile -1.00", "O'Higgins -4.00", "Ohio -5.00",
        "Zurich 1.00", "zurich 1.00", "_under 0.00", "Cote d'Ivoire 0.00", "co-op 2.00"};
    std::string bytes;
    for (const std::string& entry : entries)
        bytes += entry + "\r\n";
    Open(&bytes);

    HWND reference = ::CreateWindowA("LISTBOX", "", LBS_SORT, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(reference);
    for (const std::string& entry : entries)
        ::SendMessageA(reference, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const ListBox expected(reference);
    for (int id : {IDC_YOUR_CITY_LIST, IDC_DESTINATION_LIST}) {
        const ListBox list(Item(id));
        ASSERT_EQ(list.GetCount(), expected.GetCount());
        for (int i = 0; i < expected.GetCount(); ++i)
            EXPECT_EQ(list.GetText(i), expected.GetText(i)) << "list " << id << ", entry " << i;
    }
    ::DestroyWindow(reference);
}
