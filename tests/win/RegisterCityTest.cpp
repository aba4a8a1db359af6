// The Register City dialog in this process: what Register does to the city database and tells
// the user, and the run of fresh dialogs that one Exit ends.
#include "InProcess.h"

#include "core/Disk.h"

#include <set>

// What else holds the database, or how the disk fails. Root writes a read-only file all the same,
// and Wine gives no real full disk or read error: those are faked, the disk in memory.
enum Hold { none, locked, letGo, readOnly, fullDisk, readError, noLocks };

// The disk in memory where the real one cannot fail so; none for the real file.
std::optional<MemDisk> FakeDisk(Hold hold)
{
    switch (hold) {
    case fullDisk:
        return MemDisk{.bytes = "Tokyo\t9.00", .room = 0};
    case readError:
        return MemDisk{.bytes = "Tokyo\t9.00", .reads = 0};
    case noLocks:
        return MemDisk{.bytes = "Tokyo\t9.00", .lock = OsFile::unsupported};
    default:
        return std::nullopt;
    }
}

struct RegOnFaultyDisk : CPRegDlg {
    explicit RegOnFaultyDisk(Hold hold) : hold(hold) {}
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        if (hold == readOnly)
            return TextFile::openDenied;
        if (!disk)
            return CPRegDlg::OpenCityDatabase(file);
        file.Attach(std::make_unique<MemFile>(*disk));
        return TextFile::openOk;
    }

    Hold hold;
    std::optional<MemDisk> disk = FakeDisk(hold);
};

// Another copy of the program, holding the database's lock longer than Register waits.
bool TakeTheLock(TextFile& other)
{
    if (other.Open(kCityDatabaseName, TextFile::modeRead) != TextFile::openOk)
        return false;
    return other.TryLock() == TextFile::lockTaken;
}

// Opens the database shared with no one, and closes it half a second later.
std::thread HoldTheFileForAWhile()
{
    HANDLE holder = ::CreateFileA(kCityDatabaseName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return std::thread([holder] {
        ::Sleep(500);
        ::CloseHandle(holder);
    });
}

std::string Added(const std::string& record)
{
    return "New City Added !!: Record For City Of " + record + " Added !!";
}
std::string Found(const std::string& record)
{
    return "Found !!: Record For City Of " + record + " Already Exists !!";
}
std::string Error(const std::string& what)
{
    return "Error !!: Pavix Database " + what + " !!";
}

const std::string tokyo = "Tokyo\t9.00";
const std::string udaipur = "Udaipur\t5.50\r\n";
const std::string record = "UDAIPUR\t5.50\r\n";   // what the dialog adds by default
const std::string tokyoAndRecord = tokyo + "\r\n" + record;   // an append supplies the line end
const std::string added = Added("UDAIPUR [5.50]");

// What Register does to the database and tells the user. While it waits for another holder, the
// main window's clock runs on; without byte-range locks it goes on (the disk in memory takes the
// record).
TEST(RegisterCity, RegisterAddsTheRecordOrSaysWhyNot)
{
    const std::string busy = Error("Is Busy, Try Again") + " (held)";
    const std::string notWritten = "Error !!: Record For City Of UDAIPUR [5.50] Could Not Be Written !!";
    struct {
        const char* what;
        std::optional<std::string> before;   // the database's bytes (none: no file)
        std::optional<std::string> after;
        const char* name;   // typed in the dialog (none: its own)
        Hold hold;
        std::vector<std::string> shown;   // the message boxes
        bool ticks;   // the main window's clock ran while Register waited
    } cases[] = {
        {"defaults", tokyo, tokyoAndRecord, nullptr, none, {added}, false},
        {"another case", udaipur, udaipur, "uDAIPUR", none, {Found("UDAIPUR [5.50]")}, false},
        {"0-byte file", "", record, nullptr, none, {Error("Missing"), added}, false},
        {"missing file", std::nullopt, std::nullopt, nullptr, none, {Error("Missing")}, false},
        {"read-only", tokyo, tokyo, nullptr, readOnly, {Error("Cannot Be Written")}, false},
        {"read error", tokyo, tokyo, nullptr, readError, {Error("Cannot Be Read")}, false},
        {"failed write", tokyo, tokyo, nullptr, fullDisk, {notWritten}, false},
        {"locked by another copy", tokyo, tokyo, nullptr, locked, {busy}, true},
        {"let go while Register waits", tokyo, tokyoAndRecord, nullptr, letGo, {added}, true},
        {"no byte-range locks", tokyo, tokyo, nullptr, noLocks, {added}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir(c.before);
        CPavixDlg main;
        ASSERT_TRUE(main.Create());
        ::SetDlgItemTextA(main.GetHwnd(), IDC_YOUR_CITY_TIME, "");
        TextFile other;
        if (c.hold == locked) {
            ASSERT_TRUE(TakeTheLock(other));
        }
        std::thread letGoLater;
        if (c.hold == letGo)
            letGoLater = HoldTheFileForAWhile();
        RegOnFaultyDisk dialog(c.hold);
        ASSERT_TRUE(dialog.Create());
        if (c.name)
            ::SetDlgItemTextA(dialog.GetHwnd(), IDC_CITY_NAME_EDIT, c.name);
        WatchBoxes();
        ::SendDlgItemMessageA(dialog.GetHwnd(), IDOK, BM_CLICK, 0, 0);
        if (letGoLater.joinable())
            letGoLater.join();
        other.Close();
        EXPECT_TRUE(dialog.IsEnded());
        EXPECT_EQ(boxes, c.shown);
        EXPECT_EQ(Window(main.GetItem(IDC_YOUR_CITY_TIME)).GetText() != "", c.ticks);
        EXPECT_EQ(dir.Read(), c.after);
    }
}

// Each city is registered as behind, which the record and the message give as a negative offset.
TEST(RegisterCity, EachRegisterOpensAFreshDialogUntilOneExitClosesThemAll)
{
    TempDir dir("Tokyo\t9.00\r\n");
    WatchBoxes();
    const std::vector<std::string> names{"Udaipur", "Udaipur", "Cairo"};
    size_t dialogs = 0;
    std::set<const void*> depths;   // one stack depth: no dialog opens inside the last one
    const auto dialog = [] { return Find(::GetCurrentProcessId(), IDC_HOURS_LIST); };
    std::function<void()> step = [&] {
        int here = 0;
        depths.insert(&here);
        HWND d = dialog();
        EXPECT_EQ(Window(::GetDlgItem(d, IDC_CITY_NAME_EDIT)).GetText(), "Udaipur") << "not a fresh dialog";
        ++dialogs;
        if (dialogs > names.size()) {
            ::SendDlgItemMessageA(d, IDCANCEL, BM_CLICK, 0, 0);
            return;
        }
        ::SetDlgItemTextA(d, IDC_CITY_NAME_EDIT, names[dialogs - 1].c_str());
        ::SendDlgItemMessageA(d, IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
        RunWhen(dialog, step);
        ::SendDlgItemMessageA(d, IDOK, BM_CLICK, 0, 0);
    };
    RunWhen(dialog, step);
    CPRegDlg::RegisterCities();
    EXPECT_EQ(dialogs, names.size() + 1);
    EXPECT_EQ(depths.size(), 1u);
    const std::vector<std::string> shown = {Added("UDAIPUR [-5.50]"), Found("UDAIPUR [-5.50]"),
                                            Added("CAIRO [-5.50]")};
    EXPECT_EQ(boxes, shown);
    EXPECT_EQ(dir.Read(), "Tokyo\t9.00\r\nUDAIPUR\t-5.50\r\nCAIRO\t-5.50\r\n");
}
