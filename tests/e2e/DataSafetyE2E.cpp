// What becomes of the city database when the real program is killed in the middle of a
// registration, when its disk is full or mounted read-only, and whether very large or hostile
// databases open at all.
//
// The DataSafetyMount cases need a full and a read-only file system, which only root can make:
// tests/safety/run-safety prepares them and names them in environment variables. Without
// those variables the cases skip.
#include "Harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace e2e;

namespace {

enum : int { idCityNameEdit = 1014, idHoursList = 1018, idBoxText = 0xFFFF, cmdRegisterCity = 103 };

const char* const kDatabase = "wtcmain.pvx";

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

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char block[64 * 1024];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, block, sizeof block, &got, nullptr) != FALSE) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

// The number of list entries the program makes of these bytes: one per line feed, and one
// for a last line without one.
long LinesIn(const std::string& bytes)
{
    long lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    if (!bytes.empty() && bytes.back() != '\n')
        ++lines;
    return lines;
}

// A SendMessage to another process that gives up, answering `failed`, when the program hangs.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT failed = -2)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        return failed;
    return static_cast<LRESULT>(result);
}

// One pavix.exe working in a folder of the caller's choosing.
class Program {
public:
    explicit Program(const std::string& folder)
    {
        std::string exe = ExeDirectory() + "pavix.exe";
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &m_process))
            m_process = {};
    }
    ~Program()
    {
        if (!Started())
            return;
        if (Running()) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 10000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    bool Running() const { return Started() && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(unsigned timeoutMs = 10000) const
    {
        return Started() && WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

    // A top-level window of this process holding the control; visibleOnly skips hidden ones.
    HWND Find(int controlId, bool visibleOnly = true) const
    {
        Search search{m_process.dwProcessId, controlId, visibleOnly, nullptr};
        EnumWindows(&Program::Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitFor(int controlId, unsigned timeoutMs = 15000) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Find(controlId)) != nullptr || !Running(); }, timeoutMs);
        return found;
    }

    // Under Wine: finds the Unix process behind this one through /proc. Wine shows a process's
    // Windows executable path as its command line and gives it the Unix environment of the
    // process that started it, so the one process running this build's pavix.exe in this
    // prefix is it. False when there is no /proc (Windows) or not exactly one such process.
    bool FindUnixProcess()
    {
        if (m_unixPid)
            return true;
        const auto own = ReadBytes("Z:\\proc\\self\\environ");
        const auto prefix = own ? EnvironmentEntry(*own, "WINEPREFIX") : std::nullopt;
        if (!prefix)
            return false;
        // A process killed just before may still be on its way out for a moment.
        std::vector<int> found;
        WaitUntil(
            [&] {
                found = UnixProcessesRunningPavix(*prefix);
                return found.size() == 1;
            },
            3000);
        if (found.size() == 1)
            m_unixPid = found.front();
        return m_unixPid != 0;
    }

    // Sends SIGKILL to the Unix process found by FindUnixProcess. Wine runs a Unix program
    // that CreateProcess is given; it gives back no handle, so the caller waits for this
    // process to end.
    bool SigKill() const
    {
        if (!m_unixPid || !Running() || !RunsPavix(m_unixPid))
            return false;
        std::string commandLine = "/bin/kill -KILL " + std::to_string(m_unixPid);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION kill{};
        if (!CreateProcessA("Z:\\bin\\kill", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &kill))
            return false;
        if (kill.hThread)
            CloseHandle(kill.hThread);
        if (kill.hProcess)
            CloseHandle(kill.hProcess);
        return true;
    }

    void Terminate() const { TerminateProcess(m_process.hProcess, 9); }

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
        // A message box is told by its text's id; the dialogs' unnamed statics have another.
        const bool isDialog = GetDlgItem(window, idHoursList) || GetDlgItem(window, idYourCityList);
        if (pid == s->pid && GetDlgItem(window, s->id) && (s->id != idBoxText || !isDialog) &&
            (!s->visibleOnly || IsWindowVisible(window))) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }

    static std::vector<int> UnixProcessesRunningPavix(const std::string& prefix)
    {
        std::vector<int> found;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
        if (search == INVALID_HANDLE_VALUE)
            return found;
        do {
            const std::string name = entry.cFileName;
            if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            const int pid = std::atoi(name.c_str());
            const auto environment = ReadBytes(ProcFile(pid, "environ"));
            if (environment && EnvironmentEntry(*environment, "WINEPREFIX") == prefix && RunsPavix(pid))
                found.push_back(pid);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return found;
    }

    static std::string ProcFile(int pid, const char* file)
    {
        return "Z:\\proc\\" + std::to_string(pid) + "\\" + file;
    }

    // Whether the Unix process runs this build's pavix.exe (checked again right before the
    // kill, in case the number went to another process).
    static bool RunsPavix(int pid)
    {
        auto commandLine = ReadBytes(ProcFile(pid, "cmdline"));
        if (!commandLine)
            return false;
        // Wine pads the path it writes over the original arguments.
        const size_t end = commandLine->find_last_not_of(std::string(" \0", 2));
        commandLine->resize(end == std::string::npos ? 0 : end + 1);
        return UpperAToZ(*commandLine) == UpperAToZ(ExeDirectory() + "pavix.exe");
    }

    static std::optional<std::string> EnvironmentEntry(const std::string& environment, const std::string& variable)
    {
        const std::string key = variable + "=";
        for (size_t start = 0; start < environment.size();) {
            size_t end = environment.find('\0', start);
            if (end == std::string::npos)
                end = environment.size();
            if (environment.compare(start, key.size(), key) == 0)
                return environment.substr(start + key.size(), end - start - key.size());
            start = end + 1;
        }
        return std::nullopt;
    }

    PROCESS_INFORMATION m_process{};
    int m_unixPid = 0;
};

