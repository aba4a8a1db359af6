#pragma once
// Helpers for the in-process window tests: a scratch working directory, captured message
// boxes, bounded message pumping, actions run from inside a modal loop, and a watchdog that
// breaks a loop that would otherwise never end.
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace wintest {

// A fresh directory that is the working directory while the object lives.
class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        char base[MAX_PATH] = {}, previous[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "pavix-wt-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
        ::CreateDirectoryA(m_path.c_str(), nullptr);
        ::GetCurrentDirectoryA(MAX_PATH, previous);
        m_previous = previous;
        ::SetCurrentDirectoryA(m_path.c_str());
    }
    ~TempDir()
    {
        ::SetCurrentDirectoryA(m_previous.c_str());
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string full = m_path + "\\" + found.cFileName;
                ::DeleteFileA(full.c_str());
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }

    // Writes the bytes exactly as given (no line-end translation).
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_path + "\\" + name, std::ios::binary) << bytes;
    }

private:
    std::string m_path;
    std::string m_previous;
};

// Every message box shown while the object lives, instead of on screen.
class MessageBoxCapture {
public:
    MessageBoxCapture()
    {
        SetMessageBoxObserver([this](const std::string& text, const std::string& caption) {
            boxes.emplace_back(text, caption);
        });
    }
    ~MessageBoxCapture() { SetMessageBoxObserver(nullptr); }

    std::vector<std::pair<std::string, std::string>> boxes;
};

// Creates the dialog's window; a failure names the system's error (no display, most often).
inline ::testing::AssertionResult Created(Dialog& dialog)
{
    ::SetLastError(0);
    if (dialog.Create())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the dialog window was not created (error " << ::GetLastError() << ")";
}

// Removes every WM_QUIT waiting for this thread; returns how many there were and the last code.
inline int TakeQuit(int* code = nullptr)
{
    int count = 0;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        ++count;
        if (code)
            *code = int(msg.wParam);
    }
    return count;
}

// Runs action from this thread's message loop, whichever loop that is, as soon as ready()
// holds (checked every few milliseconds) or the time is up.
namespace detail {
struct Pending {
    std::function<bool()> ready;
    std::function<void()> action;
    DWORD deadline;
};
inline std::map<UINT_PTR, Pending>& PendingActions()
{
    static std::map<UINT_PTR, Pending> pending;
    return pending;
}
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    auto& pending = PendingActions();
    auto found = pending.find(id);
    if (found == pending.end()) {
        ::KillTimer(nullptr, id);
        return;
    }
    if (!found->second.ready() && int(found->second.deadline - ::GetTickCount()) > 0)
        return;
    ::KillTimer(nullptr, id);
    Pending run = std::move(found->second);
    pending.erase(found);
    run.action();
}
} // namespace detail

inline void RunWhen(std::function<bool()> ready, std::function<void()> action, DWORD timeoutMs = 3000)
{
    UINT_PTR id = ::SetTimer(nullptr, 0, 10, &detail::RunPending);
    detail::PendingActions()[id] = {std::move(ready), std::move(action), ::GetTickCount() + timeoutMs};
}

// Drops actions that never ran (their test has ended).
inline void ForgetPendingActions()
{
    for (auto& entry : detail::PendingActions())
        ::KillTimer(nullptr, entry.first);
    detail::PendingActions().clear();
}

// If the guarded code has not finished within the time, ends any open menu and posts a quit
// to the guarded thread, which ends every modal loop of ours.
class Watchdog {
public:
    explicit Watchdog(DWORD timeoutMs = 10000)
        : m_done(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_thread([this, timeoutMs, threadId = ::GetCurrentThreadId()] {
              if (::WaitForSingleObject(m_done, timeoutMs) == WAIT_OBJECT_0)
                  return;
              m_fired = true;
              ::EndMenu();
              ::Sleep(100);
              ::PostThreadMessageA(threadId, WM_QUIT, 0xDEAD, 0);
          })
    {
    }
    ~Watchdog()
    {
        ::SetEvent(m_done);
        m_thread.join();
        ::CloseHandle(m_done);
    }

    bool Fired() const { return m_fired; }

private:
    HANDLE m_done;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

// Runs the dialog modally; action runs from inside its loop once its window is there. A run
// the watchdog had to break fails the test.
inline INT_PTR RunModalWith(Dialog& dialog, std::function<void()> action)
{
    Watchdog watchdog;
    RunWhen([&dialog] { return dialog.GetHwnd() && ::IsWindowVisible(dialog.GetHwnd()); }, std::move(action));
    INT_PTR result = dialog.DoModal();
    EXPECT_FALSE(watchdog.Fired()) << "the modal run did not end by itself";
    return result;
}

// The colours a window hands out for a WM_CTLCOLOR... request about one of its controls.
struct CtlColors {
    bool hasBrush = false;
    COLORREF brush = CLR_INVALID;
    COLORREF text = CLR_INVALID;
};

inline CtlColors AskCtlColor(HWND window, UINT message, HWND control)
{
    CtlColors colors;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    ::SetTextColor(dc, RGB(1, 2, 3));  // a colour no handler would pick, so an unchanged DC shows
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(window, message, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control)));
    LOGBRUSH info{};
    if (brush && ::GetObjectA(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID) {
        colors.hasBrush = true;
        colors.brush = info.lbColor;
    }
    colors.text = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colors;
}

inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kYellow = RGB(255, 255, 0);

// Whether the shell holds a notification icon for (owner, id): a modify that changes
// nothing succeeds only for an icon that is there.
inline bool TrayIconPresent(HWND owner, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

inline std::string TextOf(HWND window)
{
    int length = ::GetWindowTextLengthA(window);
    std::string text(size_t(length) + 1, '\0');
    text.resize(size_t(::GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

// A real mouse click at a screen point, through the system's input queue.
inline void ClickAt(POINT screen, bool right = false)
{
    ::SetCursorPos(screen.x, screen.y);
    INPUT input[3] = {};
    for (INPUT& i : input)
        i.type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[0].mi.dx = ::MulDiv(screen.x, 65536, ::GetSystemMetrics(SM_CXSCREEN)) + 1;
    input[0].mi.dy = ::MulDiv(screen.y, 65536, ::GetSystemMetrics(SM_CYSCREEN)) + 1;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(3, input, sizeof input[0]);
}

} // namespace wintest
