#include <bit>
#include <cstdlib>
#include <cstring>
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

bool Data::WriteBinary(CArchive& ar) const
{
    static_assert(std::endian::native == std::endian::little, "records are copied as they lie in memory");
    ar << uint32_t(entries.GetSize());
    bool ok = true;
    for (int i = 0; i < entries.GetSize(); ++i) {
        const Buf* e = entries[i];
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
        ar.Write(record, size);
        switch (e->Type()) {
        case ArchiveParser::typeInteger:
        case ArchiveParser::typeDouble: break;
        case ArchiveParser::typeString: ar.WriteText(e->bytes ? e->bytes : "", e->length); break;
        case ArchiveParser::typeBinary:
            if (e->length)
                ar.Write(e->bytes, e->length);
            break;
        case ArchiveParser::typeSubSection:
            if (!Of(e->child))
                return false;
            if (!Of(e->child)->WriteBinary(ar))
                ok = false;
            break;
        default: ok = false;
        }
    }
    return ok;
}
