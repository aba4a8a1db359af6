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
        TextFile other;
        bool held = other.Open(kCityDatabaseName, TextFile::modeRead) == TextFile::openOk &&
            other.TryLock() == TextFile::lockHeld;
        boxes.push_back(caption + ": " + text + (held ? " (held)" : ""));
    });
}

inline std::map<UINT_PTR, std::pair<std::function<bool()>, std::function<void()>>> pending;
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = pending.find(id);
    if (it == pending.end() || !it->second.first())
        return;
    auto action = std::move(it->second.second);
    ::KillTimer(nullptr, id), pending.erase(it), action();
}
// Runs action from the loop that runs this thread's messages then, once ready() holds.
inline void RunWhen(std::function<bool()> ready, std::function<void()> action)
{
    pending[::SetTimer(nullptr, 0, 20, &RunPending)] = {std::move(ready), std::move(action)};
}

// Handles this thread's messages, keys through the dialog manager, until done() or a quit.
inline bool Pump(const std::function<bool()>& done)
{
    MSG m;
    for (DWORD end = ::GetTickCount() + 5000; !done() && int(::GetTickCount() - end) < 0;)
        if (!::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            ::Sleep(5);
        else if (m.message == WM_QUIT)
            return ::PostQuitMessage(int(m.wParam)), done();
        else if (!::IsDialogMessageA(::GetAncestor(m.hwnd, GA_ROOT), &m))
            ::DispatchMessageA(&m);
    return done();
}

// Starts the program on these database bytes (none: no file) in a scratch folder, as the
// component runtime would (so that the registry stays as it is), and runs act from inside the
// main window's loop; the window goes when act returns.
inline void RunApp(std::optional<std::string> database, std::function<void(CPavixDlg&)> act)
{
    TempDir dir(database);
    WatchBoxes();
    auto main = [] { return dynamic_cast<CPavixDlg*>(App::Current()->GetMainWnd()); };
    RunWhen([&] { return main() && main()->IsVisible(); },
            [&] { act(*main()), main() && main()->DestroyWindow(); });
    theApp.Run(::GetModuleHandleA(nullptr), "-Embedding");
    for (MSG quit; ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
    }
}
