#include "Harness.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace e2e {
namespace {

std::string ClassName(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

std::string ExeDirectory()
{
    char path[MAX_PATH];
    std::string s(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string UpperAToZ(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

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
    return ok ? std::optional<std::string>(bytes) : std::nullopt;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        return failed;
    return static_cast<LRESULT>(result);
}

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

Process::Process(DWORD id, HANDLE handle)
    : m_id(id),
      m_handle(handle ? handle
                      : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id))
{
}

Process::Process(const std::string& exe, const std::string& arguments, const std::string& directory,
                 HANDLE output)
{
    Start(exe, arguments, directory, output);
}

void Process::Start(const std::string& exe, const std::string& arguments, const std::string& directory,
                    HANDLE output)
{
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                        directory.c_str(), &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_id = process.dwProcessId;
    m_handle = process.hProcess;
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

bool IsDialog(HWND window)
{
    return ClassName(window) == "#32770";
}
}  // namespace

std::vector<HWND> Process::TopLevelWindows() const
{
    WindowSearch search{m_id, {}};
    EnumWindows(&NoteProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Process::Find(int controlId, bool visibleOnly) const
{
    for (HWND window : TopLevelWindows()) {
        const bool isDialog = GetDlgItem(window, idHoursList) || GetDlgItem(window, idYourCityList);
        if (GetDlgItem(window, controlId) && (controlId != idBoxText || !isDialog) &&
            (!visibleOnly || IsWindowVisible(window)))
            return window;
    }
    return nullptr;
}

HWND Process::WaitFor(int controlId, unsigned timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = Find(controlId)) != nullptr || !Running(); }, timeoutMs);
    return found;
}

HWND Process::FindMainWindow(bool visibleOnly) const
{
    for (HWND window : TopLevelWindows()) {
        if (IsDialog(window) && !GetWindow(window, GW_OWNER) && GetDlgItem(window, idYourCityList) &&
            (!visibleOnly || IsWindowVisible(window)))
            return window;
    }
    return nullptr;
}

HWND Process::WaitForMainWindow(unsigned timeoutMs)
{
    WaitUntil([&] { return (m_main = FindMainWindow()) != nullptr || !Running(); }, timeoutMs);
    return m_main;
}

HWND Process::WaitForOwnedDialog(HWND main, unsigned timeoutMs) const
{
    HWND dialog = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows())
            if (IsDialog(window) && GetWindow(window, GW_OWNER) == main && IsWindowVisible(window))
                dialog = window;
        return dialog != nullptr;
    }, timeoutMs);
    return dialog;
}

std::vector<HWND> Process::MessageBoxes() const
{
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindows()) {
        if (IsDialog(window) && IsWindowVisible(window) && GetDlgItem(window, idBoxText))
            boxes.push_back(window);
    }
    return boxes;
}

HWND Process::WaitForMessageBox(unsigned timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil([&] {
        auto boxes = MessageBoxes();
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr || !Running();
    }, timeoutMs);
    return box;
}

Pavix::Pavix(std::optional<std::string> database)
{
    if (database)
        m_dir.WriteFile("wtcmain.pvx", *database);
    Start(Exe(), "", m_dir.Path());
}

std::string Text(HWND window)
{
    auto length = std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH), 0);
    std::string text(length + 1, '\0');
    auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied);
    return text;
}

std::string ListEntry(HWND list, int index)
{
    const LRESULT length = Send(list, LB_GETTEXTLEN, index, 0, -1);
    if (length < 0)
        return "<no entry>";
    // Wine returns UTF-16 to another process's LB_GETTEXT even in the A form, so ask for it.
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 10000,
                        &copied);
    const int n = static_cast<int>(copied);
    std::string entry(WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, entry.data(), static_cast<int>(entry.size()), nullptr, nullptr);
    return entry;
}

std::vector<std::string> ListEntries(HWND list)
{
    std::vector<std::string> entries;
    for (LRESULT i = 0, count = Send(list, LB_GETCOUNT); i < count; ++i)
        entries.push_back(ListEntry(list, static_cast<int>(i)));
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

bool ClickRegister(const Process& program, const std::string& name)
{
    HWND dialog = program.WaitFor(idHoursList);
    return dialog &&
           Send(GetDlgItem(dialog, idCityNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str())) == TRUE &&
           PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

std::optional<MessageBoxView> Register(const Process& program, const std::string& name)
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

std::string AddedText(const std::string& name)
{
    return "Record For City Of " + UpperAToZ(name) + " [5.50] Added !!";
}

bool LeaveRegisterCity(const Process& program, HWND main)
{
    if (HWND dialog = program.WaitFor(idHoursList))
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !program.Find(idHoursList, false) && IsWindowEnabled(main); });
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
    // Wine 8 keeps the icons in a window of its X11 driver, Wine 10 in one of explorer's.
    for (auto [trayClass, iconClass] : {std::pair{"__winex11_standalone_tray", "__winex11_tray_icon"},
                                        std::pair{"Shell_TrayWnd", "__wine_tray_icon"}}) {
        HWND tray = FindWindowA(trayClass, nullptr);
        if (!tray)
            continue;
        int count = 0;
        for (HWND c = GetWindow(tray, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            count += ClassName(c) == iconClass && IsWindowVisible(c);
        return count;
    }
    return -1;
}

}  // namespace e2e
