#pragma once
// Shared by the in-process, end-to-end and automation tests: a scratch folder that is the
// working directory while it lives, and a driver that starts pavix.exe and reads its windows.
#include "citydb/CityDatabase.h"
#include "platform/TextFile.h"
#include "platform/Window.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

// Whether done() holds within ms milliseconds, times PAVIX_TEST_TIME_SCALE (where Wine runs
// under software emulation, several times slower). Meanwhile this thread's messages are handled,
// keys through the dialog manager, and a quit is left for the loop that runs this one.
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000)
{
    char scale[8] = "";
    ::GetEnvironmentVariableA("PAVIX_TEST_TIME_SCALE", scale, sizeof scale);
    ms *= std::max(1, std::atoi(scale));
    const DWORD start = ::GetTickCount();
    MSG m;
    while (!done() && ::GetTickCount() - start < ms) {
        if (!::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        if (m.message == WM_QUIT) {
            ::PostQuitMessage(int(m.wParam));
            break;
        }
        if (!::IsDialogMessageA(::GetAncestor(m.hwnd, GA_ROOT), &m))
            ::DispatchMessageA(&m);
    }
    return done();
}

// A fresh folder holding the city database's bytes, or no database.
struct TempDir {
    explicit TempDir(std::optional<std::string> database = std::nullopt)
    {
        static int counter = 0;
        ++counter;
        path.resize(::GetTempPathA(MAX_PATH, path.data()));
        path += "pavix-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter);
        ::CreateDirectoryA(path.c_str(), nullptr);
        ::SetCurrentDirectoryA(path.c_str());
        if (database)
            std::ofstream("wtcmain.pvx", std::ios::binary) << *database;
    }
    ~TempDir()
    {
        ::DeleteFileA("wtcmain.pvx");
        ::SetCurrentDirectoryA("..");
        ::RemoveDirectoryA(path.c_str());
    }
    static std::optional<std::string> Read()
    {
        std::ifstream in("wtcmain.pvx", std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string path = std::string(MAX_PATH, '\0');
};

// The static that holds a message box's text.
constexpr int kMessageBoxText = 0xFFFF;

// Whether another program holds the city database's lock: this one cannot take it.
inline bool DatabaseHeld()
{
    TextFile other;
    if (other.Open(kCityDatabaseName, TextFile::modeRead) != TextFile::openOk)
        return false;
    return other.TryLock() == TextFile::lockHeld;
}

// The top-level windows, taken in one call. Never walk them one by one with FindWindowEx: Wine 10's
// server spins for ever when the window it walks from is being destroyed meanwhile.
inline BOOL CALLBACK AddWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}
inline std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(&AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// A child of window with control id, as GetDlgItem finds it, but from one snapshot of the children.
// Not GetDlgItem on another process's windows: Wine 10 lists siblings from the first child on, and
// its server spins for ever when that child is being destroyed meanwhile (unlinked, not yet freed).
struct ItemSearch {
    HWND parent;
    WORD id;   // dialog templates hold 16-bit ids
    HWND found;
};
inline BOOL CALLBACK MatchItem(HWND child, LPARAM search)
{
    auto* s = reinterpret_cast<ItemSearch*>(search);
    if (WORD(::GetDlgCtrlID(child)) != s->id || ::GetAncestor(child, GA_PARENT) != s->parent)
        return TRUE;
    s->found = child;
    return FALSE;
}
inline HWND Item(HWND window, int id)
{
    ItemSearch search{window, WORD(id), nullptr};
    ::EnumChildWindows(window, &MatchItem, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible top-level window of process pid (anyProcess: any) that holds control id (0: any) and not
// control without (0: none), is owned by owner when one is given, and is not one of known.
constexpr DWORD anyProcess = 0;
inline HWND Find(DWORD pid, int id, int without = 0, HWND owner = nullptr,
                 const std::vector<HWND>& known = {})
{
    for (HWND window : TopLevelWindows()) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        const bool holds = (!id || Item(window, id)) && !(without && Item(window, without));
        const bool owned = !owner || ::GetWindow(window, GW_OWNER) == owner;
        const bool isKnown = std::find(known.begin(), known.end(), window) != known.end();
        if (::IsWindowVisible(window) && (!pid || process == pid) && holds && owned && !isKnown)
            return window;
    }
    return nullptr;
}

// Both registry views where 32-bit and 64-bit programs run side by side; else the one.
inline std::vector<REGSAM> RegistryViews()
{
    char wow64[MAX_PATH] = "";
    ::GetSystemWow64DirectoryA(wow64, MAX_PATH);
    const std::string kernel = wow64 + std::string("\\kernel32.dll");
    if (::GetFileAttributesA(kernel.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {0};
    return {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
}

inline std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), int(wide.size()))));
    return wide;
}

inline std::string ExeDir()
{
    char path[MAX_PATH];
    std::string exe(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return exe.erase(exe.rfind('\\') + 1);
}

// A running program: one started in the working directory (pavix.exe unless exe is given), or
// the process of a window. It is killed if it outlives the object.
struct Process {
    explicit Process(const std::string& args = "", const std::string& exe = ExeDir() + "pavix.exe")
        : Process(Wide(exe), Wide(args))
    {
    }
    // A program at a path that the ANSI code page may not hold.
    explicit Process(const std::wstring& exe, const std::wstring& args = {})
    {
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION info{};
        std::wstring line = L"\"" + exe + L"\" " + args;
        const BOOL started = ::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                              nullptr, &startup, &info);
        if (!started) {
            ADD_FAILURE() << "could not start " << exe << ": error " << ::GetLastError();
            return;
        }
        ::CloseHandle(info.hThread);
        handle = info.hProcess;
        pid = info.dwProcessId;
    }
    explicit Process(HWND window) : main(window)
    {
        ::GetWindowThreadProcessId(window, &pid);
        handle = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    }
    ~Process()
    {
        Kill();
        ::CloseHandle(handle);
    }
    bool Exited(DWORD ms = 10000) const { return ::WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
    void Kill() const
    {
        ::TerminateProcess(handle, 9);
        Exited();
    }
    // A wanted window of this process (see Find); none once the process has ended, or when it
    // never started.
    HWND WaitFor(int id, int without = 0, HWND owner = nullptr) const
    {
        HWND found = nullptr;
        if (!handle)
            return nullptr;
        WaitUntil(
            [&] {
                found = Find(pid, id, without, owner);
                return found || Exited(0);
            },
            15000);
        return found;
    }
    HWND WaitForMain()
    {
        main = WaitFor(IDC_YOUR_CITY_LIST);
        return main;
    }
    void PostKey(WORD key) const { ::PostMessageA(Item(main, IDC_YOUR_CITY_LIST), WM_KEYDOWN, key, 1); }
    void Post(UINT message, WPARAM w = 0) const { ::PostMessageA(main, message, w, 0); }
    void Click(HWND dialog, int button) const { ::PostMessageA(Item(dialog, button), BM_CLICK, 0, 0); }

    HANDLE handle = nullptr;
    DWORD pid = 0;
    HWND main = nullptr;
};

// What one Register did: the name the dialog came with, and the message box's text.
struct Registration {
    std::string preset;
    std::string box;
};

// Types name into the open Register City dialog and presses Register; unless told not to wait,
// answers the message box.
inline Registration Register(const Process& p, const std::string& name, bool answer = true)
{
    Registration done;
    HWND dialog = p.WaitFor(IDC_HOURS_LIST);
    HWND edit = Item(dialog, IDC_CITY_NAME_EDIT);
    char shown[16] = "";
    ::SendMessageTimeoutA(edit, WM_GETTEXT, sizeof shown, LPARAM(shown), 0, 5000, nullptr);
    done.preset = shown;
    ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, LPARAM(name.c_str()), 0, 5000, nullptr);
    p.Click(dialog, IDOK);
    if (!answer)
        return done;
    HWND box = p.WaitFor(IDOK, IDC_HOURS_LIST);   // a message box: OK and no list
    done.box = Window(Item(box, kMessageBoxText)).GetText();
    p.Click(box, IDOK);
    WaitUntil([&] { return !::IsWindow(box); });
    return done;
}
