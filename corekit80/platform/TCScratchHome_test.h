#pragma once

// TCScratchHome, a temporary HOME for tests.

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

// A scratch home folder for tests: HOME and the XDG variables point into a fresh
// temporary folder (the XDG ones unset), restored and removed afterwards.
class TCScratchHome {
public:
    TCScratchHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ck80homeXXXXXX").string();
        m_root = mkdtemp(pattern.data());
        Set("HOME", m_root.c_str());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            Set(name, nullptr);
    }
    ~TCScratchHome()
    {
        for (const auto& [name, value] : m_saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        std::filesystem::remove_all(m_root);
    }
    TCScratchHome(const TCScratchHome&) = delete;
    TCScratchHome& operator=(const TCScratchHome&) = delete;

    // Sets (null: unsets) a variable until the end of the test.
    void Set(const std::string& name, const char* value)
    {
        if (!m_saved.count(name)) {
            const char* old = getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    }
    const std::string& Root() const { return m_root; }

private:
    std::string m_root;
    std::map<std::string, std::optional<std::string>> m_saved;
};
