// The toolkit layer: message tables, the modal loop, the application's quit rule, the dialog
// colours, list boxes and message boxes.
#include "WinTestSupport.h"

#include "platform/App.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"
#include "platform/MessageBox.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wintest;

namespace {

constexpr UINT kProbe = WM_APP + 1;      // handled by both tables; the derived one wins
constexpr UINT kBaseOnly = WM_APP + 2;   // handled by the base table only
constexpr UINT kUnknown = WM_APP + 3;    // handled by nobody
constexpr UINT kRunNested = WM_APP + 4;  // runs a callback from inside a handler
constexpr UINT kBaseCommand = 500;
constexpr UINT kDerivedCommand = 501;

// A dialog on a plain template, with a table that records what reached it.
class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(UINT templateId = IDD_ABOUT_DIALOG) : Dialog(templateId) {}

    std::vector<std::string> log;
    int creates = 0;
    int inits = 0;
    int timerTicks = 0;
    std::function<void()> onTimer;
    std::function<void()> onInit;
    std::function<void()> nested;

    using Dialog::Default;

protected:
    BOOL OnInitDialog() override
    {
        ++inits;
        if (onInit)
            onInit();
        return Dialog::OnInitDialog();
    }
    LRESULT OnCreate(WPARAM, LPARAM)
    {
        ++creates;
        return Default();
    }
    LRESULT OnProbe(WPARAM w, LPARAM l)
    {
        log.push_back("base probe " + std::to_string(w) + " " + std::to_string(l));
        return 1000 + LRESULT(w);
    }
    LRESULT OnBaseOnly(WPARAM, LPARAM)
    {
        log.push_back("base only");
        return 7;
    }
    // Handles the message through a nested message of its own first, then the default.
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        log.push_back("settext");
        Send(kProbe, 1, 2);
        return Default();
    }
    LRESULT OnTimer(WPARAM, LPARAM)
    {
        ++timerTicks;
        if (onTimer)
            onTimer();
        return 0;
    }
    LRESULT OnRunNested(WPARAM, LPARAM)
    {
        if (nested)
            nested();
        return 0;
    }
    void OnBaseCommand() { log.push_back("base command"); }

    DECLARE_MESSAGE_MAP()
};

const MessageMapEntry ProbeDialog::messageEntries[] = {
    OnMessage<&ProbeDialog::OnCreate>(WM_CREATE),
    OnMessage<&ProbeDialog::OnProbe>(kProbe),
    OnMessage<&ProbeDialog::OnBaseOnly>(kBaseOnly),
    OnMessage<&ProbeDialog::OnSetText>(WM_SETTEXT),
    OnMessage<&ProbeDialog::OnTimer>(WM_TIMER),
    OnMessage<&ProbeDialog::OnRunNested>(kRunNested),
    OnCommand<&ProbeDialog::OnBaseCommand>(kBaseCommand),
};
IMPLEMENT_MESSAGE_MAP(ProbeDialog, Dialog)

class DerivedProbe : public ProbeDialog {
public:
    int okCalls = 0;

protected:
    LRESULT OnProbe(WPARAM w, LPARAM l)
    {
        log.push_back("derived probe " + std::to_string(w) + " " + std::to_string(l));
        return 2000 + LRESULT(w);
    }
    void OnDerivedCommand() { log.push_back("derived command"); }
    void OnOK() override
    {
        ++okCalls;
        ProbeDialog::OnOK();
    }

    DECLARE_MESSAGE_MAP()
};

const MessageMapEntry DerivedProbe::messageEntries[] = {
    OnMessage<&DerivedProbe::OnProbe>(kProbe),
    OnCommand<&DerivedProbe::OnDerivedCommand>(kDerivedCommand),
};
IMPLEMENT_MESSAGE_MAP(DerivedProbe, ProbeDialog)

// Every test leaves the application without a main window and the queue without a quit.
class DialogTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        App::Current()->SetMainWnd(nullptr);
        ForgetPendingActions();
        TakeQuit();
    }
};

