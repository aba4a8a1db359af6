// Start-up's choice between serving clients and rewriting the registry, made in this process
// with a factory of its own and the registry hives redirected.
#include "Automation.h"
#include "ScratchRegistry.h"

#include "app/pavix.h"
#include "platform/Dispatch.h"
#include "platform/ObjectFactory.h"
#include "platform/Registry.h"

using namespace com;

namespace {

constexpr CLSID testClsid = {0x3f2b1e6c, 0x41a7, 0x4c55, {0x9d, 0x0e, 0x6a, 0x52, 0x8c, 0x13, 0x77, 0xb4}};
const char testProgId[] = "Pavix.StartSwitchTest";

HRESULT CreateTestObject(IUnknown** object)
{
    *object = new Dispatch(IID_IDispatch);
    return S_OK;
}

// Start-up's registration step alone, on a given command line.
class SettlingApp : public CPavixApp {
public:
    BOOL InitInstance() override
    {
        SettleAutomation();
        return FALSE;
    }
};

struct Apartment {
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { CoUninitialize(); }
};

class StartSwitches : public testing::Test {
protected:
    void Start(const char* commandLine) { m_app.Run(GetModuleHandleA(nullptr), commandLine); }

    // Offered to the runtime as running in this process.
    bool Offered()
    {
        IClassFactory* factory = nullptr;
        HRESULT result = CoGetClassObject(testClsid, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory));
        if (FAILED(result))
            return false;
        factory->Release();
        return true;
    }

    bool RegistryTouched() const
    {
        for (HKEY hive : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS})
            if (!Dump(m_registry.Hive(hive)).empty())
                return true;
        return false;
    }

    Apartment m_apartment;
    ScratchRegistry m_registry;
    ObjectFactory m_factory{testClsid, &CreateTestObject, true, testProgId};
    SettlingApp m_app;
};

struct Case {
    const char* commandLine;
    bool runtime;  // a switch of the component runtime, in any case and with either lead
};
class Switch : public StartSwitches, public testing::WithParamInterface<Case> {};

// A runtime start offers the factory and leaves the registry alone; anything else is a user
// start, which registers this executable.
TEST_P(Switch, DecidesBetweenServingAndRegistering)
{
    ASSERT_TRUE(m_registry.Ready());
    Start(GetParam().commandLine);
    EXPECT_EQ(m_app.StartedByRuntime(), GetParam().runtime);
    EXPECT_EQ(Offered(), GetParam().runtime);
    if (GetParam().runtime) {
        EXPECT_FALSE(RegistryTouched());
        EXPECT_EQ(m_app.CommandLine().find_first_not_of(' '), std::string::npos) << "the switch stayed";
        return;
    }
    std::string classes = "Software\\Classes\\";
    HKEY user = m_registry.Hive(HKEY_CURRENT_USER);
    EXPECT_EQ(Value(user, classes + testProgId + "\\CLSID"), GuidText(testClsid));
    EXPECT_EQ(Value(user, classes + "CLSID\\" + GuidText(testClsid) + "\\LocalServer32"),
              "\"" + e2e::ExeDirectory() + "com_tests.exe\"");
}

INSTANTIATE_TEST_SUITE_P(StartSwitches, Switch,
                         testing::Values(Case{"/Embedding", true}, Case{"-embedding", true},
                                         Case{"/AUTOMATION", true}, Case{"-Automation", true},
                                         Case{" -EmBeDdInG ", true}, Case{"", false}, Case{"Embedding", false},
                                         Case{"/Embed", false}, Case{"/Automations", false},
                                         Case{"--automation", false}, Case{"\\Embedding", false}));

TEST_F(StartSwitches, WithBothSwitchesOnlyTheEmbeddingTestIsMade)
{
    ASSERT_TRUE(m_registry.Ready());
    Start("/Automation /Embedding");
    EXPECT_TRUE(Offered());
    EXPECT_FALSE(RegistryTouched());
    EXPECT_EQ(m_app.CommandLine(), "/Automation ");
}

}  // namespace
