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
        ASSERT_TRUE(user.WaitForMain());
        user.PostKey(VK_RETURN);
        ASSERT_TRUE(user.Exited());
    }
    // The process of a main window that came up since the last one.
    std::unique_ptr<Process> NewServer()
    {
        HWND main = nullptr;
        WaitUntil([&] {
            main = Find(0, IDC_YOUR_CITY_LIST, 0, nullptr, servers);
            return main != nullptr;
        });
        if (!main)
            return nullptr;
        servers.push_back(main);
        return std::make_unique<Process>(main);
    }

    TempDir dir{"Tokyo\t9.00\r\nCairo\t2.00\r\n"};
    std::vector<HWND> servers;
};

enum After { hidden, gone, covered };

// Each client has a process of its own, which lives while the client holds it: a close request
// or Enter only hides its window, and Exit removes it. The release ends it, unless a dialog
// covers the window then: the program is the user's from there on, and Enter ends it.
TEST_F(Automation, EachClientHasAProcessThatLivesUntilTheRelease)
{
    struct {
        const char* what;
        UINT message;
        WPARAM w;
        After after;
    } cases[] = {
        {"close", WM_CLOSE, 0, hidden},
        {"Enter", WM_KEYDOWN, VK_RETURN, hidden},
        {"Exit", WM_COMMAND, ID_MENU_EXIT, gone},
        {"About", WM_COMMAND, ID_MENU_ABOUT, covered},
        {"Register City", WM_COMMAND, ID_MENU_REGISTER_CITY, covered},
        {"Help", WM_COMMAND, ID_MENU_HELP, covered},
    };
    std::vector<Client> clients(std::size(cases));
    for (Client& client : clients) {
        const HRESULT created = ::CoCreateInstance(CPavixDlgAutoProxy::clsid, nullptr, CLSCTX_LOCAL_SERVER,
                                                   IID_IDispatch, reinterpret_cast<void**>(&client.object));
        EXPECT_EQ(created, S_OK);
        client.server = NewServer();
        ASSERT_TRUE(client.server) << "no pavix.exe of its own";   // one that serves two has no new window
    }
    for (size_t i = 0; i < clients.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        Process& server = *clients[i].server;
        if (c.message == WM_KEYDOWN)
            server.PostKey(c.w);   // to the list, where the dialog manager turns it into OK
        else
            server.Post(c.message, c.w);
        HWND dialog = nullptr;
        if (c.after == covered)
            dialog = server.WaitFor(0, 0, server.main);
        if (c.after == hidden) {
            EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(server.main); }));
        }
        if (c.after == gone) {
            EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(server.main); }));
        }
        EXPECT_FALSE(server.Exited(500));
        clients[i].object->Release();
        if (c.after == covered) {
            EXPECT_FALSE(server.Exited(500));
            EXPECT_TRUE(::IsWindowVisible(dialog));
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(server.main); }));
            server.PostKey(VK_RETURN);
        }
        EXPECT_TRUE(server.Exited());
    }
}

// Wine's cscript.exe holds the object from tests/com/hold.vbs until its message box is answered.
TEST_F(Automation, AScriptHoldsTheProgramUntilItLetsGo)
{
    Process script("//NoLogo \"" + ExeDir() + "hold.vbs\"", "C:\\windows\\system32\\cscript.exe");
    auto server = NewServer();
    ASSERT_TRUE(server);
    HWND box = script.WaitFor(IDOK);   // shown once the script holds the object
    ASSERT_TRUE(box);
    server->Post(WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(server->main); }));
    EXPECT_FALSE(server->Exited(500));
    script.Click(box, IDOK);
    EXPECT_TRUE(server->Exited());
    EXPECT_TRUE(script.Exited());
}
