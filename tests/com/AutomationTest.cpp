// Clients of "Pavix.Application": each gets a pavix.exe of its own, which lives while the
// client holds it, whatever happens to its window, and ends with the release.
#include "e2e/Driver.h"

#include "app/DlgProxy.h"

class Automation : public testing::Test {
protected:
    struct Client {
        IDispatch* object = nullptr;
        std::unique_ptr<Process> server;
    };
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        Process user;   // a user's start registers the class for this pavix.exe
        ASSERT_TRUE(user.WaitForMain() && (user.PostKey(VK_RETURN), user.Exited()));
    }
    // The process of a main window that came up since the last one.
    std::unique_ptr<Process> NewServer()
    {
        HWND main = nullptr;
        WaitUntil([&] { return (main = Find(0, IDC_YOUR_CITY_LIST, 0, nullptr, servers)) != nullptr; });
        servers.push_back(main);
        return main ? std::make_unique<Process>(main) : nullptr;
    }
    TempDir dir{"Tokyo\t9.00\r\nCairo\t2.00\r\n"};
    std::vector<HWND> servers;
};

// Each client has a process of its own, which lives while the client holds it: a close request
// or Enter only hides its window, and Exit removes it. The release ends it, unless a dialog
// covers the window then: the program is the user's from there on, and Enter ends it.
TEST_F(Automation, EachClientHasAProcessThatLivesUntilTheRelease)
{
    const std::pair<UINT, WPARAM> rows[] = {{WM_CLOSE, 0},
                                            {WM_KEYDOWN, VK_RETURN},
                                            {WM_COMMAND, ID_MENU_EXIT},
                                            {WM_COMMAND, ID_MENU_ABOUT},
                                            {WM_COMMAND, ID_MENU_REGISTER_CITY},
                                            {WM_COMMAND, ID_MENU_HELP}};
    std::vector<Client> clients;
    for (size_t i = 0; i < std::size(rows); ++i) {
        Client& client = clients.emplace_back();
        EXPECT_EQ(::CoCreateInstance(CPavixDlgAutoProxy::clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                     (void**)&client.object),
                  S_OK);
        client.server = NewServer();
        ASSERT_TRUE(client.server) << "no pavix.exe of its own";   // one that serves two has no new window
    }
    for (Client& client : clients) {
        auto [message, w] = rows[&client - clients.data()];
        Process& server = *client.server;
        const bool exit = w == ID_MENU_EXIT, dialog = message == WM_COMMAND && !exit;
        message == WM_KEYDOWN ? server.PostKey(VK_RETURN) : server.Post(message, w);
        HWND covering = dialog ? server.WaitFor(0, 0, server.main) : nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] { return dialog || (exit ? !::IsWindow(server.main) : !::IsWindowVisible(server.main)); }));
        EXPECT_FALSE(server.Exited(500));
        client.object->Release();
        if (dialog) {
            EXPECT_TRUE(!server.Exited(500) && ::IsWindowVisible(covering));
            ::PostMessageA(covering, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(server.main); }));
            server.PostKey(VK_RETURN);
        }
        EXPECT_TRUE(server.Exited()) << message << " " << w;
    }
}

// Wine's cscript.exe holds the object from tests/com/hold.vbs until its message box is answered.
TEST_F(Automation, AScriptHoldsTheProgramUntilItLetsGo)
{
    Process script("//NoLogo \"" + ExeDir() + "hold.vbs\"", "C:\\windows\\system32\\cscript.exe");
    auto server = NewServer();
    HWND box = script.WaitFor(IDOK);   // shown once the script holds the object
    ASSERT_TRUE(server && box);
    server->Post(WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(server->main); }) && !server->Exited(500));
    script.Click(box, IDOK);
    EXPECT_TRUE(server->Exited() && script.Exited());
}
