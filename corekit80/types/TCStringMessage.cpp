// Message formatting: inserts %1 to %99, each with an optional printf type between
// exclamation marks (%2!5.2f!, default !s!), and the escapes %0 (end of message),
// %n (line break), %r (carriage return), %% "% " %. %! (the character itself).
#include <cstdio>
#include <cstring>
#include <string_view>

#include "corekit80/types/TCCLocaleImpl.h"
#include "corekit80/types/TCString.h"

namespace {

constexpr int kMaxInsert = 99;

enum class ArgKind { None, Int, Long, LongLong, UInt, ULong, ULongLong, Double, Text, Pointer };

struct MessageInsert {
    ArgKind kind = ArgKind::None;
    char conversion[40] = {}; // the C printf conversion, "%" included
    union {
        long long i;
        unsigned long long u;
        double d;
        const char* s;
        const void* p;
    } value{};
};

// Translates a printf type as inserts carry it ("d", "-8s", "I64u", "lx", ".3f") into a C
// conversion and the kind of its argument; false for what cannot be formatted.
bool ParseType(const char* type, size_t n, MessageInsert& ins)
{
    size_t i = 0;
    while (i < n && std::strchr("-+ #0123456789.", type[i]))
        ++i;
    std::string_view flags(type, i);
    int longs = 0;
    if (n - i >= 3 && std::strncmp(type + i, "I64", 3) == 0) {
        longs = 2;
        i += 3;
    } else if (n - i >= 3 && std::strncmp(type + i, "I32", 3) == 0) {
        i += 3;
    } else {
        while (i < n && (type[i] == 'l' || type[i] == 'h')) {
            longs += type[i] == 'l' ? 1 : 0;
            ++i;
        }
    }
    if (i + 1 != n || longs > 2 || flags.size() > 20)
        return false;
    const char conv = type[i];
    ArgKind kind;
    if (std::strchr("di", conv))
        kind = longs == 0 ? ArgKind::Int : longs == 1 ? ArgKind::Long : ArgKind::LongLong;
    else if (std::strchr("uoxX", conv))
        kind = longs == 0 ? ArgKind::UInt : longs == 1 ? ArgKind::ULong : ArgKind::ULongLong;
    else if (conv == 'c')
        kind = ArgKind::Int;
    else if (std::strchr("eEfFgGaA", conv))
        kind = ArgKind::Double;
    else if (conv == 's')
        kind = ArgKind::Text;
    else if (conv == 'p')
        kind = ArgKind::Pointer;
    else
        return false;
    if (ins.kind != ArgKind::None && ins.kind != kind)
        return false; // one argument cannot be read as two types
    ins.kind = kind;
    const char* length = longs == 0 ? "" : longs == 1 ? "l" : "ll";
    std::snprintf(ins.conversion, sizeof ins.conversion, "%%%.*s%s%c", int(flags.size()), flags.data(), length, conv);
    return true;
}

void FetchArgument(MessageInsert& ins, va_list& args)
{
    switch (ins.kind) {
    case ArgKind::Int: ins.value.i = va_arg(args, int); break;
    case ArgKind::Long: ins.value.i = va_arg(args, long); break;
    case ArgKind::LongLong: ins.value.i = va_arg(args, long long); break;
    case ArgKind::UInt: ins.value.u = va_arg(args, unsigned); break;
    case ArgKind::ULong: ins.value.u = va_arg(args, unsigned long); break;
    case ArgKind::ULongLong: ins.value.u = va_arg(args, unsigned long long); break;
    case ArgKind::Double: ins.value.d = va_arg(args, double); break;
    case ArgKind::Text: ins.value.s = va_arg(args, const char*); break;
    // An insert the message never names is taken as one pointer-sized argument.
    case ArgKind::None:
    case ArgKind::Pointer: ins.value.p = va_arg(args, const void*); break;
    }
}

void AppendInsert(TCString& out, const MessageInsert& ins)
{
    switch (ins.kind) {
    case ArgKind::Int:
    case ArgKind::Long:
    case ArgKind::LongLong: out.FormatAppend(ins.conversion, ins.value.i); break;
    case ArgKind::UInt:
    case ArgKind::ULong:
    case ArgKind::ULongLong: out.FormatAppend(ins.conversion, ins.value.u); break;
    case ArgKind::Double: out.FormatAppend(ins.conversion, ins.value.d); break;
    case ArgKind::Text: out.FormatAppend(ins.conversion, ins.value.s ? ins.value.s : "(null)"); break;
    case ArgKind::None:
    case ArgKind::Pointer: out.FormatAppend(ins.conversion, ins.value.p); break;
    }
}

// Reads "%<digits>[!type!]" at p (just after the '%'); returns the insert number or 0
// for %0, and advances p. type/typeLength receive the type, "s" when there is none.
int ReadInsertRef(const char*& p, const char*& type, size_t& typeLength, bool& ok)
{
    int index = *p++ - '0';
    if (index != 0 && *p >= '0' && *p <= '9')
        index = index * 10 + (*p++ - '0');
    type = "s";
    typeLength = 1;
    if (index != 0 && *p == '!') {
        const char* end = std::strchr(p + 1, '!');
        if (!end) {
            ok = false;
            return index;
        }
        type = p + 1;
        typeLength = size_t(end - type);
        p = end + 1;
    }
    return index;
}

// Walks the message; with out == nullptr it only learns the insert types.
bool Walk(const char* fmt, MessageInsert* inserts, int& highest, TCString* out)
{
    for (const char* p = fmt; *p;) {
        const char* run = p;
        while (*p && *p != '%')
            ++p;
        if (out && p > run)
            out->Append(run, int(p - run));
        if (!*p)
            break;
        ++p; // the '%'
        if (*p >= '0' && *p <= '9') {
            const char* type;
            size_t typeLength;
            bool ok = true;
            const int index = ReadInsertRef(p, type, typeLength, ok);
            if (!ok)
                return false;
            if (index == 0)
                break;
            if (out) {
                AppendInsert(*out, inserts[index]);
            } else {
                if (!ParseType(type, typeLength, inserts[index]))
                    return false;
                highest = index > highest ? index : highest;
            }
            continue;
        }
        if (!*p)
            break; // a lone '%' at the end
        if (out) {
            if (*p == 'n')
                out->Append("\r\n", 2);
            else if (*p == 'r')
                out->Append("\r", 1);
            else
                out->Append(p, 1); // "%%", "% ", "%.", "%!" and any other character
        }
        ++p;
    }
    return true;
}

} // namespace

bool TCString::FormatMessage(const char* fmt, ...)
{
    if (!fmt)
        return false;
    MessageInsert inserts[kMaxInsert + 1];
    int highest = 0;
    if (!Walk(fmt, inserts, highest, nullptr))
        return false;
    va_list args;
    va_start(args, fmt);
    for (int i = 1; i <= highest; ++i) {
        if (inserts[i].kind == ArgKind::None)
            std::strcpy(inserts[i].conversion, "%p");
        FetchArgument(inserts[i], args);
    }
    va_end(args);
    TCString result;
    Walk(fmt, inserts, highest, &result);
    *this = result;
    return true;
}
