#pragma once

// TCArray, the library's growable array on top of CArray.

#include "corekit80/types/CArray.h"

// The library's growable array: the framework array with its virtual growth step
// (the grow-by value, or size / 8 kept between 4 and 1024, added to the capacity).
// Construction and assignment copy deeply; elements are moved bytewise, so every
// element type must survive such a move (TCString and CString do).
template <class T, class ARG = const T&>
class TC_EXPORT TCArray : public CArray<T, ARG> {};
