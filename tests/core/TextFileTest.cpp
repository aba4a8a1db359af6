// The text file on real temporary files, checked byte for byte.
#include "platform/OsFile.h"
#include "platform/TextFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testutil::ReadBytes;
using testutil::TempDirTest;
namespace fs = std::filesystem;

std::vector<std::string> ReadAllLines(TextFile& file)
{
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line))
        lines.push_back(line);
    return lines;
}

// Whether this process can write a file that has no write permission (root, say): then a
// read-only file cannot be used to see the refusal.
bool CanWriteReadOnlyFile(const fs::path& path)
{
    std::ofstream probe(path, std::ios::binary | std::ios::app);
    return probe.is_open();
}

// ---- Opening ----------------------------------------------------------------------------

class TextFileOpen : public TempDirTest {};

TEST_F(TextFileOpen, MissingFileIsReportedAndNeverCreated)
{
    for (const auto mode : {TextFile::modeRead, TextFile::modeReadWrite}) {
        TextFile file;
        EXPECT_EQ(file.Open(Name("wtcmain.pvx"), mode), TextFile::openMissing);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_FALSE(fs::exists(Path("wtcmain.pvx")));
        EXPECT_EQ(file.Open(Name("no-such-folder/wtcmain.pvx"), mode), TextFile::openMissing);
        EXPECT_FALSE(fs::exists(Path("no-such-folder")));
    }
}

TEST_F(TextFileOpen, FolderIsDenied)
{
    fs::create_directory(Path("folder"));
    for (const auto mode : {TextFile::modeRead, TextFile::modeReadWrite}) {
        TextFile file;
        EXPECT_EQ(file.Open(Name("folder"), mode), TextFile::openDenied);
        EXPECT_FALSE(file.IsOpen());
    }
}

TEST_F(TextFileOpen, ReadOnlyFileOpensForReadingButNotForWriting)
{
    const std::string bytes = "Udaipur\t5.50\r\n";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    fs::permissions(Path("wtcmain.pvx"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    TextFile file;
    EXPECT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
    file.Close();
    if (CanWriteReadOnlyFile(Path("wtcmain.pvx"))) {
        // Privileged (root): the system lets us write anyway. The refusal is then shown by a
        // folder (FolderIsDenied); here only that nothing was changed.
        RecordProperty("read_only", "not enforced for this user");
        EXPECT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    } else {
        RecordProperty("read_only", "enforced");
        EXPECT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openDenied);
        EXPECT_FALSE(file.IsOpen());
    }
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);
}

TEST_F(TextFileOpen, OpeningNeitherTruncatesNorChangesTheFile)
{
    const std::string bytes = "Udaipur\t5.50\r\nBoston\t-5.00";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    for (const auto mode : {TextFile::modeRead, TextFile::modeReadWrite}) {
        TextFile file;
        ASSERT_EQ(file.Open(name, mode), TextFile::openOk);
        EXPECT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetLength(), static_cast<int64_t>(bytes.size()));
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);
    }
}

TEST_F(TextFileOpen, ClosedFileRefusesEverything)
{
    TextFile file;
    std::string line = "stale";
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetLength(), -1);
    EXPECT_FALSE(file.SeekToBegin());
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(file.WriteString("x\n"));
    EXPECT_EQ(file.LastByte(), -1);
    EXPECT_EQ(file.TryLock(), TextFile::lockUnsupported);
    file.Unlock();
    file.Close();
}

TEST_F(TextFileOpen, DestroyingTheObjectClosesTheFile)
{
    const std::string name = MakeFile("wtcmain.pvx", "a\r\n");
    {
        TextFile file;
        ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
        ASSERT_EQ(file.TryLock(), TextFile::lockTaken);
    }
    // On Windows an open handle without delete sharing would keep the file from going.
    std::error_code error;
    EXPECT_TRUE(fs::remove(Path("wtcmain.pvx"), error)) << error.message();
}

TEST_F(TextFileOpen, ReopeningClosesThePreviousFile)
{
    const std::string first = MakeFile("first.pvx", "one\n");
    const std::string second = MakeFile("second.pvx", "two\n");
    TextFile file;
    ASSERT_EQ(file.Open(first, TextFile::modeRead), TextFile::openOk);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    ASSERT_EQ(file.Open(second, TextFile::modeRead), TextFile::openOk);
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "two");
    EXPECT_EQ(file.Open(Name("missing.pvx"), TextFile::modeRead), TextFile::openMissing);
    EXPECT_FALSE(file.IsOpen());
}

// ---- Reading ----------------------------------------------------------------------------

struct LinesCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
};

class TextFileRead : public TempDirTest {
protected:
    std::vector<std::string> LinesOf(const std::string& bytes)
    {
        const std::string name = MakeFile("wtcmain.pvx", bytes);
        TextFile file;
        EXPECT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
        EXPECT_EQ(file.GetLength(), static_cast<int64_t>(bytes.size()));
        EXPECT_TRUE(file.SeekToBegin());
        return ReadAllLines(file);
    }
};

