// The real pavix.exe where a process of its own is the point: two copies registering into one
// database at once, a copy killed during a registration, and what its start switches decide.
#include "Driver.h"

#include "app/DlgProxy.h"
#include "platform/ListBox.h"
#include "platform/Registry.h"

std::string Added(const std::string& name)
{
    return "Record For City Of " + name + " [5.50] Added !!";
}

// A user of one copy: registers prefix0 to prefix19 one after the other, then exits.
void RegisterTwenty(char prefix)
{
    Process copy;
    ASSERT_TRUE(copy.WaitForMain());
    copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
    for (int i = 0; i < 20; ++i) {
        const std::string name = prefix + std::to_string(i);
        const Registration done = Register(copy, name);
        EXPECT_EQ(done.preset, "Udaipur") << "not a fresh dialog";
        EXPECT_EQ(done.box, Added(name));
    }
    copy.Click(copy.WaitFor(IDC_HOURS_LIST), IDCANCEL);
    copy.Post(WM_COMMAND, ID_MENU_EXIT);
    EXPECT_TRUE(copy.Exited());
}

TEST(TwoCopies, RegisteringAtOnceLeaveEveryLineWhole)
{
    const std::string before = "Tokyo\t9.00\r\n";
    TempDir dir(before);
    std::thread first(RegisterTwenty, 'A');
    RegisterTwenty('B');
    first.join();
    // Each line once, whole, after the old one, and nothing else.
    const std::string file = dir.Read().value_or("");
    size_t size = before.size();
    for (const char* prefix : {"\nA", "\nB"}) {
        for (int i = 0; i < 20; ++i) {
            const std::string line = prefix + std::to_string(i) + "\t5.50\r\n";
            EXPECT_NE(file.find(line), std::string::npos) << line;
            size += line.size() - 1;
        }
    }
    EXPECT_EQ(file.size(), size) << file;
}

// The city database's size, read without opening it, so that no lock of another program's is met.
int64_t DatabaseSize()
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExA(kCityDatabaseName, GetFileExInfoStandard, &data);
    return int64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// A copy killed inside a registration, by turns while it waits for another holder of the lock and
// the moment its append shows (it still holds the file for as long as closing it takes): each
// time the file holds whole lines and the record all or nothing, and no lock outlives the copy.
TEST(Kill, DuringARegistrationTheFileKeepsOnlyWholeLines)
{
    std::string before;
    for (int i = 0; i < 20000; ++i)
        before += "TOWN" + std::to_string(i) + "\t-3.00\r\n";
    TempDir dir(before);
    for (int round = 0; round < 6; ++round) {
        const bool whileWaiting = round % 2 == 0;
        SCOPED_TRACE(whileWaiting ? "while it waits for the lock" : "as its append shows");
        Process copy;
        ASSERT_TRUE(copy.WaitForMain());
        copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
        // The first registration also shows that the copy killed before left no lock behind.
        const std::string name = "K" + std::to_string(round);
        ASSERT_EQ(Register(copy, name).box, Added(name));
        before += name + "\t5.50\r\n";
        TextFile blocker;
        ASSERT_EQ(blocker.Open(kCityDatabaseName, TextFile::modeRead), TextFile::openOk);
        ASSERT_EQ(blocker.TryLock(), TextFile::lockTaken);
        const int64_t size = DatabaseSize();
        Register(copy, name + "X", false);
        ::Sleep(200);   // it tries again every 20 ms meanwhile
        if (!whileWaiting) {
            blocker.Close();
            const ULONGLONG end = ::GetTickCount64() + 3000;
            while (DatabaseSize() == size && ::GetTickCount64() < end) {
            }
            ASSERT_NE(DatabaseSize(), size);
        }
        copy.Kill();
        blocker.Close();
        if (!whileWaiting)
            before += name + "X\t5.50\r\n";
        ASSERT_EQ(dir.Read().value_or("").size(), before.size());
        ASSERT_EQ(dir.Read(), before);
    }
}

// The LocalServer32 value in that registry view; "" when there is none.
const std::string serverKey = "CLSID\\" + GuidText(CPavixDlgAutoProxy::clsid) + "\\LocalServer32";

std::string ServerValue(REGSAM view)
{
    HKEY opened = nullptr;
    char text[MAX_PATH] = "";
    DWORD size = sizeof text;
    ::RegOpenKeyExA(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_READ | view, &opened);
    ::RegGetValueA(opened, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text, &size);
    ::RegCloseKey(opened);
    return text;
}

