// The toolkit layer: message tables, the modal loop, the application's quit rule, the dialog
// colours and list boxes.
#include "WinTestSupport.h"

#include "platform/App.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"
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

// A dialog on a plain template, with a table that records what reached it.
class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(UINT templateId = IDD_ABOUT_DIALOG) : Dialog(templateId) {}

    std::vector<std::string> log;
    int timerTicks = 0;
    std::function<void()> onTimer;
    std::function<void()> nested;

protected:
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
    // Sends itself another message before passing its own on to the default handling.
    LRESULT OnSetText(WPARAM, LPARAM)
    {
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
    OnMessage<&ProbeDialog::OnProbe>(kProbe),
    OnMessage<&ProbeDialog::OnBaseOnly>(kBaseOnly),
    OnMessage<&ProbeDialog::OnSetText>(WM_SETTEXT),
    OnMessage<&ProbeDialog::OnTimer>(WM_TIMER),
    OnMessage<&ProbeDialog::OnRunNested>(kRunNested),
    OnCommand<&ProbeDialog::OnBaseCommand>(kBaseCommand),
};
IMPLEMENT_MESSAGE_MAP(ProbeDialog, Dialog)

class DerivedProbe : public ProbeDialog {
protected:
    LRESULT OnProbe(WPARAM w, LPARAM l)
    {
        log.push_back("derived probe " + std::to_string(w) + " " + std::to_string(l));
        return 2000 + LRESULT(w);
    }

    DECLARE_MESSAGE_MAP()
};

const MessageMapEntry DerivedProbe::messageEntries[] = {
    OnMessage<&DerivedProbe::OnProbe>(kProbe),
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

TEST_F(DialogTest, TablesRouteDerivedFirstThenBaseThenDefault)
{
    DerivedProbe dialog;
    ASSERT_TRUE(Created(dialog));
    EXPECT_EQ(dialog.Send(kProbe, 3, 4), 2003);
    EXPECT_EQ(dialog.Send(kBaseOnly), 7);
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand, BN_CLICKED));
    // Another notification code, or an id nobody handles, reaches no command handler.
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand, BN_DOUBLECLICKED));
    dialog.Send(WM_COMMAND, MAKEWPARAM(kBaseCommand + 1, BN_CLICKED));
    EXPECT_EQ(dialog.Send(kUnknown, 1, 2), 0);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"derived probe 3 4", "base only", "base command"}));

    // The default handling gets the outer message even after a nested one was handled.
    dialog.log.clear();
    ::SetWindowTextA(dialog.GetHwnd(), "outer text");
    EXPECT_EQ(TextOf(dialog.GetHwnd()), "outer text");
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"derived probe 1 2"}));

    // IDOK is in the toolkit's own table.
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_TRUE(dialog.IsEnded());
}

TEST_F(DialogTest, NestedModalRunKeepsTimersFlowingAndEndDialogEndsOnlyTheInnermost)
{
    ProbeDialog ticker;  // another window with a timer, like the main window's clock
    ASSERT_TRUE(Created(ticker));
    ProbeDialog outer;
    ProbeDialog inner;
    int ticksAtInnerStart = -1;
    int ticksInInner = -1;
    INT_PTR innerResult = 0;
    bool outerRunningAfterInner = false;

    ticker.onTimer = [&] {
        if (inner.GetHwnd() && !inner.IsEnded() && ticksAtInnerStart >= 0 &&
            ticker.timerTicks - ticksAtInnerStart >= 3)
            inner.EndDialog(IDRETRY);
    };
    outer.nested = [&] {
        ticksAtInnerStart = ticker.timerTicks;
        innerResult = inner.DoModal();
        ticksInInner = ticker.timerTicks - ticksAtInnerStart;
        outerRunningAfterInner = !outer.IsEnded();
        // The outer loop must still be there to run this.
        RunWhen([] { return true; }, [&] { outer.EndDialog(IDIGNORE); });
    };
    ticker.SetTimer(7, 10);
    INT_PTR outerResult = RunModalWith(outer, [&] { outer.Post(kRunNested); });
    ::KillTimer(ticker.GetHwnd(), 7);

    EXPECT_EQ(innerResult, IDRETRY);
    EXPECT_GE(ticksInInner, 3);
    EXPECT_TRUE(outerRunningAfterInner);
    EXPECT_EQ(outerResult, IDIGNORE);
    EXPECT_EQ(TakeQuit(), 0) << "EndDialog posts no quit";
}

