// The city database: list entries, the matching rule, and loading, searching and appending on
// real temporary files, checked byte for byte.
#include "citydb/CityDatabase.h"
#include "platform/TextFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using testutil::ReadBytes;
using testutil::TempDirTest;
namespace fs = std::filesystem;

// Records every call to either sink and to the notifier, in order.
struct Recorder final : CityDatabaseNotifier {
    struct Sink final : CityListSink {
        Sink(Recorder& owner, const char* which) : m_owner(owner), m_which(which) {}
        void AddCityEntry(const std::string& entry) override
        {
            entries.push_back(entry);
            m_owner.calls.push_back(m_which + (":" + entry));
        }
        std::vector<std::string> entries;

    private:
        Recorder& m_owner;
        std::string m_which;
    };

    void FileEmpty() override { calls.push_back("FileEmpty"); }
    void FileMissing() override { calls.push_back("FileMissing"); }
    void ReadError() override { calls.push_back("ReadError"); }

    Sink yourCity{*this, "your"};
    Sink destination{*this, "destination"};
    std::vector<std::string> calls;
};

// ---- List entries and the matching rule -------------------------------------------------

TEST(CityListEntry, EveryTabBecomesOneBlankAndNothingElseChanges)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Udaipur\t5.50", "Udaipur 5.50"},
        {"New York\t-5.00", "New York -5.00"},
        {"Cairo  2.00", "Cairo  2.00"},
        {"\t5.50", " 5.50"},
        {"A\t\tB\t", "A  B "},
        {"", ""},
        {"a\rb\0c\xff"s, "a\rb\0c\xff"s},
    };
    for (const auto& [line, entry] : cases)
        EXPECT_EQ(MakeListEntry(line), entry) << line;
}

struct MatchCase {
    std::string line;
    std::string name;
    std::string offset;
    bool matches;
};

TEST(CityRecordMatch, WholeNameAndOffsetText)
{
    const std::string longName = "Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch";
    const std::vector<MatchCase> cases = {
        // The name ignores the case of A to Z; the offset is text.
        {"Udaipur\t5.50", "Udaipur", "5.50", true},
        {"Udaipur\t5.50", "udaipur", "5.50", true},
        {"Udaipur\t5.50", "UDAIPUR", "5.50", true},
        {"Udaipur\t5.50", "Udaipur", "-5.50", false},
        {"Udaipur\t5.50", "Udaipur", "5.5", false},
        {"Udaipur\t5.5", "Udaipur", "5.50", false},
        {"Zero\t0.00", "Zero", "-0.00", false},
        {"Zero\t-0.00", "Zero", "0.00", false},
        {"Zero\t-0.00", "Zero", "-0.00", true},
        {"Udaipur\t5.50", "Udaipu", "5.50", false},
        {"Udaipur\t5.50", "Udaipurr", "5.50", false},
        {"Udaipur 5.50", "Udaipur", "5.50", true},   // blanks instead of the tab
        {"Udaipur\t5.50\r", "Udaipur", "5.50", true},   // a stray CR is white space
        // Names with blanks: the whole name, white-space runs as one blank.
        {"New York\t-5.00", "New York", "-5.00", true},
        {"New York\t-5.00", "new york", "-5.00", true},
        {"New York\t-5.00", "New  York", "-5.00", true},
        {"New York\t-5.00", "  New York ", "-5.00", true},
        {"New York\t-5.00", "New\tYork", "-5.00", true},
        {"  New \t  York \t -5.00  ", "New York", "-5.00", true},
        {"New\vYork\f-5.00", "New York", "-5.00", true},
        {"New York\t-5.00", "NewYork", "-5.00", false},
        {"New York\t-5.00", "New", "-5.00", false},
        {"New York\t-5.00", "York", "-5.00", false},
        {"New York\t-5.00", "New York City", "-5.00", false},
        {"New York City\t-5.00", "New York", "-5.00", false},
        {"New York\t-5.00", "New York", "-5.00 ", false},
        // The empty name: a line of white space and the offset alone.
        {"\t5.50", "", "5.50", true},
        {"   5.50  ", "", "5.50", true},
        {"5.50", "", "5.50", true},
        {"5.50", " \t ", "5.50", true},
        {"X\t5.50", "", "5.50", false},
        {"\t5.50", "X", "5.50", false},
        // Lines with one word or none.
        {"Udaipur", "Udaipur", "5.50", false},
        {"Udaipur\t", "Udaipur", "5.50", false},
        {"Udaipur\t", "Udaipur", "", false},
        {"", "", "", false},
        {" \t\r", "", "", false},
        {"", "Udaipur", "5.50", false},
        // Letters other than A to Z are compared as bytes.
        {"\xc4rhus\t1.00", "\xe4rhus", "1.00", false},
        {"\xc4rhus\t1.00", "\xc4RHUS", "1.00", true},
        {"City\t5.50AM", "city", "5.50am", true},
        // No 19-character bound: long words are compared whole.
        {longName + "\t0.00", longName, "0.00", true},
        {longName + "\t0.00", longName.substr(0, 19), "0.00", false},
        {longName + "\t0.00", longName + "x", "0.00", false},
        // NUL bytes are ordinary characters.
        {"Ud\0aipur\t5.50"s, "Ud\0aipur"s, "5.50", true},
        {"Ud\0aipur\t5.50"s, "Ud", "5.50", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CityRecordMatches(c.line, c.name, c.offset), c.matches)
            << "line [" << c.line << "] name [" << c.name << "] offset [" << c.offset << "]";
    }
}

