#pragma once

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/porttypes/TCPortDataTypeImpl.h"

// The state behind a TCPortHelper.
class TCPortHelper::TCPortHelperImpl {
public:
    using DATATYPE = TCPortDataType;
};