TEST_F(DialogTest, QuitEndsEveryNestedRunAndIsPostedAgain)
{
    ProbeDialog outer;
    ProbeDialog inner;
    INT_PTR innerResult = 0;
    outer.nested = [&] {
        RunWhen([&] { return inner.GetHwnd() != nullptr; }, [] { ::PostQuitMessage(5); });
        innerResult = inner.DoModal();
    };
    INT_PTR outerResult = RunModalWith(outer, [&] { outer.Post(kRunNested); });
    EXPECT_EQ(innerResult, -1) << "a run ended by the quit has no end code";
    EXPECT_EQ(outerResult, -1);
    EXPECT_EQ(inner.GetHwnd(), nullptr);
    EXPECT_EQ(outer.GetHwnd(), nullptr);
    int code = -1;
    EXPECT_EQ(TakeQuit(&code), 1) << "the quit is left for the loop around the outermost run";
    EXPECT_EQ(code, 5);
}

TEST_F(DialogTest, MainWindowDestructionQuitsOnlyWithoutLocks)
{
    App* app = App::Current();
    ASSERT_EQ(app->GetLockCount(), 0);
    {
        ProbeDialog other;
        ASSERT_TRUE(Created(other));
        other.DestroyWindow();
        EXPECT_EQ(TakeQuit(), 0) << "a window that is not the main window";
    }
    for (bool locked : {true, false}) {
        SCOPED_TRACE(locked ? "locked" : "unlocked");
        ProbeDialog main;
        ASSERT_TRUE(Created(main));
        app->SetMainWnd(&main);
        if (locked)
            app->Lock();
        main.DestroyWindow();
        int code = -1;
        EXPECT_EQ(TakeQuit(&code), locked ? 0 : 1);
        if (!locked) {
            EXPECT_EQ(code, 0);
        }
        EXPECT_EQ(app->GetMainWnd(), nullptr) << "the pointer goes with the window";
        if (locked)
            app->Unlock();
    }
    EXPECT_EQ(app->GetLockCount(), 0);
}

TEST_F(DialogTest, DialogStaticAndButtonTakeTheProgramColoursListAndEditDoNot)
{
    ProbeDialog dialog(IDD_REGISTER_CITY);  // has statics, radio buttons, a list and an edit
    ASSERT_TRUE(Created(dialog));
    HWND hwnd = dialog.GetHwnd();
    struct Case {
        const char* name;
        UINT message;
        HWND control;
        bool programColours;
    };
    for (const Case& c : {Case{"dialog", WM_CTLCOLORDLG, hwnd, true},
                          Case{"static", WM_CTLCOLORSTATIC, ::GetDlgItem(hwnd, IDC_STATIC), true},
                          Case{"radio button", WM_CTLCOLORBTN, dialog.GetItem(IDC_AHEAD_RADIO), true},
                          Case{"list box", WM_CTLCOLORLISTBOX, dialog.GetItem(IDC_HOURS_LIST), false},
                          Case{"edit", WM_CTLCOLOREDIT, dialog.GetItem(IDC_CITY_NAME_EDIT), false}}) {
        SCOPED_TRACE(c.name);
        CtlColors colors = AskCtlColor(hwnd, c.message, c.control);
        ASSERT_TRUE(colors.hasBrush);
        if (!c.programColours) {
            EXPECT_EQ(colors.brush, ::GetSysColor(COLOR_WINDOW));
            EXPECT_EQ(colors.text, ::GetSysColor(COLOR_WINDOWTEXT));
            continue;
        }
        EXPECT_EQ(colors.brush, kBlack);
        if (c.message != WM_CTLCOLORDLG) {
            EXPECT_EQ(colors.text, kYellow);
        }
    }
}

TEST_F(DialogTest, ListBoxReturnsLongEntriesWhole)
{
    ProbeDialog dialog(IDD_REGISTER_CITY);
    ASSERT_TRUE(Created(dialog));
    ListBox list(dialog.GetItem(IDC_HOURS_LIST));
    std::string longEntry;
    for (int i = 0; longEntry.size() < 10000; ++i)
        longEntry += char('a' + i % 26);
    list.AddString(longEntry);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetText(0), longEntry);
    EXPECT_EQ(list.GetText(1), "") << "past the end";
}

} // namespace
