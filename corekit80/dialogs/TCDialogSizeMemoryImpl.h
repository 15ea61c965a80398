#pragma once

// TCDialogSizeMemory, the last size of each resizable dialog in the user's profile.

#include <cstdint>

#include "corekit80/platform/CWnd.h"
#include "corekit80/types/CString.h"

// Remembers the outer size of dialogs with a sizing border, by caption, in the user
// profile: one number per dialog, the height in the upper 16 bits and the width in the
// lower 16. Dialogs without a sizing border are left alone.
class TCDialogSizeMemory {
public:
    static constexpr const char* kSection = "Module dialog size\\";

    // The caption up to its first " - ", so that "Filter - Channel 1" shares "Filter".
    static CString ValueName(const CString& caption);
    static uint32_t Pack(int width, int height);
    static SIZE Unpack(uint32_t value);

    // Gives the dialog its remembered outer size, its top-left corner staying.
    static void Load(CWnd& dialog);
    // Remembers the dialog's size in its normal placement, also when it is minimised or
    // maximised.
    static void Store(const CWnd& dialog);
};
