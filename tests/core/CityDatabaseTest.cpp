// The city database and its text file: file bytes to list entries, registering a record, a
// failing disk, where reading stands, and real files.
#include "citydb/CityDatabase.h"

#include "Disk.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace std::string_literals;
using enum FindResult;

// Loads the file of that name, or with no name reads the one already open.
std::string Load(const std::string& name, TextFile&& file = TextFile())
{
    Lines yourCity, destination, notices;
    const bool loaded = name.empty() ? ReadCityDatabase(file, yourCity, destination, notices)
                                     : LoadCityDatabase(file, name, yourCity, destination, notices);
    EXPECT_EQ(yourCity.text, destination.text);
    EXPECT_FALSE(file.IsOpen());
    return (loaded ? "" : "not loaded: ") + destination.text + notices.text;
}

TEST(CityDatabase, FileBytesToEntries)
{
    const std::string block(65535, 'x');   // a CR at the end of the first 64 KiB read
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"", "not loaded: <empty>"},
        {"a\n\n\r\nb", "a|||b|"},
        {"a\rb\r\r\n\r", "a\rb\r|\r|"},
        {"\0\x1a\r\n\x1a"s, "\0\x1a|\x1a|"s},
        {"\n", "|"},
        {"Udaipur\t5.50\r\nNew York\t-5.00\r\nHonolulu\t-10.00",
         "Udaipur 5.50|New York -5.00|Honolulu -10.00|"},
        {"Cairo  2.00\n\t5.50\r\nA\t\tB\t\r\n", "Cairo  2.00| 5.50|A  B |"},
        {block + "\r\nz\r\n", block + "|z|"},
        {block + "\r", block + "\r|"},
    };
    TempPath temp;
    for (const auto& [bytes, entries] : rows)
        EXPECT_EQ(Load(temp.Write(bytes)), entries) << bytes.substr(0, 40);
    EXPECT_EQ(Load(temp.name + "-missing", MemTextFile({.bytes = "C"})),
              "not loaded: <missing>");   // the open file closed
    // A read error keeps the lines before it, not the one it cut short, and is told once.
    EXPECT_EQ(Load("", MemTextFile({.bytes = "Cairo\t2.00\r\nUdaipur\t5.50", .chunk = 16, .reads = 1})),
              "Cairo 2.00|<read error>");
    EXPECT_EQ(Load("", MemTextFile({.bytes = "C", .lengthFails = true})), "not loaded: <missing>");
    EXPECT_EQ(Load("", MemTextFile({.bytes = "C", .seekFails = true})), "not loaded: <missing>");
}

// A Register action: search, and append when not found. An empty "after" means found.
TEST(CityDatabase, RecordAndFileToFound)
{
    const std::vector<std::array<std::string, 4>> rows = {
        {"Udaipur\t5.50\r\n", "udaipur", "5.50", ""},
        {"zulu\t1.00\r\nAbc\t5.50AM", "ZULU", "1.00", ""},
        {"zulu\t1.00\r\nAbc\t5.50AM", "abc", "5.50am", ""},
        {"\t5.50\r\n", "", "5.50", ""},
        {"New York\t-5.00\r\n", " new  york ", "-5.00", ""},
        {"  New \t York \v -5.00 \r\r\n", "New\tYork", "-5.00", ""},
        {"U\t5.50\r\n", "U", "-5.50", "U\t5.50\r\nU\t-5.50\r\n"},
        {"N N\t1\r\n", "N", "1", "N N\t1\r\nN\t1\r\n"},
        {"X", "Y", "1", "X\r\nY\t1\r\n"},
        {"U\t\r\n", "U", "", "U\t\r\nU\t\r\n"},
        {"\r\n \t\r\nU\r\n", "U", "1", "\r\n \t\r\nU\r\nU\t1\r\n"},
        {"", "U", "1", "U\t1\r\n"},
        {" \r\n", "", "", " \r\n\t\r\n"},
        {"X\0"s, "Y", "1", "X\0\r\nY\t1\r\n"s},
        {"\xc4rhus 1\r\n", "\xe4rhus", "1", "\xc4rhus 1\r\n\xe4rhus\t1\r\n"},
    };
    for (const auto& [before, name, offset, after] : rows) {
        MemTextFile file({.bytes = before, .chunk = 3});
        EXPECT_EQ(FindCityRecord(file, name, offset), after.empty() ? found : absent)
            << before << " / " << name;
        EXPECT_EQ(after.empty() || AppendCityRecord(file, name, offset), true);
        EXPECT_EQ(FindCityRecord(file, name, offset), offset.empty() ? absent : found);
        EXPECT_EQ(file.bytes, after.empty() ? before : after);
    }
}

