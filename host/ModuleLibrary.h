#pragma once

// ModuleLibrary, a module library found along the search path and loaded.

#include <string>
#include <vector>

#include "HostStatus.h"
#include "corekit80/modules/TCModuleLibrary.h"
#include "corekit80/platform/TCSharedLibrary.h"

// Where module libraries are looked for (see Resolve for the order).
struct ModuleSearch {
    // --module-path folders, then those of FLOWDECK_MODULE_PATH (colon-separated), then the
    // installed lib/flowdeck folder beside the program's bin/.
    std::vector<std::string> folders;

    // The folders from the command line and the environment.
    static ModuleSearch FromEnvironment(const std::vector<std::string>& commandLine);
    // The file a library name stands for: an absolute name as given; otherwise the first
    // existing one of the name relative to base (the graph file's folder) and to each folder.
    // Empty when none exists; tried receives the places looked at.
    std::string Resolve(const std::string& name, const std::string& base, std::string* tried) const;
};

// A loaded module library with its exports. Modules it made must be deleted before it is.
class ModuleLibrary {
public:
    // The interface version of the module framework this host is built with.
    static constexpr int INTERFACE_VERSION = 800;

    // Finds, loads and checks the library; on failure one problem naming it (what names the
    // graph element that asks for it, e.g. "module library 0").
    bool Load(const std::string& name, const std::string& base, const ModuleSearch& search, const std::string& what,
              Problems& problems);

    bool IsLoaded() const { return m_library.IsOpen(); }
    const std::string& Path() const { return m_path; }
    void* Handle() const { return m_library.Handle(); }
    // The type names the library makes.
    std::vector<std::string> TypeNames() const;
    bool MakesType(const std::string& type) const;
    // A new module, or null for an unknown type name; exceptions of the library pass on.
    TCBaseModule* Create(const std::string& type, int instance) const;
    // Null when the library keeps no settings.
    TCSerializeModuleFn Serializer() const { return m_serialize; }
    int ProvidedVersion() const;
    int RequiredVersion() const;

private:
    TCSharedLibrary m_library;
    std::string m_path;
    TCCreateModuleFn m_create = nullptr;
    TCModuleTypeNamesFn m_typeNames = nullptr;
    TCSerializeModuleFn m_serialize = nullptr;
};
