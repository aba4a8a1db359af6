#pragma once
// Starts the real pavix.exe in a scratch directory and drives it from this process.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Control ids of the main window and the Register City dialog.
enum : int {
    idYourCityTime = 1001,
    idYourCityList = 1002,
    idDestinationTime = 1003,
    idDestinationList = 1004,
    idYourCityName = 1007,
    idDestinationName = 1008,
    idDestinationDate = 1009,
    idYourCityDate = 1010,
    idCityNameEdit = 1014,
    idHoursList = 1018,
    idBoxText = 0xFFFF,
};
enum : int { cmdRegisterCity = 103, cmdMinimize = 106, cmdExit = 107 };
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

std::string ExeDirectory();
std::string UpperAToZ(std::string text);
// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);

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

// One process, usually a pavix.exe. The destructor kills it if it still runs, so that a failed
// test leaves nothing behind.
class Process {
public:
    Process() = default;
    // Opens the process by id unless its handle is given.
    explicit Process(DWORD id, HANDLE handle = nullptr);
    // Starts exe in directory; output, if given, receives its standard output.
    Process(const std::string& exe, const std::string& arguments, const std::string& directory,
            HANDLE output = nullptr);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return m_id; }
    bool Started() const { return m_handle != nullptr; }
    bool Running() const;
    // True once the process has ended within the time.
    bool WaitForExit(unsigned timeoutMs = 10000) const;
    DWORD ExitCode() const;
    void Terminate() const { TerminateProcess(m_handle, 9); }

    std::vector<HWND> TopLevelWindows() const;
    // A top-level window holding the control; visibleOnly skips hidden ones. A message box is
    // told by its text's id, which the dialogs' unnamed statics share.
    HWND Find(int controlId, bool visibleOnly = true) const;
    HWND WaitFor(int controlId, unsigned timeoutMs = 15000) const;
    // The unowned dialog holding list 1002; visibleOnly skips it while hidden.
    HWND FindMainWindow(bool visibleOnly = true) const;
    // Waits for the visible main window and remembers it; null on timeout.
    HWND WaitForMainWindow(unsigned timeoutMs = 15000);
    HWND Main() const { return m_main; }
    HWND Control(int id) const { return GetDlgItem(m_main, id); }
    // A visible dialog owned by the main window (About, Help, Register City).
    HWND WaitForOwnedDialog(HWND main, unsigned timeoutMs = 15000) const;
    std::vector<HWND> MessageBoxes() const;
    HWND WaitForMessageBox(unsigned timeoutMs = 15000) const;
    // Posts a command as the pop-up menu would.
    void PostCommand(int id) const { PostMessageA(m_main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

protected:
    void Start(const std::string& exe, const std::string& arguments, const std::string& directory,
               HANDLE output = nullptr);

private:
    DWORD m_id = 0;
    HANDLE m_handle = nullptr;
    HWND m_main = nullptr;
};

// pavix.exe started in a scratch directory, or in a given one.
class Pavix : public Process {
public:
    // database: the bytes of wtcmain.pvx; nullopt starts the program without that file.
    explicit Pavix(std::optional<std::string> database);
    static std::string Exe() { return ExeDirectory() + "pavix.exe"; }

private:
    TempDir m_dir;
};

// A SendMessage to another process that answers `failed` instead of hanging on a stuck program.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT failed = -2);
// WM_GETTEXT, which works across processes (GetWindowText does not for controls).
std::string Text(HWND window);

// Reading and setting a list box of another process.
std::string ListEntry(HWND list, int index);
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

// Types the name into the open Register City dialog and clicks Register without waiting.
bool ClickRegister(const Process& program, const std::string& name);
// Registers the name at the default offset and answers the message box it brings.
std::optional<MessageBoxView> Register(const Process& program, const std::string& name);
std::string AddedText(const std::string& name);
// Presses Exit in the Register City dialog; true once the main window is usable again.
bool LeaveRegisterCity(const Process& program, HWND main);

// True while the notification area holds the icon of (owner, id).
bool TrayIconPresent(HWND owner, UINT id = trayIconId);
// Icons in Wine's stand-in tray window (one child window each); -1 where there is none.
int WineTrayIconCount();

}  // namespace e2e
