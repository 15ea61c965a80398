// Beginning and ending a serialization: the file's form by its signature, and the listing form.
#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Data = ArchiveParser::ArchiveData;

namespace {

const char signature[9] = {'A', 'P', 'V', 'e', 'r', 's', 'i', 'o', 'n'};

enum class Signature { none, binary, xml };

// Reads the signature directly from the file; leaves the file where it was when there is none.
Signature CheckSignature(CArchive& ar, Data* d)
{
    CFile* file = ar.GetFile();
    uint64_t start = file->GetPosition();
    unsigned char head[9];
    if (file->GetLength() < start + 9 || file->Read(head, 9) != 9) {
        file->Seek(int64_t(start), CFile::begin);
        return Signature::none;
    }
    if (head[0] == 0xFF && head[1] == 0xFE && head[2] == 0x3C && head[3] == 0x00) {
        file->Seek(int64_t(start), CFile::begin);
        d->archiveVersion = 0.0;
        return Signature::xml;
    }
    if (memcmp(head, signature, 9) == 0) {
        ar >> d->archiveVersion;
        return Signature::binary;
    }
    d->archiveVersion = 0.0;
    file->Seek(int64_t(start), CFile::begin);
    return Signature::none;
}

} // namespace

bool ArchiveParser::BeginSerialize(CArchive& ar)
{
    ArchiveData* d = m_data;
    if (!d)
        ArchiveFatal(d, "Data buffer not available at %s!");
    d->SetLoading(ar.IsLoading());
    CFile* file = ar.GetFile();
    if (!file) {
        if (ar.IsLoading())
            ArchiveFatal(d, "Cannot access archive file at module %s!");
        d->filePath = "";
    } else {
        d->filePath = CString2BinTCString(file->GetFilePath());
    }
    if (ar.IsLoading()) {
        Signature sig = CheckSignature(ar, d);
        if (sig == Signature::none)
            return false;
        if (sig == Signature::xml)
            d->SetMode(modeXML);
    }
    d->cursor = 0;
    if (!ar.IsLoading()) {
        d->ResetForWriting();
        return true;
    }
    d->FreeAll();
    bool ok = false;
    try {
        ok = IsXMLArchive(ar) || (d->mode & modeXML) ? d->ReadXML(ar) : d->ReadBinary(ar, 0);
    } catch (...) {
        d->FreeAll();
        throw;
    }
    if (!ok) {
        d->FreeAll();
        ArchiveFatal(d, "Error at beginning of serialize at %s!");
    }
    return true;
}

void ArchiveParser::EndSerialize(CArchive& ar)
{
    ArchiveData* d = m_data;
    if (!d)
        ArchiveFatal(d, "Data buffer not available at %s!");
    if (ar.IsLoading()) {
        d->SetLoading(true);
        return;
    }
    if (d->mode == modeBinary) {
        ar.Write(signature, 9);
        ar << d->moduleVersion;
    } else if (d->mode == modeText) {
        TCString line;
        line.Format("%s%s: %.10G\r\n", (const char*)d->prefix, (const char*)d->name, d->moduleVersion);
        ar.Write((const char*)line, unsigned(line.GetLength()));
    }
    bool ok = true;
    if (IsXMLArchive(ar) || (d->mode & modeXML)) {
        d->SetLoading(false);
        ok = d->WriteXML(ar);
    } else if (d->mode == modeText) {
        d->SetLoading(false);
        d->Purge();
        d->WriteListing(ar);
    } else if (!(ok = d->WriteBinary(ar))) {
        // A failed write may stop early: the rest of the tree is settled here.
        d->SetLoading(false);
        d->Purge();
    }
    if (!ok)
        ArchiveFatal(d, "Error at ending of serialize at %s!");
}

void Data::WriteListing(CArchive& ar) const
{
    TCCLocaleScope c;
    for (int i = 0; i < entries.GetSize(); ++i) {
        const Buf* e = entries[i];
        if (!(e->flags & flagListed))
            continue;
        TCString line(prefix);
        if (e->description)
            line.FormatAppend("%d: %s: ", e->id, e->description);
        else
            line.FormatAppend("%d: unknown: ", e->id);
        switch (e->Type()) {
        case ArchiveParser::typeInteger: line.FormatAppend("%d", e->value.i); break;
        case ArchiveParser::typeDouble: line.FormatAppend("%.10G", e->value.d); break;
        case ArchiveParser::typeString: {
            // Continuation lines line up under the value.
            int indent = prefix.GetLength() + int(e->description ? strlen(e->description) : 0) + 2;
            for (uint32_t k = 0; k < e->length; ++k) {
                line.Append(&e->bytes[k], 1);
                if (e->bytes[k] == '\r' || e->bytes[k] == '\n')
                    line += TCString(' ', indent);
            }
            break;
        }
        case ArchiveParser::typeBinary: {
            TCString bytes;
            for (uint32_t k = 0; k < e->length && k < 8; ++k)
                bytes.FormatAppend("%.2x ", unsigned((unsigned char)e->bytes[k]));
            if (e->length > 8)
                bytes += "...";
            line.FormatAppend("Len= %d, Data= binary (%s)", int(e->length), (const char*)bytes);
            break;
        }
        }
        line += "\r\n";
        ar.Write((const char*)line, unsigned(line.GetLength()));
        if (e->Type() == ArchiveParser::typeSubSection)
            if (const Data* child = Of(e->child))
                child->WriteListing(ar);
    }
}
