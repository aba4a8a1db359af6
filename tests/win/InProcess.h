#pragma once
// The program's dialogs in this process: its application object, every message box it shows,
// and actions run from inside whichever message loop is running.
#include "e2e/Driver.h"

#include "app/pavix.h"
#include "platform/LocalClock.h"
#include "platform/MessageBox.h"
#include "ui/PHelp.h"
#include "ui/PReg.h"
#include "ui/pavixDlg.h"

#include <map>
#include <shellapi.h>

inline CPavixApp theApp;

// Every message box, as "caption: text", marked when the program still held the database then.
inline std::vector<std::string> boxes;
inline void WatchBoxes()
{
    boxes.clear();
    SetMessageBoxObserver([](auto& text, auto& caption) {
        const char* held = DatabaseHeld() ? " (held)" : "";
        boxes.push_back(caption + ": " + text + held);
    });
}

// Opens the database shared with no one, as another program may.
inline HANDLE HoldTheFile()
{
    return ::CreateFileA(kCityDatabaseName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}
// The same, closed again after ms.
inline std::thread HoldTheFile(DWORD ms)
{
    HANDLE holder = HoldTheFile();
    return std::thread([holder, ms] {
        ::Sleep(ms);
        ::CloseHandle(holder);
    });
}

struct PendingAction {
    std::function<bool()> ready;
    std::function<void()> action;
};
inline std::map<UINT_PTR, PendingAction> pending;
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = pending.find(id);
    if (it == pending.end() || !it->second.ready())
        return;
    auto action = std::move(it->second.action);
    ::KillTimer(nullptr, id);
    pending.erase(it);
    action();
}
// Drops every action still waiting, so that one a failed check left behind answers no later window.
inline void DropPending()
{
    for (const auto& entry : pending)
        ::KillTimer(nullptr, entry.first);
    pending.clear();
}
// Runs action from the loop that runs this thread's messages then, once ready() holds.
inline void RunWhen(std::function<bool()> ready, std::function<void()> action)
{
    pending[::SetTimer(nullptr, 0, 20, &RunPending)] = {std::move(ready), std::move(action)};
}

// Starts the program on these database bytes (none: no file) in a scratch folder, as the
// component runtime would (so that the registry stays as it is), and runs act from inside the
// main window's loop; the window goes when act returns. prepare runs in the folder first.
inline void RunApp(std::optional<std::string> database, std::function<void(CPavixDlg&)> act,
                   const std::function<void()>& prepare = nullptr)
{
    TempDir dir(database);
    WatchBoxes();
    DropPending();
    if (prepare)
        prepare();
    const auto main = [] { return dynamic_cast<CPavixDlg*>(App::Current()->GetMainWnd()); };
    RunWhen([&] { return main() && main()->IsVisible(); },
            [&] {
                act(*main());
                if (main())
                    main()->DestroyWindow();
            });
    theApp.Run(::GetModuleHandleA(nullptr), "-Embedding");
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
