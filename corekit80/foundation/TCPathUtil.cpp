// MakeAbsPath and MakeRelPath on the text algebra of paths.
#include "corekit80/foundation/TCPathUtil.h"

#include <string>

#include "corekit80/foundation/TCPathTextImpl.h"

namespace {

std::string AbsPath(const char* base, const char* path)
{
    if (!*path)
        return std::string();
    if (!*base || TCPathText::IsRooted(path))
        return TCPathText::Canonical(path);
    const std::string folder = TCPathText::Canonical(base);
    std::string joined = folder;
    if (joined.back() != '\\')
        joined += '\\';
    const std::string abs = TCPathText::Canonical(joined + path);
    // A path that leads back to the folder gives the folder itself: the joining separator
    // must not turn the drive "C:" into its root "C:\\".
    return abs == joined ? folder : abs;
}

bool StartsWith(const std::string& s, const std::string& prefix, bool foldCase)
{
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i], b = prefix[i];
        if (foldCase) {
            a = a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a;
            b = b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b;
        }
        if (a != b)
            return false;
    }
    return true;
}

std::string RelPath(const char* base, const char* path)
{
    const std::string abs = AbsPath(base, path);
    if (!TCPathText::IsRooted(abs)) {
        // Relative to a relative base: say so in front.
        if (!*base || !*path || abs == "." || abs.compare(0, 2, ".\\") == 0)
            return abs;
        std::string rel = ".\\" + abs;
        TCPathText::Cut(rel);
        return rel;
    }
    if (!*base)
        return abs;
    std::string folder = TCPathText::Canonical(base);
    const bool fold = TCPathText::FoldsCase(folder);
    if (abs.size() == folder.size() && StartsWith(abs, folder, fold))
        return ".";
    if (folder.back() != '\\')
        folder += '\\';
    // Inside means below the folder's root: "\\\\server" does not lie inside "\\".
    if (abs.size() <= folder.size() || TCPathText::RootLength(abs) > folder.size() ||
        !StartsWith(abs, folder, fold))
        return abs;
    std::string rel = ".\\" + abs.substr(folder.size());
    TCPathText::Cut(rel);
    return rel;
}

TCString ToTCString(const std::string& s)
{
    return TCString(s.data(), static_cast<int>(s.size()));
}

} // namespace

TCString MakeAbsPath(const char* base, const char* path)
{
    return ToTCString(AbsPath(base ? base : "", path ? path : ""));
}

CString MakeAbsPath(const CString& base, const CString& path)
{
    return CString(MakeAbsPath(base.GetString(), path.GetString()));
}

TCString MakeRelPath(const char* base, const char* path)
{
    return ToTCString(RelPath(base ? base : "", path ? path : ""));
}

CString MakeRelPath(const CString& base, const CString& path)
{
    return CString(MakeRelPath(base.GetString(), path.GetString()));
}
