#pragma once
// Processes of the tests' clients and servers. pavix.exe processes that the component runtime
// starts for a client are found as the ones that were not there before.
#include <windows.h>

#include <memory>
#include <set>
#include <string>

namespace com {

// Ids of the pavix.exe processes running now.
std::set<DWORD> PavixProcesses();

// One process, usually a pavix.exe. The destructor kills it if it still runs, so that a failed
// test leaves no server behind.
class Process {
public:
    // Opens the process by id unless its handle is given.
    explicit Process(DWORD id, HANDLE handle = nullptr);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return m_id; }
    bool Running() const;
    bool WaitForExit(unsigned timeoutMs = 10000) const;
    DWORD ExitCode() const;

    // The unowned dialog holding list 1002; visibleOnly skips it while hidden.
    HWND MainWindow(bool visibleOnly = true) const;
    HWND WaitForMainWindow(unsigned timeoutMs = 15000) const;
    // A visible dialog of this process owned by the main window (About, Help, Register City).
    HWND WaitForOwnedDialog(HWND main, unsigned timeoutMs = 15000) const;

    // A message box of this process: a dialog with the static text 0xFFFF.
    HWND WaitForMessageBox(unsigned timeoutMs = 15000) const;

private:
    DWORD m_id;
    HANDLE m_handle;
};

// The one pavix.exe that was not among before; null when none (or several) came in time.
std::unique_ptr<Process> WaitForNewServer(const std::set<DWORD>& before, unsigned timeoutMs = 15000);

// Starts exe with arguments in directory; output, if given, receives its standard output.
std::unique_ptr<Process> StartProcess(const std::string& exe, const std::string& arguments,
                                      const std::string& directory, HANDLE output = nullptr);
// Starts the pavix.exe that sits next to the test.
std::unique_ptr<Process> StartPavix(const std::string& arguments, const std::string& directory);
std::string ExeDirectory();

// The main window's clock shows a new selection: proof that it handled everything posted
// before, since timer ticks come only when no posted message waits.
bool Ticks(HWND main);

// Pressing Enter in the main window, as the dialog's message loop sees it.
void PostEnter(HWND main);

}  // namespace com