// Types the name into the open Register City dialog and clicks Register without waiting.
bool ClickRegister(const Program& program, const std::string& name)
{
    HWND dialog = program.WaitFor(idHoursList);
    if (!dialog)
        return false;
    if (Ask(GetDlgItem(dialog, idCityNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str())) != TRUE)
        return false;
    return PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0) != FALSE;
}

// Registers the name at the default offset and answers the message box it brings.
std::optional<MessageBoxView> Register(const Program& program, const std::string& name)
{
    if (!ClickRegister(program, name))
        return std::nullopt;
    HWND box = program.WaitFor(idBoxText);
    if (!box)
        return std::nullopt;
    MessageBoxView view = ReadMessageBox(box);
    PressOk(box);
    if (!WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        return std::nullopt;
    return view;
}

// Presses Exit in the Register City dialog and then ends the program from its menu.
void ExitProgram(const Program& program, HWND main)
{
    if (HWND dialog = program.WaitFor(idHoursList))
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !program.Find(idHoursList, false) && IsWindowEnabled(main); }))
        << "Exit left the Register City dialog open";
    PostMessageA(main, WM_COMMAND, cmdExit, 0);
    EXPECT_TRUE(program.WaitForExit()) << "the program did not end";
}

std::string AddedText(const std::string& name)
{
    return "Record For City Of " + UpperAToZ(name) + " [5.50] Added !!";
}

// A busy wait: Sleep is too coarse for moments a few milliseconds apart.
void WaitMicroseconds(long long micros)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const long long ticks = micros * frequency.QuadPart / 1000000;
    do
        QueryPerformanceCounter(&now);
    while (now.QuadPart - start.QuadPart < ticks);
}

// ---------------------------------------------------------------------------------------------
// Killed in the middle of a registration.

// Splits text into lines ending in CR LF; false if text does not end with a whole line.
bool WholeLines(const std::string& text, std::vector<std::string>& lines)
{
    lines.clear();
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return start == text.size();
}

