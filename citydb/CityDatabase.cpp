// The city database file: loading it into two lists, searching it for a record, appending one.
#include "citydb/CityDatabase.h"

#include "platform/TextFile.h"

#include <algorithm>

namespace {

// Blank, tab, vertical tab, form feed, carriage return, line feed.
constexpr std::string_view kWhite = " \t\v\f\r\n";

constexpr char FoldAZ(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal texts, the letters A to Z without regard to case; every other byte as it is.
bool EqualFoldAZ(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAZ(x) == FoldAZ(y); });
}

// Walks the words (runs of non-white characters) of a text, first to last.
class Words {
public:
    explicit Words(std::string_view text) : m_text(text) {}
    // The next word, or false when there is none.
    bool Next(std::string_view& word)
    {
        const size_t start = m_text.find_first_not_of(kWhite, m_pos);
        if (start == std::string_view::npos)
            return false;
        m_pos = std::min(m_text.find_first_of(kWhite, start), m_text.size());
        word = m_text.substr(start, m_pos - start);
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

}   // namespace

std::string MakeListEntry(std::string_view line)
{
    std::string entry(line);
    for (char& c : entry) {
        if (c == '\t')
            c = ' ';
    }
    return entry;
}

bool CityRecordMatches(std::string_view line, std::string_view name, std::string_view offset)
{
    // The last word: the offset text.
    line = line.substr(0, line.find_last_not_of(kWhite) + 1);   // npos + 1 is 0: no word at all
    const size_t start = line.find_last_of(kWhite) + 1;   // npos + 1 is 0: one word alone
    if (line.empty() || !EqualFoldAZ(line.substr(start), offset))
        return false;

    // The text before it against the name, word by word: leading and trailing white space do
    // not count, and every inner run of white space counts as one blank.
    Words lineWords(line.substr(0, start));
    Words nameWords(name);
    std::string_view lineWord;
    std::string_view nameWord;
    for (;;) {
        const bool moreLine = lineWords.Next(lineWord);
        const bool moreName = nameWords.Next(nameWord);
        if (!moreLine || !moreName)
            return moreLine == moreName;
        if (!EqualFoldAZ(lineWord, nameWord))
            return false;
    }
}

bool LoadCityDatabase(TextFile& file, const std::string& path, CityListSink& yourCity,
                      CityListSink& destination, CityDatabaseNotifier& notifier)
{
    switch (file.Open(path, TextFile::modeRead)) {
    case TextFile::openOk:
        break;
    case TextFile::openMissing:
        notifier.FileMissing();
        return false;
    default:
        notifier.FileUnreadable();
        return false;
    }
    return ReadCityDatabase(file, yourCity, destination, notifier);
}

bool ReadCityDatabase(TextFile& file, CityListSink& yourCity, CityListSink& destination,
                      CityDatabaseNotifier& notifier)
{
    const int64_t length = file.GetLength();
    if (length <= 0 || !file.SeekToBegin()) {
        file.Close();
        length == 0 ? notifier.FileEmpty() : notifier.FileUnreadable();
        return false;
    }
    std::string line;
    while (file.ReadLine(line)) {
        const std::string entry = MakeListEntry(line);
        yourCity.AddCityEntry(entry);
        destination.AddCityEntry(entry);
    }
    const bool readFailed = file.ReadFailed();
    file.Close();
    if (readFailed)
        notifier.ReadError();
    return true;
}

FindResult FindCityRecord(TextFile& file, std::string_view name, std::string_view offset)
{
    if (!file.SeekToBegin())
        return FindResult::unreadable;
    std::string line;
    while (file.ReadLine(line)) {
        if (CityRecordMatches(line, name, offset))
            return FindResult::found;
    }
    return file.ReadFailed() ? FindResult::unreadable : FindResult::absent;
}

bool AppendCityRecord(TextFile& file, std::string_view name, std::string_view offset)
{
    // A last line without a line end is ended first, in the same write as the record, so the
    // file never holds one without the other.
    // A file that is not open, or whose length cannot be read, fails in WriteString.
    const int last = file.GetLength() > 0 ? file.LastByte() : '\n';
    if (last < 0)
        return false;
    std::string record(last == '\n' ? "" : "\n");
    record.append(name).append("\t").append(offset).append("\n");
    return file.WriteString(record);
}