// ---------------------------------------------------------------------------------------------
// Message tables

TEST_F(DialogTest, TableSeesCreationAndInitialisation)
{
    ProbeDialog dialog;
    ASSERT_TRUE(Created(dialog));
    EXPECT_TRUE(::IsWindow(dialog.GetHwnd()));
    // WM_CREATE arrives before Create returns: the window is subclassed as it is made.
    EXPECT_EQ(dialog.creates, 1);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_FALSE(dialog.Create()) << "a second Create on a live window";
    EXPECT_EQ(dialog.creates, 1);
}

TEST_F(DialogTest, MessageGoesToItsHandlerWithItsArguments)
{
    ProbeDialog dialog;
    ASSERT_TRUE(Created(dialog));
    EXPECT_EQ(dialog.Send(kProbe, 5, 77), 1005);
    EXPECT_EQ(dialog.Send(kBaseOnly), 7);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"base probe 5 77", "base only"}));
}

TEST_F(DialogTest, MessageWithoutEntryGetsDefaultHandling)
{
    ProbeDialog dialog;
    ASSERT_TRUE(Created(dialog));
    EXPECT_EQ(dialog.Send(kUnknown, 1, 2), 0);
    EXPECT_TRUE(dialog.log.empty());
    // The default dialog handling does real work: WM_GETTEXT has no entry.
    ::SetWindowTextA(dialog.GetHwnd(), "caption");
    EXPECT_EQ(TextOf(dialog.GetHwnd()), "caption");
}

TEST_F(DialogTest, DefaultAfterNestedMessageHandlesTheOuterMessage)
{
    // The handler sends itself another message before passing its own on: the default
    // handling must still get WM_SETTEXT with the text, not the nested message.
    ProbeDialog dialog;
    ASSERT_TRUE(Created(dialog));
    ::SetWindowTextA(dialog.GetHwnd(), "outer text");
    EXPECT_EQ(TextOf(dialog.GetHwnd()), "outer text");
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"settext", "base probe 1 2"}));
}

TEST_F(DialogTest, DerivedTableComesFirstAndFallsBackAlongTheChain)
{
    DerivedProbe dialog;
    ASSERT_TRUE(Created(dialog));
    EXPECT_EQ(dialog.creates, 1) << "the base table's WM_CREATE reached from the derived class";

    EXPECT_EQ(dialog.Send(kProbe, 3, 4), 2003);
    EXPECT_EQ(dialog.Send(kBaseOnly), 7);
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand, BN_CLICKED));
    dialog.Send(WM_COMMAND, MAKEWPARAM(kDerivedCommand, BN_CLICKED));
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"derived probe 3 4", "base only", "base command",
                                                    "derived command"}));

    // IDOK is in the toolkit's own table; it calls the overridden OnOK.
    EXPECT_FALSE(dialog.IsEnded());
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_EQ(dialog.okCalls, 1);
    EXPECT_TRUE(dialog.IsEnded());
}

TEST_F(DialogTest, CommandMatchesIdAndNotificationCode)
{
    DerivedProbe dialog;
    ASSERT_TRUE(Created(dialog));
    // Same id, another notification code: not the click handler's business.
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand, BN_DOUBLECLICKED));
    dialog.Send(WM_COMMAND, MAKEWPARAM(kDerivedCommand, EN_CHANGE));
    // An id nobody handles.
    dialog.Send(WM_COMMAND, MAKEWPARAM(kDerivedCommand + 1, BN_CLICKED));
    EXPECT_TRUE(dialog.log.empty());
    EXPECT_FALSE(dialog.IsEnded());
    // A menu command has code 0, like a button click.
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand, 0));
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"base command"}));
}

