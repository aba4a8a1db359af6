// The dialog on its own: how a modal run begins and how it ends.
#include "InProcess.h"

// A dialog that ends while it opens, as one with nothing left to ask may.
struct EndsWhileOpening : Dialog {
    EndsWhileOpening() : Dialog(IDD_ABOUT_DIALOG) {}
    BOOL OnInitDialog() override
    {
        EndDialog(IDOK);
        return TRUE;
    }
};

// A dialog open when the program is told to quit.
struct QuitWhileOpen : Dialog {
    explicit QuitWhileOpen(HWND owner) : Dialog(IDD_ABOUT_DIALOG, owner) {}
    BOOL OnInitDialog() override
    {
        ::PostQuitMessage(0);
        return TRUE;
    }
};

bool shownInThisThread = false;
LRESULT CALLBACK NoteShowing(int code, WPARAM w, LPARAM l)
{
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(l);
    const bool child = ::GetWindowLongPtrA(call.hwnd, GWL_STYLE) & WS_CHILD;
    if (call.message == WM_SHOWWINDOW && call.wParam && !child)
        shownInThisThread = true;
    return ::CallNextHookEx(nullptr, code, w, l);
}

// Any program's hook may refuse a window as it is made.
LRESULT CALLBACK RefuseEveryWindow(int code, WPARAM w, LPARAM l)
{
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, w, l);
}

TEST(Dialog, OneEndedWhileItOpensIsNeverShown)
{
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &NoteShowing, nullptr, ::GetCurrentThreadId());
    EndsWhileOpening dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ::UnhookWindowsHookEx(hook);
    EXPECT_FALSE(shownInThisThread);
}

// A refused window leaves no handle behind, which Windows could give to another window: the
// dialog opens when asked again.
TEST(Dialog, OneWhoseWindowWasRefusedOpensWhenAskedAgain)
{
    EndsWhileOpening dialog;
    HHOOK refuse = ::SetWindowsHookExA(WH_CBT, &RefuseEveryWindow, nullptr, ::GetCurrentThreadId());
    EXPECT_EQ(dialog.DoModal(), -1);
    ::UnhookWindowsHookEx(refuse);
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

// The quit ends the run without EndDialog, and is left for the loops outside it.
TEST(Dialog, AQuitEndsItAndGivesTheOwnerItsInputBack)
{
    HWND owner = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    QuitWhileOpen dialog(owner);
    dialog.DoModal();
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}
