// Output files written under a temporary name and renamed when complete.
#include "PendingFile.h"

#include <cerrno>
#include <cstring>

bool PendingFile::Open(const char* path)
{
    Discard();
    m_path = path;
    m_temp = m_path;
    m_temp += ".part";
    m_error.Empty();
    m_file = std::fopen(m_temp, "wb");
    if (!m_file)
        m_error.Format("cannot create %s: %s", static_cast<const char*>(m_temp), std::strerror(errno));
    return m_file != nullptr;
}

bool PendingFile::Write(const TCString& text)
{
    if (!m_file)
        return false;
    const size_t n = size_t(text.GetLength());
    return std::fwrite(static_cast<const char*>(text), 1, n, m_file) == n || Failed("cannot write");
}

bool PendingFile::Commit()
{
    if (!m_file)
        return false;
    const bool flushed = std::fflush(m_file) == 0 && !std::ferror(m_file);
    if (!flushed)
        return Failed("cannot write");
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0 || std::rename(m_temp, m_path) != 0) {
        m_error.Format("cannot complete %s: %s", static_cast<const char*>(m_path), std::strerror(errno));
        std::remove(m_temp);
        return false;
    }
    return true;
}

void PendingFile::Discard()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    std::remove(m_temp);
}

bool PendingFile::Failed(const char* what)
{
    m_error.Format("%s %s: %s", what, static_cast<const char*>(m_temp), std::strerror(errno));
    Discard();
    return false;
}
