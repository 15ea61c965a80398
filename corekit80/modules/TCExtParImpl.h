#pragma once

// TCExtPar::TCExtParImpl, the list of external parameters.

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCString.h"

class TCExtPar::TCExtParImpl {
public:
    // One parameter; its kind, bounds and variable come with the typed reading of blocks.
    struct PARAM {
        TCString name;
    };

    TCArray<PARAM> params;
};
