// Integers and doubles picked out of text into arrays.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "corekit80/archive/ConvertStringToArray.h"
#include "corekit80/archive/ConvertStringToArrayImpl.h"
#include "corekit80/types/TCCLocaleImpl.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

bool IsSign(char c) { return c == '+' || c == '-'; }

// Reads a decimal integer at p like "%d" would (sign, then at least one digit).
bool ReadInt(const char* p, int& value)
{
    bool negative = *p == '-';
    if (IsSign(*p))
        ++p;
    if (!TCIsDigit(*p))
        return false;
    long long v = 0;
    for (; TCIsDigit(*p); ++p)
        if (v <= INT_MAX + 1LL)
            v = v * 10 + (*p - '0');
    v = negative ? -v : v;
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
    return true;
}

// Length of the longest decimal floating-point number at p, 0 when none.
size_t DoubleLength(const char* p)
{
    const char* q = p;
    if (IsSign(*q))
        ++q;
    size_t digits = 0;
    for (; TCIsDigit(*q); ++q)
        ++digits;
    if (*q == '.')
        for (++q; TCIsDigit(*q); ++q)
            ++digits;
    if (digits == 0)
        return 0;
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (IsSign(*e))
            ++e;
        if (TCIsDigit(*e)) {
            while (TCIsDigit(*e))
                ++e;
            q = e;
        }
    }
    return size_t(q - p);
}

template <class A, class V> int Fill(A& out, const std::vector<V>& values)
{
    out.RemoveAll();
    out.SetSize(int(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        out[int(i)] = values[i];
    return out.GetSize();
}

template <class A> int Ints(const char* text, A& out)
{
    std::vector<int> values;
    TCScanInts(text, values);
    return Fill(out, values);
}

template <class A> int Doubles(const char* text, A& out, bool decimalComma)
{
    std::vector<double> values;
    TCScanDoubles(text, decimalComma, values);
    return Fill(out, values);
}

} // namespace

void TCScanInts(const char* text, std::vector<int>& out)
{
    if (!text)
        return;
    for (const char* p = text;;) {
        while (*p && !TCIsDigit(*p) && !IsSign(*p))
            ++p;
        if (!*p)
            return;
        int v;
        if (ReadInt(p, v))
            out.push_back(v);
        for (++p; TCIsDigit(*p); ++p) {}
    }
}

void TCScanDoubles(const char* text, bool decimalComma, std::vector<double>& out)
{
    if (!text)
        return;
    std::string s;
    if (decimalComma) {
        for (const char* p = text; *p; ++p)
            if (*p != '.')
                s += *p == ',' ? '.' : *p;
        text = s.c_str();
    }
    for (const char* p = text;;) {
        while (*p && !TCIsDigit(*p) && !IsSign(*p) && *p != '.')
            ++p;
        if (!*p)
            return;
        if (size_t n = DoubleLength(p)) {
            // The span is plain decimal text, so strtod in the "C" locale reads exactly it.
            std::string number(p, n);
            out.push_back(strtod_l(number.c_str(), nullptr, TCCLocale()));
        }
        for (++p; TCIsDigit(*p) || IsSign(*p) || *p == '.' || *p == 'e' || *p == 'E'; ++p) {}
    }
}

int ConvertStringToIntArray(const char* text, CArray<int, int>& out) { return Ints(text, out); }
int ConvertStringToIntArray(const char* text, TCArray<int, int>& out) { return Ints(text, out); }
int ConvertStringToIntArray(const char* text, TCArray<int, const int&>& out)
{
    return Ints(text, out);
}

int ConvertStringToDblArray(const char* text, CArray<double, double>& out, bool decimalComma)
{
    return Doubles(text, out, decimalComma);
}
int ConvertStringToDblArray(const char* text, TCArray<double, double>& out, bool decimalComma)
{
    return Doubles(text, out, decimalComma);
}
int ConvertStringToDblArray(const char* text, TCArray<double, const double&>& out,
                            bool decimalComma)
{
    return Doubles(text, out, decimalComma);
}
