#pragma once

// TCSerializeOldStream, values as old-stream text items.

#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCTypeInfo;

// The old-stream text: integers are decimal text followed by one blank ("%d "); a double
// is the byte 0xFE, its 8 raw bytes and a blank; a string the byte 0xFF, a 4-byte length,
// the bytes and a blank; an address the byte 0xFD and 4 bytes, without a blank. The text
// therefore holds arbitrary bytes and is handled by length throughout.
//
// Writers return the text. Readers take the position by reference, never read at or past
// end, advance the position and return false on malformed input, leaving the position
// wherever reading stopped. Integers are read like strtol in base 10 on a 32-bit long:
// leading white space is skipped, values beyond the 32-bit range saturate, and text without
// digits reads as 0 without moving. A blank is one ASCII white-space byte.
//
// An address travels as its low 32 bits; reading one gives that value zero-extended (the
// address of a 32-bit peer, meaningless in this process unless it lay below 4 GiB).
class TC_EXPORT TCSerializeOldStream {
public:
    static TCString Serialize(int v);
    static TCString Serialize(const int* v, int n);
    static TCString Serialize(double v);
    static TCString Serialize(const double* v, int n);
    static TCString Serialize(const CString& s);
    static TCString Serialize(const TCString& s);
    // The factor as a double item, then the seven exponents as int items.
    static TCString Serialize(const TCSI_Unit& u);
    static TCString Serialize(const void* p);
    // Timestamp, Samplerate, Unit, Min, Max, Name.
    static TCString SerializeWithoutStatus(const TCTypeInfo& ti);
    // The status as an int item, then the type info without status.
    static TCString Serialize(TCBLOCKSTATUS s, const TCTypeInfo& ti);

    static bool DeSerialize(int& v, const char*& p, const char* end);
    static bool DeSerialize(int* v, int n, const char*& p, const char* end);
    static bool DeSerialize(double& v, const char*& p, const char* end);
    static bool DeSerialize(double* v, int n, const char*& p, const char* end);
    // One blank after the string is skipped when there is one.
    static bool DeSerialize(CString& s, const char*& p, const char* end);
    static bool DeSerialize(TCString& s, const char*& p, const char* end);
    static bool DeSerialize(TCSI_Unit& u, const char*& p, const char* end);
    static bool DeSerialize(void** a, const char*& p, const char* end);
    static bool DeSerializeWithoutStatus(TCTypeInfo& ti, const char*& p, const char* end);
    static bool DeSerialize(TCBLOCKSTATUS& s, TCTypeInfo& ti, const char*& p, const char* end);

    // false when p is null, at end or not at a blank; else p moves past that one blank.
    static bool EatOneWS(const char*& p, const char* end);
    // The integer at p as strtol in base 10 on a 32-bit long reads it (see above), without
    // the blank after it. false when p is null or at end.
    static bool ReadLong(int& v, const char*& p, const char* end);

    static constexpr unsigned char kDoubleMark = 0xFE;
    static constexpr unsigned char kStringMark = 0xFF;
    static constexpr unsigned char kAddressMark = 0xFD;
};