TEST_F(TextFileRead, LineEndsAndBytes)
{
    using namespace std::string_literals;
    const std::vector<LinesCase> cases = {
        {"empty file", "", {}},
        {"only a line feed", "\n", {""}},
        {"only a CR LF", "\r\n", {""}},
        {"CR LF line ends", "Udaipur\t5.50\r\nBoston\t-5.00\r\n", {"Udaipur\t5.50", "Boston\t-5.00"}},
        {"LF line ends", "a\nb\n", {"a", "b"}},
        {"last line without line end", "a\r\nHonolulu\t-10.00", {"a", "Honolulu\t-10.00"}},
        {"empty lines kept", "a\n\n\r\nb", {"a", "", "", "b"}},
        {"lone CR inside a line is data", "a\rb\r\n", {"a\rb"}},
        {"only the CR next to the LF goes", "a\r\r\n", {"a\r"}},
        {"CR at the very end is data", "a\r", {"a\r"}},
        {"a lone CR", "\r", {"\r"}},
        {"CR LF CR", "\r\n\r", {"", "\r"}},
        {"NUL bytes are data", "a\0b\r\n\0\n\0"s, {"a\0b"s, "\0"s, "\0"s}},
        {"bytes above 127 and Ctrl-Z are data", "\xe4\xf6\xfc\xff\x80\r\nx\x1ay\x1a\r\n\x1a",
         {"\xe4\xf6\xfc\xff\x80", "x\x1ay\x1a", "\x1a"}},
        {"tabs and blanks untouched", " \t a \t\r\n", {" \t a \t"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOf(c.bytes), c.lines) << c.what;
}

TEST_F(TextFileRead, MegabyteLineAndLineEndsAcrossBlockEdges)
{
    const std::string big(1024 * 1024 + 7, 'x');
    EXPECT_EQ(LinesOf(big + "\r\nnext\r\n" + big), (std::vector<std::string>{big, "next", big}));

    // The reading block is 64 KiB: put the CR, the LF, or both on either side of its edges.
    for (size_t length : {65533u, 65534u, 65535u, 65536u, 65537u, 131070u, 131071u, 131072u}) {
        const std::string line(length, 'y');
        EXPECT_EQ(LinesOf(line + "\r\nz\r\n"), (std::vector<std::string>{line, "z"})) << length;
        EXPECT_EQ(LinesOf(line + "\nz"), (std::vector<std::string>{line, "z"})) << length;
        EXPECT_EQ(LinesOf(line + "\r"), (std::vector<std::string>{line + "\r"})) << length;
        EXPECT_EQ(LinesOf(line + "\r\r\n"), (std::vector<std::string>{line + "\r"})) << length;
    }
}

TEST_F(TextFileRead, ManyLinesAndRereadingFromTheBeginning)
{
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; i < 100000; ++i) {
        expected.push_back("City " + std::to_string(i) + "\t" + (i % 2 ? "-" : "") + "5.50");
        bytes += expected.back() + (i % 3 ? "\r\n" : "\n");
    }
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
    EXPECT_EQ(ReadAllLines(file), expected);
    std::string line;
    EXPECT_FALSE(file.ReadLine(line));   // stays at the end
    ASSERT_TRUE(file.SeekToBegin());
    EXPECT_EQ(ReadAllLines(file), expected);
    // Half way, then back to the beginning.
    ASSERT_TRUE(file.SeekToBegin());
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(file.ReadLine(line));
    ASSERT_TRUE(file.SeekToBegin());
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, expected[0]);
}

TEST_F(TextFileRead, LastByteLeavesTheReadingPositionAlone)
{
    const std::string name = MakeFile("wtcmain.pvx", "one\r\ntwo\r\nthree\xff");
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(file.LastByte(), 0xff);
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "two");
    EXPECT_EQ(file.LastByte(), 0xff);
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "three\xff");
    EXPECT_FALSE(file.ReadLine(line));

    const std::string empty = MakeFile("empty.pvx", "");
    ASSERT_EQ(file.Open(empty, TextFile::modeRead), TextFile::openOk);
    EXPECT_EQ(file.LastByte(), -1);
    const std::string lf = MakeFile("lf.pvx", "\n");
    ASSERT_EQ(file.Open(lf, TextFile::modeRead), TextFile::openOk);
    EXPECT_EQ(file.LastByte(), '\n');
}

// ---- Writing ----------------------------------------------------------------------------

class TextFileWrite : public TempDirTest {};

TEST_F(TextFileWrite, LineFeedsGoOutAsCrLfAtTheEndWhereverReadingStands)
{
    const std::string before = "Udaipur\t5.50\r\nCairo  2.00\n";
    const std::string name = MakeFile("wtcmain.pvx", before);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_TRUE(file.SeekToBegin());   // reading stands at the beginning; writing still appends
    EXPECT_TRUE(file.WriteString("Boston\t-5.00\nx\r\n\n"));
    EXPECT_TRUE(file.WriteString(""));
    EXPECT_TRUE(file.WriteString("no line end"));
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), before + "Boston\t-5.00\r\nx\r\r\n\r\nno line end");
}

