// The Register City dialog in this process: what Register does to the city database and tells
// the user, and the run of fresh dialogs that one Exit ends.
#include "InProcess.h"

#include "citydb/CityDatabase.h"
#include "platform/OsFile.h"
#include "platform/TextFile.h"
#include "ui/PReg.h"

#include <set>

namespace {

enum Hold { none, readOnly, busy, fullDisk };

// The real file, but every append fails as on a full disk.
struct FullDisk final : OsFile {
    explicit FullDisk(std::unique_ptr<OsFile> file) : real(std::move(file)) {}
    int64_t Length() override { return real->Length(); }
    bool Seek(int64_t offset) override { return real->Seek(offset); }
    long Read(char* buffer, size_t size) override { return real->Read(buffer, size); }
    bool Append(const char*, size_t) override { return false; }
    bool Truncate(int64_t length) override { return real->Truncate(length); }
    bool Lock(unsigned ms) override { return real->Lock(ms); }
    void Unlock() override { real->Unlock(); }
    std::unique_ptr<OsFile> real;
};

// Root writes a read-only file all the same, and a full disk is hard to come by: both faked.
struct RegOnFakeDisk : CPRegDlg {
    explicit RegOnFakeDisk(Hold hold) : hold(hold) {}
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override {
        if (hold != fullDisk) return hold == readOnly ? TextFile::openDenied : CPRegDlg::OpenCityDatabase(file);
        std::unique_ptr<OsFile> real;
        OsFile::Open(kCityDatabaseName, true, real);
        file.Attach(std::make_unique<FullDisk>(std::move(real)));
        return TextFile::openOk;
    }
    Hold hold;
};

std::string Added(const std::string& record) { return "New City Added !!: Record For City Of " + record + " Added !!"; }
std::string Found(const std::string& record) { return "Found !!: Record For City Of " + record + " Already Exists !!"; }
const std::string kMissing = "Error !!: Pavix Database Missing !!";

// Every box, and whether this program still held the database while it showed.
void WatchBoxesAndLock() {
    WatchBoxes([] {
        TextFile other;
        return other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk && !other.Lock(0) ? " (held)" : "";
    });
}

TEST(RegisterCity, RegisterAddsOrFindsTheRecordAndSaysWhichOrWhyNot) {
    struct Row {
        const char* what;
        std::optional<std::string> before, after;   // the database's bytes; none: no file
        const char* name;                           // null: the dialog's own
        bool behind;
        Hold hold;
        std::vector<std::string> shown;
    };
    const std::string tokyo = "Tokyo\t9.00";   // without a line end, which an append supplies
    const std::string udaipur = "Udaipur\t5.50\r\n";
    for (const Row& row : std::vector<Row>{
             {"defaults", tokyo, tokyo + "\r\nUDAIPUR\t5.50\r\n", nullptr, false, none, {Added("UDAIPUR [5.50]")}},
             {"found", udaipur, udaipur, "Udaipur", false, none, {Found("UDAIPUR [5.50]")}},
             {"another case", udaipur, udaipur, "uDAIPUR", false, none, {Found("UDAIPUR [5.50]")}},
             {"behind", udaipur, udaipur + "NEW YORK\t-5.50\r\n", "New York", true, none, {Added("NEW YORK [-5.50]")}},
             {"0-byte file", "", "UDAIPUR\t5.50\r\n", nullptr, false, none, {kMissing, Added("UDAIPUR [5.50]")}},
             {"missing file", std::nullopt, std::nullopt, nullptr, false, none, {kMissing}},
             {"read-only", tokyo, tokyo, nullptr, false, readOnly, {"Error !!: Pavix Database Cannot Be Written !!"}},
             {"busy", tokyo, tokyo, nullptr, false, busy, {"Error !!: Pavix Database Is Busy, Try Again !! (held)"}},
             {"failed write", tokyo, tokyo, nullptr, false, fullDisk,
              {"Error !!: Record For City Of UDAIPUR [5.50] Could Not Be Written !!"}}}) {
        SCOPED_TRACE(row.what);
        drive::TempDir dir(row.before);
        TextFile other;   // another copy of the program, holding the database longer than Register waits
        if (row.hold == busy) ASSERT_TRUE(other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk && other.Lock(0));
        auto dialog = std::make_unique<RegOnFakeDisk>(row.hold);
        ASSERT_TRUE(dialog->Create());
        dialog->Show(SW_SHOW);
        if (row.name) ::SetDlgItemTextA(dialog->GetHwnd(), IDC_CITY_NAME_EDIT, row.name);
        if (row.behind) ::SendDlgItemMessageA(dialog->GetHwnd(), IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
        WatchBoxesAndLock();
        ::SendDlgItemMessageA(dialog->GetHwnd(), IDOK, BM_CLICK, 0, 0);
        EXPECT_TRUE(dialog->IsEnded());
        EXPECT_EQ(boxes, row.shown);
        other.Close();
        EXPECT_EQ(dir.Read(), row.after);
    }
}

TEST(RegisterCity, EachRegisterOpensAFreshDialogUntilOneExitClosesThemAll) {
    drive::TempDir dir("Tokyo\t9.00\r\n");
    WatchBoxesAndLock();
    const std::vector<std::string> names{"Udaipur", "Udaipur", "Cairo"};
    size_t dialogs = 0;
    std::set<const void*> depths;   // one stack depth: no dialog opens inside the last one
    auto dialog = [] { return drive::Find(::GetCurrentProcessId(), IDC_HOURS_LIST); };
    std::function<void()> step = [&] {
        int here = 0;
        depths.insert(&here);
        HWND d = dialog();
        EXPECT_EQ(drive::Text(::GetDlgItem(d, IDC_CITY_NAME_EDIT)), "Udaipur") << "not a fresh dialog";
        if (dialogs++ == names.size()) return (void)::SendDlgItemMessageA(d, IDCANCEL, BM_CLICK, 0, 0);
        ::SetDlgItemTextA(d, IDC_CITY_NAME_EDIT, names[dialogs - 1].c_str());
        RunWhen(dialog, step);
        ::SendDlgItemMessageA(d, IDOK, BM_CLICK, 0, 0);
    };
    RunWhen(dialog, step);
    CPRegDlg::RegisterCities();
    EXPECT_EQ(dialogs, names.size() + 1);
    EXPECT_EQ(depths.size(), 1u);
    EXPECT_EQ(boxes, (std::vector<std::string>{Added("UDAIPUR [5.50]"), Found("UDAIPUR [5.50]"), Added("CAIRO [5.50]")}));
    EXPECT_EQ(dir.Read(), "Tokyo\t9.00\r\nUDAIPUR\t5.50\r\nCAIRO\t5.50\r\n");
    EXPECT_FALSE(::IsWindow(dialog()));
}

} // namespace
