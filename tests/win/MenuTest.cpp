// The main window's right-click menu, read back while it is open, and the commands behind it.
#include "WinTestSupport.h"

#include "platform/App.h"
#include "platform/ListBox.h"
#include "res/resource.h"
#include "ui/pavixDlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace wintest;

namespace {

struct MenuItem {
    UINT id;
    UINT type;
    UINT state;
    std::string text;
    bool operator==(const MenuItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item)
{
    return out << "{" << item.id << ", type " << item.type << ", state " << item.state << ", \"" << item.text
               << "\"}";
}

std::vector<MenuItem> ReadMenu(HMENU menu)
{
    std::vector<MenuItem> items;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ::GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
        // The system itself keeps separators disabled; only their kind and id are ours.
        if (info.fType & MFT_SEPARATOR)
            info.fState = 0;
        // Highlighting follows the pointer; it is not how the item was made.
        info.fState &= ~UINT(MFS_HILITE);
        items.push_back({info.wID, info.fType, info.fState, text});
    }
    return items;
}

// Watches this thread for a menu opened by a window of it: when the menu loop first goes idle,
// it records the menu and its window and hands both to onOpen, which must close the menu
// (by default Escape closes it).
class MenuWatch {
public:
    struct Opened {
        HMENU menu = nullptr;
        HWND window = nullptr;
        HWND owner = nullptr;
        RECT rect{};
        std::vector<MenuItem> items;
        HMENU windowMenu = nullptr;  // what the menu window itself says it shows
    };

    explicit MenuWatch(std::function<void(const Opened&)> onOpen = nullptr) : m_onOpen(std::move(onOpen))
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

    std::vector<Opened> opened;

private:
    static inline MenuWatch* current = nullptr;

    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        MenuWatch* self = current;
        if (code == HC_ACTION && self) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
            if (call->message == WM_INITMENUPOPUP) {
                self->m_pending = reinterpret_cast<HMENU>(call->wParam);
                self->m_owner = call->hwnd;
            } else if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU && self->m_pending) {
                Opened o;
                o.menu = self->m_pending;
                o.owner = self->m_owner;
                o.window = reinterpret_cast<HWND>(call->lParam);
                ::GetWindowRect(o.window, &o.rect);
                o.items = ReadMenu(o.menu);
                o.windowMenu = reinterpret_cast<HMENU>(::SendMessageA(o.window, MN_GETHMENU, 0, 0));
                self->m_pending = nullptr;
                self->opened.push_back(o);
                if (self->m_onOpen)
                    self->m_onOpen(o);
                else
                    ::PostMessageA(o.window, WM_KEYDOWN, VK_ESCAPE, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, w, l);
    }

    std::function<void(const Opened&)> m_onOpen;
    HHOOK m_hook = nullptr;
    HMENU m_pending = nullptr;
    HWND m_owner = nullptr;
};

void PressKeys(HWND window, std::initializer_list<WPARAM> keys)
{
    for (WPARAM key : keys)
        ::PostMessageA(window, WM_KEYDOWN, key, 0);
}

const std::vector<MenuItem> kExpectedItems{
    {ID_MENU_ABOUT, MFT_STRING, MFS_ENABLED, "About.."},
    {ID_MENU_SEPARATOR_1, MFT_SEPARATOR, MFS_ENABLED, ""},
    {ID_MENU_REGISTER_CITY, MFT_STRING, MFS_ENABLED, "Register City.."},
    {ID_MENU_HELP, MFT_STRING, MFS_ENABLED, "Help !!"},
    {ID_MENU_SEPARATOR_2, MFT_SEPARATOR, MFS_ENABLED, ""},
    {ID_MENU_MINIMIZE, MFT_STRING, MFS_ENABLED, "Minimize.."},
    {ID_MENU_EXIT, MFT_STRING, MFS_ENABLED, "Exit"},
};

class MenuTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxCapture boxes;
    std::unique_ptr<CPavixDlg> dialog;

    void SetUp() override
    {
        // Keep the pointer off the menus: an item under it is selected, and keys start from it.
        ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        dir.Write("wtcmain.pvx", "Tokyo\t9.00\r\nboston\t-5.00\r\nCairo\t2.00\r\n");
        dialog = std::make_unique<CPavixDlg>();
        ASSERT_TRUE(Created(*dialog));
        App::Current()->SetMainWnd(dialog.get());
        DropCommands();
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

    POINT ClientCentreOnScreen() const
    {
        RECT r = ClientOnScreen();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // A right click's request, as the window receives it.
    void ContextMenu(HWND target, POINT screen)
    {
        Watchdog watchdog(5000);
        ::SendMessageA(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(screen.x, screen.y));
        EXPECT_FALSE(watchdog.Fired()) << "the menu stayed open";
    }

    void DropCommands()
    {
        MSG msg;
        while (::PeekMessageA(&msg, Hwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        }
    }

    std::vector<WPARAM> QueuedCommands()
    {
        std::vector<WPARAM> commands;
        MSG msg;
        while (::PeekMessageA(&msg, Hwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
            commands.push_back(msg.wParam);
        return commands;
    }
};

// ---------------------------------------------------------------------------------------------

TEST_F(MenuTest, RightClickOpensTheSevenItemsCentredUnderThePointer)
{
    MenuWatch watch;
    POINT at = ClientCentreOnScreen();
    ContextMenu(Hwnd(), at);
    ASSERT_EQ(watch.opened.size(), 1u);
    const MenuWatch::Opened& menu = watch.opened[0];
    EXPECT_EQ(menu.items, kExpectedItems);
    EXPECT_EQ(menu.owner, Hwnd());
    EXPECT_EQ(menu.windowMenu, menu.menu);
    // Centred across the point, its top edge at the point.
    EXPECT_EQ(menu.rect.top, at.y);
    EXPECT_LE(std::abs((menu.rect.left + menu.rect.right) / 2 - at.x), 1) << menu.rect.left << ".." << menu.rect.right;
    // The menu is gone afterwards, and was made for this request only.
    EXPECT_FALSE(::IsMenu(menu.menu));
}

TEST_F(MenuTest, EveryRequestBuildsAFreshMenu)
{
    MenuWatch watch;
    ContextMenu(Hwnd(), ClientCentreOnScreen());
    ContextMenu(Hwnd(), ClientCentreOnScreen());
    ASSERT_EQ(watch.opened.size(), 2u);
    EXPECT_EQ(watch.opened[1].items, kExpectedItems);
}

TEST_F(MenuTest, DismissingTheMenuRunsNoCommand)
{
    MenuWatch watch;
    ContextMenu(Hwnd(), ClientCentreOnScreen());
    ASSERT_EQ(watch.opened.size(), 1u);
    EXPECT_TRUE(QueuedCommands().empty());
    PumpFor(200);
    EXPECT_TRUE(::IsWindow(Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(::IsIconic(Hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(Hwnd()));
    EXPECT_TRUE(ThreadPopups(Hwnd()).empty()) << "no dialog opened";
}

TEST_F(MenuTest, RightClicksOnListsLabelsPictureAndBackgroundOpenIt)
{
    MenuWatch watch;
    HWND list = dialog->GetItem(IDC_DESTINATION_LIST);
    HWND label = dialog->GetItem(IDC_YOUR_CITY_TIME);
    // The picture is the last control of the window.
    HWND picture = ::GetWindow(::GetWindow(Hwnd(), GW_CHILD), GW_HWNDLAST);
    ASSERT_EQ(::GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);

    // A list box hands the button's release on as a request to its parent.
    ::SendMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    // Labels and the picture let clicks through to the window itself.
    for (HWND spot : {label, picture}) {
        POINT p = CentreInParent(spot);
        ::SendMessageA(Hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    ::SendMessageA(Hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(2, 2));

    ASSERT_EQ(watch.opened.size(), 4u);
    for (const auto& menu : watch.opened)
        EXPECT_EQ(menu.items, kExpectedItems);
    POINT click{5, 5};
    ::ClientToScreen(list, &click);
    EXPECT_EQ(watch.opened[0].rect.top, click.y) << "opened at the click";
}

TEST_F(MenuTest, RequestsOutsideTheClientAreaOpenNothing)
{
    MenuWatch watch;
    RECT client = ClientOnScreen();
    RECT window;
    ::GetWindowRect(Hwnd(), &window);
    ASSERT_LT(window.left, client.left) << "the window has a border";

    ContextMenu(Hwnd(), {window.left, window.top});          // the border
    ContextMenu(Hwnd(), {client.right, client.top + 10});    // the right edge is outside
    ContextMenu(Hwnd(), {client.left + 10, client.bottom});  // so is the bottom edge
    ContextMenu(Hwnd(), {-1, -1});                           // from the keyboard
    EXPECT_TRUE(watch.opened.empty());

    // The left and top edges are inside.
    ContextMenu(Hwnd(), {client.left, client.top});
    ContextMenu(Hwnd(), {client.right - 1, client.bottom - 1});
    EXPECT_EQ(watch.opened.size(), 2u);
    EXPECT_TRUE(QueuedCommands().empty());
}

TEST_F(MenuTest, ChoosingAnItemSendsItsCommand)
{
    struct Case {
        const char* name;
        std::initializer_list<WPARAM> keys;
        UINT id;
    };
    for (const Case& c : {Case{"About", {VK_DOWN, VK_RETURN}, ID_MENU_ABOUT},
                          Case{"Register City", {VK_DOWN, VK_DOWN, VK_RETURN}, ID_MENU_REGISTER_CITY},
                          Case{"Help", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, ID_MENU_HELP},
                          Case{"Minimize", {VK_UP, VK_UP, VK_RETURN}, ID_MENU_MINIMIZE},
                          Case{"Exit", {VK_UP, VK_RETURN}, ID_MENU_EXIT}}) {
        SCOPED_TRACE(c.name);
        std::vector<WPARAM> keys(c.keys);
        MenuWatch watch([&](const MenuWatch::Opened& menu) {
            for (WPARAM key : keys)
                ::PostMessageA(menu.window, WM_KEYDOWN, key, 0);
        });
        ContextMenu(Hwnd(), ClientCentreOnScreen());
        ASSERT_EQ(watch.opened.size(), 1u);
        // Taken off the queue unhandled: only the command itself is looked at here.
        EXPECT_EQ(QueuedCommands(), std::vector<WPARAM>{MAKEWPARAM(c.id, 0)});
    }
}

TEST_F(MenuTest, MinimizeFromTheMenuMinimisesAndAddsTheIcon)
{
    MenuWatch watch([](const MenuWatch::Opened& menu) { PressKeys(menu.window, {VK_UP, VK_UP, VK_RETURN}); });
    ContextMenu(Hwnd(), ClientCentreOnScreen());
    EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(Hwnd()); }, 3000));
    EXPECT_TRUE(TrayIconPresent(Hwnd(), CPavixDlg::TRAY_ICON_ID));
}

TEST_F(MenuTest, ExitFromTheMenuDestroysTheWindowAndQuits)
{
    HWND hwnd = Hwnd();
    // Minimised and restored first: the icon that Minimize put up must go too.
    dialog->Send(WM_COMMAND, MAKEWPARAM(ID_MENU_MINIMIZE, 0));
    dialog->Show(SW_RESTORE);
    ASSERT_TRUE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    MenuWatch watch([](const MenuWatch::Opened& menu) { PressKeys(menu.window, {VK_UP, VK_RETURN}); });
    ContextMenu(hwnd, ClientCentreOnScreen());
    ASSERT_EQ(watch.opened.size(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }, 3000));
    EXPECT_FALSE(TrayIconPresent(hwnd, CPavixDlg::TRAY_ICON_ID));
    EXPECT_EQ(TakeQuit(), 1) << "the main window's end quits the program's loop";
}

// About and Help run modally, owned by the main window, which is disabled meanwhile while its
// clock keeps ticking.
class CommandDialogTest : public MenuTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(CommandDialogTest, RunsModallyOverTheDisabledTickingMainWindow)
{
    HWND popup = nullptr;
    HWND owner = nullptr;
    bool mainDisabled = false;
    bool ticked = false;
    HWND name = dialog->GetItem(IDC_YOUR_CITY_NAME);
    RunWhen([&] { return !ThreadPopups(Hwnd()).empty(); }, [&] {
        std::vector<HWND> popups = ThreadPopups(Hwnd());
        if (popups.size() != 1)
            return;
        popup = popups[0];
        owner = ::GetWindow(popup, GW_OWNER);
        mainDisabled = !::IsWindowEnabled(Hwnd());
        // Blank a clock text; a tick inside the dialog's loop writes it again.
        ::SetWindowTextA(name, "");
        RunWhen([&] { return TextOf(name) == "boston -5.00"; }, [&] {
            ticked = TextOf(name) == "boston -5.00";
            ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        });
    });
    Watchdog watchdog;
    dialog->Send(WM_COMMAND, MAKEWPARAM(GetParam(), 0));
    EXPECT_FALSE(watchdog.Fired());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(owner, Hwnd());
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(::IsWindow(popup)) << "destroyed when its run ends";
    EXPECT_TRUE(::IsWindowEnabled(Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(AboutAndHelp, CommandDialogTest, ::testing::Values(UINT(ID_MENU_ABOUT), UINT(ID_MENU_HELP)),
                         [](const auto& info) { return info.param == ID_MENU_ABOUT ? "About" : "Help"; });

} // namespace
