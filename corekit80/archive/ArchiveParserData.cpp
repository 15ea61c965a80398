// ArchiveData, one section of an archive tree: entries, lookup, modes and fatal errors.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <cstring>
#include <string>
#include <string_view>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/types/TCCLocaleImpl.h"

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
    int i = IndexOf(id);
    if (i < 0)
        return nullptr;
    cursor = i + 1;
    return entries[i];
}

int ArchiveParser::ArchiveData::IndexOf(uint16_t id) const
{
    int n = entries.GetSize();
    // A new identifier after the last is the common case of writing.
    if (n == 0 || (ascending && entries[n - 1]->id < id))
        return -1;
    if (!ascending && !IndexById())
        return Scan(id);
    auto position = [&](int k) { return ascending ? k : byId[size_t(k)]; };
    int low = 0, high = n;
    while (low < high) {
        int middle = (low + high) / 2;
        if (entries[position(middle)]->id < id)
            low = middle + 1;
        else
            high = middle;
    }
    return low < n && entries[position(low)]->id == id ? position(low) : -1;
}

int ArchiveParser::ArchiveData::Scan(uint16_t id) const
{
    for (int i = 0; i < entries.GetSize(); ++i)
        if (entries[i]->id == id)
            return i;
    return -1;
}

bool ArchiveParser::ArchiveData::IndexById() const
{
    size_t n = size_t(entries.GetSize());
    if (byId.size() == n)
        return true;
    try {
        byId.resize(n);
    } catch (const std::bad_alloc&) {
        byId.clear();
        return false;
    }
    for (size_t i = 0; i < n; ++i)
        byId[i] = int(i);
    // Stable, so that the first of equal identifiers is found, as a scan finds it.
    std::stable_sort(byId.begin(), byId.end(), [&](int a, int b) { return entries[a]->id < entries[b]->id; });
    return true;
}

void ArchiveParser::ArchiveData::Append(Buf* e)
{
    int n = entries.GetSize();
    ascending = ascending && (n == 0 || entries[n - 1]->id < e->id);
    entries.Add(e);
    if (ascending || byId.size() != size_t(n))
        return;
    auto at = std::upper_bound(byId.begin(), byId.end(), e->id,
                               [&](uint16_t id, int k) { return id < entries[k]->id; });
    try {
        byId.insert(at, n);
    } catch (const std::bad_alloc&) {
        byId.clear();
    }
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
    if (IndexOf(id) >= 0)
        return nullptr;
    Buf* e = pool->Alloc(id, type);
    if (type == typeSubSection)
        e->child = NewChild(name);
    Append(e);
    Touch(e, description);
    return e;
}

void ArchiveParser::ArchiveData::RemoveAt(int index)
{
    Buf* e = entries[index];
    entries.RemoveAt(index);
    byId.clear();
    pool->Free(e);
    if (cursor > index)
        --cursor;
}

void ArchiveParser::ArchiveData::FreeAll()
{
    if (entries.GetSize())
        pool->Free(entries.GetData(), entries.GetSize());
    entries.RemoveAll();
    cursor = 0;
    ascending = true;
    byId.clear();
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
    PurgeOwn();
    for (int i = 0; i < entries.GetSize(); ++i)
        if (ArchiveData* c = Of(entries[i]->Type() == typeSubSection ? entries[i]->child : nullptr))
            c->Purge();
}

void ArchiveParser::ArchiveData::PurgeOwn()
{
    if (!purgeUntouched)
        return;
    for (int i = entries.GetSize() - 1; i >= 0; --i)
        if (entries[i]->useCount == 0)
            RemoveAt(i);
}

void ArchiveFatal(const ArchiveParser::ArchiveData* data, const char* message)
{
    if (!message || !*message)
        message = "Error loading %s!";
    const char* name = data ? (const char*)data->name : "unknown module";
    const char* file = data ? (const char*)data->filePath : "";
    std::string_view text(message), before, after;
    size_t at = text.find("%s");
    if (at == std::string_view::npos) {
        before = text;
    } else {
        before = text.substr(0, at);
        after = text.substr(at + 2);
        // "... at %s!" of a section without a name: the place is left out, not left empty.
        size_t place = before.rfind(" at ");
        if (!*name && place != std::string_view::npos)
            before = before.substr(0, place);
    }
    std::string out(before);
    if (at != std::string_view::npos)
        out += name;
    if (*file)
        out.append(" in file ").append(file);
    out.append(after).append("\n");
    TCOutputDebugString(out.c_str());
    AfxThrowArchiveException(CArchiveException::badSchema, *file ? file : nullptr);
}

double ArchiveVersionFromText(const char* text)
{
    if (!text)
        return 0.0;
    while (*text && !(*text >= '0' && *text <= '9'))
        ++text;
    return *text ? strtod_l(text, nullptr, TCCLocale()) : 0.0;
}
