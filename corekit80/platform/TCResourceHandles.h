#pragma once

// HICON and HBITMAP, icon and bitmap handles that hold the resource they were loaded from.

#include <cstdint>

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// An icon or a bitmap as the window system hands it out. No pixels are kept: a handle
// names the resource it stands for, which is all a host needs to draw it itself.
struct HICON__ {
    HINSTANCE module;
    uint32_t resourceId;
};
typedef struct HICON__* HICON;

struct HBITMAP__ {
    HINSTANCE module;
    uint32_t resourceId;
};
typedef struct HBITMAP__* HBITMAP;

// The system's stock icons: the stop sign of error messages and the "i" of information.
enum : uint32_t { IDI_HAND = 32513, IDI_ASTERISK = 32516 };

// The icon with resourceId of module (null: the current resource module); null for 0 or
// when out of memory. With a null module the stock icons are shared handles that need no
// TCDestroyIcon; every other handle is the caller's.
TC_EXPORT HICON TCLoadIcon(HINSTANCE module, uint32_t resourceId);
// Frees an icon from TCLoadIcon; null and the shared stock icons are left alone.
TC_EXPORT void TCDestroyIcon(HICON icon);
