// Values and type info as old-stream text, and reading them back.
#include "corekit80/streams/TCSerializeOldStream.h"

#include <cstdint>
#include <cstring>

#include "corekit80/streams/TCTypeInfo.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

using OS = TCSerializeOldStream;

void AppendInt(TCString& text, int v) { text.FormatAppend("%d ", v); }

void AppendDouble(TCString& text, double v)
{
    char item[10];
    item[0] = char(OS::kDoubleMark);
    std::memcpy(item + 1, &v, 8);
    item[9] = ' ';
    text.Append(item, sizeof item);
}

void AppendBytes(TCString& text, const char* p, int n)
{
    char head[5];
    head[0] = char(OS::kStringMark);
    int32_t len = n;
    std::memcpy(head + 1, &len, 4);
    text.Append(head, sizeof head);
    text.Append(p, n);
    text += ' ';
}

bool At(const char* p, const char* end, unsigned char mark, int bytesAfter)
{
    return p && p < end && static_cast<unsigned char>(*p) == mark && end - p - 1 >= bytesAfter;
}

// The length-prefixed run of a string item, and one blank after it when there is one.
bool ReadBytes(const char*& data, int& n, const char*& p, const char* end)
{
    int32_t len;
    if (!At(p, end, OS::kStringMark, 4))
        return false;
    std::memcpy(&len, p + 1, 4);
    p += 5;
    if (len < 0 || end - p < len)
        return false;
    data = p;
    n = len;
    p += len;
    OS::EatOneWS(p, end);
    return true;
}

} // namespace

TCString TCSerializeOldStream::Serialize(int v) { return TCString::FormatS("%d ", v); }

TCString TCSerializeOldStream::Serialize(const int* v, int n)
{
    TCString text;
    for (int i = 0; i < n; ++i)
        AppendInt(text, v[i]);
    return text;
}

TCString TCSerializeOldStream::Serialize(double v)
{
    TCString text;
    AppendDouble(text, v);
    return text;
}

TCString TCSerializeOldStream::Serialize(const double* v, int n)
{
    TCString text;
    for (int i = 0; i < n; ++i)
        AppendDouble(text, v[i]);
    return text;
}

TCString TCSerializeOldStream::Serialize(const CString& s)
{
    TCString text;
    AppendBytes(text, s, s.GetLength());
    return text;
}

TCString TCSerializeOldStream::Serialize(const TCString& s)
{
    TCString text;
    AppendBytes(text, s, s.GetLength());
    return text;
}

TCString TCSerializeOldStream::Serialize(const TCSI_Unit& u)
{
    TCString text;
    AppendDouble(text, u.factor);
    for (signed char e : u.exponents)
        AppendInt(text, e);
    return text;
}

TCString TCSerializeOldStream::Serialize(const void* p)
{
    char item[5];
    item[0] = char(kAddressMark);
    uint32_t a = uint32_t(reinterpret_cast<uintptr_t>(p));
    std::memcpy(item + 1, &a, 4);
    return TCString(item, sizeof item);
}

TCString TCSerializeOldStream::SerializeWithoutStatus(const TCTypeInfo& ti)
{
    TCString text;
    AppendDouble(text, ti.Timestamp);
    AppendDouble(text, ti.Samplerate);
    text += Serialize(ti.Unit);
    AppendDouble(text, ti.Min);
    AppendDouble(text, ti.Max);
    AppendBytes(text, ti.Name, ti.Name.GetLength());
    return text;
}

TCString TCSerializeOldStream::Serialize(TCBLOCKSTATUS s, const TCTypeInfo& ti)
{
    TCString text = Serialize(int(s));
    text += SerializeWithoutStatus(ti);
    return text;
}

bool TCSerializeOldStream::EatOneWS(const char*& p, const char* end)
{
    if (!p || p >= end || !TCIsSpace(*p))
        return false;
    ++p;
    return true;
}

bool TCSerializeOldStream::ReadLong(int& v, const char*& p, const char* end)
{
    v = 0;
    if (!p || p >= end)
        return false;
    const char* q = p;
    while (q < end && TCIsSpace(*q))
        ++q;
    bool negative = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+'))
        ++q;
    if (q >= end || !TCIsDigit(*q))
        return true; // nothing read: the position stays
    long long n = 0;
    for (; q < end && TCIsDigit(*q); ++q)
        if (n <= INT32_MAX)
            n = n * 10 + (*q - '0');
    if (negative)
        n = -n;
    v = n > INT32_MAX ? INT32_MAX : n < INT32_MIN ? INT32_MIN : int(n);
    p = q;
    return true;
}

bool TCSerializeOldStream::DeSerialize(int& v, const char*& p, const char* end)
{
    return ReadLong(v, p, end) && EatOneWS(p, end);
}

bool TCSerializeOldStream::DeSerialize(int* v, int n, const char*& p, const char* end)
{
    for (int i = 0; i < n; ++i)
        if (!DeSerialize(v[i], p, end))
            return false;
    return true;
}

bool TCSerializeOldStream::DeSerialize(double& v, const char*& p, const char* end)
{
    if (!At(p, end, kDoubleMark, 8))
        return false;
    std::memcpy(&v, p + 1, 8);
    p += 9;
    return EatOneWS(p, end);
}

bool TCSerializeOldStream::DeSerialize(double* v, int n, const char*& p, const char* end)
{
    for (int i = 0; i < n; ++i)
        if (!DeSerialize(v[i], p, end))
            return false;
    return true;
}

bool TCSerializeOldStream::DeSerialize(CString& s, const char*& p, const char* end)
{
    const char* data;
    int n;
    if (!ReadBytes(data, n, p, end))
        return false;
    s.SetString(data, n);
    return true;
}

bool TCSerializeOldStream::DeSerialize(TCString& s, const char*& p, const char* end)
{
    const char* data;
    int n;
    if (!ReadBytes(data, n, p, end))
        return false;
    s = TCString(data, n);
    return true;
}

bool TCSerializeOldStream::DeSerialize(TCSI_Unit& u, const char*& p, const char* end)
{
    if (!DeSerialize(u.factor, p, end))
        return false;
    for (signed char& e : u.exponents) {
        int v;
        if (!DeSerialize(v, p, end))
            return false;
        e = static_cast<signed char>(v);
    }
    return true;
}

bool TCSerializeOldStream::DeSerialize(void** a, const char*& p, const char* end)
{
    if (!At(p, end, kAddressMark, 4))
        return false;
    uint32_t v;
    std::memcpy(&v, p + 1, 4);
    *a = reinterpret_cast<void*>(uintptr_t(v));
    p += 5;
    return true;
}

bool TCSerializeOldStream::DeSerializeWithoutStatus(TCTypeInfo& ti, const char*& p, const char* end)
{
    return DeSerialize(ti.Timestamp, p, end) && DeSerialize(ti.Samplerate, p, end) &&
           DeSerialize(ti.Unit, p, end) && DeSerialize(ti.Min, p, end) &&
           DeSerialize(ti.Max, p, end) && DeSerialize(ti.Name, p, end);
}

bool TCSerializeOldStream::DeSerialize(TCBLOCKSTATUS& s, TCTypeInfo& ti, const char*& p, const char* end)
{
    int v;
    if (!DeSerialize(v, p, end))
        return false;
    s = TCBLOCKSTATUS(v);
    return DeSerializeWithoutStatus(ti, p, end);
}
