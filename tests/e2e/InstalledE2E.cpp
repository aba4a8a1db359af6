// The installed program, started as its Start-menu shortcut starts it: it lists the cities of
// the database in its working directory and registers one there. tests/install/run-install sets
// PAVIX_INSTALLED_EXE, PAVIX_INSTALLED_DIR and PAVIX_INSTALLED_CITY.
#include "Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace e2e;

TEST(Installed, ListsTheCitiesOfItsWorkingDirectoryAndRegistersOneThere)
{
    const char* exe = std::getenv("PAVIX_INSTALLED_EXE");
    const char* dir = std::getenv("PAVIX_INSTALLED_DIR");
    const char* city = std::getenv("PAVIX_INSTALLED_CITY");
    if (!exe || !dir || !city)
        GTEST_SKIP() << "tests/install/run-install runs this against an installed program";
    const std::string database = ReadBytes(std::string(dir) + "\\wtcmain.pvx").value_or("");
    Process program(exe, "", dir);
    HWND main = program.WaitFor(idYourCityList);
    ASSERT_TRUE(main) << "no main window";
    EXPECT_EQ(std::ssize(ListEntries(GetDlgItem(main, idYourCityList))), std::ranges::count(database, '\n'));
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto view = Register(program, city);
    ASSERT_TRUE(view) << "no answer to Register";
    EXPECT_EQ(view->text, AddedText(city));
    EXPECT_TRUE(LeaveRegisterCity(program, main));
    PostMessageA(main, WM_COMMAND, cmdExit, 0);
    EXPECT_TRUE(program.WaitForExit());
}