TEST(CityRecordMatch, MegabyteLine)
{
    const std::string name(1024 * 1024, 'N');
    EXPECT_TRUE(CityRecordMatches(name + "\t5.50", name, "5.50"));
    EXPECT_FALSE(CityRecordMatches(name + "\t5.50", name + "N", "5.50"));
    EXPECT_FALSE(CityRecordMatches(name, name, "5.50"));
}

// ---- Loading ----------------------------------------------------------------------------

class CityDatabaseLoad : public TempDirTest {};

TEST_F(CityDatabaseLoad, MissingFileReadsNothingAndCreatesNothing)
{
    Recorder recorder;
    TextFile file;
    EXPECT_FALSE(LoadCityDatabase(file, Name("wtcmain.pvx"), recorder.yourCity, recorder.destination, recorder));
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"FileMissing"});
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(fs::exists(Path("wtcmain.pvx")));

    fs::create_directory(Path("folder"));
    Recorder folder;
    EXPECT_FALSE(LoadCityDatabase(file, Name("folder"), folder.yourCity, folder.destination, folder));
    EXPECT_EQ(folder.calls, std::vector<std::string>{"FileMissing"});
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(CityDatabaseLoad, EmptyFileIsReportedAndGivesNoEntries)
{
    const std::string name = MakeFile("wtcmain.pvx", "");
    Recorder recorder;
    TextFile file;
    EXPECT_FALSE(LoadCityDatabase(file, name, recorder.yourCity, recorder.destination, recorder));
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"FileEmpty"});
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), "");
}

TEST_F(CityDatabaseLoad, OneEntryPerLineIntoBothListsInTurn)
{
    const std::string bytes =
        "Udaipur\t5.50\r\n"
        "New York\t-5.00\r\n"
        "Cairo  2.00\n"
        "A\tB\tC\r\n"
        "\t5.50\r\n"
        "\r\n"
        "Udaipur\t5.50\r\n"
        "Honolulu\t-10.00";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    Recorder recorder;
    TextFile file;
    EXPECT_TRUE(LoadCityDatabase(file, name, recorder.yourCity, recorder.destination, recorder));
    const std::vector<std::string> entries = {"Udaipur 5.50", "New York -5.00", "Cairo  2.00", "A B C",
                                              " 5.50",        "",               "Udaipur 5.50", "Honolulu -10.00"};
    EXPECT_EQ(recorder.yourCity.entries, entries);
    EXPECT_EQ(recorder.destination.entries, entries);
    std::vector<std::string> calls;
    for (const auto& entry : entries) {
        calls.push_back("your:" + entry);
        calls.push_back("destination:" + entry);
    }
    EXPECT_EQ(recorder.calls, calls);   // no notice, each line to your city's list first
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);
}

TEST_F(CityDatabaseLoad, OnlyALineEndGivesOneEmptyEntry)
{
    for (const std::string bytes : {"\r\n", "\n"}) {
        const std::string name = MakeFile("wtcmain.pvx", bytes);
        Recorder recorder;
        TextFile file;
        EXPECT_TRUE(LoadCityDatabase(file, name, recorder.yourCity, recorder.destination, recorder));
        EXPECT_EQ(recorder.yourCity.entries, std::vector<std::string>{""});
        EXPECT_EQ(recorder.destination.entries, std::vector<std::string>{""});
    }
}

