// TCFilePath: the path and its default folder, name parts, and creating folders.
#include "corekit80/foundation/TCFilePath.h"

#include <string>

#include "corekit80/foundation/TCPathTextImpl.h"
#include "corekit80/foundation/TCPathUtil.h"
#include "corekit80/platform/TCFileSystem.h"

namespace {

constexpr unsigned kMessageSetText = 12;

// The last component of a path that may have been edited with either separator.
TCString LastComponent(const TCString& path)
{
    const char* text = path;
    int start = 0;
    for (int i = 0; text[i]; ++i)
        if (text[i] == '\\' || text[i] == '/')
            start = i + 1;
    return TCString(text + start);
}

// Position of the extension's dot in a file name; -1 without one ("." and ".." have none).
int ExtensionDot(const TCString& name)
{
    if (name == "." || name == "..")
        return -1;
    return name.ReverseFind('.');
}

} // namespace

TCFilePath::TCFilePath() : m_resolveCSIDL(true), m_resolveEnvironment(true) {}

TCFilePath::TCFilePath(const char* path) : TCFilePath()
{
    SetPath(path);
}

bool TCFilePath::IsAbsolute(const char* path)
{
    return TCPathText::IsRooted(path ? path : "");
}

bool TCFilePath::CreateRecursiveDirectory(const char* path, SECURITY_ATTRIBUTES* attributes)
{
    std::string folder = TCPathText::Normalize(path ? path : "");
    TCPathText::TrimSeparator(folder);
    if (folder.empty())
        return false;
    switch (TCCreateDirectory(folder.c_str())) {
    case TC_DIR_CREATED:
    case TC_DIR_EXISTS:
        return true;
    case TC_DIR_NO_PARENT: {
        const std::string parent = TCPathText::Directory(folder);
        if (parent.empty() || parent == folder)
            return false;
        CreateRecursiveDirectory(parent.c_str(), attributes);
        const TCCreateDirectoryResult again = TCCreateDirectory(folder.c_str());
        return again == TC_DIR_CREATED || again == TC_DIR_EXISTS;
    }
    case TC_DIR_FAILED:
        break;
    }
    return false;
}

bool TCFilePath::SetDefPath(const char* path)
{
    const TCString folder(TCPathText::Canonical(path ? path : "").c_str());
    bool changed = folder != m_defPath;
    const bool wasEmpty = m_defPath.IsEmpty();
    m_defPath = folder;
    // A path stored before there was a default folder becomes relative to it now.
    if (wasEmpty && SetPath(m_path))
        changed = true;
    if (changed)
        m_absPath.Empty();
    return changed;
}

bool TCFilePath::SetPath(const char* path)
{
    const TCString stored = MakeRelPath(m_defPath, path);
    if (stored == m_path)
        return false;
    m_path = stored;
    m_absPath.Empty();
    return true;
}

void TCFilePath::BuildPath() const
{
    if (m_path == m_builtPath && !m_absPath.IsEmpty())
        return;
    m_builtPath = m_path;
    TCString folder(m_defPath), path(m_path);
    Resolve(folder, m_resolveCSIDL, m_resolveEnvironment);
    Resolve(path, m_resolveCSIDL, m_resolveEnvironment);
    m_absPath = MakeAbsPath(folder, path);
}

const TCString& TCFilePath::GetAbsPath() const
{
    BuildPath();
    return m_absPath;
}

const TCString& TCFilePath::GetRelPath() const
{
    BuildPath();
    return m_path;
}

TCString& TCFilePath::GetPathRef()
{
    BuildPath();
    return m_path;
}

bool TCFilePath::HasChanged()
{
    m_path.Replace('/', '\\');
    return m_path != m_builtPath;
}

TCString TCFilePath::GetFileName() const
{
    return LastComponent(m_path);
}

TCString TCFilePath::GetFileTitle() const
{
    const TCString name = LastComponent(m_path);
    const int dot = ExtensionDot(name);
    return dot < 0 ? name : name.Left(dot);
}

TCString TCFilePath::GetFileExt() const
{
    const TCString name = LastComponent(m_path);
    const int dot = ExtensionDot(name);
    return dot < 0 ? TCString() : name.Mid(dot);
}

TCString TCFilePath::GetDirectory() const
{
    const std::string folder = TCPathText::Directory(static_cast<const char*>(GetAbsPath()));
    return TCString(folder.c_str());
}

void TCFilePath::EnableResolveCSIDL(bool enable)
{
    if (enable != m_resolveCSIDL)
        m_absPath.Empty();
    m_resolveCSIDL = enable;
}

void TCFilePath::EnableResolveEnvironment(bool enable)
{
    if (enable != m_resolveEnvironment)
        m_absPath.Empty();
    m_resolveEnvironment = enable;
}

bool TCFilePath::CreateRecursiveDirectory(SECURITY_ATTRIBUTES* attributes) const
{
    return CreateRecursiveDirectory(GetDirectory(), attributes);
}

long TCFilePath::GetMessage(unsigned int message, long param)
{
    if (message != kMessageSetText)
        return 0;
    return SetDefPath(reinterpret_cast<const char*>(param)) ? 1 : 0;
}
