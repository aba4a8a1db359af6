#include "Automation.h"
#include "ScratchRegistry.h"

#include "app/DlgProxy.h"
#include "e2e/Fixture.h"
#include "platform/Registry.h"

#include <tlhelp32.h>

namespace com {

std::set<DWORD> PavixProcesses()
{
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "pavix.exe") == 0)
            ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

std::unique_ptr<Process> WaitForNewServer(const std::set<DWORD>& before, unsigned timeoutMs)
{
    std::set<DWORD> added;
    e2e::WaitUntil([&] {
        added.clear();
        for (DWORD id : PavixProcesses())
            if (!before.count(id))
                added.insert(id);
        return !added.empty();
    }, timeoutMs);
    return added.size() == 1 ? std::make_unique<Process>(*added.begin()) : nullptr;
}

bool Ticks(HWND main)
{
    HWND list = GetDlgItem(main, e2e::idDestinationList);
    auto entries = e2e::ListEntries(list);
    if (entries.empty())
        return false;
    int next = (e2e::ListSelection(list) + 1) % static_cast<int>(entries.size());
    e2e::SelectListEntry(list, next);
    return e2e::WaitUntil([&] { return e2e::Text(GetDlgItem(main, e2e::idDestinationName)) == entries[next]; });
}

void PostEnter(HWND main)
{
    HWND list = GetDlgItem(main, e2e::idYourCityList);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(list, WM_KEYUP, VK_RETURN, 0xC0000001);
}

void Unregister()
{
    std::string interfaceKey = "Interface\\" + GuidText(CPavixDlgAutoProxy::iid);
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
        for (std::string under : {"", "Software\\Classes\\"}) {
            HKEY root = under.empty() ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
            std::string library = Value(root, under + interfaceKey + "\\TypeLib", nullptr, view);
            for (const std::string& key : {"TypeLib\\" + library, std::string(CPavixDlgAutoProxy::progId),
                                           "CLSID\\" + GuidText(CPavixDlgAutoProxy::clsid), interfaceKey}) {
                HKEY opened = nullptr;
                if (RegOpenKeyExA(root, (under + key).c_str(), 0, KEY_ALL_ACCESS | view, &opened) != 0)
                    continue;
                RegDeleteTreeA(opened, nullptr);
                RegCloseKey(opened);
                RegDeleteKeyExA(root, (under + key).c_str(), view, 0);
            }
        }
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
