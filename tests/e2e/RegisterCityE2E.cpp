// Two copies of the real program registering cities into one database at the same moment,
// each through its own run of Register City dialogs, driven from outside as a user would.
#include "Harness.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

// Registers prefix0, prefix1, ... one per fresh dialog, then presses Exit. Returns what went wrong.
std::vector<std::string> RegisterCities(const Process& copy, HWND main, const std::string& prefix, int count)
{
    std::vector<std::string> problems;
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    for (int i = 0; i < count && problems.empty(); ++i) {
        const std::string name = prefix + std::to_string(i);
        auto view = Register(copy, name);
        if (!view)
            problems.push_back("no answer to registering " + name);
        else if (view->caption != "New City Added !!" || view->text != AddedText(name))
            problems.push_back(name + ": " + view->caption + " / " + view->text);
    }
    if (!LeaveRegisterCity(copy, main))
        problems.push_back(prefix + ": Exit left a dialog open or the main window disabled");
    return problems;
}

TEST(RegisterCityE2E, TwoCopiesRegisteringAtOnceLeaveEveryLineWhole)
{
    const std::string initial = "Tokyo\t9.00\r\nUdaipur\t5.50\r\n";
    TempDir folder;
    folder.WriteFile("wtcmain.pvx", initial);
    Process first(Pavix::Exe(), "", folder.Path());
    Process second(Pavix::Exe(), "", folder.Path());
    HWND firstMain = first.WaitFor(idYourCityList);
    HWND secondMain = second.WaitFor(idYourCityList);
    ASSERT_TRUE(firstMain && secondMain) << "both copies show their main window";
    const std::vector<std::string> listBefore = ListEntries(GetDlgItem(firstMain, idYourCityList));

    constexpr int perCopy = 50;
    std::vector<std::string> firstProblems;
    std::vector<std::string> secondProblems;
    std::thread firstUser([&] { firstProblems = RegisterCities(first, firstMain, "Alpha", perCopy); });
    std::thread secondUser([&] { secondProblems = RegisterCities(second, secondMain, "Beta", perCopy); });
    firstUser.join();
    secondUser.join();
    EXPECT_EQ(firstProblems, std::vector<std::string>{});
    EXPECT_EQ(secondProblems, std::vector<std::string>{});

    const std::string bytes = ReadBytes(folder.Path() + "\\wtcmain.pvx").value_or("");
    ASSERT_EQ(bytes.compare(0, initial.size(), initial), 0) << "the old lines stay as they were";
    std::multiset<std::string> lines;
    size_t start = initial.size();
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.insert(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "the file ends with a whole line";
    std::multiset<std::string> expected;
    for (int i = 0; i < perCopy; ++i) {
        expected.insert("ALPHA" + std::to_string(i) + "\t5.50");
        expected.insert("BETA" + std::to_string(i) + "\t5.50");
    }
    EXPECT_EQ(lines, expected);

    // The lists stay as loaded at start-up; the new cities show from the next start on.
    EXPECT_EQ(ListEntries(GetDlgItem(firstMain, idYourCityList)), listBefore);
    PostMessageA(firstMain, WM_COMMAND, cmdExit, 0);
    PostMessageA(secondMain, WM_COMMAND, cmdExit, 0);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.WaitForExit());
}

} // namespace
