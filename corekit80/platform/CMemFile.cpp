// CMemFile: an owned or caller's buffer, growth, seeking, reading and writing.
#include "corekit80/platform/CMemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint64_t kMaxLength = 0xFFFFFFFFu;

} // namespace

CMemFile::CMemFile(unsigned growBytes)
    : m_buffer(nullptr), m_size(0), m_capacity(0), m_position(0),
      m_growBytes(growBytes ? growBytes : 1024), m_owned(true)
{
}

CMemFile::CMemFile(unsigned char* buffer, unsigned size, unsigned growBytes) : CMemFile()
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(unsigned char* buffer, unsigned size, unsigned growBytes)
{
    Close();
    m_buffer = buffer;
    m_size = m_capacity = buffer ? size : 0;
    m_growBytes = growBytes;
    m_owned = growBytes != 0;
}

unsigned char* CMemFile::Detach()
{
    unsigned char* buffer = m_buffer;
    m_buffer = nullptr;
    m_size = m_capacity = m_position = 0;
    m_growBytes = m_growBytes ? m_growBytes : 1024;
    m_owned = true;
    return buffer;
}

bool CMemFile::Open(const char*, unsigned, CFileException* error)
{
    if (error)
        *error = CFileException(CFileException::genericException, EINVAL, nullptr);
    return false;
}

void CMemFile::Close()
{
    if (m_owned)
        std::free(m_buffer);
    m_buffer = nullptr;
    m_size = m_capacity = m_position = 0;
    m_growBytes = m_growBytes ? m_growBytes : 1024;
    m_owned = true;
}

void CMemFile::Abort() { Close(); }

void CMemFile::Flush() {}

uint64_t CMemFile::GetPosition() const { return m_position; }

uint64_t CMemFile::GetLength() const { return m_size; }

void CMemFile::Grow(uint64_t size)
{
    if (size <= m_capacity)
        return;
    if (!m_owned || size > kMaxLength)
        throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
    // Geometric growth keeps a run of small writes linear.
    uint64_t capacity = std::max<uint64_t>(size, m_capacity + m_capacity / 2);
    capacity = std::min(kMaxLength, (capacity + m_growBytes - 1) / m_growBytes * m_growBytes);
    auto* grown = static_cast<unsigned char*>(std::realloc(m_buffer, capacity));
    if (!grown)
        throw CFileException(CFileException::diskFull, ENOMEM, m_strFileName);
    m_buffer = grown;
    m_capacity = capacity;
}

void CMemFile::SetLength(uint64_t newLength)
{
    Grow(newLength);
    if (newLength > m_size)
        std::memset(m_buffer + m_size, 0, newLength - m_size);
    m_size = newLength;
    if (m_position > m_size)
        m_position = m_size;
}

uint64_t CMemFile::Seek(int64_t offset, unsigned from)
{
    int64_t base = from == begin ? 0 : from == current ? int64_t(m_position)
                                 : from == end     ? int64_t(m_size)
                                                   : -1;
    if (base < 0 || offset < -base || offset > int64_t(kMaxLength) - base)
        throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    m_position = size_t(base + offset);
    return m_position;
}

unsigned CMemFile::Read(void* buffer, unsigned count)
{
    if (count == 0 || m_position >= m_size)
        return 0;
    unsigned n = unsigned(std::min<uint64_t>(count, m_size - m_position));
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, unsigned count)
{
    if (count == 0)
        return;
    uint64_t end = uint64_t(m_position) + count;
    Grow(end);
    if (m_position > m_size)
        std::memset(m_buffer + m_size, 0, m_position - m_size);
    std::memcpy(m_buffer + m_position, buffer, count);
    m_position = size_t(end);
    if (m_position > m_size)
        m_size = m_position;
}