TEST(DataSafetyKill, KilledAtAnyMomentOfARegistrationTheFileHoldsOnlyWholeLines)
{
    constexpr int rounds = 20;
    const unsigned seed = static_cast<unsigned>(GetTickCount64());
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    // Large enough that the search before the append takes a few milliseconds; the last line
    // has no line end, which the first append has to supply.
    std::string database;
    for (int i = 0; i < 20000; ++i)
        database += "Town" + std::to_string(i) + (i % 3 ? "\t-3.00\r\n" : "  10.50\n");
    database += "Udaipur\t5.50";
    TempDir folder;
    folder.WriteFile(kDatabase, database);
    const std::string path = folder.Path() + "\\" + kDatabase;

    const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    std::string before = database;
    int killedBeforeTheLine = 0;
    int killedAfterTheLine = 0;
    int bySignal = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Program program(folder.Path());
        ASSERT_TRUE(program.Started());
        HWND main = program.WaitFor(idYourCityList);
        ASSERT_TRUE(main) << "no main window";
        // Under Wine every other round the Unix process gets SIGKILL; the others, and all on
        // Windows, end by TerminateProcess.
        const bool signal = underWine && round % 2 == 1;
        if (signal) {
            ASSERT_TRUE(program.FindUnixProcess()) << "cannot tell which Unix process runs pavix.exe";
        }
        PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);

        // The first registration of each round also shows that a killed copy left no lock behind.
        std::vector<std::string> names;
        const int confirmed = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < confirmed; ++i) {
            names.push_back("r" + std::to_string(round) + "n" + std::to_string(i));
            auto view = Register(program, names.back());
            ASSERT_TRUE(view) << "no answer to registering " << names.back();
            ASSERT_EQ(view->caption, "New City Added !!") << view->text;
            ASSERT_EQ(view->text, AddedText(names.back()));
        }

        const std::string last = "r" + std::to_string(round) + "killed";
        const long long delay = static_cast<long long>(random() % 20001);
        SCOPED_TRACE("killed " + std::to_string(delay) + " us after the click, " +
                     (signal ? "by SIGKILL" : "by TerminateProcess"));
        ASSERT_TRUE(ClickRegister(program, last));
        WaitMicroseconds(delay);
        if (signal) {
            ASSERT_TRUE(program.SigKill());
            ++bySignal;
        } else {
            program.Terminate();
        }
        ASSERT_TRUE(program.WaitForExit()) << "the program outlived the kill";

        auto after = ReadBytes(path);
        ASSERT_TRUE(after);
        ASSERT_GE(after->size(), before.size()) << "the file lost bytes";
        ASSERT_EQ(after->compare(0, before.size(), before), 0) << "an earlier line changed";
        std::string added = after->substr(before.size());
        if (!before.empty() && before.back() != '\n' && !added.empty()) {
            ASSERT_EQ(added.compare(0, 2, "\r\n"), 0) << "the unended last line was not ended first";
            added.erase(0, 2);
        }
        std::vector<std::string> lines;
        ASSERT_TRUE(WholeLines(added, lines)) << "a partial line: " << added;
        std::vector<std::string> expected;
        for (const std::string& name : names)
            expected.push_back(UpperAToZ(name) + "\t5.50");
        if (lines.size() == expected.size() + 1) {
            expected.push_back(UpperAToZ(last) + "\t5.50");
            ++killedAfterTheLine;
        } else {
            ++killedBeforeTheLine;
        }
        ASSERT_EQ(lines, expected);
        before = *after;
    }
    std::printf("[          ] %d kills (%d by SIGKILL): %d before the last line was written, %d after\n", rounds,
                bySignal, killedBeforeTheLine, killedAfterTheLine);
}

// ---------------------------------------------------------------------------------------------
// A full disk and a read-only one, prepared by tests/safety/run-safety.

// A folder named in the environment, as a Windows path; a Unix path is taken as Wine's Z: drive.
std::optional<std::string> PreparedFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        return std::nullopt;
    std::string path = value;
    if (path.front() == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return path;
}

