#include "platform/Dialog.h"
#include "platform/App.h"

namespace {
thread_local Dialog* creating = nullptr;
thread_local HHOOK creationHook = nullptr;

// The dialog manager sends WM_INITDIALOG only to a dialog that has a procedure; ours does
// its work in the subclassed window procedure, so this one leaves everything to the default.
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
}

const MessageMapEntry Dialog::messageEntries[] = {
    OnMessage<&Dialog::OnInitDialogMessage>(WM_INITDIALOG),
    OnMessage<&Dialog::OnCtlColor>(WM_CTLCOLORDLG),
    OnMessage<&Dialog::OnCtlColor>(WM_CTLCOLORSTATIC),
    OnMessage<&Dialog::OnCtlColor>(WM_CTLCOLORBTN),
    OnMessage<&Dialog::OnHelpInfo>(WM_HELP),
    OnCommand<&Dialog::OnOKCommand>(IDOK),
    OnCommand<&Dialog::OnCancelCommand>(IDCANCEL),
};
const MessageMap Dialog::messageMap = {nullptr, Dialog::messageEntries};

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent)
{
}

Dialog::~Dialog()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

const MessageMap* Dialog::GetMessageMap() const
{
    return &messageMap;
}

HWND Dialog::FindOwner() const
{
    if (m_parent)
        return m_parent;
    Dialog* main = App::Current() ? App::Current()->GetMainWnd() : nullptr;
    if (!main || main == this)
        return nullptr;
    // Over the dialog the request came from, when the main window has one open: the main window
    // itself is disabled then, and that dialog would stay live underneath.
    HWND popup = ::GetLastActivePopup(main->GetHwnd());
    return ::IsWindowVisible(popup) && ::IsWindowEnabled(popup) ? popup : main->GetHwnd();
}

// Subclasses the dialog window as it is created, so that its table sees WM_CREATE too.
LRESULT CALLBACK Dialog::CreationHook(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_CREATEWND && creating && !creating->m_hWnd) {
        Dialog* self = creating;
        HWND hwnd = reinterpret_cast<HWND>(w);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_defaultProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Dialog::WindowProc)));
    }
    return ::CallNextHookEx(creationHook, code, w, l);
}

bool Dialog::Create()
{
    if (m_hWnd)
        return false;
    m_ended = false;
    m_colored = App::Current() && App::Current()->HasDialogColors();
    Dialog* outer = creating;
    HHOOK outerHook = creationHook;
    creating = this;
    creationHook = ::SetWindowsHookExA(WH_CBT, &Dialog::CreationHook, nullptr, ::GetCurrentThreadId());
    HWND hwnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), FindOwner(),
                                     &NoDialogProc, 0);
    ::UnhookWindowsHookEx(creationHook);
    creating = outer;
    creationHook = outerHook;
    if (!hwnd && m_hWnd)
        Detach();
    return hwnd != nullptr;
}

INT_PTR Dialog::DoModal()
{
    if (!Create())
        return -1;
    m_owner = ::GetWindow(m_hWnd, GW_OWNER);
    m_ownerDisabled = m_owner && ::IsWindowEnabled(m_owner);
    if (m_ownerDisabled)
        ::EnableWindow(m_owner, FALSE);
    if (m_hWnd && !m_ended)
        ::ShowWindow(m_hWnd, SW_SHOW);

    MSG msg;
    while (!m_ended) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // Let every enclosing loop see the quit as well.
            ::PostQuitMessage(got == 0 ? int(msg.wParam) : 0);
            break;
        }
        if (m_hWnd && ::IsDialogMessageA(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    ReturnToOwner();
    DestroyWindow();
    return m_result;
}

void Dialog::EndDialog(INT_PTR result)
{
    m_result = result;
    m_ended = true;
    ReturnToOwner();
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

// Enables the owner and hands it the activation while this dialog is still visible: a dialog that
// hides over a disabled owner passes the activation to another program's window.
void Dialog::ReturnToOwner()
{
    if (!m_ownerDisabled || !::IsWindow(m_owner))
        return;
    m_ownerDisabled = false;
    ::EnableWindow(m_owner, TRUE);
    if (m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetForegroundWindow(m_owner);
}

BOOL Dialog::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void Dialog::Detach()
{
    if (m_defaultProc && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_defaultProc));
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    }
    m_hWnd = nullptr;
}

LRESULT Dialog::Default()
{
    return ::CallWindowProcA(m_defaultProc, m_current.hwnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

LRESULT Dialog::Dispatch(UINT message, WPARAM w, LPARAM l)
{
    MSG outer = m_current;
    m_current = MSG{m_hWnd, message, w, l, 0, {}};
    const MessageMapEntry* entry = GetMessageMap()->Find(message, w);
    LRESULT result;
    if (entry)
        result = entry->call(*this, w, l);
    else if (message == WM_COMMAND && App::Current() && App::Current()->RouteCommand(w, l))
        result = 0;
    else
        result = Default();
    m_current = outer;
    return result;
}

LRESULT CALLBACK Dialog::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return ::DefDlgProcA(hwnd, message, w, l);
    if (message != WM_NCDESTROY)
        return self->Dispatch(message, w, l);

    LRESULT result = self->Dispatch(message, w, l);
    self->Detach();
    if (App* app = App::Current())
        app->OnWindowDestroyed(self);
    return result;
}

LRESULT Dialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    BOOL result = OnInitDialog();
    CenterIfUnplaced();
    return result;
}

// A template that asks for no place of its own (no DS_CENTER, at 0, 0) opens centred over its
// owner, or on the screen when it has none.
void Dialog::CenterIfUnplaced()
{
    if (!m_hWnd || (::GetWindowLongA(m_hWnd, GWL_STYLE) & (DS_CENTER | WS_CHILD)))
        return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    POINT origin{0, 0};
    if (owner)
        ::ClientToScreen(owner, &origin);
    // The template's position is that of the client area; the frame lies around it.
    POINT client{0, 0};
    ::ClientToScreen(m_hWnd, &client);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    bool atOrigin =
        (client.x == origin.x && client.y == origin.y) || (window.left == origin.x && window.top == origin.y);
    if (!atOrigin)
        return;
    RECT area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    int x = (area.left + area.right - (window.right - window.left)) / 2;
    int y = (area.top + area.bottom - (window.bottom - window.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL Dialog::OnInitDialog()
{
    return TRUE;
}
void Dialog::OnOK()
{
    EndDialog(IDOK);
}
void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT Dialog::OnHelpInfo(WPARAM, LPARAM)
{
    Send(WM_COMMAND, ID_HELP);
    return TRUE;
}

LRESULT Dialog::OnCtlColor(WPARAM w, LPARAM)
{
    if (!m_colored)
        return Default();
    App* app = App::Current();
    HDC dc = reinterpret_cast<HDC>(w);
    ::SetTextColor(dc, app->GetDialogTextColor());
    ::SetBkColor(dc, app->GetDialogBkColor());
    return reinterpret_cast<LRESULT>(app->GetDialogBrush());
}
