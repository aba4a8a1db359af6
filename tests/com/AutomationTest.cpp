// A client holds "Pavix.Application" and lets it go, while the main window is shown, hidden,
// gone, or covered by one of the program's dialogs.
#include "Automation.h"

#include "app/DlgProxy.h"
#include "e2e/Fixture.h"


using namespace com;

namespace {

constexpr int cmdAbout = 101;
constexpr int cmdRegisterCity = 103;
constexpr int cmdHelp = 104;
// Scripting hosts ask for it; the object has none.
constexpr IID iidDispatchEx = {0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};

// A call that the server must answer through its message loop: proof that it still serves.
bool Answers(IDispatch* object)
{
    UINT count = 99;
    return SUCCEEDED(object->GetTypeInfoCount(&count)) && count == 0;
}

TEST_F(Automation, CreatingStartsAProcessThatShowsItsMainWindow)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    EXPECT_TRUE(IsWindowVisible(held.main));
    EXPECT_EQ(e2e::ListEntries(GetDlgItem(held.main, e2e::idYourCityList)), e2e::worldCitiesSorted);
    EXPECT_TRUE(Ticks(held.main));
}

TEST_F(Automation, EveryObjectHasAProcessOfItsOwn)
{
    Held first = Create();
    Held second = Create();
    ASSERT_TRUE(first.main && second.main);
    EXPECT_NE(first.server->Id(), second.server->Id());
    EXPECT_NE(first.main, second.main);

    first.object.reset();
    EXPECT_TRUE(first.server->WaitForExit());
    EXPECT_TRUE(Answers(second.object.get()));
    EXPECT_TRUE(IsWindowVisible(second.main));
    second.object.reset();
    EXPECT_TRUE(second.server->WaitForExit());
}

TEST_F(Automation, ReleaseWhileTheWindowShowsEndsTheProgram)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    held.object.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

class HiddenWhileHeld : public Automation, public testing::WithParamInterface<bool> {};

TEST_P(HiddenWhileHeld, CloseRequestOrEnterHidesTheWindowUntilTheRelease)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    if (GetParam())
        PostMessageA(held.main, WM_CLOSE, 0, 0);
    else
        PostEnter(held.main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(held.main); })) << "still shown";
    EXPECT_TRUE(IsWindow(held.main));
    EXPECT_TRUE(Ticks(held.main)) << "the hidden window stopped ticking";
    EXPECT_TRUE(Answers(held.object.get()));
    EXPECT_TRUE(held.server->Running());

    held.object.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Automation, HiddenWhileHeld, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "CloseRequest" : "Enter";
                         });

TEST_F(Automation, ExitWhileHeldRemovesTheWindowAndTheProgramLivesUntilTheRelease)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    PostMessageA(held.main, WM_COMMAND, e2e::cmdExit, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(held.main); })) << "the window stayed";
    EXPECT_TRUE(Answers(held.object.get())) << "the program ended with its window";
    EXPECT_TRUE(held.server->Running());

    held.object.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

// The release finds the main window disabled under a dialog: the program stays, and the user
// ends it as if no client had ever held it.
class ReleaseUnderDialog : public Automation, public testing::WithParamInterface<int> {};

TEST_P(ReleaseUnderDialog, LeavesTheProgramToTheUser)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    PostMessageA(held.main, WM_COMMAND, GetParam(), 0);
    HWND dialog = held.server->WaitForOwnedDialog(held.main);
    ASSERT_NE(dialog, nullptr) << "the dialog did not open";
    ASSERT_FALSE(IsWindowEnabled(held.main));

    held.object.reset();
    EXPECT_TRUE(Ticks(held.main));
    EXPECT_TRUE(IsWindowVisible(held.main));
    EXPECT_TRUE(IsWindowVisible(dialog));

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(held.main) != FALSE; }));
    EXPECT_TRUE(Ticks(held.main));
    EXPECT_TRUE(IsWindowVisible(held.main)) << "the program ended when the dialog closed";

    // Under the user's control again: a close request changes nothing, Enter ends it.
    PostMessageA(held.main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ticks(held.main));
    EXPECT_TRUE(IsWindowVisible(held.main));
    PostEnter(held.main);
    EXPECT_TRUE(held.server->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Automation, ReleaseUnderDialog, testing::Values(cmdAbout, cmdRegisterCity, cmdHelp),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == cmdAbout ? "About"
                                    : info.param == cmdHelp ? "Help"
                                                            : "RegisterCity";
                         });

TEST_F(Automation, AUserStartedProgramIsNeverTheServer)
{
    e2e::Pavix user{e2e::worldCities};
    ASSERT_TRUE(user.Started());
    HWND userMain = user.WaitForMainWindow();
    ASSERT_NE(userMain, nullptr);

    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    EXPECT_NE(held.main, userMain);

    PostMessageA(userMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ticks(userMain));
    EXPECT_TRUE(IsWindowVisible(userMain)) << "a close request hid the user's window";
    PostEnter(userMain);
    EXPECT_TRUE(user.WaitForExit());

    EXPECT_TRUE(Answers(held.object.get()));
    held.object.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

TEST_F(Automation, TheObjectHasNoMembersAndNoTypeInformation)
{
    Held held = Create();
    ASSERT_TRUE(held.object);
    IDispatch* object = held.object.get();

    UINT count = 99;
    EXPECT_HRESULT_SUCCEEDED(object->GetTypeInfoCount(&count));
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = nullptr;
    EXPECT_HRESULT_FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    EXPECT_EQ(info, nullptr);

    for (const wchar_t* name : {L"Show", L"Visible", L"Quit", L"Application"}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 42;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    for (DISPID id : {DISPID_VALUE, 0, 1, 100}) {
        EXPECT_EQ(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                 &none, &result, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
    }
    EXPECT_TRUE(Answers(object));
}

TEST_F(Automation, TheClassOwnInterfaceIsTheSameObject)
{
    Held held = Create();
    ASSERT_TRUE(held.object);
    IDispatch* own = nullptr;
    ASSERT_HRESULT_SUCCEEDED(held.object->QueryInterface(CPavixDlgAutoProxy::iid, reinterpret_cast<void**>(&own)));
    Ref<IDispatch> ownRef(own);
    EXPECT_TRUE(Answers(own));

    IUnknown* identity = nullptr;
    IUnknown* ownIdentity = nullptr;
    ASSERT_HRESULT_SUCCEEDED(held.object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    ASSERT_HRESULT_SUCCEEDED(own->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ownIdentity)));
    Ref<IUnknown> identityRef(identity), ownIdentityRef(ownIdentity);
    EXPECT_EQ(identity, ownIdentity);

    IUnknown* other = nullptr;
    EXPECT_EQ(held.object->QueryInterface(iidDispatchEx, reinterpret_cast<void**>(&other)), E_NOINTERFACE);

    // The server holds on while any of the client's interfaces does.
    held.object.reset();
    identityRef.reset();
    EXPECT_TRUE(Answers(own));
    ownRef.reset();
    ownIdentityRef.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

}  // namespace
