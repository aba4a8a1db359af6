// Wine's own cscript.exe, a client no one here wrote, holds the object from a VBScript.
#include "Automation.h"


using namespace com;

namespace {

std::string ReadFile(const std::string& path)
{
    return e2e::ReadBytes(path).value_or("");
}

TEST_F(Automation, AScriptHoldsTheProgramUntilItLetsGo)
{
    std::string outputPath = m_dir.Path() + "\\output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(output, INVALID_HANDLE_VALUE);
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);

    auto before = PavixProcesses();
    Process script(std::string(system) + "\\cscript.exe", "//NoLogo \"" + e2e::ExeDirectory() + "hold.vbs\"",
                   m_dir.Path(), output);
    CloseHandle(output);
    ASSERT_TRUE(script.Started()) << "cscript.exe did not start";
    auto server = WaitForNewServer(before);
    ASSERT_NE(server, nullptr) << "the script made no pavix.exe";
    HWND main = server->WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND box = script.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << ReadFile(outputPath);

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(main); })) << "still shown";
    EXPECT_TRUE(Ticks(main));
    EXPECT_TRUE(server->Running());

    e2e::PressOk(box);
    EXPECT_TRUE(server->WaitForExit());
    ASSERT_TRUE(script.WaitForExit());
    EXPECT_EQ(script.ExitCode(), 0u);
    std::string text = ReadFile(outputPath);
    EXPECT_NE(text.find("created"), std::string::npos) << text;
    EXPECT_NE(text.find("Show: 438 "), std::string::npos) << text;
    EXPECT_NE(text.find("released"), std::string::npos) << text;
}

}  // namespace
