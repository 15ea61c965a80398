// The text algebra of paths: roots, normal and canonical forms, folders.
#include "corekit80/foundation/TCPathTextImpl.h"

namespace {

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(std::string_view s)
{
    return s.size() >= 2 && IsDriveLetter(s[0]) && s[1] == ':';
}

// Drops the last component of out (beyond its root), unless there is none or it is "..".
bool RemoveLastComponent(std::string& out, size_t root)
{
    if (out.size() <= root)
        return false;
    // Every component in out is followed by its separator.
    const size_t end = out.size() - 1;
    size_t start = end > root ? out.rfind('\\', end - 1) : std::string::npos;
    start = start == std::string::npos || start < root ? root : start + 1;
    if (out.compare(start, end - start, "..") == 0)
        return false;
    out.resize(start);
    return true;
}

} // namespace

void TCPathText::Cut(std::string& path)
{
    if (path.size() <= kMaxLength)
        return;
    size_t n = kMaxLength;
    // A UTF-8 sequence has at most three continuation bytes.
    for (int k = 0; k < 3 && n > 0 && IsContinuationByte(path[n]); ++k)
        --n;
    path.resize(n);
}

std::string TCPathText::Normalize(std::string_view path)
{
    std::string in(path);
    Cut(in);
    for (char& c : in)
        if (c == '/')
            c = '\\';
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        if (!(i > 0 && in[i] == '\\' && i + 1 < in.size() && in[i + 1] == '\\'))
            out += in[i];
    return out;
}

size_t TCPathText::RootLength(std::string_view s)
{
    size_t end;
    if (s.size() >= 2 && s[0] == '\\' && s[1] == '\\')
        end = s.find('\\', 2);
    else if (HasDrive(s))
        return s.size() > 2 && s[2] == '\\' ? 3 : 2;
    else if (!s.empty() && s[0] == '\\')
        return 1;
    else if (!s.empty() && s[0] == '%')
        end = s.find('\\');
    else
        return 0;
    return end == std::string_view::npos ? s.size() : end + 1;
}

bool TCPathText::FoldsCase(std::string_view s)
{
    return HasDrive(s) || (s.size() >= 2 && s[0] == '\\' && s[1] == '\\');
}

std::string TCPathText::Canonical(std::string_view path)
{
    const std::string src = Normalize(path);
    const size_t root = RootLength(src);
    std::string out = src.substr(0, root);
    for (size_t i = root; i < src.size();) {
        size_t end = src.find('\\', i);
        if (end == std::string::npos)
            end = src.size();
        const std::string_view component(src.data() + i, end - i);
        if (component == "..") {
            if (!RemoveLastComponent(out, root))
                out += "..\\";
        } else if (component != ".") {
            out.append(src, i, end + 1 - i);
        }
        i = end + 1;
    }
    if (!src.empty() && RootLength(out) == 0 && (out.empty() || out[0] != '.'))
        out.insert(0, ".\\");
    TrimSeparator(out);
    Cut(out);
    return out;
}

std::string TCPathText::Directory(std::string_view s)
{
    const size_t root = RootLength(s);
    const size_t last = s.rfind('\\');
    std::string folder(s.substr(0, last == std::string_view::npos || last < root ? root : last));
    TrimSeparator(folder);
    return folder;
}

void TCPathText::TrimSeparator(std::string& s)
{
    // Only "\\" and "X:\\" need their separator to mean what they mean; a server
    // ("\\\\srv") or a placeholder ("%HOME%") names its root without one.
    const bool rootSeparator = s.size() == 1 || (s.size() == 3 && HasDrive(s));
    if (!rootSeparator && !s.empty() && s.back() == '\\')
        s.pop_back();
}
