// The installed program, started as its Start-menu shortcut starts it: it lists the cities of its
// working directory and registers one there. tests/install/run-install sets the three variables
// and checks the file afterwards.
#include "Driver.h"

TEST(Installed, ListsTheCitiesOfItsWorkingDirectoryAndRegistersOneThere)
{
    const char* exe = std::getenv("PAVIX_INSTALLED_EXE");
    const char* dir = std::getenv("PAVIX_INSTALLED_DIR");
    const char* city = std::getenv("PAVIX_INSTALLED_CITY");
    if (!exe || !dir || !city)
        GTEST_SKIP() << "tests/install/run-install runs this against an installed program";
    ASSERT_TRUE(::SetCurrentDirectoryA(dir));
    const auto lines = std::ranges::count(TempDir::Read().value_or(""), '\n');
    Process program("", exe);
    ASSERT_TRUE(program.WaitForMain());
    EXPECT_EQ(::SendDlgItemMessageA(program.main, IDC_YOUR_CITY_LIST, LB_GETCOUNT, 0, 0), lines);
    program.Post(WM_COMMAND, ID_MENU_REGISTER_CITY);
    EXPECT_NE(Register(program, city).box.find("Added !!"), std::string::npos);
    program.Click(program.WaitFor(IDC_HOURS_LIST), IDCANCEL);
    program.Post(WM_COMMAND, ID_MENU_EXIT);
    EXPECT_TRUE(program.Exited());
}
