#pragma once

// CException and CInvalidArgException, the exceptions the containers throw.

#include <exception>

#include "corekit80/types/TCExport.h"

// The framework's exceptions. They are thrown by value and caught by reference;
// they are exported so that a catch in a module library matches a throw in the library.
class TC_EXPORT CException : public std::exception {
public:
    ~CException() override;
    const char* what() const noexcept override;
};

// Thrown for an index outside an array.
class TC_EXPORT CInvalidArgException : public CException {
public:
    ~CInvalidArgException() override;
    const char* what() const noexcept override;
};
