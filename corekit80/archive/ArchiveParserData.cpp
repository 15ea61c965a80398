#include <cstdlib>
#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/foundation/TCDebugOutput.h"
#include "corekit80/platform/TCCLocaleImpl.h"

namespace {

char* CopyText(const char* text)
{
    return text ? strdup(text) : nullptr;
}

} // namespace

ArchiveParser::ArchiveData::ArchiveData(const char* name, double version, MemManager* pool)
    : pool(pool), name(name), moduleVersion(version)
{
}

ArchiveParser::ArchiveData::~ArchiveData()
{
    FreeAll();
}

ArchiveParser* ArchiveParser::ArchiveData::NewChild(const char* childName) const
{
    auto* child = new ArchiveParser(childName, moduleVersion, pool);
    child->m_data->mode = mode;
    child->m_data->loading = loading;
    child->m_data->archiveVersion = archiveVersion;
    return child;
}

ArchiveParser::ArchiveData::Buf* ArchiveParser::ArchiveData::Find(uint16_t id)
{
    int n = entries.GetSize();
    if (cursor >= 0 && cursor < n && entries[cursor]->id == id)
        return entries[cursor++];
    for (int i = 0; i < n; ++i)
        if (entries[i]->id == id) {
            cursor = i + 1;
            return entries[i];
        }
    return nullptr;
}

void ArchiveParser::ArchiveData::Touch(Buf* e, const char* description)
{
    if (mode != modeBinary) {
        free(e->description);
        e->description = CopyText(description);
    }
    // Saturates, so that a much-used entry never looks untouched.
    if (e->useCount < 255)
        ++e->useCount;
}

ArchiveParser::ArchiveData::Buf* ArchiveParser::ArchiveData::Create(uint16_t id, int type,
                                                                  const char* description)
{
    for (int i = 0; i < entries.GetSize(); ++i)
        if (entries[i]->id == id)
            return nullptr;
    Buf* e = pool->Alloc(id, type);
    if (type == typeSubSection)
        e->child = NewChild(name);
    entries.Add(e);
    Touch(e, description);
    return e;
}

void ArchiveParser::ArchiveData::RemoveAt(int index)
{
    Buf* e = entries[index];
    entries.RemoveAt(index);
    pool->Free(e);
    if (cursor > index)
        --cursor;
}

void ArchiveParser::ArchiveData::FreeAll()
{
    for (int i = 0; i < entries.GetSize(); ++i)
        pool->Free(entries[i]);
    entries.RemoveAll();
    cursor = 0;
}

void ArchiveParser::ArchiveData::SetMode(int newMode)
{
    mode = newMode;
    for (int i = 0; i < entries.GetSize(); ++i)
        if (ArchiveData* c = Of(entries[i]->Type() == typeSubSection ? entries[i]->child : nullptr))
            c->SetMode(newMode);
}

void ArchiveParser::ArchiveData::SetLoading(bool isLoading)
{
    loading = isLoading;
    for (int i = 0; i < entries.GetSize(); ++i)
        if (ArchiveData* c = Of(entries[i]->Type() == typeSubSection ? entries[i]->child : nullptr))
            c->SetLoading(isLoading);
}

void ArchiveParser::ArchiveData::ResetForWriting()
{
    archiveVersion = moduleVersion;
    for (int i = 0; i < entries.GetSize(); ++i) {
        entries[i]->useCount = 0;
        if (ArchiveData* c = Of(entries[i]->Type() == typeSubSection ? entries[i]->child : nullptr))
            c->ResetForWriting();
    }
}

void ArchiveParser::ArchiveData::Purge()
{
    for (int i = entries.GetSize() - 1; i >= 0; --i) {
        if (ArchiveData* c = Of(entries[i]->Type() == typeSubSection ? entries[i]->child : nullptr))
            c->Purge();
        if (purgeUntouched && entries[i]->useCount == 0)
            RemoveAt(i);
    }
}

void ArchiveFatal(const ArchiveParser::ArchiveData* data, const char* message)
{
    if (!message || !*message)
        message = "Error loading %s!";
    const char* name = data ? (const char*)data->name : "unknown module";
    TCString text;
    const char* at = strstr(message, "%s");
    if (at)
        text.Append(message, int(at - message)).Append(name, int(strlen(name))).Append(at + 2, int(strlen(at + 2)));
    else
        text = message;
    TCOutputDebugString(TCString(text).Append("\n", 1));
    AfxThrowArchiveException(CArchiveException::badSchema,
                             data ? (const char*)data->filePath : nullptr);
}

double ArchiveVersionFromText(const char* text)
{
    if (!text)
        return 0.0;
    while (*text && !(*text >= '0' && *text <= '9'))
        ++text;
    return *text ? strtod_l(text, nullptr, TCCLocale()) : 0.0;
}
