#pragma once

// Every public header of CoreKit80.

#include "corekit80/platform/TCExport.h"
#include "corekit80/platform/CException.h"
#include "corekit80/platform/TCPosition.h"
#include "corekit80/platform/CArray.h"
#include "corekit80/platform/CStringArray.h"
#include "corekit80/platform/CString.h"
#include "corekit80/platform/TCCodePage.h"

#include "corekit80/foundation/TCString.h"
#include "corekit80/foundation/TCArray.h"
#include "corekit80/foundation/TCList.h"
#include "corekit80/foundation/TCMap.h"
#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/foundation/TCNumberFormat.h"
#include "corekit80/foundation/TCPowerOfTen.h"
#include "corekit80/foundation/TCRound.h"
#include "corekit80/foundation/TCCompareDBL.h"
#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCToString.h"