// Starts the program in the folder, registers the name once and returns the message it gave;
// the file must be byte for byte what it was.
void ExpectRegistrationRefused(const std::string& folder, const std::string& name, const std::string& message)
{
    SCOPED_TRACE(folder);
    const std::string path = folder + "\\" + kDatabase;
    const auto before = ReadBytes(path);
    ASSERT_TRUE(before) << "cannot read " << path;
    ASSERT_FALSE(before->empty());

    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitFor(idYourCityList);
    ASSERT_TRUE(main) << "no main window";
    EXPECT_EQ(Ask(GetDlgItem(main, idYourCityList), LB_GETCOUNT), LinesIn(*before));
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto view = Register(program, name);
    ASSERT_TRUE(view) << "no answer to Register";
    EXPECT_EQ(view->caption, "Error !!");
    EXPECT_EQ(view->text, message);
    EXPECT_EQ(view->visibleButtons, 1);
    EXPECT_TRUE(view->hasOk);
    EXPECT_TRUE(program.WaitFor(idHoursList)) << "no fresh Register City dialog after the error";
    ExitProgram(program, main);

    const auto after = ReadBytes(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size(), before->size());
    EXPECT_TRUE(*after == *before) << "the file changed";
}

// The folder holds "partial", whose database ends a few bytes short of a full page, so that
// the start of the record still fits, and "nothing", whose database ends on a page boundary.
TEST(DataSafetyMount, AppendOnAFullDiskLeavesTheFileUnchangedAndSaysSo)
{
    auto folder = PreparedFolder("PAVIX_SAFETY_FULL_DIR");
    if (!folder)
        GTEST_SKIP() << "PAVIX_SAFETY_FULL_DIR is not set; tests/safety/run-safety sets it";
    for (const char* sub : {"partial", "nothing"}) {
        const std::string name = std::string("Full") + sub;
        ExpectRegistrationRefused(*folder + "\\" + sub, name,
                                  "Record For City Of " + UpperAToZ(name) + " [5.50] Could Not Be Written !!");
    }
}

TEST(DataSafetyMount, ReadOnlyFileSystemLeavesTheFileUnchangedAndSaysSo)
{
    auto folder = PreparedFolder("PAVIX_SAFETY_READONLY_DIR");
    if (!folder)
        GTEST_SKIP() << "PAVIX_SAFETY_READONLY_DIR is not set; tests/safety/run-safety sets it";
    ExpectRegistrationRefused(*folder, "ReadOnly", "Pavix Database Cannot Be Written !!");
}

// ---------------------------------------------------------------------------------------------
// Large and hostile databases.

// The program on this database opens its main window, lists one entry per line in both lists,
// and is still alive and answering a second later.
void ExpectOpens(const Program& program, HWND& main, long lines, unsigned timeoutMs = 15000)
{
    ASSERT_TRUE(program.Started());
    main = program.WaitFor(idYourCityList, timeoutMs);
    ASSERT_TRUE(main) << (program.Running() ? "no main window" : "the program ended");
    for (int id : {idYourCityList, idDestinationList}) {
        HWND list = GetDlgItem(main, id);
        EXPECT_EQ(Ask(list, LB_GETCOUNT), lines) << "list " << id;
        if (lines > 0) {
            EXPECT_EQ(Ask(list, LB_GETCURSEL), 0) << "list " << id;
        }
    }
    Sleep(1000);
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(Ask(main, WM_NULL, 0, 0, -1), 0) << "the window stopped answering";
    EXPECT_TRUE(program.Find(idBoxText) == nullptr) << "an unexpected message box";
}

// Entry of a list of another process as text (Wine answers LB_GETTEXT across processes in UTF-16).
std::string Entry(HWND list, int index)
{
    const LRESULT length = Ask(list, LB_GETTEXTLEN, index);
    if (length < 0)
        return "<no entry>";
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 10000,
                        &copied);
    return std::string(wide.begin(), wide.begin() + static_cast<long>(copied));
}

