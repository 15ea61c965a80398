#pragma once

// Every public header of CoreKit80.

#include "corekit80/platform/TCExport.h"
#include "corekit80/platform/CException.h"
#include "corekit80/platform/CString.h"
#include "corekit80/platform/TCCodePage.h"

#include "corekit80/foundation/TCString.h"
#include "corekit80/foundation/TCTextUtil.h"
