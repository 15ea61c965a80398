#pragma once

// CStringArray, the framework's array of CString.

#include "corekit80/types/CArray.h"
#include "corekit80/types/CString.h"

// The framework's array of strings. Elements take text as CString or const char*.
class TC_EXPORT CStringArray : public CArray<CString, const CString&> {};
