// The Register City dialog in this process: what Register does to the city database and tells
// the user.
#include "InProcess.h"

#include "core/Disk.h"

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

// What Register does to the database and tells the user (the chain of fresh dialogs is tested end
// to end, where each user registers twenty cities in one). While it waits for another holder, the
// main window's clock runs on; without byte-range locks it goes on (the disk in memory takes the
// record).
TEST(RegisterCity, RegisterAddsTheRecordOrSaysWhyNot)
{
    const std::string zanzibar = udaipur + "ZANZIBAR\t-5.50\r\n";
    const std::string busy = Error("Is Busy, Try Again") + " (held)";
    const std::string notWritten = "Error !!: Record For City Of UDAIPUR [5.50] Could Not Be Written !!";
    struct {
        const char* what;
        std::optional<std::string> before;   // the database's bytes (none: no file)
        std::optional<std::string> after;
        const char* name;   // typed in the dialog (none: its own)
        bool behind;
        Hold hold;
        std::vector<std::string> shown;   // the message boxes
        bool ticks;   // the main window's clock ran while Register waited
    } cases[] = {
        {"defaults", tokyo, tokyoAndRecord, nullptr, false, none, {added}, false},
        {"case", udaipur, udaipur, "uDAIPUR", false, none, {Found("UDAIPUR [5.50]")}, false},
        {"behind", udaipur, zanzibar, "Zanzibar", true, none, {Added("ZANZIBAR [-5.50]")}, false},
        {"0-byte file", "", record, nullptr, false, none, {Error("Missing"), added}, false},
        {"missing", std::nullopt, std::nullopt, nullptr, false, none, {Error("Missing")}, false},
        {"read-only", tokyo, tokyo, nullptr, false, readOnly, {Error("Cannot Be Written")}, false},
        {"read error", tokyo, tokyo, nullptr, false, readError, {Error("Cannot Be Read")}, false},
        {"failed write", tokyo, tokyo, nullptr, false, fullDisk, {notWritten}, false},
        {"locked by another copy", tokyo, tokyo, nullptr, false, locked, {busy}, true},
        {"let go later", tokyo, tokyoAndRecord, nullptr, false, letGo, {added}, true},
        {"no byte-range locks", tokyo, tokyo, nullptr, false, noLocks, {added}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir(c.before);
        CPavixDlg main;
        ASSERT_TRUE(main.Create());
        ::SetDlgItemTextA(main.GetHwnd(), IDC_YOUR_CITY_TIME, "");
        TextFile other;   // another copy, holding the lock longer than Register waits
        if (c.hold == locked) {
            ASSERT_EQ(other.Open(kCityDatabaseName, TextFile::modeRead), TextFile::openOk);
            ASSERT_EQ(other.TryLock(), TextFile::lockTaken);
        }
        std::thread letGoLater;
        if (c.hold == letGo)
            letGoLater = HoldTheFileForAWhile();
        RegOnFaultyDisk dialog(c.hold);
        ASSERT_TRUE(dialog.Create());
        if (c.name)
            ::SetDlgItemTextA(dialog.GetHwnd(), IDC_CITY_NAME_EDIT, c.name);
        if (c.behind)
            ::SendDlgItemMessageA(dialog.GetHwnd(), IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
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
