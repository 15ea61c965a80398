// ModuleLibrary: finding module libraries, loading them and checking their exports.
#include "ModuleLibrary.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "corekit80/modules/TCInterfaceVersion.h"

namespace {
bool IsFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// <prefix>/<libdir>/flowdeck for a program installed as <prefix>/bin/flowdeck, where the
// sample modules are installed.
std::string InstalledFolder()
{
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return {};
    std::string path(exe, size_t(n));
    for (int up = 0; up < 2; ++up) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return {};
        path.resize(slash);
    }
    return path + "/" FLOWDECK_LIBDIR "/flowdeck";
}

void Split(const char* list, std::vector<std::string>& into)
{
    std::string item;
    for (const char* p = list;; ++p) {
        if (*p == ':' || !*p) {
            if (!item.empty())
                into.push_back(item);
            item.clear();
            if (!*p)
                return;
        } else {
            item += *p;
        }
    }
}
}

ModuleSearch ModuleSearch::FromEnvironment(const std::vector<std::string>& commandLine)
{
    ModuleSearch search;
    for (const std::string& folders : commandLine)
        Split(folders.c_str(), search.folders);
    if (const char* env = std::getenv("FLOWDECK_MODULE_PATH"))
        Split(env, search.folders);
    const std::string installed = InstalledFolder();
    if (!installed.empty())
        search.folders.push_back(installed);
    return search;
}

std::string ModuleSearch::Resolve(const std::string& name, const std::string& base, std::string* tried) const
{
    if (name.empty())
        return {};
    if (name[0] == '/') {
        if (tried)
            *tried = name;
        return IsFile(name) ? name : std::string();
    }
    std::vector<std::string> places{base.empty() ? "." : base};
    places.insert(places.end(), folders.begin(), folders.end());
    for (const std::string& folder : places) {
        const std::string candidate = folder + "/" + name;
        if (tried)
            *tried += (tried->empty() ? "" : ", ") + folder;
        if (IsFile(candidate))
            return candidate;
    }
    return {};
}

bool ModuleLibrary::Load(const std::string& name, const std::string& base, const ModuleSearch& search,
                         const std::string& what, Problems& problems)
{
    std::string tried;
    m_path = search.Resolve(name, base, &tried);
    if (m_path.empty()) {
        problems.Add(HS_LIBRARY_MISSING,
                     Format("%s: %s not found (looked in %s)", what.c_str(), name.c_str(), tried.c_str()));
        return false;
    }
    // A name without a slash would make the dynamic linker search its own path instead.
    const std::string file = m_path[0] == '/' ? m_path : "./" + m_path;
    if (!m_library.Open(file.c_str())) {
        problems.Add(HS_LIBRARY_MISSING,
                     Format("%s: %s cannot be loaded: %s", what.c_str(), m_path.c_str(), m_library.Error()));
        return false;
    }
    m_create = reinterpret_cast<TCCreateModuleFn>(m_library.Symbol("TCCreateModule"));
    m_typeNames = reinterpret_cast<TCModuleTypeNamesFn>(m_library.Symbol("TCModuleTypeNames"));
    m_serialize = reinterpret_cast<TCSerializeModuleFn>(m_library.Symbol("TCSerializeModule"));
    const char* missing = !m_create ? "TCCreateModule" : !m_typeNames ? "TCModuleTypeNames" : nullptr;
    if (missing) {
        problems.Add(HS_NO_FACTORY, Format("%s: %s is no module library: it does not export %s", what.c_str(),
                                           m_path.c_str(), missing));
        m_library.Close();
        return false;
    }
    if (RequiredVersion() > INTERFACE_VERSION) {
        problems.Add(HS_NO_FACTORY, Format("%s: %s needs module interface %d, this host has %d", what.c_str(),
                                           m_path.c_str(), RequiredVersion(), INTERFACE_VERSION));
        m_library.Close();
        return false;
    }
    return true;
}

std::vector<std::string> ModuleLibrary::TypeNames() const
{
    std::vector<std::string> names;
    const char* const* list = m_typeNames ? m_typeNames() : nullptr;
    for (; list && *list && names.size() < 10000; ++list)
        names.emplace_back(*list);
    return names;
}

bool ModuleLibrary::MakesType(const std::string& type) const
{
    for (const std::string& name : TypeNames())
        if (name == type)
            return true;
    return false;
}

TCBaseModule* ModuleLibrary::Create(const std::string& type, int instance) const
{
    return m_create ? m_create(type.c_str(), instance) : nullptr;
}

int ModuleLibrary::ProvidedVersion() const { return TCGetInterfaceVersionProvidedByBase(Handle()); }
int ModuleLibrary::RequiredVersion() const { return TCGetInterfaceVersionRequiredByBase(Handle()); }
