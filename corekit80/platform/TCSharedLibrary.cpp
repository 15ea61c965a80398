// TCSharedLibrary over the dynamic linker; the one place that talks to it.
#include "corekit80/platform/TCSharedLibrary.h"

#include <dlfcn.h>

#include <utility>

TCSharedLibrary::~TCSharedLibrary() { Close(); }

TCSharedLibrary::TCSharedLibrary(TCSharedLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(other.m_error)
{
}

TCSharedLibrary& TCSharedLibrary::operator=(TCSharedLibrary&& other) noexcept
{
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = other.m_error;
    }
    return *this;
}

bool TCSharedLibrary::Open(const char* path)
{
    Close();
    m_error.Empty();
    if (!path || !*path) {
        m_error = "no file name given";
        return false;
    }
    dlerror();
    m_handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = dlerror();
        m_error = why ? why : "cannot be loaded";
        return false;
    }
    return true;
}

void TCSharedLibrary::Close()
{
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

void* TCSharedLibrary::Symbol(const char* name) const { return Symbol(m_handle, name); }

void* TCSharedLibrary::Symbol(void* handle, const char* name)
{
    if (!handle || !name)
        return nullptr;
    return dlsym(handle, name);
}
