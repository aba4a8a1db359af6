// The Register City dialog in this process: what Register does to the city database and tells
// the user.
#include "InProcess.h"

#include "core/Disk.h"

// A Register City dialog over a disk in memory where the real one cannot fail so: root writes a
// read-only file all the same, and Wine gives no real full disk or read error.
struct RegOnDisk : CPRegDlg {
    explicit RegOnDisk(std::optional<MemDisk> disk) : disk(std::move(disk)) {}
    TextFile::OpenResult OpenCityDatabase(TextFile& file) override
    {
        if (!disk)
            return CPRegDlg::OpenCityDatabase(file);
        file.Attach(std::make_unique<MemFile>(*disk));
        return TextFile::openOk;
    }

    std::optional<MemDisk> disk;
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

const std::string tokyo = "Tokyo\t9.00";
const std::string udaipur = "Udaipur\t5.50\r\n";
const std::string record = "UDAIPUR\t5.50\r\n";   // what the dialog adds by default
const std::string tokyoAndRecord = tokyo + "\r\n" + record;   // an append supplies the line end
const std::string added = Added("UDAIPUR [5.50]");

// What the database holds before one Register, and what the user gives the dialog.
struct Setting {
    std::optional<std::string> before;   // the file's bytes (none: no file)
    bool folder = false;   // a folder of the database's name in place of the file
    std::optional<MemDisk> disk;   // in place of the real file
    const char* name = nullptr;   // typed in the dialog (none: its own)
    bool behind = false;
};

// What it did: the database's bytes after it (the disk's where there is one), the message boxes
// shown, whether the dialog ended, and whether the main window's clock ran meanwhile.
struct Outcome {
    std::optional<std::string> after;
    std::vector<std::string> shown;
    bool ended = false;
    bool ticked = false;
};

// Presses Register in the working directory, which holds setting.before; beforePress runs just
// before that, with the main window and the dialog open.
Outcome PressRegister(const Setting& setting, const std::function<void()>& beforePress = nullptr)
{
    WatchBoxes();   // the main window's own, at its start, too
    if (setting.folder)
        ::CreateDirectoryA(kCityDatabaseName, nullptr);
    CPavixDlg main;
    main.Create();
    Window clock(main.GetItem(IDC_YOUR_CITY_TIME));
    clock.SetText("");
    RegOnDisk dialog(setting.disk);
    dialog.Create();
    if (setting.name)
        ::SetDlgItemTextA(dialog.GetHwnd(), IDC_CITY_NAME_EDIT, setting.name);
    if (setting.behind)
        ::SendDlgItemMessageA(dialog.GetHwnd(), IDC_BEHIND_RADIO, BM_CLICK, 0, 0);
    boxes.clear();
    if (beforePress)
        beforePress();
    ::SendDlgItemMessageA(dialog.GetHwnd(), IDOK, BM_CLICK, 0, 0);
    Outcome outcome{.shown = boxes, .ended = dialog.IsEnded(), .ticked = !clock.GetText().empty()};
    outcome.after = dialog.disk ? std::optional(dialog.disk->bytes) : TempDir::Read();
    ::RemoveDirectoryA(kCityDatabaseName);
    return outcome;
}

struct Row {
    const char* what;
    Setting setting;
    std::optional<std::string> after;
    std::vector<std::string> shown;
};

// Register ends the dialog, shows the row's boxes and leaves the database as the row says.
void ExpectRegisterDoes(const Row& row)
{
    SCOPED_TRACE(row.what);
    TempDir dir(row.setting.before);
    const Outcome outcome = PressRegister(row.setting);
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.shown, row.shown);
    EXPECT_EQ(outcome.after, row.after);
}

TEST(RegisterCity, RegisterAddsANewRecordOrSaysItIsThere)
{
    const Row rows[] = {
        {.what = "defaults", .setting = {.before = tokyo}, .after = tokyoAndRecord, .shown = {added}},
        {.what = "there in other case",
         .setting = {.before = udaipur, .name = "uDAIPUR"},
         .after = udaipur,
         .shown = {Found("UDAIPUR [5.50]")}},
        {.what = "behind",
         .setting = {.before = udaipur, .name = "Zanzibar", .behind = true},
         .after = udaipur + "ZANZIBAR\t-5.50\r\n",
         .shown = {Added("ZANZIBAR [-5.50]")}},
        {.what = "a name of two lines, set by another program",
         .setting = {.before = udaipur, .name = "Oslo\r\nX"},
         .after = udaipur + "OSLO\t5.50\r\n",
         .shown = {Added("OSLO [5.50]")}},
        {.what = "0-byte file",
         .setting = {.before = ""},
         .after = record,
         .shown = {Error("Missing"), added}},
        {.what = "no byte-range locks",
         .setting = {.disk = MemDisk{.bytes = tokyo, .lock = OsFile::unsupported}},
         .after = tokyoAndRecord,
         .shown = {added}},
    };
    for (const Row& row : rows)
        ExpectRegisterDoes(row);
}

