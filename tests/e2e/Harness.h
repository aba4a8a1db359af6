#pragma once
// Starts the real pavix.exe in a scratch directory and drives it from this process.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Control ids of the main window.
enum : int {
    idYourCityTime = 1001,
    idYourCityList = 1002,
    idDestinationTime = 1003,
    idDestinationList = 1004,
    idYourCityName = 1007,
    idDestinationName = 1008,
    idDestinationDate = 1009,
    idYourCityDate = 1010,
};
enum : int { cmdMinimize = 106, cmdExit = 107 };
constexpr UINT trayIconId = 1;

// Polls until cond() holds or timeoutMs has passed; returns the last answer.
template <class Condition>
bool WaitUntil(Condition cond, unsigned timeoutMs = 5000)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (cond())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return cond();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// A fresh directory under %TEMP%, removed with its files on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    void WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

// One pavix.exe process. The destructor kills it if it still runs.
class Pavix {
public:
    // database: the bytes of wtcmain.pvx; nullopt starts the program without that file.
    explicit Pavix(std::optional<std::string> database);
    ~Pavix();
    Pavix(const Pavix&) = delete;
    Pavix& operator=(const Pavix&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    bool Running() const;
    // True once the process has ended within the time.
    bool WaitForExit(unsigned timeoutMs = 10000) const;

    // The top-level dialog holding list 1002; visibleOnly skips it while hidden.
    HWND FindMainWindow(bool visibleOnly = true) const;
    // Waits for the visible main window and remembers it; null on timeout.
    HWND WaitForMainWindow(unsigned timeoutMs = 15000);
    HWND Main() const { return m_main; }
    HWND Control(int id) const { return GetDlgItem(m_main, id); }

    // Message boxes of this process: dialogs with the static text 0xFFFF.
    std::vector<HWND> MessageBoxes() const;
    HWND WaitForMessageBox(unsigned timeoutMs = 15000) const;

    // Posts a command as the pop-up menu would.
    void PostCommand(int id) const;

private:
    std::vector<HWND> TopLevelWindows() const;

    TempDir m_dir;
    PROCESS_INFORMATION m_process{};
    HWND m_main = nullptr;
};

// WM_GETTEXT, which works across processes (GetWindowText does not for controls).
std::string Text(HWND window);

// Reading and setting a list box of another process.
std::vector<std::string> ListEntries(HWND list);
int ListSelection(HWND list);
void SelectListEntry(HWND list, int index);

struct MessageBoxView {
    std::string caption;
    std::string text;
    int visibleButtons = 0;
    bool hasOk = false;
};
MessageBoxView ReadMessageBox(HWND box);
// Clicks OK without waiting for the box's owner to react.
void PressOk(HWND box);

// True while the notification area holds the icon of (owner, id).
bool TrayIconPresent(HWND owner, UINT id = trayIconId);
// Icons in Wine's stand-in tray window (one child window each); -1 where there is none.
int WineTrayIconCount();

}  // namespace e2e
