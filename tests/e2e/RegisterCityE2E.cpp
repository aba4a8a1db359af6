// Two copies of the real program registering cities into one database at the same moment,
// each through its own run of Register City dialogs, driven from outside as a user would.
#include "Harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

enum : int { idCityNameEdit = 1014, idHoursList = 1018, idBoxText = 0xFFFF, cmdRegisterCity = 103 };

std::string ExeDirectory()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string UpperAToZ(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// One pavix.exe working in a folder that another copy may share.
class Copy {
public:
    explicit Copy(const std::string& folder)
    {
        std::string exe = ExeDirectory() + "pavix.exe";
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &m_process))
            m_process = {};
    }
    ~Copy()
    {
        if (!m_process.hProcess)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 10000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    // A top-level dialog of this process holding the control; visibleOnly skips hidden ones.
    HWND Find(int controlId, bool visibleOnly = true) const
    {
        Search search{m_process.dwProcessId, controlId, visibleOnly, nullptr};
        EnumWindows(&Copy::Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND WaitFor(int controlId) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Find(controlId)) != nullptr; }, 15000);
        return found;
    }

    bool WaitForExit() const { return WaitForSingleObject(m_process.hProcess, 10000) == WAIT_OBJECT_0; }

private:
    struct Search {
        DWORD pid;
        int id;
        bool visibleOnly;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM l)
    {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == s->pid && GetDlgItem(window, s->id) && (!s->visibleOnly || IsWindowVisible(window))) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION m_process{};
};

// Registers prefix0, prefix1, ... one per fresh dialog, then presses Exit. Returns what went wrong.
std::vector<std::string> RegisterCities(const Copy& copy, HWND main, const std::string& prefix, int count)
{
    std::vector<std::string> problems;
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    for (int i = 0; i < count && problems.empty(); ++i) {
        const std::string name = prefix + std::to_string(i);
        HWND dialog = copy.WaitFor(idHoursList);
        if (!dialog) {
            problems.push_back("no Register City dialog for " + name);
            break;
        }
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, idCityNameEdit), WM_SETTEXT, 0, LPARAM(name.c_str()), SMTO_ABORTIFHUNG,
                            5000, &ignored);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        HWND box = copy.WaitFor(idBoxText);
        if (!box) {
            problems.push_back("no message box for " + name);
            break;
        }
        MessageBoxView view = ReadMessageBox(box);
        const std::string expected = "Record For City Of " + UpperAToZ(name) + " [5.50] Added !!";
        if (view.caption != "New City Added !!" || view.text != expected)
            problems.push_back(name + ": " + view.caption + " / " + view.text);
        PressOk(box);
        if (!WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
            problems.push_back("message box for " + name + " stayed open");
    }
    if (HWND last = copy.WaitFor(idHoursList))
        PostMessageA(GetDlgItem(last, IDCANCEL), BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !copy.Find(idHoursList, false) && IsWindowEnabled(main); }))
        problems.push_back(prefix + ": Exit left a dialog open or the main window disabled");
    return problems;
}

TEST(RegisterCityE2E, TwoCopiesRegisteringAtOnceLeaveEveryLineWhole)
{
    const std::string initial = "Tokyo\t9.00\r\nUdaipur\t5.50\r\n";
    TempDir folder;
    folder.WriteFile("wtcmain.pvx", initial);
    Copy first(folder.Path());
    Copy second(folder.Path());
    HWND firstMain = first.WaitFor(idYourCityList);
    HWND secondMain = second.WaitFor(idYourCityList);
    ASSERT_TRUE(firstMain && secondMain) << "both copies show their main window";
    const std::vector<std::string> listBefore = ListEntries(GetDlgItem(firstMain, idYourCityList));

    constexpr int perCopy = 50;
    std::vector<std::string> firstProblems;
    std::vector<std::string> secondProblems;
    std::thread firstUser([&] { firstProblems = RegisterCities(first, firstMain, "Alpha", perCopy); });
    std::thread secondUser([&] { secondProblems = RegisterCities(second, secondMain, "Beta", perCopy); });
    firstUser.join();
    secondUser.join();
    EXPECT_EQ(firstProblems, std::vector<std::string>{});
    EXPECT_EQ(secondProblems, std::vector<std::string>{});

    std::ifstream in(folder.Path() + "\\wtcmain.pvx", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    ASSERT_EQ(bytes.compare(0, initial.size(), initial), 0) << "the old lines stay as they were";
    std::multiset<std::string> lines;
    size_t start = initial.size();
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.insert(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "the file ends with a whole line";
    std::multiset<std::string> expected;
    for (int i = 0; i < perCopy; ++i) {
        expected.insert("ALPHA" + std::to_string(i) + "\t5.50");
        expected.insert("BETA" + std::to_string(i) + "\t5.50");
    }
    EXPECT_EQ(lines, expected);

    // The lists stay as loaded at start-up; the new cities show from the next start on.
    EXPECT_EQ(ListEntries(GetDlgItem(firstMain, idYourCityList)), listBefore);
    PostMessageA(firstMain, WM_COMMAND, cmdExit, 0);
    PostMessageA(secondMain, WM_COMMAND, cmdExit, 0);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.WaitForExit());
}

} // namespace
