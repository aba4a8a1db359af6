// The city database file: loading it into two lists, searching it for a record, appending one.
#include "citydb/CityDatabase.h"

#include "platform/TextFile.h"

namespace {

// Blank, tab, vertical tab, form feed, carriage return, line feed.
constexpr bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

constexpr char FoldAZ(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal texts, the letters A to Z without regard to case; every other byte as it is.
bool EqualFoldAZ(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldAZ(a[i]) != FoldAZ(b[i]))
            return false;
    }
    return true;
}

// Walks the words (runs of non-white characters) of a text, first to last.
class Words {
public:
    explicit Words(std::string_view text) : m_text(text) {}
    // The next word, or false when there is none.
    bool Next(std::string_view& word)
    {
        while (m_pos < m_text.size() && IsWhite(m_text[m_pos]))
            ++m_pos;
        if (m_pos == m_text.size())
            return false;
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !IsWhite(m_text[m_pos]))
            ++m_pos;
        word = m_text.substr(start, m_pos - start);
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

} // namespace

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
    size_t end = line.size();
    while (end > 0 && IsWhite(line[end - 1]))
        --end;
    if (end == 0)
        return false;   // no word at all
    size_t start = end;
    while (start > 0 && !IsWhite(line[start - 1]))
        --start;
    if (!EqualFoldAZ(line.substr(start, end - start), offset))
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

bool LoadCityDatabase(TextFile& file, const std::string& path,
                      CityListSink& yourCity, CityListSink& destination,
                      CityDatabaseNotifier& notifier)
{
    if (file.Open(path, TextFile::modeRead) != TextFile::openOk) {
        notifier.FileMissing();
        return false;
    }
    return ReadCityDatabase(file, yourCity, destination, notifier);
}

bool ReadCityDatabase(TextFile& file, CityListSink& yourCity, CityListSink& destination,
                      CityDatabaseNotifier& notifier)
{
    const int64_t length = file.GetLength();
    if (length == 0) {
        file.Close();
        notifier.FileEmpty();
        return false;
    }
    if (length < 0 || !file.SeekToBegin()) {   // open, but not readable as a file
        file.Close();
        notifier.FileMissing();
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
    if (!file.IsOpen())
        return false;
    std::string record;
    record.reserve(name.size() + offset.size() + 3);
    // A last line without a line end is ended first, in the same write as the record, so the
    // file never holds one without the other.
    const int64_t length = file.GetLength();
    if (length < 0)
        return false;
    if (length > 0) {
        const int last = file.LastByte();
        if (last < 0)
            return false;
        if (last != '\n')
            record.push_back('\n');
    }
    record.append(name);
    record.push_back('\t');
    record.append(offset);
    record.push_back('\n');
    return file.WriteString(record);
}
