// The Windows OS-file layer under TextFile. The handle has GENERIC_READ and FILE_APPEND_DATA
// (not FILE_WRITE_DATA), so every WriteFile lands at the current end of the file as one piece,
// whatever the file pointer. Cutting a failed append back needs write-data access, which a
// second handle asks for only then. The lock is a LockFileEx range far beyond any real end of
// file, so it never stands in the way of reading or appending the file's real bytes.
#include "platform/OsFile.h"

#include <windows.h>

namespace {

// The locked byte: far beyond any real end of file, below the largest signed 64-bit offset.
constexpr DWORD kLockOffsetLow = 0x00000000;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

OVERLAPPED LockRange()
{
    OVERLAPPED range{};
    range.Offset = kLockOffsetLow;
    range.OffsetHigh = kLockOffsetHigh;
    return range;
}

class Win32File final : public OsFile {
public:
    Win32File(HANDLE handle, std::string name) : m_handle(handle), m_name(std::move(name)) {}
    ~Win32File() override
    {
        Unlock();
        ::CloseHandle(m_handle);
    }

    int64_t Length() override
    {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(m_handle, &size))
            return -1;
        return static_cast<int64_t>(size.QuadPart);
    }

    bool Seek(int64_t offset) override
    {
        if (offset < 0)
            return false;
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return ::SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN) != FALSE;
    }

    long Read(char* buffer, size_t size) override
    {
        const DWORD want = size > (1u << 30) ? DWORD(1u << 30) : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!::ReadFile(m_handle, buffer, want, &got, nullptr))
            return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
        return static_cast<long>(got);
    }

    bool Append(const char* data, size_t size) override
    {
        if (size == 0)
            return true;
        if (size > 0xFFFFFFFFu)
            return false;
        DWORD written = 0;
        // One call on an append-only handle: the system places the whole buffer at the end.
        if (!::WriteFile(m_handle, data, static_cast<DWORD>(size), &written, nullptr))
            return false;
        return written == size;
    }

    bool Truncate(int64_t length) override
    {
        if (length < 0)
            return false;
        // SetEndOfFile needs FILE_WRITE_DATA, which the append-only handle lacks on purpose.
        HANDLE writer = ::ReOpenFile(m_handle, GENERIC_WRITE, kShare, 0);
        if (writer == INVALID_HANDLE_VALUE)
            writer = ::CreateFileA(m_name.c_str(), GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (writer == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER to;
        to.QuadPart = length;
        const bool done = ::SetFilePointerEx(writer, to, nullptr, FILE_BEGIN) && ::SetEndOfFile(writer);
        ::CloseHandle(writer);
        return done;
    }

    LockResult TryLock() override
    {
        if (m_locked)
            return locked;
        OVERLAPPED range = LockRange();
        if (::LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range)) {
            m_locked = true;
            return locked;
        }
        const DWORD error = ::GetLastError();
        // Anything else (a share or volume without byte-range locks) will not change by waiting.
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? held : unsupported;
    }

    void Unlock() override
    {
        if (!m_locked)
            return;
        OVERLAPPED range = LockRange();
        ::UnlockFileEx(m_handle, 0, 1, 0, &range);
        m_locked = false;
    }

private:
    HANDLE m_handle;
    std::string m_name;
    bool m_locked = false;
};

}   // namespace

OsFile::Result OsFile::Open(const std::string& name, bool write, std::unique_ptr<OsFile>& file)
{
    file.reset();
    const DWORD access = write ? (GENERIC_READ | FILE_APPEND_DATA) : GENERIC_READ;
    HANDLE handle =
        ::CreateFileA(name.c_str(), access, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return missing;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return denied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return busy;
        default:
            return failed;
        }
    }
    // Only disk files: a device name such as CON or NUL is no city database.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return failed;
    }
    file = std::make_unique<Win32File>(handle, name);
    return ok;
}