// A disk that fails: no record is found or added, and the file keeps its bytes.
TEST(CityDatabase, FailingDiskKeepsTheFile)
{
    for (const auto& [disk, search] :
         std::vector<std::pair<MemDisk, FindResult>>{{{.bytes = "C", .room = 15}, absent},
                                                     {{.bytes = "C", .reads = 0}, unreadable},
                                                     {{.bytes = "C", .lengthFails = true}, absent},
                                                     {{.bytes = "C", .seekFails = true}, unreadable},
                                                     {{.bytes = "C", .appendFails = true}, absent}}) {
        MemTextFile file(disk);
        EXPECT_EQ(FindCityRecord(file, "Udaipur", "5.50"), search) << disk.bytes;
        EXPECT_FALSE(AppendCityRecord(file, "Udaipur", "5.50")) << disk.bytes;
        EXPECT_EQ(file.bytes, disk.bytes);
    }
}

TEST(TextFile, ReadingGoesOnWhereItStood)
{
    MemTextFile file({.bytes = "one\r\ntwo\r\nthree", .chunk = 4});
    MemDisk unseekable{.bytes = "x\n", .seekFails = true};
    std::string line;
    const auto entries = [&file, &line] {
        std::string text;
        while (file.ReadLine(line))
            text += line + "|";
        return text;
    };
    ASSERT_TRUE(file.ReadLine(line) && line == "one" && file.LastByte() == 'e');
    EXPECT_EQ(entries(), "two|three|");
    EXPECT_TRUE(file.WriteString("\nfour\n") &&
                entries() == "|four|");   // the line end that "three" lacked, then "four"
    ASSERT_TRUE(file.SeekToBegin() && file.ReadLine(line) && file.SeekToBegin() && file.WriteString(""));
    EXPECT_EQ(entries(), "one|two|three|four|");
    file.reads = 0;   // a read error ends the lines; another file attached reads from its beginning
    EXPECT_TRUE(entries().empty() && file.ReadFailed());
    file.Attach(std::make_unique<MemFile>(unseekable));
    EXPECT_FALSE(file.SeekToBegin() || file.ReadLine(line) || file.ReadFailed());
    file.reads = 2;
    file.Attach(std::make_unique<MemFile>(file));
    ASSERT_TRUE(file.ReadLine(line));
    file.Close();   // forgets the lines it had read ahead
    EXPECT_FALSE(file.ReadLine(line) || file.WriteString("x\n"));
    EXPECT_EQ(file.GetLength() + file.LastByte(), -2);
}

TEST(TextFile, RealFileIsNeitherCreatedNorTruncatedGrowsAtItsEndAndLocks)
{
    TempPath temp;
    TextFile file, writer;
    EXPECT_EQ(file.Open(temp.name, TextFile::modeReadWrite), TextFile::openMissing);
    ASSERT_EQ(file.Open(temp.Write("Honolulu\t-10.00"), TextFile::modeRead), TextFile::openOk);
    EXPECT_FALSE(AppendCityRecord(file, "Udaipur", "5.50"));   // opened for reading only
    ASSERT_EQ(writer.Open(temp.name, TextFile::modeReadWrite), TextFile::openOk);
    EXPECT_TRUE(writer.SeekToBegin() && AppendCityRecord(writer, "Udaipur", "5.50"));
    ASSERT_EQ(file.Open(temp.name, TextFile::modeReadWrite), TextFile::openOk);   // the reader closes first
    EXPECT_TRUE(AppendCityRecord(file, "Cairo", "2.00") && FindCityRecord(writer, "Cairo", "2.00") == found);
    EXPECT_EQ(Load(temp.name), "Honolulu -10.00|Udaipur 5.50|Cairo 2.00|");

    // Two opens of the file are two holders, as two processes are.
    ASSERT_TRUE(file.Open(temp.name, TextFile::modeRead) == TextFile::openOk &&
                file.TryLock() == TextFile::lockTaken);
    EXPECT_EQ(writer.TryLock(), TextFile::lockHeld);
    file.Unlock();
    EXPECT_TRUE(writer.TryLock() == TextFile::lockTaken && file.TryLock() == TextFile::lockHeld);
}

}   // namespace
