#pragma once
#include <string>
#include <string_view>

class TextFile;

// The city database file, wtcmain.pvx in the working directory: one city per line,
// "name<TAB>offset" ending in CR LF. Independent of any window.
inline constexpr const char* kCityDatabaseName = "wtcmain.pvx";

// Receives the list entries made from the file's lines.
class CityListSink {
public:
    virtual void AddCityEntry(const std::string& entry) = 0;
protected:
    ~CityListSink() = default;
};

// Tells the user about a database that could not be read.
class CityDatabaseNotifier {
public:
    virtual void FileEmpty() = 0;   // "File Empty.." / "Read Record.."
    virtual void FileMissing() = 0;   // there is no such file
    virtual void FileUnreadable() = 0;   // it is there, but could not be opened or read at all
    virtual void ReadError() = 0;   // a read failed part way: the entries so far are kept
protected:
    ~CityDatabaseNotifier() = default;
};

// The list entry for a line: every tab turned into one blank.
std::string MakeListEntry(std::string_view line);

// Whether a line holds the record (name, offset text): its last word equals the offset and the
// words before it equal the name, white space runs counted as one blank, A-Z without case.
bool CityRecordMatches(std::string_view line, std::string_view name, std::string_view offset);

// Reads the file at path into both sinks, one entry per line. False, with the notifier told,
// when the file is missing, unreadable or empty; both sinks then stay empty.
bool LoadCityDatabase(TextFile& file, const std::string& path, CityListSink& yourCity,
                      CityListSink& destination, CityDatabaseNotifier& notifier);
// The same for a file already open; closes it.
bool ReadCityDatabase(TextFile& file, CityListSink& yourCity, CityListSink& destination,
                      CityDatabaseNotifier& notifier);

// A read error is neither: the record may stand further on.
enum class FindResult { found, absent, unreadable };

// Searches the open file from its beginning for a line matching (name, offset).
FindResult FindCityRecord(TextFile& file, std::string_view name, std::string_view offset);

// Appends "name<TAB>offset" and a line end to the open file in one write. A last line
// without a line end is ended first. False if the write failed; the file is then unchanged.
bool AppendCityRecord(TextFile& file, std::string_view name, std::string_view offset);
