#pragma once

// The parts of an item record that travel together: file-chooser extras, caption extras,
// and the callbacks that come with two arguments or produce items.

#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCString.h"

class TCPropertyDialog;
class TCPropertyDialogInfo;

// What a file, folder, font, colour or date-time chooser is opened with.
struct TCPropertyChooserExtras {
    TCString filter;              // file filter or format text
    const void* filterData = nullptr;
    unsigned int flags = 0;
    TCString defaultPath;
    TCString defaultExtension;
    int openSave = 1;             // 1 open, 0 save
    void* argument = nullptr;     // e.g. the colour chooser's 16 custom colours (unsigned long, 64-bit)
};

// What is shown beside or inside the caption and how a text is masked.
struct TCPropertyCaptionExtras {
    TCString divider;             // between the caption and the chosen entry's text
    CStringArray captionContents; // one text per combo entry
    TCString mask;
    TCString literal;
    char prompt = '_';
};

// The port an item's value can also come from, and the message shown for it.
struct TCPropertyPortLink {
    PORTTYPE type = PT_NONE;
    TCString message;
};

// A function with its two arguments.
template <class Fn>
struct TCPropertyFunction {
    Fn fn = nullptr;
    const void* arg1 = nullptr;
    const void* arg2 = nullptr;
};

// A function that makes one item or dialog per index, 0 .. *count - 1, whenever the
// caller's count changes; the products are kept (and freed) by the item.
template <class Fn, class Product>
struct TCPropertyDynamic : TCPropertyFunction<Fn> {
    const int* count = nullptr;
    TCArray<Product*> produced;
    int lastCount = 0;
};

// A function that makes the item or dialog that replaces this item; the last product is
// kept (and freed) by the item.
template <class Fn, class Product>
struct TCPropertyReplacement : TCPropertyFunction<Fn> {
    Product* produced = nullptr;
};

// The window-system objects the host made for an item.
struct TCPropertyHostHandles {
    void* item = nullptr;
    void* grid = nullptr;
    void* treeItem = nullptr;
};
