// The text file over the OS file: bytes are bytes (no code page, no Ctrl-Z, no C runtime text
// mode); lines end at LF, and a CR right before the LF belongs to the line end.
#include "platform/TextFile.h"

#include "platform/OsFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr size_t kBlockSize = 65536;
}

TextFile::TextFile() = default;
TextFile::~TextFile() = default;   // the OS file closes with it

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
    m_file = std::move(file);   // one still open closes here
    Restart(0);
}

bool TextFile::IsOpen() const
{
    return m_file != nullptr;
}

void TextFile::Close()
{
    m_file.reset();   // the OS file releases its lock and its handle
    m_bufferPos = m_bufferEnd;   // forgets the lines read ahead
}

int64_t TextFile::GetLength() const
{
    return m_file ? m_file->Length() : -1;
}

bool TextFile::SeekToBegin()
{
    Restart(0);
    return !m_atEnd;
}

void TextFile::Restart(int64_t offset)
{
    m_bufferPos = 0;
    m_bufferEnd = 0;
    m_readOffset = offset;
    m_readFailed = false;
    m_atEnd = !m_file || !m_file->Seek(offset);
}

int64_t TextFile::ReadPosition() const
{
    return m_readOffset - static_cast<int64_t>(m_bufferEnd - m_bufferPos);
}

bool TextFile::Fill()
{
    if (!m_file || m_atEnd)
        return false;
    m_block.resize(kBlockSize);
    const long got = m_file->Read(m_block.data(), m_block.size());
    m_readFailed = got < 0;
    m_bufferPos = 0;
    m_bufferEnd = static_cast<size_t>(std::max(got, 0L));
    m_readOffset += static_cast<int64_t>(m_bufferEnd);
    return m_bufferEnd > 0;
}

bool TextFile::ReadLine(std::string& line)
{
    line.clear();
    for (;;) {
        // A last line without a line end still counts; one cut short by a read error does not.
        if (m_bufferPos >= m_bufferEnd && !Fill())
            return !m_readFailed && !line.empty();
        const char* begin = m_block.data() + m_bufferPos;
        const char* end = m_block.data() + m_bufferEnd;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(end - begin)));
        line.append(begin, lf ? lf : end);
        m_bufferPos = static_cast<size_t>((lf ? lf + 1 : end) - m_block.data());
        if (line.size() > kLongestLine) {
            m_readFailed = true;
            m_atEnd = true;   // nothing after it is read
            m_bufferPos = m_bufferEnd;
            return false;
        }
        if (lf) {
            // The CR may have come at the end of the previous block: look at the whole line.
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
    }
}

bool TextFile::WriteString(const std::string& text)
{
    if (!m_file)
        return false;
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    const int64_t before = m_file->Length();
    if (before < 0)
        return false;
    const int64_t position = ReadPosition();
    const bool done = m_file->Append(out.data(), out.size());
    if (!done)
        m_file->Truncate(before);   // cut off whatever part of a short write reached the file
    Restart(position);   // reading goes on where it stood and sees the file as it now is
    return done;
}

int TextFile::LastByte()
{
    if (!m_file)
        return EOF;
    const int64_t position = ReadPosition();
    char byte{};
    const bool got = m_file->Seek(m_file->Length() - 1) && m_file->Read(&byte, sizeof byte) == sizeof byte;
    Restart(position);
    return got ? static_cast<unsigned char>(byte) : EOF;
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
