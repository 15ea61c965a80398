// TCFilePath's placeholders: special folders (%CSIDL_...%) and environment variables.
#include "corekit80/foundation/TCFilePath.h"

#include <cstring>
#include <map>
#include <string>

#include "corekit80/platform/TCEnvironmentImpl.h"
#include "corekit80/platform/TCShellFolderImpl.h"

namespace {

const char kShellPrefix[] = "%CSIDL_";
const char kCreateFlag[] = "CSIDL_FLAG_CREATE";

#define TC_FOLDER(name) {#name, name}
const struct {
    const char* name;
    int id;
} kFolders[] = {
    TC_FOLDER(CSIDL_DESKTOP), TC_FOLDER(CSIDL_INTERNET), TC_FOLDER(CSIDL_PROGRAMS),
    TC_FOLDER(CSIDL_CONTROLS), TC_FOLDER(CSIDL_PRINTERS), TC_FOLDER(CSIDL_PERSONAL),
    TC_FOLDER(CSIDL_FAVORITES), TC_FOLDER(CSIDL_STARTUP), TC_FOLDER(CSIDL_RECENT),
    TC_FOLDER(CSIDL_SENDTO), TC_FOLDER(CSIDL_BITBUCKET), TC_FOLDER(CSIDL_STARTMENU),
    TC_FOLDER(CSIDL_MYDOCUMENTS), TC_FOLDER(CSIDL_MYMUSIC), TC_FOLDER(CSIDL_MYVIDEO),
    TC_FOLDER(CSIDL_DESKTOPDIRECTORY), TC_FOLDER(CSIDL_DRIVES), TC_FOLDER(CSIDL_NETWORK),
    TC_FOLDER(CSIDL_NETHOOD), TC_FOLDER(CSIDL_FONTS), TC_FOLDER(CSIDL_TEMPLATES),
    TC_FOLDER(CSIDL_COMMON_STARTMENU), TC_FOLDER(CSIDL_COMMON_PROGRAMS),
    TC_FOLDER(CSIDL_COMMON_STARTUP), TC_FOLDER(CSIDL_COMMON_DESKTOPDIRECTORY),
    TC_FOLDER(CSIDL_APPDATA), TC_FOLDER(CSIDL_PRINTHOOD), TC_FOLDER(CSIDL_LOCAL_APPDATA),
    TC_FOLDER(CSIDL_ALTSTARTUP), TC_FOLDER(CSIDL_COMMON_ALTSTARTUP),
    TC_FOLDER(CSIDL_COMMON_FAVORITES), TC_FOLDER(CSIDL_INTERNET_CACHE), TC_FOLDER(CSIDL_COOKIES),
    TC_FOLDER(CSIDL_HISTORY), TC_FOLDER(CSIDL_COMMON_APPDATA), TC_FOLDER(CSIDL_WINDOWS),
    TC_FOLDER(CSIDL_SYSTEM), TC_FOLDER(CSIDL_PROGRAM_FILES), TC_FOLDER(CSIDL_MYPICTURES),
    TC_FOLDER(CSIDL_PROFILE), TC_FOLDER(CSIDL_SYSTEMX86), TC_FOLDER(CSIDL_PROGRAM_FILESX86),
    TC_FOLDER(CSIDL_PROGRAM_FILES_COMMON), TC_FOLDER(CSIDL_PROGRAM_FILES_COMMONX86),
    TC_FOLDER(CSIDL_COMMON_TEMPLATES), TC_FOLDER(CSIDL_COMMON_DOCUMENTS),
    TC_FOLDER(CSIDL_COMMON_ADMINTOOLS), TC_FOLDER(CSIDL_ADMINTOOLS), TC_FOLDER(CSIDL_CONNECTIONS),
    TC_FOLDER(CSIDL_COMMON_MUSIC), TC_FOLDER(CSIDL_COMMON_PICTURES), TC_FOLDER(CSIDL_COMMON_VIDEO),
    TC_FOLDER(CSIDL_RESOURCES), TC_FOLDER(CSIDL_RESOURCES_LOCALIZED),
    TC_FOLDER(CSIDL_COMMON_OEM_LINKS), TC_FOLDER(CSIDL_CDBURN_AREA),
    TC_FOLDER(CSIDL_COMPUTERSNEARME), TC_FOLDER(CSIDL_FLAG_CREATE),
};
#undef TC_FOLDER

bool IsFlagSeparator(char c)
{
    return c == '|' || c == '&';
}

} // namespace

