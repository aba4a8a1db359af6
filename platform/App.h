#pragma once
#include "platform/MessageMap.h"

#include <windows.h>
#include <string>

class Dialog;

// The toolkit's standard Help command, which F1 raises in every dialog.
inline constexpr UINT ID_HELP = 57670;

// The application object: main-window pointer, process-wide lock count, program-wide
// dialog colours and the component runtime's start switches. One per process.
class App : public MessageTarget {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Current();

    // The base of a program's table, empty.
    static const MessageMap messageMap;
    // A command that no window's table took, through the application's table; false if it
    // has no line for it either.
    bool RouteCommand(WPARAM w, LPARAM l);

    // The process entry's work: runs InitInstance. Returns the process's exit code, always 0:
    // the program tells the user of a failure, never its caller.
    int Run(HINSTANCE instance, const char* commandLine);
    virtual BOOL InitInstance() = 0;

    HINSTANCE GetInstance() const { return m_instance; }
    // The executable's file name without its extension: the caption of plain message boxes.
    std::string GetName() const;
    const std::string& CommandLine() const { return m_commandLine; }

    Dialog* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(Dialog* window) { m_pMainWnd = window; }

    void SetDialogColors(COLORREF background, COLORREF text);
    bool HasDialogColors() const { return m_dialogBrush != nullptr; }
    COLORREF GetDialogBkColor() const { return m_dialogBk; }
    COLORREF GetDialogTextColor() const { return m_dialogText; }
    HBRUSH GetDialogBrush() const { return m_dialogBrush; }

    // Start switches of the component runtime ("/Embedding", "-Automation", any case).
    // A switch that is found is removed from the command line and marks a runtime start.
    bool IsEmbedded() { return TakeSwitch("Embedding"); }
    bool IsAutomated() { return TakeSwitch("Automation"); }
    bool StartedByRuntime() const { return m_startedByRuntime; }

    // Reasons to stay alive. The release of the last one, in a program the runtime started,
    // ends the program once: destroys the main window if it is there and enabled, or quits.
    void Lock();
    void Unlock();
    long GetLockCount() const { return m_lockCount; }
    bool UserControl() const { return m_userControl; }

    // Called by every dialog window as it goes: the main window's destruction ends the
    // modal run unless a lock is held.
    void OnWindowDestroyed(Dialog* window);

protected:
    const MessageMap* GetMessageMap() const override { return &messageMap; }

private:
    bool TakeSwitch(const char* name);

    HINSTANCE m_instance = nullptr;
    std::string m_commandLine;
    Dialog* m_pMainWnd = nullptr;
    COLORREF m_dialogBk = 0;
    COLORREF m_dialogText = 0;
    HBRUSH m_dialogBrush = nullptr;
    bool m_startedByRuntime = false;
    bool m_userControl = false;
    long m_lockCount = 0;
};
