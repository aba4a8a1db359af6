// What becomes of the city database when the real program is killed in the middle of a
// registration, when its disk is full or mounted read-only, and whether very large or hostile
// databases open at all.
//
// The DataSafetyMount cases need a full and a read-only file system, which only root can make:
// tests/safety/run-safety prepares them and names them in environment variables. Without
// those variables the cases skip.
#include "Harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace e2e;

namespace {

const char* const kDatabase = "wtcmain.pvx";

// The number of list entries the program makes of these bytes: one per line feed, and one
// for a last line without one.
long LinesIn(const std::string& bytes)
{
    long lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    if (!bytes.empty() && bytes.back() != '\n')
        ++lines;
    return lines;
}

// One pavix.exe working in a folder of the caller's choosing.
class Program : public Process {
public:
    explicit Program(const std::string& folder) : Process(Pavix::Exe(), "", folder) {}
};

// Presses Exit in the Register City dialog and then ends the program from its menu.
void ExitProgram(const Program& program, HWND main)
{
    EXPECT_TRUE(LeaveRegisterCity(program, main)) << "Exit left the Register City dialog open";
    PostMessageA(main, WM_COMMAND, cmdExit, 0);
    EXPECT_TRUE(program.WaitForExit()) << "the program did not end";
}

// A busy wait: Sleep is too coarse for moments a few milliseconds apart.
void WaitMicroseconds(long long micros)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const long long ticks = micros * frequency.QuadPart / 1000000;
    do
        QueryPerformanceCounter(&now);
    while (now.QuadPart - start.QuadPart < ticks);
}

// ---------------------------------------------------------------------------------------------
// Killed in the middle of a registration.

TEST(DataSafetyKill, KilledAtAnyMomentOfARegistrationTheFileHoldsOnlyWholeLines)
{
    const unsigned seed = static_cast<unsigned>(GetTickCount64());
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    // Large enough that the search before the append takes a few milliseconds; the last line
    // has no line end, which the first append has to supply.
    std::string before;
    for (int i = 0; i < 20000; ++i)
        before += "Town" + std::to_string(i) + (i % 3 ? "\t-3.00\r\n" : "  10.50\n");
    before += "Udaipur\t5.50";
    TempDir folder;
    folder.WriteFile(kDatabase, before);
    int killedAfterTheLine = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Program program(folder.Path());
        HWND main = program.WaitFor(idYourCityList);
        ASSERT_TRUE(main) << "no main window";
        PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);

        // The first registration of each round also shows that a killed copy left no lock behind.
        std::string expected;
        for (int i = 0, confirmed = 1 + static_cast<int>(random() % 3); i < confirmed; ++i) {
            const std::string name = "r" + std::to_string(round) + "n" + std::to_string(i);
            auto view = Register(program, name);
            ASSERT_TRUE(view) << "no answer to registering " << name;
            ASSERT_EQ(view->text, AddedText(name)) << view->caption;
            expected += UpperAToZ(name) + "\t5.50\r\n";
        }
        const std::string last = "r" + std::to_string(round) + "killed";
        const long long delay = static_cast<long long>(random() % 20001);
        SCOPED_TRACE("killed " + std::to_string(delay) + " us after the click");
        ASSERT_TRUE(ClickRegister(program, last));
        WaitMicroseconds(delay);
        program.Terminate();
        ASSERT_TRUE(program.WaitForExit()) << "the program outlived the kill";

        // Either the killed registration's line is there whole, or nothing of it is.
        auto after = ReadBytes(folder.Path() + "\\" + kDatabase);
        ASSERT_TRUE(after);
        ASSERT_EQ(after->compare(0, before.size(), before), 0) << "an earlier line changed";
        const std::string lineEnd = before.back() != '\n' ? "\r\n" : "";
        const std::string withLast = expected + UpperAToZ(last) + "\t5.50\r\n";
        const std::string added = after->substr(before.size());
        killedAfterTheLine += added == lineEnd + withLast;
        ASSERT_TRUE(added == lineEnd + expected || added == lineEnd + withLast) << "added: " << added;
        before = *after;
    }
    std::printf("[          ] 20 kills, %d after the last line was written\n", killedAfterTheLine);
}

