// The city database and its text file: file bytes to list entries, searching for a record,
// appending one, a failing disk, where reading stands, and real files.
#include "citydb/CityDatabase.h"

#include "Disk.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using namespace std::string_literals;
using enum FindResult;

// Reads the open file into both lists: the entries, each followed by "|", then any notice; in
// front "not loaded: " when the lists were left empty.
std::string Read(TextFile& file)
{
    Lines yourCity;
    Lines destination;
    Lines notices;
    const bool loaded = ReadCityDatabase(file, yourCity, destination, notices);
    EXPECT_EQ(yourCity.text, destination.text);
    EXPECT_FALSE(file.IsOpen());
    return (loaded ? "" : "not loaded: ") + destination.text + notices.text;
}

// The lines from where reading stands to the end, each followed by "|".
std::string RestOf(TextFile& file)
{
    std::string rest;
    std::string line;
    while (file.ReadLine(line))
        rest += line + "|";
    return rest;
}

TEST(CityDatabase, EachLineOfTheFileBecomesAnEntryWithItsTabsAsBlanks)
{
    struct {
        std::string bytes;
        std::string loaded;
    } cases[] = {
        {"Udaipur\t5.50\r\nNew York\t-5.00\r\nHonolulu\t-10.00",
         "Udaipur 5.50|New York -5.00|Honolulu -10.00|"},
        {"", "not loaded: <empty>"},
        {"\n", "|"},   // one byte
        {"a\n\n\r\nb", "a|||b|"},
        {"a\rb\r\r\n\r", "a\rb\r|\r|"},   // only the CR right before a LF belongs to the line end
        {"\0\x1a\r\n\x1a"s, "\0\x1a|\x1a|"s},   // NUL and Ctrl-Z are bytes like any other
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        MemTextFile file({.bytes = c.bytes, .chunk = 3});
        EXPECT_EQ(Read(file), c.loaded);
    }
}

// A file open before is let go of when the name cannot be opened.
TEST(CityDatabase, LoadOpensTheFileByNameAndTellsWhenItIsMissingOrUnreadable)
{
    TempPath temp;
    TextFile file;
    MemTextFile before({.bytes = "C"});
    Lines yourCity;
    Lines destination;
    Lines notices;
    EXPECT_TRUE(LoadCityDatabase(file, temp.Write("Cairo\t2.00\r\n"), yourCity, destination, notices));
    EXPECT_FALSE(LoadCityDatabase(before, temp.name + "-missing", yourCity, destination, notices));
    EXPECT_FALSE(before.IsOpen());
    EXPECT_FALSE(LoadCityDatabase(file, std::filesystem::temp_directory_path().string(), yourCity,
                                  destination, notices));   // a folder
    EXPECT_EQ(yourCity.text, "Cairo 2.00|");
    EXPECT_EQ(destination.text, "Cairo 2.00|");
    EXPECT_EQ(notices.text, "<missing><unreadable>");
}

// Words match whatever white space runs between them; only A to Z fold case.
TEST(CityDatabase, SearchFindsTheLineWhoseWordsAreTheNameThenTheOffset)
{
    struct {
        std::string bytes;
        std::string name;
        std::string offset;
        FindResult search;
    } cases[] = {
        {"zulu\t1.00\r\nAbc\t5.50AM", "ZULU", "1.00", found},
        {"zulu\t1.00\r\nAbc\t5.50AM", "abc", "5.50am", found},   // the last line needs no line end
        {"\t5.50\r\n", "", "5.50", found},
        {"  New \t York \v -5.00 \r\r\n", "New\tYork", "-5.00", found},
        {"U\t5.50\r\n", "U", "-5.50", absent},
        {"N N\t1\r\n", "N", "1", absent},
        {"U\t1\r\n", "U V", "1", absent},
        {" \r\n", "", "", absent},
        {"", "U", "1", absent},
        {"\xc4rhus 1\r\n", "\xe4rhus", "1", absent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes + " / " + c.name + " / " + c.offset));
        MemTextFile file({.bytes = c.bytes, .chunk = 3});
        EXPECT_EQ(FindCityRecord(file, c.name, c.offset), c.search);
    }
}

