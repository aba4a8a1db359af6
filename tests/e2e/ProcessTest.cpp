// The real pavix.exe where a process of its own is the point: two copies registering into one
// database at once, a copy killed during a registration, and what its start switches decide.
#include "Driver.h"

#include "app/DlgProxy.h"
#include "platform/Registry.h"

std::string Added(const std::string& name)
{
    return "Record For City Of " + name + " [5.50] Added !!";
}

// A user of one copy: registers prefix0 to prefix19 one after the other, then exits.
void RegisterTwenty(char prefix)
{
    Process copy;
    copy.WaitForMain();
    copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
    for (int i = 0; i < 20; ++i) {
        const std::string name = prefix + std::to_string(i);
        EXPECT_EQ(Register(copy, name), Added(name));
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

TEST(Kill, DuringARegistrationTheFileKeepsOnlyWholeLines)
{
    std::string before;
    for (int i = 0; i < 20000; ++i)
        before += "TOWN" + std::to_string(i) + "\t-3.00\r\n";
    TempDir dir(before);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        Process copy;
        ASSERT_TRUE(copy.WaitForMain());
        copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
        // The first registration also shows that the copy killed before left no lock behind.
        const std::string name = "K" + std::to_string(round);
        ASSERT_EQ(Register(copy, name), Added(name));
        before += name + "\t5.50\r\n";
        Register(copy, name + "X", false);
        ::Sleep(round * 2);
        copy.Kill();
        const std::string after = dir.Read().value_or("");
        const std::string withTheLast = before + name + "X\t5.50\r\n";
        const std::string expected = after.size() > before.size() ? withTheLast : before;
        ASSERT_TRUE(after == expected) << after.substr(before.size() - 20);
        before = after;
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

// Both registry views where 32-bit and 64-bit programs run side by side; else the one.
std::vector<REGSAM> RegistryViews()
{
    char wow64[MAX_PATH] = "";
    ::GetSystemWow64DirectoryA(wow64, MAX_PATH);
    const std::string kernel = wow64 + std::string("\\kernel32.dll");
    if (::GetFileAttributesA(kernel.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {0};
    return {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
}

// A user's start points the class at this pavix.exe, in both registry views where 32-bit and
// 64-bit programs run side by side; a start by the component runtime leaves the registry alone.
TEST(StartSwitches, OnlyAUserStartRewritesTheRegistry)
{
    struct {
        std::string args;
        bool rewrites;
    } cases[] = {
        {"/Embedding", false}, {"-automation", false}, {" -EmBeDdInG ", false},
        {"/Embed", true},      {"--automation", true}, {"", true},
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
