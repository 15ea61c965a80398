#pragma once

// TCNativePath and TCCreateDirectory, the library's two direct file-system calls.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Paths are written with '\\' inside the library; the system wants '/'. Every path that
// goes to the system passes through TCNativePath.
TC_EXPORT TCString TCNativePath(const char* path);

// Creates one folder (path in either form). EXISTS also means that a folder of that name
// was there already; a file of that name is FAILED.
enum TCCreateDirectoryResult { TC_DIR_CREATED, TC_DIR_EXISTS, TC_DIR_NO_PARENT, TC_DIR_FAILED };
TC_EXPORT TCCreateDirectoryResult TCCreateDirectory(const char* path);