TEST_F(DialogTest, DialogCreatedDuringAnotherDialogsInitialisationIsRoutedToo)
{
    ProbeDialog outer;
    ProbeDialog inner;
    outer.onInit = [&] { inner.Create(); };
    ASSERT_TRUE(Created(outer));
    ASSERT_TRUE(inner.GetHwnd());
    EXPECT_NE(inner.GetHwnd(), outer.GetHwnd());
    EXPECT_EQ(inner.creates, 1);
    EXPECT_EQ(outer.creates, 1);
    EXPECT_EQ(inner.Send(kProbe, 1), 1001);
    EXPECT_EQ(outer.Send(kProbe, 2), 1002);
    EXPECT_EQ(inner.log, (std::vector<std::string>{"base probe 1 0"}));
    EXPECT_EQ(outer.log, (std::vector<std::string>{"base probe 2 0"}));
}

TEST_F(DialogTest, DestroyedWindowLeavesTheObjectWithoutHandle)
{
    ProbeDialog dialog;
    ASSERT_TRUE(Created(dialog));
    HWND hwnd = dialog.GetHwnd();
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(dialog.GetHwnd(), nullptr);
    EXPECT_FALSE(dialog.DestroyWindow()) << "destroying again finds no window";
    // The object can make a new window afterwards.
    ASSERT_TRUE(Created(dialog));
    EXPECT_EQ(dialog.creates, 2);
}

