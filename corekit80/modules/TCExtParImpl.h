#pragma once

// TCExtPar::TCExtParImpl, the list of external parameters and the reading of one of them.

#include <cstdint>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCMap.h"
#include "corekit80/types/TCString.h"

class TCExtPar::TCExtParImpl {
public:
    // The kind of a parameter's variable.
    enum KIND : int32_t {
        K_INT = 0,
        K_UNSIGNED = 1,  // unsigned int or unsigned long (see bytes)
        K_DOUBLE = 2,
        K_TCSTRING = 3,
        K_TRANSLATED = 4,
        K_CSTRING = 5,
        K_BOOL = 6,
    };

    // One parameter. Kept in a TCArray, so it moves bytewise: texts are TCStrings.
    struct PARAM {
        TCString name;
        TCString min;  // bounds as given; lengths for the text kinds
        TCString max;
        int32_t kind = K_INT;
        int32_t bytes = 4;  // of an unsigned variable: unsigned long is wider than unsigned int
        void* var = nullptr;
        // The value before the read in progress, given back when the module refuses the read.
        long long savedInt = 0;
        double savedDbl = 0;
        TCString savedText;
    };

    void Add(const char* name, int32_t kind, void* var, const char* min, const char* max, int32_t bytes = 4);

    // The variable's value into the saved fields, and back.
    static void Save(PARAM& p);
    static void Restore(const PARAM& p);
    // Segment index of the input's taken block into the parameter: 1 read, 0 no value, or a
    // negative code (the error record filled at the input).
    static int Read(TCPortHelper& helper, unsigned input, int index, PARAM& p);
    // A bound text as an integer (strtoll: 0 without digits, saturated beyond long long).
    static long long IntOf(const char* text);
    // "SWORD", "DOUBLE" or "UBYTE[]".
    static const char* BaseName(int32_t kind);

    int (*validate)(long) = nullptr;
    long validateArg = 0;
    TCArray<PARAM> params;
    TCMap<TCString, const char*, int, int> index{10};  // name -> the latest parameter of that name
};
