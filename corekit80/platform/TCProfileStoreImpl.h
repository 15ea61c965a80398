#pragma once

// TCProfileStore, the SQLite store of keys and typed values behind the profile functions.

#include "corekit80/types/TCString.h"

// The persistent store behind the profile functions: one SQLite database per scope that
// holds keys (paths of names separated by '\\') and typed values inside them. Key and
// value names compare without regard to ASCII case and keep the case they were created
// with; a key exists on its own, with or without values. The user scope lives in
// $COREKIT80_USER_PROFILE, else in the XDG config folder (flowdeck/profile.db, mode 0600,
// write-ahead log); the machine scope in $COREKIT80_MACHINE_PROFILE, else in
// /etc/flowdeck/profile.db (rollback journal, readable by all). The variables are read
// at every call. Safe to use from several threads and across fork.
class TCProfileStore {
public:
    enum Scope { MACHINE = 0, USER = 1 };
    // Value types, numbered as the registry numbers them.
    enum Type { TYPE_SZ = 1, TYPE_DWORD = 4 };

    // The database file of a scope as the environment names it now; "" when there is none.
    static TCString FileOf(Scope scope);

    // Reads never create a file. A missing file, key or value, or a value of the other
    // type, gives false and leaves the result alone. Texts end at their first zero byte.
    static bool LoadInt(Scope scope, const char* key, const char* name, int& value);
    static bool LoadString(Scope scope, const char* key, const char* name, TCString& value);
    // The value's size in bytes (texts with their terminator); -1 when it is missing.
    static int ValueSize(Scope scope, const char* key, const char* name);
    static bool KeyExists(Scope scope, const char* key);

    // Each write is one transaction that creates the key, its parents and the file when
    // they are missing. False when nothing changed (no permission, busy past the
    // timeout, a file that is no database, a name that is too long).
    static bool SaveInt(Scope scope, const char* key, const char* name, int value);
    static bool SaveString(Scope scope, const char* key, const char* name, const char* value);
    static bool DeleteValue(Scope scope, const char* key, const char* name);
};
