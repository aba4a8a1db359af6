// Loading a city database made of arbitrary bytes: every line becomes exactly one entry, in
// both lists, in file order, with nothing of the line end left and every tab a blank.
#include "citydb/CityDatabase.h"
#include "platform/TextFile.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Recorder final : CityDatabaseNotifier {
    struct Sink final : CityListSink {
        Sink(Recorder& owner, int which) : m_owner(owner), m_which(which) {}
        void AddCityEntry(const std::string& entry) override { m_owner.calls.push_back({m_which, entry}); }

    private:
        Recorder& m_owner;
        int m_which;
    };

    void FileEmpty() override { ++empty; }
    void FileMissing() override { ++missing; }
    void ReadError() override { ++missing; }

    Sink yourCity{*this, 0};
    Sink destination{*this, 1};
    std::vector<std::pair<int, std::string>> calls;
    int empty = 0;
    int missing = 0;
};

// The list entry as the user must see it: the line with each tab as one blank.
FUZZ_ORACLE std::string Blanked(std::string line)
{
    for (char& c : line) {
        if (c == '\t')
            c = ' ';
    }
    return line;
}

FUZZ_ORACLE void CheckLoad(std::string_view bytes, bool checkFileKept)
{
    const std::string name = fuzz::Scratch().Write(bytes);
    Recorder recorder;
    TextFile file;
    const bool loaded = LoadCityDatabase(file, name, recorder.yourCity, recorder.destination, recorder);
    FUZZ_CHECK(!file.IsOpen(), "the file is left open");
    FUZZ_CHECK(recorder.missing == 0, "an existing file reported as missing");
    if (checkFileKept)
        FUZZ_CHECK(fuzz::Scratch().Read() == bytes, "loading changed the file");

    if (bytes.empty()) {
        FUZZ_CHECK(!loaded && recorder.empty == 1 && recorder.calls.empty(), "empty file not reported alone");
        return;
    }
    FUZZ_CHECK(loaded && recorder.empty == 0, "a non-empty file was not loaded");

    // Counted on the bytes alone: one line per LF, and one more for a last line without LF.
    size_t lineFeeds = 0;
    for (const char c : bytes)
        lineFeeds += c == '\n';
    const size_t lines = lineFeeds + (bytes.back() != '\n' ? 1 : 0);
    FUZZ_CHECK(recorder.calls.size() == 2 * lines,
               "lines " + std::to_string(lines) + ", entries " + std::to_string(recorder.calls.size()) + " / 2");

    const std::vector<std::string> expected = fuzz::SplitLines(bytes);
    FUZZ_CHECK(expected.size() == lines, "the reference split disagrees with the line count");
    size_t entryBytes = 0;
    for (size_t i = 0; i < lines; ++i) {
        const auto& [list1, entry] = recorder.calls[2 * i];
        const auto& [list2, same] = recorder.calls[2 * i + 1];
        FUZZ_CHECK(list1 == 0 && list2 == 1, "each line goes to your city's list, then to the destination's");
        FUZZ_CHECK(entry == same, "the two lists got different entries");
        FUZZ_CHECK(entry.find('\n') == std::string::npos, "an entry holds a line feed");
        FUZZ_CHECK(entry.find('\t') == std::string::npos, "an entry holds a tab");
        FUZZ_CHECK(entry == Blanked(expected[i]),
                   "line " + std::to_string(i) + ": entry " + fuzz::Show(entry) + ", expected " +
                       fuzz::Show(Blanked(expected[i])));
        entryBytes += entry.size();
    }
    // Nothing but the line ends is lost: the LFs and one CR before each of them at most.
    FUZZ_CHECK(entryBytes + lineFeeds <= bytes.size() && bytes.size() <= entryBytes + 2 * lineFeeds,
               "bytes lost or invented");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckLoad(bytes, true);

    // With an odd first byte, the same bytes again behind a long first line, so that the file's
    // first read block (64 KiB) ends a few bytes into them: a CR LF split between two blocks is
    // still one line end. (Only for half the inputs: a 64 KiB file costs ten small ones.)
    if (!bytes.empty() && (bytes[0] & 1)) {
        constexpr size_t kReadBlock = 64 * 1024;
        const size_t into = 1 + static_cast<unsigned char>(bytes[0]) / 2 % 32;
        std::string shifted(kReadBlock - std::min(into, bytes.size()), 'x');
        shifted.append(bytes);
        CheckLoad(shifted, false);
    }
    return 0;
}
