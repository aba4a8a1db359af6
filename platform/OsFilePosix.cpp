// The POSIX OS-file layer under TextFile: open(2) without O_CREAT or O_TRUNC, writes in
// O_APPEND mode (one write(2) per append), flock(2) for the inter-process lock.
#include "platform/OsFile.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PosixFile final : public OsFile {
public:
    explicit PosixFile(int fd) : m_fd(fd) {}
    ~PosixFile() override
    {
        // Closing the descriptor also releases a flock held through it.
        ::close(m_fd);
    }

    int64_t Length() override
    {
        struct stat st;
        if (::fstat(m_fd, &st) != 0)
            return -1;
        return static_cast<int64_t>(st.st_size);
    }

    bool Seek(int64_t offset) override
    {
        if (offset < 0)
            return false;
        return ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
    }

    long Read(char* buffer, size_t size) override
    {
        if (size > (1u << 30))
            size = 1u << 30;
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size);
            if (n >= 0)
                return static_cast<long>(n);
            if (errno != EINTR)
                return -1;
        }
    }

    bool Append(const char* data, size_t size) override
    {
        if (size == 0)
            return true;
        if (size > static_cast<size_t>(SSIZE_MAX))
            return false;
        for (;;) {
            // One call: the descriptor is in O_APPEND mode, so the kernel places the whole
            // buffer at the end of the file. A short count is a failure, never continued.
            const ssize_t n = ::write(m_fd, data, size);
            if (n >= 0)
                return static_cast<size_t>(n) == size;
            if (errno != EINTR)   // EINTR before anything was written: try the same call again
                return false;
        }
    }

    bool Truncate(int64_t length) override
    {
        if (length < 0)
            return false;
        for (;;) {
            if (::ftruncate(m_fd, static_cast<off_t>(length)) == 0)
                return true;
            if (errno != EINTR)
                return false;
        }
    }

    LockResult TryLock() override
    {
        if (m_locked)
            return locked;
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
                m_locked = true;
                return locked;
            }
            if (errno == EWOULDBLOCK)
                return held;
            // ENOLCK, EOPNOTSUPP and the like: a file system without these locks.
            if (errno != EINTR)
                return unsupported;
        }
    }

    void Unlock() override
    {
        if (!m_locked)
            return;
        ::flock(m_fd, LOCK_UN);
        m_locked = false;
    }

private:
    int m_fd;
    bool m_locked = false;
};

}   // namespace

OsFile::Result OsFile::Open(const std::string& name, bool write, std::unique_ptr<OsFile>& file)
{
    file.reset();
    // O_NONBLOCK keeps a FIFO from hanging the open; it has no effect on regular files.
    const int flags = (write ? (O_RDWR | O_APPEND) : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int fd;
    do {
        fd = ::open(name.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
            return missing;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return denied;
        case ETXTBSY:
        case EWOULDBLOCK:   // a lease held by another program (the open does not block)
            return busy;
        default:
            return failed;
        }
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return failed;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return denied;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed;
    }
    // Back to blocking reads for the regular file (harmless either way).
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    file = std::make_unique<PosixFile>(fd);
    return ok;
}
