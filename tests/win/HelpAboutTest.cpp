// The Help and About dialogs: their texts, the version line, and what closes them.
#include "WinTestSupport.h"

#include "res/resource.h"
#include "ui/PAbout.h"
#include "ui/PHelp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace wintest;

namespace {

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

class HelpAboutTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ForgetPendingActions();
        TakeQuit();
    }
};

// ---------------------------------------------------------------------------------------------
// Help

TEST_F(HelpAboutTest, HelpTextHasItsShape)
{
    EXPECT_EQ(HelpText.size(), 659u);
    EXPECT_EQ(HelpText.find('\r'), std::string_view::npos) << "lines end in a line feed alone";
    std::vector<std::string> lines = Lines(HelpText);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "To Check Time Difference Between Two Cities ");
    EXPECT_EQ(lines[1], std::string(75, '-'));
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], " To Register Your City In The City Database ");
    EXPECT_EQ(lines[7], std::string(70, '-'));
    EXPECT_EQ(lines[12], " 5. If Your City Is Not Listed In The Current Database Then It Will Be Added Instantly !!");
}

TEST_F(HelpAboutTest, HelpShowsTheHelpText)
{
    CPHelpDlg help;
    ASSERT_TRUE(Created(help));
    EXPECT_EQ(TextOf(help.GetItem(IDC_HELP_TEXT)), std::string(HelpText));
}

TEST_F(HelpAboutTest, LeftClickAnywhereClosesHelpWithOk)
{
    // The text, the credit line below it, the empty band between them, and a corner.
    CPHelpDlg probe;
    ASSERT_TRUE(Created(probe));
    HWND text = probe.GetItem(IDC_HELP_TEXT);
    std::vector<HWND> children = ChildrenOf(probe.GetHwnd());
    ASSERT_EQ(children.size(), 2u);
    HWND credit = children[0] == text ? children[1] : children[0];
    RECT textRect, creditRect;
    ::GetWindowRect(text, &textRect);
    ::GetWindowRect(credit, &creditRect);
    ::MapWindowPoints(nullptr, probe.GetHwnd(), reinterpret_cast<POINT*>(&textRect), 2);
    ::MapWindowPoints(nullptr, probe.GetHwnd(), reinterpret_cast<POINT*>(&creditRect), 2);
    ASSERT_LT(textRect.bottom, creditRect.top);
    const std::vector<POINT> points{CentreInParent(text), CentreInParent(credit),
                                    {5, (textRect.bottom + creditRect.top) / 2}, {0, 0}};
    probe.DestroyWindow();

    for (POINT at : points) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        CPHelpDlg help;
        bool timedOut = false;
        INT_PTR result = RunModalWith(help, [&] {
            help.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }, &timedOut);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(help.GetHwnd(), nullptr);
    }
}

TEST_F(HelpAboutTest, RealClickOnTheHelpTextClosesIt)
{
    // Through the input queue: the static text must let the click through to the dialog.
    CPHelpDlg help;
    bool timedOut = false;
    INT_PTR result = RunModalWith(help, [&] {
        RECT r;
        ::GetWindowRect(help.GetItem(IDC_HELP_TEXT), &r);
        ClickAt({(r.left + r.right) / 2, r.top + 20});
    }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(result, IDOK);
}

TEST_F(HelpAboutTest, EnterAndEscapeCloseHelp)
{
    for (auto [key, expected] : {std::pair{VK_RETURN, IDOK}, std::pair{VK_ESCAPE, IDCANCEL}}) {
        SCOPED_TRACE(key);
        CPHelpDlg help;
        bool timedOut = false;
        INT_PTR result = RunModalWith(help, [&] { help.Post(WM_KEYDOWN, WPARAM(key)); }, &timedOut);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(result, expected);
    }
}

TEST_F(HelpAboutTest, RightButtonDoesNothing)
{
    for (bool about : {false, true}) {
        SCOPED_TRACE(about ? "About" : "Help");
        CPHelpDlg help;
        CPAboutDlg aboutDialog;
        Dialog& dialog = about ? static_cast<Dialog&>(aboutDialog) : help;
        bool stillOpen = false;
        INT_PTR result = RunModalWith(dialog, [&] {
            RECT r;
            ::GetWindowRect(dialog.GetHwnd(), &r);
            ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, true);
            dialog.Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
            dialog.Send(WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
            // Give the real click time to arrive, then look.
            DWORD until = ::GetTickCount() + 300;
            RunWhen([until] { return int(::GetTickCount() - until) >= 0; }, [&] {
                stillOpen = !dialog.IsEnded() && dialog.IsVisible();
                dialog.EndDialog(IDRETRY);
            });
        });
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(result, IDRETRY);
    }
}

// ---------------------------------------------------------------------------------------------
// About

struct VersionBlock {
    std::string fixed;        // from the binary version numbers
    std::string fileVersion;  // the FileVersion string
    WORD language = 0;
};

// The version block of this executable, which carries the program's resources.
VersionBlock ReadVersionBlock()
{
    VersionBlock block;
    HMODULE library = ::LoadLibraryA("version.dll");
    if (!library)
        return block;
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto getSize = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(::GetProcAddress(library, "GetFileVersionInfoSizeA")));
    auto getInfo = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(library, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(library, "VerQueryValueA")));
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD handle = 0;
    DWORD size = getSize(path, &handle);
    std::vector<char> data(size);
    if (size && getInfo(path, 0, size, data.data())) {
        void* value = nullptr;
        UINT length = 0;
        if (query(data.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
            auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
            char text[64];
            std::snprintf(text, sizeof text, "%u, %u, %u, %u", unsigned(HIWORD(fixed->dwFileVersionMS)),
                          unsigned(LOWORD(fixed->dwFileVersionMS)), unsigned(HIWORD(fixed->dwFileVersionLS)),
                          unsigned(LOWORD(fixed->dwFileVersionLS)));
            block.fixed = text;
        }
        if (query(data.data(), "\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
            block.language = static_cast<WORD*>(value)[0];
            char key[64];
            std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileVersion", block.language,
                          static_cast<WORD*>(value)[1]);
            if (query(data.data(), key, &value, &length) && length > 0)
                block.fileVersion = static_cast<const char*>(value);
        }
    }
    ::FreeLibrary(library);
    return block;
}

