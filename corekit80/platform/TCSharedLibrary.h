#pragma once

// TCSharedLibrary, a shared library loaded at run time by its path.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// A shared library loaded at run time: opened by path (all of its symbols resolved at once,
// kept to itself), asked for exported symbols, closed by Close or the destructor. Objects
// made by the library's code must be gone before it is closed. Movable, not copyable.
class TC_EXPORT TCSharedLibrary {
public:
    TCSharedLibrary() = default;
    ~TCSharedLibrary();
    TCSharedLibrary(const TCSharedLibrary&) = delete;
    TCSharedLibrary& operator=(const TCSharedLibrary&) = delete;
    TCSharedLibrary(TCSharedLibrary&& other) noexcept;
    TCSharedLibrary& operator=(TCSharedLibrary&& other) noexcept;

    // Closes what is open, then opens path. False, with Error() telling why, when the file
    // is missing, is no library for this machine, or lacks a symbol it needs.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    // The system's handle (what TCGetInterfaceVersionProvidedByBase takes); null when closed.
    void* Handle() const { return m_handle; }
    // The address of the exported symbol; null when it is absent or nothing is open.
    void* Symbol(const char* name) const;
    // Why the last Open failed; empty after a successful one.
    const char* Error() const { return m_error; }

    // The exported symbol of an open library given by its handle; null for a null handle or
    // an absent symbol.
    static void* Symbol(void* handle, const char* name);

private:
    void* m_handle = nullptr;
    TCString m_error;
};
