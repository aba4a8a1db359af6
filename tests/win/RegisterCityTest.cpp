// The Register City dialog in this process: its first state, what Register does to the city
// database and tells the user, and the run of fresh dialogs that ends with Exit.
#include "WinTestSupport.h"

#include "citydb/CityDatabase.h"
#include "platform/OsFile.h"
#include "res/resource.h"
#include "ui/PReg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace wintest;

namespace {

using Box = std::pair<std::string, std::string>;
using Boxes = std::vector<Box>;

constexpr int HOURS_0_00 = 0;
constexpr int HOURS_5_00 = 10;

Box Added(const std::string& name, const std::string& offset)
{
    return {"Record For City Of " + name + " [" + offset + "] Added !!", "New City Added !!"};
}

Box Found(const std::string& name, const std::string& offset)
{
    return {"Record For City Of " + name + " [" + offset + "] Already Exists !!", "Found !!"};
}

const Box missing{"Pavix Database Missing !!", "Error !!"};

std::string ReadDatabase()
{
    std::ifstream in(kCityDatabaseName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The visible Register City dialog of this thread, if one is open.
HWND OpenRegisterDialog()
{
    for (HWND window : ThreadPopups())
        if (::GetDlgItem(window, IDC_HOURS_LIST))
            return window;
    return nullptr;
}

BOOL CALLBACK NoteRegisterDialog(HWND window, LPARAM found)
{
    *reinterpret_cast<bool*>(found) |= ::GetDlgItem(window, IDC_HOURS_LIST) != nullptr;
    return TRUE;
}

// Hidden ones too: a dialog that was ended but never destroyed counts.
bool AnyRegisterDialogLeft()
{
    bool found = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteRegisterDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The real file underneath, but every append reaches the disk only in part and then fails,
// as on a full disk. Wine gives no real way to it: its byte-range locks do not stop writes,
// and a handle that denies writing keeps the file from being opened at all.
class ShortWritingFile final : public OsFile {
public:
    explicit ShortWritingFile(std::unique_ptr<OsFile> real) : m_real(std::move(real)) {}
    int64_t Length() override { return m_real->Length(); }
    bool Seek(int64_t offset) override { return m_real->Seek(offset); }
    long Read(char* buffer, size_t size) override { return m_real->Read(buffer, size); }
    bool Append(const char* data, size_t size) override
    {
        m_real->Append(data, size / 2);
        return false;
    }
    bool Truncate(int64_t length) override { return m_real->Truncate(length); }
    bool Lock(unsigned timeoutMs) override { return m_real->Lock(timeoutMs); }
    void Unlock() override { m_real->Unlock(); }

private:
    std::unique_ptr<OsFile> m_real;
};

class RegDlgOnFullDisk : public CPRegDlg {
protected:
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        std::unique_ptr<OsFile> real;
        if (OsFile::Open(kCityDatabaseName, true, real) != OsFile::ok)
            return TextFile::openFailed;
        file.Attach(std::make_unique<ShortWritingFile>(std::move(real)));
        return TextFile::openOk;
    }
};

class RegisterCity : public ::testing::Test {
protected:
    void TearDown() override
    {
        ForgetPendingActions();
        TakeQuit();
    }

    // Fills a fresh dialog as a user would, presses Register, and returns the boxes shown.
    template <class Dlg = CPRegDlg>
    Boxes Register(const std::string& name, bool behind = false, int hoursIndex = CPRegDlg::DEFAULT_HOURS_INDEX)
    {
        Dlg dialog;
        EXPECT_TRUE(dialog.Create());
        HWND window = dialog.GetHwnd();
        ::ShowWindow(window, SW_SHOW);
        ::SetDlgItemTextA(window, IDC_CITY_NAME_EDIT, name.c_str());
        if (behind)
            ::SendDlgItemMessageA(window, IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
        ::SendDlgItemMessageA(window, IDC_HOURS_LIST, LB_SETCURSEL, WPARAM(hoursIndex), 0);
        boxes.boxes.clear();
        ::SendDlgItemMessageA(window, IDOK, BM_CLICK, 0, 0);
        EXPECT_TRUE(dialog.IsEnded()) << "Register ends the dialog";
        return boxes.boxes;
    }

    TempDir dir;
    MessageBoxCapture boxes;
};

// ---- The dialog as it opens -------------------------------------------------------------------

TEST_F(RegisterCity, OpensOnUdaipurFiveAndAHalfHoursAhead)
{
    CPRegDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetHwnd();
    std::vector<std::string> values;
    for (int i = 0; i < int(::SendDlgItemMessageA(window, IDC_HOURS_LIST, LB_GETCOUNT, 0, 0)); ++i) {
        char text[16] = {};
        ::SendDlgItemMessageA(window, IDC_HOURS_LIST, LB_GETTEXT, i, LPARAM(text));
        values.push_back(text);
    }
    const std::vector<std::string> expected{"0.00",  "0.50",  "1.00",  "1.50", "2.00", "2.50", "3.00",
                                            "3.50",  "4.00",  "4.50",  "5.00", "5.50", "6.00", "6.50",
                                            "7.00",  "7.50",  "8.00",  "8.50", "9.00", "9.50", "10.00",
                                            "10.50", "11.00", "11.50", "12.00"};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(::SendDlgItemMessageA(window, IDC_HOURS_LIST, LB_GETCURSEL, 0, 0), 11);
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_AHEAD_RADIO), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_BEHIND_RADIO), BST_UNCHECKED);
    EXPECT_EQ(TextOf(dialog.GetItem(IDC_CITY_NAME_EDIT)), "Udaipur");

    // One group: checking either button unchecks the other.
    ::ShowWindow(window, SW_SHOW);
    ::SendDlgItemMessageA(window, IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_AHEAD_RADIO), BST_UNCHECKED);
    ::SendDlgItemMessageA(window, IDC_AHEAD_RADIO, BM_CLICK, 0, 0);
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_BEHIND_RADIO), BST_UNCHECKED);
    EXPECT_FALSE(dialog.IsEnded());
}