// A user's start points the class at this pavix.exe, in both registry views where 32-bit and
// 64-bit programs run side by side; a start by the component runtime leaves the registry alone.
TEST(StartSwitches, OnlyAUserStartRewritesTheRegistry)
{
    struct {
        std::string args;
        bool rewrites;
    } cases[] = {
        {.args = "/Embedding", .rewrites = false},
        {.args = "-automation", .rewrites = false},
        {.args = " -EmBeDdInG ", .rewrites = false},
        {.args = "/Embed", .rewrites = true},
        {.args = "--automation", .rewrites = true},
        {.args = "+Embedding", .rewrites = true},   // a switch begins with / or -
        {.args = "", .rewrites = true},
    };
    TempDir dir("Tokyo\t9.00\r\n");
    const std::string thisExe = "\"" + ExeDir() + "pavix.exe\"";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        for (REGSAM view : RegistryViews())
            ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, serverKey.c_str(), view, 0);
        Process copy(c.args);
        ASSERT_TRUE(copy.WaitForMain());
        copy.PostKey(VK_RETURN);
        ASSERT_TRUE(copy.Exited());
        for (REGSAM view : RegistryViews())
            EXPECT_EQ(ServerValue(view), c.rewrites ? thisExe : "") << view;
    }
}

// In a folder named in Devanagari, which no ANSI code page holds, the program's path as its 8-bit
// calls read it names no file: registered, it would lead clients nowhere and overwrite what an
// installer wrote.
TEST(StartSwitches, AUserStartFromAFolderTheCodePageCannotNameLeavesTheRegistry)
{
    TempDir dir("Tokyo\t9.00\r\n");
    const std::wstring folder = Wide(dir.path) + L"\\\x0909\x0926\x092F\x092A\x0941\x0930";
    const std::wstring exe = folder + L"\\pavix.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(Wide(ExeDir() + "pavix.exe").c_str(), exe.c_str(), FALSE));
    for (REGSAM view : RegistryViews())
        ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, serverKey.c_str(), view, 0);
    {
        Process copy(exe);
        ASSERT_TRUE(copy.WaitForMain());
        copy.PostKey(VK_RETURN);
        ASSERT_TRUE(copy.Exited());
    }
    for (REGSAM view : RegistryViews())
        EXPECT_EQ(ServerValue(view), "") << view;
    ::DeleteFileW(exe.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// A long text told by its length, its run of Ns and its end, so that a failure prints a line.
std::string Outline(const std::string& text)
{
    const size_t ns = text.find_first_not_of('N');
    return std::to_string(text.size()) + " bytes, " + std::to_string(std::min(ns, text.size())) +
        " Ns, then \"" + text.substr(std::min(ns, text.size())) + "\"";
}

// Lines longer than any fixed buffer of the system's: the program starts, its clock ticks, and
// both the list and the label above it hold the whole entry.
TEST(LongLines, TheClockTicksAndTheListHoldsTheWholeLine)
{
    struct Row {
        const char* what;
        size_t length;   // of the entry, the line without its line end
    };
    const Row rows[] = {
        {.what = "one short of 512", .length = 511},
        {.what = "512", .length = 512},
        {.what = "5,000", .length = 5000},
        {.what = "10 MB", .length = 10 << 20},
    };
    const size_t kCarried = 1 << 20;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string entry = std::string(row.length - 5, 'N') + " 9.00";
        TempDir dir(std::string(row.length - 5, 'N') + "\t9.00\r\n");
        Process copy;
        ASSERT_TRUE(copy.WaitForMain());
        // The first tick shows the 10 MB entry in two labels, which takes Wine seconds.
        const DWORD firstTicks = 30000;
        Window time(Item(copy.main, IDC_YOUR_CITY_TIME));
        const std::string first = time.GetText();
        EXPECT_TRUE(WaitUntil([&] { return time.GetText() != first; }, firstTicks)) << first;
        const std::string next = time.GetText();
        EXPECT_TRUE(WaitUntil([&] { return time.GetText() != next; }, 3000)) << next;
        const ListBox list(Item(copy.main, IDC_YOUR_CITY_LIST));
        const Window name(Item(copy.main, IDC_YOUR_CITY_NAME));
        // Asked in Unicode: Wine 10's WoW64 ends a 32-bit program asked a 10 MB length in ANSI by
        // another process.
        EXPECT_EQ(size_t(::SendMessageW(list.GetHwnd(), LB_GETTEXTLEN, 0, 0)), row.length);
        EXPECT_EQ(size_t(::SendMessageW(name.GetHwnd(), WM_GETTEXTLENGTH, 0, 0)), row.length);
        // Wine 10 carries no 20 MB reply from another process: the longest is told by its length.
        if (row.length < kCarried) {
            EXPECT_EQ(Outline(list.GetText(0)), Outline(entry));
            EXPECT_EQ(Outline(name.GetText()), Outline(entry));
        }
        copy.PostKey(VK_RETURN);
        EXPECT_TRUE(copy.Exited());
    }
}
