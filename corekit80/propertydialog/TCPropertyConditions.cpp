// Ready-made conditions for IsEnabled and PasswordVerify callbacks.
#include "corekit80/propertydialog/TCPropertyConditions.h"

#include "corekit80/foundation/TCCompareDBL.h"
#include "corekit80/types/TCString.h"

namespace {
template <class V>
V Read(const void* p)
{
    return p ? *static_cast<const V*>(p) : V();
}

const char* Text(const void* p) { return p ? static_cast<const char*>(p) : ""; }
} // namespace

bool TCPropertyDialogIsSet(const void* a) { return Read<int>(a) != 0; }
bool TCPropertyDialogIsSetBool(const void* a) { return Read<bool>(a); }
bool TCPropertyDialogIsNotSet(const void* a) { return !TCPropertyDialogIsSet(a); }
bool TCPropertyDialogIsNotSetBool(const void* a) { return !TCPropertyDialogIsSetBool(a); }

bool TCPropertyDialogIsEqualInt(const void* a, const void* b) { return Read<int>(a) == Read<int>(b); }
bool TCPropertyDialogIsNotEqualInt(const void* a, const void* b) { return !TCPropertyDialogIsEqualInt(a, b); }

bool TCPropertyDialogIsEqualDbl(const void* a, const void* b)
{
    return TCCompareDBL::IsEqual(Read<double>(a), Read<double>(b));
}

bool TCPropertyDialogIsNotEqualDbl(const void* a, const void* b) { return !TCPropertyDialogIsEqualDbl(a, b); }

bool TCPropertyDialogIsEqualString(const void* a, const void* b)
{
    return TCString(Text(a)).Compare(Text(b)) == 0;
}

bool TCPropertyDialogIsEqualStringNoCase(const void* a, const void* b)
{
    return TCString(Text(a)).CompareNoCase(Text(b)) == 0;
}

bool TCPropertyDialogIsEqualTCString(const void* a, const void* b)
{
    return Read<TCString>(a).CompareBin(Read<TCString>(b)) == 0;
}

bool TCPropertyDialogIsEqualTCStringNoCase(const void* a, const void* b)
{
    return Read<TCString>(a).CompareNoCase(Read<TCString>(b)) == 0;
}

bool TCPropertyDialogVerifyPassword(const void* a, const void* b) { return TCPropertyDialogIsEqualString(a, b); }

bool TCPropertyDialogVerifyTCStringPassword(const void* a, const void* b)
{
    return TCPropertyDialogIsEqualTCString(a, b);
}

bool TCPropertyDialogReadOnly() { return false; }