// Any bytes at all: the entries are the LF-separated pieces, one CR before each LF dropped,
// tabs as blanks.
TEST_F(CityDatabaseLoad, ArbitraryBytes)
{
    std::mt19937 random(12345);
    const std::string alphabet = "\n\n\r\t \0\x1a\x7f\x80\xff" "aZ5.-"s;
    for (int round = 0; round < 20; ++round) {
        std::string bytes;
        const size_t size = round == 19 ? 3 * 1024 * 1024 + 11 : random() % 5000;
        for (size_t i = 0; i < size; ++i)
            bytes.push_back(round == 19 && i < 1024 * 1024 ? 'x' : alphabet[random() % alphabet.size()]);
        std::vector<std::string> expected;
        size_t start = 0;
        while (start < bytes.size()) {
            const size_t lf = bytes.find('\n', start);
            std::string line = bytes.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
            if (lf != std::string::npos && !line.empty() && line.back() == '\r')
                line.pop_back();
            expected.push_back(MakeListEntry(line));
            start = lf == std::string::npos ? bytes.size() : lf + 1;
        }
        const std::string name = MakeFile("wtcmain.pvx", bytes);
        Recorder recorder;
        TextFile file;
        EXPECT_EQ(LoadCityDatabase(file, name, recorder.yourCity, recorder.destination, recorder), !bytes.empty());
        EXPECT_EQ(recorder.yourCity.entries, expected) << "round " << round;
        EXPECT_EQ(recorder.destination.entries, expected) << "round " << round;
    }
}

// ---- Searching and appending ------------------------------------------------------------

class CityDatabaseRegister : public TempDirTest {
protected:
    // One Register action: open for reading and writing, search, append when new, close.
    // Returns "found", "added", "missing" or "failed".
    std::string Register(const std::string& name, const std::string& offset)
    {
        TextFile file;
        if (file.Open(Name("wtcmain.pvx"), TextFile::modeReadWrite) != TextFile::openOk)
            return "missing";
        if (FindCityRecord(file, name, offset) != FindResult::absent)
            return "found";
        return AppendCityRecord(file, name, offset) ? "added" : "failed";
    }
};

TEST_F(CityDatabaseRegister, FindsOnlyTheSameRecord)
{
    const std::string bytes = "Udaipur\t5.50\r\nNew York\t-5.00\r\nZero\t0.00\r\n" + std::string(300000, 'x') +
                              "\r\nHonolulu\t-10.00";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    using enum FindResult;
    EXPECT_EQ(FindCityRecord(file, "udaipur", "5.50"), found);
    EXPECT_EQ(FindCityRecord(file, "Udaipur", "-5.50"), absent);
    EXPECT_EQ(FindCityRecord(file, "Udaipur", "5.5"), absent);
    EXPECT_EQ(FindCityRecord(file, "New York", "-5.00"), found);
    EXPECT_EQ(FindCityRecord(file, "New", "-5.00"), absent);
    EXPECT_EQ(FindCityRecord(file, "Zero", "-0.00"), absent);
    EXPECT_EQ(FindCityRecord(file, "HONOLULU", "-10.00"), found);   // the last line, without line end
    EXPECT_EQ(FindCityRecord(file, "Boston", "-5.00"), absent);
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);
}

