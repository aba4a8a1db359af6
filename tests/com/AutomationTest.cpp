// Clients of "Pavix.Application": each gets a pavix.exe of its own, which lives while the
// client holds it, whatever happens to its window, and ends with the release.
#include "e2e/Driver.h"

#include "app/DlgProxy.h"

// The process of a main window that came up after before was taken.
std::unique_ptr<drive::Process> NewServer(const std::vector<HWND>& before, HWND main = nullptr) {
    drive::WaitUntil([&] {
        for (HWND w : drive::FindAll(0, IDC_YOUR_CITY_LIST)) main = std::count(before.begin(), before.end(), w) ? main : w;
        return main;
    });
    return main ? std::make_unique<drive::Process>(main) : nullptr;
}

class Automation : public testing::Test {
protected:
    struct Client { IDispatch* object = nullptr; std::unique_ptr<drive::Process> server; };
    void SetUp() override {
        ::CoInitialize(nullptr);
        drive::Process user;   // a user's start registers the class for this pavix.exe
        ASSERT_TRUE(user.WaitForMain() && (user.PostKey(VK_RETURN), user.Exited()));
    }
    void TearDown() override { ::CoUninitialize(); }
    Client Create() {
        Client client;
        auto before = drive::FindAll(0, IDC_YOUR_CITY_LIST);
        EXPECT_EQ(::CoCreateInstance(CPavixDlgAutoProxy::clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&client.object), S_OK);
        EXPECT_TRUE(client.server = NewServer(before)) << "no new pavix.exe";
        return client;
    }
    drive::TempDir dir{"Tokyo\t9.00\r\nCairo\t2.00\r\n"};
};

// Each client has a process of its own. A close request or Enter only hides the window and
// Exit removes it: the program lives on until the release, which ends it.
TEST_F(Automation, EachClientHasAProcessThatLivesUntilTheRelease) {
    Client clients[3] = {Create(), Create(), Create()};
    ASSERT_TRUE(clients[0].server && clients[1].server && clients[2].server);
    EXPECT_TRUE(clients[0].server->pid != clients[1].server->pid && clients[1].server->pid != clients[2].server->pid);
    for (Client& client : clients) {
        drive::Process& server = *client.server;
        &client == clients ? server.Post(WM_CLOSE) : &client == clients + 1 ? server.PostKey(VK_RETURN)
                                                                            : server.Post(WM_COMMAND, ID_MENU_EXIT);
        const bool exit = &client == clients + 2;
        EXPECT_TRUE(drive::WaitUntil([&] { return exit ? !::IsWindow(server.main) : !::IsWindowVisible(server.main); }));
        EXPECT_TRUE(exit || server.Ticks()) << "a hidden window still ticks";
        EXPECT_FALSE(server.Exited(500));
        client.object->Release();
        EXPECT_TRUE(server.Exited());
    }
}

// A release while a dialog covers the window leaves the program to the user: it lives on, and
// then behaves as if no client had ever held it.
TEST_F(Automation, AReleaseDuringADialogLeavesTheProgramToTheUser) {
    for (int command : {ID_MENU_ABOUT, ID_MENU_REGISTER_CITY, ID_MENU_HELP}) {
        SCOPED_TRACE(command);
        Client client = Create();
        ASSERT_TRUE(client.server);
        drive::Process& server = *client.server;
        server.Post(WM_COMMAND, command);
        HWND dialog = server.WaitFor(0, 0, server.main);
        client.object->Release();
        EXPECT_TRUE(server.Ticks() && ::IsWindowVisible(dialog));
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(drive::WaitUntil([&] { return ::IsWindowEnabled(server.main); }) && server.Ticks());
        server.PostKey(VK_RETURN);
        EXPECT_TRUE(server.Exited());
    }
}

// Wine's cscript.exe holds the object from tests/com/hold.vbs until its message box is answered.
TEST_F(Automation, AScriptHoldsTheProgramUntilItLetsGo) {
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, MAX_PATH);
    auto before = drive::FindAll(0, IDC_YOUR_CITY_LIST);
    drive::Process script("//NoLogo \"" + drive::ExeDir() + "hold.vbs\"", system + std::string("\\cscript.exe"));
    auto server = NewServer(before);
    HWND box = script.WaitFor(IDOK);   // shown once the script holds the object
    ASSERT_TRUE(server && box);
    server->Post(WM_CLOSE);
    EXPECT_TRUE(drive::WaitUntil([&] { return !::IsWindowVisible(server->main); }) && server->Ticks());
    script.Click(box, IDOK);
    DWORD code = 1;
    EXPECT_TRUE(server->Exited() && script.Exited() && ::GetExitCodeProcess(script.handle, &code));
    EXPECT_EQ(code, 0u) << "the object has no member Show: error 438";
}

