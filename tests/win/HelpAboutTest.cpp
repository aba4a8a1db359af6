// The Help and About dialogs: their texts, the version line, and what closes them.
#include "WinTestSupport.h"

#include "res/resource.h"
#include "ui/PAbout.h"
#include "ui/PHelp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

using namespace wintest;

namespace {

class HelpAboutTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ForgetPendingActions();
        TakeQuit();
    }
};

TEST_F(HelpAboutTest, HelpTextHasItsShapeAndIsShown)
{
    EXPECT_EQ(HelpText.size(), 659u);
    EXPECT_EQ(HelpText.find('\r'), std::string_view::npos) << "lines end in a line feed alone";
    std::vector<std::string> lines;
    std::istringstream in{std::string(HelpText)};
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "To Check Time Difference Between Two Cities ");
    EXPECT_EQ(lines[1], std::string(75, '-'));
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], " To Register Your City In The City Database ");
    EXPECT_EQ(lines[7], std::string(70, '-'));
    EXPECT_EQ(lines[12], " 5. If Your City Is Not Listed In The Current Database Then It Will Be Added Instantly !!");

    CPHelpDlg help;
    ASSERT_TRUE(Created(help));
    EXPECT_EQ(TextOf(help.GetItem(IDC_HELP_TEXT)), std::string(HelpText));
}

// The fixed version numbers and the FileVersion string of this executable's version block,
// read from the raw resource (the tests are not linked with version.dll).
std::pair<std::string, std::string> ReadVersionBlock()
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    if (!found)
        return {};
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    const std::string block(data, ::SizeofResource(nullptr, found));
    std::pair<std::string, std::string> result;
    size_t at = block.find("\xBD\x04\xEF\xFE");  // VS_FIXEDFILEINFO's signature
    if (at != std::string::npos && at + sizeof(VS_FIXEDFILEINFO) <= block.size()) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, block.data() + at, sizeof fixed);
        char text[64];
        std::snprintf(text, sizeof text, "%u, %u, %u, %u", unsigned(HIWORD(fixed.dwFileVersionMS)),
                      unsigned(LOWORD(fixed.dwFileVersionMS)), unsigned(HIWORD(fixed.dwFileVersionLS)),
                      unsigned(LOWORD(fixed.dwFileVersionLS)));
        result.first = text;
    }
    // The key in UTF-16 with its terminator; the value starts at the next 32-bit boundary.
    const char key[] = "F\0i\0l\0e\0V\0e\0r\0s\0i\0o\0n\0\0\0";
    at = block.find(std::string(key, sizeof key - 1));
    if (at == std::string::npos)
        return result;
    for (at = (at + sizeof key - 1 + 3) & ~size_t(3); at + 1 < block.size() && block[at]; at += 2)
        result.second += block[at];
    return result;
}

TEST_F(HelpAboutTest, AboutShowsTheVersionOfTheVersionBlock)
{
    auto [fixed, fileVersion] = ReadVersionBlock();
    EXPECT_EQ(fixed, "1, 0, 0, 1");
    EXPECT_EQ(fileVersion, fixed);

    CPAboutDlg about;
    ASSERT_TRUE(Created(about));
    int versionLines = 0;
    for (HWND child = ::GetWindow(about.GetHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child).find(fixed) != std::string::npos)
            ++versionLines;
    EXPECT_EQ(versionLines, 1);
}
// Runs a fresh Help or About dialog modally with the action inside its loop.
INT_PTR RunDialog(bool about, const std::function<void(Dialog&)>& action)
{
    CPHelpDlg help;
    CPAboutDlg aboutDialog;
    Dialog& dialog = about ? static_cast<Dialog&>(aboutDialog) : help;
    return RunModalWith(dialog, [&] { action(dialog); });
}

TEST_F(HelpAboutTest, LeftClickEnterAndEscapeEndBothDialogs)
{
    for (bool about : {false, true}) {
        SCOPED_TRACE(about ? "About" : "Help");
        // A click on the background, and a real one on the first control: the statics must
        // let it through to the dialog.
        EXPECT_EQ(RunDialog(about, [](Dialog& d) { d.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0)); }), IDOK);
        EXPECT_EQ(RunDialog(about, [](Dialog& d) {
            RECT r;
            ::GetWindowRect(::GetWindow(d.GetHwnd(), GW_CHILD), &r);
            ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        }), IDOK);
        EXPECT_EQ(RunDialog(about, [](Dialog& d) { d.Post(WM_KEYDOWN, VK_RETURN); }), IDOK);
        EXPECT_EQ(RunDialog(about, [](Dialog& d) { d.Post(WM_KEYDOWN, VK_ESCAPE); }), IDCANCEL);
    }
}

TEST_F(HelpAboutTest, RightButtonDoesNothing)
{
    for (bool about : {false, true}) {
        SCOPED_TRACE(about ? "About" : "Help");
        bool stillOpen = false;
        INT_PTR result = RunDialog(about, [&](Dialog& dialog) {
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

} // namespace