TEST_F(TextFileWrite, ReadingAfterAWriteSeesTheWrittenBytes)
{
    const std::string name = MakeFile("wtcmain.pvx", "one\r\ntwo\r\nthree\r\n");
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    ASSERT_EQ(line, "one");
    // The first block holds the whole file now; the write must not leave it stale.
    ASSERT_TRUE(file.WriteString("four\n"));
    EXPECT_EQ(ReadAllLines(file), (std::vector<std::string>{"two", "three", "four"}));
    ASSERT_TRUE(file.WriteString("five\n"));
    EXPECT_EQ(ReadAllLines(file), (std::vector<std::string>{"five"}));
    ASSERT_TRUE(file.SeekToBegin());
    EXPECT_EQ(ReadAllLines(file), (std::vector<std::string>{"one", "two", "three", "four", "five"}));
    EXPECT_EQ(file.GetLength(), 29);
}

TEST_F(TextFileWrite, ReadOnlyOpenedFileIsNotWritten)
{
    const std::string bytes = "Udaipur\t5.50\r\n";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
    EXPECT_FALSE(file.WriteString("Boston\t-5.00\n"));
    std::string line;
    ASSERT_TRUE(file.SeekToBegin());
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "Udaipur\t5.50");
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);
}

TEST_F(TextFileWrite, TwoWritersBothAppendWholeRecords)
{
    const std::string name = MakeFile("wtcmain.pvx", "start\r\n");
    TextFile a;
    TextFile b;
    ASSERT_EQ(a.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_EQ(b.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(a.WriteString("a" + std::to_string(i) + "\n"));
        ASSERT_TRUE(b.WriteString("b" + std::to_string(i) + "\n"));
    }
    a.Close();
    b.Close();
    std::string expected = "start\r\n";
    for (int i = 0; i < 20; ++i)
        expected += "a" + std::to_string(i) + "\r\nb" + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), expected);
}

// The OS layer itself: append after a seek, cut back with Truncate (on Windows through a
// second handle with write-data access).
TEST_F(TextFileWrite, OsFileAppendsAtTheEndAndCutsBack)
{
    const std::string name = MakeFile("wtcmain.pvx", "abc\r\n");
    std::unique_ptr<OsFile> file;
    ASSERT_EQ(OsFile::Open(name, true, file), OsFile::ok);
    ASSERT_TRUE(file->Seek(1));
    ASSERT_TRUE(file->Append("xyz", 3));
    EXPECT_EQ(file->Length(), 8);
    ASSERT_TRUE(file->Truncate(6));
    EXPECT_EQ(file->Length(), 6);
    ASSERT_TRUE(file->Seek(0));
    char buffer[16] = {};
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 6);
    EXPECT_EQ(std::string(buffer, 6), "abc\r\nx");
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 0);
    file.reset();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), "abc\r\nx");

    std::unique_ptr<OsFile> reader;
    ASSERT_EQ(OsFile::Open(name, false, reader), OsFile::ok);
    EXPECT_FALSE(reader->Append("no", 2));
    EXPECT_EQ(OsFile::Open(Name("missing"), false, reader), OsFile::missing);
    EXPECT_EQ(reader, nullptr);
}

// ---- Locking ----------------------------------------------------------------------------

class TextFileLock : public TempDirTest {};

TEST_F(TextFileLock, OneHolderAtATime)
{
    const std::string name = MakeFile("wtcmain.pvx", "Udaipur\t5.50\r\n");
    TextFile a;
    TextFile b;
    ASSERT_EQ(a.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_EQ(b.Open(name, TextFile::modeReadWrite), TextFile::openOk);

    EXPECT_EQ(a.TryLock(), TextFile::lockTaken);
    EXPECT_EQ(a.TryLock(), TextFile::lockTaken);   // already held: still held
    EXPECT_EQ(b.TryLock(), TextFile::lockHeld);

    // The lock keeps the file's bytes free: the other object reads and appends all the same.
    std::string line;
    ASSERT_TRUE(b.SeekToBegin());
    ASSERT_TRUE(b.ReadLine(line));
    EXPECT_EQ(line, "Udaipur\t5.50");
    EXPECT_TRUE(b.WriteString("Boston\t-5.00\n"));

    a.Unlock();
    EXPECT_EQ(b.TryLock(), TextFile::lockTaken);
    EXPECT_EQ(a.TryLock(), TextFile::lockHeld);
    b.Close();   // closing lets go too
    EXPECT_EQ(a.TryLock(), TextFile::lockTaken);
    a.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), "Udaipur\t5.50\r\nBoston\t-5.00\r\n");

    // A file opened only for reading holds the lock against a writer too.
    TextFile reader;
    ASSERT_EQ(reader.Open(name, TextFile::modeRead), TextFile::openOk);
    ASSERT_EQ(b.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    EXPECT_EQ(reader.TryLock(), TextFile::lockTaken);
    EXPECT_EQ(b.TryLock(), TextFile::lockHeld);
    reader.Unlock();
    EXPECT_EQ(b.TryLock(), TextFile::lockTaken);
}

} // namespace
