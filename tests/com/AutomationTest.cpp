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

// A call that the server must answer through its message loop: proof that it still serves.
bool Answers(IDispatch* object)
{
    UINT count = 99;
    return SUCCEEDED(object->GetTypeInfoCount(&count)) && count == 0;
}

// Each object gets a process of its own that shows its main window; a release while the window
// shows ends that process alone.
TEST_F(Automation, EveryObjectStartsAProcessOfItsOwnThatEndsWithTheRelease)
{
    Held first = Create();
    Held second = Create();
    ASSERT_TRUE(first.main && second.main);
    EXPECT_NE(first.server->Id(), second.server->Id());
    for (HWND main : {first.main, second.main}) {
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(e2e::ListEntries(GetDlgItem(main, e2e::idYourCityList)), e2e::worldCitiesSorted);
        EXPECT_TRUE(Ticks(main));
    }

    first.object.reset();
    EXPECT_TRUE(first.server->WaitForExit());
    EXPECT_TRUE(Answers(second.object.get()));
    EXPECT_TRUE(IsWindowVisible(second.main));
    second.object.reset();
    EXPECT_TRUE(second.server->WaitForExit());
}

// While a client holds the object, a close request or Enter only hides the window and Exit
// removes it; the program lives on until the release.
class WhileHeld : public Automation, public testing::WithParamInterface<int> {};

TEST_P(WhileHeld, TheProgramLivesUntilTheRelease)
{
    Held held = Create();
    ASSERT_TRUE(held.object && held.main);
    const int way = GetParam();
    if (way == 0)
        PostMessageA(held.main, WM_CLOSE, 0, 0);
    else if (way == 1)
        PostEnter(held.main);
    else
        PostMessageA(held.main, WM_COMMAND, e2e::cmdExit, 0);
    if (way < 2) {
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(held.main); })) << "still shown";
        EXPECT_TRUE(Ticks(held.main)) << "the hidden window stopped ticking";
    } else {
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(held.main); })) << "the window stayed";
    }
    EXPECT_TRUE(Answers(held.object.get())) << "the program ended with its window";
    EXPECT_TRUE(held.server->Running());
    held.object.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Automation, WhileHeld, testing::Values(0, 1, 2), [](const testing::TestParamInfo<int>& info) {
    return std::string(info.param == 0 ? "CloseRequest" : info.param == 1 ? "Enter" : "Exit");
});

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

// Names are looked up and fail; the class's own interface, asked for across processes, is
// answered, and the server holds on while it is held.
TEST_F(Automation, NamesAreUnknownAndTheOwnInterfaceIsServed)
{
    Held held = Create();
    ASSERT_TRUE(held.object);
    for (const wchar_t* name : {L"Show", L"Visible", L"Quit"}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 42;
        EXPECT_EQ(held.object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
    IDispatch* own = nullptr;
    ASSERT_HRESULT_SUCCEEDED(held.object->QueryInterface(CPavixDlgAutoProxy::iid, reinterpret_cast<void**>(&own)));
    Ref<IDispatch> ownRef(own);
    held.object.reset();
    EXPECT_TRUE(Answers(own));
    ownRef.reset();
    EXPECT_TRUE(held.server->WaitForExit());
}

}  // namespace