int TCFilePath::CSIDL2ID(const char* name)
{
    for (const auto& folder : kFolders)
        if (name && strcmp(folder.name, name) == 0)
            return folder.id;
    return -1;
}

bool TCFilePath::FindCSIDL(const char* path, int from, int& begin, int& end)
{
    const char* open = strstr(path + from, kShellPrefix);
    const char* close = open ? strchr(open + strlen(kShellPrefix), '%') : nullptr;
    if (!close)
        return false;
    begin = static_cast<int>(open - path);
    end = static_cast<int>(close - path);
    return true;
}

bool TCFilePath::FindEnvironment(const char* path, int from, int& begin, int& end)
{
    const char* open = strchr(path + from, '%');
    const char* close = open ? strchr(open + 1, '%') : nullptr;
    if (!close)
        return false;
    begin = static_cast<int>(open - path);
    end = static_cast<int>(close - path);
    return true;
}

bool TCFilePath::ResolveCSIDL(const char* placeholder, TCString& value)
{
    value = "";
    std::string name(placeholder ? placeholder : "");
    bool create = false;
    for (size_t at; (at = name.find(kCreateFlag)) != std::string::npos;) {
        size_t first = at, last = at + strlen(kCreateFlag);
        while (first > 0 && IsFlagSeparator(name[first - 1]))
            --first;
        while (last < name.size() && IsFlagSeparator(name[last]))
            ++last;
        name.erase(first, last - first);
        create = true;
    }
    const int id = CSIDL2ID(name.c_str());
    if (id < 0 || !TCGetSpecialFolderPath(id, value))
        return false;
    if (create && !value.IsEmpty())
        CreateRecursiveDirectory(value);
    return true;
}

bool TCFilePath::ResolveEnvironment(const char* name, TCString& value)
{
    TCGetEnvironmentVariable(name, value);
    return !value.IsEmpty();
}

int TCFilePath::Resolve(TCString& path, bool shellFolders, bool environment)
{
    const std::string text(static_cast<const char*>(path));
    std::string out;
    int count = 0;
    // A variable named again gets the value it got first and counts once.
    std::map<std::string, std::string> values;
    auto appendLiteral = [&](const std::string& literal) {
        int from = 0, begin, end;
        while (environment && FindEnvironment(literal.c_str(), from, begin, end)) {
            out.append(literal, from, begin - from);
            const std::string name = literal.substr(begin + 1, end - begin - 1);
            auto known = values.find(name);
            if (known == values.end()) {
                TCString value;
                if (ResolveEnvironment(name.c_str(), value))
                    ++count;
                known = values.emplace(name, static_cast<const char*>(value)).first;
            }
            out += known->second;
            from = end + 1;
        }
        out.append(literal, from);
    };
    // Values put in are never searched again: only the text around special folders is
    // searched for environment variables.
    int from = 0, begin, end;
    while (shellFolders && FindCSIDL(text.c_str(), from, begin, end)) {
        appendLiteral(text.substr(from, begin - from));
        TCString value;
        if (ResolveCSIDL(text.substr(begin + 1, end - begin - 1).c_str(), value))
            ++count;
        out += value;
        from = end + 1;
    }
    appendLiteral(text.substr(from));
    path = out.c_str();
    return count;
}

int TCFilePath::Resolve(CString& path, bool shellFolders, bool environment)
{
    TCString text(path.GetString());
    const int count = Resolve(text, shellFolders, environment);
    path = static_cast<const char*>(text);
    return count;
}