// ---- Register: searching and appending --------------------------------------------------------

TEST_F(RegisterCity, DefaultsAddUdaipurOnceAndThenFindIt)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    EXPECT_EQ(Register("Udaipur"), Boxes{Added("UDAIPUR", "5.50")});
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\n");
    EXPECT_EQ(Register("Udaipur"), Boxes{Found("UDAIPUR", "5.50")});
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\n");
}

TEST_F(RegisterCity, SearchIgnoresCaseAndStoresUpperCaseAToZOnly)
{
    dir.Write(kCityDatabaseName, "Udaipur\t5.50\r\n");
    EXPECT_EQ(Register("uDAIPUR"), Boxes{Found("UDAIPUR", "5.50")});
    // Letters beyond A to Z stay as typed, whatever the machine's locale would make of them.
    EXPECT_EQ(Register("san jos\xe9 \xe0"), Boxes{Added("SAN JOS\xe9 \xe0", "5.50")});
    EXPECT_EQ(ReadDatabase(), "Udaipur\t5.50\r\nSAN JOS\xe9 \xe0\t5.50\r\n");
}

TEST_F(RegisterCity, BehindIsARecordOfItsOwn)
{
    const std::string before = "Udaipur\t5.50\r\nGreenwich\t0.00\r\n";
    dir.Write(kCityDatabaseName, before);
    EXPECT_EQ(Register("Udaipur", true), Boxes{Added("UDAIPUR", "-5.50")});
    EXPECT_EQ(Register("Greenwich", true, HOURS_0_00), Boxes{Added("GREENWICH", "-0.00")});
    EXPECT_EQ(ReadDatabase(), before + "UDAIPUR\t-5.50\r\nGREENWICH\t-0.00\r\n");
}

TEST_F(RegisterCity, NameWithABlankIsFoundTheSecondTime)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    EXPECT_EQ(Register("New York", true, HOURS_5_00), Boxes{Added("NEW YORK", "-5.00")});
    EXPECT_EQ(Register("new york", true, HOURS_5_00), Boxes{Found("NEW YORK", "-5.00")});
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nNEW YORK\t-5.00\r\n");
}

