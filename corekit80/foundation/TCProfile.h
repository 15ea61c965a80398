#pragma once

// Loading, saving and deleting numbers and texts in the machine and user profiles.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Small persistent settings (numbers and texts) per machine and per user. A value lives
// in the key made of the registry path immediately followed by the section (which may
// hold further '\\'-separated sub-keys) under the entry's name. Nothing here reports
// errors: loads fall back to the default or the empty text, saves and deletes that
// cannot reach the store do nothing, existence tests give false.

TC_EXPORT int LoadMachineProfileInt(const char* section, const char* entry, int defaultValue);
TC_EXPORT int LoadUserProfileInt(const char* section, const char* entry, int defaultValue);
TC_EXPORT void SaveMachineProfileInt(const char* section, const char* entry, int value);
TC_EXPORT void SaveUserProfileInt(const char* section, const char* entry, int value);
TC_EXPORT void DeleteMachineProfileInt(const char* section, const char* entry);
TC_EXPORT void DeleteUserProfileInt(const char* section, const char* entry);

// Texts end at their first zero byte.
TC_EXPORT TCString LoadMachineProfileString(const char* section, const char* entry);
TC_EXPORT TCString LoadUserProfileString(const char* section, const char* entry);
TC_EXPORT void SaveMachineProfileString(const char* section, const char* entry, const char* value);
TC_EXPORT void SaveUserProfileString(const char* section, const char* entry, const char* value);
TC_EXPORT void DeleteMachineProfileString(const char* section, const char* entry);
TC_EXPORT void DeleteUserProfileString(const char* section, const char* entry);

// True when the value exists and fits a buffer of 255 bytes (a text of at most 254 bytes).
TC_EXPORT bool ExistsMachineProfileKey(const char* section, const char* entry);
TC_EXPORT bool ExistsUserProfileKey(const char* section, const char* entry);

// The root of every key, initially "Software\\Vandrel\\FLOWDECK\\". It is shared by the
// whole process without a lock: set it once, early, before other threads use it.
// ChangeRegistryPath returns the previous root.
TC_EXPORT TCString ChangeRegistryPath(const char* path);
TC_EXPORT const char* GetRegistryPath();
