// Archive entries read and written as the caller's value types, with conversions.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Data = ArchiveParser::ArchiveData;
using Buf = Data::Buf;

namespace {

// Doubles outside the int range are clamped, NaN gives 0.
int TruncToInt(double d)
{
    if (std::isnan(d))
        return 0;
    return d >= 2147483647.0 ? INT_MAX : d <= -2147483648.0 ? INT_MIN : int(d);
}

int TextToInt(const char* s)
{
    long long v = strtoll(s, nullptr, 10);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

double TextToDouble(const char* s) { return strtod_l(s, nullptr, TCCLocale()); }

void SetBytes(Buf* e, const char* p, uint32_t n)
{
    char* bytes = static_cast<char*>(malloc(size_t(n) + 1));
    if (!bytes)
        throw std::bad_alloc();
    if (n)
        memcpy(bytes, p, n);
    bytes[n] = 0;
    free(e->bytes);
    e->bytes = bytes;
    e->length = n;
}

void SetText(Buf* e, const TCString& s) { SetBytes(e, s, uint32_t(s.GetLength())); }

TCString Formatted(const char* fmt, double d)
{
    TCCLocaleScope c;
    TCString s;
    s.Format(fmt, d);
    return s;
}

// Reading an entry as the caller's type; false for binary and subsection entries.
bool Get(const Buf* e, int& v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: v = e->value.i; return true;
    case ArchiveParser::typeDouble: v = TruncToInt(e->value.d); return true;
    case ArchiveParser::typeString: v = e->length ? TextToInt(e->bytes) : 0; return true;
    }
    return false;
}

bool Get(const Buf* e, double& v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: v = e->value.i; return true;
    case ArchiveParser::typeDouble: v = e->value.d; return true;
    case ArchiveParser::typeString: v = e->length ? TextToDouble(e->bytes) : 0.0; return true;
    }
    return false;
}

bool Get(const Buf* e, TCString& v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: v.Format("%d", e->value.i); return true;
    case ArchiveParser::typeDouble: v = Formatted("%f", e->value.d); return true;
    case ArchiveParser::typeString: v.AllocCopy(e->bytes, int(e->length)); return true;
    }
    return false;
}

// Storing the caller's value into an entry of any type; false when it cannot hold it.
bool Put(Buf* e, int v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: e->value.i = v; return true;
    case ArchiveParser::typeDouble: e->value.d = v; return true;
    case ArchiveParser::typeString: SetText(e, TCString().Format("%d", v)); return true;
    }
    return false;
}

bool Put(Buf* e, double v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: e->value.i = TruncToInt(v); return true;
    case ArchiveParser::typeDouble: e->value.d = v; return true;
    case ArchiveParser::typeString: SetText(e, Formatted("%f", v)); return true;
    }
    return false;
}

bool Put(Buf* e, const TCString& v)
{
    switch (e->Type()) {
    case ArchiveParser::typeInteger: e->value.i = TextToInt(v); return true;
    case ArchiveParser::typeDouble: e->value.d = TextToDouble(v); return true;
    case ArchiveParser::typeString: SetText(e, v); return true;
    }
    return false;
}

struct Messages {
    int type;
    const char* create;
    const char* convert;
};
constexpr Messages intMessages{ArchiveParser::typeInteger, "Cannot create new integer value at %s!",
                               "Error converting to integer at %s!"};
constexpr Messages doubleMessages{ArchiveParser::typeDouble, "Cannot create new double value at %s!",
                                  "Error converting to double at %s!"};
constexpr Messages stringMessages{ArchiveParser::typeString, "Cannot create new string value at %s!",
                                  "Error converting to string at %s!"};

template <class T>
bool SerializeValue(Data* d, unsigned short id, const char* description, T& value, const Messages& m)
{
    if (!d)
        ArchiveFatal(d, "Data buffer not available at %s!");
    Buf* e = d->Find(id);
    // A subsection is no value: writing one under its identifier cannot create the value.
    if (e && e->Type() == ArchiveParser::typeSubSection)
        e = nullptr;
    if (e)
        d->Touch(e, description);
    if (d->loading)
        return e && Get(e, value);
    if (!e && !(e = d->Create(id, m.type, description)))
        ArchiveFatal(d, m.create);
    if (!Put(e, value))
        ArchiveFatal(d, m.convert);
    return true;
}

bool SerializeBinary(Data* d, unsigned short id, const char* description, uint32_t& length,
                     void* data, bool listed)
{
    if (!d || length == 0 || !data)
        ArchiveFatal(d, "Data buffer not available at %s!");
    Buf* e = d->Find(id);
    if (e && e->Type() != ArchiveParser::typeBinary)
        e = nullptr;
    if (e)
        d->Touch(e, description);
    if (d->loading) {
        if (!e)
            return false;
        if (e->length < length)
            length = e->length;
        if (length)
            memcpy(data, e->bytes, length);
    } else {
        if (!e && !(e = d->Create(id, ArchiveParser::typeBinary, description)))
            ArchiveFatal(d, "Cannot create new binary value at %s!");
        if (e->length != length) {
            free(e->bytes);
            e->bytes = nullptr;
        }
        if (!e->bytes && !(e->bytes = static_cast<char*>(malloc(length))))
            ArchiveFatal(d, "Cannot create new binary buffer at %s!");
        e->length = length;
        memcpy(e->bytes, data, length);
    }
    e->flags = uint8_t(listed ? e->flags | Data::flagListed : e->flags & ~Data::flagListed);
    return true;
}

} // namespace

bool ArchiveParser::Serialize(unsigned short id, const char* description, int& value)
{
    return SerializeValue(m_data, id, description, value, intMessages);
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, double& value)
{
    return SerializeValue(m_data, id, description, value, doubleMessages);
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, TCString& value)
{
    return SerializeValue(m_data, id, description, value, stringMessages);
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CString& value)
{
    TCString s = CString2BinTCString(value);
    bool found = Serialize(id, description, s);
    if (found && IsLoading())
        value = TCString2BinCString(s);
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, int& length,
                              void* data, bool listed)
{
    uint32_t n = length < 0 ? 0 : uint32_t(length);
    bool found = SerializeBinary(m_data, id, description, n, data, listed);
    length = int(n);
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, unsigned long& length,
                              void* data, bool listed)
{
    uint32_t n = length > 0xFFFFFFFFul ? 0xFFFFFFFFu : uint32_t(length);
    bool found = SerializeBinary(m_data, id, description, n, data, listed);
    length = n;
    return found;
}