TEST_F(RegisterCity, EmptyNameIsRegisteredLikeAnyOther)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    EXPECT_EQ(Register(""), (Boxes{{"Record For City Of  [5.50] Added !!", "New City Added !!"}}));
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\n\t5.50\r\n");
}

TEST_F(RegisterCity, LastLineWithoutLineEndIsEndedFirst)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00");
    EXPECT_EQ(Register("Udaipur"), Boxes{Added("UDAIPUR", "5.50")});
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\n");
}

// ---- Register: a database that is not there or cannot take the line --------------------------

TEST_F(RegisterCity, EmptyDatabaseIsReportedMissingAndGetsTheRecordAsItsFirstLine)
{
    dir.Write(kCityDatabaseName, "");
    EXPECT_EQ(Register("Udaipur"), (Boxes{missing, Added("UDAIPUR", "5.50")}));
    EXPECT_EQ(ReadDatabase(), "UDAIPUR\t5.50\r\n");
}

TEST_F(RegisterCity, MissingDatabaseIsReportedAndNotCreated)
{
    EXPECT_EQ(Register("Udaipur"), Boxes{missing});
    EXPECT_EQ(::GetFileAttributesA(kCityDatabaseName), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RegisterCity, DatabaseThatCannotBeOpenedForWritingIsReportedAsSuch)
{
    const std::string before = "Tokyo\t9.00\r\n";
    const Boxes denied{{"Pavix Database Cannot Be Written !!", "Error !!"}};
    dir.Write(kCityDatabaseName, before);
    // Another program holds the file and lets nobody write it meanwhile.
    HANDLE holder = ::CreateFileA(kCityDatabaseName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Register("Udaipur"), denied);
    ::CloseHandle(holder);

    // A read-only file, where the system enforces it (an administrator may write anyway).
    ::SetFileAttributesA(kCityDatabaseName, FILE_ATTRIBUTE_READONLY);
    HANDLE probe = ::CreateFileA(kCityDatabaseName, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        EXPECT_EQ(Register("Udaipur"), denied);
    else
        ::CloseHandle(probe);
    EXPECT_EQ(ReadDatabase(), before);
}

TEST_F(RegisterCity, FailedWriteLeavesTheDatabaseAsItWasAndSaysSo)
{
    const std::string before = "Tokyo\t9.00";
    dir.Write(kCityDatabaseName, before);
    EXPECT_EQ(Register<RegDlgOnFullDisk>("Udaipur"),
              (Boxes{{"Record For City Of UDAIPUR [5.50] Could Not Be Written !!", "Error !!"}}));
    EXPECT_EQ(ReadDatabase(), before);
}

// ---- Register while another copy of the program holds the database ----------------------------

TEST_F(RegisterCity, WaitsForAnotherHolderToLetGo)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    TextFile other;
    ASSERT_EQ(other.Open(kCityDatabaseName, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_TRUE(other.Lock(0));
    std::thread letGo([&other] {
        ::Sleep(300);
        other.Unlock();
    });
    EXPECT_EQ(Register("Udaipur"), Boxes{Added("UDAIPUR", "5.50")});
    letGo.join();
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\n");
}

TEST_F(RegisterCity, DatabaseHeldTooLongIsReportedBusyAndLeftAlone)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    TextFile other;
    ASSERT_EQ(other.Open(kCityDatabaseName, TextFile::modeRead), TextFile::openOk);
    ASSERT_TRUE(other.Lock(0));
    EXPECT_EQ(Register("Udaipur"), (Boxes{{"Pavix Database Is Busy, Try Again !!", "Error !!"}}));
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\n");
}

TEST_F(RegisterCity, DatabaseIsLetGoBeforeTheUserIsTold)
{
    // Another copy of the program must never wait for someone to read a message box.
    dir.Write(kCityDatabaseName, "");
    std::vector<bool> freeWhileShown;
    SetMessageBoxObserver([&](const std::string&, const std::string&) {
        TextFile other;
        freeWhileShown.push_back(other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk &&
                                 other.Lock(0));
    });
    Register("Udaipur");
    Register("Udaipur");
    EXPECT_EQ(freeWhileShown, (std::vector<bool>{true, true, true}));
}

// ---- Exit and the run of fresh dialogs --------------------------------------------------------

TEST_F(RegisterCity, ExitAndEscapeEndWithCancelAndLeaveTheDatabaseAlone)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    CPRegDlg byButton;
    const INT_PTR buttonResult =
        RunModalWith(byButton, [&] { ::SendDlgItemMessageA(byButton.GetHwnd(), IDCANCEL, BM_CLICK, 0, 0); });
    EXPECT_EQ(buttonResult, IDCANCEL);
    CPRegDlg byKey;
    const INT_PTR keyResult = RunModalWith(byKey, [] {
        HWND focus = ::GetFocus();
        ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
        ::PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    });
    EXPECT_EQ(keyResult, IDCANCEL);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\n");
}

// Registers one name in each fresh dialog, then presses Exit in the next one. Notes for every
// dialog whether it opened in its first state, and how deep in the stack its loop ran.
class Chain {
public:
    explicit Chain(std::vector<std::string> names) : m_names(std::move(names)) { Arm(); }

    int dialogs = 0;
    int notFresh = 0;
    std::set<uintptr_t> depths;

private:
    void Arm()
    {
        RunWhen([] { return OpenRegisterDialog() != nullptr; }, [this] { Act(); }, 5000);
    }

    void Act()
    {
        volatile char here = 0;
        depths.insert(reinterpret_cast<uintptr_t>(&here));
        HWND dialog = OpenRegisterDialog();
        if (!dialog)
            return;
        ++dialogs;
        HWND name = ::GetDlgItem(dialog, IDC_CITY_NAME_EDIT);
        if (TextOf(name) != "Udaipur" || ::GetFocus() != name ||
            ::SendDlgItemMessageA(dialog, IDC_HOURS_LIST, LB_GETCURSEL, 0, 0) != CPRegDlg::DEFAULT_HOURS_INDEX ||
            ::IsDlgButtonChecked(dialog, IDC_AHEAD_RADIO) != BST_CHECKED)
            ++notFresh;
        if (m_next == m_names.size()) {
            ::SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
            return;
        }
        ::SetWindowTextA(name, m_names[m_next++].c_str());
        Arm();
        ::SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    }

    std::vector<std::string> m_names;
    size_t m_next = 0;
};

TEST_F(RegisterCity, ExitAfterSeveralRegistrationsClosesEveryDialog)
{
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    Watchdog watchdog(20000);
    Chain chain({"Udaipur", "Cairo", "Udaipur"});
    CPRegDlg::RegisterCities();
    ASSERT_FALSE(watchdog.Fired());
    EXPECT_EQ(chain.dialogs, 4);
    EXPECT_EQ(chain.notFresh, 0) << "every dialog opens with its defaults and the name field focused";
    EXPECT_EQ(boxes.boxes, (Boxes{Added("UDAIPUR", "5.50"), Added("CAIRO", "5.50"), Found("UDAIPUR", "5.50")}));
    EXPECT_EQ(ReadDatabase(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\nCAIRO\t5.50\r\n");
    EXPECT_FALSE(AnyRegisterDialogLeft());
}

TEST_F(RegisterCity, LongSittingDoesNotDeepenTheStack)
{
    // Each dialog opened from inside the last one's Register would nest one more loop; under
    // Wine the 65th would not even open.
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    std::vector<std::string> names;
    std::string expected = "Tokyo\t9.00\r\n";
    for (int i = 0; i < 100; ++i) {
        names.push_back("City" + std::to_string(i));
        expected += "CITY" + std::to_string(i) + "\t5.50\r\n";
    }
    Watchdog watchdog(60000);
    Chain chain(names);
    CPRegDlg::RegisterCities();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(chain.dialogs, 101);
    EXPECT_EQ(chain.depths.size(), 1u);
    EXPECT_EQ(ReadDatabase(), expected);
    EXPECT_FALSE(AnyRegisterDialogLeft());
}

} // namespace