TEST(CityDatabase, AppendEndsAnOpenLastLineAndAddsTheRecordWithACrLf)
{
    struct {
        std::string bytes;
        std::string name;
        std::string offset;
        std::string after;
    } cases[] = {
        {"", "U", "1", "U\t1\r\n"},
        {"a\n", "U", "1", "a\nU\t1\r\n"},
        {"X", "Y", "1", "X\r\nY\t1\r\n"},
        {"X\0"s, "Y", "1", "X\0\r\nY\t1\r\n"s},   // a NUL last byte is no error
        {"a\r", "Y", "1", "a\r\r\nY\t1\r\n"},   // a lone CR is no line end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes + " / " + c.name + " / " + c.offset));
        MemTextFile file({.bytes = c.bytes, .chunk = 3});
        EXPECT_TRUE(AppendCityRecord(file, c.name, c.offset));
        EXPECT_EQ(file.bytes, c.after);
    }
}

// Loading says what went wrong and keeps the lines read before; a search finds nothing; an
// append fails and leaves the file as it was.
TEST(CityDatabase, AFailingDiskIsToldAndKeepsItsBytes)
{
    const std::string two = "Cairo\t2\r\nRome\t1";
    struct {
        const char* what;
        MemDisk disk;
        std::string loaded;
        FindResult search;
    } cases[] = {
        {"full", {.bytes = two, .room = 5}, "Cairo 2|Rome 1|", absent},
        {"read error", {.bytes = two, .chunk = 9, .reads = 1}, "Cairo 2|<read error>", unreadable},
        {"length fails", {.bytes = two, .lengthFails = true}, "not loaded: <unreadable>", absent},
        {"seek fails", {.bytes = two, .seekFails = true}, "not loaded: <unreadable>", unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemTextFile loading(c.disk);
        EXPECT_EQ(Read(loading), c.loaded);
        MemTextFile file(c.disk);
        EXPECT_EQ(FindCityRecord(file, "Tokyo", "9.00"), c.search);
        EXPECT_FALSE(AppendCityRecord(file, "Tokyo", "9.00"));
        EXPECT_EQ(file.bytes, two);
    }
}

TEST(TextFile, ReadingGoesOnWhereItStoodAfterAWriteOrALookAtTheLastByte)
{
    MemTextFile file({.bytes = "one\r\ntwo\r\nthree", .chunk = 4});   // the CR of "one" ends a read
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "one");
    EXPECT_EQ(file.LastByte(), 'e');
    EXPECT_EQ(RestOf(file), "two|three|");
    EXPECT_TRUE(file.WriteString("\nfour\n"));
    EXPECT_EQ(RestOf(file), "|four|");   // the line end that "three" lacked, then "four"
}

TEST(TextFile, AnotherFileAttachedIsReadFromItsBeginning)
{
    MemTextFile file({.bytes = "one\r\ntwo\r\n"});
    MemDisk other{.bytes = "x\r\n"};
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    file.Attach(std::make_unique<MemFile>(other));
    EXPECT_EQ(file.LastByte(), '\n');   // nothing of the old file's read-ahead counts
    EXPECT_EQ(RestOf(file), "x|");
}

// After a read error, too: a failed seek is no read error.
TEST(TextFile, AFileThatCannotSeekGivesNoLinesAndNoReadError)
{
    MemTextFile file({.bytes = "x\n", .reads = 0});
    std::string line;
    ASSERT_FALSE(file.ReadLine(line));
    ASSERT_TRUE(file.ReadFailed());
    file.seekFails = true;
    EXPECT_FALSE(file.SeekToBegin());
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_FALSE(file.ReadFailed());
}

// Where it starts: the lines before it are read, and nothing after it.
TEST(TextFile, ALineLongerThanTheLongestIsAReadError)
{
    const std::string longest(TextFile::kLongestLine, 'N');
    MemTextFile file({.bytes = longest + "\n" + longest + longest + "\nb\n"});
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line.size(), longest.size());
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.ReadFailed());
    EXPECT_FALSE(file.ReadLine(line));
}

