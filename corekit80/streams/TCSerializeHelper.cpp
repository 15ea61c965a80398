// Values and type info records as packed little-endian binary.
#include "corekit80/streams/TCSerializeHelper.h"

#include <cstdint>
#include <cstring>

#include "corekit80/streams/TCTypeInfo.h"

namespace {

// Fixed part of a type info record after its length field: two doubles, the unit, two
// doubles, the name length and the state.
constexpr int kTypeInfoFixed = 8 + 8 + 15 + 8 + 8 + 4 + 4;

template <class T>
int Put(char* buffer, const T& v)
{
    if (buffer)
        std::memcpy(buffer, &v, sizeof v);
    return sizeof v;
}

// The bytes of T at p when they fit before end; else v is zeroed and the result is null.
template <class T>
const char* Get(T& v, const char* p, const char* end)
{
    if (!p || end - p < static_cast<long>(sizeof v)) {
        v = T();
        return nullptr;
    }
    std::memcpy(&v, p, sizeof v);
    return p + sizeof v;
}

int PutBytes(char* buffer, const char* p, int n)
{
    int size = Put(buffer, int32_t(n));
    if (buffer && n > 0)
        std::memcpy(buffer + size, p, static_cast<size_t>(n));
    return size + n;
}

// The length-prefixed byte run at p: its start and length, or null.
const char* GetBytes(const char*& data, int& n, const char* p, const char* end)
{
    int32_t len;
    p = Get(len, p, end);
    if (!p || len < 0 || end - p < len) {
        n = 0;
        return nullptr;
    }
    data = p;
    n = len;
    return p + len;
}

} // namespace

int TCSerializeHelper::Serialize(char* buffer, bool v) { return Put(buffer, uint8_t(v ? 1 : 0)); }
int TCSerializeHelper::Serialize(char* buffer, int v) { return Put(buffer, int32_t(v)); }
int TCSerializeHelper::Serialize(char* buffer, unsigned int v) { return Put(buffer, uint32_t(v)); }
int TCSerializeHelper::Serialize(char* buffer, unsigned long v) { return Put(buffer, uint32_t(v)); }
int TCSerializeHelper::Serialize(char* buffer, double v) { return Put(buffer, v); }

int TCSerializeHelper::Serialize(char* buffer, const unsigned char* data, int n, int withLength)
{
    if (n < 0)
        n = 0;
    int size = withLength ? Put(buffer, int32_t(n)) : 0;
    if (buffer && n > 0)
        std::memcpy(buffer + size, data, static_cast<size_t>(n));
    return size + n;
}

int TCSerializeHelper::Serialize(char* buffer, const TCString& s)
{
    return PutBytes(buffer, s, s.GetLength());
}

int TCSerializeHelper::Serialize(char* buffer, const CString& s)
{
    return PutBytes(buffer, s, s.GetLength());
}

int TCSerializeHelper::Serialize(char* buffer, const TCSI_Unit& u)
{
    int size = Put(buffer, u.factor);
    if (buffer)
        std::memcpy(buffer + size, u.exponents, TCSI_BASE_UNITS);
    return size + TCSI_BASE_UNITS;
}

int TCSerializeHelper::Serialize(char* buffer, const void* p)
{
    return Put(buffer, uint32_t(reinterpret_cast<uintptr_t>(p)));
}

int TCSerializeHelper::SerializeWithStatus(char* buffer, const TCTypeInfo& ti)
{
    int n = ti.Name.GetLength();
    int size = Put(buffer, int32_t(kTypeInfoFixed + n));
    auto at = [&]() { return buffer ? buffer + size : nullptr; };
    size += Serialize(at(), ti.Timestamp);
    size += Serialize(at(), ti.Samplerate);
    size += Serialize(at(), ti.Unit);
    size += Serialize(at(), ti.Min);
    size += Serialize(at(), ti.Max);
    size += Serialize(at(), ti.Name);
    size += Put(at(), int32_t(ti.State));
    return size;
}

const char* TCSerializeHelper::DeSerialize(bool& v, const char* p, const char* end)
{
    uint8_t b;
    p = Get(b, p, end);
    v = b != 0;
    return p;
}

const char* TCSerializeHelper::DeSerialize(int& v, const char* p, const char* end)
{
    int32_t i;
    p = Get(i, p, end);
    v = i;
    return p;
}

const char* TCSerializeHelper::DeSerialize(unsigned int& v, const char* p, const char* end)
{
    uint32_t u;
    p = Get(u, p, end);
    v = u;
    return p;
}

const char* TCSerializeHelper::DeSerialize(unsigned long& v, const char* p, const char* end)
{
    uint32_t u;
    p = Get(u, p, end);
    v = u;
    return p;
}

const char* TCSerializeHelper::DeSerialize(double& v, const char* p, const char* end)
{
    return Get(v, p, end);
}

const char* TCSerializeHelper::DeSerialize(unsigned char* data, int n, const char* p,
                                           const char* end, int withLength)
{
    if (p && withLength)
        p = end - p >= 4 ? p + 4 : nullptr;
    if (!p || n < 0 || end - p < n)
        return nullptr;
    if (n > 0)
        std::memcpy(data, p, static_cast<size_t>(n));
    return p + n;
}

const char* TCSerializeHelper::DeSerialize(TCString& s, const char* p, const char* end)
{
    const char* data = nullptr;
    int n;
    p = GetBytes(data, n, p, end);
    if (p)
        s = TCString(data, n);
    else
        s.Empty();
    return p;
}

const char* TCSerializeHelper::DeSerialize(CString& s, const char* p, const char* end)
{
    const char* data = nullptr;
    int n;
    p = GetBytes(data, n, p, end);
    if (p)
        s.SetString(data, n);
    else
        s.Empty();
    return p;
}

const char* TCSerializeHelper::DeSerialize(TCSI_Unit& u, const char* p, const char* end)
{
    p = Get(u.factor, p, end);
    if (!p || end - p < TCSI_BASE_UNITS) {
        u.clear();
        return nullptr;
    }
    std::memcpy(u.exponents, p, TCSI_BASE_UNITS);
    return p + TCSI_BASE_UNITS;
}

const char* TCSerializeHelper::DeSerialize(void** a, const char* p, const char* end)
{
    uint32_t v;
    p = Get(v, p, end);
    *a = reinterpret_cast<void*>(uintptr_t(v));
    return p;
}

const char* TCSerializeHelper::DeSerializeWithStatus(TCTypeInfo& ti, const char* p, const char* end)
{
    int32_t len;
    p = Get(len, p, end);
    if (!p || len < kTypeInfoFixed || end - p < len)
        return nullptr;
    const char* recordEnd = p + len;
    p = DeSerialize(ti.Timestamp, p, recordEnd);
    p = DeSerialize(ti.Samplerate, p, recordEnd);
    p = DeSerialize(ti.Unit, p, recordEnd);
    p = DeSerialize(ti.Min, p, recordEnd);
    p = DeSerialize(ti.Max, p, recordEnd);
    p = DeSerialize(ti.Name, p, recordEnd);
    int32_t state;
    p = Get(state, p, recordEnd);
    if (!p)
        return nullptr;
    ti.State = TCBLOCKSTATUS(state);
    return recordEnd;
}
