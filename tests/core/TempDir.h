#pragma once
// A private temporary folder for one test, and byte-exact file helpers. Portable: the same
// code runs natively and under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace testutil {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = fs::temp_directory_path() /
                ("pavix-core-" + std::to_string(random()) + "-" + std::to_string(stamp % 1000000) +
                 "-" + std::to_string(counter++));
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                m_dir = candidate;
                return;
            }
        }
        FAIL() << "no temporary folder";
    }

    void TearDown() override
    {
        if (m_dir.empty())
            return;
        std::error_code error;
        // A read-only file cannot be removed on Windows: give the write bits back first.
        for (const auto& entry : fs::recursive_directory_iterator(m_dir, error))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
        fs::remove_all(m_dir, error);
    }

    fs::path Path(const std::string& name) const { return m_dir / name; }
    // The name as TextFile::Open takes it.
    std::string Name(const std::string& name) const { return Path(name).string(); }

    // Makes a file with exactly these bytes; returns the name for TextFile::Open.
    std::string MakeFile(const std::string& name, const std::string& bytes) const
    {
        WriteBytes(Path(name), bytes);
        return Name(name);
    }

    fs::path m_dir;
};

} // namespace testutil
