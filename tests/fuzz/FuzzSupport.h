#pragma once
// What the fuzz targets share: a failed property stops the run with a message (libFuzzer then
// keeps the input), and each process gets one private folder for the database file it writes.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

// For the checking code: its branches tell the fuzzer nothing about the code under test, and
// tracing its byte loops would cost more than the code under test.
#define FUZZ_ORACLE __attribute__((no_sanitize("coverage")))

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "\nproperty failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

// A text for the failure message: printable bytes as they are, the rest as \xNN, the middle of
// a long text left out.
FUZZ_ORACLE inline std::string Show(std::string_view bytes)
{
    constexpr size_t kEnds = 60;
    if (bytes.size() > 3 * kEnds) {
        return Show(bytes.substr(0, kEnds)) + " ... " + std::to_string(bytes.size() - 2 * kEnds) +
               " bytes ... " + Show(bytes.substr(bytes.size() - kEnds));
    }
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '"' && c != '\\') {
            out.push_back(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        }
    }
    return out + "\"";
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (BaseFolder() / "pavix-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("pavix fuzz: no temporary folder");
            std::abort();
        }
        m_dir = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_dir, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The database file's name in the folder, after writing exactly these bytes into it.
    std::string Write(std::string_view bytes) const
    {
        const std::string name = (m_dir / "wtcmain.pvx").string();
        // A new file each time: ext4 flushes a file to disk when it is truncated and rewritten.
        ::unlink(name.c_str());
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::perror("pavix fuzz: cannot write the database file");
            std::abort();
        }
        return name;
    }

    std::string Read() const
    {
        std::ifstream in(m_dir / "wtcmain.pvx", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    // $TMPDIR if set, else memory-backed /dev/shm where there is one: thousands of files a second.
    static std::filesystem::path BaseFolder()
    {
        if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
            return tmp;
        if (::access("/dev/shm", W_OK | X_OK) == 0)
            return "/dev/shm";
        std::error_code error;
        const auto path = std::filesystem::temp_directory_path(error);
        return error ? std::filesystem::path("/tmp") : path;
    }

    std::filesystem::path m_dir;
};

inline const ScratchFolder& Scratch()
{
    static const ScratchFolder folder;
    return folder;
}

// The lines of a file as a reader of text must see them: split at each LF, the CR right before
// an LF dropped, a last piece without LF kept, nothing at all for an empty file.
FUZZ_ORACLE inline std::vector<std::string> SplitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.emplace_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

} // namespace fuzz

#define FUZZ_CHECK(condition, message)                                                          \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s\n", std::string(message).c_str());                         \
            ::fuzz::Fail(#condition, __FILE__, __LINE__);                                       \
        }                                                                                       \
    } while (0)
