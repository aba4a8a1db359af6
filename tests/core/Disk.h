#pragma once
// The disks the core tests, the fuzz targets and the benchmarks run on: an OS file in memory, over
// a disk that fails on purpose, and a real file in the temporary folder; and lists to load into.
#include "citydb/CityDatabase.h"
#include "platform/OsFile.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>

struct MemDisk {
    std::string bytes;
    size_t chunk = SIZE_MAX;   // the most bytes one read gives
    size_t room = SIZE_MAX;   // the most bytes one append writes before the disk is full
    int reads = INT_MAX;   // the reads that succeed; every later one fails
    bool lengthFails = false;
    bool seekFails = false;
    OsFile::LockResult lock = OsFile::locked;
};

struct MemFile final : OsFile {
    explicit MemFile(MemDisk& disk) : m_disk(disk) {}
    int64_t Length() override { return m_disk.lengthFails ? -1 : static_cast<int64_t>(m_disk.bytes.size()); }
    bool Seek(int64_t offset) override
    {
        m_pos = static_cast<size_t>(offset);
        return offset >= 0 && !m_disk.seekFails;
    }
    long Read(char* buffer, size_t size) override
    {
        if (m_disk.reads <= 0)
            return -1;
        --m_disk.reads;
        const size_t n = m_disk.bytes.copy(buffer, std::min(size, m_disk.chunk), m_pos);
        m_pos += n;
        return static_cast<long>(n);
    }
    bool Append(const char* data, size_t size) override
    {
        m_disk.bytes.append(data, std::min(size, m_disk.room));
        m_pos = m_disk.bytes.size();   // at the end, as in append mode
        return size <= m_disk.room;
    }
    bool Truncate(int64_t length) override
    {
        m_disk.bytes.resize(static_cast<size_t>(length));
        return true;
    }
    LockResult TryLock() override { return m_disk.lock; }
    void Unlock() override {}

    MemDisk& m_disk;
    size_t m_pos = 0;
};

// A text file over a disk in memory.
struct MemTextFile : MemDisk, TextFile {
    explicit MemTextFile(MemDisk disk) : MemDisk(std::move(disk))
    {
        Attach(std::make_unique<MemFile>(*this));
    }
};

// A file name of its own in the temporary folder; the file goes with the object.
struct TempPath {
    ~TempPath() { std::filesystem::remove(name); }
    const std::string& Write(const std::string& bytes) const
    {
        std::ofstream(name, std::ios::binary) << bytes;
        return name;
    }

    const std::string name =
        (std::filesystem::temp_directory_path() / "pavix-").string() + std::to_string(std::random_device()());
};

// Entries and notices as one text, every entry followed by "|".
struct Lines final : CityListSink, CityDatabaseNotifier {
    void AddCityEntry(const std::string& entry) override { text += entry + "|"; }
    void FileEmpty() override { text += "<empty>"; }
    void FileMissing() override { text += "<missing>"; }
    void FileUnreadable() override { text += "<unreadable>"; }
    void ReadError() override { text += "<read error>"; }

    std::string text;
};
