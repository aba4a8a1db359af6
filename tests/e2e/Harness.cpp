#include "Harness.h"

#include <shellapi.h>

#include <atomic>
#include <stdexcept>

namespace e2e {
namespace {

std::string ExeDirectory()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string ClassName(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A SendMessage that gives up instead of hanging the test when the program is stuck.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        m_path = std::string(base) + "pavix-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(counter++);
        if (CreateDirectoryA(m_path.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + m_path);
    }
}

TempDir::~TempDir()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

void TempDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    HANDLE file = CreateFileA((m_path + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + name);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (written != bytes.size())
        throw std::runtime_error("short write to " + name);
}

Pavix::Pavix(std::optional<std::string> database)
{
    if (database)
        m_dir.WriteFile("wtcmain.pvx", *database);
    std::string exe = ExeDirectory() + "pavix.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        m_dir.Path().c_str(), &startup, &m_process))
        m_process = {};
}

Pavix::~Pavix()
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

bool Pavix::Running() const
{
    return Started() && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool Pavix::WaitForExit(unsigned timeoutMs) const
{
    return Started() && WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

namespace {
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK NoteProcessWindow(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == s->pid)
        s->found.push_back(window);
    return TRUE;
}
}

std::vector<HWND> Pavix::TopLevelWindows() const
{
    WindowSearch search{m_process.dwProcessId, {}};
    EnumWindows(&NoteProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Pavix::FindMainWindow(bool visibleOnly) const
{
    for (HWND window : TopLevelWindows()) {
        if (ClassName(window) == "#32770" && !GetWindow(window, GW_OWNER) &&
            GetDlgItem(window, idYourCityList) && (!visibleOnly || IsWindowVisible(window)))
            return window;
    }
    return nullptr;
}

HWND Pavix::WaitForMainWindow(unsigned timeoutMs)
{
    WaitUntil([&] { return (m_main = FindMainWindow()) != nullptr || !Running(); }, timeoutMs);
    return m_main;
}

std::vector<HWND> Pavix::MessageBoxes() const
{
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindows()) {
        if (ClassName(window) == "#32770" && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF))
            boxes.push_back(window);
    }
    return boxes;
}

HWND Pavix::WaitForMessageBox(unsigned timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            auto boxes = MessageBoxes();
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr || !Running();
        },
        timeoutMs);
    return box;
}

void Pavix::PostCommand(int id) const
{
    PostMessageA(m_main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string Text(HWND window)
{
    auto length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(length + 1, '\0');
    auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied);
    return text;
}

std::vector<std::string> ListEntries(HWND list)
{
    std::vector<std::string> entries;
    auto count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        auto length = Send(list, LB_GETTEXTLEN, i, 0);
        // Wine returns UTF-16 to another process's LB_GETTEXT even in the A form, so ask for it.
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()),
                            SMTO_ABORTIFHUNG, 5000, &copied);
        int n = static_cast<int>(copied);
        std::string entry(WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr),
                          '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), n, entry.data(), static_cast<int>(entry.size()),
                            nullptr, nullptr);
        entries.push_back(entry);
    }
    return entries;
}

int ListSelection(HWND list)
{
    return static_cast<int>(Send(list, LB_GETCURSEL, 0, 0));
}

void SelectListEntry(HWND list, int index)
{
    Send(list, LB_SETCURSEL, index, 0);
}

MessageBoxView ReadMessageBox(HWND box)
{
    MessageBoxView view;
    view.caption = Text(box);
    view.text = Text(GetDlgItem(box, 0xFFFF));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == "Button" && IsWindowVisible(child)) {
            ++view.visibleButtons;
            if (GetDlgCtrlID(child) == IDOK)
                view.hasOk = true;
        }
    }
    return view;
}

void PressOk(HWND box)
{
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

bool TrayIconPresent(HWND owner, UINT id)
{
    // A modify that changes nothing succeeds only for an icon that is there.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

int WineTrayIconCount()
{
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    if (!tray)
        return -1;
    int count = 0;
    for (HWND c = GetWindow(tray, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        count += ClassName(c) == "__winex11_tray_icon" && IsWindowVisible(c);
    return count;
}

}  // namespace e2e
