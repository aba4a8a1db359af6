// Native-only checks that need POSIX: the lock against another process, and a real short
// write (the file-size limit) cut back by the text file.
#ifndef _WIN32

#include "citydb/CityDatabase.h"
#include "platform/TextFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testutil::ReadBytes;
using testutil::TempDirTest;

class TextFilePosix : public TempDirTest {
protected:
    // Tries the lock on a fresh object in a child process; true if it got it.
    bool ChildGetsLock(const std::string& name)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            TextFile file;
            if (file.Open(name, TextFile::modeReadWrite) != TextFile::openOk)
                ::_exit(2);
            ::_exit(file.TryLock() == TextFile::lockTaken ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 2);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
};

TEST_F(TextFilePosix, LockHoldsAgainstAnotherProcess)
{
    const std::string name = MakeFile("wtcmain.pvx", "x\r\n");
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    ASSERT_EQ(file.TryLock(), TextFile::lockTaken);
    EXPECT_FALSE(ChildGetsLock(name));
    file.Unlock();
    EXPECT_TRUE(ChildGetsLock(name));
    ASSERT_EQ(file.TryLock(), TextFile::lockTaken);
    file.Close();
    EXPECT_TRUE(ChildGetsLock(name));
}

TEST_F(TextFilePosix, ShortWriteAtTheFileSizeLimitIsCutBack)
{
    const std::string bytes = "Honolulu\t-10.00";
    const std::string name = MakeFile("wtcmain.pvx", bytes);
    TextFile file;
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);

    struct rlimit previous;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    if (previous.rlim_max != RLIM_INFINITY && previous.rlim_max < 1024 * 1024 * 1024)
        GTEST_SKIP() << "hard file-size limit too low to restore";
    auto* const previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = previous;
    limit.rlim_cur = bytes.size() + 5;   // the record fits only in part
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool appended = AppendCityRecord(file, "Udaipur", "5.50");
    const bool cutBack = file.GetLength() == static_cast<int64_t>(bytes.size());
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(appended);
    EXPECT_TRUE(cutBack);
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes);

    // With the limit gone the same record goes in whole.
    ASSERT_EQ(file.Open(name, TextFile::modeReadWrite), TextFile::openOk);
    EXPECT_TRUE(AppendCityRecord(file, "Udaipur", "5.50"));
    file.Close();
    EXPECT_EQ(ReadBytes(Path("wtcmain.pvx")), bytes + "\r\nUdaipur\t5.50\r\n");
}

} // namespace

#endif
