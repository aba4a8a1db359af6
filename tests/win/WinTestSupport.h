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
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
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
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "pavix-wt-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
        ::CreateDirectoryA(m_path.c_str(), nullptr);
        char previous[MAX_PATH] = {};
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
                std::string name = found.cFileName;
                if (name != "." && name != "..") {
                    std::string full = m_path + "\\" + name;
                    ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileA(full.c_str());
                }
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }

    // Writes the bytes exactly as given (no line-end translation).
    void Write(const std::string& name, const std::string& bytes) const
    {
        HANDLE file = ::CreateFileA((m_path + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (!bytes.empty())
            ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
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
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<std::pair<std::string, std::string>> boxes;
};

// Creates the dialog's window; on failure says what the system reports, and whether it can
// make a plain visible window at all (it cannot when the display is not there).
inline ::testing::AssertionResult Created(Dialog& dialog)
{
    ::SetLastError(0);
    if (dialog.Create())
        return ::testing::AssertionSuccess();
    DWORD error = ::GetLastError();
    HWND plain = ::CreateWindowExA(0, "Static", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    DWORD plainError = ::GetLastError();
    if (plain)
        ::DestroyWindow(plain);
    char display[256] = {};
    ::GetEnvironmentVariableA("DISPLAY", display, sizeof display);
    return ::testing::AssertionFailure() << "the dialog window was not created (error " << error
                                         << "); a plain visible window " << (plain ? "was" : "was not")
                                         << " (error " << plainError << "); DISPLAY=\"" << display << "\"";
}

// Dispatches this thread's messages until ready() holds or the time is up; returns ready().
inline bool PumpUntil(const std::function<bool()>& ready, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Not ours to eat: a test may be looking for it.
                ::PostQuitMessage(int(msg.wParam));
                return ready();
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (ready())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
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

// Whether a message of this kind is waiting in the queue for the window (left in place).
inline bool Queued(HWND window, UINT message, MSG* found = nullptr)
{
    MSG msg;
    if (!::PeekMessageA(&msg, window, message, message, PM_NOREMOVE))
        return false;
    if (found)
        *found = msg;
    return true;
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

inline void RunSoon(std::function<void()> action)
{
    RunWhen([] { return true; }, std::move(action));
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
    explicit Watchdog(DWORD timeoutMs = 10000) : m_threadId(::GetCurrentThreadId())
    {
        m_thread = std::thread([this, timeoutMs] {
            std::unique_lock lock(m_mutex);
            if (m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_finished; }))
                return;
            m_fired = true;
            lock.unlock();
            ::EndMenu();
            ::Sleep(100);
            ::PostThreadMessageA(m_threadId, WM_QUIT, 0xDEAD, 0);
        });
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bool Fired() const { return m_fired; }

private:
    DWORD m_threadId;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

// Runs the dialog modally; action runs from inside its loop once its window is there.
inline INT_PTR RunModalWith(Dialog& dialog, std::function<void()> action, bool* timedOut = nullptr)
{
    Watchdog watchdog;
    RunWhen([&dialog] { return dialog.GetHwnd() && ::IsWindowVisible(dialog.GetHwnd()); }, std::move(action));
    INT_PTR result = dialog.DoModal();
    if (timedOut)
        *timedOut = watchdog.Fired();
    return result;
}

// The colours a window hands out for a WM_CTLCOLOR... request about one of its controls.
struct CtlColors {
    bool hasBrush = false;
    COLORREF brush = CLR_INVALID;
    COLORREF text = CLR_INVALID;
    COLORREF background = CLR_INVALID;
};

inline CtlColors AskCtlColor(HWND window, UINT message, HWND control)
{
    CtlColors colors;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    // Colours no handler would pick, so that an unchanged DC shows.
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkColor(dc, RGB(4, 5, 6));
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(window, message, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control)));
    LOGBRUSH info{};
    if (brush && ::GetObjectA(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID) {
        colors.hasBrush = true;
        colors.brush = info.lbColor;
    }
    colors.text = ::GetTextColor(dc);
    colors.background = ::GetBkColor(dc);
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

inline std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

inline BOOL CALLBACK NoteVisiblePopup(HWND window, LPARAM l)
{
    auto* s = reinterpret_cast<std::pair<std::vector<HWND>*, HWND>*>(l);
    if (window != s->second && ::IsWindowVisible(window))
        s->first->push_back(window);
    return TRUE;
}

// Visible top-level windows of this thread, other than except.
inline std::vector<HWND> ThreadPopups(HWND except = nullptr)
{
    std::vector<HWND> found;
    std::pair<std::vector<HWND>*, HWND> state{&found, except};
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteVisiblePopup, reinterpret_cast<LPARAM>(&state));
    return found;
}

// The centre of a child window, in the client coordinates of its parent.
inline POINT CentreInParent(HWND child)
{
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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
