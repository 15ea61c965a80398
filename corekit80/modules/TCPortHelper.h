#pragma once

#include <cstdint>

#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/types/TCExport.h"

// Everything a module knows about its ports. A port's data type is written as a type
// text ("SWORD{BIN}", "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}") and held as a TYPE
// code, with which the helper decides how to read and write the port's blocks.
class TC_EXPORT TCPortHelper : public TCPortTypes {
public:
    class TCPortHelperImpl;

    TCPortHelper();
    virtual ~TCPortHelper();
    // The helper owns its implementation, so it is not copied.
    TCPortHelper(const TCPortHelper&) = delete;
    TCPortHelper& operator=(const TCPortHelper&) = delete;

private:
    TCPortHelperImpl* m_pImpl;
};
