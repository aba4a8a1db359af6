// The text file over an OS file that fails on purpose: one write per call, a short write cut
// back, read errors.
#include "citydb/CityDatabase.h"
#include "platform/OsFile.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// An in-memory OS file that records every call.
struct FakeDisk {
    std::string bytes;
    std::vector<std::string> appends;       // every Append call's data
    std::vector<int64_t> truncates;         // every Truncate call's length
    size_t writeLimit = SIZE_MAX;           // an Append writes at most this many bytes
    bool appendFails = false;               // an Append writes its share, then reports failure
    long failReadsAfter = -1;               // Read fails once this many bytes were read
    long bytesRead = 0;
};

class FakeOsFile final : public OsFile {
public:
    explicit FakeOsFile(FakeDisk& disk) : m_disk(disk) {}
    int64_t Length() override { return static_cast<int64_t>(m_disk.bytes.size()); }
    bool Seek(int64_t offset) override
    {
        m_pos = static_cast<size_t>(offset);
        return true;
    }
    long Read(char* buffer, size_t size) override
    {
        if (m_disk.failReadsAfter >= 0 && m_disk.bytesRead >= m_disk.failReadsAfter)
            return -1;
        if (m_pos >= m_disk.bytes.size())
            return 0;
        size_t n = std::min(size, m_disk.bytes.size() - m_pos);
        if (m_disk.failReadsAfter >= 0)
            n = std::min(n, static_cast<size_t>(m_disk.failReadsAfter - m_disk.bytesRead));
        std::memcpy(buffer, m_disk.bytes.data() + m_pos, n);
        m_pos += n;
        m_disk.bytesRead += static_cast<long>(n);
        return static_cast<long>(n);
    }
    bool Append(const char* data, size_t size) override
    {
        m_disk.appends.emplace_back(data, size);
        const size_t n = std::min(size, m_disk.writeLimit);
        m_disk.bytes.append(data, n);
        return n == size && !m_disk.appendFails;
    }
    bool Truncate(int64_t length) override
    {
        m_disk.truncates.push_back(length);
        m_disk.bytes.resize(static_cast<size_t>(length));
        return true;
    }
    LockResult TryLock() override { return locked; }
    void Unlock() override {}

private:
    FakeDisk& m_disk;
    size_t m_pos = 0;
};

void AttachFake(TextFile& file, FakeDisk& disk)
{
    file.Attach(std::make_unique<FakeOsFile>(disk));
}

TEST(TextFileFault, EveryWriteIsOneAppendOfTheWholeConvertedText)
{
    FakeDisk disk;
    disk.bytes = "Honolulu\t-10.00";   // last line without a line end
    TextFile file;
    AttachFake(file, disk);
    ASSERT_EQ(FindCityRecord(file, "Udaipur", "5.50"), FindResult::absent);
    ASSERT_TRUE(AppendCityRecord(file, "Udaipur", "5.50"));
    ASSERT_EQ(disk.appends.size(), 1u);
    EXPECT_EQ(disk.appends[0], "\r\nUdaipur\t5.50\r\n");
    ASSERT_TRUE(AppendCityRecord(file, "New York", "-5.00"));
    ASSERT_EQ(disk.appends.size(), 2u);
    EXPECT_EQ(disk.appends[1], "New York\t-5.00\r\n");
    EXPECT_EQ(disk.bytes, "Honolulu\t-10.00\r\nUdaipur\t5.50\r\nNew York\t-5.00\r\n");
    EXPECT_TRUE(disk.truncates.empty());
}

TEST(TextFileFault, ShortWriteIsCutBackAndReported)
{
    for (const size_t limit : {0u, 1u, 2u, 9u, 15u}) {
        FakeDisk disk;
        disk.bytes = "Cairo\t2.00";
        disk.writeLimit = limit;
        TextFile file;
        AttachFake(file, disk);
        EXPECT_FALSE(AppendCityRecord(file, "Udaipur", "5.50")) << limit;
        EXPECT_EQ(disk.bytes, "Cairo\t2.00") << limit;
        ASSERT_EQ(disk.appends.size(), 1u);
        if (limit == 0)
            EXPECT_TRUE(disk.truncates.empty());   // nothing reached the file: nothing to cut
        else
            EXPECT_EQ(disk.truncates, std::vector<int64_t>{10}) << limit;
        // The file reads as before.
        std::string line;
        ASSERT_TRUE(file.SeekToBegin());
        ASSERT_TRUE(file.ReadLine(line));
        EXPECT_EQ(line, "Cairo\t2.00");
        EXPECT_FALSE(file.ReadLine(line));
    }
}

TEST(TextFileFault, FailedWriteThatWroteEverythingIsCutBackToo)
{
    FakeDisk disk;
    disk.bytes = "a\r\n";
    disk.appendFails = true;
    TextFile file;
    AttachFake(file, disk);
    EXPECT_FALSE(file.WriteString("b\n"));
    EXPECT_EQ(disk.bytes, "a\r\n");
    EXPECT_EQ(disk.truncates, std::vector<int64_t>{3});
}

// Loads into one list and notes the notices among the entries.
struct Loaded final : CityListSink, CityDatabaseNotifier {
    void AddCityEntry(const std::string& entry) override { calls.push_back(entry); }
    void FileEmpty() override { calls.push_back("empty"); }
    void FileMissing() override { calls.push_back("missing"); }
    void ReadError() override { calls.push_back("read error"); }
    std::vector<std::string> calls;
};

TEST(TextFileFault, ReadErrorEndsTheLinesAndIsToldApartFromTheEnd)
{
    FakeDisk disk;
    disk.bytes = "Cairo\t2.00\r\n" + std::string(100000, 'x') + "\r\nUdaipur\t5.50\r\n";
    TextFile file;
    AttachFake(file, disk);
    struct Case {
        long failReadsAfter;   // inside the long line's second block, or at once
        std::string name;
        FindResult result;
    };
    for (const Case& c : {Case{70000, "Udaipur", FindResult::unreadable}, Case{0, "Udaipur", FindResult::unreadable},
                          Case{-1, "Udaipur", FindResult::found}, Case{-1, "Boston", FindResult::absent}}) {
        disk.bytesRead = 0;
        disk.failReadsAfter = c.failReadsAfter;
        EXPECT_EQ(FindCityRecord(file, c.name, "5.50"), c.result) << c.failReadsAfter << c.name;
    }
    // Loading keeps the lines before the error, the one cut short not among them, and says so once.
    disk.bytesRead = 0;
    disk.failReadsAfter = 70000;
    Loaded loaded;
    EXPECT_TRUE(ReadCityDatabase(file, loaded, loaded, loaded));
    EXPECT_EQ(loaded.calls, (std::vector<std::string>{"Cairo 2.00", "Cairo 2.00", "read error"}));
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