// ---------------------------------------------------------------------------------------------
// A full disk and a read-only one, prepared by tests/safety/run-safety.

// A folder named in the environment, as a Windows path; a Unix path is taken as Wine's Z: drive.
std::optional<std::string> PreparedFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        return std::nullopt;
    std::string path = value;
    if (path.front() == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return path;
}

// Starts the program in the folder, registers the name once and returns the message it gave;
// the file must be byte for byte what it was.
void ExpectRegistrationRefused(const std::string& folder, const std::string& name, const std::string& message)
{
    SCOPED_TRACE(folder);
    const std::string path = folder + "\\" + kDatabase;
    const auto before = ReadBytes(path);
    ASSERT_TRUE(before) << "cannot read " << path;
    ASSERT_FALSE(before->empty());

    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitFor(idYourCityList);
    ASSERT_TRUE(main) << "no main window";
    EXPECT_EQ(Send(GetDlgItem(main, idYourCityList), LB_GETCOUNT), LinesIn(*before));
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto view = Register(program, name);
    ASSERT_TRUE(view) << "no answer to Register";
    EXPECT_EQ(view->caption, "Error !!");
    EXPECT_EQ(view->text, message);
    EXPECT_EQ(view->visibleButtons, 1);
    EXPECT_TRUE(view->hasOk);
    EXPECT_TRUE(program.WaitFor(idHoursList)) << "no fresh Register City dialog after the error";
    ExitProgram(program, main);

    const auto after = ReadBytes(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size(), before->size());
    EXPECT_TRUE(*after == *before) << "the file changed";
}

// The folder holds "partial", whose database ends a few bytes short of a full page, so that
// the start of the record still fits, and "nothing", whose database ends on a page boundary.
TEST(DataSafetyMount, AppendOnAFullDiskLeavesTheFileUnchangedAndSaysSo)
{
    auto folder = PreparedFolder("PAVIX_SAFETY_FULL_DIR");
    if (!folder)
        GTEST_SKIP() << "PAVIX_SAFETY_FULL_DIR is not set; tests/safety/run-safety sets it";
    for (const char* sub : {"partial", "nothing"}) {
        const std::string name = std::string("Full") + sub;
        ExpectRegistrationRefused(*folder + "\\" + sub, name,
                                  "Record For City Of " + UpperAToZ(name) + " [5.50] Could Not Be Written !!");
    }
}

TEST(DataSafetyMount, ReadOnlyFileSystemLeavesTheFileUnchangedAndSaysSo)
{
    auto folder = PreparedFolder("PAVIX_SAFETY_READONLY_DIR");
    if (!folder)
        GTEST_SKIP() << "PAVIX_SAFETY_READONLY_DIR is not set; tests/safety/run-safety sets it";
    ExpectRegistrationRefused(*folder, "ReadOnly", "Pavix Database Cannot Be Written !!");
}

// ---------------------------------------------------------------------------------------------
// Large and hostile databases.

// The program on this database opens its main window, lists one entry per line in both lists,
// and is still alive and answering a second later.
void ExpectOpens(const Program& program, HWND& main, long lines, unsigned timeoutMs = 15000)
{
    ASSERT_TRUE(program.Started());
    main = program.WaitFor(idYourCityList, timeoutMs);
    ASSERT_TRUE(main) << (program.Running() ? "no main window" : "the program ended");
    // After a long load the window shows a moment before its thread takes messages again, and
    // until then the system counts it as hung and refuses to wait for it.
    ASSERT_TRUE(WaitUntil([&] { return Send(main, WM_NULL, 0, 0, -1) == 0; }, 30000)) << "the window never answered";
    for (int id : {idYourCityList, idDestinationList}) {
        HWND list = GetDlgItem(main, id);
        EXPECT_EQ(Send(list, LB_GETCOUNT), lines) << "list " << id;
        if (lines > 0) {
            EXPECT_EQ(Send(list, LB_GETCURSEL), 0) << "list " << id;
        }
    }
    Sleep(1000);
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(Send(main, WM_NULL, 0, 0, -1), 0) << "the window stopped answering";
    EXPECT_TRUE(program.Find(idBoxText) == nullptr) << "an unexpected message box";
}

