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
    bool Lock(unsigned) override { return true; }
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
    ASSERT_FALSE(FindCityRecord(file, "Udaipur", "5.50"));
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

TEST(TextFileFault, ReadErrorEndsTheLines)
{
    FakeDisk disk;
    disk.bytes = std::string(100000, 'x') + "\r\nUdaipur\t5.50\r\n";
    disk.failReadsAfter = 70000;   // inside the first line's second block
    TextFile file;
    AttachFake(file, disk);
    std::string line;
    int lines = 0;
    while (file.ReadLine(line) && lines < 10)
        ++lines;
    EXPECT_EQ(lines, 0);   // the line cut short is not returned
    disk.bytesRead = 0;
    disk.failReadsAfter = 0;
    EXPECT_FALSE(FindCityRecord(file, "Udaipur", "5.50"));
}

} // namespace
