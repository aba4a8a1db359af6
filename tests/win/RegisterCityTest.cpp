// The Register City dialog in this process: what Register does to the city database and tells
// the user, and the run of fresh dialogs that one Exit ends.
#include "InProcess.h"

#include "core/Disk.h"

#include <set>

// What else holds the database, or how the disk fails. Root writes a read-only file all the same,
// and Wine gives no real full disk or read error: those are faked, the disk in memory.
enum Hold { none, locked, letGo, readOnly, fullDisk, readError, noLocks };

struct RegOnFaultyDisk : CPRegDlg {
    explicit RegOnFaultyDisk(Hold hold) : hold(hold) {}
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        if (hold < readOnly)
            return CPRegDlg::OpenCityDatabase(file);
        if (hold == readOnly)
            return TextFile::openDenied;
        file.Attach(std::make_unique<MemFile>(disk));
        return TextFile::openOk;
    }
    Hold hold;
    MemDisk disk{.bytes = "Tokyo\t9.00",
                 .room = hold == noLocks ? SIZE_MAX : 0,
                 .reads = hold == readError ? 0 : INT_MAX,
                 .lock = hold == noLocks ? OsFile::unsupported : OsFile::locked};
};

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

TEST(RegisterCity, RegisterAddsOrFindsTheRecordAndSaysWhichOrWhyNot)
{
    // The database's bytes before and after (none: no file), the name typed (none: the dialog's
    // own), Behind or not, and the boxes shown.
    struct Row {
        const char* what;
        std::optional<std::string> before, after;
        const char* name;
        bool behind;
        Hold hold;
        std::vector<std::string> shown;
    };
    const std::string tokyo = "Tokyo\t9.00",
                      udaipur = "Udaipur\t5.50\r\n";   // an append supplies the line end
    const std::string added = tokyo + "\r\nUDAIPUR\t5.50\r\n";
    for (const Row& row : std::vector<Row>{
             {"defaults", tokyo, added, nullptr, false, none, {Added("UDAIPUR [5.50]")}},
             {"another case", udaipur, udaipur, "uDAIPUR", false, none, {Found("UDAIPUR [5.50]")}},
             {"behind",
              udaipur,
              udaipur + "ZANZIBAR\t-5.50\r\n",
              "Zanzibar",
              true,
              none,
              {Added("ZANZIBAR [-5.50]")}},
             {"0-byte file",
              "",
              "UDAIPUR\t5.50\r\n",
              nullptr,
              false,
              none,
              {Error("Missing"), Added("UDAIPUR [5.50]")}},
             {"missing file", std::nullopt, std::nullopt, nullptr, false, none, {Error("Missing")}},
             {"read-only", tokyo, tokyo, nullptr, false, readOnly, {Error("Cannot Be Written")}},
             {"locked by another copy",
              tokyo,
              tokyo,
              nullptr,
              false,
              locked,
              {Error("Is Busy, Try Again") + " (held)"}},
             {"let go while Register waits", tokyo, added, nullptr, false, letGo, {Added("UDAIPUR [5.50]")}},
             {"failed write",
              tokyo,
              tokyo,
              nullptr,
              false,
              fullDisk,
              {"Error !!: Record For City Of UDAIPUR [5.50] Could Not Be Written !!"}},
             {"read error", tokyo, tokyo, nullptr, false, readError, {Error("Cannot Be Read")}},
             {"no byte-range locks: on without them",
              tokyo,
              tokyo,
              nullptr,
              false,
              noLocks,
              {Added("UDAIPUR [5.50]")}}}) {
        SCOPED_TRACE(row.what);
        TempDir dir(row.before);
        CPavixDlg main;   // its clock runs on while Register waits, and only then in here
        ASSERT_TRUE(main.Create() && ::SetDlgItemTextA(main.GetHwnd(), IDC_YOUR_CITY_TIME, ""));
        TextFile other;   // another copy of the program, holding the database longer than Register waits
        ASSERT_TRUE(row.hold != locked ||
                    (other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk &&
                     other.TryLock() == TextFile::lockTaken));
        HANDLE holder = row.hold == letGo ?   // open, shared with no one, until half a second later
            ::CreateFileA(kCityDatabaseName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                          : nullptr;
        std::thread letGoLater([&] {
            if (row.hold == letGo)
                ::Sleep(500), ::CloseHandle(holder);
        });
        RegOnFaultyDisk dialog(row.hold);
        ASSERT_TRUE(dialog.Create());
        if (row.name)
            ::SetDlgItemTextA(dialog.GetHwnd(), IDC_CITY_NAME_EDIT, row.name);
        if (row.behind)
            ::SendDlgItemMessageA(dialog.GetHwnd(), IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
        WatchBoxes();
        ::SendDlgItemMessageA(dialog.GetHwnd(), IDOK, BM_CLICK, 0, 0);
        EXPECT_TRUE(dialog.IsEnded());
        EXPECT_EQ(boxes, row.shown);
        EXPECT_EQ(Window(main.GetItem(IDC_YOUR_CITY_TIME)).GetText() != "",
                  row.hold >= locked && row.hold <= letGo);
        letGoLater.join(), other.Close();
        EXPECT_EQ(dir.Read(), row.after);
    }
}

TEST(RegisterCity, EachRegisterOpensAFreshDialogUntilOneExitClosesThemAll)
{
    TempDir dir("Tokyo\t9.00\r\n");
    WatchBoxes();
    const std::vector<std::string> names{"Udaipur", "Udaipur", "Cairo"};
    size_t dialogs = 0;
    std::set<const void*> depths;   // one stack depth: no dialog opens inside the last one
    auto dialog = [] { return Find(::GetCurrentProcessId(), IDC_HOURS_LIST); };
    std::function<void()> step = [&] {
        int here = 0;
        HWND d = (depths.insert(&here), dialog());
        EXPECT_EQ(Window(::GetDlgItem(d, IDC_CITY_NAME_EDIT)).GetText(), "Udaipur") << "not a fresh dialog";
        if (dialogs++ == names.size())
            return (void)::SendDlgItemMessageA(d, IDCANCEL, BM_CLICK, 0, 0);
        ::SetDlgItemTextA(d, IDC_CITY_NAME_EDIT, names[dialogs - 1].c_str());
        RunWhen(dialog, step);
        ::SendDlgItemMessageA(d, IDOK, BM_CLICK, 0, 0);
    };
    RunWhen(dialog, step);
    CPRegDlg::RegisterCities();
    EXPECT_EQ(dialogs, names.size() + 1);
    EXPECT_EQ(depths.size(), 1u);
    EXPECT_EQ(
        boxes,
        (std::vector<std::string>{Added("UDAIPUR [5.50]"), Found("UDAIPUR [5.50]"), Added("CAIRO [5.50]")}));
    EXPECT_EQ(dir.Read(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\nCAIRO\t5.50\r\n");
}
