// CArchive: buffered little-endian numbers and length-prefixed strings over a CFile.
#include "corekit80/platform/CArchive.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <exception>
#include <memory>

#include "corekit80/types/TCCodePage.h"
#include "corekit80/types/TCString.h"

static_assert(std::endian::native == std::endian::little,
              "archive numbers are little-endian and copied as they lie in memory");

namespace {

constexpr unsigned kMinBufSize = 128;
// The longest string the string classes hold.
constexpr uint32_t kMaxString = INT_MAX - 1;

} // namespace

CArchive::CArchive(CFile* file, unsigned mode, int bufSize, void* buffer)
    : m_file(file), m_loading(mode & load), m_noFlushOnDelete(mode & bNoFlushOnDelete),
      m_ownsBuffer(!buffer || bufSize < int(kMinBufSize)), m_uncaught(std::uncaught_exceptions()),
      m_buffer(nullptr), m_bufSize(std::max(unsigned(std::max(bufSize, 0)), kMinBufSize)),
      m_cur(0), m_end(0)
{
    m_buffer = m_ownsBuffer ? new unsigned char[m_bufSize] : static_cast<unsigned char*>(buffer);
    if (file)
        m_strFileName = file->GetFilePath();
}

CArchive::~CArchive()
{
    if (m_file) {
        if (m_noFlushOnDelete || std::uncaught_exceptions() > m_uncaught) {
            Abort();
        } else {
            try {
                Close();
            } catch (...) {
                // The file keeps the failure of its write and will not replace its target.
            }
        }
    }
    if (m_ownsBuffer)
        delete[] m_buffer;
}

void CArchive::CheckFile() const
{
    if (!m_file)
        throw CArchiveException(CArchiveException::genericException, m_strFileName);
}

