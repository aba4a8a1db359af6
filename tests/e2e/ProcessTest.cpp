// The real pavix.exe where a process of its own is the point: two copies registering into one
// database at once, a copy killed during a registration, and what its start switches decide.
#include "Driver.h"

#include "app/DlgProxy.h"
#include "platform/Registry.h"

std::string Added(const std::string& name)
{
    return "Record For City Of " + name + " [5.50] Added !!";
}

TEST(TwoCopies, RegisteringAtOnceLeaveEveryLineWhole)
{
    TempDir dir("Tokyo\t9.00\r\n");
    auto user = [](char prefix) {
        Process copy;
        copy.WaitForMain(), copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(Register(copy, prefix + std::to_string(i)), Added(prefix + std::to_string(i)));
        copy.Click(copy.WaitFor(IDC_HOURS_LIST), IDCANCEL), copy.Post(WM_COMMAND, ID_MENU_EXIT);
        EXPECT_TRUE(copy.Exited());
    };
    std::thread first(user, 'A');
    user('B'), first.join();
    // Each line once, whole, after the old one, and nothing else.
    const std::string file = dir.Read().value_or("");
    size_t size = std::string("Tokyo\t9.00\r\n").size();
    for (int i = 0; i < 40; ++i) {
        std::string line = (i < 20 ? "\nA" : "\nB") + std::to_string(i % 20) + "\t5.50\r\n";
        EXPECT_NE(file.find(line), std::string::npos) << line;
        size += line.size() - 1;
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
        Process copy;
        ASSERT_TRUE(copy.WaitForMain());
        copy.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
        // The first registration also shows that the copy killed before left no lock behind.
        const std::string name = "K" + std::to_string(round);
        ASSERT_EQ(Register(copy, name), Added(name));
        before += name + "\t5.50\r\n";
        Register(copy, name + "X", false);
        ::Sleep(round * 2), copy.Kill();
        const std::string after = dir.Read().value_or("");
        ASSERT_TRUE(after == before || after == before + name + "X\t5.50\r\n")
            << after.substr(before.size() - 20);
        before = after;
    }
}

// A user's start points the class at this pavix.exe, in both registry views where 32-bit and
// 64-bit programs run side by side; a start by the component runtime leaves the registry alone.
TEST(StartSwitches, OnlyAUserStartRewritesTheRegistry)
{
    const std::string server = "CLSID\\" + GuidText(CPavixDlgAutoProxy::clsid) + "\\LocalServer32";
    auto value = [&](REGSAM view, HKEY key = nullptr) {   // in that registry view; "" when there is none
        char text[MAX_PATH] = "";
        DWORD size = sizeof text;
        ::RegOpenKeyExA(HKEY_CLASSES_ROOT, server.c_str(), 0, KEY_READ | view, &key);
        ::RegGetValueA(key, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text, &size), ::RegCloseKey(key);
        return std::string(text);
    };
    char wow64[MAX_PATH] = "";
    ::GetSystemWow64DirectoryA(wow64, MAX_PATH);
    const bool both =
        ::GetFileAttributesA((wow64 + std::string("\\kernel32.dll")).c_str()) != INVALID_FILE_ATTRIBUTES;
    const auto views = both ? std::vector<REGSAM>{KEY_WOW64_32KEY, KEY_WOW64_64KEY} : std::vector<REGSAM>{0};
    TempDir dir("Tokyo\t9.00\r\n");
    for (const auto& [args, rewrites] : std::vector<std::pair<std::string, bool>>{{"/Embedding", false},
                                                                                  {"-automation", false},
                                                                                  {" -EmBeDdInG ", false},
                                                                                  {"/Embed", true},
                                                                                  {"--automation", true},
                                                                                  {"", true}}) {
        SCOPED_TRACE(args);
        for (REGSAM view : views)
            ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, server.c_str(), view, 0);
        Process copy(args);
        ASSERT_TRUE(copy.WaitForMain() && (copy.PostKey(VK_RETURN), copy.Exited()));
        for (REGSAM view : views)
            EXPECT_EQ(value(view), rewrites ? "\"" + ExeDir() + "pavix.exe\"" : "") << view;
    }
}
