#pragma once

// MakeAbsPath and MakeRelPath: absolute and relative forms of paths.

#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Paths are written with '\\' between components ('/' is accepted) and are at most 259
// characters long. A path is absolute when it begins with a drive ("C:"), a UNC server
// ("\\\\server\\"), a separator ("/home/u" as well) or a placeholder ('%').

// The canonical absolute form of path, relative paths taken from the folder base ("." and
// ".." resolved, no trailing separator). An empty path gives "", an empty base the
// canonical form of path.
TC_EXPORT TCString MakeAbsPath(const char* base, const char* path);
TC_EXPORT CString MakeAbsPath(const CString& base, const CString& path);

// Path relative to the folder base (".\\sub\\file", or "." for base itself) when it lies
// inside it, else its canonical absolute form. Drive and UNC paths compare without regard
// to case.
TC_EXPORT TCString MakeRelPath(const char* base, const char* path);
TC_EXPORT CString MakeRelPath(const CString& base, const CString& path);

// A framework string beside a plain text gives a framework string.
inline CString MakeAbsPath(const CString& base, const char* path) { return MakeAbsPath(base, CString(path)); }
inline CString MakeAbsPath(const char* base, const CString& path) { return MakeAbsPath(CString(base), path); }
inline CString MakeRelPath(const CString& base, const char* path) { return MakeRelPath(base, CString(path)); }
inline CString MakeRelPath(const char* base, const CString& path) { return MakeRelPath(CString(base), path); }
