#pragma once

// CMemFile, a file in memory with the interface of CFile.

#include <cstddef>
#include <cstdint>

#include "corekit80/platform/CFile.h"
#include "corekit80/types/TCExport.h"

// A file in memory with the interface of CFile. It owns a malloc'ed buffer that grows
// in steps of at least growBytes, or works in a buffer given by the caller: with
// growBytes 0 that buffer stays the caller's and cannot grow (a write beyond it throws
// CFileException diskFull); with growBytes above 0 the file takes it over and grows it
// with realloc. The file is at most 4 GiB long.
class TC_EXPORT CMemFile : public CFile {
public:
    explicit CMemFile(unsigned growBytes = 1024);
    CMemFile(unsigned char* buffer, unsigned size, unsigned growBytes = 0);
    ~CMemFile() override;

    // Gives the file this buffer (of which size bytes are the content), as the
    // constructor does, after closing the file.
    void Attach(unsigned char* buffer, unsigned size, unsigned growBytes = 0);
    // Takes the buffer away from the file, which becomes empty. An owned buffer is the
    // caller's to free (with free()).
    unsigned char* Detach();
    // The content: GetLength() bytes (null when empty).
    const unsigned char* GetData() const { return m_buffer; }

    // A memory file has no file to open.
    bool Open(const char* fileName, unsigned openFlags, CFileException* error = nullptr) override;
    // Both empty the file and free an owned buffer.
    void Close() override;
    void Abort() override;
    void Flush() override;

    uint64_t GetPosition() const override;
    uint64_t GetLength() const override;
    void SetLength(uint64_t newLength) override;
    uint64_t Seek(int64_t offset, unsigned from) override;
    unsigned Read(void* buffer, unsigned count) override;
    void Write(const void* buffer, unsigned count) override;

private:
    void Grow(uint64_t size);

    unsigned char* m_buffer;
    size_t m_size;        // content length
    size_t m_capacity;    // bytes of the buffer
    size_t m_position;    // may lie beyond the content; a write there fills the gap with zeros
    unsigned m_growBytes;
    bool m_owned;
};
