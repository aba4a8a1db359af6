#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class OsFile;

// The city database's file: opened by name, never created or truncated, read line by line
// as bytes (the carriage return before a line feed belongs to the line end), appended to
// with one write per record in the operating system's append mode.
class TextFile {
public:
    enum OpenMode { modeRead, modeReadWrite };
    // Busy: another program holds the file without sharing it; worth another try.
    enum OpenResult { openOk, openMissing, openDenied, openBusy, openFailed };
    // Unsupported: the file system has no byte-range locks (or the file is not open).
    enum LockResult { lockTaken, lockHeld, lockUnsupported };
    // A longer line (in bytes, a CR before its LF counted) is a read error: no city needs one,
    // and the copies a window makes of it would need more memory than a 32-bit process has.
    static constexpr size_t kLongestLine = size_t(16) << 20;

    TextFile();
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    OpenResult Open(const std::string& name, OpenMode mode);
    // Takes over an already opened OS file (tests use it to put a failing one underneath).
    void Attach(std::unique_ptr<OsFile> file);
    bool IsOpen() const;
    void Close();

    // Length in bytes, or -1 when no file is open or the length cannot be read.
    int64_t GetLength() const;
    bool SeekToBegin();
    // The next line without its line end; false at the end of the file or on a read error
    // (a line cut short by a read error, or longer than kLongestLine, is not returned).
    bool ReadLine(std::string& line);
    // Whether the last ReadLine stopped at a read error rather than at the end of the file.
    bool ReadFailed() const { return m_readFailed; }
    // Writes text at the end of the file, each line feed as carriage return plus line feed,
    // in one write. On failure the file is cut back to its length before the call.
    bool WriteString(const std::string& text);
    // The last byte of the file, or -1 for an empty file or an error.
    int LastByte();

    // Holds the file against other holders (other processes) until Unlock or Close, if no
    // one else holds it now. Never waits: the caller decides how to wait.
    LockResult TryLock();
    void Unlock();

private:
    // Drops what was read ahead; the next line starts at offset.
    void Restart(int64_t offset);
    // Where the next line starts.
    int64_t ReadPosition() const;
    bool Fill();

    std::unique_ptr<OsFile> m_file;
    std::vector<char> m_block;   // read ahead: the bytes from m_bufferPos to m_bufferEnd
    size_t m_bufferPos = 0;
    size_t m_bufferEnd = 0;
    int64_t m_readOffset = 0;   // the OS file's position: just past the buffered bytes
    bool m_atEnd = false;   // the OS file could not be put where reading stands
    bool m_readFailed = false;   // the last read met an error, not the end of the file
};