TEST_F(CityDatabaseRegister, AppendsOneRecordLineAndChangesNothingElse)
{
    struct Case {
        const char* what;
        std::string before;
        std::string name;
        std::string offset;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"after CR LF", "Boston\t-5.00\r\n", "Udaipur", "5.50", "Boston\t-5.00\r\nUdaipur\t5.50\r\n"},
        {"after a lone LF", "Cairo  2.00\n", "Udaipur", "5.50", "Cairo  2.00\nUdaipur\t5.50\r\n"},
        {"last line without a line end", "Honolulu\t-10.00", "Udaipur", "5.50",
         "Honolulu\t-10.00\r\nUdaipur\t5.50\r\n"},
        {"last byte a lone CR", "X\r", "Udaipur", "5.50", "X\r\r\nUdaipur\t5.50\r\n"},
        {"empty file", "", "Udaipur", "5.50", "Udaipur\t5.50\r\n"},
        {"only a line end", "\r\n", "Udaipur", "5.50", "\r\nUdaipur\t5.50\r\n"},
        {"empty name", "a\r\n", "", "5.50", "a\r\n\t5.50\r\n"},
        {"name with blanks kept", "a\r\n", " New  York ", "-5.00", "a\r\n New  York \t-5.00\r\n"},
        {"behind zero", "Zero\t0.00\r\n", "Zero", "-0.00", "Zero\t0.00\r\nZero\t-0.00\r\n"},
        {"bytes above 127", "\xff\r\n", "\xc4rhus", "1.00", "\xff\r\n\xc4rhus\t1.00\r\n"},
    };
    for (const auto& c : cases) {
        MakeFile("wtcmain.pvx", c.before);
        EXPECT_EQ(Register(c.name, c.offset), "added") << c.what;
        EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), c.after) << c.what;
        // The same Register again finds it and leaves the file alone.
        EXPECT_EQ(Register(c.name, c.offset), "found") << c.what;
        EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), c.after) << c.what;
    }
}

TEST_F(CityDatabaseRegister, RegisteringTwiceAddsOneLineAndLoadsBack)
{
    MakeFile("wtcmain.pvx", "Boston\t-5.00\r\nHonolulu\t-10.00");
    EXPECT_EQ(Register("Udaipur", "5.50"), "added");
    EXPECT_EQ(Register("UDAIPUR", "5.50"), "found");
    EXPECT_EQ(Register("Udaipur", "-5.50"), "added");
    EXPECT_EQ(Register("New York", "-5.00"), "added");
    EXPECT_EQ(Register("New York", "-5.00"), "found");   // a name with a blank is found now
    EXPECT_EQ(Register("new york", "-5.00"), "found");
    EXPECT_EQ(Register("", "5.50"), "added");
    EXPECT_EQ(Register("", "5.50"), "found");
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")),
              "Boston\t-5.00\r\nHonolulu\t-10.00\r\nUdaipur\t5.50\r\nUdaipur\t-5.50\r\nNew York\t-5.00\r\n\t5.50\r\n");

    Recorder recorder;
    TextFile file;
    EXPECT_TRUE(LoadCityDatabase(file, Name("wtcmain.pvx"), recorder.yourCity, recorder.destination, recorder));
    EXPECT_EQ(recorder.yourCity.entries,
              (std::vector<std::string>{"Boston -5.00", "Honolulu -10.00", "Udaipur 5.50", "Udaipur -5.50",
                                        "New York -5.00", " 5.50"}));
}

TEST_F(CityDatabaseRegister, MissingFileIsNeitherSearchedNorCreated)
{
    EXPECT_EQ(Register("Udaipur", "5.50"), "missing");
    EXPECT_FALSE(fs::exists(Path("wtcmain.pvx")));
}

TEST_F(CityDatabaseRegister, ReadOnlyOpenedFileRefusesTheRecord)
{
    const std::string bytes = "Honolulu\t-10.00";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeRead), TextFile::openOk);
    EXPECT_EQ(FindCityRecord(file, "Udaipur", "5.50"), FindResult::absent);
    EXPECT_FALSE(AppendCityRecord(file, "Udaipur", "5.50"));
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);

    TextFile closed;
    EXPECT_FALSE(AppendCityRecord(closed, "Udaipur", "5.50"));
    EXPECT_EQ(FindCityRecord(closed, "Udaipur", "5.50"), FindResult::unreadable);
}

TEST_F(CityDatabaseRegister, AppendAfterAPartialReadStillGoesToTheEnd)
{
    MakeFile("wtcmain.pvx", "a\r\nb\r\nc");
    TextFile file;
    ASSERT_EQ(file.Open(Name("wtcmain.pvx"), TextFile::modeReadWrite), TextFile::openOk);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    ASSERT_TRUE(AppendCityRecord(file, "Udaipur", "5.50"));
    // Reading goes on where it stood, and sees the new line.
    std::vector<std::string> rest;
    while (file.ReadLine(line))
        rest.push_back(line);
    EXPECT_EQ(rest, (std::vector<std::string>{"b", "c", "Udaipur\t5.50"}));
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), "a\r\nb\r\nc\r\nUdaipur\t5.50\r\n");
}

} // namespace