TEST_F(HelpAboutTest, AboutShowsTheVersionOfTheVersionBlock)
{
    VersionBlock block = ReadVersionBlock();
    EXPECT_EQ(block.fixed, "1, 0, 0, 1");
    EXPECT_EQ(block.fileVersion, block.fixed);
    EXPECT_EQ(block.language, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_AUS));

    CPAboutDlg about;
    ASSERT_TRUE(Created(about));
    std::vector<HWND> children = ChildrenOf(about.GetHwnd());
    EXPECT_EQ(children.size(), 6u);
    int versionLines = 0;
    for (HWND child : children)
        if (TextOf(child).find(block.fixed) != std::string::npos)
            ++versionLines;
    EXPECT_EQ(versionLines, 1);
}

TEST_F(HelpAboutTest, AboutShowsTheProgramIconAndTheRule)
{
    CPAboutDlg about;
    ASSERT_TRUE(Created(about));
    bool icon = false;
    bool rule = false;
    for (HWND child : ChildrenOf(about.GetHwnd())) {
        LONG type = ::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
        if (type == SS_ICON && ::SendMessageA(child, STM_GETIMAGE, IMAGE_ICON, 0))
            icon = true;
        if (type == SS_BITMAP && ::SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0))
            rule = true;
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(rule);
}

TEST_F(HelpAboutTest, LeftClickAnywhereClosesAbout)
{
    CPAboutDlg probe;
    ASSERT_TRUE(Created(probe));
    std::vector<POINT> points{{0, 0}};
    for (HWND child : ChildrenOf(probe.GetHwnd()))
        points.push_back(CentreInParent(child));
    probe.DestroyWindow();

    for (POINT at : points) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        CPAboutDlg about;
        bool timedOut = false;
        INT_PTR result = RunModalWith(about, [&] {
            about.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }, &timedOut);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(result, IDOK);
    }
}

TEST_F(HelpAboutTest, RealClickOnTheAboutIconClosesIt)
{
    CPAboutDlg about;
    bool timedOut = false;
    INT_PTR result = RunModalWith(about, [&] {
        HWND icon = ::GetWindow(about.GetHwnd(), GW_CHILD);
        RECT r;
        ::GetWindowRect(icon, &r);
        ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(result, IDOK);
}

TEST_F(HelpAboutTest, EnterAndEscapeCloseAbout)
{
    for (auto [key, expected] : {std::pair{VK_RETURN, IDOK}, std::pair{VK_ESCAPE, IDCANCEL}}) {
        SCOPED_TRACE(key);
        CPAboutDlg about;
        bool timedOut = false;
        INT_PTR result = RunModalWith(about, [&] { about.Post(WM_KEYDOWN, WPARAM(key)); }, &timedOut);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(result, expected);
    }
}

TEST_F(HelpAboutTest, BothDialogsAreBlackWithYellowText)
{
    CPHelpDlg help;
    CPAboutDlg about;
    for (Dialog* dialog : {static_cast<Dialog*>(&help), static_cast<Dialog*>(&about)}) {
        ASSERT_TRUE(Created(*dialog));
        HWND hwnd = dialog->GetHwnd();
        CtlColors background = AskCtlColor(hwnd, WM_CTLCOLORDLG, hwnd);
        ASSERT_TRUE(background.hasBrush);
        EXPECT_EQ(background.brush, kBlack);
        for (HWND child : ChildrenOf(hwnd)) {
            SCOPED_TRACE(TextOf(child));
            CtlColors text = AskCtlColor(hwnd, WM_CTLCOLORSTATIC, child);
            ASSERT_TRUE(text.hasBrush);
            EXPECT_EQ(text.brush, kBlack);
            EXPECT_EQ(text.text, kYellow);
        }
    }
}

} // namespace
