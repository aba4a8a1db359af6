#pragma once
// Shared by the in-process, end-to-end and automation tests: a scratch folder that is the
// working directory while it lives, and a driver that starts pavix.exe and reads its windows.
#include "platform/Window.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <thread>

inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000)
{
    for (DWORD end = ::GetTickCount() + ms; !done(); ::Sleep(20))
        if (int(::GetTickCount() - end) > 0)
            return done();
    return true;
}

// A fresh folder holding the city database's bytes, or no database.
struct TempDir {
    explicit TempDir(std::optional<std::string> database = std::nullopt)
    {
        static int counter = 0;
        path.resize(::GetTempPathA(MAX_PATH, path.data()));
        path += "pavix-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
        ::CreateDirectoryA(path.c_str(), nullptr), ::SetCurrentDirectoryA(path.c_str());
        if (database)
            std::ofstream("wtcmain.pvx", std::ios::binary) << *database;
    }
    ~TempDir()
    {
        ::DeleteFileA("wtcmain.pvx"), ::SetCurrentDirectoryA(".."), ::RemoveDirectoryA(path.c_str());
    }
    static std::optional<std::string> Read()
    {
        std::ifstream in("wtcmain.pvx", std::ios::binary);
        return in ? std::optional((std::ostringstream() << in.rdbuf()).str()) : std::nullopt;
    }
    std::string path = std::string(MAX_PATH, '\0');
};

// A visible top-level window of process pid (0: any) that holds control id (0: any) and not
// control without, owned by owner when one is given, and not one of known.
inline HWND Find(DWORD pid, int id, int without = 0, HWND owner = nullptr,
                 const std::vector<HWND>& known = {})
{
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, nullptr, nullptr));) {
        DWORD of = 0;
        if (::GetWindowThreadProcessId(w, &of) && (!pid || of == pid) && ::IsWindowVisible(w) &&
            (!id || ::GetDlgItem(w, id)) && !(without && ::GetDlgItem(w, without)) &&
            (!owner || ::GetWindow(w, GW_OWNER) == owner) && !std::count(known.begin(), known.end(), w))
            return w;
    }
    return nullptr;
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
    explicit Process(const std::string& args = "", std::string exe = ExeDir() + "pavix.exe")
    {
        STARTUPINFOA startup{sizeof startup};
        PROCESS_INFORMATION info{};
        std::string line = "\"" + exe + "\" " + args;
        if (::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info))
            ::CloseHandle(info.hThread), handle = info.hProcess, pid = info.dwProcessId;
    }
    explicit Process(HWND window) : main(window)
    {
        ::GetWindowThreadProcessId(window, &pid);
        handle = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    }
    ~Process() { Kill(), ::CloseHandle(handle); }
    bool Exited(DWORD ms = 10000) const { return ::WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
    void Kill() const { ::TerminateProcess(handle, 9), Exited(); }
    HWND WaitFor(int id, int without = 0, HWND owner = nullptr, HWND found = nullptr) const
    {
        return WaitUntil([&] { return (found = Find(pid, id, without, owner)) || Exited(0); }, 15000), found;
    }
    HWND WaitForMain() { return main = WaitFor(IDC_YOUR_CITY_LIST); }
    void PostKey(WORD key) const
    {
        ::PostMessageA(::GetDlgItem(main, IDC_YOUR_CITY_LIST), WM_KEYDOWN, key, 1);
    }
    void Post(UINT message, WPARAM w = 0) const { ::PostMessageA(main, message, w, 0); }
    void Click(HWND dialog, int button) const
    {
        ::PostMessageA(::GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    }

    HANDLE handle = nullptr;
    DWORD pid = 0;
    HWND main = nullptr;
};

// Types name into the open Register City dialog and presses Register; unless told not to
// wait, answers the message box and returns its text.
inline std::string Register(const Process& p, const std::string& name, bool answer = true)
{
    HWND dialog = p.WaitFor(IDC_HOURS_LIST);
    ::SendMessageTimeoutA(::GetDlgItem(dialog, IDC_CITY_NAME_EDIT), WM_SETTEXT, 0, LPARAM(name.c_str()), 0,
                          5000, nullptr);
    p.Click(dialog, IDOK);
    HWND box = answer ? p.WaitFor(IDOK, IDC_HOURS_LIST) : nullptr;   // a message box: OK and no list
    std::string text = Window(::GetDlgItem(box, 0xFFFF)).GetText();
    p.Click(box, IDOK), WaitUntil([&] { return !::IsWindow(box); });
    return text;
}
