// Bus channel segment names and their validation headers.
#include "corekit80/streams/TCBusSerializeHelper.h"

#include <cstdio>
#include <cstdlib>

#include "corekit80/archive/ConvertStringToArray.h"
#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/streams/TCSerializeOldStream.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

bool IsCodeForm(const TCString& validation) { return std::strncmp(validation, "DT_", 3) == 0; }

} // namespace

const char* const TCBusSerializeHelper::sDelim = "\r\n";

TCString TCBusSerializeHelper::GenSegmentName(unsigned long code, const char* typeText,
                                              int tokenCount, int portIdx,
                                              const char* segmentName, const char* compCheck)
{
    TCString validation = (code & TCPortTypes::DT_ELEMENT_BITS)
                              ? TCString::FormatS("DT_%08x", unsigned(code))
                              : TCString::FormatS("%d %s", tokenCount, typeText ? typeText : "");
    return TCString::FormatS("%d%s%s%s%s%s%s", portIdx, sDelim, segmentName ? segmentName : "",
                             sDelim, compCheck ? compCheck : "", sDelim,
                             static_cast<const char*>(validation));
}

bool TCBusSerializeHelper::ParseSegmentName(const char* name)
{
    TCArray<TCString, const TCString&> parts;
    if (ConvertStringToStrArray(name, parts, sDelim, false) < 4)
        return false;
    m_nPortIdx = std::atoi(parts[0]);
    m_segmentName = parts[1];
    m_compCheck = parts[2];
    m_validation = parts[3];
    return true;
}

TCString TCBusSerializeHelper::ValidationText(int& tokenCount) const
{
    if (IsCodeForm(m_validation)) {
        unsigned code = 0;
        std::sscanf(m_validation, "DT_%x", &code);
        return TCPortTypes::ChannelTypeText(code, &tokenCount);
    }
    const char* p = m_validation;
    char* rest;
    tokenCount = int(std::strtol(p, &rest, 10));
    while (TCIsSpace(*rest))
        ++rest;
    return TCString(rest);
}

unsigned long TCBusSerializeHelper::GetDataType() const
{
    if (IsCodeForm(m_validation)) {
        unsigned code = 0;
        std::sscanf(m_validation, "DT_%x", &code);
        return code;
    }
    int tokenCount;
    TCString text = ValidationText(tokenCount);
    return TCPortTypes::Datatype(tokenCount, text);
}

bool TCBusSerializeHelper::SameDataType(TCString& cache, const char* typeText, int tokenCount)
{
    if (!m_compCheck.IsEmpty() && cache == m_compCheck)
        return true;
    int ownCount;
    TCString own = ValidationText(ownCount);
    bool match = TCPortTypes::DoesDataTypeMatch(own, ownCount, typeText, tokenCount, nullptr);
    if (match)
        cache = m_compCheck;
    return match;
}

int TCBusSerializeHelper::FindOutputPort(const TCArray<TCString>& names, bool search)
{
    if (!search)
        return m_nPortIdx;
    m_nPortIdx = -1;
    for (int i = 0; i < names.GetSize(); ++i) {
        if (names[i] == m_segmentName) {
            m_nPortIdx = i;
            break;
        }
    }
    return m_nPortIdx;
}

TCString TCBusSerializeHelper::SerializeValidation(const TCString& name)
{
    if (!ParseSegmentName(name))
        return TCString();
    int tokenCount;
    TCString text = ValidationText(tokenCount);
    TCString header = TCSerializeOldStream::Serialize(tokenCount);
    header += TCSerializeOldStream::Serialize(text);
    return header;
}

bool TCBusSerializeHelper::DeSerializeValidation(TCString& name, const char*& p, const char* end)
{
    int tokenCount;
    TCString text;
    if (!p || p >= end || !*p || !TCSerializeOldStream::ReadLong(tokenCount, p, end) ||
        !TCSerializeOldStream::EatOneWS(p, end) || !TCSerializeOldStream::DeSerialize(text, p, end))
        return false;
    unsigned long code = TCPortTypes::Datatype(tokenCount, text);
    m_validation.Format("%d %s", tokenCount, static_cast<const char*>(text));
    name = GenSegmentName(code, text, tokenCount, m_nPortIdx, "", "");
    return true;
}
