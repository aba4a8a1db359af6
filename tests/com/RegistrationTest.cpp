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
    return ExeDirectory() + "pavix.exe";
}

void Register(const Registry& registry, const std::string& server)
{
    EXPECT_TRUE(registry.RegisterTypeLibrary(server));
    EXPECT_TRUE(registry.RegisterServer(CPavixDlgAutoProxy::clsid, progId, server));
}

// What a client needs to find the class, its server and its interface under classes.
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

TEST(RegistryHives, OnWindowsOnlyTheCurrentUsersClassesAreWritten)
{
    ScratchRegistry scratch;
    ASSERT_TRUE(scratch.Ready());
    Register(Registry(false), PavixPath());

    for (HKEY hive : {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS})
        EXPECT_TRUE(Dump(scratch.Hive(hive)).empty()) << "written outside HKEY_CURRENT_USER";
    auto user = Dump(scratch.Hive(HKEY_CURRENT_USER));
    ASSERT_FALSE(user.empty());
    for (const std::string& line : user) {
        EXPECT_TRUE(line == "Software" || line.rfind("Software\\Classes", 0) == 0) << line;
    }
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(scratch.Hive(HKEY_CURRENT_USER), "Software\\Classes", 0, KEY_READ, &classes), 0);
    ExpectClassEntries(classes, PavixPath());
    RegCloseKey(classes);
}

TEST(RegistryHives, UnderWineTheClassesRootGetsTheSameEntries)
{
    ScratchRegistry scratch;
    ASSERT_TRUE(scratch.Ready());
    Register(Registry(true), PavixPath());

    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(scratch.Hive(HKEY_CURRENT_USER), "Software\\Classes", 0, KEY_READ, &classes), 0);
    auto perUser = Dump(classes);
    RegCloseKey(classes);
    EXPECT_FALSE(perUser.empty());
    EXPECT_EQ(Dump(scratch.Hive(HKEY_CLASSES_ROOT)), perUser);
    ExpectClassEntries(scratch.Hive(HKEY_CLASSES_ROOT), PavixPath());
}

TEST(RegistryHives, RewritingFollowsTheExecutableAndAddsNothing)
{
    ScratchRegistry scratch;
    ASSERT_TRUE(scratch.Ready());
    // A copy with a blank in its path, as under "Program Files".
    std::string moved = ExeDirectory() + "moved copy";
    CreateDirectoryA(moved.c_str(), nullptr);
    std::string movedServer = moved + "\\pavix.exe";
    ASSERT_TRUE(CopyFileA(PavixPath().c_str(), movedServer.c_str(), FALSE));

    Register(Registry(true), PavixPath());
    auto first = Dump(scratch.Hive(HKEY_CLASSES_ROOT));
    Register(Registry(true), movedServer);
    ExpectClassEntries(scratch.Hive(HKEY_CLASSES_ROOT), movedServer);
    Register(Registry(true), PavixPath());
    EXPECT_EQ(Dump(scratch.Hive(HKEY_CLASSES_ROOT)), first);

    DeleteFileA(movedServer.c_str());
    RemoveDirectoryA(moved.c_str());
}

// The registration in this prefix, made by pavix.exe itself.
class Registration : public testing::Test {
protected:
    void SetUp() override { Unregister(); }
    void TearDown() override { RegisterByUserStart(); }

    e2e::TempDir m_dir;
};

TEST_F(Registration, AUserStartWritesTheEntries)
{
    RegisterByUserStart();
    ExpectClassEntries(HKEY_CLASSES_ROOT, PavixPath());
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, KEY_READ, &classes), 0);
    ExpectClassEntries(classes, PavixPath());
    RegCloseKey(classes);
}

class RuntimeStart : public Registration, public testing::WithParamInterface<const char*> {};

TEST_P(RuntimeStart, LeavesTheRegistryAlone)
{
    m_dir.WriteFile("wtcmain.pvx", e2e::worldCities);
    auto pavix = StartPavix(GetParam(), m_dir.Path());
    ASSERT_NE(pavix, nullptr);
    HWND main = pavix->WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HKEY userClasses = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr,
                              &userClasses, nullptr), 0);
    for (HKEY classes : {HKEY_CLASSES_ROOT, userClasses}) {
        for (const std::string& key : {progId, classKey, interfaceKey})
            EXPECT_EQ(Value(classes, key), "<missing>") << key;
    }
    RegCloseKey(userClasses);

    // No client came: nothing holds it, and Enter ends it.
    PostEnter(main);
    EXPECT_TRUE(pavix->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Switches, RuntimeStart,
                         testing::Values("-Embedding", "/Automation"));

}  // namespace
