// Where and what the registration writes: in process with the hives redirected, and in this
// Wine prefix after the real pavix.exe has been started.
#include "Automation.h"
#include "ScratchRegistry.h"

#include "app/DlgProxy.h"
#include "e2e/Fixture.h"
#include "platform/Registry.h"


using namespace com;

namespace {

const std::string progId = "Pavix.Application";
const std::string classKey = "CLSID\\" + GuidText(CPavixDlgAutoProxy::clsid);
const std::string interfaceKey = "Interface\\" + GuidText(CPavixDlgAutoProxy::iid);
#ifdef _WIN64
const char platformKey[] = "win64";
#else
const char platformKey[] = "win32";
#endif

std::string PavixPath()
{
    return e2e::Pavix::Exe();
}

// What a client needs to find the class, its server (a quoted path) and its interface under classes.
void ExpectClassEntries(HKEY classes, const std::string& server)
{
    EXPECT_EQ(Value(classes, progId), progId);
    EXPECT_EQ(Value(classes, progId + "\\CLSID"), GuidText(CPavixDlgAutoProxy::clsid));
    EXPECT_EQ(Value(classes, classKey), progId);
    EXPECT_EQ(Value(classes, classKey + "\\ProgID"), progId);
    EXPECT_EQ(Value(classes, classKey + "\\LocalServer32"), "\"" + server + "\"");
    std::string library = Value(classes, interfaceKey + "\\TypeLib");
    EXPECT_EQ(Value(classes, interfaceKey + "\\TypeLib", "Version"), "1.0");
    EXPECT_EQ(Value(classes, "TypeLib\\" + library + "\\1.0\\0\\" + platformKey), server);
}

// The Wine check is given: on Windows only the current user's classes are written, under Wine
// the classes root gets the same entries as well.
class RegistryHives : public testing::TestWithParam<bool> {};

TEST_P(RegistryHives, WritesTheCurrentUsersClassesAndUnderWineTheClassesRoot)
{
    const bool wine = GetParam();
    ScratchRegistry scratch;
    ASSERT_TRUE(scratch.Ready());
    Registry registry(wine);
    EXPECT_TRUE(registry.RegisterTypeLibrary(PavixPath()));
    EXPECT_TRUE(registry.RegisterServer(CPavixDlgAutoProxy::clsid, progId, PavixPath()));

    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_USERS})
        EXPECT_TRUE(Dump(scratch.Hive(hive)).empty()) << "written outside the classes";
    for (const std::string& line : Dump(scratch.Hive(HKEY_CURRENT_USER)))
        EXPECT_TRUE(line == "Software" || line.rfind("Software\\Classes", 0) == 0) << line;
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(scratch.Hive(HKEY_CURRENT_USER), "Software\\Classes", 0, KEY_READ, &classes), 0);
    ExpectClassEntries(classes, PavixPath());
    auto perUser = Dump(classes);
    RegCloseKey(classes);
    EXPECT_EQ(Dump(scratch.Hive(HKEY_CLASSES_ROOT)), wine ? perUser : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Registration, RegistryHives, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Wine" : "Windows");
                         });

// The registration in this prefix, made by pavix.exe itself when a user starts it.
TEST(Registration, AUserStartWritesTheEntries)
{
    RegisterByUserStart();
    ExpectClassEntries(HKEY_CLASSES_ROOT, PavixPath());
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, KEY_READ, &classes), 0);
    ExpectClassEntries(classes, PavixPath());
    RegCloseKey(classes);
    // Clients of either bitness get this executable, whichever copy the user started before; a
    // 64-bit Wine without its 32-bit side (Wine 8 here) runs no client that reads the 32-bit view.
    char wow64[MAX_PATH] = "";
    GetSystemWow64DirectoryA(wow64, MAX_PATH);
    bool runs32 = sizeof(void*) == 4 || GetFileAttributesA((wow64 + std::string("\\kernel32.dll")).c_str()) != INVALID_FILE_ATTRIBUTES;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT}) {
            if (view == KEY_WOW64_32KEY && !runs32)
                continue;
            std::string under = root == HKEY_CLASSES_ROOT ? "" : "Software\\Classes\\";
            EXPECT_EQ(Value(root, under + classKey + "\\LocalServer32", nullptr, view), "\"" + PavixPath() + "\"");
            EXPECT_EQ(Value(root, under + interfaceKey + "\\TypeLib", "Version", view), "1.0");
        }
}

}  // namespace