TEST_F(DialogTest, ObjectDestructionDestroysItsWindow)
{
    HWND hwnd;
    {
        ProbeDialog dialog;
        ASSERT_TRUE(Created(dialog));
        hwnd = dialog.GetHwnd();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

// ---------------------------------------------------------------------------------------------
// The modal loop

TEST_F(DialogTest, EnterEscapeAndCloseEndTheModalRun)
{
    struct Case {
        const char* name;
        UINT message;
        WPARAM w;
        INT_PTR expected;
    };
    for (const Case& c : {Case{"Enter", WM_KEYDOWN, VK_RETURN, IDOK}, Case{"Escape", WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
                          Case{"close request", WM_CLOSE, 0, IDCANCEL}}) {
        SCOPED_TRACE(c.name);
        ProbeDialog dialog;
        bool timedOut = false;
        INT_PTR result = RunModalWith(dialog, [&] { dialog.Post(c.message, c.w); }, &timedOut);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(dialog.GetHwnd(), nullptr) << "the run destroys its window";
        TakeQuit();
    }
}

TEST_F(DialogTest, WindowThatCannotBeCreatedEndsTheRunAtOnce)
{
    ProbeDialog missing(9999);
    Watchdog watchdog;
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(watchdog.Fired());
}

TEST_F(DialogTest, NestedModalRunKeepsTimersFlowingAndEndDialogEndsOnlyTheInnermost)
{
    ProbeDialog ticker;  // another window with a timer, like the main window's clock
    ASSERT_TRUE(Created(ticker));
    ProbeDialog outer;
    ProbeDialog inner;
    std::vector<std::string> events;
    int ticksAtInnerStart = -1;
    int ticksAtInnerEnd = -1;

    ticker.onTimer = [&] {
        // Three ticks inside the inner loop end it.
        if (inner.GetHwnd() && !inner.IsEnded() && ticksAtInnerStart >= 0 &&
            ticker.timerTicks - ticksAtInnerStart >= 3)
            inner.EndDialog(IDRETRY);
    };
    outer.nested = [&] {
        ticksAtInnerStart = ticker.timerTicks;
        INT_PTR innerResult = inner.DoModal();
        ticksAtInnerEnd = ticker.timerTicks;
        events.push_back("inner returned " + std::to_string(innerResult));
        events.push_back(outer.IsEnded() ? "outer ended" : "outer running");
        // The outer loop must still be there to handle this.
        outer.Post(kBaseOnly);
        RunWhen([&] { return !outer.log.empty(); }, [&] {
            events.push_back("outer loop alive");
            outer.EndDialog(IDIGNORE);
        });
    };
    ticker.SetTimer(7, 10);

    bool timedOut = false;
    INT_PTR outerResult = RunModalWith(outer, [&] { outer.Post(kRunNested); }, &timedOut);
    ::KillTimer(ticker.GetHwnd(), 7);

    EXPECT_FALSE(timedOut);
    EXPECT_EQ(outerResult, IDIGNORE);
    EXPECT_GE(ticksAtInnerEnd - ticksAtInnerStart, 3);
    EXPECT_EQ(events, (std::vector<std::string>{"inner returned " + std::to_string(IDRETRY), "outer running",
                                                "outer loop alive"}));
    EXPECT_EQ(TakeQuit(), 0) << "EndDialog posts no quit";
}

TEST_F(DialogTest, EndingTheOuterDialogFromInsideTheInnerRunWaitsForTheInnerToEnd)
{
    ProbeDialog outer;
    ProbeDialog inner;
    std::vector<std::string> events;
    outer.nested = [&] {
        RunSoon([&] {
            outer.EndDialog(IDABORT);
            RunSoon([&] {
                events.push_back(inner.IsEnded() ? "inner ended" : "inner still running");
                inner.EndDialog(IDNO);
            });
        });
        events.push_back("inner returned " + std::to_string(inner.DoModal()));
    };
    bool timedOut = false;
    INT_PTR result = RunModalWith(outer, [&] { outer.Post(kRunNested); }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(result, IDABORT);
    EXPECT_EQ(events, (std::vector<std::string>{"inner still running", "inner returned " + std::to_string(IDNO)}));
}

TEST_F(DialogTest, QuitEndsEveryNestedRunAndIsPostedAgain)
{
    ProbeDialog outer;
    ProbeDialog inner;
    HWND innerWindow = nullptr;
    INT_PTR innerResult = 0;
    outer.nested = [&] {
        RunWhen([&] { return inner.GetHwnd() != nullptr; }, [&] {
            innerWindow = inner.GetHwnd();
            ::PostQuitMessage(5);
        });
        innerResult = inner.DoModal();
    };
    bool timedOut = false;
    INT_PTR outerResult = RunModalWith(outer, [&] { outer.Post(kRunNested); }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(innerResult, -1) << "a run ended by the quit has no end code";
    EXPECT_EQ(outerResult, -1);
    EXPECT_FALSE(::IsWindow(innerWindow));
    EXPECT_EQ(outer.GetHwnd(), nullptr);
    int code = -1;
    EXPECT_EQ(TakeQuit(&code), 1) << "the quit is left for the loop around the outermost run";
    EXPECT_EQ(code, 5);
}

TEST_F(DialogTest, OwnerIsTheMainWindowAndIsDisabledDuringTheRun)
{
    ProbeDialog main;
    ASSERT_TRUE(Created(main));
    App::Current()->SetMainWnd(&main);
    ProbeDialog dialog;  // no parent given
    bool ownerDisabled = false;
    HWND owner = nullptr;
    RunModalWith(dialog, [&] {
        owner = ::GetWindow(dialog.GetHwnd(), GW_OWNER);
        ownerDisabled = !main.IsEnabled();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(owner, main.GetHwnd());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(main.IsEnabled()) << "enabled again after the run";
    App::Current()->SetMainWnd(nullptr);
}

TEST_F(DialogTest, OwnerDisabledBeforeTheRunStaysDisabled)
{
    ProbeDialog main;
    ASSERT_TRUE(Created(main));
    App::Current()->SetMainWnd(&main);
    main.Enable(false);
    ProbeDialog dialog;
    RunModalWith(dialog, [&] { dialog.EndDialog(IDOK); });
    EXPECT_FALSE(main.IsEnabled());
    App::Current()->SetMainWnd(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The application's quit rule

TEST_F(DialogTest, MainWindowDestructionQuitsOnlyWithoutLocks)
{
    App* app = App::Current();
    ASSERT_EQ(app->GetLockCount(), 0);
    TakeQuit();

    {
        ProbeDialog other;
        ASSERT_TRUE(Created(other));
        other.DestroyWindow();
        EXPECT_EQ(TakeQuit(), 0) << "a window that is not the main window";
    }
    {
        ProbeDialog main;
        ASSERT_TRUE(Created(main));
        app->SetMainWnd(&main);
        app->Lock();
        main.DestroyWindow();
        EXPECT_EQ(TakeQuit(), 0) << "a lock is held";
        EXPECT_EQ(app->GetMainWnd(), nullptr) << "the pointer goes with the window";
        app->Unlock();
        EXPECT_EQ(app->GetLockCount(), 0);
    }
    {
        ProbeDialog main;
        ASSERT_TRUE(Created(main));
        app->SetMainWnd(&main);
        main.DestroyWindow();
        int code = -1;
        EXPECT_EQ(TakeQuit(&code), 1);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(app->GetMainWnd(), nullptr);
    }
}

TEST_F(DialogTest, DestroyingTheMainWindowEndsItsModalRun)
{
    ProbeDialog main;
    App::Current()->SetMainWnd(&main);
    bool timedOut = false;
    INT_PTR result = RunModalWith(main, [&] { main.DestroyWindow(); }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(TakeQuit(), 1);
}

TEST_F(DialogTest, WithALockHeldTheRunOutlivesTheMainWindow)
{
    App* app = App::Current();
    ProbeDialog main;
    app->SetMainWnd(&main);
    app->Lock();
    bool returned = false;
    bool ranWithoutWindow = false;
    bool timedOut = false;
    RunModalWith(main, [&] {
        main.DestroyWindow();
        // The loop goes on without a window: this runs from inside it.
        RunSoon([&] {
            ranWithoutWindow = !returned && main.GetHwnd() == nullptr;
            ::PostQuitMessage(3);
        });
    }, &timedOut);
    returned = true;
    app->Unlock();
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(ranWithoutWindow);
    int code = -1;
    EXPECT_EQ(TakeQuit(&code), 1);
    EXPECT_EQ(code, 3);
}

// ---------------------------------------------------------------------------------------------
// Dialog colours

TEST_F(DialogTest, DialogStaticButtonAndGroupBoxTakeTheProgramColours)
{
    ASSERT_TRUE(App::Current()->HasDialogColors());
    ProbeDialog dialog(IDD_REGISTER_CITY);  // has statics, radio buttons, a group box, a list, an edit
    ASSERT_TRUE(Created(dialog));
    HWND hwnd = dialog.GetHwnd();

    struct Case {
        const char* name;
        UINT message;
        HWND control;
    };
    for (const Case& c : {Case{"dialog", WM_CTLCOLORDLG, hwnd},
                          Case{"static", WM_CTLCOLORSTATIC, ::GetDlgItem(hwnd, IDC_STATIC)},
                          Case{"radio button", WM_CTLCOLORBTN, dialog.GetItem(IDC_AHEAD_RADIO)}}) {
        SCOPED_TRACE(c.name);
        CtlColors colors = AskCtlColor(hwnd, c.message, c.control);
        ASSERT_TRUE(colors.hasBrush);
        EXPECT_EQ(colors.brush, kBlack);
        EXPECT_EQ(colors.background, kBlack);
        if (c.message != WM_CTLCOLORDLG) {
            EXPECT_EQ(colors.text, kYellow);
        }
    }
}

TEST_F(DialogTest, ListBoxAndEditKeepTheSystemColours)
{
    ProbeDialog dialog(IDD_REGISTER_CITY);
    ASSERT_TRUE(Created(dialog));
    HWND hwnd = dialog.GetHwnd();
    struct Case {
        const char* name;
        UINT message;
        HWND control;
    };
    for (const Case& c : {Case{"list box", WM_CTLCOLORLISTBOX, dialog.GetItem(IDC_HOURS_LIST)},
                          Case{"edit", WM_CTLCOLOREDIT, dialog.GetItem(IDC_CITY_NAME_EDIT)}}) {
        SCOPED_TRACE(c.name);
        CtlColors colors = AskCtlColor(hwnd, c.message, c.control);
        ASSERT_TRUE(colors.hasBrush);
        EXPECT_EQ(colors.brush, ::GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(colors.text, ::GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_NE(colors.text, kYellow);
    }
}

// ---------------------------------------------------------------------------------------------
// List box

TEST_F(DialogTest, ListBoxReturnsLongEntriesWhole)
{
    ProbeDialog dialog(IDD_REGISTER_CITY);
    ASSERT_TRUE(Created(dialog));
    ListBox list(dialog.GetItem(IDC_HOURS_LIST));
    std::string longEntry;
    for (int i = 0; longEntry.size() < 10000; ++i)
        longEntry += char('a' + i % 26);
    ASSERT_EQ(longEntry.size(), 10000u);
    list.AddString("short");
    list.AddString(longEntry);
    list.AddString("");
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetText(1), longEntry);
    EXPECT_EQ(list.GetText(0), "short");
    EXPECT_EQ(list.GetText(2), "");
    EXPECT_EQ(list.GetText(3), "") << "past the end";
    EXPECT_EQ(list.GetText(-1), "");
}

TEST_F(DialogTest, SortedListBoxPlacesEntriesWithoutRegardToCase)
{
    ProbeDialog dialog(IDD_MAIN_DIALOG);  // its city lists are sorted
    ASSERT_TRUE(Created(dialog));
    ListBox list(dialog.GetItem(IDC_YOUR_CITY_LIST));
    EXPECT_EQ(list.GetCurSel(), -1);
    for (const char* entry : {"Tokyo 9.00", "boston -5.00", "Cairo 2.00", "apia 13.00"})
        list.AddString(entry);
    std::vector<std::string> order;
    for (int i = 0; i < list.GetCount(); ++i)
        order.push_back(list.GetText(i));
    EXPECT_EQ(order, (std::vector<std::string>{"apia 13.00", "boston -5.00", "Cairo 2.00", "Tokyo 9.00"}));
    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
}

// ---------------------------------------------------------------------------------------------
// Message boxes

TEST_F(DialogTest, ObserverSeesBoxesInsteadOfTheScreen)
{
    MessageBoxCapture capture;
    ShowMessageBox("File Empty..", "Read Record..");
    ShowMessageBox(IDS_RUNTIME_INIT_FAILED);
    ASSERT_EQ(capture.boxes.size(), 2u);
    EXPECT_EQ(capture.boxes[0], (std::pair<std::string, std::string>{"File Empty..", "Read Record.."}));
    EXPECT_EQ(capture.boxes[1].first,
              "OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    EXPECT_EQ(capture.boxes[1].second, "win_tests") << "the application's name: the exe's without extension";
    EXPECT_TRUE(ThreadPopups().empty());
}

TEST_F(DialogTest, BoxOnScreenHasOnlyAnOkButtonAndNoIcon)
{
    // Without an observer the box is real; look at it from inside its own loop.
    std::string text;
    bool hasOk = false;
    bool hasCancel = true;
    bool hasIcon = true;
    HWND box = nullptr;
    RunWhen([&] {
        for (HWND w : ThreadPopups())
            if (TextOf(w) == "Box Caption")
                box = w;
        return box != nullptr;
    }, [&] {
        if (!box)
            return;
        text = TextOf(::GetDlgItem(box, 0xFFFF));
        hasOk = ::GetDlgItem(box, IDOK) != nullptr;
        hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
        hasIcon = false;
        for (HWND child : ChildrenOf(box))
            if (ClassOf(child) == "Static" && ::IsWindowVisible(child) &&
                ::SendMessageA(child, STM_GETICON, 0, 0) != 0)
                hasIcon = true;
        ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    Watchdog watchdog;
    ShowMessageBox("Found !!", "Box Caption");
    EXPECT_FALSE(watchdog.Fired());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Found !!");
    EXPECT_TRUE(hasOk);
    EXPECT_FALSE(hasCancel);
    EXPECT_FALSE(hasIcon);
}

} // namespace