TEST(TextFile, AClosedFileForgetsWhatItReadAheadAndRefusesEverything)
{
    MemTextFile file({.bytes = "one\r\ntwo\r\n"});
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    file.Close();
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_FALSE(file.WriteString("x\n"));
    EXPECT_EQ(file.GetLength(), -1);
    EXPECT_EQ(file.LastByte(), -1);
    EXPECT_EQ(file.TryLock(), TextFile::lockUnsupported);
}

TEST(TextFile, OpeningAMissingFileDoesNotCreateIt)
{
    TempPath temp;
    TextFile file;
    EXPECT_EQ(file.Open(temp.name, TextFile::modeReadWrite), TextFile::openMissing);
    EXPECT_FALSE(std::filesystem::exists(temp.name));
}

// Each open appends at the end as the file is then, and one opened for reading writes nothing.
TEST(TextFile, ARealFileGrowsAtItsEndWhoeverWrites)
{
    TempPath temp;
    TextFile reader;
    TextFile writer;
    TextFile other;
    ASSERT_EQ(reader.Open(temp.Write("Honolulu\t-10.00"), TextFile::modeRead), TextFile::openOk);
    ASSERT_EQ(writer.Open(temp.name, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_EQ(other.Open(temp.name, TextFile::modeReadWrite), TextFile::openOk);
    EXPECT_FALSE(AppendCityRecord(reader, "Tokyo", "9.00"));
    EXPECT_TRUE(AppendCityRecord(writer, "Udaipur", "5.50"));
    EXPECT_TRUE(AppendCityRecord(other, "Cairo", "2.00"));
    EXPECT_EQ(FindCityRecord(writer, "Cairo", "2.00"), found);
    EXPECT_EQ(Read(reader), "Honolulu -10.00|Udaipur 5.50|Cairo 2.00|");
}

// Two opens of the file are two holders, as two processes are.
TEST(TextFile, TwoOpensOfARealFileHoldItsLockInTurn)
{
    TempPath temp;
    TextFile first;
    TextFile second;
    ASSERT_EQ(first.Open(temp.Write("x"), TextFile::modeRead), TextFile::openOk);
    ASSERT_EQ(second.Open(temp.name, TextFile::modeReadWrite), TextFile::openOk);
    EXPECT_EQ(first.TryLock(), TextFile::lockTaken);
    EXPECT_EQ(second.TryLock(), TextFile::lockHeld);
    first.Unlock();
    EXPECT_EQ(second.TryLock(), TextFile::lockTaken);
    EXPECT_EQ(first.TryLock(), TextFile::lockHeld);
}

#ifdef _WIN32
// Windows bars every other handle from reading a locked range: the lock lies beyond the file's
// bytes, so that another copy reads every line while this one registers. (Wine bars no reads, but
// it does refuse a second lock on the same range.)
TEST(TextFile, ItsLockLeavesTheBytesOfTheFileToOthers)
{
    TempPath temp;
    TextFile holder;
    ASSERT_EQ(holder.Open(temp.Write("Tokyo\t9.00\r\n"), TextFile::modeRead), TextFile::openOk);
    ASSERT_EQ(holder.TryLock(), TextFile::lockTaken);
    HANDLE other = ::CreateFileA(temp.name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
    OVERLAPPED fromTheStart{};
    const DWORD fourGigabytes = MAXDWORD;
    EXPECT_TRUE(::LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, fourGigabytes, 0,
                             &fromTheStart))
        << "error " << ::GetLastError();
    ::CloseHandle(other);
}
#endif

// Process memory at address 0 opens as a file whose every read fails (under Wine, drive Z: is the
// Unix root): a read error must not pass for the end of the file, which would drop lines unsaid.
TEST(TextFile, AReadErrorOfARealFileIsNoEndOfFile)
{
#ifdef _WIN32
    const char* unreadable = "Z:\\proc\\self\\mem";
#else
    const char* unreadable = "/proc/self/mem";
#endif
    TextFile file;
    if (file.Open(unreadable, TextFile::modeRead) != TextFile::openOk)
        GTEST_SKIP() << "no file here whose reads fail";
    std::string line;
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.ReadFailed());
}

}   // namespace
