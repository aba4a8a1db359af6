// Reading, searching and appending on a file in memory. Input: a byte for the size of each read,
// the name, a line feed, the offset text, a line feed, the file's bytes.
#include "citydb/CityDatabase.h"

#include "Fuzz.h"

#include <cctype>
#include <vector>

// The words of a text, A to Z in lower case: white space and case as the search sees them.
static std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words(1);
    for (const unsigned char c : text) {
        if (!std::isspace(c))
            words.back().push_back(static_cast<char>(std::tolower(c)));
        else if (!words.back().empty())
            words.emplace_back();
    }
    return words.back().empty() ? std::vector(words.begin(), words.end() - 1) : words;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input = std::string_view(reinterpret_cast<const char*>(data), size).substr(size ? 1 : 0);
    const std::string_view name = Take(input);
    const std::string_view offset = Take(input);
    MemDisk disk{.bytes = std::string(input), .chunk = 1 + (size ? data[0] : 0u)};
    static TextFile file;   // its read-ahead block is made once
    file.Attach(std::make_unique<MemFile>(disk));

    // Each line is the bytes up to a line feed, less one CR right before it; a last line without
    // a line end counts. It matches when its last word is the offset text and the words before
    // it are the name's.
    const std::vector<std::string> offsetWords = Words(offset);
    const std::vector<std::string> record = Words(std::string(name) + ' ' + std::string(offset));
    const bool oneWord = offsetWords.size() == 1 && offsetWords[0].size() == offset.size();
    std::string line;
    bool found = false;
    std::string_view rest = input;
    while (file.ReadLine(line)) {
        const std::string_view end = rest.substr(std::min(line.size(), rest.size()));
        FUZZ_CHECK(rest.starts_with(line));
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        // Ended by CR LF, by a LF after no CR, or by the end of the file after some bytes.
        FUZZ_CHECK(end.starts_with("\r\n") || (end.starts_with('\n') && !line.ends_with('\r')) ||
                   (end.empty() && !line.empty()));
        const size_t endSize = end.starts_with("\r\n") ? 2 : std::min<size_t>(end.size(), 1);
        rest.remove_prefix(line.size() + endSize);
        const bool matches = oneWord && Words(line) == record;
        FUZZ_CHECK(CityRecordMatches(line, name, offset) == matches);
        found = found || matches;
    }
    FUZZ_CHECK(rest.empty());
    FUZZ_CHECK(FindCityRecord(file, name, offset) == (found ? FindResult::found : FindResult::absent));
    const bool appended = AppendCityRecord(file, name, offset);
    FUZZ_CHECK(appended);
    const std::string lineEnd = input.empty() || input.ends_with('\n') ? "" : "\r\n";
    FUZZ_CHECK(disk.bytes ==
               std::string(input) + lineEnd + std::string(name) + "\t" + std::string(offset) + "\r\n");
    FUZZ_CHECK(FindCityRecord(file, name, offset) == (oneWord ? FindResult::found : FindResult::absent));
    return 0;
}
