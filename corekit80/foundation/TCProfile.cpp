// Machine and user profile values on TCProfileStore, under the library's root key.
#include "corekit80/foundation/TCProfile.h"

#include "corekit80/platform/TCProfileStoreImpl.h"

namespace {

// The largest value that the existence test can read.
constexpr int kExistsBufferSize = 255;

TCString& RootPath()
{
    static TCString root("Software\\Vandrel\\FLOWDECK\\");
    return root;
}

TCString KeyOf(const char* section)
{
    return RootPath() + (section ? section : "");
}

int LoadInt(TCProfileStore::Scope scope, const char* section, const char* entry, int defaultValue)
{
    int value = defaultValue;
    TCProfileStore::LoadInt(scope, KeyOf(section), entry, value);
    return value;
}

TCString LoadString(TCProfileStore::Scope scope, const char* section, const char* entry)
{
    TCString value;
    TCProfileStore::LoadString(scope, KeyOf(section), entry, value);
    return value;
}

bool Exists(TCProfileStore::Scope scope, const char* section, const char* entry)
{
    const int size = TCProfileStore::ValueSize(scope, KeyOf(section), entry);
    return size >= 0 && size <= kExistsBufferSize;
}

}  // namespace

int LoadMachineProfileInt(const char* section, const char* entry, int defaultValue)
{
    return LoadInt(TCProfileStore::MACHINE, section, entry, defaultValue);
}

int LoadUserProfileInt(const char* section, const char* entry, int defaultValue)
{
    return LoadInt(TCProfileStore::USER, section, entry, defaultValue);
}

void SaveMachineProfileInt(const char* section, const char* entry, int value)
{
    TCProfileStore::SaveInt(TCProfileStore::MACHINE, KeyOf(section), entry, value);
}

void SaveUserProfileInt(const char* section, const char* entry, int value)
{
    TCProfileStore::SaveInt(TCProfileStore::USER, KeyOf(section), entry, value);
}

// A value is deleted whatever its type, as the registry does.
void DeleteMachineProfileInt(const char* section, const char* entry)
{
    TCProfileStore::DeleteValue(TCProfileStore::MACHINE, KeyOf(section), entry);
}

void DeleteUserProfileInt(const char* section, const char* entry)
{
    TCProfileStore::DeleteValue(TCProfileStore::USER, KeyOf(section), entry);
}

TCString LoadMachineProfileString(const char* section, const char* entry)
{
    return LoadString(TCProfileStore::MACHINE, section, entry);
}

TCString LoadUserProfileString(const char* section, const char* entry)
{
    return LoadString(TCProfileStore::USER, section, entry);
}

void SaveMachineProfileString(const char* section, const char* entry, const char* value)
{
    TCProfileStore::SaveString(TCProfileStore::MACHINE, KeyOf(section), entry, value);
}

void SaveUserProfileString(const char* section, const char* entry, const char* value)
{
    TCProfileStore::SaveString(TCProfileStore::USER, KeyOf(section), entry, value);
}

void DeleteMachineProfileString(const char* section, const char* entry)
{
    TCProfileStore::DeleteValue(TCProfileStore::MACHINE, KeyOf(section), entry);
}

void DeleteUserProfileString(const char* section, const char* entry)
{
    TCProfileStore::DeleteValue(TCProfileStore::USER, KeyOf(section), entry);
}

bool ExistsMachineProfileKey(const char* section, const char* entry)
{
    return Exists(TCProfileStore::MACHINE, section, entry);
}

bool ExistsUserProfileKey(const char* section, const char* entry)
{
    return Exists(TCProfileStore::USER, section, entry);
}

TCString ChangeRegistryPath(const char* path)
{
    TCString previous = RootPath();
    RootPath() = path ? path : "";
    return previous;
}

const char* GetRegistryPath()
{
    return RootPath();
}
