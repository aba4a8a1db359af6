#include "Process.h"

#include "e2e/Harness.h"

#include <tlhelp32.h>

#include <vector>

namespace com {
namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (id == search->processId)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsDialog(HWND window)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

}  // namespace

std::string ExeDirectory()
{
    char path[MAX_PATH];
    std::string s(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::set<DWORD> PavixProcesses()
{
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "pavix.exe") == 0)
            ids.insert(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

Process::Process(DWORD id, HANDLE handle)
    : m_id(id),
      m_handle(handle ? handle : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id))
{
}

Process::~Process()
{
    if (!m_handle)
        return;
    if (Running()) {
        TerminateProcess(m_handle, 1);
        WaitForSingleObject(m_handle, 10000);
    }
    CloseHandle(m_handle);
}

bool Process::Running() const
{
    return m_handle && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(unsigned timeoutMs) const
{
    return m_handle && WaitForSingleObject(m_handle, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_handle, &code);
    return code;
}

HWND Process::MainWindow(bool visibleOnly) const
{
    for (HWND window : TopLevelWindows(m_id)) {
        if (IsDialog(window) && !GetWindow(window, GW_OWNER) && GetDlgItem(window, e2e::idYourCityList) &&
            (!visibleOnly || IsWindowVisible(window)))
            return window;
    }
    return nullptr;
}

HWND Process::WaitForMainWindow(unsigned timeoutMs) const
{
    HWND main = nullptr;
    e2e::WaitUntil([&] { return (main = MainWindow()) != nullptr || !Running(); }, timeoutMs);
    return main;
}

HWND Process::WaitForOwnedDialog(HWND main, unsigned timeoutMs) const
{
    HWND dialog = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(m_id)) {
                if (IsDialog(window) && GetWindow(window, GW_OWNER) == main && IsWindowVisible(window))
                    dialog = window;
            }
            return dialog != nullptr;
        },
        timeoutMs);
    return dialog;
}

HWND Process::WaitForMessageBox(unsigned timeoutMs) const
{
    HWND box = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(m_id)) {
                if (IsDialog(window) && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF))
                    box = window;
            }
            return box != nullptr || !Running();
        },
        timeoutMs);
    return box;
}

std::unique_ptr<Process> WaitForNewServer(const std::set<DWORD>& before, unsigned timeoutMs)
{
    std::set<DWORD> added;
    e2e::WaitUntil(
        [&] {
            added.clear();
            for (DWORD id : PavixProcesses())
                if (!before.count(id))
                    added.insert(id);
            return !added.empty();
        },
        timeoutMs);
    return added.size() == 1 ? std::make_unique<Process>(*added.begin()) : nullptr;
}

std::unique_ptr<Process> StartProcess(const std::string& exe, const std::string& arguments,
                                      const std::string& directory, HANDLE output)
{
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                        directory.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return std::make_unique<Process>(process.dwProcessId, process.hProcess);
}

std::unique_ptr<Process> StartPavix(const std::string& arguments, const std::string& directory)
{
    return StartProcess(ExeDirectory() + "pavix.exe", arguments, directory);
}

bool Ticks(HWND main)
{
    HWND list = GetDlgItem(main, e2e::idDestinationList);
    auto entries = e2e::ListEntries(list);
    if (entries.empty())
        return false;
    int next = (e2e::ListSelection(list) + 1) % static_cast<int>(entries.size());
    e2e::SelectListEntry(list, next);
    return e2e::WaitUntil([&] { return e2e::Text(GetDlgItem(main, e2e::idDestinationName)) == entries[next]; });
}

void PostEnter(HWND main)
{
    HWND list = GetDlgItem(main, e2e::idYourCityList);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(list, WM_KEYUP, VK_RETURN, 0xC0000001);
}

}  // namespace com
