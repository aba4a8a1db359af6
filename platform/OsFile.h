#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The operating system's file handle under TextFile: one source file per system.
class OsFile {
public:
    // Busy: held by another program that does not share it (a sharing or lock violation).
    enum Result { ok, missing, denied, busy, failed };
    // Held: another holder has the lock. Unsupported: any other refusal (no byte-range locks).
    enum LockResult { locked, held, unsupported };

    virtual ~OsFile() = default;
    // Opens an existing file; never creates or truncates. With write access, writes append.
    static Result Open(const std::string& name, bool write, std::unique_ptr<OsFile>& file);

    virtual int64_t Length() = 0;
    virtual bool Seek(int64_t offset) = 0;
    // Bytes read into buffer, 0 at the end of the file, -1 on error.
    virtual long Read(char* buffer, size_t size) = 0;
    // Appends all of data in one call; false if not all of it was written.
    virtual bool Append(const char* data, size_t size) = 0;
    // Cuts the file back to length bytes (to undo a short append).
    virtual bool Truncate(int64_t length) = 0;
    // Takes the inter-process lock if it is free; never waits.
    virtual LockResult TryLock() = 0;
    virtual void Unlock() = 0;
};