TEST(DataSafetyLarge, AMillionLinesOpenInBothLists)
{
    constexpr long count = 1000000;
    std::string database;
    database.reserve(count * 16);
    char line[32];
    for (long i = 0; i < count; ++i) {
        // Written in reverse, so that every entry has to be sorted.
        std::snprintf(line, sizeof line, "C%07ld\t%s\r\n", count - 1 - i, i % 2 ? "5.50" : "-12.00");
        database += line;
    }
    TempDir folder;
    folder.WriteFile(kDatabase, database);
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, count, 120000);
    ASSERT_TRUE(main);
    HWND list = GetDlgItem(main, idDestinationList);
    EXPECT_EQ(ListEntry(list, 0), "C0000000 5.50");
    EXPECT_EQ(ListEntry(list, count - 1), "C0999999 -12.00");
}

TEST(DataSafetyLarge, ATenMegabyteLineOpensWhole)
{
    const std::string name(10 * 1024 * 1024, 'W');
    TempDir folder;
    folder.WriteFile(kDatabase, name + "\t5.50\r\n");
    Program program(folder.Path());
    HWND main = nullptr;
    ExpectOpens(program, main, 1);
    ASSERT_TRUE(main);
    // Asked in UTF-16: Wine 10 cannot tell another process the ANSI length of so long an entry.
    for (int id : {idYourCityList, idDestinationList}) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(GetDlgItem(main, id), LB_GETTEXTLEN, 0, 0, SMTO_ABORTIFHUNG, 10000, &length);
        EXPECT_EQ(length, name.size() + 5);
    }
}

// Random bytes, and NUL bytes only (one line): each opens, and registering into it appends one
// whole line, after a line end for its unended last line.
TEST(DataSafetyHostile, HostileBytesOpenAndTakeAWholeLine)
{
    std::mt19937 random(20240601);
    std::string randomBytes(64 * 1024, '\0');
    for (char& c : randomBytes)
        c = static_cast<char>(random() & 0xFF);
    randomBytes.back() = 'x';
    for (const std::string& bytes : {randomBytes, std::string(64 * 1024, '\0')}) {
        TempDir folder;
        folder.WriteFile(kDatabase, bytes);
        Program program(folder.Path());
        HWND main = nullptr;
        ExpectOpens(program, main, LinesIn(bytes));
        ASSERT_TRUE(main);
        PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
        auto view = Register(program, "Hostile");
        ASSERT_TRUE(view) << "no answer to Register";
        EXPECT_EQ(view->caption, "New City Added !!");
        EXPECT_EQ(view->text, AddedText("Hostile"));
        ExitProgram(program, main);
        EXPECT_TRUE(ReadBytes(folder.Path() + "\\" + kDatabase) == bytes + "\r\nHOSTILE\t5.50\r\n");
    }
}

TEST(DataSafetyHostile, ADirectoryInPlaceOfTheFileCountsAsMissing)
{
    TempDir folder;
    const std::string path = folder.Path() + "\\" + kDatabase;
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { RemoveDirectoryA(path.c_str()); }
    } removeAtEnd{path};

    Program program(folder.Path());
    ASSERT_TRUE(program.Started());
    HWND box = program.WaitFor(idBoxText);
    ASSERT_TRUE(box) << (program.Running() ? "no message box" : "the program ended");
    MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.caption, "Read Record..");
    EXPECT_NE(view.text.find("wtcmain.pvx"), std::string::npos) << view.text;
    EXPECT_TRUE(view.hasOk);
    PressOk(box);

    HWND main = nullptr;
    ExpectOpens(program, main, 0);
    ASSERT_TRUE(main);
    for (int id : {idYourCityList, idDestinationList})
        EXPECT_EQ(Send(GetDlgItem(main, id), LB_GETCURSEL), LB_ERR);

    // Registering into it is refused, and it stays a directory.
    PostMessageA(main, WM_COMMAND, cmdRegisterCity, 0);
    auto answer = Register(program, "Nowhere");
    ASSERT_TRUE(answer) << "no answer to Register";
    EXPECT_EQ(answer->caption, "Error !!");
    EXPECT_TRUE(answer->text == "Pavix Database Missing !!" || answer->text == "Pavix Database Cannot Be Written !!")
        << answer->text;
    ExitProgram(program, main);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
