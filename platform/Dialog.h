#pragma once
#include "platform/MessageMap.h"
#include "platform/Window.h"

// A dialog built from a template and routed through its class's message table.
// DoModal runs its own message loop, so that the program can live on without a window
// while an automation client holds it, and timer messages flow through every nested loop.
class Dialog : public Window, public MessageTarget {
public:
    explicit Dialog(UINT templateId, HWND parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window, disables the owner, loops until EndDialog or WM_QUIT, then
    // destroys the window. -1 when the window could not be created.
    INT_PTR DoModal();
    // Creates the window without a loop; owner null means the application's main window.
    bool Create();
    void EndDialog(INT_PTR result);
    bool IsEnded() const { return m_ended; }
    virtual BOOL DestroyWindow();

    static const MessageMap messageMap;

protected:
    const MessageMap* GetMessageMap() const override;
    // The platform's handling of the message being handled now.
    LRESULT Default();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    // F1: the focused control passes WM_HELP up to its dialog, which raises the standard
    // Help command.
    LRESULT OnHelpInfo(WPARAM, LPARAM);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

private:
    static const MessageMapEntry messageEntries[];
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK CreationHook(int code, WPARAM w, LPARAM l);
    LRESULT Dispatch(UINT message, WPARAM w, LPARAM l);
    void Detach();
    HWND FindOwner() const;
    void CenterIfUnplaced();
    void ReturnToOwner();

    UINT m_templateId;
    HWND m_parent;
    WNDPROC m_defaultProc = nullptr;
    HWND m_owner = nullptr;
    bool m_ownerDisabled = false;   // by this dialog's modal run, until it ends
    bool m_colored = false;
    bool m_ended = false;
    INT_PTR m_result = -1;
    MSG m_current{};
};
