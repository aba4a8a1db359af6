#include "Automation.h"

#include "app/DlgProxy.h"
#include "e2e/Fixture.h"
#include "platform/Registry.h"

namespace com {

void Unregister()
{
    HKEY userClasses = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, KEY_ALL_ACCESS, &userClasses);
    for (HKEY classes : {HKEY_CLASSES_ROOT, userClasses}) {
        if (!classes)
            continue;
        std::string interfaceKey = "Interface\\" + GuidText(CPavixDlgAutoProxy::iid);
        char library[64] = "";
        DWORD length = sizeof library;
        if (RegGetValueA(classes, (interfaceKey + "\\TypeLib").c_str(), nullptr, RRF_RT_REG_SZ, nullptr, library,
                         &length) == ERROR_SUCCESS)
            RegDeleteTreeA(classes, (std::string("TypeLib\\") + library).c_str());
        for (const std::string& key : {std::string(CPavixDlgAutoProxy::progId),
                                       "CLSID\\" + GuidText(CPavixDlgAutoProxy::clsid), interfaceKey})
            RegDeleteTreeA(classes, key.c_str());
    }
    if (userClasses)
        RegCloseKey(userClasses);
}

void RegisterByUserStart()
{
    Unregister();
    e2e::Pavix pavix{e2e::worldCities};
    ASSERT_TRUE(pavix.Started());
    ASSERT_NE(pavix.WaitForMainWindow(), nullptr);
    PostEnter(pavix.Main());
    ASSERT_TRUE(pavix.WaitForExit());
}

void Automation::SetUp()
{
    static bool registered = false;
    if (!registered) {
        ASSERT_NO_FATAL_FAILURE(RegisterByUserStart());
        registered = true;
    }
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    m_previousDirectory = previous;
    m_dir.WriteFile("wtcmain.pvx", e2e::worldCities);
    ASSERT_TRUE(SetCurrentDirectoryA(m_dir.Path().c_str()));
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_comStarted = true;
}

void Automation::TearDown()
{
    if (m_comStarted)
        CoUninitialize();
    SetCurrentDirectoryA(m_previousDirectory.c_str());
}

Held Automation::Create()
{
    Held held;
    CLSID clsid{};
    EXPECT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Pavix.Application", &clsid));
    auto before = PavixProcesses();
    IDispatch* object = nullptr;
    HRESULT result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&object));
    EXPECT_HRESULT_SUCCEEDED(result);
    held.object.reset(object);
    held.server = WaitForNewServer(before);
    EXPECT_NE(held.server, nullptr) << "no new pavix.exe";
    if (held.server) {
        held.main = held.server->WaitForMainWindow();
        EXPECT_NE(held.main, nullptr) << "no main window";
    }
    return held;
}

}  // namespace com
