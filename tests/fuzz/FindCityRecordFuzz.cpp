// Searching and appending on arbitrary files, names and offset texts.
//
// Input: the name, an LF, the offset text, an LF, then the file's bytes. Name and offset thus
// never hold a line feed, as the registration's one-line edit fields never do.
//
// Properties:
// - the match rule agrees with a plain word-list reading of it: the last word is the offset
//   text, the words before it are the name, A to Z without case;
// - FindCityRecord agrees with that rule applied to each line, and leaves the file alone;
// - AppendCityRecord adds exactly one CR LF line (ending a last line that had no line end
//   first); the load reads it back as the entry "name offset" (every tab in either a blank)
//   and every earlier entry unchanged; the search then finds it whenever the offset text is
//   one word, and never otherwise.
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

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::vector<std::string> WordsOf(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (IsWhite(c)) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c);
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

std::string Folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

bool ReferenceMatch(std::string_view line, std::string_view name, std::string_view offset)
{
    std::vector<std::string> lineWords = WordsOf(line);
    if (lineWords.empty() || lineWords.back() != Folded(offset))
        return false;
    lineWords.pop_back();
    return lineWords == WordsOf(name);
}

bool ReferenceFind(const std::vector<std::string>& lines, std::string_view name, std::string_view offset)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return CityRecordMatches(line, name, offset); });
}

std::string Blanked(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), '\t', ' ');
    return out;
}

struct EntrySink final : CityListSink {
    void AddCityEntry(const std::string& entry) override { entries.push_back(entry); }
    std::vector<std::string> entries;
};

struct QuietNotifier final : CityDatabaseNotifier {
    void FileEmpty() override {}
    void FileMissing() override {}
    void ReadError() override {}
};

std::vector<std::string> Load(const std::string& path)
{
    EntrySink yourCity;
    EntrySink destination;
    QuietNotifier notifier;
    TextFile file;
    LoadCityDatabase(file, path, yourCity, destination, notifier);
    FUZZ_CHECK(yourCity.entries == destination.entries, "the two lists differ");
    return yourCity.entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t nameEnd = std::min(input.find('\n'), input.size());
    const std::string_view name = input.substr(0, nameEnd);
    const std::string_view rest = input.substr(std::min(nameEnd + 1, input.size()));
    const size_t offsetEnd = std::min(rest.find('\n'), rest.size());
    const std::string_view offset = rest.substr(0, offsetEnd);
    const std::string before(rest.substr(std::min(offsetEnd + 1, rest.size())));
    const std::string what = "name " + fuzz::Show(name) + " offset " + fuzz::Show(offset);

    const std::vector<std::string> lines = fuzz::SplitLines(before);
    for (const auto& line : lines) {
        FUZZ_CHECK(CityRecordMatches(line, name, offset) == ReferenceMatch(line, name, offset),
                   "line " + fuzz::Show(line) + ", " + what);
    }

    const std::string path = fuzz::Scratch().Write(before);
    TextFile file;
    FUZZ_CHECK(file.Open(path, TextFile::modeReadWrite) == TextFile::openOk, "cannot open the file");
    FUZZ_CHECK((FindCityRecord(file, name, offset) == FindResult::found) == ReferenceFind(lines, name, offset), "search, " + what);
    FUZZ_CHECK(fuzz::Scratch().Read() == before, "the search changed the file");
    const std::vector<std::string> entriesBefore = Load(path);

    // Appended whatever the search said, on the same open file, as the registration does.
    FUZZ_CHECK(AppendCityRecord(file, name, offset), "append failed, " + what);
    std::string expected = before;
    if (!expected.empty() && expected.back() != '\n')
        expected += "\r\n";
    expected.append(name).append("\t").append(offset).append("\r\n");
    FUZZ_CHECK(fuzz::Scratch().Read() == expected, "file after append, " + what);

    std::vector<std::string> entriesAfter = Load(path);
    FUZZ_CHECK(!entriesAfter.empty(), "nothing loaded after append");
    const std::string added = entriesAfter.back();
    entriesAfter.pop_back();
    FUZZ_CHECK(entriesAfter == entriesBefore, "append changed earlier entries, " + what);
    FUZZ_CHECK(added == Blanked(std::string(name) + "\t" + std::string(offset)),
               "read back as " + fuzz::Show(added) + ", " + what);

    const bool oneWordOffset = !offset.empty() && std::none_of(offset.begin(), offset.end(), IsWhite);
    const bool found = FindCityRecord(file, name, offset) == FindResult::found;
    if (oneWordOffset)
        FUZZ_CHECK(found, "the appended record is not found, " + what);
    else
        FUZZ_CHECK(!found, "an offset text that is not one word was found, " + what);
    file.Close();

    TextFile again;
    FUZZ_CHECK(again.Open(path, TextFile::modeRead) == TextFile::openOk, "cannot reopen the file");
    FUZZ_CHECK((FindCityRecord(again, name, offset) == FindResult::found) == oneWordOffset, "search after reopening, " + what);
    return 0;
}
