// Special folder numbers mapped to XDG base and user folders and fixed system folders.
#include "corekit80/platform/TCShellFolderImpl.h"

#include <cstdio>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "corekit80/platform/TCEnvironmentImpl.h"

namespace {

// Where a special folder lives: relative to which base, and the text that completes it.
enum class Base { NONE, HOME, CONFIG_HOME, DATA_HOME, CACHE_HOME, USER_DIR, FIXED };

struct Mapping {
    int id;
    Base base;
    const char* text;  // suffix below the base; USER_DIR: the user-dirs key; FIXED: the folder
};

// Folders that have no counterpart here (virtual views, per-shell lists) map to NONE.
const Mapping kMappings[] = {
    {CSIDL_DESKTOP, Base::USER_DIR, "DESKTOP"},
    {CSIDL_INTERNET, Base::NONE, ""},
    {CSIDL_PROGRAMS, Base::DATA_HOME, "applications"},
    {CSIDL_CONTROLS, Base::NONE, ""},
    {CSIDL_PRINTERS, Base::NONE, ""},
    {CSIDL_PERSONAL, Base::USER_DIR, "DOCUMENTS"},
    {CSIDL_FAVORITES, Base::NONE, ""},
    {CSIDL_STARTUP, Base::CONFIG_HOME, "autostart"},
    {CSIDL_RECENT, Base::NONE, ""},
    {CSIDL_SENDTO, Base::NONE, ""},
    {CSIDL_BITBUCKET, Base::NONE, ""},
    {CSIDL_STARTMENU, Base::DATA_HOME, "applications"},
    {CSIDL_MYDOCUMENTS, Base::USER_DIR, "DOCUMENTS"},
    {CSIDL_MYMUSIC, Base::USER_DIR, "MUSIC"},
    {CSIDL_MYVIDEO, Base::USER_DIR, "VIDEOS"},
    {CSIDL_DESKTOPDIRECTORY, Base::USER_DIR, "DESKTOP"},
    {CSIDL_DRIVES, Base::NONE, ""},
    {CSIDL_NETWORK, Base::NONE, ""},
    {CSIDL_NETHOOD, Base::NONE, ""},
    {CSIDL_FONTS, Base::HOME, ".local/share/fonts"},
    {CSIDL_TEMPLATES, Base::USER_DIR, "TEMPLATES"},
    {CSIDL_COMMON_STARTMENU, Base::FIXED, "/usr/share/applications"},
    {CSIDL_COMMON_PROGRAMS, Base::FIXED, "/usr/share/applications"},
    {CSIDL_COMMON_STARTUP, Base::FIXED, "/etc/xdg/autostart"},
    {CSIDL_COMMON_DESKTOPDIRECTORY, Base::NONE, ""},
    {CSIDL_APPDATA, Base::CONFIG_HOME, ""},
    {CSIDL_PRINTHOOD, Base::NONE, ""},
    {CSIDL_LOCAL_APPDATA, Base::DATA_HOME, ""},
    {CSIDL_ALTSTARTUP, Base::CONFIG_HOME, "autostart"},
    {CSIDL_COMMON_ALTSTARTUP, Base::FIXED, "/etc/xdg/autostart"},
    {CSIDL_COMMON_FAVORITES, Base::NONE, ""},
    {CSIDL_INTERNET_CACHE, Base::CACHE_HOME, ""},
    {CSIDL_COOKIES, Base::NONE, ""},
    {CSIDL_HISTORY, Base::NONE, ""},
    {CSIDL_COMMON_APPDATA, Base::FIXED, "/etc/xdg"},
    {CSIDL_WINDOWS, Base::NONE, ""},
    {CSIDL_SYSTEM, Base::NONE, ""},
    {CSIDL_PROGRAM_FILES, Base::FIXED, "/opt"},
    {CSIDL_MYPICTURES, Base::USER_DIR, "PICTURES"},
    {CSIDL_PROFILE, Base::HOME, ""},
    {CSIDL_SYSTEMX86, Base::NONE, ""},
    {CSIDL_PROGRAM_FILESX86, Base::FIXED, "/opt"},
    {CSIDL_PROGRAM_FILES_COMMON, Base::FIXED, "/usr/lib"},
    {CSIDL_PROGRAM_FILES_COMMONX86, Base::FIXED, "/usr/lib"},
    {CSIDL_COMMON_TEMPLATES, Base::FIXED, "/usr/share/templates"},
    {CSIDL_COMMON_DOCUMENTS, Base::FIXED, "/usr/share/doc"},
    {CSIDL_COMMON_ADMINTOOLS, Base::NONE, ""},
    {CSIDL_ADMINTOOLS, Base::NONE, ""},
    {CSIDL_CONNECTIONS, Base::NONE, ""},
    {CSIDL_COMMON_MUSIC, Base::FIXED, "/usr/share/sounds"},
    {CSIDL_COMMON_PICTURES, Base::FIXED, "/usr/share/pixmaps"},
    {CSIDL_COMMON_VIDEO, Base::NONE, ""},
    {CSIDL_RESOURCES, Base::FIXED, "/usr/share/themes"},
    {CSIDL_RESOURCES_LOCALIZED, Base::NONE, ""},
    {CSIDL_COMMON_OEM_LINKS, Base::NONE, ""},
    {CSIDL_CDBURN_AREA, Base::NONE, ""},
    {CSIDL_COMPUTERSNEARME, Base::NONE, ""},
};

// The user-dirs file is a few hundred bytes; anything beyond this is not one.
constexpr size_t kMaxUserDirsFile = 64 * 1024;

std::string Env(const char* name)
{
    TCString value;
    TCGetEnvironmentVariable(name, value);
    return std::string(value);
}

std::string Home()
{
    std::string home = Env("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        home = found->pw_dir;
    return home;
}

// A folder below another; nothing below an unknown folder.
std::string Join(const std::string& folder, const char* suffix)
{
    return folder.empty() || !*suffix ? folder : folder + '/' + suffix;
}

// An XDG base folder: the variable when it holds an absolute path, else its default.
std::string XdgBase(const char* variable, const std::string& home, const char* fallback)
{
    std::string value = Env(variable);
    if (!value.empty() && value[0] == '/')
        return value;
    return Join(home, fallback);
}

// The value of one assignment line, without quotes and escapes; false when malformed.
bool UnquoteValue(const std::string& text, std::string& value)
{
    value.clear();
    if (text.empty() || text[0] != '"') {
        value = text.substr(0, text.find_first_of(" \t"));
        return true;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"')
            return true;
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        value += text[i];
    }
    return false;
}

// XDG_<key>_DIR from user-dirs.dirs: "$HOME/Name" or an absolute path; the last valid
// assignment counts, as when the shell reads the file. Else the folder of the same name
// below the home folder.
std::string UserDir(const char* key, const std::string& home)
{
    static const struct { const char* key; const char* fallback; } kDefaults[] = {
        {"DESKTOP", "Desktop"}, {"DOCUMENTS", "Documents"}, {"MUSIC", "Music"},
        {"VIDEOS", "Videos"},   {"PICTURES", "Pictures"},   {"TEMPLATES", "Templates"},
    };
    std::string result;
    for (const auto& d : kDefaults)
        if (std::string(d.key) == key && !home.empty())
            result = home + '/' + d.fallback;

    const std::string file = XdgBase("XDG_CONFIG_HOME", home, ".config") + "/user-dirs.dirs";
    FILE* f = fopen(file.c_str(), "re");
    if (!f)
        return result;
    std::string content(kMaxUserDirsFile, '\0');
    content.resize(fread(content.data(), 1, content.size(), f));
    fclose(f);

    const std::string prefix = std::string("XDG_") + key + "_DIR=";
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find('\n', pos);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(pos, end - pos);
        pos = end + 1;
        line.erase(0, line.find_first_not_of(" \t"));
        std::string value;
        if (line.compare(0, prefix.size(), prefix) != 0 ||
            !UnquoteValue(line.substr(prefix.size()), value))
            continue;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (home.empty())
                continue;
            value.replace(0, 5, home);
        } else if (value.empty() || value[0] != '/') {
            continue;
        }
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        result = value;
    }
    return result;
}

} // namespace

bool TCGetSpecialFolderPath(int id, TCString& folder)
{
    for (const Mapping& m : kMappings) {
        if (m.id != id)
            continue;
        std::string path;
        switch (m.base) {
        case Base::NONE: break;
        case Base::FIXED: path = m.text; break;
        case Base::HOME: path = Join(Home(), m.text); break;
        case Base::CONFIG_HOME: path = Join(XdgBase("XDG_CONFIG_HOME", Home(), ".config"), m.text); break;
        case Base::DATA_HOME: path = Join(XdgBase("XDG_DATA_HOME", Home(), ".local/share"), m.text); break;
        case Base::CACHE_HOME: path = Join(XdgBase("XDG_CACHE_HOME", Home(), ".cache"), m.text); break;
        case Base::USER_DIR: path = UserDir(m.text, Home()); break;
        }
        folder = path.c_str();
        return true;
    }
    folder = "";
    return false;
}
