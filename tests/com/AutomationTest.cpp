// Clients of "Pavix.Application": each gets a pavix.exe of its own, which lives while the
// client holds it, whatever happens to its window, and ends with the release.
#include "e2e/Driver.h"

#include "app/DlgProxy.h"
#include "platform/Registry.h"

// Removes what leads a client in another process to the class's own interface, so that only a
// start in the test can have written it.
void ForgetTheInterface()
{
    const std::pair<HKEY, const char*> interfaces[] = {
        {HKEY_CURRENT_USER, "Software\\Classes\\Interface"},
        {HKEY_CLASSES_ROOT, "Interface"},
    };
    for (const auto& [root, path] : interfaces) {
        for (REGSAM view : RegistryViews()) {
            HKEY opened = nullptr;
            if (::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS | view, &opened) != ERROR_SUCCESS)
                continue;
            ::RegDeleteTreeA(opened, GuidText(CPavixDlgAutoProxy::iid).c_str());
            ::RegCloseKey(opened);
        }
    }
}

class Automation : public testing::Test {
protected:
    struct Client {
        IDispatch* object = nullptr;
        std::unique_ptr<Process> server;
    };
    // A user's start registers the class for this pavix.exe, once for all the clients.
    static void SetUpTestSuite()
    {
        ForgetTheInterface();
        TempDir dir("Tokyo\t9.00\r\n");
        Process user;
        ASSERT_TRUE(user.WaitForMain());
        user.PostKey(VK_RETURN);
        ASSERT_TRUE(user.Exited());
    }
    void SetUp() override { ::CoInitialize(nullptr); }
    std::vector<Client> Clients(size_t count);
    // The process of a main window that came up since the last one.
    std::unique_ptr<Process> NewServer()
    {
        HWND main = nullptr;
        WaitUntil([&] {
            main = Find(anyProcess, IDC_YOUR_CITY_LIST, 0, nullptr, servers);
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

// A command to the window of a held program.
struct Command {
    const char* what;
    UINT message;
    WPARAM w;
};

// The client's object and its program, for each command; the process of each is its own.
std::vector<Automation::Client> Automation::Clients(size_t count)
{
    std::vector<Client> clients(count);
    for (Client& client : clients) {
        // The class's own interface, as a client that read the type library asks for it.
        const HRESULT created =
            ::CoCreateInstance(CPavixDlgAutoProxy::clsid, nullptr, CLSCTX_LOCAL_SERVER,
                               CPavixDlgAutoProxy::iid, reinterpret_cast<void**>(&client.object));
        if (created != S_OK) {
            ADD_FAILURE() << "CoCreateInstance: " << std::hex << created;
            return {};
        }
        client.server = NewServer();
        if (!client.server) {
            ADD_FAILURE() << "no pavix.exe of its own";   // one that serves two has no new window
            return {};
        }
    }
    return clients;
}

void SendCommand(const Process& server, const Command& c)
{
    if (c.message == WM_KEYDOWN)
        server.PostKey(c.w);   // to the list, where the dialog manager turns it into OK
    else
        server.Post(c.message, c.w);
}

// A close request or Enter only hides the window of a held program; the release ends it.
TEST_F(Automation, WhileHeldACloseOnlyHidesTheWindowAndTheReleaseEndsTheProgram)
{
    const Command commands[] = {
        {.what = "close", .message = WM_CLOSE, .w = 0},
        {.what = "Enter", .message = WM_KEYDOWN, .w = VK_RETURN},
    };
    std::vector<Client> clients = Clients(std::size(commands));
    ASSERT_EQ(clients.size(), std::size(commands));
    for (size_t i = 0; i < clients.size(); ++i) {
        SCOPED_TRACE(commands[i].what);
        Process& server = *clients[i].server;
        SendCommand(server, commands[i]);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(server.main); }));
        EXPECT_FALSE(server.Exited(500));
        clients[i].object->Release();
        EXPECT_TRUE(server.Exited());
    }
}

// Exit removes the window, but the program lives on until the release.
TEST_F(Automation, WhileHeldExitRemovesTheWindowAndTheReleaseEndsTheProgram)
{
    std::vector<Client> clients = Clients(1);
    ASSERT_EQ(clients.size(), 1u);
    Process& server = *clients[0].server;
    server.Post(WM_COMMAND, ID_MENU_EXIT);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(server.main); }));
    EXPECT_FALSE(server.Exited(500));
    clients[0].object->Release();
    EXPECT_TRUE(server.Exited());
}

// A dialog over the window at the release: the program is the user's from there on, and Enter
// ends it once the dialog is closed.
TEST_F(Automation, ADialogOpenAtTheReleaseKeepsTheProgramForTheUser)
{
    const Command commands[] = {
        {.what = "About", .message = WM_COMMAND, .w = ID_MENU_ABOUT},
        {.what = "Register City", .message = WM_COMMAND, .w = ID_MENU_REGISTER_CITY},
        {.what = "Help", .message = WM_COMMAND, .w = ID_MENU_HELP},
    };
    std::vector<Client> clients = Clients(std::size(commands));
    ASSERT_EQ(clients.size(), std::size(commands));
    for (size_t i = 0; i < clients.size(); ++i) {
        SCOPED_TRACE(commands[i].what);
        Process& server = *clients[i].server;
        SendCommand(server, commands[i]);
        HWND dialog = server.WaitFor(0, 0, server.main);
        ASSERT_NE(dialog, nullptr);
        clients[i].object->Release();
        EXPECT_FALSE(server.Exited(500));
        EXPECT_TRUE(::IsWindowVisible(dialog));
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(server.main); }));
        server.PostKey(VK_RETURN);
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