TEST(DataSafetyLarge, AMillionLinesOpenInBothLists)
{
    constexpr long count = 1000000;
    std::string database;
    database.reserve(count * 16);
    char line[32];
    for (long i = 0; i < count; ++i) {
        // Written in reverse, so that every entry has to be sorted.
        std::snprintf(line, sizeof line, "C%07ld\t%s\r\n", count - 1 - i, i % 2 ? "5.50" : "-12.00");
        database += line;
    }
    TempDir folder;
    folder.WriteFile(kDatabase, database);
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, count, 120000);
    ASSERT_TRUE(main);
    HWND list = GetDlgItem(main, idDestinationList);
    EXPECT_EQ(Entry(list, 0), "C0000000 5.50");
    EXPECT_EQ(Entry(list, count - 1), "C0999999 -12.00");
}

TEST(DataSafetyLarge, ATenMegabyteLineOpensWhole)
{
    const std::string name(10 * 1024 * 1024, 'W');
    TempDir folder;
    folder.WriteFile(kDatabase, name + "\t5.50\r\n");
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, 1);
    ASSERT_TRUE(main);
    for (int id : {idYourCityList, idDestinationList})
        EXPECT_EQ(Ask(GetDlgItem(main, id), LB_GETTEXTLEN, 0), static_cast<LRESULT>(name.size() + 5));
}

// Registers one city into a hostile database and checks that exactly one whole line followed
// it, after a line end for its unended last line.
void ExpectOneLineAppended(const Program& program, HWND main, const std::string& path, const std::string& before)
{
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto view = Register(program, "Hostile");
    ASSERT_TRUE(view) << "no answer to Register";
    EXPECT_EQ(view->caption, "New City Added !!");
    EXPECT_EQ(view->text, AddedText("Hostile"));
    ExitProgram(program, main);
    const std::string lineEnd = !before.empty() && before.back() != '\n' ? "\r\n" : "";
    EXPECT_TRUE(ReadBytes(path) == before + lineEnd + "HOSTILE\t5.50\r\n");
}

TEST(DataSafetyHostile, RandomBytesOpenAndTakeAWholeLine)
{
    std::mt19937 random(20240601);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    if (bytes.back() == '\n')
        bytes.back() = 'x';
    TempDir folder;
    folder.WriteFile(kDatabase, bytes);
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, LinesIn(bytes));
    ASSERT_TRUE(main);
    ExpectOneLineAppended(program, main, folder.Path() + "\\" + kDatabase, bytes);
}

TEST(DataSafetyHostile, NulBytesOpenAsOneLineAndTakeAWholeLine)
{
    const std::string bytes(64 * 1024, '\0');
    TempDir folder;
    folder.WriteFile(kDatabase, bytes);
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, 1);
    ASSERT_TRUE(main);
    ExpectOneLineAppended(program, main, folder.Path() + "\\" + kDatabase, bytes);
}

TEST(DataSafetyHostile, ADirectoryInPlaceOfTheFileCountsAsMissing)
{
    TempDir folder;
    const std::string path = folder.Path() + "\\" + kDatabase;
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { RemoveDirectoryA(path.c_str()); }
    } removeAtEnd{path};

    Program program(folder.Path());
    ASSERT_TRUE(program.Started());
    HWND box = program.WaitFor(idBoxText);
    ASSERT_TRUE(box) << (program.Running() ? "no message box" : "the program ended");
    MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.caption, "Read Record..");
    EXPECT_NE(view.text.find("wtcmain.pvx"), std::string::npos) << view.text;
    EXPECT_TRUE(view.hasOk);
    PressOk(box);

    HWND main = nullptr;
    ExpectOpens(program, main, 0);
    ASSERT_TRUE(main);
    for (int id : {idYourCityList, idDestinationList})
        EXPECT_EQ(Ask(GetDlgItem(main, id), LB_GETCURSEL), LB_ERR);

    // Registering into it is refused, and it stays a directory.
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto answer = Register(program, "Nowhere");
    ASSERT_TRUE(answer) << "no answer to Register";
    EXPECT_EQ(answer->caption, "Error !!");
    EXPECT_TRUE(answer->text == "Pavix Database Missing !!" || answer->text == "Pavix Database Cannot Be Written !!")
        << answer->text;
    ExitProgram(program, main);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
