// The main window's right-click menu, read back while it is open.
#include "WinTestSupport.h"

#include "platform/App.h"
#include "res/resource.h"
#include "ui/pavixDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace wintest;

namespace {

// An item as "id type state text", so that a mismatch prints readably.
std::string MenuItem(UINT id, UINT type, UINT state, const std::string& text)
{
    return std::to_string(id) + " " + std::to_string(type) + " " + std::to_string(state) + " " + text;
}

std::vector<std::string> ReadMenu(HMENU menu)
{
    std::vector<std::string> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ::GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
        // The system keeps separators disabled, and highlighting follows the pointer: neither
        // is how the item was made.
        if (info.fType & MFT_SEPARATOR)
            info.fState = 0;
        info.fState &= ~UINT(MFS_HILITE);
        items.push_back(MenuItem(info.wID, info.fType, info.fState, text));
    }
    return items;
}

// Records every menu the owner opens, read when the menu loop first goes idle, and closes it
// with Escape.
class MenuWatch {
public:
    explicit MenuWatch(HWND owner) : m_owner(owner)
    {
        current = this;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuWatch()
    {
        ::UnhookWindowsHookEx(m_hook);
        current = nullptr;
    }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    std::vector<std::vector<std::string>> opened;

private:
    static inline MenuWatch* current = nullptr;

    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        MenuWatch* self = current;
        if (code == HC_ACTION && self) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
            if (call->message == WM_INITMENUPOPUP && call->hwnd == self->m_owner) {
                self->m_pending = reinterpret_cast<HMENU>(call->wParam);
            } else if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU && self->m_pending) {
                self->opened.push_back(ReadMenu(self->m_pending));
                self->m_pending = nullptr;
                ::PostMessageA(reinterpret_cast<HWND>(call->lParam), WM_KEYDOWN, VK_ESCAPE, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, w, l);
    }

    HHOOK m_hook = nullptr;
    HMENU m_pending = nullptr;
    HWND m_owner;
};

const std::vector<std::string> kExpectedItems{
    MenuItem(ID_MENU_ABOUT, MFT_STRING, MFS_ENABLED, "About.."),
    MenuItem(ID_MENU_SEPARATOR_1, MFT_SEPARATOR, MFS_ENABLED, ""),
    MenuItem(ID_MENU_REGISTER_CITY, MFT_STRING, MFS_ENABLED, "Register City.."),
    MenuItem(ID_MENU_HELP, MFT_STRING, MFS_ENABLED, "Help !!"),
    MenuItem(ID_MENU_SEPARATOR_2, MFT_SEPARATOR, MFS_ENABLED, ""),
    MenuItem(ID_MENU_MINIMIZE, MFT_STRING, MFS_ENABLED, "Minimize.."),
    MenuItem(ID_MENU_EXIT, MFT_STRING, MFS_ENABLED, "Exit"),
};

BOOL CALLBACK NoteHelp(HWND window, LPARAM l)
{
    auto* found = reinterpret_cast<std::vector<HWND>*>(l);
    if (::GetDlgItem(window, IDC_HELP_TEXT) && ::IsWindowVisible(window))
        found->push_back(window);
    return TRUE;
}

// The Help dialogs open on this thread.
std::vector<HWND> HelpWindows()
{
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteHelp, reinterpret_cast<LPARAM>(&found));
    return found;
}

void PressF1()
{
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = VK_F1;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, key, sizeof key[0]);
}

class MenuTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxCapture boxes;
    std::unique_ptr<CPavixDlg> dialog;

    void SetUp() override
    {
        // Keep the pointer off the menus: an item under it would be selected.
        ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        dir.Write("wtcmain.pvx", "Tokyo\t9.00\r\nboston\t-5.00\r\nCairo\t2.00\r\n");
        dialog = std::make_unique<CPavixDlg>();
        ASSERT_TRUE(Created(*dialog));
        App::Current()->SetMainWnd(dialog.get());
    }
    void TearDown() override
    {
        App::Current()->SetMainWnd(nullptr);
        dialog->DestroyWindow();
        dialog.reset();
        ForgetPendingActions();
        TakeQuit();
    }

    HWND Hwnd() const { return dialog->GetHwnd(); }

    RECT ClientOnScreen() const
    {
        RECT r;
        ::GetClientRect(Hwnd(), &r);
        ::MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // A right click's request, as the window receives it.
    void ContextMenu(POINT screen)
    {
        Watchdog watchdog(5000);
        ::SendMessageA(Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(screen.x, screen.y));
        EXPECT_FALSE(watchdog.Fired()) << "the menu stayed open";
    }

    bool CommandQueued()
    {
        MSG msg;
        return ::PeekMessageA(&msg, Hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != FALSE;
    }
};

TEST_F(MenuTest, RightClickOpensTheSevenItemsAndDismissingRunsNothing)
{
    MenuWatch watch(Hwnd());
    RECT client = ClientOnScreen();
    ContextMenu({(client.left + client.right) / 2, (client.top + client.bottom) / 2});
    ASSERT_EQ(watch.opened.size(), 1u);
    EXPECT_EQ(watch.opened[0], kExpectedItems);
    // A command run at once would have shown (and the watchdog ended) its dialog, or changed
    // the window; one run later would be waiting in the queue.
    EXPECT_FALSE(CommandQueued());
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(::IsIconic(Hwnd()));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MenuTest, RequestsOutsideTheClientAreaOpenNothing)
{
    MenuWatch watch(Hwnd());
    RECT client = ClientOnScreen();
    RECT window;
    ::GetWindowRect(Hwnd(), &window);
    ASSERT_LT(window.left, client.left) << "the window has a border";

    ContextMenu({window.left, window.top});          // the border
    ContextMenu({client.right, client.top + 10});    // the right edge is outside
    ContextMenu({client.left + 10, client.bottom});  // so is the bottom edge
    ContextMenu({-1, -1});                           // from the keyboard
    EXPECT_TRUE(watch.opened.empty());
    EXPECT_FALSE(CommandQueued());

    // The left and top edges are inside.
    ContextMenu({client.left, client.top});
    EXPECT_EQ(watch.opened.size(), 1u);
}

TEST_F(MenuTest, F1AndTheStandardHelpCommandOpenOneHelpOverTheMainWindow)
{
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"F1", [this] { ::SetForegroundWindow(Hwnd()); PressF1(); }},
        {"WM_COMMAND 57670", [this] { ::PostMessageA(Hwnd(), WM_COMMAND, ID_HELP, 0); }},
    };
    for (const auto& [what, raise] : ways) {
        SCOPED_TRACE(what);
        std::vector<HWND> owners;   // of every Help open
        bool done = false;
        RunWhen([] { return !HelpWindows().empty(); }, [&] {
            PressF1();   // inside Help: no second one
            const DWORD until = ::GetTickCount() + 300;
            RunWhen([until] { return int(::GetTickCount() - until) >= 0; }, [&] {
                for (HWND help : HelpWindows()) {
                    owners.push_back(::GetWindow(help, GW_OWNER));
                    ::PostMessageA(help, WM_KEYDOWN, VK_ESCAPE, 0);
                }
                done = true;
            });
        });
        Watchdog watchdog(5000);
        raise();
        for (MSG msg; !done && ::GetMessageA(&msg, nullptr, 0, 0) > 0;) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        EXPECT_EQ(owners, std::vector<HWND>{Hwnd()});
    }
}

} // namespace