void CArchive::CheckStoring() const
{
    CheckFile();
    if (m_loading)
        throw CArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::CheckLoading() const
{
    CheckFile();
    if (!m_loading)
        throw CArchiveException(CArchiveException::writeOnly, m_strFileName);
}

CFile* CArchive::GetFile() const
{
    if (m_file)
        Sync();
    return m_file;
}

void CArchive::Sync() const
{
    if (!m_loading) {
        Spill();
        return;
    }
    if (m_end > m_cur)
        m_file->Seek(-int64_t(m_end - m_cur), CFile::current);
    m_cur = m_end = 0;
}

void CArchive::Spill() const
{
    unsigned n = m_cur;
    m_cur = 0;  // a failed write is not repeated: the file has recorded it
    if (n)
        m_file->Write(m_buffer, n);
}

void CArchive::Flush()
{
    if (m_file)
        Sync();
}

void CArchive::Close()
{
    if (m_file)
        Sync();
    m_file = nullptr;
}

void CArchive::Abort()
{
    m_file = nullptr;
    m_cur = m_end = 0;
}

unsigned CArchive::Fill(unsigned count) const
{
    unsigned available = m_end - m_cur;
    if (available >= count)
        return available;
    std::memmove(m_buffer, m_buffer + m_cur, available);
    m_cur = 0;
    m_end = available;
    while (m_end < count) {
        unsigned n = m_file->Read(m_buffer + m_end, m_bufSize - m_end);
        if (n == 0)
            break;
        m_end += n;
    }
    return m_end;
}

unsigned CArchive::Read(void* buffer, unsigned max)
{
    CheckLoading();
    if (max == 0)
        return 0;
    auto* p = static_cast<unsigned char*>(buffer);
    unsigned done = std::min(max, m_end - m_cur);
    std::memcpy(p, m_buffer + m_cur, done);
    m_cur += done;
    unsigned rest = max - done;
    if (rest == 0)
        return max;
    if (rest >= m_bufSize)
        return done + m_file->Read(p + done, rest);
    unsigned n = std::min(rest, Fill(rest));
    std::memcpy(p + done, m_buffer + m_cur, n);
    m_cur += n;
    return done + n;
}

void CArchive::ReadExact(void* buffer, unsigned count)
{
    if (Read(buffer, count) != count)
        throw CArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Write(const void* buffer, unsigned count)
{
    CheckStoring();
    if (count == 0)
        return;
    if (count > m_bufSize - m_cur) {
        Spill();
        if (count >= m_bufSize) {
            m_file->Write(buffer, count);
            return;
        }
    }
    std::memcpy(m_buffer + m_cur, buffer, count);
    m_cur += count;
}

template <class T> CArchive& CArchive::Put(T v)
{
    CheckStoring();
    if (m_bufSize - m_cur < sizeof v)
        Spill();
    std::memcpy(m_buffer + m_cur, &v, sizeof v);
    m_cur += sizeof v;
    return *this;
}

template <class T> CArchive& CArchive::Get(T& v)
{
    CheckLoading();
    if (m_end - m_cur < sizeof v && Fill(sizeof v) < sizeof v)
        throw CArchiveException(CArchiveException::endOfFile, m_strFileName);
    std::memcpy(&v, m_buffer + m_cur, sizeof v);
    m_cur += sizeof v;
    return *this;
}

CArchive& CArchive::operator<<(bool v) { return Put<uint8_t>(v ? 1 : 0); }
CArchive& CArchive::operator<<(char v) { return Put(v); }
CArchive& CArchive::operator<<(signed char v) { return Put(v); }
CArchive& CArchive::operator<<(unsigned char v) { return Put(v); }
CArchive& CArchive::operator<<(int16_t v) { return Put(v); }
CArchive& CArchive::operator<<(uint16_t v) { return Put(v); }
CArchive& CArchive::operator<<(int32_t v) { return Put(v); }
CArchive& CArchive::operator<<(uint32_t v) { return Put(v); }
CArchive& CArchive::operator<<(long v) { return Put(v); }
CArchive& CArchive::operator<<(unsigned long v) { return Put(v); }
CArchive& CArchive::operator<<(long long v) { return Put(v); }
CArchive& CArchive::operator<<(unsigned long long v) { return Put(v); }
CArchive& CArchive::operator<<(float v) { return Put(v); }
CArchive& CArchive::operator<<(double v) { return Put(v); }

CArchive& CArchive::operator>>(bool& v)
{
    uint8_t b;
    Get(b);
    v = b != 0;
    return *this;
}
CArchive& CArchive::operator>>(char& v) { return Get(v); }
CArchive& CArchive::operator>>(signed char& v) { return Get(v); }
CArchive& CArchive::operator>>(unsigned char& v) { return Get(v); }
CArchive& CArchive::operator>>(int16_t& v) { return Get(v); }
CArchive& CArchive::operator>>(uint16_t& v) { return Get(v); }
CArchive& CArchive::operator>>(int32_t& v) { return Get(v); }
CArchive& CArchive::operator>>(uint32_t& v) { return Get(v); }
CArchive& CArchive::operator>>(long& v) { return Get(v); }
CArchive& CArchive::operator>>(unsigned long& v) { return Get(v); }
CArchive& CArchive::operator>>(long long& v) { return Get(v); }
CArchive& CArchive::operator>>(unsigned long long& v) { return Get(v); }
CArchive& CArchive::operator>>(float& v) { return Get(v); }
CArchive& CArchive::operator>>(double& v) { return Get(v); }

void CArchive::WriteStringLength(uint32_t length)
{
    if (length < 0xFF) {
        Put<uint8_t>(uint8_t(length));
    } else if (length < 0xFFFE) {
        Put<uint8_t>(0xFF);
        Put<uint16_t>(uint16_t(length));
    } else {
        // 0xFFFE itself takes the long form: FF FEFF is the wide-string marker.
        Put<uint8_t>(0xFF);
        Put<uint16_t>(0xFFFF);
        Put<uint32_t>(length);
    }
}

uint32_t CArchive::ReadStringLength(int& charSize)
{
    charSize = 1;
    uint8_t b;
    uint16_t w;
    uint32_t d;
    if (Get(b), b < 0xFF)
        return b;
    Get(w);
    if (w == 0xFFFE) {
        charSize = 2;
        if (Get(b), b < 0xFF)
            return b;
        Get(w);
    }
    if (w < 0xFFFF)
        return w;
    if (Get(d), d < 0xFFFFFFFF)
        return d;
    // A 64-bit length follows, beyond any string held here.
    throw CArchiveException(CArchiveException::badSchema, m_strFileName);
}

void CArchive::WriteCount(uint32_t count)
{
    if (count < 0xFFFF) {
        Put<uint16_t>(uint16_t(count));
    } else {
        Put<uint16_t>(0xFFFF);
        Put<uint32_t>(count);
    }
}

uint32_t CArchive::ReadCount()
{
    uint16_t w;
    uint32_t d;
    if (Get(w), w != 0xFFFF)
        return w;
    return Get(d), d;
}

void CArchive::WriteText(const char* p, uint32_t n)
{
    if (n == 0xFFFFFFFF)
        throw CArchiveException(CArchiveException::badSchema, m_strFileName);
    WriteStringLength(n);
    Write(p, n);
}

CArchive& CArchive::operator<<(const char* text)
{
    WriteText(text, text ? uint32_t(std::strlen(text)) : 0);
    return *this;
}

void CArchive::CheckRemaining(uint64_t bytes) const
{
    uint64_t buffered = m_end - m_cur;
    if (bytes <= buffered)
        return;
    uint64_t length = m_file->GetLength(), position = m_file->GetPosition();
    if (bytes > buffered + (length > position ? length - position : 0))
        throw CArchiveException(CArchiveException::endOfFile, m_strFileName);
}

// Reads a length-prefixed string into s (CString or TCString). The length is checked
// against the rest of the file before anything is allocated.
template <class S> void ReadPrefixed(CArchive& ar, S& s)
{
    int charSize;
    uint32_t n = ar.ReadStringLength(charSize);
    ar.CheckRemaining(uint64_t(n) * charSize);
    if (n == 0) {
        s.Empty();
        return;
    }
    if (charSize == 1) {
        if (n > kMaxString)
            throw CArchiveException(CArchiveException::badSchema, ar.m_strFileName);
        ar.ReadExact(s.GetBufferSetLength(int(n)), n);
        s.ReleaseBuffer(int(n));
        return;
    }
    // Up to 3 bytes of UTF-8 per code unit.
    if (n > kMaxString / 3)
        throw CArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    std::unique_ptr<char16_t[]> wide(new char16_t[n]);
    ar.ReadExact(wide.get(), n * 2);
    int length = TCWideCharToMultiByte(TC_CP_UTF8, wide.get(), int(n), nullptr, 0);
    TCWideCharToMultiByte(TC_CP_UTF8, wide.get(), int(n), s.GetBufferSetLength(length), length);
    s.ReleaseBuffer(length);
}

bool CArchive::ReadString(CString& line)
{
    CheckLoading();
    line.Empty();
    if (m_cur == m_end && Fill(1) == 0)
        return false;
    for (;;) {
        const unsigned char* start = m_buffer + m_cur;
        unsigned available = m_end - m_cur;
        auto* newline = static_cast<const unsigned char*>(std::memchr(start, '\n', available));
        unsigned take = newline ? unsigned(newline - start) : available;
        if (uint64_t(line.GetLength()) + take > kMaxString)
            throw CArchiveException(CArchiveException::badSchema, m_strFileName);
        line.Append(reinterpret_cast<const char*>(start), int(take));
        m_cur += take;
        if (newline) {
            ++m_cur;
            int n = line.GetLength();
            if (n > 0 && line[n - 1] == '\r')
                line.Truncate(n - 1);
            return true;
        }
        if (Fill(1) == 0)
            return true;
    }
}

char* CArchive::ReadString(char* buffer, unsigned max)
{
    CheckLoading();
    if (!buffer || max == 0 || (m_cur == m_end && Fill(1) == 0))
        return nullptr;
    unsigned n = 0;
    while (n + 1 < max && (m_cur < m_end || Fill(1) > 0)) {
        char c = char(m_buffer[m_cur++]);
        if (c == '\n')
            break;
        if (c == '\r' && (m_cur < m_end || Fill(1) > 0) && m_buffer[m_cur] == '\n') {
            ++m_cur;
            break;
        }
        buffer[n++] = c;
    }
    buffer[n] = 0;
    return buffer;
}

void CArchive::WriteString(const char* text)
{
    if (text)
        Write(text, unsigned(std::strlen(text)));
}

CArchive& operator<<(CArchive& ar, const CString& s)
{
    ar.WriteText(s.GetString(), uint32_t(s.GetLength()));
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& s)
{
    ReadPrefixed(ar, s);
    return ar;
}

CArchive& operator<<(CArchive& ar, const TCString& s)
{
    ar.WriteText(s, uint32_t(s.GetLength()));
    return ar;
}

CArchive& operator>>(CArchive& ar, TCString& s)
{
    ReadPrefixed(ar, s);
    return ar;
}
