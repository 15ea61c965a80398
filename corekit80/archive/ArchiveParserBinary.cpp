// The binary form of archive trees: reading and writing sections and entries.
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "corekit80/archive/ArchiveParserImpl.h"

using Data = ArchiveParser::ArchiveData;
using Buf = Data::Buf;

namespace {

// Bytes left in the file behind a loading archive.
uint64_t Remaining(CArchive& ar)
{
    CFile* file = ar.GetFile();
    uint64_t length = file->GetLength(), position = file->GetPosition();
    return length > position ? length - position : 0;
}

// Reads one payload into e; false when the data is not a valid archive.
bool ReadPayload(CArchive& ar, const Data& d, Buf* e, int depth)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: ar >> e->value.i; return true;
    case ArchiveParser::typeDouble: ar >> e->value.d; return true;
    case ArchiveParser::typeString: {
        TCString s;
        ar >> s;
        e->bytes = static_cast<char*>(malloc(size_t(s.GetLength()) + 1));
        if (!e->bytes)
            throw std::bad_alloc();
        memcpy(e->bytes, (const char*)s, size_t(s.GetLength()) + 1);
        e->length = uint32_t(s.GetLength());
        return true;
    }
    case ArchiveParser::typeBinary: {
        uint32_t n;
        ar >> n;
        if (n > Remaining(ar))
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        if (n) {
            if (!(e->bytes = static_cast<char*>(malloc(n))))
                throw std::bad_alloc();
            e->length = n;
            ar.Read(e->bytes, n);
        }
        return true;
    }
    case ArchiveParser::typeSubSection:
        if (depth >= Data::maxDepth)
            return false;
        e->child = d.NewChild(d.name);
        return Data::Of(e->child)->ReadBinary(ar, depth + 1);
    }
    return false;
}

// Binary records are composed in a block of their own, which goes to the archive 64 KiB at a
// time: one archive call per block instead of two or three per record, and few write calls.
class RecordBlock {
public:
    explicit RecordBlock(CArchive& ar) : m_ar(ar), m_block(new unsigned char[size]) {}

    void Put(const void* p, size_t n)
    {
        if (n > size - m_used) {
            Flush();
            if (n > size) {
                m_ar.Write(p, unsigned(n));
                return;
            }
        }
        memcpy(m_block.get() + m_used, p, n);
        m_used += n;
    }
    // A length-prefixed text as the archive writes it: a short text carries its length in
    // one byte; the longer forms are left to the archive.
    void Text(const char* p, uint32_t n)
    {
        if (n < 0xFF) {
            const uint8_t length = uint8_t(n);
            Put(&length, 1);
            Put(p, n);
        } else {
            Flush();
            m_ar.WriteText(p, n);
        }
    }
    void Flush()
    {
        if (m_used)
            m_ar.Write(m_block.get(), unsigned(m_used));
        m_used = 0;
    }

private:
    static constexpr size_t size = 1 << 16;
    CArchive& m_ar;
    std::unique_ptr<unsigned char[]> m_block;
    size_t m_used = 0;
};

bool WriteEntries(Data& d, RecordBlock& block)
{
    d.loading = 0;
    d.PurgeOwn();
    static_assert(std::endian::native == std::endian::little, "records are copied as they lie in memory");
    const uint32_t count = uint32_t(d.entries.GetSize());
    block.Put(&count, 4);
    bool ok = true;
    for (uint32_t i = 0; i < count; ++i) {
        const Buf* e = d.entries[int(i)];
        // Identifier, type and a fixed-size payload go out in one piece.
        unsigned char record[16];
        uint32_t head[2] = {e->id, uint32_t(e->Type())};
        memcpy(record, head, 8);
        unsigned size = 8;
        switch (e->Type()) {
        case ArchiveParser::typeInteger: memcpy(record + 8, &e->value.i, 4); size = 12; break;
        case ArchiveParser::typeDouble: memcpy(record + 8, &e->value.d, 8); size = 16; break;
        case ArchiveParser::typeBinary:
            if (!e->bytes && e->length)
                return false;
            memcpy(record + 8, &e->length, 4);
            size = 12;
            break;
        }
        block.Put(record, size);
        switch (e->Type()) {
        case ArchiveParser::typeInteger:
        case ArchiveParser::typeDouble: break;
        case ArchiveParser::typeString: block.Text(e->bytes ? e->bytes : "", e->length); break;
        case ArchiveParser::typeBinary:
            if (e->length)
                block.Put(e->bytes, e->length);
            break;
        case ArchiveParser::typeSubSection:
            if (!Data::Of(e->child))
                return false;
            if (!WriteEntries(*Data::Of(e->child), block))
                ok = false;
            break;
        default: ok = false;
        }
    }
    return ok;
}

} // namespace

bool Data::ReadBinary(CArchive& ar, int depth)
{
    uint32_t count;
    ar >> count;
    bool ok = true;
    // Entries are taken one record at a time, so a huge count ends at the end of the data.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t id, type;
        ar >> id >> type;
        if (type < ArchiveParser::typeInteger || type > ArchiveParser::typeSubSection || id > 0xFFFF) {
            // The payload's size is unknown, so the next bytes are read as the next record.
            ok = false;
            continue;
        }
        Buf* e = pool->Alloc(uint16_t(id), int(type));
        Append(e);
        if (!ReadPayload(ar, *this, e, depth))
            return false;
    }
    return ok;
}

bool Data::WriteBinary(CArchive& ar)
{
    RecordBlock block(ar);
    bool ok = WriteEntries(*this, block);
    block.Flush();
    return ok;
}
