// Clients of "Pavix.Application": each gets a pavix.exe of its own, which lives while the
// client holds it, whatever happens to its window, and ends with the release.
#include "e2e/Driver.h"

#include "app/DlgProxy.h"

#include <algorithm>
#include <memory>
#include <ole2.h>

namespace {

struct Client {
    IDispatch* object = nullptr;
    std::unique_ptr<drive::Process> server;
    bool Serves() { UINT count = 9; return object->GetTypeInfoCount(&count) == S_OK && count == 0; }
};

// The process of the main window that came up after before was taken.
std::unique_ptr<drive::Process> NewServer(const std::vector<HWND>& before) {
    HWND main = nullptr;
    drive::WaitUntil([&] {
        for (HWND w : drive::FindAll(0, IDC_YOUR_CITY_LIST)) main = std::count(before.begin(), before.end(), w) ? main : w;
        return main;
    });
    return main ? std::make_unique<drive::Process>(main) : nullptr;
}

class Automation : public testing::Test {
protected:
    void SetUp() override {
        ::CoInitialize(nullptr);
        drive::Process user;   // a user's start registers the class for this pavix.exe
        ASSERT_TRUE(user.WaitForMain());
        user.PostKey(VK_RETURN);
        ASSERT_TRUE(user.Exited());
    }
    void TearDown() override { ::CoUninitialize(); }
    Client Create() {
        Client client;
        CLSID clsid{};
        auto before = drive::FindAll(0, IDC_YOUR_CITY_LIST);
        EXPECT_EQ(::CLSIDFromProgID(L"Pavix.Application", &clsid), S_OK);
        EXPECT_EQ(clsid, CPavixDlgAutoProxy::clsid);
        EXPECT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&client.object), S_OK);
        client.server = NewServer(before);
        return client;
    }
    drive::TempDir dir{"Tokyo\t9.00\r\nCairo\t2.00\r\n"};
};

TEST_F(Automation, EachClientGetsAProcessOfItsOwnThatEndsWithItsRelease) {
    Client first = Create(), second = Create();
    ASSERT_TRUE(first.server && second.server);
    EXPECT_NE(first.server->pid, second.server->pid);
    first.object->Release();
    EXPECT_TRUE(first.server->Exited());
    EXPECT_TRUE(second.server->Ticks() && second.Serves());
    second.object->Release();
    EXPECT_TRUE(second.server->Exited());
}

// A close request or Enter only hides the window and Exit removes it; the program lives on.
TEST_F(Automation, WhileHeldTheProgramLivesOnUntilTheRelease) {
    for (UINT way : {UINT(WM_CLOSE), UINT(VK_RETURN), UINT(ID_MENU_EXIT)}) {
        SCOPED_TRACE(way);
        Client client = Create();
        ASSERT_TRUE(client.server);
        HWND main = client.server->main;
        way == WM_CLOSE ? client.server->Post(WM_CLOSE) : way == VK_RETURN ? client.server->PostKey(VK_RETURN)
                                                                           : client.server->Post(WM_COMMAND, way);
        EXPECT_TRUE(drive::WaitUntil([&] { return way == ID_MENU_EXIT ? !::IsWindow(main) : !::IsWindowVisible(main); }));
        EXPECT_TRUE(way == ID_MENU_EXIT || client.server->Ticks()) << "a hidden window still ticks";
        EXPECT_TRUE(client.Serves());
        client.object->Release();
        EXPECT_TRUE(client.server->Exited());
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
        ASSERT_TRUE(dialog);
        client.object->Release();
        EXPECT_TRUE(server.Ticks() && ::IsWindowVisible(dialog));
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(drive::WaitUntil([&] { return ::IsWindowEnabled(server.main); }));
        server.Post(WM_CLOSE);
        EXPECT_TRUE(server.Ticks() && ::IsWindowVisible(server.main));
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
    ASSERT_TRUE(server);
    HWND box = script.WaitFor(IDOK);
    server->Post(WM_CLOSE);
    EXPECT_TRUE(drive::WaitUntil([&] { return !::IsWindowVisible(server->main); }));
    EXPECT_TRUE(server->Ticks());
    script.Click(box, IDOK);
    EXPECT_TRUE(server->Exited() && script.Exited());
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(script.handle, &code) && code == 0) << "the object has no member Show: error 438";
}

} // namespace
