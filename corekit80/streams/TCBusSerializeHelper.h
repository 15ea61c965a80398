#pragma once

// TCBusSerializeHelper, the name of a bus channel segment and its port data type.

#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// The name of a bus channel segment: four parts joined by sDelim, namely the port index
// (decimal), the segment name part, the comp-check part and the validation part. The
// validation part names the channel's port data type, either as "DT_" and the code in
// eight lower-case hex digits, or as a token count and a type text ("1 SWORD{BIN}").
class TC_EXPORT TCBusSerializeHelper {
public:
    static const char* const sDelim; // "\r\n"

    TCBusSerializeHelper() = default;
    TCBusSerializeHelper(const TCBusSerializeHelper&) = default;
    TCBusSerializeHelper& operator=(const TCBusSerializeHelper&) = default;
    ~TCBusSerializeHelper() = default;

    const TCString& GetSegmentName() const { return m_segmentName; }
    const TCString& GetValidation() const { return m_validation; }
    const TCString& CompCheck() const { return m_compCheck; }
    int& PortIdx() { return m_nPortIdx; }

    // portIdx, segmentName, compCheck and the validation part joined by sDelim. The
    // validation part is "DT_%08x" of code, or "%d %s" of tokenCount and typeText when the
    // low 24 bits of code are 0.
    static TCString GenSegmentName(unsigned long code, const char* typeText, int tokenCount,
                                   int portIdx, const char* segmentName, const char* compCheck);
    // Takes the four parts of name; fewer than four give false and change nothing.
    bool ParseSegmentName(const char* name);

    // The port data type code of the validation part.
    unsigned long GetDataType() const;
    // Whether the channel's type matches typeText; a comp-check part equal to cache
    // answers at once, and a match stores the comp-check part in cache.
    bool SameDataType(TCString& cache, const char* typeText, int tokenCount);
    // With search the index of the segment name part in names (-1 when missing), which
    // becomes the port index; without search the port index.
    int FindOutputPort(const TCArray<TCString>& names, bool search);

    // The validation header of name as old-stream items: the token count (int item) and
    // the type text (string item); "" when name does not parse.
    TCString SerializeValidation(const TCString& name);
    // Reads a validation header at p (never at or past end); the validation part becomes
    // "%d %s" of what was read and name the channel name with the port index and empty
    // segment name and comp-check parts. false for empty text, a missing blank after the
    // count or a missing string item.
    bool DeSerializeValidation(TCString& name, const char*& p, const char* end);

private:
    // The validation part as token count and type text.
    TCString ValidationText(int& tokenCount) const;

    int m_nPortIdx = 0;
    TCString m_segmentName;
    TCString m_validation;
    TCString m_compCheck;
};
