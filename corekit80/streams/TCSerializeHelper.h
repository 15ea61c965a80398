#pragma once

// TCSerializeHelper, values packed as little-endian binary in a caller's buffer.

#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCTypeInfo;

// Values as packed little-endian binary in a caller's byte buffer: bool 1 byte; int,
// unsigned int and unsigned long 4; double 8; strings a 4-byte length and the bytes; a unit
// 15 (factor, seven exponent bytes); an address 4.
//
// Every Serialize takes a buffer that may be null and returns the number of bytes the value
// takes, writing only when the buffer is given. Every DeSerialize reads from p and never at
// or past end; it returns the position after the value, or null when the value does not fit
// (or p is null, so that a chain of reads is checked once at its end); the value is then
// zero or empty.
//
// unsigned long is 64-bit here but travels as 32 bits (the low bits are written; reading
// zero-extends). Addresses travel as their low 32 bits as well: reading one back gives that
// 32-bit value zero-extended, which is the original address only when it lay below 4 GiB.
// Nothing here ever dereferences an address.
class TC_EXPORT TCSerializeHelper {
public:
    static int Serialize(char* buffer, bool v);
    static int Serialize(char* buffer, int v);
    static int Serialize(char* buffer, unsigned int v);
    static int Serialize(char* buffer, unsigned long v);
    static int Serialize(char* buffer, double v);
    // A 4-byte n when withLength is not 0, then the n bytes.
    static int Serialize(char* buffer, const unsigned char* data, int n, int withLength);
    static int Serialize(char* buffer, const TCString& s);
    static int Serialize(char* buffer, const CString& s);
    static int Serialize(char* buffer, const TCSI_Unit& u);
    static int Serialize(char* buffer, const void* p);
    // 59 + name bytes: the length of the rest, Timestamp, Samplerate, Unit, Min, Max, the
    // name with its length, State.
    static int SerializeWithStatus(char* buffer, const TCTypeInfo& ti);

    static const char* DeSerialize(bool& v, const char* p, const char* end);
    static const char* DeSerialize(int& v, const char* p, const char* end);
    static const char* DeSerialize(unsigned int& v, const char* p, const char* end);
    static const char* DeSerialize(unsigned long& v, const char* p, const char* end);
    static const char* DeSerialize(double& v, const char* p, const char* end);
    // Copies n bytes, after skipping 4 when withLength is not 0 (the stored length is not
    // read); a negative n reads nothing and fails.
    static const char* DeSerialize(unsigned char* data, int n, const char* p, const char* end,
                                   int withLength);
    // A negative stored length fails.
    static const char* DeSerialize(TCString& s, const char* p, const char* end);
    static const char* DeSerialize(CString& s, const char* p, const char* end);
    static const char* DeSerialize(TCSI_Unit& u, const char* p, const char* end);
    static const char* DeSerialize(void** a, const char* p, const char* end);
    // Returns the record start + 4 + the stored length. A stored length too short for the
    // fields, or a name length that leaves the record, fails; ti then keeps what was read.
    static const char* DeSerializeWithStatus(TCTypeInfo& ti, const char* p, const char* end);
};
