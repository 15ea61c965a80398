// ArchiveParser: construction, loading or storing state, mode and header.
#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/types/TCMbcsImpl.h"

using Data = ArchiveParser::ArchiveData;

ArchiveParser::ArchiveParser() : m_data(new ArchiveData("", 0.0, MemManager::Process())) {}

ArchiveParser::ArchiveParser(const char* name, double version, MemManager* pool)
    : m_data(new ArchiveData(name, version, pool))
{
}

ArchiveParser::~ArchiveParser()
{
    delete m_data;
}

bool ArchiveParser::IsLoading() const { return m_data && m_data->loading; }
bool ArchiveParser::IsStoring() const { return m_data && !m_data->loading; }

void ArchiveParser::SaveAscii(int mode)
{
    if (m_data)
        m_data->SetMode(mode);
}

int ArchiveParser::SaveAscii() const { return m_data ? m_data->mode : modeBinary; }

void ArchiveParser::SetHeaderInfo(const char* name, const char* version, const char* prefix)
{
    if (!m_data)
        return;
    m_data->name = name ? name : "";
    m_data->moduleVersion = ArchiveVersionFromText(version);
    m_data->prefix = prefix ? prefix : "";
    if (m_data->mode & modeXML) {
        m_data->ownVersion = 1;
        return;
    }
    for (int i = 0; i < m_data->entries.GetSize(); ++i)
        if (m_data->entries[i]->Type() == typeSubSection && m_data->entries[i]->child)
            m_data->entries[i]->child->SetHeaderInfo(name, version, "");
}

double ArchiveParser::GetArchiveVersion() const { return m_data ? m_data->archiveVersion : 0.0; }
double ArchiveParser::GetModuleVersion() const { return m_data ? m_data->moduleVersion : 0.0; }

int ArchiveParser::CheckNewerArchive(double& archiveVersion, double& moduleVersion) const
{
    archiveVersion = GetArchiveVersion();
    moduleVersion = GetModuleVersion();
    return moduleVersion < archiveVersion ? 1 : moduleVersion > archiveVersion ? -1 : 0;
}

const char* ArchiveParser::GetFilePath() const { return m_data ? (const char*)m_data->filePath : ""; }

ArchiveParser* ArchiveParser::SubSection(unsigned short id, const char* description,
                                         bool purgeUnused)
{
    if (!m_data)
        ArchiveFatal(m_data, "Data buffer not available at %s!");
    Data::Buf* e = m_data->Find(id);
    if (e && e->Type() == typeSubSection) {
        m_data->Touch(e, description);
        if (Data* c = Data::Of(e->child)) {
            c->mode = m_data->mode;
            c->loading = m_data->loading;
            if (!c->ownVersion)
                c->archiveVersion = m_data->archiveVersion;
        }
    } else {
        e = m_data->Create(id, typeSubSection, description);
        if (!e)
            ArchiveFatal(m_data, "Cannot create new subsection at %s!");
    }
    Data* c = Data::Of(e->child);
    if (!c)
        ArchiveFatal(m_data, "Data buffer not available at %s!");
    c->purgeUntouched = purgeUnused;
    // Kept when it is right already, as it is on every pass after the first.
    int n = m_data->prefix.GetLength();
    if (c->prefix.GetLength() != n + 2 || memcmp(c->prefix, m_data->prefix, size_t(n)) != 0 ||
        memcmp((const char*)c->prefix + n, "  ", 2) != 0)
        c->prefix = TCString(m_data->prefix).Append("  ", 2);
    return e->child;
}

void ArchiveParser::DeleteEntry(unsigned short id)
{
    if (!m_data)
        ArchiveFatal(m_data, "Data buffer not available at %s!");
    // A lookup leaves the cursor just after the entry it found.
    if (m_data->Find(id))
        m_data->RemoveAt(m_data->cursor - 1);
}

unsigned short ArchiveParser::GetVarType(unsigned short index) const
{
    if (!m_data || index >= m_data->entries.GetSize())
        return 0;
    return (unsigned short)m_data->entries[index]->Type();
}

void ArchiveParser::Dump(CDumpContext&) {}

bool IsXMLArchive(const CArchive& ar)
{
    CFile* file = ar.GetFile();
    if (!file)
        return false;
    CString path = file->GetFilePath();
    int n = path.GetLength();
    return n >= 3 && TCMbsICmp((const char*)path + n - 3, "tcx") == 0;
}

bool IsXMLArchive(const ArchiveParser* const p)
{
    return p && (p->SaveAscii() & ArchiveParser::modeXML);
}
