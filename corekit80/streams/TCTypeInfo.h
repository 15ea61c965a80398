#pragma once

// TCTypeInfo, the signal type information a block may carry.

#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CArchive;

// The signal type information a block may carry: what the samples are (name and
// unit), when the block was taken, at which rate, in which value range, and its
// sequence mark. The field names are those of the record's XML elements.
class TC_EXPORT TCTypeInfo {
public:
    TCTypeInfo();
    TCTypeInfo(const TCTypeInfo& ti);
    TCTypeInfo& operator=(const TCTypeInfo& ti);
    ~TCTypeInfo();

    // Every field to its default: empty name, no time, rate 1.0, no unit, range 0..1,
    // INVALID.
    void Init();

    // "INVALID", "START", "BUSY", "STOP", "COMPLETE", or "UNKNOWN" for other values.
    static const char* BlockStateToString(TCBLOCKSTATUS s);
    // The status named by text, ignoring case, of the names above; TCBLOCKSTATUS(-2)
    // when none matches.
    static TCBLOCKSTATUS StringToBlockState(const char* text);
    // The status of part index when a block of status is cut into count parts.
    static int SplitStat(int status, int count, int index);

    // One line for diagnostics, ended by "\r\n"; cut to its first maxLen characters
    // unless maxLen is -1.
    TCString ConvertToString(int maxLen = -1) const;

    // The binary record with status (TCSerializeHelper::SerializeWithStatus): its size,
    // written only when buffer is given.
    int SerializeWithStatus(char* buffer) const;
    // Reads that record from the start of text's bytes; a record that does not fit in text
    // leaves the fields read before it.
    void DeSerializeWithStatus(const TCString& text);

    // Stores the record as seven text lines (time, rate, unit factor, unit text, min,
    // max, name; State is not stored) or loads it from them. Loading throws
    // CArchiveException (endOfFile) when a line is missing or a number does not
    // convert; fields read before keep their new values.
    void Serialize(CArchive& ar);

    CString Name;
    double Timestamp;   // ms since 1970-01-01 00:00 UTC; 0 or less: not set
    double Samplerate;  // samples per second; 0 or less: not set
    TCSI_Unit Unit;
    double Min;
    double Max;
    TCBLOCKSTATUS State;
};
