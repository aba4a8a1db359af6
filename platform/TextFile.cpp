// The text file over the OS file: bytes are bytes (no code page, no Ctrl-Z, no C runtime text
// mode); lines end at LF, and a CR right before the LF belongs to the line end.
#include "platform/TextFile.h"

#include "platform/OsFile.h"

#include <cstring>

namespace {
constexpr size_t kBlockSize = 64 * 1024;
}

TextFile::TextFile() = default;

TextFile::~TextFile()
{
    Close();
}

TextFile::OpenResult TextFile::Open(const std::string& name, OpenMode mode)
{
    Close();
    std::unique_ptr<OsFile> file;
    switch (OsFile::Open(name, mode == modeReadWrite, file)) {
    case OsFile::ok:
        Attach(std::move(file));
        return openOk;
    case OsFile::missing:
        return openMissing;
    case OsFile::denied:
        return openDenied;
    case OsFile::busy:
        return openBusy;
    case OsFile::failed:
        break;
    }
    return openFailed;
}

void TextFile::Attach(std::unique_ptr<OsFile> file)
{
    Close();
    m_file = std::move(file);
    m_buffer.clear();
    m_bufferPos = 0;
    m_readOffset = 0;
    m_atEnd = false;
    m_readFailed = false;
    if (m_file && !m_file->Seek(0))
        m_atEnd = true;
}

bool TextFile::IsOpen() const
{
    return m_file != nullptr;
}

void TextFile::Close()
{
    m_file.reset();   // the OS file releases its lock and its handle
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_bufferPos = 0;
    m_readOffset = 0;
    m_atEnd = false;
    m_readFailed = false;
}

int64_t TextFile::GetLength() const
{
    return m_file ? m_file->Length() : -1;
}

bool TextFile::SeekToBegin()
{
    if (!m_file)
        return false;
    m_buffer.clear();
    m_bufferPos = 0;
    m_readOffset = 0;
    m_readFailed = false;
    const bool done = m_file->Seek(0);
    m_atEnd = !done;
    return done;
}

bool TextFile::Fill()
{
    m_bufferPos = 0;
    if (!m_file || m_atEnd) {
        m_buffer.clear();
        return false;
    }
    m_buffer.resize(kBlockSize);
    const long got = m_file->Read(m_buffer.data(), m_buffer.size());
    if (got <= 0) {   // the end of the file, or a read error: either way no more lines
        m_buffer.clear();
        m_atEnd = true;
        m_readFailed = got < 0;
        return false;
    }
    m_buffer.resize(static_cast<size_t>(got));
    m_readOffset += got;
    return true;
}

bool TextFile::ReadLine(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (m_bufferPos >= m_buffer.size() && !Fill()) {
            if (m_readFailed) {
                line.clear();
                return false;
            }
            return any;   // a last line without a line end still counts
        }
        const char* begin = m_buffer.data() + m_bufferPos;
        const size_t available = m_buffer.size() - m_bufferPos;
        const void* lf = std::memchr(begin, '\n', available);
        if (lf) {
            const size_t length = static_cast<size_t>(static_cast<const char*>(lf) - begin);
            line.append(begin, length);
            m_bufferPos += length + 1;
            // The CR may have come at the end of the previous block: look at the whole line.
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        line.append(begin, available);
        m_bufferPos += available;
        any = true;
    }
}

bool TextFile::WriteString(const std::string& text)
{
    if (!m_file)
        return false;
    std::string out;
    out.reserve(text.size() + 16);
    for (const char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    if (out.empty())
        return true;

    const int64_t before = m_file->Length();
    if (before < 0)
        return false;
    // Where reading stands: the next unread buffered byte.
    const int64_t readPosition = m_readOffset - static_cast<int64_t>(m_buffer.size() - m_bufferPos);

    bool done = m_file->Append(out.data(), out.size());
    if (!done) {
        // A short or failed write: cut off whatever part of it reached the file.
        const int64_t after = m_file->Length();
        if (after < 0 || after > before)
            m_file->Truncate(before);
    }

    // Reading goes on where it stood and sees the file as it now is.
    m_buffer.clear();
    m_bufferPos = 0;
    m_readOffset = readPosition;
    m_readFailed = false;
    m_atEnd = !m_file->Seek(readPosition);
    return done;
}

int TextFile::LastByte()
{
    if (!m_file)
        return -1;
    const int64_t length = m_file->Length();
    if (length <= 0)
        return -1;
    char byte = 0;
    const bool got = m_file->Seek(length - 1) && m_file->Read(&byte, 1) == 1;
    // Put the OS position back under the buffered bytes, which are still the file's.
    if (!m_file->Seek(m_readOffset)) {
        m_buffer.clear();
        m_bufferPos = 0;
        m_atEnd = true;
    }
    return got ? static_cast<unsigned char>(byte) : -1;
}

TextFile::LockResult TextFile::TryLock()
{
    if (!m_file)
        return lockUnsupported;
    switch (m_file->TryLock()) {
    case OsFile::locked:
        return lockTaken;
    case OsFile::held:
        return lockHeld;
    case OsFile::unsupported:
        break;
    }
    return lockUnsupported;
}

void TextFile::Unlock()
{
    if (m_file)
        m_file->Unlock();
}
