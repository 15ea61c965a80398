// The out-of-line members of CException and CInvalidArgException.
#include "corekit80/types/CException.h"

// The out-of-line destructors anchor the vtables and type information in the library.
CException::~CException() = default;
const char* CException::what() const noexcept { return "CException"; }

CInvalidArgException::~CInvalidArgException() = default;
const char* CInvalidArgException::what() const noexcept { return "invalid argument"; }
