#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"

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
    d->SetLoading(ar.IsLoading());
    if (ar.IsLoading())
        return;
    if (d->mode == modeBinary) {
        ar.Write(signature, 9);
        ar << d->moduleVersion;
    } else if (d->mode == modeText) {
        TCString line;
        line.Format("%s%s: %.10G\r\n", (const char*)d->prefix, (const char*)d->name, d->moduleVersion);
        ar.Write((const char*)line, unsigned(line.GetLength()));
    }
    bool ok;
    if (IsXMLArchive(ar) || (d->mode & modeXML)) {
        ok = d->WriteXML(ar);
    } else {
        d->Purge();
        ok = true;
        if (d->mode == modeText)
            d->WriteListing(ar);
        else
            ok = d->WriteBinary(ar);
    }
    if (!ok)
        ArchiveFatal(d, "Error at ending of serialize at %s!");
}