// A database that cannot take the record stays as it was: a write cut short is cut back.
TEST(RegisterCity, RegisterThatCannotWriteSaysWhyAndLeavesTheDatabaseAsItWas)
{
    const size_t partOfTheRecord = 5;
    const Row rows[] = {
        {.what = "missing", .setting = {}, .after = std::nullopt, .shown = {Error("Missing")}},
        {.what = "a folder of that name",
         .setting = {.folder = true},
         .after = std::nullopt,
         .shown = {Error("Cannot Be Written")}},
        {.what = "read error",
         .setting = {.disk = MemDisk{.bytes = tokyo, .reads = 0}},
         .after = tokyo,
         .shown = {Error("Cannot Be Read")}},
        {.what = "full disk",
         .setting = {.disk = MemDisk{.bytes = tokyo, .room = partOfTheRecord}},
         .after = tokyo,
         .shown = {"Error !!: Record For City Of UDAIPUR [5.50] Could Not Be Written !!"}},
    };
    for (const Row& row : rows)
        ExpectRegisterDoes(row);
}

// While another program holds the database, Register tries again for 3 s with the clock running,
// then says the database is busy and leaves it as it was; the message box comes once the file is
// let go, so that no other program waits on the user.
TEST(RegisterCity, RegisterWaitsWithTheClockRunningForAnotherHolderToLetGo)
{
    const std::string busy = Error("Is Busy, Try Again");
    const DWORD aWhile = 500;
    {
        SCOPED_TRACE("let go after a while");
        TempDir dir(tokyo);
        std::thread holder;
        const Outcome outcome = PressRegister({.before = tokyo}, [&] { holder = HoldTheFile(aWhile); });
        holder.join();
        EXPECT_EQ(outcome.shown, std::vector{added});
        EXPECT_EQ(outcome.after, tokyoAndRecord);
        EXPECT_TRUE(outcome.ticked);
    }
    {
        SCOPED_TRACE("locked by another copy for longer");
        TempDir dir(tokyo);
        TextFile other;
        const Outcome outcome = PressRegister({.before = tokyo}, [&] {
            other.Open(kCityDatabaseName, TextFile::modeRead);
            other.TryLock();
        });
        other.Close();
        EXPECT_EQ(outcome.shown, std::vector{busy + " (held)"});
        EXPECT_EQ(outcome.after, tokyo);
        EXPECT_TRUE(outcome.ticked);
    }
}

// The hours run from 0.00 to 12.00 in half hours, with 5.50 chosen.
TEST(RegisterCity, OffersTheHoursInHalfHoursWithFiveAndAHalfChosen)
{
    const std::vector<std::string> hours = {
        "0.00", "0.50", "1.00",  "1.50",  "2.00",  "2.50",  "3.00",  "3.50", "4.00",
        "4.50", "5.00", "5.50",  "6.00",  "6.50",  "7.00",  "7.50",  "8.00", "8.50",
        "9.00", "9.50", "10.00", "10.50", "11.00", "11.50", "12.00",
    };
    CPRegDlg dialog;
    ASSERT_TRUE(dialog.Create());
    ListBox list(dialog.GetItem(IDC_HOURS_LIST));
    std::vector<std::string> shown;
    for (int i = 0; i < list.GetCount(); ++i)
        shown.push_back(list.GetText(i));
    EXPECT_EQ(shown, hours);
    EXPECT_EQ(list.GetText(list.GetCurSel()), "5.50");
}

// The pixels of a control as it paints itself, by colour.
std::map<COLORREF, int> Colours(Window control)
{
    const RECT client = control.GetClientRect();
    HDC screen = ::GetDC(control.GetHwnd());
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, ::CreateCompatibleBitmap(screen, client.right, client.bottom));
    control.Send(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
    std::map<COLORREF, int> colours;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            ++colours[::GetPixel(dc, x, y)];
    }
    ::DeleteObject(::SelectObject(dc, old));
    ::DeleteDC(dc);
    ::ReleaseDC(control.GetHwnd(), screen);
    return colours;
}

// The captions on the program's black are written in its yellow, not in the visual style's ink.
TEST(RegisterCity, CaptionsOnTheDialogAreYellowOnBlack)
{
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF yellow = RGB(255, 255, 0);
    RunApp(tokyo, [&](CPavixDlg&) {
        CPRegDlg dialog;
        ASSERT_TRUE(dialog.Create());
        for (int id : {IDC_AHEAD_RADIO, IDC_BEHIND_RADIO, IDC_GMT_GROUP}) {
            SCOPED_TRACE(id);
            std::map<COLORREF, int> colours = Colours(Window(dialog.GetItem(id)));
            EXPECT_GT(colours[yellow], 0);
            EXPECT_GT(colours[black], colours[yellow]);
        }
    });
}
