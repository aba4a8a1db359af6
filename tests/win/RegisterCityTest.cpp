// The Register City dialog in this process: what Register does to the city database and
// tells the user, and the run of fresh dialogs that ends with Exit.
#include "WinTestSupport.h"

#include "citydb/CityDatabase.h"
#include "platform/OsFile.h"
#include "res/resource.h"
#include "ui/PReg.h"
#include "ui/pavixDlg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace wintest;

namespace {

using Box = std::pair<std::string, std::string>;
using Boxes = std::vector<Box>;

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

struct FindRegisterDialog {
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK NoteRegisterDialog(HWND window, LPARAM l)
{
    auto* search = reinterpret_cast<FindRegisterDialog*>(l);
    if (::GetDlgItem(window, IDC_HOURS_LIST) && (!search->visibleOnly || ::IsWindowVisible(window)))
        search->found = window;
    return TRUE;
}

// The Register City dialog of this thread; with hidden ones too, a dialog that was ended but
// never destroyed counts.
HWND RegisterDialog(bool visibleOnly = true)
{
    FindRegisterDialog search{visibleOnly};
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteRegisterDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The real file underneath with one fault: every append reaches the disk only in part and
// then fails (a full disk), every read fails, or the file system has no byte-range locks.
// Wine gives no real way to any of them.
enum class Fault { fullDisk, readError, noLocks };

template <Fault fault>
class FaultyFile final : public OsFile {
public:
    explicit FaultyFile(std::unique_ptr<OsFile> real) : m_real(std::move(real)) {}
    int64_t Length() override { return m_real->Length(); }
    bool Seek(int64_t offset) override { return m_real->Seek(offset); }
    long Read(char* buffer, size_t size) override
    {
        return fault == Fault::readError ? -1 : m_real->Read(buffer, size);
    }
    bool Append(const char* data, size_t size) override
    {
        if (fault != Fault::fullDisk)
            return m_real->Append(data, size);
        m_real->Append(data, size / 2);
        return false;
    }
    bool Truncate(int64_t length) override { return m_real->Truncate(length); }
    LockResult TryLock() override { return fault == Fault::noLocks ? unsupported : m_real->TryLock(); }
    void Unlock() override { m_real->Unlock(); }

private:
    std::unique_ptr<OsFile> m_real;
};

template <Fault fault>
class RegDlgWith : public CPRegDlg {
protected:
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        std::unique_ptr<OsFile> real;
        if (OsFile::Open(kCityDatabaseName, true, real) != OsFile::ok)
            return TextFile::openFailed;
        file.Attach(std::make_unique<FaultyFile<fault>>(std::move(real)));
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

// One registration typed into a fresh dialog, and the boxes it shows.
struct Step {
    std::string name;
    bool behind;
    int hoursIndex;  // into 0.00, 0.50, ... 12.00
    Boxes shown;
};

struct Case {
    const char* what;
    std::optional<std::string> before;  // nullopt: no file at all
    std::vector<Step> steps;
    std::optional<std::string> after;
};

TEST_F(RegisterCity, RegisterSearchesAndAppends)
{
    const int ahead550 = CPRegDlg::DEFAULT_HOURS_INDEX;
    const std::string tokyo = "Tokyo\t9.00\r\n";
    const std::vector<Case> cases{
        {"defaults, then again", tokyo,
         {{"Udaipur", false, ahead550, {Added("UDAIPUR", "5.50")}},
          {"Udaipur", false, ahead550, {Found("UDAIPUR", "5.50")}}},
         tokyo + "UDAIPUR\t5.50\r\n"},
        {"other case", "Udaipur\t5.50\r\n", {{"uDAIPUR", false, ahead550, {Found("UDAIPUR", "5.50")}}},
         "Udaipur\t5.50\r\n"},
        {"behind is a record of its own", "Udaipur\t5.50\r\nGreenwich\t0.00\r\n",
         {{"Udaipur", true, ahead550, {Added("UDAIPUR", "-5.50")}},
          {"Greenwich", true, 0, {Added("GREENWICH", "-0.00")}}},
         "Udaipur\t5.50\r\nGreenwich\t0.00\r\nUDAIPUR\t-5.50\r\nGREENWICH\t-0.00\r\n"},
        {"a name with a blank", tokyo,
         {{"New York", true, 10, {Added("NEW YORK", "-5.00")}},
          {"new york", true, 10, {Found("NEW YORK", "-5.00")}}},
         tokyo + "NEW YORK\t-5.00\r\n"},
        {"empty name", tokyo,
         {{"", false, ahead550, {{"Record For City Of  [5.50] Added !!", "New City Added !!"}}}},
         tokyo + "\t5.50\r\n"},
        {"last line without line end", "Tokyo\t9.00",
         {{"Udaipur", false, ahead550, {Added("UDAIPUR", "5.50")}}}, tokyo + "UDAIPUR\t5.50\r\n"},
        {"0-byte file", "", {{"Udaipur", false, ahead550, {missing, Added("UDAIPUR", "5.50")}}},
         "UDAIPUR\t5.50\r\n"},
        {"missing file", std::nullopt, {{"Udaipur", false, ahead550, {missing}}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileA(kCityDatabaseName);
        if (c.before)
            dir.Write(kCityDatabaseName, *c.before);
        for (const Step& step : c.steps)
            EXPECT_EQ(Register(step.name, step.behind, step.hoursIndex), step.shown) << step.name;
        if (c.after) {
            EXPECT_EQ(ReadDatabase(), *c.after);
        } else {
            EXPECT_EQ(::GetFileAttributesA(kCityDatabaseName), INVALID_FILE_ATTRIBUTES) << "not created";
        }
    }
}

TEST_F(RegisterCity, DatabaseThatCannotTakeTheLineIsLeftAloneAndTheUserToldWhy)
{
    const std::string before = "Tokyo\t9.00";  // without a line end, which must not be added either
    dir.Write(kCityDatabaseName, before);
    const Boxes busy{{"Pavix Database Is Busy, Try Again !!", "Error !!"}};
    // Another program holds the file and shares it with nobody, or with readers alone.
    for (DWORD share : {DWORD(0), DWORD(FILE_SHARE_READ)}) {
        HANDLE holder = ::CreateFileA(kCityDatabaseName, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(Register("Udaipur"), busy) << share;
        ::CloseHandle(holder);
    }
    {
        // Another copy of the program holds the lock for longer than a registration waits;
        // the main window's clock runs on meanwhile.
        CPavixDlg mainWindow;
        ASSERT_TRUE(Created(mainWindow));
        HWND clock = mainWindow.GetItem(IDC_YOUR_CITY_TIME);
        ::SetWindowTextA(clock, "");
        TextFile other;
        ASSERT_EQ(other.Open(kCityDatabaseName, TextFile::modeRead), TextFile::openOk);
        ASSERT_EQ(other.TryLock(), TextFile::lockTaken);
        EXPECT_EQ(Register("Udaipur"), busy);
        EXPECT_NE(TextOf(clock), "");
    }
    EXPECT_EQ(Register<RegDlgWith<Fault::fullDisk>>("Udaipur"),
              (Boxes{{"Record For City Of UDAIPUR [5.50] Could Not Be Written !!", "Error !!"}}));
    EXPECT_EQ(Register<RegDlgWith<Fault::readError>>("Udaipur"), (Boxes{{"Pavix Database Cannot Be Read !!", "Error !!"}}));
    EXPECT_EQ(ReadDatabase(), before);

    // Without byte-range locks the record still goes in; so it does once the holder lets go.
    EXPECT_EQ(Register<RegDlgWith<Fault::noLocks>>("Udaipur"), Boxes{Added("UDAIPUR", "5.50")});
    HANDLE holder = ::CreateFileA(kCityDatabaseName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::thread letGo([holder] { ::Sleep(500); ::CloseHandle(holder); });
    EXPECT_EQ(Register("Cairo"), Boxes{Added("CAIRO", "5.50")});
    letGo.join();
    EXPECT_EQ(ReadDatabase(), before + "\r\nUDAIPUR\t5.50\r\nCAIRO\t5.50\r\n");
}

TEST_F(RegisterCity, DatabaseIsLetGoBeforeTheUserIsTold)
{
    // Another copy of the program must never wait for someone to read a message box.
    dir.Write(kCityDatabaseName, "");
    std::vector<bool> freeWhileShown;
    SetMessageBoxObserver([&](const std::string&, const std::string&) {
        TextFile other;
        freeWhileShown.push_back(other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk &&
                                 other.TryLock() == TextFile::lockTaken);
    });
    Register("Udaipur");
    Register("Udaipur");
    EXPECT_EQ(freeWhileShown, (std::vector<bool>{true, true, true}));
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
        RunWhen([] { return RegisterDialog() != nullptr; }, [this] { Act(); }, 5000);
    }

    void Act()
    {
        volatile char here = 0;
        depths.insert(reinterpret_cast<uintptr_t>(&here));
        HWND dialog = RegisterDialog();
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

TEST_F(RegisterCity, ExitAfterManyRegistrationsClosesEveryDialogWithoutNesting)
{
    // Each dialog opened from inside the last one's Register would nest one more loop; under
    // Wine the 65th would not even open.
    dir.Write(kCityDatabaseName, "Tokyo\t9.00\r\n");
    std::vector<std::string> names{"Udaipur", "Udaipur"};
    std::string expected = "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\n";
    for (int i = 0; i < 100; ++i) {
        names.push_back("City" + std::to_string(i));
        expected += "CITY" + std::to_string(i) + "\t5.50\r\n";
    }
    Watchdog watchdog(60000);
    Chain chain(names);
    CPRegDlg::RegisterCities();
    ASSERT_FALSE(watchdog.Fired());
    EXPECT_EQ(chain.dialogs, 103);
    EXPECT_EQ(chain.notFresh, 0) << "every dialog opens with its defaults and the name field focused";
    EXPECT_EQ(chain.depths.size(), 1u);
    ASSERT_EQ(boxes.boxes.size(), 102u);
    EXPECT_EQ(boxes.boxes[0], Added("UDAIPUR", "5.50"));
    EXPECT_EQ(boxes.boxes[1], Found("UDAIPUR", "5.50"));
    EXPECT_EQ(ReadDatabase(), expected);
    EXPECT_EQ(RegisterDialog(false), nullptr);
}

} // namespace
